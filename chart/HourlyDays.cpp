#include "chart/HourlyDays.h"

#include "store/HourlyForecast.h"

#include <cmath>

double FirstHourDay(const CHourlyForecast& hourly)
{
    const CDateTime& dtUpdate = hourly.m_dtLastUpdate;
    double dDayStart = std::isfinite(dtUpdate.m_dt) ? std::floor(dtUpdate.m_dt) : 0.0;
    if (hourly.m_hours.GetCount() == 0)
        return dDayStart;
    SYSTEMTIME stUpdate;
    const int nUpdateHour = dtUpdate.GetAsSystemTime(stUpdate) ? stUpdate.wHour : 0;
    if (hourly.m_hours.GetAt(0)->m_nClock < nUpdateHour)
        dDayStart += 1.0;
    return dDayStart;
}
