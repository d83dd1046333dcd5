#include "platform/ui/TreeCtrl.h"

#include "platform/ui/WndImpl.h"

#include <QTreeWidget>

HTREEITEM const TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x10000));
HTREEITEM const TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFE));

namespace {

HTREEITEM ToHandle(QTreeWidgetItem* p)
{
    return reinterpret_cast<HTREEITEM>(p);
}

// The item a handle names, when it is one of this tree's; the handle is compared,
// never followed, so a stale one is harmless.
QTreeWidgetItem* ToItem(QTreeWidget* t, HTREEITEM h)
{
    if (!h || h == TVI_ROOT || h == TVI_LAST)
        return nullptr;
    for (QTreeWidgetItemIterator it(t); *it; ++it)
        if (ToHandle(*it) == h)
            return *it;
    return nullptr;
}

template <typename F>
void WithTree(const CWnd* pWnd, F f)
{
    ReadOnUiThread(pWnd, "CTreeCtrl", [f](CWnd* p) {
        if (auto* t = qobject_cast<QTreeWidget*>(ImplOf(p)->m_pWidget.data())) {
            QSignalBlocker blocker(t);   // the user's changes notify; these are told by hand
            f(t);
        }
    });
}

bool Checkable(QTreeWidget* t)
{
    return t->property("cirrovanCheckBoxes").toBool();
}

QTreeWidgetItem* NextSibling(QTreeWidget* t, QTreeWidgetItem* item, int nStep)
{
    QTreeWidgetItem* parent = item->parent();
    int index = (parent ? parent->indexOfChild(item) : t->indexOfTopLevelItem(item)) + nStep;
    int count = parent ? parent->childCount() : t->topLevelItemCount();
    if (index < 0 || index >= count)
        return nullptr;
    return parent ? parent->child(index) : t->topLevelItem(index);
}

}

void NotifyTreeSelection(CWnd* pParent, QTreeWidget* pTree, QTreeWidgetItem* pOld, QTreeWidgetItem* pNew,
                         UINT nAction)
{
    if (!pParent)
        return;
    auto item = [](QTreeWidgetItem* p) {
        TVITEM tv = {};
        tv.hItem = ToHandle(p);
        if (p)
            tv.lParam = static_cast<LPARAM>(p->data(0, Qt::UserRole).toULongLong());
        return tv;
    };
    NMTREEVIEW nm = {};
    nm.hdr.pWndFrom = WndOfWidget(pTree);
    nm.hdr.idFrom = nm.hdr.pWndFrom ? nm.hdr.pWndFrom->GetDlgCtrlID() : 0;
    nm.hdr.code = TVN_SELCHANGED;
    nm.action = nAction;
    nm.itemOld = item(pOld);
    nm.itemNew = item(pNew);
    pParent->WindowProc(WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

HTREEITEM CTreeCtrl::InsertItem(const std::wstring& strText, HTREEITEM hParent, HTREEITEM)
{
    HTREEITEM result = nullptr;
    WithTree(this, [&](QTreeWidget* t) {
        QTreeWidgetItem* parent = ToItem(t, hParent);
        if (!parent && hParent && hParent != TVI_ROOT)
            return;   // a parent that is not in this tree
        QTreeWidgetItem* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(t);
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
    return GetNextItem(nullptr, TVGN_ROOT);
}

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM hItem) const
{
    return GetNextItem(hItem, TVGN_CHILD);
}

HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM hItem) const
{
    return GetNextItem(hItem, TVGN_NEXT);
}

HTREEITEM CTreeCtrl::GetPrevSiblingItem(HTREEITEM hItem) const
{
    return GetNextItem(hItem, TVGN_PREVIOUS);
}

HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM hItem) const
{
    return GetNextItem(hItem, TVGN_PARENT);
}

HTREEITEM CTreeCtrl::GetSelectedItem() const
{
    return GetNextItem(nullptr, TVGN_CARET);
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM hItem, UINT nCode) const
{
    QTreeWidgetItem* result = nullptr;
    WithTree(this, [&](QTreeWidget* t) {
        if (nCode == TVGN_ROOT) {
            result = t->topLevelItemCount() ? t->topLevelItem(0) : nullptr;
            return;
        }
        if (nCode == TVGN_CARET) {
            QTreeWidgetItem* current = t->currentItem();
            result = current && current->isSelected() ? current : nullptr;
            return;
        }
        QTreeWidgetItem* item = ToItem(t, hItem);
        if (!item)
            return;
        if (nCode == TVGN_NEXT || nCode == TVGN_PREVIOUS)
            result = NextSibling(t, item, nCode == TVGN_NEXT ? 1 : -1);
        else if (nCode == TVGN_PARENT)
            result = item->parent();
        else if (nCode == TVGN_CHILD)
            result = item->childCount() ? item->child(0) : nullptr;
    });
    return ToHandle(result);
}

bool CTreeCtrl::SelectItem(HTREEITEM hItem)
{
    bool ok = false;
    QTreeWidgetItem* old = nullptr;
    QTreeWidgetItem* item = nullptr;
    QTreeWidget* tree = nullptr;
    WithTree(this, [&](QTreeWidget* t) {
        tree = t;
        item = ToItem(t, hItem);
        if (hItem && !item)
            return;
        old = t->currentItem() && t->currentItem()->isSelected() ? t->currentItem() : nullptr;
        if (item) {
            t->setCurrentItem(item);
        } else {
            t->clearSelection();
            t->setCurrentItem(nullptr);
        }
        ok = true;
    });
    if (ok && old != item)
        NotifyTreeSelection(GetParent(), tree, old, item, TVC_UNKNOWN);
    return ok;
}

std::wstring CTreeCtrl::GetItemText(HTREEITEM hItem) const
{
    std::wstring result;
    WithTree(this, [&](QTreeWidget* t) {
        if (QTreeWidgetItem* item = ToItem(t, hItem))
            result = FromQString(item->text(0));
    });
    return result;
}

bool CTreeCtrl::GetCheck(HTREEITEM hItem) const
{
    bool result = false;
    WithTree(this, [&](QTreeWidget* t) {
        if (QTreeWidgetItem* item = ToItem(t, hItem))
            result = item->checkState(0) == Qt::Checked;
    });
    return result;
}

bool CTreeCtrl::SetCheck(HTREEITEM hItem, bool bCheck)
{
    bool ok = false;
    WithTree(this, [&](QTreeWidget* t) {
        if (QTreeWidgetItem* item = ToItem(t, hItem)) {
            item->setCheckState(0, bCheck ? Qt::Checked : Qt::Unchecked);
            ok = true;
        }
    });
    return ok;
}

bool CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD dwData)
{
    bool ok = false;
    WithTree(this, [&](QTreeWidget* t) {
        if (QTreeWidgetItem* item = ToItem(t, hItem)) {
            item->setData(0, Qt::UserRole, QVariant::fromValue<qulonglong>(dwData));
            ok = true;
        }
    });
    return ok;
}

DWORD CTreeCtrl::GetItemData(HTREEITEM hItem) const
{
    DWORD result = 0;
    WithTree(this, [&](QTreeWidget* t) {
        if (QTreeWidgetItem* item = ToItem(t, hItem))
            result = static_cast<DWORD>(item->data(0, Qt::UserRole).toULongLong());
    });
    return result;
}

bool CTreeCtrl::Expand(HTREEITEM hItem, UINT nCode)
{
    bool ok = false;
    WithTree(this, [&](QTreeWidget* t) {
        if (QTreeWidgetItem* item = ToItem(t, hItem)) {
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
