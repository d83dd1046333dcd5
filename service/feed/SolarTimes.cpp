#include "service/feed/SolarTimes.h"

#include "service/feed/CivilTime.h"

#include <cmath>

namespace {

constexpr double PI = 3.14159265358979323846;

double Radians(double d) { return d * PI / 180.0; }
double Degrees(double r) { return r * 180.0 / PI; }

// Declination (degrees) and the equation of time (minutes) at a Julian
// century from J2000.
void SunPosition(double t, double& dDeclination, double& dEquationOfTime)
{
    const double L0 = std::fmod(280.46646 + t * (36000.76983 + t * 0.0003032), 360.0);
    const double M = 357.52911 + t * (35999.05029 - 0.0001537 * t);
    const double e = 0.016708634 - t * (0.000042037 + 0.0000001267 * t);
    const double C = std::sin(Radians(M)) * (1.914602 - t * (0.004817 + 0.000014 * t)) +
                     std::sin(Radians(2 * M)) * (0.019993 - 0.000101 * t) +
                     std::sin(Radians(3 * M)) * 0.000289;
    const double omega = 125.04 - 1934.136 * t;
    const double lambda = L0 + C - 0.00569 - 0.00478 * std::sin(Radians(omega));
    const double eps0 = 23.0 + (26.0 + (21.448 - t * (46.815 + t * (0.00059 - t * 0.001813))) / 60.0) / 60.0;
    const double eps = eps0 + 0.00256 * std::cos(Radians(omega));
    dDeclination = Degrees(std::asin(std::sin(Radians(eps)) * std::sin(Radians(lambda))));
    const double y = std::tan(Radians(eps / 2)) * std::tan(Radians(eps / 2));
    dEquationOfTime = 4.0 * Degrees(y * std::sin(2 * Radians(L0)) - 2 * e * std::sin(Radians(M)) +
                                     4 * e * y * std::sin(Radians(M)) * std::cos(2 * Radians(L0)) -
                                     0.5 * y * y * std::sin(4 * Radians(L0)) -
                                     1.25 * e * e * std::sin(2 * Radians(M)));
}

// Julian centuries from J2000 of an instant in seconds since 1970 UTC.
double Century(double dUtc)
{
    return (dUtc / 86400.0 + 2440587.5 - 2451545.0) / 36525.0;
}

} // namespace

CSolarTimes CSolarTimes::ForDate(int nYear, int nMonth, int nDay, double dLatitude, double dLongitude)
{
    const int64_t nMidnight = CCivilTime::DaySeconds(nYear, nMonth, nDay);
    // The sun's position at the local solar noon of that date, then once more
    // at the noon found, which moves by up to a quarter of an hour.
    double dNoonMinutes = 720.0 - 4.0 * dLongitude;
    double dDeclination = 0.0;
    double dEquation = 0.0;
    for (int i = 0; i < 2; ++i) {
        SunPosition(Century(nMidnight + dNoonMinutes * 60.0), dDeclination, dEquation);
        dNoonMinutes = 720.0 - 4.0 * dLongitude - dEquation;
    }

    CSolarTimes times;
    times.m_nNoon = nMidnight + static_cast<int64_t>(std::lround(dNoonMinutes * 60.0));
    const double dLat = Radians(dLatitude);
    const double dDecl = Radians(dDeclination);
    const double dCosHourAngle = std::cos(Radians(90.0 - HORIZON)) / (std::cos(dLat) * std::cos(dDecl)) -
                                 std::tan(dLat) * std::tan(dDecl);
    if (std::isnan(dCosHourAngle) || dCosHourAngle > 1.0 || dCosHourAngle < -1.0) {
        // At a pole itself the formula has no value: there the sun's side decides.
        const bool bDay = std::isnan(dCosHourAngle) ? dLatitude * dDeclination > 0.0 : dCosHourAngle < -1.0;
        times.m_kind = bDay ? POLAR_DAY : POLAR_NIGHT;
        times.m_nSunrise = times.m_nSunset = times.m_nNoon;
        return times;
    }
    const double dHalfDaySeconds = Degrees(std::acos(dCosHourAngle)) * 4.0 * 60.0;
    times.m_nSunrise = times.m_nNoon - static_cast<int64_t>(std::lround(dHalfDaySeconds));
    times.m_nSunset = times.m_nNoon + static_cast<int64_t>(std::lround(dHalfDaySeconds));
    return times;
}

double CSolarTimes::Elevation(int64_t nUtc, double dLatitude, double dLongitude)
{
    double dDeclination = 0.0;
    double dEquation = 0.0;
    SunPosition(Century(static_cast<double>(nUtc)), dDeclination, dEquation);
    const double dMinutesOfDay = static_cast<double>(((nUtc % 86400) + 86400) % 86400) / 60.0;
    const double dHourAngle = (dMinutesOfDay + dEquation + 4.0 * dLongitude) / 4.0 - 180.0;
    const double dLat = Radians(dLatitude);
    const double dDecl = Radians(dDeclination);
    const double dCosZenith = std::sin(dLat) * std::sin(dDecl) +
                              std::cos(dLat) * std::cos(dDecl) * std::cos(Radians(dHourAngle));
    return 90.0 - Degrees(std::acos(std::fmax(-1.0, std::fmin(1.0, dCosZenith))));
}
