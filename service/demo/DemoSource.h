#pragma once

#include "service/feed/ForecastSource.h"
#include "service/demo/SyntheticWeather.h"

#include <map>
#include <shared_mutex>
#include <string>
#include <tuple>

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
    CStationIdTable* m_pLiveIds = nullptr;
    CSyntheticWeather m_weather;

private:
    // A station's forecast is the same all through its issue hour, and a
    // daily one costs some 300 samples of the weather field: each is made
    // once an hour and kept, its header made anew for each request.
    using Key = std::tuple<std::string, int, int, int64_t>;   // ID, section, count, issue time
    static constexpr size_t MAX_KEPT = 4096;
    std::shared_mutex m_mutex;
    std::map<Key, CForecastRecord> m_kept;
};
