#pragma once

#include "platform/WinTypes.h"

class CWnd;

// The soft-key menu bar of a dialog: the two soft keys at the foot of the screen.
class CCommandBar
{
public:
    bool Create(CWnd* pParentWnd);
    // The menu bar resource's keys become the dialog's soft keys; false when the
    // resource is unknown or the bar was not created.
    bool InsertMenuBar(UINT nMenuBarID);

    CWnd* m_pParentWnd = nullptr;
    UINT m_nMenuBarID = 0;
};
