#include "platform/ui/ComboBox.h"

#include "platform/ui/WndImpl.h"

#include <QComboBox>

namespace {
// Calls that answer run on the user-interface thread only; ResetContent, which
// answers nothing, is queued from other threads.
template <typename F>
void WithCombo(const CWnd* pWnd, F f, bool bAnswers)
{
    auto fn = [f](CWnd* p) {
        if (auto* c = qobject_cast<QComboBox*>(p->m_pImpl->m_pWidget.data())) {
            QSignalBlocker blocker(c);   // only the user's choices notify the parent
            f(c);
        }
    };
    if (bAnswers)
        ReadOnUiThread(pWnd, "CComboBox", fn);
    else
        RunForWindow(const_cast<CWnd*>(pWnd), fn);
}
}

int CComboBox::AddString(const std::wstring& str)
{
    int index = CB_ERR;
    WithCombo(this, [&](QComboBox* c) { c->addItem(ToQString(str)); index = c->count() - 1; }, true);
    return index;
}

int CComboBox::InsertString(int nIndex, const std::wstring& str)
{
    int index = CB_ERR;
    WithCombo(this, [&](QComboBox* c) {
        int at = nIndex < 0 || nIndex > c->count() ? c->count() : nIndex;
        c->insertItem(at, ToQString(str));
        index = at;
    }, true);
    return index;
}

int CComboBox::DeleteString(int nIndex)
{
    int left = CB_ERR;
    WithCombo(this, [&](QComboBox* c) {
        if (nIndex < 0 || nIndex >= c->count())
            return;
        c->removeItem(nIndex);
        left = c->count();
    }, true);
    return left;
}

void CComboBox::ResetContent()
{
    WithCombo(this, [](QComboBox* c) { c->clear(); c->setCurrentIndex(-1); }, false);
}

int CComboBox::GetCount() const
{
    int n = 0;
    WithCombo(this, [&](QComboBox* c) { n = c->count(); }, true);
    return n;
}

int CComboBox::GetCurSel() const
{
    int n = CB_ERR;
    WithCombo(this, [&](QComboBox* c) { n = c->currentIndex() < 0 ? CB_ERR : c->currentIndex(); }, true);
    return n;
}

int CComboBox::SetCurSel(int nSelect)
{
    int result = CB_ERR;
    WithCombo(this, [&](QComboBox* c) {
        if (nSelect < 0 || nSelect >= c->count()) {
            c->setCurrentIndex(-1);
            return;
        }
        c->setCurrentIndex(nSelect);
        result = nSelect;
    }, true);
    return result;
}

void CComboBox::GetLBText(int nIndex, std::wstring& str) const
{
    str.clear();
    WithCombo(this, [&](QComboBox* c) {
        if (nIndex >= 0 && nIndex < c->count())
            str = FromQString(c->itemText(nIndex));
    }, true);
}
