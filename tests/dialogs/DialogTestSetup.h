#pragma once

// What the dialog tests share: rectangles and screenshots of the phone screen,
// a data object and a log of each test's own in a data folder of its own, and a
// stand-in for the download dialog that ends each download as the real one does.

#include "../StationList.h"
#include "platform/testing/FakeDialUp.h"
#include "../TempFolder.h"
#include "model/WeatherData.h"
#include "net/DlgDownload.h"
#include "net/DownloadAnswer.h"
#include "net/DownloadFile.h"
#include "log/LogFile.h"
#include "platform/CodePage.h"
#include "platform/Ras.h"
#include "platform/testing/TestDriver.h"
#include "platform/ui/DeviceScreen.h"
#include "platform/ui/Button.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ListBox.h"
#include "res/AppResources.h"
#include "res/Resource.h"
#include "store/XmlFile.h"

#include <tinyxml.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <functional>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

inline std::wstring Wide(const std::string& s)
{
    return CCodePage::Decode(s);
}

inline RECT ControlRect(CDialog* pDlg, UINT nID)
{
    RECT rc = {};
    if (CWnd* pCtrl = pDlg->GetDlgItem(nID))
        pCtrl->GetWindowRect(&rc);
    return rc;
}

// From the dialog's client area to the screen: full-screen dialogs sit below
// the title bar.
inline void OffsetToScreen(RECT& rc)
{
    rc.top += SCREEN_BAR_HEIGHT;
    rc.bottom += SCREEN_BAR_HEIGHT;
}

inline void ExpectRect(const RECT& rc, int x, int y, int cx, int cy)
{
    EXPECT_EQ(rc.left, x);
    EXPECT_EQ(rc.top, y);
    EXPECT_EQ(rc.right - rc.left, cx);
    EXPECT_EQ(rc.bottom - rc.top, cy);
}

// Screenshots go where CIRROVAN_SHOTS points, for people to look at.
inline void Shot(const std::string& name)
{
    const char* folder = std::getenv("CIRROVAN_SHOTS");
    if (!folder)
        return;
    std::string path = std::string(folder) + "/" + name + ".png";
    EXPECT_TRUE(CTestDriver::SaveScreenshot(std::wstring(path.begin(), path.end())));
}

// The next message box is really shown and photographed, when screenshots are asked for.
inline void ShotOfNextBox(const std::string& name)
{
    if (const char* folder = std::getenv("CIRROVAN_SHOTS"))
        CTestDriver::ShowNextMessageBox(Wide(std::string(folder) + "/" + name + ".png"));
}

inline SIZE ClientSize(CDialog* pDlg)
{
    RECT rc;
    pDlg->GetClientRect(&rc);
    return SIZE{rc.right, rc.bottom};
}

inline CWnd* Item(UINT nID)
{
    CDialog* pDlg = CTestDriver::GetActiveDialog();
    return pDlg ? pDlg->GetDlgItem(nID) : nullptr;
}

// A message box as it was shown: its text, caption and style.
inline void ExpectBox(const MESSAGEBOXCALL& box, const std::wstring& strText, const std::wstring& strCaption,
                      UINT nType)
{
    EXPECT_EQ(box.strText, strText);
    EXPECT_EQ(box.strCaption, strCaption);
    EXPECT_EQ(box.nType, nType);
}

// Check boxes and pushed-in buttons of the active dialog.
inline bool IsTicked(UINT nID)
{
    return static_cast<CButton*>(Item(nID))->GetCheck() == BST_CHECKED;
}

inline void Untick(UINT nID)
{
    if (IsTicked(nID))
        CTestDriver::Tap(nID);
}

// The lines of a list box, in order.
inline std::vector<std::wstring> Lines(const CListBox& list)
{
    std::vector<std::wstring> lines;
    for (int i = 0; i < list.GetCount(); ++i) {
        std::wstring line;
        list.GetText(i, line);
        lines.push_back(line);
    }
    return lines;
}

// Lets the active dialog's pending work run (paints, work after a paint, the
// nested modal runs it starts) until the condition holds. The rounds are a
// bound on a loop that cannot make progress, not a time limit.
template <typename F>
bool PumpUntil(F done)
{
    for (int i = 0; i < 200 && !done(); ++i)
        CTestDriver::ProcessEvents();
    return done();
}

// A download request as the dialogs hand it to the download dialog.
struct DOWNLOADSEEN
{
    std::wstring strTitle;
    std::wstring strMessage;
    int nKind;
    std::wstring strArgument;
    CWnd* pOwner;
};

// Stands in for the download dialog: each one that opens takes the next
// scripted answer. A body is stored in the request's target file and read back
// into the dialog's data object, and the dialog ends with 1; a failure ends it with 2 and
// leaves every file and the store as they were. A download nobody scripted
// fails the test and ends with 2.
class CScriptedDownloads
{
public:
    void Start()
    {
        CTestDriver::OnDialogOpen(IDD_DOWNLOAD, [this](CDialog* pDlg) { Answer(static_cast<CDlgDownload*>(pDlg)); });
    }
    void Succeed(const std::string& strBody) { m_answers.push_back({CDownloadOutcome::STORED, strBody}); }
    void Fail(CDownloadOutcome::Reason nReason = CDownloadOutcome::UNREACHABLE)
    {
        m_answers.push_back({nReason, std::string()});
    }

    std::vector<DOWNLOADSEEN> m_seen;
    std::deque<std::pair<CDownloadOutcome::Reason, std::string>> m_answers;
    // Runs in every download dialog before it is answered.
    std::function<void(CDlgDownload*)> m_fnOnOpen;
    // Nothing is scripted: the download dialog does its real work, and only
    // what it was asked to do is recorded.
    bool m_bReal = false;

private:
    void Answer(CDlgDownload* pDlg)
    {
        Start();   // for the next download dialog
        m_seen.push_back(DOWNLOADSEEN{pDlg->m_strTitle, pDlg->m_strMessage, pDlg->m_nKind, pDlg->m_strArgument,
                                      pDlg->m_pParentWnd});
        if (m_fnOnOpen)
            m_fnOnOpen(pDlg);
        if (m_bReal)
            return;
        if (m_answers.empty()) {
            ADD_FAILURE() << "a download nobody scripted: " << CCodePage::Encode(pDlg->m_strMessage);
            pDlg->EndDialog(2);
            return;
        }
        std::pair<CDownloadOutcome::Reason, std::string> answer = m_answers.front();
        m_answers.pop_front();
        CWeatherData& data = pDlg->m_data;
        std::wstring strURL, strTarget;
        data.BuildRequest(pDlg->m_nKind, pDlg->m_strArgument, strURL, strTarget);
        if (answer.first != CDownloadOutcome::STORED || strURL.empty() || strTarget.empty()) {
            pDlg->m_outcome = answer.first;
            pDlg->EndDialog(2);
            return;
        }
        // Received whole; committed as the real dialog commits it.
        CDownloadFile file(strTarget);
        bool bWritten = file.Create() && file.Write(answer.second.data(), answer.second.size()) && file.Flush();
        EXPECT_TRUE(bWritten);
        pDlg->m_outcome = CDownloadAnswer::Commit(data, pDlg->m_log, pDlg->m_nKind, file, answer.second);
        pDlg->EndDialog(pDlg->m_outcome.IsStored() ? 1 : 2);
    }
};

// A forecast answer that names its place, with both sections (empty), so that
// it answers a daily and an hour-by-hour request alike.
inline std::string FeedFor(const std::string& strID, const std::string& strPlace)
{
    return "<weather ver=\"2.0\"><loc id=\"" + strID + "\"><dnam>" + strPlace
           + "</dnam><tm>1:00 PM</tm><zone>0</zone></loc><dayf></dayf><hbhf></hbhf></weather>";
}

// A search answer with these places, in this order.
inline std::string SearchAnswer(const std::vector<std::pair<std::string, std::string>>& places)
{
    std::string body = "<search ver=\"2.0\">";
    for (const auto& place : places)
        body += "<loc id=\"" + place.first + "\" type=\"1\">" + place.second + "</loc>";
    return body + "</search>";
}

// The stations a station file holds, read back with the store's own reader.
inline StationList StationsInFile(const std::wstring& strPath)
{
    TiXmlDocument doc;
    StationList list;
    if (!CXmlFile::Load(doc, strPath))
        return list;
    CPointerArray<CStation> stations;
    for (const TiXmlElement* p = doc.RootElement() ? doc.RootElement()->FirstChildElement("station") : nullptr; p;
         p = p->NextSiblingElement("station")) {
        CStation* pStation = new CStation;
        pStation->ReadXml(p);
        stations.Add(pStation);
    }
    return StationsOf(stations);
}

// Each test gets a data object of its own, built as on a first run, with its
// paths in the "data" folder of a fresh folder, and a log that is off. The
// screen starts in portrait with the test driver installed and no dial-up
// connection.
class DialogTest : public testing::Test
{
protected:
    void SetUp() override
    {
        setenv("CIRROVAN_SERVICE_NAME", "Test Weather", 1);
        CAppResources::Install();
        CTestDriver::Install();
        CDeviceScreen::Get().SetOrientation(DMDO_0);
        CFakeDialUp::Reset();

        m_data.m_strFolder = m_folder.WidePath("data");
        std::filesystem::create_directories(m_folder.Path("data/forecasts"));
        m_data.m_strSearchFile = Path("search_stations.dat");
        m_data.m_settings.m_strPath = Path("settings.dat");
        m_downloads.Start();
    }
    void TearDown() override
    {
        CTestDriver::Uninstall();
        CDeviceScreen::Get().SetOrientation(DMDO_0);
        CFakeDialUp::Reset();
        unsetenv("CIRROVAN_SERVICE_NAME");
        CAppResources::Install();
    }

    std::wstring Path(const std::string& name) const { return m_folder.WidePath("data/" + name); }
    std::string Read(const std::string& name) const { return m_folder.Read("data/" + name); }
    bool Exists(const std::string& name) const { return m_folder.Exists("data/" + name); }

    // Puts the stations in the list and saves it, as the user's earlier adds did.
    void GiveStations(const StationList& stations)
    {
        m_data.m_stations.RemoveAll();
        for (const auto& s : stations) {
            CStation* pStation = new CStation;
            pStation->m_strID = s.first;
            pStation->m_strName = s.second;
            m_data.m_stations.Add(pStation);
        }
        m_data.SaveStations();
    }

    void SetCurrent(const std::wstring& strID, const std::wstring& strName = L"")
    {
        m_data.m_settings.m_currentStation.m_strID = strID;
        m_data.m_settings.m_currentStation.m_strName = strName;
    }

    // Lets the search of the active find dialog run to its end: the download
    // and the listing after it. True once that many downloads were made.
    bool SearchFinished(size_t nDownloads)
    {
        return PumpUntil([&]() {
            return m_downloads.m_seen.size() == nDownloads && Item(IDC_FIND_SEARCH)->IsWindowEnabled();
        });
    }

    // The message boxes shown so far: text, caption and style.
    static std::vector<MESSAGEBOXCALL>& Boxes() { return CTestDriver::MessageBoxes(); }

    CTempFolder m_folder;
    CWeatherData m_data;
    CLogFile m_log{nullptr};
    CScriptedDownloads m_downloads;
};

// Both orientations, with the client sizes of a full-screen dialog.
struct ORIENTATION
{
    int nCode;
    const char* pszName;
    int cx, cy;
};
inline const ORIENTATION s_orientations[] = {{DMDO_0, "portrait", 240, 268}, {DMDO_90, "landscape", 320, 188}};
