#include "service/http/FaultInjector.h"

#include "service/http/ConnectionSockets.h"

#include <httplib.h>

#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

struct KindName
{
    CFaultInjector::Kind kind;
    const char* pszName;
    long nDefault;
    long nMax;      // an argument the service can still answer with
};

const long HOUR_MS = 3600L * 1000;
const long MANY_BYTES = 1000L * 1000 * 1000;

const KindName KINDS[] = {
    {CFaultInjector::NONE, "none", 0, 0},
    {CFaultInjector::HTTP_ERROR, "status", 500, 599},
    {CFaultInjector::DELAY, "delay", 3000, HOUR_MS},
    {CFaultInjector::STALL, "stall", 3000, HOUR_MS},
    {CFaultInjector::CUT, "cut", 0, MANY_BYTES},
    {CFaultInjector::LENGTH_OVER, "length-over", 100, MANY_BYTES},
    {CFaultInjector::LENGTH_UNDER, "length-under", 100, MANY_BYTES},
    {CFaultInjector::CHUNKED, "chunked", 1024, MANY_BYTES},
    {CFaultInjector::NO_LENGTH, "no-length", 0, 0},
    {CFaultInjector::NOT_XML, "not-xml", 0, 0},
    {CFaultInjector::HUGE_BODY, "huge", 5L * 1024 * 1024, 256L * 1024 * 1024},
    {CFaultInjector::DEEP, "deep", 100, 100000},
    {CFaultInjector::CLOSE, "close", 0, 0},
};

const KindName& Info(CFaultInjector::Kind kind)
{
    for (const KindName& k : KINDS) {
        if (k.kind == kind)
            return k;
    }
    return KINDS[0];
}

long Arg(const CFaultInjector::Fault& fault)
{
    return fault.nArg > 0 ? fault.nArg : Info(fault.kind).nDefault;
}

const char* Reason(int nStatus)
{
    switch (nStatus) {
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 408: return "Request Timeout";
    case 429: return "Too Many Requests";
    case 500: return "Internal Server Error";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    case 504: return "Gateway Timeout";
    default: return "Error";
    }
}

std::string RawHead(int nStatus, const std::string& strType, long nLength)
{
    std::string head = "HTTP/1.1 " + std::to_string(nStatus) + " " + (nStatus == 200 ? "OK" : Reason(nStatus)) + "\r\n";
    head += "Content-Type: " + strType + "\r\n";
    if (nLength >= 0)
        head += "Content-Length: " + std::to_string(nLength) + "\r\n";
    head += "Connection: close\r\n\r\n";
    return head;
}

// Nested elements just inside the document's last closing tag.
std::string Deepen(const std::string& strBody, long nDepth)
{
    std::string open;
    std::string close;
    for (long i = 0; i < nDepth; ++i) {
        open += "<deep>";
        close += "</deep>";
    }
    const size_t at = strBody.rfind("</");
    if (at == std::string::npos)
        return strBody + open + close;
    return strBody.substr(0, at) + open + close + strBody.substr(at);
}

// The same document grown past that size by a comment after it.
std::string Inflate(const std::string& strBody, long nSize)
{
    std::string out = strBody + "<!--";
    const std::string line(63, '.');
    while (static_cast<long>(out.size()) + 4 < nSize) {
        out += line;
        out += '\n';
    }
    out += "-->\n";
    return out;
}

} // namespace

bool CFaultInjector::Parse(const std::string& strSpec, Fault& fault, std::string& strError)
{
    const size_t colon = strSpec.find(':');
    const std::string strName = strSpec.substr(0, colon);
    const KindName* pKind = nullptr;
    for (const KindName& k : KINDS) {
        if (strName == k.pszName)
            pKind = &k;
    }
    if (!pKind) {
        strError = "unknown fault kind \"" + strName + "\"";
        return false;
    }
    long nArg = 0;
    if (colon != std::string::npos) {
        const std::string strArg = strSpec.substr(colon + 1);
        char* pEnd = nullptr;
        nArg = std::strtol(strArg.c_str(), &pEnd, 10);
        if (strArg.empty() || *pEnd != '\0' || nArg < 0 || nArg > pKind->nMax) {
            strError = "the argument of \"" + strName + "\" must be a whole number up to " +
                       std::to_string(pKind->nMax) + ", not \"" + strArg + "\"";
            return false;
        }
    }
    if (pKind->kind == HTTP_ERROR && nArg != 0 && (nArg < 400 || nArg > 599)) {
        strError = "status must be an HTTP error from 400 to 599";
        return false;
    }
    fault.kind = pKind->kind;
    fault.nArg = nArg;
    return true;
}

std::string CFaultInjector::Describe(const Fault& fault)
{
    std::string text = Info(fault.kind).pszName;
    if (fault.kind != NONE && Arg(fault) > 0)
        text += ":" + std::to_string(Arg(fault));
    return text;
}

const char* CFaultInjector::KindsHelp()
{
    return "  status:CODE       answer with that HTTP error (400 to 599; default 500)\n"
           "  delay:MS          wait MS milliseconds before the status line (default 3000)\n"
           "  stall:MS          send the headers and half the body, wait MS ms, send the rest\n"
           "                    (default 3000)\n"
           "  cut:BYTES         announce the whole length, send BYTES of the body (default half),\n"
           "                    then close the connection\n"
           "  length-over:N     announce N bytes more than the body has (default 100), send the\n"
           "                    body, close\n"
           "  length-under:N    announce N bytes fewer than the body has (default 100), send the\n"
           "                    whole body, close\n"
           "  chunked:BYTES     no Content-Length: chunked transfer in chunks of BYTES (default 1024)\n"
           "  no-length         no Content-Length and no chunks: the body ends when the\n"
           "                    connection closes\n"
           "  not-xml           status 200 with a plain-text body that is not XML\n"
           "  huge:BYTES        the answer grown by a trailing comment to BYTES (default 5 MiB)\n"
           "  deep:DEPTH        the answer with DEPTH nested elements inside it (default 100)\n"
           "  close             close the connection before sending any header\n"
           "  none              answer normally\n";
}

void CFaultInjector::SetStanding(const Fault& fault)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_standing = fault;
    m_standing.nCount = 0;
    m_standing.strPrefix.clear();
}

void CFaultInjector::Arm(const Fault& fault)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_armed.push_back(fault);
}

void CFaultInjector::ClearArmed()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_armed.clear();
}

CFaultInjector::Fault CFaultInjector::Take(const std::string& strTarget)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto it = m_armed.begin(); it != m_armed.end(); ++it) {
        if (strTarget.compare(0, it->strPrefix.size(), it->strPrefix) != 0)
            continue;
        Fault fault = *it;
        if (it->nCount > 0 && --it->nCount == 0)
            m_armed.erase(it);
        return fault;
    }
    return m_standing;
}

bool CFaultInjector::Pause(long nMilliseconds)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return !m_wake.wait_for(lock, std::chrono::milliseconds(nMilliseconds), [this] { return m_bStopping; });
}

void CFaultInjector::Stop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStopping = true;
    }
    m_wake.notify_all();
}

bool CFaultInjector::SendRaw(const httplib::Request& req, httplib::Response& res, const std::string& strBytes)
{
    const int fd = CConnectionSockets::Of(req);
    if (fd < 0) {
        std::fprintf(stderr, "cirrovan-service: cannot find the connection of %s to inject a fault\n",
                     req.path.c_str());
        res.status = 500;
        res.set_content("The service could not inject the fault.\n", "text/plain");
        return false;
    }
    size_t nSent = 0;
    while (nSent < strBytes.size()) {
        const ssize_t n = send(fd, strBytes.data() + nSent, strBytes.size() - nSent, MSG_NOSIGNAL);
        if (n <= 0)
            break;
        nSent += static_cast<size_t>(n);
    }
    // The library's own answer, which follows, now fails to go out, and the
    // library closes the socket as after any failed write.
    shutdown(fd, SHUT_RDWR);
    return true;
}

void CFaultInjector::Apply(const Fault& fault, const httplib::Request& req, httplib::Response& res, int nStatus,
                           const std::string& strType, const std::string& strBody)
{
    const long nArg = Arg(fault);
    const long nSize = static_cast<long>(strBody.size());
    switch (fault.kind) {
    case NONE:
        break;
    case HTTP_ERROR:
        res.status = static_cast<int>(nArg);
        res.set_content("<html><head><title>" + std::to_string(nArg) + " " + Reason(static_cast<int>(nArg)) +
                            "</title></head><body><h1>" + Reason(static_cast<int>(nArg)) + "</h1></body></html>\n",
                        "text/html");
        return;
    case DELAY:
        Pause(nArg);
        break;
    case STALL: {
        auto body = std::make_shared<std::string>(strBody);
        res.status = nStatus;
        res.set_content_provider(body->size(), strType.c_str(),
            [this, body, nArg](size_t nOffset, size_t, httplib::DataSink& sink) {
                const size_t nHalf = body->size() / 2;
                if (nOffset < nHalf)
                    return sink.write(body->data() + nOffset, nHalf - nOffset);
                if (nOffset == nHalf && !Pause(nArg))
                    return false;
                return sink.write(body->data() + nOffset, body->size() - nOffset);
            });
        return;
    }
    case CHUNKED: {
        auto body = std::make_shared<std::string>(strBody);
        const size_t nChunk = static_cast<size_t>(nArg);
        res.status = nStatus;
        res.set_chunked_content_provider(strType.c_str(),
            [body, nChunk](size_t nOffset, httplib::DataSink& sink) {
                const size_t n = std::min(nChunk, body->size() - nOffset);
                if (n > 0 && !sink.write(body->data() + nOffset, n))
                    return false;
                if (nOffset + n >= body->size())
                    sink.done();
                return true;
            });
        return;
    }
    case CUT: {
        const long nSend = fault.nArg > 0 ? std::min(fault.nArg, std::max(0L, nSize - 1)) : nSize / 2;
        SendRaw(req, res, RawHead(nStatus, strType, nSize) + strBody.substr(0, static_cast<size_t>(nSend)));
        return;
    }
    case LENGTH_OVER:
        SendRaw(req, res, RawHead(nStatus, strType, nSize + nArg) + strBody);
        return;
    case LENGTH_UNDER:
        SendRaw(req, res, RawHead(nStatus, strType, std::max(0L, nSize - nArg)) + strBody);
        return;
    case NO_LENGTH:
        SendRaw(req, res, RawHead(nStatus, strType, -1) + strBody);
        return;
    case CLOSE:
        SendRaw(req, res, std::string());
        return;
    case NOT_XML:
        res.status = 200;
        res.set_content("Forecasts are being updated. Please try again in a few minutes.\n", "text/plain");
        return;
    case HUGE_BODY:
        res.status = nStatus;
        res.set_content(Inflate(strBody, nArg), strType.c_str());
        return;
    case DEEP:
        res.status = nStatus;
        res.set_content(Deepen(strBody, nArg), strType.c_str());
        return;
    }
    res.status = nStatus;
    res.set_content(strBody, strType.c_str());
}
