#include "service/feed/CivilTime.h"

#include "platform/Calendar.h"

namespace {

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
    CCalendar::CivilFromDays(nDays, t.m_nYear, t.m_nMonth, t.m_nDay);
    t.m_nHour = static_cast<int>(nRest / 3600);
    t.m_nMinute = static_cast<int>(nRest / 60 % 60);
    t.m_nSecond = static_cast<int>(nRest % 60);
    t.m_nWeekday = static_cast<int>((nDays % 7 + 11) % 7);   // 1970-01-01 was a Thursday
    t.m_nDayOfYear = static_cast<int>(nDays - CCalendar::DaysFromCivil(t.m_nYear, 1, 1));
    return t;
}

int64_t CCivilTime::DaySeconds(int nYear, int nMonth, int nDay)
{
    return CCalendar::DaysFromCivil(nYear, nMonth, nDay) * 86400;
}

int64_t CCivilTime::Seconds() const
{
    return DaySeconds(m_nYear, m_nMonth, m_nDay) + m_nHour * 3600 + m_nMinute * 60 + m_nSecond;
}
