#pragma once

#include "service/demo/WeatherField.h"

class CConditions
{
public:
    static int Icon(const CWeatherField::Sample& weather);
};
