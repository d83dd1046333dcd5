#pragma once

#include <string>

class CPlaces;

// The service's home page: what it is, how to ask it, and a few places to try.
// With live forecasts it credits their makers, as their licence asks.
class CHomePage
{
public:
    static constexpr const char* SERVICE_NAME = "Cirrovan";
    // The name the program shows for the live forecasts' makers.
    static constexpr const char* LIVE_SOURCE_NAME = "Open-Meteo";
    // The name the program shows for the demo's made-up forecasts, which must
    // never pass for real weather.
    static constexpr const char* DEMO_NAME = "Cirrovan demo";

    static std::string Html(const CPlaces& places, bool bLive);
};
