#include "platform/ui/TreeCtrl.h"

#include "platform/ui/WndImpl.h"

#include <QTreeWidget>

HTREEITEM const TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x10000));
HTREEITEM const TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFE));

namespace {

QTreeWidgetItem* ToItem(HTREEITEM h)
{
    return reinterpret_cast<QTreeWidgetItem*>(h);
}

HTREEITEM ToHandle(QTreeWidgetItem* p)
{
    return reinterpret_cast<HTREEITEM>(p);
}

template <typename F>
void WithTree(const CWnd* pWnd, F f)
{
    RunForWindowBlocking(const_cast<CWnd*>(pWnd), [f](CWnd* p) {
        if (auto* t = qobject_cast<QTreeWidget*>(p->m_pImpl->m_pWidget.data())) {
            QSignalBlocker blocker(t);
            f(t);
        }
    });
}

bool Checkable(QTreeWidget* t)
{
    return t->property("cirrovanCheckBoxes").toBool();
}

}

HTREEITEM CTreeCtrl::InsertItem(const std::wstring& strText, HTREEITEM hParent, HTREEITEM)
{
    HTREEITEM result = nullptr;
    WithTree(this, [&](QTreeWidget* t) {
        QTreeWidgetItem* item = hParent == TVI_ROOT || !hParent ? new QTreeWidgetItem(t)
                                                                : new QTreeWidgetItem(ToItem(hParent));
        item->setText(0, ToQString(strText));
        if (Checkable(t)) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(0, Qt::Unchecked);
        }
        result = ToHandle(item);
    });
    return result;
}

bool CTreeCtrl::DeleteAllItems()
{
    WithTree(this, [](QTreeWidget* t) { t->clear(); });
    return true;
}

HTREEITEM CTreeCtrl::GetRootItem() const
{
    HTREEITEM result = nullptr;
    WithTree(this, [&](QTreeWidget* t) { result = t->topLevelItemCount() ? ToHandle(t->topLevelItem(0)) : nullptr; });
    return result;
}

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM hItem) const
{
    HTREEITEM result = nullptr;
    WithTree(this, [&](QTreeWidget*) {
        QTreeWidgetItem* item = ToItem(hItem);
        if (item && item->childCount())
            result = ToHandle(item->child(0));
    });
    return result;
}

HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM hItem) const
{
    HTREEITEM result = nullptr;
    WithTree(this, [&](QTreeWidget* t) {
        QTreeWidgetItem* item = ToItem(hItem);
        if (!item)
            return;
        QTreeWidgetItem* parent = item->parent();
        int index = parent ? parent->indexOfChild(item) : t->indexOfTopLevelItem(item);
        int count = parent ? parent->childCount() : t->topLevelItemCount();
        if (index >= 0 && index + 1 < count)
            result = ToHandle(parent ? parent->child(index + 1) : t->topLevelItem(index + 1));
    });
    return result;
}

std::wstring CTreeCtrl::GetItemText(HTREEITEM hItem) const
{
    std::wstring result;
    WithTree(this, [&](QTreeWidget*) {
        if (QTreeWidgetItem* item = ToItem(hItem))
            result = FromQString(item->text(0));
    });
    return result;
}

bool CTreeCtrl::GetCheck(HTREEITEM hItem) const
{
    bool result = false;
    WithTree(this, [&](QTreeWidget*) {
        if (QTreeWidgetItem* item = ToItem(hItem))
            result = item->checkState(0) == Qt::Checked;
    });
    return result;
}

bool CTreeCtrl::SetCheck(HTREEITEM hItem, bool bCheck)
{
    bool ok = false;
    WithTree(this, [&](QTreeWidget*) {
        if (QTreeWidgetItem* item = ToItem(hItem)) {
            item->setCheckState(0, bCheck ? Qt::Checked : Qt::Unchecked);
            ok = true;
        }
    });
    return ok;
}

bool CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD dwData)
{
    bool ok = false;
    WithTree(this, [&](QTreeWidget*) {
        if (QTreeWidgetItem* item = ToItem(hItem)) {
            item->setData(0, Qt::UserRole, QVariant::fromValue<qulonglong>(dwData));
            ok = true;
        }
    });
    return ok;
}

DWORD CTreeCtrl::GetItemData(HTREEITEM hItem) const
{
    DWORD result = 0;
    WithTree(this, [&](QTreeWidget*) {
        if (QTreeWidgetItem* item = ToItem(hItem))
            result = static_cast<DWORD>(item->data(0, Qt::UserRole).toULongLong());
    });
    return result;
}

bool CTreeCtrl::Expand(HTREEITEM hItem, UINT nCode)
{
    bool ok = false;
    WithTree(this, [&](QTreeWidget*) {
        if (QTreeWidgetItem* item = ToItem(hItem)) {
            item->setExpanded(nCode == TVE_EXPAND);
            ok = true;
        }
    });
    return ok;
}

int CTreeCtrl::GetCount() const
{
    int n = 0;
    WithTree(this, [&](QTreeWidget* t) {
        for (QTreeWidgetItemIterator it(t); *it; ++it)
            ++n;
    });
    return n;
}
