#include "DialogTestSetup.h"
#include "../EnvGuard.h"
#include "dialogs/DlgAbout.h"
#include "dialogs/DlgHelp.h"
#include "platform/Resources.h"
#include "platform/testing/TestDriver.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/CommandBar.h"
#include "platform/ui/DeviceScreen.h"
#include "res/AppResources.h"
#include "res/Resource.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

class AboutHelpTest : public testing::Test
{
protected:
    void SetUp() override
    {
        setenv("CIRROVAN_SERVICE_NAME", "Test Weather", 1);
        setenv("CIRROVAN_SERVICE_HOME", "http://weather.test/home", 1);
        CAppResources::Install();
        CTestDriver::Install();
        CDeviceScreen::Get().SetOrientation(DMDO_0);
        CTestDriver::ReplaceUrlOpener([this](const std::wstring& strUrl) { m_opened.push_back(strUrl); });
    }
    void TearDown() override
    {
        CTestDriver::ReplaceUrlOpener(nullptr);
        CDeviceScreen::Get().SetOrientation(DMDO_0);
        CTestDriver::Uninstall();
        unsetenv("CIRROVAN_SERVICE_NAME");
        unsetenv("CIRROVAN_SERVICE_HOME");
        CAppResources::Install();
    }
    std::vector<std::wstring> m_opened;
};

TEST_F(AboutHelpTest, AboutKeepsPicturesBottomRightInBothOrientations)
{
    CDlgAbout dlg;
    bool bChecked = false;
    CTestDriver::OnDialogOpen(IDD_ABOUT, [&](CDialog* pDlg) {
        RECT client;
        pDlg->GetClientRect(&client);
        EXPECT_EQ(client.right, 240);
        EXPECT_EQ(client.bottom, 268);
        EXPECT_EQ(CTestDriver::GetTitle(), L"About Cirrovan");
        EXPECT_TRUE(CTestDriver::IsDoneButtonShown());
        EXPECT_EQ(CTestDriver::GetSoftKeyText(0), L"Ok");
        EXPECT_EQ(CTestDriver::GetSoftKeyText(1), L"Test Weather");
        ExpectRect(ControlRect(pDlg, IDC_HEADING), 5, 5, 230, 14);
        ExpectRect(ControlRect(pDlg, IDC_ABOUT_TEXT), 5, 25, 230, 188);
        ExpectRect(ControlRect(pDlg, IDC_ABOUT_LOGO), 179, 219, 56, 44);
        ExpectRect(ControlRect(pDlg, IDC_ABOUT_CREDIT), 99, 225, 70, 32);
        EXPECT_FALSE(dlg.m_editText.HasSelection());
        EXPECT_NE(dlg.m_editText.GetWindowText().find(L"Test Weather"), std::wstring::npos);
        Shot("about-portrait");

        CDeviceScreen::Get().SetOrientation(DMDO_90);
        pDlg->GetClientRect(&client);
        EXPECT_EQ(client.right, 320);
        EXPECT_EQ(client.bottom, 188);
        ExpectRect(ControlRect(pDlg, IDC_ABOUT_TEXT), 5, 25, 310, 108);
        ExpectRect(ControlRect(pDlg, IDC_ABOUT_LOGO), 259, 139, 56, 44);
        ExpectRect(ControlRect(pDlg, IDC_ABOUT_CREDIT), 179, 145, 70, 32);
        EXPECT_FALSE(dlg.m_editText.HasSelection());
        Shot("about-landscape");

        // The logo button is drawn from bitmap 161 at its natural size.
        CBitmap logo;
        ASSERT_TRUE(logo.LoadBitmap(IDB_SERVICE_LOGO));
        EXPECT_EQ(logo.GetSize().cx, 56);
        EXPECT_EQ(logo.GetSize().cy, 44);
        bChecked = true;
        CTestDriver::TapDoneButton();
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(bChecked);
    EXPECT_TRUE(m_opened.empty());
}

// The pixels of a colour in a rectangle of the screen.
int CountColour(const CBitmap& shot, const RECT& rc, COLORREF cr)
{
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += shot.GetPixel(x, y) == cr ? 1 : 0;
    return n;
}

TEST_F(AboutHelpTest, TheCreditAndTheSoftKeyNameTheConfiguredService)
{
    // The picture itself names no service: below its first words it is white.
    CBitmap credit;
    ASSERT_TRUE(credit.LoadBitmap(IDB_SERVICE_CREDIT));
    ASSERT_EQ(credit.GetSize().cx, 70);
    ASSERT_EQ(credit.GetSize().cy, 32);
    EXPECT_EQ(CountColour(credit, RECT{0, 11, 70, 32}, RGB(255, 255, 255)), 70 * 21);

    const COLORREF name = RGB(28, 63, 140);
    struct Case
    {
        const char* pszName;
        int nMinInk;   // of the name's colour in the credit
    };
    const Case cases[] = {{"Test Weather", 40}, {"Open-Meteo via Cirrovan", 80}};
    for (const Case& c : cases) {
        setenv("CIRROVAN_SERVICE_NAME", c.pszName, 1);
        CAppResources::Install();
        const std::wstring strName(c.pszName, c.pszName + strlen(c.pszName));
        for (int orientation : {DMDO_0, DMDO_90}) {
            SCOPED_TRACE(std::string(c.pszName) + (orientation == DMDO_0 ? " portrait" : " landscape"));
            CDeviceScreen::Get().SetOrientation(orientation);
            CDlgAbout dlg;
            CTestDriver::OnDialogOpen(IDD_ABOUT, [&](CDialog* pDlg) {
                // The key names the service in full, and shows what fits of it.
                EXPECT_EQ(CTestDriver::GetSoftKeyText(1), strName);
                std::wstring shown = CTestDriver::GetSoftKeyShownText(1);
                if (shown != strName) {
                    ASSERT_FALSE(shown.empty());
                    EXPECT_EQ(shown.back(), L'\u2026');
                    EXPECT_EQ(strName.compare(0, shown.size() - 1, shown, 0, shown.size() - 1), 0);
                }
                std::string path = testing::TempDir() + "cirrovan_about.png";
                std::wstring wpath(path.begin(), path.end());
                ASSERT_TRUE(CTestDriver::SaveScreenshot(wpath));
                CBitmap shot;
                ASSERT_TRUE(shot.LoadPng(wpath));
                std::remove(path.c_str());
                RECT rc = ControlRect(pDlg, IDC_ABOUT_CREDIT);
                OffsetToScreen(rc);
                EXPECT_GE(CountColour(shot, RECT{rc.left, rc.top + 11, rc.right, rc.bottom}, name), c.nMinInk);
                if (strName != L"Test Weather")
                    Shot(orientation == DMDO_0 ? "about-configured-name-portrait" : "about-configured-name-landscape");
                CTestDriver::PressSoftKey(0);
            });
            EXPECT_EQ(dlg.DoModal(), IDOK);
        }
    }
}

TEST_F(AboutHelpTest, TheApplicationIconComesInEverySizeTheDesktopAsksFor)
{
    std::vector<int> sizes;
    for (const ICONIMAGE& image : CResources::FindIcon(128))
        sizes.push_back(image.nPixels);
    EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48, 128}));
    EXPECT_NE(LoadIcon(128), nullptr);
}

TEST_F(AboutHelpTest, SoftKeyAndLogoOpenTheHomePageAndEscapeLeaves)
{
    CDlgAbout dlg;
    CTestDriver::OnDialogOpen(IDD_ABOUT, [&](CDialog* pDlg) {
        CTestDriver::PressSoftKey(1);
        CTestDriver::PressSoftKey(1);
        CTestDriver::Tap(IDC_ABOUT_LOGO);
        EXPECT_EQ(CTestDriver::GetActiveDialog(), pDlg);
        CTestDriver::PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(m_opened.size(), 3u);
    for (const std::wstring& url : m_opened)
        EXPECT_EQ(url, L"http://weather.test/home");
}

// The desktop's own opener, xdg-open: when it is missing or cannot open the
// address (no browser), the address is shown so that the user can take it
// elsewhere; when it opens it, nothing is said.
TEST_F(AboutHelpTest, AHomePageThatCannotBeOpenedIsShownByItsAddress)
{
    CTestDriver::ReplaceUrlOpener(nullptr);
    const struct
    {
        const char* pszOpener;   // the script on the PATH; null: none
        bool bShown;
    } cases[] = {{nullptr, true}, {"exit 3", true}, {"exit 0", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszOpener ? c.pszOpener : "no opener");
        char szBin[] = "/tmp/cirrovan-bin-XXXXXX";
        ASSERT_NE(mkdtemp(szBin), nullptr);
        const std::string opener = std::string(szBin) + "/xdg-open";
        if (c.pszOpener) {
            std::ofstream(opener) << "#!/bin/sh\n" << c.pszOpener << "\n";
            std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
        }
        CEnvGuard path("PATH", szBin);
        CTestDriver::MessageBoxes().clear();
        CDlgAbout dlg;
        CTestDriver::OnDialogOpen(IDD_ABOUT, [&](CDialog*) {
            CTestDriver::PressSoftKey(1);
            CTestDriver::PressSoftKey(0);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        const std::vector<MESSAGEBOXCALL>& boxes = CTestDriver::MessageBoxes();
        ASSERT_EQ(boxes.size(), c.bShown ? 1u : 0u);
        if (c.bShown) {
            EXPECT_EQ(boxes[0].strText, L"The web browser could not be opened. The address is:\n\nhttp://weather.test/home");
            EXPECT_EQ(boxes[0].strCaption, L"About Cirrovan");
            EXPECT_EQ(boxes[0].nType, MB_ICONINFORMATION);
        }
        std::filesystem::remove_all(szBin);
    }
}

TEST_F(AboutHelpTest, HelpShowsItsStringAndFollowsTheHeadingRule)
{
    struct Case
    {
        UINT nID;
        const char* pszShot;
    };
    const Case cases[] = {{IDS_HELP_NEW_STATION, "help-13"}, {IDS_HELP_STATIONS, "help-14"}, {60999, nullptr}};
    for (const Case& c : cases) {
        for (int orientation : {DMDO_0, DMDO_270}) {
            CDeviceScreen::Get().SetOrientation(orientation);
            CDlgHelp dlg(c.nID);
            CTestDriver::OnDialogOpen(IDD_HELP, [&](CDialog* pDlg) {
                RECT client;
                pDlg->GetClientRect(&client);
                const int W = client.right, H = client.bottom;
                EXPECT_EQ(W, orientation == DMDO_0 ? 240 : 320);
                ExpectRect(ControlRect(pDlg, IDC_HEADING), 5, 5, W - 10, 16);
                ExpectRect(ControlRect(pDlg, IDC_HELP_TEXT), 5, 25, W - 10, H - 26);
                EXPECT_EQ(pDlg->GetDlgItem(IDC_HEADING)->GetWindowText(), L"Help");
                EXPECT_EQ(pDlg->GetDlgItem(IDC_HELP_TEXT)->GetWindowText(), CResources::LoadString(c.nID));
                EXPECT_EQ(CTestDriver::GetSoftKeyText(0), L"Ok");
                EXPECT_EQ(CTestDriver::GetSoftKeyText(1), L"");
                if (c.pszShot)
                    Shot((std::string(c.pszShot) + (orientation == DMDO_0 ? "-portrait" : "-landscape")).c_str());
                CTestDriver::PressSoftKey(0);
            });
            EXPECT_EQ(dlg.DoModal(), IDOK);
        }
    }
    EXPECT_TRUE(CResources::LoadString(60999).empty());
    std::wstring help13 = CResources::LoadString(IDS_HELP_NEW_STATION);
    EXPECT_EQ(help13.find(L"You can enter :\n\n- a Cirrovan station ID (such as "), 0u);
    EXPECT_NE(help13.find(L"an on-line search on Test Weather is required"), std::wstring::npos);
}

// A dialog with the main window's menu bar, to see its pop-ups open.
class CMenuDlg : public CDialog
{
public:
    CMenuDlg() : CDialog(IDD_HELP) {}
    bool OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_commandBar.Create(this);
        m_commandBar.InsertMenuBar(IDR_MAINMENU);
        return true;
    }
    bool OnCommand(UINT nID, UINT nNotifyCode) override
    {
        m_commands.push_back(nID);
        return CDialog::OnCommand(nID, nNotifyCode);
    }
    CCommandBar m_commandBar;
    std::vector<UINT> m_commands;
};

TEST_F(AboutHelpTest, SoftKeyMenusOpenUpwardAndRunTheirCommands)
{
    CMenuDlg dlg;
    CTestDriver::OnDialogOpen(IDD_HELP, [&](CDialog* pDlg) {
        EXPECT_EQ(CTestDriver::GetSoftKeyText(0), L"Stations");
        EXPECT_EQ(CTestDriver::GetSoftKeyText(1), L"Preferences");
        CTestDriver::PressSoftKey(1);
        std::vector<std::wstring> items;
        RECT rc;
        ASSERT_TRUE(CTestDriver::GetOpenMenu(&items, &rc));
        EXPECT_EQ(items, (std::vector<std::wstring>{L"Custom views...", L"Preferences...", L"",
                                                    L"Change Display Orientation", L"", L"About", L"",
                                                    L"Quit"}));
        // Above the soft-key bar, against the right edge under its key.
        EXPECT_LE(rc.bottom, 320 - 26);
        EXPECT_EQ(rc.right, 240);
        EXPECT_TRUE(CTestDriver::TapOpenMenuItem(L"About"));
        EXPECT_FALSE(CTestDriver::GetOpenMenu(nullptr, nullptr));
        CTestDriver::PressSoftKey(0);
        ASSERT_TRUE(CTestDriver::GetOpenMenu(&items, &rc));
        EXPECT_EQ(items.front(), L"Select...");
        EXPECT_EQ(rc.left, 0);
        EXPECT_TRUE(CTestDriver::TapOpenMenuItem(L"New..."));
        EXPECT_TRUE(CTestDriver::ChooseMenuItem(ID_PREFERENCES_QUIT));
        EXPECT_FALSE(CTestDriver::ChooseMenuItem(ID_STATIONS_DETAILS));
        pDlg->EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_commands, (std::vector<UINT>{ID_PREFERENCES_ABOUT, ID_STATIONS_NEW, ID_PREFERENCES_QUIT}));
}

TEST_F(AboutHelpTest, MenuBarsCarryTheirKeys)
{
    struct Case
    {
        UINT nID;
        const wchar_t* pszLeft;
        const wchar_t* pszRight;
        int nRightPopup;
    };
    const Case cases[] = {
        {128, L"Stations", L"Preferences", 1}, {129, L"Done", L"Stations", 0},
        {139, L"Done", L"Cancel", -1},         {140, L"Ok", nullptr, -1},
        {141, L"Ok", L"Cancel", -1},           {142, L"Update !", L"Cancel", -1},
        {164, L"Ok", L"Test Weather", -1},
    };
    for (const Case& c : cases) {
        const MENUBARTEMPLATE* bar = CResources::FindMenuBar(c.nID);
        ASSERT_NE(bar, nullptr) << c.nID;
        EXPECT_EQ(CResources::LoadString(bar->buttons[0].nStringID), c.pszLeft);
        if (c.pszRight) {
            ASSERT_EQ(bar->nButtons, 2);
            EXPECT_EQ(CResources::LoadString(bar->buttons[1].nStringID), c.pszRight);
            EXPECT_EQ(bar->buttons[1].nPopup, c.nRightPopup);
        } else {
            EXPECT_EQ(bar->nButtons, 1);
        }
    }
    const MENUTEMPLATE* menu = CResources::FindMenu(128);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->pPopups[1].nItems, 8);
    EXPECT_EQ(menu->pPopups[1].pItems[3].nCommand, 32782u);
    for (UINT id = 3; id <= 28; ++id)
        EXPECT_TRUE(CResources::HasString(id)) << id;
}

}
