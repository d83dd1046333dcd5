// Throughput and latency of the local forecast service: searches, daily and
// hour-by-hour forecasts for 1, 8 and 64 keep-alive clients at once, server
// and clients in one process on loopback.

#include "service/demo/DemoSource.h"
#include "service/feed/FeedWriter.h"
#include "service/http/ForecastServer.h"
#include "service/live/OpenMeteoTranslator.h"
#include "service/places/Places.h"
#include "service/demo/SyntheticWeather.h"

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>
#include <vector>

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
        m_pServer = std::make_unique<CForecastServer>(m_places, m_demo, 16);
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

// One keep-alive connection that sends a request and reads its whole answer.
class CLoadClient
{
public:
    explicit CLoadClient(int nPort)
    {
        m_fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(nPort));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const int nYes = 1;
        setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &nYes, sizeof nYes);
        if (connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            close(m_fd);
            m_fd = -1;
        }
    }
    ~CLoadClient()
    {
        if (m_fd >= 0)
            close(m_fd);
    }

    // The answer's status, or 0 when the connection failed.
    int Get(const std::string& strTarget)
    {
        const std::string strRequest = "GET " + strTarget + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
        if (m_fd < 0 || send(m_fd, strRequest.data(), strRequest.size(), MSG_NOSIGNAL) < 0)
            return 0;
        m_strIn.clear();
        size_t nHeadEnd = std::string::npos;
        size_t nLength = 0;
        char buffer[65536];
        while (nHeadEnd == std::string::npos || m_strIn.size() < nHeadEnd + 4 + nLength) {
            const ssize_t n = recv(m_fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                return 0;
            m_strIn.append(buffer, static_cast<size_t>(n));
            if (nHeadEnd == std::string::npos && (nHeadEnd = m_strIn.find("\r\n\r\n")) != std::string::npos) {
                const size_t nAt = m_strIn.find("Content-Length: ");
                nLength = nAt < nHeadEnd ? std::strtoul(m_strIn.c_str() + nAt + 16, nullptr, 10) : 0;
            }
        }
        return std::atoi(m_strIn.c_str() + 9);
    }

private:
    int m_fd = -1;
    std::string m_strIn;
};

enum Kind { SEARCH, DAILY, HOURLY };

std::string TargetOf(const CRunningService& service, Kind kind, size_t n)
{
    static const char* const WORDS[] = {"lon", "san", "new", "par", "tok", "ber", "sydney", "zurich", "cairo", "lima"};
    const std::vector<CPlace>& places = service.m_places.m_places;
    switch (kind) {
    case SEARCH:
        return std::string("/search/search?where=") + WORDS[n % (sizeof WORDS / sizeof WORDS[0])];
    case DAILY:
        return "/weather/local/" + places[n % places.size()].m_strID + "?dayf=10";
    case HOURLY:
        break;
    }
    return "/weather/local/" + places[n % places.size()].m_strID + "?hbhf=72";
}

// Each of state.range(1) clients sends its share of 4,000 requests of one
// kind (state.range(0)) over its own kept-alive connection, all at once.
// Reported: requests a second, and the median and 99th percentile of the
// time from a request's sending to its answer's last byte.
void BM_ServiceLoad(benchmark::State& state)
{
    CRunningService& service = Service();
    if (service.m_nPort <= 0) {
        state.SkipWithError("the service did not start");
        return;
    }
    const Kind kind = static_cast<Kind>(state.range(0));
    const int nClients = static_cast<int>(state.range(1));
    const int nPerClient = 4000 / nClients;
    std::vector<double> latencies;
    int64_t nRequests = 0;
    bool bFailed = false;
    for (auto _ : state) {
        std::vector<std::vector<double>> times(static_cast<size_t>(nClients));
        std::vector<std::thread> clients;
        std::atomic<bool> bBad {false};
        for (int c = 0; c < nClients; ++c) {
            clients.emplace_back([&, c] {
                CLoadClient client(service.m_nPort);
                std::vector<double>& mine = times[static_cast<size_t>(c)];
                for (int i = 0; i < nPerClient; ++i) {
                    const std::string strTarget = TargetOf(service, kind, static_cast<size_t>(c * 37 + i));
                    const auto start = std::chrono::steady_clock::now();
                    if (client.Get(strTarget) != 200) {
                        bBad = true;
                        return;
                    }
                    mine.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
                }
            });
        }
        for (std::thread& client : clients)
            client.join();
        for (const auto& mine : times)
            latencies.insert(latencies.end(), mine.begin(), mine.end());
        nRequests += static_cast<int64_t>(nClients) * nPerClient;
        bFailed = bFailed || bBad;
    }
    if (bFailed || latencies.empty()) {
        state.SkipWithError("a request failed");
        return;
    }
    std::sort(latencies.begin(), latencies.end());
    state.SetItemsProcessed(nRequests);
    state.counters["p50_ms"] = latencies[latencies.size() / 2];
    state.counters["p99_ms"] = latencies[latencies.size() * 99 / 100];
}
BENCHMARK(BM_ServiceLoad)
    ->ArgNames({"kind", "clients"})
    ->ArgsProduct({{SEARCH, DAILY, HOURLY}, {1, 8, 64}})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

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
