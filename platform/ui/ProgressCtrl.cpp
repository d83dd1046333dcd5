#include "platform/ui/ProgressCtrl.h"

#include "platform/ui/WndImpl.h"

#include <QProgressBar>

void CProgressCtrl::SetRange(short nLower, short nUpper)
{
    RunForWindow(this, [=](CWnd* p) {
        if (auto* b = qobject_cast<QProgressBar*>(p->m_pImpl->m_pWidget.data()))
            b->setRange(nLower, nUpper < nLower ? nLower : nUpper);
    });
}

void CProgressCtrl::GetRange(int& nLower, int& nUpper) const
{
    nLower = nUpper = 0;
    RunForWindowBlocking(const_cast<CProgressCtrl*>(this), [&](CWnd* p) {
        if (auto* b = qobject_cast<QProgressBar*>(p->m_pImpl->m_pWidget.data())) {
            nLower = b->minimum();
            nUpper = b->maximum();
        }
    });
}

int CProgressCtrl::SetPos(int nPos)
{
    // Callers on the download worker must not wait for the user-interface thread,
    // so the previous position is the one this wrapper last set.
    int old = m_nLastPos.exchange(nPos);
    RunForWindow(this, [nPos](CWnd* p) {
        if (auto* b = qobject_cast<QProgressBar*>(p->m_pImpl->m_pWidget.data()))
            b->setValue(nPos < b->minimum() ? b->minimum() : (nPos > b->maximum() ? b->maximum() : nPos));
    });
    return old;
}

int CProgressCtrl::GetPos() const
{
    int pos = 0;
    RunForWindowBlocking(const_cast<CProgressCtrl*>(this), [&](CWnd* p) {
        if (auto* b = qobject_cast<QProgressBar*>(p->m_pImpl->m_pWidget.data()))
            pos = b->value();
    });
    return pos;
}
