// Throughput of the local forecast service: hour-by-hour forecasts for eight
// keep-alive clients at once, server and clients in one process on loopback.

#include "service/demo/DemoSource.h"
#include "service/feed/FeedWriter.h"
#include "service/http/ForecastServer.h"
#include "service/live/OpenMeteoTranslator.h"
#include "service/places/Places.h"
#include "service/demo/SyntheticWeather.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include <memory>
#include <thread>

// The HTTP library is not built with the thread sanitizer, which therefore
// misses the ordering on the fast path of the library's function-local
// statics (the set of request methods, built on the first request) and takes
// their first use on another worker thread for a race. Other builds ignore this.
extern "C" const char* __tsan_default_suppressions()
{
    return "race:libcpp-httplib.so\n";
}

namespace {

class CRunningService
{
public:
    CRunningService()
    {
        std::string strError;
        if (!m_places.Load(CPlaces::DefaultZoneFolder(), strError))
            return;
        m_pServer = std::make_unique<CForecastServer>(m_places, m_demo, 32);
        m_nPort = m_pServer->Bind("127.0.0.1", 0);
        m_thread = std::thread([this] { m_pServer->Run(); });
        while (!m_pServer->IsRunning())
            std::this_thread::yield();
    }
    ~CRunningService()
    {
        if (!m_pServer)
            return;
        m_pServer->Stop();
        m_thread.join();
    }

    CPlaces m_places;
    CDemoSource m_demo {m_places};
    std::unique_ptr<CForecastServer> m_pServer;
    std::thread m_thread;
    int m_nPort = -1;
};

CRunningService& Service()
{
    static CRunningService s_service;
    return s_service;
}

void BM_ServiceHourlyRequests(benchmark::State& state)
{
    CRunningService& service = Service();
    if (service.m_nPort <= 0) {
        state.SkipWithError("the service did not start");
        return;
    }
    httplib::Client client("127.0.0.1", service.m_nPort);
    client.set_keep_alive(true);
    // Each client walks its own stretch of the places.
    size_t nPlace = static_cast<size_t>(state.thread_index()) * 37;
    size_t nBytes = 0;
    for (auto _ : state) {
        const CPlace& place = service.m_places.m_places[nPlace++ % service.m_places.m_places.size()];
        const auto res = client.Get(("/weather/local/" + place.m_strID + "?hbhf=72").c_str());
        if (!res || res->status != 200) {
            state.SkipWithError("a request failed");
            break;
        }
        nBytes += res->body.size();
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(nBytes));
}
BENCHMARK(BM_ServiceHourlyRequests)->Threads(8)->UseRealTime();

// The cost of one answer without HTTP: the synthetic forecast and its XML.
void BM_ServiceHourlyFeedOnly(benchmark::State& state)
{
    CRunningService& service = Service();
    CSyntheticWeather synthetic;
    size_t nPlace = 0;
    for (auto _ : state) {
        const CPlace& place = service.m_places.m_places[nPlace++ % service.m_places.m_places.size()];
        CForecastRecord record;
        synthetic.Fill(place, CForecastRecord::HOURLY, 72, 1797000000, record);
        benchmark::DoNotOptimize(CFeedWriter::Feed(record));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ServiceHourlyFeedOnly);

// The live source's cost per request once its answer is cached: a recorded
// Open-Meteo forecast read and written as the daily or the hourly feed.
void BM_OpenMeteoFeedFromAnswer(benchmark::State& state)
{
    std::ifstream in(std::string(CIRROVAN_BENCH_DATA) + "/../../tests/service/fixtures/openmeteo/forecast_sydney.json");
    std::ostringstream text;
    text << in.rdbuf();
    const std::string strAnswer = text.str();
    CPlace place;
    place.m_strID = "AUSY7714";
    place.m_strName = "Sydney, New South Wales, Australia";
    place.m_dLatitude = -33.86785;
    place.m_dLongitude = 151.20732;
    const auto section = state.range(0) ? CForecastRecord::HOURLY : CForecastRecord::DAILY;
    const int64_t nNow = 1768437000;   // 2026-01-15 11:30 in Sydney
    for (auto _ : state) {
        CForecastRecord record;
        std::string strError;
        if (!COpenMeteoTranslator::ReadForecast(strAnswer, place, section, 72, nNow, nNow, record, strError)) {
            state.SkipWithError(strError.c_str());
            break;
        }
        benchmark::DoNotOptimize(CFeedWriter::Feed(record));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_OpenMeteoFeedFromAnswer)->Arg(0)->Arg(1);

} // namespace
