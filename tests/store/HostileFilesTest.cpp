#include "store/WeatherData.h"
#include "store/XmlFile.h"

#include "../TempFolder.h"
#include "PathologicalDocuments.h"

#include <gtest/gtest.h>


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

} // namespace
