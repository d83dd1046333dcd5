#pragma once

#include "service/feed/ForecastRecord.h"
#include "service/demo/WeatherField.h"

#include <cstdint>

class CPlace;

// Forecasts read off the synthetic weather field: each hour is the field at
// that hour, each day part sums up its twelve hours. Deterministic for a
// station and an hour; needs no network and no state.
class CSyntheticWeather
{
public:
    // The location block always, and nCount days or hours of the section as
    // of the instant (seconds since 1970 UTC). Always true.
    bool Fill(const CPlace& place, CForecastRecord::Section section, int nCount, int64_t nNowUtc,
              CForecastRecord& record);

    // The field at an instant with the chance of precipitation rounded to the
    // tens the feed gives, so that the icon agrees with the number.
    static CWeatherField::Sample Weather(const CPlace& place, int64_t nUtc);

private:
    static void FillHours(CForecastRecord& record, const CPlace& place, int64_t nIssue, int nCount);
    static void FillDays(CForecastRecord& record, const CPlace& place, int64_t nIssue, int nCount);
};
