// The forecast service inside the program: which source it opens, how the
// program names it, station IDs as search texts, and what is left once it
// stops or when it cannot start. Open-Meteo is played by a stand-in.

#include "../EnvGuard.h"
#include "../TempFolder.h"
#include "../service/OpenMeteoStandIn.h"
#include "../service/ServiceProcess.h"

#include "app/ForecastBridge.h"
#include "platform/CodePage.h"
#include "store/ServiceConfig.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <regex>

namespace {

// The environment of a program started from the desktop: no host set, the
// stand-in in place of Open-Meteo, the source as given ("" for the default).
class CBridgeEnvironment
{
public:
    CBridgeEnvironment(const COpenMeteoStandIn& standIn, const char* pszSource)
        : m_feed("CIRROVAN_FEED_HOST", nullptr), m_search("CIRROVAN_SEARCH_HOST", nullptr),
          m_name("CIRROVAN_SERVICE_NAME", nullptr), m_home("CIRROVAN_SERVICE_HOME", nullptr),
          m_source("CIRROVAN_SOURCE", *pszSource ? pszSource : nullptr),
          m_forecast("CIRROVAN_OPENMETEO_FORECAST_URL", standIn.ForecastURL().c_str()),
          m_geocoding("CIRROVAN_OPENMETEO_GEOCODING_URL", standIn.GeocodingURL().c_str())
    {
    }

private:
    CEnvGuard m_feed, m_search, m_name, m_home, m_source, m_forecast, m_geocoding;
};

std::vector<std::string> FoundIDs(const std::string& strAnswer)
{
    std::vector<std::string> ids;
    const std::regex loc("<loc id=\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(strAnswer.begin(), strAnswer.end(), loc); it != std::sregex_iterator(); ++it)
        ids.push_back((*it)[1]);
    return ids;
}

int Port(const CServiceConfig& config)
{
    const std::string host = CCodePage::Encode(config.m_strFeedHost);
    return std::atoi(host.c_str() + host.rfind(':') + 1);
}

} // namespace

TEST(ForecastBridge, OpensTheSourceAskedForAndNamesTheDemoAsSuch)
{
    struct Case {
        const char* pszSource;
        bool bOpenMeteoUp;
        bool bLive;
    };
    const Case cases[] = {
        {"", true, true},         // live by default
        {"live", true, true},
        {"demo", true, false},
        {"auto", true, true},
        {"auto", false, false},   // the demo stands in only when allowed to
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("CIRROVAN_SOURCE=") + c.pszSource + (c.bOpenMeteoUp ? "" : ", Open-Meteo down"));
        COpenMeteoStandIn standIn;
        CBridgeEnvironment environment(standIn, c.pszSource);
        if (!c.bOpenMeteoUp)
            standIn.Stop();
        CTempFolder folder;
        int nPort = -1;
        {
            CForecastBridge bridge;
            ASSERT_TRUE(bridge.Start(CCodePage::Decode(folder.m_path)));
            const CServiceConfig config;
            // One name from the first screen on: auto has chosen before Start returns.
            EXPECT_EQ(config.m_strName, c.bLive ? CForecastBridge::LIVE_NAME : CForecastBridge::DEMO_NAME);
            nPort = Port(config);
            EXPECT_EQ(nPort, bridge.m_service.m_nPort);
            EXPECT_EQ(config.m_strSearchHost, config.m_strFeedHost);

            const CRawAnswer answer = CRawAnswer::Get(nPort, "/search/search?where=Sydney");
            EXPECT_EQ(answer.Status(), 200);
            EXPECT_FALSE(FoundIDs(answer.Body()).empty());
            EXPECT_EQ(standIn.m_nSearches > 0, c.bLive);
            EXPECT_EQ(CServiceConfig().m_strName,
                      c.bLive ? CForecastBridge::LIVE_NAME : CForecastBridge::DEMO_NAME);
            if (c.bLive) {
                EXPECT_EQ(CServiceConfig().m_strHome, CForecastBridge::LIVE_HOME);
            }
        }
        // Stopped with the program: nothing listens on its port any more.
        EXPECT_EQ(CRawAnswer::Get(nPort, "/").Status(), 0);
        EXPECT_EQ(CServiceConfig().m_strFeedHost, CServiceConfig::DEFAULT_HOST);
    }
}

TEST(ForecastBridge, AStationsIdFindsThatStationWithEitherSource)
{
    COpenMeteoStandIn standIn;
    CTempFolder folder;
    std::string strLiveID;
    {
        CBridgeEnvironment environment(standIn, "live");
        CForecastBridge bridge;
        ASSERT_TRUE(bridge.Start(CCodePage::Decode(folder.m_path)));
        const int nPort = bridge.m_service.m_nPort;
        const std::vector<std::string> named = FoundIDs(CRawAnswer::Get(nPort, "/search/search?where=Sydney").Body());
        ASSERT_FALSE(named.empty());
        strLiveID = named.front();
        const int nSearches = standIn.m_nSearches;

        // The live table's ID and a demo place's ID, as typed, answer their
        // place without asking Open-Meteo; an ID nobody gave finds nothing.
        EXPECT_EQ(FoundIDs(CRawAnswer::Get(nPort, "/search/search?where=" + strLiveID).Body()),
                  std::vector<std::string> {strLiveID});
        EXPECT_EQ(FoundIDs(CRawAnswer::Get(nPort, "/search/search?where=chzu3595").Body()),
                  std::vector<std::string> {"CHZU3595"});
        EXPECT_EQ(standIn.m_nSearches, nSearches);
        EXPECT_EQ(CRawAnswer::Get(nPort, "/weather/local/ZZZZ9999?dayf=2").Status(), 404);
    }
    // Kept in the program's data folder, where the demo reads it too.
    EXPECT_TRUE(std::filesystem::exists(folder.Path("station-ids.json")));
    CBridgeEnvironment environment(standIn, "demo");
    CForecastBridge bridge;
    ASSERT_TRUE(bridge.Start(CCodePage::Decode(folder.m_path)));
    const int nPort = bridge.m_service.m_nPort;
    EXPECT_EQ(FoundIDs(CRawAnswer::Get(nPort, "/search/search?where=" + strLiveID).Body()),
              std::vector<std::string> {strLiveID});
    EXPECT_EQ(CRawAnswer::Get(nPort, "/weather/local/" + strLiveID + "?dayf=2").Status(), 200);
    EXPECT_EQ(CRawAnswer::Get(nPort, "/weather/local/ZZZZ9999?dayf=2").Status(), 404);
}

TEST(ForecastBridge, AConfiguredHostMeansNoServiceInside)
{
    CEnvGuard feed("CIRROVAN_FEED_HOST", "127.0.0.1:8470");
    CTempFolder folder;
    CForecastBridge bridge;
    EXPECT_TRUE(bridge.Start(CCodePage::Decode(folder.m_path)));
    EXPECT_EQ(bridge.m_service.m_nPort, -1);
    EXPECT_EQ(CServiceConfig().m_strFeedHost, L"127.0.0.1:8470");
}

TEST(ForecastBridge, WithoutAPortTheProgramsRequestsFailAtOnce)
{
    COpenMeteoStandIn standIn;
    CBridgeEnvironment environment(standIn, "live");
    CTempFolder folder;
    CForecastBridge bridge;
    {
        // The undefined-behaviour sanitizer probes an object's type through a
        // pipe the first time it meets it, which no descriptor would allow
        // below; a start with descriptors to spare lets it learn the types.
        CForecastBridge learning;
        learning.Start(CCodePage::Decode(folder.m_path));
    }
    rlimit limits {};
    getrlimit(RLIMIT_NOFILE, &limits);
    const rlimit none {3, limits.rlim_max};   // no socket can be had
    setrlimit(RLIMIT_NOFILE, &none);
    const bool bStarted = bridge.Start(CCodePage::Decode(folder.m_path));
    setrlimit(RLIMIT_NOFILE, &limits);
    EXPECT_FALSE(bStarted);
    // Nowhere that answers: the program's requests fail as an unreachable
    // service would, instead of asking whatever holds the default port.
    EXPECT_EQ(CServiceConfig().m_strFeedHost, L"127.0.0.1:0");
    EXPECT_EQ(CServiceConfig().m_strSearchHost, L"127.0.0.1:0");
}
