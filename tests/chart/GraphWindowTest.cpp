#include "ChartTestSetup.h"
#include "chart/view/WndGraph.h"
#include "platform/Clock.h"
#include "platform/Resources.h"
#include "platform/testing/TestDriver.h"
#include "platform/ui/DC.h"
#include "platform/ui/DeviceScreen.h"
#include "platform/ui/Dialog.h"
#include "store/ServiceConfig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

const UINT IDD_HOST = 60300;
const UINT IDC_GRAPH = 1000;
const DLGTEMPLATE s_host = {IDD_HOST, L"Chart", 0, 160, 164, nullptr, 0};

const COLORREF WHITE = RGB(255, 255, 255);
const COLORREF STRIP = RGB(192, 192, 192);
const COLORREF PANEL = RGB(255, 255, 204);

// The chart's parent, as the main window is: it hears of every drag move.
class CHostDlg : public CDialog
{
public:
    CHostDlg() : CDialog(IDD_HOST) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_GRAPH_SCROLLED)
            m_scrolls.push_back(static_cast<int>(wParam));
        return CDialog::WindowProc(message, wParam, lParam);
    }
    std::vector<int> m_scrolls;
};

class GraphWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CResources::AddDialog(&s_host);
        CTestDriver::Install();
        CDeviceScreen::Get().SetOrientation(DMDO_0);
        SetUpChartWorld(data);
        data.m_daily.Load(ChartFixture("daily3.xml"));
        data.m_hourly.Load(ChartFixture("hourly12.xml"));
    }

    void TearDown() override
    {
        CTestDriver::ReplaceUrlOpener(nullptr);
        CDeviceScreen::Get().Resize(240, 320);
        CDeviceScreen::Get().SetOrientation(DMDO_0);
        CTestDriver::Uninstall();
        TearDownChartWorld(data);
    }

    // Runs the checks with the chart created in its parent, bordered and as wide
    // as the dialog; the chart composes as soon as it has its size.
    void WithChart(int nWidth, int nHeight, std::function<void(CHostDlg&, CWndGraph&)> fnChecks)
    {
        CWndGraph graph(data);
        CHostDlg dlg;
        CTestDriver::OnDialogOpen(IDD_HOST, [&](CDialog*) {
            ASSERT_TRUE(graph.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, RECT{0, 0, nWidth, nHeight}, &dlg,
                                     IDC_GRAPH));
            EXPECT_EQ(dlg.GetDlgItem(IDC_GRAPH), &graph);
            fnChecks(dlg, graph);
            dlg.EndDialog(IDOK);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
    }

    // The device screen as the user sees it, taken straight into the bitmap
    // (tests run side by side, so no file is shared); the chart's client area
    // starts one pixel inside its border, under the title bar.
    void Screenshot(CBitmap& shot)
    {
        ASSERT_TRUE(CTestDriver::GrabScreen(shot));
        if (const char* folder = std::getenv("CIRROVAN_SHOTS")) {
            const std::string keep = std::string(folder) + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name()
                                   + "_" + std::to_string(++m_nShots) + ".png";
            shot.SavePng(std::wstring(keep.begin(), keep.end()));
        }
    }
    static COLORREF Client(const CBitmap& shot, int x, int y) { return shot.GetPixel(1 + x, 26 + 1 + y); }

    static POINT Centre(const RECT& rc) { return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }

    int m_nShots = 0;
    CTempFolder m_temp;   // the data object's folder
    CWeatherData data;
};

} // namespace

TEST_F(GraphWindow, LaysOutFromItsClientArea)
{
    WithChart(240, 268, [&](CHostDlg&, CWndGraph& graph) {
        // The border takes a pixel on every side: 238 x 266.
        EXPECT_EQ(graph.GetClientSize().cx, 238);
        EXPECT_EQ(graph.m_rcArea.top, 266 - 26);
        EXPECT_EQ(graph.m_rcChart.right, 238 - 32);
        EXPECT_EQ(graph.m_rcRightCorner.bottom, 266);
        EXPECT_EQ(graph.m_chartImage.GetSize().cy, 240);
    });
}

TEST_F(GraphWindow, DragScrollsAndTellsTheParent)
{
    WithChart(240, 268, [&](CHostDlg& dlg, CWndGraph& graph) {
        graph.Refresh(true);
        const int V = graph.m_rcChart.right - graph.m_rcChart.left;
        // Fifty pixels to the left in five moves: later times come into view.
        CTestDriver::Drag(&graph, POINT{150, 100}, POINT{100, 100}, 5);
        EXPECT_EQ(graph.m_nScroll, 50);
        EXPECT_EQ(dlg.m_scrolls, (std::vector<int>{10, 20, 30, 40, 50}));
        EXPECT_FALSE(graph.m_bDragging);
        EXPECT_EQ(CWnd::GetCapture(), nullptr);

        // Past the start, from the time strip: held at 0.
        dlg.m_scrolls.clear();
        CTestDriver::Drag(&graph, POINT{60, 250}, POINT{400, 250}, 4);
        EXPECT_EQ(graph.m_nScroll, 0);
        EXPECT_EQ(dlg.m_scrolls, (std::vector<int>{0, 0, 0, 0}));

        // Past the end: held at W - V.
        dlg.m_scrolls.clear();
        CTestDriver::Drag(&graph, POINT{200, 100}, POINT{-800, 100}, 10);
        EXPECT_EQ(graph.m_nScroll, 900 - V);
        ASSERT_EQ(dlg.m_scrolls.size(), 10u);
        EXPECT_EQ(dlg.m_scrolls.back(), 900 - V);
        for (int n : dlg.m_scrolls) {
            EXPECT_GE(n, 0);
            EXPECT_LE(n, 900 - V);
        }
    });
}

TEST_F(GraphWindow, CornerTapsTurnTheScalesOfASide)
{
    const struct { bool left[3]; std::vector<int> leftCycle; std::vector<int> rightCycle; } cases[] = {
        // All three on the left: temperatures, precipitation, wind, temperatures.
        {{true, true, true}, {0, 1, 2, 0}, {}},
        // Wind alone on the right ignores its taps.
        {{true, true, false}, {0, 1, 0, 1}, {2, 2, 2, 2}},
    };
    for (const auto& c : cases) {
        CCustomView& view = data.m_settings.m_views[0];
        for (int s = 0; s < 3; ++s)
            view.m_series[s].Set(true, false, c.left[s]);
        WithChart(240, 268, [&](CHostDlg& dlg, CWndGraph& graph) {
            const std::vector<int>* cycles[2] = {&c.leftCycle, &c.rightCycle};
            const RECT* corners[2] = {&graph.m_rcLeftCorner, &graph.m_rcRightCorner};
            for (int side = 0; side < 2; ++side) {
                SCOPED_TRACE(side);
                if (cycles[side]->empty()) {
                    EXPECT_EQ(corners[side]->right - corners[side]->left, 0);
                    continue;
                }
                for (size_t k = 0; k < cycles[side]->size(); ++k) {
                    const int nSeries = (*cycles[side])[k];
                    EXPECT_EQ(graph.m_sideSeries[side][graph.m_nSideIndex[side]], nSeries) << k;
                    // The corner shows that series' picture, the panel its scale.
                    CBitmap shot;
                    Screenshot(shot);
                    const CBitmap& head = graph.m_headImages[nSeries];
                    const POINT pt = {corners[side]->left + 16, corners[side]->top + 13};
                    EXPECT_EQ(Client(shot, pt.x, pt.y), head.GetPixel(16, 13)) << k;
                    CTestDriver::TapAt(&graph, Centre(*corners[side]));
                }
            }
            EXPECT_TRUE(dlg.m_scrolls.empty());
            EXPECT_EQ(CWnd::GetCapture(), nullptr);
        });
    }
}

TEST_F(GraphWindow, LinkTapOpensTheHomePageAndStartsNoDrag)
{
    std::vector<std::wstring> opened;
    CTestDriver::ReplaceUrlOpener([&](const std::wstring& strUrl) { opened.push_back(strUrl); });
    WithChart(240, 268, [&](CHostDlg& dlg, CWndGraph& graph) {
        graph.m_nScroll = 30;
        const POINT pt = {Centre(graph.m_rcLink).x, graph.m_rcLink.bottom - 2};
        CTestDriver::TapAt(&graph, pt);
        EXPECT_EQ(opened, (std::vector<std::wstring>{CServiceConfig().m_strHome}));
        EXPECT_FALSE(graph.m_bDragging);
        EXPECT_EQ(CWnd::GetCapture(), nullptr);
        // Moving from there scrolls nothing, although the band lies in the chart.
        CTestDriver::Drag(&graph, pt, POINT{pt.x - 40, pt.y}, 4);
        EXPECT_EQ(graph.m_nScroll, 30);
        EXPECT_TRUE(dlg.m_scrolls.empty());
        EXPECT_EQ(opened.size(), 2u);
    });
}

TEST_F(GraphWindow, ResizeRecomposesAtTheNewHeightAndKeepsTheOffset)
{
    WithChart(240, 268, [&](CHostDlg& dlg, CWndGraph& graph) {
        graph.m_nScroll = 123;
        graph.MoveWindow(0, 0, 240, 200);
        EXPECT_EQ(graph.m_rcArea.top, 198 - 26);
        EXPECT_EQ(graph.m_chartImage.GetSize().cy, 198 - 26);
        EXPECT_EQ(graph.m_panelImages[0][0].GetSize().cy, 198 - 26);
        EXPECT_EQ(graph.m_rcStrip.top, 198 - 26);
        EXPECT_EQ(graph.m_nScroll, 123);
        EXPECT_TRUE(dlg.m_scrolls.empty());
        // The recomposed chart is what the window shows.
        CBitmap shot;
        Screenshot(shot);
        EXPECT_EQ(Client(shot, 32 + 5, 5), graph.m_chartImage.GetPixel(123 + 5, 5));
        EXPECT_EQ(Client(shot, 5, 100), PANEL);
    });
}

TEST_F(GraphWindow, WhiteWithoutAStation)
{
    WithChart(240, 268, [&](CHostDlg&, CWndGraph& graph) {
        CBitmap before;
        Screenshot(before);
        EXPECT_EQ(Client(before, 5, 100), PANEL);
        data.m_settings.m_currentStation.m_strID.clear();
        // Nothing to compose: Refresh changes nothing and the window paints white.
        graph.Refresh(true);
        graph.Invalidate(true);
        CBitmap shot;
        Screenshot(shot);
        for (int x = 0; x < 238; x += 3)
            for (int y = 0; y < 266; y += 5)
                ASSERT_EQ(Client(shot, x, y), WHITE) << x << "," << y;
    });
}

// The hourly chart (504 pixels) in a viewport wider than itself, at offsets
// before, inside and beyond it: columns of the images are copied one to one,
// and the rest of the viewport is the chart's white and the strip's grey.
TEST_F(GraphWindow, ScrollBeyondTheImageShowsTheBackgrounds)
{
    data.m_settings.m_bDaily = 0;
    CDeviceScreen::Get().Resize(700, 320);
    WithChart(700, 268, [&](CHostDlg&, CWndGraph& graph) {
        graph.Refresh(true);
        const int L = graph.m_rcChart.left;
        const int V = graph.m_rcChart.right - L;
        const int H = graph.m_rcArea.top;
        ASSERT_EQ(V, 698 - 64);
        // The hours spread across the whole viewport.
        const int W = graph.m_nChartWidth;
        ASSERT_EQ(W, V);
        for (int nScroll : {-100, 0, 300, 504, 100000, -2147483647}) {
            SCOPED_TRACE(nScroll);
            graph.m_nScroll = nScroll;
            graph.Invalidate(true);
            CBitmap shot;
            Screenshot(shot);
            for (int x = 0; x < V; x += 2) {
                const long long xImage = static_cast<long long>(nScroll) + x;
                const bool bInside = xImage >= 0 && xImage < W;
                for (int y : {3, H / 2, H - CChartPlanner::LINK_BAND - 3}) {
                    const COLORREF cr = bInside ? graph.m_chartImage.GetPixel(static_cast<int>(xImage), y) : WHITE;
                    ASSERT_EQ(Client(shot, L + x, y), cr) << x << "," << y;
                }
                for (int y : {2, 20}) {
                    const COLORREF cr = bInside ? graph.m_stripImage.GetPixel(static_cast<int>(xImage), y) : STRIP;
                    ASSERT_EQ(Client(shot, L + x, H + y), cr) << x << "," << H + y;
                }
            }
        }
    });
}

// In a window wider than the chart's own width the same days or hours spread
// across the viewport, in both orientations, daily and hourly; nothing scrolls.
TEST_F(GraphWindow, AWideWindowSpreadsTheChartAcrossIt)
{
    for (const SIZE size : {SIZE{720, 360}, SIZE{360, 720}, SIZE{240, 268}}) {
        for (int nDaily : {1, 0}) {
            SCOPED_TRACE(std::to_string(size.cx) + "x" + std::to_string(size.cy) + (nDaily ? " daily" : " hourly"));
            data.m_settings.m_bDaily = nDaily;
            CWndGraph graph(data);
            graph.SetClientSize(size.cx, size.cy);
            graph.Refresh(true);
            const int V = graph.ViewportWidth();
            const int nOwn = nDaily ? CChartPlanner::DAILY_CHART_WIDTH : CChartPlanner::HOURLY_CHART_WIDTH;
            EXPECT_EQ(graph.m_nChartWidth, std::max(V, nOwn));
            EXPECT_EQ(graph.MaxScroll(), std::max(0, nOwn - V));
            // The last point and the night bands end at the chart's right margin.
            const CGraphScaleX& time = graph.m_planner.TimeScale();
            EXPECT_EQ(time.m_nPxHi, graph.m_nChartWidth - CChartPlanner::MARGIN_RIGHT);
            for (const CPlanFill& band : graph.m_plan.m_bands)
                EXPECT_LE(band.m_rc.right, graph.m_nChartWidth + 2);
        }
    }
}

// Scrolled a pixel at a time, a value label the viewport's edge cuts shows
// none of its ink in view: it reads whole or not at all; and the link line's
// band shows one whole copy and nothing of another.
TEST_F(GraphWindow, ValueLabelsWholeOrGoneAtEveryOffset)
{
    for (int nCase = 0; nCase < 4; ++nCase) {
        const SIZE client = nCase < 2 ? SIZE{238, 210} : SIZE{358, 600};   // the second: a chart less than two viewports wide
        const int nDaily = nCase % 2;
        SCOPED_TRACE(std::string(nDaily ? "daily " : "hourly ") + std::to_string(client.cx));
        data.m_settings.m_bDaily = nDaily;
        CWndGraph graph(data);
        graph.SetClientSize(client.cx, client.cy);
        graph.Refresh(true);
        CBitmap screen;
        screen.CreateBitmap(client.cx, client.cy);
        CDC dc;
        dc.SelectObject(&screen);
        const int L = graph.m_rcChart.left;
        const int V = graph.ViewportWidth();
        int nCuts = 0;
        for (int s = 0; s <= graph.MaxScroll(); ++s) {
            graph.m_nScroll = s;
            graph.Paint(&dc);
            std::vector<CPlanCut> cut;
            graph.m_plan.LabelEdges(s, V, cut);
            for (const CPlanCut& c : cut) {
                ++nCuts;
                for (int x = c.m_rc.left; x < c.m_rc.right; ++x)
                    for (int y = c.m_rc.top; y < c.m_rc.bottom; ++y)
                        ASSERT_NE(screen.GetPixel(L + x - s, y), CChartPlan::CR_TEMP) << s << ": " << x << "," << y;
            }
            CPlanText link;
            ASSERT_TRUE(graph.m_plan.LinkInView(V, link));
            const int H = graph.m_rcArea.top;
            for (int x = 0; x < V; ++x)
                for (int y = H - CChartPlanner::LINK_BAND; y < H; ++y)
                    if (screen.GetPixel(L + x, y) == CChartPlan::CR_LINK) {
                        ASSERT_TRUE(x >= link.m_nLeft && x < link.m_nLeft + link.m_nWidth) << s << ": " << x << "," << y;
                    }
        }
        EXPECT_GT(nCuts, 0);
        dc.SelectObject(static_cast<CBitmap*>(nullptr));
    }
}
