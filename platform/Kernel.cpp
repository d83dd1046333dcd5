#include "platform/Kernel.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

// A handle is a number that names an object in a table, never the object's
// address: a handle that was closed (or never existed) then names nothing, so
// setting or waiting on it fails instead of touching freed memory. The objects
// are shared: the table holds one reference for the handle, every wait holds one
// while it waits, and a thread holds its own until it ends, so closing a handle
// never frees what another thread still uses.
//
// One lock and one condition for all objects keeps waits on several objects
// simple and free of lost wake-ups; the program has a handful of them. Never
// destroyed: a thread that outlives main may still signal through them.

struct KERNELOBJECT
{
    bool m_bThread = false;
    bool m_bManualReset = false;
    bool m_bSignalled = false;   // events: set; threads: ended
    DWORD m_dwExitCode = 0;
};

namespace {

struct Kernel
{
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::unordered_map<uintptr_t, std::shared_ptr<KERNELOBJECT>> m_handles;
    uintptr_t m_nNext = 0x100;   // handle values are never used twice
};

Kernel& TheKernel()
{
    static Kernel& kernel = *new Kernel;
    return kernel;
}

// With the kernel's lock held.
HANDLE AddHandle(Kernel& k, std::shared_ptr<KERNELOBJECT> object)
{
    uintptr_t value = k.m_nNext;
    k.m_nNext += 4;
    k.m_handles.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

// With the kernel's lock held; null for a handle that names nothing.
std::shared_ptr<KERNELOBJECT> Find(Kernel& k, HANDLE h)
{
    auto it = k.m_handles.find(reinterpret_cast<uintptr_t>(h));
    return it == k.m_handles.end() ? nullptr : it->second;
}

}

HANDLE CreateEvent(bool bManualReset, bool bInitialState)
{
    auto object = std::make_shared<KERNELOBJECT>();
    object->m_bManualReset = bManualReset;
    object->m_bSignalled = bInitialState;
    Kernel& k = TheKernel();
    std::lock_guard<std::mutex> lock(k.m_mutex);
    return AddHandle(k, std::move(object));
}

bool SetEvent(HANDLE hEvent)
{
    Kernel& k = TheKernel();
    {
        std::lock_guard<std::mutex> lock(k.m_mutex);
        std::shared_ptr<KERNELOBJECT> object = Find(k, hEvent);
        if (!object || object->m_bThread)
            return false;
        object->m_bSignalled = true;
    }
    k.m_changed.notify_all();
    return true;
}

bool ResetEvent(HANDLE hEvent)
{
    Kernel& k = TheKernel();
    std::lock_guard<std::mutex> lock(k.m_mutex);
    std::shared_ptr<KERNELOBJECT> object = Find(k, hEvent);
    if (!object || object->m_bThread)
        return false;
    object->m_bSignalled = false;
    return true;
}

HANDLE CreateThread(THREADPROC pfnStart, void* pParam)
{
    if (!pfnStart)
        return nullptr;
    auto object = std::make_shared<KERNELOBJECT>();
    object->m_bThread = true;
    Kernel& k = TheKernel();
    HANDLE h;
    {
        std::lock_guard<std::mutex> lock(k.m_mutex);
        h = AddHandle(k, object);
    }
    std::thread([object, pfnStart, pParam]() {
        DWORD code = pfnStart(pParam);
        Kernel& kernel = TheKernel();
        {
            std::lock_guard<std::mutex> lock(kernel.m_mutex);
            object->m_dwExitCode = code;
            object->m_bSignalled = true;
        }
        kernel.m_changed.notify_all();
    }).detach();
    return h;
}

bool GetExitCodeThread(HANDLE hThread, DWORD* pExitCode)
{
    if (!pExitCode)
        return false;
    Kernel& k = TheKernel();
    std::lock_guard<std::mutex> lock(k.m_mutex);
    std::shared_ptr<KERNELOBJECT> object = Find(k, hThread);
    if (!object || !object->m_bThread || !object->m_bSignalled)
        return false;
    *pExitCode = object->m_dwExitCode;
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
    Kernel& k = TheKernel();
    std::unique_lock<std::mutex> lock(k.m_mutex);
    // The wait holds the objects themselves: a handle closed meanwhile leaves
    // them alive until the wait is over.
    std::vector<std::shared_ptr<KERNELOBJECT>> objects;
    for (DWORD i = 0; i < nCount; ++i) {
        std::shared_ptr<KERNELOBJECT> object = Find(k, pHandles[i]);
        if (!object)
            return WAIT_FAILED;
        objects.push_back(std::move(object));
    }
    auto take = [](KERNELOBJECT& object) {
        if (!object.m_bThread && !object.m_bManualReset)
            object.m_bSignalled = false;
    };
    auto ready = [&]() -> DWORD {
        if (bWaitAll) {
            for (const auto& object : objects)
                if (!object->m_bSignalled)
                    return WAIT_TIMEOUT;
            for (const auto& object : objects)
                take(*object);
            return WAIT_OBJECT_0;
        }
        for (DWORD i = 0; i < nCount; ++i) {
            if (objects[i]->m_bSignalled) {
                take(*objects[i]);
                return WAIT_OBJECT_0 + i;
            }
        }
        return WAIT_TIMEOUT;
    };
    DWORD result = ready();
    if (result != WAIT_TIMEOUT || dwMilliseconds == 0)
        return result;
    if (dwMilliseconds == INFINITE) {
        while ((result = ready()) == WAIT_TIMEOUT)
            k.m_changed.wait(lock);
        return result;
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(dwMilliseconds);
    while ((result = ready()) == WAIT_TIMEOUT) {
        if (k.m_changed.wait_until(lock, deadline) == std::cv_status::timeout)
            return ready();
    }
    return result;
}

bool CloseHandle(HANDLE hObject)
{
    std::shared_ptr<KERNELOBJECT> object;
    Kernel& k = TheKernel();
    {
        std::lock_guard<std::mutex> lock(k.m_mutex);
        auto it = k.m_handles.find(reinterpret_cast<uintptr_t>(hObject));
        if (it == k.m_handles.end())
            return false;
        object = std::move(it->second);
        k.m_handles.erase(it);
    }
    // Freed here only when no wait and no running thread holds it any more.
    return true;
}
