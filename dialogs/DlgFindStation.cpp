#include "dialogs/DlgFindStation.h"

#include "dialogs/DialogCommon.h"
#include "model/WeatherData.h"
#include "platform/Translate.h"
#include "platform/WideFormat.h"
#include "platform/ui/DataExchange.h"
#include "res/Resource.h"
#include "store/ClassUnicode.h"

#include <unistd.h>

CDlgFindStation::CDlgFindStation(CWeatherData& data, CLogFile& log, CWnd* pParent)
    : CDialog(IDD_FIND_STATION, pParent), m_data(data), m_log(log), m_bSearched(false)
{
}

void CDlgFindStation::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_STATION_TEXT, m_strSearch);
    DDX_Text(pDX, IDC_FIND_STATUS, m_strStatus);
    DDX_Control(pDX, IDC_STATION_LIST, m_list);
    DDX_Control(pDX, IDC_FIND_SEARCH, m_buttonSearch);
}

bool CDlgFindStation::OnInitDialog()
{
    CDialog::OnInitDialog();
    CDialogCommon::CreateMenuBar(this, m_commandBar, IDR_MENUBAR_OK_CANCEL);
    return true;
}

void CDlgFindStation::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    CDialogCommon::PlaceHeading(this, cx);
    CWnd* pClear = GetDlgItem(IDC_FIND_CLEAR);
    CWnd* pSearch = GetDlgItem(IDC_FIND_SEARCH);
    CWnd* pEdit = GetDlgItem(IDC_STATION_TEXT);
    CWnd* pStatus = GetDlgItem(IDC_FIND_STATUS);
    CWnd* pList = GetDlgItem(IDC_STATION_LIST);
    if (!pClear || !pSearch || !pEdit || !pStatus || !pList)
        return;
    RECT rc;
    pClear->GetWindowRect(&rc);
    const int bw = rc.right - rc.left, bh = rc.bottom - rc.top;
    pClear->MoveWindow(cx - bw - 5, 26, bw, bh);
    pSearch->GetWindowRect(&rc);
    pSearch->MoveWindow(cx - bw - 5, bh + 29, rc.right - rc.left, rc.bottom - rc.top);
    pEdit->GetWindowRect(&rc);
    pEdit->MoveWindow(5, bh + 29, cx - bw - 15, rc.bottom - rc.top);
    pStatus->GetWindowRect(&rc);
    const int nStatusTop = 2 * bh + 36, nStatusHeight = rc.bottom - rc.top;
    pStatus->MoveWindow(5, nStatusTop, cx - 10, nStatusHeight);
    const int nListTop = nStatusTop + nStatusHeight + 5;
    pList->MoveWindow(5, nListTop, cx - 10, cy - nListTop - 5);
}

void CDlgFindStation::OnPaint()
{
    CDialog::OnPaint();
    if (!m_bSearched) {
        m_bSearched = true;
        // The search opens the download dialog, which must not start inside
        // this paint: it starts once the paint is over.
        RunAfterPaint([this]() { OnSearch(); });
    }
}

bool CDlgFindStation::OnCommand(UINT nID, UINT nNotifyCode)
{
    if (nNotifyCode == BN_CLICKED && nID == IDC_FIND_CLEAR) {
        OnClear();
        return true;
    }
    if (nNotifyCode == BN_CLICKED && nID == IDC_FIND_SEARCH) {
        OnSearch();
        return true;
    }
    return CDialog::OnCommand(nID, nNotifyCode);
}

bool CDlgFindStation::PreTranslateMessage(MSG* pMsg)
{
    CWnd* pEdit = GetDlgItem(IDC_STATION_TEXT);
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN && pEdit && pMsg->pWnd == pEdit
        && pEdit->GetWindowText() != m_strSearched) {
        OnSearch();
        return true;
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void CDlgFindStation::OnClear()
{
    UpdateData(true);
    m_strSearch.clear();
    UpdateData(false);
    m_list.ResetContent();
}

void CDlgFindStation::OnSearch()
{
    UpdateData(true);
    m_strSearched = m_strSearch;
    m_buttonSearch.EnableWindow(false);
    m_list.ResetContent();
    ClassUnicode conv;
    unlink(conv.ToAnsi(m_data.m_strSearchFile));
    // Only this search's answer may be listed: when it fails, the places of an
    // earlier one must not look like its answer.
    m_data.m_searchResults.RemoveAll();
    CDownloadOutcome outcome =
        CDialogCommon::Download(m_data, m_log, this, DOWNLOAD_SEARCH, m_strSearch,
                                CWideFormat::Format(Tr("Search stations for '%s'...").c_str(), m_strSearch.c_str()));

    const CPointerArray<CStation>& results = m_data.m_searchResults;
    if (outcome.IsFailure()) {
        // "No station found" only when the service answered so; else why it did not.
        CDialogCommon::MessageText(this, outcome.Words(DOWNLOAD_SEARCH, m_strSearch), Tr("Find a station"),
                                   MB_ICONEXCLAMATION);
    } else if (results.GetCount() == 0) {
        if (outcome.IsStored())
            CDialogCommon::MessageBox(this, IDS_NO_STATION_FOUND, Tr("Find a station"), MB_ICONEXCLAMATION);
    } else {
        for (int i = 0; i < results.GetCount(); ++i)
            m_list.AddString(CDialogCommon::StationLine(*results.GetAt(i)));
        m_list.SetCurSel(0);
        m_strStatus.clear();
        if (CWnd* pStatus = GetDlgItem(IDC_FIND_STATUS))
            pStatus->SetWindowText(m_strStatus);
    }
    m_list.SetFocus();
    m_buttonSearch.EnableWindow(true);
}

void CDlgFindStation::OnOK()
{
    const CStation* pResult = m_data.m_searchResults.GetAt(m_list.GetCurSel());
    if (!pResult) {
        CDialogCommon::MessageBox(this, IDS_SELECT_LOCATION, Tr("Find a location"), MB_ICONEXCLAMATION);
        return;
    }
    // The answer comes from the network: an ID that cannot name the station's
    // files never joins the list.
    if (!CWeatherData::IsSafeFileID(pResult->m_strID)) {
        CDialogCommon::MessageBox(this, IDS_UNUSABLE_ID, Tr("Find a location"), MB_ICONEXCLAMATION);
        return;
    }
    m_data.m_chosenStation = *pResult;
    CDialog::OnOK();
}
