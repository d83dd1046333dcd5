#include "service/feed/CivilTime.h"
#include "service/feed/SolarTimes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Minutes after 00:00 UTC of the date (negative: the day before).
double Minutes(int64_t nUtc, int nYear, int nMonth, int nDay)
{
    return static_cast<double>(nUtc - CCivilTime::DaySeconds(nYear, nMonth, nDay)) / 60.0;
}

TEST(SolarTimes, RiseAndSetAgreeWithPublishedTimes)
{
    // Published sunrise and sunset (national almanac offices), in UTC.
    struct Case { const char* place; double lat, lon; int y, m, d; double rise, set; };
    const Case cases[] = {
        {"London, midsummer", 51.5074, -0.1278, 2024, 6, 21, 3 * 60 + 43, 20 * 60 + 21},
        {"London, midwinter", 51.5074, -0.1278, 2024, 12, 21, 8 * 60 + 4, 15 * 60 + 53},
        {"New York", 40.7128, -74.0060, 2024, 6, 20, 9 * 60 + 25, 24 * 60 + 31},
        {"Sydney", -33.8688, 151.2093, 2024, 12, 21, -(5 * 60 + 19), 9 * 60 + 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.place);
        const CSolarTimes sun = CSolarTimes::ForDate(c.y, c.m, c.d, c.lat, c.lon);
        EXPECT_EQ(sun.m_kind, CSolarTimes::NORMAL);
        EXPECT_NEAR(Minutes(sun.m_nSunrise, c.y, c.m, c.d), c.rise, 3.0);
        EXPECT_NEAR(Minutes(sun.m_nSunset, c.y, c.m, c.d), c.set, 3.0);
        // At the solar noon the sun stands highest: 90 - |latitude - declination|.
        const double dDeclination = c.m == 6 ? 23.44 : -23.43;
        EXPECT_NEAR(CSolarTimes::Elevation(sun.m_nNoon, c.lat, c.lon), 90.0 - std::fabs(c.lat - dDeclination), 0.3);
        EXPECT_NEAR(CSolarTimes::Elevation(sun.m_nSunrise, c.lat, c.lon), CSolarTimes::HORIZON, 0.3);
    }
}

TEST(SolarTimes, PolarDayAndNightHaveNoRiseOrSet)
{
    struct Case { const char* place; double lat, lon; int y, m, d; CSolarTimes::Kind kind; };
    const Case cases[] = {
        {"Longyearbyen, June", 78.2232, 15.6267, 2025, 6, 21, CSolarTimes::POLAR_DAY},
        {"Longyearbyen, December", 78.2232, 15.6267, 2025, 12, 21, CSolarTimes::POLAR_NIGHT},
        {"Longyearbyen, equinox", 78.2232, 15.6267, 2025, 3, 20, CSolarTimes::NORMAL},
        {"Tromsø, December", 69.6492, 18.9553, 2025, 12, 10, CSolarTimes::POLAR_NIGHT},
        {"McMurdo, December", -77.846, 166.676, 2025, 12, 21, CSolarTimes::POLAR_DAY},
        {"South Pole, June", -90.0, 0.0, 2025, 6, 21, CSolarTimes::POLAR_NIGHT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.place);
        const CSolarTimes sun = CSolarTimes::ForDate(c.y, c.m, c.d, c.lat, c.lon);
        EXPECT_EQ(sun.m_kind, c.kind);
        if (c.kind != CSolarTimes::NORMAL) {
            EXPECT_EQ(sun.m_nSunrise, sun.m_nNoon);
            EXPECT_EQ(sun.m_nSunset, sun.m_nNoon);
            const double dNoon = CSolarTimes::Elevation(sun.m_nNoon, c.lat, c.lon);
            if (c.kind == CSolarTimes::POLAR_NIGHT)
                EXPECT_LT(dNoon, CSolarTimes::HORIZON);
            else
                EXPECT_GT(CSolarTimes::Elevation(sun.m_nNoon + 12 * 3600, c.lat, c.lon), CSolarTimes::HORIZON);
        }
    }
}

} // namespace
