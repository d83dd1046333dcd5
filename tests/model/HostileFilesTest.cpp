#include "model/WeatherData.h"
#include "log/LogFile.h"
#include "store/XmlFile.h"

#include "../TempFolder.h"
#include "testing/PathologicalDocuments.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// Each data file: its name and the start of a real one, which a hostile rest
// follows, so that only the guard keeps the file from being read.
struct DataFile { const char* name; const char* start; };
const DataFile kDataFiles[] = {
    {"stations.dat", "<stations><station id=\"USNY0996\">New York</station>"},
    {"settings.dat", "<Cirrovan><displayorientation>4</displayorientation>"},
    {"search_stations.dat", "<search><loc id=\"FRXX0076\">Paris</loc>"},
    {"forecasts/USNY0996_d.dat", "<weather><loc><dnam>Hostile</dnam></loc><dayf><day d=\"0\"><hi>50</hi></day>"},
    {"forecasts/USNY0996_h.dat", "<weather><loc><dnam>Hostile</dnam></loc><hbhf><hour h=\"0\" c=\"1\"/>"},
};

// The program's data as it stands before a file is read, and whether every
// load of a data file left it so.
class Loaders
{
public:
    Loaders()
    {
        m_pData = std::make_unique<CWeatherData>();
        m_temp.Write("forecasts/USNY0996_d.dat", ReadFixture("store/fixtures/daily.xml"));
        m_temp.Write("forecasts/USNY0996_h.dat", ReadFixture("store/fixtures/hourly.xml"));
        m_temp.Write("search_stations.dat", "<search><loc id=\"USNY0996\">New York</loc></search>");
        m_pData->LoadDailyForecast(L"USNY0996");
        m_pData->LoadHourlyForecast(L"USNY0996");
        m_pData->LoadSearchResults();
        m_pData->m_settings.m_nOrientation = 1;
    }

    // Loads every data file as the program does and tells whether each was
    // refused, leaving the data as it was.
    void ExpectAllRefused()
    {
        CWeatherData& data = *m_pData;
        data.LoadStations();
        EXPECT_EQ(data.m_stations.GetCount(), 0);
        EXPECT_FALSE(data.m_settings.Load());
        EXPECT_EQ(data.m_settings.m_nOrientation, 1);
        data.LoadSearchResults();
        ASSERT_EQ(data.m_searchResults.GetCount(), 1);
        EXPECT_EQ(data.m_searchResults.GetAt(0)->m_strID, L"USNY0996");
        data.LoadDailyForecast(L"USNY0996");
        data.LoadHourlyForecast(L"USNY0996");
        EXPECT_EQ(data.m_daily.m_strLocation, L"New York, NY");
        EXPECT_EQ(data.m_daily.m_days.GetCount(), 4);
        EXPECT_EQ(data.m_hourly.m_hours.GetCount(), 5);
    }

    CTempFolder m_temp;
    std::unique_ptr<CWeatherData> m_pData;
};

TEST(HostileFiles, EveryLoaderRefusesTheWorstDocuments)
{
    std::vector<std::pair<std::string, std::string>> rests;
    for (const char* name : {"hide_processing_instruction.xml", "hide_reference_in_text.xml",
                             "hide_lt_digit_quote.xml", "hide_lead_byte_swallows_quote.xml"}) {
        std::string rest = ReadFixture(std::string("store/fixtures/hostile/") + name);
        for (int i = 0; i < 50000; ++i)
            rest += "<a>";
        rests.emplace_back(name, rest);
    }
    std::string hidden;
    for (int i = 0; i < 50000; ++i)
        hidden += ReadFixture("store/fixtures/hostile/nest_reference_hides_end_tag.xml");
    rests.emplace_back("end tags hidden in references", hidden);
    rests.emplace_back("40,000 attributes", "<a" + Attributes(0, 40000) + "/>");
    for (int nByte = 0xC2; nByte <= 0xF4; ++nByte)
        rests.emplace_back("ends on a lead byte", std::string(1, static_cast<char>(nByte)));

    Loaders loaders;
    for (const auto& [name, rest] : rests) {
        SCOPED_TRACE(name);
        for (const DataFile& file : kDataFiles)
            loaders.m_temp.Write(file.name, std::string("\xEF\xBB\xBF") + file.start + rest);
        loaders.ExpectAllRefused();
    }
}

// A named pipe at a data path. Opening it for reading would wait for a
// writer; should anything do so, a writer comes, so that the test ends, and
// the test fails.
class CPipeAt
{
public:
    explicit CPipeAt(const std::string& path) : m_path(path)
    {
        std::filesystem::remove(path);
        EXPECT_EQ(mkfifo(path.c_str(), 0644), 0);
        m_writer = std::thread([this] {
            while (!m_bStop) {
                int fd = open(m_path.c_str(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    m_bOpened = true;
                    close(fd);
                }
                usleep(1000);
            }
        });
    }
    ~CPipeAt()
    {
        m_bStop = true;
        m_writer.join();
        EXPECT_FALSE(m_bOpened) << m_path << " was opened";
    }

private:
    std::string m_path;
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bOpened{false};
    std::thread m_writer;
};

TEST(HostileFiles, OnlyRegularFilesAreRead)
{
    Loaders loaders;
    CTempFolder& temp = loaders.m_temp;
    temp.Write("log.txt", "");
    {
        std::vector<std::unique_ptr<CPipeAt>> pipes;
        for (const DataFile& file : kDataFiles)
            pipes.push_back(std::make_unique<CPipeAt>(temp.Path(file.name)));
        pipes.push_back(std::make_unique<CPipeAt>(temp.Path("log.txt")));
        CWeatherData started;
        EXPECT_EQ(started.m_stations.GetCount(), 0);
        EXPECT_FALSE(loaders.m_pData->HasDailyFile(L"USNY0996"));
        EXPECT_FALSE(loaders.m_pData->HasHourlyFile(L"USNY0996"));
        loaders.ExpectAllRefused();
        CLogFile log(L"log.txt");
        EXPECT_FALSE(log.IsOn());
    }
    // A device or a folder is no data file either.
    for (const DataFile& file : kDataFiles) {
        std::filesystem::remove(temp.Path(file.name));
        std::filesystem::create_symlink("/dev/null", temp.Path(file.name));
    }
    loaders.ExpectAllRefused();
    for (const DataFile& file : kDataFiles) {
        std::filesystem::remove(temp.Path(file.name));
        std::filesystem::create_directory(temp.Path(file.name));
    }
    loaders.ExpectAllRefused();
    EXPECT_FALSE(loaders.m_pData->HasDailyFile(L"USNY0996"));
}

} // namespace
