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

// Where the clock reads the time and the zone's offset.
class ITimeSource
{
public:
    virtual ~ITimeSource() = default;
    virtual void Now(long long& utcSeconds, int& milliseconds) const = 0;
    // UTC minus local time in minutes at that instant, daylight saving included.
    virtual int BiasMinutes(long long utcSeconds) const = 0;
};

// The device clock and time zone: the system's, unless the program is handed
// another time source when it starts.
class CClock
{
public:
    static SYSTEMTIME GetLocalTime();
    static SYSTEMTIME GetSystemTime();   // UTC
    // UTC minus local time in minutes, the daylight-saving shift included while in effect.
    static int GetBiasMinutes();

    // The time source from now on; nullptr: the system's. The caller keeps it
    // alive while it is in use.
    static void Use(const ITimeSource* pSource);
};
