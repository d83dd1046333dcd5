#pragma once

#include "service/demo/WeatherField.h"

// The condition icon of a state of the weather, numbered as the feed numbers
// them (the 49 weather pictures): precipitation first, by its chance and the
// temperature, then fog, wind and extremes, then the cloud cover, each in its
// day or night picture where the set has both.
class CConditions
{
public:
    static int Icon(const CWeatherField::Sample& weather, bool bDay);

    // The feed's text for an icon ("Mostly Cloudy"); "N/A" for 44 and 48.
    static const char* Text(int nIcon);
    // True for the icons that show falling rain, snow or ice.
    static bool IsPrecipitation(int nIcon);
};
