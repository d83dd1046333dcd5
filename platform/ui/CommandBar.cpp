#include "platform/ui/CommandBar.h"

#include "platform/Resources.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ScreenImpl.h"

bool CCommandBar::Create(CWnd* pParentWnd)
{
    m_pParentWnd = pParentWnd;
    return pParentWnd && pParentWnd->IsWindow();
}

bool CCommandBar::InsertMenuBar(UINT nMenuBarID)
{
    auto* pDlg = dynamic_cast<CDialog*>(m_pParentWnd);
    if (!pDlg || !pDlg->IsWindow() || !CResources::FindMenuBar(nMenuBarID))
        return false;
    m_nMenuBarID = nMenuBarID;
    pDlg->m_nMenuBarID = nMenuBarID;
    ImplOf(CDeviceScreen::Get())->UpdateBars();
    return true;
}
