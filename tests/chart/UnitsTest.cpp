#include "chart/Units.h"
#include "store/ForecastMarkers.h"

#include <gtest/gtest.h>

TEST(Units, TemperatureTenthsAndLabels)
{
    EXPECT_EQ(TenthsFromCelsius(21.5, 0), 215);
    EXPECT_EQ(TenthsFromCelsius(-2.6, 0), -26);
    EXPECT_EQ(TenthsFromCelsius(20.0, 1), 680);
    EXPECT_EQ(TenthsFromCelsius(-40.0, 1), -400);
    EXPECT_EQ(TenthsFromCelsius(21.5, 7), 215);   // unknown unit reads as Celsius
    // A hostile feed value saturates instead of overflowing.
    EXPECT_EQ(TenthsFromCelsius(1e300, 0), 2147483647);

    // Halves round away from zero on both sides, so negative labels agree with
    // the scale: -10.0 is -10, not -9 (14 °F gives -99 tenths, -4.4 and -1.1
    // come from 24 °F and 30 °F).
    const struct { int t10; const wchar_t* text; } labels[] = {
        {215, L"22"}, {214, L"21"}, {680, L"68"}, {0, L"0"}, {5, L"1"}, {4, L"0"},
        {-4, L"0"}, {-5, L"-1"}, {-25, L"-3"}, {-24, L"-2"}, {-26, L"-3"}, {-35, L"-4"},
        {-100, L"-10"}, {-99, L"-10"}, {-44, L"-4"}, {-11, L"-1"},
        {2147483647, L"214748365"}, {-2147483647 - 1, L"-214748365"},
    };
    for (const auto& c : labels)
        EXPECT_EQ(TemperatureLabel(c.t10), c.text) << c.t10;
}

TEST(Units, WindInEveryUnit)
{
    const struct { int kmh; int unit; int tenths; } cases[] = {
        {25, 1, 155}, {25, 2, 69}, {25, 3, 134}, {25, 4, 40}, {25, 0, 250}, {25, 9, 250},
        {NA_VALUE, 0, 0}, {NA_VALUE, 1, 0}, {NA_VALUE, 4, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WindTenths(c.kmh, c.unit), c.tenths) << c.kmh << " in unit " << c.unit;
}

TEST(Units, BeaufortBounds)
{
    const struct { int kmh; int tenths; } cases[] = {
        {0, 0}, {1, 10}, {5, 10}, {6, 20}, {11, 20}, {12, 30}, {28, 40}, {29, 50},
        {117, 110}, {118, 120}, {1000, 120}, {-5, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BeaufortTenths(c.kmh), c.tenths) << c.kmh;
}

TEST(Units, ArrowPointsWhereTheWindBlows)
{
    const struct { int from; int picture; } cases[] = {
        {270, 1},   // from the west: r 90, sector 4, east
        {355, 2},   // r 175, sector 8, south
        {170, 0},   // r 350 wraps into the north sector
        {0, 2},     // from the north: south
        {90, 3},    // from the east: west
        {180, 0},   // from the south: north
        {191, 0},   // r 11: still north; r 12 is the next sector
        {192, 8},
        {-200, 0},  // r keeps the dividend's sign: -20 lies below the first bound
        {2147483647, 7},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WindArrowIndex(c.from), c.picture) << c.from;
}
