#include "service/ServiceProgram.h"

#include "service/http/ForecastServer.h"
#include "service/http/HomePage.h"
#include "service/live/OpenMeteoSource.h"
#include "service/ServiceOptions.h"
#include "service/SourceChoice.h"

#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

namespace {

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

int CServiceProgram::Main(int argc, char** argv, Extension* pExtension)
{
    CServiceOptions options;
    std::string strError;
    CServiceOptions::OtherOption other;
    if (pExtension)
        other = [pExtension](int argc, char** argv, int& i, std::string& strError) {
            return pExtension->TakeOption(argc, argv, i, strError);
        };
    if (!options.Parse(argc, argv, strError, other)) {
        std::fprintf(stderr, "cirrovan-service: %s\nTry --help.\n", strError.c_str());
        return 2;
    }
    if (options.m_bHelp) {
        std::fputs((CServiceOptions::HelpText() + (pExtension ? pExtension->HelpText() : std::string())).c_str(),
                   stdout);
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

    CSourceChoice choice(options);
    if (!choice.Open(strError)) {
        std::fprintf(stderr, "cirrovan-service: %s\n", strError.c_str());
        return 1;
    }
    const CPlaces& places = choice.m_places;
    RaiseDescriptorLimit();
    CForecastServer server(places, choice, options.m_nThreads);
    server.m_bVerbose = options.m_bVerbose;
    server.m_nCacheSeconds = options.m_nCacheMinutes * 60;
    CHttpServer::Limits& limits = server.m_http.m_limits;
    limits.nMaxConnections = options.m_nMaxConnections;
    limits.nMaxPerClient = options.m_nMaxPerClient;
    limits.nRequestSeconds = options.m_nRequestSeconds;
    limits.nIdleSeconds = options.m_nIdleSeconds;
    if (pExtension)
        pExtension->Attach(server);

    const int nPort = server.Bind(options.m_strHost, options.m_nPort);
    if (nPort < 0) {
        std::fprintf(stderr, "cirrovan-service: cannot listen on %s port %d\n", options.m_strHost.c_str(),
                     options.m_nPort);
        return 1;
    }
    if (choice.m_pLive)
        choice.m_pLive->m_fetcher.m_nOwnPort = nPort;
    const bool bIPv6 = options.m_strHost.find(':') != std::string::npos;
    if (!CForecastServer::IsLoopback(options.m_strHost) && options.m_strHost != "localhost")
        std::fprintf(stderr, "cirrovan-service: warning: listening on %s, not on loopback: every machine that can "
                             "reach it may search, fetch forecasts%s%s\n",
                     options.m_strHost.c_str(), choice.IsLive() ? " and make this service ask Open-Meteo for them" : "",
                     pExtension ? pExtension->RemoteNote().c_str() : "");
    // What a run script reads: the address, the source, the name to show.
    std::printf("http://%s%s%s:%d/\n", bIPv6 ? "[" : "", options.m_strHost.c_str(), bIPv6 ? "]" : "", nPort);
    std::printf("%s\n", choice.m_strLine.c_str());
    std::printf("name: %s\n", choice.IsLive() ? CHomePage::LIVE_SOURCE_NAME : CHomePage::DEMO_NAME);
    std::fflush(stdout);
    if (choice.IsLive())
        std::fprintf(stderr, "cirrovan-service: live forecasts from %s (weather data by Open-Meteo.com, CC BY 4.0); "
                             "%zu station IDs kept in %s/%s\n", choice.m_pLive->m_strForecastURL.c_str(),
                     choice.m_pLive->m_table.Size(),
                     options.m_strDataFolder.c_str(), COpenMeteoSource::TABLE_FILE);
    std::fprintf(stderr, "cirrovan-service: %zu places%s\n", places.m_places.size(),
                 pExtension ? pExtension->StartNote().c_str() : "");

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
            if (pExtension)
                pExtension->Stop();
            server.Stop();
            nanosleep(&tick, nullptr);
        }
    });
    const bool bServedWell = server.Run();
    bServed = true;
    watcher.join();
    return bServedWell ? 0 : 1;
}
