#pragma once

#include "platform/ui/Dialog.h"

// Edits the three custom views of the chart.
class CDlgCustomViews : public CDialog
{
public:
    explicit CDlgCustomViews(CWnd* pParent = nullptr);
};
