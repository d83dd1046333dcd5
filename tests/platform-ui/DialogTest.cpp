#include "platform/Resources.h"
#include "platform/testing/TestDriver.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Button.h"
#include "platform/ui/CommandBar.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/DeviceScreen.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ScrollBar.h"
#include "platform/ui/PaintDC.h"

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const UINT IDD_FORM = 60100;
const UINT IDD_POPUP = 60101;
const UINT IDR_FORM_BAR = 60102;
const UINT IDC_NAME = 2001, IDC_CHECK = 2002, IDC_RADIO1 = 2003, IDC_RADIO2 = 2004, IDC_RADIO3 = 2005;
const UINT IDC_SCROLL = 2006;
const UINT WM_PING = WM_USER + 7;

const DWORD kChild = WS_CHILD | WS_VISIBLE;
const DLGITEMTEMPLATE s_formItems[] = {
    {IDC_NAME, CTL_EDIT, kChild | WS_BORDER, L"", 5, 5, 100, 12, 0},
    {IDC_CHECK, CTL_BUTTON, kChild | BS_AUTOCHECKBOX, L"Tick", 5, 20, 60, 10, 0},
    {IDC_RADIO1, CTL_BUTTON, kChild | WS_GROUP | BS_AUTORADIOBUTTON | BS_PUSHLIKE, L"1", 5, 35, 16, 15, 0},
    {IDC_RADIO2, CTL_BUTTON, kChild | BS_AUTORADIOBUTTON | BS_PUSHLIKE, L"2", 22, 35, 16, 15, 0},
    {IDC_RADIO3, CTL_BUTTON, kChild | BS_AUTORADIOBUTTON | BS_PUSHLIKE, L"3", 39, 35, 16, 15, 0},
    {IDC_SCROLL, CTL_SCROLLBAR, kChild | SBS_HORZ, nullptr, 5, 60, 100, 8, 0},
};
const DLGTEMPLATE s_form = {IDD_FORM, L"Form", 0, 160, 164, s_formItems, 6};
const DLGTEMPLATE s_popup = {IDD_POPUP, L"Working", WS_POPUP | WS_CAPTION, 100, 50, nullptr, 0};
// Controls that take no input come before the one that does.
const UINT IDD_LATE_FIELD = 60103;
const UINT IDC_LABEL = 2010, IDC_PUSH = 2011, IDC_SHOWN_TEXT = 2012, IDC_OFF_FIELD = 2013, IDC_FIELD = 2014;
const DLGITEMTEMPLATE s_lateFieldItems[] = {
    {IDC_LABEL, CTL_STATIC, kChild, L"Name :", 5, 5, 30, 8, 0},
    {IDC_PUSH, CTL_BUTTON, kChild, L"?", 40, 5, 14, 14, 0},
    {IDC_SHOWN_TEXT, CTL_EDIT, kChild | ES_MULTILINE | ES_READONLY, L"Read me", 5, 20, 100, 20, 0},
    {IDC_OFF_FIELD, CTL_EDIT, kChild | WS_DISABLED, L"", 5, 45, 100, 12, 0},
    {IDC_FIELD, CTL_EDIT, kChild, L"", 5, 60, 100, 12, 0},
};
const DLGTEMPLATE s_lateField = {IDD_LATE_FIELD, L"Late field", 0, 160, 164, s_lateFieldItems, 5};
const MENUBARTEMPLATE s_formBar = {IDR_FORM_BAR, 0, {{IDOK, 11, -1}, {IDCANCEL, 15, -1}}, 2};

class CFormDlg : public CDialog
{
public:
    explicit CFormDlg(UINT nID = IDD_FORM) : CDialog(nID) {}

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_NAME, m_strName);
        DDX_Check(pDX, IDC_CHECK, m_nCheck);
        DDX_Radio(pDX, IDC_RADIO1, m_nRadio);
        DDX_Control(pDX, IDC_SCROLL, m_scroll);
    }
    bool OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_bar.Create(this);
        m_bar.InsertMenuBar(IDR_FORM_BAR);
        m_scroll.SetScrollRange(0, 50);
        return true;
    }
    void OnOK() override
    {
        UpdateData(true);
        if (m_strName.empty()) {
            MessageBox(L"Please enter a name.", L"Form", MB_ICONEXCLAMATION);
            return;
        }
        EndDialog(IDOK);
    }
    void OnSize(UINT, int cx, int cy) override { m_sizes.push_back(SIZE{cx, cy}); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PING) {
            m_pings.push_back(static_cast<int>(wParam));
            return static_cast<LRESULT>(wParam) * 2;
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }
    bool PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_UP || pMsg->wParam == VK_NUMPAD0 + 3)) {
            m_keys.push_back(static_cast<UINT>(pMsg->wParam));
            return true;
        }
        return false;
    }
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override
    {
        int p = pScrollBar->GetScrollPos();
        if (nSBCode == SB_LINERIGHT)
            p += 10;
        else if (nSBCode == SB_THUMBTRACK)
            p = static_cast<int>(nPos);
        pScrollBar->SetScrollPos(p);
    }

    std::wstring m_strName;
    int m_nCheck = 1;
    int m_nRadio = 1;
    CScrollBar m_scroll;
    CCommandBar m_bar;
    std::vector<SIZE> m_sizes;
    std::vector<int> m_pings;
    std::vector<UINT> m_keys;
};

class DialogTest : public testing::Test
{
protected:
    void SetUp() override
    {
        CResources::AddDialog(&s_form);
        CResources::AddDialog(&s_popup);
        CResources::AddDialog(&s_lateField);
        CResources::AddMenuBar(&s_formBar);
        CResources::AddString(11, L"Ok");
        CResources::AddString(15, L"Cancel");
        CTestDriver::Install();
        CDeviceScreen::Get().SetOrientation(DMDO_0);
    }
    void TearDown() override
    {
        CDeviceScreen::Get().SetOrientation(DMDO_0);
        CTestDriver::Uninstall();
    }
};

TEST_F(DialogTest, DialogUnitsBecomePixelsWithTheDeviceBaseUnits)
{
    RECT rc;
    DialogUnitsToPixels(0, 0, 160, 164, rc);
    EXPECT_EQ(rc.right, 240);
    EXPECT_EQ(rc.bottom, 267);
    DialogUnitsToPixels(5, 17, 154, 116, rc);
    EXPECT_EQ(rc.left, 8);   // 7.5 rounds up
    EXPECT_EQ(rc.top, 28);   // 27.625
    EXPECT_EQ(rc.right - rc.left, 231);
    EXPECT_EQ(rc.bottom - rc.top, 189);   // 188.5

    // A captioned pop-up keeps its template size, centred over the screen.
    CDialog popup(IDD_POPUP);
    CTestDriver::OnDialogOpen(IDD_POPUP, [](CDialog* pDlg) {
        RECT client, frame;
        pDlg->GetClientRect(&client);
        EXPECT_EQ(client.right, 150);
        EXPECT_EQ(client.bottom, 81);
        EXPECT_FALSE(CTestDriver::IsDoneButtonShown());
        pDlg->GetWindowRect(&frame);   // the whole pop-up with its border and caption
        EXPECT_EQ(frame.right - frame.left, 152);
        EXPECT_EQ(frame.bottom - frame.top, 81 + 18 + 2);
        EXPECT_EQ(frame.left, (240 - 152) / 2);
        EXPECT_EQ(frame.top, (320 - 101) / 2);
        pDlg->EndDialog(42);
    });
    EXPECT_EQ(popup.DoModal(), 42);
}

TEST_F(DialogTest, FullScreenDialogTurnsWithTheScreen)
{
    CFormDlg dlg;
    CTestDriver::OnDialogOpen(IDD_FORM, [&](CDialog* pDlg) {
        ASSERT_GE(dlg.m_sizes.size(), 2u);
        // First the template's size, then full screen.
        EXPECT_EQ(dlg.m_sizes.front().cx, 240);
        EXPECT_EQ(dlg.m_sizes.front().cy, 267);
        EXPECT_EQ(dlg.m_sizes.back().cx, 240);
        EXPECT_EQ(dlg.m_sizes.back().cy, 268);
        EXPECT_EQ(CTestDriver::GetTitle(), L"Form");
        pDlg->SetWindowText(L"Form 2");
        EXPECT_EQ(CTestDriver::GetTitle(), L"Form 2");
        EXPECT_EQ(pDlg->GetWindowText(), L"Form 2");
        if (const char* folder = std::getenv("CIRROVAN_SHOTS")) {
            std::string path = std::string(folder) + "/form.png";
            CTestDriver::SaveScreenshot(std::wstring(path.begin(), path.end()));
        }
        for (int code : {DMDO_90, DMDO_180, DMDO_270, DMDO_0}) {
            CDeviceScreen::Get().SetOrientation(code);
            EXPECT_EQ(GetDisplayOrientation(), code);
            bool landscape = code == DMDO_90 || code == DMDO_270;
            EXPECT_EQ(dlg.m_sizes.back().cx, landscape ? 320 : 240);
            EXPECT_EQ(dlg.m_sizes.back().cy, landscape ? 188 : 268);
        }
        EXPECT_FALSE(CDeviceScreen::Get().SetOrientation(3));
        EXPECT_EQ(GetDisplayOrientation(), DMDO_0);
        // The user resizing the window lays everything out again.
        CDeviceScreen::Get().Resize(300, 400);
        EXPECT_EQ(dlg.m_sizes.back().cx, 300);
        EXPECT_EQ(dlg.m_sizes.back().cy, 348);
        CDeviceScreen::Get().Resize(240, 320);
        pDlg->EndDialog(IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(DialogTest, RefusedOkKeepsTheDialogOpenAndDataComesBack)
{
    CFormDlg dlg;
    CTestDriver::OnDialogOpen(IDD_FORM, [&](CDialog* pDlg) {
        // Members went to the controls at initialisation.
        EXPECT_EQ(static_cast<CButton*>(pDlg->GetDlgItem(IDC_CHECK))->GetCheck(), BST_CHECKED);
        EXPECT_EQ(static_cast<CButton*>(pDlg->GetDlgItem(IDC_RADIO2))->GetCheck(), BST_CHECKED);
        CTestDriver::TapDoneButton();
        ASSERT_EQ(CTestDriver::MessageBoxes().size(), 1u);
        const MESSAGEBOXCALL& call = CTestDriver::MessageBoxes()[0];
        EXPECT_EQ(call.strText, L"Please enter a name.");
        EXPECT_EQ(call.strCaption, L"Form");
        EXPECT_EQ(call.nType, MB_ICONEXCLAMATION);
        EXPECT_EQ(CTestDriver::GetActiveDialog(), pDlg);

        pDlg->GetDlgItem(IDC_NAME)->SetWindowText(L"Oslo");
        CTestDriver::Tap(IDC_CHECK);
        CTestDriver::Tap(IDC_RADIO3);
        CTestDriver::Tap(IDC_RADIO1);   // one button of the group at a time
        CTestDriver::PressSoftKey(0);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strName, L"Oslo");
    EXPECT_EQ(dlg.m_nCheck, 0);
    EXPECT_EQ(dlg.m_nRadio, 0);
}

// What the user types at once goes into the first control that takes input,
// without a tap on it.
TEST_F(DialogTest, TheFocusStartsOnTheFirstControlThatTakesInput)
{
    const struct
    {
        UINT nTemplate;
        UINT nField;
    } cases[] = {{IDD_FORM, IDC_NAME}, {IDD_LATE_FIELD, IDC_FIELD}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nTemplate);
        CDialog dlg(c.nTemplate);
        std::wstring strTyped;
        CTestDriver::OnDialogOpen(c.nTemplate, [&](CDialog* pDlg) {
            EXPECT_EQ(CWnd::GetFocus(), pDlg->GetDlgItem(c.nField));
            for (UINT vk : {'O', 'S', 'L', 'O'})
                CTestDriver::PressKey(vk);
            strTyped = pDlg->GetDlgItem(c.nField)->GetWindowText();
            pDlg->EndDialog(IDCANCEL);
        });
        dlg.DoModal();
        EXPECT_EQ(strTyped, L"oslo");
    }
}

TEST_F(DialogTest, MessageBoxesShowTheirTextAndAnswerWithTheirButtons)
{
    CFormDlg dlg;
    dlg.m_strName = L"x";
    std::string path = testing::TempDir() + "cirrovan_box.png";
    const std::wstring wpath(path.begin(), path.end());
    CTestDriver::OnDialogOpen(IDD_FORM, [&](CDialog* pDlg) {
        CTestDriver::AnswerNextMessageBox(IDNO);
        CTestDriver::ShowNextMessageBox(wpath);
        EXPECT_EQ(pDlg->MessageBox(L"Delete station USNY0996 (New York) ?", L"Delete station",
                                   MB_YESNO | MB_ICONQUESTION), IDNO);
        // Unscripted boxes get the answer that changes nothing.
        EXPECT_EQ(pDlg->MessageBox(L"Sure?", L"Cirrovan", MB_OKCANCEL | MB_ICONEXCLAMATION), IDCANCEL);
        pDlg->EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(CTestDriver::MessageBoxes().size(), 2u);
    EXPECT_TRUE(CTestDriver::MessageBoxes()[0].bScripted);
    EXPECT_FALSE(CTestDriver::MessageBoxes()[1].bScripted);
    CBitmap shot;
    ASSERT_TRUE(shot.LoadPng(wpath));
    // The box is centred over the screen with the page's title bar still above it.
    EXPECT_EQ(shot.GetPixel(120, 160), RGB(255, 255, 255));
    if (const char* folder = std::getenv("CIRROVAN_SHOTS"))
        std::rename(path.c_str(), (std::string(folder) + "/message-box.png").c_str());
    else
        std::remove(path.c_str());
}

TEST_F(DialogTest, RadioGroupWithNonePressedReadsMinusOne)
{
    CFormDlg dlg;
    dlg.m_nRadio = 2;
    dlg.m_strName = L"x";
    CTestDriver::OnDialogOpen(IDD_FORM, [](CDialog* pDlg) {
        EXPECT_EQ(static_cast<CButton*>(pDlg->GetDlgItem(IDC_RADIO3))->GetCheck(), BST_CHECKED);
        pDlg->EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nRadio, 2);   // ended without OnOK: nothing was read back

    dlg.m_nRadio = -1;
    CTestDriver::OnDialogOpen(IDD_FORM, [](CDialog* pDlg) {
        for (UINT id : {IDC_RADIO1, IDC_RADIO2, IDC_RADIO3})
            EXPECT_EQ(static_cast<CButton*>(pDlg->GetDlgItem(id))->GetCheck(), BST_UNCHECKED);
        CTestDriver::PressKey(VK_RETURN);   // Enter is the dialog's OK
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nRadio, -1);
}

TEST_F(DialogTest, NestedModalDialogsReturnTheirResultsInOrder)
{
    std::vector<std::string> order;
    CFormDlg outer;
    CTestDriver::OnDialogOpen(IDD_FORM, [&](CDialog* pOuter) {
        CDialog middle(IDD_POPUP, pOuter);
        CTestDriver::OnDialogOpen(IDD_POPUP, [&](CDialog* pMiddle) {
            // The page underneath takes no input while a dialog is over it.
            EXPECT_FALSE(pOuter->IsWindowEnabled());
            CDialog inner(IDD_POPUP, pMiddle);
            CTestDriver::OnDialogOpen(IDD_POPUP, [&](CDialog* pInner) { pInner->EndDialog(3); });
            order.push_back("inner " + std::to_string(inner.DoModal()));
            EXPECT_EQ(CTestDriver::GetActiveDialog(), pMiddle);
            pMiddle->EndDialog(2);
        });
        order.push_back("middle " + std::to_string(middle.DoModal()));
        EXPECT_TRUE(pOuter->IsWindowEnabled());
        EXPECT_EQ(CTestDriver::GetActiveDialog(), pOuter);
        pOuter->EndDialog(1);
    });
    order.push_back("outer " + std::to_string(outer.DoModal()));
    EXPECT_EQ(order, (std::vector<std::string>{"inner 3", "middle 2", "outer 1"}));
    EXPECT_EQ(CTestDriver::GetActiveDialog(), nullptr);
}

TEST_F(DialogTest, MessagesKeysAndScrollingReachTheDialog)
{
    CFormDlg dlg;
    dlg.m_strName = L"x";
    CTestDriver::OnDialogOpen(IDD_FORM, [&](CDialog* pDlg) {
        EXPECT_EQ(pDlg->SendMessage(WM_PING, 21, 0), 42);
        pDlg->PostMessage(WM_PING, 5, 0);
        EXPECT_EQ(dlg.m_pings.size(), 1u);   // posted: not yet
        CTestDriver::ProcessEvents();
        EXPECT_EQ(dlg.m_pings, (std::vector<int>{21, 5}));

        CTestDriver::PressKey(VK_UP);
        CTestDriver::PressKey(VK_NUMPAD0 + 3);
        CTestDriver::PressKey('7');   // not taken: no effect
        EXPECT_EQ(dlg.m_keys, (std::vector<UINT>{VK_UP, VK_NUMPAD0 + 3}));

        // The scroll bar keeps its position within the range.
        dlg.m_scroll.SetScrollPos(45);
        dlg.OnHScroll(SB_LINERIGHT, 0, &dlg.m_scroll);
        EXPECT_EQ(dlg.m_scroll.GetScrollPos(), 50);
        dlg.m_scroll.SetScrollPos(-5);
        EXPECT_EQ(dlg.m_scroll.GetScrollPos(), 0);
        CTestDriver::PressSoftKey(1);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

// A child window drawn by its class, as the chart is.
class CCanvas : public CWnd
{
public:
    void OnPaint() override
    {
        CPaintDC dc(this);
        dc.FillSolidRect(0, 0, 10, 10, RGB(0, 0, 255));
        ++m_nPaints;
    }
    void OnLButtonDown(UINT, POINT pt) override
    {
        m_points.push_back(pt);
        SetCapture();
    }
    void OnMouseMove(UINT, POINT pt) override
    {
        if (GetCapture() == this)
            m_points.push_back(pt);
    }
    void OnLButtonUp(UINT, POINT pt) override
    {
        m_points.push_back(pt);
        ReleaseCapture();
    }
    int m_nPaints = 0;
    std::vector<POINT> m_points;
};

TEST_F(DialogTest, ChildWindowsPaintAndFollowTheStylus)
{
    CFormDlg dlg;
    dlg.m_strName = L"x";
    CCanvas canvas;
    CTestDriver::OnDialogOpen(IDD_FORM, [&](CDialog* pDlg) {
        ASSERT_TRUE(canvas.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, RECT{0, 100, 200, 200}, pDlg, 1000));
        EXPECT_EQ(pDlg->GetDlgItem(1000), &canvas);
        // The border takes a pixel on every side of the client area.
        RECT client, window;
        canvas.GetClientRect(&client);
        canvas.GetWindowRect(&window);
        EXPECT_EQ(client.right, 198);
        EXPECT_EQ(client.bottom, 98);
        EXPECT_EQ(window.top, 100);
        EXPECT_EQ(window.right, 200);
        CTestDriver::Drag(&canvas, POINT{100, 50}, POINT{50, 50}, 5);
        ASSERT_EQ(canvas.m_points.size(), 7u);
        EXPECT_EQ(canvas.m_points[0].x, 100);
        EXPECT_EQ(canvas.m_points[3].x, 70);
        EXPECT_EQ(canvas.m_points.back().x, 50);
        EXPECT_EQ(CWnd::GetCapture(), nullptr);
        canvas.Invalidate();
        std::string path = testing::TempDir() + "cirrovan_screen.png";
        EXPECT_TRUE(CTestDriver::SaveScreenshot(std::wstring(path.begin(), path.end())));
        EXPECT_GE(canvas.m_nPaints, 1);
        CBitmap shot;
        ASSERT_TRUE(shot.LoadPng(std::wstring(path.begin(), path.end())));
        EXPECT_EQ(shot.GetSize().cx, 240);
        EXPECT_EQ(shot.GetSize().cy, 320);
        // The canvas's blue square, below the title bar and inside its black border.
        EXPECT_EQ(shot.GetPixel(0, 26 + 100), RGB(0, 0, 0));
        EXPECT_EQ(shot.GetPixel(1, 26 + 101), RGB(0, 0, 255));
        EXPECT_EQ(shot.GetPixel(10, 26 + 110), RGB(0, 0, 255));
        EXPECT_EQ(shot.GetPixel(11, 26 + 111), RGB(255, 255, 255));
        std::remove(path.c_str());
        pDlg->EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_FALSE(canvas.IsWindow());
}

}
