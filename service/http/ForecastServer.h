#pragma once

#include "service/feed/ForecastSource.h"
#include "service/http/HttpServer.h"

#include <string>

class CPlaces;

// The HTTP side of the service: the program's three requests and the home page.
//
//   GET  /search/search?where=TEXT          search answer
//   GET  /weather/local/ID?dayf=N           daily feed, N days (1 to 10)
//   GET  /weather/local/ID?hbhf=N           hourly feed, N hours (1 to 72)
//   GET  /                                  home page
//
// An unknown station gets HTTP 404 with an error document; a live source that
// cannot answer gives 502 or 504 with one. Answers carry how long they may be
// used again (Cache-Control) and a tag for conditional requests (ETag).
class CForecastServer
{
public:
    static constexpr int MAX_DAYS = 10;
    static constexpr int MAX_HOURS = 72;
    // Longer search texts name no place and cost the folding dearly.
    static constexpr size_t MAX_SEARCH_BYTES = 256;

    CForecastServer(const CPlaces& places, CForecastSource& source, int nThreads);

    // Binds to the address; port 0 picks a free one. The port, or -1.
    int Bind(const std::string& strHost, int nPort);
    // Serves until Stop; false if it could not start.
    bool Run();
    bool IsRunning() const { return m_http.IsRunning(); }
    // Safe from any thread.
    void Stop();
    // The answer to one request; the server's handler until one is put in its place.
    void Handle(const CHttpRequest& req, CHttpAnswer& answer);

    // Whether the address is this machine's own loopback.
    static bool IsLoopback(const std::string& strAddress);

    CHttpServer m_http;
    bool m_bVerbose = false;      // a line per request on stderr
    int m_nCacheSeconds = 15 * 60;

private:
    void Search(const CHttpRequest& req, CHttpAnswer& answer);
    void Forecast(const CHttpRequest& req, CHttpAnswer& answer);
    // The error answer for a request the source could not answer.
    void Fail(const CHttpRequest& req, CHttpAnswer& answer, CForecastSource::Outcome outcome, const std::string& strWhy);
    // bCache: the answer may be used again for the cache interval.
    void Answer(const CHttpRequest& req, CHttpAnswer& answer, int nStatus, const std::string& strType,
                std::string strBody, bool bCache = false);

    const CPlaces& m_places;
    CForecastSource& m_source;
};
