#pragma once

#include "service/feed/ForecastSource.h"
#include "service/live/HttpFetcher.h"
#include "service/live/SourceCache.h"
#include "service/places/StationIdTable.h"

class CPlaces;

// Live forecasts from Open-Meteo's free APIs (no key): the station search
// from its geocoding API, the daily and hour-by-hour forecasts from its
// forecast API, both read by COpenMeteoTranslator. Each answer is kept for the
// cache's interval, and one forecast answer serves both kinds of a place.
// The places it has answered with keep their IDs in the data folder's
// "station-ids.json"; the demo's IDs name the demo's places, now with real
// weather, so that stations kept from the demo go on working.
class COpenMeteoSource : public CForecastSource
{
public:
    static constexpr const char* DEFAULT_FORECAST_URL = "https://api.open-meteo.com/v1/forecast";
    static constexpr const char* DEFAULT_GEOCODING_URL = "https://geocoding-api.open-meteo.com/v1/search";
    static constexpr const char* TABLE_FILE = "station-ids.json";
    static constexpr int SEARCH_RESULTS = 20;
    // The tenth day's night ends on the eleventh.
    static constexpr int FORECAST_DAYS = 11;

    explicit COpenMeteoSource(const CPlaces& demoPlaces);

    // Reads the station IDs kept in the folder (made when first needed).
    // False with a reason when they cannot be read.
    bool Open(const std::string& strDataFolder, std::string& strError);

    Outcome Search(const std::string& strText, std::vector<CPlace>& found, std::string& strWhy) override;
    Outcome Forecast(const std::string& strID, CForecastRecord::Section section, int nCount, int64_t nNowUtc,
                     CForecastRecord& record, std::string& strWhy) override;
    bool IsLive() override { return true; }

    // Whether the forecast API answers a small request within a few seconds;
    // strWhy says why not.
    bool Probe(std::string& strWhy) const;

    std::string ForecastURL(const CPlace& place) const;
    std::string SearchURL(const std::string& strText) const;

    std::string m_strForecastURL = DEFAULT_FORECAST_URL;
    std::string m_strGeocodingURL = DEFAULT_GEOCODING_URL;
    CHttpFetcher m_fetcher;
    CSourceCache m_cache;
    CStationIdTable m_table;

private:
    // Asks the source; ANSWERED with the body of a 200 answer.
    Outcome Fetch(const std::string& strURL, std::string& strBody, std::string& strWhy) const;

    const CPlaces& m_demoPlaces;
};
