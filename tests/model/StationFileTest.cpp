#include "model/WeatherData.h"
#include "store/XmlFile.h"

#include "../TempFolder.h"

#include <gtest/gtest.h>

#include <tinyxml.h>

#include <csignal>
#include <sys/resource.h>

namespace {

using List = std::vector<std::pair<std::wstring, std::wstring>>;

List Stations(const CPointerArray<CStation>& list)
{
    List out;
    for (int i = 0; i < list.GetCount(); ++i)
        out.emplace_back(list.GetAt(i)->m_strID, list.GetAt(i)->m_strName);
    return out;
}

void AddStation(CWeatherData& data, const std::wstring& strID, const std::wstring& strName)
{
    CStation* pStation = new CStation;
    pStation->m_strID = strID;
    pStation->m_strName = strName;
    data.m_stations.Add(pStation);
}

TEST(WeatherData, FindsItsFolderReadsStationsAndCreatesTheForecastsFolder)
{
    CTempFolder temp;
    temp.Write("stations.dat", "<stations><station id=\"USNY0996\">New York</station></stations>");
    temp.Write("search_stations.dat", "<search><loc id=\"X\">left from the last run</loc></search>");

    CWeatherData data;
    EXPECT_EQ(data.m_strFolder, CCodePage::Decode(temp.m_path));
    EXPECT_EQ(data.m_strSearchFile, temp.WidePath("search_stations.dat"));
    EXPECT_EQ(data.m_settings.m_strPath, temp.WidePath("settings.dat"));
    EXPECT_TRUE(std::filesystem::is_directory(temp.Path("forecasts")));
    EXPECT_EQ(Stations(data.m_stations), (List{{L"USNY0996", L"New York"}}));
    // The last search answer is not read at start, and nothing else is written.
    EXPECT_EQ(data.m_searchResults.GetCount(), 0);
    EXPECT_FALSE(temp.Exists("settings.dat"));
    EXPECT_TRUE(data.m_chosenStation.m_strID.empty());
    EXPECT_TRUE(data.m_daily.IsEmpty());
    EXPECT_TRUE(data.m_hourly.IsEmpty());
}

TEST(WeatherData, KeepsAnExistingForecastsFolderAsItIs)
{
    CTempFolder temp;
    std::filesystem::create_directory(temp.Path("forecasts"));
    temp.Write("forecasts/USNY0996_d.dat", "kept");
    CWeatherData data;
    EXPECT_EQ(temp.Read("forecasts/USNY0996_d.dat"), "kept");
}

TEST(Stations, SaveAndLoadKeepOrderNamesAndDuplicates)
{
    CTempFolder temp;
    CWeatherData data;
    AddStation(data, L"USNY0996", L"New York, NY");
    AddStation(data, L"FRXX0076", L"");
    AddStation(data, L"JAXX0085", L"\u6771\u4eac <&> \"quoted\"");
    AddStation(data, L"USNY0996", L"Twice");
    AddStation(data, L"XXXX0001", std::wstring(L"bad \xD800 half"));
    data.SaveStations();

    auto expected = Stations(data.m_stations);
    // A wide character that has no 8-bit form comes back as the substitute.
    expected.back().second = L"bad \uFFFD half";
    CWeatherData reloaded;
    EXPECT_EQ(Stations(reloaded.m_stations), expected);

    // An empty list is a root without children, and loads as empty.
    reloaded.m_stations.RemoveAll();
    reloaded.SaveStations();
    TiXmlDocument doc;
    ASSERT_TRUE(CXmlFile::Load(doc, temp.WidePath("stations.dat")));
    ASSERT_NE(doc.RootElement(), nullptr);
    EXPECT_STREQ(doc.RootElement()->Value(), "stations");
    EXPECT_EQ(doc.RootElement()->FirstChild(), nullptr);
    data.LoadStations();
    EXPECT_EQ(data.m_stations.GetCount(), 0);
}

TEST(Stations, LoadTakesStationChildrenOfAnyRoot)
{
    CTempFolder temp;
    temp.Write("stations.dat", ReadFixture("store/fixtures/stations_other_root.dat"));
    CWeatherData data;
    EXPECT_EQ(Stations(data.m_stations), (List{
        {L"USNY0996", L"New York, NY"}, {L"FRXX0076", L""}, {L"", L"No ID"}, {L"USNY0996", L"Same ID again"}}));
}

TEST(Stations, UnreadableFileGivesAnEmptyList)
{
    const std::string deep = std::string("<stations>") + [] {
        std::string s;
        for (int i = 0; i < CXmlFile::MAX_DEPTH; ++i)
            s += "<a>";
        for (int i = 0; i < CXmlFile::MAX_DEPTH; ++i)
            s += "</a>";
        return s;
    }() + "<station id=\"USNY0996\">x</station></stations>";
    std::string large = "<stations><station id=\"USNY0996\">x</station>";
    large += "<!--" + std::string(CXmlFile::MAX_BYTES, ' ') + "--></stations>";

    struct Case { const char* name; const std::string* content; };
    const std::string notXml = "<stations><station id=\"USNY0996\">x</stations>";
    const std::string empty;
    const Case cases[] = {
        {"missing", nullptr}, {"not well-formed", &notXml}, {"empty", &empty},
        {"nested too deep", &deep}, {"over 4 MiB", &large},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTempFolder temp;
        if (c.content)
            temp.Write("stations.dat", *c.content);
        CWeatherData data;
        AddStation(data, L"OLD", L"replaced by the load");
        data.LoadStations();
        EXPECT_EQ(data.m_stations.GetCount(), 0);
    }
}

TEST(Stations, FindStationMatchesExactlyAndTakesTheFirst)
{
    CTempFolder temp;
    CWeatherData data;
    AddStation(data, L"USNY0996", L"first");
    AddStation(data, L"USNY0996", L"second");
    ASSERT_NE(data.FindStation(L"USNY0996"), nullptr);
    EXPECT_EQ(data.FindStation(L"USNY0996"), data.m_stations.GetAt(0));
    EXPECT_EQ(data.FindStation(L"usny0996"), nullptr);
    EXPECT_EQ(data.FindStation(L"USNY099"), nullptr);
    EXPECT_EQ(data.FindStation(L""), nullptr);
}

TEST(Stations, DeleteRemovesTheStationAndItsForecastFiles)
{
    CTempFolder temp;
    CWeatherData data;
    AddStation(data, L"USNY0996", L"a");
    AddStation(data, L"FRXX0076", L"b");
    temp.Write("forecasts/USNY0996_d.dat", "d");
    temp.Write("forecasts/USNY0996_h.dat", "h");
    temp.Write("forecasts/FRXX0076_d.dat", "d");

    data.DeleteStation(-1);
    data.DeleteStation(2);
    EXPECT_EQ(data.m_stations.GetCount(), 2);

    data.DeleteStation(0);
    EXPECT_EQ(Stations(data.m_stations), (List{{L"FRXX0076", L"b"}}));
    EXPECT_FALSE(temp.Exists("forecasts/USNY0996_d.dat"));
    EXPECT_FALSE(temp.Exists("forecasts/USNY0996_h.dat"));
    EXPECT_TRUE(temp.Exists("forecasts/FRXX0076_d.dat"));

    // A missing hourly file does not stop the delete; the list is not saved.
    data.DeleteStation(0);
    EXPECT_EQ(data.m_stations.GetCount(), 0);
    EXPECT_FALSE(temp.Exists("forecasts/FRXX0076_d.dat"));
    EXPECT_FALSE(temp.Exists("stations.dat"));
}

TEST(Stations, DeleteNeverFollowsAnUnsafeIDOutOfTheForecastsFolder)
{
    CTempFolder temp;
    CWeatherData data;
    // Each of these IDs, put into the file name, would reach a file outside
    // the forecasts folder or one that is not its own.
    temp.Write("victim_d.dat", "keep");
    temp.Write("forecasts/.._d.dat", "keep");
    AddStation(data, L"../victim", L"");
    AddStation(data, L"..", L"");
    data.DeleteStation(0);
    data.DeleteStation(0);
    EXPECT_EQ(data.m_stations.GetCount(), 0);
    EXPECT_EQ(temp.Read("victim_d.dat"), "keep");
    EXPECT_EQ(temp.Read("forecasts/.._d.dat"), "keep");
}

// Limits the size of files this process may write, as a full disk would.
class CFullDisk
{
public:
    explicit CFullDisk(rlim_t nBytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = nBytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~CFullDisk() { setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    rlimit m_old;
};

TEST(Stations, FailedSaveLeavesTheOldFileWhole)
{
    CTempFolder temp;
    CWeatherData data;
    AddStation(data, L"USNY0996", L"New York, NY");
    data.SaveStations();
    const std::string before = temp.Read("stations.dat");
    ASSERT_FALSE(before.empty());

    for (int i = 0; i < 50; ++i)
        AddStation(data, L"FRXX0076", L"Paris, France");
    {
        CFullDisk full(16);
        data.SaveStations();
    }
    EXPECT_EQ(temp.Read("stations.dat"), before);
    // No half-written temporary file is left beside it.
    int nFiles = 0;
    for (const auto& entry : std::filesystem::directory_iterator(temp.m_path))
        nFiles += entry.is_regular_file();
    EXPECT_EQ(nFiles, 1);

    data.SaveStations();
    data.LoadStations();
    EXPECT_EQ(data.m_stations.GetCount(), 51);
}

} // namespace
