#pragma once

#include "service/feed/ForecastRecord.h"
#include "service/places/Place.h"

#include <cstdint>
#include <string>
#include <vector>

// Open-Meteo's answers (the bytes of its JSON) read into what the service
// answers with: the places of a geocoding search, and the record of a feed
// from a forecast. Needs no network; every value is checked, since the
// answers come from elsewhere: a missing or odd value is one the source did
// not give, and becomes "N/A" where the feed has it.
//
// The forecast is asked for in degrees Fahrenheit and miles per hour, the
// feed's own units, so that a value reaches the program as the source rounded
// it; an answer in other units (a mirror that ignores the request) is
// converted. Times may come as Unix seconds or as ISO 8601 wall-clock texts.
class COpenMeteoTranslator
{
public:
    static constexpr size_t MAX_NAME_BYTES = 100;   // of each part of a place's name

    // The places of a geocoding answer, their IDs not yet given: a result
    // without a number, a name or a position is left out. An answer without
    // results is an empty list. False with a reason when the body is not a
    // geocoding answer or is the source's error.
    static bool ReadPlaces(const std::string& strBody, std::vector<CPlace>& places, std::string& strError);

    // The record of a forecast answer for the place as of the instant nNowUtc
    // (seconds since 1970): the location block, and nCount days or hours of
    // the section. nFetchedUtc, when the source answered, is the feed's last
    // update. The days' halves sum up the hours 7:00 to 19:00 and 19:00 to
    // 7:00; the hours start with the first one after the current hour began
    // and end at the first gap. False with a reason when the answer has no
    // clock, or no day or hour of the section asked for.
    static bool ReadForecast(const std::string& strBody, const CPlace& place, CForecastRecord::Section section,
                             int nCount, int64_t nNowUtc, int64_t nFetchedUtc, CForecastRecord& record,
                             std::string& strError);

    // The reason of the source's own error document ({"error": true,
    // "reason": ...}), or "" when the body is not one.
    static std::string Refusal(const std::string& strBody);

    // "Springfield, Illinois, United States": the region only where it is
    // not the name itself.
    static std::string DisplayName(const std::string& strCity, const std::string& strRegion,
                                   const std::string& strCountry);

    // The text with control characters as blanks, runs of blanks as one and
    // none at the ends, cut to at most nMaxBytes on a character's boundary.
    static std::string CleanText(const std::string& strText, size_t nMaxBytes);
};
