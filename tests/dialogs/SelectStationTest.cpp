#include "DialogTestSetup.h"
#include "platform/testing/FakeDialUp.h"
#include "dialogs/DlgSelectStation.h"

namespace {

class SelectStationTest : public DialogTest
{
protected:
    void SetPreferred(const StationList& stations)
    {
        CPointerArray<CStation>& preferred = m_data.m_settings.m_preferredStations;
        preferred.RemoveAll();
        for (const auto& s : stations) {
            CStation* pStation = new CStation;
            pStation->m_strID = s.first;
            pStation->m_strName = s.second;
            preferred.Add(pStation);
        }
    }
};

const StationList s_four = {
    {L"USNY0996", L"New York, NY"}, {L"FRXX0076", L"Paris, France"}, {L"ABCD1234", L""}, {L"DEXX0001", L"Berlin"}};

std::vector<bool> Ticks(const CDlgSelectStation& dlg)
{
    std::vector<bool> ticks;
    for (HTREEITEM h = dlg.m_tree.GetRootItem(); h; h = dlg.m_tree.GetNextSiblingItem(h))
        ticks.push_back(dlg.m_tree.GetCheck(h));
    return ticks;
}

StationList PreferredInFile(const std::wstring& strPath)
{
    CSettings settings;
    settings.m_strPath = strPath;
    settings.Load();
    return StationsOf(settings.m_preferredStations);
}

TEST_F(SelectStationTest, LaysItselfOutInBothOrientations)
{
    GiveStations(s_four);
    SetCurrent(L"FRXX0076", L"Paris, France");
    SetPreferred({{L"USNY0996", L"New York, NY"}, {L"DEXX0001", L"Berlin"}});
    m_data.m_chosenStation.m_strID = L"FRXX0076";
    CDlgSelectStation dlg(m_data, m_log);
    CTestDriver::OnDialogOpen(IDD_SELECT_STATION, [&](CDialog* pDlg) {
        EXPECT_EQ(Item(IDC_HEADING)->GetWindowText(), L"Update station(s)...");
        EXPECT_EQ(CTestDriver::GetSoftKeyText(0), L"Update !");
        EXPECT_EQ(CTestDriver::GetSoftKeyText(1), L"Cancel");
        EXPECT_EQ(dlg.m_tree.GetCount(), 4);
        EXPECT_EQ(dlg.m_tree.GetItemText(dlg.m_tree.GetRootItem()), L"USNY0996 / New York, NY");
        EXPECT_EQ(Ticks(dlg), (std::vector<bool>{true, false, false, true}));
        EXPECT_TRUE(IsTicked(IDC_KIND_DAILY));
        EXPECT_TRUE(IsTicked(IDC_KIND_HOURLY));
        EXPECT_EQ(m_data.m_chosenStation.m_strID, L"");
        const int h = 16;   // the check boxes: 10 dialog units high
        for (const ORIENTATION& o : s_orientations) {
            SCOPED_TRACE(o.pszName);
            CDeviceScreen::Get().SetOrientation(o.nCode);
            const int D = o.cy - 2 * h - 15;
            ExpectRect(ControlRect(pDlg, IDC_HEADING), 5, 5, o.cx - 10, 16);
            ExpectRect(ControlRect(pDlg, IDC_KIND_HOURLY), 10, o.cy - h - 10, 89, h);
            ExpectRect(ControlRect(pDlg, IDC_KIND_DAILY), 10, D, 47, h);
            const UINT buttons[] = {IDC_SELECT_CURRENT, IDC_SELECT_LAST, IDC_SELECT_ALL, IDC_SELECT_CLEAR};
            for (int k = 0; k < 4; ++k) {
                if (o.cx < o.cy)
                    ExpectRect(ControlRect(pDlg, buttons[k]), 5 + 58 * k, 26, 51, 23);
                else
                    ExpectRect(ControlRect(pDlg, buttons[k]), o.cx - 55, 26 + 25 * k, 51, 23);
            }
            if (o.cx < o.cy)
                ExpectRect(ControlRect(pDlg, IDC_STATION_TREE), 5, 50, o.cx - 10, D - 55);
            else
                ExpectRect(ControlRect(pDlg, IDC_STATION_TREE), 5, 26, o.cx - 65, D - 31);
            Shot(std::string("select-") + o.pszName);
        }
        CTestDriver::PressSoftKey(1);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(m_downloads.m_seen.empty());
    EXPECT_FALSE(Exists("settings.dat"));
}

TEST_F(SelectStationTest, TheButtonsTickWhatTheySayAndStationsNoLongerListedAreDropped)
{
    GiveStations(s_four);
    SetCurrent(L"ABCD1234");
    SetPreferred({{L"GONE0001", L"Gone"}, {L"FRXX0076", L"Paris, France"}});
    m_downloads.Succeed(FeedFor("FRXX0076", "Paris"));
    m_downloads.Succeed(FeedFor("FRXX0076", "Paris"));
    CDlgSelectStation dlg(m_data, m_log);
    CTestDriver::OnDialogOpen(IDD_SELECT_STATION, [&](CDialog*) {
        using Ticked = std::vector<bool>;
        EXPECT_EQ(Ticks(dlg), (Ticked{false, true, false, false}));
        CTestDriver::Tap(IDC_SELECT_ALL);
        EXPECT_EQ(Ticks(dlg), (Ticked{true, true, true, true}));
        CTestDriver::Tap(IDC_SELECT_LAST);
        EXPECT_EQ(Ticks(dlg), (Ticked{false, true, false, false}));
        CTestDriver::Tap(IDC_SELECT_CURRENT);
        EXPECT_EQ(Ticks(dlg), (Ticked{false, false, true, false}));
        CTestDriver::Tap(IDC_SELECT_CLEAR);
        EXPECT_EQ(Ticks(dlg), (Ticked{false, false, false, false}));
        EXPECT_TRUE(CTestDriver::TapTreeItem(IDC_STATION_TREE, 3, true));
        EXPECT_EQ(Ticks(dlg), (Ticked{false, false, false, true}));
        CTestDriver::Tap(IDC_SELECT_LAST);
        CTestDriver::PressSoftKey(0);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(StationsOf(m_data.m_settings.m_preferredStations),
              (StationList{{L"FRXX0076", L"Paris, France"}}));
    EXPECT_EQ(PreferredInFile(Path("settings.dat")), (StationList{{L"FRXX0076", L"Paris, France"}}));

    // With the current station missing from the list, "Current" ticks nothing.
    SetCurrent(L"ZZZZ9999");
    CDlgSelectStation again(m_data, m_log);
    CTestDriver::OnDialogOpen(IDD_SELECT_STATION, [&](CDialog*) {
        CTestDriver::Tap(IDC_SELECT_CURRENT);
        EXPECT_EQ(Ticks(again), (std::vector<bool>(4, false)));
        CTestDriver::PressSoftKey(1);
    });
    EXPECT_EQ(again.DoModal(), IDCANCEL);
}

// Before the first update nothing is remembered: the current station is ticked
// on opening. Once something is remembered, that alone is ticked, even when
// none of it is listed any more.
TEST_F(SelectStationTest, WithNoUpdateRememberedTheCurrentStationIsTicked)
{
    using Ticked = std::vector<bool>;
    const struct
    {
        const char* pszWhat;
        const wchar_t* pszCurrent;
        StationList preferred;
        Ticked ticked;
    } cases[] = {
        {"nothing remembered", L"FRXX0076", {}, {false, true, false, false}},
        {"nothing remembered, current not listed", L"ZZZZ9999", {}, {false, false, false, false}},
        {"remembered, none listed", L"FRXX0076", {{L"GONE0001", L"Gone"}}, {false, false, false, false}},
        {"remembered", L"FRXX0076", {{L"DEXX0001", L"Berlin"}}, {false, false, false, true}},
    };
    GiveStations(s_four);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        SetCurrent(c.pszCurrent);
        SetPreferred(c.preferred);
        CDlgSelectStation dlg(m_data, m_log);
        CTestDriver::OnDialogOpen(IDD_SELECT_STATION, [&](CDialog*) {
            EXPECT_EQ(Ticks(dlg), c.ticked);
            CTestDriver::PressSoftKey(1);
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    }
}

TEST_F(SelectStationTest, RefusesToUpdateWithoutAKindOrAStation)
{
    m_data.m_settings.m_bDisconnect = true;
    CFakeDialUp::Add(L"GPRS");
    CDlgSelectStation dlg(m_data, m_log);
    CTestDriver::OnDialogOpen(IDD_SELECT_STATION, [&](CDialog* pDlg) {
        EXPECT_EQ(dlg.m_tree.GetCount(), 0);
        Untick(IDC_KIND_DAILY);
        Untick(IDC_KIND_HOURLY);
        CTestDriver::PressSoftKey(0);
        EXPECT_EQ(CTestDriver::GetActiveDialog(), pDlg);
        EXPECT_EQ(CFakeDialUp::Names().size(), 1u);
        // With a kind but no station, the hang-up comes before the refusal.
        CTestDriver::Tap(IDC_KIND_HOURLY);
        ShotOfNextBox("select-no-station-portrait");
        CTestDriver::PressSoftKey(0);
        EXPECT_EQ(CTestDriver::GetActiveDialog(), pDlg);
        EXPECT_TRUE(CFakeDialUp::Names().empty());
        CTestDriver::PressSoftKey(1);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(Boxes().size(), 2u);
    ExpectBox(Boxes()[0], L"Please select at least one kind of forecast.", L"Cirrovan", MB_ICONEXCLAMATION);
    ExpectBox(Boxes()[1], L"Please select a station.", L"Update !", MB_ICONEXCLAMATION);
    EXPECT_TRUE(m_downloads.m_seen.empty());
    EXPECT_FALSE(Exists("settings.dat"));
}

struct REQUEST
{
    int nKind;
    const wchar_t* pszID;
    const wchar_t* pszMessage;
};

void ExpectRequests(const std::vector<DOWNLOADSEEN>& seen, const std::vector<REQUEST>& expected, CWnd* pOwner)
{
    ASSERT_EQ(seen.size(), expected.size());
    for (size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(seen[i].strTitle, L"Download");
        EXPECT_EQ(seen[i].nKind, expected[i].nKind);
        EXPECT_EQ(seen[i].strArgument, expected[i].pszID);
        EXPECT_EQ(seen[i].strMessage, expected[i].pszMessage);
        EXPECT_EQ(seen[i].pOwner, pOwner);
    }
}

TEST_F(SelectStationTest, UpdatesTickedStationsInListOrderDailyFirstAndGoesOnAfterAFailure)
{
    GiveStations(s_four);
    SetPreferred({{L"DEXX0001", L""}, {L"USNY0996", L""}, {L"FRXX0076", L""}});
    CFakeDialUp::Add(L"GPRS");
    const std::string stationsBefore = Read("stations.dat");
    m_downloads.Succeed(FeedFor("USNY0996", "New York"));
    m_downloads.Succeed(FeedFor("USNY0996", "New York"));
    m_downloads.Fail();
    m_downloads.Succeed(FeedFor("DEXX0001", "Berlin"));
    m_downloads.Succeed(FeedFor("DEXX0001", "Berlin"));
    CDlgSelectStation dlg(m_data, m_log);
    CTestDriver::OnDialogOpen(IDD_SELECT_STATION, [&](CDialog*) { CTestDriver::PressSoftKey(0); });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ExpectRequests(m_downloads.m_seen,
                   {{DOWNLOAD_DAILY, L"USNY0996", L"Search daily forecasts for New York, NY"},
                    {DOWNLOAD_HOURLY, L"USNY0996", L"Search hour-by-hour forecasts for New York, NY"},
                    {DOWNLOAD_DAILY, L"FRXX0076", L"Search daily forecasts for Paris, France"},
                    {DOWNLOAD_DAILY, L"DEXX0001", L"Search daily forecasts for Berlin"},
                    {DOWNLOAD_HOURLY, L"DEXX0001", L"Search hour-by-hour forecasts for Berlin"}},
                   &dlg);
    EXPECT_TRUE(Exists("forecasts/USNY0996_h.dat"));
    EXPECT_FALSE(Exists("forecasts/FRXX0076_d.dat"));
    // The preferred stations are the ticked ones in list order, as listed.
    const StationList ticked = {
        {L"USNY0996", L"New York, NY"}, {L"FRXX0076", L"Paris, France"}, {L"DEXX0001", L"Berlin"}};
    EXPECT_EQ(PreferredInFile(Path("settings.dat")), ticked);
    EXPECT_EQ(m_data.m_chosenStation.m_strID, L"DEXX0001");
    // Every station had a name: the station file is not written; no hang-up was asked for.
    EXPECT_EQ(Read("stations.dat"), stationsBefore);
    EXPECT_EQ(CFakeDialUp::Names().size(), 1u);
    // The failure is said once, after the walk.
    ASSERT_EQ(Boxes().size(), 1u);
    ExpectBox(Boxes()[0],
              L"These forecasts could not be updated:\n\n"
              L"Paris, France (FRXX0076), daily forecast: Test Weather could not be reached. Please check the "
              L"connection and try again.",
              L"Update !", MB_ICONEXCLAMATION);
}

TEST_F(SelectStationTest, HourByHourAloneIsFetchedForEveryTickedStationThenTheLineIsHungUp)
{
    GiveStations(s_four);
    m_data.m_settings.m_bDisconnect = true;
    CFakeDialUp::Add(L"GPRS");
    CFakeDialUp::Add(L"Work VPN");
    m_downloads.Fail();
    m_downloads.Succeed(FeedFor("DEXX0001", "Berlin"));
    CDlgSelectStation dlg(m_data, m_log);
    CTestDriver::OnDialogOpen(IDD_SELECT_STATION, [&](CDialog*) {
        EXPECT_TRUE(CTestDriver::TapTreeItem(IDC_STATION_TREE, 1, true));
        EXPECT_TRUE(CTestDriver::TapTreeItem(IDC_STATION_TREE, 3, true));
        Untick(IDC_KIND_DAILY);
        CTestDriver::PressSoftKey(0);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ExpectRequests(m_downloads.m_seen,
                   {{DOWNLOAD_HOURLY, L"FRXX0076", L"Search hour-by-hour forecasts for Paris, France"},
                    {DOWNLOAD_HOURLY, L"DEXX0001", L"Search hour-by-hour forecasts for Berlin"}},
                   &dlg);
    EXPECT_TRUE(CFakeDialUp::Names().empty());
}

TEST_F(SelectStationTest, NamesANamelessStationOnlyFromAForecastJustLoadedForIt)
{
    GiveStations({{L"ABCD1234", L""}, {L"EFGH5678", L""}, {L"IJKL9012", L""}});
    // The store holds another place's forecasts before the update.
    m_folder.Write("elsewhere.xml", FeedFor("ZZZZ0000", "Elsewhere"));
    m_data.m_daily.Load(m_folder.WidePath("elsewhere.xml"));
    m_data.m_hourly.Load(m_folder.WidePath("elsewhere.xml"));
    m_downloads.Succeed(FeedFor("ABCD1234", "Alpha"));
    m_downloads.Succeed(FeedFor("ABCD1234", "Alpha (hourly)"));
    m_downloads.Fail();                                        // EFGH5678 daily: no hour-by-hour
    m_downloads.Succeed(FeedFor("IJKL9012", "Ijkl Town"));
    m_downloads.Fail();                                        // IJKL9012 hour-by-hour
    CDlgSelectStation dlg(m_data, m_log);
    CTestDriver::OnDialogOpen(IDD_SELECT_STATION, [&](CDialog*) {
        CTestDriver::Tap(IDC_SELECT_ALL);
        CTestDriver::PressSoftKey(0);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ExpectRequests(m_downloads.m_seen,
                   {{DOWNLOAD_DAILY, L"ABCD1234", L"Search daily forecasts for "},
                    {DOWNLOAD_HOURLY, L"ABCD1234", L"Search hour-by-hour forecasts for "},
                    {DOWNLOAD_DAILY, L"EFGH5678", L"Search daily forecasts for "},
                    {DOWNLOAD_DAILY, L"IJKL9012", L"Search daily forecasts for "},
                    {DOWNLOAD_HOURLY, L"IJKL9012", L"Search hour-by-hour forecasts for "}},
                   &dlg);
    const StationList named = {{L"ABCD1234", L"Alpha"}, {L"EFGH5678", L""}, {L"IJKL9012", L"Ijkl Town"}};
    EXPECT_EQ(StationsOf(m_data.m_stations), named);
    EXPECT_EQ(StationsInFile(Path("stations.dat")), named);
    EXPECT_EQ(PreferredInFile(Path("settings.dat")), named);

    // A failed hour-by-hour request alone names nothing either, whatever the store holds.
    m_downloads.m_seen.clear();
    m_downloads.Fail();
    CDlgSelectStation hourly(m_data, m_log);
    CTestDriver::OnDialogOpen(IDD_SELECT_STATION, [&](CDialog*) {
        CTestDriver::Tap(IDC_SELECT_CLEAR);
        EXPECT_TRUE(CTestDriver::TapTreeItem(IDC_STATION_TREE, 1, true));
        Untick(IDC_KIND_DAILY);
        CTestDriver::PressSoftKey(0);
    });
    EXPECT_EQ(hourly.DoModal(), IDOK);
    EXPECT_EQ(m_downloads.m_seen.size(), 1u);
    EXPECT_EQ(StationsInFile(Path("stations.dat")), named);
}

}
