#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <vector>

// One request as a client sent it, read from the bytes of its connection.
// Reading is bounded: a head past MAX_HEAD or a body past MAX_BODY is refused
// before it is stored, and a body only comes with a Content-Length.
class CHttpRequest
{
public:
    static constexpr size_t MAX_HEAD = 16 * 1024;
    // No request needs a body; the control options travel in the query.
    static constexpr size_t MAX_BODY = 4 * 1024;

    enum Result { INCOMPLETE, COMPLETE, REFUSED };

    // Reads the first request in the bytes from nFrom on. COMPLETE: nUsed
    // bytes made it. REFUSED: nStatus is the error to answer before closing.
    Result Read(const std::string& strBytes, size_t nFrom, size_t& nUsed, int& nStatus);

    bool HasParam(const std::string& strName) const { return m_params.count(strName) != 0; }
    std::string Param(const std::string& strName) const;
    // The header's value (name in any case), or "".
    std::string Header(const std::string& strName) const;
    bool HasHeader(const std::string& strName) const;

    std::string m_strMethod;
    std::string m_strTarget;       // as sent: path and query
    std::string m_strPath;         // percent-decoded
    std::multimap<std::string, std::string> m_params;
    std::vector<std::pair<std::string, std::string>> m_headers;   // names in lower case
    std::string m_strBody;
    bool m_bKeepAlive = true;
    std::string m_strPeer;         // the client's numeric address

private:
    Result ReadHead(const std::string& strHead, int& nStatus);
};

// Percent-decoding, '+' as a blank in query values only.
std::string PercentDecoded(const std::string& strText, bool bPlusIsBlank);
