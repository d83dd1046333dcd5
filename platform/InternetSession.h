#pragma once

#include "platform/Internet.h"

#include <curl/curl.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class CInternetRequest;

// An open handle: its settings, its requests and the thread of the layer that
// runs their transfers in one libcurl multi handle and calls the status callback.
// Callers hand work over by setting flags under the lock and waking the thread;
// only the thread calls libcurl, so no libcurl handle is shared between threads.
class CInternetSession
{
public:
    // One lock guards everything of the layer that threads share; the condition
    // tells waiters that a callback has returned or a close is done. Never
    // destroyed, so that a thread still ending at exit can use them.
    static std::mutex& Lock();
    static std::condition_variable& Changed();

    explicit CInternetSession(HINTERNET hOpen);
    ~CInternetSession();
    CInternetSession(const CInternetSession&) = delete;
    CInternetSession& operator=(const CInternetSession&) = delete;

    static bool Start(const std::shared_ptr<CInternetSession>& pSession);

    // With the lock held.
    void Wake();
    bool OnLayerThread() const;
    void WaitForCallbacks(std::unique_lock<std::mutex>& lock);
    void RequestClose();

    // Calls the callback without the lock, on the layer's thread. A closed
    // request gets no notice but 70.
    void Notify(const CInternetRequest* pRequest, DWORD dwStatus, const void* pInfo, DWORD dwLength);

    const HINTERNET m_hOpen;
    std::string m_strAgent;
    std::optional<std::string> m_proxy;      // none: the environment's; "": no proxy
    std::optional<std::string> m_noProxy;
    std::string m_strProxyUser;              // empty: no credentials for the proxy
    std::string m_strProxyPassword;
    DWORD m_dwConnectTimeoutMs = DEFAULT_CONNECT_TIMEOUT_MS;
    DWORD m_dwReceiveTimeoutMs = DEFAULT_RECEIVE_TIMEOUT_MS;

    // Guarded by the lock.
    INTERNET_STATUS_CALLBACK m_pfnCallback = nullptr;
    int m_nCallbacksRunning = 0;
    bool m_bClosing = false;
    bool m_bDetach = false;                  // closed from its own thread: nobody joins it
    std::vector<std::shared_ptr<CInternetRequest>> m_requests;
    CURLM* m_pMulti = nullptr;
    std::thread m_thread;
    std::thread::id m_threadId;

private:
    void Run();
    // One turn of the loop's bookkeeping; false once the handle is closed.
    bool HandOver();
    void CollectFinished();
    int GiveUpStalled();
};
