#include "platform/InternetUrl.h"

#include "platform/CodePage.h"

#include <cctype>
#include <vector>

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}

std::string Trim(const std::string& text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsSpace(text[begin]))
        ++begin;
    while (end > begin && IsSpace(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

namespace {

// Pieces of a list separated by any of the separators, empty ones dropped.
std::vector<std::string> Split(const std::string& text, const char* pszSeparators)
{
    std::vector<std::string> pieces;
    std::string piece;
    for (char c : text) {
        if (std::string(pszSeparators).find(c) != std::string::npos) {
            if (!piece.empty())
                pieces.push_back(piece);
            piece.clear();
        } else {
            piece += c;
        }
    }
    if (!piece.empty())
        pieces.push_back(piece);
    return pieces;
}

}

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i])
            return false;
    return true;
}

std::string CanonicalUrl(const std::wstring& strUrl)
{
    static const char s_hex[] = "0123456789ABCDEF";
    std::string result;
    for (char c : Trim(CCodePage::Encode(strUrl))) {
        auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7f) {
            result += '%';
            result += s_hex[byte >> 4];
            result += s_hex[byte & 0x0f];
        } else {
            result += c;
        }
    }
    return result;
}

std::string ProxyHostPort(const std::string& proxy, std::string* pUserInfo)
{
    std::string hostPort = Trim(proxy);
    if (StartsWithNoCase(hostPort, "http://"))
        hostPort = hostPort.substr(7);
    else if (hostPort.find("://") != std::string::npos)
        return "";
    hostPort = hostPort.substr(0, hostPort.find('/'));
    size_t at = hostPort.rfind('@');
    if (at != std::string::npos) {
        if (pUserInfo)
            *pUserInfo = hostPort.substr(0, at);
        hostPort = hostPort.substr(at + 1);
    }
    return hostPort;
}

std::string PercentDecoded(const std::string& text)
{
    auto hex = [](char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    };
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hex(text[i + 1]) >= 0 && hex(text[i + 2]) >= 0) {
            out += static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string CurlProxy(const std::wstring& strProxy)
{
    std::string proxy;
    for (const std::string& entry : Split(CCodePage::Encode(strProxy), " \t\r\n;")) {
        if (entry.find('=') == std::string::npos) {
            proxy = entry;
            break;
        }
        if (StartsWithNoCase(entry, "http=")) {
            proxy = entry.substr(5);
            break;
        }
    }
    std::string hostPort = ProxyHostPort(proxy);
    if (hostPort.empty())
        return "";
    size_t portColon = hostPort[0] == '[' ? hostPort.find("]:") : hostPort.rfind(':');
    if (portColon == std::string::npos)
        hostPort += ":80";
    return "http://" + hostPort;
}

std::string CurlNoProxy(const std::wstring& strBypass)
{
    std::string list;
    for (const std::string& name : Split(CCodePage::Encode(strBypass), " \t\r\n;,")) {
        if (name == "<local>")
            continue;
        if (!list.empty())
            list += ',';
        list += name.compare(0, 2, "*.") == 0 ? name.substr(1) : name;
    }
    return list;
}

std::vector<std::string> HeaderLines(const std::wstring& strHeaders)
{
    return Split(CCodePage::Encode(strHeaders), "\r\n");
}
