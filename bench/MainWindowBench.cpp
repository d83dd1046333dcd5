// The main window as the user feels it: switching stations (both forecast files
// loaded, the chart composed and painted) and one step of a drag (a stylus move
// on the desktop's window to the painted frame, the scroll bar following), at
// zoom 1, 2 and 3.

#include "app/CirrovanDlg.h"
#include "model/WeatherData.h"
#include "log/LogFile.h"
#include "platform/CodePage.h"
#include "platform/testing/TestDriver.h"
#include "platform/ui/DeviceScreen.h"
#include "res/AppResources.h"
#include "res/Resource.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace {

// A data object of the benchmark's own, built for the benchmark's folder and
// pointed at a folder of its own with two stations that have both forecast files.
class CDataFolderForBench
{
public:
    CDataFolderForBench()
    {
        char buffer[] = "/tmp/cirrovan-bench-XXXXXX";
        m_path = mkdtemp(buffer) ? buffer : "";
        const std::wstring folder = CCodePage::Decode(m_path);
        std::filesystem::create_directory(m_path + "/forecasts");
        m_data.m_strFolder = folder;
        m_data.m_strSearchFile = folder + L"/search_stations.dat";
        m_data.m_settings.m_strPath = folder + L"/settings.dat";
        m_data.m_stations.RemoveAll();
        for (const char* pszID : {"USNY0996", "USNY0997"}) {
            const std::string data = CIRROVAN_BENCH_DATA;
            std::filesystem::copy_file(data + "/daily.xml", m_path + "/forecasts/" + pszID + "_d.dat");
            std::filesystem::copy_file(data + "/hourly.xml", m_path + "/forecasts/" + pszID + "_h.dat");
            auto* pStation = new CStation;
            pStation->m_strID = CCodePage::Decode(pszID);
            pStation->m_strName = L"New York, NY";
            m_data.m_stations.Add(pStation);
        }
        m_data.m_settings.m_currentStation = *m_data.m_stations.GetAt(0);
    }
    ~CDataFolderForBench() { std::filesystem::remove_all(m_path); }

    std::string m_path;
    CWeatherData m_data;
};

// Runs the work inside the main window, then quits it.
void WithMainWindow(const std::function<void(CCirrovanDlg&)>& fnWork)
{
    CAppResources::Install();
    CTestDriver::Install();
    CDataFolderForBench folder;
    CLogFile log(nullptr);
    CCirrovanDlg dlg(folder.m_data, log);
    CTestDriver::OnDialogOpen(IDD_CIRROVAN_DIALOG, [&](CDialog*) {
        CTestDriver::ProcessEvents();
        fnWork(dlg);
        CTestDriver::ChooseMenuItem(ID_PREFERENCES_QUIT);
    });
    dlg.DoModal();
    CTestDriver::Uninstall();
}

void BM_SwitchStation(benchmark::State& state)
{
    WithMainWindow([&](CCirrovanDlg& dlg) {
        CDeviceScreen::Get().SetZoom(static_cast<int>(state.range(0)));
        dlg.m_wndGraph.UpdateWindow();
        int nStation = 0;
        for (auto _ : state) {
            nStation = 1 - nStation;
            dlg.m_comboStations.SetCurSel(nStation);
            dlg.OnCommand(IDC_STATION_COMBO, CBN_SELCHANGE);
            dlg.m_wndGraph.UpdateWindow();
        }
        CDeviceScreen::Get().SetZoom(1);
    });
}
BENCHMARK(BM_SwitchStation)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The same without the save of the settings a switch makes (the store's save
// waits for the disk), to tell the two apart.
void BM_SwitchStationWithoutSaving(benchmark::State& state)
{
    WithMainWindow([&](CCirrovanDlg& dlg) {
        CDeviceScreen::Get().SetZoom(static_cast<int>(state.range(0)));
        dlg.m_wndGraph.UpdateWindow();
        int nStation = 0;
        for (auto _ : state) {
            nStation = 1 - nStation;
            dlg.m_data.m_settings.m_currentStation = *dlg.m_data.m_stations.GetAt(nStation);
            dlg.LoadCurrentForecasts();
            dlg.UpdateHeader();
            dlg.RefreshChart(true);
            dlg.m_wndGraph.UpdateWindow();
        }
        CDeviceScreen::Get().SetZoom(1);
    });
}
BENCHMARK(BM_SwitchStationWithoutSaving)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Back and forth over the daily chart, a pixel of the device per step; the
// stylus is in device pixels at any zoom.
void BM_DragStep(benchmark::State& state)
{
    const int nZoom = static_cast<int>(state.range(0));
    WithMainWindow([&](CCirrovanDlg& dlg) {
        CDeviceScreen::Get().SetZoom(nZoom);
        CTestDriver::PressKey(VK_DOWN);
        CTestDriver::ProcessEvents();
        RECT rc;
        dlg.m_wndGraph.GetWindowRect(&rc);
        const int y = SCREEN_BAR_HEIGHT + rc.top + 100;
        const int x = rc.left + 150;
        CTestDriver::StylusInWindow(WM_LBUTTONDOWN, POINT{x, y});
        int nStep = 0;
        for (auto _ : state) {
            nStep = (nStep + 1) % 200;
            const int dx = nStep < 100 ? nStep : 200 - nStep;
            CTestDriver::StylusInWindow(WM_MOUSEMOVE, POINT{x - dx, y});
            CTestDriver::ProcessEvents();
            CTestDriver::ProcessEvents();
        }
        CTestDriver::StylusInWindow(WM_LBUTTONUP, POINT{x, y});
        CDeviceScreen::Get().SetZoom(1);
    });
}
BENCHMARK(BM_DragStep)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

} // namespace
