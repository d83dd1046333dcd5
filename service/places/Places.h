#pragma once

#include "service/places/Place.h"
#include "service/places/TextFolding.h"

#include <map>
#include <string>
#include <vector>

// The places of the tz database's zone table: one per zone and country, with
// the zone's principal city as the name, its coordinates and its clock.
//
// IDs: the country code, the first two letters of the zone's city and four
// digits hashed from the zone name ("Europe/Zurich" in CH gives CHZU and a
// number), so a place keeps its ID whatever else the table holds. Should two
// zones ever meet on one ID, the later zone in name order takes the next number.
class CPlaces
{
public:
    static constexpr size_t MAX_RESULTS = 30;

    // Reads zone.tab and iso3166.tab from the tz folder; false with a reason
    // when they cannot be read or hold no place.
    bool Load(const std::string& strZoneFolder, std::string& strError);

    // The place with that ID (any letter case), or none.
    const CPlace* Find(const std::string& strID) const;
    // Places whose name, city or country contains the text, letter case and
    // accents aside; whole-name and name-start matches first. An empty text
    // finds nothing. At most MAX_RESULTS.
    std::vector<const CPlace*> Search(const std::string& strText) const;

    // The tz folder: $TZDIR when set, else /usr/share/zoneinfo.
    static std::string DefaultZoneFolder();
    static std::string BaseID(const std::string& strCountryCode, const std::string& strZone);

    std::vector<CPlace> m_places;   // in zone-name order
    CTextFolding m_folding;

private:
    std::map<std::string, size_t> m_byID;
};
