#include "platform/ui/Wnd.h"

#include "platform/ui/Accessibility.h"
#include "platform/ui/PaintDC.h"
#include "platform/ui/ScreenImpl.h"
#include "platform/ui/UiObserver.h"
#include "platform/ui/WndImpl.h"

#include <QAbstractButton>
#include <QBackingStore>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <QTextEdit>
#include <QVariant>
#include <QWheelEvent>
#include <algorithm>

namespace {
CWnd* g_pCapture = nullptr;
const char* const kWndProperty = "cirrovanWnd";
}

CWnd* WndOfWidget(QWidget* pWidget)
{
    QVariant v = pWidget ? pWidget->property(kWndProperty) : QVariant();
    return v.isValid() ? static_cast<CWnd*>(v.value<void*>()) : nullptr;
}

CWnd* WndFromWidget(QWidget* pWidget)
{
    for (QWidget* w = pWidget; w; w = w->parentWidget()) {
        if (CWnd* pWnd = WndOfWidget(w))
            return pWnd;
    }
    return nullptr;
}

void SetWidgetWnd(QWidget* pWidget, CWnd* pWnd)
{
    pWidget->setProperty(kWndProperty, QVariant::fromValue(static_cast<void*>(pWnd)));
}

void DispatchSize(CWnd* pWnd)
{
    QWidget* w = ImplOf(pWnd)->m_pWidget;
    if (!w)
        return;
    SIZE size = {w->width(), w->height()};
    if (size.cx == ImplOf(pWnd)->m_lastSize.cx && size.cy == ImplOf(pWnd)->m_lastSize.cy)
        return;
    ImplOf(pWnd)->m_lastSize = size;
    pWnd->WindowProc(WM_SIZE, 0, static_cast<LPARAM>((size.cx & 0xffff) | ((size.cy & 0xffff) << 16)));
}

BorderFrame::BorderFrame(QWidget* pParent, int nTop, QColor color)
    : QWidget(pParent), m_nTop(nTop), m_color(color)
{
}

void BorderFrame::SyncClient()
{
    if (m_pClient)
        m_pClient->setGeometry(1, m_nTop, std::max(0, width() - 2), std::max(0, height() - m_nTop - 1));
}

void BorderFrame::resizeEvent(QResizeEvent*)
{
    SyncClient();
}

void BorderFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(m_color);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, width() - 1, height() - 1);
}

QWidget* OuterWidget(CWnd* pWnd)
{
    if (ImplOf(pWnd)->m_pFrame)
        return ImplOf(pWnd)->m_pFrame;
    return ImplOf(pWnd)->m_pWidget;
}

void PlaceWindow(CWnd* pWnd, const QRect& rc)
{
    QWidget* outer = OuterWidget(pWnd);
    if (!outer)
        return;
    outer->setGeometry(rc);
    if (auto* frame = dynamic_cast<BorderFrame*>(outer))
        frame->SyncClient();
    DispatchSize(pWnd);
}

HostWidget::HostWidget(CWnd* pWnd, QWidget* pParent) : QWidget(pParent), m_pWnd(pWnd)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
}

QImage HostWidget::StoreSurface(const QPaintEvent* pEvent) const
{
    // Only a paint of the whole window (every step of a drag is one) into the
    // raster store of its window, at a whole ratio: whatever lies over the
    // window is then painted after it, being in the same dirty area. A grab
    // paints through a painter of its own and is left to the painter.
    if (pEvent->region() != QRegion(rect()) || sharedPainter())
        return QImage();
    QPoint ptRedirect;
    QPaintDevice* device = redirected(&ptRedirect);
    QBackingStore* store = window()->backingStore();
    if (!store || !device || device != store->paintDevice() || device->devType() != QInternal::Image)
        return QImage();
    auto* image = static_cast<QImage*>(device);
    const qreal ratio = image->devicePixelRatio();
    if (ratio != std::floor(ratio))
        return QImage();
    const int nRatio = static_cast<int>(ratio);
    const QPoint at = -ptRedirect * nRatio;
    const QSize size = this->size() * nRatio;
    if ((image->format() != QImage::Format_RGB32 && image->format() != QImage::Format_ARGB32_Premultiplied)
        || !image->isDetached() || !image->rect().contains(QRect(at, size)))
        return QImage();
    QImage surface(image->bits() + at.y() * image->bytesPerLine() + at.x() * 4, size.width(), size.height(),
                   image->bytesPerLine(), image->format());
    surface.setDevicePixelRatio(ratio);
    return surface;
}

void HostWidget::paintEvent(QPaintEvent* pEvent)
{
    // A paint that cannot go straight into the store goes through a surface of
    // the window's own, which the painter clips; both stay in the 32-bit format
    // of the images copied in, so nothing is converted. Both hold the window at
    // the desktop's ratio.
    QImage direct = StoreSurface(pEvent);
    const qreal ratio = devicePixelRatioF();
    const QSize deviceSize(static_cast<int>(std::ceil(width() * ratio - 1e-6)),
                           static_cast<int>(std::ceil(height() * ratio - 1e-6)));
    if (direct.isNull() && (m_surface.size() != deviceSize || m_surface.devicePixelRatio() != ratio)) {
        m_surface = QImage(deviceSize, QImage::Format_RGB32);
        m_surface.setDevicePixelRatio(ratio);
    }
    QImage& surface = direct.isNull() ? m_surface : direct;
    // Only the part to be painted is erased and copied; what the handler draws
    // beyond it is clipped away.
    const QRect rcPaint = pEvent->region().boundingRect() & rect();
    const QRect rcDevice = QRect(QPoint(ToDevice(rcPaint.left(), ratio), ToDevice(rcPaint.top(), ratio)),
                                 QPoint(ToDevice(rcPaint.right() + 1, ratio) - 1,
                                        ToDevice(rcPaint.bottom() + 1, ratio) - 1)) & surface.rect();
    m_erase.Start(rcDevice);
    m_pPaintSurface = &surface;
    if (m_pWnd)
        m_pWnd->WindowProc(WM_PAINT, 0, 0);
    m_erase.Flush(surface);
    m_pPaintSurface = nullptr;
    if (direct.isNull()) {
        QPainter painter(this);
        if (ratio == 1.0) {
            painter.drawImage(rcPaint.topLeft(), m_surface, rcPaint);
        } else {
            // The surface pixel for pixel onto the store's, never resampled.
            painter.setClipRect(rcPaint);
            painter.drawImage(QPointF(0, 0), m_surface);
        }
    }
    CUiObserver* pObserver = GetUiObserver();
    if (pObserver && m_pWnd)
        pObserver->Painted(m_pWnd);
}

void HostWidget::resizeEvent(QResizeEvent*)
{
    if (m_pWnd)
        DispatchSize(m_pWnd);
}

static LPARAM PointParam(QMouseEvent* pEvent)
{
    QPoint p = pEvent->position().toPoint();
    return static_cast<LPARAM>((p.x() & 0xffff) | ((p.y() & 0xffff) << 16));
}

void HostWidget::mousePressEvent(QMouseEvent* pEvent)
{
    if (m_pWnd && pEvent->button() == Qt::LeftButton)
        m_pWnd->WindowProc(WM_LBUTTONDOWN, 1, PointParam(pEvent));
}

void HostWidget::mouseMoveEvent(QMouseEvent* pEvent)
{
    if (m_pWnd)
        m_pWnd->WindowProc(WM_MOUSEMOVE, (pEvent->buttons() & Qt::LeftButton) ? 1 : 0, PointParam(pEvent));
}

void HostWidget::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (m_pWnd && pEvent->button() == Qt::LeftButton)
        m_pWnd->WindowProc(WM_LBUTTONUP, 0, PointParam(pEvent));
}

void HostWidget::wheelEvent(QWheelEvent* pEvent)
{
    // Qt counts a sideways turn positive to the left; the message, to the right.
    const QPoint delta = pEvent->angleDelta();
    bool bTaken = false;
    if (m_pWnd && delta.y() != 0)
        bTaken = m_pWnd->WindowProc(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<UINT>(delta.y())), 0) != 0;
    if (m_pWnd && delta.x() != 0)
        bTaken = m_pWnd->WindowProc(WM_MOUSEHWHEEL, MAKEWPARAM(0, static_cast<UINT>(-delta.x())), 0) != 0 || bTaken;
    pEvent->setAccepted(bTaken);
}

CWnd::CWnd() : m_pImpl(std::make_unique<Impl>())
{
    EnsureApplication();
    m_pImpl->m_pOwner = this;
    m_pImpl->m_token = std::make_shared<WndToken>();
    m_pImpl->m_token->m_pWnd = this;
}

CWnd::~CWnd()
{
    {
        std::lock_guard<std::mutex> lock(m_pImpl->m_token->m_mutex);
        m_pImpl->m_token->m_pWnd = nullptr;
        m_pImpl->m_token->m_bLive = false;
    }
    if (g_pCapture == this)
        g_pCapture = nullptr;
    if (m_pImpl->m_bOwnsWidget && m_pImpl->m_pWidget) {
        if (auto* host = dynamic_cast<HostWidget*>(m_pImpl->m_pWidget.data()))
            host->m_pWnd = nullptr;
        delete OuterWidget(this);
    }
    // The implementation goes last, with the controls a dialog still keeps.
}

bool CWnd::Create(DWORD dwStyle, const RECT& rc, CWnd* pParentWnd, UINT nID)
{
    EnsureApplication();
    if (!pParentWnd || !OnUiThread() || !ImplOf(pParentWnd)->m_pWidget || m_pImpl->m_pWidget)
        return false;
    QWidget* parent = ImplOf(pParentWnd)->m_pWidget;
    BorderFrame* frame = nullptr;
    if (dwStyle & WS_BORDER) {
        // A bordered window's client area is one pixel smaller on every side.
        frame = new BorderFrame(parent, 1, QColor(0, 0, 0));
        SetWidgetWnd(frame, this);
        parent = frame;
    }
    auto* host = new HostWidget(this, parent);
    SetWidgetWnd(host, this);
    if (frame)
        frame->m_pClient = host;
    AttachWindow(this, host);
    ApplyAccessibleRole(this);
    // Reached by Tab only: a tap on a window drawn by hand is a stylus
    // gesture, and leaves the focus where it was.
    if (dwStyle & WS_TABSTOP)
        host->setFocusPolicy(Qt::TabFocus);
    m_pImpl->m_pFrame = frame;
    m_pImpl->m_bOwnsWidget = true;
    m_pImpl->m_nID = nID;
    m_pImpl->m_pParent = pParentWnd;
    PlaceWindow(this, QRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top));
    // Explicitly either way: a child made while its parent is hidden would
    // otherwise appear with the parent.
    host->show();
    OuterWidget(this)->setVisible((dwStyle & WS_VISIBLE) != 0);
    return true;
}

void CWnd::DestroyWindow()
{
    if (!OnUiThread()) {
        RunForWindow(this, [](CWnd* p) { p->DestroyWindow(); });
        return;
    }
    EndWindowLife(this);
    if (m_pImpl->m_bOwnsWidget && m_pImpl->m_pWidget) {
        if (auto* host = dynamic_cast<HostWidget*>(m_pImpl->m_pWidget.data()))
            host->m_pWnd = nullptr;
        delete OuterWidget(this);
    }
    m_pImpl->m_pWidget = nullptr;
    m_pImpl->m_pFrame = nullptr;
    m_pImpl->m_bOwnsWidget = false;
}

bool CWnd::IsWindow() const
{
    if (!OnUiThread())
        return HasLiveWindow(this);
    return !m_pImpl->m_pWidget.isNull();
}

CWnd* CWnd::GetParent() const
{
    return m_pImpl->m_pParent;
}

CWnd* CWnd::GetDlgItem(UINT nID) const
{
    if (!IsWindow())
        return nullptr;
    {
        std::lock_guard<std::mutex> lock(m_pImpl->m_controlsMutex);
        auto it = m_pImpl->m_controls.find(nID);
        if (it != m_pImpl->m_controls.end())
            return it->second.get();
    }
    // Child windows created in code (the chart) are found by their widgets.
    if (!OnUiThread() || !m_pImpl->m_pWidget)
        return nullptr;
    for (QObject* child : m_pImpl->m_pWidget->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        CWnd* pWnd = w ? WndFromWidget(w) : nullptr;
        if (pWnd && pWnd != this && ImplOf(pWnd)->m_nID == nID)
            return pWnd;
    }
    return nullptr;
}

UINT CWnd::GetDlgCtrlID() const
{
    return m_pImpl->m_nID;
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, bool bRepaint)
{
    RunForWindow(this, [=](CWnd* p) {
        QWidget* w = OuterWidget(p);
        if (!w)
            return;
        // Size handlers run at once, as on the device, not when the widget is next shown.
        PlaceWindow(p, QRect(x, y, nWidth < 0 ? 0 : nWidth, nHeight < 0 ? 0 : nHeight));
        if (bRepaint)
            w->update();
    });
}

void CWnd::MoveWindow(const RECT& rc, bool bRepaint)
{
    MoveWindow(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, bRepaint);
}

void CWnd::SetWindowPos(const CWnd*, int x, int y, int cx, int cy, UINT nFlags)
{
    RunForWindow(this, [=](CWnd* p) {
        QWidget* w = OuterWidget(p);
        if (!w)
            return;
        QRect r = w->geometry();
        if (!(nFlags & SWP_NOMOVE))
            r.moveTo(x, y);
        if (!(nFlags & SWP_NOSIZE))
            r.setSize(QSize(cx, cy));
        PlaceWindow(p, r);
    });
}

void CWnd::GetClientRect(RECT* pRect) const
{
    if (!pRect)
        return;
    *pRect = RECT{0, 0, 0, 0};
    ReadOnUiThread(this, "GetClientRect", [pRect](CWnd* p) {
        if (QWidget* w = ImplOf(p)->m_pWidget)
            *pRect = RECT{0, 0, w->width(), w->height()};
    });
}

void CWnd::GetWindowRect(RECT* pRect) const
{
    if (!pRect)
        return;
    *pRect = RECT{0, 0, 0, 0};
    ReadOnUiThread(this, "GetWindowRect", [pRect](CWnd* p) {
        if (QWidget* w = OuterWidget(p)) {
            QRect g = w->geometry();
            *pRect = RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
        }
    });
}

void CWnd::SetWindowText(const std::wstring& strText)
{
    RunForWindow(this, [strText](CWnd* p) {
        QWidget* w = ImplOf(p)->m_pWidget;
        ImplOf(p)->m_strCaption = strText;
        if (!w)
            return;
        QString text = ToQString(strText);
        if (auto* label = qobject_cast<QLabel*>(w)) {
            label->setText(text);
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            edit->setText(text);
        } else if (auto* plain = qobject_cast<QTextEdit*>(w)) {
            text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            plain->setPlainText(text);
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            button->setText(text);
        } else {
            // A dialog's caption: its pop-up strip, or the title bar while it is active.
            w->setWindowTitle(text);
            SetPopupCaption(ImplOf(p)->m_pFrame, text);
            if (ImplOf(p)->m_pLoop || ImplOf(p)->m_bFullScreen)
                ImplOf(CDeviceScreen::Get())->UpdateBars();
        }
    });
}

std::wstring CWnd::GetWindowText() const
{
    std::wstring result;
    ReadOnUiThread(this, "GetWindowText", [&result](CWnd* p) {
        QWidget* w = ImplOf(p)->m_pWidget;
        if (!w) {
            result = ImplOf(p)->m_strCaption;
            return;
        }
        if (auto* label = qobject_cast<QLabel*>(w))
            result = FromQString(label->text());
        else if (auto* edit = qobject_cast<QLineEdit*>(w))
            result = FromQString(edit->text());
        else if (auto* plain = qobject_cast<QTextEdit*>(w))
            result = FromQString(plain->toPlainText().replace(QLatin1String("\n"), QLatin1String("\r\n")));
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            result = FromQString(button->text());
        else
            result = ImplOf(p)->m_strCaption;
    });
    return result;
}

void CWnd::ShowWindow(int nCmdShow)
{
    RunForWindow(this, [nCmdShow](CWnd* p) {
        if (QWidget* w = OuterWidget(p))
            w->setVisible(nCmdShow != SW_HIDE);
    });
}

bool CWnd::IsWindowVisible() const
{
    bool bVisible = false;
    ReadOnUiThread(this, "IsWindowVisible", [&bVisible](CWnd* p) {
        QWidget* w = OuterWidget(p);
        bVisible = w && !w->isHidden();
    });
    return bVisible;
}

void CWnd::EnableWindow(bool bEnable)
{
    RunForWindow(this, [bEnable](CWnd* p) {
        if (QWidget* w = OuterWidget(p))
            w->setEnabled(bEnable);
    });
}

bool CWnd::IsWindowEnabled() const
{
    bool bEnabled = false;
    ReadOnUiThread(this, "IsWindowEnabled", [&bEnabled](CWnd* p) {
        QWidget* w = OuterWidget(p);
        bEnabled = w && w->isEnabled();
    });
    return bEnabled;
}

void CWnd::SetFocus()
{
    RunForWindow(this, [](CWnd* p) {
        if (QWidget* w = ImplOf(p)->m_pWidget)
            w->setFocus();
    });
}

// Every paint starts from white where it paints, so whether to erase first is
// not the caller's to choose.
void CWnd::Invalidate(bool)
{
    RunForWindow(this, [](CWnd* p) {
        if (QWidget* w = ImplOf(p)->m_pWidget)
            w->update();
    });
}

void CWnd::UpdateWindow()
{
    RunForWindow(this, [](CWnd* p) {
        if (QWidget* w = ImplOf(p)->m_pWidget)
            w->repaint();
    });
}

void CWnd::SetCapture()
{
    g_pCapture = this;
}

void CWnd::ReleaseCapture()
{
    g_pCapture = nullptr;
}

CWnd* CWnd::GetCapture()
{
    return g_pCapture;
}

CWnd* CWnd::GetFocus()
{
    if (!OnUiThread())
        return nullptr;
    // The screen keeps its focused widget while the desktop's focus is elsewhere
    // (on the enlarged view, or on no window of ours at all).
    QWidget* w = ImplOf(CDeviceScreen::Get())->m_pScreen->focusWidget();
    return w ? WndFromWidget(w) : nullptr;
}

bool CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Through the same queue as every other call from any thread, so that a
    // message posted after a status change arrives after it.
    return QueueForWindow(this, [message, wParam, lParam](CWnd* p) { p->WindowProc(message, wParam, lParam); });
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!OnUiThread()) {
        // Waiting for the answer could hang both threads; the message goes as posted.
        PostMessage(message, wParam, lParam);
        return 0;
    }
    if (!IsWindow())
        return 0;
    return WindowProc(message, wParam, lParam);
}

void CWnd::RunAfterPaint(std::function<void()> fnWork)
{
    // Qt's posted events run from the event loop only, never inside a paint.
    unsigned nLife = 0;
    if (!GetWindowLife(this, &nLife))
        return;
    std::shared_ptr<WndToken> token = m_pImpl->m_token;
    QMetaObject::invokeMethod(qApp, [token, nLife, fnWork]() {
        if (LiveWindow(token, nLife))
            fnWork();
    }, Qt::QueuedConnection);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    auto point = [lParam]() {
        return POINT{static_cast<short>(lParam & 0xffff), static_cast<short>((lParam >> 16) & 0xffff)};
    };
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), static_cast<int>(lParam & 0xffff), static_cast<int>((lParam >> 16) & 0xffff));
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), point());
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), point());
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wParam), point());
        return 0;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? 1 : 0;
    case WM_HSCROLL:
        OnHScroll(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<CScrollBar*>(lParam));
        return 0;
    case WM_DRAWITEM:
        OnDrawItem(static_cast<int>(wParam), reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return 1;
    case WM_NOTIFY: {
        LRESULT result = 0;
        OnNotify(wParam, lParam, &result);
        return result;
    }
    default:
        return 0;
    }
}

bool CWnd::PreTranslateMessage(MSG*)
{
    return false;
}

void CWnd::OnPaint()
{
    // Validates the window, as the default handler does.
    CPaintDC dc(this);
}

void CWnd::OnSize(UINT, int, int) {}
void CWnd::OnLButtonDown(UINT, POINT) {}
void CWnd::OnMouseMove(UINT, POINT) {}
void CWnd::OnLButtonUp(UINT, POINT) {}
bool CWnd::OnCommand(UINT, UINT) { return false; }
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) {}
void CWnd::OnDrawItem(int, DRAWITEMSTRUCT*) {}
bool CWnd::OnNotify(WPARAM, LPARAM, LRESULT*) { return false; }
