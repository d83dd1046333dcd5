#pragma once

#include "platform/WinTypes.h"

#include <memory>

class CWnd;

// Posts a message to a window once its time has passed, on the user-interface
// thread: how a window redoes what depends on the clock (a forecast's age) as
// time goes by. Started again, it forgets the time it was waiting for; it
// never fires after it is stopped or destroyed.
class CTimer
{
public:
    CTimer();
    ~CTimer();
    CTimer(const CTimer&) = delete;
    CTimer& operator=(const CTimer&) = delete;

    void Start(CWnd& wnd, UINT message, int nMilliseconds);
    void Stop();
    bool IsActive() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};
