#pragma once

#include "platform/ui/Wnd.h"

// A horizontal scroll bar; the position is always kept within the range. Every
// operation answers at once from any thread.
class CScrollBar : public CWnd
{
public:
    void SetScrollRange(int nMinPos, int nMaxPos, bool bRedraw = true);
    void GetScrollRange(int* pMinPos, int* pMaxPos) const;
    int SetScrollPos(int nPos, bool bRedraw = true);   // returns the previous position
    int GetScrollPos() const;
};
