#include "service/places/Places.h"

#include "service/places/CityNames.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

struct ZoneLine
{
    std::string strCountryCode;
    std::string strCoordinates;
    std::string strZone;
};

// Lines of a tab-separated tz table, comments and blank lines skipped.
std::vector<std::vector<std::string>> ReadTable(const std::string& strPath)
{
    std::vector<std::vector<std::string>> rows;
    std::ifstream in(strPath);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::istringstream stream(line);
        std::string field;
        while (std::getline(stream, field, '\t'))
            fields.push_back(field);
        rows.push_back(fields);
    }
    return rows;
}

// One ISO 6709 part, +DDMM[SS] or +DDDMM[SS], from text[pos]; false if malformed.
bool ReadAngle(const std::string& text, size_t& pos, int nDegreeDigits, double& dAngle)
{
    if (pos >= text.size() || (text[pos] != '+' && text[pos] != '-'))
        return false;
    const double dSign = text[pos] == '-' ? -1.0 : 1.0;
    size_t end = pos + 1;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])))
        ++end;
    const std::string digits = text.substr(pos + 1, end - pos - 1);
    const size_t nLength = digits.size();
    if (nLength != static_cast<size_t>(nDegreeDigits + 2) && nLength != static_cast<size_t>(nDegreeDigits + 4))
        return false;
    const double dDegrees = std::atoi(digits.substr(0, nDegreeDigits).c_str());
    const double dMinutes = std::atoi(digits.substr(nDegreeDigits, 2).c_str());
    const double dSeconds = nLength > static_cast<size_t>(nDegreeDigits + 2) ? std::atoi(digits.substr(nDegreeDigits + 2).c_str()) : 0;
    dAngle = dSign * (dDegrees + dMinutes / 60.0 + dSeconds / 3600.0);
    pos = end;
    return true;
}

bool ReadCoordinates(const std::string& text, double& dLatitude, double& dLongitude)
{
    size_t pos = 0;
    return ReadAngle(text, pos, 2, dLatitude) && ReadAngle(text, pos, 3, dLongitude) && pos == text.size();
}

uint32_t Fnv1a(const std::string& text)
{
    uint32_t nHash = 2166136261u;
    for (unsigned char c : text) {
        nHash ^= c;
        nHash *= 16777619u;
    }
    return nHash;
}

} // namespace

std::string CPlaces::DefaultZoneFolder()
{
    const char* pszFolder = std::getenv("TZDIR");
    return pszFolder && *pszFolder ? pszFolder : "/usr/share/zoneinfo";
}

std::string CPlaces::BaseID(const std::string& strCountryCode, const std::string& strZone)
{
    std::string strLetters;
    for (char c : CCityNames::ZoneCity(strZone)) {
        if (std::isalpha(static_cast<unsigned char>(c)) && strLetters.size() < 2)
            strLetters += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    while (strLetters.size() < 2)
        strLetters += 'X';
    char szDigits[8];
    std::snprintf(szDigits, sizeof szDigits, "%04u", Fnv1a(strZone) % 10000u);
    return CTextFolding::Upper(strCountryCode) + strLetters + szDigits;
}

bool CPlaces::Load(const std::string& strZoneFolder, std::string& strError)
{
    std::map<std::string, std::string> countries;
    for (const auto& row : ReadTable(strZoneFolder + "/iso3166.tab")) {
        if (row.size() >= 2)
            countries[row[0]] = row[1];
    }
    std::vector<ZoneLine> zones;
    for (const auto& row : ReadTable(strZoneFolder + "/zone.tab")) {
        if (row.size() >= 3 && row[0].size() == 2)
            zones.push_back({row[0], row[1], row[2]});
    }
    if (zones.empty() || countries.empty()) {
        strError = "cannot read zone.tab and iso3166.tab in " + strZoneFolder + " (the tzdata package)";
        return false;
    }
    std::sort(zones.begin(), zones.end(), [](const ZoneLine& a, const ZoneLine& b) {
        return a.strZone != b.strZone ? a.strZone < b.strZone : a.strCountryCode < b.strCountryCode;
    });

    CCityNames cityNames;
    m_places.clear();
    m_byID.clear();
    for (const ZoneLine& zone : zones) {
        CPlace place;
        if (!ReadCoordinates(zone.strCoordinates, place.m_dLatitude, place.m_dLongitude))
            continue;
        if (!place.m_clock.Load(zone.strZone))
            continue;
        place.m_strCountryCode = zone.strCountryCode;
        auto country = countries.find(zone.strCountryCode);
        place.m_strCountry = country != countries.end() ? country->second : zone.strCountryCode;
        place.m_strCity = cityNames.Name(zone.strZone, zone.strCountryCode, m_folding);
        place.m_strName = place.m_strCity + ", " + place.m_strCountry;

        std::string strID = BaseID(zone.strCountryCode, zone.strZone);
        while (m_byID.count(strID)) {
            const int nNext = (std::atoi(strID.c_str() + 4) + 1) % 10000;
            char szDigits[8];
            std::snprintf(szDigits, sizeof szDigits, "%04d", nNext);
            strID = strID.substr(0, 4) + szDigits;
        }
        place.m_strID = strID;

        for (const std::string& key : {place.m_strName, place.m_strCity, CCityNames::ZoneCity(zone.strZone)}) {
            const std::string strKey = m_folding.Fold(key);
            if (std::find(place.m_searchKeys.begin(), place.m_searchKeys.end(), strKey) == place.m_searchKeys.end())
                place.m_searchKeys.push_back(strKey);
        }
        m_byID[strID] = m_places.size();
        m_places.push_back(std::move(place));
    }
    if (m_places.empty()) {
        strError = "no usable place in " + strZoneFolder + "/zone.tab";
        return false;
    }
    return true;
}

const CPlace* CPlaces::Find(const std::string& strID) const
{
    auto it = m_byID.find(CTextFolding::Upper(strID));
    return it != m_byID.end() ? &m_places[it->second] : nullptr;
}

std::vector<const CPlace*> CPlaces::Search(const std::string& strText) const
{
    const std::string strQuery = m_folding.Fold(strText);
    if (strQuery.empty())
        return {};

    // Rank 0: the ID or a whole name; 1: a name's start; 2: a word's start; 3: anywhere.
    const std::string strQueryAsID = CTextFolding::Upper(strQuery);
    std::vector<std::pair<int, const CPlace*>> found;
    for (const CPlace& place : m_places) {
        int nRank = strQueryAsID == place.m_strID ? 0 : 4;
        for (const std::string& key : place.m_searchKeys) {
            const size_t at = key.find(strQuery);
            if (at == std::string::npos)
                continue;
            if (key.size() == strQuery.size())
                nRank = std::min(nRank, 0);
            else if (at == 0)
                nRank = std::min(nRank, 1);
            else if (!std::isalnum(static_cast<unsigned char>(key[at - 1])))
                nRank = std::min(nRank, 2);
            else
                nRank = std::min(nRank, 3);
        }
        if (nRank < 4)
            found.emplace_back(nRank, &place);
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second->m_searchKeys[0] < b.second->m_searchKeys[0];
    });
    std::vector<const CPlace*> results;
    for (const auto& entry : found) {
        if (results.size() == MAX_RESULTS)
            break;
        results.push_back(entry.second);
    }
    return results;
}
