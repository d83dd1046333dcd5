#pragma once

#include "platform/ui/Dialog.h"

// Updates the forecasts of the current station.
class CDlgUpdateStation : public CDialog
{
public:
    explicit CDlgUpdateStation(CWnd* pParent = nullptr);
};
