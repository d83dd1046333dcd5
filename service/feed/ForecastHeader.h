#pragma once

#include "service/feed/CivilTime.h"

#include <cstdint>

class CForecastRecord;
class CPlace;

// What every forecast answer says about its station and its time, whichever
// source made the forecast: the location block and the issue hour.
class CForecastHeader
{
public:
    // ID, name, position, the zone's offset now, the station's clock, today's
    // sunrise and sunset, and the last update at the start of the station's
    // current hour (so an answer stays the same all through that hour).
    static void Fill(CForecastRecord& record, const CPlace& place, int64_t nNowUtc);

    // The instant the station's current hour began.
    static int64_t IssueTime(const CPlace& place, int64_t nNowUtc);

    // Sunrise and sunset of a date on the station's clock. The feed has only
    // clock times, so a day without sunset reads 12:00 AM to 11:59 PM and a
    // day without sunrise has both at the solar noon: a night that lasts all
    // day and no night at all, as a chart of them should show.
    static void SunTimes(const CPlace& place, int nYear, int nMonth, int nDay, CCivilTime& sunrise, CCivilTime& sunset);
};
