#pragma once

#include <string>

class CPlaces;

// The service's home page: what it is, how to ask it, and a few places to try.
class CHomePage
{
public:
    static constexpr const char* SERVICE_NAME = "Cirrovan Weather";

    static std::string Html(const CPlaces& places);
};
