#pragma once

#include <cstdint>

class CPlace;

// The synthetic weather: a smooth, made-up but plausible state of the air at
// any place and instant. Its value depends only on the station's ID, its
// position and the instant, so every forecast of an hour agrees with every
// other, and the same request in the same hour gives the same answer.
//
// The parts: a seasonal mean by latitude, a day and night swing that clouds
// damp, weather systems passing every few days (value noise seeded by the ID)
// that bring cloud, rain, wind and a turn of the wind with them.
class CWeatherField
{
public:
    struct Sample
    {
        double dTemp = 0.0;          // degrees Celsius
        double dFeelsLike = 0.0;     // apparent temperature
        double dCloud = 0.0;         // cover, 0 to 1
        double dPrecip = 0.0;        // chance of precipitation, 0 to 100
        double dWind = 0.0;          // mean speed, km/h
        double dGust = 0.0;          // km/h; 0 when gusts are not worth telling
        double dDirection = 0.0;     // degrees the wind comes from, 0 to 360
        double dHumidity = 0.0;      // percent
        bool bConvective = false;    // showers would be thundery
        bool bFog = false;
        bool bDaylight = false;      // the sun is above the horizon
    };

    static Sample At(const CPlace& place, int64_t nUtc);
};
