#include "platform/Resources.h"
#include "platform/testing/TestDriver.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/DeviceScreen.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/PaintDC.h"
#include "platform/ui/ScrollBar.h"

#include <QString>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const UINT IDD_MESSAGE_POPUP = 60600, IDD_MESSAGE_PAGE = 60601, IDD_INNER = 60602, IDD_PAINTS = 60603;
const UINT IDC_MESSAGE = 1005, IDC_STATUS = 1008, IDC_BAR = 1010, IDC_PATCH = 1011;

// As the download dialog: control 1005 is a hidden edit whose rectangle the
// dialog paints its message into.
const DLGITEMTEMPLATE s_messageItems[] = {
    {IDC_MESSAGE, CTL_EDIT, WS_CHILD | ES_MULTILINE | ES_READONLY, nullptr, 6, 6, 132, 25, 0},
    {IDC_STATUS, CTL_STATIC, WS_CHILD | WS_VISIBLE, L"Download...", 6, 35, 132, 8, 0},
};
const DLGTEMPLATE s_messagePopup = {IDD_MESSAGE_POPUP, L"Download", WS_POPUP | WS_CAPTION, 143, 94, s_messageItems, 2};
const DLGTEMPLATE s_messagePage = {IDD_MESSAGE_PAGE, L"Page", 0, 143, 94, s_messageItems, 2};
const DLGTEMPLATE s_inner = {IDD_INNER, L"Inner", WS_POPUP | WS_CAPTION, 80, 30, nullptr, 0};
const DLGITEMTEMPLATE s_paintItems[] = {
    {IDC_BAR, CTL_SCROLLBAR, WS_CHILD | WS_VISIBLE | SBS_HORZ, nullptr, 6, 120, 126, 8, 0},
};
const DLGTEMPLATE s_paints = {IDD_PAINTS, L"Paints", 0, 160, 164, s_paintItems, 1};

std::string ShotPath(const char* pszName)
{
    return testing::TempDir() + pszName;
}

bool Screenshot(const std::string& path, CBitmap& shot)
{
    std::wstring wpath(path.begin(), path.end());
    bool ok = CTestDriver::SaveScreenshot(wpath) && shot.LoadPng(wpath);
    std::remove(path.c_str());
    return ok;
}

// Paints its message into the hidden control's rectangle; at its first paint it
// may start a modal dialog, after that paint.
class CMessageDlg : public CDialog
{
public:
    explicit CMessageDlg(UINT nID) : CDialog(nID) {}
    void OnPaint() override
    {
        CPaintDC dc(this);
        RECT rc;
        GetDlgItem(IDC_MESSAGE)->GetWindowRect(&rc);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(RGB(0, 0, 160));
        dc.DrawText(L"Search daily forecasts for Oslo and the towns around it", &rc, DT_WORDBREAK);
        ++m_nPaints;
        if (m_bStartPending) {
            m_bStartPending = false;
            RunAfterPaint([this]() { StartInner(); });
        }
    }
    void StartInner()
    {
        m_nPaintsBeforeStart = m_nPaints;
        CDialog inner(IDD_INNER, this);
        CTestDriver::OnDialogOpen(IDD_INNER, [this](CDialog* pInner) {
            // The outer dialog's paint is on the screen under the inner one.
            CBitmap shot;
            ASSERT_TRUE(Screenshot(ShotPath("cirrovan_first_paint.png"), shot));
            for (int y = 0; y < shot.GetSize().cy; ++y)
                for (int x = 0; x < shot.GetSize().cx; ++x)
                    m_nInkUnderInner += shot.GetPixel(x, y) == RGB(0, 0, 160) ? 1 : 0;
            pInner->UpdateWindow();
            UpdateWindow();
            pInner->EndDialog(5);
        });
        m_nInnerResult = inner.DoModal();
        EndDialog(IDOK);
    }
    int m_nPaints = 0;
    bool m_bStartPending = false;
    int m_nPaintsBeforeStart = -1;
    int m_nInnerResult = 0;
    int m_nInkUnderInner = 0;
};

// A window that first paints itself red, then draws copies, a fill and text
// that leave parts of it to the erase.
class CPatchWnd : public CWnd
{
public:
    static const int kWidth = 80, kHeight = 60;

    CPatchWnd()
    {
        m_source.CreateBitmap(20, 10);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 20; ++x)
                m_source.SetPixel(x, y, RGB(x * 12, y * 25, 200));
    }
    void OnPaint() override
    {
        CPaintDC dc(this);
        Draw(&dc);
    }
    void Draw(CDC* pDC)
    {
        if (!m_bPatches) {
            pDC->FillSolidRect(0, 0, kWidth, kHeight, RGB(255, 0, 0));
            return;
        }
        CDC source;
        source.SelectObject(&m_source);
        pDC->BitBlt(5, 5, 20, 10, &source, 0, 0, SRCCOPY);
        pDC->FillSolidRect(30, 0, 10, 40, RGB(0, 160, 0));
        pDC->BitBlt(12, 9, 20, 10, &source, 0, 0, SRCCOPY);   // over the first copy and the fill
        pDC->BitBlt(70, 50, 20, 10, &source, 0, 0, SRCCOPY);  // partly beyond the window
        RECT rc = {0, 30, kWidth, kHeight};
        pDC->SetBkMode(TRANSPARENT);
        pDC->DrawText(L"Erase", &rc, DT_LEFT);
        pDC->BitBlt(50, 35, 20, 10, &source, 0, 0, SRCCOPY);  // after the text
        source.SelectObject(static_cast<CBitmap*>(nullptr));
    }
    CBitmap m_source;
    bool m_bPatches = false;
};

class CPaintsDlg : public CDialog
{
public:
    CPaintsDlg() : CDialog(IDD_PAINTS) {}
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_BAR, m_bar); }
    CScrollBar m_bar;
};

// A part of the screen as the user sees it, in the dialog's coordinates.
std::vector<COLORREF> PaintedPixels(CDialog* pDlg, const RECT& rc)
{
    CBitmap shot;
    std::vector<COLORREF> pixels;
    if (!CTestDriver::GrabPaintedWindow(shot))
        return pixels;
    RECT outer;
    pDlg->GetWindowRect(&outer);
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            pixels.push_back(shot.GetPixel(outer.left + x, outer.top + y));
    return pixels;
}

class PaintTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (const DLGTEMPLATE* t : {&s_messagePopup, &s_messagePage, &s_inner, &s_paints})
            CResources::AddDialog(t);
        CTestDriver::Install();
        // The screen shown as it is, whatever the desktop: what its paints
        // leave is read from its own window.
        CDeviceScreen::Get().SetZoom(1);
        CDeviceScreen::Get().SetOrientation(DMDO_0);
    }
    void TearDown() override { CTestDriver::Uninstall(); }
};

TEST_F(PaintTest, AHiddenControlStaysHiddenAndLendsItsRectangle)
{
    for (UINT nID : {IDD_MESSAGE_POPUP, IDD_MESSAGE_PAGE}) {
        SCOPED_TRACE(nID);
        CMessageDlg dlg(nID);
        CTestDriver::OnDialogOpen(nID, [&](CDialog* pDlg) {
            CWnd* pMessage = pDlg->GetDlgItem(IDC_MESSAGE);
            ASSERT_NE(pMessage, nullptr);
            EXPECT_FALSE(pMessage->IsWindowVisible());
            EXPECT_TRUE(pDlg->GetDlgItem(IDC_STATUS)->IsWindowVisible());
            RECT rc;
            pMessage->GetWindowRect(&rc);
            EXPECT_EQ(rc.left, 9);      // 6 units
            EXPECT_EQ(rc.top, 10);      // 6 units: 9.75
            EXPECT_EQ(rc.right, 9 + 198);
            EXPECT_EQ(rc.bottom, 10 + 41);

            // Only the painted message shows there: text, no edit box.
            CBitmap shot;
            ASSERT_TRUE(Screenshot(ShotPath("cirrovan_hidden.png"), shot));
            RECT outer;
            pDlg->GetWindowRect(&outer);
            const int x0 = outer.left + (nID == IDD_MESSAGE_POPUP ? 1 : 0);
            const int y0 = outer.top + (nID == IDD_MESSAGE_POPUP ? 19 : 0);
            int ink = 0, other = 0;
            for (int y = rc.top; y < rc.bottom; ++y)
                for (int x = rc.left; x < rc.right; ++x) {
                    COLORREF cr = shot.GetPixel(x0 + x, y0 + y);
                    if (cr == RGB(0, 0, 160))
                        ++ink;
                    else if (cr != RGB(255, 255, 255))
                        ++other;
                }
            EXPECT_GT(ink, 50);
            EXPECT_EQ(other, 0);
            EXPECT_GE(dlg.m_nPaints, 1);

            pMessage->ShowWindow(SW_SHOW);
            EXPECT_TRUE(pMessage->IsWindowVisible());
            pDlg->EndDialog(IDOK);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
    }
}

std::vector<std::string> g_qtMessages;

void CaptureQtMessage(QtMsgType, const QMessageLogContext&, const QString& message)
{
    g_qtMessages.push_back(message.toStdString());
}

TEST_F(PaintTest, ADialogStartedAtTheFirstPaintStartsAfterThatPaint)
{
    g_qtMessages.clear();
    QtMessageHandler previous = qInstallMessageHandler(CaptureQtMessage);
    CMessageDlg dlg(IDD_MESSAGE_POPUP);
    dlg.m_bStartPending = true;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    qInstallMessageHandler(previous);

    EXPECT_EQ(dlg.m_nInnerResult, 5);
    EXPECT_EQ(dlg.m_nPaintsBeforeStart, 1);
    // The first paint was finished and shown before the inner dialog opened.
    EXPECT_GT(dlg.m_nInkUnderInner, 50);
    for (const std::string& message : g_qtMessages)
        EXPECT_EQ(message.find("Recursive repaint"), std::string::npos) << message;
    for (const std::string& message : g_qtMessages)
        EXPECT_EQ(message.find("paintEngine"), std::string::npos) << message;
}

TEST_F(PaintTest, DialogsSetTheScreensIconFromTheIconResources)
{
    // An icon of two sizes, made here as the resource library's would be.
    static std::vector<unsigned char> pngs[2];
    const int sizes[2] = {16, 32};
    for (int i = 0; i < 2; ++i) {
        CBitmap bmp;
        bmp.CreateBitmap(sizes[i], sizes[i]);
        for (int y = 0; y < sizes[i]; ++y)
            for (int x = 0; x < sizes[i]; ++x)
                bmp.SetPixel(x, y, i == 0 ? RGB(255, 0, 0) : RGB(0, 0, 255));
        std::string path = ShotPath("cirrovan_icon.png");
        ASSERT_TRUE(bmp.SavePng(std::wstring(path.begin(), path.end())));
        std::ifstream in(path, std::ios::binary);
        pngs[i].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        std::remove(path.c_str());
        CResources::AddIcon(60700, sizes[i], pngs[i].data(), pngs[i].size());
    }
    HICON hIcon = LoadIcon(60700);
    ASSERT_NE(hIcon, nullptr);
    EXPECT_EQ(LoadIcon(60700), hIcon);   // shared
    EXPECT_EQ(LoadIcon(60701), nullptr);

    CMessageDlg dlg(IDD_MESSAGE_PAGE);
    CTestDriver::OnDialogOpen(IDD_MESSAGE_PAGE, [&](CDialog* pDlg) {
        EXPECT_EQ(pDlg->SetIcon(hIcon, true), nullptr);
        EXPECT_EQ(pDlg->SetIcon(hIcon, false), nullptr);
        EXPECT_EQ(pDlg->GetIcon(true), hIcon);
        // The desktop gets the picture of each size.
        for (int i = 0; i < 2; ++i) {
            std::string path = ShotPath("cirrovan_window_icon.png");
            std::wstring wpath(path.begin(), path.end());
            ASSERT_TRUE(CTestDriver::SaveWindowIcon(wpath, sizes[i]));
            CBitmap icon;
            ASSERT_TRUE(icon.LoadPng(wpath));
            std::remove(path.c_str());
            EXPECT_EQ(icon.GetSize().cx, sizes[i]);
            EXPECT_EQ(icon.GetPixel(sizes[i] / 2, sizes[i] / 2), i == 0 ? RGB(255, 0, 0) : RGB(0, 0, 255));
        }
        pDlg->EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

}

namespace {

TEST_F(PaintTest, APaintErasesWhiteWhatItsDrawingsLeaveAndNothingTheyCover)
{
    CDialog dlg(IDD_MESSAGE_PAGE);
    CTestDriver::OnDialogOpen(IDD_MESSAGE_PAGE, [&](CDialog*) {
        CPatchWnd patch;
        const RECT rc = {10, 10, 10 + CPatchWnd::kWidth, 10 + CPatchWnd::kHeight};
        EXPECT_TRUE(patch.Create(WS_CHILD | WS_VISIBLE, rc, &dlg, IDC_PATCH));
        CTestDriver::ProcessEvents();
        EXPECT_EQ(PaintedPixels(&dlg, rc), std::vector<COLORREF>(CPatchWnd::kWidth * CPatchWnd::kHeight, RGB(255, 0, 0)));

        // What the same drawings make of a white picture.
        CBitmap expected;
        expected.CreateBitmap(CPatchWnd::kWidth, CPatchWnd::kHeight);
        CDC dc;
        dc.SelectObject(&expected);
        dc.FillSolidRect(0, 0, CPatchWnd::kWidth, CPatchWnd::kHeight, RGB(255, 255, 255));
        patch.m_bPatches = true;
        patch.Draw(&dc);
        dc.SelectObject(static_cast<CBitmap*>(nullptr));
        std::vector<COLORREF> expectedPixels;
        for (int y = 0; y < CPatchWnd::kHeight; ++y)
            for (int x = 0; x < CPatchWnd::kWidth; ++x)
                expectedPixels.push_back(expected.GetPixel(x, y));

        patch.Invalidate(true);
        EXPECT_EQ(PaintedPixels(&dlg, rc), expectedPixels);
        dlg.EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST_F(PaintTest, TheScrollBarsThumbOnScreenFollowsEveryPosition)
{
    CPaintsDlg dlg;
    CTestDriver::OnDialogOpen(IDD_PAINTS, [&](CDialog*) {
        RECT rc;
        dlg.m_bar.GetWindowRect(&rc);
        dlg.m_bar.SetScrollRange(0, 300);
        std::vector<COLORREF> first;
        // Steps of one position (the thumb mostly stays), jumps, and back.
        for (int nPos : {0, 1, 2, 3, 4, 5, 6, 40, 41, 150, 299, 300, 300, 120, 7, 0}) {
            SCOPED_TRACE(nPos);
            dlg.m_bar.SetScrollPos(nPos);
            const std::vector<COLORREF> stepped = PaintedPixels(&dlg, rc);
            EXPECT_FALSE(stepped.empty());
            dlg.m_bar.Invalidate(true);
            EXPECT_EQ(stepped, PaintedPixels(&dlg, rc));
            if (first.empty()) {
                first = stepped;
            } else if (nPos == 300) {
                EXPECT_NE(stepped, first);
            }
        }
        dlg.EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

}
