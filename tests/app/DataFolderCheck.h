#pragma once

// What a test reads back from a data folder: its files, and what a first run
// leaves there, read by the data layer as the program's next start reads it.

#include "model/WeatherData.h"
#include "platform/CodePage.h"

#include "../StationList.h"
#include "../TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

// Stations as the local forecast service answers for them (and as the
// fixtures beside the tests were taken from it).
const wchar_t* const LONDON = L"GBLO5854";
const wchar_t* const ZURICH = L"CHZU3595";
const wchar_t* const ZURICH_NAME = L"Z\u00fcrich, Switzerland";   // the first place found for "Zurich"

// Every file under the folder, by its path there, with its content; the names
// left out are files a test put there itself (a program it runs from there).
inline std::map<std::string, std::string> FolderFiles(const CTempFolder& folder,
                                                      const std::set<std::string>& leftOut = {})
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.m_path)) {
        const std::string path = std::filesystem::relative(entry.path(), folder.m_path).string();
        if (entry.is_regular_file() && leftOut.count(path) == 0)
            files[path] = folder.Read(path);
    }
    return files;
}

inline std::vector<std::string> Names(const std::map<std::string, std::string>& files)
{
    std::vector<std::string> names;
    for (const auto& file : files)
        names.push_back(file.first);
    return names;
}

// A first run in which the user searched for "Zurich", added the first place
// found and fetched both its forecasts, ticked as the station to update. The
// folder must be the one the test's executable path points into.
inline void ExpectFirstRunFolder(const CTempFolder& folder)
{
    CWeatherData data;
    ASSERT_EQ(data.m_strFolder, CCodePage::Decode(folder.m_path));
    const StationList zurich = {{ZURICH, ZURICH_NAME}};
    EXPECT_EQ(StationsOf(data.m_stations), zurich);
    data.LoadSearchResults();
    ASSERT_GT(data.m_searchResults.GetCount(), 0);
    EXPECT_EQ(StationsOf(data.m_searchResults).front(), zurich.front());
    ASSERT_TRUE(data.m_settings.Load());
    EXPECT_EQ(data.m_settings.m_currentStation.m_strID, ZURICH);
    EXPECT_EQ(data.m_settings.m_currentStation.m_strName, ZURICH_NAME);
    EXPECT_EQ(StationsOf(data.m_settings.m_preferredStations), zurich);
    // The service's answers as they came: its ten days and seventy-two hours.
    data.LoadDailyForecast(ZURICH);
    data.LoadHourlyForecast(ZURICH);
    EXPECT_EQ(data.m_daily.m_strLocation, ZURICH_NAME);
    EXPECT_EQ(data.m_daily.m_days.GetCount(), 10);
    EXPECT_EQ(data.m_hourly.m_strLocation, ZURICH_NAME);
    EXPECT_EQ(data.m_hourly.m_hours.GetCount(), 72);
}
