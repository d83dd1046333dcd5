#pragma once

// The program's own loaders run over the service's answers, and what the tests
// need to judge the result.

#include "model/WeatherData.h"
#include "store/DailyForecast.h"
#include "store/HourlyForecast.h"

#include "../TempFolder.h"

#include <cctype>
#include <cstdlib>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

inline void LoadDaily(const std::string& strBody, CDailyForecast& daily)
{
    CTempFolder temp;
    temp.Write("daily.dat", strBody);
    daily.Load(temp.WidePath("daily.dat"));
}

inline void LoadHourly(const std::string& strBody, CHourlyForecast& hourly)
{
    CTempFolder temp;
    temp.Write("hourly.dat", strBody);
    hourly.Load(temp.WidePath("hourly.dat"));
}

using SearchResults = std::vector<std::pair<std::wstring, std::wstring>>;

inline SearchResults LoadSearch(const std::string& strBody)
{
    CTempFolder temp;
    CWeatherData data;
    temp.Write("search_stations.dat", strBody);
    data.LoadSearchResults();
    SearchResults results;
    for (int i = 0; i < data.m_searchResults.GetCount(); ++i)
        results.emplace_back(data.m_searchResults.GetAt(i)->m_strID, data.m_searchResults.GetAt(i)->m_strName);
    return results;
}

// Four capital letters and four digits, as the service's IDs are.
inline bool IsStationID(const std::string& strID)
{
    if (strID.size() != 8)
        return false;
    for (size_t i = 0; i < 8; ++i) {
        const unsigned char c = static_cast<unsigned char>(strID[i]);
        if (i < 4 ? !std::isupper(c) : !std::isdigit(c))
            return false;
    }
    return true;
}

// Every byte but letters and digits as %XX, as the program's HTTP layer sends a search.
inline std::string PercentEncoded(const std::string& strText)
{
    static const char HEX[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : strText) {
        if (std::isalnum(c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += HEX[c >> 4];
            out += HEX[c & 15];
        }
    }
    return out;
}

// Offset from UTC of a tz zone at an instant, in seconds, by the C library.
// Tests run single-threaded, so switching TZ for a moment is safe here.
inline long ZoneOffset(const char* pszZone, time_t when)
{
    const char* pszOld = std::getenv("TZ");
    const std::string strOld = pszOld ? pszOld : "";
    setenv("TZ", pszZone, 1);
    tzset();
    tm local {};
    localtime_r(&when, &local);
    if (pszOld)
        setenv("TZ", strOld.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
    return local.tm_gmtoff;
}

// The feed without its "tm" line: the one element that tells the minute.
inline std::string WithoutClock(const std::string& strFeed)
{
    const size_t at = strFeed.find("<tm>");
    if (at == std::string::npos)
        return strFeed;
    return strFeed.substr(0, at) + strFeed.substr(strFeed.find('\n', at));
}

// Icons that exist in a day and a night picture.
inline bool IsDayPicture(int nIcon)
{
    return nIcon == 28 || nIcon == 30 || nIcon == 32 || nIcon == 34 || nIcon == 36 || nIcon == 38 || nIcon == 39 ||
           nIcon == 41;
}

inline bool IsNightPicture(int nIcon)
{
    return nIcon == 27 || nIcon == 29 || nIcon == 31 || nIcon == 33 || nIcon == 45 || nIcon == 46 || nIcon == 47;
}
