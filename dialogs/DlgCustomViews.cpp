#include "dialogs/DlgCustomViews.h"

#include "dialogs/DialogCommon.h"
#include "model/WeatherData.h"
#include "platform/ui/Button.h"
#include "platform/ui/DataExchange.h"
#include "res/Resource.h"
#include "settings/CustomViewRules.h"

namespace {

CButton* Button(CWnd* pDlg, UINT nID)
{
    return static_cast<CButton*>(pDlg->GetDlgItem(nID));
}

// Which row a control belongs to, when it is one of a row's nID..nID + 2.
bool RowOf(UINT nID, UINT nFirstID, int& nSeries)
{
    if (nID < nFirstID || nID >= nFirstID + SERIES_COUNT)
        return false;
    nSeries = static_cast<int>(nID - nFirstID);
    return true;
}

}

CDlgCustomViews::CDlgCustomViews(CWeatherData& data, CWnd* pParent)
    : CDialog(IDD_CUSTOM_VIEWS, pParent), m_data(data), m_nView(0)
{
}

bool CDlgCustomViews::OnCommand(UINT nID, UINT nNotifyCode)
{
    if (nNotifyCode == BN_CLICKED) {
        int s = 0;
        if (nID >= IDC_VIEW1 && nID <= IDC_VIEW3) {
            UpdateData(true);
            if (m_nView >= 0 && m_nView <= 2)
                m_data.m_settings.m_nCurrentView = m_nView;
            ShowRows();
            return true;
        }
        if (RowOf(nID, IDC_SERIES_DISPLAY, s)) {
            CButton* pBox = Button(this, nID);
            CCustomViewRules::SetDisplay(CurrentView(), s, pBox && pBox->GetCheck() == BST_CHECKED);
            ShowRows();
        } else if (RowOf(nID, IDC_SERIES_LEFT, s)) {
            CCustomViewRules::SetSide(CurrentView(), s, true);
            ShowRows();
        } else if (RowOf(nID, IDC_SERIES_RIGHT, s)) {
            CCustomViewRules::SetSide(CurrentView(), s, false);
            ShowRows();
        } else if (RowOf(nID, IDC_SERIES_FIRST, s)) {
            CCustomViewRules::MakeFirst(CurrentView(), s);
            ShowRows();
        }
    }
    return CDialog::OnCommand(nID, nNotifyCode);
}

void CDlgCustomViews::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_VIEW1, m_nView);
}

bool CDlgCustomViews::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!CDialogCommon::CreateMenuBar(this, m_commandBar, IDR_MENUBAR_OK_CANCEL))
        return true;
    // The index picks one of three views; a value that came from elsewhere out
    // of range must not reach m_views.
    int& nCurrent = m_data.m_settings.m_nCurrentView;
    if (nCurrent < 0 || nCurrent > 2)
        nCurrent = 0;
    m_nView = nCurrent;
    ShowRows();
    UpdateData(false);
    return true;
}

void CDlgCustomViews::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    CDialogCommon::PlaceHeading(this, cx);
}

void CDlgCustomViews::OnOK()
{
    m_data.m_settings.Save();
    EndDialog(IDOK);
}

void CDlgCustomViews::OnCancel()
{
    // Drops every edit made here, and anything else changed since the last save.
    m_data.m_settings.Load();
    EndDialog(IDCANCEL);
}

CCustomView& CDlgCustomViews::CurrentView()
{
    return m_data.m_settings.m_views[m_data.m_settings.m_nCurrentView];
}

void CDlgCustomViews::ShowRows()
{
    const CCustomView& view = CurrentView();
    for (int s = 0; s < SERIES_COUNT; ++s) {
        const CSeriesFlags& flags = view.m_series[s];
        CButton* pDisplay = Button(this, IDC_SERIES_DISPLAY + s);
        CButton* pLeft = Button(this, IDC_SERIES_LEFT + s);
        CButton* pRight = Button(this, IDC_SERIES_RIGHT + s);
        CButton* pFirst = Button(this, IDC_SERIES_FIRST + s);
        if (!pDisplay || !pLeft || !pRight || !pFirst)
            continue;
        pDisplay->SetCheck(flags.m_bDisplay ? BST_CHECKED : BST_UNCHECKED);
        // The pressed side first: a pressed button of a group is released only
        // by pressing the other.
        CButton* pPressed = flags.m_bLeft ? pLeft : pRight;
        CButton* pReleased = flags.m_bLeft ? pRight : pLeft;
        pPressed->SetCheck(BST_CHECKED);
        pReleased->SetCheck(BST_UNCHECKED);
        pFirst->SetCheck(flags.m_bDisplayFirst ? BST_CHECKED : BST_UNCHECKED);
        pLeft->EnableWindow(flags.m_bDisplay);
        pRight->EnableWindow(flags.m_bDisplay);
        pFirst->EnableWindow(flags.m_bDisplay);
    }
}
