#include "FeedCheck.h"
#include "LoadedPlaces.h"

#include "service/places/TextFolding.h"

#include <cmath>
#include <cstdlib>
#include <set>
#include <atomic>
#include <thread>

namespace {

TEST(Places, AFewHundredPlacesWithUniqueWellFormedIDs)
{
    const CPlaces& places = LoadedPlaces();
    EXPECT_GE(places.m_places.size(), 400u);
    std::set<std::string> ids;
    for (const CPlace& place : places.m_places) {
        SCOPED_TRACE(place.m_clock.m_strZone);
        EXPECT_TRUE(IsStationID(place.m_strID)) << place.m_strID;
        EXPECT_EQ(place.m_strID.substr(0, 2), place.m_strCountryCode);
        EXPECT_TRUE(ids.insert(place.m_strID).second) << place.m_strID;
        EXPECT_EQ(places.Find(place.m_strID), &place);
        EXPECT_LE(std::fabs(place.m_dLatitude), 90.0);
        EXPECT_LE(std::fabs(place.m_dLongitude), 180.0);
        const int nOffset = place.m_clock.OffsetAt(1767225600);   // 2026-01-01
        EXPECT_LE(std::abs(nOffset), 14 * 3600);
    }
}

TEST(Places, IDsStayTheSameForEver)
{
    // Derived from the zone's name alone: a change here breaks every station
    // list that holds one of these IDs.
    struct Case { const char* zone; const char* id; };
    const Case cases[] = {
        {"Europe/Zurich", "CHZU3595"},
        {"America/Sao_Paulo", "BRSA6777"},
        {"America/New_York", "USNE7388"},
        {"Asia/Tokyo", "JPTO1102"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zone);
        EXPECT_EQ(PlaceOfZone(c.zone).m_strID, c.id);
        EXPECT_EQ(CPlaces::BaseID(PlaceOfZone(c.zone).m_strCountryCode, c.zone), c.id);
    }
    EXPECT_EQ(LoadedPlaces().Find("chzu3595"), &PlaceOfZone("Europe/Zurich"));
    EXPECT_EQ(LoadedPlaces().Find("CHZU0000"), nullptr);
}

TEST(Places, NamesCarryTheirAccents)
{
    struct Case { const char* zone; const char* name; };
    const Case cases[] = {
        {"Europe/Zurich", "Zürich, Switzerland"},
        {"America/Sao_Paulo", "São Paulo, Brazil"},
        {"America/Bogota", "Bogotá, Colombia"},
        {"Atlantic/Reykjavik", "Reykjavík, Iceland"},
        {"Europe/Vienna", "Vienna, Austria"},           // not "Wien": the English name differs
        {"Asia/Tokyo", "Tokyo, Japan"},                 // Latin letters where the local script is not
        {"America/Argentina/Rio_Gallegos", "Río Gallegos, Argentina"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlaceOfZone(c.zone).m_strName, c.name) << c.zone;
}

TEST(Places, SearchPutsWholeNamesFirstAndKeepsToTheLimit)
{
    const CPlaces& places = LoadedPlaces();
    // "paris" is a whole name; "Paramaribo" only begins like it.
    const std::vector<const CPlace*> paris = places.Search("PARIS");
    ASSERT_FALSE(paris.empty());
    EXPECT_EQ(paris[0]->m_strCity, "Paris");
    // A country finds its places; an ID finds its station.
    const std::vector<const CPlace*> brazil = places.Search("brazil");
    EXPECT_GE(brazil.size(), 10u);
    for (const CPlace* pPlace : brazil)
        EXPECT_EQ(pPlace->m_strCountryCode, "BR");
    ASSERT_EQ(places.Search("chzu3595").size(), 1u);
    EXPECT_EQ(places.Search("a").size(), CPlaces::MAX_RESULTS);
    EXPECT_TRUE(places.Search(" \t ").empty());
}

TEST(Places, NamesFoldAlikeOnManyThreadsAtOnce)
{
    const CTextFolding folding;
    const std::pair<const char*, const char*> cases[] = {
        {"Z\u00fcrich", "zurich"}, {"  S\u00e3o   Paulo ", "sao paulo"}, {"\u6771\u4eac", "dong jing"}, {"\xff", "\xef\xbf\xbd"},
    };
    std::vector<std::thread> threads;
    std::atomic<int> nWrong {0};
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                for (const auto& c : cases)
                    nWrong += folding.Fold(c.first) != c.second;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(nWrong, 0);
}

} // namespace
