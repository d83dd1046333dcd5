#pragma once

#include "platform/Internet.h"
#include "platform/InternetBody.h"

#include <curl/curl.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

class CInternetSession;

// One part of a URL as libcurl reads it; false when the URL cannot be read or
// has no such part.
bool UrlPart(const std::string& url, CURLUPart part, std::string& value);

// One request of an open handle: its libcurl transfer, which only the layer's
// thread touches, and the answer it has received so far, which the caller reads
// under the layer's lock. The body waits in a bounded buffer; when the caller
// falls behind by more than it holds the transfer pauses, so memory stays flat
// whatever the answer's size.
class CInternetRequest
{
public:
    typedef std::chrono::steady_clock Clock;

    CInternetRequest(std::shared_ptr<CInternetSession> pSession, HINTERNET hRequest, std::string strUrl,
                     std::vector<std::string> headers, DWORD dwFlags, DWORD_PTR dwContext);
    ~CInternetRequest();
    CInternetRequest(const CInternetRequest&) = delete;
    CInternetRequest& operator=(const CInternetRequest&) = delete;

    // On the layer's thread, without the lock.
    void Start(CURLM* pMulti);                 // notice 60, then the transfer begins
    void Finish(DWORD dwError, bool bCut);     // the transfer has ended (dwError 0: complete)
    void EndTransfer(CURLM* pMulti);           // leaves the multi handle; idempotent
    void Resume();
    // When the transfer has received nothing for too long: the time it gave up.
    bool IsStalled(Clock::time_point now, Clock::time_point* pDeadline) const;

    // On the caller's thread, with the lock held.
    BOOL Read(INTERNET_BUFFERSA* pBuffers);
    BOOL QueryInfo(DWORD dwInfoLevel, void* pBuffer, DWORD* pdwLength, DWORD* pdwIndex) const;
    void RequestClose();

    static DWORD ErrorFromCurl(CURLcode code, bool* pbCut);

    const HINTERNET m_hRequest;
    const DWORD_PTR m_dwContext;
    const std::shared_ptr<CInternetSession> m_pSession;
    DWORD m_dwConnectTimeoutMs = DEFAULT_CONNECT_TIMEOUT_MS;
    DWORD m_dwReceiveTimeoutMs = DEFAULT_RECEIVE_TIMEOUT_MS;

    // Guarded by the layer's lock.
    bool m_bStarted = false;
    bool m_bCloseRequested = false;
    bool m_bCloseDone = false;
    bool m_bHeadersDone = false;     // request complete: the final answer's headers are in
    bool m_bFinished = false;        // the transfer has ended
    DWORD m_dwError = 0;             // why it ended early, 0 when complete
    long m_nStatusCode = 0;
    bool m_bHasContentLength = false;
    std::string m_strContentLength;
    CInternetBody m_body;            // received, not yet read
    INTERNET_BUFFERSA* m_pPendingRead = nullptr;
    bool m_bPaused = false;
    bool m_bResumeAsked = false;

private:
    bool IsClosed() const;
    void Notify(DWORD dwStatus, const void* pInfo = nullptr, DWORD dwLength = 0);
    void NotifyText(DWORD dwStatus, const std::wstring& strText);
    void NotifyResult(BOOL bResult, DWORD dwError);
    void AskResumeLocked();
    void SetOptions();
    bool OnHeaderLine(const std::string& line);   // false: stop the transfer

    static int OnResolverStart(void* pResolverState, void* pReserved, void* pUser);
    static curl_socket_t OnOpenSocket(void* pUser, curlsocktype purpose, curl_sockaddr* pAddress);
    static int OnPrereq(void* pUser, char* pszPrimaryIp, char* pszLocalIp, int nPrimaryPort, int nLocalPort);
    static int OnDebug(CURL* pEasy, curl_infotype type, char* pData, size_t nSize, void* pUser);
    static size_t OnHeader(char* pData, size_t nSize, size_t nCount, void* pUser);
    static size_t OnBody(char* pData, size_t nSize, size_t nCount, void* pUser);

    const std::string m_strUrl;
    const std::vector<std::string> m_headers;
    const DWORD m_dwFlags;

    // Only the layer's thread touches these.
    CURL* m_pEasy = nullptr;
    curl_slist* m_pHeaderList = nullptr;
    bool m_bNameResolvedSent = false;
    bool m_bRequestSentNoticed = false;
    bool m_bConnected = false;
    bool m_bInHeaderBlock = false;
    DWORD m_dwHeaderBytes = 0;
    bool m_bBlockHasLength = false;
    std::string m_strBlockLength;
    std::string m_strBlockLocation;
    Clock::time_point m_lastActivity;
};
