#include "service/feed/Conditions.h"

const char* CConditions::Text(int nIcon)
{
    static const char* const s_texts[] = {
        "Tornado", "Tropical Storm", "Hurricane", "Severe Thunderstorms", "Thunderstorms",
        "Rain and Snow", "Rain and Sleet", "Snow and Sleet", "Freezing Drizzle", "Drizzle",
        "Freezing Rain", "Light Showers", "Rain", "Snow Flurries", "Light Snow",
        "Blowing Snow", "Snow", "Hail", "Sleet", "Dust",
        "Fog", "Haze", "Smoke", "Blustery", "Windy",
        "Frigid", "Cloudy", "Mostly Cloudy", "Mostly Cloudy", "Partly Cloudy",
        "Partly Cloudy", "Clear", "Sunny", "Fair", "Fair",
        "Rain and Hail", "Hot", "Isolated Thunderstorms", "Scattered Thunderstorms", "Scattered Showers",
        "Heavy Rain", "Scattered Snow Showers", "Heavy Snow", "Blizzard", "N/A",
        "Scattered Showers", "Snow Showers", "Scattered Thunderstorms", "N/A",
    };
    if (nIcon < 0 || nIcon >= static_cast<int>(sizeof s_texts / sizeof s_texts[0]))
        return "N/A";
    return s_texts[nIcon];
}

bool CConditions::IsPrecipitation(int nIcon)
{
    return (nIcon >= 3 && nIcon <= 18) || nIcon == 35 || (nIcon >= 37 && nIcon <= 43) || (nIcon >= 45 && nIcon <= 47);
}
