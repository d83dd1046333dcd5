#include "model/WeatherData.h"
#include "store/ServiceConfig.h"

#include "../TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// IDs that must never become part of a path.
const std::wstring kUnsafeIDs[] = {
    L"", L"..", L"../USNY0996", L"US/NY0996", L"US\\NY0996", L"USNY..96", L"USNY0996\n",
    std::wstring(L"US\0NY", 5), L"\tUSNY0996", L"USNY\x7f", L"USNY\x85",
};

class ForecastFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        unsetenv("CIRROVAN_SEARCH_HOST");
        unsetenv("CIRROVAN_FEED_HOST");
    }
    void TearDown() override { SetUp(); }

    CTempFolder m_temp;
    CWeatherData m_data;
};

TEST_F(ForecastFiles, RequestsNameTheServiceAndTheTargetFile)
{
    setenv("CIRROVAN_SEARCH_HOST", "search.example:8080", 1);
    setenv("CIRROVAN_FEED_HOST", "feed.example", 1);
    struct Case { int nKind; const wchar_t* argument; const wchar_t* url; std::string target; };
    const Case cases[] = {
        {DOWNLOAD_DAILY, L"USNY0996", L"http://feed.example/weather/local/USNY0996?dayf=10 ",
         "forecasts/USNY0996_d.dat"},
        {DOWNLOAD_HOURLY, L"USNY0996", L"http://feed.example/weather/local/USNY0996?hbhf=72 ",
         "forecasts/USNY0996_h.dat"},
        {DOWNLOAD_HOURLY, L"usny0996", L"http://feed.example/weather/local/usny0996?hbhf=72 ",
         "forecasts/usny0996_h.dat"},
        // An ID from a search answer cannot add to the query.
        {DOWNLOAD_DAILY, L"AB?hbhf=72#", L"http://feed.example/weather/local/AB%3Fhbhf%3D72%23?dayf=10 ",
         "forecasts/AB?hbhf=72#_d.dat"},
        {DOWNLOAD_SEARCH, L"new york", L"http://search.example:8080/search/search?where=new%20york",
         "search_stations.dat"},
        {DOWNLOAD_SEARCH, L"AT&T #1 100%+x=y/z?",
         L"http://search.example:8080/search/search?where=AT%26T%20%231%20100%25%2Bx%3Dy%2Fz%3F",
         "search_stations.dat"},
        {DOWNLOAD_SEARCH, L"Z\u00fcrich-Nord_1.~", L"http://search.example:8080/search/search?where=Z%C3%BCrich-Nord_1.~",
         "search_stations.dat"},
        {DOWNLOAD_SEARCH, L"", L"http://search.example:8080/search/search?where=", "search_stations.dat"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nKind << " " << CCodePage::Encode(c.argument));
        std::wstring url, target = L"unchanged";
        m_data.BuildRequest(c.nKind, c.argument, url, target);
        EXPECT_EQ(url, c.url);
        EXPECT_EQ(target, m_temp.WidePath(c.target));
    }
}

TEST_F(ForecastFiles, UnknownKindGivesNoURLAndLeavesTheTarget)
{
    for (int nKind : {-1, 3, 100}) {
        std::wstring url = L"old", target = L"unchanged";
        m_data.BuildRequest(nKind, L"USNY0996", url, target);
        EXPECT_EQ(url, L"");
        EXPECT_EQ(target, L"unchanged");
    }
}

TEST_F(ForecastFiles, ServiceDefaultsToTheLocalService)
{
    CServiceConfig config;
    EXPECT_EQ(config.m_strSearchHost, L"localhost:8470");
    EXPECT_EQ(config.m_strFeedHost, L"localhost:8470");
    EXPECT_EQ(config.m_strName, L"Cirrovan");
    EXPECT_EQ(config.m_strHome, L"http://localhost:8470/");
    std::wstring url, target;
    m_data.BuildRequest(DOWNLOAD_DAILY, L"USNY0996", url, target);
    EXPECT_EQ(url, L"http://localhost:8470/weather/local/USNY0996?dayf=10 ");

    setenv("CIRROVAN_FEED_HOST", "127.0.0.1:9000", 1);
    setenv("CIRROVAN_SEARCH_HOST", "", 1);   // empty counts as unset
    CServiceConfig changed;
    EXPECT_EQ(changed.m_strFeedHost, L"127.0.0.1:9000");
    EXPECT_EQ(changed.m_strSearchHost, L"localhost:8470");
    EXPECT_EQ(changed.m_strHome, L"http://127.0.0.1:9000/");
    setenv("CIRROVAN_SERVICE_NAME", "Test Weather", 1);
    setenv("CIRROVAN_SERVICE_HOME", "http://weather.example/home", 1);
    CServiceConfig named;
    EXPECT_EQ(named.m_strName, L"Test Weather");
    EXPECT_EQ(named.m_strHome, L"http://weather.example/home");
    unsetenv("CIRROVAN_SERVICE_NAME");
    unsetenv("CIRROVAN_SERVICE_HOME");
}

TEST_F(ForecastFiles, ForecastExistsExactlyWhenItsFileOpens)
{
    EXPECT_FALSE(m_data.HasDailyFile(L"USNY0996"));
    EXPECT_FALSE(m_data.HasHourlyFile(L"USNY0996"));
    m_temp.Write("forecasts/USNY0996_h.dat", "");
    EXPECT_FALSE(m_data.HasDailyFile(L"USNY0996"));
    EXPECT_TRUE(m_data.HasHourlyFile(L"USNY0996"));
    EXPECT_FALSE(m_data.HasHourlyFile(L"usny0996"));
    m_temp.Write("forecasts/USNY0996_d.dat", "not even XML");
    EXPECT_TRUE(m_data.HasDailyFile(L"USNY0996"));
    // A folder of that name holds no forecast.
    std::filesystem::create_directory(m_temp.Path("forecasts/FRXX0076_d.dat"));
    EXPECT_FALSE(m_data.HasDailyFile(L"FRXX0076"));
}

TEST_F(ForecastFiles, UnsafeIDsNeverBecomePaths)
{
    // Files that an unsafe ID would reach if it were put into the path.
    const std::string feed = "<weather><loc id=\"X\"><dnam>Planted</dnam></loc><dayf><day d=\"0\"/></dayf>"
                             "<hbhf><hour h=\"0\" c=\"0\"/></hbhf></weather>";
    m_temp.Write("forecasts/.._d.dat", feed);
    m_temp.Write("forecasts/.._h.dat", feed);
    m_temp.Write("USNY0996_d.dat", feed);
    m_temp.Write("USNY0996_h.dat", feed);
    std::filesystem::create_directories(m_temp.Path("forecasts/US"));
    m_temp.Write("forecasts/US/NY0996_d.dat", feed);
    m_temp.Write("forecasts/US/NY0996_h.dat", feed);

    for (const std::wstring& id : kUnsafeIDs) {
        SCOPED_TRACE(CCodePage::Encode(id));
        EXPECT_FALSE(CWeatherData::IsSafeFileID(id));
        EXPECT_FALSE(m_data.HasDailyFile(id));
        EXPECT_FALSE(m_data.HasHourlyFile(id));
        m_data.LoadDailyForecast(id);
        m_data.LoadHourlyForecast(id);
        EXPECT_TRUE(m_data.m_daily.IsEmpty());
        EXPECT_TRUE(m_data.m_hourly.IsEmpty());
        EXPECT_EQ(m_data.m_daily.m_strLocation, L"");
        for (int nKind : {DOWNLOAD_DAILY, DOWNLOAD_HOURLY}) {
            std::wstring url = L"old", target = L"old";
            m_data.BuildRequest(nKind, id, url, target);
            EXPECT_EQ(url, L"");
            EXPECT_EQ(target, L"");
        }
    }
    for (const wchar_t* id : {L"USNY0996", L"a.b", L"A B", L"\u00c5SE0001"})
        EXPECT_TRUE(CWeatherData::IsSafeFileID(id)) << CCodePage::Encode(id);
}

} // namespace
