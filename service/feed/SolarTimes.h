#pragma once

#include <cstdint>

// Sunrise, sunset and the sun's height after NOAA's solar equations (the
// Meeus-based ones of its solar calculator): good to a minute or two between
// the polar circles, and telling polar day and polar night apart beyond them.
class CSolarTimes
{
public:
    enum Kind { NORMAL, POLAR_DAY, POLAR_NIGHT };

    // The sun's rise and set on that calendar date at that place. Times are
    // seconds since 1970 UTC; at a pole-ward place with no rise or set, both
    // are the solar noon and m_kind says which.
    static CSolarTimes ForDate(int nYear, int nMonth, int nDay, double dLatitude, double dLongitude);
    // The sun's apparent height above the horizon in degrees at that instant,
    // without refraction.
    static double Elevation(int64_t nUtc, double dLatitude, double dLongitude);
    // The height of the sun's upper rim on the horizon with the usual refraction.
    static constexpr double HORIZON = -0.833;

    Kind m_kind = NORMAL;
    int64_t m_nSunrise = 0;
    int64_t m_nSunset = 0;
    int64_t m_nNoon = 0;
};
