// The condition icons of WMO weather codes, an hour's and a half-day's.

#include "FeedCheck.h"

#include "service/feed/Conditions.h"
#include "service/live/WmoIcons.h"

#include <gtest/gtest.h>

namespace {

TEST(WmoIcons, EveryCodeHasAPictureOfItsKindInTheDayAndTheNight)
{
    struct Case { int code; int day; int night; };
    const Case cases[] = {
        {0, 32, 31}, {1, 34, 33}, {2, 30, 29}, {3, 26, 26}, {45, 20, 20}, {48, 20, 20},
        {51, 9, 9}, {55, 9, 9}, {56, 8, 8}, {61, 11, 11}, {63, 12, 12}, {65, 40, 40}, {66, 10, 10},
        {71, 14, 14}, {73, 16, 16}, {75, 42, 42}, {77, 13, 13}, {80, 39, 45}, {81, 11, 11}, {82, 40, 40},
        {85, 41, 46}, {86, 42, 42}, {95, 4, 4}, {96, 3, 3}, {99, 3, 3},
        {-1, 44, 44}, {4, 44, 44}, {50, 44, 44}, {100, 44, 44},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(CWmoIcons::Icon(c.code, true), c.day);
        EXPECT_EQ(CWmoIcons::Icon(c.code, false), c.night);
        EXPECT_FALSE(IsNightPicture(c.day));
        EXPECT_FALSE(IsDayPicture(c.night));
        // Rain, snow and ice are pictures of falling weather, and only they.
        EXPECT_EQ(CConditions::IsPrecipitation(c.day), c.code >= 51 && c.code <= 99);
    }
}

TEST(WmoIcons, AClearSkyTurnsWindyHotOrFrigid)
{
    EXPECT_EQ(CWmoIcons::Icon(0, true, 70.0, 35.0), 24);    // windy
    EXPECT_EQ(CWmoIcons::Icon(1, false, 30.0, 35.0), 23);   // blustery when cold
    EXPECT_EQ(CWmoIcons::Icon(3, true, 70.0, 35.0), 26);    // overcast stays cloudy
    EXPECT_EQ(CWmoIcons::Icon(0, true, 101.0, 5.0), 36);    // hot, by day only
    EXPECT_EQ(CWmoIcons::Icon(0, false, 101.0, 5.0), 31);
    EXPECT_EQ(CWmoIcons::Icon(0, false, -10.0, 5.0), 25);   // frigid
    EXPECT_EQ(CWmoIcons::Icon(63, true, 101.0, 40.0), 12);  // rain is rain
}

TEST(WmoIcons, AHalfDayShowsItsWorstWeatherOrItsMeanSky)
{
    struct Case { std::vector<int> codes; bool day; int icon; };
    const Case cases[] = {
        {{0, 0, 1, 1, 2, 2}, true, 34},                       // mean sky: fair
        {{0, 0, 3, 3}, false, 29},                            // partly cloudy night
        {{3, 3, 3, 45, 45, 3}, true, 20},                     // fog in a third of the hours
        {{3, 3, 3, 3, 3, 3, 3, 45}, true, 26},                // a passing fog is not the half's
        {{2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 61}, true, 39},    // rain in one hour of twelve: scattered
        {{2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 61}, false, 45},
        {{3, 3, 61, 63, 65, 65}, true, 40},                   // heavy rain for hours
        {{2, 2, 2, 2, 2, 2, 2, 2, 80, 80, 63, 2}, true, 39},  // steady rain is worse than showers, still few
        {{2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 95}, true, 37},    // isolated thunderstorms
        {{2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 95, 95}, false, 47},  // scattered, at night
        {{2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 71}, true, 41},    // scattered snow showers
        {{2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 66}, true, 10},    // freezing rain is told even once
        {{71, 71, 73, 75, 3, 3}, false, 42},                  // heavy snow
        {{-1, -1, 1, -1}, true, 34},                          // hours without a code do not count
        {{-1, -1}, true, 44},
        {{}, false, 44},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.codes));
        EXPECT_EQ(CWmoIcons::PartIcon(c.codes, c.day), c.icon);
    }
}

} // namespace
