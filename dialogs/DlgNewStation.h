#pragma once

#include "platform/ui/Dialog.h"

// Adds a station by its ID, or by a place name searched online.
class CDlgNewStation : public CDialog
{
public:
    explicit CDlgNewStation(CWnd* pParent = nullptr);
};
