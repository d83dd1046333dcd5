#include "chart/ChartSummary.h"

#include "chart/HourlyDays.h"
#include "chart/Units.h"
#include "settings/Settings.h"
#include "store/ClassUnicode.h"
#include "store/DailyForecast.h"
#include "store/ForecastMarkers.h"
#include "store/HourlyForecast.h"

#include <algorithm>
#include <cmath>

namespace {

std::wstring Wide(ClassUnicode& convert, const char* psz)
{
    const wchar_t* pszWide = psz ? convert.ToWide(psz) : nullptr;
    return pszWide ? pszWide : L"";
}

} // namespace

std::wstring CChartSummary::Fill(const std::wstring& strPattern, const std::vector<std::wstring>& values)
{
    std::wstring strOut;
    for (size_t i = 0; i < strPattern.size(); ++i) {
        const wchar_t c = strPattern[i];
        if (c == L'%' && i + 1 < strPattern.size() && strPattern[i + 1] >= L'1' && strPattern[i + 1] <= L'9') {
            const size_t n = static_cast<size_t>(strPattern[i + 1] - L'1');
            if (n < values.size())
                strOut += values[n];
            ++i;
        } else {
            strOut += c;
        }
    }
    return strOut;
}

std::wstring CChartSummary::Degrees(int nTenths) const
{
    return Fill(m_nTempUnit == 1 ? m_words.m_strFahrenheit : m_words.m_strCelsius, {TemperatureLabel(nTenths)});
}

std::wstring CChartSummary::Speed(int nKmh) const
{
    const int n10 = WindTenths(nKmh, m_nWindUnit);
    const std::wstring strValue = std::to_wstring((n10 + (n10 >= 0 ? 5 : -5)) / 10);
    if (m_nWindUnit == 4)
        return Fill(m_words.m_strBeaufort, {strValue});
    return Fill(m_words.m_strSpeed, {strValue, WindUnitName(m_nWindUnit)});
}

void CChartSummary::Read(const CDailyForecast& daily, const CHourlyForecast& hourly, const CSettings& settings,
                         const std::wstring& strStation, const CChartWords& words)
{
    m_words = words;
    m_nTempUnit = settings.m_nTempUnit;
    m_nWindUnit = settings.m_nWindUnit;
    m_bDaily = settings.m_bDaily != 0;
    m_moments.clear();
    m_strSummary.clear();
    if (m_bDaily) {
        ReadDaily(daily);
        Summarise(strStation, daily.m_dtLastUpdate, daily.m_nZone);
    } else {
        ReadHourly(hourly);
        Summarise(strStation, hourly.m_dtLastUpdate, hourly.m_nZone);
    }
}

void CChartSummary::ReadDaily(const CDailyForecast& daily)
{
    ClassUnicode convert;
    for (int i = 0; i < daily.m_days.GetCount(); ++i) {
        const CForecastDay* pDay = daily.m_days.GetAt(i);
        Moment_ m;
        const CDateTime dtDate = daily.DateOfDay(*pDay);
        m.m_strWhen = dtDate.m_status == CDateTime::valid ? dtDate.Format(m_words.m_strDayPattern.c_str())
                                                         : Wide(convert, pDay->m_pszWeekday);
        if (pDay->m_dHigh != NA_TEMPERATURE && pDay->m_dLow != NA_TEMPERATURE) {
            m.m_bTemp = m.m_bRange = true;
            m.m_nTemp10 = TenthsFromCelsius(pDay->m_dHigh, m_nTempUnit);
            m.m_nLow10 = TenthsFromCelsius(pDay->m_dLow, m_nTempUnit);
        } else if (pDay->m_dHigh != NA_TEMPERATURE) {
            m.m_bTemp = true;
            m.m_nTemp10 = TenthsFromCelsius(pDay->m_dHigh, m_nTempUnit);
        }
        for (const CDayPart& part : pDay->m_parts) {
            if (part.m_nPrecip != NA_VALUE)
                m.m_nPrecip = std::max(m.m_nPrecip, part.m_nPrecip);
            if (part.m_wind.m_nSpeed != NA_VALUE && part.m_wind.m_nSpeed > m.m_nWindKmh) {
                m.m_nWindKmh = part.m_wind.m_nSpeed;
                m.m_strDirection = Wide(convert, part.m_wind.m_pszDirection);
            }
        }
        m_moments.push_back(m);
    }
}

void CChartSummary::ReadHourly(const CHourlyForecast& hourly)
{
    if (hourly.m_hours.GetCount() == 0)
        return;
    // The hours stand where the chart places them.
    const CDateTime& dtUpdate = hourly.m_dtLastUpdate;
    const double dDayStart = FirstHourDay(hourly);
    const int nFirstClock = hourly.m_hours.GetAt(0)->m_nClock;
    ClassUnicode convert;
    for (int i = 0; i < hourly.m_hours.GetCount(); ++i) {
        const CForecastHour* pHour = hourly.m_hours.GetAt(i);
        Moment_ m;
        CDateTime t(dDayStart + (static_cast<double>(nFirstClock) + i) / 24.0);
        t.m_status = dtUpdate.m_status;
        m.m_strWhen = t.m_status == CDateTime::valid ? t.Format(m_words.m_strHourPattern.c_str())
                                                     : std::to_wstring(pHour->m_nClock) + L":00";
        if (pHour->m_dTemp != NA_TEMPERATURE) {
            m.m_bTemp = true;
            m.m_nTemp10 = TenthsFromCelsius(pHour->m_dTemp, m_nTempUnit);
        }
        if (pHour->m_nPrecip != NA_VALUE)
            m.m_nPrecip = pHour->m_nPrecip;
        if (pHour->m_wind.m_nSpeed != NA_VALUE) {
            m.m_nWindKmh = pHour->m_wind.m_nSpeed;
            m.m_strDirection = Wide(convert, pHour->m_wind.m_pszDirection);
        }
        m_moments.push_back(m);
    }
}

void CChartSummary::Summarise(const std::wstring& strStation, const CDateTime& dtIssued, int nZone)
{
    if (m_moments.empty())
        return;
    std::vector<std::wstring> parts;
    parts.push_back(Fill(m_words.m_strChart, {strStation, m_bDaily ? m_words.m_strDaily : m_words.m_strHourly}));
    if (dtIssued.m_status == CDateTime::valid) {
        CDateTime dtStationNow;
        parts.push_back(Fill(m_words.m_strIssued, {dtIssued.Format(m_words.m_strIssuedPattern.c_str()),
                                                   FormatAge(dtIssued, nZone, dtStationNow)}));
    }
    const Moment_* pHigh = nullptr;
    const Moment_* pLow = nullptr;
    const Moment_* pRain = nullptr;
    const Moment_* pWind = nullptr;
    for (const Moment_& m : m_moments) {
        const int nLow = m.m_bRange ? m.m_nLow10 : m.m_nTemp10;
        if (m.m_bTemp && (!pHigh || m.m_nTemp10 > pHigh->m_nTemp10))
            pHigh = &m;
        if (m.m_bTemp && (!pLow || nLow < (pLow->m_bRange ? pLow->m_nLow10 : pLow->m_nTemp10)))
            pLow = &m;
        if (m.m_nPrecip >= 0 && (!pRain || m.m_nPrecip > pRain->m_nPrecip))
            pRain = &m;
        if (m.m_nWindKmh >= 0 && (!pWind || m.m_nWindKmh > pWind->m_nWindKmh))
            pWind = &m;
    }
    if (pHigh)
        parts.push_back(Fill(m_words.m_strHigh, {Degrees(pHigh->m_nTemp10), pHigh->m_strWhen}));
    if (pLow)
        parts.push_back(Fill(m_words.m_strLow, {Degrees(pLow->m_bRange ? pLow->m_nLow10 : pLow->m_nTemp10),
                                                pLow->m_strWhen}));
    if (pRain)
        parts.push_back(Fill(m_words.m_strRain, {std::to_wstring(pRain->m_nPrecip), pRain->m_strWhen}));
    if (pWind)
        parts.push_back(Fill(m_words.m_strWind, {Speed(pWind->m_nWindKmh), pWind->m_strDirection, pWind->m_strWhen}));
    for (size_t i = 0; i < parts.size(); ++i)
        m_strSummary += (i ? L". " : L"") + parts[i];
    m_strSummary += L".";
}

int CChartSummary::MomentAt(double dFraction) const
{
    if (m_moments.empty())
        return -1;
    if (!(dFraction > 0.0))
        return 0;
    const double dLast = static_cast<double>(m_moments.size() - 1);
    return static_cast<int>(std::lround(std::min(dFraction, 1.0) * dLast));
}

std::wstring CChartSummary::Moment(int nIndex) const
{
    if (nIndex < 0 || nIndex >= Moments())
        return L"";
    const Moment_& m = m_moments[static_cast<size_t>(nIndex)];
    std::vector<std::wstring> values;
    if (m.m_bTemp)
        values.push_back(m.m_bRange ? Fill(m_words.m_strPointTemps, {Degrees(m.m_nTemp10), Degrees(m.m_nLow10)})
                                    : Fill(m_words.m_strPointTemp, {Degrees(m.m_nTemp10)}));
    if (m.m_nPrecip >= 0)
        values.push_back(Fill(m_words.m_strPointRain, {std::to_wstring(m.m_nPrecip)}));
    if (m.m_nWindKmh >= 0)
        values.push_back(Fill(m_words.m_strPointWind, {Speed(m.m_nWindKmh), m.m_strDirection}));
    std::wstring strValues;
    for (size_t i = 0; i < values.size(); ++i)
        strValues += (i ? L", " : L"") + values[i];
    return Fill(m_words.m_strPoint, {m.m_strWhen, strValues});
}
