#include "service/demo/SyntheticWeather.h"

#include "service/demo/DemoIcons.h"
#include "service/feed/ForecastHeader.h"
#include "service/places/Place.h"
#include "service/feed/SolarTimes.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double PI = 3.14159265358979323846;

CForecastRecord::Wind WindOf(const CWeatherField::Sample& weather)
{
    CForecastRecord::Wind wind;
    wind.speed = weather.dWind;
    if (weather.dGust > 0.0)
        wind.gust = weather.dGust;
    wind.nDirection = static_cast<int>(std::lround(weather.dDirection)) % 360;
    return wind;
}

// A day part from the hours it covers: mean cloud, temperature, wind and
// humidity, the largest chance of precipitation and gust, the wind's mean
// direction, thunder or fog when several hours have it.
CForecastRecord::DayPart Summary(const std::vector<CWeatherField::Sample>& hours, bool bDayPicture)
{
    CWeatherField::Sample sum;
    double dEast = 0.0;
    double dNorth = 0.0;
    int nConvective = 0;
    int nFog = 0;
    for (const CWeatherField::Sample& h : hours) {
        sum.dCloud += h.dCloud;
        sum.dTemp += h.dTemp;
        sum.dWind += h.dWind;
        sum.dHumidity += h.dHumidity;
        sum.dPrecip = std::max(sum.dPrecip, h.dPrecip);
        sum.dGust = std::max(sum.dGust, h.dGust);
        dEast += h.dWind * std::sin(h.dDirection * PI / 180.0);
        dNorth += h.dWind * std::cos(h.dDirection * PI / 180.0);
        nConvective += h.bConvective;
        nFog += h.bFog;
    }
    const double n = static_cast<double>(hours.size());
    sum.dCloud /= n;
    sum.dTemp /= n;
    sum.dWind /= n;
    sum.dHumidity /= n;
    sum.bConvective = nConvective >= 3;
    sum.bFog = nFog >= 3;
    const double dDirection = std::atan2(dEast, dNorth) * 180.0 / PI;
    sum.dDirection = std::fmod(dDirection + 360.0, 360.0);

    CForecastRecord::DayPart part;
    part.nIcon = CDemoIcons::Icon(sum, bDayPicture);
    part.precip = static_cast<int>(sum.dPrecip);
    part.humidity = static_cast<int>(std::lround(sum.dHumidity));
    part.wind = WindOf(sum);
    return part;
}

} // namespace

CWeatherField::Sample CSyntheticWeather::Weather(const CPlace& place, int64_t nUtc)
{
    CWeatherField::Sample weather = CWeatherField::At(place, nUtc);
    weather.dPrecip = 10.0 * std::round(weather.dPrecip / 10.0);
    return weather;
}

bool CSyntheticWeather::Fill(const CPlace& place, CForecastRecord::Section section, int nCount, int64_t nNowUtc,
                             CForecastRecord& record)
{
    CForecastHeader::Fill(record, place, nNowUtc);
    record.m_section = section;
    record.m_days.clear();
    record.m_hours.clear();
    const int64_t nIssue = CForecastHeader::IssueTime(place, nNowUtc);
    if (section == CForecastRecord::DAILY)
        FillDays(record, place, nIssue, nCount);
    else if (section == CForecastRecord::HOURLY)
        FillHours(record, place, nIssue, nCount);
    return true;
}

void CSyntheticWeather::FillHours(CForecastRecord& record, const CPlace& place, int64_t nIssue, int nCount)
{
    record.m_hours.resize(static_cast<size_t>(std::max(0, nCount)));
    for (int i = 0; i < nCount; ++i) {
        const int64_t nUtc = nIssue + (i + 1) * int64_t(3600);
        const CWeatherField::Sample weather = Weather(place, nUtc);
        CForecastRecord::Hour& hour = record.m_hours[static_cast<size_t>(i)];
        hour.nHour = i + 1;
        hour.time = CCivilTime::FromSeconds(place.m_clock.LocalFromUtc(nUtc));
        hour.dTemp = weather.dTemp;
        hour.dFeelsLike = weather.dFeelsLike;
        hour.nIcon = CDemoIcons::Icon(weather, weather.bDaylight);
        hour.nPrecip = static_cast<int>(weather.dPrecip);
        hour.nHumidity = static_cast<int>(std::lround(weather.dHumidity));
        hour.wind = WindOf(weather);
    }
}

void CSyntheticWeather::FillDays(CForecastRecord& record, const CPlace& place, int64_t nIssue, int nCount)
{
    const CCivilTime issue = CCivilTime::FromSeconds(place.m_clock.LocalFromUtc(nIssue));
    const int64_t nToday = CCivilTime::DaySeconds(issue.m_nYear, issue.m_nMonth, issue.m_nDay);
    for (int i = 0; i < nCount; ++i) {
        CForecastRecord::Day day;
        day.nDay = i;
        const int64_t nMidnight = nToday + i * int64_t(86400);
        day.date = CCivilTime::FromSeconds(nMidnight);
        CForecastHeader::SunTimes(place, day.date.m_nYear, day.date.m_nMonth, day.date.m_nDay, day.sunrise, day.sunset);

        // The wall-clock hours 6:00 of the day to 9:00 of the next: the day
        // part is 7 to 19, the night 19 to 7, the high is the day's and the
        // low the coming night's.
        std::vector<CWeatherField::Sample> hours;
        for (int h = 6; h <= 33; ++h)
            hours.push_back(Weather(place, place.m_clock.UtcFromLocal(nMidnight + h * 3600)));
        double dHigh = -1e9;
        double dLow = 1e9;
        for (int h = 6; h <= 20; ++h)
            dHigh = std::max(dHigh, hours[static_cast<size_t>(h - 6)].dTemp);
        for (int h = 18; h <= 33; ++h)
            dLow = std::min(dLow, hours[static_cast<size_t>(h - 6)].dTemp);
        day.low = dLow;

        const CSolarTimes::Kind sun = CSolarTimes::ForDate(day.date.m_nYear, day.date.m_nMonth, day.date.m_nDay,
                                                           place.m_dLatitude, place.m_dLongitude).m_kind;
        const bool bOver = i == 0 && issue.m_nHour >= CForecastRecord::DAY_PART_OVER_HOUR;
        if (!bOver) {
            day.high = dHigh;
            day.parts[0] = Summary({hours.begin() + 1, hours.begin() + 13}, sun != CSolarTimes::POLAR_NIGHT);
        }
        day.parts[1] = Summary({hours.begin() + 13, hours.begin() + 25}, sun == CSolarTimes::POLAR_DAY);
        record.m_days.push_back(day);
    }
}
