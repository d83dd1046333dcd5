// The main window's keys: every key-down is the window's, whatever has the focus.
#include "MainWindowSetup.h"

#include "platform/ui/Button.h"

#include <vector>

TEST_F(MainWindowTest, ArrowKeysScrollByTwentyWithinTheRange)
{
    WithLondon();
    m_data.m_settings.m_bDaily = 1;
    const struct
    {
        int nStart;
        UINT vk;
        int nExpected;
    } cases[] = {
        {5, VK_LEFT, 0}, {0, VK_LEFT, 0}, {100, VK_LEFT, 80}, {100, VK_RIGHT, 120}, {710, VK_RIGHT, 726},
    };
    RunMainWindow([&](CCirrovanDlg& dlg) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::to_string(c.nStart) + (c.vk == VK_LEFT ? " left" : " right"));
            dlg.ScrollTo(c.nStart);
            CTestDriver::PressKey(c.vk);
            EXPECT_EQ(dlg.m_scrollBar.GetScrollPos(), c.nExpected);
            EXPECT_EQ(dlg.m_wndGraph.m_nScroll, c.nExpected);
        }
    });
}

// As in any document: Home and End go to the chart's ends, Page Up and Page
// Down move it by its viewport; the wheel and a sideways swipe scroll it too.
TEST_F(MainWindowTest, HomeEndPagesAndTheWheelScrollTheChart)
{
    WithLondon();
    m_data.m_settings.m_bDaily = 1;
    const int V = 240 - 2 - 32 - 32;   // the portrait viewport, inside the chart's border
    const struct
    {
        int nStart;
        UINT vk;            // 0: the wheel instead
        UINT nMessage;      // of the wheel
        int nDelta;         // in 120ths of a notch
        int nExpected;
    } cases[] = {
        {300, VK_HOME, 0, 0, 0},      {300, VK_END, 0, 0, 726},       {300, VK_NEXT, 0, 0, 300 + V},
        {700, VK_NEXT, 0, 0, 726},    {300, VK_PRIOR, 0, 0, 300 - V}, {100, VK_PRIOR, 0, 0, 0},
        {300, 0, WM_MOUSEWHEEL, -120, 330},  // towards the user: later
        {300, 0, WM_MOUSEWHEEL, 240, 240},   {10, 0, WM_MOUSEWHEEL, 240, 0},
        {300, 0, WM_MOUSEHWHEEL, 120, 330},  // swiped to the right
        {720, 0, WM_MOUSEHWHEEL, 120, 726},  {300, 0, WM_MOUSEHWHEEL, -40, 290},
    };
    RunMainWindow([&](CCirrovanDlg& dlg) {
        ASSERT_EQ(dlg.m_wndGraph.ViewportWidth(), V);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::to_string(c.nStart) + " " + std::to_string(c.vk) + " " + std::to_string(c.nDelta));
            dlg.ScrollTo(c.nStart);
            if (c.vk)
                CTestDriver::PressKey(c.vk);
            else
                EXPECT_NE(dlg.m_wndGraph.WindowProc(c.nMessage, MAKEWPARAM(0, static_cast<UINT>(c.nDelta)), 0), 0);
            EXPECT_EQ(dlg.m_scrollBar.GetScrollPos(), c.nExpected);
            EXPECT_EQ(dlg.m_wndGraph.m_nScroll, c.nExpected);
        }
    });
}

TEST_F(MainWindowTest, DigitKeysAndViewButtonsShowAViewWithoutSavingIt)
{
    WithLondon();
    const struct
    {
        UINT vk;       // 0: tap the button instead
        UINT nButton;
        int nView;
    } cases[] = {
        {'2', IDC_VIEW2, 1}, {'3', IDC_VIEW3, 2}, {'1', IDC_VIEW1, 0}, {VK_NUMPAD0 + 3, IDC_VIEW3, 2},
        {VK_NUMPAD0 + 2, IDC_VIEW2, 1}, {VK_NUMPAD0 + 1, IDC_VIEW1, 0}, {0, IDC_VIEW3, 2}, {0, IDC_VIEW2, 1},
    };
    RunMainWindow([&](CCirrovanDlg& dlg) {
        const std::map<std::string, std::string> before = Files();
        for (const auto& c : cases) {
            SCOPED_TRACE(c.vk);
            if (c.vk)
                CTestDriver::PressKey(c.vk);
            else
                CTestDriver::Tap(c.nButton);
            EXPECT_EQ(m_data.m_settings.m_nCurrentView, c.nView);
            EXPECT_EQ(dlg.m_nView, c.nView);
            for (UINT nID : {IDC_VIEW1, IDC_VIEW2, IDC_VIEW3})
                EXPECT_EQ(static_cast<CButton*>(dlg.GetDlgItem(nID))->GetCheck(), nID == c.nButton) << nID;
            // The chart follows the view: preset 2 has the wind alone on the left.
            EXPECT_EQ(dlg.m_wndGraph.m_sideSeries[0], (std::vector<int>{c.nView == 0 ? 0 : c.nView == 1 ? 1 : 2}));
        }
        EXPECT_EQ(Files(), before);
    });
}

TEST_F(MainWindowTest, DownSwitchesBetweenHourlyAndDailyWithoutSaving)
{
    WithLondon();
    RunMainWindow([&](CCirrovanDlg& dlg) {
        const std::map<std::string, std::string> before = Files();
        CBitmap shot;
        const RECT rcSwitch = WindowRect(dlg.GetDlgItem(IDC_DAILY_HOURLY));
        auto switchPixel = [&](const CBitmap& screen) {
            return screen.GetPixel(rcSwitch.left + 16, SCREEN_BAR_HEIGHT + rcSwitch.top + 15);
        };
        EXPECT_EQ(dlg.m_strHeader, L"Hourly (1 h old)");
        Shot(shot, "main_hourly");
        // Over the hourly chart the button offers the daily one: the calendar page.
        EXPECT_EQ(switchPixel(shot), dlg.m_bmpCalendar.GetPixel(16, 15));
        dlg.ScrollTo(100);

        CTestDriver::PressKey(VK_DOWN);
        EXPECT_EQ(m_data.m_settings.m_bDaily, 1);
        EXPECT_EQ(dlg.m_strHeader, L"Daily (1 h old)");
        EXPECT_EQ(dlg.m_wndGraph.m_nChartWidth, 900);
        EXPECT_EQ(dlg.m_scrollBar.GetScrollPos(), 0);
        EXPECT_EQ(dlg.m_wndGraph.m_nScroll, 0);
        int nMin, nMax;
        dlg.m_scrollBar.GetScrollRange(&nMin, &nMax);
        EXPECT_EQ(nMax, 726);
        Shot(shot, "main_daily");
        EXPECT_EQ(switchPixel(shot), dlg.m_bmpClock.GetPixel(16, 15));

        CTestDriver::Tap(IDC_DAILY_HOURLY);
        EXPECT_EQ(m_data.m_settings.m_bDaily, 0);
        EXPECT_EQ(dlg.m_wndGraph.m_nChartWidth, 504);
        EXPECT_EQ(Files(), before);
    });
}

TEST_F(MainWindowTest, UpTurnsTheScaleOfTheSideWithSeveralSeries)
{
    WithLondon();
    const struct
    {
        bool left[3];
        int nSide;     // the side that turns
    } cases[] = {
        {{true, true, false}, 0},    // two on the left: the left turns
        {{true, false, false}, 1},   // one on the left, two on the right: the right
        {{true, true, true}, 0},
    };
    for (const auto& c : cases) {
        for (int s = 0; s < 3; ++s)
            m_data.m_settings.m_views[0].m_series[s].Set(true, false, c.left[s]);
        RunMainWindow([&](CCirrovanDlg& dlg) {
            CWndGraph& graph = dlg.m_wndGraph;
            const int nCount = static_cast<int>(graph.m_sideSeries[c.nSide].size());
            for (int i = 1; i <= nCount; ++i) {
                CTestDriver::PressKey(VK_UP);
                EXPECT_EQ(graph.m_nSideIndex[c.nSide], i % nCount);
                EXPECT_EQ(graph.m_nSideIndex[1 - c.nSide], 0);
            }
        });
    }
    // At most one series a side: nothing happens, not even a repaint.
    m_data.m_settings.m_views[0].m_series[0].Set(true, true, true);
    m_data.m_settings.m_views[0].m_series[1].Set(true, true, false);
    m_data.m_settings.m_views[0].m_series[2].Set(false, false, false);
    RunMainWindow([&](CCirrovanDlg& dlg) {
        int nPaints = 0;
        CTestDriver::ProcessEvents();
        CTestDriver::OnPainted([&](CWnd* pWnd) { nPaints += pWnd == &dlg.m_wndGraph; });
        CTestDriver::PressKey(VK_UP);
        CTestDriver::ProcessEvents();
        EXPECT_EQ(nPaints, 0);
        EXPECT_EQ(dlg.m_wndGraph.m_nSideIndex[0], 0);
        EXPECT_EQ(dlg.m_wndGraph.m_nSideIndex[1], 0);
        CTestDriver::OnPainted(nullptr);
    });
}

// Enter and the update button open the update of the stations, but only when
// there is a current station.
TEST_F(MainWindowTest, EnterAndTheUpdateButtonUpdateOnlyWithACurrentStation)
{
    int nOpened = 0;
    auto cancelUpdate = [&](CDialog* pDlg) {
        ++nOpened;
        pDlg->EndDialog(IDCANCEL);
    };
    WithLondon();
    RunMainWindow([&](CCirrovanDlg&) {
        CTestDriver::OnDialogOpen(IDD_SELECT_STATION, cancelUpdate);
        CTestDriver::PressKey(VK_RETURN);
        EXPECT_EQ(nOpened, 1);
        CTestDriver::OnDialogOpen(IDD_SELECT_STATION, cancelUpdate);
        CTestDriver::Tap(IDC_UPDATE_BUTTON);
        EXPECT_EQ(nOpened, 2);
    });

    // No station chosen in the first-run flow: the update does nothing.
    UseDataFolder(CCodePage::Decode(m_temp.m_path));
    CTestDriver::OnDialogOpen(IDD_STATIONS, [](CDialog* pDlg) { pDlg->EndDialog(IDCANCEL); });
    RunMainWindow([&](CCirrovanDlg&) {
        CTestDriver::PressKey(VK_RETURN);
        CTestDriver::Tap(IDC_UPDATE_BUTTON);
        CTestDriver::ProcessEvents();
        EXPECT_EQ(CTestDriver::GetActiveDialog()->m_nIDTemplate, static_cast<UINT>(IDD_CIRROVAN_DIALOG));
    });
    EXPECT_EQ(nOpened, 2);
}

// With the station list focused, the arrows still scroll and switch the chart
// and never move the list; keys the table does not name (Escape too) do
// nothing but Tab, which moves the focus on.
TEST_F(MainWindowTest, EveryKeyIsTheWindowsWhateverHasTheFocus)
{
    WithLondon();
    AddStation(ZURICH, L"Z\u00fcrich", "zurich_daily.xml", "zurich_hourly.xml");
    RunMainWindow([&](CCirrovanDlg& dlg) {
        for (UINT vkFocus : {UINT('0'), VK_NUMPAD0}) {
            CTestDriver::PressKey(vkFocus);
            const int nDaily = m_data.m_settings.m_bDaily;
            CTestDriver::PressKey(VK_DOWN);
            EXPECT_EQ(m_data.m_settings.m_bDaily, 1 - nDaily);
            CTestDriver::PressKey(VK_RIGHT);
            EXPECT_EQ(dlg.m_scrollBar.GetScrollPos(), 20);
            CTestDriver::PressKey(VK_UP);
            CTestDriver::PressKey(VK_LEFT);
            for (UINT vk : {UINT('A'), VK_ESCAPE, VK_SPACE, VK_TAB, UINT('9'), VK_F1})
                CTestDriver::PressKey(vk);
            EXPECT_EQ(dlg.m_comboStations.GetCurSel(), 0);
            EXPECT_EQ(m_data.m_settings.m_currentStation.m_strID, LONDON);
            EXPECT_EQ(CTestDriver::GetActiveDialog(), &dlg);
        }
    });
}

// Tab goes round the controls to the chart, where a screen reader follows its
// words; there every other key is still the window's.
TEST_F(MainWindowTest, TabReachesTheChartWhereTheKeysStayTheWindows)
{
    WithLondon();
    RunMainWindow([&](CCirrovanDlg& dlg) {
        // The chart shares the list's number; the list is the one that is not the chart.
        CTestDriver::PressKey('0');
        CWnd* pList = CWnd::GetFocus();
        ASSERT_NE(pList, nullptr);
        EXPECT_EQ(pList->GetDlgCtrlID(), static_cast<UINT>(IDC_STATION_COMBO));
        EXPECT_NE(pList, &dlg.m_wndGraph);
        std::vector<UINT> reached;
        for (int i = 0; i < 8; ++i) {
            CTestDriver::PressKey(VK_TAB);
            const CWnd* pFocus = CWnd::GetFocus();
            reached.push_back(pFocus ? pFocus->GetDlgCtrlID() : 0);
            if (pFocus == &dlg.m_wndGraph)
                break;
        }
        ASSERT_EQ(CWnd::GetFocus(), &dlg.m_wndGraph) << ::testing::PrintToString(reached);
        CTestDriver::PressKey(VK_RIGHT);
        EXPECT_EQ(dlg.m_scrollBar.GetScrollPos(), 20);
        const int nDaily = m_data.m_settings.m_bDaily;
        CTestDriver::PressKey(VK_DOWN);
        EXPECT_EQ(m_data.m_settings.m_bDaily, 1 - nDaily);
        EXPECT_EQ(CWnd::GetFocus(), &dlg.m_wndGraph);
        // A tap on the chart is a gesture: the focus stays where it is.
        CTestDriver::PressKey('0');
        RECT rc;
        dlg.m_wndGraph.GetClientRect(&rc);
        CTestDriver::TapAt(&dlg.m_wndGraph, POINT{rc.right / 2, rc.bottom / 2});
        EXPECT_EQ(CWnd::GetFocus(), pList);
    });
}
