#include "service/http/ForecastServer.h"

#include "service/http/ConnectionSockets.h"
#include "service/feed/FeedWriter.h"
#include "service/ForecastSource.h"
#include "service/http/HomePage.h"
#include "service/places/Places.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

// Not a text/ type: the HTTP library would gzip those for a client that
// accepts it, and then the length on the wire is no longer the document's.
// The forecasts go out as they are, as the program's downloads expect.
const char* const XML_TYPE = "application/xml; charset=UTF-8";

// A query number read as leniently as the program's HTTP layer may send it
// ("10 " or "10%20" included), kept within the bounds.
int QueryNumber(const std::string& strValue, int nMax)
{
    return std::max(1, std::min(nMax, std::atoi(strValue.c_str())));
}

bool IsControl(const std::string& strPath)
{
    return strPath.compare(0, 9, "/control/") == 0;
}

} // namespace

CForecastServer::CForecastServer(const CPlaces& places, CForecastSource& source, int nThreads)
    : m_places(places), m_source(source)
{
    // A client that goes away mid-answer must not end the service, and the
    // library writes without MSG_NOSIGNAL.
    std::signal(SIGPIPE, SIG_IGN);

    // Each keep-alive connection holds a thread while it is open.
    const size_t nPool = static_cast<size_t>(std::max(1, nThreads));
    m_server.new_task_queue = [nPool] { return new httplib::ThreadPool(nPool); };
    m_server.set_keep_alive_max_count(1000);
    // Headers and body leave in separate writes; with Nagle's algorithm the
    // body would wait for the client's delayed acknowledgement.
    m_server.set_tcp_nodelay(true);

    m_server.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response&) {
        if (!IsControl(req.path))
            m_requests.Count(req.path);
        return httplib::Server::HandlerResponse::Unhandled;
    });
    m_server.set_logger([this](const httplib::Request& req, const httplib::Response& res) {
        if (m_bVerbose)
            std::fprintf(stderr, "%s %s %d %zu\n", req.method.c_str(), req.target.c_str(), res.status, res.body.size());
    });

    m_server.Get("/", [this](const httplib::Request& req, httplib::Response& res) {
        Answer(req, res, 200, "text/html; charset=UTF-8", CHomePage::Html(m_places, m_source.IsLive()));
    });
    m_server.Get("/search/search", [this](const httplib::Request& req, httplib::Response& res) { Search(req, res); });
    m_server.Get(R"(/weather/local/(.*))",
                 [this](const httplib::Request& req, httplib::Response& res) { Forecast(req, res); });
    m_server.Post("/control/fault", [this](const httplib::Request& req, httplib::Response& res) { ArmFault(req, res); });
    m_server.Delete("/control/fault", [this](const httplib::Request&, httplib::Response& res) {
        m_faults.ClearArmed();
        res.set_content("cleared\n", "text/plain");
    });
    m_server.Get("/control/requests", [this](const httplib::Request& req, httplib::Response& res) { Requests(req, res); });
    m_server.Post("/control/reset", [this](const httplib::Request&, httplib::Response& res) {
        m_faults.ClearArmed();
        m_requests.Clear();
        res.set_content("reset\n", "text/plain");
    });
}

int CForecastServer::Bind(const std::string& strHost, int nPort)
{
    if (nPort == 0)
        m_nPort = m_server.bind_to_any_port(strHost.c_str());
    else
        m_nPort = m_server.bind_to_port(strHost.c_str(), nPort) ? nPort : -1;
    return m_nPort;
}

bool CForecastServer::Run()
{
    return m_server.listen_after_bind();
}

void CForecastServer::Stop()
{
    m_faults.Stop();
    m_server.stop();
    // The library would let each idle keep-alive connection run out its
    // timeout before its thread could be joined.
    if (m_nPort > 0)
        CConnectionSockets::ShutdownAll(m_nPort);
}

void CForecastServer::Search(const httplib::Request& req, httplib::Response& res)
{
    const std::string strText = req.has_param("where") ? req.get_param_value("where") : std::string();
    std::vector<CPlace> found;
    std::string strWhy;
    const CForecastSource::Outcome outcome = m_source.Search(strText, found, strWhy);
    if (outcome != CForecastSource::ANSWERED) {
        Fail(req, res, outcome, strWhy);
        return;
    }
    std::vector<const CPlace*> places;
    for (const CPlace& place : found)
        places.push_back(&place);
    Answer(req, res, 200, XML_TYPE, CFeedWriter::SearchAnswer(places));
}

void CForecastServer::Forecast(const httplib::Request& req, httplib::Response& res)
{
    CForecastRecord::Section section = CForecastRecord::NO_SECTION;
    int nCount = 0;
    if (req.has_param("dayf")) {
        section = CForecastRecord::DAILY;
        nCount = QueryNumber(req.get_param_value("dayf"), MAX_DAYS);
    } else if (req.has_param("hbhf")) {
        section = CForecastRecord::HOURLY;
        nCount = QueryNumber(req.get_param_value("hbhf"), MAX_HOURS);
    }
    CForecastRecord record;
    std::string strWhy;
    const CForecastSource::Outcome outcome =
        m_source.Forecast(req.matches[1], section, nCount, static_cast<int64_t>(std::time(nullptr)), record, strWhy);
    if (outcome != CForecastSource::ANSWERED) {
        Fail(req, res, outcome, strWhy);
        return;
    }
    Answer(req, res, 200, XML_TYPE, CFeedWriter::Feed(record));
}

void CForecastServer::Fail(const httplib::Request& req, httplib::Response& res, CForecastSource::Outcome outcome,
                           const std::string& strWhy)
{
    // Never an old answer in place of a new one: the program then keeps the
    // file it has, and shows how old that is.
    switch (outcome) {
    case CForecastSource::UNKNOWN_PLACE:
        Answer(req, res, 404, XML_TYPE, CFeedWriter::Error(2, "Invalid location provided."));
        return;
    case CForecastSource::NO_ANSWER:
        Answer(req, res, 504, XML_TYPE, CFeedWriter::Error(1, strWhy));
        break;
    case CForecastSource::BAD_ANSWER:
        Answer(req, res, 502, XML_TYPE, CFeedWriter::Error(1, strWhy));
        break;
    case CForecastSource::ANSWERED:
    case CForecastSource::NOT_RECORDED:
        Answer(req, res, 500, XML_TYPE, CFeedWriter::Error(1, strWhy));
        break;
    }
    std::fprintf(stderr, "cirrovan-service: %s %s: %s\n", req.method.c_str(), req.target.c_str(), strWhy.c_str());
}

void CForecastServer::ArmFault(const httplib::Request& req, httplib::Response& res)
{
    CFaultInjector::Fault fault;
    std::string strError;
    if (!CFaultInjector::Parse(req.get_param_value("kind"), fault, strError)) {
        res.status = 400;
        res.set_content(strError + "\n", "text/plain");
        return;
    }
    fault.nCount = req.has_param("count") ? std::max(0, std::atoi(req.get_param_value("count").c_str())) : 1;
    fault.strPrefix = req.get_param_value("path");
    m_faults.Arm(fault);
    res.set_content("armed " + CFaultInjector::Describe(fault) + " for " +
                        (fault.nCount ? std::to_string(fault.nCount) : std::string("every")) + " request(s) to " +
                        (fault.strPrefix.empty() ? std::string("any path") : fault.strPrefix) + "\n",
                    "text/plain");
}

void CForecastServer::Requests(const httplib::Request& req, httplib::Response& res)
{
    if (req.has_param("path"))
        res.set_content(std::to_string(m_requests.CountOf(req.get_param_value("path"))) + "\n", "text/plain");
    else
        res.set_content(m_requests.Text(), "text/plain");
}

void CForecastServer::Answer(const httplib::Request& req, httplib::Response& res, int nStatus,
                             const std::string& strType, const std::string& strBody)
{
    const CFaultInjector::Fault fault = m_faults.Take(req.target.empty() ? req.path : req.target);
    if (fault.kind == CFaultInjector::NONE) {
        res.status = nStatus;
        res.set_content(strBody, strType);
        return;
    }
    m_faults.Apply(fault, req, res, nStatus, strType, strBody);
}
