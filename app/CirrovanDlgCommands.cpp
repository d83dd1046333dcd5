// The main window's commands, keys and station switching. Its construction,
// layout and drawing are in CirrovanDlg.cpp.
#include "app/CirrovanDlg.h"

#include "dialogs/DlgAbout.h"
#include "dialogs/DlgCustomViews.h"
#include "dialogs/DlgNewStation.h"
#include "dialogs/DlgPreferences.h"
#include "dialogs/DlgSelectStation.h"
#include "dialogs/DlgStations.h"
#include "dialogs/DlgUpdateStation.h"
#include "model/WeatherData.h"
#include "platform/ui/DeviceScreen.h"
#include "res/Resource.h"

bool CCirrovanDlg::OnCommand(UINT nID, UINT nNotifyCode)
{
    if (nID == IDC_STATION_COMBO && nNotifyCode == CBN_SELCHANGE) {
        OnSelectStation();
        return true;
    }
    if (nNotifyCode == BN_CLICKED) {
        switch (nID) {
        case ID_STATIONS_SELECT: OnStationsSelect(); return true;
        case ID_STATIONS_UPDATE: OnStationsUpdate(); return true;
        case ID_STATIONS_NEW: OnStationsNew(); return true;
        case ID_PREFERENCES_CUSTOMVIEWS: OnCustomViews(); return true;
        case ID_PREFERENCES_PREFERENCES: OnPreferences(); return true;
        case ID_PREFERENCES_ORIENTATION: OnChangeOrientation(); return true;
        case ID_PREFERENCES_ABOUT: OnAbout(); return true;
        case ID_PREFERENCES_QUIT: OnOK(); return true;
        case IDC_VIEW1:
        case IDC_VIEW2:
        case IDC_VIEW3: OnViewButton(); return true;
        case IDC_DAILY_HOURLY: OnDailyHourly(); return true;
        case IDC_UPDATE_BUTTON: OnStationsUpdate(); return true;
        default: break;
        }
    }
    return CDialog::OnCommand(nID, nNotifyCode);
}

void CCirrovanDlg::OnOK()
{
    if (m_nStartOrientation >= 0 && GetDisplayOrientation() != m_nStartOrientation)
        SetDisplayOrientation(m_nStartOrientation);
    // The next start shows the chart as the user left it: the view and the
    // daily or hour-by-hour chart, when either changed since the file was written.
    CSettings& settings = m_data.m_settings;
    if (settings.m_nCurrentView != settings.m_nStoredView || settings.m_bDaily != settings.m_bStoredDaily)
        settings.Save();
    EndDialog(IDOK);
}

bool CCirrovanDlg::PreTranslateMessage(MSG* pMsg)
{
    const bool bOurs = pMsg->pWnd == this || (pMsg->pWnd && pMsg->pWnd->GetParent() == this);
    const UINT vk = static_cast<UINT>(pMsg->wParam);
    // Tab alone goes on, to move the focus among the controls and the chart:
    // a screen reader follows what has the focus.
    if (pMsg->message != WM_KEYDOWN || !bOurs || vk == VK_TAB)
        return CDialog::PreTranslateMessage(pMsg);
    // Every other key is taken here, so that none reaches a control: the
    // arrows never move the station list.
    switch (vk) {
    case VK_RETURN:
        OnStationsUpdate();
        break;
    case VK_LEFT: {
        const int nPos = m_scrollBar.GetScrollPos() - 20;
        ScrollTo(nPos < 0 ? 0 : nPos);
        break;
    }
    case VK_RIGHT:
        ScrollTo(m_scrollBar.GetScrollPos() + 20);
        break;
    // As in any document: its ends, and a viewport's width at a time.
    case VK_HOME:
        ScrollTo(0);
        break;
    case VK_END:
        ScrollTo(m_wndGraph.MaxScroll());
        break;
    case VK_PRIOR: {
        const int nPos = m_scrollBar.GetScrollPos() - m_wndGraph.ViewportWidth();
        ScrollTo(nPos < 0 ? 0 : nPos);
        break;
    }
    case VK_NEXT:
        ScrollTo(m_scrollBar.GetScrollPos() + m_wndGraph.ViewportWidth());
        break;
    case VK_UP:
        OnKeyUp();
        break;
    case VK_DOWN:
        OnDailyHourly();
        break;
    case '0':
    case VK_NUMPAD0:
        m_comboStations.SetFocus();
        break;
    case '1':
    case '2':
    case '3':
        ShowView(static_cast<int>(vk - '1'));
        break;
    case VK_NUMPAD0 + 1:
    case VK_NUMPAD0 + 2:
    case VK_NUMPAD0 + 3:
        ShowView(static_cast<int>(vk - (VK_NUMPAD0 + 1)));
        break;
    default:
        break;
    }
    return true;
}

void CCirrovanDlg::OnKeyUp()
{
    // The next scale of the left side when it has several, else of the right.
    for (int side = 0; side < 2; ++side) {
        const int nCount = static_cast<int>(m_wndGraph.m_sideSeries[side].size());
        if (nCount > 1) {
            m_wndGraph.m_nSideIndex[side] = (m_wndGraph.m_nSideIndex[side] + 1) % nCount;
            m_wndGraph.Invalidate(true);
            return;
        }
    }
}

void CCirrovanDlg::ShowView(int nView)
{
    m_data.m_settings.m_nCurrentView = nView;
    m_nView = nView;
    UpdateData(false);
    RefreshChart(false);
}

void CCirrovanDlg::OnViewButton()
{
    UpdateData(true);
    if (m_nView < 0 || m_nView > 2)
        return;
    m_data.m_settings.m_nCurrentView = m_nView;
    RefreshChart(false);
}

void CCirrovanDlg::OnDailyHourly()
{
    CSettings& settings = m_data.m_settings;
    settings.m_bDaily = 1 - settings.m_bDaily;
    if (CWnd* pSwitch = GetDlgItem(IDC_DAILY_HOURLY))
        pSwitch->Invalidate(true);
    UpdateHeader();
    UpdateScrollRange();
    RefreshChart(true);
}

void CCirrovanDlg::RefreshChart(bool bResetScroll)
{
    m_wndGraph.Refresh(bResetScroll);
    // The panels may have changed with the view: the range follows them.
    UpdateScrollRange();
    if (bResetScroll)
        m_scrollBar.SetScrollPos(0, true);
    NameControls();
}

void CCirrovanDlg::OnSelectStation()
{
    CSettings& settings = m_data.m_settings;
    const int nIndex = m_comboStations.GetCurSel();
    const CStation* pStation = m_data.m_stations.GetAt(nIndex);
    if (nIndex == CB_ERR || !pStation) {
        settings.m_currentStation.m_strID.clear();
        settings.m_currentStation.m_strName.clear();
    } else {
        settings.m_currentStation = *pStation;
        LoadCurrentForecasts();
    }
    settings.Save();
    UpdateHeader();
    RefreshChart(true);
}

void CCirrovanDlg::LoadCurrentForecasts()
{
    const std::wstring strID = m_data.m_settings.m_currentStation.m_strID;
    bool bDaily = m_data.HasDailyFile(strID);
    bool bHourly = m_data.HasHourlyFile(strID);
    if (!bDaily && !bHourly) {
        CDlgUpdateStation dlg(m_data, m_log);
        if (dlg.DoModal() == IDOK) {
            bDaily = m_data.HasDailyFile(strID);
            bHourly = m_data.HasHourlyFile(strID);
        }
        // A station known by its ID alone got its name from the download: the
        // list shows it at once, with the current station still selected.
        FillStationList();
    }
    LoadForecasts(bDaily, bHourly);
}

void CCirrovanDlg::ReadForecastFiles()
{
    const std::wstring strID = m_data.m_settings.m_currentStation.m_strID;
    LoadForecasts(m_data.HasDailyFile(strID), m_data.HasHourlyFile(strID));
}

void CCirrovanDlg::LoadForecasts(bool bDailyFile, bool bHourlyFile)
{
    const std::wstring strID = m_data.m_settings.m_currentStation.m_strID;
    if (bDailyFile)
        m_data.LoadDailyForecast(strID);
    else
        m_data.m_daily.Clear();
    if (bHourlyFile)
        m_data.LoadHourlyForecast(strID);
    else
        m_data.m_hourly.Clear();
}

void CCirrovanDlg::RunFirstRunFlow()
{
    CSettings& settings = m_data.m_settings;
    CDlgStations dlgStations(m_data, m_log);
    if (dlgStations.DoModal() == IDOK && !m_data.m_chosenStation.m_strID.empty())
        settings.m_currentStation = m_data.m_chosenStation;
    if (!settings.m_currentStation.m_strID.empty()) {
        CDlgSelectStation dlgSelect(m_data, m_log);
        dlgSelect.DoModal();
    }
}

void CCirrovanDlg::OnStationsSelect()
{
    CDlgStations dlg(m_data, m_log, this);
    dlg.DoModal();
    m_data.m_settings.m_currentStation = m_data.m_chosenStation;
    FillStationList();
    OnSelectStation();
}

void CCirrovanDlg::OnStationsUpdate()
{
    if (m_data.m_settings.m_currentStation.m_strID.empty())
        return;
    CDlgSelectStation dlg(m_data, m_log, this);
    if (dlg.DoModal() != IDOK)
        return;
    FillStationList();
    // The store holds the forecasts of the station updated last, which need not
    // be the current one: the chart under its name shows its own files.
    ReadForecastFiles();
    UpdateHeader();
    RefreshChart(true);
}

void CCirrovanDlg::OnStationsNew()
{
    CDlgNewStation dlg(m_data, m_log, this);
    if (dlg.DoModal() != IDOK)
        return;
    m_data.m_settings.m_currentStation = m_data.m_chosenStation;
    FillStationList();
    OnSelectStation();
}

void CCirrovanDlg::OnCustomViews()
{
    CDlgCustomViews dlg(m_data, this);
    if (dlg.DoModal() != IDOK)
        return;
    m_nView = m_data.m_settings.m_nCurrentView;
    UpdateData(false);
    RefreshChart(false);
}

void CCirrovanDlg::OnPreferences()
{
    CDlgPreferences dlg(m_data, this);
    if (dlg.DoModal() == IDOK)
        RefreshChart(false);
}

void CCirrovanDlg::OnChangeOrientation()
{
    CSettings& settings = m_data.m_settings;
    settings.m_nOrientation = 4 - GetDisplayOrientation();
    settings.Save();
    SetDisplayOrientation(settings.m_nOrientation);
}

void CCirrovanDlg::OnAbout()
{
    CDlgAbout dlg(this);
    dlg.DoModal();
}
