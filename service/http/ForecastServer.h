#pragma once

#include "service/http/FaultInjector.h"
#include "service/ForecastSource.h"
#include "service/http/RequestCounter.h"

#include <httplib.h>

#include <atomic>
#include <string>

class CPlaces;

// The HTTP side of the service: the program's three requests, the home page
// and the control endpoints of the tests, on a pool of threads.
//
//   GET  /search/search?where=TEXT          search answer
//   GET  /weather/local/ID?dayf=N           daily feed, N days (1 to 10)
//   GET  /weather/local/ID?hbhf=N           hourly feed, N hours (1 to 72)
//   GET  /                                  home page
//   POST /control/fault?kind=K[:A]&count=N&path=P   arm a fault
//   GET  /control/requests[?path=P]         requests so far per path
//   POST /control/reset                     drop armed faults and counts
//
// An unknown station gets HTTP 404 with an error document; a live source that
// cannot answer gives 502 or 504 with one.
class CForecastServer
{
public:
    static constexpr int MAX_DAYS = 10;
    static constexpr int MAX_HOURS = 72;

    CForecastServer(const CPlaces& places, CForecastSource& source, int nThreads);

    // Binds to the address; port 0 picks a free one. The port, or -1.
    int Bind(const std::string& strHost, int nPort);
    // Serves until Stop; false if it could not start.
    bool Run();
    bool IsRunning() const { return m_server.is_running(); }
    // Safe from any thread. Pauses of slow answers end at once.
    void Stop();

    CFaultInjector m_faults;
    CRequestCounter m_requests;
    bool m_bVerbose = false;   // a line per request on stderr

private:
    void Search(const httplib::Request& req, httplib::Response& res);
    void Forecast(const httplib::Request& req, httplib::Response& res);
    // The error answer for a request the source could not answer.
    void Fail(const httplib::Request& req, httplib::Response& res, CForecastSource::Outcome outcome,
              const std::string& strWhy);
    void ArmFault(const httplib::Request& req, httplib::Response& res);
    void Requests(const httplib::Request& req, httplib::Response& res);
    // The answer, or the fault armed for the request instead.
    void Answer(const httplib::Request& req, httplib::Response& res, int nStatus, const std::string& strType,
                const std::string& strBody);

    int m_nPort = -1;
    const CPlaces& m_places;
    CForecastSource& m_source;
    httplib::Server m_server;
};
