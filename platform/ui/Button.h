#pragma once

#include "platform/ui/Wnd.h"

constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;

// Push button, check box, radio button drawn as a push button, or owner-drawn button.
class CButton : public CWnd
{
public:
    int GetCheck() const;
    void SetCheck(int nCheck);
    // As a tap: the parent gets BN_CLICKED.
    void Click();
};
