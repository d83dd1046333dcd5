#include "service/live/OpenMeteoSource.h"

#include "service/live/BoundedJson.h"
#include "service/live/OpenMeteoTranslator.h"
#include "service/places/Places.h"

#include <nlohmann/json.hpp>

#include <cctype>
#include <charconv>
#include <cstdio>
#include <ctime>

namespace {

const char* const HOURLY_VALUES =
    "temperature_2m,apparent_temperature,relative_humidity_2m,precipitation_probability,weather_code,"
    "wind_speed_10m,wind_gusts_10m,wind_direction_10m,is_day";
const char* const DAILY_VALUES = "temperature_2m_max,temperature_2m_min,sunrise,sunset";

std::string Joined(const std::string& strBase, const std::string& strQuery)
{
    return strBase + (strBase.find('?') == std::string::npos ? '?' : '&') + strQuery;
}

// With a point whatever the locale of the process it runs in: inside the
// program, the window toolkit sets that from the user's environment.
std::string Degrees(double d)
{
    char sz[400];
    const std::to_chars_result r = std::to_chars(sz, sz + sizeof sz, d, std::chars_format::fixed, 4);
    return std::string(sz, r.ec == std::errc() ? r.ptr : sz);
}

// The search text as the cache knows it: trimmed, ASCII letters in lower case.
std::string SearchKey(const std::string& strText)
{
    const size_t nFirst = strText.find_first_not_of(" \t\r\n");
    if (nFirst == std::string::npos)
        return std::string();
    std::string strKey = strText.substr(nFirst, strText.find_last_not_of(" \t\r\n") - nFirst + 1);
    for (char& c : strKey)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return strKey;
}

} // namespace

COpenMeteoSource::COpenMeteoSource(const CPlaces& demoPlaces) : m_demoPlaces(demoPlaces)
{
    for (const CPlace& place : demoPlaces.m_places)
        m_table.m_reserved.insert(place.m_strID);
}

bool COpenMeteoSource::Open(const std::string& strDataFolder, std::string& strError)
{
    return m_table.Load(strDataFolder + "/" + TABLE_FILE, strError);
}

std::string COpenMeteoSource::ForecastURL(const CPlace& place) const
{
    const std::string strZone = place.m_clock.m_strZone.empty() ? "auto" : place.m_clock.m_strZone;
    return Joined(m_strForecastURL, "latitude=" + Degrees(place.m_dLatitude) + "&longitude=" +
                                        Degrees(place.m_dLongitude) + "&hourly=" + HOURLY_VALUES + "&daily=" +
                                        DAILY_VALUES + "&timezone=" + CHttpFetcher::Encode(strZone) +
                                        "&temperature_unit=fahrenheit&wind_speed_unit=mph&forecast_days=" +
                                        std::to_string(FORECAST_DAYS) + "&timeformat=unixtime");
}

std::string COpenMeteoSource::SearchURL(const std::string& strText) const
{
    return Joined(m_strGeocodingURL, "name=" + CHttpFetcher::Encode(strText) + "&count=" +
                                         std::to_string(SEARCH_RESULTS) + "&language=en&format=json");
}

CForecastSource::Outcome COpenMeteoSource::Fetch(const std::string& strURL, std::string& strBody,
                                                 std::string& strWhy) const
{
    int nStatus = 0;
    std::string strError;
    switch (m_fetcher.Get(strURL, nStatus, strBody, strError)) {
    case CHttpFetcher::FETCHED:
        if (nStatus == 200)
            return ANSWERED;
        strWhy = COpenMeteoTranslator::Refusal(strBody);
        if (strWhy.empty())
            strWhy = "Open-Meteo answered with HTTP status " + std::to_string(nStatus);
        return BAD_ANSWER;
    case CHttpFetcher::TIMED_OUT:
        strWhy = "Open-Meteo did not answer in time: " + strError;
        return NO_ANSWER;
    case CHttpFetcher::UNREACHABLE:
        strWhy = "Open-Meteo could not be reached: " + strError;
        return BAD_ANSWER;
    case CHttpFetcher::TO_ITSELF:
        strWhy = "Open-Meteo's address is this service's own: " + strError;
        return BAD_ANSWER;
    case CHttpFetcher::TOO_LARGE:
    case CHttpFetcher::FAILED:
        break;
    }
    strWhy = "Open-Meteo's answer broke off: " + strError;
    return BAD_ANSWER;
}

CForecastSource::Outcome COpenMeteoSource::Search(const std::string& strText, std::vector<CPlace>& found,
                                                  std::string& strWhy)
{
    // A station's ID answers that station, so that one added by its ID can
    // be named; the geocoder knows no such IDs.
    CPlace named;
    const CPlace* pDemo = nullptr;
    if (m_table.Find(strText, named) || (pDemo = m_demoPlaces.Find(strText)) != nullptr) {
        CPlace hit;
        hit.m_strID = pDemo ? pDemo->m_strID : named.m_strID;
        hit.m_strName = pDemo ? pDemo->m_strName : named.m_strName;
        found.push_back(std::move(hit));
        return ANSWERED;
    }
    const std::string strKey = SearchKey(strText);
    if (strKey.empty())
        return ANSWERED;
    Outcome outcome = ANSWERED;
    CSourceCache::Entry entry;
    // Only an answer that reads as one is kept.
    const bool bGot = m_cache.Get("search:" + strKey, static_cast<int64_t>(std::time(nullptr)),
                                  [&](std::string& strBody, std::string& strError) {
                                      outcome = Fetch(SearchURL(strKey), strBody, strError);
                                      std::vector<CPlace> places;
                                      if (outcome == ANSWERED && !COpenMeteoTranslator::ReadPlaces(strBody, places, strError))
                                          outcome = BAD_ANSWER;
                                      return outcome == ANSWERED;
                                  },
                                  entry, strWhy);
    if (!bGot)
        return outcome;
    std::vector<CPlace> places;
    if (!COpenMeteoTranslator::ReadPlaces(entry.strBody, places, strWhy))
        return BAD_ANSWER;
    if (!m_table.Assign(places, strWhy)) {
        strWhy = "the new station IDs could not be kept: " + strWhy;
        return NOT_RECORDED;
    }
    for (CPlace& place : places) {
        if (!place.m_strID.empty())
            found.push_back(std::move(place));
    }
    return ANSWERED;
}

CForecastSource::Outcome COpenMeteoSource::Forecast(const std::string& strID, CForecastRecord::Section section,
                                                    int nCount, int64_t nNowUtc, CForecastRecord& record,
                                                    std::string& strWhy)
{
    CPlace place;
    if (!m_table.Find(strID, place)) {
        const CPlace* pDemo = m_demoPlaces.Find(strID);
        if (!pDemo)
            return UNKNOWN_PLACE;
        place = *pDemo;
    }
    Outcome outcome = ANSWERED;
    CSourceCache::Entry entry;
    const bool bGot = m_cache.Get("forecast:" + place.m_strID, nNowUtc,
                                  [&](std::string& strBody, std::string& strError) {
                                      outcome = Fetch(ForecastURL(place), strBody, strError);
                                      CForecastRecord header;
                                      if (outcome == ANSWERED &&
                                          !COpenMeteoTranslator::ReadForecast(strBody, place, CForecastRecord::NO_SECTION, 0,
                                                                              nNowUtc, nNowUtc, header, strError))
                                          outcome = BAD_ANSWER;
                                      return outcome == ANSWERED;
                                  },
                                  entry, strWhy);
    if (!bGot)
        return outcome;
    if (!COpenMeteoTranslator::ReadForecast(entry.strBody, place, section, nCount, nNowUtc, entry.nFetchedUtc, record,
                                            strWhy)) {
        strWhy = "Open-Meteo's forecast cannot be used: " + strWhy;
        return BAD_ANSWER;
    }
    return ANSWERED;
}

bool COpenMeteoSource::Probe(std::string& strWhy) const
{
    CHttpFetcher quick = m_fetcher;
    quick.m_nConnectSeconds = 3;
    quick.m_nTotalSeconds = 5;
    int nStatus = 0;
    std::string strBody;
    switch (quick.Get(Joined(m_strForecastURL, "latitude=52.52&longitude=13.41&hourly=temperature_2m&forecast_days=1"),
                      nStatus, strBody, strWhy)) {
    case CHttpFetcher::FETCHED:
        break;
    default:
        return false;
    }
    if (nStatus != 200) {
        strWhy = "HTTP status " + std::to_string(nStatus);
        return false;
    }
    const nlohmann::json document = CBoundedJson::Parse(strBody);
    if (!document.is_object() || !document.contains("hourly")) {
        strWhy = "the answer is not a forecast";
        return false;
    }
    return true;
}
