// The synthetic forecasts at chosen instants, read back through the program's loaders.

#include "FeedCheck.h"
#include "LoadedPlaces.h"

#include "store/ForecastMarkers.h"
#include "service/feed/Conditions.h"
#include "service/feed/FeedWriter.h"
#include "service/feed/ForecastHeader.h"
#include "service/feed/SolarTimes.h"
#include "service/demo/SyntheticWeather.h"

#include <cmath>

namespace {

// The UTC instant of a wall-clock time at the place.
int64_t LocalInstant(const CPlace& place, int nYear, int nMonth, int nDay, int nHour, int nMinute)
{
    return place.m_clock.UtcFromLocal(CCivilTime::DaySeconds(nYear, nMonth, nDay) + nHour * 3600 + nMinute * 60);
}

int64_t UtcInstant(int nYear, int nMonth, int nDay, int nHour, int nMinute = 0)
{
    return CCivilTime::DaySeconds(nYear, nMonth, nDay) + nHour * 3600 + nMinute * 60;
}

CForecastRecord Record(const CPlace& place, CForecastRecord::Section section, int64_t nUtc)
{
    CSyntheticWeather synthetic;
    CForecastRecord record;
    EXPECT_TRUE(synthetic.Fill(place, section, section == CForecastRecord::DAILY ? 10 : 72, nUtc, record));
    return record;
}

std::string Feed(const CPlace& place, CForecastRecord::Section section, int64_t nUtc)
{
    return CFeedWriter::Feed(Record(place, section, nUtc));
}

double MeanHigh(const CPlace& place, int64_t nUtc)
{
    double dSum = 0.0;
    const CForecastRecord record = Record(place, CForecastRecord::DAILY, nUtc);
    for (const CForecastRecord::Day& day : record.m_days)
        dSum += day.low.value_or(0.0) + day.high.value_or(*day.low);
    return dSum / 20.0;
}

TEST(SyntheticWeather, TodaysDayPartIsNotAvailableOnceItsHoursHavePassed)
{
    const CPlace& zurich = PlaceOfZone("Europe/Zurich");
    CDailyForecast before;
    LoadDaily(Feed(zurich, CForecastRecord::DAILY, LocalInstant(zurich, 2026, 1, 15, 14, 30)), before);
    ASSERT_EQ(before.m_days.GetCount(), 10);
    EXPECT_NE(before.m_days.GetAt(0)->m_dHigh, NA_TEMPERATURE);
    EXPECT_NE(before.m_days.GetAt(0)->m_parts[0].m_nPrecip, NA_VALUE);

    CDailyForecast after;
    LoadDaily(Feed(zurich, CForecastRecord::DAILY, LocalInstant(zurich, 2026, 1, 15, 15, 10)), after);
    ASSERT_EQ(after.m_days.GetCount(), 10);
    const CForecastDay& today = *after.m_days.GetAt(0);
    EXPECT_EQ(today.m_dHigh, NA_TEMPERATURE);
    EXPECT_NE(today.m_dLow, NA_TEMPERATURE);
    EXPECT_EQ(today.m_parts[0].m_nIcon, 44);
    EXPECT_EQ(today.m_parts[0].m_nPrecip, NA_VALUE);
    EXPECT_EQ(today.m_parts[0].m_wind.m_nSpeed, NA_VALUE);
    EXPECT_EQ(today.m_parts[0].m_wind.m_nGust, NA_VALUE);
    EXPECT_NE(today.m_parts[1].m_nPrecip, NA_VALUE);
    EXPECT_NE(today.m_parts[1].m_wind.m_nSpeed, NA_VALUE);
    EXPECT_NE(after.m_days.GetAt(1)->m_dHigh, NA_TEMPERATURE);
    EXPECT_NE(after.m_days.GetAt(1)->m_parts[0].m_nPrecip, NA_VALUE);
}

TEST(SyntheticWeather, PolarDayAndNightKeepToTheFeedsClockTimes)
{
    const CPlace& longyearbyen = PlaceOfZone("Arctic/Longyearbyen");

    const std::string summer = Feed(longyearbyen, CForecastRecord::DAILY, UtcInstant(2026, 6, 21, 12));
    EXPECT_NE(summer.find("<sunr>12:00 AM</sunr>"), std::string::npos);
    EXPECT_NE(summer.find("<suns>11:59 PM</suns>"), std::string::npos);
    CDailyForecast midnightSun;
    LoadDaily(summer, midnightSun);
    EXPECT_EQ(midnightSun.m_dtSunrise.m_dt, 0.0);
    EXPECT_NEAR(midnightSun.m_dtSunset.m_dt * 24 * 60, 23 * 60 + 59, 0.01);

    CDailyForecast polarNight;
    LoadDaily(Feed(longyearbyen, CForecastRecord::DAILY, UtcInstant(2026, 12, 21, 12)), polarNight);
    EXPECT_EQ(polarNight.m_dtSunrise.m_dt, polarNight.m_dtSunset.m_dt);
    for (int i = 0; i < polarNight.m_days.GetCount(); ++i) {
        SCOPED_TRACE(i);
        const CForecastDay& day = *polarNight.m_days.GetAt(i);
        EXPECT_EQ(day.m_dtSunrise.m_dt, day.m_dtSunset.m_dt);
        EXPECT_FALSE(IsDayPicture(day.m_parts[0].m_nIcon)) << day.m_parts[0].m_nIcon;
        EXPECT_FALSE(IsNightPicture(midnightSun.m_days.GetAt(i)->m_parts[1].m_nIcon));
    }
}

TEST(SyntheticWeather, HourlyClockFollowsDaylightSaving)
{
    const CPlace& zurich = PlaceOfZone("Europe/Zurich");
    struct Case { const char* change; int64_t utc; int zoneBefore; std::vector<int> clocks; };
    const Case cases[] = {
        // 2:00 CET becomes 3:00 CEST on 29 March 2026; 3:00 CEST becomes 2:00 CET on 25 October.
        {"spring", UtcInstant(2026, 3, 28, 22, 30), 1, {0, 1, 3, 4}},
        {"autumn", UtcInstant(2026, 10, 24, 22, 30), 2, {1, 2, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        CHourlyForecast hourly;
        LoadHourly(Feed(zurich, CForecastRecord::HOURLY, c.utc), hourly);
        EXPECT_EQ(hourly.m_nZone, c.zoneBefore);
        ASSERT_EQ(hourly.m_hours.GetCount(), 72);
        std::vector<int> clocks;
        for (int i = 0; i < 4; ++i)
            clocks.push_back(hourly.m_hours.GetAt(i)->m_nClock);
        EXPECT_EQ(clocks, c.clocks);
    }
}

TEST(SyntheticWeather, IconsAgreeWithPrecipitationAndTheSun)
{
    const CPlaces& places = LoadedPlaces();
    int nPrecipitation = 0;
    for (size_t p = 0; p < places.m_places.size(); p += 7) {
        const CPlace& place = places.m_places[p];
        for (int nMonth : {1, 4, 7, 10}) {
            const int64_t nNow = UtcInstant(2026, nMonth, 10, 6);
            SCOPED_TRACE(place.m_clock.m_strZone + " month " + std::to_string(nMonth));
            const int64_t nIssue = CForecastHeader::IssueTime(place, nNow);
            const CForecastRecord hourly = Record(place, CForecastRecord::HOURLY, nNow);
            for (const CForecastRecord::Hour& hour : hourly.m_hours) {
                const bool bSun = CSolarTimes::Elevation(nIssue + hour.nHour * int64_t(3600), place.m_dLatitude,
                                                         place.m_dLongitude) > CSolarTimes::HORIZON;
                EXPECT_EQ(CConditions::IsPrecipitation(hour.nIcon), hour.nPrecip >= 30) << hour.nIcon << " " << hour.nPrecip;
                EXPECT_FALSE(bSun && IsNightPicture(hour.nIcon)) << hour.nHour << " " << hour.nIcon;
                EXPECT_FALSE(!bSun && IsDayPicture(hour.nIcon)) << hour.nHour << " " << hour.nIcon;
                nPrecipitation += CConditions::IsPrecipitation(hour.nIcon);
            }
            const CForecastRecord daily = Record(place, CForecastRecord::DAILY, nNow);
            for (const CForecastRecord::Day& day : daily.m_days) {
                for (const CForecastRecord::DayPart& part : day.parts)
                    EXPECT_EQ(CConditions::IsPrecipitation(part.nIcon), part.precip.value_or(0) >= 30) << part.nIcon;
            }
        }
    }
    EXPECT_GT(nPrecipitation, 0) << "it never rains";
}

TEST(SyntheticWeather, TemperaturesFollowLatitudeSeasonAndDay)
{
    const CPlace& singapore = PlaceOfZone("Asia/Singapore");
    const CPlace& oslo = PlaceOfZone("Europe/Oslo");
    const CPlace& sydney = PlaceOfZone("Australia/Sydney");
    const int64_t nJanuary = UtcInstant(2026, 1, 10, 12);
    const int64_t nJuly = UtcInstant(2026, 7, 10, 12);
    EXPECT_GT(MeanHigh(singapore, nJanuary), MeanHigh(oslo, nJanuary) + 15.0);
    EXPECT_GT(MeanHigh(oslo, nJuly), MeanHigh(oslo, nJanuary) + 8.0);
    EXPECT_GT(MeanHigh(sydney, nJanuary), MeanHigh(sydney, nJuly) + 5.0);

    // Afternoons are warmer than the small hours, on average over three days.
    const CPlace& cairo = PlaceOfZone("Africa/Cairo");
    double dSwing = 0.0;
    for (const CForecastRecord::Hour& hour : Record(cairo, CForecastRecord::HOURLY, nJuly).m_hours) {
        if (hour.time.m_nHour == 15)
            dSwing += hour.dTemp;
        if (hour.time.m_nHour == 4)
            dSwing -= hour.dTemp;
    }
    EXPECT_GT(dSwing / 3.0, 4.0);
}

TEST(SyntheticWeather, WindTurnsAndGusts)
{
    const CPlaces& places = LoadedPlaces();
    int nGusts = 0;
    for (size_t p = 0; p < places.m_places.size(); p += 41) {
        const CPlace& place = places.m_places[p];
        SCOPED_TRACE(place.m_clock.m_strZone);
        const CForecastRecord hourly = Record(place, CForecastRecord::HOURLY, UtcInstant(2026, 2, 1, 0));
        int nLeast = 360;
        int nMost = 0;
        for (const CForecastRecord::Hour& hour : hourly.m_hours) {
            nLeast = std::min(nLeast, hour.wind.nDirection);
            nMost = std::max(nMost, hour.wind.nDirection);
            if (hour.wind.gust) {
                EXPECT_GT(*hour.wind.gust, *hour.wind.speed);
                ++nGusts;
            }
        }
        EXPECT_GT(nMost - nLeast, 20) << "the wind keeps one direction for three days";
    }
    EXPECT_GT(nGusts, 0);
}

TEST(SyntheticWeather, AnHourGivesOneAnswerAndTheNextHourAnother)
{
    const CPlace& place = PlaceOfZone("Asia/Kolkata");   // a zone half an hour off the hour
    const int64_t nHourStart = LocalInstant(place, 2026, 5, 4, 9, 0);
    for (CForecastRecord::Section section : {CForecastRecord::DAILY, CForecastRecord::HOURLY}) {
        SCOPED_TRACE(section);
        const std::string early = Feed(place, section, nHourStart + 60);
        const std::string late = Feed(place, section, nHourStart + 3599);
        const std::string next = Feed(place, section, nHourStart + 3600);
        EXPECT_NE(early, late);   // the station's clock
        EXPECT_EQ(WithoutClock(early), WithoutClock(late));
        EXPECT_NE(early.find("<lsup>5/4/26 9:00 AM Local Time</lsup>"), std::string::npos);
        EXPECT_NE(next.find("<lsup>5/4/26 10:00 AM Local Time</lsup>"), std::string::npos);
    }
}

} // namespace
