#include "service/live/HttpFetcher.h"

#include <curl/curl.h>

#include <mutex>

namespace {

struct Transfer
{
    std::string* pBody;
    size_t nMaxBytes;
    bool bTooLarge = false;
};

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
    Transfer transfer {&strBody, m_nMaxBytes};
    char szError[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(pCurl, CURLOPT_URL, strURL.c_str());
    curl_easy_setopt(pCurl, CURLOPT_USERAGENT, USER_AGENT);
    curl_easy_setopt(pCurl, CURLOPT_WRITEFUNCTION, Receive);
    curl_easy_setopt(pCurl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(pCurl, CURLOPT_ERRORBUFFER, szError);
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
