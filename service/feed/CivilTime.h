#pragma once

#include <cstdint>

// A date and time on a wall clock (proleptic Gregorian, no zone), counted in
// seconds from 1970-01-01 00:00 of that clock. The service does its calendar
// arithmetic here rather than through the C library, whose local time is one
// zone per process.
class CCivilTime
{
public:
    // The fields of the wall-clock second; seconds before 1970 work too.
    static CCivilTime FromSeconds(int64_t nSeconds);
    // Seconds of 00:00 on that date; month 1 to 12, day 1 to 31.
    static int64_t DaySeconds(int nYear, int nMonth, int nDay);

    int64_t Seconds() const;

    int m_nYear = 1970;
    int m_nMonth = 1;       // 1 to 12
    int m_nDay = 1;         // 1 to 31
    int m_nHour = 0;
    int m_nMinute = 0;
    int m_nSecond = 0;
    int m_nWeekday = 4;     // 0 Sunday to 6 Saturday
    int m_nDayOfYear = 0;   // 0 for 1 January
};
