#include "platform/InternetRequest.h"

#include "platform/CodePage.h"
#include "platform/InternetSession.h"
#include "platform/InternetUrl.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>

namespace {

// libcurl receives into a buffer of this size and hands over at most that much
// at a time. Larger than its default of 16 KiB: each receive is a system call,
// and a fourth of them leaves the layer's thread more time for the caller.
const long RECEIVE_BUFFER = 64 * 1024;

// The transfer pauses when this much waits unread, and goes on again once the
// caller has read it down to the low mark. A caller that reads 1 KiB blocks and
// writes them to a file is slower than a local network, so a large answer spends
// most of its time paused, and every pause costs a wake-up of the layer's thread:
// the band between the marks sets how often (a band of 32 KiB cost 32 wake-ups a
// MiB, and as many chances for a busy machine to keep the thread waiting). The
// low mark leaves the caller enough to read while that thread wakes. With one
// receive buffer on top of the high mark, the body holds 256 KiB at most.
const size_t BODY_HIGH_MARK = 256 * 1024 - RECEIVE_BUFFER;
const size_t BODY_LOW_MARK = 64 * 1024;

std::wstring AddressText(const curl_sockaddr* pAddress)
{
    char text[INET6_ADDRSTRLEN] = "";
    if (pAddress->family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(&pAddress->addr)->sin_addr, text, sizeof text);
    else if (pAddress->family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(&pAddress->addr)->sin6_addr, text, sizeof text);
    return CCodePage::Decode(text);
}

// The host part of a URL, as the name that is about to be resolved.
std::wstring HostOf(const std::string& url)
{
    std::string host;
    UrlPart(url, CURLUPART_HOST, host);
    return CCodePage::Decode(host);
}

}

bool UrlPart(const std::string& url, CURLUPart part, std::string& value)
{
    CURLU* pUrl = curl_url();
    char* pszValue = nullptr;
    const bool bRead = pUrl && curl_url_set(pUrl, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK
                       && curl_url_get(pUrl, part, &pszValue, 0) == CURLUE_OK;
    if (bRead) {
        value = pszValue;
        curl_free(pszValue);
    }
    curl_url_cleanup(pUrl);
    return bRead;
}

CInternetRequest::CInternetRequest(std::shared_ptr<CInternetSession> pSession, HINTERNET hRequest, std::string strUrl,
                                   std::vector<std::string> headers, DWORD dwFlags, DWORD_PTR dwContext)
    : m_hRequest(hRequest), m_dwContext(dwContext), m_pSession(std::move(pSession)), m_strUrl(std::move(strUrl)),
      m_headers(std::move(headers)), m_dwFlags(dwFlags)
{
}

CInternetRequest::~CInternetRequest()
{
    curl_slist_free_all(m_pHeaderList);
}

bool CInternetRequest::IsClosed() const
{
    std::lock_guard<std::mutex> lock(CInternetSession::Lock());
    return m_bCloseRequested;
}

void CInternetRequest::Notify(DWORD dwStatus, const void* pInfo, DWORD dwLength)
{
    m_pSession->Notify(this, dwStatus, pInfo, dwLength);
}

void CInternetRequest::NotifyText(DWORD dwStatus, const std::wstring& strText)
{
    Notify(dwStatus, strText.c_str(), static_cast<DWORD>((strText.size() + 1) * sizeof(wchar_t)));
}

void CInternetRequest::NotifyResult(BOOL bResult, DWORD dwError)
{
    INTERNET_ASYNC_RESULT result = {static_cast<DWORD_PTR>(bResult), dwError};
    Notify(INTERNET_STATUS_REQUEST_COMPLETE, &result, sizeof result);
}

void CInternetRequest::Start(CURLM* pMulti)
{
    INTERNET_ASYNC_RESULT created = {reinterpret_cast<DWORD_PTR>(m_hRequest), 0};
    Notify(INTERNET_STATUS_HANDLE_CREATED, &created, sizeof created);
    if (IsClosed())
        return;
    m_pEasy = curl_easy_init();
    if (!m_pEasy) {
        Finish(ERROR_NOT_ENOUGH_MEMORY, false);
        return;
    }
    SetOptions();
    m_lastActivity = Clock::now();
    if (curl_multi_add_handle(pMulti, m_pEasy) != CURLM_OK) {
        EndTransfer(pMulti);
        Finish(ERROR_INTERNET_INTERNAL_ERROR, false);
    }
}

void CInternetRequest::SetOptions()
{
    curl_easy_setopt(m_pEasy, CURLOPT_URL, m_strUrl.c_str());
    curl_easy_setopt(m_pEasy, CURLOPT_PRIVATE, this);
    curl_easy_setopt(m_pEasy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_pEasy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(m_pEasy, CURLOPT_USERAGENT, m_pSession->m_strAgent.c_str());
    if (m_pSession->m_proxy)
        curl_easy_setopt(m_pEasy, CURLOPT_PROXY, m_pSession->m_proxy->c_str());
    if (m_pSession->m_noProxy)
        curl_easy_setopt(m_pEasy, CURLOPT_NOPROXY, m_pSession->m_noProxy->c_str());
    if (!m_pSession->m_strProxyUser.empty()) {
        curl_easy_setopt(m_pEasy, CURLOPT_PROXYUSERNAME, m_pSession->m_strProxyUser.c_str());
        curl_easy_setopt(m_pEasy, CURLOPT_PROXYPASSWORD, m_pSession->m_strProxyPassword.c_str());
    }
    curl_easy_setopt(m_pEasy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);

    // Every request goes to the network on a connection of its own, so that its
    // notices tell the whole story and nothing of an earlier answer is reused.
    curl_easy_setopt(m_pEasy, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(m_pEasy, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(m_pEasy, CURLOPT_DNS_CACHE_TIMEOUT, 0L);
    // Closing a request while its name is being resolved must not wait for the
    // resolver: libcurl leaves that thread to end by itself.
    curl_easy_setopt(m_pEasy, CURLOPT_QUICK_EXIT, 1L);
    curl_easy_setopt(m_pEasy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(m_dwConnectTimeoutMs));

    if (!(m_dwFlags & INTERNET_FLAG_NO_AUTO_REDIRECT)) {
        curl_easy_setopt(m_pEasy, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(m_pEasy, CURLOPT_MAXREDIRS, 10L);
        curl_easy_setopt(m_pEasy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    }
    for (const std::string& header : m_headers)
        m_pHeaderList = curl_slist_append(m_pHeaderList, header.c_str());
    if (m_pHeaderList)
        curl_easy_setopt(m_pEasy, CURLOPT_HTTPHEADER, m_pHeaderList);

    curl_easy_setopt(m_pEasy, CURLOPT_RESOLVER_START_FUNCTION, &CInternetRequest::OnResolverStart);
    curl_easy_setopt(m_pEasy, CURLOPT_RESOLVER_START_DATA, this);
    curl_easy_setopt(m_pEasy, CURLOPT_OPENSOCKETFUNCTION, &CInternetRequest::OnOpenSocket);
    curl_easy_setopt(m_pEasy, CURLOPT_OPENSOCKETDATA, this);
    curl_easy_setopt(m_pEasy, CURLOPT_PREREQFUNCTION, &CInternetRequest::OnPrereq);
    curl_easy_setopt(m_pEasy, CURLOPT_PREREQDATA, this);
    // The request's header block is handed to the debug function once it has
    // been sent, the only moment libcurl tells.
    curl_easy_setopt(m_pEasy, CURLOPT_DEBUGFUNCTION, &CInternetRequest::OnDebug);
    curl_easy_setopt(m_pEasy, CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(m_pEasy, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(m_pEasy, CURLOPT_HEADERFUNCTION, &CInternetRequest::OnHeader);
    curl_easy_setopt(m_pEasy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(m_pEasy, CURLOPT_WRITEFUNCTION, &CInternetRequest::OnBody);
    curl_easy_setopt(m_pEasy, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(m_pEasy, CURLOPT_BUFFERSIZE, RECEIVE_BUFFER);
}

void CInternetRequest::EndTransfer(CURLM* pMulti)
{
    if (!m_pEasy)
        return;
    curl_multi_remove_handle(pMulti, m_pEasy);
    curl_easy_cleanup(m_pEasy);
    m_pEasy = nullptr;
    m_bConnected = false;
}

void CInternetRequest::Finish(DWORD dwError, bool bCut)
{
    INTERNET_BUFFERSA* pPendingRead;
    bool bHeadersDone;
    {
        std::lock_guard<std::mutex> lock(CInternetSession::Lock());
        if (m_bCloseRequested)
            return;
        // An answer that ends before its headers has not been received at all.
        if (!m_bHeadersDone && !dwError)
            dwError = ERROR_HTTP_INVALID_SERVER_RESPONSE;
        m_bFinished = true;
        m_dwError = dwError;
        bHeadersDone = m_bHeadersDone;
        pPendingRead = m_pPendingRead;
        m_pPendingRead = nullptr;
        if (pPendingRead)
            pPendingRead->dwBufferLength = 0;
    }
    if (bCut) {
        Notify(INTERNET_STATUS_CLOSING_CONNECTION);
        Notify(INTERNET_STATUS_CONNECTION_CLOSED);
    }
    if (!bHeadersDone || pPendingRead)
        NotifyResult(dwError ? FALSE : TRUE, dwError);
}

void CInternetRequest::Resume()
{
    if (!m_pEasy)
        return;
    m_lastActivity = Clock::now();
    // Hands the held-back block to OnBody at once.
    curl_easy_pause(m_pEasy, CURLPAUSE_CONT);
}

bool CInternetRequest::IsStalled(Clock::time_point now, Clock::time_point* pDeadline) const
{
    *pDeadline = Clock::time_point::max();
    if (!m_pEasy || !m_bConnected)
        return false;   // connecting has a limit of its own
    {
        std::lock_guard<std::mutex> lock(CInternetSession::Lock());
        if (m_bPaused)
            return false;   // waiting for the caller, not for the server
    }
    *pDeadline = m_lastActivity + std::chrono::milliseconds(m_dwReceiveTimeoutMs);
    return now >= *pDeadline;
}

void CInternetRequest::RequestClose()
{
    m_bCloseRequested = true;
    m_pPendingRead = nullptr;
}

void CInternetRequest::AskResumeLocked()
{
    if (m_bPaused && !m_bResumeAsked && m_body.Size() <= BODY_LOW_MARK) {
        m_bResumeAsked = true;
        m_pSession->Wake();
    }
}

BOOL CInternetRequest::Read(INTERNET_BUFFERSA* pBuffers)
{
    if (!pBuffers || !pBuffers->lpvBuffer || pBuffers->dwBufferLength == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if ((!m_bHeadersDone && !m_bFinished) || m_pPendingRead) {
        SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
        return FALSE;
    }
    if (m_body.Size() > 0) {
        pBuffers->dwBufferLength =
            static_cast<DWORD>(m_body.Take(static_cast<char*>(pBuffers->lpvBuffer), pBuffers->dwBufferLength));
        AskResumeLocked();
        return TRUE;
    }
    if (m_bFinished) {
        pBuffers->dwBufferLength = 0;
        if (!m_dwError)
            return TRUE;
        SetLastError(m_dwError);
        return FALSE;
    }
    m_pPendingRead = pBuffers;
    AskResumeLocked();
    SetLastError(ERROR_IO_PENDING);
    return FALSE;
}

BOOL CInternetRequest::QueryInfo(DWORD dwInfoLevel, void* pBuffer, DWORD* pdwLength, DWORD* pdwIndex) const
{
    if (!pdwLength) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!m_bHeadersDone) {
        SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
        return FALSE;
    }
    std::string value;
    switch (dwInfoLevel & ~HTTP_QUERY_FLAG_NUMBER) {
    case HTTP_QUERY_STATUS_CODE:
        value = std::to_string(m_nStatusCode);
        break;
    case HTTP_QUERY_CONTENT_LENGTH:
        if (!m_bHasContentLength) {
            SetLastError(ERROR_HTTP_HEADER_NOT_FOUND);
            return FALSE;
        }
        value = m_strContentLength;
        break;
    default:
        SetLastError(ERROR_HTTP_INVALID_QUERY_REQUEST);
        return FALSE;
    }
    // Each header is there once.
    if (pdwIndex && *pdwIndex > 0) {
        SetLastError(ERROR_HTTP_HEADER_NOT_FOUND);
        return FALSE;
    }
    if (dwInfoLevel & HTTP_QUERY_FLAG_NUMBER) {
        if (*pdwLength < sizeof(DWORD) || !pBuffer) {
            *pdwLength = sizeof(DWORD);
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return FALSE;
        }
        DWORD dwNumber = static_cast<DWORD>(std::strtoul(value.c_str(), nullptr, 10));
        std::memcpy(pBuffer, &dwNumber, sizeof dwNumber);
        *pdwLength = sizeof(DWORD);
    } else {
        std::wstring text = CCodePage::Decode(value);
        DWORD dwNeeded = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
        if (*pdwLength < dwNeeded || !pBuffer) {
            *pdwLength = dwNeeded;
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return FALSE;
        }
        std::memcpy(pBuffer, text.c_str(), dwNeeded);
        *pdwLength = dwNeeded - sizeof(wchar_t);
    }
    if (pdwIndex)
        ++*pdwIndex;
    return TRUE;
}

DWORD CInternetRequest::ErrorFromCurl(CURLcode code, bool* pbCut)
{
    *pbCut = false;
    switch (code) {
    case CURLE_OK:
        return 0;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return ERROR_INTERNET_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT:
        return ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_OPERATION_TIMEDOUT:
        return ERROR_INTERNET_TIMEOUT;
    // The server ended the connection before the answer was complete.
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
        *pbCut = true;
        return ERROR_INTERNET_CONNECTION_ABORTED;
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
        *pbCut = true;
        return ERROR_INTERNET_CONNECTION_RESET;
    case CURLE_TOO_MANY_REDIRECTS:
        return ERROR_HTTP_REDIRECT_FAILED;
    case CURLE_UNSUPPORTED_PROTOCOL:
        return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
    case CURLE_URL_MALFORMAT:
        return ERROR_INTERNET_INVALID_URL;
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_BAD_CONTENT_ENCODING:
        return ERROR_HTTP_INVALID_SERVER_RESPONSE;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
        return ERROR_INTERNET_SECURITY_CHANNEL_ERROR;
    case CURLE_OUT_OF_MEMORY:
        return ERROR_NOT_ENOUGH_MEMORY;
    case CURLE_WRITE_ERROR:
    case CURLE_ABORTED_BY_CALLBACK:
        return ERROR_INTERNET_OPERATION_CANCELLED;
    default:
        return ERROR_INTERNET_INTERNAL_ERROR;
    }
}

int CInternetRequest::OnResolverStart(void*, void*, void* pUser)
{
    auto* pRequest = static_cast<CInternetRequest*>(pUser);
    pRequest->m_bNameResolvedSent = false;
    std::wstring host;
    if (pRequest->m_pSession->m_proxy && !pRequest->m_pSession->m_proxy->empty()) {
        host = HostOf(*pRequest->m_pSession->m_proxy);
    } else {
        char* pszUrl = nullptr;
        curl_easy_getinfo(pRequest->m_pEasy, CURLINFO_EFFECTIVE_URL, &pszUrl);
        host = HostOf(pszUrl ? pszUrl : pRequest->m_strUrl);
    }
    pRequest->NotifyText(INTERNET_STATUS_RESOLVING_NAME, host);
    return pRequest->IsClosed() ? 1 : 0;
}

curl_socket_t CInternetRequest::OnOpenSocket(void* pUser, curlsocktype, curl_sockaddr* pAddress)
{
    auto* pRequest = static_cast<CInternetRequest*>(pUser);
    std::wstring address = AddressText(pAddress);
    pRequest->m_bConnected = false;   // a connection of its own, after a redirect too
    if (!pRequest->m_bNameResolvedSent) {
        pRequest->m_bNameResolvedSent = true;
        pRequest->NotifyText(INTERNET_STATUS_NAME_RESOLVED, address);
    }
    pRequest->NotifyText(INTERNET_STATUS_CONNECTING_TO_SERVER, address);
    if (pRequest->IsClosed())
        return CURL_SOCKET_BAD;
    return socket(pAddress->family, pAddress->socktype | SOCK_CLOEXEC, pAddress->protocol);
}

int CInternetRequest::OnPrereq(void* pUser, char* pszPrimaryIp, char*, int, int)
{
    auto* pRequest = static_cast<CInternetRequest*>(pUser);
    pRequest->m_bConnected = true;
    pRequest->m_bRequestSentNoticed = false;
    pRequest->m_lastActivity = Clock::now();
    pRequest->NotifyText(INTERNET_STATUS_CONNECTED_TO_SERVER, CCodePage::Decode(pszPrimaryIp));
    pRequest->Notify(INTERNET_STATUS_SENDING_REQUEST);
    return pRequest->IsClosed() ? CURL_PREREQFUNC_ABORT : CURL_PREREQFUNC_OK;
}

int CInternetRequest::OnDebug(CURL*, curl_infotype type, char*, size_t nSize, void* pUser)
{
    auto* pRequest = static_cast<CInternetRequest*>(pUser);
    if (type == CURLINFO_HEADER_OUT && !pRequest->m_bRequestSentNoticed) {
        pRequest->m_bRequestSentNoticed = true;
        pRequest->m_lastActivity = Clock::now();
        DWORD dwBytes = static_cast<DWORD>(nSize);
        pRequest->Notify(INTERNET_STATUS_REQUEST_SENT, &dwBytes, sizeof dwBytes);
    }
    return 0;
}

size_t CInternetRequest::OnHeader(char* pData, size_t nSize, size_t nCount, void* pUser)
{
    auto* pRequest = static_cast<CInternetRequest*>(pUser);
    size_t nTotal = nSize * nCount;
    if (!pRequest->OnHeaderLine(std::string(pData, nTotal)))
        return 0;
    return nTotal;
}

bool CInternetRequest::OnHeaderLine(const std::string& line)
{
    {
        std::lock_guard<std::mutex> lock(CInternetSession::Lock());
        if (m_bCloseRequested)
            return false;
        if (m_bHeadersDone)
            return true;   // trailers of a chunked body
    }
    m_lastActivity = Clock::now();
    if (!m_bInHeaderBlock) {
        m_bInHeaderBlock = true;
        m_dwHeaderBytes = 0;
        m_bBlockHasLength = false;
        m_strBlockLength.clear();
        m_strBlockLocation.clear();
        Notify(INTERNET_STATUS_RECEIVING_RESPONSE);
    }
    m_dwHeaderBytes += static_cast<DWORD>(line.size());
    const std::string lengthHeader = "content-length:";
    const std::string locationHeader = "location:";
    if (StartsWithNoCase(line, lengthHeader)) {
        m_bBlockHasLength = true;
        m_strBlockLength = Trim(line.substr(lengthHeader.size()));
    } else if (StartsWithNoCase(line, locationHeader)) {
        m_strBlockLocation = Trim(line.substr(locationHeader.size()));
    }
    if (line != "\r\n" && line != "\n")
        return !IsClosed();

    // The block's end: either an answer on the way (informational, or a redirect
    // that libcurl follows) or the final one.
    m_bInHeaderBlock = false;
    long nCode = 0;
    curl_easy_getinfo(m_pEasy, CURLINFO_RESPONSE_CODE, &nCode);
    DWORD dwBytes = m_dwHeaderBytes;
    Notify(INTERNET_STATUS_RESPONSE_RECEIVED, &dwBytes, sizeof dwBytes);
    bool bFollowed = !(m_dwFlags & INTERNET_FLAG_NO_AUTO_REDIRECT) && nCode / 100 == 3 && !m_strBlockLocation.empty();
    if (bFollowed)
        NotifyText(INTERNET_STATUS_REDIRECT, CCodePage::Decode(m_strBlockLocation));
    if (nCode < 200 || bFollowed)
        return !IsClosed();
    {
        std::lock_guard<std::mutex> lock(CInternetSession::Lock());
        m_nStatusCode = nCode;
        m_bHasContentLength = m_bBlockHasLength;
        m_strContentLength = m_strBlockLength;
        m_bHeadersDone = true;
    }
    NotifyResult(TRUE, 0);
    return !IsClosed();
}

size_t CInternetRequest::OnBody(char* pData, size_t nSize, size_t nCount, void* pUser)
{
    auto* pRequest = static_cast<CInternetRequest*>(pUser);
    size_t nTotal = nSize * nCount;
    INTERNET_BUFFERSA* pFilled;
    {
        std::lock_guard<std::mutex> lock(CInternetSession::Lock());
        if (pRequest->m_bCloseRequested)
            return 0;
        if (!pRequest->m_bHeadersDone || nTotal == 0)
            return nTotal;   // the body of an answer on the way
        if (pRequest->m_body.Size() >= BODY_HIGH_MARK) {
            pRequest->m_bPaused = true;
            return CURL_WRITEFUNC_PAUSE;
        }
        pRequest->m_lastActivity = Clock::now();
        // A waiting read gets its bytes at once, as the platform fills the
        // caller's record before it signals.
        pFilled = pRequest->m_pPendingRead;
        size_t nDirect = 0;
        if (pFilled) {
            nDirect = std::min<size_t>(nTotal, pFilled->dwBufferLength);
            std::memcpy(pFilled->lpvBuffer, pData, nDirect);
            pFilled->dwBufferLength = static_cast<DWORD>(nDirect);
            pRequest->m_pPendingRead = nullptr;
        }
        pRequest->m_body.Append(pData + nDirect, nTotal - nDirect);
    }
    if (pFilled) {
        pRequest->NotifyResult(TRUE, 0);
    }
    return nTotal;
}
