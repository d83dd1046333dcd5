#pragma once

#include "tools/service/ForecastSource.h"
#include "tools/service/WeatherField.h"

// Forecasts read off the synthetic weather field: each hour is the field at
// that hour, each day part sums up its twelve hours. Deterministic for a
// station and an hour; needs no network and no state.
class CSyntheticWeather : public CForecastSource
{
public:
    // A day part of day 0 whose hours have mostly passed is no longer
    // forecast: from this hour of the station's clock on, its high and its
    // day part are "N/A", as the service answered after the day's warmth.
    static constexpr int DAY_PART_OVER_HOUR = 15;

    bool Fill(const CPlace& place, CForecastRecord::Section section, int nCount, int64_t nNowUtc,
              CForecastRecord& record) override;

    // The field at an instant with the chance of precipitation rounded to the
    // tens the feed gives, so that the icon agrees with the number.
    static CWeatherField::Sample Weather(const CPlace& place, int64_t nUtc);

private:
    static void FillHours(CForecastRecord& record, const CPlace& place, int64_t nIssue, int nCount);
    static void FillDays(CForecastRecord& record, const CPlace& place, int64_t nIssue, int nCount);
};
