#include "platform/Internet.h"

#include "platform/CodePage.h"
#include "platform/InternetRequest.h"
#include "platform/InternetSession.h"
#include "platform/InternetUrl.h"

#include <curl/curl.h>

#include <atomic>
#include <map>
#include <mutex>

namespace {

// Handles are numbers that the table maps to their objects, so a closed or
// made-up handle is refused instead of followed.
struct HANDLEENTRY
{
    std::shared_ptr<CInternetSession> pSession;
    std::shared_ptr<CInternetRequest> pRequest;   // null for an open handle
};

// Guarded by the layer's lock; never destroyed, as the lock.
std::map<HINTERNET, HANDLEENTRY>& Handles()
{
    static auto& s_handles = *new std::map<HINTERNET, HANDLEENTRY>;
    return s_handles;
}

HINTERNET NewHandle()
{
    static uintptr_t s_nNext = 0x00cc0004;
    HINTERNET h = reinterpret_cast<HINTERNET>(s_nNext);
    s_nNext += 4;
    return h;
}

std::atomic<DWORD> g_dwConnectTimeoutMs{DEFAULT_CONNECT_TIMEOUT_MS};
std::atomic<DWORD> g_dwReceiveTimeoutMs{DEFAULT_RECEIVE_TIMEOUT_MS};

BOOL Fail(DWORD dwError)
{
    SetLastError(dwError);
    return FALSE;
}

// The entry of a handle of the wanted kind, or null with the last error set.
HANDLEENTRY* Find(HINTERNET h, bool bRequest)
{
    auto it = Handles().find(h);
    if (it == Handles().end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if ((it->second.pRequest != nullptr) != bRequest) {
        SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
        return nullptr;
    }
    return &it->second;
}

// The canonical URL's scheme decides synchronously whether it can be fetched.
DWORD CheckUrl(const std::string& url)
{
    std::string scheme;
    if (!UrlPart(url, CURLUPART_SCHEME, scheme))
        return ERROR_INTERNET_INVALID_URL;
    return scheme == "http" || scheme == "https" ? 0 : ERROR_INTERNET_UNRECOGNIZED_SCHEME;
}

}

HINTERNET InternetOpenW(const wchar_t* lpszAgent, DWORD dwAccessType, const wchar_t* lpszProxy,
                        const wchar_t* lpszProxyBypass, DWORD dwFlags)
{
    static std::once_flag s_curlReady;
    std::call_once(s_curlReady, []() { curl_global_init(CURL_GLOBAL_DEFAULT); });

    if (!(dwFlags & INTERNET_FLAG_ASYNC)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::optional<std::string> proxy;
    std::optional<std::string> noProxy;
    switch (dwAccessType) {
    case INTERNET_OPEN_TYPE_PRECONFIG:
        break;
    case INTERNET_OPEN_TYPE_DIRECT:
        proxy = "";
        break;
    case INTERNET_OPEN_TYPE_PROXY:
        proxy = CurlProxy(lpszProxy ? lpszProxy : L"");
        if (proxy->empty()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        // Only the caller's bypass list counts, not the environment's.
        noProxy = CurlNoProxy(lpszProxyBypass ? lpszProxyBypass : L"");
        break;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }

    HINTERNET hOpen;
    {
        std::lock_guard<std::mutex> lock(CInternetSession::Lock());
        hOpen = NewHandle();
    }
    auto pSession = std::make_shared<CInternetSession>(hOpen);
    pSession->m_strAgent = CCodePage::Encode(lpszAgent ? lpszAgent : L"");
    pSession->m_proxy = proxy;
    pSession->m_noProxy = noProxy;
    pSession->m_dwConnectTimeoutMs = g_dwConnectTimeoutMs;
    pSession->m_dwReceiveTimeoutMs = g_dwReceiveTimeoutMs;
    if (!CInternetSession::Start(pSession)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(CInternetSession::Lock());
    Handles()[hOpen] = HANDLEENTRY{pSession, nullptr};
    return hOpen;
}

INTERNET_STATUS_CALLBACK InternetSetStatusCallbackW(HINTERNET hInternet, INTERNET_STATUS_CALLBACK lpfnCallback)
{
    std::unique_lock<std::mutex> lock(CInternetSession::Lock());
    HANDLEENTRY* pEntry = Find(hInternet, false);
    if (!pEntry)
        return INTERNET_INVALID_STATUS_CALLBACK;
    std::shared_ptr<CInternetSession> pSession = pEntry->pSession;
    INTERNET_STATUS_CALLBACK pfnPrevious = pSession->m_pfnCallback;
    pSession->m_pfnCallback = lpfnCallback;
    pSession->WaitForCallbacks(lock);
    return pfnPrevious;
}

HINTERNET InternetOpenUrlW(HINTERNET hInternet, const wchar_t* lpszUrl, const wchar_t* lpszHeaders,
                           DWORD dwHeadersLength, DWORD dwFlags, DWORD_PTR dwContext)
{
    if (!lpszUrl) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::string url = CanonicalUrl(lpszUrl);
    if (DWORD dwError = CheckUrl(url)) {
        SetLastError(dwError);
        return nullptr;
    }
    std::vector<std::string> headers;
    if (lpszHeaders)
        headers = HeaderLines(dwHeadersLength == static_cast<DWORD>(-1) ? std::wstring(lpszHeaders)
                                                                         : std::wstring(lpszHeaders, dwHeadersLength));
    if (dwFlags & INTERNET_FLAG_RELOAD) {
        headers.push_back("Cache-Control: no-cache");
        headers.push_back("Pragma: no-cache");
    }

    std::lock_guard<std::mutex> lock(CInternetSession::Lock());
    HANDLEENTRY* pEntry = Find(hInternet, false);
    if (!pEntry)
        return nullptr;
    std::shared_ptr<CInternetSession> pSession = pEntry->pSession;
    HINTERNET hRequest = NewHandle();
    auto pRequest = std::make_shared<CInternetRequest>(pSession, hRequest, url, headers, dwFlags, dwContext);
    pRequest->m_dwConnectTimeoutMs = pSession->m_dwConnectTimeoutMs;
    pRequest->m_dwReceiveTimeoutMs = pSession->m_dwReceiveTimeoutMs;
    Handles()[hRequest] = HANDLEENTRY{pSession, pRequest};
    pSession->m_requests.push_back(pRequest);
    pSession->Wake();
    SetLastError(ERROR_IO_PENDING);
    return nullptr;
}

BOOL HttpQueryInfoW(HINTERNET hRequest, DWORD dwInfoLevel, void* lpBuffer, DWORD* lpdwBufferLength,
                    DWORD* lpdwIndex)
{
    std::lock_guard<std::mutex> lock(CInternetSession::Lock());
    HANDLEENTRY* pEntry = Find(hRequest, true);
    if (!pEntry)
        return FALSE;
    return pEntry->pRequest->QueryInfo(dwInfoLevel, lpBuffer, lpdwBufferLength, lpdwIndex);
}

BOOL InternetReadFileExA(HINTERNET hFile, INTERNET_BUFFERSA* lpBuffersOut, DWORD, DWORD_PTR)
{
    std::lock_guard<std::mutex> lock(CInternetSession::Lock());
    HANDLEENTRY* pEntry = Find(hFile, true);
    if (!pEntry)
        return FALSE;
    return pEntry->pRequest->Read(lpBuffersOut);
}

BOOL InternetCloseHandle(HINTERNET hInternet)
{
    std::unique_lock<std::mutex> lock(CInternetSession::Lock());
    auto it = Handles().find(hInternet);
    if (it == Handles().end())
        return Fail(ERROR_INVALID_HANDLE);
    std::shared_ptr<CInternetSession> pSession = it->second.pSession;
    std::shared_ptr<CInternetRequest> pRequest = it->second.pRequest;
    Handles().erase(it);

    if (pRequest) {
        pRequest->RequestClose();
        pSession->Wake();
        if (!pSession->OnLayerThread())
            CInternetSession::Changed().wait(lock, [&]() { return pRequest->m_bCloseDone; });
        return TRUE;
    }
    for (auto& pChild : pSession->m_requests)
        Handles().erase(pChild->m_hRequest);
    pSession->RequestClose();
    if (pSession->OnLayerThread()) {
        pSession->m_bDetach = true;   // the thread ends once the callback has returned
        return TRUE;
    }
    lock.unlock();
    pSession->m_thread.join();
    return TRUE;
}

BOOL InternetSetOptionW(HINTERNET hInternet, DWORD dwOption, void* lpBuffer, DWORD dwBufferLength)
{
    if (dwOption == INTERNET_OPTION_PROXY_USERNAME || dwOption == INTERNET_OPTION_PROXY_PASSWORD) {
        if (!hInternet || !lpBuffer)
            return Fail(ERROR_INVALID_PARAMETER);
        const auto* pszText = static_cast<const wchar_t*>(lpBuffer);
        std::string text = CCodePage::Encode(dwBufferLength ? std::wstring(pszText, dwBufferLength)
                                                            : std::wstring(pszText));
        std::lock_guard<std::mutex> lock(CInternetSession::Lock());
        HANDLEENTRY* pEntry = Find(hInternet, false);
        if (!pEntry)
            return FALSE;
        (dwOption == INTERNET_OPTION_PROXY_USERNAME ? pEntry->pSession->m_strProxyUser
                                                    : pEntry->pSession->m_strProxyPassword) = text;
        return TRUE;
    }
    if (dwOption != INTERNET_OPTION_CONNECT_TIMEOUT && dwOption != INTERNET_OPTION_RECEIVE_TIMEOUT)
        return Fail(ERROR_INTERNET_INVALID_OPTION);
    if (!lpBuffer || dwBufferLength < sizeof(DWORD))
        return Fail(ERROR_INVALID_PARAMETER);
    DWORD dwMs = *static_cast<const DWORD*>(lpBuffer);
    if (dwMs == 0)
        return Fail(ERROR_INVALID_PARAMETER);
    bool bConnect = dwOption == INTERNET_OPTION_CONNECT_TIMEOUT;
    if (!hInternet) {
        (bConnect ? g_dwConnectTimeoutMs : g_dwReceiveTimeoutMs) = dwMs;
        return TRUE;
    }
    std::lock_guard<std::mutex> lock(CInternetSession::Lock());
    HANDLEENTRY* pEntry = Find(hInternet, false);
    if (!pEntry)
        return FALSE;
    (bConnect ? pEntry->pSession->m_dwConnectTimeoutMs : pEntry->pSession->m_dwReceiveTimeoutMs) = dwMs;
    return TRUE;
}
