#include "model/WeatherData.h"

#include "../TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

namespace {

// What crashed saves and downloads leave goes at the next start; everything
// else in the folders stays as it was.
TEST(Leftovers, OnlyTheTemporaryFilesOfSavesAndDownloadsAreRemoved)
{
    CTempFolder temp;
    CWeatherData data;
    ASSERT_EQ(data.m_strFolder, temp.WidePath("").substr(0, temp.WidePath("").size() - 1));
    const std::string whole(4096, 'x');
    const std::set<std::string> leftovers = {
        "stations.dat.0123abcd",              // a save cut short, empty
        "settings.dat.89abcdef",
        "search_stations.dat.00000000",
        "forecasts/USNY0996_d.dat.a1b2c3d4",  // a download, whole
        "forecasts/USNY0996_h.dat.ffffffff",
    };
    const std::set<std::string> kept = {
        "stations.dat", "settings.dat", "log.txt", "forecasts/USNY0996_d.dat", "forecasts/USNY0996_h.dat",
        "stations.dat.0123ABCD",                // not lower-case hex
        "stations.dat.0123abc",                 // seven digits
        "stations.dat.0123abcde",               // nine
        "notes.dat.0123abcd",                   // not a file of ours
        "forecasts/USNY0996_x.dat.0123abcd",
        "forecasts/stations.dat.0123abcd",      // ours, but not in that folder
        "forecasts/_d.dat.0123abcd",            // no station
        "cirrovan.0123abcd",
        "recent/stations.dat.0123abcd",         // not in either folder
    };
    std::filesystem::create_directories(temp.Path("recent"));
    // Every file older than any running program's; one leftover of a moment
    // ago may still be a second program's save in progress.
    const timeval old[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
    for (const std::string& name : leftovers) {
        temp.Write(name, name.find("forecasts/") == 0 ? whole : "");
        ASSERT_EQ(utimes(temp.Path(name).c_str(), old), 0);
    }
    for (const std::string& name : kept) {
        temp.Write(name, name);
        ASSERT_EQ(utimes(temp.Path(name).c_str(), old), 0);
    }
    temp.Write("settings.dat.fedcba98", "");   // just now
    // A link of that form is never followed or removed.
    ASSERT_EQ(symlink(temp.Path("log.txt").c_str(), temp.Path("forecasts/FRXX0076_d.dat.12345678").c_str()), 0);

    data.RemoveLeftovers();

    for (const std::string& name : leftovers)
        EXPECT_FALSE(temp.Exists(name)) << name;
    for (const std::string& name : kept)
        EXPECT_EQ(temp.Read(name), name) << name;
    EXPECT_TRUE(temp.Exists("settings.dat.fedcba98"));
    EXPECT_TRUE(std::filesystem::is_symlink(temp.Path("forecasts/FRXX0076_d.dat.12345678")));
}

}
