#include "model/WeatherData.h"

#include "../TempFolder.h"

#include <gtest/gtest.h>

namespace {

class ForecastLoad : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_temp.Write("forecasts/USNY0996_d.dat", ReadFixture("store/fixtures/daily.xml"));
        m_temp.Write("forecasts/SZXX0033_h.dat", ReadFixture("store/fixtures/hourly.xml"));
    }
    CTempFolder m_temp;
    CWeatherData m_data;
};

TEST_F(ForecastLoad, LoadsTheStationsFilesIntoTheModel)
{
    ASSERT_TRUE(m_data.HasDailyFile(L"USNY0996"));
    m_data.LoadDailyForecast(L"USNY0996");
    EXPECT_EQ(m_data.m_daily.m_strLocation, L"New York, NY");
    EXPECT_EQ(m_data.m_daily.m_days.GetCount(), 4);
    EXPECT_TRUE(m_data.m_hourly.IsEmpty());

    ASSERT_TRUE(m_data.HasHourlyFile(L"SZXX0033"));
    m_data.LoadHourlyForecast(L"SZXX0033");
    EXPECT_EQ(m_data.m_hourly.m_strLocation, L"Z\u00fcrich, ZH");
    EXPECT_EQ(m_data.m_hourly.m_hours.GetCount(), 5);
    EXPECT_EQ(m_data.m_daily.m_days.GetCount(), 4);
}

TEST_F(ForecastLoad, FileThatIsMissingOrDoesNotParseKeepsTheLastForecast)
{
    m_data.LoadDailyForecast(L"USNY0996");
    m_data.LoadHourlyForecast(L"SZXX0033");
    m_temp.Write("forecasts/FRXX0076_d.dat", "<weather><dayf><day d=\"0\"></dayf>");
    m_temp.Write("forecasts/FRXX0076_h.dat", "");
    for (const wchar_t* id : {L"FRXX0076", L"GMXX0007", L"usny0996"}) {
        m_data.LoadDailyForecast(id);
        m_data.LoadHourlyForecast(id);
        EXPECT_EQ(m_data.m_daily.m_strLocation, L"New York, NY") << CCodePage::Encode(id);
        EXPECT_EQ(m_data.m_daily.m_days.GetCount(), 4);
        EXPECT_EQ(m_data.m_hourly.m_hours.GetCount(), 5);
    }
}

} // namespace
