#pragma once

#include "service/ForecastSource.h"
#include "service/demo/SyntheticWeather.h"

class CPlaces;
class CStationIdTable;

// The offline source: the places of the tz database and their synthetic
// weather. Needs no network and answers every request it can place.
class CDemoSource : public CForecastSource
{
public:
    explicit CDemoSource(const CPlaces& places) : m_places(places) {}

    Outcome Search(const std::string& strText, std::vector<CPlace>& found, std::string& strWhy) override;
    Outcome Forecast(const std::string& strID, CForecastRecord::Section section, int nCount, int64_t nNowUtc,
                     CForecastRecord& record, std::string& strWhy) override;
    bool IsLive() override { return false; }

    const CPlaces& m_places;
    // The places a live source has named, if any, so that stations kept from
    // it go on working here, with made-up weather like all the rest.
    const CStationIdTable* m_pLiveIds = nullptr;
    CSyntheticWeather m_weather;
};
