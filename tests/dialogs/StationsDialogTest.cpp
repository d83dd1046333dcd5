#include "DialogTestSetup.h"
#include "dialogs/DlgStations.h"

namespace {

using StationsDialogTest = DialogTest;

const StationList s_three = {{L"USNY0996", L"New York, NY"}, {L"FRXX0076", L"Paris, France"}, {L"ABCD1234", L""}};

TEST_F(StationsDialogTest, LaysItselfOutInBothOrientationsAndOffersItsCommands)
{
    GiveStations(s_three);
    SetCurrent(L"FRXX0076", L"Paris, France");
    CDlgStations dlg(m_data, m_log);
    CTestDriver::OnDialogOpen(IDD_STATIONS, [&](CDialog* pDlg) {
        EXPECT_EQ(Item(IDC_HEADING)->GetWindowText(), L"Weather Stations");
        EXPECT_EQ(CTestDriver::GetSoftKeyText(0), L"Done");
        EXPECT_EQ(CTestDriver::GetSoftKeyText(1), L"Stations");
        EXPECT_EQ(Lines(dlg.m_list), (std::vector<std::wstring>{L"USNY0996 / New York, NY",
                                                                L"FRXX0076 / Paris, France", L"ABCD1234 / "}));
        EXPECT_EQ(dlg.m_list.GetCurSel(), 1);
        for (const ORIENTATION& o : s_orientations) {
            SCOPED_TRACE(o.pszName);
            CDeviceScreen::Get().SetOrientation(o.nCode);
            EXPECT_EQ(ClientSize(pDlg).cx, o.cx);
            EXPECT_EQ(ClientSize(pDlg).cy, o.cy);
            ExpectRect(ControlRect(pDlg, IDC_HEADING), 0, 5, o.cx - 22, 16);
            ExpectRect(ControlRect(pDlg, IDC_HELP_BUTTON), o.cx - 22, 3, 21, 21);
            ExpectRect(ControlRect(pDlg, IDC_STATION_LIST), 5, 26, o.cx - 10, o.cy - 30);
            Shot(std::string("stations-") + o.pszName);
            // The right soft key pops its menu up over the list.
            CTestDriver::PressSoftKey(1);
            std::vector<std::wstring> items;
            ASSERT_TRUE(CTestDriver::GetOpenMenu(&items, nullptr));
            EXPECT_EQ(items, (std::vector<std::wstring>{L"Add...", L"Delete...", L"Details..."}));
            EXPECT_TRUE(CTestDriver::TapOpenMenuItem(L"Details..."));
        }
        ASSERT_EQ(Boxes().size(), 2u);
        ExpectBox(Boxes()[0], L"Station name is 'Paris, France'.\nStation ID is 'FRXX0076'.", L"Details",
                  MB_ICONINFORMATION);
        CTestDriver::PressSoftKey(0);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(m_data.m_chosenStation.m_strID, L"FRXX0076");
    EXPECT_EQ(m_data.m_chosenStation.m_strName, L"Paris, France");
}

TEST_F(StationsDialogTest, OpensOnTheCurrentStationsOwnLineAndHandsBackThePickedOne)
{
    struct Case
    {
        const wchar_t* pszCurrent;
        StationList stations;
        int nSelected;   // on opening
    };
    const Case cases[] = {
        {L"ABCD1234", s_three, 2},
        {L"ZZZZ9999", s_three, 0},   // not in the list: the first line
        {L"", s_three, 0},           // no current station: the first line, not the second
        // Only the line of the same ID, not one that begins with it or differs in case.
        {L"usny0996", {{L"ABCD1234", L"A"}, {L"USNY0996", L"Upper"}, {L"usny0996", L"Lower"}}, 2},
        {L"USNY099", {{L"ABCD1234", L"A"}, {L"USNY0996", L"New York"}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(CCodePage::Encode(c.pszCurrent));
        GiveStations(c.stations);
        SetCurrent(c.pszCurrent);
        CDlgStations dlg(m_data, m_log);
        CTestDriver::OnDialogOpen(IDD_STATIONS, [&](CDialog*) {
            EXPECT_EQ(dlg.m_list.GetCurSel(), c.nSelected);
            EXPECT_EQ(m_data.m_chosenStation.m_strID, c.pszCurrent);
            // The user taps the last line and is done.
            CTestDriver::SelectItem(IDC_STATION_LIST, static_cast<int>(c.stations.size()) - 1);
            CTestDriver::PressKey(VK_RETURN);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(m_data.m_chosenStation.m_strID, c.stations.back().first);
        EXPECT_EQ(m_data.m_chosenStation.m_strName, c.stations.back().second);
        // Opening and closing saves nothing and leaves the current station alone.
        EXPECT_EQ(m_data.m_settings.m_currentStation.m_strID, c.pszCurrent);
        EXPECT_FALSE(Exists("settings.dat"));
    }
}

TEST_F(StationsDialogTest, AnEmptyListShowsItsPlaceholderThatCanNeverBeSelected)
{
    SetCurrent(L"USNY0996", L"New York, NY");
    CDlgStations dlg(m_data, m_log);
    CTestDriver::OnDialogOpen(IDD_STATIONS, [&](CDialog*) {
        EXPECT_EQ(Lines(dlg.m_list), std::vector<std::wstring>{L"-- please add at least 1 station --"});
        EXPECT_EQ(dlg.m_list.GetCurSel(), LB_ERR);
        CTestDriver::SelectItem(IDC_STATION_LIST, 0);
        EXPECT_EQ(dlg.m_list.GetCurSel(), LB_ERR);
        Shot("stations-empty-portrait");
        EXPECT_TRUE(CTestDriver::ChooseMenuItem(ID_STATIONS_DELETE));   // nothing
        EXPECT_TRUE(CTestDriver::ChooseMenuItem(ID_STATIONS_DETAILS));
        CTestDriver::PressSoftKey(0);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(Boxes().size(), 1u);
    ExpectBox(Boxes()[0],
              L"You select a station in the list to perform this command.\n"
              L"To select a station, please tap on its name in the list.",
              L"No selection", MB_ICONEXCLAMATION);
    // "Done" with no station hands back an empty one.
    EXPECT_EQ(m_data.m_chosenStation.m_strID, L"");
    EXPECT_EQ(m_data.m_chosenStation.m_strName, L"");
}

TEST_F(StationsDialogTest, DeleteAsksFirstThenRemovesTheStationAndItsForecastsAndSaves)
{
    GiveStations(s_three);
    SetCurrent(L"FRXX0076", L"Paris, France");
    m_folder.Write("data/forecasts/FRXX0076_d.dat", "daily");
    m_folder.Write("data/forecasts/FRXX0076_h.dat", "hourly");
    m_folder.Write("data/forecasts/USNY0996_d.dat", "other");
    const std::string before = Read("stations.dat");
    CDlgStations dlg(m_data, m_log);
    CTestDriver::OnDialogOpen(IDD_STATIONS, [&](CDialog*) {
        // Cancel keeps everything.
        CTestDriver::AnswerNextMessageBox(IDCANCEL);
        EXPECT_TRUE(CTestDriver::ChooseMenuItem(ID_STATIONS_DELETE));
        EXPECT_EQ(Read("stations.dat"), before);
        EXPECT_EQ(dlg.m_list.GetCount(), 3);
        EXPECT_TRUE(Exists("forecasts/FRXX0076_d.dat"));

        CTestDriver::AnswerNextMessageBox(IDOK);
        EXPECT_TRUE(CTestDriver::ChooseMenuItem(ID_STATIONS_DELETE));
        EXPECT_EQ(StationsInFile(Path("stations.dat")),
                  (StationList{{L"USNY0996", L"New York, NY"}, {L"ABCD1234", L""}}));
        EXPECT_FALSE(Exists("forecasts/FRXX0076_d.dat"));
        EXPECT_FALSE(Exists("forecasts/FRXX0076_h.dat"));
        EXPECT_TRUE(Exists("forecasts/USNY0996_d.dat"));
        EXPECT_EQ(Lines(dlg.m_list), (std::vector<std::wstring>{L"USNY0996 / New York, NY", L"ABCD1234 / "}));
        EXPECT_EQ(dlg.m_list.GetCurSel(), 0);

        // Deleting the last line also leaves the first selected; a station
        // added by ID alone is asked about with empty parentheses.
        CTestDriver::SelectItem(IDC_STATION_LIST, 1);
        CTestDriver::AnswerNextMessageBox(IDOK);
        EXPECT_TRUE(CTestDriver::ChooseMenuItem(ID_STATIONS_DELETE));
        EXPECT_EQ(dlg.m_list.GetCurSel(), 0);
        CTestDriver::AnswerNextMessageBox(IDOK);
        EXPECT_TRUE(CTestDriver::ChooseMenuItem(ID_STATIONS_DELETE));
        EXPECT_EQ(Lines(dlg.m_list), std::vector<std::wstring>{L"-- please add at least 1 station --"});
        EXPECT_EQ(dlg.m_list.GetCurSel(), LB_ERR);
        CTestDriver::PressSoftKey(0);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(Boxes().size(), 4u);
    ExpectBox(Boxes()[0], L"Delete station FRXX0076 (Paris, France) ?", L"Delete station",
              MB_OKCANCEL | MB_ICONEXCLAMATION);
    EXPECT_EQ(Boxes()[2].strText, L"Delete station ABCD1234 () ?");
    EXPECT_EQ(Boxes()[3].strText, L"Delete station USNY0996 (New York, NY) ?");
    EXPECT_EQ(StationsInFile(Path("stations.dat")), StationList());
    EXPECT_TRUE(m_data.m_stations.GetCount() == 0);
    // The current station is the caller's business.
    EXPECT_EQ(m_data.m_settings.m_currentStation.m_strID, L"FRXX0076");
    EXPECT_EQ(m_data.m_chosenStation.m_strID, L"");
}

TEST_F(StationsDialogTest, DetailsOfAStationAddedByIdAloneShowAnEmptyName)
{
    GiveStations(s_three);
    SetCurrent(L"ABCD1234");
    CDlgStations dlg(m_data, m_log);
    CTestDriver::OnDialogOpen(IDD_STATIONS, [&](CDialog*) {
        ShotOfNextBox("stations-details-portrait");
        EXPECT_TRUE(CTestDriver::ChooseMenuItem(ID_STATIONS_DETAILS));
        CTestDriver::PressSoftKey(0);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].strText, L"Station name is ''.\nStation ID is 'ABCD1234'.");
}

TEST_F(StationsDialogTest, AddSelectsTheStationJustAddedOrFound)
{
    GiveStations(s_three);
    SetCurrent(L"USNY0996", L"New York, NY");
    CDlgStations dlg(m_data, m_log);
    m_downloads.Succeed(SearchAnswer({{"EFGH5678", "Efgh"}}));   // the new ID's check
    CTestDriver::OnDialogOpen(IDD_STATIONS, [&](CDialog* pDlg) {
        for (const wchar_t* pszID : {L"EFGH5678", L"FRXX0076"}) {
            CTestDriver::OnDialogOpen(IDD_NEW_STATION, [&](CDialog* pNew) {
                EXPECT_EQ(pNew->m_pParentWnd, pDlg);
                Item(IDC_STATION_TEXT)->SetWindowText(pszID);
                CTestDriver::PressSoftKey(0);
            });
            CTestDriver::PressSoftKey(1);
            EXPECT_TRUE(CTestDriver::TapOpenMenuItem(L"Add..."));
            std::wstring line;
            dlg.m_list.GetText(dlg.m_list.GetCurSel(), line);
            EXPECT_EQ(line.compare(0, 8, pszID), 0);
        }
        CTestDriver::PressSoftKey(0);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(StationsInFile(Path("stations.dat")).back(),
              std::make_pair(std::wstring(L"EFGH5678"), std::wstring(L"Efgh")));
    EXPECT_EQ(m_data.m_stations.GetCount(), 4);
    // The second add found Paris in the list; its line was selected and handed back.
    EXPECT_EQ(m_data.m_chosenStation.m_strID, L"FRXX0076");
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[0].strText, L"'EFGH5678' (Efgh) has been added to the stations list.");
    EXPECT_EQ(Boxes()[1].strText.rfind(L"'FRXX0076' (", 0), 0u);
    EXPECT_NE(Boxes()[1].strText.find(L"is already in the stations list"), std::wstring::npos);
}

}
