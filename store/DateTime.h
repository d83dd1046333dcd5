#pragma once

#include "platform/Clock.h"

#include <string>

// A date and time held as an OLE automation date: days since midnight
// 30 December 1899, the fraction being the time of day. A time-only value lies
// on day 0.
class CDateTime
{
public:
    enum DateTimeStatus { valid = 0, invalid = 1 };

    CDateTime() = default;
    explicit CDateTime(double dt) : m_dt(dt) {}
    // Seconds kept, milliseconds dropped; impossible fields give an invalid 0.0.
    explicit CDateTime(const SYSTEMTIME& st);

    // Flags: 0 date and time, VAR_TIMEVALUEONLY (1), VAR_DATEVALUEONLY (2).
    // A null text counts as empty. On failure the value becomes invalid, 0.0 for
    // a type mismatch and -1.0 for any other error.
    bool ParseDateTime(const wchar_t* pszText, unsigned long dwFlags = 0, unsigned long lcid = 0x0400);

    // strftime-style pattern, for what is shown: names of days and months in
    // the user's language (CUserLocale). An invalid value gives "Invalid DateTime".
    std::wstring Format(const wchar_t* pszPattern) const;

    // Whole seconds from this value to the later one, after rounding the span
    // to the nearest second (negative when the other value is earlier).
    long long SecondsUntil(const CDateTime& other) const;

    // The value broken into fields, rounded to the second; false when invalid.
    bool GetAsSystemTime(SYSTEMTIME& st) const;

    double m_dt = 0.0;
    int m_status = valid;
};
