// The main window's layout and the chart's scrolling: by the bar, by dragging,
// the corners and the link line.
#include "MainWindowSetup.h"

#include "store/ServiceConfig.h"

#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace {

struct Placement
{
    int cx, cy;   // the main window's client area
    RECT chart, scroll, list, header, view1, view3, dailyHourly, update;
};

LPARAM ScrollBarParam(CCirrovanDlg& dlg)
{
    return reinterpret_cast<LPARAM>(dlg.GetDlgItem(IDC_CHART_SCROLL));
}

} // namespace

TEST_F(MainWindowTest, LaysOutPortraitLandscapeAndASquareAsLandscape)
{
    WithLondon();
    const Placement cases[] = {
        {240, 268, {0, 26, 240, 238}, {0, 238, 240, 248}, {0, 248, 240, 268}, {2, 6, 92, 20},
         {95, 0, 121, 26}, {149, 0, 175, 26}, {180, 0, 212, 26}, {215, 0, 241, 26}},
        {320, 188, {32, 20, 320, 178}, {32, 178, 320, 188}, {100, 0, 320, 20}, {2, 3, 92, 17},
         {3, 20, 29, 46}, {3, 74, 29, 100}, {0, 110, 32, 136}, {3, 140, 29, 166}},
        {240, 240, {32, 20, 240, 230}, {32, 230, 240, 240}, {100, 0, 240, 20}, {2, 3, 92, 17},
         {3, 20, 29, 46}, {3, 74, 29, 100}, {0, 110, 32, 136}, {3, 140, 29, 166}},
    };
    RunMainWindow([&](CCirrovanDlg& dlg) {
        for (const Placement& c : cases) {
            SCOPED_TRACE(std::to_string(c.cx) + " x " + std::to_string(c.cy));
            // The bars above and below the dialog take 26 pixels each.
            CDeviceScreen::Get().Resize(c.cx, c.cy + 2 * SCREEN_BAR_HEIGHT);
            RECT client;
            dlg.GetClientRect(&client);
            ASSERT_EQ(client, (RECT{0, 0, c.cx, c.cy}));
            EXPECT_EQ(WindowRect(&dlg.m_wndGraph), c.chart);
            EXPECT_EQ(WindowRect(dlg.GetDlgItem(IDC_CHART_SCROLL)), c.scroll);
            EXPECT_EQ(WindowRect(dlg.GetDlgItem(IDC_STATION_COMBO)), c.list);
            EXPECT_EQ(WindowRect(dlg.GetDlgItem(IDC_HEADER)), c.header);
            EXPECT_EQ(WindowRect(dlg.GetDlgItem(IDC_VIEW1)), c.view1);
            EXPECT_EQ(WindowRect(dlg.GetDlgItem(IDC_VIEW3)), c.view3);
            EXPECT_EQ(WindowRect(dlg.GetDlgItem(IDC_DAILY_HOURLY)), c.dailyHourly);
            EXPECT_EQ(WindowRect(dlg.GetDlgItem(IDC_UPDATE_BUTTON)), c.update);
        }
    });
}

// The range is what the chart is wider than its viewport (the window's client
// area less the panels); a chart that fits leaves the bar nothing to move and
// the chart at its start.
TEST_F(MainWindowTest, ScrollRangeIsWhatTheChartIsWiderThanTheWindow)
{
    WithLondon();
    const struct
    {
        int nDaily;
        bool bRightPanel;
        int cxScreen;
        int nMax;
    } cases[] = {
        {1, true, 240, 726},    // 900 - (238 - 32 - 32): the viewport inside the border
        {0, false, 240, 298},   // 504 - (238 - 32)
        {0, true, 320, 282},    // 504 - (286 - 64): landscape, the chart beside the buttons
        {0, true, 700, 0},      // 504 + 64 - 700 is below 0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cxScreen);
        m_data.m_settings.m_bDaily = c.nDaily;
        CCustomView& view = m_data.m_settings.m_views[0];
        view.ApplyPreset(0);
        if (!c.bRightPanel)
            for (int s = 0; s < 3; ++s)
                view.m_series[s].Set(true, s == 0, true);
        CDeviceScreen::Get().Resize(c.cxScreen, 320);
        RunMainWindow([&](CCirrovanDlg& dlg) {
            int nMin = -1, nMax = -1;
            dlg.m_scrollBar.GetScrollRange(&nMin, &nMax);
            EXPECT_EQ(nMin, 0);
            EXPECT_EQ(nMax, c.nMax);
            EXPECT_EQ(dlg.m_wndGraph.m_nRightWidth, c.bRightPanel ? 32 : 0);
            // Neither the keys nor a drag take the chart past the range.
            for (int i = 0; i < 50; ++i)
                CTestDriver::PressKey(VK_RIGHT);
            EXPECT_EQ(dlg.m_scrollBar.GetScrollPos(), c.nMax);
            EXPECT_EQ(dlg.m_wndGraph.m_nScroll, c.nMax);
            if (c.nMax == 0) {
                CTestDriver::Drag(&dlg.m_wndGraph, POINT{400, 100}, POINT{100, 100}, 3);
                EXPECT_EQ(dlg.m_wndGraph.m_nScroll, 0);
                EXPECT_EQ(dlg.m_scrollBar.GetScrollPos(), 0);
            }
        });
    }
}

TEST_F(MainWindowTest, ScrollRequestsMoveBarAndChartWithinTheRange)
{
    WithLondon();
    m_data.m_settings.m_bDaily = 1;
    const struct
    {
        int nStart;
        UINT nCode;
        UINT nPos;
        int nExpected;
    } cases[] = {
        {0, SB_LINELEFT, 0, 0},        {0, SB_PAGELEFT, 0, 0},         {726, SB_LINERIGHT, 0, 726},
        {726, SB_PAGERIGHT, 0, 726},   {100, SB_LINERIGHT, 0, 110},    {100, SB_PAGELEFT, 0, 90},
        {0, SB_THUMBTRACK, 300, 300},  {0, SB_THUMBPOSITION, 900, 726}, {50, SB_ENDSCROLL, 0, 50},
    };
    RunMainWindow([&](CCirrovanDlg& dlg) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::to_string(c.nStart) + " code " + std::to_string(c.nCode));
            dlg.ScrollTo(c.nStart);
            dlg.SendMessage(WM_HSCROLL, MAKEWPARAM(c.nCode, c.nPos), ScrollBarParam(dlg));
            EXPECT_EQ(dlg.m_scrollBar.GetScrollPos(), c.nExpected);
            EXPECT_EQ(dlg.m_wndGraph.m_nScroll, c.nExpected);
        }
    });
}

TEST_F(MainWindowTest, DraggingTheChartMovesTheScrollBarAlong)
{
    WithLondon();
    m_data.m_settings.m_bDaily = 1;
    RunMainWindow([&](CCirrovanDlg& dlg) {
        CWndGraph& graph = dlg.m_wndGraph;
        // Fifty pixels to the left: later times come into view.
        CTestDriver::Drag(&graph, POINT{150, 100}, POINT{100, 100}, 5);
        EXPECT_EQ(graph.m_nScroll, 50);
        EXPECT_EQ(dlg.m_scrollBar.GetScrollPos(), 50);
        // Past the end: the chart stops at its last column, the bar at its end.
        CTestDriver::Drag(&graph, POINT{200, 100}, POINT{-900, 100}, 10);
        const int nViewport = graph.m_rcChart.right - graph.m_rcChart.left;
        EXPECT_EQ(graph.m_nScroll, 900 - nViewport);
        EXPECT_EQ(dlg.m_scrollBar.GetScrollPos(), 726);
        // Past the start, from the time strip.
        CTestDriver::Drag(&graph, POINT{60, 200}, POINT{1200, 200}, 4);
        EXPECT_EQ(graph.m_nScroll, 0);
        EXPECT_EQ(dlg.m_scrollBar.GetScrollPos(), 0);
        EXPECT_EQ(CWnd::GetCapture(), nullptr);
    });
}

// In landscape the chart stands beside the buttons: the bar, the keys and a drag
// still agree on one range, so a key after a drag moves on from where the drag
// left the chart.
TEST_F(MainWindowTest, LandscapeDragThenKeyAgree)
{
    WithLondon();
    m_data.m_settings.m_nOrientation = DMDO_90;
    for (int nDaily : {1, 0}) {
        SCOPED_TRACE(nDaily ? "daily" : "hourly");
        m_data.m_settings.m_bDaily = nDaily;
        RunMainWindow([&](CCirrovanDlg& dlg) {
            CWndGraph& graph = dlg.m_wndGraph;
            const int nEnd = graph.m_nChartWidth - (graph.m_rcChart.right - graph.m_rcChart.left);
            EXPECT_EQ(nEnd, nDaily ? 678 : 282);
            CTestDriver::Drag(&graph, POINT{200, 60}, POINT{-900, 60}, 10);
            EXPECT_EQ(graph.m_nScroll, nEnd);
            EXPECT_EQ(dlg.m_scrollBar.GetScrollPos(), nEnd);
            CTestDriver::PressKey(VK_LEFT);
            EXPECT_EQ(graph.m_nScroll, nEnd - 20);
            EXPECT_EQ(dlg.m_scrollBar.GetScrollPos(), nEnd - 20);
            CTestDriver::PressKey(VK_RIGHT);
            CTestDriver::PressKey(VK_RIGHT);
            EXPECT_EQ(graph.m_nScroll, nEnd);
        });
    }
}

TEST_F(MainWindowTest, CornerTapsTurnTheScalesAndTheLinkOpensTheHomePage)
{
    WithLondon();
    std::vector<std::wstring> opened;
    CTestDriver::ReplaceUrlOpener([&](const std::wstring& strUrl) { opened.push_back(strUrl); });
    RunMainWindow([&](CCirrovanDlg& dlg) {
        CWndGraph& graph = dlg.m_wndGraph;
        auto centre = [](const RECT& rc) { return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; };
        // View 1: temperatures alone on the left, precipitation and wind on the right.
        CTestDriver::TapAt(&graph, centre(graph.m_rcLeftCorner));
        EXPECT_EQ(graph.m_nSideIndex[0], 0);
        CTestDriver::TapAt(&graph, centre(graph.m_rcRightCorner));
        EXPECT_EQ(graph.m_nSideIndex[1], 1);
        CBitmap shot;
        Shot(shot, "main_corner_wind");
        // The corner shows the wind's picture now: the chart's client starts one
        // pixel inside its border, under the title bar.
        const RECT rcChart = WindowRect(&graph);
        EXPECT_EQ(shot.GetPixel(rcChart.left + 1 + graph.m_rcRightCorner.left + 16,
                                SCREEN_BAR_HEIGHT + rcChart.top + 1 + graph.m_rcRightCorner.top + 13),
                  graph.m_headImages[2].GetPixel(16, 13));
        CTestDriver::TapAt(&graph, centre(graph.m_rcRightCorner));
        EXPECT_EQ(graph.m_nSideIndex[1], 0);

        dlg.ScrollTo(30);
        const POINT ptLink = {centre(graph.m_rcLink).x, graph.m_rcLink.bottom - 2};
        CTestDriver::Drag(&graph, ptLink, POINT{ptLink.x - 40, ptLink.y}, 4);
        EXPECT_EQ(opened, (std::vector<std::wstring>{CServiceConfig().m_strHome}));
        EXPECT_EQ(graph.m_nScroll, 30);
        EXPECT_EQ(dlg.m_scrollBar.GetScrollPos(), 30);
        EXPECT_FALSE(graph.m_bDragging);
    });
}

// Where no browser can be opened, a tap on the link line gives the address,
// as About does.
TEST_F(MainWindowTest, ALinkTapWithoutABrowserShowsTheAddress)
{
    WithLondon();
    CTestDriver::ReplaceUrlOpener(nullptr);
    char szBin[] = "/tmp/cirrovan-bin-XXXXXX";
    ASSERT_NE(mkdtemp(szBin), nullptr);
    const std::string strPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", szBin, 1);   // no xdg-open there
    RunMainWindow([&](CCirrovanDlg& dlg) {
        CWndGraph& graph = dlg.m_wndGraph;
        CTestDriver::TapAt(&graph, POINT{(graph.m_rcLink.left + graph.m_rcLink.right) / 2, graph.m_rcLink.bottom - 2});
        ASSERT_EQ(CTestDriver::MessageBoxes().size(), 1u);
        const MESSAGEBOXCALL& box = CTestDriver::MessageBoxes()[0];
        EXPECT_EQ(box.strText, L"The web browser could not be opened. The address is:\n\n" + CServiceConfig().m_strHome);
        EXPECT_EQ(box.strCaption, L"Cirrovan");
        EXPECT_EQ(box.nType, static_cast<UINT>(MB_ICONINFORMATION));
    });
    setenv("PATH", strPath.c_str(), 1);
    rmdir(szBin);
}

// The station list opens inside the screen, between the title bar and the
// soft keys: upward from the bottom of the portrait window, downward from the
// top of the landscape one, cut to the room there when the stations are many.
TEST_F(MainWindowTest, TheStationListOpensInsideTheScreenInBothOrientations)
{
    WithLondon();
    for (int i = 1; i <= 11; ++i) {
        const std::wstring strID = L"TEST" + std::to_wstring(1000 + i);
        AddStation(strID.c_str(), (L"Station " + std::to_wstring(i)).c_str(), nullptr, nullptr);
    }
    RunMainWindow([&](CCirrovanDlg& dlg) {
        for (int nOrientation : {DMDO_0, DMDO_270}) {
            const bool bPortrait = nOrientation == DMDO_0;
            SCOPED_TRACE(bPortrait ? "portrait" : "landscape");
            CDeviceScreen::Get().SetOrientation(nOrientation);
            const SIZE screen = CDeviceScreen::Get().GetSize();
            CTestDriver::Tap(IDC_STATION_COMBO);
            std::vector<std::wstring> items;
            RECT rcList;
            ASSERT_TRUE(CTestDriver::GetOpenDropDown(&items, &rcList));
            CBitmap shot;
            Shot(shot, bPortrait ? "station_list_portrait" : "station_list_landscape");
            CTestDriver::CloseDropDown();
            EXPECT_EQ(items.size(), 12u);
            RECT rcBox = WindowRect(&dlg.m_comboStations);
            rcBox.top += SCREEN_BAR_HEIGHT;
            rcBox.bottom += SCREEN_BAR_HEIGHT;
            EXPECT_GE(rcList.top, SCREEN_BAR_HEIGHT);
            EXPECT_LE(rcList.bottom, screen.cy - SCREEN_BAR_HEIGHT);
            EXPECT_GE(rcList.left, 0);
            EXPECT_LE(rcList.right, screen.cx);
            if (bPortrait) {
                EXPECT_EQ(rcList.bottom, rcBox.top);
            } else {
                EXPECT_EQ(rcList.top, rcBox.bottom);
                EXPECT_EQ(rcList.bottom, screen.cy - SCREEN_BAR_HEIGHT);   // cut to the room below
            }
        }
        EXPECT_FALSE(CTestDriver::GetOpenDropDown(nullptr, nullptr));
    });
}
