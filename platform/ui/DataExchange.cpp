#include "platform/ui/DataExchange.h"

#include "platform/ui/Button.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/WndImpl.h"

#include <QAbstractButton>
#include <QButtonGroup>

void DDX_Text(CDataExchange* pDX, int nIDC, std::wstring& value)
{
    CWnd* pCtrl = pDX->m_pDlgWnd->GetDlgItem(static_cast<UINT>(nIDC));
    if (!pCtrl) {
        pDX->m_bFailed = true;
        return;
    }
    if (pDX->m_bSaveAndValidate)
        value = pCtrl->GetWindowText();
    else
        pCtrl->SetWindowText(value);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    CWnd* pCtrl = pDX->m_pDlgWnd->GetDlgItem(static_cast<UINT>(nIDC));
    if (!pCtrl) {
        pDX->m_bFailed = true;
        return;
    }
    if (&rControl == pCtrl)
        return;
    // Bound again at every exchange: only a new control starts a new life, so
    // that calls a worker queued meanwhile still arrive.
    if (rControl.m_pImpl->m_pWidget != pCtrl->m_pImpl->m_pWidget || !HasLiveWindow(&rControl))
        AttachWindow(&rControl, pCtrl->m_pImpl->m_pWidget);
    rControl.m_pImpl->m_state = pCtrl->m_pImpl->m_state;
    rControl.m_pImpl->m_nID = static_cast<UINT>(nIDC);
    rControl.m_pImpl->m_pParent = pDX->m_pDlgWnd;
    rControl.m_pImpl->m_bOwnsWidget = false;
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    CWnd* pFirst = pDX->m_pDlgWnd->GetDlgItem(static_cast<UINT>(nIDC));
    auto* first = pFirst ? qobject_cast<QAbstractButton*>(pFirst->m_pImpl->m_pWidget.data()) : nullptr;
    if (!first || !first->group()) {
        pDX->m_bFailed = true;
        return;
    }
    QList<QAbstractButton*> buttons = first->group()->buttons();
    if (pDX->m_bSaveAndValidate) {
        value = -1;
        for (int i = 0; i < buttons.size(); ++i)
            if (buttons[i]->isChecked())
                value = i;
        return;
    }
    QButtonGroup* group = first->group();
    // Pressing none needs the group's exclusivity lifted for a moment.
    group->setExclusive(false);
    for (int i = 0; i < buttons.size(); ++i) {
        QSignalBlocker blocker(buttons[i]);
        buttons[i]->setChecked(i == value);
    }
    group->setExclusive(true);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    auto* pCtrl = static_cast<CButton*>(pDX->m_pDlgWnd->GetDlgItem(static_cast<UINT>(nIDC)));
    if (!pCtrl) {
        pDX->m_bFailed = true;
        return;
    }
    if (pDX->m_bSaveAndValidate)
        value = pCtrl->GetCheck();
    else
        pCtrl->SetCheck(value);
}
