#include "dialogs/DlgNewStation.h"

#include "dialogs/DialogCommon.h"
#include "dialogs/DlgFindStation.h"
#include "dialogs/DlgHelp.h"
#include "model/WeatherData.h"
#include "platform/ui/DataExchange.h"
#include "res/Resource.h"

CDlgNewStation::CDlgNewStation(CWeatherData& data, CLogFile& log, CWnd* pParent)
    : CDialog(IDD_NEW_STATION, pParent), m_data(data), m_log(log)
{
}

bool CDlgNewStation::IsStationID(const std::wstring& strText)
{
    if (strText.size() != 8)
        return false;
    for (size_t i = 0; i < 8; ++i) {
        // Upper case of the ASCII letters only: the locale's would let letters
        // such as the dotless i pass as an "I".
        wchar_t c = strText[i];
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
        const bool bOk = i < 4 ? (c >= L'A' && c <= L'Z') : (c >= L'0' && c <= L'9');
        if (!bOk)
            return false;
    }
    return true;
}

void CDlgNewStation::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_STATION_TEXT, m_strStation);
}

bool CDlgNewStation::OnInitDialog()
{
    CDialog::OnInitDialog();
    CDialogCommon::CreateMenuBar(this, m_commandBar, IDR_MENUBAR_DONE_CANCEL);
    return true;
}

void CDlgNewStation::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    CDialogCommon::PlaceHeadingBesideHelp(this, cx, 0);
    if (CWnd* pEdit = GetDlgItem(IDC_STATION_TEXT)) {
        RECT rc;
        pEdit->GetWindowRect(&rc);
        pEdit->MoveWindow(rc.left, rc.top, cx - rc.left - 8, rc.bottom - rc.top);
    }
}

bool CDlgNewStation::OnCommand(UINT nID, UINT nNotifyCode)
{
    if (nID == IDC_HELP_BUTTON && nNotifyCode == BN_CLICKED) {
        OnHelp();
        return true;
    }
    return CDialog::OnCommand(nID, nNotifyCode);
}

void CDlgNewStation::OnHelp()
{
    CDlgHelp dlg(IDS_HELP_NEW_STATION);
    dlg.DoModal();
}

void CDlgNewStation::OnOK()
{
    if (!UpdateData(true))
        return;
    CStation& chosen = m_data.m_chosenStation;
    if (IsStationID(m_strStation)) {
        chosen = CStation();
        chosen.m_strID = m_strStation;
    } else {
        if (CDialogCommon::MessageBox(this, IDS_CONNECT_TO_SEARCH, L"Connection Required", MB_YESNO | MB_ICONQUESTION)
            != IDYES)
            return;
        CDlgFindStation dlg(m_data, m_log, this);
        dlg.m_strSearch = m_strStation;
        if (dlg.DoModal() != IDOK)
            return;
    }
    if (const CStation* pListed = m_data.FindStation(chosen.m_strID)) {
        // The station the user asked for is the one in the list, with its name.
        chosen = *pListed;
    } else {
        m_data.m_stations.Add(new CStation(chosen));
        m_data.SaveStations();
        CDialogCommon::MessageBox(this, IDS_STATION_ADDED, L"New station", MB_ICONINFORMATION, chosen.m_strID,
                                  chosen.m_strName);
    }
    CDialog::OnOK();
}
