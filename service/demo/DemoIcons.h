#pragma once

#include "service/demo/WeatherField.h"

// The condition icon of a state of the synthetic weather, numbered as the
// feed numbers them: precipitation first, by its chance and the temperature,
// then fog, wind and extremes, then the cloud cover, each in its day or night
// picture where the set has both.
class CDemoIcons
{
public:
    static int Icon(const CWeatherField::Sample& weather, bool bDay);
};
