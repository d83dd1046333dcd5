#include "DialogTestSetup.h"
#include "platform/testing/FakeDialUp.h"
#include "dialogs/DlgUpdateStation.h"

#include <algorithm>

namespace {

using UpdateStationTest = DialogTest;

TEST_F(UpdateStationTest, LaysItselfOutAndShowsTheCurrentStation)
{
    SetCurrent(L"USNY0996", L"New York, NY");
    CDlgUpdateStation dlg(m_data, m_log);
    CTestDriver::OnDialogOpen(IDD_UPDATE_STATION, [&](CDialog* pDlg) {
        EXPECT_EQ(Item(IDC_HEADING)->GetWindowText(), L"Update forecast...");
        EXPECT_EQ(CTestDriver::GetSoftKeyText(0), L"Ok");
        EXPECT_EQ(CTestDriver::GetSoftKeyText(1), L"Cancel");
        EXPECT_EQ(Item(IDC_UPDATE_ID)->GetWindowText(), L"USNY0996");
        EXPECT_EQ(Item(IDC_UPDATE_NAME)->GetWindowText(), L"New York, NY");
        EXPECT_EQ(IsTicked(IDC_KIND_DAILY), true);
        EXPECT_EQ(IsTicked(IDC_KIND_HOURLY), true);
        for (const ORIENTATION& o : s_orientations) {
            SCOPED_TRACE(o.pszName);
            CDeviceScreen::Get().SetOrientation(o.nCode);
            ExpectRect(ControlRect(pDlg, IDC_HEADING), 5, 5, o.cx - 10, 16);
            // "Other stations" keeps its 69 x 14 units and its height, centred.
            ExpectRect(ControlRect(pDlg, IDC_OTHER_STATIONS), (o.cx - 104) / 2, 127, 104, 23);
            // The rest stays where the template puts it: daily at (6, 48).
            ExpectRect(ControlRect(pDlg, IDC_KIND_DAILY), 9, 78, 47, 16);
            Shot(std::string("update-") + o.pszName);
        }
        CTestDriver::PressSoftKey(1);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(m_downloads.m_seen.empty());
}

TEST_F(UpdateStationTest, UpdatesTheCurrentStationDailyFirstAndClosesWithOkWhateverTheOutcome)
{
    struct Case
    {
        const char* pszWhat;
        bool bDaily;
        std::vector<bool> outcomes;   // of the requests that are made
        std::vector<int> kinds;
        bool bDisconnect;
        const wchar_t* pszName;       // of the nameless station afterwards
    };
    const Case cases[] = {
        {"both succeed", true, {true, true}, {DOWNLOAD_DAILY, DOWNLOAD_HOURLY}, true, L"Alpha"},
        {"the daily one fails", true, {false}, {DOWNLOAD_DAILY}, false, L""},
        {"hour-by-hour alone fails", false, {false}, {DOWNLOAD_HOURLY}, true, L""},
        {"hour-by-hour alone succeeds", false, {true}, {DOWNLOAD_HOURLY}, false, L"Alpha"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        GiveStations({{L"USNY0996", L"New York, NY"}, {L"ABCD1234", L""}});
        SetCurrent(L"ABCD1234");
        m_data.m_settings.m_bDisconnect = c.bDisconnect;
        CFakeDialUp::Reset();
        CFakeDialUp::Add(L"GPRS");
        m_downloads.m_seen.clear();
        for (bool bOk : c.outcomes) {
            if (bOk)
                m_downloads.Succeed(FeedFor("ABCD1234", "Alpha"));
            else
                m_downloads.Fail();
        }
        CDlgUpdateStation dlg(m_data, m_log);
        CTestDriver::OnDialogOpen(IDD_UPDATE_STATION, [&](CDialog*) {
            if (!c.bDaily)
                Untick(IDC_KIND_DAILY);
            CTestDriver::PressSoftKey(0);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        ASSERT_EQ(m_downloads.m_seen.size(), c.kinds.size());
        for (size_t i = 0; i < c.kinds.size(); ++i) {
            const DOWNLOADSEEN& seen = m_downloads.m_seen[i];
            EXPECT_EQ(seen.nKind, c.kinds[i]);
            EXPECT_EQ(seen.strArgument, L"ABCD1234");
            EXPECT_EQ(seen.pOwner, nullptr);
            EXPECT_EQ(seen.strTitle, L"Download");
        }
        // The list's station and the current one are named together, and saved.
        EXPECT_EQ(m_data.m_stations.GetAt(1)->m_strName, c.pszName);
        EXPECT_EQ(m_data.m_settings.m_currentStation.m_strName, c.pszName);
        EXPECT_EQ(StationsInFile(Path("stations.dat"))[1].second, c.pszName);
        EXPECT_EQ(CFakeDialUp::Names().empty(), c.bDisconnect);
        // A failure is said once, after the update, naming the station by its ID while it has no name;
        // the first case left files of both kinds, which a failure keeps.
        const bool bFailed = std::find(c.outcomes.begin(), c.outcomes.end(), false) != c.outcomes.end();
        ASSERT_EQ(Boxes().size(), bFailed ? 1u : 0u);
        if (bFailed) {
            const std::wstring strKind = c.bDaily ? L"daily forecast" : L"hour-by-hour forecast";
            EXPECT_EQ(Boxes()[0].strText, L"These forecasts could not be updated:\n\n"
                                          L"ABCD1234, " + strKind + L": Test Weather could not be reached. Please "
                                          L"check the connection and try again. The previous one is kept.");
        }
        Boxes().clear();
    }
}

TEST_F(UpdateStationTest, TheHourByHourMessageNamesTheStationTheDailyRequestJustNamed)
{
    GiveStations({{L"ABCD1234", L""}});
    SetCurrent(L"ABCD1234");
    m_downloads.Succeed(FeedFor("ABCD1234", "Alpha"));
    m_downloads.Succeed(FeedFor("ABCD1234", "Alpha"));
    CDlgUpdateStation dlg(m_data, m_log);
    CTestDriver::OnDialogOpen(IDD_UPDATE_STATION, [&](CDialog*) { CTestDriver::PressSoftKey(0); });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(m_downloads.m_seen.size(), 2u);
    EXPECT_EQ(m_downloads.m_seen[0].strMessage, L"Search daily forecasts for ");
    EXPECT_EQ(m_downloads.m_seen[1].strMessage, L"Search hour-by-hour forecasts for Alpha");
}

TEST_F(UpdateStationTest, RefusesWithoutAKind)
{
    SetCurrent(L"USNY0996", L"New York, NY");
    CDlgUpdateStation dlg(m_data, m_log);
    CTestDriver::OnDialogOpen(IDD_UPDATE_STATION, [&](CDialog* pDlg) {
        Untick(IDC_KIND_DAILY);
        Untick(IDC_KIND_HOURLY);
        ShotOfNextBox("update-no-kind-portrait");
        CTestDriver::PressSoftKey(0);
        EXPECT_EQ(CTestDriver::GetActiveDialog(), pDlg);
        CTestDriver::PressSoftKey(1);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(Boxes().size(), 1u);
    ExpectBox(Boxes()[0],
              L"Please check at least one the checkboxes to indicate which kind of forecast "
              L"you would like to retrieve.",
              L"Cirrovan", MB_ICONEXCLAMATION);
    EXPECT_TRUE(m_downloads.m_seen.empty());
}

TEST_F(UpdateStationTest, OtherStationsClosesBothOnlyAfterAnUpdate)
{
    GiveStations({{L"USNY0996", L"New York, NY"}, {L"FRXX0076", L"Paris, France"}});
    SetCurrent(L"USNY0996", L"New York, NY");
    m_downloads.Succeed(FeedFor("FRXX0076", "Paris"));
    m_downloads.Succeed(FeedFor("FRXX0076", "Paris"));
    CDlgUpdateStation dlg(m_data, m_log);
    CWnd* pSelect = nullptr;
    CTestDriver::OnDialogOpen(IDD_UPDATE_STATION, [&](CDialog* pDlg) {
        CTestDriver::OnDialogOpen(IDD_SELECT_STATION, [&](CDialog* pSelectDlg) {
            EXPECT_EQ(pSelectDlg->m_pParentWnd, nullptr);
            CTestDriver::PressSoftKey(1);
        });
        CTestDriver::Tap(IDC_OTHER_STATIONS);
        EXPECT_EQ(CTestDriver::GetActiveDialog(), pDlg);
        CTestDriver::OnDialogOpen(IDD_SELECT_STATION, [&](CDialog* pSelectDlg) {
            pSelect = pSelectDlg;
            // Paris instead of the current station, which is ticked on opening.
            EXPECT_TRUE(CTestDriver::TapTreeItem(IDC_STATION_TREE, 0, true));
            EXPECT_TRUE(CTestDriver::TapTreeItem(IDC_STATION_TREE, 1, true));
            CTestDriver::PressSoftKey(0);
        });
        CTestDriver::Tap(IDC_OTHER_STATIONS);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(m_downloads.m_seen.size(), 2u);
    EXPECT_EQ(m_downloads.m_seen[0].strArgument, L"FRXX0076");
    EXPECT_EQ(m_downloads.m_seen[0].pOwner, pSelect);
    // The select dialog leaves the last station it updated for the caller.
    EXPECT_EQ(m_data.m_chosenStation.m_strID, L"FRXX0076");
}

}
