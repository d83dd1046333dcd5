#include "service/http/HttpAnswer.h"

void CHttpAnswer::Set(int nStatus, const std::string& strType, std::string strBody)
{
    m_nStatus = nStatus;
    m_strType = strType;
    m_strBody = std::move(strBody);
}

std::string CHttpAnswer::Head(bool bKeepAlive) const
{
    std::string head = "HTTP/1.1 " + std::to_string(m_nStatus) + " " + Reason(m_nStatus) + "\r\n";
    if (m_nStatus != 304)
        head += "Content-Type: " + m_strType + "\r\n";
    if (m_nStatus != 304)
        head += "Content-Length: " + std::to_string(m_strBody.size()) + "\r\n";
    for (const auto& header : m_headers)
        head += header.first + ": " + header.second + "\r\n";
    if (!bKeepAlive || m_bClose)
        head += "Connection: close\r\n";
    head += "\r\n";
    return head;
}

const char* CHttpAnswer::Reason(int nStatus)
{
    switch (nStatus) {
    case 200: return "OK";
    case 304: return "Not Modified";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 413: return "Content Too Large";
    case 429: return "Too Many Requests";
    case 431: return "Request Header Fields Too Large";
    case 500: return "Internal Server Error";
    case 501: return "Not Implemented";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    case 504: return "Gateway Timeout";
    case 505: return "HTTP Version Not Supported";
    default: return nStatus < 400 ? "OK" : "Error";
    }
}
