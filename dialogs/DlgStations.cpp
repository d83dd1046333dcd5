#include "dialogs/DlgStations.h"

#include "dialogs/DialogCommon.h"
#include "dialogs/DlgHelp.h"
#include "dialogs/DlgNewStation.h"
#include "model/WeatherData.h"
#include "platform/Resources.h"
#include "platform/Translate.h"
#include "platform/ui/DataExchange.h"
#include "res/Resource.h"

CDlgStations::CDlgStations(CWeatherData& data, CLogFile& log, CWnd* pParent)
    : CDialog(IDD_STATIONS, pParent), m_data(data), m_log(log)
{
}

void CDlgStations::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_STATION_LIST, m_list);
}

bool CDlgStations::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!CDialogCommon::CreateMenuBar(this, m_commandBar, IDR_STATIONSMENU))
        return true;
    m_data.m_chosenStation = m_data.m_settings.m_currentStation;
    FillList();
    return true;
}

void CDlgStations::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    CDialogCommon::PlaceHeadingBesideHelp(this, cx, 3);
    if (CWnd* pList = GetDlgItem(IDC_STATION_LIST))
        pList->MoveWindow(5, 26, cx - 10, cy - 30);
}

bool CDlgStations::OnCommand(UINT nID, UINT nNotifyCode)
{
    if (nID == IDC_STATION_LIST) {
        if (nNotifyCode == LBN_SELCHANGE)
            OnSelChangeList();
        return true;
    }
    if (nNotifyCode != BN_CLICKED)
        return CDialog::OnCommand(nID, nNotifyCode);
    switch (nID) {
    case ID_STATIONS_ADD: OnAdd(); return true;
    case ID_STATIONS_DELETE: OnDelete(); return true;
    case ID_STATIONS_DETAILS: OnDetails(); return true;
    case IDC_HELP_BUTTON: OnHelp(); return true;
    default: return CDialog::OnCommand(nID, nNotifyCode);
    }
}

void CDlgStations::OnSelChangeList()
{
    // The placeholder line can never stay selected, and a list of stations
    // always has one selected.
    if (m_data.m_stations.GetCount() == 0)
        m_list.SetCurSel(-1);
    else if (m_list.GetCurSel() == LB_ERR)
        m_list.SetCurSel(0);
}

void CDlgStations::OnAdd()
{
    CDlgNewStation dlg(m_data, m_log, this);
    if (dlg.DoModal() == IDOK)
        FillList();
}

void CDlgStations::OnDelete()
{
    const int nIndex = m_list.GetCurSel();
    const CStation* pStation = m_data.m_stations.GetAt(nIndex);
    if (!pStation)
        return;
    if (CDialogCommon::MessageBox(this, IDS_DELETE_STATION, Tr("Delete station"), MB_OKCANCEL | MB_ICONEXCLAMATION,
                                  pStation->m_strID, pStation->m_strName) != IDOK)
        return;
    m_data.DeleteStation(nIndex);
    m_data.SaveStations();
    FillList();
    if (m_data.m_stations.GetCount() > 0)
        m_list.SetCurSel(0);
}

void CDlgStations::OnDetails()
{
    const CStation* pStation = m_data.m_stations.GetAt(m_list.GetCurSel());
    if (!pStation) {
        CDialogCommon::MessageBox(this, IDS_NO_SELECTION, Tr("No selection"), MB_ICONEXCLAMATION);
        return;
    }
    CDialogCommon::MessageBox(this, IDS_STATION_DETAILS, Tr("Details"), MB_ICONINFORMATION, pStation->m_strName,
                              pStation->m_strID);
}

void CDlgStations::OnHelp()
{
    CDlgHelp dlg(IDS_HELP_STATIONS);
    dlg.DoModal();
}

void CDlgStations::OnOK()
{
    if (const CStation* pStation = m_data.m_stations.GetAt(m_list.GetCurSel()))
        m_data.m_chosenStation = *pStation;
    else
        m_data.m_chosenStation = CStation();
    CDialog::OnOK();
}

void CDlgStations::FillList()
{
    m_list.ResetContent();
    const CPointerArray<CStation>& stations = m_data.m_stations;
    if (stations.GetCount() == 0) {
        m_list.AddString(CResources::LoadString(IDS_ADD_ONE_STATION));
        return;
    }
    // The chosen station's own line, found by its exact ID: a line that merely
    // begins with it, or holds it in other letter case, is another station's.
    int nSelect = -1;
    for (int i = 0; i < stations.GetCount(); ++i) {
        m_list.AddString(CDialogCommon::StationLine(*stations.GetAt(i)));
        if (nSelect < 0 && stations.GetAt(i)->m_strID == m_data.m_chosenStation.m_strID)
            nSelect = i;
    }
    m_list.SetCurSel(nSelect < 0 ? 0 : nSelect);
}
