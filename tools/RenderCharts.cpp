// Renders the daily and hour-by-hour charts of two feed files with each preset
// view, for looking at them: the whole chart with its panels and strip, and the
// screen as the window paints it. Without a size, the portrait chart on the
// clock of the benchmarks' feeds; with one, that chart size on the real clock.
// CIRROVAN_ZOOM=2 (to 4) draws them as a desktop at that zoom shows them.
//
//     cirrovan_render_charts <daily.xml> <hourly.xml> <output folder> [<width> <height>]

#include "chart/view/WndGraph.h"
#include "platform/testing/FakeClock.h"
#include "model/WeatherData.h"
#include "platform/Clock.h"
#include "platform/ui/DC.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::wstring Wide(const char* psz)
{
    std::wstring str;
    for (const char* p = psz; *p; ++p)
        str += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    return str;
}

bool Save(CWndGraph& graph, const std::wstring& strBase)
{
    const int L = graph.m_nLeftWidth;
    const int R = graph.m_nRightWidth;
    const int W = graph.m_nChartWidth;
    const int H = graph.m_rcArea.top;
    CBitmap whole;
    whole.CreateBitmap(L + W + R, H + 26);
    CDC dc;
    dc.SelectObject(&whole);
    dc.FillSolidRect(0, 0, L + W + R, H + 26, RGB(255, 255, 255));
    CDC src;
    if (L > 0) {
        src.SelectObject(&graph.m_panelImages[0][0]);
        dc.BitBlt(0, 0, L, H, &src, 0, 0);
        src.SelectObject(&graph.m_headImages[graph.m_sideSeries[0][0]]);
        dc.BitBlt(0, H, 32, 26, &src, 0, 0);
    }
    src.SelectObject(&graph.m_chartImage);
    dc.BitBlt(L, 0, W, H, &src, 0, 0);
    src.SelectObject(&graph.m_stripImage);
    dc.BitBlt(L, H, W, 26, &src, 0, 0);
    if (R > 0) {
        src.SelectObject(&graph.m_panelImages[1][0]);
        dc.BitBlt(L + W, 0, R, H, &src, 0, 0);
        src.SelectObject(&graph.m_headImages[graph.m_sideSeries[1][0]]);
        dc.BitBlt(L + W, H, 32, 26, &src, 0, 0);
    }
    dc.SelectObject(static_cast<CBitmap*>(nullptr));
    bool bSaved = whole.SavePng(strBase + L"_whole.png");

    CBitmap screen;
    const SIZE client = graph.GetClientSize();
    screen.CreateBitmap(client.cx, client.cy);
    dc.SelectObject(&screen);
    graph.Paint(&dc);
    dc.SelectObject(static_cast<CBitmap*>(nullptr));
    return screen.SavePng(strBase + L"_screen.png") && bSaved;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4 && argc != 6) {
        std::fprintf(stderr, "usage: cirrovan_render_charts <daily.xml> <hourly.xml> <folder> [<width> <height>]\n");
        return 2;
    }
    // 10 December 2026, 17:00 at the station (UTC-5), the device on the same zone.
    if (argc == 4)
        CFakeClock::Set(1796940000LL, 300);
    CWeatherData data;
    data.m_daily.Load(Wide(argv[1]));
    data.m_hourly.Load(Wide(argv[2]));
    data.m_settings.m_currentStation.m_strID = L"USNY0996";
    const std::wstring strFolder = Wide(argv[3]);

    CWndGraph graph(data);
    graph.SetClientSize(argc == 6 ? std::atoi(argv[4]) : 240, argc == 6 ? std::atoi(argv[5]) : 268);
    for (int nView = 0; nView < 3; ++nView) {
        data.m_settings.m_nCurrentView = nView;
        data.m_settings.m_views[nView].ApplyPreset(nView);
        for (int nDaily = 1; nDaily >= 0; --nDaily) {
            data.m_settings.m_bDaily = nDaily;
            graph.Refresh(true);
            if (!Save(graph, strFolder + (nDaily ? L"/daily_view" : L"/hourly_view")
                                 + std::to_wstring(nView + 1))) {
                std::fprintf(stderr, "cirrovan_render_charts: cannot write into %s\n", argv[3]);
                return 1;
            }
        }
    }
    return 0;
}
