#pragma once

// The download dialog as its callers run it, against the real service
// executable on a free loopback port: a data object and a log of the test's
// own in a data folder of its own, the service's hosts in the environment, and
// helpers to act inside the dialog while its worker runs.

#include "../EnvGuard.h"
#include "platform/testing/ScriptedConnMgr.h"
#include "../TempFolder.h"
#include "../service/FeedCheck.h"
#include "../service/ServiceProcess.h"

#include "model/WeatherData.h"
#include "net/DlgDownload.h"
#include "log/LogFile.h"
#include "platform/testing/TestDriver.h"
#include "platform/ui/ConnMgr.h"
#include "platform/ui/DeviceScreen.h"
#include "res/AppResources.h"
#include "res/Resource.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <utility>

// What a test sees of a running download dialog: the dialog and its controls,
// and a way to let its worker run until something shows.
struct DOWNLOADVIEW
{
    CDlgDownload* pDlg = nullptr;
    CWnd* pStatus = nullptr;           // 1008
    CWnd* pInternetStatus = nullptr;   // 1009

    // The worker has ended the dialog (its window is still on the screen
    // until the modal loop gets control back).
    bool Ended() const { return pDlg->m_nModalResult != -1; }
    std::wstring Status() const { return pStatus->GetWindowText(); }
    std::wstring InternetStatus() const { return pInternetStatus->GetWindowText(); }
    DWORD ProgressPos() const { return static_cast<DWORD>(pDlg->m_progress.GetPos()); }
    DWORD ProgressUpper() const
    {
        int nLower = 0;
        int nUpper = 0;
        pDlg->m_progress.GetRange(nLower, nUpper);
        return static_cast<DWORD>(nUpper);
    }

    // Runs the user-interface thread until the condition holds; false when the
    // dialog ended first. What the worker asked for before the condition came
    // true (status texts) has then been carried out.
    bool RunUntil(const std::function<bool()>& fnCondition) const
    {
        for (;;) {
            CTestDriver::ProcessEvents();
            if (fnCondition()) {
                CTestDriver::ProcessEvents();
                return true;
            }
            if (Ended())
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    void RunToEnd() const { RunUntil([]() { return false; }); }
};

// Screenshots go where CIRROVAN_SHOTS points, for people to look at.
inline void Shot(const char* pszName)
{
    const char* pszFolder = std::getenv("CIRROVAN_SHOTS");
    if (!pszFolder)
        return;
    std::filesystem::create_directories(pszFolder);
    std::string path = std::string(pszFolder) + "/" + pszName + ".png";
    EXPECT_TRUE(CTestDriver::SaveScreenshot(CCodePage::Decode(path)));
}

// Turns the test's diagnostic log on for one test, as a "log.txt" in the data
// folder does at start-up, and off again after it.
class CLogCapture
{
public:
    CLogCapture(const CTempFolder& folder, CLogFile& log) : m_folder(folder), m_log(log)
    {
        folder.Write("log.txt", "");
        CLogFile fresh(L"log.txt");
        std::swap(m_log.m_pFile, fresh.m_pFile);
    }
    ~CLogCapture()
    {
        CLogFile off(nullptr);
        std::swap(m_log.m_pFile, off.m_pFile);
    }
    CLogCapture(const CLogCapture&) = delete;
    CLogCapture& operator=(const CLogCapture&) = delete;

    std::string Text() const { return m_folder.Read("log.txt"); }

private:
    const CTempFolder& m_folder;
    CLogFile& m_log;
};

class DownloadTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_pService = &CSharedService::Start();
        if (s_pService->m_nPort == 0)
            return;
        s_strHost = "127.0.0.1:" + std::to_string(s_pService->m_nPort);
        SearchResults results = LoadSearch(s_pService->Client().Get("/search/search?where=zurich")->body);
        if (!results.empty())
            s_strStation = results[0].first;
    }
    static void TearDownTestSuite()
    {
        // A sanitizer build's service reports what it found through its exit code.
        EXPECT_EQ(CSharedService::Stop(), 0);
        s_pService = nullptr;
    }

    void SetUp() override
    {
        ASSERT_FALSE(s_strStation.empty()) << "the service did not start";
        ASSERT_EQ(s_pService->Client().Post("/control/reset")->status, 200);
        CAppResources::Install();
        CTestDriver::Install();
        CDeviceScreen::Get().SetOrientation(DMDO_0);
        CScriptedConnMgr::Reset();
    }
    void TearDown() override
    {
        CScriptedConnMgr::Reset();
        CDeviceScreen::Get().SetOrientation(DMDO_0);
        CTestDriver::Uninstall();
    }

    // Runs one download as the update and find dialogs do; the action runs
    // inside the dialog once it is open.
    int Download(int nKind, const std::wstring& strArgument,
                 const std::function<void(DOWNLOADVIEW&)>& fnAction = nullptr)
    {
        CDlgDownload dlg(m_data, m_log);
        dlg.m_strTitle = L"Download";
        dlg.m_strMessage = nKind == DOWNLOAD_SEARCH ? L"Search stations for '" + strArgument + L"'..."
                                                    : L"Search daily forecasts for Z\u00fcrich";
        dlg.m_nKind = nKind;
        dlg.m_strArgument = strArgument;
        if (fnAction) {
            CTestDriver::OnDialogOpen(IDD_DOWNLOAD, [fnAction](CDialog* pDialog) {
                DOWNLOADVIEW view;
                view.pDlg = static_cast<CDlgDownload*>(pDialog);
                view.pStatus = pDialog->GetDlgItem(IDC_DOWNLOAD_STATUS);
                view.pInternetStatus = pDialog->GetDlgItem(IDC_DOWNLOAD_INTERNET_STATUS);
                fnAction(view);
            });
        }
        return dlg.DoModal();
    }

    // The next request whose path and query start with the prefix gets the fault.
    static void Arm(const std::string& strKind, const std::string& strPrefix)
    {
        const std::string target = "/control/fault?kind=" + PercentEncoded(strKind) +
                                   "&count=1&path=" + PercentEncoded(strPrefix);
        auto res = s_pService->Client().Post(target.c_str());
        ASSERT_TRUE(res);
        ASSERT_EQ(res->status, 200) << res->body;
    }
    static int RequestsFor(const std::string& strPath)
    {
        auto res = s_pService->Client().Get(("/control/requests?path=" + strPath).c_str());
        return res ? std::atoi(res->body.c_str()) : -1;
    }
    static std::string StationPath() { return "/weather/local/" + CCodePage::Encode(s_strStation); }

    std::string DailyFileName() const { return "forecasts/" + CCodePage::Encode(s_strStation) + "_d.dat"; }
    // Files in the forecasts folder, so that a test sees a temporary file left behind.
    int ForecastFileCount() const
    {
        int n = 0;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path("forecasts"))) {
            (void)entry;
            ++n;
        }
        return n;
    }

    inline static CServiceProcess* s_pService = nullptr;
    inline static std::string s_strHost;
    inline static std::wstring s_strStation;   // Zürich's, found by a search

    CTempFolder m_folder;
    // Built in the test's folder: it is the data folder, with its forecasts folder.
    CWeatherData m_data;
    CLogFile m_log{nullptr};   // off unless a test captures it
    CEnvGuard m_searchHost{"CIRROVAN_SEARCH_HOST", s_strHost.c_str()};
    CEnvGuard m_feedHost{"CIRROVAN_FEED_HOST", s_strHost.c_str()};
    // Loopback requests never go through a proxy of the machine's, unless a test says so.
    CEnvGuard m_httpProxy{"http_proxy", nullptr};
    CEnvGuard m_httpProxyUpper{"HTTP_PROXY", nullptr};
};
