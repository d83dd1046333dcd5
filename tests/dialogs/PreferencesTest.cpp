#include "DialogTestSetup.h"
#include "dialogs/DlgPreferences.h"

namespace {

using PreferencesTest = DialogTest;

const UINT s_windButtons[] = {IDC_WIND_KMH, IDC_WIND_MPH, IDC_WIND_MS, IDC_WIND_KNOTS, IDC_WIND_BEAUFORT};
const UINT s_tempButtons[] = {IDC_TEMP_CELSIUS, IDC_TEMP_FAHRENHEIT};

// The index of the pressed button of a group, -1 for none; fails on two.
template <size_t N>
int Pressed(const UINT (&buttons)[N])
{
    int pressed = -1;
    for (size_t i = 0; i < N; ++i) {
        if (IsTicked(buttons[i])) {
            EXPECT_EQ(pressed, -1) << "two buttons pressed";
            pressed = static_cast<int>(i);
        }
    }
    return pressed;
}

void SetPreferences(CSettings& s, int nWind, int nTemp, bool bShowZero, bool bDisconnect)
{
    s.m_nWindUnit = nWind;
    s.m_nTempUnit = nTemp;
    s.m_bShowZero = bShowZero;
    s.m_bDisconnect = bDisconnect;
}

void ExpectPreferences(const CSettings& s, int nWind, int nTemp, bool bShowZero, bool bDisconnect)
{
    EXPECT_EQ(s.m_nWindUnit, nWind);
    EXPECT_EQ(s.m_nTempUnit, nTemp);
    EXPECT_EQ(s.m_bShowZero, bShowZero);
    EXPECT_EQ(s.m_bDisconnect, bDisconnect);
}

TEST_F(PreferencesTest, LaysItselfOutInBothOrientations)
{
    CDlgPreferences dlg(m_data);
    CTestDriver::OnDialogOpen(IDD_PREFERENCES, [&](CDialog* pDlg) {
        EXPECT_EQ(Item(IDC_HEADING)->GetWindowText(), L"Preferences");
        EXPECT_EQ(CTestDriver::GetSoftKeyText(0), L"Ok");
        EXPECT_EQ(CTestDriver::GetSoftKeyText(1), L"Cancel");
        for (const ORIENTATION& o : s_orientations) {
            SCOPED_TRACE(o.pszName);
            CDeviceScreen::Get().SetOrientation(o.nCode);
            ExpectRect(ControlRect(pDlg, IDC_HEADING), 5, 5, o.cx - 10, 16);
            // Everything else where the template puts it: (34, 30, 23, 18), (64, 72, 18, 17), (6, 96, 93, 10).
            ExpectRect(ControlRect(pDlg, IDC_WIND_KMH), 51, 49, 35, 29);
            ExpectRect(ControlRect(pDlg, IDC_TEMP_CELSIUS), 96, 117, 27, 28);
            ExpectRect(ControlRect(pDlg, IDC_DISCONNECT), 9, 156, 140, 16);
            Shot(std::string("preferences-") + o.pszName);
        }
        CTestDriver::PressSoftKey(1);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(PreferencesTest, ShowsTheStoredValuesAndAnOutOfRangeUnitPressesNoButton)
{
    struct Case
    {
        int nWind, nTemp;
        bool bShowZero, bDisconnect;
        int nWindShown, nTempShown;
    };
    const Case cases[] = {
        {0, 0, false, false, 0, 0},
        {4, 1, true, true, 4, 1},
        {2, 0, false, true, 2, 0},
        {7, -1, true, false, -1, -1},
        {-3, 2, false, false, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nWind);
        SetPreferences(m_data.m_settings, c.nWind, c.nTemp, c.bShowZero, c.bDisconnect);
        CDlgPreferences dlg(m_data);
        CTestDriver::OnDialogOpen(IDD_PREFERENCES, [&](CDialog*) {
            EXPECT_EQ(Pressed(s_windButtons), c.nWindShown);
            EXPECT_EQ(Pressed(s_tempButtons), c.nTempShown);
            EXPECT_EQ(IsTicked(IDC_SHOW_ZERO), c.bShowZero);
            EXPECT_EQ(IsTicked(IDC_DISCONNECT), c.bDisconnect);
            CTestDriver::PressSoftKey(0);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        // OK without touching anything stores what was shown: no button is -1.
        ExpectPreferences(m_data.m_settings, c.nWindShown, c.nTempShown, c.bShowZero, c.bDisconnect);
    }
}

TEST_F(PreferencesTest, OkSavesAtOnceAndCancelLeavesEverythingAsItWas)
{
    SetPreferences(m_data.m_settings, 1, 0, false, true);
    m_data.m_settings.Save();
    const std::string before = Read("settings.dat");
    auto changeEverything = []() {
        CTestDriver::Tap(IDC_WIND_KNOTS);
        CTestDriver::Tap(IDC_TEMP_FAHRENHEIT);
        CTestDriver::Tap(IDC_SHOW_ZERO);
        CTestDriver::Tap(IDC_DISCONNECT);
        EXPECT_EQ(Pressed(s_windButtons), 3);
        EXPECT_EQ(Pressed(s_tempButtons), 1);
    };

    CDlgPreferences cancelled(m_data);
    CTestDriver::OnDialogOpen(IDD_PREFERENCES, [&](CDialog*) {
        changeEverything();
        CTestDriver::PressSoftKey(1);
    });
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    ExpectPreferences(m_data.m_settings, 1, 0, false, true);
    EXPECT_EQ(Read("settings.dat"), before);

    // Unchanged, OK writes the same file again.
    std::filesystem::remove(m_folder.Path("data/settings.dat"));
    CDlgPreferences unchanged(m_data);
    CTestDriver::OnDialogOpen(IDD_PREFERENCES, [&](CDialog*) { CTestDriver::TapDoneButton(); });
    EXPECT_EQ(unchanged.DoModal(), IDOK);
    EXPECT_EQ(Read("settings.dat"), before);

    CDlgPreferences changed(m_data);
    CTestDriver::OnDialogOpen(IDD_PREFERENCES, [&](CDialog*) {
        changeEverything();
        CTestDriver::PressSoftKey(0);
    });
    EXPECT_EQ(changed.DoModal(), IDOK);
    ExpectPreferences(m_data.m_settings, 3, 1, true, false);
    CSettings stored;
    stored.m_strPath = Path("settings.dat");
    ASSERT_TRUE(stored.Load());
    ExpectPreferences(stored, 3, 1, true, false);
}

// The keyboard alone: the focus starts on the first control, the arrows move
// within a group and press the button they reach, Tab goes from control to
// control, Space ticks a box, Enter saves. (Shift+Tab: the program's own test
// under a real X server.)
TEST_F(PreferencesTest, TabShiftTabArrowsAndSpaceWorkTheDialog)
{
    SetPreferences(m_data.m_settings, 0, 0, false, false);
    CDlgPreferences dlg(m_data);
    CTestDriver::OnDialogOpen(IDD_PREFERENCES, [&](CDialog*) {
        EXPECT_EQ(CWnd::GetFocus(), Item(IDC_WIND_KMH));
        Shot("preferences-focus-start");
        CTestDriver::PressKey(VK_RIGHT);
        EXPECT_EQ(CWnd::GetFocus(), Item(IDC_WIND_MPH));
        EXPECT_EQ(Pressed(s_windButtons), 1);
        // Tab on to the box, then Space ticks it.
        for (int i = 0; i < 8 && CWnd::GetFocus() != Item(IDC_SHOW_ZERO); ++i)
            CTestDriver::PressKey(VK_TAB);
        ASSERT_EQ(CWnd::GetFocus(), Item(IDC_SHOW_ZERO));
        CTestDriver::PressKey(VK_SPACE);
        EXPECT_TRUE(IsTicked(IDC_SHOW_ZERO));
        Shot("preferences-focus-box");
        CTestDriver::PressKey(VK_RETURN);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ExpectPreferences(m_data.m_settings, 1, 0, true, false);
}

}
