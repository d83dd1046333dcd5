#pragma once

#include "platform/ui/Dialog.h"

// Updates the forecasts of the stations the user ticks.
class CDlgSelectStation : public CDialog
{
public:
    explicit CDlgSelectStation(CWnd* pParent = nullptr);
};
