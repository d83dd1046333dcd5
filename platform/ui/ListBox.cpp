#include "platform/ui/ListBox.h"

#include "platform/ui/WndImpl.h"

#include <QListWidget>

namespace {
template <typename F>
void WithList(const CWnd* pWnd, F f)
{
    ReadOnUiThread(pWnd, "CListBox", [f](CWnd* p) {
        if (auto* l = qobject_cast<QListWidget*>(ImplOf(p)->m_pWidget.data())) {
            QSignalBlocker blocker(l);   // only the user's choices notify the parent
            f(l);
        }
    });
}
}

int CListBox::AddString(const std::wstring& str)
{
    int index = LB_ERR;
    WithList(this, [&](QListWidget* l) { l->addItem(ToQString(str)); index = l->count() - 1; });
    return index;
}

int CListBox::InsertString(int nIndex, const std::wstring& str)
{
    int index = LB_ERR;
    WithList(this, [&](QListWidget* l) {
        int at = nIndex < 0 || nIndex > l->count() ? l->count() : nIndex;
        l->insertItem(at, ToQString(str));
        index = at;
    });
    return index;
}

int CListBox::DeleteString(int nIndex)
{
    int left = LB_ERR;
    WithList(this, [&](QListWidget* l) {
        if (nIndex < 0 || nIndex >= l->count())
            return;
        delete l->takeItem(nIndex);
        left = l->count();
    });
    return left;
}

void CListBox::ResetContent()
{
    WithList(this, [](QListWidget* l) { l->clear(); });
}

int CListBox::GetCount() const
{
    int n = 0;
    WithList(this, [&](QListWidget* l) { n = l->count(); });
    return n;
}

int CListBox::GetCurSel() const
{
    int n = LB_ERR;
    WithList(this, [&](QListWidget* l) {
        QListWidgetItem* item = l->currentItem();
        if (item && item->isSelected())
            n = l->row(item);
    });
    return n;
}

int CListBox::SetCurSel(int nSelect)
{
    int result = LB_ERR;
    WithList(this, [&](QListWidget* l) {
        if (nSelect < 0 || nSelect >= l->count()) {
            l->clearSelection();
            l->setCurrentRow(-1);
            return;
        }
        l->setCurrentRow(nSelect);
        result = nSelect;
    });
    return result;
}

void CListBox::GetText(int nIndex, std::wstring& str) const
{
    str.clear();
    WithList(this, [&](QListWidget* l) {
        if (nIndex >= 0 && nIndex < l->count())
            str = FromQString(l->item(nIndex)->text());
    });
}
