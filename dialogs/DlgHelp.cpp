#include "dialogs/DlgHelp.h"

#include "dialogs/DialogCommon.h"
#include "platform/Resources.h"
#include "res/Resource.h"

CDlgHelp::CDlgHelp(UINT nStringID, CWnd* pParent) : CDialog(IDD_HELP, pParent), m_nStringID(nStringID) {}

bool CDlgHelp::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!CDialogCommon::CreateMenuBar(this, m_commandBar, IDR_MENUBAR_OK))
        return true;
    // A number the table lacks shows an empty text.
    if (CWnd* pText = GetDlgItem(IDC_HELP_TEXT))
        pText->SetWindowText(CResources::LoadString(m_nStringID));
    return true;
}

void CDlgHelp::OnOK()
{
    EndDialog(IDOK);
}

void CDlgHelp::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    CDialogCommon::PlaceHeading(this, cx);
    if (CWnd* pText = GetDlgItem(IDC_HELP_TEXT))
        pText->MoveWindow(5, 25, cx - 10, cy - 26);
}
