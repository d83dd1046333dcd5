// The chart in words: what a screen reader hears of a whole forecast and of
// the moment in view.
#include "chart/ChartSummary.h"

#include "settings/Settings.h"
#include "store/DailyForecast.h"
#include "store/HourlyForecast.h"
#include "tests/chart/ChartTestSetup.h"

#include <gtest/gtest.h>

TEST(ChartSummary, FillsNumberedValuesInAnyOrderAndLeavesOtherPercentSigns)
{
    EXPECT_EQ(CChartSummary::Fill(L"%2 de %1", {L"a", L"b"}), L"b de a");
    EXPECT_EQ(CChartSummary::Fill(L"rain %1%", {L"40"}), L"rain 40%");
    EXPECT_EQ(CChartSummary::Fill(L"%3!", {L"a"}), L"!");
}

TEST(ChartSummary, DailyTellsExtremesWithTheirDaysInTheChosenUnits)
{
    CDailyForecast daily;
    daily.Load(ChartFixture("daily3.xml"));
    CHourlyForecast hourly;
    CSettings settings;
    settings.m_bDaily = 1;
    settings.m_nTempUnit = 0;
    CChartSummary summary;
    summary.Read(daily, hourly, settings, L"Testville", CChartWords());
    const std::wstring& s = summary.Summary();
    EXPECT_NE(s.find(L"Testville, daily forecast"), std::wstring::npos) << s;
    EXPECT_NE(s.find(L"degrees Celsius on Fri 11 Dec"), std::wstring::npos) << s;   // the highest high
    EXPECT_NE(s.find(L"peak chance of rain 60% on Fri 11 Dec"), std::wstring::npos) << s;
    EXPECT_NE(s.find(L"from N on Thu 10 Dec"), std::wstring::npos) << s;            // 20 beats 15
    ASSERT_EQ(summary.Moments(), 3);
    EXPECT_EQ(summary.MomentAt(0.0), 0);
    EXPECT_EQ(summary.MomentAt(0.5), 1);
    EXPECT_EQ(summary.MomentAt(7.0), 2);
    EXPECT_NE(summary.Moment(1).find(L"rain 60%"), std::wstring::npos) << summary.Moment(1);

    settings.m_nTempUnit = 1;
    summary.Read(daily, hourly, settings, L"Testville", CChartWords());
    EXPECT_NE(summary.Summary().find(L"degrees Fahrenheit"), std::wstring::npos);
}

TEST(ChartSummary, NoForecastSaysNothing)
{
    CDailyForecast daily;
    CHourlyForecast hourly;
    CSettings settings;
    settings.m_bDaily = 0;
    CChartSummary summary;
    summary.Read(daily, hourly, settings, L"X", CChartWords());
    EXPECT_TRUE(summary.Summary().empty());
    EXPECT_EQ(summary.Moment(summary.MomentAt(0.5)), L"");
}
