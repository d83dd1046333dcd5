#pragma once

#include <string>
#include <utility>
#include <vector>

// What the server sends back for one request. Besides a plain answer, the
// fault injector's ways of sending one wrong: bytes written as they are and
// the connection closed, a body sent in chunks, or a pause half-way.
class CHttpAnswer
{
public:
    void Set(int nStatus, const std::string& strType, std::string strBody);
    // The status line and headers of a plain or chunked answer.
    std::string Head(bool bKeepAlive) const;
    static const char* Reason(int nStatus);

    int m_nStatus = 200;
    std::string m_strType = "text/plain";
    std::string m_strBody;
    std::vector<std::pair<std::string, std::string>> m_headers;
    bool m_bClose = false;       // the connection ends after this answer
    bool m_bRaw = false;         // m_strBody is the whole of what is sent; then close
    size_t m_nChunk = 0;         // > 0: chunked transfer in pieces of this size
    long m_nStallMs = 0;         // > 0: wait this long half-way through the body
};
