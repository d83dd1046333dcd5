// Loading a station's forecast files is what the user waits for on every
// station switch; the library's bare load of the same file is the floor.
#include "store/DailyForecast.h"
#include "store/HourlyForecast.h"

#include <benchmark/benchmark.h>
#include <tinyxml.h>

#include <string>

namespace {

const std::string DAILY = std::string(CIRROVAN_BENCH_DATA) + "/daily.xml";
const std::string HOURLY = std::string(CIRROVAN_BENCH_DATA) + "/hourly.xml";

std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

void BM_DailyForecastLoad(benchmark::State& state)
{
    CDailyForecast daily;
    const std::wstring path = Wide(DAILY);
    for (auto _ : state) {
        daily.Load(path);
        benchmark::DoNotOptimize(daily.m_days.m_ppItems);
    }
    if (daily.m_days.GetCount() != 10)
        state.SkipWithError("daily.xml did not give 10 days");
}
BENCHMARK(BM_DailyForecastLoad);

void BM_HourlyForecastLoad(benchmark::State& state)
{
    CHourlyForecast hourly;
    const std::wstring path = Wide(HOURLY);
    for (auto _ : state) {
        hourly.Load(path);
        benchmark::DoNotOptimize(hourly.m_hours.m_ppItems);
    }
    if (hourly.m_hours.GetCount() != 72)
        state.SkipWithError("hourly.xml did not give 72 hours");
}
BENCHMARK(BM_HourlyForecastLoad);

void BareLoad(benchmark::State& state, const std::string& path)
{
    bool bOk = false;
    for (auto _ : state) {
        TiXmlDocument doc;
        bOk = doc.LoadFile(path.c_str());
        benchmark::DoNotOptimize(bOk);
    }
    if (!bOk)
        state.SkipWithError("TinyXML could not load the file");
}

void BM_TinyXmlLoadDaily(benchmark::State& state)
{
    BareLoad(state, DAILY);
}
BENCHMARK(BM_TinyXmlLoadDaily);

void BM_TinyXmlLoadHourly(benchmark::State& state)
{
    BareLoad(state, HOURLY);
}
BENCHMARK(BM_TinyXmlLoadHourly);

} // namespace
