// The chart in words for a screen reader: its summary as the window's name,
// the values at the middle of the viewport as its description, which follows
// every scroll.
#include "chart/view/WndGraph.h"

#include "model/WeatherData.h"
#include "platform/Resources.h"
#include "res/Resource.h"

namespace {

// A sentence of the string table, or the built-in English one where the table
// has none (a chart made before the resources are installed).
void Take(UINT nID, std::wstring& strWords)
{
    std::wstring strText = CResources::LoadString(nID);
    if (!strText.empty())
        strWords = strText;
}

CChartWords LoadWords()
{
    CChartWords w;
    Take(IDS_ACC_CHART, w.m_strChart);
    Take(IDS_ACC_DAILY, w.m_strDaily);
    Take(IDS_ACC_HOURLY, w.m_strHourly);
    Take(IDS_ACC_ISSUED, w.m_strIssued);
    Take(IDS_ACC_HIGH, w.m_strHigh);
    Take(IDS_ACC_LOW, w.m_strLow);
    Take(IDS_ACC_RAIN, w.m_strRain);
    Take(IDS_ACC_WIND, w.m_strWind);
    Take(IDS_ACC_POINT, w.m_strPoint);
    Take(IDS_ACC_POINT_TEMP, w.m_strPointTemp);
    Take(IDS_ACC_POINT_TEMPS, w.m_strPointTemps);
    Take(IDS_ACC_POINT_RAIN, w.m_strPointRain);
    Take(IDS_ACC_POINT_WIND, w.m_strPointWind);
    Take(IDS_ACC_DAY_PATTERN, w.m_strDayPattern);
    Take(IDS_ACC_HOUR_PATTERN, w.m_strHourPattern);
    Take(IDS_ACC_ISSUED_PATTERN, w.m_strIssuedPattern);
    Take(IDS_ACC_CELSIUS, w.m_strCelsius);
    Take(IDS_ACC_FAHRENHEIT, w.m_strFahrenheit);
    Take(IDS_ACC_SPEED, w.m_strSpeed);
    Take(IDS_ACC_BEAUFORT, w.m_strBeaufort);
    return w;
}

} // namespace

void CWndGraph::Describe()
{
    if (!IsWindow())
        return;
    const CStation& station = m_data.m_settings.m_currentStation;
    m_summary.Read(m_data.m_daily, m_data.m_hourly, m_data.m_settings,
                   station.m_strName.empty() ? station.m_strID : station.m_strName, LoadWords());
    std::wstring strName = m_summary.Summary();
    if (strName.empty()) {
        strName = CResources::LoadString(IDS_ACC_CHART_EMPTY);
        if (strName.empty())
            strName = L"Forecast chart, no forecast";
    }
    SetAccessibleName(strName);
    m_nDescribedScroll = m_nScroll + 1;   // describe the point in view afresh
    DescribePoint();
}

void CWndGraph::DescribePoint()
{
    if (!IsWindow() || m_nScroll == m_nDescribedScroll || !IsAccessibilityActive())
        return;
    m_nDescribedScroll = m_nScroll;
    // The moment at the middle of the viewport, along the part of the image the
    // time axis spans.
    const int nAxis = m_nChartWidth - CChartPlanner::MARGIN_LEFT - CChartPlanner::MARGIN_RIGHT;
    const double dFraction = nAxis > 0 ? (m_nScroll + ViewportWidth() / 2.0 - CChartPlanner::MARGIN_LEFT) / nAxis : 0.0;
    SetAccessibleDescription(m_summary.Moment(m_summary.MomentAt(dFraction)));
}
