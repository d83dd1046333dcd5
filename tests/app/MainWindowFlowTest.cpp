// Station switching, the first-run flow, the display orientation, the start-up
// routine, and which files each action writes. The dialogs the main window
// opens are scripted to do what the real ones do to the data.
#include "MainWindowSetup.h"

#include "app/CirrovanApp.h"
#include "platform/Resources.h"

#include <sys/stat.h>
#include <vector>

namespace {

// What the stations dialog leaves after the user added a station by its ID
// (which has no name yet) and pressed "Done".
void AddByIdAndChoose(CWeatherData& data, CDialog* pDlg, const wchar_t* pszID)
{
    auto* pStation = new CStation;
    pStation->m_strID = pszID;
    data.m_stations.Add(pStation);
    data.SaveStations();
    data.m_chosenStation = *pStation;
    pDlg->EndDialog(IDOK);
}

bool Contains(const std::string& strText, const std::string& strPart)
{
    return strText.find(strPart) != std::string::npos;
}

} // namespace

TEST_F(MainWindowTest, FirstRunAddsAStationUpdatesItAndShowsItsChart)
{
    std::vector<UINT> opened;
    CTestDriver::OnDialogOpen(IDD_STATIONS, [&](CDialog* pDlg) {
        opened.push_back(pDlg->m_nIDTemplate);
        AddByIdAndChoose(m_data, pDlg, ZURICH);
    });
    // The downloads write the files and give the station the forecast's place name.
    CTestDriver::OnDialogOpen(IDD_SELECT_STATION, [&](CDialog* pDlg) {
        opened.push_back(pDlg->m_nIDTemplate);
        WriteForecasts(ZURICH, "zurich_daily.xml", "zurich_hourly.xml");
        m_data.m_stations.GetAt(0)->m_strName = L"Z\u00fcrich, Switzerland";
        m_data.SaveStations();
        pDlg->EndDialog(IDOK);
    });
    CTestDriver::OnDialogOpen(IDD_UPDATE_STATION, [&](CDialog* pDlg) {
        opened.push_back(pDlg->m_nIDTemplate);
        pDlg->EndDialog(IDCANCEL);
    });
    RunMainWindow([&](CCirrovanDlg& dlg) {
        EXPECT_EQ(opened, (std::vector<UINT>{IDD_STATIONS, IDD_SELECT_STATION}));
        // The station keeps being the current one although its name came later.
        EXPECT_EQ(m_data.m_settings.m_currentStation.m_strID, ZURICH);
        EXPECT_EQ(m_data.m_settings.m_currentStation.m_strName, L"Z\u00fcrich, Switzerland");
        EXPECT_EQ(dlg.m_comboStations.GetCurSel(), 0);
        std::wstring strItem;
        dlg.m_comboStations.GetLBText(0, strItem);
        EXPECT_EQ(strItem, L"Z\u00fcrich, Switzerland");
        EXPECT_EQ(dlg.m_strHeader, L"Hourly (1 h old)");
        EXPECT_FALSE(m_data.m_hourly.IsEmpty());
        EXPECT_TRUE(Contains(m_temp.Read("settings.dat"), "<station id=\"CHZU3595\">"));
        CBitmap shot;
        Shot(shot, "first_run_chart");
    });
}

TEST_F(MainWindowTest, FirstRunWithoutAChosenStationShowsAnEmptyWindow)
{
    std::vector<UINT> opened;
    for (UINT nID : {IDD_SELECT_STATION, IDD_UPDATE_STATION})
        CTestDriver::OnDialogOpen(nID, [&](CDialog* pDlg) {
            opened.push_back(pDlg->m_nIDTemplate);
            pDlg->EndDialog(IDCANCEL);
        });
    CTestDriver::OnDialogOpen(IDD_STATIONS, [&](CDialog* pDlg) {
        opened.push_back(pDlg->m_nIDTemplate);
        pDlg->EndDialog(IDOK);   // "Done" with an empty list: the chosen station is empty
    });
    RunMainWindow([&](CCirrovanDlg& dlg) {
        EXPECT_EQ(opened, (std::vector<UINT>{IDD_STATIONS}));
        EXPECT_EQ(dlg.m_comboStations.GetCount(), 0);
        EXPECT_EQ(dlg.m_strHeader, L"");
        CBitmap shot;
        Shot(shot, "first_run_empty");
        // The chart's place says how to add a station.
        CWnd* pHint = dlg.GetDlgItem(IDC_EMPTY_HINT);
        ASSERT_NE(pHint, nullptr);
        EXPECT_TRUE(pHint->IsWindowVisible());
        EXPECT_FALSE(dlg.m_wndGraph.IsWindowVisible());
        EXPECT_EQ(pHint->GetWindowText(), CResources::LoadString(IDS_NO_STATION_HINT));
        const RECT rcChart = WindowRect(&dlg.m_wndGraph);
        EXPECT_EQ(shot.GetPixel(rcChart.left + 100, SCREEN_BAR_HEIGHT + rcChart.top + 100), RGB(255, 255, 255));
    });
    EXPECT_TRUE(Contains(m_temp.Read("settings.dat"), "<station id=\"\"></station>")
                || Contains(m_temp.Read("settings.dat"), "<station id=\"\" />"));
}

TEST_F(MainWindowTest, AStationWithOnlyAnHourlyFileIsNotOfferedAnUpdate)
{
    AddStation(LONDON, L"London", nullptr, "london_hourly.xml");
    MakeCurrent(LONDON, L"London");
    m_data.m_daily.Load(CCodePage::Decode(std::string(CIRROVAN_FIXTURES) + "/app/fixtures/zurich_daily.xml"));
    bool bOffered = false;
    CTestDriver::OnDialogOpen(IDD_UPDATE_STATION, [&](CDialog* pDlg) {
        bOffered = true;
        pDlg->EndDialog(IDCANCEL);
    });
    RunMainWindow([&](CCirrovanDlg& dlg) {
        EXPECT_FALSE(bOffered);
        EXPECT_EQ(dlg.m_strHeader, L"Hourly (1 h old)");
        // The daily forecast of before is gone, so the daily header is empty.
        CTestDriver::PressKey(VK_DOWN);
        EXPECT_TRUE(m_data.m_daily.IsEmpty());
        EXPECT_EQ(dlg.m_strHeader, L"");
        // The empty chart says why, and what to do, instead of standing blank.
        CWnd* pHint = dlg.GetDlgItem(IDC_EMPTY_HINT);
        ASSERT_NE(pHint, nullptr);
        EXPECT_TRUE(pHint->IsWindowVisible());
        EXPECT_FALSE(dlg.m_wndGraph.IsWindowVisible());
        EXPECT_EQ(pHint->GetWindowText(), L"No daily forecast for London yet.\n\nTo get one, tap on the update "
                                          L"button (the two arrows) once a connection is up.");
        CBitmap shot;
        Shot(shot, "empty_chart_daily");
        CTestDriver::PressKey(VK_DOWN);
        EXPECT_FALSE(pHint->IsWindowVisible());
        EXPECT_TRUE(dlg.m_wndGraph.IsWindowVisible());
    });
}

// A new station without files: the update is offered at once; cancelled, both
// forecasts are cleared and the header is empty.
TEST_F(MainWindowTest, ANewStationWithoutFilesIsOfferedAnUpdate)
{
    WithLondon();
    RunMainWindow([&](CCirrovanDlg& dlg) {
        EXPECT_FALSE(m_data.m_daily.IsEmpty());
        bool bOffered = false;
        CTestDriver::OnDialogOpen(IDD_NEW_STATION, [this](CDialog* pDlg) { AddByIdAndChoose(m_data, pDlg, ZURICH); });
        CTestDriver::OnDialogOpen(IDD_UPDATE_STATION, [&](CDialog* pDlg) {
            bOffered = true;
            pDlg->EndDialog(IDCANCEL);
        });
        EXPECT_TRUE(CTestDriver::ChooseMenuItem(ID_STATIONS_NEW));
        EXPECT_TRUE(bOffered);
        EXPECT_EQ(m_data.m_settings.m_currentStation.m_strID, ZURICH);
        EXPECT_EQ(dlg.m_comboStations.GetCurSel(), 1);
        EXPECT_TRUE(m_data.m_daily.IsEmpty());
        EXPECT_TRUE(m_data.m_hourly.IsEmpty());
        EXPECT_EQ(dlg.m_strHeader, L"");
    });
}

// A station added by its ID is listed by the name its first download gave it
// as soon as the update offered for it is over.
TEST_F(MainWindowTest, AStationAddedByItsIdIsListedByItsNameOnceItsUpdateNamedIt)
{
    WithLondon();
    RunMainWindow([&](CCirrovanDlg& dlg) {
        CTestDriver::OnDialogOpen(IDD_NEW_STATION, [this](CDialog* pDlg) { AddByIdAndChoose(m_data, pDlg, ZURICH); });
        CTestDriver::OnDialogOpen(IDD_UPDATE_STATION, [&](CDialog* pDlg) {
            WriteForecasts(ZURICH, "zurich_daily.xml", "zurich_hourly.xml");
            m_data.m_stations.GetAt(1)->m_strName = L"Z\u00fcrich";
            m_data.m_settings.m_currentStation.m_strName = L"Z\u00fcrich";
            m_data.SaveStations();
            pDlg->EndDialog(IDOK);
        });
        EXPECT_TRUE(CTestDriver::ChooseMenuItem(ID_STATIONS_NEW));
        std::wstring strItem;
        dlg.m_comboStations.GetLBText(1, strItem);
        EXPECT_EQ(strItem, L"Z\u00fcrich");
        EXPECT_EQ(dlg.m_comboStations.GetCurSel(), 1);
        EXPECT_EQ(dlg.m_strHeader, L"Hourly (1 h old)");
        EXPECT_FALSE(dlg.GetDlgItem(IDC_EMPTY_HINT)->IsWindowVisible());
    });
}

// After an update of several stations the store holds the forecast downloaded
// last; the chart under the current station's name shows that station's own.
TEST_F(MainWindowTest, AfterAnUpdateTheCurrentStationsOwnForecastIsShown)
{
    WithLondon();
    AddStation(ZURICH, L"Z\u00fcrich", "zurich_daily.xml", "zurich_hourly.xml");
    RunMainWindow([&](CCirrovanDlg& dlg) {
        dlg.ScrollTo(60);
        CTestDriver::OnDialogOpen(IDD_SELECT_STATION, [this](CDialog* pDlg) {
            m_data.LoadDailyForecast(ZURICH);
            m_data.LoadHourlyForecast(ZURICH);
            pDlg->EndDialog(IDOK);
        });
        CTestDriver::PressKey(VK_RETURN);
        EXPECT_EQ(m_data.m_hourly.m_strLocation, L"London, Britain (UK)");
        EXPECT_EQ(m_data.m_daily.m_strLocation, L"London, Britain (UK)");
        EXPECT_EQ(dlg.m_comboStations.GetCurSel(), 0);
        EXPECT_EQ(dlg.m_scrollBar.GetScrollPos(), 0);
        EXPECT_EQ(dlg.m_wndGraph.m_nScroll, 0);
    });
}

TEST_F(MainWindowTest, PickingAStationSwitchesToItEvenWhenItIsTheCurrentOne)
{
    WithLondon();
    AddStation(ZURICH, L"Z\u00fcrich", "zurich_daily.xml", "zurich_hourly.xml");
    RunMainWindow([&](CCirrovanDlg& dlg) {
        CTestDriver::SelectItem(IDC_STATION_COMBO, 1);
        EXPECT_EQ(m_data.m_settings.m_currentStation.m_strID, ZURICH);
        EXPECT_EQ(m_data.m_hourly.m_strLocation, L"Z\u00fcrich, Switzerland");
        EXPECT_TRUE(Contains(m_temp.Read("settings.dat"), "<station id=\"CHZU3595\">"));

        // The same station again still reloads, rebuilds and puts the bar back.
        dlg.ScrollTo(100);
        m_data.m_hourly.Clear();
        std::remove(m_temp.Path("settings.dat").c_str());
        CTestDriver::SelectItem(IDC_STATION_COMBO, 1);
        EXPECT_FALSE(m_data.m_hourly.IsEmpty());
        EXPECT_TRUE(m_temp.Exists("settings.dat"));
        EXPECT_EQ(dlg.m_scrollBar.GetScrollPos(), 0);
        EXPECT_EQ(dlg.m_wndGraph.m_nScroll, 0);
    });
}

// The stored orientation applies while the window runs; Quit gives the display
// back the one it had.
TEST_F(MainWindowTest, TheStoredOrientationAppliesUntilQuit)
{
    const struct
    {
        int nAtStart;
        int nStored;
    } cases[] = {{DMDO_90, DMDO_0}, {DMDO_0, DMDO_270}};
    WithLondon();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nStored);
        CDeviceScreen::Get().SetOrientation(c.nAtStart);
        m_data.m_settings.m_nOrientation = c.nStored;
        RunMainWindow([&](CCirrovanDlg& dlg) {
            EXPECT_EQ(GetDisplayOrientation(), c.nStored);
            RECT client;
            dlg.GetClientRect(&client);
            EXPECT_EQ(client.right > client.bottom, c.nStored == DMDO_270);
        });
        EXPECT_EQ(GetDisplayOrientation(), c.nAtStart);
    }
}

TEST_F(MainWindowTest, ChangingTheOrientationTurnsTheScreenAndSavesIt)
{
    WithLondon();
    RunMainWindow([&](CCirrovanDlg& dlg) {
        for (int nCode : {DMDO_270, DMDO_0}) {
            EXPECT_TRUE(CTestDriver::ChooseMenuItem(ID_PREFERENCES_ORIENTATION));
            EXPECT_EQ(GetDisplayOrientation(), nCode);
            EXPECT_TRUE(Contains(m_temp.Read("settings.dat"),
                                 "<displayorientation>" + std::to_string(nCode) + "</displayorientation>"));
            EXPECT_EQ(WindowRect(&dlg.m_wndGraph),
                      nCode == DMDO_270 ? (RECT{32, 20, 320, 178}) : (RECT{0, 26, 240, 238}));
        }
    });
}

// Each action writes exactly what it should; Quit writes the view chosen since
// the last save.
TEST_F(MainWindowTest, EachActionWritesOnlyItsOwnFiles)
{
    WithLondon();
    AddStation(ZURICH, L"Z\u00fcrich", "zurich_daily.xml", "zurich_hourly.xml");
    const struct
    {
        const char* pszAction;
        std::function<void()> fnAction;
        const char* pszSettingsPart;   // nullptr: nothing changes
    } actions[] = {
        {"daily switch", [] { CTestDriver::PressKey(VK_DOWN); }, nullptr},
        {"scrolling", [] { CTestDriver::PressKey(VK_RIGHT); }, nullptr},
        {"scale turn", [] { CTestDriver::PressKey(VK_UP); }, nullptr},
        {"station pick", [] { CTestDriver::SelectItem(IDC_STATION_COMBO, 1); }, "<station id=\"CHZU3595\">"},
        {"orientation", [] { CTestDriver::ChooseMenuItem(ID_PREFERENCES_ORIENTATION); },
         "<displayorientation>4</displayorientation>"},
        {"view key", [] { CTestDriver::PressKey('2'); }, nullptr},
        {"view button", [] { CTestDriver::Tap(IDC_VIEW3); }, nullptr},
    };
    std::map<std::string, std::string> before;
    RunMainWindow([&](CCirrovanDlg&) {
        for (const auto& a : actions) {
            SCOPED_TRACE(a.pszAction);
            before = Files();
            a.fnAction();
            std::map<std::string, std::string> after = Files();
            if (a.pszSettingsPart) {
                EXPECT_NE(after["settings.dat"], before["settings.dat"]);
                EXPECT_TRUE(Contains(after["settings.dat"], a.pszSettingsPart));
                after["settings.dat"] = before["settings.dat"];
            }
            EXPECT_EQ(after, before);
        }
        before = Files();
    });
    // Quit: view 3, chosen after the last save, is kept; the rest as it was.
    std::map<std::string, std::string> after = Files();
    EXPECT_TRUE(Contains(before["settings.dat"], "<customviews current=\"0\" daily=\"1\">"));
    EXPECT_TRUE(Contains(after["settings.dat"], "<customviews current=\"2\" daily=\"1\">"));
    after["settings.dat"] = before["settings.dat"];
    EXPECT_EQ(after, before);
}

// The start-up routine reads the settings and writes them back at once, before
// the main window opens: a file with elements of another program loses them.
TEST_F(MainWindowTest, StartUpReadsTheSettingsAndWritesThemBackAtOnce)
{
    WithLondon();
    std::string settings = m_temp.Read("settings.dat");
    settings.insert(settings.rfind("</Cirrovan>"), "<unknown>kept?</unknown>\n");
    m_temp.Write("settings.dat", settings);
    const std::string stations = m_temp.Read("stations.dat");
    m_data.m_settings.m_currentStation = CStation();

    std::string atOpen;
    CTestDriver::OnDialogOpen(IDD_CIRROVAN_DIALOG, [&](CDialog*) {
        atOpen = m_temp.Read("settings.dat");
        EXPECT_TRUE(CTestDriver::ChooseMenuItem(ID_PREFERENCES_QUIT));
    });
    CCirrovanApp app(m_data, m_log);
    EXPECT_FALSE(app.InitInstance());
    EXPECT_FALSE(Contains(atOpen, "unknown"));
    EXPECT_TRUE(Contains(atOpen, "<station id=\"GBLO5854\">London</station>"));
    EXPECT_EQ(m_data.m_settings.m_currentStation.m_strID, LONDON);
    EXPECT_EQ(m_temp.Read("stations.dat"), stations);
}

// The view and the daily or hour-by-hour chart the user left are those the
// next start shows; a Quit with neither changed since the last save writes nothing.
TEST_F(MainWindowTest, TheViewAndTheDailyChartComeBackAfterARestart)
{
    WithLondon();
    const auto runProgram = [this](const std::function<void(CCirrovanDlg&)>& fnAtChart) {
        CTestDriver::OnDialogOpen(IDD_CIRROVAN_DIALOG, [&](CDialog* pDlg) {
            fnAtChart(*static_cast<CCirrovanDlg*>(pDlg));
            EXPECT_TRUE(CTestDriver::ChooseMenuItem(ID_PREFERENCES_QUIT));
        });
        CCirrovanApp app(m_data, m_log);
        EXPECT_FALSE(app.InitInstance());
    };
    // Which file the settings are: every save puts a new one in place.
    const auto settingsFile = [this]() {
        struct stat st = {};
        stat(m_temp.Path("settings.dat").c_str(), &st);
        return st.st_ino;
    };
    runProgram([](CCirrovanDlg&) {
        CTestDriver::PressKey('2');
        CTestDriver::PressKey(VK_DOWN);
    });
    EXPECT_TRUE(Contains(m_temp.Read("settings.dat"), "<customviews current=\"1\" daily=\"1\">"));

    // A new process on the same folder.
    UseDataFolder(CCodePage::Decode(m_temp.m_path));
    m_data.LoadStations();
    ino_t atChart = 0;
    runProgram([&](CCirrovanDlg& dlg) {
        EXPECT_EQ(dlg.m_nView, 1);
        EXPECT_EQ(m_data.m_settings.m_bDaily, 1);
        EXPECT_EQ(dlg.m_strHeader, L"Daily (1 h old)");
        atChart = settingsFile();
    });
    EXPECT_EQ(settingsFile(), atChart);
}

// The window's close button in the middle of the first run, with a question
// over the new station dialog over the stations dialog: the question gets the
// answer that changes nothing, each dialog ends as its Cancel would, the
// innermost first, and the program quits as Quit does.
TEST_F(MainWindowTest, TheCloseButtonCancelsTheOpenDialogsInnermostFirstThenQuits)
{
    std::vector<std::string> steps;
    CTestDriver::OnDialogOpen(IDD_STATIONS, [&](CDialog* pDlg) {
        EXPECT_TRUE(CTestDriver::ChooseMenuItem(ID_STATIONS_ADD));
        steps.push_back(CTestDriver::GetActiveDialog() == pDlg ? "new station closed" : "stations closed too");
    });
    CTestDriver::OnDialogOpen(IDD_NEW_STATION, [&](CDialog* pDlg) {
        pDlg->GetDlgItem(IDC_STATION_TEXT)->SetWindowText(L"Zurich");
        CTestDriver::ActOnNextMessageBox([&] {
            steps.push_back("question shown");
            CTestDriver::CloseWindow();
        });
        CTestDriver::PressSoftKey(0);
        steps.push_back(pDlg->m_nModalResult == -1 ? "question answered" : "new station closed at once");
    });
    for (UINT nID : {IDD_FIND_STATION, IDD_SELECT_STATION, IDD_UPDATE_STATION})
        CTestDriver::OnDialogOpen(nID, [&](CDialog* pDlg) {
            steps.push_back("opened " + std::to_string(pDlg->m_nIDTemplate));
            pDlg->EndDialog(IDCANCEL);
        });
    CCirrovanDlg dlg(m_data, m_log);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(steps, (std::vector<std::string>{"question shown", "question answered", "new station closed"}));
    ASSERT_EQ(CTestDriver::MessageBoxes().size(), 1u);
    EXPECT_EQ(CTestDriver::MessageBoxes()[0].strCaption, L"Connection Required");
    EXPECT_EQ(CTestDriver::MessageBoxes()[0].nAnswer, IDNO);
    EXPECT_EQ(m_data.m_stations.GetCount(), 0);
    EXPECT_FALSE(m_temp.Exists("stations.dat"));
    EXPECT_EQ(CTestDriver::GetActiveDialog(), nullptr);
}

// The header's age counts on while the window stays open: each tick writes the
// age the clock now gives, and the daily and hourly forecasts each state their own.
TEST_F(MainWindowTest, TheAgeCountsOnWhileTheWindowIsOpen)
{
    CTestDriver::OnDialogOpen(IDD_STATIONS, [&](CDialog* pDlg) { AddByIdAndChoose(m_data, pDlg, ZURICH); });
    CTestDriver::OnDialogOpen(IDD_SELECT_STATION, [&](CDialog* pDlg) {
        WriteForecasts(ZURICH, "zurich_daily.xml", "zurich_hourly.xml");
        pDlg->EndDialog(IDOK);
    });
    CTestDriver::OnDialogOpen(IDD_UPDATE_STATION, [&](CDialog* pDlg) { pDlg->EndDialog(IDCANCEL); });
    RunMainWindow([&](CCirrovanDlg& dlg) {
        EXPECT_EQ(dlg.m_strHeader, L"Hourly (1 h old)");
        EXPECT_TRUE(dlg.m_ageTimer.IsActive());
        // Two hours on, without a touch.
        CFakeClock::Set(1796907600LL + 2 * 3600, 0);
        dlg.WindowProc(WM_AGE_TICK, 0, 0);
        EXPECT_EQ(dlg.m_strHeader, L"Hourly (3 h old)");
        EXPECT_EQ(dlg.GetDlgItem(IDC_HEADER)->GetWindowText(), L"Hourly (3 h old)");
        EXPECT_TRUE(dlg.m_ageTimer.IsActive());
        // Both were issued at 1:00 PM: the daily chart says the same age.
        m_data.m_settings.m_bDaily = 1;
        dlg.UpdateHeader();
        EXPECT_EQ(dlg.m_strHeader, L"Daily (3 h old)");
        CFakeClock::Set(1796907600LL, 0);
    });
}
