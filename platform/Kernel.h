#pragma once

#include "platform/WinTypes.h"

// Threads and events with the kernel's names and meanings. A handle is either an
// event or a thread; waiting on a thread waits for it to end.
struct KERNELOBJECT;
typedef KERNELOBJECT* HANDLE;

constexpr DWORD INFINITE = 0xffffffff;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xffffffff;

// An auto-reset event lets one wait through per set, and a set that arrives before
// anyone waits stays in force until a wait takes it.
HANDLE CreateEvent(bool bManualReset, bool bInitialState);
bool SetEvent(HANDLE hEvent);
bool ResetEvent(HANDLE hEvent);

typedef DWORD (*THREADPROC)(void* pParam);
HANDLE CreateThread(THREADPROC pfnStart, void* pParam);
bool GetExitCodeThread(HANDLE hThread, DWORD* pExitCode);   // false while it runs

// Waits for one object (or the first of several that is signalled; the lowest
// index wins a tie). Timeouts in milliseconds.
DWORD WaitForSingleObject(HANDLE hObject, DWORD dwMilliseconds);
DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* pHandles, bool bWaitAll, DWORD dwMilliseconds);

// Closing never frees what another thread still uses: a running thread runs on
// to its end, and a wait in progress on the object goes on (another of its
// handles can still end it). A closed handle names nothing any more: SetEvent and
// ResetEvent on it answer false and do nothing, a wait on it answers WAIT_FAILED,
// closing it again answers false.
bool CloseHandle(HANDLE hObject);
