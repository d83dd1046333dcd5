// Failed updates, searches and ID checks end to end: the real update, find and
// new station dialogs, the real download dialog and its job, against the real
// service executable (demo source) and small stand-in servers on loopback that
// misbehave as servers do.
#include "DialogTestSetup.h"
#include "platform/testing/ScriptedConnMgr.h"
#include "../EnvGuard.h"
#include "testing/LoopbackServers.h"
#include "../service/FeedCheck.h"
#include "../service/LocalService.h"
#include "dialogs/DlgFindStation.h"
#include "dialogs/DlgNewStation.h"
#include "dialogs/DlgUpdateStation.h"
#include "platform/Resources.h"
#include "platform/ui/ConnMgr.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

namespace {

// What the stand-in answers to every request.
enum STANDIN {
    NOT_A_FEED,     // a portal's page: well-formed, not a feed
    OTHER_FEED,     // the hour-by-hour feed for a daily request
    SLOW,           // says nothing for longer than the deadline
    TRICKLE,        // a byte now and then, for ever
    ENDLESS,        // a body without length that never ends
    OVER_LIMIT,     // a length past what the store reads
    UNSAFE_PLACES,  // a search answer whose IDs cannot name files
    SLOW_LINK,      // the service's own answer, 20 kB at 10 kB/s
};

// A feed of another kind than the daily one asked for.
const char* const HOURLY_FEED = "<weather ver=\"2.0\"><loc id=\"X\"><dnam>Elsewhere</dnam></loc><hbhf>"
                                       "<lsup>12/10/26 1:00 PM EST</lsup></hbhf></weather>";

class FailuresEndToEnd : public DialogTest
{
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        CScriptedConnMgr::Reset();
        m_downloads.m_bReal = true;
        ASSERT_TRUE(m_service.IsUp());
        m_standIn.m_server.Get(R"(/.*)", [this](const httplib::Request& req, httplib::Response& res) { Answer(req, res); });
        m_standIn.Start();
        m_strServiceHost = m_service.m_strHost;
        m_strStandInHost = "127.0.0.1:" + std::to_string(m_standIn.m_nPort);
        m_strDeadHost = "127.0.0.1:" + std::to_string(FreePort());
        Point(m_strServiceHost);
        auto found = m_service.m_process.Client().Get("/search/search?where=zurich");
        ASSERT_TRUE(found);
        SearchResults results = LoadSearch(found->body);
        ASSERT_FALSE(results.empty());
        m_strID = results[0].first;
    }
    void TearDown() override
    {
        m_bStopping = true;
        m_standIn.Stop();
        EXPECT_EQ(m_service.Stop(), 0);
        CScriptedConnMgr::Reset();
        DialogTest::TearDown();
    }

    void Point(const std::string& strHost)
    {
        setenv("CIRROVAN_FEED_HOST", strHost.c_str(), 1);
        setenv("CIRROVAN_SEARCH_HOST", strHost.c_str(), 1);
    }

    void Answer(const httplib::Request& req, httplib::Response& res)
    {
        switch (m_nMode.load()) {
        case SLOW_LINK: {
            auto answer = m_service.m_process.Client().Get(req.target.c_str());
            std::string body = answer ? answer->body : std::string();
            // Padded after the document to the size of a long real answer.
            if (body.size() < 20000)
                body += std::string(20000 - body.size(), '\n');
            res.set_content_provider(body.size(), "text/xml",
                                     [this, body](size_t nOffset, size_t, httplib::DataSink& sink) {
                                         std::this_thread::sleep_for(std::chrono::milliseconds(100));
                                         const size_t n = std::min<size_t>(1000, body.size() - nOffset);
                                         return !m_bStopping && sink.write(body.data() + nOffset, n);
                                     });
            break;
        }
        case NOT_A_FEED:
            res.set_content("<html><body><p>Please sign in to use the Internet.</p></body></html>", "text/html");
            break;
        case OTHER_FEED:
            res.set_content(HOURLY_FEED, "text/xml");
            break;
        case SLOW:
            for (int i = 0; i < 40 && !m_bStopping; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            res.set_content(HOURLY_FEED, "text/xml");
            break;
        case TRICKLE:
            res.set_chunked_content_provider("text/xml", [this](size_t, httplib::DataSink& sink) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                return !m_bStopping && sink.write("<", 1);
            });
            break;
        case ENDLESS:
            res.set_chunked_content_provider("text/xml", [this](size_t nOffset, httplib::DataSink& sink) {
                static const std::string block(64 * 1024, ' ');
                // Bounded all the same, should the client never stop.
                return !m_bStopping && nOffset < 64 * 1024 * 1024 && sink.write(block.data(), block.size());
            });
            break;
        case OVER_LIMIT:
            res.set_content(std::string(5 * 1024 * 1024, ' '), "text/xml");
            break;
        case UNSAFE_PLACES:
            res.set_content(SearchAnswer({{"../../settings", "Up"}, {"", "Nowhere"}}), "text/xml");
            break;
        }
    }

    // Points the program at a host; the stand-in answers as the mode says, and
    // the service's next request under the path gets the fault, if one is given.
    void Arrange(const std::string& strHost, int nMode, const char* pszFault, const char* pszPath)
    {
        Boxes().clear();
        Point(strHost);
        m_nMode = nMode;
        if (!pszFault)
            return;
        const std::string target = "/control/fault?kind=" + PercentEncoded(pszFault) + "&count=1&path="
                                   + PercentEncoded(pszPath);
        auto armed = m_service.m_process.Client().Post(target.c_str());
        ASSERT_TRUE(armed && armed->status == 200);
    }

    // The update dialog run with Ok on the current station, both kinds ticked.
    void Update()
    {
        CDlgUpdateStation dlg(m_data, m_log);
        CTestDriver::OnDialogOpen(IDD_UPDATE_STATION, [](CDialog*) { CTestDriver::PressSoftKey(0); });
        EXPECT_EQ(dlg.DoModal(), IDOK);
    }

    std::vector<std::string> ForecastFolder() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path("data/forecasts")))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    CLocalService m_service;
    CHttpServer m_standIn;
    std::atomic<int> m_nMode{NOT_A_FEED};
    std::atomic<bool> m_bStopping{false};
    std::string m_strServiceHost;
    std::string m_strStandInHost;
    std::string m_strDeadHost;
    std::wstring m_strID;   // Zürich's
};

TEST_F(FailuresEndToEnd, AFailedUpdateSaysWhyOnceAndKeepsTheForecastAsItWas)
{
    GiveStations({{m_strID, L"Z\u00fcrich"}});
    SetCurrent(m_strID, L"Z\u00fcrich");
    Update();
    ASSERT_TRUE(Boxes().empty());
    const std::string id = CCodePage::Encode(m_strID);
    const std::string daily = Read("forecasts/" + id + "_d.dat");
    const std::string hourly = Read("forecasts/" + id + "_h.dat");
    const std::string stations = Read("stations.dat");
    ASSERT_NE(daily.find("<dayf>"), std::string::npos);
    const std::wstring strLocation = m_data.m_daily.m_strLocation;
    const int nDays = m_data.m_daily.m_days.GetCount();
    const int nHours = m_data.m_hourly.m_hours.GetCount();
    ASSERT_GT(nDays, 0);

    struct Case
    {
        const char* pszShot;
        const std::string* pHost;
        int nMode;              // of the stand-in
        const char* pszFault;   // armed on the service, or nullptr
        std::wstring strWhy;
    };
    const std::wstring strService = L"Test Weather";
    const Case cases[] = {
        {"update-unreachable", &m_strDeadHost, 0, nullptr,
         strService + L" could not be reached. Please check the connection and try again."},
        {"update-http-error", &m_strServiceHost, 0, "status:500",
         strService + L" answered with an error (500). Please try again later."},
        {"update-no-source", &m_strServiceHost, 0, "status:502",
         strService + L" could not be asked (502): the forecast service could not reach it. Please check the "
                      L"connection and try again."},
        {"update-source-late", &m_strServiceHost, 0, "status:504",
         strService + L" did not answer in time. Please try again later."},
        {"update-not-a-feed", &m_strStandInHost, NOT_A_FEED, nullptr, L"The answer was not a forecast."},
        {"update-other-feed", &m_strStandInHost, OTHER_FEED, nullptr, L"The answer was not a forecast."},
        {"update-slow", &m_strStandInHost, SLOW, nullptr,
         strService + L" did not answer in time. Please try again later."},
        {"update-trickle", &m_strStandInHost, TRICKLE, nullptr,
         L"The answer of " + strService + L" came in too slowly. Please try again later."},
        {"update-endless", &m_strStandInHost, ENDLESS, nullptr, L"The download was too large."},
        {"update-too-large", &m_strStandInHost, OVER_LIMIT, nullptr, L"The download was too large."},
        {"update-cut", &m_strServiceHost, 0, "cut:200",
         L"The connection broke off before the whole answer came. Please try again."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszShot);
        Arrange(*c.pHost, c.nMode, c.pszFault, "/weather/local/");
        // Limits a test can wait for: what a real link does in seconds, here in a fraction.
        m_downloads.m_fnOnOpen = [](CDlgDownload* pDlg) {
            pDlg->m_job.m_dwDeadlineMs = 1000;
            pDlg->m_job.m_dwRateWindowMs = 400;
            pDlg->m_job.m_nMinWindowBytes = 100;
        };
        ShotOfNextBox(c.pszShot);
        Update();
        ASSERT_EQ(Boxes().size(), 1u);
        ExpectBox(Boxes()[0],
                  L"These forecasts could not be updated:\n\nZ\u00fcrich (" + m_strID
                      + L"), daily forecast: " + c.strWhy + L" The previous one is kept.",
                  L"Update !", MB_ICONEXCLAMATION);
        // The daily request failed, so no hour-by-hour one was made.
        EXPECT_EQ(m_downloads.m_seen.back().nKind, DOWNLOAD_DAILY);
        EXPECT_EQ(Read("forecasts/" + id + "_d.dat"), daily);
        EXPECT_EQ(Read("forecasts/" + id + "_h.dat"), hourly);
        EXPECT_EQ(Read("stations.dat"), stations);
        EXPECT_EQ(ForecastFolder(), (std::vector<std::string>{id + "_d.dat", id + "_h.dat"}));
        EXPECT_EQ(m_data.m_daily.m_strLocation, strLocation);
        EXPECT_EQ(m_data.m_daily.m_days.GetCount(), nDays);
        EXPECT_EQ(m_data.m_hourly.m_hours.GetCount(), nHours);
    }

    // A station the service does not know: said with its ID, and no file made.
    Boxes().clear();
    Point(m_strServiceHost);
    GiveStations({{m_strID, L"Z\u00fcrich"}, {L"ZZZZ9999", L""}});
    SetCurrent(L"ZZZZ9999");
    ShotOfNextBox("update-unknown-station");
    Update();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].strText, L"These forecasts could not be updated:\n\n"
                                  L"ZZZZ9999, daily forecast: Test Weather does not know station 'ZZZZ9999'.");
    EXPECT_EQ(ForecastFolder(), (std::vector<std::string>{id + "_d.dat", id + "_h.dat"}));
    EXPECT_EQ(m_data.m_daily.m_strLocation, strLocation);
}

// The limits leave a slow real link room: 20 kB over 1 kB/s complete with the
// limits as they are. Here a tenth of the time: ten times the rate against a
// tenth of each limit.
TEST_F(FailuresEndToEnd, ALongAnswerOverASlowLinkStillCompletes)
{
    GiveStations({{m_strID, L"Z\u00fcrich"}});
    SetCurrent(m_strID, L"Z\u00fcrich");
    Arrange(m_strStandInHost, SLOW_LINK, nullptr, nullptr);
    m_downloads.m_fnOnOpen = [](CDlgDownload* pDlg) {
        pDlg->m_job.m_dwDeadlineMs = CDownloadJob::TOTAL_DEADLINE_MS / 10;
        pDlg->m_job.m_dwRateWindowMs = CDownloadJob::RATE_WINDOW_MS / 10;
        pDlg->m_job.m_nMinWindowBytes = CDownloadJob::MIN_WINDOW_BYTES / 10;
    };
    Update();
    EXPECT_TRUE(Boxes().empty());
    const std::string id = CCodePage::Encode(m_strID);
    EXPECT_EQ(Read("forecasts/" + id + "_d.dat").size(), 20000u);
    EXPECT_GE(Read("forecasts/" + id + "_h.dat").size(), 20000u);
    EXPECT_FALSE(m_data.m_daily.IsEmpty());
    EXPECT_FALSE(m_data.m_hourly.IsEmpty());
}

TEST_F(FailuresEndToEnd, AFailedSearchSaysWhyAndNeverThatNothingWasFound)
{
    struct Case
    {
        const char* pszShot;
        const std::string* pHost;
        int nMode;
        const char* pszFault;
        const wchar_t* pszSearch;
        std::wstring strSaid;
    };
    const Case cases[] = {
        {"search-unreachable", &m_strDeadHost, 0, nullptr, L"paris",
         L"Test Weather could not be reached. Please check the connection and try again."},
        {"search-http-error", &m_strServiceHost, 0, "status:500", L"paris",
         L"Test Weather answered with an error (500). Please try again later."},
        {"search-no-source", &m_strServiceHost, 0, "status:502", L"paris",
         L"Test Weather could not be asked (502): the forecast service could not reach it. Please check the "
         L"connection and try again."},
        {"search-not-a-list", &m_strStandInHost, NOT_A_FEED, nullptr, L"paris",
         L"The answer was not a list of places."},
        {"search-nothing-found", &m_strServiceHost, 0, nullptr, L"qqqqqqqq",
         L"No station found. You may try again with another location name."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszShot);
        Arrange(*c.pHost, c.nMode, c.pszFault, "/search/");
        CDlgFindStation dlg(m_data, m_log);
        dlg.m_strSearch = c.pszSearch;
        size_t nBefore = m_downloads.m_seen.size();
        CTestDriver::OnDialogOpen(IDD_FIND_STATION, [&](CDialog*) {
            ShotOfNextBox(c.pszShot);
            ASSERT_TRUE(SearchFinished(nBefore + 1));
            EXPECT_EQ(dlg.m_list.GetCount(), 0);
            CTestDriver::PressSoftKey(1);
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        ASSERT_EQ(Boxes().size(), 1u);
        ExpectBox(Boxes()[0], c.strSaid, L"Find a station", MB_ICONEXCLAMATION);
    }
}

TEST_F(FailuresEndToEnd, UnknownAndUnsafeIdsAreRefusedAndAnUncheckedIdIsSaidSo)
{
    auto addByID = [&](const std::wstring& strID) {
        CDlgNewStation dlg(m_data, m_log);
        CTestDriver::OnDialogOpen(IDD_NEW_STATION, [&](CDialog* pDlg) {
            Item(IDC_STATION_TEXT)->SetWindowText(strID);
            CTestDriver::PressSoftKey(0);
            if (CTestDriver::GetActiveDialog() == pDlg)
                CTestDriver::PressSoftKey(1);
        });
        return dlg.DoModal();
    };
    // Unknown to the service: refused, the list as it was.
    ShotOfNextBox("new-station-unknown-id-service");
    EXPECT_EQ(addByID(L"ZZZZ9999"), IDCANCEL);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].strText, L"Test Weather does not know station 'ZZZZ9999'. Please check the ID, or type a "
                                  L"place name to search for it.");
    EXPECT_EQ(m_data.m_stations.GetCount(), 0);
    EXPECT_FALSE(Exists("stations.dat"));

    // Known: added under the service's name for it.
    Boxes().clear();
    EXPECT_EQ(addByID(m_strID), IDOK);
    ASSERT_EQ(m_data.m_stations.GetCount(), 1);
    EXPECT_FALSE(m_data.m_stations.GetAt(0)->m_strName.empty());
    EXPECT_EQ(Boxes()[0].nType, static_cast<UINT>(MB_ICONINFORMATION));

    // The service gone: added, and said so.
    Boxes().clear();
    Point(m_strDeadHost);
    EXPECT_EQ(addByID(L"ABCD1234"), IDOK);
    EXPECT_EQ(m_data.m_stations.GetCount(), 2);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].strText, L"'ABCD1234' () has been added to the stations list, but it could not be checked "
                                  L"with Test Weather: Test Weather could not be reached. Please check the "
                                  L"connection and try again.");

    // Places whose IDs cannot name files are listed, and never picked.
    Boxes().clear();
    Point(m_strStandInHost);
    m_nMode = UNSAFE_PLACES;
    CDlgFindStation find(m_data, m_log);
    find.m_strSearch = L"up";
    CTestDriver::OnDialogOpen(IDD_FIND_STATION, [&](CDialog*) {
        ASSERT_TRUE(SearchFinished(m_downloads.m_seen.size() + 1));
        ASSERT_EQ(find.m_list.GetCount(), 2);
        for (int i = 0; i < 2; ++i) {
            CTestDriver::SelectItem(IDC_STATION_LIST, i);
            CTestDriver::PressSoftKey(0);
        }
        CTestDriver::PressSoftKey(1);
    });
    EXPECT_EQ(find.DoModal(), IDCANCEL);
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].strText, L"This place has no station ID that can be used. Please pick another one.");
    EXPECT_EQ(m_data.m_stations.GetCount(), 2);
}

// The help's example must be a station the answering service knows, by the
// name the help gives it; searching for an ID finds its station.
TEST_F(FailuresEndToEnd, TheHelpsExampleIdIsAStationOfTheService)
{
    const std::string help = CCodePage::Encode(CResources::LoadString(IDS_HELP_NEW_STATION));
    const std::string lead = "(such as ";
    const size_t at = help.find(lead);
    ASSERT_NE(at, std::string::npos) << help;
    const std::string id = help.substr(at + lead.size(), 8);
    const size_t nameAt = help.find(" for ", at) + 5;
    const std::string place = help.substr(nameAt, help.find(')', nameAt) - nameAt);
    auto found = m_service.m_process.Client().Get(("/search/search?where=" + id).c_str());
    ASSERT_TRUE(found);
    SearchResults results = LoadSearch(found->body);
    ASSERT_EQ(results.size(), 1u) << id;
    EXPECT_EQ(CCodePage::Encode(results[0].first), id);
    EXPECT_EQ(CCodePage::Encode(results[0].second).rfind(place, 0), 0u) << CCodePage::Encode(results[0].second);
    auto daily = m_service.m_process.Client().Get(("/weather/local/" + id + "?dayf=10").c_str());
    ASSERT_TRUE(daily);
    EXPECT_EQ(daily->status, 200);
}

}
