#pragma once

#include "platform/ui/Wnd.h"

// A progress bar. Its range and position are unsigned 32-bit values, so that a
// whole answer of up to 4 GiB - 1 bytes fits: a DWORD passed through the int
// parameters comes back unchanged (read the answers as DWORD). The position is
// kept within the range. Every operation answers at once from any thread.
class CProgressCtrl : public CWnd
{
public:
    // The platform cut its 16-bit range fields; these take the whole value.
    void SetRange(UINT nLower, UINT nUpper);
    void SetRange32(int nLower, int nUpper);
    void GetRange(int& nLower, int& nUpper) const;
    int SetPos(int nPos);   // returns the previous position
    int GetPos() const;
};
