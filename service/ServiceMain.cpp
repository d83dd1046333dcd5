// cirrovan-service: the local forecast service. See --help.

#include "service/demo/DemoSource.h"
#include "service/http/ForecastServer.h"
#include "service/http/HomePage.h"
#include "service/live/OpenMeteoSource.h"
#include "service/places/Places.h"
#include "service/ServiceOptions.h"

#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <cstdio>
#include <thread>

namespace {

// The live source as the options set it up, or false with the reason it cannot be used.
bool OpenLiveSource(const CServiceOptions& options, COpenMeteoSource& live, std::string& strWhy)
{
    if (!options.m_strForecastURL.empty())
        live.m_strForecastURL = options.m_strForecastURL;
    if (!options.m_strGeocodingURL.empty())
        live.m_strGeocodingURL = options.m_strGeocodingURL;
    live.m_cache.m_nIntervalSeconds = options.m_nCacheMinutes * 60;
    live.m_cache.m_nMaxBytes = static_cast<size_t>(options.m_nCacheMegabytes) * 1024 * 1024;
    live.m_fetcher.m_nTotalSeconds = options.m_nSourceTimeout;
    live.m_fetcher.m_nConnectSeconds = std::min(options.m_nSourceTimeout, 5);
    return live.Open(options.m_strDataFolder, strWhy);
}

// Every client connection is a descriptor: allow as many as the system lets.
void RaiseDescriptorLimit()
{
    rlimit limit {};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

} // namespace

int main(int argc, char** argv)
{
    CServiceOptions options;
    std::string strError;
    if (!options.Parse(argc, argv, strError)) {
        std::fprintf(stderr, "cirrovan-service: %s\nTry --help.\n", strError.c_str());
        return 2;
    }
    if (options.m_bHelp) {
        std::fputs(CServiceOptions::HelpText().c_str(), stdout);
        return 0;
    }

    // SIGINT and SIGTERM are taken by a watcher thread, not by a handler, so
    // that stopping the server happens on an ordinary thread. Blocked here,
    // before any thread starts, so that every thread inherits the mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    CPlaces places;
    if (!places.Load(CPlaces::DefaultZoneFolder(), strError)) {
        std::fprintf(stderr, "cirrovan-service: %s\n", strError.c_str());
        return 1;
    }
    // The source: the demo's synthetic weather, or Open-Meteo's live forecasts.
    CDemoSource demo(places);
    std::unique_ptr<COpenMeteoSource> pLive;
    CForecastSource* pSource = &demo;
    std::string strSourceLine = "source: demo";
    if (options.m_source != CServiceOptions::DEMO) {
        pLive = std::make_unique<COpenMeteoSource>(places);
        COpenMeteoSource& live = *pLive;
        std::string strWhy;
        if (!OpenLiveSource(options, live, strWhy)) {
            if (options.m_source == CServiceOptions::OPEN_METEO) {
                std::fprintf(stderr, "cirrovan-service: %s\n", strWhy.c_str());
                return 1;
            }
            strSourceLine = "source: demo (Open-Meteo unusable: " + strWhy + ")";
        } else if (options.m_source == CServiceOptions::AUTO && !live.Probe(strWhy)) {
            strSourceLine = "source: demo (Open-Meteo unreachable: " + strWhy + ")";
        } else {
            pSource = &live;
            strSourceLine = "source: open-meteo (live)";
        }
    }

    RaiseDescriptorLimit();
    CForecastServer server(places, *pSource, options.m_nThreads);
    server.m_bVerbose = options.m_bVerbose;
    server.m_bControl = options.m_bControl;
    server.m_nCacheSeconds = options.m_nCacheMinutes * 60;
    CHttpServer::Limits& limits = server.m_http.m_limits;
    limits.nMaxConnections = options.m_nMaxConnections;
    limits.nMaxPerClient = options.m_nMaxPerClient;
    limits.nRequestSeconds = options.m_nRequestSeconds;
    limits.nIdleSeconds = options.m_nIdleSeconds;
    if (options.m_fault.kind != CFaultInjector::NONE)
        server.m_faults.SetStanding(options.m_fault);

    const int nPort = server.Bind(options.m_strHost, options.m_nPort);
    if (nPort < 0) {
        std::fprintf(stderr, "cirrovan-service: cannot listen on %s port %d\n", options.m_strHost.c_str(),
                     options.m_nPort);
        return 1;
    }
    if (pLive)
        pLive->m_fetcher.m_nOwnPort = nPort;
    const bool bIPv6 = options.m_strHost.find(':') != std::string::npos;
    if (!CForecastServer::IsLoopback(options.m_strHost) && options.m_strHost != "localhost")
        std::fprintf(stderr, "cirrovan-service: warning: listening on %s, not on loopback: every machine that can "
                             "reach it may search, fetch forecasts%s%s\n",
                     options.m_strHost.c_str(), pSource->IsLive() ? " and make this service ask Open-Meteo for them" : "",
                     options.m_bControl ? "; the control requests still answer only this machine" : "");
    // What a run script reads: the address, the source, the name to show.
    std::printf("http://%s%s%s:%d/\n", bIPv6 ? "[" : "", options.m_strHost.c_str(), bIPv6 ? "]" : "", nPort);
    std::printf("%s\n", strSourceLine.c_str());
    std::printf("name: %s\n", pSource->IsLive() ? CHomePage::LIVE_SOURCE_NAME : CHomePage::SERVICE_NAME);
    std::fflush(stdout);
    if (pSource->IsLive())
        std::fprintf(stderr, "cirrovan-service: live forecasts from %s (weather data by Open-Meteo.com, CC BY 4.0); "
                             "%zu station IDs kept in %s/%s\n", pLive->m_strForecastURL.c_str(), pLive->m_table.Size(),
                     options.m_strDataFolder.c_str(), COpenMeteoSource::TABLE_FILE);
    std::fprintf(stderr, "cirrovan-service: %zu places%s%s\n", places.m_places.size(),
                 options.m_fault.kind != CFaultInjector::NONE ? ", every answer with the fault " : "",
                 options.m_fault.kind != CFaultInjector::NONE ? CFaultInjector::Describe(options.m_fault).c_str() : "");

    std::atomic<bool> bServed {false};
    std::thread watcher([&] {
        const timespec tick {0, 100 * 1000 * 1000};
        while (!bServed) {
            if (sigtimedwait(&stopSignals, nullptr, &tick) > 0)
                break;
        }
        // A signal that comes before the server has started listening would
        // be lost on it, so keep asking until it has stopped.
        while (!bServed) {
            server.Stop();
            nanosleep(&tick, nullptr);
        }
    });
    const bool bServedWell = server.Run();
    bServed = true;
    watcher.join();
    return bServedWell ? 0 : 1;
}
