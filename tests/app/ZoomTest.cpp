// The screen enlarged on a desktop: every device pixel a square of the zoom,
// the stylus and the desktop's window sizes scaled back to device pixels, and
// the main window's screens at zoom 1 and 2 (kept in CIRROVAN_SHOTS).
#include "MainWindowSetup.h"

#include <string>

namespace {

// Whether the window shows every pixel of the screen as a zoom x zoom square.
::testing::AssertionResult ShowsEveryPixelAsASquare(const CBitmap& window, const CBitmap& screen, int nZoom)
{
    const SIZE size = screen.GetSize();
    if (window.GetSize().cx < size.cx * nZoom || window.GetSize().cy < size.cy * nZoom)
        return ::testing::AssertionFailure() << "the window is too small";
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            for (int k = 0; k < nZoom * nZoom; ++k)
                if (window.GetPixel(x * nZoom + k % nZoom, y * nZoom + k / nZoom) != screen.GetPixel(x, y))
                    return ::testing::AssertionFailure() << "device pixel " << x << ", " << y;
    return ::testing::AssertionSuccess();
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
                    Shot(screen, name + "_device");
                    ASSERT_TRUE(CTestDriver::GrabWindow(window));
                    if (const char* pszFolder = std::getenv("CIRROVAN_SHOTS"))
                        window.SavePng(CCodePage::Decode(std::string(pszFolder) + "/" + name + ".png"));
                    const SIZE size = screen.GetSize();
                    EXPECT_EQ(size.cx, nOrientation == DMDO_0 ? 240 : 320);
                    EXPECT_EQ(size.cy, nOrientation == DMDO_0 ? 320 : 240);
                    EXPECT_TRUE(ShowsEveryPixelAsASquare(window, screen, nZoom));
                    EXPECT_EQ(dlg.m_strHeader, nDaily ? L"Daily (1 h old)" : L"Hourly (1 h old)");
                }
            }
        }
    });
}

TEST_F(MainWindowTest, StylusAndWindowSizeAreScaledBackToDevicePixels)
{
    WithLondon();
    RunMainWindow([&](CCirrovanDlg& dlg) {
        CDeviceScreen::Get().SetZoom(2);
        // A drag of 100 desktop pixels across the chart is one of 50 device pixels.
        const RECT rcChart = WindowRect(&dlg.m_wndGraph);
        const POINT ptFrom = {2 * (rcChart.left + 150), 2 * (SCREEN_BAR_HEIGHT + rcChart.top + 100)};
        CTestDriver::DragInWindow(ptFrom, POINT{ptFrom.x - 100, ptFrom.y}, 5);
        EXPECT_EQ(dlg.m_wndGraph.m_nScroll, 50);
        EXPECT_EQ(dlg.m_scrollBar.GetScrollPos(), 50);

        // A tap on view button 3, where the desktop shows it.
        const RECT rcView3 = WindowRect(dlg.GetDlgItem(IDC_VIEW3));
        const POINT ptView3 = {rcView3.left + rcView3.right, SCREEN_BAR_HEIGHT * 2 + rcView3.top + rcView3.bottom};
        CTestDriver::DragInWindow(ptView3, ptView3, 0);
        EXPECT_EQ(m_data.m_settings.m_nCurrentView, 2);
        // Keys still go to the main window.
        CTestDriver::PressKey('1');
        EXPECT_EQ(m_data.m_settings.m_nCurrentView, 0);

        // The user makes the window wider than high: the screen turns landscape,
        // in whole device pixels.
        CTestDriver::ResizeWindow(641, 501);
        EXPECT_EQ(CDeviceScreen::Get().GetSize().cx, 320);
        EXPECT_EQ(CDeviceScreen::Get().GetSize().cy, 250);
        RECT client;
        dlg.GetClientRect(&client);
        EXPECT_EQ(client, (RECT{0, 0, 320, 198}));
        EXPECT_EQ(WindowRect(&dlg.m_wndGraph), (RECT{32, 20, 320, 188}));
        CBitmap screen, window;
        ASSERT_TRUE(CTestDriver::GrabScreen(screen));
        ASSERT_TRUE(CTestDriver::GrabWindow(window));
        EXPECT_TRUE(ShowsEveryPixelAsASquare(window, screen, 2));
        // Beyond the last whole device pixel, the surround.
        EXPECT_EQ(window.GetPixel(640, 100), window.GetPixel(100, 500));

        // Shrunk as far as the desktop lets it, the screen keeps the device's
        // short side each way, and its layouts read.
        const struct
        {
            int nZoom, cx, cy;
        } shrunk[] = {{2, 300, 260}, {1, 200, 150}};
        for (const auto& c : shrunk) {
            CDeviceScreen::Get().SetZoom(c.nZoom);
            CTestDriver::ResizeWindow(c.cx, c.cy);
            EXPECT_EQ(CDeviceScreen::Get().GetSize().cx, 240) << c.nZoom;
            EXPECT_EQ(CDeviceScreen::Get().GetSize().cy, 240) << c.nZoom;
        }
    });
}

// A soft key's menu opens over the enlarged screen, in its place, and a tap on
// one of its items where the desktop shows it runs the command.
TEST_F(MainWindowTest, SoftKeyMenusOpenAndAnswerOnTheEnlargedScreen)
{
    WithLondon();
    RunMainWindow([&](CCirrovanDlg&) {
        CDeviceScreen::Get().SetZoom(2);
        CTestDriver::PressSoftKey(1);
        RECT rcMenu;
        ASSERT_TRUE(CTestDriver::GetOpenMenu(nullptr, &rcMenu));
        CBitmap screen, window;
        ASSERT_TRUE(CTestDriver::GrabScreen(screen));
        ASSERT_TRUE(CTestDriver::GrabWindow(window));
        if (const char* pszFolder = std::getenv("CIRROVAN_SHOTS"))
            window.SavePng(CCodePage::Decode(std::string(pszFolder) + "/main_zoom2_menu.png"));
        EXPECT_TRUE(ShowsEveryPixelAsASquare(window, screen, 2));
        // The menu is in the picture: its middle is not what the chart shows there.
        const POINT ptMiddle = {(rcMenu.left + rcMenu.right) / 2, (rcMenu.top + rcMenu.bottom) / 2};
        EXPECT_EQ(screen.GetPixel(ptMiddle.x, ptMiddle.y), window.GetPixel(2 * ptMiddle.x, 2 * ptMiddle.y));

        bool bAbout = false;
        CTestDriver::OnDialogOpen(IDD_ABOUT, [&](CDialog* pDlg) {
            bAbout = true;
            pDlg->EndDialog(IDOK);
        });
        RECT rcAbout;
        ASSERT_TRUE(CTestDriver::GetOpenMenuItemRect(L"About", &rcAbout));
        const POINT ptAbout = {rcAbout.left + rcAbout.right, rcAbout.top + rcAbout.bottom};
        CTestDriver::DragInWindow(ptAbout, ptAbout, 0);
        CTestDriver::ProcessEvents();
        EXPECT_TRUE(bAbout);
        EXPECT_FALSE(CTestDriver::GetOpenMenu(nullptr, nullptr));
    });
}
