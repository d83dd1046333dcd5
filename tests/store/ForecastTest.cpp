#include "store/DailyForecast.h"
#include "platform/testing/FakeClock.h"
#include "store/ForecastMarkers.h"
#include "store/HourlyForecast.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

const double DEC_10_2026 = 46366;

double Time(int h, int m = 0, int s = 0)
{
    return (h * 3600 + m * 60 + s) / 86400.0;
}

std::wstring Fixture(const char* pszName)
{
    const std::string path = std::string(CIRROVAN_FIXTURES) + "/store/fixtures/" + pszName;
    return std::wstring(path.begin(), path.end());
}

// A feed written to a temporary file for the cases that differ in one text only.
class TempFeed
{
public:
    explicit TempFeed(const std::string& strText)
    {
        std::string pattern = ::testing::TempDir() + "feedXXXXXX";
        int fd = mkstemp(pattern.data());
        EXPECT_GE(fd, 0);
        EXPECT_EQ(write(fd, strText.data(), strText.size()), static_cast<ssize_t>(strText.size()));
        close(fd);
        m_path = pattern;
    }
    ~TempFeed() { std::remove(m_path.c_str()); }
    std::wstring Path() const { return std::wstring(m_path.begin(), m_path.end()); }

private:
    std::string m_path;
};

class Forecast : public ::testing::Test
{
protected:
    void SetUp() override { CFakeClock::Set(1796928960, 300); }   // 2026-12-10 13:56 local
    void TearDown() override { CFakeClock::Clear(); }
};

TEST_F(Forecast, DailyFeedFillsHeaderAndDays)
{
    CDailyForecast daily;
    daily.Load(Fixture("daily.xml"));

    EXPECT_EQ(daily.m_strLocation, L"New York, NY");
    EXPECT_EQ(daily.m_nZone, -5);
    EXPECT_DOUBLE_EQ(daily.m_dtLocalTime.m_dt, Time(13, 56));
    EXPECT_DOUBLE_EQ(daily.m_dtSunrise.m_dt, Time(7, 4));
    EXPECT_DOUBLE_EQ(daily.m_dtSunset.m_dt, Time(16, 29));
    // "EST" after "PM" is cut off before parsing.
    EXPECT_EQ(daily.m_dtLastUpdate.m_status, CDateTime::valid);
    EXPECT_DOUBLE_EQ(daily.m_dtLastUpdate.m_dt, DEC_10_2026 + Time(13));

    ASSERT_EQ(daily.m_days.GetCount(), 4);
    EXPECT_FALSE(daily.IsEmpty());
    const CForecastDay* pDay = daily.m_days.GetAt(0);
    EXPECT_EQ(pDay->m_nDay, 0);
    EXPECT_STREQ(pDay->m_pszWeekday, "Thursday");
    EXPECT_STREQ(pDay->m_pszDate, "Dec 10");
    EXPECT_EQ(pDay->m_dHigh, 10.0);
    EXPECT_EQ(pDay->m_dLow, (38 - 32.0) * 5.0 * 0.1111111111111111);
    EXPECT_DOUBLE_EQ(pDay->m_dtSunrise.m_dt, Time(7, 4));
    EXPECT_DOUBLE_EQ(pDay->m_dtSunset.m_dt, Time(16, 29));

    const CDayPart& day = pDay->m_parts[0];
    EXPECT_EQ(day.m_nIcon, 28);
    EXPECT_EQ(day.m_nPrecip, 20);
    EXPECT_EQ(day.m_wind.m_nSpeed, 16);   // 10 mph
    EXPECT_EQ(day.m_wind.m_nGust, NA_VALUE);
    EXPECT_EQ(day.m_wind.m_nDirection, 270);
    EXPECT_STREQ(day.m_wind.m_pszDirection, "W");
    const CDayPart& night = pDay->m_parts[1];
    EXPECT_EQ(night.m_nIcon, 27);
    EXPECT_EQ(night.m_nPrecip, NA_VALUE);
    EXPECT_EQ(night.m_wind.m_nSpeed, 50);  // 31 mph
    EXPECT_EQ(night.m_wind.m_nGust, 25);   // left in the feed's unit
    EXPECT_STREQ(night.m_wind.m_pszDirection, "WNW");
}

TEST_F(Forecast, DailyMarkersConversionsAndPartSelection)
{
    CDailyForecast daily;
    daily.Load(Fixture("daily.xml"));
    ASSERT_EQ(daily.m_days.GetCount(), 4);

    const CForecastDay* pFriday = daily.m_days.GetAt(1);
    EXPECT_EQ(pFriday->m_dHigh, NA_TEMPERATURE);
    EXPECT_EQ(pFriday->m_dLow, 0.0);
    // "night" counts as n, "x" is skipped, and the second day half overwrites
    // only what it holds.
    EXPECT_EQ(pFriday->m_parts[1].m_nIcon, 11);
    EXPECT_EQ(pFriday->m_parts[1].m_nPrecip, 60);
    EXPECT_EQ(pFriday->m_parts[0].m_nIcon, 12);
    EXPECT_EQ(pFriday->m_parts[0].m_nPrecip, 80);
    EXPECT_EQ(pFriday->m_parts[0].m_wind.m_nSpeed, 161);   // 100 mph
    EXPECT_EQ(pFriday->m_parts[0].m_wind.m_nDirection, 180);
    EXPECT_STREQ(pFriday->m_parts[0].m_wind.m_pszDirection, "SSW");

    const CForecastDay* pSaturday = daily.m_days.GetAt(2);
    EXPECT_EQ(pSaturday->m_dHigh, 100.0);
    EXPECT_EQ(pSaturday->m_dLow, -40.0);
    for (const CDayPart& part : pSaturday->m_parts) {
        EXPECT_EQ(part.m_nIcon, 0);
        EXPECT_EQ(part.m_nPrecip, 0);
        EXPECT_EQ(part.m_wind.m_nSpeed, 0);
        EXPECT_EQ(part.m_wind.m_pszDirection, nullptr);
    }
    EXPECT_EQ(pSaturday->m_dtSunrise.m_dt, 0.0);
    EXPECT_EQ(pSaturday->m_dtSunrise.m_status, CDateTime::valid);

    // Day 1 appears twice: the first in array order wins.
    EXPECT_EQ(daily.FindDay(1), pFriday);
    EXPECT_EQ(daily.FindDay(2), pSaturday);
    EXPECT_EQ(daily.FindDay(4), nullptr);
    EXPECT_EQ(daily.FindDay(-1), nullptr);
}

TEST_F(Forecast, HourlyFeedFillsHeaderAndHours)
{
    CHourlyForecast hourly;
    hourly.Load(Fixture("hourly.xml"));

    EXPECT_EQ(hourly.m_strLocation, L"Z\u00fcrich, ZH");
    EXPECT_EQ(hourly.m_nZone, 1);
    EXPECT_DOUBLE_EQ(hourly.m_dtLocalTime.m_dt, Time(19, 20));
    EXPECT_DOUBLE_EQ(hourly.m_dtLastUpdate.m_dt, DEC_10_2026 + Time(18, 45));

    ASSERT_EQ(hourly.m_hours.GetCount(), 5);
    const CForecastHour* pFirst = hourly.m_hours.GetAt(0);
    EXPECT_EQ(pFirst->m_nHour, 0);
    EXPECT_EQ(pFirst->m_nClock, 19);
    EXPECT_EQ(pFirst->m_dTemp, (48 - 32.0) * 5.0 * 0.1111111111111111);
    EXPECT_EQ(pFirst->m_nIcon, 28);
    EXPECT_EQ(pFirst->m_nPrecip, 10);
    EXPECT_EQ(pFirst->m_wind.m_nSpeed, 16);
    EXPECT_EQ(pFirst->m_wind.m_nGust, NA_VALUE);

    // The hourly values have no markers of their own: "N/A" reads as 0.
    const CForecastHour* pSecond = hourly.m_hours.GetAt(1);
    EXPECT_DOUBLE_EQ(pSecond->m_dTemp, -17.77777777777778);
    EXPECT_EQ(pSecond->m_nPrecip, 0);
    EXPECT_EQ(pSecond->m_wind.m_nSpeed, NA_VALUE);
    EXPECT_EQ(pSecond->m_wind.m_nDirection, 0);
    EXPECT_EQ(pSecond->m_wind.m_nGust, 15);

    EXPECT_EQ(hourly.m_hours.GetAt(2)->m_dTemp, (47.5 - 32.0) * 5.0 * 0.1111111111111111);
    EXPECT_EQ(hourly.m_hours.GetAt(3)->m_dTemp, 100.0);

    // No "h" or "c": never found by number; empty elements read as 0.
    const CForecastHour* pLast = hourly.m_hours.GetAt(4);
    EXPECT_EQ(pLast->m_nHour, -1);
    EXPECT_EQ(pLast->m_nClock, -1);
    EXPECT_DOUBLE_EQ(pLast->m_dTemp, -17.77777777777778);
    EXPECT_EQ(pLast->m_nPrecip, 0);

    EXPECT_EQ(hourly.FindHour(1), pSecond);
    EXPECT_EQ(hourly.FindHour(2), hourly.m_hours.GetAt(2));
    EXPECT_EQ(hourly.FindHour(3), nullptr);
    EXPECT_EQ(hourly.FindHour(-1), pLast);
}

TEST_F(Forecast, EmptyElementsAndAbsentAttributes)
{
    CDailyForecast daily;
    daily.m_strLocation = L"Kept";
    daily.Load(Fixture("sparse.xml"));
    EXPECT_EQ(daily.m_strLocation, L"Kept");   // no "loc": header untouched
    ASSERT_EQ(daily.m_days.GetCount(), 2);

    const CForecastDay* pBare = daily.m_days.GetAt(0);
    EXPECT_EQ(pBare->m_nDay, -1);
    EXPECT_EQ(pBare->m_pszWeekday, nullptr);
    EXPECT_EQ(pBare->m_pszDate, nullptr);
    // Empty values are missing values, not 0 °F.
    EXPECT_EQ(pBare->m_dHigh, NA_TEMPERATURE);
    EXPECT_EQ(pBare->m_dLow, NA_TEMPERATURE);
    const CDayPart& day = pBare->m_parts[0];
    EXPECT_EQ(day.m_nIcon, 0);
    EXPECT_EQ(day.m_nPrecip, NA_VALUE);
    EXPECT_EQ(day.m_wind.m_nSpeed, NA_VALUE);
    EXPECT_EQ(day.m_wind.m_nGust, NA_VALUE);
    EXPECT_EQ(day.m_wind.m_nDirection, 0);
    EXPECT_STREQ(day.m_wind.m_pszDirection, "");
    // Parts without "p" or with an empty one are skipped.
    EXPECT_EQ(pBare->m_parts[1].m_nIcon, 0);

    const CForecastDay* pOdd = daily.m_days.GetAt(1);
    EXPECT_EQ(pOdd->m_nDay, 0);
    EXPECT_STREQ(pOdd->m_pszWeekday, "");
    EXPECT_DOUBLE_EQ(pOdd->m_dHigh, -17.77777777777778);   // "abc" reads as 0 °F
    EXPECT_EQ(pOdd->m_dLow, (41 - 32.0) * 5.0 * 0.1111111111111111);
    EXPECT_EQ(pOdd->m_dtSunrise.m_status, CDateTime::invalid);
    EXPECT_EQ(pOdd->m_dtSunrise.m_dt, 0.0);
    EXPECT_EQ(daily.FindDay(0), pOdd);
}

TEST_F(Forecast, LocationWithoutSectionKeepsTheDays)
{
    CDailyForecast daily;
    daily.Load(Fixture("daily.xml"));
    const CForecastDay* pFirst = daily.m_days.GetAt(0);
    const double lastUpdate = daily.m_dtLastUpdate.m_dt;

    daily.Load(Fixture("loc_only.xml"));
    EXPECT_EQ(daily.m_strLocation, L"Boston, MA");
    EXPECT_EQ(daily.m_nZone, 0);   // no "zone": 0, not the old -5
    EXPECT_DOUBLE_EQ(daily.m_dtLocalTime.m_dt, Time(14, 10));
    EXPECT_DOUBLE_EQ(daily.m_dtSunrise.m_dt, Time(6, 58));
    EXPECT_EQ(daily.m_dtSunset.m_status, CDateTime::invalid);
    EXPECT_EQ(daily.m_dtLastUpdate.m_dt, lastUpdate);
    ASSERT_EQ(daily.m_days.GetCount(), 4);
    EXPECT_EQ(daily.m_days.GetAt(0), pFirst);

    // An empty section replaces the days with none; an empty name is empty.
    daily.Load(Fixture("empty_section.xml"));
    EXPECT_EQ(daily.m_strLocation, L"");
    EXPECT_EQ(daily.m_nZone, 3);
    EXPECT_TRUE(daily.IsEmpty());
    EXPECT_EQ(daily.m_days.m_nCapacity, 32);
    EXPECT_EQ(daily.m_dtLastUpdate.m_dt, lastUpdate);
}

// Missing, broken, hostile or foreign files leave header and records exactly as
// they were.
TEST_F(Forecast, UnreadableFilesChangeNothing)
{
    for (const char* pszName : {"missing.xml", "broken.xml", "too_deep.xml", "no_weather.xml"}) {
        SCOPED_TRACE(pszName);
        CDailyForecast daily;
        daily.Load(Fixture("daily.xml"));
        const CForecastDay* pFirst = daily.m_days.GetAt(0);
        daily.Load(Fixture(pszName));
        EXPECT_EQ(daily.m_strLocation, L"New York, NY");
        EXPECT_EQ(daily.m_nZone, -5);
        EXPECT_DOUBLE_EQ(daily.m_dtLastUpdate.m_dt, DEC_10_2026 + Time(13));
        ASSERT_EQ(daily.m_days.GetCount(), 4);
        EXPECT_EQ(daily.m_days.GetAt(0), pFirst);
        EXPECT_EQ(pFirst->m_dHigh, 10.0);
    }
    CHourlyForecast hourly;
    hourly.Load(Fixture("hourly.xml"));
    hourly.Load(Fixture("daily.xml"));   // a daily feed has no hourly section
    EXPECT_EQ(hourly.m_strLocation, L"New York, NY");
    EXPECT_EQ(hourly.m_hours.GetCount(), 5);
}

struct UpdateCase
{
    const char* pszText;
    int status;
    double value;
};

// The update text ends at its first "AM", or failing that at its first "PM";
// with neither it is parsed whole.
TEST_F(Forecast, LastUpdateIsCutAfterTheFirstMeridiem)
{
    const UpdateCase cases[] = {
        {"12/10/26 1:00 PM EST", CDateTime::valid, DEC_10_2026 + Time(13)},
        {"12/10/26 9:15 AM Local Time, PM", CDateTime::valid, DEC_10_2026 + Time(9, 15)},
        // "AM" wins over an earlier "PM", and the text up to it does not parse.
        {"12/10/26 1:00 PM, 2:00 AM", CDateTime::invalid, 0.0},
        {"12/10/26 13:00", CDateTime::valid, DEC_10_2026 + Time(13)},
        {"12/10/26 13:00 EST", CDateTime::invalid, 0.0},
        {"", CDateTime::invalid, 0.0},
    };
    for (const UpdateCase& c : cases) {
        SCOPED_TRACE(c.pszText);
        TempFeed feed(std::string("<weather><hbhf><lsup>") + c.pszText + "</lsup></hbhf></weather>");
        CHourlyForecast hourly;
        hourly.Load(feed.Path());
        EXPECT_EQ(hourly.m_dtLastUpdate.m_status, c.status);
        EXPECT_DOUBLE_EQ(hourly.m_dtLastUpdate.m_dt, c.value);
    }
}

TEST_F(Forecast, WindConversionTable)
{
    const struct { const char* pszSpeed; int nKmh; } cases[] = {
        {"10", 16}, {"31", 50}, {"100", 161}, {"0", 0}, {"-10", -15}, {"N/A", NA_VALUE},
        {" 7 mph", 11}, {"calm", 0}, {"99999999999", 2147483647},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszSpeed);
        TempFeed feed(std::string("<weather><hbhf><hour h='1'><wind><s>") + c.pszSpeed +
                      "</s></wind></hour></hbhf></weather>");
        CHourlyForecast hourly;
        hourly.Load(feed.Path());
        ASSERT_EQ(hourly.m_hours.GetCount(), 1);
        EXPECT_EQ(hourly.m_hours.GetAt(0)->m_wind.m_nSpeed, c.nKmh);
    }
}

// Zones and clock hours are held to real ones as they are read, so that no
// arithmetic on them can overflow; an absent clock hour stays -1.
TEST_F(Forecast, ZoneAndClockHourAreHeldToRealOnes)
{
    const struct { const char* pszZone; int nZone; const char* pszClock; int nClock; } cases[] = {
        {"2147483647", 14, "99999999999", 23},
        {"-2147483647", -12, "-99999999999", 0},
        {"14", 14, "23", 23},
        {"-12", -12, "0", 0},
        {"15", 14, "24", 23},
        {"-13", -12, "-1", 0},
        {"5", 5, "7", 7},
        {"", 0, nullptr, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszZone);
        const std::string strClock = c.pszClock ? std::string(" c='") + c.pszClock + "'" : "";
        TempFeed feed(std::string("<weather><loc><zone>") + c.pszZone + "</zone></loc><hbhf><hour h='1'"
                      + strClock + "/></hbhf></weather>");
        CHourlyForecast hourly;
        hourly.Load(feed.Path());
        EXPECT_EQ(hourly.m_nZone, c.nZone);
        ASSERT_EQ(hourly.m_hours.GetCount(), 1);
        EXPECT_EQ(hourly.m_hours.GetAt(0)->m_nClock, c.nClock);
    }
}

// The daily feed's dates carry no year: each takes the year that puts it nearest
// to the last update, whatever year the device's clock is in.
TEST_F(Forecast, DayDatesTakeTheYearNearestTheLastUpdate)
{
    const long long DEC_31_2026_NOON = 1798718400LL;
    const long long JAN_1_2027_NOON = 1798804800LL;
    const long long JUN_1_2027_NOON = 1811851200LL;
    const struct { long long clock; const char* pszUpdate; const char* pszDate; const wchar_t* date; } cases[] = {
        // The device already in January, the update still on 31 December.
        {JAN_1_2027_NOON, "12/31/26 11:00 PM EST", "Dec 31", L"2026-12-31"},
        {JAN_1_2027_NOON, "12/31/26 11:00 PM EST", "Jan 1", L"2027-01-01"},
        {JAN_1_2027_NOON, "12/31/26 11:00 PM EST", "Jan 9", L"2027-01-09"},
        // The device still in December, the station already in January.
        {DEC_31_2026_NOON, "1/1/27 1:00 AM", "Jan 1", L"2027-01-01"},
        {DEC_31_2026_NOON, "1/1/27 1:00 AM", "Dec 31", L"2026-12-31"},
        {DEC_31_2026_NOON, "12/31/26 6:00 AM", "Jan 2", L"2027-01-02"},
        // A date that goes backwards stays in the update's year.
        {DEC_31_2026_NOON, "12/10/26 6:00 AM", "Dec 5", L"2026-12-05"},
        // "Feb 29" is read in the update's leap year, not the device's year.
        {JUN_1_2027_NOON, "2/25/28 1:00 PM", "Feb 29", L"2028-02-29"},
        // A text with a year keeps it; no last update: nearest to today.
        {DEC_31_2026_NOON, "12/31/26 6:00 AM", "3/4/2030", L"2030-03-04"},
        {JAN_1_2027_NOON, "never", "Dec 30", L"2026-12-30"},
        {JAN_1_2027_NOON, "never", "Jan 3", L"2027-01-03"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pszUpdate) + " / " + c.pszDate);
        CFakeClock::Set(c.clock, 0);
        TempFeed feed(std::string("<weather><dayf><lsup>") + c.pszUpdate + "</lsup><day d='0' dt='"
                      + c.pszDate + "'/></dayf></weather>");
        CDailyForecast daily;
        daily.Load(feed.Path());
        ASSERT_EQ(daily.m_days.GetCount(), 1);
        const CDateTime dt = daily.DateOfDay(*daily.m_days.GetAt(0));
        EXPECT_EQ(dt.Format(L"%Y-%m-%d %H:%M"), std::wstring(c.date) + L" 00:00");
    }
    // No date at all, or a text that is none, stays invalid.
    for (const char* pszDate : {"", "soon"}) {
        TempFeed feed(std::string("<weather><dayf><lsup>12/10/26 6:00 AM</lsup><day d='0' dt='") + pszDate
                      + "'/></dayf></weather>");
        CDailyForecast daily;
        daily.Load(feed.Path());
        EXPECT_EQ(daily.DateOfDay(*daily.m_days.GetAt(0)).m_status, CDateTime::invalid) << pszDate;
    }
}

TEST_F(Forecast, ClearDropsRecordsButKeepsHeaderAndCapacity)
{
    CDailyForecast daily;
    daily.Load(Fixture("daily.xml"));
    daily.Clear();
    EXPECT_TRUE(daily.IsEmpty());
    EXPECT_EQ(daily.m_strLocation, L"New York, NY");
    EXPECT_EQ(daily.FindDay(0), nullptr);
}

} // namespace
