// The points of the daily and the hour-by-hour chart, and the order in which
// each chart runs the shared steps.
#include "chart/ChartPlanner.h"

#include "chart/HourlyDays.h"
#include "chart/TextMeasure.h"
#include "chart/Trunc.h"
#include "platform/Translate.h"
#include "platform/UserLocale.h"
#include "settings/Settings.h"
#include "store/ClassUnicode.h"
#include "store/DailyForecast.h"
#include "store/HourlyForecast.h"
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

} // namespace

CChartPlan CChartPlanner::PlanDaily(const CDailyForecast& daily, const CSettings& settings,
                                    const CDeviceClock& clock, const CChartFrame& frame)
{
    CChartPlan plan = Start(settings, frame, true);
    if (daily.m_days.GetCount() == 0) {   // no record to plot
        PlanEmpty(plan);
        return plan;
    }
    plan.m_bEmpty = false;
    const CDateTime dtNow = StationNow(clock, daily.m_nZone);

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
    // The feed names its days and dates in English, which an English reader
    // sees as the feed wrote them; in another language they come from the date.
    const bool bFeedsNames = CUserLocale::NamesAreEnglish();
    // xgettext:no-c-format
    // TRANSLATORS: strftime pattern of a day's name on the daily chart.
    const std::wstring strDayPattern = Tr("%A");
    // xgettext:no-c-format
    // TRANSLATORS: strftime pattern of a day's date on the daily chart, "Dec 11".
    const std::wstring strDatePattern = Tr("%b %d");
    const int nDays = std::min(daily.m_days.GetCount(), MAX_CHART_DAYS);
    for (int i = 0; i < nDays; ++i) {
        const CForecastDay* pDay = daily.FindDay(i);
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
        if (bFeedsNames || dtDate.m_status != CDateTime::valid) {
            const wchar_t* pszWeekday = convert.ToWide(pDay->m_pszWeekday);
            pLabel->m_strText1 = pszWeekday ? pszWeekday : L"";
            pLabel->m_strText2 = strDate;
        } else {
            pLabel->m_strText1 = dtDate.Format(strDayPattern.c_str());
            pLabel->m_strText2 = dtDate.Format(strDatePattern.c_str());
        }
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

    SetUpScales({&m_low, &m_high}, 6, nFirstPos, nLastPos);
    m_scaleTime.SetDateRange(CDateTime(dtBase.m_dt + 0.5), CDateTime(dtLast.m_dt + 1.0));

    for (size_t k = 0; k < m_nightStarts.size(); ++k) {
        const double dK = static_cast<double>(k);
        PlanNightBand(CDateTime(dtBase.m_dt + (dK - 1 + m_nightStarts[k])),
                      CDateTime(dtBase.m_dt + (dK + m_nightEnds[k])), plan);
    }

    std::vector<CGraphSegment> segments;
    m_low.BuildSegments(segments);
    m_high.BuildSegments(segments);
    m_precip.BuildSegments(segments);
    m_windSpeed.BuildSegments(segments);

    PlanPanels(plan);
    m_scaleTime.PlanTimeLabels(m_measure, m_timeLabels, m_frame.m_nWidth, plan.m_strip, nullptr, 0,
                               CChartPlan::CR_GRID);
    PlanNowMarker(dtNow, plan);

    m_tempGroups.RemoveAll();
    m_precipGroups.RemoveAll();
    m_windGroups.RemoveAll();
    m_low.BuildLabelGroups(m_tempGroups);
    m_high.BuildLabelGroups(m_tempGroups);
    m_precip.BuildIconGroups(m_precipGroups, true);
    m_windSpeed.BuildIconGroups(m_windGroups, true);
    m_windLabelGroups.RemoveAll();
    m_windSpeed.BuildLabelGroups(m_windLabelGroups);

    PlanSeries(segments, plan);
    PlanLink(plan);
    return plan;
}

// The smallest step whose hour labels fit side by side with a gap between them
// at the time scale's spacing, in the bold font; the widest step when none does.
int CChartPlanner::HourStep(const std::vector<int>& clocks) const
{
    int nWidest = 0;
    bool bMeasured[24] = {};
    for (int nClock : clocks) {
        const int nIndex = nClock >= 0 && nClock < 24 ? nClock : 0;
        if (bMeasured[nIndex])
            continue;
        bMeasured[nIndex] = true;
        nWidest = std::max(nWidest, static_cast<int>(m_measure.Measure(CHART_FONT_BOLD,
                                                                       std::to_wstring(nClock)).cx));
    }
    for (int nStep : HOUR_STEPS) {
        const int nSpacing = m_scaleTime.PositionToPixel(nStep) - m_scaleTime.PositionToPixel(0);
        if (nSpacing >= nWidest + CGraphScaleX::TIME_LABEL_GAP + 1)
            return nStep;
    }
    return HOUR_STEPS[3];
}

CChartPlan CChartPlanner::PlanHourly(const CHourlyForecast& hourly, const CSettings& settings,
                                     const CDeviceClock& clock, const CChartFrame& frame)
{
    CChartPlan plan = Start(settings, frame, false);
    if (hourly.m_hours.GetCount() == 0) {
        PlanEmpty(plan);
        return plan;
    }
    plan.m_bEmpty = false;
    const CDateTime dtNow = StationNow(clock, hourly.m_nZone);

    m_timeLabels.RemoveAll();
    m_temp.Clear();
    m_precip.Clear();
    m_windSpeed.Clear();

    const CDateTime& dtUpdate = hourly.m_dtLastUpdate;
    const double dDayStart = FirstHourDay(hourly);
    const int nFirstClock = hourly.m_hours.GetAt(0)->m_nClock;

    const bool bTemps = Displays(SERIES_TEMPERATURES);
    const bool bPrecip = Displays(SERIES_PRECIPITATIONS);
    const bool bWind = Displays(SERIES_WIND);
    int nPlotted = 0;
    std::vector<int> clocks;
    std::vector<int> positions;
    std::vector<CDateTime> times;
    CDateTime dtFirst;
    CDateTime dtLast;
    int nFirstPos = 0;
    int nLastPos = 0;
    const int nHours = std::min(hourly.m_hours.GetCount(), MAX_CHART_HOURS);
    for (int i = 1; i <= nHours; ++i) {
        const CForecastHour* pHour = hourly.FindHour(i);
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

        clocks.push_back(pHour->m_nClock);
        positions.push_back(i);
        times.push_back(t);
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

    SetUpScales({&m_temp}, 5, nFirstPos, nLastPos);
    m_scaleTime.SetDateRange(dtFirst, dtLast);

    // One step for the whole strip, the date once per day at its first label.
    const int nStep = HourStep(clocks);
    // xgettext:no-c-format
    // TRANSLATORS: strftime pattern of the date under an hour, "Fri, Dec 11".
    const std::wstring strDatePattern = Tr("%a, %b %d");
    double dLabelledDay = -1e300;
    for (size_t k = 0; k < clocks.size(); ++k) {
        if (clocks[k] % nStep != 0)
            continue;
        CGraphTimeLabel* pLabel = new CGraphTimeLabel;
        pLabel->m_nX = positions[k];
        pLabel->m_strText1 = std::to_wstring(clocks[k]);
        const double dDay = std::isfinite(times[k].m_dt) ? std::floor(times[k].m_dt) : 0.0;
        if (dDay != dLabelledDay)
            pLabel->m_strText2 = times[k].Format(strDatePattern.c_str());
        dLabelledDay = dDay;
        pLabel->m_bCentred = true;
        m_timeLabels.Add(pLabel);
    }

    const double dSunset = TimeOfDay(hourly.m_dtSunset);
    const double dSunrise = TimeOfDay(hourly.m_dtSunrise);
    for (int k = 0; k < 4; ++k)
        PlanNightBand(CDateTime(dDayStart + (k - 1) + dSunset),
                      CDateTime(dDayStart + k + dSunrise), plan);

    std::vector<CGraphSegment> segments;
    m_temp.BuildSegments(segments);
    m_precip.BuildSegments(segments);
    m_windSpeed.BuildSegments(segments);

    PlanPanels(plan);
    // A vertical grid line at every labelled hour.
    m_scaleTime.PlanTimeLabels(m_measure, m_timeLabels, m_frame.m_nWidth, plan.m_strip, &plan.m_grid,
                               AboveLinkBand(), CChartPlan::CR_GRID);
    PlanNowMarker(dtNow, plan);

    m_tempGroups.RemoveAll();
    m_precipGroups.RemoveAll();
    m_windGroups.RemoveAll();
    m_precip.BuildIconGroups(m_precipGroups, false);
    m_windSpeed.BuildIconGroups(m_windGroups, false);
    m_windLabelGroups.RemoveAll();
    m_windSpeed.BuildLabelGroups(m_windLabelGroups);
    m_temp.BuildLabelGroups(m_tempGroups);

    PlanSeries(segments, plan);
    PlanLink(plan);
    return plan;
}
