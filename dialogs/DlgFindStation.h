#pragma once

#include "platform/ui/Dialog.h"

// Searches the service for a place and lets the user pick one of the answers.
class CDlgFindStation : public CDialog
{
public:
    explicit CDlgFindStation(CWnd* pParent = nullptr);
};
