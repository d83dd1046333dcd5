#include "service/http/ForecastServer.h"

#include "service/feed/FeedWriter.h"
#include "service/http/HomePage.h"
#include "service/http/LogText.h"
#include "service/places/Places.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

// Not a text/ type, so that no proxy between recodes or compresses it: the
// program's downloads expect the length on the wire to be the document's.
const char* const XML_TYPE = "application/xml; charset=UTF-8";
const char* const TEXT_TYPE = "text/plain; charset=UTF-8";

// A query number read as leniently as the program's HTTP layer may send it
// ("10 " or "10%20" included), kept within the bounds.
int QueryNumber(const std::string& strValue, int nMax)
{
    return std::max(1, std::min(nMax, std::atoi(strValue.c_str())));
}

// A tag that changes whenever the body does (64-bit FNV-1a).
std::string TagOf(const std::string& strBody)
{
    uint64_t nHash = 14695981039346656037ULL;
    for (const char c : strBody) {
        nHash ^= static_cast<unsigned char>(c);
        nHash *= 1099511628211ULL;
    }
    char sz[24];
    std::snprintf(sz, sizeof sz, "\"%016llx\"", static_cast<unsigned long long>(nHash));
    return sz;
}

// Whether an If-None-Match list names the tag (weak or strong: for a GET
// they mean the same body).
bool TagMatches(const std::string& strList, const std::string& strTag)
{
    return strList.find('*') != std::string::npos || strList.find(strTag) != std::string::npos;
}

} // namespace

CForecastServer::CForecastServer(const CPlaces& places, CForecastSource& source, int nThreads)
    : m_places(places), m_source(source)
{
    // A client that goes away mid-answer must not end the service.
    std::signal(SIGPIPE, SIG_IGN);
    m_http.m_limits.nWorkers = std::max(1, nThreads);
    m_http.m_handler = [this](const CHttpRequest& req, CHttpAnswer& answer) { Handle(req, answer); };
    m_http.m_logger = [this](const CHttpRequest& req, const CHttpAnswer& answer) {
        if (m_bVerbose)
            std::fprintf(stderr, "%s %s %d %zu\n", CLogText::Escaped(req.m_strMethod).c_str(),
                         CLogText::Escaped(req.m_strTarget).c_str(), answer.m_nStatus, answer.m_strBody.size());
    };
}

bool CForecastServer::IsLoopback(const std::string& strAddress)
{
    return strAddress.rfind("127.", 0) == 0 || strAddress == "::1";
}

int CForecastServer::Bind(const std::string& strHost, int nPort)
{
    return m_http.Bind(strHost, nPort);
}

bool CForecastServer::Run()
{
    return m_http.Run();
}

void CForecastServer::Stop()
{
    m_http.Stop();
}

void CForecastServer::Handle(const CHttpRequest& req, CHttpAnswer& answer)
{
    if (req.m_strMethod != "GET" && req.m_strMethod != "HEAD") {
        answer.Set(405, TEXT_TYPE, "Only GET and HEAD are answered here.\n");
        answer.m_headers.emplace_back("Allow", "GET, HEAD");
        return;
    }
    if (req.m_strPath == "/") {
        Answer(req, answer, 200, "text/html; charset=UTF-8", CHomePage::Html(m_places, m_source.IsLive()));
    } else if (req.m_strPath == "/search/search") {
        Search(req, answer);
    } else if (req.m_strPath.compare(0, 15, "/weather/local/") == 0) {
        Forecast(req, answer);
    } else {
        Answer(req, answer, 404, TEXT_TYPE, "Not Found\n");
    }
}

void CForecastServer::Search(const CHttpRequest& req, CHttpAnswer& answer)
{
    std::string strText = req.Param("where");
    if (strText.size() > MAX_SEARCH_BYTES) {
        // Cut at a character's start, not inside one.
        size_t nAt = MAX_SEARCH_BYTES;
        while (nAt > 0 && (static_cast<unsigned char>(strText[nAt]) & 0xC0) == 0x80)
            --nAt;
        strText.resize(nAt);
    }
    std::vector<CPlace> found;
    std::string strWhy;
    const CForecastSource::Outcome outcome = m_source.Search(strText, found, strWhy);
    if (outcome != CForecastSource::ANSWERED) {
        Fail(req, answer, outcome, strWhy);
        return;
    }
    std::vector<const CPlace*> places;
    for (const CPlace& place : found)
        places.push_back(&place);
    Answer(req, answer, 200, XML_TYPE, CFeedWriter::SearchAnswer(places), true);
}

void CForecastServer::Forecast(const CHttpRequest& req, CHttpAnswer& answer)
{
    CForecastRecord::Section section = CForecastRecord::NO_SECTION;
    int nCount = 0;
    if (req.HasParam("dayf")) {
        section = CForecastRecord::DAILY;
        nCount = QueryNumber(req.Param("dayf"), MAX_DAYS);
    } else if (req.HasParam("hbhf")) {
        section = CForecastRecord::HOURLY;
        nCount = QueryNumber(req.Param("hbhf"), MAX_HOURS);
    }
    const std::string strID = req.m_strPath.substr(15);
    CForecastRecord record;
    std::string strWhy;
    const CForecastSource::Outcome outcome =
        m_source.Forecast(strID, section, nCount, static_cast<int64_t>(std::time(nullptr)), record, strWhy);
    if (outcome != CForecastSource::ANSWERED) {
        Fail(req, answer, outcome, strWhy);
        return;
    }
    Answer(req, answer, 200, XML_TYPE, CFeedWriter::Feed(record), true);
}

void CForecastServer::Fail(const CHttpRequest& req, CHttpAnswer& answer, CForecastSource::Outcome outcome,
                           const std::string& strWhy)
{
    // Never an old answer in place of a new one: the program then keeps the
    // file it has, and shows how old that is.
    switch (outcome) {
    case CForecastSource::UNKNOWN_PLACE:
        Answer(req, answer, 404, XML_TYPE, CFeedWriter::Error(2, "Invalid location provided."));
        return;
    case CForecastSource::NO_ANSWER:
        Answer(req, answer, 504, XML_TYPE, CFeedWriter::Error(1, strWhy));
        break;
    case CForecastSource::BAD_ANSWER:
        Answer(req, answer, 502, XML_TYPE, CFeedWriter::Error(1, strWhy));
        break;
    case CForecastSource::ANSWERED:
    case CForecastSource::NOT_RECORDED:
        Answer(req, answer, 500, XML_TYPE, CFeedWriter::Error(1, strWhy));
        break;
    }
    std::fprintf(stderr, "cirrovan-service: %s %s: %s\n", CLogText::Escaped(req.m_strMethod).c_str(),
                 CLogText::Escaped(req.m_strTarget).c_str(), CLogText::Escaped(strWhy).c_str());
}

void CForecastServer::Answer(const CHttpRequest& req, CHttpAnswer& answer, int nStatus, const std::string& strType,
                             std::string strBody, bool bCache)
{
    if (bCache && nStatus == 200) {
        const std::string strTag = TagOf(strBody);
        answer.m_headers.emplace_back("Cache-Control", m_nCacheSeconds > 0 ? "max-age=" + std::to_string(m_nCacheSeconds)
                                                                            : std::string("no-cache"));
        answer.m_headers.emplace_back("ETag", strTag);
        if (TagMatches(req.Header("If-None-Match"), strTag)) {
            answer.Set(304, strType, std::string());
            return;
        }
    }
    answer.Set(nStatus, strType, std::move(strBody));
}
