#include "service/demo/WeatherField.h"

#include "service/places/Place.h"
#include "service/feed/SolarTimes.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr double PI = 3.14159265358979323846;

// Independent streams of noise, one per quantity.
enum Channel { SLOW_TEMP = 1, FAST_TEMP, CLOUD, CLOUD_DETAIL, PRESSURE, SHOWERS, WIND, DIRECTION,
               GUSTS, INSTABILITY, DIRECTION_DETAIL, FOG };

uint64_t Mix(uint64_t x)
{
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

uint64_t Seed(const CPlace& place)
{
    uint64_t nHash = 1469598103934665603ULL;
    for (unsigned char c : place.m_strID) {
        nHash ^= c;
        nHash *= 1099511628211ULL;
    }
    return nHash;
}

// A value in [-1, 1] at knot k of a stream.
double Knot(uint64_t nSeed, int nChannel, int64_t k)
{
    const uint64_t n = Mix(nSeed ^ Mix(static_cast<uint64_t>(nChannel) * 0x632be59bd9b4e019ULL ^ static_cast<uint64_t>(k)));
    return static_cast<double>(n >> 11) / static_cast<double>(1ULL << 52) - 1.0;
}

// Smooth noise in [-1, 1] over x, with a knot at every whole x.
double Noise(uint64_t nSeed, int nChannel, double x)
{
    const double dFloor = std::floor(x);
    const int64_t k = static_cast<int64_t>(dFloor);
    const double f = x - dFloor;
    const double s = f * f * (3.0 - 2.0 * f);
    return Knot(nSeed, nChannel, k) + (Knot(nSeed, nChannel, k + 1) - Knot(nSeed, nChannel, k)) * s;
}

double Clamp(double d, double dLow, double dHigh)
{
    return std::max(dLow, std::min(dHigh, d));
}

// Fraction of the day the sun is up at that latitude and day of the year,
// from the declination alone: enough to damp the day's swing in a polar night.
double DaylightFraction(double dLatitude, double dDayOfYear)
{
    const double dDeclination = 23.44 * PI / 180.0 * std::sin(2.0 * PI * (dDayOfYear - 81.0) / 365.2425);
    const double dCos = -std::tan(dLatitude * PI / 180.0) * std::tan(dDeclination);
    return std::acos(Clamp(dCos, -1.0, 1.0)) / PI;
}

// Apparent temperature of the Australian Bureau of Meteorology (shade).
double FeelsLike(double dTemp, double dHumidity, double dWindKmh)
{
    const double dVapour = dHumidity / 100.0 * 6.105 * std::exp(17.27 * dTemp / (237.7 + dTemp));
    return dTemp + 0.33 * dVapour - 0.70 * (dWindKmh / 3.6) - 4.0;
}

} // namespace

CWeatherField::Sample CWeatherField::At(const CPlace& place, int64_t nUtc)
{
    const uint64_t nSeed = Seed(place);
    const double dHours = static_cast<double>(nUtc) / 3600.0;
    const double dLatitude = place.m_dLatitude;
    const double dAbsLat = std::fabs(dLatitude);
    const double dSin2 = std::pow(std::sin(dAbsLat * PI / 180.0), 2.0);
    const double dDayOfYear = std::fmod(static_cast<double>(nUtc) / 86400.0, 365.2425);
    const double dSolarHour = std::fmod(std::fmod(dHours + place.m_dLongitude / 15.0, 24.0) + 24.0, 24.0);
    const double dAfternoon = std::cos(2.0 * PI * (dSolarHour - 15.0) / 24.0);   // 1 at 15:00, -1 at 3:00

    Sample s;
    s.bDaylight = CSolarTimes::Elevation(nUtc, place.m_dLatitude, place.m_dLongitude) > CSolarTimes::HORIZON;

    // Weather systems: a low (pressure below 0) brings cloud, rain and wind.
    const double dPressure = Noise(nSeed, PRESSURE, dHours / 54.0);
    double dCloudBias = 0.05;
    if (dAbsLat < 12.0)
        dCloudBias = 0.1 + 0.25 * std::max(0.0, std::cos(2.0 * PI * (dSolarHour - 16.0) / 24.0));
    else if (dAbsLat < 32.0)
        dCloudBias = -0.2;
    s.dCloud = Clamp(0.45 + dCloudBias - 0.35 * dPressure + 0.3 * Noise(nSeed, CLOUD, dHours / 11.0) +
                         0.15 * Noise(nSeed, CLOUD_DETAIL, dHours / 4.0),
                     0.0, 1.0);

    // Temperature: the year's mean and swing by latitude (the south's seasons
    // turned round, Antarctica colder still, islands milder, north-western
    // Europe warmed by the Atlantic), the day's swing, and the systems, which
    // matter little near the equator.
    double dMean = 28.0 - 31.0 * dSin2 - 10.0 * std::max(0.0, (dAbsLat - 60.0) / 30.0);
    double dSeasonSwing = 1.0 + 17.0 * dSin2;
    if (dLatitude < -60.0)
        dMean -= 12.0;
    const std::string& strZone = place.m_clock.m_strZone;
    const std::string strRegion = strZone.substr(0, strZone.find('/'));
    if (strRegion == "Atlantic" || strRegion == "Pacific" || strRegion == "Indian")
        dSeasonSwing *= 0.5;
    if ((strRegion == "Europe" || strRegion == "Atlantic") && place.m_dLongitude > -30.0 && place.m_dLongitude < 25.0) {
        dMean += 4.0 * Clamp((dLatitude - 45.0) / 15.0, 0.0, 1.0);
        dSeasonSwing *= 0.8;
    }
    const double dSeason = std::cos(2.0 * PI * (dDayOfYear - 200.0) / 365.2425) * (dLatitude < 0.0 ? -1.0 : 1.0);
    const double dDaylight = DaylightFraction(dLatitude, dDayOfYear);
    const double dDaySwing = (2.5 + 4.0 * (1.0 - s.dCloud)) * (0.3 + 0.7 * std::sin(PI * dDaylight));
    s.dTemp = dMean + dSeasonSwing * dSeason + dDaySwing * dAfternoon +
              (1.0 + 4.0 * dSin2) * Noise(nSeed, SLOW_TEMP, dHours / 72.0) +
              (0.5 + 1.5 * dSin2) * Noise(nSeed, FAST_TEMP, dHours / 19.0);

    // Rain follows thick cloud, and a deep low raises the chance further.
    const double dWet = Clamp((s.dCloud - 0.55) / 0.45, 0.0, 1.0);
    const double dLow = dPressure < -0.3 ? 0.25 * (-dPressure - 0.3) / 0.7 : 0.0;
    s.dPrecip = 100.0 * Clamp(dWet * (0.75 + 0.35 * Noise(nSeed, SHOWERS, dHours / 6.0)) + dLow, 0.0, 1.0);
    s.bConvective = s.dTemp >= 20.0 && Noise(nSeed, INSTABILITY, dHours / 9.0) > 0.2;

    // Wind: stronger toward the poles, in a low and in the afternoon. It
    // blows from the prevailing quarter, swings as systems pass, and veers
    // (turns clockwise in the north) while the pressure rises behind a low.
    const double dBase = 12.0 + 10.0 * dSin2;
    s.dWind = std::max(0.0, dBase * (1.0 + 0.45 * Noise(nSeed, WIND, dHours / 16.0)) +
                                18.0 * std::pow(std::max(0.0, -dPressure), 1.5) + 4.0 * std::max(0.0, dAfternoon));
    if (s.dWind < 2.0)
        s.dWind = 0.0;
    double dPrevailing = dLatitude >= 0.0 ? 250.0 : 290.0;
    if (dAbsLat < 30.0)
        dPrevailing = dLatitude >= 0.0 ? 60.0 : 120.0;
    else if (dAbsLat > 65.0)
        dPrevailing = 90.0;
    const double dVeer = (dLatitude >= 0.0 ? 60.0 : -60.0) * dPressure;
    const double dDirection = dPrevailing + dVeer + 110.0 * Noise(nSeed, DIRECTION, dHours / 40.0) +
                              40.0 * Noise(nSeed, DIRECTION_DETAIL, dHours / 9.0);
    s.dDirection = std::fmod(std::fmod(dDirection, 360.0) + 360.0, 360.0);
    const double dGust = s.dWind * (1.4 + 0.2 * Noise(nSeed, GUSTS, dHours / 5.0));
    s.dGust = s.dWind >= 20.0 && dGust - s.dWind >= 12.0 ? dGust : 0.0;

    s.dHumidity = Clamp(35.0 + 55.0 * s.dCloud - 10.0 * dAfternoon, 10.0, 100.0);
    s.dFeelsLike = FeelsLike(s.dTemp, s.dHumidity, s.dWind);
    // Radiation fog: a calm, damp morning.
    s.bFog = s.dWind < 6.0 && s.dHumidity >= 80.0 && dSolarHour >= 4.0 && dSolarHour <= 9.0 &&
             Noise(nSeed, FOG, dHours / 30.0) > 0.3;
    return s;
}
