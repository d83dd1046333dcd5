#include "platform/ui/ScrollBar.h"

#include "platform/ui/WndImpl.h"

#include <QScrollBar>

namespace {

// The bar follows the shared state as it is when the call runs; its own signals
// stay quiet, since only the user's actions notify the parent.
void ShowState(CWnd* pWnd)
{
    auto* bar = qobject_cast<QScrollBar*>(ImplOf(pWnd)->m_pWidget.data());
    ControlState* state = ImplOf(pWnd)->m_state.get();
    if (!bar || !state)
        return;
    int nMin, nMax, nPos;
    {
        std::lock_guard<std::mutex> lock(state->m_mutex);
        nMin = state->m_nMinPos;
        nMax = state->m_nMaxPos;
        nPos = state->m_nScrollPos;
    }
    QSignalBlocker blocker(bar);
    bar->setRange(nMin, nMax);
    bar->setValue(nPos);
    bar->setSliderPosition(nPos);
}

template <typename F>
int Change(CScrollBar* pBar, F change)
{
    ControlState* state = ImplOf(pBar)->m_state.get();
    if (!state)
        return 0;
    int old;
    {
        std::lock_guard<std::mutex> lock(state->m_mutex);
        old = state->m_nScrollPos;
        change(*state);
        // A range that allows no movement keeps the position at its start.
        if (state->m_nMaxPos < state->m_nMinPos)
            state->m_nMaxPos = state->m_nMinPos;
        if (state->m_nScrollPos < state->m_nMinPos)
            state->m_nScrollPos = state->m_nMinPos;
        if (state->m_nScrollPos > state->m_nMaxPos)
            state->m_nScrollPos = state->m_nMaxPos;
    }
    RunForWindow(pBar, ShowState);
    return old;
}

}

void CScrollBar::SetScrollRange(int nMinPos, int nMaxPos, bool)
{
    Change(this, [=](ControlState& s) {
        s.m_nMinPos = nMinPos;
        s.m_nMaxPos = nMaxPos;
    });
}

void CScrollBar::GetScrollRange(int* pMinPos, int* pMaxPos) const
{
    int lo = 0, hi = 0;
    if (ControlState* state = ImplOf(this)->m_state.get()) {
        std::lock_guard<std::mutex> lock(state->m_mutex);
        lo = state->m_nMinPos;
        hi = state->m_nMaxPos;
    }
    if (pMinPos)
        *pMinPos = lo;
    if (pMaxPos)
        *pMaxPos = hi;
}

int CScrollBar::SetScrollPos(int nPos, bool)
{
    return Change(this, [=](ControlState& s) { s.m_nScrollPos = nPos; });
}

int CScrollBar::GetScrollPos() const
{
    ControlState* state = ImplOf(this)->m_state.get();
    if (!state)
        return 0;
    std::lock_guard<std::mutex> lock(state->m_mutex);
    return state->m_nScrollPos;
}
