#pragma once

#include <string>

class CDialog;
class CWnd;

// One data exchange run: towards the controls (m_bSaveAndValidate false) or back.
class CDataExchange
{
public:
    CDataExchange(CDialog* pDlg, bool bSaveAndValidate)
        : m_pDlgWnd(pDlg), m_bSaveAndValidate(bSaveAndValidate) {}

    CDialog* m_pDlgWnd;
    bool m_bSaveAndValidate;
    bool m_bFailed = false;   // a control that does not exist
};

void DDX_Text(CDataExchange* pDX, int nIDC, std::wstring& value);
// Binds a wrapper to the template's control with that ID.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// The group of radio buttons that starts at nIDC: the index of the pressed one,
// -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// Check box: 0 clear, 1 ticked.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
