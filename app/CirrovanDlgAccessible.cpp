#include "app/CirrovanDlg.h"

#include "chart/ChartSummary.h"
#include "model/WeatherData.h"
#include "platform/Resources.h"
#include "res/Resource.h"

void CCirrovanDlg::NameControls()
{
    const UINT views[] = {IDC_VIEW1, IDC_VIEW2, IDC_VIEW3};
    for (int i = 0; i < 3; ++i) {
        if (CWnd* pView = GetDlgItem(views[i]))
            pView->SetAccessibleName(
                CChartSummary::Fill(CResources::LoadString(IDS_ACC_VIEW), {std::to_wstring(i + 1)}));
    }
    if (CWnd* pSwitch = GetDlgItem(IDC_DAILY_HOURLY)) {
        pSwitch->SetAccessibleName(CResources::LoadString(IDS_ACC_DAILY_HOURLY));
        pSwitch->SetAccessibleDescription(CResources::LoadString(
            m_data.m_settings.m_bDaily ? IDS_ACC_SHOWING_DAILY : IDS_ACC_SHOWING_HOURLY));
    }
    if (CWnd* pUpdate = GetDlgItem(IDC_UPDATE_BUTTON))
        pUpdate->SetAccessibleName(CResources::LoadString(IDS_ACC_UPDATE));
    if (CWnd* pStations = GetDlgItem(IDC_STATION_COMBO))
        pStations->SetAccessibleName(CResources::LoadString(IDS_ACC_STATION_LIST));
    if (CWnd* pScroll = GetDlgItem(IDC_CHART_SCROLL))
        pScroll->SetAccessibleName(CResources::LoadString(IDS_ACC_SCROLL));
}
