// Station IDs of live places: their shape, their collisions, and their file.

#include "FeedCheck.h"

#include "service/places/StationIdTable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <thread>

namespace {

CPlace Live(int64_t nSourceID, const char* pszCity, const char* pszCountryCode, double dLatitude = 10.0)
{
    CPlace place;
    place.m_nSourceID = nSourceID;
    place.m_strCity = pszCity;
    place.m_strCountryCode = pszCountryCode;
    place.m_strName = std::string(pszCity) + ", Somewhere";
    place.m_dLatitude = dLatitude;
    place.m_dLongitude = 20.0;
    place.m_clock.m_strZone = "Europe/Berlin";
    return place;
}

TEST(StationIdTable, IDsAreCountryNameAndTheSourcesNumber)
{
    const CStationIdTable table;
    struct Case { CPlace place; const char* id; };
    const Case cases[] = {
        {Live(2147714, "Sydney", "AU"), "AUSY7714"},
        {Live(2657896, "Zürich", "ch"), "CHZU7896"},
        {Live(1850147, "東京", "JP"), "JPDO0147"},     // spelt in Latin letters first
        {Live(3, "'s-Hertogenbosch", "NL"), "NLSH0003"},
        {Live(12345, "123", ""), "XXXX2345"},
        {Live(99, "A", "U1"), "XXAX0099"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.place.m_strCity);
        const std::string id = table.BaseID(c.place);
        EXPECT_EQ(id, c.id);
        EXPECT_TRUE(IsStationID(id));
    }
}

TEST(StationIdTable, TakenIDsGoToTheNextNumberAndAPlaceKeepsItsID)
{
    CTempFolder folder;
    CStationIdTable table;
    std::string strError;
    ASSERT_TRUE(table.Load(folder.Path("station-ids.json"), strError)) << strError;
    table.m_reserved.insert("AUSY7714");   // a demo place's
    std::vector<CPlace> places = {Live(2147714, "Sydney", "AU"), Live(10007714, "Sydenham", "AU"),
                                  Live(2147714, "Sydney", "AU")};
    ASSERT_TRUE(table.Assign(places, strError)) << strError;
    EXPECT_EQ(places[0].m_strID, "AUSY7715");
    EXPECT_EQ(places[1].m_strID, "AUSY7716");
    EXPECT_EQ(places[2].m_strID, "AUSY7715");

    // Asked again in another order, each keeps its ID.
    std::vector<CPlace> again = {Live(10007714, "Sydenham", "AU"), Live(2147714, "Sydney", "AU")};
    ASSERT_TRUE(table.Assign(again, strError));
    EXPECT_EQ(again[0].m_strID, "AUSY7716");
    EXPECT_EQ(again[1].m_strID, "AUSY7715");

    CPlace found;
    ASSERT_TRUE(table.Find("ausy7716", found));
    EXPECT_EQ(found.m_strCity, "Sydenham");
    EXPECT_FALSE(table.Find("AUSY7714", found));
}

TEST(StationIdTable, TheTableOutlivesTheProcessAndTakesNewPositions)
{
    CTempFolder folder;
    const std::string strPath = folder.Path("data/station-ids.json");
    std::string strError;
    {
        CStationIdTable table;
        ASSERT_TRUE(table.Load(strPath, strError));
        std::vector<CPlace> places = {Live(2950159, "Berlin \"Mitte\" <&>", "DE"), Live(5083330, "Berlin", "US")};
        ASSERT_TRUE(table.Assign(places, strError)) << strError;
        EXPECT_EQ(places[0].m_strID, "DEBE0159");
    }
    // Written whole, and nothing left beside it.
    size_t nFiles = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path("data"))) {
        EXPECT_EQ(entry.path().filename(), "station-ids.json");
        ++nFiles;
    }
    EXPECT_EQ(nFiles, 1u);

    CStationIdTable later;
    ASSERT_TRUE(later.Load(strPath, strError)) << strError;
    EXPECT_EQ(later.Size(), 2u);
    CPlace found;
    ASSERT_TRUE(later.Find("DEBE0159", found));
    EXPECT_EQ(found.m_strCity, "Berlin \"Mitte\" <&>");
    EXPECT_EQ(found.m_clock.m_strZone, "Europe/Berlin");
    EXPECT_EQ(found.m_nSourceID, 2950159);

    // A finer position from the source is kept under the same ID.
    std::vector<CPlace> moved = {Live(2950159, "Berlin", "DE", 52.52)};
    ASSERT_TRUE(later.Assign(moved, strError));
    EXPECT_EQ(moved[0].m_strID, "DEBE0159");
    CStationIdTable third;
    ASSERT_TRUE(third.Load(strPath, strError));
    ASSERT_TRUE(third.Find("DEBE0159", found));
    EXPECT_DOUBLE_EQ(found.m_dLatitude, 52.52);
}

TEST(StationIdTable, AFileThatCannotBeReadIsNeitherUsedNorOverwritten)
{
    CTempFolder folder;
    for (const char* pszText : {"{\"stations\": [", "[]", "{\"stations\": 5}", "\x89PNG"}) {
        SCOPED_TRACE(pszText);
        folder.Write("station-ids.json", pszText);
        CStationIdTable table;
        std::string strError;
        EXPECT_FALSE(table.Load(folder.Path("station-ids.json"), strError));
        EXPECT_NE(strError.find("station-ids.json"), std::string::npos);
        EXPECT_EQ(folder.Read("station-ids.json"), pszText);
    }
    // Entries that make no sense are passed over; the others serve.
    folder.Write("station-ids.json", "{\"stations\": [{\"id\": \"../../x\", \"source_id\": 1, \"latitude\": 1, "
                                     "\"longitude\": 1}, {\"id\": \"FRPA1234\", \"source_id\": 2988507, \"latitude\": "
                                     "48.85, \"longitude\": 2.35, \"name\": \"Paris, France\"}, 7]}");
    CStationIdTable table;
    std::string strError;
    ASSERT_TRUE(table.Load(folder.Path("station-ids.json"), strError));
    EXPECT_EQ(table.Size(), 1u);
}

TEST(StationIdTable, AFailedSaveGivesNoNewID)
{
    CTempFolder folder;
    folder.Write("file", "not a folder");
    CStationIdTable table;
    std::string strError;
    ASSERT_TRUE(table.Load(folder.Path("file/station-ids.json"), strError));
    std::vector<CPlace> places = {Live(2147714, "Sydney", "AU")};
    EXPECT_FALSE(table.Assign(places, strError));
    EXPECT_FALSE(strError.empty());
    EXPECT_EQ(places[0].m_strID, "");
    EXPECT_EQ(table.Size(), 0u);
}

TEST(StationIdTable, ServicesSharingAFolderGiveEachPlaceOneIDForEver)
{
    CTempFolder folder;
    const std::string strPath = folder.Path("data/station-ids.json");
    std::string strError;
    CStationIdTable first;
    CStationIdTable second;
    ASSERT_TRUE(first.Load(strPath, strError));
    ASSERT_TRUE(second.Load(strPath, strError));

    // Both give out IDs at once, for places of the same letters and numbers
    // and for some of the same places.
    std::map<int64_t, std::string> given[2];
    std::thread writers[2];
    for (int w = 0; w < 2; ++w) {
        writers[w] = std::thread([&, w] {
            CStationIdTable& table = w == 0 ? first : second;
            for (int i = 0; i < 40; ++i) {
                std::vector<CPlace> places = {Live(10000 * (i + 1) + 7714, "Sydney", "AU"),
                                              Live(10000 * (i + 1) + 7714 + (w + 1) * 1000000, "Sydney", "AU")};
                std::string strWhy;
                ASSERT_TRUE(table.Assign(places, strWhy)) << strWhy;
                for (const CPlace& place : places)
                    given[w][place.m_nSourceID] = place.m_strID;
            }
        });
    }
    for (std::thread& writer : writers)
        writer.join();

    CStationIdTable later;
    ASSERT_TRUE(later.Load(strPath, strError));
    EXPECT_EQ(later.Size(), 120u);
    for (const auto& table : given) {
        for (const auto& entry : table) {
            CPlace found;
            ASSERT_TRUE(later.Find(entry.second, found)) << entry.second;
            EXPECT_EQ(found.m_nSourceID, entry.first) << entry.second;
        }
    }
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(given[0][10000 * (i + 1) + 7714], given[1][10000 * (i + 1) + 7714]);

    // An ID the other service gave is found here too.
    CPlace found;
    const auto other = *given[1].rbegin();
    EXPECT_TRUE(first.Find(other.second, found));
    EXPECT_EQ(found.m_nSourceID, other.first);
}

} // namespace
