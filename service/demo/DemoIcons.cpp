#include "service/demo/DemoIcons.h"

int CDemoIcons::Icon(const CWeatherField::Sample& w, bool bDay)
{
    const double dWindMph = w.dWind / 1.609344;
    if (w.dPrecip >= 60.0) {
        const bool bHeavy = w.dPrecip >= 90.0;
        if (w.dTemp <= -1.0) {
            if (bHeavy && dWindMph >= 30.0)
                return 43;                                  // blizzard
            if (dWindMph >= 25.0)
                return 15;                                  // blowing snow
            return bHeavy ? 42 : w.dPrecip >= 75.0 ? 16 : 14;   // heavy snow, snow, light snow
        }
        if (w.dTemp < 1.5) {
            if (w.dTemp < 0.3)
                return w.dPrecip >= 75.0 ? 10 : 8;          // freezing rain, freezing drizzle
            return w.dPrecip >= 75.0 ? 5 : 18;              // rain and snow, sleet
        }
        if (w.bConvective)
            return bHeavy ? 4 : bDay ? 38 : 47;             // thunderstorms, scattered thunderstorms
        if (bHeavy)
            return 40;                                      // heavy rain
        if (w.dPrecip >= 75.0)
            return 12;                                      // rain
        return w.dCloud >= 0.95 && dWindMph < 8.0 ? 9 : 11; // drizzle, light showers
    }
    if (w.dPrecip >= 30.0) {
        if (w.dTemp <= 0.0)
            return bDay ? 41 : 46;                          // scattered snow showers, snow showers
        if (w.bConvective)
            return 37;                                      // isolated thunderstorms
        return bDay ? 39 : 45;                              // scattered showers
    }
    if (w.bFog)
        return 20;
    if (dWindMph >= 30.0 && w.dCloud < 0.85)
        return w.dTemp < 5.0 ? 23 : 24;                     // blustery, windy
    if (w.dTemp >= 35.0 && w.dCloud < 0.3 && bDay)
        return 36;                                          // hot
    if (w.dTemp <= -18.0 && w.dCloud < 0.5)
        return 25;                                          // frigid
    if (w.dCloud < 0.12)
        return bDay ? 32 : 31;                              // sunny, clear
    if (w.dCloud < 0.3)
        return bDay ? 34 : 33;                              // fair
    if (w.dCloud < 0.6)
        return bDay ? 30 : 29;                              // partly cloudy
    if (w.dCloud < 0.85)
        return bDay ? 28 : 27;                              // mostly cloudy
    return 26;                                              // cloudy
}
