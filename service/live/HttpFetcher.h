#pragma once

#include <cstddef>
#include <string>

// The service's one HTTP client for the live source: a GET on libcurl with a
// User-Agent that names Cirrovan, time limits, a cap on the body's size and
// the proxy of the environment (http_proxy, https_proxy, no_proxy). Each call
// uses a transfer of its own, so any number of threads may fetch at once.
class CHttpFetcher
{
public:
    enum Result {
        FETCHED,        // an answer came, whatever its status
        UNREACHABLE,    // no connection: no such host, refused, TLS failed
        TIMED_OUT,      // no whole answer within the time limit
        TOO_LARGE,      // the body went past the cap
        TO_ITSELF,      // the request led back to the service
        FAILED,         // the transfer broke off otherwise
    };

    static constexpr const char* USER_AGENT = "cirrovan-service/1.0 (Cirrovan weather viewer)";

    // Fetches the URL. nStatus and strBody are the answer's when FETCHED;
    // strError says what went wrong otherwise, in libcurl's words.
    Result Get(const std::string& strURL, int& nStatus, std::string& strBody, std::string& strError) const;

    // Percent-encodes every byte but the unreserved ones, for a query value.
    static std::string Encode(const std::string& strText);

    // The service's own port: a request (or a redirect) to this machine on it
    // would wait on the service itself, so it fails at once. 0: none.
    int m_nOwnPort = 0;
    int m_nConnectSeconds = 5;
    int m_nTotalSeconds = 15;
    size_t m_nMaxBytes = 4 * 1024 * 1024;
};
