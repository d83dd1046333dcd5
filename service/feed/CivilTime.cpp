#include "service/feed/CivilTime.h"

namespace {

// Days from 1970-01-01 to a date and back, after Howard Hinnant's algorithms:
// exact for every Gregorian date, with no table and no loop.
int64_t DaysFromCivil(int64_t y, int m, int d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

int64_t FloorDiv(int64_t a, int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

} // namespace

CCivilTime CCivilTime::FromSeconds(int64_t nSeconds)
{
    const int64_t nDays = FloorDiv(nSeconds, 86400);
    const int64_t nRest = nSeconds - nDays * 86400;
    CCivilTime t;
    CivilFromDays(nDays, t.m_nYear, t.m_nMonth, t.m_nDay);
    t.m_nHour = static_cast<int>(nRest / 3600);
    t.m_nMinute = static_cast<int>(nRest / 60 % 60);
    t.m_nSecond = static_cast<int>(nRest % 60);
    t.m_nWeekday = static_cast<int>((nDays % 7 + 11) % 7);   // 1970-01-01 was a Thursday
    t.m_nDayOfYear = static_cast<int>(nDays - DaysFromCivil(t.m_nYear, 1, 1));
    return t;
}

int64_t CCivilTime::DaySeconds(int nYear, int nMonth, int nDay)
{
    return DaysFromCivil(nYear, nMonth, nDay) * 86400;
}

int64_t CCivilTime::Seconds() const
{
    return DaySeconds(m_nYear, m_nMonth, m_nDay) + m_nHour * 3600 + m_nMinute * 60 + m_nSecond;
}
