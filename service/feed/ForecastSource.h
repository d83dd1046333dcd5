#pragma once

#include "service/feed/ForecastRecord.h"
#include "service/places/Place.h"

#include <cstdint>
#include <string>
#include <vector>

// Where the searches and forecasts come from: the demo's synthetic weather
// over the places of the tz database, or a live source. The server asks it
// once per request; a source is called from many request threads at once.
class CForecastSource
{
public:
    // How asking the source ended; the server answers each in its own way.
    enum Outcome {
        ANSWERED,         // 200 with the answer
        UNKNOWN_PLACE,    // 404 with the error document: no station has that ID
        NO_ANSWER,        // 504: the source did not answer in time
        BAD_ANSWER,       // 502: the source could not be reached, failed, or said
                          // something that cannot be read
        NOT_RECORDED,     // 500: the IDs of new places could not be kept
    };

    virtual ~CForecastSource() = default;

    // The places whose names match the text, in the order to list them; only
    // their IDs and names are read. strWhy says what went wrong otherwise.
    virtual Outcome Search(const std::string& strText, std::vector<CPlace>& found, std::string& strWhy) = 0;

    // The forecast of the station with that ID as of the instant (seconds
    // since 1970 UTC): the location block always, and nCount days or hours of
    // the section when one is asked for.
    virtual Outcome Forecast(const std::string& strID, CForecastRecord::Section section, int nCount,
                             int64_t nNowUtc, CForecastRecord& record, std::string& strWhy) = 0;

    // True when the forecasts are real weather from elsewhere, whose makers
    // the home page credits.
    virtual bool IsLive() = 0;
};
