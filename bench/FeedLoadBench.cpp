// Loading a station's forecast files is what the user waits for on every
// station switch; the library's bare load of the same file is the floor, and
// the guarded load, records included, must stay within 1.2 times it.
//
// The Ratio benchmarks run the two back to back in every iteration, so that a
// machine busy with other work slows both alike, and report the quotient of
// their times as "ratio" (LoadRatio: the forecast's Load of the file against
// the library's LoadFile; ParseRatio: the guarded parse of the same bytes in
// memory against the library's Parse, as a download parses its answer). Run
// with --benchmark_repetitions and read the medians.
#include "store/DailyForecast.h"
#include "store/HourlyForecast.h"
#include "store/XmlFile.h"

#include <benchmark/benchmark.h>
#include <tinyxml.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const std::string DAILY = std::string(CIRROVAN_BENCH_DATA) + "/daily.xml";
const std::string HOURLY = std::string(CIRROVAN_BENCH_DATA) + "/hourly.xml";

std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool BareLoad(const std::string& path)
{
    TiXmlDocument doc;
    return doc.LoadFile(path.c_str());
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

void BM_TinyXmlLoad(benchmark::State& state, const std::string& path)
{
    bool bOk = false;
    for (auto _ : state) {
        bOk = BareLoad(path);
        benchmark::DoNotOptimize(bOk);
    }
    if (!bOk)
        state.SkipWithError("TinyXML could not load the file");
}
BENCHMARK_CAPTURE(BM_TinyXmlLoad, daily, DAILY);
BENCHMARK_CAPTURE(BM_TinyXmlLoad, hourly, HOURLY);

// Times guarded() and bare() in every iteration, each first in every other one.
template <class Guarded, class Bare>
void Ratio(benchmark::State& state, Guarded guarded, Bare bare)
{
    using Clock = std::chrono::steady_clock;
    Clock::duration guardedTime{};
    Clock::duration bareTime{};
    bool bGuardedFirst = true;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        bGuardedFirst ? guarded() : bare();
        const Clock::time_point middle = Clock::now();
        bGuardedFirst ? bare() : guarded();
        const Clock::time_point end = Clock::now();
        guardedTime += bGuardedFirst ? middle - start : end - middle;
        bareTime += bGuardedFirst ? end - middle : middle - start;
        bGuardedFirst = !bGuardedFirst;
    }
    auto Microseconds = [](Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); };
    state.counters["guarded_us"] = benchmark::Counter(Microseconds(guardedTime), benchmark::Counter::kAvgIterations);
    state.counters["bare_us"] = benchmark::Counter(Microseconds(bareTime), benchmark::Counter::kAvgIterations);
    state.counters["ratio"] = Microseconds(guardedTime) / Microseconds(bareTime);
}

// The forecast comes by value so that one capture names both its type and its file.
template <class Forecast>
void BM_LoadRatio(benchmark::State& state, Forecast forecast, const std::string& path)
{
    const std::wstring widePath = Wide(path);
    bool bBare = false;
    Ratio(state, [&] { forecast.Load(widePath); }, [&] { bBare = BareLoad(path); });
    if (forecast.IsEmpty() || !bBare)
        state.SkipWithError("a load failed");
}
BENCHMARK_CAPTURE(BM_LoadRatio, daily, CDailyForecast(), DAILY);
BENCHMARK_CAPTURE(BM_LoadRatio, hourly, CHourlyForecast(), HOURLY);

void BM_ParseRatio(benchmark::State& state, const std::string& path)
{
    const std::string bytes = Bytes(path);
    bool bGuarded = false;
    bool bBare = false;
    Ratio(state,
          [&] {
              TiXmlDocument doc;
              bGuarded = CXmlFile::Parse(doc, bytes);
          },
          [&] {
              TiXmlDocument doc;
              doc.Parse(bytes.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
              bBare = !doc.Error();
          });
    if (!bGuarded || !bBare)
        state.SkipWithError("a parse failed");
}
BENCHMARK_CAPTURE(BM_ParseRatio, daily, DAILY);
BENCHMARK_CAPTURE(BM_ParseRatio, hourly, HOURLY);

} // namespace
