#pragma once

// Calendar time broken into fields, as the platform's clock gives it.
struct SYSTEMTIME
{
    unsigned short wYear;
    unsigned short wMonth;
    unsigned short wDayOfWeek;
    unsigned short wDay;
    unsigned short wHour;
    unsigned short wMinute;
    unsigned short wSecond;
    unsigned short wMilliseconds;
};

// The device clock and time zone. Tests freeze it at a chosen instant and offset.
class CClock
{
public:
    static SYSTEMTIME GetLocalTime();
    static SYSTEMTIME GetSystemTime();   // UTC
    // UTC minus local time in minutes, the daylight-saving shift included while in effect.
    static int GetBiasMinutes();

    // From now on the clock stands at this UTC instant (seconds since 1970) with
    // this bias, until Unfreeze.
    static void Freeze(long long utcSeconds, int biasMinutes);
    static void Unfreeze();
};
