#include "platform/ui/Wnd.h"

#include "platform/ui/PaintDC.h"
#include "platform/ui/WndImpl.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QThread>
#include <QVariant>

namespace {
CWnd* g_pCapture = nullptr;
const char* const kWndProperty = "cirrovanWnd";
}

bool OnUiThread()
{
    EnsureApplication();
    return QThread::currentThread() == qApp->thread();
}

void RunForWindow(CWnd* pWnd, std::function<void(CWnd*)> fn)
{
    if (!pWnd)
        return;
    if (OnUiThread()) {
        fn(pWnd);
        return;
    }
    std::shared_ptr<WndToken> token = pWnd->m_pImpl->m_token;
    QMetaObject::invokeMethod(qApp, [token, fn]() {
        if (token->m_pWnd)
            fn(token->m_pWnd);
    }, Qt::QueuedConnection);
}

void RunForWindowBlocking(CWnd* pWnd, std::function<void(CWnd*)> fn)
{
    if (!pWnd)
        return;
    if (OnUiThread()) {
        fn(pWnd);
        return;
    }
    std::shared_ptr<WndToken> token = pWnd->m_pImpl->m_token;
    QMetaObject::invokeMethod(qApp, [token, fn]() {
        if (token->m_pWnd)
            fn(token->m_pWnd);
    }, Qt::BlockingQueuedConnection);
}

CWnd* WndFromWidget(QWidget* pWidget)
{
    for (QWidget* w = pWidget; w; w = w->parentWidget()) {
        QVariant v = w->property(kWndProperty);
        if (v.isValid())
            return static_cast<CWnd*>(v.value<void*>());
    }
    return nullptr;
}

void SetWidgetWnd(QWidget* pWidget, CWnd* pWnd)
{
    pWidget->setProperty(kWndProperty, QVariant::fromValue(static_cast<void*>(pWnd)));
}

void DispatchSize(CWnd* pWnd)
{
    QWidget* w = pWnd->m_pImpl->m_pWidget;
    if (!w)
        return;
    SIZE size = {w->width(), w->height()};
    if (size.cx == pWnd->m_pImpl->m_lastSize.cx && size.cy == pWnd->m_pImpl->m_lastSize.cy)
        return;
    pWnd->m_pImpl->m_lastSize = size;
    pWnd->WindowProc(WM_SIZE, 0, static_cast<LPARAM>((size.cx & 0xffff) | ((size.cy & 0xffff) << 16)));
}

HostWidget::HostWidget(CWnd* pWnd, QWidget* pParent) : QWidget(pParent), m_pWnd(pWnd)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
}

void HostWidget::paintEvent(QPaintEvent*)
{
    QImage surface(size(), QImage::Format_RGB32);
    surface.fill(qRgb(255, 255, 255));
    m_pPaintSurface = &surface;
    if (m_pWnd)
        m_pWnd->WindowProc(WM_PAINT, 0, 0);
    m_pPaintSurface = nullptr;
    QPainter painter(this);
    painter.drawImage(0, 0, surface);
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

CWnd::CWnd() : m_pImpl(new Impl)
{
    m_pImpl->m_pOwner = this;
    m_pImpl->m_token = std::make_shared<WndToken>(WndToken{this});
}

CWnd::~CWnd()
{
    m_pImpl->m_token->m_pWnd = nullptr;
    if (g_pCapture == this)
        g_pCapture = nullptr;
    if (m_pImpl->m_bOwnsWidget && m_pImpl->m_pWidget) {
        if (auto* host = dynamic_cast<HostWidget*>(m_pImpl->m_pWidget.data()))
            host->m_pWnd = nullptr;
        delete m_pImpl->m_pWidget.data();
    }
    delete m_pImpl;
}

bool CWnd::Create(DWORD dwStyle, const RECT& rc, CWnd* pParentWnd, UINT nID)
{
    EnsureApplication();
    if (!pParentWnd || !pParentWnd->m_pImpl->m_pWidget || m_pImpl->m_pWidget)
        return false;
    auto* host = new HostWidget(this, pParentWnd->m_pImpl->m_pWidget);
    SetWidgetWnd(host, this);
    m_pImpl->m_pWidget = host;
    m_pImpl->m_bOwnsWidget = true;
    m_pImpl->m_nID = nID;
    m_pImpl->m_pParent = pParentWnd;
    if (dwStyle & WS_BORDER)
        host->setContentsMargins(0, 0, 0, 0);
    host->setGeometry(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    DispatchSize(this);
    if (dwStyle & WS_VISIBLE)
        host->show();
    return true;
}

void CWnd::DestroyWindow()
{
    if (m_pImpl->m_bOwnsWidget && m_pImpl->m_pWidget) {
        if (auto* host = dynamic_cast<HostWidget*>(m_pImpl->m_pWidget.data()))
            host->m_pWnd = nullptr;
        delete m_pImpl->m_pWidget.data();
    }
    m_pImpl->m_pWidget = nullptr;
    m_pImpl->m_bOwnsWidget = false;
}

bool CWnd::IsWindow() const
{
    return !m_pImpl->m_pWidget.isNull();
}

CWnd* CWnd::GetParent() const
{
    return m_pImpl->m_pParent;
}

CWnd* CWnd::GetDlgItem(UINT nID) const
{
    auto it = m_pImpl->m_controls.find(nID);
    if (it != m_pImpl->m_controls.end())
        return it->second.get();
    // Child windows created in code (the chart) are found by their widgets.
    if (!m_pImpl->m_pWidget)
        return nullptr;
    for (QObject* child : m_pImpl->m_pWidget->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        CWnd* pWnd = w ? WndFromWidget(w) : nullptr;
        if (pWnd && pWnd != this && pWnd->m_pImpl->m_nID == nID)
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
        QWidget* w = p->m_pImpl->m_pWidget;
        if (!w)
            return;
        w->setGeometry(x, y, nWidth < 0 ? 0 : nWidth, nHeight < 0 ? 0 : nHeight);
        // Size handlers run at once, as on the device, not when the widget is next shown.
        DispatchSize(p);
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
        QWidget* w = p->m_pImpl->m_pWidget;
        if (!w)
            return;
        QRect r = w->geometry();
        if (!(nFlags & SWP_NOMOVE))
            r.moveTo(x, y);
        if (!(nFlags & SWP_NOSIZE))
            r.setSize(QSize(cx, cy));
        w->setGeometry(r);
        DispatchSize(p);
    });
}

void CWnd::GetClientRect(RECT* pRect) const
{
    if (!pRect)
        return;
    *pRect = RECT{0, 0, 0, 0};
    QWidget* w = m_pImpl->m_pWidget;
    if (w)
        *pRect = RECT{0, 0, w->width(), w->height()};
}

void CWnd::GetWindowRect(RECT* pRect) const
{
    if (!pRect)
        return;
    *pRect = RECT{0, 0, 0, 0};
    QWidget* w = m_pImpl->m_pWidget;
    if (w) {
        QRect g = w->geometry();
        *pRect = RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    }
}

void CWnd::SetWindowText(const std::wstring& strText)
{
    RunForWindow(this, [strText](CWnd* p) {
        QWidget* w = p->m_pImpl->m_pWidget;
        p->m_pImpl->m_strCaption = strText;
        if (!w)
            return;
        QString text = ToQString(strText);
        if (auto* label = qobject_cast<QLabel*>(w)) {
            label->setText(text);
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            edit->setText(text);
        } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
            text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            plain->setPlainText(text);
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            button->setText(text);
        } else {
            w->setWindowTitle(text);
        }
    });
}

std::wstring CWnd::GetWindowText() const
{
    std::wstring result;
    RunForWindowBlocking(const_cast<CWnd*>(this), [&result](CWnd* p) {
        QWidget* w = p->m_pImpl->m_pWidget;
        if (!w) {
            result = p->m_pImpl->m_strCaption;
            return;
        }
        if (auto* label = qobject_cast<QLabel*>(w))
            result = FromQString(label->text());
        else if (auto* edit = qobject_cast<QLineEdit*>(w))
            result = FromQString(edit->text());
        else if (auto* plain = qobject_cast<QPlainTextEdit*>(w))
            result = FromQString(plain->toPlainText().replace(QLatin1String("\n"), QLatin1String("\r\n")));
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            result = FromQString(button->text());
        else
            result = p->m_pImpl->m_strCaption;
    });
    return result;
}

void CWnd::ShowWindow(int nCmdShow)
{
    RunForWindow(this, [nCmdShow](CWnd* p) {
        if (QWidget* w = p->m_pImpl->m_pWidget)
            w->setVisible(nCmdShow != SW_HIDE);
    });
}

bool CWnd::IsWindowVisible() const
{
    QWidget* w = m_pImpl->m_pWidget;
    return w && !w->isHidden();
}

void CWnd::EnableWindow(bool bEnable)
{
    RunForWindow(this, [bEnable](CWnd* p) {
        if (QWidget* w = p->m_pImpl->m_pWidget)
            w->setEnabled(bEnable);
    });
}

bool CWnd::IsWindowEnabled() const
{
    QWidget* w = m_pImpl->m_pWidget;
    return w && w->isEnabled();
}

void CWnd::SetFocus()
{
    RunForWindow(this, [](CWnd* p) {
        if (QWidget* w = p->m_pImpl->m_pWidget)
            w->setFocus();
    });
}

void CWnd::Invalidate(bool bErase)
{
    RunForWindow(this, [bErase](CWnd* p) {
        p->m_pImpl->m_bEraseOnPaint = bErase;
        if (QWidget* w = p->m_pImpl->m_pWidget)
            w->update();
    });
}

void CWnd::UpdateWindow()
{
    RunForWindow(this, [](CWnd* p) {
        if (QWidget* w = p->m_pImpl->m_pWidget)
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

bool CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    EnsureApplication();
    std::shared_ptr<WndToken> token = m_pImpl->m_token;
    QMetaObject::invokeMethod(qApp, [token, message, wParam, lParam]() {
        if (token->m_pWnd)
            token->m_pWnd->WindowProc(message, wParam, lParam);
    }, Qt::QueuedConnection);
    return true;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    RunForWindowBlocking(this, [&](CWnd* p) { result = p->WindowProc(message, wParam, lParam); });
    return result;
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
