#include "platform/Kernel.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

// One lock and one condition for all objects keeps waits on several objects
// simple and free of lost wake-ups; the program has a handful of them.
namespace {
std::mutex g_mutex;
std::condition_variable g_changed;
}

struct KERNELOBJECT
{
    bool m_bThread = false;
    bool m_bManualReset = false;
    bool m_bSignalled = false;          // events: set; threads: ended
    DWORD m_dwExitCode = 0;
    std::thread m_thread;
    // A thread's object must outlive both the handle and the thread itself.
    std::shared_ptr<KERNELOBJECT> m_self;
};

HANDLE CreateEvent(bool bManualReset, bool bInitialState)
{
    HANDLE h = new KERNELOBJECT;
    h->m_bManualReset = bManualReset;
    h->m_bSignalled = bInitialState;
    return h;
}

bool SetEvent(HANDLE hEvent)
{
    if (!hEvent || hEvent->m_bThread)
        return false;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        hEvent->m_bSignalled = true;
    }
    g_changed.notify_all();
    return true;
}

bool ResetEvent(HANDLE hEvent)
{
    if (!hEvent || hEvent->m_bThread)
        return false;
    std::lock_guard<std::mutex> lock(g_mutex);
    hEvent->m_bSignalled = false;
    return true;
}

HANDLE CreateThread(THREADPROC pfnStart, void* pParam)
{
    if (!pfnStart)
        return nullptr;
    auto object = std::make_shared<KERNELOBJECT>();
    object->m_bThread = true;
    object->m_self = object;   // the handle's reference, dropped by CloseHandle
    KERNELOBJECT* raw = object.get();
    std::lock_guard<std::mutex> lock(g_mutex);
    raw->m_thread = std::thread([object, pfnStart, pParam]() {
        DWORD code = pfnStart(pParam);
        {
            std::lock_guard<std::mutex> inner(g_mutex);
            object->m_dwExitCode = code;
            object->m_bSignalled = true;
        }
        g_changed.notify_all();
    });
    raw->m_thread.detach();
    return raw;
}

bool GetExitCodeThread(HANDLE hThread, DWORD* pExitCode)
{
    if (!hThread || !hThread->m_bThread || !pExitCode)
        return false;
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!hThread->m_bSignalled)
        return false;
    *pExitCode = hThread->m_dwExitCode;
    return true;
}

DWORD WaitForSingleObject(HANDLE hObject, DWORD dwMilliseconds)
{
    return WaitForMultipleObjects(1, &hObject, false, dwMilliseconds);
}

DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* pHandles, bool bWaitAll, DWORD dwMilliseconds)
{
    if (nCount == 0 || !pHandles)
        return WAIT_FAILED;
    for (DWORD i = 0; i < nCount; ++i)
        if (!pHandles[i])
            return WAIT_FAILED;
    auto ready = [&]() -> DWORD {
        if (bWaitAll) {
            for (DWORD i = 0; i < nCount; ++i)
                if (!pHandles[i]->m_bSignalled)
                    return WAIT_TIMEOUT;
            for (DWORD i = 0; i < nCount; ++i)
                if (!pHandles[i]->m_bThread && !pHandles[i]->m_bManualReset)
                    pHandles[i]->m_bSignalled = false;
            return WAIT_OBJECT_0;
        }
        for (DWORD i = 0; i < nCount; ++i) {
            if (pHandles[i]->m_bSignalled) {
                if (!pHandles[i]->m_bThread && !pHandles[i]->m_bManualReset)
                    pHandles[i]->m_bSignalled = false;
                return WAIT_OBJECT_0 + i;
            }
        }
        return WAIT_TIMEOUT;
    };
    std::unique_lock<std::mutex> lock(g_mutex);
    DWORD result = ready();
    if (result != WAIT_TIMEOUT || dwMilliseconds == 0)
        return result;
    if (dwMilliseconds == INFINITE) {
        while ((result = ready()) == WAIT_TIMEOUT)
            g_changed.wait(lock);
        return result;
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(dwMilliseconds);
    while ((result = ready()) == WAIT_TIMEOUT) {
        if (g_changed.wait_until(lock, deadline) == std::cv_status::timeout)
            return ready();
    }
    return result;
}

bool CloseHandle(HANDLE hObject)
{
    if (!hObject)
        return false;
    if (hObject->m_bThread) {
        std::shared_ptr<KERNELOBJECT> self;
        std::lock_guard<std::mutex> lock(g_mutex);
        self.swap(hObject->m_self);   // freed here or when the thread ends
        return true;
    }
    delete hObject;
    return true;
}
