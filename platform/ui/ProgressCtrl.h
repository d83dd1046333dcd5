#pragma once

#include "platform/ui/Wnd.h"

#include <atomic>

// A progress bar with a 16-bit range.
class CProgressCtrl : public CWnd
{
public:
    void SetRange(short nLower, short nUpper);
    void GetRange(int& nLower, int& nUpper) const;
    int SetPos(int nPos);   // returns the previous position
    int GetPos() const;

    std::atomic<int> m_nLastPos{0};
};
