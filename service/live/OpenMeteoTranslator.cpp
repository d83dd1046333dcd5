#include "service/live/OpenMeteoTranslator.h"

#include "service/feed/CivilTime.h"
#include "service/feed/ForecastHeader.h"
#include "service/feed/SolarTimes.h"
#include "service/live/BoundedJson.h"
#include "service/live/WmoIcons.h"
#include "service/places/ZoneClock.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

using json = nlohmann::json;

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr size_t MAX_ENTRIES = 24 * 40;       // hours or days read from one answer
constexpr size_t MAX_RESULTS = 100;           // places read from one search answer
constexpr int64_t EARLIEST = 946684800;       // 2000-01-01: times before are not forecasts
constexpr int64_t LATEST = 7258118400;        // 2200-01-01
constexpr int64_t HOUR = 3600;
constexpr int64_t DAY = 86400;

using Number = std::optional<double>;

// One hour of the answer, in degrees Fahrenheit, mph, percent and degrees.
struct Hour
{
    int64_t nUtc = 0;
    Number temp;
    Number feels;
    Number humidity;
    Number precip;
    Number wind;
    Number gust;
    Number direction;
    int nCode = -1;                 // WMO weather code; -1 for none
    std::optional<bool> daylight;
};

struct Day
{
    Number high;
    Number low;
    std::optional<int64_t> sunrise;   // seconds since 1970 UTC
    std::optional<int64_t> sunset;
};

struct Forecast
{
    CZoneClock clock;
    std::vector<Hour> hours;          // ascending
    std::map<int64_t, Day> days;      // by the wall-clock second of the day's midnight
};

const json* Member(const json* pObject, const char* pszKey)
{
    if (!pObject || !pObject->is_object())
        return nullptr;
    const auto it = pObject->find(pszKey);
    return it == pObject->end() ? nullptr : &*it;
}

std::string TextOf(const json* pValue)
{
    return pValue && pValue->is_string() ? pValue->get<std::string>() : std::string();
}

Number NumberOf(const json* pValue)
{
    if (!pValue || !pValue->is_number())
        return {};
    const double d = pValue->get<double>();
    return std::isfinite(d) ? Number(d) : Number();
}

const json* Element(const json* pArray, size_t i)
{
    return pArray && pArray->is_array() && i < pArray->size() ? &(*pArray)[i] : nullptr;
}

Number Within(Number value, double dMin, double dMax)
{
    return value && *value >= dMin && *value <= dMax ? value : Number();
}

// Degrees Fahrenheit, whatever unit the answer says it gives.
Number Fahrenheit(Number value, const std::string& strUnit)
{
    if (value && strUnit.find('C') != std::string::npos)
        *value = *value * 9.0 / 5.0 + 32.0;
    return Within(value, -150.0, 150.0);
}

Number Mph(Number value, const std::string& strUnit)
{
    if (value && strUnit == "km/h")
        *value /= 1.609344;
    else if (value && strUnit == "m/s")
        *value *= 3600.0 / 1609.344;
    else if (value && strUnit == "kn")
        *value *= 1852.0 / 1609.344;
    return Within(value, 0.0, 300.0);
}

bool IsDigits(const std::string& strText, size_t nFrom, size_t nCount)
{
    for (size_t i = nFrom; i < nFrom + nCount; ++i) {
        if (strText[i] < '0' || strText[i] > '9')
            return false;
    }
    return true;
}

// "2026-01-15" or "2026-01-15T07:00" (seconds allowed) as seconds of the wall clock.
std::optional<int64_t> WallClockOf(const std::string& s)
{
    const size_t n = s.size();
    if ((n != 10 && n != 16 && n != 19) || !IsDigits(s, 0, 4) || s[4] != '-' || !IsDigits(s, 5, 2) || s[7] != '-' ||
        !IsDigits(s, 8, 2))
        return {};
    const int nYear = std::stoi(s.substr(0, 4));
    const int nMonth = std::stoi(s.substr(5, 2));
    const int nDay = std::stoi(s.substr(8, 2));
    int nHour = 0;
    int nMinute = 0;
    int nSecond = 0;
    if (n >= 16) {
        if (s[10] != 'T' || !IsDigits(s, 11, 2) || s[13] != ':' || !IsDigits(s, 14, 2))
            return {};
        nHour = std::stoi(s.substr(11, 2));
        nMinute = std::stoi(s.substr(14, 2));
    }
    if (n == 19) {
        if (s[16] != ':' || !IsDigits(s, 17, 2))
            return {};
        nSecond = std::stoi(s.substr(17, 2));
    }
    const int64_t nMidnight = CCivilTime::DaySeconds(nYear, nMonth, nDay);
    const CCivilTime date = CCivilTime::FromSeconds(nMidnight);
    if (date.m_nYear != nYear || date.m_nMonth != nMonth || date.m_nDay != nDay || nHour > 23 || nMinute > 59 ||
        nSecond > 59)
        return {};
    return nMidnight + nHour * HOUR + nMinute * 60 + nSecond;
}

bool InRange(int64_t nUtc)
{
    return nUtc >= EARLIEST && nUtc <= LATEST;
}

// An instant: Unix seconds, or a wall-clock text on the answer's clock.
std::optional<int64_t> InstantOf(const json* pValue, const CZoneClock& clock)
{
    std::optional<int64_t> instant;
    if (pValue && pValue->is_number_integer()) {
        instant = pValue->get<int64_t>();
    } else if (pValue && pValue->is_string()) {
        const std::optional<int64_t> local = WallClockOf(pValue->get<std::string>());
        if (local && *local >= EARLIEST && *local <= LATEST)
            instant = clock.UtcFromLocal(*local);
    }
    return instant && InRange(*instant) ? instant : std::nullopt;
}

int64_t MidnightOf(int64_t nWallClock)
{
    const CCivilTime t = CCivilTime::FromSeconds(nWallClock);
    return CCivilTime::DaySeconds(t.m_nYear, t.m_nMonth, t.m_nDay);
}

// A daily entry's date as the wall-clock second of its midnight: Unix seconds
// of the local midnight, or a date text.
std::optional<int64_t> DateOf(const json* pValue, const CZoneClock& clock)
{
    if (pValue && pValue->is_number_integer()) {
        const int64_t nUtc = pValue->get<int64_t>();
        if (InRange(nUtc))
            return MidnightOf(clock.LocalFromUtc(nUtc));
    } else if (pValue && pValue->is_string()) {
        const std::optional<int64_t> local = WallClockOf(pValue->get<std::string>());
        if (local && *local >= EARLIEST && *local <= LATEST)
            return MidnightOf(*local);
    }
    return {};
}

bool IsZoneName(const std::string& strZone)
{
    if (strZone.empty() || strZone.size() > 64)
        return false;
    for (char c : strZone) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '/' && c != '_' && c != '-' && c != '+')
            return false;
    }
    return true;
}

// The source's own error document: {"error": true, "reason": "..."}.
bool IsError(const json& document, std::string& strError)
{
    const json* pError = Member(&document, "error");
    if (!pError || !pError->is_boolean() || !pError->get<bool>())
        return false;
    const std::string strReason = COpenMeteoTranslator::CleanText(TextOf(Member(&document, "reason")), 200);
    strError = "Open-Meteo refused the request" + (strReason.empty() ? std::string() : ": " + strReason);
    return true;
}

// The zone the answer's times are in: its named zone where this machine knows
// it, else the constant offset the answer gives, else the place's zone.
bool ReadClock(const json& document, const CPlace& place, CZoneClock& clock, std::string& strError)
{
    const std::string strZone = TextOf(Member(&document, "timezone"));
    if (IsZoneName(strZone) && CZoneClock::LoadShared(strZone, clock))
        return true;
    const Number offset = Within(NumberOf(Member(&document, "utc_offset_seconds")), -16.0 * HOUR, 16.0 * HOUR);
    if (offset) {
        clock = CZoneClock();
        clock.m_strZone = IsZoneName(strZone) ? strZone : std::string();
        clock.m_nFirstOffset = static_cast<int>(*offset);
        return true;
    }
    if (IsZoneName(place.m_clock.m_strZone) && CZoneClock::LoadShared(place.m_clock.m_strZone, clock))
        return true;
    strError = "the forecast does not say its time zone";
    return false;
}

void ReadHours(const json& document, Forecast& forecast)
{
    const json* pHourly = Member(&document, "hourly");
    const json* pUnits = Member(&document, "hourly_units");
    const json* pTimes = Member(pHourly, "time");
    if (!pTimes || !pTimes->is_array())
        return;
    const json* pTemp = Member(pHourly, "temperature_2m");
    const json* pFeels = Member(pHourly, "apparent_temperature");
    const json* pHumidity = Member(pHourly, "relative_humidity_2m");
    const json* pPrecip = Member(pHourly, "precipitation_probability");
    const json* pCode = Member(pHourly, "weather_code");
    const json* pWind = Member(pHourly, "wind_speed_10m");
    const json* pGust = Member(pHourly, "wind_gusts_10m");
    const json* pDirection = Member(pHourly, "wind_direction_10m");
    const json* pDay = Member(pHourly, "is_day");
    const std::string strTempUnit = TextOf(Member(pUnits, "temperature_2m"));
    const std::string strFeelsUnit = TextOf(Member(pUnits, "apparent_temperature"));
    const std::string strWindUnit = TextOf(Member(pUnits, "wind_speed_10m"));
    const std::string strGustUnit = TextOf(Member(pUnits, "wind_gusts_10m"));

    const size_t nEntries = std::min(pTimes->size(), MAX_ENTRIES);
    for (size_t i = 0; i < nEntries; ++i) {
        const std::optional<int64_t> instant = InstantOf(Element(pTimes, i), forecast.clock);
        // An hour out of order is one the answer got wrong; it is left out.
        if (!instant || (!forecast.hours.empty() && *instant <= forecast.hours.back().nUtc))
            continue;
        Hour hour;
        hour.nUtc = *instant;
        hour.temp = Fahrenheit(NumberOf(Element(pTemp, i)), strTempUnit);
        hour.feels = Fahrenheit(NumberOf(Element(pFeels, i)), strFeelsUnit);
        hour.humidity = Within(NumberOf(Element(pHumidity, i)), 0.0, 100.0);
        hour.precip = Within(NumberOf(Element(pPrecip, i)), 0.0, 100.0);
        hour.wind = Mph(NumberOf(Element(pWind, i)), strWindUnit);
        hour.gust = Mph(NumberOf(Element(pGust, i)), strGustUnit);
        hour.direction = Within(NumberOf(Element(pDirection, i)), 0.0, 360.0);
        const Number code = NumberOf(Element(pCode, i));
        if (code && *code == std::floor(*code) && CWmoIcons::Severity(static_cast<int>(std::clamp(*code, -1.0, 100.0))) >= 0)
            hour.nCode = static_cast<int>(*code);
        const Number day = NumberOf(Element(pDay, i));
        if (day && (*day == 0.0 || *day == 1.0))
            hour.daylight = *day == 1.0;
        forecast.hours.push_back(hour);
    }
}

void ReadDays(const json& document, Forecast& forecast)
{
    const json* pDaily = Member(&document, "daily");
    const json* pUnits = Member(&document, "daily_units");
    const json* pTimes = Member(pDaily, "time");
    if (!pTimes || !pTimes->is_array())
        return;
    const json* pHigh = Member(pDaily, "temperature_2m_max");
    const json* pLow = Member(pDaily, "temperature_2m_min");
    const json* pSunrise = Member(pDaily, "sunrise");
    const json* pSunset = Member(pDaily, "sunset");
    const std::string strHighUnit = TextOf(Member(pUnits, "temperature_2m_max"));
    const std::string strLowUnit = TextOf(Member(pUnits, "temperature_2m_min"));
    const size_t nEntries = std::min(pTimes->size(), MAX_ENTRIES);
    for (size_t i = 0; i < nEntries; ++i) {
        const std::optional<int64_t> date = DateOf(Element(pTimes, i), forecast.clock);
        if (!date || forecast.days.count(*date))
            continue;
        Day& day = forecast.days[*date];
        day.high = Fahrenheit(NumberOf(Element(pHigh, i)), strHighUnit);
        day.low = Fahrenheit(NumberOf(Element(pLow, i)), strLowUnit);
        day.sunrise = InstantOf(Element(pSunrise, i), forecast.clock);
        day.sunset = InstantOf(Element(pSunset, i), forecast.clock);
    }
}

// The record holds degrees Celsius and km/h, which the feed writer turns back
// into whole degrees Fahrenheit and mph: rounded here, they come back exactly.
double CelsiusOf(double dFahrenheit)
{
    return (std::round(dFahrenheit) - 32.0) * 5.0 / 9.0;
}

double KmhOf(double dMph)
{
    return std::round(dMph) * 1.609344;
}

std::optional<int> Percent(Number value)
{
    return value ? std::optional<int>(static_cast<int>(std::lround(*value))) : std::nullopt;
}

bool IsDaylight(const Hour& hour, const CPlace& place)
{
    if (hour.daylight)
        return *hour.daylight;
    return CSolarTimes::Elevation(hour.nUtc + HOUR / 2, place.m_dLatitude, place.m_dLongitude) > CSolarTimes::HORIZON;
}

CForecastRecord::Wind WindOf(const Hour& hour)
{
    CForecastRecord::Wind wind;
    if (hour.wind)
        wind.speed = KmhOf(*hour.wind);
    if (hour.gust)
        wind.gust = KmhOf(*hour.gust);
    wind.bDirection = hour.direction.has_value();
    wind.nDirection = static_cast<int>(std::lround(hour.direction.value_or(0.0))) % 360;
    return wind;
}

// A half-day from its hours: its worst weather, its largest chance of
// precipitation and gust, its mean wind and humidity, and the wind's mean
// direction weighted by its speed.
CForecastRecord::DayPart PartOf(const std::vector<const Hour*>& hours, bool bDayPicture)
{
    CForecastRecord::DayPart part;
    if (hours.empty())
        return part;
    std::vector<int> codes;
    Number precip;
    Number gust;
    double dWind = 0.0;
    int nWinds = 0;
    double dHumidity = 0.0;
    int nHumidities = 0;
    double dEast = 0.0;
    double dNorth = 0.0;
    int nDirections = 0;
    for (const Hour* pHour : hours) {
        codes.push_back(pHour->nCode);
        if (pHour->precip)
            precip = std::max(precip.value_or(0.0), *pHour->precip);
        if (pHour->gust)
            gust = std::max(gust.value_or(0.0), *pHour->gust);
        if (pHour->wind) {
            dWind += *pHour->wind;
            ++nWinds;
        }
        if (pHour->humidity) {
            dHumidity += *pHour->humidity;
            ++nHumidities;
        }
        if (pHour->direction) {
            const double dWeight = pHour->wind.value_or(1.0);
            dEast += dWeight * std::sin(*pHour->direction * PI / 180.0);
            dNorth += dWeight * std::cos(*pHour->direction * PI / 180.0);
            ++nDirections;
        }
    }
    part.nIcon = CWmoIcons::PartIcon(codes, bDayPicture);
    part.precip = Percent(precip);
    if (nHumidities)
        part.humidity = Percent(dHumidity / nHumidities);
    if (nWinds)
        part.wind.speed = KmhOf(dWind / nWinds);
    if (gust)
        part.wind.gust = KmhOf(*gust);
    part.wind.bDirection = nDirections > 0;
    const double dDirection = std::fmod(std::atan2(dEast, dNorth) * 180.0 / PI + 360.0, 360.0);
    part.wind.nDirection = static_cast<int>(std::lround(dDirection)) % 360;
    return part;
}

// The day's sunrise and sunset on the station's clock: the source's, when
// they fall within the day; for polar day and night, or times the source does
// not give, those of the service's own solar equations, which show a day
// without night or without day as the rest of the feed does.
void SunTimes(const Forecast& forecast, const CPlace& sunPlace, int64_t nMidnight, CCivilTime& sunrise,
              CCivilTime& sunset)
{
    const auto day = forecast.days.find(nMidnight);
    if (day != forecast.days.end() && day->second.sunrise && day->second.sunset) {
        const int64_t nRise = forecast.clock.LocalFromUtc(*day->second.sunrise);
        const int64_t nSet = forecast.clock.LocalFromUtc(*day->second.sunset);
        if (nRise >= nMidnight && nRise < nSet && nSet < nMidnight + DAY) {
            sunrise = CCivilTime::FromSeconds(nRise);
            sunset = CCivilTime::FromSeconds(nSet);
            return;
        }
    }
    const CCivilTime date = CCivilTime::FromSeconds(nMidnight);
    CForecastHeader::SunTimes(sunPlace, date.m_nYear, date.m_nMonth, date.m_nDay, sunrise, sunset);
}

// Temperatures of the hours whose wall-clock time is in [nFrom, nTo).
std::vector<const Hour*> HoursBetween(const Forecast& forecast, int64_t nFrom, int64_t nTo)
{
    std::vector<const Hour*> hours;
    for (const Hour& hour : forecast.hours) {
        const int64_t nLocal = forecast.clock.LocalFromUtc(hour.nUtc);
        if (nLocal >= nFrom && nLocal < nTo)
            hours.push_back(&hour);
    }
    return hours;
}

Number Extreme(const std::vector<const Hour*>& hours, bool bHighest)
{
    Number extreme;
    for (const Hour* pHour : hours) {
        if (pHour->temp && (!extreme || (bHighest ? *pHour->temp > *extreme : *pHour->temp < *extreme)))
            extreme = pHour->temp;
    }
    return extreme;
}

void FillDays(CForecastRecord& record, const Forecast& forecast, const CPlace& sunPlace, int64_t nNowUtc, int nCount)
{
    const CCivilTime now = CCivilTime::FromSeconds(forecast.clock.LocalFromUtc(nNowUtc));
    const int64_t nToday = CCivilTime::DaySeconds(now.m_nYear, now.m_nMonth, now.m_nDay);
    for (int i = 0; i < nCount; ++i) {
        const int64_t nMidnight = nToday + i * DAY;
        const std::vector<const Hour*> dayHours = HoursBetween(forecast, nMidnight + 7 * HOUR, nMidnight + 19 * HOUR);
        const std::vector<const Hour*> nightHours = HoursBetween(forecast, nMidnight + 19 * HOUR, nMidnight + 31 * HOUR);
        const auto daily = forecast.days.find(nMidnight);
        // The forecast ends with the last day it says anything of.
        if (dayHours.empty() && nightHours.empty() && daily == forecast.days.end())
            break;

        CForecastRecord::Day day;
        day.nDay = i;
        day.date = CCivilTime::FromSeconds(nMidnight);
        SunTimes(forecast, sunPlace, nMidnight, day.sunrise, day.sunset);

        // The high is the day's, the low the coming night's (18:00 to 9:00).
        Number high = daily != forecast.days.end() ? daily->second.high : Number();
        if (!high)
            high = Extreme(HoursBetween(forecast, nMidnight + 6 * HOUR, nMidnight + 21 * HOUR), true);
        Number low = Extreme(HoursBetween(forecast, nMidnight + 18 * HOUR, nMidnight + 34 * HOUR), false);
        const auto tomorrow = forecast.days.find(nMidnight + DAY);
        if (!low && tomorrow != forecast.days.end())
            low = tomorrow->second.low;
        if (low)
            day.low = CelsiusOf(*low);

        const bool bDayOver = i == 0 && now.m_nHour >= CForecastRecord::DAY_PART_OVER_HOUR;
        if (!bDayOver) {
            if (high)
                day.high = CelsiusOf(*high);
            // The day's picture unless the sun stays down (polar night).
            const bool bSunUp = std::any_of(dayHours.begin(), dayHours.end(),
                                            [&](const Hour* p) { return IsDaylight(*p, sunPlace); });
            day.parts[0] = PartOf(dayHours, bSunUp);
        }
        // The night's picture unless the sun stays up (polar day).
        const bool bSunUp = !nightHours.empty() && std::all_of(nightHours.begin(), nightHours.end(), [&](const Hour* p) {
            return IsDaylight(*p, sunPlace);
        });
        day.parts[1] = PartOf(nightHours, bSunUp);
        record.m_days.push_back(day);
    }
}

void FillHours(CForecastRecord& record, const Forecast& forecast, const CPlace& sunPlace, int64_t nNowUtc, int nCount)
{
    const int64_t nIssue = CForecastHeader::IssueTime(sunPlace, nNowUtc);
    const Hour* pPrevious = nullptr;
    for (const Hour& hour : forecast.hours) {
        if (hour.nUtc <= nIssue)
            continue;
        // The program counts the hours on from the first: they must follow
        // one another, each with a temperature.
        if (static_cast<int>(record.m_hours.size()) == nCount || !hour.temp ||
            (pPrevious && hour.nUtc - pPrevious->nUtc != HOUR))
            break;
        pPrevious = &hour;
        CForecastRecord::Hour out;
        out.nHour = static_cast<int>(record.m_hours.size()) + 1;
        out.time = CCivilTime::FromSeconds(forecast.clock.LocalFromUtc(hour.nUtc));
        out.dTemp = CelsiusOf(*hour.temp);
        out.dFeelsLike = CelsiusOf(hour.feels.value_or(*hour.temp));
        out.nIcon = CWmoIcons::Icon(hour.nCode, IsDaylight(hour, sunPlace), hour.temp, hour.wind);
        out.nPrecip = Percent(hour.precip).value_or(0);
        out.nHumidity = Percent(hour.humidity).value_or(0);
        out.wind = WindOf(hour);
        record.m_hours.push_back(out);
    }
}

} // namespace

bool COpenMeteoTranslator::ReadPlaces(const std::string& strBody, std::vector<CPlace>& places, std::string& strError)
{
    const json document = CBoundedJson::Parse(strBody);
    if (!document.is_object()) {
        strError = "the search answer is not a JSON object";
        return false;
    }
    if (IsError(document, strError))
        return false;
    const json* pResults = Member(&document, "results");
    if (!pResults)
        return true;   // no place matches
    if (!pResults->is_array()) {
        strError = "the search answer's results are not a list";
        return false;
    }
    for (const json& item : *pResults) {
        if (places.size() == MAX_RESULTS)
            break;
        const json* pID = Member(&item, "id");
        const Number latitude = Within(NumberOf(Member(&item, "latitude")), -90.0, 90.0);
        const Number longitude = Within(NumberOf(Member(&item, "longitude")), -180.0, 180.0);
        CPlace place;
        place.m_strCity = CleanText(TextOf(Member(&item, "name")), MAX_NAME_BYTES);
        if (!pID || !pID->is_number_integer() || pID->get<int64_t>() <= 0 || !latitude || !longitude ||
            place.m_strCity.empty())
            continue;
        place.m_nSourceID = pID->get<int64_t>();
        if (std::any_of(places.begin(), places.end(), [&](const CPlace& p) { return p.m_nSourceID == place.m_nSourceID; }))
            continue;
        place.m_dLatitude = *latitude;
        place.m_dLongitude = *longitude;
        place.m_strRegion = CleanText(TextOf(Member(&item, "admin1")), MAX_NAME_BYTES);
        place.m_strCountry = CleanText(TextOf(Member(&item, "country")), MAX_NAME_BYTES);
        const std::string strCode = TextOf(Member(&item, "country_code"));
        if (strCode.size() == 2 && std::isalpha(static_cast<unsigned char>(strCode[0])) &&
            std::isalpha(static_cast<unsigned char>(strCode[1]))) {
            for (char c : strCode)
                place.m_strCountryCode += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        const std::string strZone = TextOf(Member(&item, "timezone"));
        place.m_clock.m_strZone = IsZoneName(strZone) ? strZone : std::string();
        place.m_strName = DisplayName(place.m_strCity, place.m_strRegion, place.m_strCountry);
        places.push_back(std::move(place));
    }
    return true;
}

bool COpenMeteoTranslator::ReadForecast(const std::string& strBody, const CPlace& place,
                                        CForecastRecord::Section section, int nCount, int64_t nNowUtc,
                                        int64_t nFetchedUtc, CForecastRecord& record, std::string& strError)
{
    const json document = CBoundedJson::Parse(strBody);
    if (!document.is_object()) {
        strError = "the forecast is not a JSON object";
        return false;
    }
    if (IsError(document, strError))
        return false;
    Forecast forecast;
    if (!ReadClock(document, place, forecast.clock, strError))
        return false;
    ReadHours(document, forecast);
    ReadDays(document, forecast);

    // The place on the answer's clock, for the header, the solar equations and
    // the day-night test.
    CPlace onClock;
    onClock.m_strID = place.m_strID;
    onClock.m_strName = place.m_strName;
    onClock.m_dLatitude = place.m_dLatitude;
    onClock.m_dLongitude = place.m_dLongitude;
    onClock.m_clock = forecast.clock;

    // The update is when the source answered; the sun's times are the source's.
    record = CForecastRecord();
    CForecastHeader::Fill(record, onClock, nNowUtc);
    record.m_lastUpdate = CCivilTime::FromSeconds(forecast.clock.LocalFromUtc(nFetchedUtc));
    SunTimes(forecast, onClock, MidnightOf(forecast.clock.LocalFromUtc(nNowUtc)), record.m_sunrise, record.m_sunset);
    record.m_section = section;

    if (section == CForecastRecord::DAILY) {
        FillDays(record, forecast, onClock, nNowUtc, nCount);
        if (record.m_days.empty()) {
            strError = "the forecast has no day from today on";
            return false;
        }
    } else if (section == CForecastRecord::HOURLY) {
        FillHours(record, forecast, onClock, nNowUtc, nCount);
        if (record.m_hours.empty()) {
            strError = "the forecast has no hour from now on";
            return false;
        }
    }
    return true;
}

std::string COpenMeteoTranslator::Refusal(const std::string& strBody)
{
    std::string strError;
    return IsError(CBoundedJson::Parse(strBody), strError) ? strError : std::string();
}

std::string COpenMeteoTranslator::DisplayName(const std::string& strCity, const std::string& strRegion,
                                              const std::string& strCountry)
{
    std::string strName = strCity;
    if (!strRegion.empty() && strRegion != strCity)
        strName += ", " + strRegion;
    if (!strCountry.empty())
        strName += ", " + strCountry;
    return strName;
}

std::string COpenMeteoTranslator::CleanText(const std::string& strText, size_t nMaxBytes)
{
    // Runs of blanks become one, as the program's XML reader would make them.
    std::string out;
    for (char c : strText) {
        const unsigned char u = static_cast<unsigned char>(c);
        const bool bBlank = u <= 0x20 || u == 0x7F;
        if (!bBlank)
            out += c;
        else if (!out.empty() && out.back() != ' ')
            out += ' ';
    }
    if (!out.empty() && out.back() == ' ')
        out.pop_back();
    if (out.size() > nMaxBytes) {
        size_t nCut = nMaxBytes;
        while (nCut > 0 && (static_cast<unsigned char>(out[nCut]) & 0xC0) == 0x80)
            --nCut;
        out.resize(nCut);
    }
    return out;
}
