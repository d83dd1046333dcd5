// Recorded Open-Meteo answers (written after its documentation) translated into
// feeds and search answers, read back through the program's own loaders.

#include "FeedCheck.h"

#include "platform/CodePage.h"
#include "store/ForecastMarkers.h"
#include "service/feed/CivilTime.h"
#include "service/feed/FeedWriter.h"
#include "service/live/OpenMeteoTranslator.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double MINUTE = 1.0 / 1440.0;

int64_t Utc(int nYear, int nMonth, int nDay, int nHour, int nMinute = 0)
{
    return CCivilTime::DaySeconds(nYear, nMonth, nDay) + nHour * 3600 + nMinute * 60;
}

// The program's Celsius of a whole Fahrenheit value.
double Celsius(int nFahrenheit)
{
    return (nFahrenheit - 32.0) * 5.0 * 0.1111111111111111;
}

double Clock(int nHour, int nMinute)
{
    return (nHour * 60 + nMinute) * MINUTE;
}

CPlace Place(const char* pszID, const char* pszName, double dLatitude, double dLongitude, const char* pszZone)
{
    CPlace place;
    place.m_strID = pszID;
    place.m_strName = pszName;
    place.m_dLatitude = dLatitude;
    place.m_dLongitude = dLongitude;
    place.m_clock.m_strZone = pszZone;
    return place;
}

const CPlace SYDNEY = Place("AUSY7714", "Sydney, New South Wales, Australia", -33.86785, 151.20732, "Australia/Sydney");
const CPlace KIRITIMATI = Place("KIKI2315", "Kiritimati, Line Islands, Kiribati", 1.87, -157.4, "Pacific/Kiritimati");
const CPlace ST_JOHNS = Place("CAST6165", "St. John's, Newfoundland and Labrador, Canada", 47.56494, -52.70931,
                              "America/St_Johns");
const CPlace LONGYEARBYEN = Place("SJLO7093", "Longyearbyen, Svalbard, Svalbard and Jan Mayen", 78.2186, 15.6401,
                                  "Arctic/Longyearbyen");

std::string Answer(const char* pszName)
{
    return ReadFixture(std::string("service/fixtures/openmeteo/") + pszName);
}

// The feed the service would answer with, or "" when the translation failed.
std::string Feed(const std::string& strAnswer, const CPlace& place, CForecastRecord::Section section, int nCount,
                 int64_t nNowUtc, int64_t nFetchedUtc)
{
    CForecastRecord record;
    std::string strError;
    if (!COpenMeteoTranslator::ReadForecast(strAnswer, place, section, nCount, nNowUtc, nFetchedUtc, record, strError)) {
        ADD_FAILURE() << strError;
        return std::string();
    }
    return CFeedWriter::Feed(record);
}

struct PartWant
{
    int nIcon;
    int nPrecip;      // NA_VALUE: "N/A"
    int nSpeed;       // km/h as the program reads it; NA_VALUE: "N/A"
    int nGust;        // mph
    const char* pszDirection;
};

void ExpectPart(const CDayPart& part, const PartWant& want)
{
    EXPECT_EQ(part.m_nIcon, want.nIcon);
    EXPECT_EQ(part.m_nPrecip, want.nPrecip);
    EXPECT_EQ(part.m_wind.m_nSpeed, want.nSpeed);
    EXPECT_EQ(part.m_wind.m_nGust, want.nGust);
    EXPECT_STREQ(part.m_wind.m_pszDirection, want.pszDirection);
}

SYSTEMTIME LastUpdate(const CForecastBase& forecast)
{
    SYSTEMTIME update {};
    EXPECT_TRUE(forecast.m_dtLastUpdate.GetAsSystemTime(update));
    return update;
}

// South of the equator in its summer time, with Unix times: two days of
// hours and days, asked at 11:30 on the first, fetched ten minutes before.
TEST(OpenMeteoTranslator, SydneyInSummerTimeFromUnixTimes)
{
    const int64_t nNow = Utc(2026, 1, 15, 0, 30);   // 11:30 AEDT
    CDailyForecast daily;
    LoadDaily(Feed(Answer("forecast_sydney.json"), SYDNEY, CForecastRecord::DAILY, 10, nNow, nNow - 600), daily);
    EXPECT_EQ(daily.m_strLocation, L"Sydney, New South Wales, Australia");
    EXPECT_EQ(daily.m_nZone, 11);
    const SYSTEMTIME update = LastUpdate(daily);
    EXPECT_EQ(update.wYear, 2026);
    EXPECT_EQ(update.wMonth, 1);
    EXPECT_EQ(update.wDay, 15);
    EXPECT_EQ(update.wHour, 11);
    EXPECT_EQ(update.wMinute, 20);
    EXPECT_NEAR(daily.m_dtLocalTime.m_dt, Clock(11, 30), 1e-6);
    EXPECT_NEAR(daily.m_dtSunrise.m_dt, Clock(6, 3), 1e-6);
    EXPECT_NEAR(daily.m_dtSunset.m_dt, Clock(20, 9), 1e-6);

    // The answer holds two days: the feed ends with them.
    ASSERT_EQ(daily.m_days.GetCount(), 2);
    const CForecastDay& today = *daily.m_days.GetAt(0);
    EXPECT_STREQ(today.m_pszWeekday, "Thursday");
    EXPECT_STREQ(today.m_pszDate, "Jan 15");
    EXPECT_DOUBLE_EQ(today.m_dHigh, Celsius(82));   // 82.4 F
    EXPECT_DOUBLE_EQ(today.m_dLow, Celsius(65));    // the coming night's 64.6 F
    EXPECT_NEAR(today.m_dtSunrise.m_dt, Clock(6, 3), 1e-6);
    ExpectPart(today.m_parts[0], {34, 20, 16, 25, "NE"});    // fair; 9.8 mph on average
    ExpectPart(today.m_parts[1], {45, 60, 19, 20, "N"});     // showers in 3 of 12 hours; 350 and 10 degrees

    const CForecastDay& tomorrow = *daily.m_days.GetAt(1);
    EXPECT_STREQ(tomorrow.m_pszWeekday, "Friday");
    EXPECT_DOUBLE_EQ(tomorrow.m_dHigh, Celsius(73));
    EXPECT_DOUBLE_EQ(tomorrow.m_dLow, Celsius(68));
    ExpectPart(tomorrow.m_parts[0], {12, 90, 24, 35, "SSW"});   // rain in 6 of 12 hours
    ExpectPart(tomorrow.m_parts[1], {26, 30, 13, 14, "S"});

    CHourlyForecast hourly;
    LoadHourly(Feed(Answer("forecast_sydney.json"), SYDNEY, CForecastRecord::HOURLY, 72, nNow, nNow - 600), hourly);
    EXPECT_EQ(hourly.m_nZone, 11);
    // From 12:00 on the first day to 23:00 on the second.
    ASSERT_EQ(hourly.m_hours.GetCount(), 36);
    for (int i = 0; i < 36; ++i) {
        EXPECT_EQ(hourly.m_hours.GetAt(i)->m_nHour, i + 1);
        EXPECT_EQ(hourly.m_hours.GetAt(i)->m_nClock, (12 + i) % 24);
    }
    const CForecastHour& noon = *hourly.m_hours.GetAt(0);
    EXPECT_DOUBLE_EQ(noon.m_dTemp, Celsius(80));   // 79.5 F
    EXPECT_EQ(noon.m_nIcon, 34);
    EXPECT_EQ(noon.m_nPrecip, 10);
    EXPECT_EQ(noon.m_wind.m_nSpeed, 18);           // 11 mph
    EXPECT_EQ(noon.m_wind.m_nGust, 22);
    EXPECT_EQ(noon.m_wind.m_nDirection, 45);
    const CForecastHour& evening = *hourly.m_hours.GetAt(9);   // 21:00, after sunset
    EXPECT_EQ(evening.m_nIcon, 45);
    EXPECT_EQ(evening.m_nPrecip, 60);
    EXPECT_STREQ(evening.m_wind.m_pszDirection, "N");
}

// Across the date line (UTC+14): the station's day is a day ahead of UTC's.
// ISO 8601 times on the station's clock.
TEST(OpenMeteoTranslator, KiritimatiIsADayAheadOfUtc)
{
    const int64_t nNow = Utc(2026, 1, 15, 10, 30);   // 00:30 on the 16th there
    const std::string answer = Answer("forecast_kiritimati.json");
    CDailyForecast daily;
    LoadDaily(Feed(answer, KIRITIMATI, CForecastRecord::DAILY, 10, nNow, nNow), daily);
    EXPECT_EQ(daily.m_nZone, 14);
    const SYSTEMTIME update = LastUpdate(daily);
    EXPECT_EQ(update.wDay, 16);
    EXPECT_EQ(update.wHour, 0);
    EXPECT_EQ(update.wMinute, 30);
    ASSERT_EQ(daily.m_days.GetCount(), 2);
    const CForecastDay& today = *daily.m_days.GetAt(0);
    EXPECT_STREQ(today.m_pszDate, "Jan 16");
    EXPECT_STREQ(today.m_pszWeekday, "Friday");
    EXPECT_DOUBLE_EQ(today.m_dHigh, Celsius(85));
    EXPECT_DOUBLE_EQ(today.m_dLow, Celsius(78));
    EXPECT_EQ(today.m_parts[0].m_nIcon, 37);    // thunder in one hour of twelve
    EXPECT_EQ(today.m_parts[0].m_nPrecip, 40);
    EXPECT_EQ(today.m_parts[1].m_nIcon, 3);     // thunder with hail in five
    EXPECT_EQ(today.m_parts[1].m_nPrecip, 70);
    EXPECT_STREQ(daily.m_days.GetAt(1)->m_pszDate, "Jan 17");

    CHourlyForecast hourly;
    LoadHourly(Feed(answer, KIRITIMATI, CForecastRecord::HOURLY, 72, nNow, nNow), hourly);
    ASSERT_EQ(hourly.m_hours.GetCount(), 47);
    EXPECT_EQ(hourly.m_hours.GetAt(0)->m_nClock, 1);

    // A zone this machine does not know: the answer's own offset keeps the
    // times the same (the offset holds all year there).
    std::string unknown = answer;
    unknown.replace(unknown.find("Pacific/Kiritimati"), 18, "Pacific/Atlantis");
    for (CForecastRecord::Section section : {CForecastRecord::DAILY, CForecastRecord::HOURLY}) {
        EXPECT_EQ(Feed(unknown, KIRITIMATI, section, 72, nNow, nNow), Feed(answer, KIRITIMATI, section, 72, nNow, nNow));
    }
}

// A half-hour zone (UTC-3:30), asked after 15:00, from a mirror that answers
// in degrees Celsius and km/h and gives no day-or-night flag.
TEST(OpenMeteoTranslator, StJohnsInAHalfHourZoneFromAMirrorInMetricUnits)
{
    const int64_t nNow = Utc(2026, 1, 15, 19, 0);   // 15:30 NST
    const std::string answer = Answer("forecast_stjohns.json");
    CDailyForecast daily;
    LoadDaily(Feed(answer, ST_JOHNS, CForecastRecord::DAILY, 10, nNow, nNow), daily);
    EXPECT_EQ(daily.m_strLocation, L"St. John's, Newfoundland and Labrador, Canada");
    EXPECT_EQ(daily.m_nZone, -3);   // whole hours toward zero
    EXPECT_NEAR(daily.m_dtLocalTime.m_dt, Clock(15, 30), 1e-6);
    EXPECT_NEAR(daily.m_dtSunset.m_dt, Clock(16, 33), 1e-6);
    ASSERT_EQ(daily.m_days.GetCount(), 2);

    // Past 15:00 today's day part is over; the night is forecast.
    const CForecastDay& today = *daily.m_days.GetAt(0);
    EXPECT_EQ(today.m_dHigh, NA_TEMPERATURE);
    EXPECT_DOUBLE_EQ(today.m_dLow, Celsius(20));   // -6.4 C
    ExpectPart(today.m_parts[0], {44, NA_VALUE, NA_VALUE, NA_VALUE, "N/A"});
    ExpectPart(today.m_parts[1], {16, 80, 32, 32, "WNW"});   // snow; 32.2 km/h is 20 mph

    // The answer ends at 11:00 tomorrow: no night, no low; the high from the hours.
    const CForecastDay& tomorrow = *daily.m_days.GetAt(1);
    EXPECT_DOUBLE_EQ(tomorrow.m_dHigh, Celsius(28));   // -2.4 C
    EXPECT_EQ(tomorrow.m_dLow, NA_TEMPERATURE);
    EXPECT_EQ(tomorrow.m_parts[0].m_nIcon, 26);
    ExpectPart(tomorrow.m_parts[1], {44, NA_VALUE, NA_VALUE, NA_VALUE, "N/A"});

    CHourlyForecast hourly;
    LoadHourly(Feed(answer, ST_JOHNS, CForecastRecord::HOURLY, 72, nNow, nNow), hourly);
    // 16:00 to 10:00 tomorrow: the 11:00 hour has no temperature.
    ASSERT_EQ(hourly.m_hours.GetCount(), 19);
    const CForecastHour& first = *hourly.m_hours.GetAt(0);
    EXPECT_EQ(first.m_nClock, 16);
    EXPECT_DOUBLE_EQ(first.m_dTemp, Celsius(33));   // 0.6 C
    EXPECT_EQ(first.m_wind.m_nSpeed, 26);           // 25 km/h is 16 mph
    EXPECT_STREQ(first.m_wind.m_pszDirection, "W");
    EXPECT_EQ(hourly.m_hours.GetAt(2)->m_nIcon, 31);   // clear at 18:00: night by the sun's height
    EXPECT_EQ(hourly.m_hours.GetAt(18)->m_nClock, 10);
}

// Polar night: the source gives sunrise and sunset at midnight, or (as it
// once did) at 1970; both days read as a night that lasts all day, and no
// picture is a day's.
TEST(OpenMeteoTranslator, LongyearbyenInPolarNight)
{
    const int64_t nNow = Utc(2026, 1, 5, 11, 0);   // 12:00 CET
    const std::string answer = Answer("forecast_longyearbyen.json");
    CDailyForecast daily;
    LoadDaily(Feed(answer, LONGYEARBYEN, CForecastRecord::DAILY, 10, nNow, nNow), daily);
    EXPECT_EQ(daily.m_nZone, 1);
    EXPECT_EQ(daily.m_dtSunrise.m_dt, daily.m_dtSunset.m_dt);
    ASSERT_EQ(daily.m_days.GetCount(), 2);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const CForecastDay& day = *daily.m_days.GetAt(i);
        EXPECT_EQ(day.m_dtSunrise.m_dt, day.m_dtSunset.m_dt);
        EXPECT_NEAR(day.m_dtSunrise.m_dt, Clock(12, 0), 30 * MINUTE);   // the solar noon
        for (const CDayPart& part : day.m_parts)
            EXPECT_FALSE(IsDayPicture(part.m_nIcon)) << part.m_nIcon;
    }
    EXPECT_EQ(daily.m_days.GetAt(0)->m_parts[0].m_nIcon, 31);   // a clear "day" under the stars
    EXPECT_EQ(daily.m_days.GetAt(0)->m_parts[1].m_nIcon, 14);

    CHourlyForecast hourly;
    LoadHourly(Feed(answer, LONGYEARBYEN, CForecastRecord::HOURLY, 72, nNow, nNow), hourly);
    ASSERT_EQ(hourly.m_hours.GetCount(), 35);
    EXPECT_EQ(hourly.m_hours.GetAt(0)->m_nIcon, 31);
    for (int i = 0; i < hourly.m_hours.GetCount(); ++i)
        EXPECT_FALSE(IsDayPicture(hourly.m_hours.GetAt(i)->m_nIcon)) << i;
}

TEST(OpenMeteoTranslator, SearchAnswerKeepsUsablePlacesWithTheirNamesIntact)
{
    std::vector<CPlace> places;
    std::string strError;
    ASSERT_TRUE(COpenMeteoTranslator::ReadPlaces(Answer("geocoding_sydney.json"), places, strError)) << strError;
    // Left out: a result without a number, one without a position, a repeat.
    ASSERT_EQ(places.size(), 4u);
    EXPECT_EQ(places[0].m_nSourceID, 2147714);
    EXPECT_EQ(places[0].m_strName, "Sydney, New South Wales, Australia");
    EXPECT_EQ(places[0].m_strCountryCode, "AU");
    EXPECT_EQ(places[0].m_clock.m_strZone, "Australia/Sydney");
    EXPECT_DOUBLE_EQ(places[0].m_dLatitude, -33.86785);
    EXPECT_EQ(places[1].m_strName, "Sydney, Nova Scotia, Canada");
    EXPECT_EQ(places[2].m_strCountryCode, "US");
    EXPECT_EQ(places[3].m_strName, "Sydney Mines, Canada");

    // Markup reaches the program as text; a control character as a blank.
    const std::string strOdd = "<b>Sydney & \"Sons\"</b> Bay, Florida's <Coast>, United States";
    EXPECT_EQ(places[2].m_strName, strOdd);
    for (size_t i = 0; i < places.size(); ++i)
        places[i].m_strID = "AUSY000" + std::to_string(i);
    std::vector<const CPlace*> answer;
    for (const CPlace& place : places)
        answer.push_back(&place);
    const SearchResults results = LoadSearch(CFeedWriter::SearchAnswer(answer));
    ASSERT_EQ(results.size(), 4u);
    EXPECT_EQ(results[2].second, CCodePage::Decode(strOdd));

    // No match: no "results" at all.
    places.clear();
    EXPECT_TRUE(COpenMeteoTranslator::ReadPlaces("{\"generationtime_ms\":0.5}", places, strError));
    EXPECT_TRUE(places.empty());
}

// Answers no forecast service should give: each is refused or read as far as
// it makes sense, and nothing crashes.
std::string Repeated(const std::string& strPiece, int nTimes)
{
    std::string out;
    for (int i = 0; i < nTimes; ++i)
        out += strPiece;
    return out;
}

TEST(OpenMeteoTranslator, BrokenAnswersAreRefusedOrReadAsFarAsTheyGo)
{
    const int64_t nNow = Utc(2026, 1, 15, 0, 30);
    const std::string strHours = "[" + std::to_string(Utc(2026, 1, 15, 1)) + "," + std::to_string(Utc(2026, 1, 15, 2)) +
                                 "," + std::to_string(Utc(2026, 1, 15, 3)) + "]";
    const auto hourly = [&](const std::string& strMembers) {
        return "{\"utc_offset_seconds\":0,\"timezone\":\"UTC\",\"hourly\":{\"time\":" + strHours + "," + strMembers + "}}";
    };
    struct Case { std::string body; int nHours; const char* pszError; };
    const Case cases[] = {
        {"", -1, "not a JSON object"},
        {"<html><body>Bad gateway</body></html>", -1, "not a JSON object"},
        {"[1, 2, 3]", -1, "not a JSON object"},
        {std::string(200000, '['), -1, "not a JSON object"},
        // Well-formed, but each level or tiny value would cost the parser tens
        // of bytes: refused before it builds any.
        {std::string(2000000, '[') + std::string(2000000, ']'), -1, "not a JSON object"},
        {"{\"hourly\":{\"time\":[" + Repeated("[],", 1000000) + "[]]}}", -1, "not a JSON object"},
        {"{\"error\":true,\"reason\":\"Latitude must be in range of -90 to 90\u00b0.\"}", -1, "Latitude must be in range"},
        {"{\"timezone\":\"Pacific/Atlantis\"}", -1, "time zone"},
        {"{\"utc_offset_seconds\":0}", -1, "no hour"},
        {hourly("\"temperature_2m\":[50.0]"), 1, nullptr},                          // shorter than the times
        {hourly("\"temperature_2m\":[50.0,null,52.0]"), 1, nullptr},                // a gap in the middle
        {hourly("\"temperature_2m\":[1e300,50,50]"), -1, "no hour"},                // absurd: none
        {hourly("\"temperature_2m\":\"warm\""), -1, "no hour"},
        {"{\"utc_offset_seconds\":0,\"hourly\":{\"time\":[" + std::to_string(Utc(2026, 1, 15, 2)) + "," +
             std::to_string(Utc(2026, 1, 15, 1)) + "," + std::to_string(Utc(2026, 1, 15, 3)) +
             "],\"temperature_2m\":[50,51,52]}}", 2, nullptr},                     // out of order: 1:00 left out
        {"{\"utc_offset_seconds\":99999999,\"hourly\":{\"time\":" + strHours + ",\"temperature_2m\":[1,2,3]}}", -1,
         "time zone"},
    };
    // A place without a zone of its own: only the answer can give one.
    CPlace nowhere = SYDNEY;
    nowhere.m_clock.m_strZone.clear();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body.substr(0, 120));
        CForecastRecord record;
        std::string strError;
        const bool bRead = COpenMeteoTranslator::ReadForecast(c.body, nowhere, CForecastRecord::HOURLY, 72, nNow, nNow,
                                                              record, strError);
        EXPECT_EQ(bRead, c.nHours >= 0);
        if (bRead)
            EXPECT_EQ(static_cast<int>(record.m_hours.size()), c.nHours);
        else
            EXPECT_NE(strError.find(c.pszError), std::string::npos) << strError;
        std::vector<CPlace> places;
        COpenMeteoTranslator::ReadPlaces(c.body, places, strError);
        EXPECT_TRUE(places.empty());
    }
}

// Values out of all reason are values the source did not give.
TEST(OpenMeteoTranslator, AbsurdValuesBecomeNotAvailable)
{
    const int64_t nNow = Utc(2026, 1, 15, 0, 30);
    const std::string body =
        "{\"utc_offset_seconds\":0,\"timezone\":\"UTC\",\"hourly\":{\"time\":[" + std::to_string(Utc(2026, 1, 15, 1)) +
        "],\"temperature_2m\":[41],\"precipitation_probability\":[250],\"weather_code\":[1000],"
        "\"wind_speed_10m\":[-5],\"wind_gusts_10m\":[1e9],\"wind_direction_10m\":[720],\"is_day\":[7]}}";
    CHourlyForecast hourly;
    LoadHourly(Feed(body, SYDNEY, CForecastRecord::HOURLY, 72, nNow, nNow), hourly);
    ASSERT_EQ(hourly.m_hours.GetCount(), 1);
    const CForecastHour& hour = *hourly.m_hours.GetAt(0);
    EXPECT_DOUBLE_EQ(hour.m_dTemp, Celsius(41));
    EXPECT_EQ(hour.m_nPrecip, 0);
    EXPECT_EQ(hour.m_nIcon, 44);
    EXPECT_EQ(hour.m_wind.m_nSpeed, NA_VALUE);
    EXPECT_EQ(hour.m_wind.m_nGust, NA_VALUE);
    EXPECT_STREQ(hour.m_wind.m_pszDirection, "N/A");
}

TEST(OpenMeteoTranslator, NamesAreCleanedAndCutOnCharacterBoundaries)
{
    struct Case { std::string text; size_t nMax; std::string want; };
    const Case cases[] = {
        {"  Zürich\t", 100, "Zürich"},
        {std::string("a\0b", 3), 100, "a b"},
        {"St.\t\n John's", 100, "St. John's"},
        {"Zürich", 2, "Z"},          // ü is two bytes: not cut in half
        {"Zürich", 3, "Zü"},
        {"\x01\x02", 100, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(COpenMeteoTranslator::CleanText(c.text, c.nMax), c.want);
    EXPECT_EQ(COpenMeteoTranslator::DisplayName("Berlin", "Berlin", "Germany"), "Berlin, Germany");
    EXPECT_EQ(COpenMeteoTranslator::DisplayName("Nowhere", "", ""), "Nowhere");
}

} // namespace
