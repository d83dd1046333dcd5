#pragma once

#include "store/DateTime.h"

#include <string>

// Chart values are tenths of the display unit chosen in the preferences.
// Temperature units: 1 Fahrenheit, anything else Celsius. Wind units: 1 mph,
// 2 m/s, 3 knots, 4 Beaufort, anything else km/h.
int TenthsFromCelsius(double dCelsius, int nTempUnit);
// The label of a temperature in tenths: rounded to whole degrees, halves away
// from zero, so that negative labels agree with the scale beside them.
std::wstring TemperatureLabel(int nTenths);
int WindTenths(int nKmh, int nWindUnit);
// The names of the units, as the scales show them.
std::wstring TemperatureUnitName(int nTempUnit);
std::wstring WindUnitName(int nWindUnit);
int BeaufortTenths(int nKmh);
// Picture of the arrow strip pointing where a wind from this direction blows to.
int WindArrowIndex(int nDirection);

// The device's clock at one moment: its local time and its offset from UTC
// (UTC minus local time, in minutes, daylight saving included while in effect).
struct CDeviceClock
{
    CDateTime m_dtLocal;
    int m_nBiasMinutes = 0;

    static CDeviceClock Now();
};

// The current time at a station nZone hours from UTC. Only whole hours of the
// device's offset count, as in the forecast's age.
CDateTime StationNow(const CDeviceClock& clock, int nZone);

// "<age> old" of a forecast last updated at the station's own time dtLastUpdate,
// for a station nZone hours from UTC; also gives the station's current time.
std::wstring FormatAge(const CDateTime& dtLastUpdate, int nZone, CDateTime& dtStationNow);

// The device's local time, to the second, as an automation date.
CDateTime LocalNow();
