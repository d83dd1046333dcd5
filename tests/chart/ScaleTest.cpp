#include "chart/GraphScaleX.h"
#include "chart/GraphScaleY.h"
#include "chart/GraphSeries.h"

#include "chart/Trunc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

std::vector<int> Ticks(const CGraphScale& scale)
{
    std::vector<int> ticks;
    for (long long v = scale.FirstTick(); v <= scale.m_nHi; v += scale.TickStep())
        ticks.push_back(static_cast<int>(v));
    return ticks;
}

} // namespace

TEST(Scale, ValueRangeTruncatesTowardZeroAndMapsUpward)
{
    CGraphSeries temps;
    temps.AddTextPoint(18, -25, L"-2");
    temps.AddTextPoint(42, 213, L"21");
    temps.AddTextPoint(66, 0, L"0");
    temps.AddTextPoint(90, 100, L"10");
    CGraphScaleY scale;
    scale.SetPixelRange(17, 183, 6);
    scale.AddSeries(&temps);
    scale.SetAutoRange(false);
    EXPECT_EQ(scale.m_nLo, -2);
    EXPECT_EQ(scale.m_nHi, 22);
    std::vector<int> py;
    for (int i = 0; i < temps.m_points.GetCount(); ++i)
        py.push_back(temps.m_points.GetAt(i)->m_nPy);
    // The lowest point lies a little below px lo.
    EXPECT_EQ(py, (std::vector<int>{14, 178, 31, 100}));
}

TEST(Scale, EmptySeriesWidensTheRangeToZero)
{
    CGraphSeries wind, empty;
    wind.AddValuePoint(12, 50, 0);
    wind.AddValuePoint(24, 80, 0);
    CGraphScaleY scale;
    scale.SetPixelRange(17, 183, 6);
    scale.AddSeries(&wind);
    scale.SetAutoRange(false);
    EXPECT_EQ(scale.m_nLo, 5);
    scale.Reset();
    scale.AddSeries(&wind);
    scale.AddSeries(&empty);
    scale.SetAutoRange(false);
    EXPECT_EQ(scale.m_nLo, 0);
    EXPECT_EQ(scale.m_nHi, 8);
    // Include zero from the settings does the same for a range above 0.
    scale.Reset();
    scale.AddSeries(&wind);
    scale.SetAutoRange(true);
    EXPECT_EQ(scale.m_nLo, 0);
}

TEST(Scale, Ticks)
{
    const struct { int lo; int hi; int intervals; bool fixed; std::vector<int> ticks; } cases[] = {
        {0, 100, 10, true, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}},
        {12, 25, 6, false, {12, 14, 16, 18, 20, 22, 24}},
        {3, 4, 6, false, {3, 4}},
        {-7, 8, 6, false, {-6, -4, -2, 0, 2, 4, 6, 8}},
        // A top of -1.0 reads as 0: (max + 9) / 10 truncates toward zero.
        {-13, -1, 6, false, {-12, -10, -8, -6, -4, -2, 0}},
        {5, 5, 6, false, {5}},
    };
    for (const auto& c : cases) {
        CGraphSeries series;
        series.AddValuePoint(0, c.lo * 10, 0);
        series.AddValuePoint(1, c.hi * 10, 0);
        CGraphScaleY scale;
        scale.SetPixelRange(17, 183, c.intervals);
        if (c.fixed) {
            scale.SetFixedRange(c.lo, c.hi);
        } else {
            scale.AddSeries(&series);
            scale.SetAutoRange(false);
        }
        EXPECT_EQ(Ticks(scale), c.ticks) << c.lo << " .. " << c.hi;
    }
}

TEST(Scale, SingleValueRangeStaysFinite)
{
    CGraphSeries wind;
    wind.AddValuePoint(1, 120, 0);
    wind.AddValuePoint(2, 120, 0);
    CGraphScaleY scale;
    scale.SetPixelRange(17, 183, 5);
    scale.AddSeries(&wind);
    scale.SetAutoRange(false);
    EXPECT_TRUE(std::isfinite(scale.m_dFactor));
    EXPECT_TRUE(std::isfinite(scale.m_dOffset));
    EXPECT_EQ(TruncToInt(scale.m_nLo * scale.m_dFactor + scale.m_dOffset), 17);
    for (int i = 0; i < wind.m_points.GetCount(); ++i) {
        EXPECT_GE(wind.m_points.GetAt(i)->m_nPy, 0);
        EXPECT_LE(wind.m_points.GetAt(i)->m_nPy, 200);
    }

    CGraphSeries one;
    one.AddValuePoint(7, 0, 0);
    CGraphScaleX time;
    time.SetPixelRange(35, 469, 0);
    time.AddSeries(&one);
    time.SetAutoRange(false);
    EXPECT_EQ(one.m_points.GetAt(0)->m_nPx, 35);
    time.SetDateRange(CDateTime(46000.5), CDateTime(46000.5));
    EXPECT_EQ(time.DateToPixel(CDateTime(46000.5)), 35);
    EXPECT_GT(time.DateToPixel(CDateTime(46001.5)), 35);
}

TEST(Scale, TimePositionsAndDates)
{
    CGraphSeries precip;
    precip.AddValuePoint(12, 0, 0);
    precip.AddValuePoint(240, 0, 0);
    CGraphScaleX time;
    time.SetPixelRange(35, 865, 0);
    time.AddSeries(&precip);
    time.SetAutoRange(false);
    EXPECT_EQ(precip.m_points.GetAt(0)->m_nPx, 35);
    EXPECT_EQ(precip.m_points.GetAt(1)->m_nPx, 865);
    // Truncation toward zero, also left of the image.
    EXPECT_EQ(time.PositionToPixel(0), -8);
    EXPECT_EQ(time.PositionToPixel(18), 56);
    EXPECT_EQ(time.PositionToPixel(100), 355);

    const double d0 = 46000.5;
    time.SetDateRange(CDateTime(d0), CDateTime(d0 + 10));
    EXPECT_EQ(time.DateToPixel(CDateTime(d0)), 35);
    EXPECT_EQ(time.DateToPixel(CDateTime(d0 + 10)), 865);
    EXPECT_EQ(time.DateToPixel(CDateTime(d0 + 5)), 450);
    EXPECT_EQ(time.DateToPixel(CDateTime(d0 + (7 * 3600 + 1) / 86400.0)), 59);
}
