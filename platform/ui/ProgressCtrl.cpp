#include "platform/ui/ProgressCtrl.h"

#include "platform/ui/WndImpl.h"

#include <QProgressBar>

namespace {

// The bar shows the state as it is when the call runs. Its own range is a signed
// int: a span beyond it is drawn halved, as often as needed.
void ShowState(CWnd* pWnd)
{
    ControlState* state = ImplOf(pWnd)->m_state.get();
    if (!state)
        return;
    uint32_t nLower, nUpper, nPos;
    {
        std::lock_guard<std::mutex> lock(state->m_mutex);
        state->m_bShowQueued = false;
        nLower = state->m_nLower;
        nUpper = state->m_nUpper;
        nPos = state->m_nPos;
    }
    auto* bar = qobject_cast<QProgressBar*>(ImplOf(pWnd)->m_pWidget.data());
    if (!bar)
        return;
    uint32_t span = nUpper - nLower;
    int shift = 0;
    while ((span >> shift) > 0x7fffffffu)
        ++shift;
    bar->setRange(0, static_cast<int>(span >> shift));
    bar->setValue(static_cast<int>((nPos - nLower) >> shift));
}

// Changes the shared state under its lock and has the widget follow. A worker
// moves the bar once per 1 KiB block: while one showing waits for the
// user-interface thread, later changes join it instead of queueing their own,
// so that thread wakes once per turn rather than once per block.
template <typename F>
void Change(CProgressCtrl* pCtrl, F change)
{
    ControlState* state = ImplOf(pCtrl)->m_state.get();
    if (!state)
        return;
    bool bQueued;
    {
        std::lock_guard<std::mutex> lock(state->m_mutex);
        bQueued = state->m_bShowQueued;
        state->m_bShowQueued = true;
        change(*state);
        if (state->m_nUpper < state->m_nLower)
            state->m_nUpper = state->m_nLower;
        if (state->m_nPos < state->m_nLower)
            state->m_nPos = state->m_nLower;
        if (state->m_nPos > state->m_nUpper)
            state->m_nPos = state->m_nUpper;
    }
    // The user-interface thread's own changes show at once, as ever.
    if (!bQueued || OnUiThread())
        RunForWindow(pCtrl, ShowState);
}

}

void CProgressCtrl::SetRange(UINT nLower, UINT nUpper)
{
    Change(this, [=](ControlState& s) {
        s.m_nLower = nLower;
        s.m_nUpper = nUpper;
    });
}

void CProgressCtrl::SetRange32(int nLower, int nUpper)
{
    SetRange(static_cast<UINT>(nLower), static_cast<UINT>(nUpper));
}

void CProgressCtrl::GetRange(int& nLower, int& nUpper) const
{
    nLower = nUpper = 0;
    if (ControlState* state = ImplOf(this)->m_state.get()) {
        std::lock_guard<std::mutex> lock(state->m_mutex);
        nLower = static_cast<int>(state->m_nLower);
        nUpper = static_cast<int>(state->m_nUpper);
    }
}

int CProgressCtrl::SetPos(int nPos)
{
    uint32_t old = 0;
    Change(this, [&](ControlState& s) {
        old = s.m_nPos;
        s.m_nPos = static_cast<uint32_t>(nPos);
    });
    return static_cast<int>(old);
}

int CProgressCtrl::GetPos() const
{
    ControlState* state = ImplOf(this)->m_state.get();
    if (!state)
        return 0;
    std::lock_guard<std::mutex> lock(state->m_mutex);
    return static_cast<int>(state->m_nPos);
}
