#include "service/live/WmoIcons.h"

#include <cmath>

namespace {

constexpr int NOT_AVAILABLE = 44;

bool IsSky(int nCode)
{
    return nCode >= 0 && nCode <= 3;
}

bool IsFog(int nCode)
{
    return nCode == 45 || nCode == 48;
}

bool IsThunder(int nCode)
{
    return nCode == 95 || nCode == 96 || nCode == 99;
}

// Drizzle, rain and rain showers that are not freezing: what "scattered
// showers" may stand for when only some hours have it.
bool IsPlainRain(int nCode)
{
    return (nCode >= 51 && nCode <= 55) || (nCode >= 61 && nCode <= 65) || (nCode >= 80 && nCode <= 82);
}

bool IsSnow(int nCode)
{
    return (nCode >= 71 && nCode <= 77) || nCode == 85 || nCode == 86;
}

} // namespace

int CWmoIcons::Severity(int nCode)
{
    // Ordered by what a reader of the forecast would most want to be told of:
    // showers below steady rain of the same strength, ice and snow above rain,
    // thunder above all.
    switch (nCode) {
    case 0: return 0;
    case 1: return 1;
    case 2: return 2;
    case 3: return 3;
    case 45: return 4;
    case 48: return 5;
    case 51: return 10;
    case 53: return 11;
    case 80: return 12;
    case 55: return 13;
    case 61: return 14;
    case 81: return 15;
    case 63: return 16;
    case 65: return 17;
    case 82: return 18;
    case 56: return 19;
    case 57: return 20;
    case 66: return 21;
    case 67: return 22;
    case 77: return 23;
    case 85: return 24;
    case 71: return 25;
    case 73: return 26;
    case 86: return 27;
    case 75: return 28;
    case 95: return 30;
    case 96: return 31;
    case 99: return 32;
    default: return -1;
    }
}

int CWmoIcons::Icon(int nCode, bool bDay, std::optional<double> tempF, std::optional<double> windMph)
{
    if (IsSky(nCode)) {
        if (windMph && *windMph >= 30.0 && nCode < 3)
            return tempF && *tempF < 41.0 ? 23 : 24;       // blustery, windy
        if (tempF && *tempF >= 95.0 && nCode <= 1 && bDay)
            return 36;                                      // hot
        if (tempF && *tempF <= 0.0 && nCode <= 1)
            return 25;                                      // frigid
    }
    switch (nCode) {
    case 0: return bDay ? 32 : 31;                          // sunny, clear
    case 1: return bDay ? 34 : 33;                          // fair
    case 2: return bDay ? 30 : 29;                          // partly cloudy
    case 3: return 26;                                      // cloudy
    case 45: case 48: return 20;                            // fog
    case 51: case 53: case 55: return 9;                    // drizzle
    case 56: case 57: return 8;                             // freezing drizzle
    case 61: return 11;                                     // light showers
    case 63: return 12;                                     // rain
    case 65: return 40;                                     // heavy rain
    case 66: case 67: return 10;                            // freezing rain
    case 71: return 14;                                     // light snow
    case 73: return 16;                                     // snow
    case 75: return 42;                                     // heavy snow
    case 77: return 13;                                     // snow flurries
    case 80: return bDay ? 39 : 45;                         // scattered showers
    case 81: return 11;                                     // showers
    case 82: return 40;                                     // heavy rain
    case 85: return bDay ? 41 : 46;                         // snow showers
    case 86: return 42;                                     // heavy snow
    case 95: return 4;                                      // thunderstorms
    case 96: case 99: return 3;                             // severe thunderstorms
    default: return NOT_AVAILABLE;
    }
}

int CWmoIcons::PartIcon(const std::vector<int>& codes, bool bDay)
{
    int nWorst = -1;
    int nKnown = 0;
    int nWet = 0;
    int nFog = 0;
    double dSky = 0.0;
    int nSky = 0;
    for (int nCode : codes) {
        const int nSeverity = Severity(nCode);
        if (nSeverity < 0)
            continue;
        ++nKnown;
        if (nWorst < 0 || nSeverity > Severity(nWorst))
            nWorst = nCode;
        if (nSeverity >= Severity(51))
            ++nWet;
        if (IsFog(nCode))
            ++nFog;
        // Fog and precipitation come under a covered sky.
        dSky += IsSky(nCode) ? nCode : 3;
        ++nSky;
    }
    if (nKnown == 0)
        return NOT_AVAILABLE;

    if (nWet > 0) {
        // In a quarter of the hours or fewer: scattered.
        const bool bFew = nWet * 4 <= nKnown;
        if (bFew && IsThunder(nWorst))
            return nWet == 1 ? 37 : bDay ? 38 : 47;         // isolated, scattered thunderstorms
        if (bFew && IsPlainRain(nWorst))
            return bDay ? 39 : 45;                          // scattered showers
        if (bFew && IsSnow(nWorst))
            return bDay ? 41 : 46;                          // scattered snow showers
        return Icon(nWorst, bDay);
    }
    if (nFog * 4 >= nKnown)
        return 20;
    return Icon(static_cast<int>(std::lround(dSky / nSky)), bDay);
}
