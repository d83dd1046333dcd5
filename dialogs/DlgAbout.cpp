#include "dialogs/DlgAbout.h"

#include "dialogs/DialogCommon.h"
#include "platform/Translate.h"
#include "platform/ui/DC.h"
#include "platform/ui/DataExchange.h"
#include "res/AppResources.h"
#include "res/Resource.h"
#include "store/ServiceConfig.h"

#include <cwchar>

CDlgAbout::CDlgAbout(CWnd* pParent) : CDialog(IDD_ABOUT, pParent)
{
    m_bmpLogo.LoadBitmap(IDB_SERVICE_LOGO);
}

void CDlgAbout::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ABOUT_TEXT, m_editText);
    DDX_Control(pDX, IDC_ABOUT_CREDIT, m_staticCredit);
}

bool CDlgAbout::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!CDialogCommon::CreateMenuBar(this, m_commandBar, IDR_MENUBAR_ABOUT))
        return true;
    m_editText.SetWindowText(CAppResources::AboutText());
    m_editText.SetSel(-1, 0);
    ComposeCredit();
    return true;
}

void CDlgAbout::ComposeCredit()
{
    // Picture 162 holds the credit's first words in its top rows only; the name
    // goes into the white below, in one or two centred lines, cut with "…" when
    // even two are too few.
    const int nNameTop = 11;
    if (!m_bmpCredit.LoadBitmap(IDB_SERVICE_CREDIT))
        return;
    SIZE size = m_bmpCredit.GetSize();
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* pOldBitmap = dc.SelectObject(&m_bmpCredit);
    LOGFONT lf = {};
    lf.lfHeight = -9;
    lf.lfWeight = FW_BOLD;
    wcscpy(lf.lfFaceName, L"Sans");
    HFONT hFont = CreateFontIndirect(&lf);
    HFONT hOldFont = dc.SelectObject(hFont);
    const std::wstring strName = CServiceConfig().m_strName;
    RECT rcName = {0, nNameTop, size.cx, size.cy};
    RECT rcNeeded = rcName;
    int nHeight = dc.DrawText(strName, &rcNeeded, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
    if (nHeight < rcName.bottom - rcName.top)
        rcName.top += (rcName.bottom - rcName.top - nHeight) / 2;
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(28, 63, 140));
    dc.DrawText(strName, &rcName, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS);
    dc.SelectObject(hOldFont);
    DeleteObject(hFont);
    dc.SelectObject(pOldBitmap);
    m_staticCredit.SetBitmap(m_bmpCredit);
}

void CDlgAbout::OnOK()
{
    EndDialog(IDOK);
}

void CDlgAbout::OnCancel()
{
    OpenHomePage();
}

void CDlgAbout::OnClose()
{
    EndDialog(IDCANCEL);
}

bool CDlgAbout::PreTranslateMessage(MSG* pMsg)
{
    // Escape means "leave": it must not share the soft key's way to the web,
    // or a keyboard user goes round between the dialog and the browser.
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) {
        EndDialog(IDCANCEL);
        return true;
    }
    return CDialog::PreTranslateMessage(pMsg);
}

bool CDlgAbout::OnCommand(UINT nID, UINT nNotifyCode)
{
    if (nID == IDC_ABOUT_LOGO && nNotifyCode == BN_CLICKED) {
        OpenHomePage();
        return true;
    }
    return CDialog::OnCommand(nID, nNotifyCode);
}

void CDlgAbout::OnDrawItem(int nIDCtl, DRAWITEMSTRUCT* pDrawItem)
{
    if (nIDCtl != IDC_ABOUT_LOGO || !pDrawItem || !pDrawItem->pDC) {
        CDialog::OnDrawItem(nIDCtl, pDrawItem);
        return;
    }
    CDC dcMem;
    dcMem.CreateCompatibleDC(pDrawItem->pDC);
    CBitmap* pOld = dcMem.SelectObject(&m_bmpLogo);
    SIZE size = m_bmpLogo.GetSize();
    pDrawItem->pDC->BitBlt(0, 0, size.cx, size.cy, &dcMem, 0, 0, SRCCOPY);
    dcMem.SelectObject(pOld);
}

void CDlgAbout::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    CDialogCommon::PlaceHeading(this, cx, 14);
    if (CWnd* pText = GetDlgItem(IDC_ABOUT_TEXT))
        pText->MoveWindow(5, 25, cx - 10, cy - 80);
    if (CWnd* pLogo = GetDlgItem(IDC_ABOUT_LOGO))
        pLogo->MoveWindow(cx - 61, cy - 49, 56, 44);
    if (CWnd* pCredit = GetDlgItem(IDC_ABOUT_CREDIT))
        pCredit->MoveWindow(cx - 141, cy - 43, 70, 32);
    // No text shows selected after a turn of the screen.
    if (auto* pText = static_cast<CEdit*>(GetDlgItem(IDC_ABOUT_TEXT)))
        pText->SetSel(-1, 0);
}

void CDlgAbout::OpenHomePage()
{
    CDialogCommon::OpenHomePage(this, Tr("About Cirrovan"));
}
