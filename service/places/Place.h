#pragma once

#include "service/places/ZoneClock.h"

#include <cstdint>
#include <string>
#include <vector>

// One place the service knows: a station ID, a name, a position and the time
// zone its clocks keep. Texts are UTF-8.
class CPlace
{
public:
    std::string m_strID;          // four letters and four digits, e.g. "CHZU2841"
    std::string m_strName;        // "Zürich, Switzerland": the feed's and the search's name
    std::string m_strCity;        // "Zürich"
    std::string m_strCountry;     // "Switzerland"
    std::string m_strCountryCode; // "CH"
    std::string m_strRegion;      // "Zurich": the first-level division, where a live source names one
    double m_dLatitude = 0.0;     // degrees north
    double m_dLongitude = 0.0;    // degrees east
    CZoneClock m_clock;           // m_clock.m_strZone: "Europe/Zurich"; a live place's clock
                                  // holds only the zone's name
    int64_t m_nSourceID = 0;      // a live source's own number for the place; 0 for the demo's
    std::vector<std::string> m_searchKeys;  // folded names a search matches
};
