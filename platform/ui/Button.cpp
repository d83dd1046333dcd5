#include "platform/ui/Button.h"

#include "platform/ui/WndImpl.h"

#include <QAbstractButton>

int CButton::GetCheck() const
{
    int result = BST_UNCHECKED;
    ReadOnUiThread(this, "CButton::GetCheck", [&result](CWnd* p) {
        if (auto* b = qobject_cast<QAbstractButton*>(ImplOf(p)->m_pWidget.data()))
            result = b->isChecked() ? BST_CHECKED : BST_UNCHECKED;
    });
    return result;
}

void CButton::SetCheck(int nCheck)
{
    RunForWindow(this, [nCheck](CWnd* p) {
        if (auto* b = qobject_cast<QAbstractButton*>(ImplOf(p)->m_pWidget.data())) {
            QSignalBlocker blocker(b);
            b->setChecked(nCheck == BST_CHECKED);
        }
    });
}

void CButton::Click()
{
    RunForWindow(this, [](CWnd* p) {
        if (auto* b = qobject_cast<QAbstractButton*>(ImplOf(p)->m_pWidget.data()))
            b->click();
    });
}
