#include "platform/Resources.h"
#include "platform/testing/TestDriver.h"
#include "platform/ui/DeviceScreen.h"
#include "platform/ui/Dialog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

const UINT IDD_KEYS = 60400;
const UINT IDC_KEYS_EDIT = 5001;
const DLGITEMTEMPLATE s_keysItems[] = {
    {IDC_KEYS_EDIT, CTL_EDIT, WS_CHILD | WS_VISIBLE | WS_BORDER, L"", 5, 5, 100, 12, 0},
};
const DLGTEMPLATE s_keys = {IDD_KEYS, L"Keys", 0, 160, 164, s_keysItems, 1};

// Takes every key-down in pre-translation, as the main window does.
class CKeysDlg : public CDialog
{
public:
    CKeysDlg() : CDialog(IDD_KEYS) {}
    bool PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            m_keys.push_back(static_cast<UINT>(pMsg->wParam));
        return m_bConsume;
    }
    std::vector<UINT> m_keys;
    bool m_bConsume = true;
};

class KeysTest : public testing::Test
{
protected:
    void SetUp() override
    {
        CResources::AddDialog(&s_keys);
        CTestDriver::Install();
        CDeviceScreen::Get().SetOrientation(DMDO_0);
    }
    void TearDown() override
    {
        CDeviceScreen::Get().SetOrientation(DMDO_0);
        CTestDriver::Uninstall();
    }
};

TEST_F(KeysTest, EveryKeyDownReachesPreTranslation)
{
    const std::vector<UINT> keys = {VK_TAB,      VK_SPACE,   'A',          'Z',      '5',
                                    VK_BACK,     VK_DELETE,  VK_HOME,      VK_F1,    VK_OEM_COMMA,
                                    VK_OEM_MINUS, VK_MULTIPLY, VK_NUMPAD0 + 7, VK_RETURN, VK_ESCAPE};
    CKeysDlg dlg;
    CTestDriver::OnDialogOpen(IDD_KEYS, [&](CDialog* pDlg) {
        pDlg->GetDlgItem(IDC_KEYS_EDIT)->SetFocus();
        for (UINT vk : keys)
            CTestDriver::PressKey(vk);
        // Taken, Enter and Escape did not end the dialog, and the edit with the
        // focus got no letter.
        EXPECT_EQ(CTestDriver::GetActiveDialog(), pDlg);
        EXPECT_EQ(pDlg->GetDlgItem(IDC_KEYS_EDIT)->GetWindowText(), L"");

        // Keys the dialog lets go reach the control with the focus.
        dlg.m_bConsume = false;
        CTestDriver::PressKey('O');
        CTestDriver::PressKey(VK_SPACE);
        CTestDriver::PressKey('K');
        EXPECT_EQ(pDlg->GetDlgItem(IDC_KEYS_EDIT)->GetWindowText(), L"o k");
        CTestDriver::PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    std::vector<UINT> expected = keys;
    for (UINT vk : {static_cast<UINT>('O'), VK_SPACE, static_cast<UINT>('K'), VK_ESCAPE})
        expected.push_back(vk);
    EXPECT_EQ(dlg.m_keys, expected);
}

TEST_F(KeysTest, MessageBoxesAnswerEnterAndEscape)
{
    struct Case
    {
        UINT nType;
        std::vector<UINT> keys;
        int nAnswer;
    };
    const Case cases[] = {
        {MB_ICONINFORMATION, {VK_RETURN}, IDOK},
        {MB_ICONEXCLAMATION, {VK_ESCAPE}, IDOK},   // the only button
        {MB_OKCANCEL | MB_ICONEXCLAMATION, {VK_RETURN}, IDOK},
        {MB_OKCANCEL | MB_ICONEXCLAMATION, {VK_ESCAPE}, IDCANCEL},
        {MB_YESNO | MB_ICONQUESTION, {VK_RETURN}, IDYES},
        {MB_YESNO | MB_ICONQUESTION, {VK_ESCAPE}, IDNO},   // the choice that changes nothing
        {MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, {VK_RETURN}, IDNO},
        {MB_YESNO | MB_ICONQUESTION, {VK_RIGHT, VK_RETURN}, IDNO},
        {MB_OKCANCEL, {'A', VK_TAB, VK_SPACE}, IDCANCEL},   // other keys go nowhere
    };
    CKeysDlg dlg;
    CTestDriver::OnDialogOpen(IDD_KEYS, [&](CDialog* pDlg) {
        for (const Case& c : cases) {
            CTestDriver::ActOnNextMessageBox([&]() {
                for (UINT vk : c.keys)
                    CTestDriver::PressKey(vk);
            });
            EXPECT_EQ(pDlg->MessageBox(L"Delete station Oslo (NOXX0029) ?", L"Cirrovan", c.nType), c.nAnswer)
                << c.nType << " " << c.keys.front();
        }
        pDlg->EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    // The box took every key: none reached the dialog underneath.
    EXPECT_TRUE(dlg.m_keys.empty());
    ASSERT_EQ(CTestDriver::MessageBoxes().size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(CTestDriver::MessageBoxes()[i].nAnswer, cases[i].nAnswer);
}

TEST_F(KeysTest, ALongMessageWrapsInABoxThatFitsTheScreen)
{
    std::wstring strText = L"The forecast could not be updated. ";
    for (int i = 0; i < 12; ++i)
        strText += L"The previous forecast is kept, and you may try again once the connection is back. ";
    const char* folder = std::getenv("CIRROVAN_SHOTS");
    for (int orientation : {DMDO_0, DMDO_90}) {
        CDeviceScreen::Get().SetOrientation(orientation);
        SIZE screen = CDeviceScreen::Get().GetSize();
        CKeysDlg dlg;
        CTestDriver::OnDialogOpen(IDD_KEYS, [&](CDialog* pDlg) {
            CTestDriver::ActOnNextMessageBox([&]() {
                if (folder) {
                    std::string path = std::string(folder) + "/message-box-long-"
                                       + (orientation == DMDO_0 ? "portrait" : "landscape") + ".png";
                    CTestDriver::SaveScreenshot(std::wstring(path.begin(), path.end()));
                }
                CTestDriver::PressKey(VK_DOWN);   // scrolls the text
                CTestDriver::PressKey(VK_RETURN);
            });
            EXPECT_EQ(pDlg->MessageBox(strText, L"Update !", MB_OKCANCEL | MB_ICONEXCLAMATION), IDOK);
            pDlg->EndDialog(IDOK);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        ASSERT_FALSE(CTestDriver::MessageBoxes().empty());
        const RECT& rc = CTestDriver::MessageBoxes().back().rcBox;
        EXPECT_GE(rc.left, 0);
        EXPECT_GE(rc.top, 0);
        EXPECT_LE(rc.right, screen.cx);
        EXPECT_LE(rc.bottom, screen.cy);
        EXPECT_GT(rc.bottom - rc.top, screen.cy / 2);   // as tall as the screen allows
    }
}

}
