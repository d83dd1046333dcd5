#include "service/http/HttpRequest.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string strText)
{
    for (char& c : strText)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return strText;
}

std::string Trimmed(const std::string& strText)
{
    const size_t nFirst = strText.find_first_not_of(" \t");
    if (nFirst == std::string::npos)
        return std::string();
    return strText.substr(nFirst, strText.find_last_not_of(" \t") - nFirst + 1);
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsTokenChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || std::string("!#$%&'*+-.^_`|~").find(c) != std::string::npos;
}

} // namespace

std::string PercentDecoded(const std::string& strText, bool bPlusIsBlank)
{
    std::string out;
    out.reserve(strText.size());
    for (size_t i = 0; i < strText.size(); ++i) {
        const char c = strText[i];
        if (c == '%' && i + 2 < strText.size() && HexDigit(strText[i + 1]) >= 0 && HexDigit(strText[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(strText[i + 1]) * 16 + HexDigit(strText[i + 2]));
            i += 2;
        } else {
            out += bPlusIsBlank && c == '+' ? ' ' : c;
        }
    }
    return out;
}

std::string CHttpRequest::Param(const std::string& strName) const
{
    const auto it = m_params.find(strName);
    return it != m_params.end() ? it->second : std::string();
}

std::string CHttpRequest::Header(const std::string& strName) const
{
    const std::string strLower = Lower(strName);
    for (const auto& header : m_headers) {
        if (header.first == strLower)
            return header.second;
    }
    return std::string();
}

bool CHttpRequest::HasHeader(const std::string& strName) const
{
    const std::string strLower = Lower(strName);
    return std::any_of(m_headers.begin(), m_headers.end(), [&](const auto& h) { return h.first == strLower; });
}

CHttpRequest::Result CHttpRequest::Read(const std::string& strBytes, size_t nFrom, size_t& nUsed, int& nStatus)
{
    // Blank lines before a request are allowed, as after a body some clients
    // send one more line end.
    size_t nStart = nFrom;
    while (nStart < strBytes.size() && (strBytes[nStart] == '\r' || strBytes[nStart] == '\n'))
        ++nStart;
    const size_t nEnd = strBytes.find("\r\n\r\n", nStart);
    if (nEnd == std::string::npos || nEnd - nStart > MAX_HEAD) {
        if (strBytes.size() - nStart > MAX_HEAD) {
            nStatus = 431;
            return REFUSED;
        }
        return INCOMPLETE;
    }
    if (ReadHead(strBytes.substr(nStart, nEnd - nStart), nStatus) != COMPLETE)
        return REFUSED;

    size_t nBody = 0;
    bool bLength = false;
    for (const auto& header : m_headers) {
        if (header.first == "transfer-encoding") {
            // Chunked bodies are not taken: no request needs a body at all.
            nStatus = 501;
            return REFUSED;
        }
        if (header.first != "content-length")
            continue;
        const std::string& strValue = header.second;
        if (strValue.empty() || strValue.size() > 18 ||
            !std::all_of(strValue.begin(), strValue.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            nStatus = 400;
            return REFUSED;
        }
        const size_t nLength = std::stoull(strValue);
        if (bLength && nLength != nBody) {
            nStatus = 400;
            return REFUSED;
        }
        bLength = true;
        nBody = nLength;
    }
    if (nBody > MAX_BODY) {
        nStatus = 413;
        return REFUSED;
    }
    const size_t nHeadEnd = nEnd + 4;
    if (strBytes.size() - nHeadEnd < nBody)
        return INCOMPLETE;
    m_strBody = strBytes.substr(nHeadEnd, nBody);
    nUsed = nHeadEnd + nBody - nFrom;
    return COMPLETE;
}

CHttpRequest::Result CHttpRequest::ReadHead(const std::string& strHead, int& nStatus)
{
    nStatus = 400;
    size_t nLineEnd = strHead.find("\r\n");
    const std::string strLine = strHead.substr(0, nLineEnd);
    // The program's own requests may end the target with a blank of its
    // template, so the target is what lies between the method and the version.
    const size_t nSpace1 = strLine.find(' ');
    const size_t nSpace2 = strLine.rfind(' ');
    if (nSpace1 == std::string::npos || nSpace2 == nSpace1)
        return REFUSED;
    m_strMethod = strLine.substr(0, nSpace1);
    m_strTarget = Trimmed(strLine.substr(nSpace1 + 1, nSpace2 - nSpace1 - 1));
    const std::string strVersion = strLine.substr(nSpace2 + 1);
    if (m_strMethod.empty() || !std::all_of(m_strMethod.begin(), m_strMethod.end(), IsTokenChar) ||
        m_strTarget.empty() || m_strTarget[0] != '/')
        return REFUSED;
    if (strVersion != "HTTP/1.1" && strVersion != "HTTP/1.0") {
        nStatus = strVersion.rfind("HTTP/", 0) == 0 ? 505 : 400;
        return REFUSED;
    }
    for (char c : m_strTarget) {
        if ((static_cast<unsigned char>(c) < ' ' && c != '\t') || c == 0x7f)
            return REFUSED;
    }

    while (nLineEnd != std::string::npos) {
        const size_t nNext = strHead.find("\r\n", nLineEnd + 2);
        const std::string strField = strHead.substr(nLineEnd + 2, nNext == std::string::npos ? nNext : nNext - nLineEnd - 2);
        nLineEnd = nNext;
        const size_t nColon = strField.find(':');
        // A folded line or a name with blanks is how requests are smuggled.
        if (nColon == std::string::npos || nColon == 0 ||
            !std::all_of(strField.begin(), strField.begin() + static_cast<long>(nColon), IsTokenChar))
            return REFUSED;
        m_headers.emplace_back(Lower(strField.substr(0, nColon)), Trimmed(strField.substr(nColon + 1)));
    }

    const std::string strConnection = Lower(Header("connection"));
    m_bKeepAlive = strVersion == "HTTP/1.1" ? strConnection.find("close") == std::string::npos
                                            : strConnection.find("keep-alive") != std::string::npos;

    const size_t nQuery = m_strTarget.find('?');
    m_strPath = PercentDecoded(m_strTarget.substr(0, nQuery), false);
    if (nQuery != std::string::npos) {
        const std::string strQuery = m_strTarget.substr(nQuery + 1);
        size_t nPos = 0;
        while (nPos <= strQuery.size()) {
            size_t nAmp = strQuery.find('&', nPos);
            if (nAmp == std::string::npos)
                nAmp = strQuery.size();
            const std::string strPair = strQuery.substr(nPos, nAmp - nPos);
            if (!strPair.empty()) {
                const size_t nEq = strPair.find('=');
                m_params.emplace(PercentDecoded(strPair.substr(0, nEq), true),
                                 nEq == std::string::npos ? std::string() : PercentDecoded(strPair.substr(nEq + 1), true));
            }
            nPos = nAmp + 1;
        }
    }
    nStatus = 0;
    return COMPLETE;
}
