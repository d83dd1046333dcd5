#pragma once

#include "platform/ui/Bitmap.h"
#include "platform/ui/CommandBar.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Edit.h"

// Names the application, credits the weather service and opens its home page.
class CDlgAbout : public CDialog
{
public:
    explicit CDlgAbout(CWnd* pParent = nullptr);

    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnOK() override;
    // Opens the home page and stays open: the dialog closes only by OK.
    void OnCancel() override;
    bool OnCommand(UINT nID, UINT nNotifyCode) override;
    void OnDrawItem(int nIDCtl, DRAWITEMSTRUCT* pDrawItem) override;
    void OnSize(UINT nType, int cx, int cy) override;

    void OpenHomePage();

    CBitmap m_bmpLogo;   // bitmap 161, 56 x 44
    CEdit m_editText;    // control 1051
    CCommandBar m_commandBar;
};
