#pragma once

#include "platform/ui/CommandBar.h"
#include "platform/ui/Dialog.h"

// One help text from the string table, chosen by the caller.
class CDlgHelp : public CDialog
{
public:
    CDlgHelp(UINT nStringID, CWnd* pParent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
    void OnSize(UINT nType, int cx, int cy) override;

    UINT m_nStringID;
    CCommandBar m_commandBar;
};
