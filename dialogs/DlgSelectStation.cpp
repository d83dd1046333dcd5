#include "dialogs/DlgSelectStation.h"

#include "dialogs/DialogCommon.h"
#include "model/WeatherData.h"
#include "platform/Translate.h"
#include "platform/ui/DataExchange.h"
#include "res/Resource.h"

#include <vector>

namespace {

bool IsPreferred(const CSettings& settings, const std::wstring& strID)
{
    const CPointerArray<CStation>& preferred = settings.m_preferredStations;
    for (int i = 0; i < preferred.GetCount(); ++i) {
        if (preferred.GetAt(i)->m_strID == strID)
            return true;
    }
    return false;
}

}

CDlgSelectStation::CDlgSelectStation(CWeatherData& data, CLogFile& log, CWnd* pParent)
    : CDialog(IDD_SELECT_STATION, pParent), m_data(data), m_log(log), m_hCurrentItem(nullptr), m_bDaily(0), m_bHourly(0)
{
}

void CDlgSelectStation::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_STATION_TREE, m_tree);
    DDX_Check(pDX, IDC_KIND_DAILY, m_bDaily);
    DDX_Check(pDX, IDC_KIND_HOURLY, m_bHourly);
}

bool CDlgSelectStation::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!CDialogCommon::CreateMenuBar(this, m_commandBar, IDR_MENUBAR_UPDATE_CANCEL))
        return true;
    m_data.m_chosenStation = CStation();
    m_tree.DeleteAllItems();
    m_hCurrentItem = nullptr;
    const CPointerArray<CStation>& stations = m_data.m_stations;
    for (int i = 0; i < stations.GetCount(); ++i) {
        const CStation& station = *stations.GetAt(i);
        HTREEITEM hItem = m_tree.InsertItem(CDialogCommon::StationLine(station));
        if (station.m_strID == m_data.m_settings.m_currentStation.m_strID)
            m_hCurrentItem = hItem;
    }
    TickPreferred();
    // Before any update has been remembered, the station on the screen is the
    // one the user means: "Update !" then works without a tap on "Current".
    if (m_data.m_settings.m_preferredStations.GetCount() == 0 && m_hCurrentItem)
        m_tree.SetCheck(m_hCurrentItem, true);
    m_bDaily = 1;
    m_bHourly = 1;
    UpdateData(false);
    return true;
}

void CDlgSelectStation::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    CDialogCommon::PlaceHeading(this, cx);
    CWnd* pDaily = GetDlgItem(IDC_KIND_DAILY);
    CWnd* pHourly = GetDlgItem(IDC_KIND_HOURLY);
    CWnd* pTree = GetDlgItem(IDC_STATION_TREE);
    if (!pDaily || !pHourly || !pTree)
        return;
    RECT rc;
    pHourly->GetWindowRect(&rc);
    const int h = rc.bottom - rc.top;
    pHourly->MoveWindow(10, cy - h - 10, rc.right - rc.left, h);
    const int nDailyTop = cy - 2 * h - 15;
    pDaily->GetWindowRect(&rc);
    pDaily->MoveWindow(10, nDailyTop, rc.right - rc.left, rc.bottom - rc.top);

    // The four buttons in a row above the tree in portrait, in a column beside
    // it in landscape, in the order Current, Last, All, Clear.
    const UINT buttons[] = {IDC_SELECT_CURRENT, IDC_SELECT_LAST, IDC_SELECT_ALL, IDC_SELECT_CLEAR};
    const bool bPortrait = cx < cy;
    for (int k = 0; k < 4; ++k) {
        CWnd* pButton = GetDlgItem(buttons[k]);
        if (!pButton)
            continue;
        pButton->GetWindowRect(&rc);
        const int x = bPortrait ? 5 + 58 * k : cx - 55;
        const int y = bPortrait ? 26 : 26 + 25 * k;
        pButton->MoveWindow(x, y, rc.right - rc.left, rc.bottom - rc.top);
    }
    if (bPortrait)
        pTree->MoveWindow(5, 50, cx - 10, nDailyTop - 55);
    else
        pTree->MoveWindow(5, 26, cx - 65, nDailyTop - 31);
}

bool CDlgSelectStation::OnCommand(UINT nID, UINT nNotifyCode)
{
    if (nNotifyCode == BN_CLICKED) {
        switch (nID) {
        case IDC_SELECT_CURRENT: OnCurrent(); return true;
        case IDC_SELECT_ALL: OnAll(); return true;
        case IDC_SELECT_CLEAR: OnClear(); return true;
        case IDC_SELECT_LAST: OnLast(); return true;
        default: break;
        }
    }
    return CDialog::OnCommand(nID, nNotifyCode);
}

void CDlgSelectStation::TickAll(bool bTick)
{
    for (HTREEITEM hItem = m_tree.GetRootItem(); hItem; hItem = m_tree.GetNextSiblingItem(hItem))
        m_tree.SetCheck(hItem, bTick);
}

void CDlgSelectStation::TickPreferred()
{
    int i = 0;
    for (HTREEITEM hItem = m_tree.GetRootItem(); hItem; hItem = m_tree.GetNextSiblingItem(hItem), ++i) {
        const CStation* pStation = m_data.m_stations.GetAt(i);
        m_tree.SetCheck(hItem, pStation && IsPreferred(m_data.m_settings, pStation->m_strID));
    }
}

void CDlgSelectStation::OnCurrent()
{
    TickAll(false);
    if (m_hCurrentItem)
        m_tree.SetCheck(m_hCurrentItem, true);
}

void CDlgSelectStation::OnAll()
{
    TickAll(true);
}

void CDlgSelectStation::OnClear()
{
    TickAll(false);
}

void CDlgSelectStation::OnLast()
{
    TickPreferred();
}

void CDlgSelectStation::OnOK()
{
    if (!UpdateData(true))
        return;
    if (!m_bDaily && !m_bHourly) {
        CDialogCommon::MessageBox(this, IDS_SELECT_FORECAST_KIND, L"Cirrovan", MB_ICONEXCLAMATION);
        return;
    }
    std::vector<int> ticked;
    int i = 0;
    for (HTREEITEM hItem = m_tree.GetRootItem(); hItem; hItem = m_tree.GetNextSiblingItem(hItem), ++i) {
        if (m_tree.GetCheck(hItem) && m_data.m_stations.GetAt(i))
            ticked.push_back(i);
    }
    std::wstring strFailures;
    for (int nIndex : ticked) {
        CStation* pStation = m_data.m_stations.GetAt(nIndex);
        m_data.m_chosenStation = *pStation;
        CDialogCommon::UpdateStation(m_data, m_log, this, m_data.m_chosenStation, m_bDaily != 0, m_bHourly != 0,
                                     pStation, nullptr, strFailures);
    }
    CDialogCommon::HangUpAfterUpdate(m_data.m_settings);
    CDialogCommon::ReportUpdateFailures(this, strFailures);
    if (ticked.empty()) {
        CDialogCommon::MessageBox(this, IDS_SELECT_A_STATION, Tr("Update !"), MB_ICONEXCLAMATION);
        return;
    }
    CPointerArray<CStation>& preferred = m_data.m_settings.m_preferredStations;
    preferred.RemoveAll();
    for (int nIndex : ticked)
        preferred.Add(new CStation(*m_data.m_stations.GetAt(nIndex)));
    m_data.m_settings.Save();
    EndDialog(IDOK);
}
