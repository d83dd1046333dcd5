#include "platform/InternetSession.h"

#include "platform/InternetRequest.h"

#include <algorithm>

namespace {

// The loop looks at its stalled transfers at least this often.
const int MAX_POLL_MS = 1000;

}

std::mutex& CInternetSession::Lock()
{
    static std::mutex& s_mutex = *new std::mutex;
    return s_mutex;
}

std::condition_variable& CInternetSession::Changed()
{
    static std::condition_variable& s_changed = *new std::condition_variable;
    return s_changed;
}

CInternetSession::CInternetSession(HINTERNET hOpen) : m_hOpen(hOpen)
{
}

CInternetSession::~CInternetSession()
{
    if (m_pMulti)
        curl_multi_cleanup(m_pMulti);
}

bool CInternetSession::Start(const std::shared_ptr<CInternetSession>& pSession)
{
    CURLM* pMulti = curl_multi_init();
    if (!pMulti)
        return false;
    std::lock_guard<std::mutex> lock(Lock());
    pSession->m_pMulti = pMulti;
    // The thread keeps its session alive until it has ended.
    pSession->m_thread = std::thread([pSession]() { pSession->Run(); });
    pSession->m_threadId = pSession->m_thread.get_id();
    return true;
}

void CInternetSession::Wake()
{
    if (m_pMulti)
        curl_multi_wakeup(m_pMulti);
}

bool CInternetSession::OnLayerThread() const
{
    return std::this_thread::get_id() == m_threadId;
}

void CInternetSession::WaitForCallbacks(std::unique_lock<std::mutex>& lock)
{
    if (!OnLayerThread())
        Changed().wait(lock, [this]() { return m_nCallbacksRunning == 0; });
}

void CInternetSession::RequestClose()
{
    m_bClosing = true;
    for (auto& pRequest : m_requests)
        pRequest->RequestClose();
    Wake();
}

void CInternetSession::Notify(const CInternetRequest* pRequest, DWORD dwStatus, const void* pInfo, DWORD dwLength)
{
    std::unique_lock<std::mutex> lock(Lock());
    if (pRequest && pRequest->m_bCloseRequested && dwStatus != INTERNET_STATUS_HANDLE_CLOSING)
        return;
    INTERNET_STATUS_CALLBACK pfnCallback = m_pfnCallback;
    if (!pfnCallback)
        return;
    ++m_nCallbacksRunning;
    lock.unlock();
    HINTERNET hInternet = pRequest ? pRequest->m_hRequest : m_hOpen;
    DWORD_PTR dwContext = pRequest ? pRequest->m_dwContext : 0;
    pfnCallback(hInternet, dwContext, dwStatus, const_cast<void*>(pInfo), dwLength);
    lock.lock();
    --m_nCallbacksRunning;
    Changed().notify_all();
}

void CInternetSession::Run()
{
    for (;;) {
        if (!HandOver())
            break;
        int nRunning = 0;
        curl_multi_perform(m_pMulti, &nRunning);
        CollectFinished();
        int nWaitMs = GiveUpStalled();
        curl_multi_poll(m_pMulti, nullptr, 0, nWaitMs, nullptr);
    }
    HINTERNET hOpen = m_hOpen;
    Notify(nullptr, INTERNET_STATUS_HANDLE_CLOSING, &hOpen, sizeof hOpen);
    std::lock_guard<std::mutex> lock(Lock());
    if (m_bDetach)
        m_thread.detach();
}

bool CInternetSession::HandOver()
{
    std::vector<std::shared_ptr<CInternetRequest>> toClose;
    std::vector<std::shared_ptr<CInternetRequest>> toStart;
    std::vector<std::shared_ptr<CInternetRequest>> toResume;
    bool bClosing;
    {
        std::lock_guard<std::mutex> lock(Lock());
        for (auto& pRequest : m_requests) {
            if (pRequest->m_bCloseRequested) {
                toClose.push_back(pRequest);
            } else if (!pRequest->m_bStarted) {
                pRequest->m_bStarted = true;
                toStart.push_back(pRequest);
            } else if (pRequest->m_bResumeAsked) {
                // Both at once, so that the caller's next read cannot ask again
                // for a resume that is already on its way.
                pRequest->m_bResumeAsked = false;
                pRequest->m_bPaused = false;
                toResume.push_back(pRequest);
            }
        }
        bClosing = m_bClosing;
    }
    for (auto& pRequest : toClose) {
        pRequest->EndTransfer(m_pMulti);
        HINTERNET hRequest = pRequest->m_hRequest;
        Notify(pRequest.get(), INTERNET_STATUS_HANDLE_CLOSING, &hRequest, sizeof hRequest);
        std::lock_guard<std::mutex> lock(Lock());
        pRequest->m_bCloseDone = true;
        m_requests.erase(std::find(m_requests.begin(), m_requests.end(), pRequest));
        Changed().notify_all();
    }
    for (auto& pRequest : toStart)
        pRequest->Start(m_pMulti);
    for (auto& pRequest : toResume)
        pRequest->Resume();
    if (!bClosing)
        return true;
    // Closing: every request was told to close before this turn took them.
    std::lock_guard<std::mutex> lock(Lock());
    return !m_requests.empty();
}

void CInternetSession::CollectFinished()
{
    // The messages die with their transfers, so take them all first.
    std::vector<std::pair<CURL*, CURLcode>> finished;
    int nLeft = 0;
    while (CURLMsg* pMsg = curl_multi_info_read(m_pMulti, &nLeft))
        if (pMsg->msg == CURLMSG_DONE)
            finished.emplace_back(pMsg->easy_handle, pMsg->data.result);
    for (auto& [pEasy, code] : finished) {
        CInternetRequest* pRequest = nullptr;
        curl_easy_getinfo(pEasy, CURLINFO_PRIVATE, &pRequest);
        if (!pRequest)
            continue;
        bool bCut = false;
        DWORD dwError = CInternetRequest::ErrorFromCurl(code, &bCut);
        pRequest->EndTransfer(m_pMulti);
        pRequest->Finish(dwError, bCut);
    }
}

int CInternetSession::GiveUpStalled()
{
    auto now = CInternetRequest::Clock::now();
    auto next = now + std::chrono::milliseconds(MAX_POLL_MS);
    std::vector<std::shared_ptr<CInternetRequest>> requests;
    {
        std::lock_guard<std::mutex> lock(Lock());
        requests = m_requests;
    }
    for (auto& pRequest : requests) {
        CInternetRequest::Clock::time_point deadline;
        if (pRequest->IsStalled(now, &deadline)) {
            pRequest->EndTransfer(m_pMulti);
            pRequest->Finish(ERROR_INTERNET_TIMEOUT, false);
        } else {
            next = std::min(next, deadline);
        }
    }
    auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(next - now).count();
    return static_cast<int>(std::max<long long>(wait, 1));
}
