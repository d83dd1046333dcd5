#include "platform/ui/ScrollBar.h"

#include "platform/ui/WndImpl.h"

#include <QScrollBar>

void CScrollBar::SetScrollRange(int nMinPos, int nMaxPos, bool)
{
    RunForWindow(this, [=](CWnd* p) {
        if (auto* s = qobject_cast<QScrollBar*>(p->m_pImpl->m_pWidget.data())) {
            QSignalBlocker blocker(s);
            // A range that allows no movement keeps the position at its start.
            s->setRange(nMinPos, nMaxPos < nMinPos ? nMinPos : nMaxPos);
        }
    });
}

void CScrollBar::GetScrollRange(int* pMinPos, int* pMaxPos) const
{
    int lo = 0, hi = 0;
    RunForWindowBlocking(const_cast<CScrollBar*>(this), [&](CWnd* p) {
        if (auto* s = qobject_cast<QScrollBar*>(p->m_pImpl->m_pWidget.data())) {
            lo = s->minimum();
            hi = s->maximum();
        }
    });
    if (pMinPos)
        *pMinPos = lo;
    if (pMaxPos)
        *pMaxPos = hi;
}

int CScrollBar::SetScrollPos(int nPos, bool)
{
    int old = 0;
    RunForWindowBlocking(this, [&](CWnd* p) {
        if (auto* s = qobject_cast<QScrollBar*>(p->m_pImpl->m_pWidget.data())) {
            QSignalBlocker blocker(s);
            old = s->value();
            s->setValue(nPos);   // kept within the range by the bar itself
            s->setSliderPosition(s->value());
        }
    });
    return old;
}

int CScrollBar::GetScrollPos() const
{
    int pos = 0;
    RunForWindowBlocking(const_cast<CScrollBar*>(this), [&](CWnd* p) {
        if (auto* s = qobject_cast<QScrollBar*>(p->m_pImpl->m_pWidget.data()))
            pos = s->value();
    });
    return pos;
}
