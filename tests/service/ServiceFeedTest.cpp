// The service's three requests read back through the program's own loaders.

#include "FeedCheck.h"
#include "ServiceProcess.h"

#include "platform/CodePage.h"
#include "store/ForecastMarkers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

namespace {

const char* const WEEKDAYS[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

class ServiceFeed : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_pService = &CSharedService::Start(); }
    static void TearDownTestSuite()
    {
        // A sanitizer build's service reports what it found through its exit code.
        EXPECT_EQ(CSharedService::Stop(), 0);
        s_pService = nullptr;
    }

    void SetUp() override { ASSERT_GT(s_pService->m_nPort, 0) << "the service did not start"; }

    static std::string Get(const std::string& strTarget, int nStatus = 200)
    {
        httplib::Client client = s_pService->Client();
        const auto res = client.Get(strTarget.c_str());
        if (!res)
            return "(no answer)";
        EXPECT_EQ(res->status, nStatus) << strTarget;
        return res->body;
    }

    static std::string Search(const std::string& strText)
    {
        return Get("/search/search?where=" + PercentEncoded(strText));
    }

    // The station ID of the first search result for the text.
    static std::string StationID(const std::string& strText)
    {
        const SearchResults results = LoadSearch(Search(strText));
        return results.empty() ? std::string() : CCodePage::Encode(results[0].first);
    }

    // The hour of the day on the zone's clock now.
    static int LocalHour(const char* pszZone)
    {
        const time_t now = time(nullptr);
        return static_cast<int>(((now + ZoneOffset(pszZone, now)) / 3600) % 24);
    }

    static CServiceProcess* s_pService;
};

CServiceProcess* ServiceFeed::s_pService = nullptr;

TEST_F(ServiceFeed, DailyFeedIsTenDaysOfTheStationOnItsOwnClock)
{
    const std::string id = StationID("zurich");
    ASSERT_FALSE(id.empty());
    const int nHourBefore = LocalHour("Europe/Zurich");
    const std::string body = Get("/weather/local/" + id + "?dayf=10");
    const int nHourAfter = LocalHour("Europe/Zurich");

    CDailyForecast daily;
    LoadDaily(body, daily);
    EXPECT_EQ(daily.m_strLocation, L"Zürich, Switzerland");
    EXPECT_EQ(daily.m_nZone, ZoneOffset("Europe/Zurich", time(nullptr)) / 3600);
    SYSTEMTIME update {};
    ASSERT_TRUE(daily.m_dtLastUpdate.GetAsSystemTime(update)) << "lsup did not parse";
    EXPECT_TRUE(update.wHour == nHourBefore || update.wHour == nHourAfter);
    EXPECT_EQ(update.wMinute, 0);
    EXPECT_LT(daily.m_dtSunrise.m_dt, daily.m_dtSunset.m_dt);

    ASSERT_EQ(daily.m_days.GetCount(), 10);
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        const CForecastDay* pDay = daily.m_days.GetAt(i);
        EXPECT_EQ(pDay->m_nDay, i);
        // Day i is the station's date i days after the update.
        SYSTEMTIME expected {};
        CDateTime(std::floor(daily.m_dtLastUpdate.m_dt) + i).GetAsSystemTime(expected);
        CDateTime date;
        ASSERT_TRUE(date.ParseDateTime(CCodePage::Decode(pDay->m_pszDate).c_str(), 2, 1033)) << pDay->m_pszDate;
        SYSTEMTIME got {};
        date.GetAsSystemTime(got);
        EXPECT_EQ(got.wMonth, expected.wMonth);
        EXPECT_EQ(got.wDay, expected.wDay);
        EXPECT_STREQ(pDay->m_pszWeekday, WEEKDAYS[expected.wDayOfWeek]);

        EXPECT_LT(pDay->m_dtSunrise.m_dt, pDay->m_dtSunset.m_dt);
        if (pDay->m_dHigh != NA_TEMPERATURE) {
            EXPECT_GE(pDay->m_dHigh, pDay->m_dLow - 3.0);   // the low is the next night's
        }
        EXPECT_GT(pDay->m_dLow, -40.0);
        EXPECT_LT(pDay->m_dLow, 35.0);
        for (const CDayPart& part : pDay->m_parts) {
            if (part.m_nPrecip == NA_VALUE) {
                EXPECT_EQ(i, 0) << "only today's day part can be over";
                EXPECT_EQ(part.m_nIcon, 44);
                EXPECT_EQ(part.m_wind.m_nSpeed, NA_VALUE);
                continue;
            }
            EXPECT_GE(part.m_nPrecip, 0);
            EXPECT_LE(part.m_nPrecip, 100);
            EXPECT_GE(part.m_nIcon, 0);
            EXPECT_LE(part.m_nIcon, 47);
            EXPECT_GE(part.m_wind.m_nSpeed, 0);
            EXPECT_NE(part.m_wind.m_pszDirection, nullptr);
        }
        EXPECT_FALSE(IsNightPicture(pDay->m_parts[0].m_nIcon)) << pDay->m_parts[0].m_nIcon;
        EXPECT_FALSE(IsDayPicture(pDay->m_parts[1].m_nIcon)) << pDay->m_parts[1].m_nIcon;
    }
}

TEST_F(ServiceFeed, HourlyFeedIsSeventyTwoHoursOnTheStationsClock)
{
    const std::string id = StationID("new york");
    ASSERT_FALSE(id.empty());
    CHourlyForecast hourly;
    LoadHourly(Get("/weather/local/" + id + "?hbhf=72"), hourly);
    EXPECT_EQ(hourly.m_strLocation, L"New York, United States");
    EXPECT_EQ(hourly.m_nZone, ZoneOffset("America/New_York", time(nullptr)) / 3600);
    SYSTEMTIME update {};
    ASSERT_TRUE(hourly.m_dtLastUpdate.GetAsSystemTime(update));

    ASSERT_EQ(hourly.m_hours.GetCount(), 72);
    const double dSunrise = hourly.m_dtSunrise.m_dt * 24.0;
    const double dSunset = hourly.m_dtSunset.m_dt * 24.0;
    ASSERT_LT(dSunrise, dSunset);
    int nClockJumps = 0;
    for (int i = 0; i < 72; ++i) {
        SCOPED_TRACE(i);
        const CForecastHour* pHour = hourly.m_hours.GetAt(i);
        EXPECT_EQ(pHour->m_nHour, i + 1);
        // Hour 1 is the one after the update; then one clock hour each,
        // except where daylight saving skips or repeats one.
        const int nPrevious = i == 0 ? update.wHour : hourly.m_hours.GetAt(i - 1)->m_nClock;
        if (pHour->m_nClock != (nPrevious + 1) % 24)
            ++nClockJumps;
        EXPECT_GT(pHour->m_dTemp, -45.0);
        EXPECT_LT(pHour->m_dTemp, 45.0);
        EXPECT_EQ(pHour->m_nPrecip % 10, 0);
        EXPECT_GE(pHour->m_wind.m_nSpeed, 0);
        EXPECT_GE(pHour->m_wind.m_nDirection, 0);
        EXPECT_LT(pHour->m_wind.m_nDirection, 360);
        // Well inside the day no night picture, well inside the night no day picture.
        const double dClock = pHour->m_nClock;
        if (dClock > dSunrise + 1.0 && dClock < dSunset - 1.0) {
            EXPECT_FALSE(IsNightPicture(pHour->m_nIcon)) << pHour->m_nClock << " " << pHour->m_nIcon;
        }
        if (dClock < dSunrise - 1.0 || dClock > dSunset + 1.0) {
            EXPECT_FALSE(IsDayPicture(pHour->m_nIcon)) << pHour->m_nClock << " " << pHour->m_nIcon;
        }
    }
    EXPECT_LE(nClockJumps, 1);
}

TEST_F(ServiceFeed, SameStationAndHourGiveTheSameAnswer)
{
    const std::string id = StationID("sydney");
    for (const char* pszQuery : {"?dayf=10", "?hbhf=72"}) {
        SCOPED_TRACE(pszQuery);
        std::string first;
        std::string second;
        // Should the hour turn between the two, the pair after it is in one hour.
        for (int nTry = 0; nTry < 2; ++nTry) {
            first = Get("/weather/local/" + id + pszQuery);
            second = Get("/weather/local/" + id + pszQuery);
            if (first.substr(first.find("<lsup>"), 40) == second.substr(second.find("<lsup>"), 40))
                break;
        }
        EXPECT_EQ(WithoutClock(first), WithoutClock(second));
    }
}

TEST_F(ServiceFeed, QueryNumbersAreReadLeniently)
{
    const std::string id = StationID("tokyo");
    struct Case { std::string query; int nDays; int nHours; };
    const Case cases[] = {
        {"?dayf=10%20", 10, 0},   // the program's template ends with a space
        {"?dayf=3", 3, 0},
        {"?dayf=99", 10, 0},
        {"?hbhf=72%20", 0, 72},
        {"?hbhf=0", 0, 1},
        {"?hbhf=500", 0, 72},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query);
        const std::string body = Get("/weather/local/" + id + c.query);
        CDailyForecast daily;
        LoadDaily(body, daily);
        EXPECT_EQ(daily.m_days.GetCount(), c.nDays);
        CHourlyForecast hourly;
        LoadHourly(body, hourly);
        EXPECT_EQ(hourly.m_hours.GetCount(), c.nHours);
        EXPECT_EQ(hourly.m_strLocation, L"Tokyo, Japan");
    }

    // The template's space sent as it is: the request line then has two.
    const CRawAnswer raw = CRawAnswer::Get(s_pService->m_nPort, "/weather/local/" + id + "?hbhf=72 ");
    EXPECT_EQ(raw.Status(), 200);
    CHourlyForecast hourly;
    LoadHourly(raw.Body(), hourly);
    EXPECT_EQ(hourly.m_hours.GetCount(), 72);

    // Without a section key: the location block alone.
    CDailyForecast daily;
    LoadDaily(Get("/weather/local/" + id), daily);
    EXPECT_EQ(daily.m_strLocation, L"Tokyo, Japan");
    EXPECT_TRUE(daily.IsEmpty());
}

TEST_F(ServiceFeed, SearchIgnoresLetterCaseAndAccents)
{
    struct Case { const char* text; const wchar_t* first; };
    const Case cases[] = {
        {"zurich", L"Zürich, Switzerland"},
        {"ZÜRICH", L"Zürich, Switzerland"},
        {"Zürich", L"Zürich, Switzerland"},
        {"SAO PAULO", L"São Paulo, Brazil"},
        {"são paulo", L"São Paulo, Brazil"},
        {"  reykjavik ", L"Reykjavík, Iceland"},
        {"longyearbyen", L"Longyearbyen, Svalbard & Jan Mayen"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const SearchResults results = LoadSearch(Search(c.text));
        ASSERT_FALSE(results.empty());
        EXPECT_EQ(results[0].second, c.first);
    }
}

TEST_F(ServiceFeed, SearchWithoutMatchIsAnEmptyWellFormedAnswer)
{
    for (const char* pszText : {"", "   ", "qqxxzz", "<&>"}) {
        SCOPED_TRACE(pszText);
        const std::string body = Search(pszText);
        EXPECT_NE(body.find("<search"), std::string::npos);
        EXPECT_TRUE(LoadSearch(body).empty());
    }
    // The query key missing altogether.
    EXPECT_TRUE(LoadSearch(Get("/search/search")).empty());
}

TEST_F(ServiceFeed, SearchResultsAreStationsTheServiceServes)
{
    const SearchResults results = LoadSearch(Search("an"));
    ASSERT_GE(results.size(), 10u);
    EXPECT_LE(results.size(), 30u);
    std::set<std::wstring> ids;
    for (const auto& result : results) {
        const std::string id = CCodePage::Encode(result.first);
        EXPECT_TRUE(IsStationID(id)) << id;
        EXPECT_TRUE(ids.insert(result.first).second) << id;
    }
    for (size_t i = 0; i < 3; ++i) {
        CDailyForecast daily;
        LoadDaily(Get("/weather/local/" + CCodePage::Encode(results[i].first) + "?dayf=10"), daily);
        EXPECT_EQ(daily.m_strLocation, results[i].second);
    }
}

TEST_F(ServiceFeed, UnknownStationIsNotFoundWithAnErrorDocument)
{
    for (const char* pszID : {"XXXX0000", "CHZU", "..%2F..%2Fetc", ""}) {
        SCOPED_TRACE(pszID);
        const std::string body = Get(std::string("/weather/local/") + pszID + "?dayf=10", 404);
        EXPECT_NE(body.find("<error>"), std::string::npos);
        EXPECT_NE(body.find("Invalid location provided."), std::string::npos);
    }
}

TEST_F(ServiceFeed, HomePageNamesTheServiceAndShowsPlacesToTry)
{
    httplib::Client client = s_pService->Client();
    const auto res = client.Get("/");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(res->get_header_value("Content-Type").rfind("text/html", 0), 0u);
    EXPECT_NE(res->body.find("<title>Cirrovan</title>"), std::string::npos);
    EXPECT_NE(res->body.find("synthetic"), std::string::npos);
    const size_t link = res->body.find("href=\"/weather/local/") + 6;
    ASSERT_NE(link, std::string::npos + 6);
    const std::string target = res->body.substr(link, res->body.find('"', link) - link);
    EXPECT_TRUE(IsStationID(target.substr(15, 8))) << target;
    CDailyForecast daily;
    LoadDaily(Get(target), daily);
    EXPECT_EQ(daily.m_days.GetCount(), 10);
}

TEST_F(ServiceFeed, ServesManyClientsAtOnce)
{
    const std::string id = StationID("nairobi");
    std::atomic<int> nGood {0};
    std::vector<std::thread> clients;
    for (int c = 0; c < 16; ++c) {
        clients.emplace_back([&, c] {
            httplib::Client client = s_pService->Client();
            client.set_keep_alive(true);
            for (int i = 0; i < 10; ++i) {
                const auto res = client.Get(("/weather/local/" + id + ((c + i) % 2 ? "?dayf=10" : "?hbhf=72")).c_str());
                if (res && res->status == 200 && res->body.find("</weather>") != std::string::npos)
                    ++nGood;
            }
        });
    }
    for (std::thread& t : clients)
        t.join();
    EXPECT_EQ(nGood, 160);
}

} // namespace
