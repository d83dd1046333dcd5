#include "DialogTestSetup.h"
#include "dialogs/DlgNewStation.h"
#include "dialogs/DlgStations.h"
#include "platform/Resources.h"

namespace {

using NewStationTest = DialogTest;

const std::wstring s_question = L"Connect on Test Weather to search this location ?";

TEST_F(NewStationTest, LaysItselfOutInBothOrientations)
{
    CDlgNewStation dlg(m_data, m_log);
    CTestDriver::OnDialogOpen(IDD_NEW_STATION, [&](CDialog* pDlg) {
        EXPECT_EQ(Item(IDC_HEADING)->GetWindowText(), L"New Station");
        EXPECT_EQ(CTestDriver::GetSoftKeyText(0), L"Done");
        EXPECT_EQ(CTestDriver::GetSoftKeyText(1), L"Cancel");
        EXPECT_TRUE(CTestDriver::IsDoneButtonShown());
        Item(IDC_STATION_TEXT)->SetWindowText(L"USNY0996");
        for (const ORIENTATION& o : s_orientations) {
            SCOPED_TRACE(o.pszName);
            CDeviceScreen::Get().SetOrientation(o.nCode);
            ExpectRect(ControlRect(pDlg, IDC_HEADING), 0, 5, o.cx - 22, 16);
            ExpectRect(ControlRect(pDlg, IDC_HELP_BUTTON), o.cx - 22, 0, 21, 21);
            // The edit keeps the template's place and height: (36, 24), 14 high in dialog units.
            ExpectRect(ControlRect(pDlg, IDC_STATION_TEXT), 54, 39, o.cx - 54 - 8, 23);
            Shot(std::string("new-station-") + o.pszName);
        }
        CTestDriver::PressSoftKey(1);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(m_data.m_stations.GetCount(), 0);
    EXPECT_FALSE(Exists("stations.dat"));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(NewStationTest, OnlyEightCharactersOfFourLettersThenFourDigitsAreTakenAsAnId)
{
    struct Case
    {
        const wchar_t* pszText;
        bool bID;
    };
    const Case cases[] = {
        {L"USNY0996", true},
        {L"usny0996", true},    // kept as typed
        {L"UsNy0996", true},
        {L"USNY099", false},    // seven characters
        {L"USNY09961", false},  // nine
        {L"US1Y0996", false},   // a digit among the first four
        {L"USNYA996", false},   // a letter among the last four
        {L"USNY0996 ", false},  // nothing is trimmed
        {L" USNY0996", false},
        {L"", false},
        {L"USN\u01310996", false},   // the dotless i is no "I"
        {L"USNY\u0660\u0669\u0669\u0666", false},   // nor are other digits "0" to "9"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(CCodePage::Encode(c.pszText));
        GiveStations({});
        Boxes().clear();
        m_data.m_chosenStation = CStation();
        if (c.bID)
            m_downloads.Succeed(SearchAnswer({{"USNY0996", "New York, NY"}}));   // the check
        CDlgNewStation dlg(m_data, m_log);
        CTestDriver::OnDialogOpen(IDD_NEW_STATION, [&](CDialog* pDlg) {
            Item(IDC_STATION_TEXT)->SetWindowText(c.pszText);
            CTestDriver::PressSoftKey(0);
            if (!c.bID) {
                // No, to the connection question: the dialog stays as it was.
                EXPECT_EQ(CTestDriver::GetActiveDialog(), pDlg);
                EXPECT_EQ(Item(IDC_STATION_TEXT)->GetWindowText(), c.pszText);
                CTestDriver::PressSoftKey(1);
            }
        });
        ASSERT_EQ(dlg.DoModal(), c.bID ? IDOK : IDCANCEL);
        ASSERT_EQ(Boxes().size(), 1u);
        if (c.bID) {
            ExpectBox(Boxes()[0],
                      L"'" + std::wstring(c.pszText) + L"' (New York, NY) has been added to the stations list.",
                      L"New station", MB_ICONINFORMATION);
            EXPECT_EQ(m_data.m_chosenStation.m_strID, c.pszText);
            EXPECT_EQ(m_data.m_chosenStation.m_strName, L"New York, NY");
            EXPECT_EQ(StationsInFile(Path("stations.dat")).back().first, c.pszText);
        } else {
            ExpectBox(Boxes()[0], s_question, L"Connection Required", MB_YESNO | MB_ICONQUESTION);
            EXPECT_EQ(m_data.m_chosenStation.m_strID, L"");
        }
    }
}

// A typed ID is asked of the service first: one it does not know is refused,
// one it cannot be asked about is added with a word that it was not checked,
// and a check the user cancels adds nothing.
TEST_F(NewStationTest, AnIdIsCheckedWithTheServiceBeforeItIsAdded)
{
    struct Case
    {
        const char* pszWhat;
        CDownloadOutcome::Reason nOutcome;
        std::string strAnswer;
        bool bAdded;
        std::wstring strSaid;   // empty: no message
    };
    const Case cases[] = {
        {"known", CDownloadOutcome::STORED, SearchAnswer({{"FRXX0076", "Paris"}, {"ABCD1234", "Alpha"}}), true,
         L"'ABCD1234' (Alpha) has been added to the stations list."},
        {"unknown", CDownloadOutcome::STORED, SearchAnswer({{"ABCD1235", "Beta"}}), false,
         L"Test Weather does not know station 'ABCD1234'. Please check the ID, or type a place name to search "
         L"for it."},
        {"unreachable", CDownloadOutcome::UNREACHABLE, "", true,
         L"'ABCD1234' () has been added to the stations list, but it could not be checked with Test Weather: "
         L"Test Weather could not be reached. Please check the connection and try again."},
        {"cancelled", CDownloadOutcome::CANCELLED, "", false, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        Boxes().clear();
        GiveStations({});
        m_downloads.m_seen.clear();
        if (c.nOutcome == CDownloadOutcome::STORED)
            m_downloads.Succeed(c.strAnswer);
        else
            m_downloads.Fail(c.nOutcome);
        CDlgNewStation dlg(m_data, m_log);
        CTestDriver::OnDialogOpen(IDD_NEW_STATION, [&](CDialog* pDlg) {
            Item(IDC_STATION_TEXT)->SetWindowText(L"ABCD1234");
            if (c.nOutcome == CDownloadOutcome::STORED && !c.bAdded)
                ShotOfNextBox("new-station-unknown-id");
            else if (c.nOutcome == CDownloadOutcome::UNREACHABLE)
                ShotOfNextBox("new-station-not-checked");
            CTestDriver::PressSoftKey(0);
            if (!c.bAdded) {
                EXPECT_EQ(CTestDriver::GetActiveDialog(), pDlg);
                CTestDriver::PressSoftKey(1);
            }
        });
        EXPECT_EQ(dlg.DoModal(), c.bAdded ? IDOK : IDCANCEL);
        ASSERT_EQ(m_downloads.m_seen.size(), 1u);
        EXPECT_EQ(m_downloads.m_seen[0].nKind, DOWNLOAD_SEARCH);
        EXPECT_EQ(m_downloads.m_seen[0].strArgument, L"ABCD1234");
        EXPECT_EQ(m_data.m_stations.GetCount(), c.bAdded ? 1 : 0);
        EXPECT_EQ(StationsInFile(Path("stations.dat")).size(), c.bAdded ? 1u : 0u);
        if (c.strSaid.empty()) {
            EXPECT_TRUE(Boxes().empty());
        } else {
            ASSERT_EQ(Boxes().size(), 1u);
            EXPECT_EQ(Boxes()[0].strText, c.strSaid);
            EXPECT_EQ(Boxes()[0].strCaption, L"New station");
        }
    }
}

// Typed or picked from a search, in any letter case, an ID of the list is the
// listed station: it is said so, nothing is added, and the caller shows it.
TEST_F(NewStationTest, AnIdAlreadyInTheListIsSaidSoAndNotAdded)
{
    struct Case
    {
        const wchar_t* pszListed;
        const wchar_t* pszTyped;
        const char* pszFound;   // the search's answer for a place name; null: an ID typed
    };
    const Case cases[] = {
        {L"CHZU3595", L"CHZU3595", nullptr},
        {L"CHZU3595", L"chzu3595", nullptr},
        {L"chzu3595", L"ChZu3595", nullptr},   // a list saved with the ID as once typed
        {L"chzu3595", L"zurich", "CHZU3595"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(CCodePage::Encode(c.pszTyped));
        GiveStations({{L"USNY0996", L"New York, NY"}, {c.pszListed, L"Z\u00fcrich"}});
        const std::string before = Read("stations.dat");
        Boxes().clear();
        m_downloads.m_seen.clear();
        if (c.pszFound)
            m_downloads.Succeed(SearchAnswer({{c.pszFound, "Z\xc3\xbcrich"}}));
        CDlgNewStation dlg(m_data, m_log);
        CTestDriver::OnDialogOpen(IDD_NEW_STATION, [&](CDialog*) {
            if (c.pszFound) {
                CTestDriver::OnDialogOpen(IDD_FIND_STATION, [&](CDialog*) {
                    ASSERT_TRUE(SearchFinished(1));
                    CTestDriver::SelectItem(IDC_STATION_LIST, 0);
                    CTestDriver::PressSoftKey(0);
                });
                CTestDriver::AnswerNextMessageBox(IDYES);
            }
            Item(IDC_STATION_TEXT)->SetWindowText(c.pszTyped);
            if (!c.pszFound)
                ShotOfNextBox("new-station-already-listed");
            CTestDriver::PressKey(VK_RETURN);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        // A typed ID of the list is not even asked of the service.
        EXPECT_EQ(m_downloads.m_seen.size(), c.pszFound ? 1u : 0u);
        ASSERT_FALSE(Boxes().empty());
        ExpectBox(Boxes().back(),
                  L"'" + std::wstring(c.pszListed) + L"' (Z\u00fcrich) is already in the stations list: it is not added "
                  L"again.",
                  L"New station", MB_ICONINFORMATION);
        EXPECT_EQ(Read("stations.dat"), before);
        EXPECT_EQ(m_data.m_stations.GetCount(), 2);
        EXPECT_EQ(m_data.m_chosenStation.m_strID, c.pszListed);
        EXPECT_EQ(m_data.m_chosenStation.m_strName, L"Z\u00fcrich");
    }
}

TEST_F(NewStationTest, APlaceNameIsSearchedForOnceTheUserAgreesAndThePickIsAdded)
{
    GiveStations({{L"USNY0996", L"New York, NY"}});
    m_downloads.Succeed(SearchAnswer({{"USNY0996", "New York, NY"}, {"USNY0998", "New York/JFK Intl Arpt, NY"}}));
    CDlgNewStation dlg(m_data, m_log);
    CWnd* pFind = nullptr;
    CTestDriver::OnDialogOpen(IDD_NEW_STATION, [&](CDialog* pDlg) {
        CTestDriver::OnDialogOpen(IDD_FIND_STATION, [&](CDialog* pFindDlg) {
            pFind = pFindDlg;
            EXPECT_EQ(pFindDlg->m_pParentWnd, pDlg);
            EXPECT_EQ(Item(IDC_STATION_TEXT)->GetWindowText(), L"new york");
            ASSERT_TRUE(SearchFinished(1));
            CTestDriver::SelectItem(IDC_STATION_LIST, 1);
            CTestDriver::PressSoftKey(0);
        });
        Item(IDC_STATION_TEXT)->SetWindowText(L"new york");
        CTestDriver::AnswerNextMessageBox(IDYES);
        CTestDriver::PressSoftKey(0);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(m_downloads.m_seen.size(), 1u);
    const DOWNLOADSEEN& request = m_downloads.m_seen[0];
    EXPECT_EQ(request.strTitle, L"Download");
    EXPECT_EQ(request.strMessage, L"Search stations for 'new york'...");
    EXPECT_EQ(request.nKind, DOWNLOAD_SEARCH);
    EXPECT_EQ(request.strArgument, L"new york");
    EXPECT_EQ(request.pOwner, pFind);
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[0].strText, s_question);
    EXPECT_EQ(Boxes()[1].strText, L"'USNY0998' (New York/JFK Intl Arpt, NY) has been added to the stations list.");
    EXPECT_EQ(StationsInFile(Path("stations.dat")),
              (StationList{{L"USNY0996", L"New York, NY"}, {L"USNY0998", L"New York/JFK Intl Arpt, NY"}}));
    EXPECT_EQ(m_data.m_chosenStation.m_strID, L"USNY0998");
}

TEST_F(NewStationTest, ACancelledSearchLeavesTheDialogOpenWithItsText)
{
    // An empty text is no ID: after Yes the empty text is searched for at once.
    m_downloads.Fail();
    CDlgNewStation dlg(m_data, m_log);
    CTestDriver::OnDialogOpen(IDD_NEW_STATION, [&](CDialog* pDlg) {
        CTestDriver::OnDialogOpen(IDD_FIND_STATION, [&](CDialog*) {
            ASSERT_TRUE(SearchFinished(1));
            CTestDriver::PressSoftKey(1);
        });
        CTestDriver::AnswerNextMessageBox(IDYES);
        CTestDriver::PressSoftKey(0);
        EXPECT_EQ(CTestDriver::GetActiveDialog(), pDlg);
        EXPECT_EQ(Item(IDC_STATION_TEXT)->GetWindowText(), L"");
        CTestDriver::PressSoftKey(1);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(m_downloads.m_seen.size(), 1u);
    EXPECT_EQ(m_downloads.m_seen[0].strArgument, L"");
    EXPECT_EQ(m_downloads.m_seen[0].strMessage, L"Search stations for ''...");
    EXPECT_FALSE(Exists("stations.dat"));
}

TEST_F(NewStationTest, TheQuestionMarksOpenTheirHelp)
{
    struct Case
    {
        UINT nDialog;
        UINT nHelp;
        std::function<void()> run;
    };
    const Case cases[] = {
        {IDD_NEW_STATION, IDS_HELP_NEW_STATION, [this]() { CDlgNewStation(m_data, m_log).DoModal(); }},
        {IDD_STATIONS, IDS_HELP_STATIONS, [this]() { CDlgStations(m_data, m_log).DoModal(); }},
    };
    for (const Case& c : cases) {
        bool bHelpShown = false;
        CTestDriver::OnDialogOpen(c.nDialog, [&](CDialog*) {
            CTestDriver::OnDialogOpen(IDD_HELP, [&](CDialog* pHelp) {
                bHelpShown = true;
                EXPECT_EQ(pHelp->m_pParentWnd, nullptr);
                EXPECT_EQ(Item(IDC_HELP_TEXT)->GetWindowText(), CResources::LoadString(c.nHelp));
                CTestDriver::PressSoftKey(0);
            });
            CTestDriver::Tap(IDC_HELP_BUTTON);
            CTestDriver::PressKey(VK_ESCAPE);
        });
        c.run();
        EXPECT_TRUE(bHelpShown) << c.nDialog;
    }
}

// After each box over it closes (help, a question, a cancelled search), what
// the user types goes where it went before: into the field.
TEST_F(NewStationTest, TheFocusComesBackToTheFieldAfterEachNestedBox)
{
    m_downloads.Fail();
    CDlgNewStation dlg(m_data, m_log);
    CTestDriver::OnDialogOpen(IDD_NEW_STATION, [&](CDialog* pDlg) {
        CWnd* pField = Item(IDC_STATION_TEXT);
        ASSERT_EQ(CWnd::GetFocus(), pField);
        CTestDriver::OnDialogOpen(IDD_HELP, [&](CDialog*) {
            EXPECT_NE(CWnd::GetFocus(), pField);
            CTestDriver::PressKey(VK_ESCAPE);
        });
        CTestDriver::Tap(IDC_HELP_BUTTON);
        EXPECT_EQ(CTestDriver::GetActiveDialog(), pDlg);
        EXPECT_EQ(CWnd::GetFocus(), pField);

        // The question, really shown, then a search that is cancelled.
        pField->SetWindowText(L"zurich");
        CTestDriver::ActOnNextMessageBox([] { CTestDriver::PressKey(VK_ESCAPE); });
        CTestDriver::PressKey(VK_RETURN);
        EXPECT_EQ(CWnd::GetFocus(), pField);
        CTestDriver::OnDialogOpen(IDD_FIND_STATION, [&](CDialog*) {
            ASSERT_TRUE(SearchFinished(1));
            CTestDriver::PressSoftKey(1);
        });
        CTestDriver::ActOnNextMessageBox([] { CTestDriver::PressKey(VK_RETURN); });
        CTestDriver::PressKey(VK_RETURN);
        EXPECT_EQ(CTestDriver::GetActiveDialog(), pDlg);
        EXPECT_EQ(CWnd::GetFocus(), pField);
        CTestDriver::PressSoftKey(1);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

}
