#include "platform/Kernel.h"
#include "platform/Resources.h"
#include "platform/testing/TestDriver.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/DeviceScreen.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ProgressCtrl.h"
#include "platform/ui/ScrollBar.h"
#include "platform/ui/Static.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
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

struct CloseRace
{
    HANDLE m_hEvent;
    HANDLE m_hWake;
    HANDLE m_hStarted;
    DWORD m_dwResult = 0;
};

DWORD WaitOnBoth(void* p)
{
    auto* r = static_cast<CloseRace*>(p);
    SetEvent(r->m_hStarted);
    HANDLE both[] = {r->m_hEvent, r->m_hWake};
    r->m_dwResult = WaitForMultipleObjects(2, both, false, INFINITE);
    return 0;
}

DWORD SetUntilClosed(void* p)
{
    // An HTTP callback arriving while, and after, the handle is closed.
    auto* r = static_cast<CloseRace*>(p);
    while (SetEvent(r->m_hEvent))
        ResetEvent(r->m_hEvent);
    return 0;
}

TEST(Events, ClosingAHandleNeverFreesWhatAnotherThreadUses)
{
    // A waiter whose event is closed under it waits on until its other event
    // ends the wait. Whether it was already waiting depends on timing (else its
    // wait fails at once); rounds repeat until it was.
    bool bClosedUnderTheWaiter = false;
    for (int round = 0; round < 50 && !bClosedUnderTheWaiter; ++round) {
        CloseRace race = {CreateEvent(false, false), CreateEvent(false, false), CreateEvent(false, false)};
        HANDLE hWaiter = CreateThread(WaitOnBoth, &race);
        WaitForSingleObject(race.m_hStarted, INFINITE);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        EXPECT_TRUE(CloseHandle(race.m_hEvent));
        // The closed handle names nothing any more.
        EXPECT_FALSE(SetEvent(race.m_hEvent));
        EXPECT_FALSE(ResetEvent(race.m_hEvent));
        EXPECT_FALSE(CloseHandle(race.m_hEvent));
        EXPECT_EQ(WaitForSingleObject(race.m_hEvent, 0), WAIT_FAILED);
        SetEvent(race.m_hWake);
        EXPECT_EQ(WaitForSingleObject(hWaiter, INFINITE), WAIT_OBJECT_0);
        EXPECT_TRUE(race.m_dwResult == WAIT_OBJECT_0 + 1 || race.m_dwResult == WAIT_FAILED) << race.m_dwResult;
        bClosedUnderTheWaiter = race.m_dwResult == WAIT_OBJECT_0 + 1;
        for (HANDLE h : {hWaiter, race.m_hWake, race.m_hStarted})
            CloseHandle(h);
    }
    EXPECT_TRUE(bClosedUnderTheWaiter);

    // A setter racing the close stops at the first set that finds no event.
    for (int round = 0; round < 20; ++round) {
        CloseRace race = {CreateEvent(false, false), nullptr, nullptr};
        HANDLE hSetter = CreateThread(SetUntilClosed, &race);
        EXPECT_TRUE(CloseHandle(race.m_hEvent));
        EXPECT_EQ(WaitForSingleObject(hSetter, INFINITE), WAIT_OBJECT_0);
        CloseHandle(hSetter);
    }
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

namespace {

const UINT IDD_LIFE = 60201;
const UINT IDC_LIFE_STATUS = 3011, IDC_LIFE_SCROLL = 3012, IDC_LIFE_PROGRESS = 3013;
const UINT WM_PING = WM_USER + 4;

const DLGITEMTEMPLATE s_lifeItems[] = {
    {IDC_LIFE_STATUS, CTL_STATIC, WS_CHILD | WS_VISIBLE | SS_LEFT, L"", 5, 5, 90, 8, 0},
    {IDC_LIFE_SCROLL, CTL_SCROLLBAR, WS_CHILD | WS_VISIBLE | SBS_HORZ, nullptr, 5, 16, 90, 8, 0},
    {IDC_LIFE_PROGRESS, CTL_PROGRESS, WS_CHILD | WS_VISIBLE, nullptr, 5, 28, 90, 8, 0},
};
const DLGTEMPLATE s_life = {IDD_LIFE, L"Life", WS_POPUP | WS_CAPTION, 100, 40, s_lifeItems, 3};

// Counts the pings that arrive, and those that arrive once its window is gone.
struct PingCount
{
    int m_nPings = 0;
    int m_nLate = 0;
    bool m_bGone = false;
};

// Ends its window at the tenth ping: a dialog its modal run, a child its window.
class CPingDlg : public CDialog
{
public:
    CPingDlg() : CDialog(IDD_LIFE) {}
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_LIFE_STATUS, m_status);
        DDX_Control(pDX, IDC_LIFE_SCROLL, m_scroll);
        DDX_Control(pDX, IDC_LIFE_PROGRESS, m_progress);
        DDX_Text(pDX, IDC_LIFE_STATUS, m_strStatus);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_PING)
            return CDialog::WindowProc(message, wParam, lParam);
        m_count.m_nLate += m_count.m_bGone ? 1 : 0;
        if (++m_count.m_nPings == 10 && m_bEndAtTenth) {
            EndDialog(IDOK);
            m_count.m_bGone = true;
        }
        return 0;
    }
    bool m_bEndAtTenth = false;
    PingCount m_count;
    std::wstring m_strStatus;
    CStatic m_status;
    CScrollBar m_scroll;
    CProgressCtrl m_progress;
};

class CPingWnd : public CWnd
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_PING)
            return CWnd::WindowProc(message, wParam, lParam);
        m_count.m_nLate += m_count.m_bGone ? 1 : 0;
        if (++m_count.m_nPings == 10) {
            DestroyWindow();
            m_count.m_bGone = true;
        }
        return 0;
    }
    PingCount m_count;
};

struct Poster
{
    CWnd* m_pTarget;
    CStatic* m_pStatus;
    CDialog* m_pEnd;   // ended by the worker once its target refuses posts
    int m_nPosted = 0;
    int m_nRefused = 0;
};

// Posts to its target as fast as it can, racing the user-interface thread that
// ends the target, until a hundred posts have been refused (or, should posts
// never be refused, a great many were made).
DWORD PostUntilRefused(void* p)
{
    auto* poster = static_cast<Poster*>(p);
    while (poster->m_nRefused < 100 && poster->m_nPosted < 1000000) {
        if (poster->m_pTarget->PostMessage(WM_PING))
            ++poster->m_nPosted;
        else
            ++poster->m_nRefused;
        poster->m_pStatus->SetWindowText(L"posting");
    }
    if (poster->m_pEnd)
        poster->m_pEnd->EndDialog(IDCANCEL);
    return 0;
}

TEST(WindowLife, WhatWasQueuedForAGoneWindowIsDropped)
{
    CResources::AddDialog(&s_life);
    CTestDriver::Install();
    enum Case { END_OF_MODAL_RUN, DESTROYED_CHILD };
    for (Case c : {END_OF_MODAL_RUN, DESTROYED_CHILD}) {
        SCOPED_TRACE(c == END_OF_MODAL_RUN ? "end of the modal run" : "DestroyWindow");
        CPingDlg dlg;
        CPingWnd child;
        dlg.m_bEndAtTenth = c == END_OF_MODAL_RUN;
        Poster poster = {nullptr, &dlg.m_status, nullptr};
        HANDLE hThread = nullptr;
        CTestDriver::OnDialogOpen(IDD_LIFE, [&](CDialog* pDlg) {
            if (c == DESTROYED_CHILD) {
                ASSERT_TRUE(child.Create(WS_CHILD | WS_VISIBLE, RECT{0, 0, 20, 20}, pDlg, 77));
                poster.m_pTarget = &child;
                poster.m_pEnd = pDlg;
            } else {
                poster.m_pTarget = pDlg;
            }
            hThread = CreateThread(PostUntilRefused, &poster);
        });
        EXPECT_EQ(dlg.DoModal(), c == END_OF_MODAL_RUN ? IDOK : IDCANCEL);
        ASSERT_NE(hThread, nullptr);
        EXPECT_EQ(WaitForSingleObject(hThread, INFINITE), WAIT_OBJECT_0);
        CloseHandle(hThread);
        CTestDriver::ProcessEvents();   // anything still queued finds no window

        const PingCount& count = c == END_OF_MODAL_RUN ? dlg.m_count : child.m_count;
        EXPECT_EQ(poster.m_nRefused, 100);
        EXPECT_TRUE(count.m_bGone);
        EXPECT_EQ(count.m_nPings, 10);
        EXPECT_EQ(count.m_nLate, 0);
        EXPECT_FALSE(poster.m_pTarget->PostMessage(WM_PING));
        EXPECT_FALSE(poster.m_pTarget->IsWindow());
    }
    CTestDriver::Uninstall();
}

TEST(WindowLife, CallsFromAWorkerNeverWaitForTheUiThread)
{
    CResources::AddDialog(&s_life);
    CTestDriver::Install();
    struct Seen
    {
        CPingDlg* m_pDlg;
        int m_nOldScrollPos = -1;
        int m_nScrollPos = -1;
        LRESULT m_nSent = -1;
        std::wstring m_strText = L"unset";
        bool m_bRead = true;
    };
    CPingDlg dlg;
    Seen seen = {&dlg};
    CTestDriver::OnDialogOpen(IDD_LIFE, [&](CDialog* pDlg) {
        HANDLE hThread = CreateThread([](void* p) -> DWORD {
            auto* s = static_cast<Seen*>(p);
            CPingDlg* d = s->m_pDlg;
            d->m_scroll.SetScrollRange(0, 100);
            s->m_nOldScrollPos = d->m_scroll.SetScrollPos(30);
            s->m_nScrollPos = d->m_scroll.GetScrollPos();
            d->m_progress.SetRange32(0, 1000000);
            d->m_progress.SetPos(500000);
            d->m_strStatus = L"Working";
            d->UpdateData(false);
            s->m_nSent = d->SendMessage(WM_PING);
            s->m_strText = d->m_status.GetWindowText();
            d->m_strStatus = L"kept";
            s->m_bRead = d->UpdateData(true);
            return 0;
        }, &seen);
        // The user-interface thread waits for the worker: nothing the worker
        // calls may wait for this thread.
        EXPECT_EQ(WaitForSingleObject(hThread, INFINITE), WAIT_OBJECT_0);
        CloseHandle(hThread);
        CTestDriver::ProcessEvents();
        EXPECT_EQ(seen.m_nOldScrollPos, 0);
        EXPECT_EQ(seen.m_nScrollPos, 30);
        EXPECT_EQ(seen.m_nSent, 0);            // went as a post
        EXPECT_EQ(seen.m_strText, L"");        // reads answer nothing off the user-interface thread
        EXPECT_FALSE(seen.m_bRead);
        EXPECT_EQ(dlg.m_strStatus, L"kept");
        EXPECT_EQ(dlg.m_count.m_nPings, 1);
        EXPECT_EQ(dlg.m_status.GetWindowText(), L"Working");
        EXPECT_EQ(dlg.m_scroll.GetScrollPos(), 30);
        EXPECT_EQ(dlg.m_progress.GetPos(), 500000);
        pDlg->EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    CTestDriver::Uninstall();
}

}
