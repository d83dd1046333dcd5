#pragma once

#include "tools/service/ForecastRecord.h"

#include <cstdint>

class CPlace;

// Where the forecasts come from: the synthetic weather, or later a live one.
// The server asks for one record per request; a source is called from many
// request threads at once.
class CForecastSource
{
public:
    virtual ~CForecastSource() = default;

    // Fills the record for the place as of the instant (seconds since 1970
    // UTC): the location block always, and nCount days or hours of the
    // section when one is asked for. False when the source has no forecast
    // for the place now.
    virtual bool Fill(const CPlace& place, CForecastRecord::Section section, int nCount, int64_t nNowUtc,
                      CForecastRecord& record) = 0;
};
