#pragma once

#include <cstdint>

// The proleptic Gregorian calendar as day numbers: days from 1970-01-01 to a
// date and back, exact for every date, with no table and no loop (after
// Howard Hinnant's algorithms). The program's date parser and the service's
// wall clock both count with it. A library of its own, free of everything
// else, so that the service can link it alone.
class CCalendar
{
public:
    // month 1 to 12, day 1 to 31.
    static int64_t DaysFromCivil(int64_t nYear, int nMonth, int nDay);
    static void CivilFromDays(int64_t nDays, int& nYear, int& nMonth, int& nDay);
};
