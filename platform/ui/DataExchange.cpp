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
    // Binding happens on the user-interface thread, at initialisation; an
    // exchange a worker runs towards the controls finds the controls bound.
    if (&rControl == pCtrl || !OnUiThread())
        return;
    // Every exchange comes here; only a new control is bound (and starts a new
    // life), so that calls a worker queued meanwhile still arrive and a worker
    // reading the wrapper never meets a write.
    if (ImplOf(rControl)->m_pWidget == ImplOf(pCtrl)->m_pWidget && HasLiveWindow(&rControl))
        return;
    ImplOf(rControl)->m_state = ImplOf(pCtrl)->m_state;
    ImplOf(rControl)->m_nID = static_cast<UINT>(nIDC);
    ImplOf(rControl)->m_pParent = pDX->m_pDlgWnd;
    ImplOf(rControl)->m_bOwnsWidget = false;
    AttachWindow(&rControl, ImplOf(pCtrl)->m_pWidget);
}

namespace {

QButtonGroup* RadioGroup(CWnd* pFirst)
{
    auto* first = pFirst ? qobject_cast<QAbstractButton*>(ImplOf(pFirst)->m_pWidget.data()) : nullptr;
    return first ? first->group() : nullptr;
}

}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    CWnd* pFirst = pDX->m_pDlgWnd->GetDlgItem(static_cast<UINT>(nIDC));
    if (!pFirst || (OnUiThread() && !RadioGroup(pFirst))) {
        pDX->m_bFailed = true;
        return;
    }
    const int pressed = value;
    auto press = [pressed](CWnd* p) {
        QButtonGroup* group = RadioGroup(p);
        if (!group)
            return;
        // Pressing none needs the group's exclusivity lifted for a moment.
        QList<QAbstractButton*> buttons = group->buttons();
        group->setExclusive(false);
        for (int i = 0; i < buttons.size(); ++i) {
            QSignalBlocker blocker(buttons[i]);
            buttons[i]->setChecked(i == pressed);
        }
        group->setExclusive(true);
    };
    if (!pDX->m_bSaveAndValidate) {
        RunForWindow(pFirst, press);   // from a worker, queued like every other change
        return;
    }
    QList<QAbstractButton*> buttons = RadioGroup(pFirst)->buttons();
    value = -1;
    for (int i = 0; i < buttons.size(); ++i)
        if (buttons[i]->isChecked())
            value = i;
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
