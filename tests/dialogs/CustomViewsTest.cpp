#include "DialogTestSetup.h"
#include "../settings/ViewFlags.h"
#include "dialogs/DlgCustomViews.h"

namespace {

class CustomViewsTest : public DialogTest
{
protected:
    const CCustomView& View(int i) const { return m_data.m_settings.m_views[i]; }
};

// The rows as the controls show them, in the nine digits of Flags: shown,
// first, left per series; and whether the row's other controls can be used.
std::string Rows()
{
    std::string out;
    for (UINT s = 0; s < SERIES_COUNT; ++s) {
        const bool bLeft = IsTicked(IDC_SERIES_LEFT + s);
        EXPECT_NE(bLeft, IsTicked(IDC_SERIES_RIGHT + s)) << "one side pressed";
        const bool bShown = IsTicked(IDC_SERIES_DISPLAY + s);
        for (UINT nID : {IDC_SERIES_LEFT + s, IDC_SERIES_RIGHT + s, IDC_SERIES_FIRST + s})
            EXPECT_EQ(Item(nID)->IsWindowEnabled(), bShown) << nID;
        const bool bFirst = IsTicked(IDC_SERIES_FIRST + s);
        out += std::string() + (bShown ? '1' : '0') + (bFirst ? '1' : '0') + (bLeft ? '1' : '0');
    }
    return out;
}

int PressedView()
{
    int pressed = -1;
    for (int i = 0; i < 3; ++i)
        pressed = IsTicked(IDC_VIEW1 + static_cast<UINT>(i)) ? i : pressed;
    return pressed;
}

TEST_F(CustomViewsTest, LaysItselfOutAndShowsEachViewsOwnFlags)
{
    m_data.m_settings.m_nCurrentView = 1;
    CDlgCustomViews dlg(m_data);
    CTestDriver::OnDialogOpen(IDD_CUSTOM_VIEWS, [&](CDialog* pDlg) {
        EXPECT_EQ(Item(IDC_HEADING)->GetWindowText(), L"Custom views");
        EXPECT_EQ(CTestDriver::GetSoftKeyText(0), L"Ok");
        EXPECT_EQ(CTestDriver::GetSoftKeyText(1), L"Cancel");
        EXPECT_EQ(PressedView(), 1);
        EXPECT_EQ(Rows(), Flags(View(1)));
        for (const ORIENTATION& o : s_orientations) {
            SCOPED_TRACE(o.pszName);
            CDeviceScreen::Get().SetOrientation(o.nCode);
            ExpectRect(ControlRect(pDlg, IDC_HEADING), 5, 5, o.cx - 10, 16);
            // The rows stay where the template puts them: "Displayed first" of the wind at (84, 90, 60, 10).
            ExpectRect(ControlRect(pDlg, IDC_SERIES_FIRST + SERIES_WIND), 126, 146, 90, 16);
            ExpectRect(ControlRect(pDlg, IDC_VIEW3), 161, 29, 26, 24);
            Shot(std::string("custom-views-") + o.pszName);
        }
        // Each view button shows its view's flags and makes it current at once.
        for (int i : {0, 2}) {
            CTestDriver::Tap(IDC_VIEW1 + static_cast<UINT>(i));
            EXPECT_EQ(m_data.m_settings.m_nCurrentView, i);
            EXPECT_EQ(PressedView(), i);
            EXPECT_EQ(Rows(), Flags(View(i)));
        }
        CTestDriver::PressSoftKey(0);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    CSettings stored;
    stored.m_strPath = Path("settings.dat");
    ASSERT_TRUE(stored.Load());
    EXPECT_EQ(stored.m_nCurrentView, 2);
}

TEST_F(CustomViewsTest, TheRowsFollowTheRulesAsTheUserTapsThem)
{
    CDlgCustomViews dlg(m_data);
    CTestDriver::OnDialogOpen(IDD_CUSTOM_VIEWS, [&](CDialog*) {
        // Preset 0: temperatures first on the left, precipitations first and wind on the right.
        EXPECT_EQ(Rows(), "111110100");
        struct Step
        {
            UINT nControl;
            const char* pszRows;
        };
        const Step steps[] = {
            {IDC_SERIES_DISPLAY + SERIES_TEMPERATURES, "001110100"},   // hidden: disabled, not first
            {IDC_SERIES_DISPLAY + SERIES_TEMPERATURES, "111110100"},   // shown on an empty side: first
            {IDC_SERIES_FIRST + SERIES_WIND, "111100110"},             // the other series of the side gives way
            {IDC_SERIES_FIRST + SERIES_WIND, "111100110"},             // a ticked box stays ticked
            {IDC_SERIES_LEFT + SERIES_PRECIPITATIONS, "111101110"},    // the left has a first already
            {IDC_SERIES_RIGHT + SERIES_TEMPERATURES, "100111110"},     // the first leaves; the left keeps one
            {IDC_SERIES_DISPLAY + SERIES_WIND, "110111000"},           // the right's first hidden: the other takes over
        };
        for (const Step& step : steps) {
            SCOPED_TRACE(step.nControl);
            CTestDriver::Tap(step.nControl);
            EXPECT_EQ(Rows(), step.pszRows);
            EXPECT_EQ(Flags(View(0)), step.pszRows);
        }
        Shot("custom-views-edited-portrait");
        CTestDriver::PressSoftKey(0);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    CSettings stored;
    stored.m_strPath = Path("settings.dat");
    ASSERT_TRUE(stored.Load());
    EXPECT_EQ(Flags(stored.m_views[0]), "110111000");
    EXPECT_EQ(Flags(stored.m_views[1]), Flags(View(1)));
}

TEST_F(CustomViewsTest, CancelReadsTheSettingsFileBackWithEveryOtherSetting)
{
    m_data.m_settings.Save();
    const std::string saved = Read("settings.dat");
    // Changed elsewhere since the last save: a view button of the main window, a unit.
    m_data.m_settings.m_nCurrentView = 1;
    m_data.m_settings.m_nWindUnit = 3;
    CDlgCustomViews dlg(m_data);
    CTestDriver::OnDialogOpen(IDD_CUSTOM_VIEWS, [&](CDialog*) {
        EXPECT_EQ(PressedView(), 1);
        CTestDriver::Tap(IDC_VIEW3);
        CTestDriver::Tap(IDC_SERIES_DISPLAY + SERIES_WIND);
        EXPECT_EQ(Flags(View(2)), "110100001");
        CTestDriver::PressSoftKey(1);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(m_data.m_settings.m_nCurrentView, 0);
    EXPECT_EQ(m_data.m_settings.m_nWindUnit, 0);
    EXPECT_EQ(Flags(View(2)), "110100111");
    EXPECT_EQ(Read("settings.dat"), saved);

    // Without a file to read, Cancel restores nothing: the edits stay, unsaved.
    std::filesystem::remove(m_folder.Path("data/settings.dat"));
    CDlgCustomViews unreadable(m_data);
    CTestDriver::OnDialogOpen(IDD_CUSTOM_VIEWS, [&](CDialog*) {
        CTestDriver::Tap(IDC_VIEW2);
        CTestDriver::Tap(IDC_SERIES_DISPLAY + SERIES_TEMPERATURES);
        CTestDriver::PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(unreadable.DoModal(), IDCANCEL);
    EXPECT_EQ(m_data.m_settings.m_nCurrentView, 1);
    EXPECT_EQ(Flags(View(1)), "000111110");
    EXPECT_FALSE(Exists("settings.dat"));
}

}
