// A first run of the program, played by the test driver, for machines without
// a display: it adds a station by searching for its place, updates it, and shows
// the hour-by-hour and daily charts in portrait and landscape, saving every
// screen as a PNG. It runs the program's own application object, main window
// and dialogs against the configured forecast service.
//
//     cirrovan-tour <folder for the screens> [place to search]
//
// CIRROVAN_TOUR_SIZE=360x720 plays it on a screen of that size (in portrait).
//
// Its data folder is its executable's, like the program's, and a first run needs
// an empty one: run a fresh copy from a folder of its own (scripts/run does).

#include "app/CirrovanApp.h"
#include "app/ForecastBridge.h"
#include "model/WeatherData.h"
#include "log/LogFile.h"
#include "platform/CodePage.h"
#include "platform/Translate.h"
#include "platform/testing/TestDriver.h"
#include "platform/ui/DeviceScreen.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/WinApp.h"
#include "res/Resource.h"

#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Long enough for any answer of a forecast service; a step that waits longer
// is stuck, and the tour says where.
const int kStepSeconds = 60;
const int kTickMilliseconds = 50;

struct Step
{
    const char* pszWhat;                  // what the user sees at this point
    const char* pszShot;                  // the screen's file, or nullptr
    std::function<bool()> fnReady;        // the screen is there
    std::function<void()> fnAct;          // what the user does next
};

std::string g_folder;
std::vector<Step> g_steps;
size_t g_nStep = 0;
const char* g_pszActing = nullptr;   // the step whose action runs
std::chrono::steady_clock::time_point g_stepStart;

void Shot(const char* pszName)
{
    const std::string path = g_folder + "/" + pszName;
    if (!CTestDriver::SaveScreenshot(CCodePage::Decode(path)))
        std::fprintf(stderr, "cirrovan-tour: could not write %s\n", path.c_str());
}

UINT ActiveDialog()
{
    CDialog* pDlg = CTestDriver::GetActiveDialog();
    return pDlg ? pDlg->m_nIDTemplate : 0;
}

CWnd* Control(UINT nID)
{
    CDialog* pDlg = CTestDriver::GetActiveDialog();
    return pDlg ? pDlg->GetDlgItem(nID) : nullptr;
}

int ListCount()
{
    auto* pList = static_cast<CListBox*>(Control(IDC_STATION_LIST));
    return pList ? pList->GetCount() : 0;
}

int ListSelection()
{
    auto* pList = static_cast<CListBox*>(Control(IDC_STATION_LIST));
    return pList ? pList->GetCurSel() : LB_ERR;
}

// The main window showing a chart whose header begins so.
// The header's format ("Hourly (%s)") in the user's language: the tour plays
// the program in whatever language it speaks.
bool MainShows(const char* pszFormat)
{
    CWnd* pHeader = ActiveDialog() == IDD_CIRROVAN_DIALOG ? Control(IDC_HEADER) : nullptr;
    const std::wstring strFormat = Tr(pszFormat);
    return pHeader && pHeader->GetWindowText().rfind(strFormat.substr(0, strFormat.find(L"%s")), 0) == 0;
}

void Stuck(const char* pszWhy)
{
    const char* pszWhere = g_pszActing ? g_pszActing : (g_nStep < g_steps.size() ? g_steps[g_nStep].pszWhat : "the end");
    std::printf("The tour stopped at \"%s\": %s. The screen then is in stuck.png.\n", pszWhere, pszWhy);
    Shot("stuck.png");
    std::fflush(stdout);
    // The program's modal loops are still running; nothing is left to save.
    _exit(1);
}

// Runs on every tick, in whichever modal loop is running: the next tick is due
// before the step acts, since its action may open a dialog and wait in it.
void Tick()
{
    QTimer::singleShot(kTickMilliseconds, Tick);
    if (g_nStep >= g_steps.size())
        return;
    Step& step = g_steps[g_nStep];
    if (!step.fnReady()) {
        if (std::chrono::steady_clock::now() - g_stepStart > std::chrono::seconds(kStepSeconds)) {
            g_pszActing = nullptr;
            Stuck("it never came");
        }
        return;
    }
    std::printf("  %zu/%zu %s\n", g_nStep + 1, g_steps.size(), step.pszWhat);
    std::fflush(stdout);
    if (step.pszShot)
        Shot(step.pszShot);
    ++g_nStep;
    g_stepStart = std::chrono::steady_clock::now();
    if (step.fnAct) {
        g_pszActing = step.pszWhat;
        step.fnAct();
        g_pszActing = nullptr;
    }
}

void PlanTour(const std::wstring& strPlace)
{
    g_steps = {
        {"the first start asks for a station", "01-stations.png", [] { return ActiveDialog() == IDD_STATIONS; },
         [] {
             if (!CTestDriver::ChooseMenuItem(ID_STATIONS_ADD))
                 Stuck("the stations dialog offers no \"Add...\"");
         }},
        {"a place to search for", nullptr, [] { return ActiveDialog() == IDD_NEW_STATION; },
         [strPlace] {
             if (CWnd* pText = Control(IDC_STATION_TEXT))
                 pText->SetWindowText(strPlace);
             Shot("02-new-station.png");
             // Not a station ID: the program asks before it goes online.
             CTestDriver::AnswerNextMessageBox(IDYES);
             CTestDriver::ShowNextMessageBox(CCodePage::Decode(g_folder + "/03-search-question.png"));
             CTestDriver::PressSoftKey(0);
         }},
        {"the places found", "04-search-results.png",
         [] { return ActiveDialog() == IDD_FIND_STATION && ListSelection() >= 0 && ListCount() > 0; },
         [] {
             CTestDriver::ShowNextMessageBox(CCodePage::Decode(g_folder + "/05-station-added.png"));
             CTestDriver::PressSoftKey(0);
         }},
        {"the new station in the list", "06-stations.png",
         [] { return ActiveDialog() == IDD_STATIONS && ListSelection() >= 0; },
         [] { CTestDriver::PressSoftKey(0); }},
        {"its forecasts to fetch", nullptr, [] { return ActiveDialog() == IDD_SELECT_STATION; },
         [] {
             CTestDriver::Tap(IDC_SELECT_CURRENT);
             Shot("07-update.png");
             CTestDriver::PressSoftKey(0);
         }},
        {"the hour-by-hour chart", "08-hourly-portrait.png", [] { return MainShows("Hourly (%s)"); },
         [] { CTestDriver::Tap(IDC_DAILY_HOURLY); }},
        {"the daily chart", "09-daily-portrait.png", [] { return MainShows("Daily (%s)"); },
         [] { CTestDriver::ChooseMenuItem(ID_PREFERENCES_ORIENTATION); }},
        {"the daily chart in landscape", "10-daily-landscape.png",
         [] { return MainShows("Daily (%s)") && GetDisplayOrientation() == DMDO_270; },
         [] { CTestDriver::Tap(IDC_DAILY_HOURLY); }},
        {"the hour-by-hour chart in landscape", "11-hourly-landscape.png", [] { return MainShows("Hourly (%s)"); },
         [] {
             CTestDriver::PressSoftKey(1);
             Shot("12-menu.png");
             CTestDriver::TapOpenMenuItem(Tr("Quit"));
         }},
    };
}

} // namespace

int main(int argc, char** argv)
{
    // The program's data object and log, built as the program builds them.
    CWeatherData data;
    CLogFile log(L"log.txt");
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <folder for the screens> [place to search]\n", argv[0]);
        return 2;
    }
    g_folder = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(g_folder, ec);
    if (!std::filesystem::is_directory(g_folder)) {
        std::fprintf(stderr, "cirrovan-tour: cannot make the folder %s\n", g_folder.c_str());
        return 2;
    }
    g_folder = std::filesystem::absolute(g_folder).string();
    if (data.m_stations.GetCount() > 0) {
        std::fprintf(stderr, "cirrovan-tour: %s already has stations; the tour is a first start: run a copy"
                             " of the tour from an empty folder\n",
                     CCodePage::Encode(data.m_strFolder).c_str());
        return 2;
    }
    PlanTour(CCodePage::Decode(argc > 2 ? argv[2] : "Zurich"));

    std::printf("A first start of Cirrovan, data in %s:\n", CCodePage::Encode(data.m_strFolder).c_str());
    // The service inside the program, as the installed program runs it.
    CForecastBridge bridge;
    bridge.Start(data.m_strFolder);
    CTestDriver::Install();
    // Another phone's screen, in portrait ("360x720"); landscape swaps it.
    int nWidth = 0;
    int nHeight = 0;
    if (const char* pszSize = std::getenv("CIRROVAN_TOUR_SIZE"))
        if (std::sscanf(pszSize, "%dx%d", &nWidth, &nHeight) == 2 && nWidth > 0 && nHeight > 0)
            CDeviceScreen::Get().Resize(nWidth, nHeight);
    g_stepStart = std::chrono::steady_clock::now();
    QTimer::singleShot(kTickMilliseconds, Tick);
    CCirrovanApp app(data, log);
    AfxWinMain();
    if (g_nStep < g_steps.size())
        Stuck("the program ended early");
    std::printf("The screens are in %s:\n", g_folder.c_str());
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(g_folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    for (const std::string& name : names)
        std::printf("  %s\n", name.c_str());
    return 0;
}
