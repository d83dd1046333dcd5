#pragma once

// What the chart tests share: their fixtures and the world a chart is composed
// in (a data object of the test's own with a test station, the preset views and
// metric units; a frozen clock and text of fixed metrics).

#include "model/WeatherData.h"
#include "platform/testing/FixedTextMeasurer.h"
#include "platform/testing/FakeClock.h"
#include "platform/Clock.h"
#include "platform/ui/DC.h"

#include "../TempFolder.h"

#include <string>

inline std::wstring ChartFixture(const char* pszName)
{
    const std::string str = std::string(CIRROVAN_FIXTURES) + "/chart/fixtures/" + pszName;
    return std::wstring(str.begin(), str.end());
}

// 10 December 2026, 13:00 UTC; device and station on UTC; no forecast loaded.
inline void SetUpChartWorld(CWeatherData& data)
{
    CDC::UseTextMeasurer(&CFixedTextMeasurer::Measure);
    CFakeClock::Set(1796907600LL, 0);
    CSettings& s = data.m_settings;
    s.m_currentStation.m_strID = L"TEST0001";
    s.m_nCurrentView = 0;
    for (int v = 0; v < 3; ++v)
        s.m_views[v].ApplyPreset(v);
    s.m_nTempUnit = 0;
    s.m_nWindUnit = 0;
    s.m_bShowZero = false;
    s.m_bDaily = 1;
    data.m_daily.Clear();
    data.m_hourly.Clear();
}

inline void TearDownChartWorld(CWeatherData& data)
{
    CFakeClock::Clear();
    CDC::UseTextMeasurer(nullptr);
    data.m_daily.Clear();
    data.m_hourly.Clear();
}
