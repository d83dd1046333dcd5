// The find and update dialogs end to end on the service's live source: the real
// download dialog fetches from the real service executable, which asks a
// stand-in for Open-Meteo on loopback, and the store reads the files back.

#include "DialogTestSetup.h"
#include "platform/testing/ScriptedConnMgr.h"

#include "../service/FeedCheck.h"
#include "../service/OpenMeteoStandIn.h"
#include "../service/LocalService.h"

#include "dialogs/DlgFindStation.h"
#include "dialogs/DlgUpdateStation.h"
#include "platform/ui/ConnMgr.h"

#include <memory>

namespace {

const wchar_t* const SYDNEY = L"Sydney, New South Wales, Australia";

class LiveSourceTest : public DialogTest
{
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        m_downloads.m_bReal = true;
        CScriptedConnMgr::Reset();
    }
    void TearDown() override
    {
        CScriptedConnMgr::Reset();
        DialogTest::TearDown();
    }

    // The service on the stand-in, and the program's hosts pointed at it.
    void StartService(const std::vector<std::string>& extra = {})
    {
        std::vector<std::string> args = {"--source", "open-meteo", "--forecast-url", m_standIn.ForecastURL(),
                                         "--geocoding-url", m_standIn.GeocodingURL(),
                                         "--data-dir", m_folder.Path("service")};
        args.insert(args.end(), extra.begin(), extra.end());
        m_pService = std::make_unique<CLocalService>(args);
        ASSERT_TRUE(m_pService->IsUp());
        ASSERT_EQ(m_pService->m_process.ReadLine(), "source: open-meteo (live)");
    }

    // The update dialog run with Ok on the current station, both kinds ticked.
    void Update()
    {
        CDlgUpdateStation dlg(m_data, m_log);
        CTestDriver::OnDialogOpen(IDD_UPDATE_STATION, [](CDialog*) { CTestDriver::PressSoftKey(0); });
        EXPECT_EQ(dlg.DoModal(), IDOK);
    }

    // The forecast files as the store reads them from disk.
    void ExpectForecastFiles(const std::wstring& strID)
    {
        m_data.m_daily.Clear();
        m_data.m_hourly.Clear();
        m_data.LoadDailyForecast(strID);
        m_data.LoadHourlyForecast(strID);
        EXPECT_EQ(m_data.m_daily.m_strLocation, SYDNEY);
        EXPECT_EQ(m_data.m_hourly.m_strLocation, SYDNEY);
        EXPECT_EQ(m_data.m_daily.m_nZone, ZoneOffset("Australia/Sydney", time(nullptr)) / 3600);
        // The recorded answer's two days, and its 48 hours from the current one on.
        EXPECT_EQ(m_data.m_daily.m_days.GetCount(), 2);
        EXPECT_GT(m_data.m_hourly.m_hours.GetCount(), 0);
        EXPECT_LE(m_data.m_hourly.m_hours.GetCount(), 48);
    }

    std::string ForecastFile(const std::wstring& strID, const char* pszEnd) const
    {
        return Read("forecasts/" + CCodePage::Encode(strID) + pszEnd);
    }

    COpenMeteoStandIn m_standIn;
    std::unique_ptr<CLocalService> m_pService;
};

TEST_F(LiveSourceTest, SearchPickAndTwoUpdatesThroughTheDialogsAskTheSourceOnce)
{
    StartService();
    CDlgFindStation find(m_data, m_log);
    find.m_strSearch = L"sydney";
    CTestDriver::OnDialogOpen(IDD_FIND_STATION, [&](CDialog*) {
        ASSERT_TRUE(SearchFinished(1));
        const std::vector<std::wstring> lines = Lines(find.m_list);
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[0].substr(lines[0].find(L" / ")), std::wstring(L" / ") + SYDNEY);
        CTestDriver::SelectItem(IDC_STATION_LIST, 0);
        CTestDriver::PressSoftKey(0);
    });
    ASSERT_EQ(find.DoModal(), IDOK);
    const CStation picked = m_data.m_chosenStation;
    EXPECT_EQ(picked.m_strName, SYDNEY);
    EXPECT_TRUE(IsStationID(CCodePage::Encode(picked.m_strID)));
    EXPECT_EQ(m_standIn.LastParam("name"), "sydney");

    // The station as the new station dialog adds it when the user leaves its
    // name empty: the first forecast names it.
    GiveStations({{picked.m_strID, L""}});
    SetCurrent(picked.m_strID);
    for (int nUpdate = 0; nUpdate < 2; ++nUpdate) {
        SCOPED_TRACE(nUpdate);
        Update();
        ExpectForecastFiles(picked.m_strID);
    }
    ASSERT_EQ(m_downloads.m_seen.size(), 5u);
    EXPECT_EQ(m_downloads.m_seen[1].nKind, DOWNLOAD_DAILY);
    EXPECT_EQ(m_downloads.m_seen[2].nKind, DOWNLOAD_HOURLY);
    EXPECT_EQ(StationsInFile(Path("stations.dat")), (StationList{{picked.m_strID, SYDNEY}}));
    EXPECT_EQ(m_data.m_settings.m_currentStation.m_strName, SYDNEY);
    // Within the service's interval, four downloads of one station: one
    // request to the source. The search asked it once too.
    EXPECT_EQ(m_standIn.m_nForecasts, 1);
    EXPECT_EQ(m_standIn.m_nSearches, 1);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(m_pService->Stop(), 0);
}

TEST_F(LiveSourceTest, ASourceThatFailsLeavesTheForecastFilesByteForByte)
{
    StartService({"--cache-minutes", "0"});
    const SearchResults results = LoadSearch(m_pService->m_process.Client().Get("/search/search?where=sydney")->body);
    ASSERT_FALSE(results.empty());
    const std::wstring strID = results[0].first;
    GiveStations({{strID, SYDNEY}});
    SetCurrent(strID, SYDNEY);
    Update();
    const std::string strDaily = ForecastFile(strID, "_d.dat");
    const std::string strHourly = ForecastFile(strID, "_h.dat");
    ASSERT_NE(strDaily.find("<dayf>"), std::string::npos);
    ASSERT_NE(strHourly.find("<hbhf>"), std::string::npos);

    struct Case
    {
        const char* pszWhat;
        COpenMeteoStandIn::Mode mode;
        bool bStop;
    };
    const Case cases[] = {
        {"an error status", COpenMeteoStandIn::ERROR_STATUS, false},
        {"a page that is no JSON", COpenMeteoStandIn::NOT_JSON, false},
        {"gone: the connection is refused", COpenMeteoStandIn::ANSWER, true},
    };
    int nAsked = m_standIn.m_nForecasts;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        m_standIn.SetMode(c.mode);
        if (c.bStop)
            m_standIn.Stop();
        Update();
        // The daily download failed, so the hour-by-hour one was not tried.
        EXPECT_EQ(m_standIn.m_nForecasts, c.bStop ? nAsked : nAsked + 1);
        nAsked = m_standIn.m_nForecasts;
        EXPECT_EQ(m_downloads.m_seen.back().nKind, DOWNLOAD_DAILY);
        EXPECT_EQ(ForecastFile(strID, "_d.dat"), strDaily);
        EXPECT_EQ(ForecastFile(strID, "_h.dat"), strHourly);
        // Nothing left beside them.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder.Path("data/forecasts")),
                                std::filesystem::directory_iterator()),
                  2);
        ExpectForecastFiles(strID);
    }
    // Each update said once why it failed.
    ASSERT_EQ(Boxes().size(), 3u);
    for (const MESSAGEBOXCALL& box : Boxes())
        EXPECT_EQ(box.strText.rfind(L"These forecasts could not be updated", 0), 0u) << CCodePage::Encode(box.strText);
    EXPECT_EQ(m_pService->Stop(), 0);
}

}
