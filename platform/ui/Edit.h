#pragma once

#include "platform/ui/Wnd.h"

// A one-line or multi-line edit; its text is the window text (lines end in "\r\n").
class CEdit : public CWnd
{
public:
    // A start of -1 removes the selection; unless told not to, the caret is then
    // scrolled into view.
    void SetSel(int nStartChar, int nEndChar, bool bNoScroll = false);
    void GetSel(int& nStartChar, int& nEndChar) const;
    void SetReadOnly(bool bReadOnly = true);
    bool HasSelection() const;
};
