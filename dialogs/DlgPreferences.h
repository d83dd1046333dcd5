#pragma once

#include "platform/ui/Dialog.h"

// Units, the zero of the wind scale and hanging up after an update.
class CDlgPreferences : public CDialog
{
public:
    explicit CDlgPreferences(CWnd* pParent = nullptr);
};
