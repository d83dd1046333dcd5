// Composing the daily and hour-by-hour charts into the graph window's images:
// the points from the forecast, the scales, night bands, panels, time strip, now
// marker, lines, icons and labels.
#include "chart/WndGraph.h"

#include "chart/LabelPlacer.h"
#include "chart/Trunc.h"
#include "chart/Units.h"
#include "model/WeatherData.h"
#include "platform/ui/DC.h"
#include "store/ClassUnicode.h"
#include "store/ForecastMarkers.h"

#include <algorithm>
#include <cmath>

namespace {

// Time of day of a time-only value, as a fraction of a day.
double TimeOfDay(const CDateTime& dt)
{
    if (!std::isfinite(dt.m_dt))
        return 0.0;
    return dt.m_dt - std::floor(dt.m_dt);
}

// A pixel held near the image, so rectangles built from it cannot overflow.
int NearImage(int x, int nWidth)
{
    if (x < -2)
        return -2;
    if (x > nWidth + 2)
        return nWidth + 2;
    return x;
}

SIZE MeasureWithDC(void* pContext, const std::wstring& str)
{
    return static_cast<CDC*>(pContext)->GetTextExtent(str);
}

} // namespace

bool CWndGraph::Displays(int nSeries) const
{
    const CSettings& settings = m_data.m_settings;
    int nView = settings.m_nCurrentView;
    if (nView < 0 || nView > 2)
        nView = 0;
    return settings.m_views[nView].m_series[nSeries].m_bDisplay;
}

CGraphScaleY* CWndGraph::ScaleOf(int nSeries)
{
    if (nSeries == SERIES_TEMPERATURES)
        return &m_scaleTemp;
    if (nSeries == SERIES_PRECIPITATIONS)
        return &m_scalePrecip;
    return &m_scaleWind;
}

COLORREF CWndGraph::ColourOf(int nSeries) const
{
    if (nSeries == SERIES_TEMPERATURES)
        return m_crTemp;
    if (nSeries == SERIES_PRECIPITATIONS)
        return m_crPrecip;
    return m_crWind;
}

void CWndGraph::DrawNightBand(CDC* pDC, const CDateTime& dtStart, const CDateTime& dtEnd)
{
    const int x0 = NearImage(m_scaleTime.DateToPixel(dtStart), m_nChartWidth);
    const int x1 = NearImage(m_scaleTime.DateToPixel(dtEnd), m_nChartWidth);
    RECT rc = {x0, 0, x1, ChartHeight()};
    pDC->FillSolidRect(rc, CR_NIGHT);
}

void CWndGraph::DrawPanels(CDC* pChartDC)
{
    // Only one scale draws grid lines across the chart, whichever side shows it.
    bool bListed[3] = {false, false, false};
    for (int side = 0; side < 2; ++side)
        for (int s : m_sideSeries[side])
            if (s >= 0 && s < 3)
                bListed[s] = true;
    const int nGridOwner = bListed[SERIES_TEMPERATURES] ? SERIES_TEMPERATURES
                         : bListed[SERIES_PRECIPITATIONS] ? SERIES_PRECIPITATIONS
                         : bListed[SERIES_WIND] ? SERIES_WIND : -1;
    CDC panelDC;
    for (int side = 0; side < 2; ++side) {
        for (size_t j = 0; j < m_sideSeries[side].size() && j < 3; ++j) {
            const int s = m_sideSeries[side][j];
            CBitmap& panel = m_panelImages[side][j];
            panelDC.SelectObject(&panel);
            ScaleOf(s)->DrawPanel(&panelDC, panel.GetSize(), m_fonts.m_hFontBold, side == 0 ? 30 : 1,
                                  ColourOf(s), side == 1, s == nGridOwner ? pChartDC : nullptr,
                                  m_nChartWidth, m_crGrid);
        }
    }
    panelDC.SelectObject(static_cast<CBitmap*>(nullptr));
}

void CWndGraph::DrawNowMarker(CDC* pDC, const CDateTime& dtNow)
{
    const int x = NearImage(m_scaleTime.DateToPixel(dtNow), m_nChartWidth);
    RECT rc = {x - 1, 0, x + 1, ChartHeight()};
    pDC->FillSolidRect(rc, m_crGrid);
}

void CWndGraph::DrawIcons(CDC* pDC, CPointerArray<CGraphGroup>& groups,
                          std::vector<CGraphBox>& placed, bool bArrows)
{
    const int s = bArrows ? 16 : 28;
    const int nPictures = bArrows ? 16 : 49;
    CDC sourceDC;
    sourceDC.SelectObject(bArrows ? &m_arrowImage : &m_iconImage);
    for (int g = 0; g < groups.GetCount(); ++g) {
        CGraphGroup* pGroup = groups.GetAt(g);
        if (pGroup->m_bDone)
            continue;
        const CGraphPoint* pPoint = nullptr;
        for (int nIndex : pGroup->m_points) {
            const CGraphPoint* p = pGroup->m_pSeries->m_points.GetAt(nIndex);
            if (p && p->m_nValue != -1) {
                pPoint = p;
                break;
            }
        }
        if (!pPoint)
            continue;
        const CGraphBox box = {pPoint->m_nPx - s / 2, -pPoint->m_nPy - s / 2, s, s};
        placed.push_back(box);
        m_iconBoxes.push_back(box);
        // An unknown picture number draws nothing but still keeps labels away.
        if (pPoint->m_nValue >= 0 && pPoint->m_nValue < nPictures)
            pDC->TransparentBlt(box.m_nLeft, box.m_nTop, s, s, &sourceDC, s * pPoint->m_nValue, 0,
                                s, s, CR_KEY);
        pGroup->m_bDone = true;
    }
    sourceDC.SelectObject(static_cast<CBitmap*>(nullptr));
}

void CWndGraph::PlaceLabels(CDC* pDC, CPointerArray<CGraphGroup>& groups,
                            const std::vector<CGraphSegment>& segments,
                            std::vector<CGraphBox>& placed)
{
    const HFONT hOldFont = pDC->SelectObject(m_fonts.m_hFontBold);
    const int nOldBkMode = pDC->SetBkMode(TRANSPARENT);
    CLabelPlacer placer(m_nChartWidth, ChartHeight(), segments, placed);
    for (int g = 0; g < groups.GetCount(); ++g) {
        const CGraphGroup* pGroup = groups.GetAt(g);
        if (!m_bDailyChart && pGroup->m_nKind != GROUP_END && pGroup->m_nKind != GROUP_TURN)
            continue;
        if (pGroup->m_points.empty())
            continue;
        CGraphBox box;
        int nPoint = -1;
        if (!placer.Place(*pGroup, MeasureWithDC, pDC, box, nPoint))
            continue;
        m_labelBoxes.push_back(box);
        m_labelGroups.push_back(pGroup);
        pDC->SetTextColor(pGroup->m_pSeries->m_crColour);
        RECT rc = {box.m_nLeft, box.m_nTop, box.m_nLeft + box.m_nWidth, box.m_nTop + box.m_nHeight};
        pDC->DrawText(pGroup->m_pSeries->m_points.GetAt(nPoint)->m_strText, &rc,
                      DT_LEFT | DT_SINGLELINE | DT_NOCLIP);
    }
    pDC->SetBkMode(nOldBkMode);
    pDC->SelectObject(hOldFont);
}

void CWndGraph::DrawSeries(CDC* pChartDC, const std::vector<CGraphSegment>& segments, bool bHourly)
{
    std::vector<CGraphBox> placed;
    m_iconBoxes.clear();
    m_labelBoxes.clear();
    m_labelGroups.clear();
    const int H = ChartHeight();
    const POINT ptOld = pChartDC->SetViewportOrg(0, H);
    if (Displays(SERIES_PRECIPITATIONS)) {
        m_precip.DrawLine(pChartDC, m_crPrecip);
        DrawIcons(pChartDC, m_precipGroups, placed, false);
    }
    if (Displays(SERIES_WIND)) {
        m_windSpeed.DrawLine(pChartDC, m_crWind);
        DrawIcons(pChartDC, m_windGroups, placed, true);
    }
    if (Displays(SERIES_TEMPERATURES)) {
        if (bHourly) {
            m_temp.DrawLine(pChartDC, m_crTemp);
        } else {
            m_low.DrawLine(pChartDC, m_crTemp);
            m_high.DrawLine(pChartDC, m_crTemp);
        }
        PlaceLabels(pChartDC, m_tempGroups, segments, placed);
    }
    pChartDC->SetViewportOrg(ptOld.x, ptOld.y);
}

// Both charts set their scales up alike: value scales for the displayed series,
// then the time scale over all of them. They differ only in the temperature
// series and in the wind scale's ticks.
void CWndGraph::SetUpScales(std::initializer_list<CGraphSeries*> temperatures, int nWindIntervals,
                            int nFirstPos, int nLastPos)
{
    const int H = ChartHeight();
    m_scaleTemp.Reset();
    m_scalePrecip.Reset();
    m_scaleWind.Reset();
    m_scaleTime.Reset();
    m_scaleTime.SetPixelRange(m_rcArea.left + m_nMarginLeft, m_rcArea.right - m_nMarginRight, 0);
    if (Displays(SERIES_TEMPERATURES)) {
        m_scaleTemp.SetPixelRange(m_nMarginBottom, H - m_nMarginTop, 6);
        for (CGraphSeries* pSeries : temperatures)
            m_scaleTemp.AddSeries(pSeries);
        m_scaleTemp.SetAutoRange(false);
        for (CGraphSeries* pSeries : temperatures)
            m_scaleTime.AddSeries(pSeries);
    }
    if (Displays(SERIES_PRECIPITATIONS)) {
        m_scalePrecip.SetPixelRange(m_nMarginBottom, H - m_nMarginTop, 10);
        m_scalePrecip.AddSeries(&m_precip);
        m_scalePrecip.SetFixedRange(0, 100);
        m_scaleTime.AddSeries(&m_precip);
    }
    if (Displays(SERIES_WIND)) {
        m_scaleWind.SetPixelRange(m_nMarginBottom, H - m_nMarginTop, nWindIntervals);
        m_scaleWind.AddSeries(&m_windSpeed);
        m_scaleWind.SetAutoRange(m_data.m_settings.m_bShowZero);
        m_scaleTime.AddSeries(&m_windSpeed);
    }
    if (!m_scaleTime.m_bHasData) {
        // Nothing displayed: the time labels follow the records' own positions,
        // as they do in the ordinary chart.
        m_scaleTime.m_nDataMin = nFirstPos;
        m_scaleTime.m_nDataMax = nLastPos;
    }
    m_scaleTime.SetAutoRange(false);
}

// The time strip; the hourly chart also draws its grid's vertical lines from it.
void CWndGraph::DrawTimeStrip(CDC* pGridDC)
{
    CDC stripDC;
    stripDC.SelectObject(&m_stripImage);
    stripDC.FillSolidRect(0, 0, m_nChartWidth, m_nStripHeight, CR_STRIP);
    m_scaleTime.DrawTimeLabels(&stripDC, m_fonts.m_hFontBold, m_timeLabels, pGridDC,
                               pGridDC ? ChartHeight() : 0, m_crGrid);
    stripDC.SelectObject(static_cast<CBitmap*>(nullptr));
}

void CWndGraph::BuildDaily()
{
    Layout();
    CDailyForecast& daily = m_data.m_daily;
    if (daily.IsEmpty()) {
        DrawEmpty();
        return;
    }
    const CSettings& settings = m_data.m_settings;
    CDateTime dtNow;
    FormatAge(daily.m_dtLastUpdate, daily.m_nZone, dtNow);

    m_timeLabels.RemoveAll();
    m_low.Clear();
    m_high.Clear();
    m_precip.Clear();
    m_windSpeed.Clear();
    m_nightStarts.clear();
    m_nightEnds.clear();
    double dPrevSunset = 1.0;

    const bool bTemps = Displays(SERIES_TEMPERATURES);
    const bool bPrecip = Displays(SERIES_PRECIPITATIONS);
    const bool bWind = Displays(SERIES_WIND);
    CDateTime dtBase;
    CDateTime dtLast;
    bool bHaveDate = false;
    int nFirstPos = 0;
    int nLastPos = 0;
    ClassUnicode convert;
    const int nDays = std::min(daily.m_days.GetCount(), MAX_CHART_DAYS);
    for (int i = 0; i < nDays; ++i) {
        CForecastDay* pDay = daily.FindDay(i);
        if (!pDay)
            continue;
        const CDateTime dtDate = daily.DateOfDay(*pDay);
        const wchar_t* pszDate = convert.ToWide(pDay->m_pszDate);
        const std::wstring strDate = pszDate ? pszDate : L"";
        if (i == 0)
            dtBase = dtDate;
        else if (!bHaveDate)
            dtBase = CDateTime(dtDate.m_dt - i);   // no day 0: count back from the first day
        if (!bHaveDate)
            nFirstPos = 24 * i + 12;
        dtLast = dtDate;
        bHaveDate = true;
        nLastPos = 24 * i + 24;

        CGraphTimeLabel* pLabel = new CGraphTimeLabel;
        pLabel->m_nX = 24 * i + 6;
        const wchar_t* pszWeekday = convert.ToWide(pDay->m_pszWeekday);
        pLabel->m_strText1 = pszWeekday ? pszWeekday : L"";
        pLabel->m_strText2 = strDate;
        pLabel->m_bCentred = false;
        m_timeLabels.Add(pLabel);

        m_nightStarts.push_back(dPrevSunset);
        m_nightEnds.push_back(TimeOfDay(pDay->m_dtSunrise));
        dPrevSunset = TimeOfDay(pDay->m_dtSunset);

        if (bTemps) {
            const double values[2] = {pDay->m_dLow, pDay->m_dHigh};
            CGraphSeries* series[2] = {&m_low, &m_high};
            for (int k = 0; k < 2; ++k) {
                if (values[k] == NA_TEMPERATURE)
                    continue;
                const int t10 = TenthsFromCelsius(values[k], settings.m_nTempUnit);
                series[k]->AddTextPoint(24 * i + 18, t10, TemperatureLabel(t10));
            }
        }
        for (int j = 0; j < 2; ++j) {
            const CDayPart& part = pDay->m_parts[j];
            const int nPos = 24 * i + 12 + 12 * j;
            if (bPrecip && part.m_nPrecip != NA_VALUE)
                m_precip.AddValuePoint(nPos, ClampToInt(static_cast<long long>(part.m_nPrecip) * 10),
                                       part.m_nIcon);
            if (bWind && part.m_wind.m_nSpeed != NA_VALUE)
                m_windSpeed.AddValuePoint(nPos, WindTenths(part.m_wind.m_nSpeed, settings.m_nWindUnit),
                                          WindArrowIndex(part.m_wind.m_nDirection));
        }
    }
    m_nightStarts.push_back(dPrevSunset);
    m_nightEnds.push_back(0.0);

    const int H = ChartHeight();
    const int W = m_nChartWidth;
    SetUpScales({&m_low, &m_high}, 6, nFirstPos, nLastPos);
    m_scaleTime.SetDateRange(CDateTime(dtBase.m_dt + 0.5), CDateTime(dtLast.m_dt + 1.0));

    CDC chartDC;
    chartDC.SelectObject(&m_chartImage);
    chartDC.FillSolidRect(0, 0, W, H, CR_WHITE);
    for (size_t k = 0; k < m_nightStarts.size(); ++k) {
        const double dK = static_cast<double>(k);
        DrawNightBand(&chartDC, CDateTime(dtBase.m_dt + (dK - 1 + m_nightStarts[k])),
                      CDateTime(dtBase.m_dt + (dK + m_nightEnds[k])));
    }

    std::vector<CGraphSegment> segments;
    m_low.BuildSegments(segments);
    m_high.BuildSegments(segments);
    m_precip.BuildSegments(segments);
    m_windSpeed.BuildSegments(segments);

    DrawPanels(&chartDC);

    DrawTimeStrip(nullptr);

    DrawNowMarker(&chartDC, dtNow);

    m_tempGroups.RemoveAll();
    m_precipGroups.RemoveAll();
    m_windGroups.RemoveAll();
    m_low.BuildLabelGroups(m_tempGroups);
    m_high.BuildLabelGroups(m_tempGroups);
    m_precip.BuildIconGroups(m_precipGroups, true);
    m_windSpeed.BuildIconGroups(m_windGroups, true);

    DrawSeries(&chartDC, segments, false);
    chartDC.SelectObject(static_cast<CBitmap*>(nullptr));
    DrawLink();
}

void CWndGraph::BuildHourly()
{
    Layout();
    CHourlyForecast& hourly = m_data.m_hourly;
    if (hourly.IsEmpty()) {
        DrawEmpty();
        return;
    }
    const CSettings& settings = m_data.m_settings;
    CDateTime dtNow;
    FormatAge(hourly.m_dtLastUpdate, hourly.m_nZone, dtNow);

    m_timeLabels.RemoveAll();
    m_temp.Clear();
    m_precip.Clear();
    m_windSpeed.Clear();

    // The first hour is the next one of that clock hour after the update.
    const CDateTime& dtUpdate = hourly.m_dtLastUpdate;
    double dDayStart = std::isfinite(dtUpdate.m_dt) ? std::floor(dtUpdate.m_dt) : 0.0;
    SYSTEMTIME stUpdate;
    const int nUpdateHour = dtUpdate.GetAsSystemTime(stUpdate) ? stUpdate.wHour : 0;
    const int nFirstClock = hourly.m_hours.GetAt(0)->m_nClock;
    if (nFirstClock < nUpdateHour)
        dDayStart += 1.0;

    const bool bTemps = Displays(SERIES_TEMPERATURES);
    const bool bPrecip = Displays(SERIES_PRECIPITATIONS);
    const bool bWind = Displays(SERIES_WIND);
    int nPlotted = 0;
    CDateTime dtFirst;
    CDateTime dtLast;
    int nFirstPos = 0;
    int nLastPos = 0;
    const int nHours = std::min(hourly.m_hours.GetCount(), MAX_CHART_HOURS);
    for (int i = 1; i <= nHours; ++i) {
        CForecastHour* pHour = hourly.FindHour(i);
        if (!pHour)
            continue;
        // Computed from the count, not summed, so midnight stays exactly midnight.
        // Double arithmetic: the clock hour comes from the feed.
        CDateTime t(dDayStart + (static_cast<double>(nFirstClock) + nPlotted) / 24.0);
        t.m_status = dtUpdate.m_status;
        if (nPlotted == 0) {
            dtFirst = t;
            nFirstPos = i;
        }

        if (pHour->m_nClock % 2 == 0) {
            CGraphTimeLabel* pLabel = new CGraphTimeLabel;
            pLabel->m_nX = i;
            pLabel->m_strText1 = std::to_wstring(pHour->m_nClock);
            if (pHour->m_nClock == 0 || pHour->m_nClock == 12)
                pLabel->m_strText2 = t.Format(L"%a, %b %d");
            pLabel->m_bCentred = true;
            m_timeLabels.Add(pLabel);
        }
        if (bTemps) {
            const int t10 = TenthsFromCelsius(pHour->m_dTemp, settings.m_nTempUnit);
            m_temp.AddTextPoint(i, t10, TemperatureLabel(t10));
        }
        if (bPrecip)
            m_precip.AddValuePoint(i, ClampToInt(static_cast<long long>(pHour->m_nPrecip) * 10),
                                   pHour->m_nIcon);
        if (bWind)
            m_windSpeed.AddValuePoint(i, WindTenths(pHour->m_wind.m_nSpeed, settings.m_nWindUnit),
                                      WindArrowIndex(pHour->m_wind.m_nDirection));
        dtLast = t;
        nLastPos = i;
        ++nPlotted;
    }

    const int H = ChartHeight();
    const int W = m_nChartWidth;
    SetUpScales({&m_temp}, 5, nFirstPos, nLastPos);
    m_scaleTime.SetDateRange(dtFirst, dtLast);

    CDC chartDC;
    chartDC.SelectObject(&m_chartImage);
    chartDC.FillSolidRect(0, 0, W, H, CR_WHITE);
    const double dSunset = TimeOfDay(hourly.m_dtSunset);
    const double dSunrise = TimeOfDay(hourly.m_dtSunrise);
    for (int k = 0; k < 4; ++k)
        DrawNightBand(&chartDC, CDateTime(dDayStart + (k - 1) + dSunset),
                      CDateTime(dDayStart + k + dSunrise));

    std::vector<CGraphSegment> segments;
    m_temp.BuildSegments(segments);
    m_precip.BuildSegments(segments);
    m_windSpeed.BuildSegments(segments);

    DrawPanels(&chartDC);

    DrawTimeStrip(&chartDC);

    DrawNowMarker(&chartDC, dtNow);

    m_tempGroups.RemoveAll();
    m_precipGroups.RemoveAll();
    m_windGroups.RemoveAll();
    m_precip.BuildIconGroups(m_precipGroups, false);
    m_windSpeed.BuildIconGroups(m_windGroups, false);
    m_temp.BuildLabelGroups(m_tempGroups);

    DrawSeries(&chartDC, segments, true);
    chartDC.SelectObject(static_cast<CBitmap*>(nullptr));
    DrawLink();
}
