// What the writer puts in the feed, as the program reads it back.

#include "FeedCheck.h"

#include "store/ForecastMarkers.h"
#include "service/feed/FeedWriter.h"
#include "service/places/Place.h"

#include <gtest/gtest.h>

namespace {

const char* const MARKUP_NAME = "Fish & Chips <Bay>, \"Q\" 'R'";

CForecastRecord HourlyRecord()
{
    CForecastRecord record;
    record.m_strID = "GBFI0001";
    record.m_strName = MARKUP_NAME;
    record.m_section = CForecastRecord::HOURLY;
    record.m_lastUpdate = CCivilTime::FromSeconds(CCivilTime::DaySeconds(2026, 12, 31) + 23 * 3600);
    return record;
}

TEST(FeedWriter, MarkupInNamesIsEscaped)
{
    CHourlyForecast hourly;
    LoadHourly(CFeedWriter::Feed(HourlyRecord()), hourly);
    EXPECT_EQ(hourly.m_strLocation, L"Fish & Chips <Bay>, \"Q\" 'R'");

    CPlace place;
    place.m_strID = "GBFI0001";
    place.m_strName = MARKUP_NAME;
    const SearchResults results = LoadSearch(CFeedWriter::SearchAnswer({&place, &place}));
    EXPECT_EQ(results, (SearchResults{{L"GBFI0001", L"Fish & Chips <Bay>, \"Q\" 'R'"},
                                      {L"GBFI0001", L"Fish & Chips <Bay>, \"Q\" 'R'"}}));
}

TEST(FeedWriter, ValuesReachTheProgramInItsUnits)
{
    struct Case { double temp; double speed; std::optional<double> gust; double programTemp; int programSpeed; int programGust; };
    const Case cases[] = {
        {10.0, 16.0, 40.0, 10.0, 16, 25},     // 50 F, 10 mph, gust 25 mph (kept in mph by the program)
        {-40.0, 0.0, {}, -40.0, 0, NA_VALUE},  // calm, no gusts
        {0.2, 161.0, {}, 0.0, 161, NA_VALUE},  // 32 F, 100 mph
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.temp);
        CForecastRecord record = HourlyRecord();
        CForecastRecord::Hour hour;
        hour.nHour = 1;
        hour.time = CCivilTime::FromSeconds(CCivilTime::DaySeconds(2027, 1, 1));
        hour.dTemp = c.temp;
        hour.wind.speed = c.speed;
        hour.wind.gust = c.gust;
        hour.wind.nDirection = 270;
        record.m_hours.push_back(hour);
        CHourlyForecast hourly;
        LoadHourly(CFeedWriter::Feed(record), hourly);
        ASSERT_EQ(hourly.m_hours.GetCount(), 1);
        const CForecastHour& read = *hourly.m_hours.GetAt(0);
        EXPECT_NEAR(read.m_dTemp, c.programTemp, 1e-9);
        EXPECT_EQ(read.m_wind.m_nSpeed, c.programSpeed);
        EXPECT_EQ(read.m_wind.m_nGust, c.programGust);
        EXPECT_STREQ(read.m_wind.m_pszDirection, c.speed == 0.0 ? "CALM" : "W");
        EXPECT_EQ(read.m_nClock, 0);
    }
}

TEST(FeedWriter, TimesAreTheFeedsTwelveHourTexts)
{
    struct Case { int hour, minute; const char* text; };
    const Case cases[] = {{0, 0, "12:00 AM"}, {0, 5, "12:05 AM"}, {11, 59, "11:59 AM"}, {12, 0, "12:00 PM"}, {23, 30, "11:30 PM"}};
    for (const Case& c : cases) {
        CCivilTime time = CCivilTime::FromSeconds(CCivilTime::DaySeconds(2026, 1, 2) + c.hour * 3600 + c.minute * 60);
        EXPECT_EQ(CFeedWriter::ClockTime(time), c.text);
    }
    const CCivilTime update = CCivilTime::FromSeconds(CCivilTime::DaySeconds(2027, 1, 2) + 13 * 3600);
    EXPECT_EQ(CFeedWriter::UpdateTime(update), "1/2/27 1:00 PM Local Time");
    EXPECT_EQ(CFeedWriter::ShortDate(update), "Jan 2");
}

} // namespace
