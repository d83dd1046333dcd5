// Calls from other threads to windows: they are queued for the user-interface
// thread and carried out there, in order, but only while the window they were
// meant for still exists.

#include "platform/ui/WndImpl.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QThread>
#include <deque>
#include <mutex>
#include <sys/eventfd.h>
#include <unistd.h>

bool OnUiThread()
{
    EnsureApplication();
    return QThread::currentThread() == qApp->thread();
}

namespace {

// Calls handed over from other threads wait in a queue of our own, guarded by a
// standard mutex, and an eventfd wakes the user-interface thread to run them.
// Nothing allocated on a worker passes through Qt's event queue, so the hand-over
// is plain to reason about (and visible to the thread sanitizer).
struct CallQueue
{
    std::mutex m_mutex;
    std::deque<std::function<void()>> m_calls;
    int m_fd = -1;
    QSocketNotifier* m_pNotifier = nullptr;

    void Drain()
    {
        uint64_t count = 0;
        ssize_t n = read(m_fd, &count, sizeof count);
        (void)n;
        for (;;) {
            std::function<void()> fn;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                if (m_calls.empty())
                    return;
                fn = std::move(m_calls.front());
                m_calls.pop_front();
            }
            // A call may run a modal loop; the notifier fires again inside it for
            // calls queued meanwhile.
            fn();
        }
    }
};

CallQueue* g_pQueue = nullptr;
std::once_flag g_queueOnce;

// Inside a dialog whose modal run has been ended, nothing more is delivered: the
// dialog is on its way out even while its widgets still stand.
bool InEndedDialog(QWidget* pWidget)
{
    for (QWidget* w = pWidget; w; w = w->parentWidget()) {
        CWnd* pWnd = WndOfWidget(w);
        if (pWnd && ImplOf(pWnd)->m_bEnded)
            return true;
    }
    return false;
}

}

CWnd* LiveWindow(const std::shared_ptr<WndToken>& token, unsigned nLife)
{
    CWnd* pWnd = nullptr;
    {
        std::lock_guard<std::mutex> lock(token->m_mutex);
        if (!token->m_bLive || token->m_nLife != nLife)
            return nullptr;
        pWnd = token->m_pWnd;
    }
    if (!pWnd || !ImplOf(pWnd)->m_pWidget || InEndedDialog(ImplOf(pWnd)->m_pWidget))
        return nullptr;
    return pWnd;
}

void EnsureCallQueue()
{
    std::call_once(g_queueOnce, []() {
        auto* q = new CallQueue;   // lives as long as the application
        q->m_fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        q->m_pNotifier = new QSocketNotifier(static_cast<qintptr>(q->m_fd), QSocketNotifier::Read, qApp);
        QObject::connect(q->m_pNotifier, &QSocketNotifier::activated, q->m_pNotifier, [q]() { q->Drain(); });
        g_pQueue = q;
    });
}

void PostToUiThread(std::function<void()> fn)
{
    CallQueue* q = g_pQueue;
    if (!q)
        return;   // no window was ever made, so there is nothing to call
    {
        std::lock_guard<std::mutex> lock(q->m_mutex);
        q->m_calls.push_back(std::move(fn));
    }
    uint64_t one = 1;
    ssize_t n = write(q->m_fd, &one, sizeof one);
    (void)n;
}

void AttachWindow(CWnd* pWnd, QWidget* pWidget)
{
    ImplOf(pWnd)->m_pWidget = pWidget;
    std::shared_ptr<WndToken> token = ImplOf(pWnd)->m_token;
    unsigned nLife;
    {
        std::lock_guard<std::mutex> lock(token->m_mutex);
        nLife = ++token->m_nLife;
        token->m_bLive = true;
    }
    // However the widget goes (destroyed, its dialog ended, its parent deleted),
    // the window's life ends with it.
    QObject::connect(pWidget, &QObject::destroyed, [token, nLife]() {
        std::lock_guard<std::mutex> lock(token->m_mutex);
        if (token->m_nLife == nLife)
            token->m_bLive = false;
    });
}

void EndWindowLife(CWnd* pWnd)
{
    WndToken& token = *ImplOf(pWnd)->m_token;
    std::lock_guard<std::mutex> lock(token.m_mutex);
    token.m_bLive = false;
}

bool HasLiveWindow(const CWnd* pWnd)
{
    unsigned nLife = 0;
    return GetWindowLife(pWnd, &nLife);
}

bool GetWindowLife(const CWnd* pWnd, unsigned* pnLife)
{
    WndToken& token = *ImplOf(pWnd)->m_token;
    std::lock_guard<std::mutex> lock(token.m_mutex);
    *pnLife = token.m_nLife;
    return token.m_bLive;
}

bool QueueForWindow(CWnd* pWnd, std::function<void(CWnd*)> fn)
{
    unsigned nLife = 0;
    if (!pWnd || !GetWindowLife(pWnd, &nLife))
        return false;
    std::shared_ptr<WndToken> token = ImplOf(pWnd)->m_token;
    PostToUiThread([token, nLife, fn]() {
        if (CWnd* p = LiveWindow(token, nLife))
            fn(p);
    });
    return true;
}

void RunForWindow(CWnd* pWnd, std::function<void(CWnd*)> fn)
{
    if (!pWnd)
        return;
    if (OnUiThread()) {
        fn(pWnd);
        return;
    }
    QueueForWindow(pWnd, std::move(fn));
}

bool ReadOnUiThread(const CWnd* pWnd, const char* pszWhat, const std::function<void(CWnd*)>& fn)
{
    if (!pWnd)
        return false;
    if (OnUiThread()) {
        fn(const_cast<CWnd*>(pWnd));
        return true;
    }
    // Waiting for the user-interface thread here could hang both threads when
    // that thread waits for this one, so the call answers nothing instead.
    qWarning("%s called from a worker thread: it only answers on the user-interface thread", pszWhat);
    return false;
}
