#include "dialogs/DialogCommon.h"

#include "platform/Resources.h"
#include "platform/ui/CommandBar.h"
#include "platform/ui/Wnd.h"
#include "res/Resource.h"

bool CDialogCommon::CreateMenuBar(CWnd* pDlg, CCommandBar& commandBar, UINT nMenuBarID)
{
    return commandBar.Create(pDlg) && commandBar.InsertMenuBar(nMenuBarID);
}

void CDialogCommon::PlaceHeading(CWnd* pDlg, int cx, int nHeight)
{
    if (CWnd* pHeading = pDlg->GetDlgItem(IDC_HEADING))
        pHeading->MoveWindow(5, 5, cx - 10, nHeight);
}

int CDialogCommon::MessageBox(CWnd* pOwner, UINT nStringID, const std::wstring& strCaption, UINT nType)
{
    return pOwner->MessageBox(CResources::LoadString(nStringID), strCaption, nType);
}
