#include "DialogTestSetup.h"
#include "dialogs/DlgFindStation.h"

namespace {

using FindStationTest = DialogTest;

const std::string s_threePlaces =
    SearchAnswer({{"USNY0996", "New York, NY"}, {"USNY0998", "New York/JFK Intl Arpt, NY"},
                  {"USNY0996", "New York, NY (again)"}});

TEST_F(FindStationTest, SearchesByItselfOnceShownAndLaysItselfOut)
{
    m_folder.Write("data/search_stations.dat", "an earlier answer");
    m_data.m_chosenStation.m_strID = L"KEPT0001";
    m_downloads.Succeed(s_threePlaces);
    m_downloads.m_fnOnOpen = [&](CDlgDownload*) {
        // The dialog was painted before the search began; the earlier answer is gone.
        Shot("find-searching-portrait");
        EXPECT_FALSE(Exists("search_stations.dat"));
        CWnd* pSearch = CTestDriver::GetActiveDialog()->m_pParentWnd->GetDlgItem(IDC_FIND_SEARCH);
        EXPECT_FALSE(pSearch->IsWindowEnabled());
    };
    CDlgFindStation dlg(m_data, m_log);
    dlg.m_strSearch = L"new york";
    CTestDriver::OnDialogOpen(IDD_FIND_STATION, [&](CDialog* pDlg) {
        EXPECT_EQ(Item(IDC_HEADING)->GetWindowText(), L"New Station");
        EXPECT_EQ(CTestDriver::GetSoftKeyText(0), L"Ok");
        EXPECT_EQ(CTestDriver::GetSoftKeyText(1), L"Cancel");
        ASSERT_TRUE(SearchFinished(1));
        EXPECT_EQ(Lines(dlg.m_list), (std::vector<std::wstring>{L"USNY0996 / New York, NY",
                                                                L"USNY0998 / New York/JFK Intl Arpt, NY",
                                                                L"USNY0996 / New York, NY (again)"}));
        EXPECT_EQ(dlg.m_list.GetCurSel(), 0);
        EXPECT_EQ(Item(IDC_FIND_STATUS)->GetWindowText(), L"");
        // "Clear" is bh high and bw wide: 14 and 31 in dialog units.
        const int bw = 47, bh = 23, S = 2 * bh + 36, L = S + 13 + 5;
        for (const ORIENTATION& o : s_orientations) {
            SCOPED_TRACE(o.pszName);
            CDeviceScreen::Get().SetOrientation(o.nCode);
            ExpectRect(ControlRect(pDlg, IDC_HEADING), 5, 5, o.cx - 10, 16);
            ExpectRect(ControlRect(pDlg, IDC_FIND_CLEAR), o.cx - bw - 5, 26, bw, bh);
            ExpectRect(ControlRect(pDlg, IDC_FIND_SEARCH), o.cx - bw - 5, bh + 29, bw, bh);
            ExpectRect(ControlRect(pDlg, IDC_STATION_TEXT), 5, bh + 29, o.cx - bw - 15, 23);
            ExpectRect(ControlRect(pDlg, IDC_FIND_STATUS), 5, S, o.cx - 10, 13);
            ExpectRect(ControlRect(pDlg, IDC_STATION_LIST), 5, L, o.cx - 10, o.cy - L - 5);
            Shot(std::string("find-") + o.pszName);
        }
        CTestDriver::PressSoftKey(1);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(m_downloads.m_seen.size(), 1u);
    EXPECT_EQ(m_downloads.m_seen[0].strMessage, L"Search stations for 'new york'...");
    EXPECT_EQ(m_downloads.m_seen[0].pOwner, &dlg);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(m_data.m_chosenStation.m_strID, L"KEPT0001");
}

// "No station found" only when the service answered and found nothing; a
// failure says why, and a search the user cancelled says nothing.
TEST_F(FindStationTest, ASearchThatFindsNothingListsNothingFromAnEarlierOne)
{
    const std::wstring strUnreachable = L"Test Weather could not be reached. Please check the connection and try again.";
    struct Case
    {
        const char* pszWhat;
        CDownloadOutcome::Reason nOutcome;
        std::string strAnswer;
        std::wstring strSaid;   // empty: no message
    };
    const Case cases[] = {
        {"the service cannot be reached", CDownloadOutcome::UNREACHABLE, "", strUnreachable},
        {"the service does not answer in time", CDownloadOutcome::TIMED_OUT, "",
         L"Test Weather did not answer in time. Please try again later."},
        {"the user cancels", CDownloadOutcome::CANCELLED, "", L""},
        {"the service knows no such place", CDownloadOutcome::STORED, "<search ver=\"2.0\"></search>",
         L"No station found. You may try again with another location name."},
        {"the answer is no XML", CDownloadOutcome::STORED, "<html>busy", L"The answer was not a list of places."},
        {"the answer is another document", CDownloadOutcome::STORED, "<html><body>Sign in</body></html>",
         L"The answer was not a list of places."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        Boxes().clear();
        m_downloads.m_seen.clear();
        m_downloads.Succeed(SearchAnswer({{"FRXX0076", "Paris, France"}}));
        if (c.nOutcome == CDownloadOutcome::STORED)
            m_downloads.Succeed(c.strAnswer);
        else
            m_downloads.Fail(c.nOutcome);
        CDlgFindStation dlg(m_data, m_log);
        dlg.m_strSearch = L"paris";
        CTestDriver::OnDialogOpen(IDD_FIND_STATION, [&](CDialog*) {
            ASSERT_TRUE(SearchFinished(1));
            EXPECT_EQ(dlg.m_list.GetCount(), 1);
            Item(IDC_STATION_TEXT)->SetWindowText(L"atlantis");
            if (c.nOutcome == CDownloadOutcome::UNREACHABLE)
                ShotOfNextBox("find-unreachable-portrait");
            else if (c.nOutcome == CDownloadOutcome::STORED && c.strAnswer[1] == 's')
                ShotOfNextBox("find-nothing-found-portrait");
            CTestDriver::Tap(IDC_FIND_SEARCH);
            ASSERT_TRUE(SearchFinished(2));
            EXPECT_EQ(dlg.m_list.GetCount(), 0);
            EXPECT_EQ(m_data.m_searchResults.GetCount(), 0);
            // Nothing to pick: Ok is refused.
            CTestDriver::PressSoftKey(0);
            EXPECT_EQ(CTestDriver::GetActiveDialog(), &dlg);
            CTestDriver::Tap(IDC_FIND_SEARCH);
            ASSERT_TRUE(SearchFinished(3));
            CTestDriver::PressSoftKey(1);
        });
        m_downloads.Fail();   // the third search
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(m_downloads.m_seen[1].strArgument, L"atlantis");
        std::vector<std::wstring> said;
        for (const MESSAGEBOXCALL& box : Boxes()) {
            said.push_back(box.strText);
            EXPECT_EQ(box.nType, static_cast<UINT>(MB_ICONEXCLAMATION));
        }
        std::vector<std::wstring> expected;
        if (!c.strSaid.empty())
            expected.push_back(c.strSaid);
        expected.push_back(L"Please select a location in the list.");
        expected.push_back(strUnreachable);
        EXPECT_EQ(said, expected);
        ASSERT_FALSE(Boxes().empty());
        EXPECT_EQ(Boxes().front().strCaption, c.strSaid.empty() ? L"Find a location" : L"Find a station");
    }
}

// Search answers come from the network: a place whose ID is empty or could
// name a file elsewhere can be seen but not picked.
TEST_F(FindStationTest, APlaceWithAnEmptyOrUnsafeIdCannotBePicked)
{
    m_downloads.Succeed(SearchAnswer({{"", "Nowhere"}, {"../../x", "Escape"}, {"AB\x01" "CD", "Control"}}));
    m_data.m_chosenStation.m_strID = L"KEPT0001";
    CDlgFindStation dlg(m_data, m_log);
    CTestDriver::OnDialogOpen(IDD_FIND_STATION, [&](CDialog* pDlg) {
        ASSERT_TRUE(SearchFinished(1));
        ASSERT_EQ(dlg.m_list.GetCount(), 3);
        for (int i = 0; i < 3; ++i) {
            CTestDriver::SelectItem(IDC_STATION_LIST, i);
            if (i == 1)
                ShotOfNextBox("find-unusable-id");
            CTestDriver::PressSoftKey(0);
            EXPECT_EQ(CTestDriver::GetActiveDialog(), pDlg);
        }
        CTestDriver::PressSoftKey(1);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(Boxes().size(), 3u);
    for (const MESSAGEBOXCALL& box : Boxes())
        ExpectBox(box, L"This place has no station ID that can be used. Please pick another one.", L"Find a location",
                  MB_ICONEXCLAMATION);
    EXPECT_EQ(m_data.m_chosenStation.m_strID, L"KEPT0001");
}

// "Clear" empties the field and the list; Enter in the field searches for a
// new text and picks when the text was searched already; the pick is the
// result shown on the line.
TEST_F(FindStationTest, EnterSearchesANewTextClearEmptiesTheListAndThePickIsTheLine)
{
    m_downloads.Succeed(SearchAnswer({{"DEXX0001", "Berlin"}}));
    m_downloads.Succeed(s_threePlaces);
    CDlgFindStation dlg(m_data, m_log);
    dlg.m_strSearch = L"berlin";
    CTestDriver::OnDialogOpen(IDD_FIND_STATION, [&](CDialog*) {
        ASSERT_TRUE(SearchFinished(1));
        CTestDriver::Tap(IDC_FIND_CLEAR);
        EXPECT_EQ(Item(IDC_STATION_TEXT)->GetWindowText(), L"");
        EXPECT_EQ(dlg.m_list.GetCount(), 0);
        CTestDriver::PressSoftKey(0);   // nothing left to pick
        ASSERT_EQ(Boxes().size(), 1u);
        // A new text, searched as typed; the list is replaced.
        Item(IDC_STATION_TEXT)->SetFocus();
        Item(IDC_STATION_TEXT)->SetWindowText(L"New York & co");
        CTestDriver::PressKey(VK_RETURN);
        ASSERT_TRUE(SearchFinished(2));
        EXPECT_EQ(dlg.m_list.GetCount(), 3);
        CTestDriver::SelectItem(IDC_STATION_LIST, 2);
        Item(IDC_STATION_TEXT)->SetFocus();
        CTestDriver::PressKey(VK_RETURN);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(m_downloads.m_seen.size(), 2u);
    EXPECT_EQ(m_downloads.m_seen[1].strArgument, L"New York & co");
    EXPECT_EQ(m_data.m_chosenStation.m_strID, L"USNY0996");
    EXPECT_EQ(m_data.m_chosenStation.m_strName, L"New York, NY (again)");
    ASSERT_EQ(Boxes().size(), 1u);
    ExpectBox(Boxes()[0], L"Please select a location in the list.", L"Find a location", MB_ICONEXCLAMATION);
    // Picking adds nothing: that is the new station dialog's business.
    EXPECT_FALSE(Exists("stations.dat"));
}

}
