#pragma once

#include "platform/ui/Bitmap.h"
#include "platform/ui/CommandBar.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Static.h"

// Names the application, credits the weather service and opens its home page.
class CDlgAbout : public CDialog
{
public:
    explicit CDlgAbout(CWnd* pParent = nullptr);

    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnOK() override;
    // The soft key naming the service: opens the home page and stays open.
    void OnCancel() override;
    // The program is closed while the dialog is open: it ends, opening nothing.
    void OnClose() override;
    // Escape closes the dialog, opening nothing.
    bool PreTranslateMessage(MSG* pMsg) override;
    bool OnCommand(UINT nID, UINT nNotifyCode) override;
    void OnDrawItem(int nIDCtl, DRAWITEMSTRUCT* pDrawItem) override;
    void OnSize(UINT nType, int cx, int cy) override;

    // In the browser; where none can be started, the address is shown instead
    // so that the user can take it elsewhere.
    void OpenHomePage();
    // The credit picture with the configured service's name written into it.
    void ComposeCredit();

    CBitmap m_bmpLogo;          // bitmap 161, 56 x 44
    CBitmap m_bmpCredit;        // bitmap 162 with the name, 70 x 32
    CEdit m_editText;           // control 1051
    CStatic m_staticCredit;     // control 1052
    CCommandBar m_commandBar;
};
