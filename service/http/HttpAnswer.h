#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// What the server sends back for one request: a status, a body and headers,
// or an answer that writes its own bytes.
class CHttpAnswer
{
public:
    // Writes bytes to the client (bMore: more follow at once); false once the
    // client is gone or too slow to take them.
    using Write = std::function<bool(const char* pData, size_t nSize, bool bMore)>;
    // Sends the whole answer itself, status line and headers included; the
    // connection ends after it.
    using Writer = std::function<void(const Write& write)>;

    void Set(int nStatus, const std::string& strType, std::string strBody);
    // The status line and headers.
    std::string Head(bool bKeepAlive) const;
    static const char* Reason(int nStatus);

    int m_nStatus = 200;
    std::string m_strType = "text/plain";
    std::string m_strBody;
    std::vector<std::pair<std::string, std::string>> m_headers;
    bool m_bClose = false;       // the connection ends after this answer
    Writer m_writer;             // set: it sends the answer instead of the fields above
};
