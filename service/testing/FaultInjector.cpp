#include "service/testing/FaultInjector.h"

#include "service/http/HttpAnswer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

struct KindName
{
    CFaultInjector::Kind kind;
    const char* pszName;
    long nDefault;
    long nMax;      // an argument the service can still answer with
};

// Bounds that keep a fault a test of the client, not of the service: a pause
// ends within minutes, and no answer costs the service much memory.
const long LONGEST_PAUSE_MS = 10L * 60 * 1000;
const long MANY_BYTES = 16L * 1024 * 1024;

const KindName KINDS[] = {
    {CFaultInjector::NONE, "none", 0, 0},
    {CFaultInjector::HTTP_ERROR, "status", 500, 599},
    {CFaultInjector::DELAY, "delay", 3000, LONGEST_PAUSE_MS},
    {CFaultInjector::STALL, "stall", 3000, LONGEST_PAUSE_MS},
    {CFaultInjector::CUT, "cut", 0, MANY_BYTES},
    {CFaultInjector::LENGTH_OVER, "length-over", 100, MANY_BYTES},
    {CFaultInjector::LENGTH_UNDER, "length-under", 100, MANY_BYTES},
    {CFaultInjector::CHUNKED, "chunked", 1024, MANY_BYTES},
    {CFaultInjector::NO_LENGTH, "no-length", 0, 0},
    {CFaultInjector::NOT_XML, "not-xml", 0, 0},
    {CFaultInjector::HUGE_BODY, "huge", 5L * 1024 * 1024, MANY_BYTES},
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

// nLength -1: no length, the body ends with the connection; -2: chunked.
std::string RawHead(int nStatus, const std::string& strType, long nLength)
{
    std::string head = "HTTP/1.1 " + std::to_string(nStatus) + " " + CHttpAnswer::Reason(nStatus) + "\r\n";
    head += "Content-Type: " + strType + "\r\n";
    if (nLength >= 0)
        head += "Content-Length: " + std::to_string(nLength) + "\r\n";
    else if (nLength == -2)
        head += "Transfer-Encoding: chunked\r\n";
    head += "Connection: close\r\n\r\n";
    return head;
}

// Nested elements just inside the document's last closing tag.
// An answer of exactly these bytes.
CHttpAnswer::Writer Raw(std::string strBytes)
{
    return [strBytes](const CHttpAnswer::Write& write) { write(strBytes.data(), strBytes.size(), false); };
}

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

std::string ToHex(size_t n)
{
    char sz[24];
    std::snprintf(sz, sizeof sz, "%zx", n);
    return sz;
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

bool CFaultInjector::Arm(const Fault& fault)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_armed.size() >= MAX_ARMED)
        return false;
    m_armed.push_back(fault);
    return true;
}

void CFaultInjector::ClearArmed()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_armed.clear();
        ++m_nClearings;
    }
    m_wake.notify_all();
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
    const unsigned nClearings = m_nClearings;
    m_wake.wait_for(lock, std::chrono::milliseconds(nMilliseconds),
                    [&] { return m_bStopping || m_nClearings != nClearings; });
    return !m_bStopping;
}

void CFaultInjector::Stop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStopping = true;
    }
    m_wake.notify_all();
}

void CFaultInjector::Apply(const Fault& fault, CHttpAnswer& answer, int nStatus, const std::string& strType,
                           const std::string& strBody)
{
    const long nArg = Arg(fault);
    const long nSize = static_cast<long>(strBody.size());
    answer.Set(nStatus, strType, strBody);
    // A wrong answer is never one to keep.
    answer.m_headers.clear();
    switch (fault.kind) {
    case NONE:
        break;
    case HTTP_ERROR: {
        const int nError = static_cast<int>(nArg);
        const std::string strReason = CHttpAnswer::Reason(nError);
        answer.Set(nError, "text/html", "<html><head><title>" + std::to_string(nArg) + " " + strReason +
                                            "</title></head><body><h1>" + strReason + "</h1></body></html>\n");
        break;
    }
    case DELAY:
        Pause(nArg);
        break;
    case STALL: {
        const std::string strHead = RawHead(nStatus, strType, nSize);
        answer.m_writer = [this, strHead, strBody, nArg](const CHttpAnswer::Write& write) {
            const size_t nHalf = strBody.size() / 2;
            if (write(strHead.data(), strHead.size(), true) && write(strBody.data(), nHalf, false) && Pause(nArg))
                write(strBody.data() + nHalf, strBody.size() - nHalf, false);
        };
        break;
    }
    case CHUNKED: {
        const std::string strHead = RawHead(nStatus, strType, -2);
        const size_t nChunk = static_cast<size_t>(nArg);
        answer.m_writer = [strHead, strBody, nChunk](const CHttpAnswer::Write& write) {
            if (!write(strHead.data(), strHead.size(), true))
                return;
            for (size_t nAt = 0; nAt < strBody.size(); nAt += nChunk) {
                const size_t n = std::min(nChunk, strBody.size() - nAt);
                const std::string strSize = ToHex(n) + "\r\n";
                if (!write(strSize.data(), strSize.size(), true) || !write(strBody.data() + nAt, n, true) ||
                    !write("\r\n", 2, true))
                    return;
            }
            write("0\r\n\r\n", 5, false);
        };
        break;
    }
    case CUT: {
        const long nSend = fault.nArg > 0 ? std::min(fault.nArg, std::max(0L, nSize - 1)) : nSize / 2;
        answer.m_writer = Raw(RawHead(nStatus, strType, nSize) + strBody.substr(0, static_cast<size_t>(nSend)));
        break;
    }
    case LENGTH_OVER:
        answer.m_writer = Raw(RawHead(nStatus, strType, nSize + nArg) + strBody);
        break;
    case LENGTH_UNDER:
        answer.m_writer = Raw(RawHead(nStatus, strType, std::max(0L, nSize - nArg)) + strBody);
        break;
    case NO_LENGTH:
        answer.m_writer = Raw(RawHead(nStatus, strType, -1) + strBody);
        break;
    case CLOSE:
        answer.m_writer = Raw(std::string());
        break;
    case NOT_XML:
        answer.Set(200, "text/plain", "Forecasts are being updated. Please try again in a few minutes.\n");
        break;
    case HUGE_BODY:
        answer.m_strBody = Inflate(strBody, nArg);
        break;
    case DEEP:
        answer.m_strBody = Deepen(strBody, nArg);
        break;
    }
}
