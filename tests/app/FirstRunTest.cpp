// The first run end to end, against the local forecast service: from an empty
// data folder the user adds a station by searching for its place, fetches both
// of its forecasts through the real download dialog and sees its chart; then
// the files that run leaves, and a second run of the same folder that opens on
// that chart with the service gone.
#include "../service/LocalService.h"
#include "platform/testing/FakeClock.h"
#include "MainWindowSetup.h"

#include "app/CirrovanApp.h"
#include "net/DlgDownload.h"
#include "platform/Resources.h"
#include "platform/ui/ListBox.h"

#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

namespace {

// A download dialog as it opened: what it was asked for.
struct DOWNLOADASKED
{
    int nKind;
    std::wstring strArgument;
    std::wstring strMessage;
};

bool operator==(const DOWNLOADASKED& a, const DOWNLOADASKED& b)
{
    return a.nKind == b.nKind && a.strArgument == b.strArgument && a.strMessage == b.strMessage;
}

std::ostream& operator<<(std::ostream& os, const DOWNLOADASKED& d)
{
    return os << d.nKind << " " << CCodePage::Encode(d.strArgument) << " \"" << CCodePage::Encode(d.strMessage)
              << "\"";
}

// Runs the user-interface thread, and whatever modal loops it starts, until
// the condition holds. The limit only stops a test that is stuck.
bool RunUntil(const std::function<bool()>& fnCondition)
{
    const auto stuck = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (!fnCondition()) {
        if (std::chrono::steady_clock::now() > stuck)
            return false;
        CTestDriver::ProcessEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

class FirstRunTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(m_service.IsUp()) << "the service did not start: " << m_service.m_process.m_strFirstLine;
        // The service's forecasts are of the real hour, and so is the program's clock.
        CFakeClock::Clear();
        WatchDownloads();
    }

    // Every download dialog that opens is noted and left to do its work.
    void WatchDownloads()
    {
        CTestDriver::OnDialogOpen(IDD_DOWNLOAD, [this](CDialog* pDlg) {
            WatchDownloads();
            const auto* pDownload = static_cast<CDlgDownload*>(pDlg);
            m_downloads.push_back({pDownload->m_nKind, pDownload->m_strArgument, pDownload->m_strMessage});
            m_opened.push_back(IDD_DOWNLOAD);
        });
    }

    // A dialog the user has no business with in this run: noted and cancelled,
    // so that the test goes on to say so.
    void RefuseDialog(UINT nTemplate)
    {
        CTestDriver::OnDialogOpen(nTemplate, [this, nTemplate](CDialog* pDlg) {
            m_opened.push_back(nTemplate);
            pDlg->EndDialog(IDCANCEL);
        });
    }

    // The program starts as the real one does: the settings read and written
    // back, then the main window. The checks run once it shows, then the user quits.
    void RunProgram(const std::function<void(CCirrovanDlg&)>& fnAtChart)
    {
        CTestDriver::OnDialogOpen(IDD_CIRROVAN_DIALOG, [&](CDialog* pDlg) {
            m_opened.push_back(IDD_CIRROVAN_DIALOG);
            fnAtChart(*static_cast<CCirrovanDlg*>(pDlg));
            EXPECT_TRUE(CTestDriver::ChooseMenuItem(ID_PREFERENCES_QUIT));
        });
        CCirrovanApp app(m_data, m_log);
        EXPECT_FALSE(app.InitInstance());
    }

    // What a user does on a first start: "Add..." in the stations dialog, the
    // place's name in the new station dialog, "Done", "Yes" to going online;
    // the find dialog searches by itself, the user keeps the first place found
    // and confirms the message that it was added; "Done" with it selected in
    // the stations dialog; then "Current" and "Update !" in the select dialog.
    void PlayFirstRun(const std::function<void(CCirrovanDlg&)>& fnAtChart)
    {
        CTestDriver::OnDialogOpen(IDD_STATIONS, [this](CDialog* pDlg) {
            m_opened.push_back(IDD_STATIONS);
            auto* pList = static_cast<CListBox*>(pDlg->GetDlgItem(IDC_STATION_LIST));
            EXPECT_EQ(pList->GetCount(), 1);   // the placeholder line
            EXPECT_EQ(pList->GetCurSel(), LB_ERR);
            EXPECT_TRUE(CTestDriver::ChooseMenuItem(ID_STATIONS_ADD));
            // The station added is the one selected.
            std::wstring strLine;
            EXPECT_EQ(pList->GetCount(), 1);
            EXPECT_EQ(pList->GetCurSel(), 0);
            pList->GetText(0, strLine);
            EXPECT_EQ(strLine, std::wstring(ZURICH) + L" / " + ZURICH_NAME);
            CTestDriver::PressSoftKey(0);
        });
        CTestDriver::OnDialogOpen(IDD_NEW_STATION, [this](CDialog* pDlg) {
            m_opened.push_back(IDD_NEW_STATION);
            pDlg->GetDlgItem(IDC_STATION_TEXT)->SetWindowText(L"Zurich");
            CTestDriver::AnswerNextMessageBox(IDYES);   // "Connection Required"
            CTestDriver::AnswerNextMessageBox(IDOK);    // "New station"
            CTestDriver::PressSoftKey(0);
            CloseIfStillOpen(pDlg);
        });
        CTestDriver::OnDialogOpen(IDD_FIND_STATION, [this](CDialog* pDlg) {
            m_opened.push_back(IDD_FIND_STATION);
            ExpectPlacesListed(pDlg);
            CTestDriver::PressSoftKey(0);
            CloseIfStillOpen(pDlg);
        });
        CTestDriver::OnDialogOpen(IDD_SELECT_STATION, [this](CDialog* pDlg) {
            m_opened.push_back(IDD_SELECT_STATION);
            CTestDriver::Tap(IDC_SELECT_CURRENT);
            CTestDriver::PressSoftKey(0);
            CloseIfStillOpen(pDlg);
        });
        RefuseDialog(IDD_UPDATE_STATION);
        RunProgram(fnAtChart);
    }

    // The same first run as the keyboard plays it: taps only on the soft keys
    // and their menus, never on the field or on "Current". The place is typed
    // as the new station dialog opens; Enter answers every step after it.
    void PlayFirstRunByKeys(const std::function<void(CCirrovanDlg&)>& fnAtChart)
    {
        CTestDriver::OnDialogOpen(IDD_STATIONS, [this](CDialog* pDlg) {
            m_opened.push_back(IDD_STATIONS);
            EXPECT_TRUE(CTestDriver::ChooseMenuItem(ID_STATIONS_ADD));
            CTestDriver::PressKey(VK_RETURN);   // "Done", the place added selected
            CloseIfStillOpen(pDlg);
        });
        CTestDriver::OnDialogOpen(IDD_NEW_STATION, [this](CDialog* pDlg) {
            m_opened.push_back(IDD_NEW_STATION);
            for (UINT vk : {'Z', 'U', 'R', 'I', 'C', 'H'})
                CTestDriver::PressKey(vk);
            CTestDriver::ActOnNextMessageBox([] { CTestDriver::PressKey(VK_RETURN); });   // "Yes"
            CTestDriver::PressKey(VK_RETURN);
            CloseIfStillOpen(pDlg);
        });
        CTestDriver::OnDialogOpen(IDD_FIND_STATION, [this](CDialog* pDlg) {
            m_opened.push_back(IDD_FIND_STATION);
            ExpectPlacesListed(pDlg);
            // "... has been added", once the place is picked.
            CTestDriver::ActOnNextMessageBox([] { CTestDriver::PressKey(VK_RETURN); });
            CTestDriver::PressKey(VK_RETURN);
            CloseIfStillOpen(pDlg);
        });
        CTestDriver::OnDialogOpen(IDD_SELECT_STATION, [this](CDialog* pDlg) {
            m_opened.push_back(IDD_SELECT_STATION);
            CTestDriver::PressKey(VK_RETURN);   // "Update !" with the station ticked for the user
            CloseIfStillOpen(pDlg);
        });
        RefuseDialog(IDD_UPDATE_STATION);
        RunProgram(fnAtChart);
    }

    // The search of the find dialog starts by itself once the dialog shows, and
    // lists what it found, the first place selected.
    static void ExpectPlacesListed(CDialog* pDlg)
    {
        auto* pList = static_cast<CListBox*>(pDlg->GetDlgItem(IDC_STATION_LIST));
        EXPECT_TRUE(RunUntil([&] {
            return pList->GetCurSel() == 0 && pDlg->GetDlgItem(IDC_FIND_SEARCH)->IsWindowEnabled();
        })) << "the search never listed a place";
    }

    // A dialog that the user's steps should have closed and did not is
    // cancelled, so that a failing test ends instead of waiting for a user.
    static void CloseIfStillOpen(CDialog* pDlg)
    {
        if (pDlg->m_nModalResult != -1)
            return;
        ADD_FAILURE() << "dialog " << pDlg->m_nIDTemplate << " stayed open";
        pDlg->EndDialog(IDCANCEL);
    }

    // The chart of the current station is composed and on the screen: the
    // hour-by-hour chart's image with the forecast's icons, shown from its
    // left edge, with the temperature curve drawn in it.
    void ExpectChartShown(CCirrovanDlg& dlg, const char* pszShot)
    {
        const CWndGraph& graph = dlg.m_wndGraph;
        ASSERT_TRUE(graph.m_chartImage.IsValid());
        const SIZE size = graph.m_chartImage.GetSize();
        EXPECT_EQ(size.cx, 504);
        EXPECT_FALSE(graph.m_planner.IconBoxes().empty());
        int nTemperature = 0;
        for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x)
                nTemperature += graph.m_chartImage.GetPixel(x, y) == graph.m_crTemp;
        EXPECT_GT(nTemperature, 0);

        CBitmap shot;
        Shot(shot, pszShot);
        const RECT rcGraph = WindowRect(&dlg.m_wndGraph);
        const int x0 = rcGraph.left + 1 + graph.m_rcChart.left;
        const int y0 = SCREEN_BAR_HEIGHT + rcGraph.top + 1 + graph.m_rcChart.top;
        int nDiffering = 0;
        for (int y = 0; y < graph.m_rcChart.bottom - graph.m_rcChart.top && y < size.cy; ++y)
            for (int x = 0; x < graph.m_rcChart.right - graph.m_rcChart.left; ++x)
                nDiffering += shot.GetPixel(x0 + x, y0 + y) != graph.m_chartImage.GetPixel(x, y);
        EXPECT_EQ(nDiffering, 0);
    }

    static void ExpectStationListed(CCirrovanDlg& dlg)
    {
        EXPECT_EQ(dlg.m_comboStations.GetCount(), 1);
        EXPECT_EQ(dlg.m_comboStations.GetCurSel(), 0);
        std::wstring strItem;
        dlg.m_comboStations.GetLBText(0, strItem);
        EXPECT_EQ(strItem, ZURICH_NAME);
    }

    CLocalService m_service;
    std::vector<UINT> m_opened;
    std::vector<DOWNLOADASKED> m_downloads;
};

} // namespace

TEST_F(FirstRunTest, AStationFoundByItsPlaceIsAddedUpdatedAndCharted)
{
    PlayFirstRun([&](CCirrovanDlg& dlg) {
        EXPECT_EQ(m_opened, (std::vector<UINT>{IDD_STATIONS, IDD_NEW_STATION, IDD_FIND_STATION, IDD_DOWNLOAD,
                                               IDD_SELECT_STATION, IDD_DOWNLOAD, IDD_DOWNLOAD, IDD_CIRROVAN_DIALOG}));
        ExpectStationListed(dlg);
        // Fetched a moment ago, by the program's own clock.
        EXPECT_EQ(dlg.m_strHeader.rfind(L"Hourly (", 0), 0u) << CCodePage::Encode(dlg.m_strHeader);
        EXPECT_NE(dlg.m_strHeader.find(L" m old)"), std::wstring::npos) << CCodePage::Encode(dlg.m_strHeader);
        ExpectChartShown(dlg, "first_run_end_to_end");
    });

    EXPECT_EQ(m_downloads, (std::vector<DOWNLOADASKED>{
                               {DOWNLOAD_SEARCH, L"Zurich", L"Search stations for 'Zurich'..."},
                               {DOWNLOAD_DAILY, ZURICH, std::wstring(L"Search daily forecasts for ") + ZURICH_NAME},
                               {DOWNLOAD_HOURLY, ZURICH,
                                std::wstring(L"Search hour-by-hour forecasts for ") + ZURICH_NAME}}));
    // The service saw exactly these: one search, and for the station's path the
    // daily and the hour-by-hour request the dialogs above asked for.
    EXPECT_EQ(m_service.Requests(), "1 /search/search\n2 /weather/local/" + CCodePage::Encode(ZURICH) + "\n");

    const std::vector<MESSAGEBOXCALL>& boxes = CTestDriver::MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].strText, CResources::LoadString(IDS_CONNECT_TO_SEARCH));
    EXPECT_EQ(boxes[0].strCaption, L"Connection Required");
    EXPECT_EQ(boxes[1].strText,
              std::wstring(L"'") + ZURICH + L"' (" + ZURICH_NAME + L") has been added to the stations list.");
    EXPECT_EQ(boxes[1].strCaption, L"New station");

    const std::string id = CCodePage::Encode(ZURICH);
    EXPECT_EQ(Names(Files()), (std::vector<std::string>{"forecasts/" + id + "_d.dat", "forecasts/" + id + "_h.dat",
                                                        "search_stations.dat", "settings.dat", "stations.dat"}));
    ExpectFirstRunFolder(m_temp);
}

// The first run by the keyboard: what is typed on opening the new station
// dialog is the place, Enter goes on at every step, and the update dialog
// offers the new station ticked.
TEST_F(FirstRunTest, TheFirstRunPlayedByTheKeysEndsOnTheChart)
{
    PlayFirstRunByKeys([&](CCirrovanDlg& dlg) {
        EXPECT_EQ(m_opened, (std::vector<UINT>{IDD_STATIONS, IDD_NEW_STATION, IDD_FIND_STATION, IDD_DOWNLOAD,
                                               IDD_SELECT_STATION, IDD_DOWNLOAD, IDD_DOWNLOAD, IDD_CIRROVAN_DIALOG}));
        ExpectStationListed(dlg);
        EXPECT_EQ(dlg.m_strHeader.rfind(L"Hourly (", 0), 0u) << CCodePage::Encode(dlg.m_strHeader);
        ExpectChartShown(dlg, "first_run_by_keys");
    });
    ASSERT_FALSE(m_downloads.empty());
    EXPECT_EQ(m_downloads[0].strArgument, L"zurich");
    const std::vector<MESSAGEBOXCALL>& boxes = CTestDriver::MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].nAnswer, IDYES);
    EXPECT_EQ(boxes[1].strCaption, L"New station");
    EXPECT_EQ(m_service.Requests(), "1 /search/search\n2 /weather/local/" + CCodePage::Encode(ZURICH) + "\n");
}

// The next start of the same folder needs no network: it opens on the chart of
// the station it showed last, from its files, and changes none of them.
TEST_F(FirstRunTest, ASecondRunOpensOnTheChartWithoutTheNetwork)
{
    PlayFirstRun([](CCirrovanDlg&) {});
    ASSERT_EQ(m_data.m_stations.GetCount(), 1) << "the first run did not add the station";
    const std::map<std::string, std::string> before = Files();
    EXPECT_EQ(m_service.Stop(), 0);

    // A new process: the data object as its construction leaves it, the
    // settings still to be read by the start-up routine.
    UseDataFolder(CCodePage::Decode(m_temp.m_path));
    m_data.LoadStations();
    m_opened.clear();
    m_downloads.clear();
    CTestDriver::MessageBoxes().clear();
    for (UINT nTemplate : {IDD_STATIONS, IDD_NEW_STATION, IDD_SELECT_STATION, IDD_UPDATE_STATION})
        RefuseDialog(nTemplate);
    // Three hours after the hour-by-hour forecast was made, in the station's time.
    CHourlyForecast hourly;
    hourly.Load(m_temp.WidePath("forecasts/" + CCodePage::Encode(ZURICH) + "_h.dat"));
    ASSERT_FALSE(hourly.IsEmpty());
    const double dUtcDays = hourly.m_dtLastUpdate.m_dt - hourly.m_nZone / 24.0 + 3.0 / 24.0;
    CFakeClock::Set(std::llround((dUtcDays - 25569.0) * 86400.0), 0);

    RunProgram([&](CCirrovanDlg& dlg) {
        EXPECT_EQ(m_opened, (std::vector<UINT>{IDD_CIRROVAN_DIALOG}));
        ExpectStationListed(dlg);
        EXPECT_EQ(dlg.m_strHeader, L"Hourly (3 h old)");
        EXPECT_EQ(m_data.m_hourly.m_strLocation, ZURICH_NAME);
        EXPECT_EQ(m_data.m_daily.m_strLocation, ZURICH_NAME);
        ExpectChartShown(dlg, "second_run_offline");
    });
    EXPECT_TRUE(m_downloads.empty());
    EXPECT_TRUE(CTestDriver::MessageBoxes().empty());
    // The start rewrote the settings with what they held.
    EXPECT_EQ(Files(), before);
}
