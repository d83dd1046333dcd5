#include "chart/Units.h"
#include "platform/testing/FakeClock.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

class AgeTest : public ::testing::Test
{
protected:
    void TearDown() override { CFakeClock::Clear(); }
};

TEST_F(AgeTest, TextsAtTheBoundaries)
{
    // 2026-12-10 12:00:00 UTC, device on UTC.
    CFakeClock::Set(1796904000LL, 0);
    const double dNow = LocalNow().m_dt;
    const struct { long long seconds; const wchar_t* text; } cases[] = {
        {0, L"0 m old"},
        {45 * 60, L"45 m old"},
        {59 * 60 + 59, L"59 m old"},
        {3600, L"1 h old"},
        {3 * 3600 + 1800, L"3 h old"},
        {86399, L"23 h old"},
        {2 * 86400, L"2 d old"},
        {29 * 86400, L"29 d old"},
        {30 * 86400, L"1 M old"},
        {359 * 86400, L"11 M old"},
        {364 * 86400, L"12 M old"},
        {365 * 86400, L"1 Y old"},
        {400 * 86400, L"1 Y old"},
        {-60, L"- old"},
    };
    for (const auto& c : cases) {
        CDateTime dtNow;
        const CDateTime dtUpdate(dNow - c.seconds / 86400.0);
        EXPECT_EQ(FormatAge(dtUpdate, 0, dtNow), c.text) << c.seconds;
    }
}

TEST_F(AgeTest, StationTimeFromZoneAndDeviceOffset)
{
    const struct { int bias; int zone; long long shiftSeconds; } cases[] = {
        {-60, -5, -6 * 3600},    // device UTC+1, station UTC-5
        {-330, 0, -5 * 3600},    // a half-hour zone loses its half hour
        {300, 3, 8 * 3600},
        {0, 0, 0},
        // Zones beyond any real one (the feed's are held to -12 ... 14 when read)
        // still shift without overflowing.
        {60, 2147483647, (2147483647LL + 1) * 3600},
        {-120, -2147483647, (-2147483647LL - 2) * 3600},
    };
    for (const auto& c : cases) {
        CFakeClock::Set(1796904000LL, c.bias);
        const CDateTime dtLocal = LocalNow();
        CDateTime dtStation;
        FormatAge(dtLocal, c.zone, dtStation);
        // Far beyond the calendar's years only the days count, to a minute.
        EXPECT_NEAR((dtStation.m_dt - dtLocal.m_dt) * 86400.0, static_cast<double>(c.shiftSeconds), 60.0)
            << c.bias << " " << c.zone;
    }
}
