#pragma once

#include "platform/ui/Dialog.h"

// The station list: add, delete, inspect and pick the station to show.
class CDlgStations : public CDialog
{
public:
    explicit CDlgStations(CWnd* pParent = nullptr);
};
