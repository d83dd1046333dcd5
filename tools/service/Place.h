#pragma once

#include "tools/service/ZoneClock.h"

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
    double m_dLatitude = 0.0;     // degrees north
    double m_dLongitude = 0.0;    // degrees east
    CZoneClock m_clock;           // m_clock.m_strZone: "Europe/Zurich"
    std::vector<std::string> m_searchKeys;  // folded names a search matches
};
