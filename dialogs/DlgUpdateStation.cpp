#include "dialogs/DlgUpdateStation.h"

#include "dialogs/DialogCommon.h"
#include "dialogs/DlgSelectStation.h"
#include "model/WeatherData.h"
#include "platform/ui/DataExchange.h"
#include "res/Resource.h"

CDlgUpdateStation::CDlgUpdateStation(CWeatherData& data, CLogFile& log, CWnd* pParent)
    : CDialog(IDD_UPDATE_STATION, pParent), m_data(data), m_log(log), m_bDaily(0), m_bHourly(0)
{
}

void CDlgUpdateStation::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_UPDATE_ID, m_strID);
    DDX_Text(pDX, IDC_UPDATE_NAME, m_strName);
    DDX_Check(pDX, IDC_KIND_DAILY, m_bDaily);
    DDX_Check(pDX, IDC_KIND_HOURLY, m_bHourly);
}

bool CDlgUpdateStation::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!CDialogCommon::CreateMenuBar(this, m_commandBar, IDR_MENUBAR_OK_CANCEL))
        return true;
    m_strID = m_data.m_settings.m_currentStation.m_strID;
    m_strName = m_data.m_settings.m_currentStation.m_strName;
    m_bDaily = 1;
    m_bHourly = 1;
    UpdateData(false);
    return true;
}

void CDlgUpdateStation::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    CDialogCommon::PlaceHeading(this, cx);
    if (CWnd* pOther = GetDlgItem(IDC_OTHER_STATIONS)) {
        RECT rc;
        pOther->GetWindowRect(&rc);
        const int nWidth = rc.right - rc.left;
        pOther->MoveWindow((cx - nWidth) / 2, rc.top, nWidth, rc.bottom - rc.top);
    }
}

bool CDlgUpdateStation::OnCommand(UINT nID, UINT nNotifyCode)
{
    if (nID == IDC_OTHER_STATIONS && nNotifyCode == BN_CLICKED) {
        OnOtherStations();
        return true;
    }
    return CDialog::OnCommand(nID, nNotifyCode);
}

void CDlgUpdateStation::OnOtherStations()
{
    CDlgSelectStation dlg(m_data, m_log);
    if (dlg.DoModal() == IDOK)
        CDialog::OnOK();
}

void CDlgUpdateStation::OnOK()
{
    if (!UpdateData(true))
        return;
    if (!m_bDaily && !m_bHourly) {
        CDialogCommon::MessageBox(this, IDS_CHECK_ONE_KIND, L"Cirrovan", MB_ICONEXCLAMATION);
        return;
    }
    CStation& current = m_data.m_settings.m_currentStation;
    CDialogCommon::UpdateStation(m_data, m_log, nullptr, current, m_bDaily != 0, m_bHourly != 0,
                                 m_data.FindStation(current.m_strID), &current);
    CDialogCommon::HangUpAfterUpdate(m_data.m_settings);
    EndDialog(IDOK);
}
