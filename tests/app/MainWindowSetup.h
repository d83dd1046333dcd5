#pragma once

// The world a main-window test runs in: a data object and a log of its own in a
// data folder of its own, holding the stations and forecast files the test asks
// for; the application's resources;
// the clock frozen on 10 December 2026 at 13:00 UTC on a device at UTC; the test
// driver; the portrait screen at zoom 1.

#include "app/CirrovanDlg.h"
#include "platform/testing/FakeClock.h"
#include "model/WeatherData.h"
#include "log/LogFile.h"
#include "platform/Clock.h"
#include "platform/testing/TestDriver.h"
#include "platform/ui/DeviceScreen.h"
#include "res/AppResources.h"
#include "res/Resource.h"

#include "DataFolderCheck.h"

#include "../TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CAppResources::Install();
        CTestDriver::Install();
        CDeviceScreen::Get().SetZoom(1);
        CDeviceScreen::Get().SetOrientation(DMDO_0);
        CDeviceScreen::Get().Resize(240, 320);
        CFakeClock::Set(1796907600LL, 0);
    }

    void TearDown() override
    {
        CTestDriver::ReplaceUrlOpener(nullptr);
        CTestDriver::Uninstall();
        CDeviceScreen::Get().SetZoom(1);
        CDeviceScreen::Get().SetOrientation(DMDO_0);
        CDeviceScreen::Get().Resize(240, 320);
        CFakeClock::Clear();
    }

    // The data object as a new start finds it before anything is read: pointed
    // at the folder, emptied and given the defaults.
    void UseDataFolder(const std::wstring& strFolder)
    {
        CWeatherData& data = m_data;
        data.m_strFolder = strFolder;
        data.m_strSearchFile = strFolder + L"/search_stations.dat";
        std::filesystem::create_directories(CCodePage::Encode(strFolder + L"/forecasts"));
        data.m_searchResults.RemoveAll();
        data.m_stations.RemoveAll();
        data.m_daily.Clear();
        data.m_hourly.Clear();
        data.m_chosenStation = CStation();
        CSettings& s = data.m_settings;
        s.m_strPath = strFolder + L"/settings.dat";
        s.m_nWindUnit = 0;
        s.m_bShowZero = false;
        s.m_nTempUnit = 0;
        s.m_bDisconnect = false;
        for (int v = 0; v < 3; ++v)
            s.m_views[v].ApplyPreset(v);
        s.m_nCurrentView = 0;
        s.m_bDaily = 0;
        s.m_currentStation = CStation();
        s.m_nOrientation = 0;
        s.m_preferredStations.RemoveAll();
    }

    // A station of the list, saved in "stations.dat"; its forecast files are
    // the fixtures named (nullptr: none).
    void AddStation(const wchar_t* pszID, const wchar_t* pszName, const char* pszDaily, const char* pszHourly)
    {
        auto* pStation = new CStation;
        pStation->m_strID = pszID;
        pStation->m_strName = pszName;
        m_data.m_stations.Add(pStation);
        m_data.SaveStations();
        WriteForecasts(pszID, pszDaily, pszHourly);
    }

    void WriteForecasts(const wchar_t* pszID, const char* pszDaily, const char* pszHourly) const
    {
        const std::string id = CCodePage::Encode(pszID);
        if (pszDaily)
            m_temp.Write("forecasts/" + id + "_d.dat", ReadFixture(std::string("app/fixtures/") + pszDaily));
        if (pszHourly)
            m_temp.Write("forecasts/" + id + "_h.dat", ReadFixture(std::string("app/fixtures/") + pszHourly));
    }

    void MakeCurrent(const wchar_t* pszID, const wchar_t* pszName)
    {
        m_data.m_settings.m_currentStation.m_strID = pszID;
        m_data.m_settings.m_currentStation.m_strName = pszName;
        m_data.m_settings.Save();
    }

    // London (both files) is the current station.
    void WithLondon()
    {
        AddStation(LONDON, L"London", "london_daily.xml", "london_hourly.xml");
        MakeCurrent(LONDON, L"London");
    }

    // Runs the main window; the checks run inside it once it is up, then the
    // user quits (unless the checks did). Returns the window's result.
    int RunMainWindow(const std::function<void(CCirrovanDlg&)>& fnChecks)
    {
        CCirrovanDlg dlg(m_data, m_log);
        m_bQuit = false;
        CTestDriver::OnDialogOpen(IDD_CIRROVAN_DIALOG, [&](CDialog*) {
            fnChecks(dlg);
            if (!m_bQuit)
                Quit();
        });
        return dlg.DoModal();
    }

    void Quit()
    {
        m_bQuit = true;
        EXPECT_TRUE(CTestDriver::ChooseMenuItem(ID_PREFERENCES_QUIT));
    }

    // Every file of the data folder, by its path there, with its content.
    std::map<std::string, std::string> Files() const { return FolderFiles(m_temp); }

    static RECT WindowRect(CWnd* pWnd)
    {
        RECT rc = {0, 0, 0, 0};
        if (pWnd)
            pWnd->GetWindowRect(&rc);
        return rc;
    }

    // The screen as the user sees it; kept in CIRROVAN_SHOTS when that is set.
    static void Shot(CBitmap& shot, const std::string& strName)
    {
        ASSERT_TRUE(CTestDriver::GrabScreen(shot));
        if (const char* pszFolder = std::getenv("CIRROVAN_SHOTS")) {
            const std::string path = std::string(pszFolder) + "/" + strName + ".png";
            shot.SavePng(CCodePage::Decode(path));
        }
    }

    CTempFolder m_temp;
    // Built in the test's folder, which is its data folder, as the program's is.
    CWeatherData m_data;
    CLogFile m_log{nullptr};
    bool m_bQuit = false;
};

inline bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::ostream& operator<<(std::ostream& os, const RECT& rc)
{
    return os << "(" << rc.left << ", " << rc.top << ", " << rc.right - rc.left << " x " << rc.bottom - rc.top << ")";
}
