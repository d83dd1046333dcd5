#pragma once

#include "service/feed/CivilTime.h"

#include <optional>
#include <string>
#include <vector>

// One answer of the forecast service, before it becomes a feed: what a source
// of forecasts (synthetic or live) fills and the feed writer writes. Values
// are in the units of the program's model (degrees Celsius, km/h, percent);
// times are the station's wall clock. An empty optional is a value the
// service does not have, which the feed gives as "N/A".
class CForecastRecord
{
public:
    enum Section { NO_SECTION, DAILY, HOURLY };

    // A day part of day 0 whose hours have mostly passed is no longer
    // forecast: from this hour of the station's clock on, its high and its
    // day part are "N/A", as the service answered after the day's warmth.
    static constexpr int DAY_PART_OVER_HOUR = 15;

    struct Wind
    {
        std::optional<double> speed;   // km/h
        std::optional<double> gust;    // km/h; empty when gusts are not worth telling
        int nDirection = 0;            // degrees the wind comes from
        bool bDirection = true;        // false: the source did not tell the direction
    };

    struct DayPart
    {
        int nIcon = 44;                // condition icon; 44 is "not available"
        std::optional<int> precip;     // chance of precipitation, percent
        std::optional<int> humidity;   // percent
        Wind wind;
    };

    struct Day
    {
        int nDay = 0;                  // 0 is the station's today
        CCivilTime date;
        std::optional<double> high;    // degrees Celsius
        std::optional<double> low;     // the night's low after the day
        CCivilTime sunrise;
        CCivilTime sunset;
        DayPart parts[2];              // 0 day (7:00 to 19:00), 1 night
    };

    struct Hour
    {
        int nHour = 0;                 // 1 is the first hour after the last update
        CCivilTime time;               // the hour's start on the station's clock
        double dTemp = 0.0;            // degrees Celsius
        double dFeelsLike = 0.0;
        int nIcon = 44;
        int nPrecip = 0;
        int nHumidity = 0;
        Wind wind;
    };

    // The location block.
    std::string m_strID;
    std::string m_strName;             // UTF-8
    double m_dLatitude = 0.0;
    double m_dLongitude = 0.0;
    int m_nZoneHours = 0;              // offset from UTC now, whole hours toward zero
    CCivilTime m_localTime;            // the station's clock when the answer was made
    CCivilTime m_sunrise;              // today's
    CCivilTime m_sunset;

    // The forecast section.
    Section m_section = NO_SECTION;
    CCivilTime m_lastUpdate;           // the forecast's issue: the current hour
    std::vector<Day> m_days;
    std::vector<Hour> m_hours;
};
