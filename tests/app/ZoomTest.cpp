// The screen zoomed on a desktop: drawn with the desktop's own pixels (the
// zoom is the device pixel ratio, never device pixels enlarged), the stylus,
// keys and window sizes in device pixels, and the main window's screens at
// zoom 1 and 2 (kept in CIRROVAN_SHOTS).
#include "MainWindowSetup.h"

#include <string>

namespace {

// The share of the window's zoom x zoom blocks, in a device rectangle, whose
// pixels are not all alike: none when each device pixel was only enlarged.
double MixedBlocks(const CBitmap& window, const RECT& rc, int nZoom)
{
    int nMixed = 0, nBlocks = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x, ++nBlocks) {
            const COLORREF first = window.GetPixel(x * nZoom, y * nZoom);
            for (int k = 1; k < nZoom * nZoom; ++k) {
                if (window.GetPixel(x * nZoom + k % nZoom, y * nZoom + k / nZoom) != first) {
                    ++nMixed;
                    break;
                }
            }
        }
    }
    return nBlocks ? static_cast<double>(nMixed) / nBlocks : 0.0;
}

} // namespace

TEST_F(MainWindowTest, TheMainWindowAtZoomOneAndTwoInBothOrientationsAndModes)
{
    WithLondon();
    RunMainWindow([&](CCirrovanDlg& dlg) {
        for (int nZoom : {1, 2}) {
            CDeviceScreen::Get().SetZoom(nZoom);
            for (int nOrientation : {DMDO_0, DMDO_270}) {
                CDeviceScreen::Get().SetOrientation(nOrientation);
                for (int nDaily : {0, 1}) {
                    if (m_data.m_settings.m_bDaily != nDaily)
                        CTestDriver::PressKey(VK_DOWN);
                    const std::string name = std::string("main_zoom") + std::to_string(nZoom)
                                             + (nOrientation == DMDO_0 ? "_portrait" : "_landscape")
                                             + (nDaily ? "_daily" : "_hourly");
                    SCOPED_TRACE(name);
                    CBitmap screen, window;
                    Shot(screen, name);
                    ASSERT_TRUE(CTestDriver::GrabWindow(window));
                    const SIZE size = screen.GetSize();
                    EXPECT_EQ(size.cx, nOrientation == DMDO_0 ? 240 : 320);
                    EXPECT_EQ(size.cy, nOrientation == DMDO_0 ? 320 : 240);
                    EXPECT_EQ(window.GetSize().cx, size.cx * nZoom);
                    EXPECT_EQ(window.GetSize().cy, size.cy * nZoom);
                    // Text and slanted lines use the desktop's pixels: at zoom 2
                    // many of the chart's blocks mix colours, while a fill keeps
                    // its exact colour.
                    const RECT rcChart = WindowRect(&dlg.m_wndGraph);
                    const RECT rcShown = {rcChart.left, SCREEN_BAR_HEIGHT + rcChart.top, rcChart.right,
                                          SCREEN_BAR_HEIGHT + rcChart.bottom};
                    const double mixed = MixedBlocks(window, rcShown, nZoom);
                    if (nZoom == 1)
                        EXPECT_EQ(mixed, 0.0);
                    else
                        EXPECT_GT(mixed, 0.005);
                    EXPECT_EQ(screen.GetPixel(rcShown.left + 40, rcShown.top + 2),
                              window.GetPixel((rcShown.left + 40) * nZoom, (rcShown.top + 2) * nZoom));
                    EXPECT_EQ(dlg.m_strHeader, nDaily ? L"Daily (1 h old)" : L"Hourly (1 h old)");
                }
            }
        }
    });
}

TEST_F(MainWindowTest, StylusKeysAndWindowSizeAreInDevicePixelsAtAnyZoom)
{
    WithLondon();
    RunMainWindow([&](CCirrovanDlg& dlg) {
        CDeviceScreen::Get().SetZoom(2);
        // A drag of 50 device pixels across the chart scrolls it by 50.
        const RECT rcChart = WindowRect(&dlg.m_wndGraph);
        const POINT ptFrom = {rcChart.left + 150, SCREEN_BAR_HEIGHT + rcChart.top + 100};
        CTestDriver::DragInWindow(ptFrom, POINT{ptFrom.x - 50, ptFrom.y}, 5);
        EXPECT_EQ(dlg.m_wndGraph.m_nScroll, 50);
        EXPECT_EQ(dlg.m_scrollBar.GetScrollPos(), 50);

        // A tap on view button 3, where it stands on the screen.
        const RECT rcView3 = WindowRect(dlg.GetDlgItem(IDC_VIEW3));
        const POINT ptView3 = {(rcView3.left + rcView3.right) / 2,
                               SCREEN_BAR_HEIGHT + (rcView3.top + rcView3.bottom) / 2};
        CTestDriver::DragInWindow(ptView3, ptView3, 0);
        EXPECT_EQ(m_data.m_settings.m_nCurrentView, 2);
        // Keys still go to the main window.
        CTestDriver::PressKey('1');
        EXPECT_EQ(m_data.m_settings.m_nCurrentView, 0);

        // The user makes the window wider than high: the screen turns landscape.
        CTestDriver::ResizeWindow(320, 250);
        EXPECT_EQ(CDeviceScreen::Get().GetSize().cx, 320);
        EXPECT_EQ(CDeviceScreen::Get().GetSize().cy, 250);
        RECT client;
        dlg.GetClientRect(&client);
        EXPECT_EQ(client, (RECT{0, 0, 320, 198}));
        EXPECT_EQ(WindowRect(&dlg.m_wndGraph), (RECT{32, 20, 320, 188}));
        CBitmap window;
        ASSERT_TRUE(CTestDriver::GrabWindow(window));
        EXPECT_EQ(window.GetSize().cx, 640);
        EXPECT_EQ(window.GetSize().cy, 500);

        // Shrunk as far as the desktop lets it, the screen keeps the device's
        // short side each way, and its layouts read.
        for (int nZoom : {2, 1}) {
            CDeviceScreen::Get().SetZoom(nZoom);
            CTestDriver::ResizeWindow(150, 130);
            EXPECT_EQ(CDeviceScreen::Get().GetSize().cx, 240) << nZoom;
            EXPECT_EQ(CDeviceScreen::Get().GetSize().cy, 240) << nZoom;
        }
    });
}

// A soft key's menu opens over the zoomed screen, in its place, drawn at the
// zoom, and a tap on one of its items runs the command.
TEST_F(MainWindowTest, SoftKeyMenusOpenAndAnswerOnTheZoomedScreen)
{
    WithLondon();
    RunMainWindow([&](CCirrovanDlg&) {
        CDeviceScreen::Get().SetZoom(2);
        CBitmap before;
        ASSERT_TRUE(CTestDriver::GrabScreen(before));
        CTestDriver::PressSoftKey(1);
        RECT rcMenu;
        ASSERT_TRUE(CTestDriver::GetOpenMenu(nullptr, &rcMenu));
        CBitmap screen;
        ASSERT_TRUE(CTestDriver::GrabScreen(screen));
        if (const char* pszFolder = std::getenv("CIRROVAN_SHOTS"))
            screen.SavePng(CCodePage::Decode(std::string(pszFolder) + "/main_zoom2_menu.png"));
        EXPECT_EQ(screen.GetRatio(), 2.0);
        // The menu is in the picture: its middle is not what the chart showed there.
        const POINT ptMiddle = {(rcMenu.left + rcMenu.right) / 2, (rcMenu.top + rcMenu.bottom) / 2};
        EXPECT_NE(screen.GetPixel(ptMiddle.x, ptMiddle.y), before.GetPixel(ptMiddle.x, ptMiddle.y));

        bool bAbout = false;
        CTestDriver::OnDialogOpen(IDD_ABOUT, [&](CDialog* pDlg) {
            bAbout = true;
            pDlg->EndDialog(IDOK);
        });
        RECT rcAbout;
        ASSERT_TRUE(CTestDriver::GetOpenMenuItemRect(L"About", &rcAbout));
        const POINT ptAbout = {(rcAbout.left + rcAbout.right) / 2, (rcAbout.top + rcAbout.bottom) / 2};
        CTestDriver::DragInWindow(ptAbout, ptAbout, 0);
        CTestDriver::ProcessEvents();
        EXPECT_TRUE(bAbout);
        EXPECT_FALSE(CTestDriver::GetOpenMenu(nullptr, nullptr));
    });
}
