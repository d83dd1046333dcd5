// The service on its live source, end to end: the real executable asks a
// stand-in for Open-Meteo on loopback, and the program's store builds the
// requests and reads the answers back.

#include "FeedCheck.h"
#include "LoadedPlaces.h"
#include "OpenMeteoStandIn.h"
#include "RawConnection.h"
#include "ServiceProcess.h"

#include "model/WeatherData.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

// The service on the stand-in, keeping its station IDs in the folder.
std::vector<std::string> LiveArguments(const COpenMeteoStandIn& standIn, const std::string& strDataFolder)
{
    return {"--source", "open-meteo", "--forecast-url", standIn.ForecastURL(), "--geocoding-url",
            standIn.GeocodingURL(), "--data-dir", strDataFolder};
}

// Sets an environment variable for the life of the object.
class CScopedEnvironment
{
public:
    CScopedEnvironment(const char* pszName, const std::string& strValue) : m_pszName(pszName)
    {
        const char* pszOld = std::getenv(pszName);
        m_bHad = pszOld != nullptr;
        m_strOld = pszOld ? pszOld : "";
        setenv(pszName, strValue.c_str(), 1);
    }
    ~CScopedEnvironment()
    {
        if (m_bHad)
            setenv(m_pszName, m_strOld.c_str(), 1);
        else
            unsetenv(m_pszName);
    }

private:
    const char* m_pszName;
    bool m_bHad = false;
    std::string m_strOld;
};

// The program with its data in a folder of its own, its service the one given.
class CProgram
{
public:
    explicit CProgram(int nPort)
        : m_nPort(nPort),
          m_searchHost("CIRROVAN_SEARCH_HOST", "127.0.0.1:" + std::to_string(nPort)),
          m_feedHost("CIRROVAN_FEED_HOST", "127.0.0.1:" + std::to_string(nPort))
    {
    }

    // One download as the program makes it: the request built by the store,
    // the answer kept only when it came whole with status 200. The status.
    int Download(int nKind, const std::wstring& strArgument)
    {
        std::wstring strURL;
        std::wstring strTarget;
        m_data.BuildRequest(nKind, strArgument, strURL, strTarget);
        // As the HTTP layer sends it: the ends trimmed, spaces encoded.
        std::string strPath = CCodePage::Encode(strURL);
        strPath = strPath.substr(strPath.find('/', 7));
        strPath.erase(strPath.find_last_not_of(' ') + 1);
        std::string strSent;
        for (char c : strPath)
            strSent += c == ' ' ? std::string("%20") : std::string(1, c);
        const CRawAnswer answer = CRawAnswer::Get(m_nPort, strSent);
        if (answer.Status() == 200)
            m_folder.Write(CCodePage::Encode(strTarget).substr(m_folder.m_path.size() + 1), answer.Body());
        m_strLastBody = answer.Body();
        return answer.Status();
    }

    std::string DailyFile(const std::wstring& strID) const
    {
        return m_folder.Read(CCodePage::Encode(m_data.DailyFile(strID)).substr(m_folder.m_path.size() + 1));
    }

    CTempFolder m_folder;   // before the data: it is the executable's folder
    CWeatherData m_data;
    int m_nPort = 0;
    std::string m_strLastBody;

private:
    CScopedEnvironment m_searchHost;
    CScopedEnvironment m_feedHost;
};

TEST(ServiceLive, SearchPickAndUpdateAskTheSourceOncePerInterval)
{
    COpenMeteoStandIn standIn;
    CTempFolder data;
    CServiceProcess service(LiveArguments(standIn, data.Path("service")));
    ASSERT_GT(service.m_nPort, 0);
    EXPECT_EQ(service.ReadLine(), "source: open-meteo (live)");
    EXPECT_EQ(service.ReadLine(), "name: Open-Meteo");

    CProgram program(service.m_nPort);
    ASSERT_EQ(program.Download(DOWNLOAD_SEARCH, L"sydney"), 200);
    program.m_data.LoadSearchResults();
    ASSERT_EQ(program.m_data.m_searchResults.GetCount(), 4);
    const CStation& picked = *program.m_data.m_searchResults.GetAt(0);
    EXPECT_EQ(picked.m_strName, L"Sydney, New South Wales, Australia");
    EXPECT_TRUE(IsStationID(CCodePage::Encode(picked.m_strID)));
    EXPECT_EQ(standIn.LastParam("name"), "sydney");
    EXPECT_EQ(standIn.LastParam("language"), "en");

    for (int nUpdate = 0; nUpdate < 2; ++nUpdate) {
        SCOPED_TRACE(nUpdate);
        ASSERT_EQ(program.Download(DOWNLOAD_DAILY, picked.m_strID), 200);
        ASSERT_EQ(program.Download(DOWNLOAD_HOURLY, picked.m_strID), 200);
        program.m_data.LoadDailyForecast(picked.m_strID);
        program.m_data.LoadHourlyForecast(picked.m_strID);
        EXPECT_EQ(program.m_data.m_daily.m_strLocation, L"Sydney, New South Wales, Australia");
        EXPECT_EQ(program.m_data.m_daily.m_nZone, ZoneOffset("Australia/Sydney", time(nullptr)) / 3600);
        EXPECT_GE(program.m_data.m_daily.m_days.GetCount(), 1);
        EXPECT_GE(program.m_data.m_hourly.m_hours.GetCount(), 1);
        EXPECT_EQ(program.m_data.m_hourly.m_strLocation, L"Sydney, New South Wales, Australia");
    }
    // Two updates of both kinds, one request; the search asked once too.
    EXPECT_EQ(standIn.m_nForecasts, 1);
    EXPECT_EQ(standIn.m_nSearches, 1);

    // What the source was asked, and by whom.
    EXPECT_EQ(standIn.LastParam("temperature_unit"), "fahrenheit");
    EXPECT_EQ(standIn.LastParam("wind_speed_unit"), "mph");
    EXPECT_EQ(standIn.LastParam("timezone"), "Australia/Sydney");
    EXPECT_EQ(standIn.LastParam("forecast_days"), "11");
    EXPECT_EQ(standIn.LastParam("latitude").substr(0, 7), "-33.867");
    EXPECT_NE(standIn.LastUserAgent().find("Cirrovan"), std::string::npos) << standIn.LastUserAgent();

    // The home page credits the data's makers, as their licence asks.
    const auto home = service.Client().Get("/");
    ASSERT_TRUE(home);
    EXPECT_NE(home->body.find("<a href=\"https://open-meteo.com/\">Weather data by Open-Meteo.com</a>"),
              std::string::npos);
    EXPECT_EQ(service.Stop(SIGTERM), 0);
}

TEST(ServiceLive, ASourceThatFailsLeavesThePreviousForecastAsItWas)
{
    COpenMeteoStandIn standIn;
    CTempFolder data;
    std::vector<std::string> args = LiveArguments(standIn, data.Path("service"));
    args.insert(args.end(), {"--cache-minutes", "0"});
    CServiceProcess service(args);
    ASSERT_GT(service.m_nPort, 0);
    CProgram program(service.m_nPort);
    ASSERT_EQ(program.Download(DOWNLOAD_SEARCH, L"sydney"), 200);
    program.m_data.LoadSearchResults();
    ASSERT_GT(program.m_data.m_searchResults.GetCount(), 0);
    const std::wstring id = program.m_data.m_searchResults.GetAt(0)->m_strID;
    ASSERT_EQ(program.Download(DOWNLOAD_DAILY, id), 200);
    const std::string strKept = program.DailyFile(id);
    ASSERT_NE(strKept.find("<dayf>"), std::string::npos);

    struct Case { COpenMeteoStandIn::Mode mode; int nStatus; const char* pszWhy; };
    const Case cases[] = {
        {COpenMeteoStandIn::ERROR_STATUS, 502, "Cannot initialize WeatherVariable"},
        {COpenMeteoStandIn::NOT_JSON, 502, "not a JSON object"},
        {COpenMeteoStandIn::NO_HOURS, 502, "no day"},
        {COpenMeteoStandIn::HUGE, 502, "larger than"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhy);
        standIn.SetMode(c.mode);
        EXPECT_EQ(program.Download(DOWNLOAD_DAILY, id), c.nStatus);
        standIn.SetMode(COpenMeteoStandIn::ANSWER);
        EXPECT_NE(program.m_strLastBody.find("<error>"), std::string::npos);
        EXPECT_NE(program.m_strLastBody.find(c.pszWhy), std::string::npos) << program.m_strLastBody;
        EXPECT_EQ(program.DailyFile(id), strKept);
    }

    // Too slow: a service that waits a second for its source (and reads the
    // station IDs the first one kept).
    {
        args.insert(args.end(), {"--source-timeout", "1"});
        CServiceProcess impatient(args);
        ASSERT_GT(impatient.m_nPort, 0);
        standIn.SetMode(COpenMeteoStandIn::SLOW);
        const CRawAnswer answer = CRawAnswer::Get(impatient.m_nPort, "/weather/local/" + CCodePage::Encode(id) + "?dayf=10");
        standIn.SetMode(COpenMeteoStandIn::ANSWER);
        EXPECT_EQ(answer.Status(), 504);
        EXPECT_NE(answer.Body().find("did not answer in time"), std::string::npos) << answer.Body();
        EXPECT_EQ(impatient.Stop(SIGTERM), 0);
    }

    // Gone altogether: the connection is refused.
    standIn.Stop();
    EXPECT_EQ(program.Download(DOWNLOAD_DAILY, id), 502);
    EXPECT_NE(program.m_strLastBody.find("could not be reached"), std::string::npos) << program.m_strLastBody;
    EXPECT_EQ(program.Download(DOWNLOAD_SEARCH, L"sydney"), 502);
    program.m_data.LoadSearchResults();
    EXPECT_GT(program.m_data.m_searchResults.GetCount(), 0);
    EXPECT_EQ(program.DailyFile(id), strKept);
    program.m_data.LoadDailyForecast(id);
    EXPECT_EQ(program.m_data.m_daily.m_strLocation, L"Sydney, New South Wales, Australia");
    EXPECT_EQ(service.Stop(SIGTERM), 0);
}

TEST(ServiceLive, StationIDsOutliveTheServiceAndTheDemosIDsStillServe)
{
    COpenMeteoStandIn standIn;
    CTempFolder data;
    std::string strID;
    {
        CServiceProcess first(LiveArguments(standIn, data.Path("service")));
        ASSERT_GT(first.m_nPort, 0);
        const SearchResults results = LoadSearch(first.Client().Get("/search/search?where=Sydney")->body);
        ASSERT_FALSE(results.empty());
        strID = CCodePage::Encode(results[0].first);
        EXPECT_EQ(first.Stop(SIGTERM), 0);
    }
    EXPECT_TRUE(data.Exists("service/station-ids.json"));

    CServiceProcess second(LiveArguments(standIn, data.Path("service")));
    ASSERT_GT(second.m_nPort, 0);
    CDailyForecast daily;
    const auto res = second.Client().Get(("/weather/local/" + strID + "?dayf=10").c_str());
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    LoadDaily(res->body, daily);
    EXPECT_EQ(daily.m_strLocation, L"Sydney, New South Wales, Australia");

    // A station kept from the demo gets the real weather of its place.
    const CPlace& zurich = PlaceOfZone("Europe/Zurich");
    const auto demo = second.Client().Get(("/weather/local/" + zurich.m_strID + "?hbhf=72").c_str());
    ASSERT_TRUE(demo);
    EXPECT_EQ(demo->status, 200);
    CHourlyForecast hourly;
    LoadHourly(demo->body, hourly);
    EXPECT_EQ(hourly.m_strLocation, L"Zürich, Switzerland");
    EXPECT_EQ(standIn.LastParam("timezone"), "Europe/Zurich");
    EXPECT_EQ(standIn.LastParam("latitude").substr(0, 5), "47.38");

    const auto unknown = second.Client().Get("/weather/local/ZZZZ0000?dayf=10");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->status, 404);
    EXPECT_NE(unknown->body.find("Invalid location provided."), std::string::npos);
    EXPECT_EQ(second.Stop(SIGTERM), 0);
}

TEST(ServiceLive, AutoTakesOpenMeteoWhenItAnswersAndTheDemoOtherwise)
{
    COpenMeteoStandIn standIn;
    CTempFolder data;
    {
        // The addresses from the environment, as a user may set them.
        CScopedEnvironment forecast("CIRROVAN_OPENMETEO_FORECAST_URL", standIn.ForecastURL());
        CScopedEnvironment geocoding("CIRROVAN_OPENMETEO_GEOCODING_URL", standIn.GeocodingURL());
        CServiceProcess service({"--source", "auto", "--data-dir", data.Path("service")});
        ASSERT_GT(service.m_nPort, 0);
        EXPECT_EQ(service.ReadLine(), "source: open-meteo (live)");
        EXPECT_EQ(service.ReadLine(), "name: Open-Meteo");
        EXPECT_EQ(standIn.m_nForecasts, 1);   // the look at start
        EXPECT_EQ(LoadSearch(service.Client().Get("/search/search?where=sydney")->body).size(), 4u);
    }
    {
        CServiceProcess service({"--source", "auto", "--data-dir", data.Path("service"), "--forecast-url",
                                 "http://127.0.0.1:1/v1/forecast"});
        ASSERT_GT(service.m_nPort, 0);
        const std::string strSource = service.ReadLine();
        EXPECT_EQ(strSource.rfind("source: demo (Open-Meteo unreachable: ", 0), 0u) << strSource;
        EXPECT_EQ(service.ReadLine(), "name: Cirrovan demo");
        const SearchResults results = LoadSearch(service.Client().Get("/search/search?where=zurich")->body);
        ASSERT_FALSE(results.empty());
        EXPECT_EQ(results[0].second, L"Zürich, Switzerland");
        const auto home = service.Client().Get("/");
        EXPECT_EQ(home->body.find("Open-Meteo"), std::string::npos);
    }
    {
        CServiceProcess service;
        EXPECT_EQ(service.ReadLine(), "source: demo");
        EXPECT_EQ(service.ReadLine(), "name: Cirrovan demo");
    }
}

TEST(ServiceLive, ARequestThatLeadsBackToTheServiceFailsAtOnce)
{
    CTempFolder folder;
    const int nPort = FreeLoopbackPort();
    const std::string strSelf = "http://127.0.0.1:" + std::to_string(nPort);
    // A source that sends every request back to the service.
    httplib::Server redirector;
    redirector.Get(".*", [&](const httplib::Request&, httplib::Response& res) {
        res.set_redirect(strSelf + "/search/search?where=sydney");
    });
    const int nRedirector = redirector.bind_to_any_port("127.0.0.1");
    std::thread serving([&] { redirector.listen_after_bind(); });

    const std::string strRedirector = "http://127.0.0.1:" + std::to_string(nRedirector);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {strSelf + "/v1/forecast", strSelf + "/v1/search"},                    // its own address
        {strRedirector + "/v1/forecast", strRedirector + "/v1/search"},        // sent back to it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.second);
        CServiceProcess service({"--port", std::to_string(nPort), "--source", "open-meteo", "--forecast-url", c.first,
                                 "--geocoding-url", c.second, "--data-dir", folder.m_path, "--source-timeout", "60"});
        ASSERT_EQ(service.m_nPort, nPort);
        auto client = service.Client();
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(client.Get("/search/search?where=sydney")->status, 502);
        EXPECT_EQ(client.Get("/weather/local/AUSY8594?dayf=10")->status, 502);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30)) << "it waited on itself";
        EXPECT_EQ(client.Get("/control/requests")->body, "1 /search/search\n1 /weather/local/AUSY8594\n");
    }
    redirector.stop();
    serving.join();
}

} // namespace
