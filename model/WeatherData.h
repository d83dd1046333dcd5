#pragma once

#include "settings/Settings.h"
#include "store/DailyForecast.h"
#include "store/HourlyForecast.h"
#include "store/PointerArray.h"
#include "store/Station.h"

#include <string>

// Request kinds of a download.
constexpr int DOWNLOAD_SEARCH = 0;   // argument: the search text
constexpr int DOWNLOAD_DAILY = 1;    // argument: a station ID
constexpr int DOWNLOAD_HOURLY = 2;   // argument: a station ID

// Everything the program knows, for the life of the process: the data folder,
// the stations, the last search, the current station's forecasts, the settings
// and the slot through which a dialog hands a station back. The program has
// one, built in app/ and handed to every window by reference; tests, tools
// and benchmarks build their own.
class CWeatherData
{
public:
    // Finds the data folder, reads the station list and creates the forecasts
    // folder before the settings exist; the settings are not read here.
    CWeatherData();
    CWeatherData(const CWeatherData&) = delete;
    CWeatherData& operator=(const CWeatherData&) = delete;

    // Stations: "stations.dat" in the data folder.
    void LoadStations();    // a missing or malformed file leaves the list empty
    void SaveStations();    // a failed save leaves the old file whole
    // The first station whose ID matches exactly (case-sensitive), or none.
    CStation* FindStation(const std::wstring& strID) const;
    // Deletes the station's forecast files and the station; the caller saves.
    void DeleteStation(int nIndex);

    // The URL and the target file of a download. An unknown kind gives an empty
    // URL and leaves the target alone; a station ID that is unsafe as a file
    // name gives an empty URL and an empty target.
    void BuildRequest(int nKind, const std::wstring& strArgument,
                      std::wstring& strURL, std::wstring& strTarget) const;

    // A forecast exists exactly when its file can be opened.
    bool HasDailyFile(const std::wstring& strID) const;
    bool HasHourlyFile(const std::wstring& strID) const;
    // Load the station's file into m_daily / m_hourly; a file that is missing
    // or does not parse changes nothing.
    void LoadDailyForecast(const std::wstring& strID);
    void LoadHourlyForecast(const std::wstring& strID);

    // Reads m_strSearchFile into m_searchResults; an unreadable or malformed
    // answer keeps the previous results.
    void LoadSearchResults();

    // Station IDs name files, and they come from a file or the network: an ID
    // that is empty, holds '/', '\\', ".." or a control character never
    // becomes part of a path.
    static bool IsSafeFileID(const std::wstring& strID);
    // Full path of a station's forecast file; empty for an unsafe ID.
    std::wstring DailyFile(const std::wstring& strID) const;
    std::wstring HourlyFile(const std::wstring& strID) const;
    std::wstring StationsFile() const;

    std::wstring m_strFolder;        // data folder, no trailing '/'
    std::wstring m_strSearchFile;    // m_strFolder + "/search_stations.dat"
    CPointerArray<CStation> m_searchResults;
    CPointerArray<CStation> m_stations;
    CDailyForecast m_daily;
    CHourlyForecast m_hourly;
    CSettings m_settings;
    CStation m_chosenStation;        // a station handed back by a dialog

private:
    // Runs the start-up steps that come before the settings are built.
    CSettings PrepareFolder();
    std::wstring ForecastFile(const std::wstring& strID, const wchar_t* pszSuffix) const;
};
