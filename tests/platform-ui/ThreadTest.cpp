#include "platform/Kernel.h"
#include "platform/Resources.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/DeviceScreen.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ProgressCtrl.h"
#include "platform/ui/Static.h"
#include "platform/ui/TestDriver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

namespace {

TEST(Events, AutoResetEventsLetOneWaitThroughPerSet)
{
    HANDLE hCancel = CreateEvent(false, false);
    HANDLE hRequest = CreateEvent(false, false);
    HANDLE both[] = {hRequest, hCancel};
    EXPECT_EQ(WaitForMultipleObjects(2, both, false, 0), WAIT_TIMEOUT);

    // A set before anyone waits stays in force until a wait takes it.
    SetEvent(hCancel);
    EXPECT_EQ(WaitForMultipleObjects(2, both, false, INFINITE), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForSingleObject(hCancel, 0), WAIT_TIMEOUT);

    SetEvent(hRequest);
    SetEvent(hCancel);
    EXPECT_EQ(WaitForMultipleObjects(2, both, false, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForMultipleObjects(2, both, false, INFINITE), WAIT_OBJECT_0 + 1);

    HANDLE hManual = CreateEvent(true, true);
    EXPECT_EQ(WaitForSingleObject(hManual, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(hManual, 0), WAIT_OBJECT_0);
    ResetEvent(hManual);
    EXPECT_EQ(WaitForSingleObject(hManual, 0), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
    CloseHandle(hManual);
    CloseHandle(hCancel);
    CloseHandle(hRequest);
}

struct Relay
{
    HANDLE m_hGo;
    HANDLE m_hDone;
};

TEST(Events, ThreadsHandEventsOverAndReportTheirExitCode)
{
    Relay relay = {CreateEvent(false, false), CreateEvent(false, false)};
    HANDLE hThread = CreateThread([](void* p) -> DWORD {
        auto* r = static_cast<Relay*>(p);
        WaitForSingleObject(r->m_hGo, INFINITE);
        SetEvent(r->m_hDone);
        return static_cast<DWORD>(-1);
    }, &relay);
    ASSERT_NE(hThread, nullptr);
    DWORD code = 0;
    SetEvent(relay.m_hGo);
    EXPECT_EQ(WaitForSingleObject(relay.m_hDone, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(hThread, INFINITE), WAIT_OBJECT_0);
    EXPECT_TRUE(GetExitCodeThread(hThread, &code));
    EXPECT_EQ(code, static_cast<DWORD>(-1));
    CloseHandle(hThread);
    CloseHandle(relay.m_hGo);
    CloseHandle(relay.m_hDone);
}

const UINT IDD_WORK = 60200;
const UINT IDC_STATUS = 3001;
const UINT IDC_PROGRESS = 3002;
const UINT WM_CHECKPOINT = WM_USER + 3;

const DLGITEMTEMPLATE s_workItems[] = {
    {IDC_STATUS, CTL_STATIC, WS_CHILD | WS_VISIBLE | SS_LEFT, L"", 5, 5, 90, 8, 0},
    {IDC_PROGRESS, CTL_PROGRESS, WS_CHILD | WS_VISIBLE, nullptr, 5, 20, 90, 8, 0},
};
const DLGTEMPLATE s_work = {IDD_WORK, L"Download", WS_POPUP | WS_CAPTION, 100, 40, s_workItems, 2};

// A dialog whose worker thread reports progress in a status line and ends it,
// as the download dialog does.
class CWorkDlg : public CDialog
{
public:
    CWorkDlg() : CDialog(IDD_WORK) {}

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_STATUS, m_status);
        DDX_Control(pDX, IDC_PROGRESS, m_progress);
    }
    bool OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_progress.SetRange(0, 32000);
        m_hGo = CreateEvent(false, false);
        m_hThread = CreateThread(&CWorkDlg::s_Worker, this);
        return true;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_CHECKPOINT) {
            // On the user-interface thread: the worker's earlier calls have landed.
            m_seen.push_back(m_status.GetWindowText());
            m_nSeenPos = m_progress.GetPos();
            SetEvent(m_hGo);
            return 0;
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }
    static DWORD s_Worker(void* pParam)
    {
        auto* pDlg = static_cast<CWorkDlg*>(pParam);
        for (int i = 1; i <= 50; ++i) {
            pDlg->m_status.SetWindowText(L"Received " + std::to_wstring(i * 1024) + L" bytes");
            pDlg->m_progress.SetPos(i * 600);
        }
        pDlg->PostMessage(WM_CHECKPOINT);
        WaitForSingleObject(pDlg->m_hGo, INFINITE);
        pDlg->m_status.SetWindowText(L"Done");
        pDlg->EndDialog(IDOK);
        return 0;
    }

    CStatic m_status;
    CProgressCtrl m_progress;
    HANDLE m_hGo = nullptr;
    HANDLE m_hThread = nullptr;
    std::vector<std::wstring> m_seen;
    int m_nSeenPos = 0;
};

TEST(WorkerThread, UpdatesTheStatusLineAndEndsTheDialogOnTheUiThread)
{
    CResources::AddDialog(&s_work);
    CTestDriver::Install();
    for (int round = 0; round < 3; ++round) {
        CWorkDlg dlg;
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(WaitForSingleObject(dlg.m_hThread, INFINITE), WAIT_OBJECT_0);
        ASSERT_EQ(dlg.m_seen.size(), 1u);
        EXPECT_EQ(dlg.m_seen[0], L"Received 51200 bytes");
        EXPECT_EQ(dlg.m_nSeenPos, 30000);
        EXPECT_EQ(CTestDriver::GetActiveDialog(), nullptr);
        CloseHandle(dlg.m_hThread);
        CloseHandle(dlg.m_hGo);
    }
    CTestDriver::Uninstall();
}

TEST(WorkerThread, CallsQueuedForAWindowThatIsGoneAreSkipped)
{
    CResources::AddDialog(&s_work);
    auto* pDlg = new CWorkDlg;
    HANDLE hThread = CreateThread([](void* p) -> DWORD {
        auto* d = static_cast<CWorkDlg*>(p);
        d->m_status.SetWindowText(L"late");
        d->EndDialog(IDCANCEL);
        d->PostMessage(WM_CHECKPOINT);
        return 0;
    }, pDlg);
    WaitForSingleObject(hThread, INFINITE);
    CloseHandle(hThread);
    delete pDlg;
    CTestDriver::ProcessEvents();   // the queued calls find no window and do nothing
    SUCCEED();
}

}
