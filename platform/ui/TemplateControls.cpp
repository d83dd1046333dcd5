// Builds the Qt widget for each control of a dialog template and turns the
// widget's signals into the notifications the dialog expects.

#include "platform/Resources.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DCImpl.h"
#include "platform/ui/Edit.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/ProgressCtrl.h"
#include "platform/ui/ScrollBar.h"
#include "platform/ui/Static.h"
#include "platform/ui/TreeCtrl.h"
#include "platform/ui/WndImpl.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QMouseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPolygonF>
#include <QPixmap>
#include <QTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTreeWidget>
#include <algorithm>
#include <vector>

namespace {

void Notify(CWnd* pDialog, UINT nID, UINT nCode)
{
    pDialog->WindowProc(WM_COMMAND, MAKEWPARAM(nID, nCode), 0);
}

// A tap in a tree tells its parent NM_CLICK before the tap takes effect, as the
// platform's tree does; while the stylus is down, a new selection is the tap's.
class TreeClickFilter : public QObject
{
public:
    TreeClickFilter(CWnd* pDialog, QTreeWidget* pTree) : QObject(pTree), m_pDialog(pDialog), m_pTree(pTree) {}

protected:
    bool eventFilter(QObject*, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::MouseButtonPress)
            m_pTree->setProperty("cirrovanStylusDown", true);
        if (pEvent->type() == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent*>(pEvent)->button() == Qt::LeftButton) {
            m_pTree->setProperty("cirrovanStylusDown", false);
            NMHDR nm = {WndOfWidget(m_pTree), 0, NM_CLICK};
            nm.idFrom = nm.pWndFrom ? nm.pWndFrom->GetDlgCtrlID() : 0;
            m_pDialog->WindowProc(WM_NOTIFY, nm.idFrom, reinterpret_cast<LPARAM>(&nm));
        }
        return false;
    }

private:
    CWnd* m_pDialog;
    QTreeWidget* m_pTree;
};

// A button the dialog draws itself, through WM_DRAWITEM with a drawing context
// over the button's area.
class OwnerDrawButton : public QAbstractButton
{
public:
    OwnerDrawButton(CWnd* pDialog, UINT nID, QWidget* pParent)
        : QAbstractButton(pParent), m_pDialog(pDialog), m_nID(nID) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QImage surface(size(), QImage::Format_RGB32);
        surface.fill(qRgb(255, 255, 255));
        CDC dc;
        ImplOf(dc)->m_pSurface = &surface;
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_BUTTON;
        dis.CtlID = m_nID;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = (isDown() ? ODS_SELECTED : 0) | (isEnabled() ? 0 : ODS_DISABLED)
                        | (hasFocus() ? ODS_FOCUS : 0);
        dis.pWndItem = WndFromWidget(this);
        dis.pDC = &dc;
        dis.rcItem = RECT{0, 0, width(), height()};
        m_pDialog->WindowProc(WM_DRAWITEM, m_nID, reinterpret_cast<LPARAM>(&dis));
        QPainter painter(this);
        painter.drawImage(0, 0, surface);
    }

private:
    CWnd* m_pDialog;
    UINT m_nID;
};

// A scroll bar drawn flat, as the device's: it repaints with every step of a
// drag, and the style's shaded one costs several times as much (its gradients
// are filled on worker threads). The style still places the parts, so they are
// where the stylus finds them.
class PlainScrollBar : public QScrollBar
{
public:
    PlainScrollBar(Qt::Orientation orientation, QWidget* pParent) : QScrollBar(orientation, pParent)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    bool event(QEvent* pEvent) override
    {
        const bool bResult = QScrollBar::event(pEvent);
        // It covers itself whole, so nothing under it needs painting first; the
        // style's polish takes that back (its own scroll bars may be rounded).
        if (pEvent->type() == QEvent::Polish || pEvent->type() == QEvent::StyleChange)
            setAttribute(Qt::WA_OpaquePaintEvent);
        return bResult;
    }

    void paintEvent(QPaintEvent*) override
    {
        QStyleOptionSlider option;
        initStyleOption(&option);
        const bool bEnabled = isEnabled() && maximum() > minimum();
        // Everything but the thumb changes only with the size, the style and the
        // arrows' state: it is drawn once into a picture, and a step of a drag
        // puts that picture back and the thumb at its new place.
        const Face face{size(), devicePixelRatio(), orientation(), style(), bEnabled, option.state & QStyle::State_Sunken,
                        option.activeSubControls};
        if (!(face == m_face) || m_faceImage.isNull()) {
            m_face = face;
            // At the screen's own pixel density, so that it looks as if drawn there.
            m_faceImage = QImage(size() * face.dpr, QImage::Format_RGB32);
            m_faceImage.setDevicePixelRatio(face.dpr);
            QPainter facePainter(&m_faceImage);
            DrawFace(facePainter, option, bEnabled);
        }
        QPainter painter(this);
        painter.drawImage(0, 0, m_faceImage);
        m_paintedHandle = bEnabled ? Handle() : QRect();
        if (bEnabled)
            painter.fillRect(m_paintedHandle, isSliderDown() ? QColor(96, 96, 96) : QColor(138, 138, 138));
    }

    void sliderChange(SliderChange change) override
    {
        if (change != SliderValueChange) {
            QScrollBar::sliderChange(change);
            return;
        }
        // A new position repaints only where the thumb was and now is, and
        // nothing while it stays on the same pixels: most steps of a drag move
        // the chart by less than a pixel of the bar.
        const bool bEnabled = isEnabled() && maximum() > minimum();
        const QRect handle = bEnabled ? Handle() : QRect();
        if (handle != m_paintedHandle)
            update(m_paintedHandle | handle);
    }

private:
    struct Face
    {
        QSize size;
        qreal dpr;
        Qt::Orientation orientation;
        const QStyle* pStyle;
        bool bEnabled;
        QStyle::State sunken;
        QStyle::SubControls active;
        bool operator==(const Face& other) const
        {
            return size == other.size && dpr == other.dpr && orientation == other.orientation && pStyle == other.pStyle && bEnabled == other.bEnabled
                   && sunken == other.sunken && active == other.active;
        }
    };
    Face m_face{};
    QImage m_faceImage;
    QRect m_paintedHandle;   // where the last paint put the thumb

    // The thumb's place for each position, as the style puts it, kept while
    // nothing else it depends on changes: asking the style costs a full set of
    // its options, and a drag asks at every step.
    struct HandleLayout
    {
        QSize size;
        Qt::Orientation orientation;
        const QStyle* pStyle;
        Qt::LayoutDirection direction;
        bool bInverted;
        int nMin, nMax, nPage;
        bool operator==(const HandleLayout& other) const
        {
            return size == other.size && orientation == other.orientation && pStyle == other.pStyle
                   && direction == other.direction && bInverted == other.bInverted && nMin == other.nMin
                   && nMax == other.nMax && nPage == other.nPage;
        }
    };
    HandleLayout m_handleLayout{};
    std::vector<QRect> m_handles;   // by position from the minimum; null: not asked yet

    QRect Handle()
    {
        const HandleLayout layout{size(), orientation(), style(), layoutDirection(), invertedAppearance(),
                                  minimum(), maximum(), pageStep()};
        if (!(layout == m_handleLayout)) {
            m_handleLayout = layout;
            // A range too long to keep is asked of the style every time.
            const long long nCount = static_cast<long long>(layout.nMax) - layout.nMin + 1;
            m_handles.assign(nCount > 0 && nCount <= 4096 ? static_cast<size_t>(nCount) : 0, QRect());
        }
        const long long nIndex = static_cast<long long>(sliderPosition()) - minimum();
        const bool bKept = nIndex >= 0 && nIndex < static_cast<long long>(m_handles.size());
        if (bKept && !m_handles[static_cast<size_t>(nIndex)].isNull())
            return m_handles[static_cast<size_t>(nIndex)];
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QRect slider = style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
        const QRect handle = orientation() == Qt::Horizontal ? slider.adjusted(0, 1, 0, -1) : slider.adjusted(1, 0, -1, 0);
        if (bKept)
            m_handles[static_cast<size_t>(nIndex)] = handle;
        return handle;
    }

    // The groove and the two arrow buttons.
    void DrawFace(QPainter& painter, const QStyleOptionSlider& option, bool bEnabled)
    {
        painter.fillRect(rect(), QColor(228, 228, 228));
        const QColor ink = bEnabled ? QColor(64, 64, 64) : QColor(160, 160, 160);
        const bool bHorizontal = orientation() == Qt::Horizontal;
        for (QStyle::SubControl control : {QStyle::SC_ScrollBarSubLine, QStyle::SC_ScrollBarAddLine}) {
            const QRect rc = style()->subControlRect(QStyle::CC_ScrollBar, &option, control, this);
            if (rc.isEmpty())
                continue;
            const bool bDown = (option.state & QStyle::State_Sunken) && (option.activeSubControls & control);
            painter.fillRect(rc, bDown ? QColor(168, 168, 168) : QColor(204, 204, 204));
            // A small triangle pointing away from the groove.
            const QPointF c = QRectF(rc).center();
            const qreal s = std::min(rc.width(), rc.height()) * 0.3;
            const qreal d = control == QStyle::SC_ScrollBarSubLine ? -1 : 1;
            QPolygonF arrow;
            if (bHorizontal)
                arrow << QPointF(c.x() + d * s, c.y()) << QPointF(c.x() - d * s * 0.6, c.y() - s)
                      << QPointF(c.x() - d * s * 0.6, c.y() + s);
            else
                arrow << QPointF(c.x(), c.y() + d * s) << QPointF(c.x() - s, c.y() - d * s * 0.6)
                      << QPointF(c.x() + s, c.y() - d * s * 0.6);
            painter.setPen(Qt::NoPen);
            painter.setBrush(ink);
            painter.drawPolygon(arrow);
        }
    }
};

// What a maker builds for one control of a template: the wrapper the dialog
// sees and the widget under it, not yet placed.
struct MadeControl
{
    std::unique_ptr<CWnd> pWrapper;
    QWidget* pWidget;
};

QString ItemText(const DLGITEMTEMPLATE& item)
{
    return item.pszText ? ToQString(item.pszText) : QString();
}

MadeControl MakeStatic(const DLGITEMTEMPLATE& item, QWidget* pParent)
{
    auto* label = new QLabel(pParent);
    if ((item.dwStyle & 0x1F) == SS_BITMAP) {
        CBitmap bmp;
        if (bmp.LoadBitmap(item.nBitmapID))
            label->setPixmap(QPixmap::fromImage(ImplOf(bmp)->m_image));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    } else {
        Qt::Alignment h = Qt::AlignLeft;
        if ((item.dwStyle & 0x3) == SS_CENTER)
            h = Qt::AlignHCenter;
        else if ((item.dwStyle & 0x3) == SS_RIGHT)
            h = Qt::AlignRight;
        label->setAlignment(h | ((item.dwStyle & SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop));
        // Statics break lines at word boundaries unless they are one vertically centred line.
        label->setWordWrap(!(item.dwStyle & SS_CENTERIMAGE));
        label->setTextFormat(Qt::PlainText);
        if (item.pszText)
            label->setText(ToQString(item.pszText));
    }
    return MadeControl{std::make_unique<CStatic>(), label};
}

MadeControl MakeButton(CWnd* pDialog, const DLGITEMTEMPLATE& item, QWidget* pParent)
{
    const UINT id = item.nID;
    const QString text = ItemText(item);
    DWORD type = item.dwStyle & BS_TYPEMASK;
    QAbstractButton* button = nullptr;
    if (type == BS_OWNERDRAW) {
        button = new OwnerDrawButton(pDialog, id, pParent);
    } else if (type == BS_AUTOCHECKBOX && !(item.dwStyle & BS_PUSHLIKE)) {
        button = new QCheckBox(text, pParent);
    } else {
        auto* push = new QPushButton(text, pParent);
        if (type == BS_AUTORADIOBUTTON || type == BS_AUTOCHECKBOX) {
            push->setCheckable(true);
            // A pressed-in state that reads at a glance on a small screen.
            push->setStyleSheet(QStringLiteral(
                "QPushButton { border: 1px solid #8a8a8a; border-radius: 3px; background: #f0f0f0; }"
                "QPushButton:checked { border: 1px solid #1c3f8c; background: #a9c2ee; font-weight: bold; }"));
        }
        button = push;
    }
    // Reached by Tab and pressed by Space, as on any desktop; a tap gives no
    // focus, so the stylus leaves no mark behind it.
    button->setFocusPolicy(Qt::TabFocus);
    QObject::connect(button, &QAbstractButton::clicked, button, [pDialog, id]() { Notify(pDialog, id, BN_CLICKED); });
    return MadeControl{std::make_unique<CButton>(), button};
}

MadeControl MakeEdit(CWnd* pDialog, const DLGITEMTEMPLATE& item, QWidget* pParent)
{
    const UINT id = item.nID;
    const QString text = ItemText(item);
    QWidget* widget = nullptr;
    if (item.dwStyle & ES_MULTILINE) {
        // Scrolled by pixels, so that its last line can always be brought
        // whole into view (a widget that scrolls by lines hid it).
        auto* edit = new QTextEdit(pParent);
        edit->setAcceptRichText(false);
        edit->setPlainText(text);
        edit->setReadOnly(item.dwStyle & ES_READONLY);
        edit->setVerticalScrollBarPolicy((item.dwStyle & WS_VSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setLineWrapMode(QTextEdit::WidgetWidth);
        QObject::connect(edit, &QTextEdit::textChanged, edit, [pDialog, id]() { Notify(pDialog, id, EN_CHANGE); });
        widget = edit;
    } else {
        auto* edit = new QLineEdit(text, pParent);
        edit->setReadOnly(item.dwStyle & ES_READONLY);
        QObject::connect(edit, &QLineEdit::textEdited, edit, [pDialog, id]() { Notify(pDialog, id, EN_CHANGE); });
        widget = edit;
    }
    return MadeControl{std::make_unique<CEdit>(), widget};
}

MadeControl MakeComboBox(CWnd* pDialog, const DLGITEMTEMPLATE& item, QWidget* pParent)
{
    const UINT id = item.nID;
    QComboBox* combo = MakeDropDownList(pParent);
    combo->setEditable(false);
    combo->setFocusPolicy(Qt::TabFocus);
    QObject::connect(combo, QOverload<int>::of(&QComboBox::activated), combo,
                     [pDialog, id](int) { Notify(pDialog, id, CBN_SELCHANGE); });
    return MadeControl{std::make_unique<CComboBox>(), combo};
}

MadeControl MakeListBox(CWnd* pDialog, const DLGITEMTEMPLATE& item, QWidget* pParent)
{
    const UINT id = item.nID;
    auto* list = new QListWidget(pParent);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    if (item.dwStyle & LBS_SORT)
        list->setSortingEnabled(true);
    // Told once the new line is selected, not when it merely became current:
    // a handler that reads the selection must find the user's choice.
    QObject::connect(list, &QListWidget::itemSelectionChanged, list, [pDialog, id]() { Notify(pDialog, id, LBN_SELCHANGE); });
    QObject::connect(list, &QListWidget::itemDoubleClicked, list, [pDialog, id](QListWidgetItem*) { Notify(pDialog, id, LBN_DBLCLK); });
    return MadeControl{std::make_unique<CListBox>(), list};
}

MadeControl MakeScrollBar(CWnd* pDialog, const DLGITEMTEMPLATE& item, QWidget* pParent)
{
    auto wrapper = std::make_unique<CScrollBar>();
    CScrollBar* scrollBar = wrapper.get();
    auto* bar = new PlainScrollBar((item.dwStyle & SBS_VERT) ? Qt::Vertical : Qt::Horizontal, pParent);
    auto state = std::make_shared<ControlState>();
    ImplOf(scrollBar)->m_state = state;
    bar->setRange(state->m_nMinPos, state->m_nMaxPos);
    // The thumb dragged with tracking moves the value too; the state follows.
    QObject::connect(bar, &QAbstractSlider::valueChanged, bar, [state](int value) {
        std::lock_guard<std::mutex> lock(state->m_mutex);
        state->m_nScrollPos = value;
    });
    bar->setSingleStep(10);
    bar->setPageStep(10);
    bar->setFocusPolicy(Qt::NoFocus);
    // The device's scroll bar does not move by itself: it asks its parent, which
    // sets the position. Only the thumb follows the stylus while dragged.
    QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [pDialog, bar, scrollBar](int action) {
        UINT code = SB_ENDSCROLL;
        int pos = bar->sliderPosition();
        switch (action) {
        case QAbstractSlider::SliderSingleStepSub: code = SB_LINELEFT; break;
        case QAbstractSlider::SliderSingleStepAdd: code = SB_LINERIGHT; break;
        case QAbstractSlider::SliderPageStepSub: code = SB_PAGELEFT; break;
        case QAbstractSlider::SliderPageStepAdd: code = SB_PAGERIGHT; break;
        case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
        default: return;
        }
        if (code != SB_THUMBTRACK)
            bar->setSliderPosition(bar->value());
        pDialog->WindowProc(WM_HSCROLL, MAKEWPARAM(code, static_cast<UINT>(pos)), reinterpret_cast<LPARAM>(scrollBar));
    });
    QObject::connect(bar, &QAbstractSlider::sliderReleased, bar, [pDialog, bar, scrollBar]() {
        pDialog->WindowProc(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<UINT>(bar->sliderPosition())),
                            reinterpret_cast<LPARAM>(scrollBar));
        pDialog->WindowProc(WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), reinterpret_cast<LPARAM>(scrollBar));
    });
    return MadeControl{std::move(wrapper), bar};
}

MadeControl MakeProgress(QWidget* pParent)
{
    auto wrapper = std::make_unique<CProgressCtrl>();
    ImplOf(wrapper.get())->m_state = std::make_shared<ControlState>();
    auto* bar = new QProgressBar(pParent);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    return MadeControl{std::move(wrapper), bar};
}

MadeControl MakeTree(CWnd* pDialog, const DLGITEMTEMPLATE& item, QWidget* pParent)
{
    auto* tree = new QTreeWidget(pParent);
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    tree->setRootIsDecorated(item.dwStyle & TVS_HASBUTTONS);
    tree->setProperty("cirrovanCheckBoxes", (item.dwStyle & TVS_CHECKBOXES) != 0);
    tree->viewport()->installEventFilter(new TreeClickFilter(pDialog, tree));
    QObject::connect(tree, &QTreeWidget::currentItemChanged, tree,
                     [pDialog, tree](QTreeWidgetItem* pNew, QTreeWidgetItem* pOld) {
        UINT action = tree->property("cirrovanStylusDown").toBool() ? TVC_BYMOUSE : TVC_BYKEYBOARD;
        NotifyTreeSelection(pDialog, tree, pOld, pNew, action);
    });
    return MadeControl{std::make_unique<CTreeCtrl>(), tree};
}

MadeControl MakeControl(CWnd* pDialog, const DLGITEMTEMPLATE& item, QWidget* pParent)
{
    switch (item.nKind) {
    case CTL_STATIC: return MakeStatic(item, pParent);
    case CTL_BUTTON: return MakeButton(pDialog, item, pParent);
    case CTL_EDIT: return MakeEdit(pDialog, item, pParent);
    case CTL_COMBOBOX: return MakeComboBox(pDialog, item, pParent);
    case CTL_LISTBOX: return MakeListBox(pDialog, item, pParent);
    case CTL_SCROLLBAR: return MakeScrollBar(pDialog, item, pParent);
    case CTL_PROGRESS: return MakeProgress(pParent);
    case CTL_TREE: return MakeTree(pDialog, item, pParent);
    }
    return MadeControl{nullptr, nullptr};
}

}

std::unique_ptr<CWnd> CreateTemplateControl(CWnd* pDialog, QWidget* pParent, const DLGITEMTEMPLATE& item)
{
    MadeControl made = MakeControl(pDialog, item, pParent);
    QWidget* widget = made.pWidget;
    if (!widget)
        return nullptr;
    RECT rc;
    DialogUnitsToPixels(item.x, item.y, item.cx, item.cy, rc);
    widget->setGeometry(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    widget->setEnabled(!(item.dwStyle & WS_DISABLED));
    // A control without WS_VISIBLE stays hidden; its rectangle is still its own.
    widget->setVisible((item.dwStyle & WS_VISIBLE) != 0);
    SetWidgetWnd(widget, made.pWrapper.get());
    AttachWindow(made.pWrapper.get(), widget);
    ImplOf(made.pWrapper.get())->m_nID = item.nID;
    ImplOf(made.pWrapper.get())->m_pParent = pDialog;
    return std::move(made.pWrapper);
}
