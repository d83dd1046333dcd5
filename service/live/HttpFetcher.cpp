#include "service/live/HttpFetcher.h"

#include <curl/curl.h>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>

#include <mutex>

namespace {

struct Transfer
{
    std::string* pBody;
    size_t nMaxBytes;
    int nOwnPort;
    bool bTooLarge = false;
    bool bToItself = false;
};

// Whether the address is one this machine answers on.
bool IsOwnAddress(const std::string& strAddress)
{
    std::string strIP = strAddress;
    if (strIP.rfind("::ffff:", 0) == 0 && strIP.find('.') != std::string::npos)
        strIP = strIP.substr(7);
    if (strIP.rfind("127.", 0) == 0 || strIP == "::1" || strIP == "0.0.0.0" || strIP == "::")
        return true;
    ifaddrs* pList = nullptr;
    if (getifaddrs(&pList) != 0)
        return false;
    bool bOwn = false;
    for (const ifaddrs* p = pList; p && !bOwn; p = p->ifa_next) {
        if (!p->ifa_addr)
            continue;
        char sz[INET6_ADDRSTRLEN] = {};
        if (p->ifa_addr->sa_family == AF_INET)
            inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(p->ifa_addr)->sin_addr, sz, sizeof sz);
        else if (p->ifa_addr->sa_family == AF_INET6)
            inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(p->ifa_addr)->sin6_addr, sz, sizeof sz);
        bOwn = strIP == sz;
    }
    freeifaddrs(pList);
    return bOwn;
}

// Called before each request goes out, redirects included, once the
// connection is made.
int BeforeRequest(void* pUser, char* pszServerIP, char*, int nServerPort, int)
{
    Transfer& transfer = *static_cast<Transfer*>(pUser);
    if (transfer.nOwnPort > 0 && nServerPort == transfer.nOwnPort && IsOwnAddress(pszServerIP)) {
        transfer.bToItself = true;
        return CURL_PREREQFUNC_ABORT;
    }
    return CURL_PREREQFUNC_OK;
}

size_t Receive(char* pData, size_t nSize, size_t nCount, void* pUser)
{
    Transfer& transfer = *static_cast<Transfer*>(pUser);
    const size_t nBytes = nSize * nCount;
    if (transfer.pBody->size() + nBytes > transfer.nMaxBytes) {
        transfer.bTooLarge = true;
        return 0;   // libcurl ends the transfer with a write error
    }
    transfer.pBody->append(pData, nBytes);
    return nBytes;
}

void InitialiseOnce()
{
    static std::once_flag s_once;
    std::call_once(s_once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace

CHttpFetcher::Result CHttpFetcher::Get(const std::string& strURL, int& nStatus, std::string& strBody,
                                       std::string& strError) const
{
    InitialiseOnce();
    nStatus = 0;
    strBody.clear();
    strError.clear();
    CURL* pCurl = curl_easy_init();
    if (!pCurl) {
        strError = "the HTTP client could not start";
        return FAILED;
    }
    Transfer transfer {&strBody, m_nMaxBytes, m_nOwnPort};
    char szError[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(pCurl, CURLOPT_URL, strURL.c_str());
    curl_easy_setopt(pCurl, CURLOPT_USERAGENT, USER_AGENT);
    curl_easy_setopt(pCurl, CURLOPT_WRITEFUNCTION, Receive);
    curl_easy_setopt(pCurl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(pCurl, CURLOPT_ERRORBUFFER, szError);
    curl_easy_setopt(pCurl, CURLOPT_PREREQFUNCTION, BeforeRequest);
    curl_easy_setopt(pCurl, CURLOPT_PREREQDATA, &transfer);
    // Signals cannot time out name look-ups on request threads.
    curl_easy_setopt(pCurl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(pCurl, CURLOPT_CONNECTTIMEOUT, static_cast<long>(m_nConnectSeconds));
    curl_easy_setopt(pCurl, CURLOPT_TIMEOUT, static_cast<long>(m_nTotalSeconds));
    curl_easy_setopt(pCurl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(pCurl, CURLOPT_MAXREDIRS, 3L);
#if LIBCURL_VERSION_NUM >= 0x075500
    curl_easy_setopt(pCurl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(pCurl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
#else
    curl_easy_setopt(pCurl, CURLOPT_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
    curl_easy_setopt(pCurl, CURLOPT_REDIR_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
#endif
    // Compressed answers are welcome; the cap counts the bytes unpacked.
    curl_easy_setopt(pCurl, CURLOPT_ACCEPT_ENCODING, "");

    const CURLcode code = curl_easy_perform(pCurl);
    long nCode = 0;
    curl_easy_getinfo(pCurl, CURLINFO_RESPONSE_CODE, &nCode);
    curl_easy_cleanup(pCurl);

    if (transfer.bToItself) {
        strError = "the request leads back to this service (port " + std::to_string(m_nOwnPort) + ")";
        strBody.clear();
        return TO_ITSELF;
    }
    if (transfer.bTooLarge) {
        strError = "the answer is larger than " + std::to_string(m_nMaxBytes) + " bytes";
        strBody.clear();
        return TOO_LARGE;
    }
    if (code != CURLE_OK) {
        strError = szError[0] ? szError : curl_easy_strerror(code);
        strBody.clear();
        switch (code) {
        case CURLE_OPERATION_TIMEDOUT:
            return TIMED_OUT;
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_CONNECT:
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_UNSUPPORTED_PROTOCOL:
        case CURLE_URL_MALFORMAT:
            return UNREACHABLE;
        default:
            return FAILED;
        }
    }
    nStatus = static_cast<int>(nCode);
    return FETCHED;
}

std::string CHttpFetcher::Encode(const std::string& strText)
{
    static const char HEX[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : strText) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += HEX[c >> 4];
            out += HEX[c & 15];
        }
    }
    return out;
}
