#pragma once

#include "store/DateTime.h"

#include <string>
#include <vector>

class CDailyForecast;
class CHourlyForecast;
class CSettings;

// The sentences the chart is put into words with. %1, %2, ... stand for the
// values each one names; the view fills them from the string table, so that
// they follow the user's language.
struct CChartWords
{
    std::wstring m_strChart = L"%1, %2 forecast";                  // station, kind
    std::wstring m_strDaily = L"daily";
    std::wstring m_strHourly = L"hour-by-hour";
    std::wstring m_strIssued = L"issued %1, %2";                   // time, age
    std::wstring m_strHigh = L"high %1 on %2";                     // value, when
    std::wstring m_strLow = L"low %1 on %2";
    std::wstring m_strRain = L"peak chance of rain %1% on %2";
    std::wstring m_strWind = L"strongest wind %1 from %2 on %3";   // speed, direction, when
    std::wstring m_strPoint = L"%1: %2";                           // when, values
    std::wstring m_strPointTemp = L"%1";                           // temperature
    std::wstring m_strPointTemps = L"high %1, low %2";
    std::wstring m_strPointRain = L"rain %1%";
    std::wstring m_strPointWind = L"wind %1 from %2";
    std::wstring m_strDayPattern = L"%a %d %b";                    // a day, strftime-style
    std::wstring m_strHourPattern = L"%a %H:%M";                   // an hour
    std::wstring m_strIssuedPattern = L"%a %d %b %H:%M";
    std::wstring m_strCelsius = L"%1 degrees Celsius";
    std::wstring m_strFahrenheit = L"%1 degrees Fahrenheit";
    std::wstring m_strSpeed = L"%1 %2";                            // value, unit
    std::wstring m_strBeaufort = L"force %1";
};

// The chart in words, for a screen reader: a summary of the whole forecast and
// the values at one moment of it. Computed from the forecast itself, as the
// settings show it (units, daily or hour by hour), without drawing anything.
class CChartSummary
{
public:
    // Reads the forecast the settings choose; the station's name is the one
    // the user knows it by.
    void Read(const CDailyForecast& daily, const CHourlyForecast& hourly, const CSettings& settings,
              const std::wstring& strStation, const CChartWords& words);

    // Station, kind, issue time and age, highs and lows, peak rain and the
    // strongest wind, each with when; empty without a forecast.
    const std::wstring& Summary() const { return m_strSummary; }
    // How many moments the chart has, and the values at one of them.
    int Moments() const { return static_cast<int>(m_moments.size()); }
    std::wstring Moment(int nIndex) const;
    // The moment at a fraction (0 left, 1 right) of the chart's time axis.
    int MomentAt(double dFraction) const;

    // Fills %1 ... %9 of a sentence.
    static std::wstring Fill(const std::wstring& strPattern, const std::vector<std::wstring>& values);

private:
    struct Moment_
    {
        std::wstring m_strWhen;
        bool m_bTemp = false;       // m_nTemp10 holds a temperature
        bool m_bRange = false;      // m_nLow10 and m_nTemp10 are a day's low and high
        int m_nTemp10 = 0;
        int m_nLow10 = 0;
        int m_nPrecip = -1;         // percent, -1 unknown
        int m_nWindKmh = -1;        // -1 unknown
        std::wstring m_strDirection;
    };
    std::wstring Degrees(int nTenths) const;
    std::wstring Speed(int nKmh) const;
    void ReadDaily(const CDailyForecast& daily);
    void ReadHourly(const CHourlyForecast& hourly);
    void Summarise(const std::wstring& strStation, const CDateTime& dtIssued, int nZone);

    CChartWords m_words;
    int m_nTempUnit = 0;
    int m_nWindUnit = 0;
    bool m_bDaily = true;
    std::vector<Moment_> m_moments;
    std::wstring m_strSummary;
};
