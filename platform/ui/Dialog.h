#pragma once

#include "platform/ui/Wnd.h"

class CDataExchange;

// The full-screen flags of the phone shell's dialog initialisation.
constexpr DWORD SHIDIF_DONEBUTTON = 0x0001;
constexpr DWORD SHIDIF_SIZEDLG = 0x0002;
constexpr DWORD SHIDIF_SIZEDLGFULLSCREEN = 0x0004;
constexpr DWORD SHIDIF_SIPDOWN = 0x0008;
constexpr DWORD SHIDIF_FULLSCREENNOMENUBAR = 0x0010;
constexpr DWORD SHIDIF_EMPTYMENU = 0x0020;

// A modal dialog built from its template. DoModal runs a nested loop on the
// user-interface thread until EndDialog; the dialog underneath is disabled.
class CDialog : public CWnd
{
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // On the user-interface thread only (elsewhere -1).
    virtual int DoModal();
    // From any thread; from another one the dialog ends on the user-interface
    // thread. The first end counts; what is queued for the dialog after it is dropped.
    void EndDialog(int nResult);
    // false: from the members to the controls, from any thread (a worker's
    // changes are queued with the members' values of the moment); true: back,
    // with validation, on the user-interface thread only (elsewhere nothing is
    // read and false comes back).
    bool UpdateData(bool bSaveAndValidate = true);

    // The framework's part: a full-screen dialog gets the shell's full-screen
    // initialisation with the done button (a captioned pop-up is centred instead),
    // then the controls are filled from the members.
    virtual bool OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();       // reads the controls back and ends with IDOK
    virtual void OnCancel();   // ends with IDCANCEL
    // The desktop closes the program while the dialog is open: by default as its
    // Cancel. A dialog whose Cancel does not end it ends itself here.
    virtual void OnClose();

    bool OnCommand(UINT nID, UINT nNotifyCode) override;
    // The arrows move within a group of radio buttons and press the one they
    // reach, from the screen's focus, whichever window the desktop focuses.
    bool PreTranslateMessage(MSG* pMsg) override;
    void OnDrawItem(int nIDCtl, DRAWITEMSTRUCT* pDrawItem) override;

    // The phone shell's call; the flags above.
    bool SHInitDialog(DWORD dwFlags);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    int m_nModalResult;
    bool m_bDoneButton;    // the title bar's "ok" runs OnOK
    UINT m_nMenuBarID;     // soft keys shown while this dialog is active; 0: none
};
