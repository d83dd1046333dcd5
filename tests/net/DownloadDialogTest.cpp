// The download dialog end to end: the real dialog, its worker, the HTTP layer
// and the service executable, with every fault the service can inject.

#include "DownloadTestSetup.h"
#include "platform/testing/ScriptedConnMgr.h"

#include "testing/LoopbackServers.h"

#include "net/Connection.h"
#include "platform/Internet.h"

namespace {

const std::string PREVIOUS_DAILY = ReadFixture("store/fixtures/daily.xml");
const wchar_t* const PREVIOUS_LOCATION = L"New York, NY";

class DownloadDialog : public DownloadTest
{
protected:
    // The station's daily forecast before the download: a file and the model read from it.
    void KeepPreviousForecast()
    {
        m_folder.Write(DailyFileName(), PREVIOUS_DAILY);
        m_data.LoadDailyForecast(s_strStation);
        ASSERT_EQ(m_data.m_daily.m_strLocation, PREVIOUS_LOCATION);
    }
    // A failed download leaves the file byte for byte, the model as it was,
    // no temporary file, and no connection claimed.
    void ExpectPreviousForecast()
    {
        EXPECT_EQ(m_folder.Read(DailyFileName()), PREVIOUS_DAILY);
        EXPECT_EQ(m_data.m_daily.m_strLocation, PREVIOUS_LOCATION);
        EXPECT_EQ(ForecastFileCount(), 1);
        EXPECT_EQ(CConnMgr::OpenConnections(), 0);
    }
    // A successful one leaves the service's answer in the file and in the model.
    void ExpectNewForecast()
    {
        CDailyForecast stored;
        stored.Load(m_folder.WidePath(DailyFileName()));
        EXPECT_FALSE(stored.IsEmpty());
        EXPECT_NE(stored.m_strLocation, PREVIOUS_LOCATION);
        EXPECT_EQ(m_data.m_daily.m_strLocation, stored.m_strLocation);
        EXPECT_FALSE(m_data.m_daily.IsEmpty());
        EXPECT_EQ(ForecastFileCount(), 1);
        EXPECT_EQ(CConnMgr::OpenConnections(), 0);
    }
};

TEST_F(DownloadDialog, EachKindStoresItsAnswerAndTheStoreReadsIt)
{
    EXPECT_EQ(Download(DOWNLOAD_SEARCH, L"zurich"), IDOK);
    ASSERT_GT(m_data.m_searchResults.GetCount(), 0);
    EXPECT_EQ(m_data.m_searchResults.GetAt(0)->m_strID, s_strStation);

    KeepPreviousForecast();
    EXPECT_EQ(Download(DOWNLOAD_DAILY, s_strStation), IDOK);
    ExpectNewForecast();

    EXPECT_EQ(Download(DOWNLOAD_HOURLY, s_strStation), IDOK);
    EXPECT_FALSE(m_data.m_hourly.IsEmpty());
    EXPECT_EQ(m_data.m_hourly.m_strLocation, m_data.m_daily.m_strLocation);
    EXPECT_EQ(ForecastFileCount(), 2);
    EXPECT_EQ(RequestsFor(StationPath()), 2);
    EXPECT_EQ(CConnMgr::OpenConnections(), 0);
}

struct FAULTCASE
{
    const char* pszFault;
    int nResult;
};

// Whole answers however they come; anything short of one, or one the store
// would reject, keeps the previous forecast.
const FAULTCASE s_faults[] = {
    {"none", IDOK},
    {"delay:300", IDOK},
    {"stall:300", IDOK},
    {"chunked:700", IDOK},
    {"no-length", IDOK},
    {"status:404", IDCANCEL},
    {"status:503", IDCANCEL},
    {"cut", IDCANCEL},
    {"cut:1", IDCANCEL},
    {"length-over:100", IDCANCEL},
    {"length-under:100", IDCANCEL},
    {"not-xml", IDCANCEL},
    {"huge", IDCANCEL},
    {"deep:100", IDCANCEL},
    {"close", IDCANCEL},
};

TEST_F(DownloadDialog, EveryFaultEndsWithTheNewForecastOrTheOldOneUntouched)
{
    for (const FAULTCASE& c : s_faults) {
        SCOPED_TRACE(c.pszFault);
        KeepPreviousForecast();
        Arm(c.pszFault, StationPath());
        EXPECT_EQ(Download(DOWNLOAD_DAILY, s_strStation), c.nResult);
        if (c.nResult == IDOK)
            ExpectNewForecast();
        else
            ExpectPreviousForecast();
    }
}

TEST_F(DownloadDialog, AFailedSearchKeepsTheResultsAndTheFileOfTheLastOne)
{
    ASSERT_EQ(Download(DOWNLOAD_SEARCH, L"zurich"), IDOK);
    const std::string answer = m_folder.Read("search_stations.dat");
    for (const char* pszFault : {"not-xml", "status:500", "cut"}) {
        SCOPED_TRACE(pszFault);
        Arm(pszFault, "/search");
        EXPECT_EQ(Download(DOWNLOAD_SEARCH, L"oslo"), IDCANCEL);
        ASSERT_GT(m_data.m_searchResults.GetCount(), 0);
        EXPECT_EQ(m_data.m_searchResults.GetAt(0)->m_strID, s_strStation);
        EXPECT_EQ(m_folder.Read("search_stations.dat"), answer);
    }
}

TEST_F(DownloadDialog, CancelEndsTheDownloadInEveryPhase)
{
    KeepPreviousForecast();
    auto cancelWhen = [](std::function<bool(const DOWNLOADVIEW&)> fnPhase) {
        return [fnPhase](DOWNLOADVIEW& view) {
            EXPECT_TRUE(view.RunUntil([&]() { return fnPhase(view); }));
            CTestDriver::Tap(IDC_DOWNLOAD_CANCEL);
            view.RunToEnd();
        };
    };

    // Connecting cannot be broken off, but nothing is requested after it.
    CONNMGRSCRIPT slow;
    slow.dwDelayMs = 300;
    CScriptedConnMgr::Use(slow);
    EXPECT_EQ(Download(DOWNLOAD_DAILY, s_strStation, cancelWhen([](const DOWNLOADVIEW& view) {
                  return view.Status() == L"Attempting to connect";
              })),
              IDCANCEL);
    EXPECT_EQ(RequestsFor(StationPath()), 0);
    CScriptedConnMgr::Reset();
    ExpectPreviousForecast();

    // A server that takes a minute to answer, or to send the rest.
    Arm("delay:60000", StationPath());
    EXPECT_EQ(Download(DOWNLOAD_DAILY, s_strStation, cancelWhen([](const DOWNLOADVIEW& view) {
                  return view.InternetStatus() == L"Request sent";
              })),
              IDCANCEL);
    ExpectPreviousForecast();

    Arm("stall:60000", StationPath());
    EXPECT_EQ(Download(DOWNLOAD_DAILY, s_strStation,
                       cancelWhen([](const DOWNLOADVIEW& view) { return view.ProgressPos() > 0; })),
              IDCANCEL);
    ExpectPreviousForecast();
    EXPECT_EQ(RequestsFor(StationPath()), 2);
}

struct KEYCASE
{
    UINT vk;
    const char* pszFault;
    int nResult;
};

TEST_F(DownloadDialog, EnterAndEscapeNeverEndTheDialogUnderItsWorker)
{
    // Enter does nothing; Escape is the Cancel button: the worker stops and
    // ends the dialog itself.
    const KEYCASE keys[] = {{VK_RETURN, "stall:500", IDOK}, {VK_ESCAPE, "stall:60000", IDCANCEL}};
    for (const KEYCASE& c : keys) {
        SCOPED_TRACE(c.vk);
        KeepPreviousForecast();
        bool bOpenAfterKey = false;
        Arm(c.pszFault, StationPath());
        EXPECT_EQ(Download(DOWNLOAD_DAILY, s_strStation, [&](DOWNLOADVIEW& view) {
                      EXPECT_TRUE(view.RunUntil([&]() { return view.ProgressPos() > 0; }));
                      CTestDriver::PressKey(c.vk);
                      bOpenAfterKey = !view.Ended();
                      view.RunToEnd();
                  }),
                  c.nResult);
        EXPECT_TRUE(bOpenAfterKey);
        if (c.nResult == IDOK)
            ExpectNewForecast();
        else
            ExpectPreviousForecast();
    }
}

// A daily feed of exactly that many bytes.
std::string DocumentOfSize(size_t nBytes)
{
    const std::string head = "<?xml version=\"1.0\"?>\n<weather><dayf><!--";
    const std::string tail = "--></dayf></weather>\n";
    return head + std::string(nBytes - head.size() - tail.size(), '.') + tail;
}

struct SIZECASE
{
    size_t nBytes;
    bool bAnnounced;   // with a content length; else chunked
    const wchar_t* pszReceiving;
    const wchar_t* pszDone;
};

const SIZECASE s_sizes[] = {
    {3000, true, L"Download... (2.93 Kb)", L"Done (2.93 Kb downloaded)"},
    {5000, false, L"Download... (0.00 Kb)", L"Done (4.88 Kb downloaded)"},
    // Beyond the 16 bits the device's progress bar had.
    {100000, true, L"Download... (97.66 Kb)", L"Done (97.66 Kb downloaded)"},
};

TEST_F(DownloadDialog, StatusLineAndProgressBarShowTheAnnouncedAndTheReceivedSize)
{
    for (const SIZECASE& c : s_sizes) {
        SCOPED_TRACE(c.nBytes);
        // The first block, then the rest once the test has looked.
        auto body = std::make_shared<std::string>(DocumentOfSize(c.nBytes));
        auto gate = std::make_shared<CGate>();
        auto provide = [body, gate](size_t nOffset, httplib::DataSink& sink) {
            if (nOffset > 0)
                gate->Wait();
            size_t n = nOffset == 0 ? 1024 : body->size() - nOffset;
            return sink.write(body->data() + nOffset, n);
        };
        CHttpServer server;
        server.m_server.Get(R"(/weather/local/.*)", [&](const httplib::Request&, httplib::Response& res) {
            if (c.bAnnounced) {
                res.set_content_provider(body->size(), "text/xml",
                                         [provide](size_t nOffset, size_t, httplib::DataSink& sink) {
                                             return provide(nOffset, sink);
                                         });
            } else {
                res.set_chunked_content_provider("text/xml", [provide](size_t nOffset, httplib::DataSink& sink) {
                    bool bOk = provide(nOffset, sink);
                    if (nOffset > 0)
                        sink.done();
                    return bOk;
                });
            }
        });
        server.Start();
        const std::string host = "127.0.0.1:" + std::to_string(server.m_nPort);
        CEnvGuard feedHost("CIRROVAN_FEED_HOST", host.c_str());

        std::wstring strReceiving;
        std::wstring strDone;
        DWORD dwUpper = 0;
        DWORD dwPos = 0;
        EXPECT_EQ(Download(DOWNLOAD_DAILY, L"AAAA0001", [&](DOWNLOADVIEW& view) {
                      // The first block is in; without a length the bar's range
                      // is empty and it never moves.
                      EXPECT_TRUE(view.RunUntil([&]() {
                          return view.Status().rfind(L"Download...", 0) == 0 &&
                                 (c.bAnnounced ? view.ProgressPos() > 0 : view.ProgressUpper() == 0);
                      }));
                      strReceiving = view.Status();
                      dwUpper = view.ProgressUpper();
                      gate->Open();
                      view.RunToEnd();
                      strDone = view.Status();
                      dwPos = view.ProgressPos();
                  }),
                  IDOK);
        gate->Open();
        EXPECT_EQ(strReceiving, c.pszReceiving);
        EXPECT_EQ(strDone, c.pszDone);
        EXPECT_EQ(dwUpper, c.bAnnounced ? c.nBytes : 0);
        if (c.bAnnounced) {
            EXPECT_EQ(dwPos, c.nBytes);
        }
        EXPECT_EQ(m_folder.Read("forecasts/AAAA0001_d.dat"), *body);
    }
}

TEST_F(DownloadDialog, AServerThatCannotBeReachedOrFallsSilentFailsByItself)
{
    KeepPreviousForecast();
    {
        const std::string refused = "127.0.0.1:" + std::to_string(FreePort());
        CEnvGuard feedHost("CIRROVAN_FEED_HOST", refused.c_str());
        EXPECT_EQ(Download(DOWNLOAD_DAILY, s_strStation), IDCANCEL);
        ExpectPreviousForecast();
    }

    // The layer's limits (15 s to connect, 30 s without a byte), shortened.
    DWORD dwShort = 300;
    ASSERT_TRUE(InternetSetOptionW(nullptr, INTERNET_OPTION_CONNECT_TIMEOUT, &dwShort, sizeof dwShort));
    ASSERT_TRUE(InternetSetOptionW(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, &dwShort, sizeof dwShort));
    Arm("stall:60000", StationPath());
    EXPECT_EQ(Download(DOWNLOAD_DAILY, s_strStation), IDCANCEL);
    ExpectPreviousForecast();
    {
        CBlackhole blackhole;
        const std::string silent = "127.0.0.1:" + std::to_string(blackhole.m_nPort);
        CEnvGuard feedHost("CIRROVAN_FEED_HOST", silent.c_str());
        EXPECT_EQ(Download(DOWNLOAD_DAILY, s_strStation), IDCANCEL);
        ExpectPreviousForecast();
    }
    DWORD dwConnect = 15000;
    DWORD dwReceive = 30000;
    InternetSetOptionW(nullptr, INTERNET_OPTION_CONNECT_TIMEOUT, &dwConnect, sizeof dwConnect);
    InternetSetOptionW(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, &dwReceive, sizeof dwReceive);
}

TEST_F(DownloadDialog, WithoutAConnectionNothingIsRequested)
{
    KeepPreviousForecast();
    CONNMGRSCRIPT failed;
    failed.hrEstablish = E_FAIL;
    failed.statuses = {CONNMGR_STATUS_WAITINGCONNECTION, CONNMGR_STATUS_CONNECTIONFAILED};
    CONNMGRSCRIPT noPath;
    noPath.statuses = {CONNMGR_STATUS_WAITINGCONNECTION, CONNMGR_STATUS_NOPATHTODESTINATION};
    for (const CONNMGRSCRIPT& script : {failed, noPath}) {
        CScriptedConnMgr::Use(script);
        std::wstring strStatus;
        EXPECT_EQ(Download(DOWNLOAD_DAILY, s_strStation, [&](DOWNLOADVIEW& view) {
                      view.RunToEnd();
                      strStatus = view.Status();
                  }),
                  IDCANCEL);
        // The status line keeps the last status that came.
        EXPECT_EQ(strStatus, ConnMgrStatusText(script.statuses.back()));
        ExpectPreviousForecast();
    }
    EXPECT_EQ(RequestsFor(StationPath()), 0);

    // An ID that cannot name a file is never requested either.
    CScriptedConnMgr::Reset();
    EXPECT_EQ(Download(DOWNLOAD_DAILY, L"../stations"), IDCANCEL);
    EXPECT_EQ(CConnMgr::OpenConnections(), 0);
}

RECT WindowRect(CWnd* pWnd)
{
    RECT rc = {};
    pWnd->GetWindowRect(&rc);
    return rc;
}

// Position and size of a control, in the dialog's client pixels.
void ExpectPlace(CDialog* pDlg, UINT nID, int x, int y, int cx, int cy)
{
    SCOPED_TRACE(nID);
    RECT rc = WindowRect(pDlg->GetDlgItem(nID));
    EXPECT_EQ(rc.left, x);
    EXPECT_EQ(rc.top, y);
    EXPECT_EQ(rc.right - rc.left, cx);
    EXPECT_EQ(rc.bottom - rc.top, cy);
}

TEST_F(DownloadDialog, LaysItselfOutAndShowsWhereTheDownloadStands)
{
    KeepPreviousForecast();
    Arm("stall:60000", StationPath());
    auto expectLayout = [](CDialog* pDlg) {
        RECT client;
        pDlg->GetClientRect(&client);
        const int W = client.right;
        EXPECT_EQ(W, 215);
        // Template places in dialog units (x * 6 / 4, y * 13 / 8), the sizes the dialog sets.
        ExpectPlace(pDlg, IDC_DOWNLOAD_MESSAGE, 8, 5, W - 16, 41);
        ExpectPlace(pDlg, IDC_DOWNLOAD_STATUS, 9, 57, W - 10, 16);
        ExpectPlace(pDlg, IDC_DOWNLOAD_PROGRESS, 9, 78, W - 20, 20);
        ExpectPlace(pDlg, IDC_DOWNLOAD_INTERNET_STATUS, 9, 104, W - 10, 16);
        // The message is painted, never shown as an edit box.
        EXPECT_FALSE(pDlg->GetDlgItem(IDC_DOWNLOAD_MESSAGE)->IsWindowVisible());
        EXPECT_TRUE(pDlg->GetDlgItem(IDC_DOWNLOAD_CANCEL)->IsWindowVisible());
    };
    EXPECT_EQ(Download(DOWNLOAD_DAILY, s_strStation, [&](DOWNLOADVIEW& view) {
                  EXPECT_TRUE(view.RunUntil([&]() { return view.ProgressPos() > 0; }));
                  EXPECT_EQ(view.pDlg->GetWindowText(), L"Download");
                  EXPECT_EQ(view.pDlg->GetDlgItem(IDC_DOWNLOAD_MESSAGE)->GetWindowText(),
                            L"Search daily forecasts for Z\u00fcrich");
                  expectLayout(view.pDlg);
                  Shot("download-portrait");
                  CDeviceScreen::Get().SetOrientation(DMDO_90);
                  CTestDriver::ProcessEvents();
                  expectLayout(view.pDlg);
                  Shot("download-landscape");
                  CTestDriver::Tap(IDC_DOWNLOAD_CANCEL);
                  view.RunToEnd();
              }),
              IDCANCEL);

    // Fallen silent halfway: the lines and the bar keep what they showed last
    // until the dialog goes.
    CDeviceScreen::Get().SetOrientation(DMDO_0);
    DWORD dwShort = 300;
    ASSERT_TRUE(InternetSetOptionW(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, &dwShort, sizeof dwShort));
    Arm("stall:60000", StationPath());
    std::wstring strStatus;
    DWORD dwPos = 0;
    DWORD dwUpper = 0;
    EXPECT_EQ(Download(DOWNLOAD_DAILY, s_strStation, [&](DOWNLOADVIEW& view) {
                  view.RunToEnd();
                  strStatus = view.Status();
                  dwPos = view.ProgressPos();
                  dwUpper = view.ProgressUpper();
                  Shot("download-failed");
              }),
              IDCANCEL);
    DWORD dwReceive = 30000;
    InternetSetOptionW(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, &dwReceive, sizeof dwReceive);
    EXPECT_EQ(strStatus.rfind(L"Download... (", 0), 0u) << strStatus;
    EXPECT_GT(dwPos, 0u);
    EXPECT_LT(dwPos, dwUpper);
    ExpectPreviousForecast();
}

TEST_F(DownloadDialog, AnswerThatCannotBeStoredFails)
{
    std::filesystem::remove_all(m_folder.Path("forecasts"));
    EXPECT_EQ(Download(DOWNLOAD_DAILY, s_strStation), IDCANCEL);
    EXPECT_TRUE(m_data.m_daily.IsEmpty());
    EXPECT_EQ(CConnMgr::OpenConnections(), 0);
}

}

// The windows underneath compose the chart from the store whenever the screen
// is resized, and that can happen while this dialog is up: the store only takes
// the new answer on the user-interface thread, once the worker has ended.
TEST_F(DownloadDialog, TheStoreTakesTheAnswerOnlyAfterTheWorkerHasEnded)
{
    EXPECT_EQ(Download(DOWNLOAD_DAILY, s_strStation, [this](DOWNLOADVIEW& view) {
                  view.RunToEnd();
                  // The worker has stored the file and ended the dialog; the
                  // forecast in memory is still the one from before.
                  EXPECT_TRUE(m_data.m_daily.IsEmpty());
              }),
              IDOK);
    EXPECT_FALSE(m_data.m_daily.IsEmpty());
}
