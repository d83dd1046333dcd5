#include "platform/ui/ComboBox.h"

#include "platform/ui/DeviceScreen.h"
#include "platform/ui/WndImpl.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <algorithm>

namespace {

// The desktop would open the list below the box as long as the desktop has
// room, which on the device is over the soft keys and past the screen's bottom
// edge. Here it opens below the box when it fits between the box and the soft
// keys, else above the box when it fits under the title bar, else on the side
// with more room, cut to it (the list then scrolls).
class DropDownList : public QComboBox
{
public:
    explicit DropDownList(QWidget* pParent) : QComboBox(pParent) {}

    // A name longer than the box ends in "…", not cut off mid-letter, so the
    // user can tell that it goes on.
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        const QRect rcText = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
        option.currentText = option.fontMetrics.elidedText(option.currentText, Qt::ElideRight, rcText.width());
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }

    void showPopup() override
    {
        QComboBox::showPopup();
        QWidget* popup = view() ? view()->window() : nullptr;
        QWidget* screen = window();
        if (!popup || popup == screen)
            return;
        const RECT work = CDeviceScreen::Get().GetWorkArea();
        const QPoint origin = screen->mapToGlobal(QPoint(0, 0));
        const QRect area(origin + QPoint(work.left, work.top), QSize(work.right - work.left, work.bottom - work.top));
        const QRect box(mapToGlobal(QPoint(0, 0)), size());
        const int nBelow = area.bottom() - box.bottom();
        const int nAbove = box.top() - area.top();
        int nHeight = popup->height();
        int y;
        if (nHeight <= nBelow) {
            y = box.bottom() + 1;
        } else if (nHeight <= nAbove) {
            y = box.top() - nHeight;
        } else if (nBelow >= nAbove) {
            nHeight = nBelow;
            y = box.bottom() + 1;
        } else {
            nHeight = nAbove;
            y = area.top();
        }
        const int nWidth = std::min(popup->width(), area.width());
        const int x = std::clamp(box.left(), area.left(), area.right() + 1 - nWidth);
        popup->setGeometry(x, y, nWidth, std::max(nHeight, 0));
    }
};

// Calls that answer run on the user-interface thread only; ResetContent, which
// answers nothing, is queued from other threads.
template <typename F>
void WithCombo(const CWnd* pWnd, F f, bool bAnswers)
{
    auto fn = [f](CWnd* p) {
        if (auto* c = qobject_cast<QComboBox*>(ImplOf(p)->m_pWidget.data())) {
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

QComboBox* MakeDropDownList(QWidget* pParent)
{
    return new DropDownList(pParent);
}
