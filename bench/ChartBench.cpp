// Composing a chart is what the user waits for after every station switch,
// mode switch, view change and resize: a full 10-day and 72-hour forecast at the
// portrait size (the chart viewport of a 240 x 268 client).

#include "chart/view/WndGraph.h"
#include "platform/testing/FakeClock.h"
#include "model/WeatherData.h"
#include "platform/Clock.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/DC.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::wstring Data(const char* pszName)
{
    const std::string str = std::string(CIRROVAN_BENCH_DATA) + "/" + pszName;
    return std::wstring(str.begin(), str.end());
}

void Prepare(CWeatherData& data, CWndGraph& graph, bool bDaily)
{
    CFakeClock::Set(1796940000LL, 300);
    data.m_daily.Load(Data("daily_full.xml"));
    data.m_hourly.Load(Data("hourly_full.xml"));
    data.m_settings.m_currentStation.m_strID = L"USNY0996";
    data.m_settings.m_nCurrentView = 0;
    data.m_settings.m_bDaily = bDaily ? 1 : 0;
    graph.SetClientSize(240, 268);
}

void BM_BuildDaily(benchmark::State& state)
{
    CWeatherData data;
    CWndGraph graph(data);
    Prepare(data, graph, true);
    for (auto _ : state)
        graph.BuildDaily();
    benchmark::DoNotOptimize(graph.m_chartImage.GetPixel(0, 0));
}
BENCHMARK(BM_BuildDaily)->Unit(benchmark::kMillisecond);

void BM_BuildHourly(benchmark::State& state)
{
    CWeatherData data;
    CWndGraph graph(data);
    Prepare(data, graph, false);
    for (auto _ : state)
        graph.BuildHourly();
    benchmark::DoNotOptimize(graph.m_chartImage.GetPixel(0, 0));
}
BENCHMARK(BM_BuildHourly)->Unit(benchmark::kMillisecond);

// One repaint of a drag: the window's own painting, panels, corners, chart and
// strip copied from the scroll offset (a screen-sized image stands in for the
// window).
void BM_PaintWhileDragging(benchmark::State& state)
{
    CWeatherData data;
    CWndGraph graph(data);
    Prepare(data, graph, true);
    graph.BuildDaily();
    const SIZE client = graph.GetClientSize();
    CBitmap screen;
    screen.CreateBitmap(client.cx, client.cy);
    CDC dc;
    dc.SelectObject(&screen);
    for (auto _ : state) {
        graph.m_nScroll = (graph.m_nScroll + 7) % 740;
        graph.Paint(&dc);
        benchmark::DoNotOptimize(screen.GetPixel(100, 100));
    }
    dc.SelectObject(static_cast<CBitmap*>(nullptr));
}
BENCHMARK(BM_PaintWhileDragging);

} // namespace
