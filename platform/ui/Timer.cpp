#include "platform/ui/Timer.h"

#include "platform/ui/Wnd.h"

#include <QTimer>

struct CTimer::Impl
{
    QTimer m_timer;
    CWnd* m_pWnd = nullptr;
    UINT m_message = 0;
};

CTimer::CTimer() : m_pImpl(new Impl)
{
    m_pImpl->m_timer.setSingleShot(true);
    Impl* pImpl = m_pImpl.get();
    QObject::connect(&m_pImpl->m_timer, &QTimer::timeout, [pImpl]() {
        if (pImpl->m_pWnd)
            pImpl->m_pWnd->PostMessage(pImpl->m_message, 0, 0);
    });
}

CTimer::~CTimer() = default;

void CTimer::Start(CWnd& wnd, UINT message, int nMilliseconds)
{
    m_pImpl->m_pWnd = &wnd;
    m_pImpl->m_message = message;
    m_pImpl->m_timer.start(nMilliseconds > 0 ? nMilliseconds : 0);
}

void CTimer::Stop()
{
    m_pImpl->m_timer.stop();
    m_pImpl->m_pWnd = nullptr;
}

bool CTimer::IsActive() const
{
    return m_pImpl->m_timer.isActive();
}
