#include "platform/ui/ZoomView.h"

#include "platform/ui/ScreenImpl.h"

#include <QApplication>
#include <QBackingStore>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// What shows beyond the device where the user made the window larger than a
// whole number of device pixels.
const QColor kSurround(72, 72, 72);
// The smallest screen the user can shrink the window to, in device pixels: the
// short side of the device, below which the layouts stop reading.
const int kMinDeviceSide = 240;

bool IsMouseEvent(QEvent::Type type)
{
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease
           || type == QEvent::MouseMove || type == QEvent::MouseButtonDblClick;
}

}

ZoomView::ZoomView(CDeviceScreen::Impl* pDevice, int nZoom)
    : m_pDevice(pDevice), m_pScreen(pDevice->m_pScreen), m_nZoom(std::clamp(nZoom, 1, 4))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setWindowTitle(m_pScreen->windowTitle());
    setMinimumSize(kMinDeviceSide * m_nZoom, kMinDeviceSide * m_nZoom);
    qApp->installEventFilter(this);
}

ZoomView::~ZoomView()
{
    qApp->removeEventFilter(this);
}

void ZoomView::SetZoom(int nZoom)
{
    m_nZoom = std::clamp(nZoom, 1, 4);
    setMinimumSize(kMinDeviceSide * m_nZoom, kMinDeviceSide * m_nZoom);
    FitToScreen();
}

void ZoomView::FitToScreen()
{
    resize(m_pScreen->width() * m_nZoom, m_pScreen->height() * m_nZoom);
    update();
}

void ZoomView::DeviceChanged(const QRect& rcDevice)
{
    update(QRect(rcDevice.topLeft() * m_nZoom, rcDevice.size() * m_nZoom));
}

std::vector<QWidget*> ZoomView::Popups() const
{
    std::vector<QWidget*> popups;
    for (const QPointer<QWidget>& popup : m_popups)
        if (popup && popup->isVisible())
            popups.push_back(popup);
    return popups;
}

QPoint ZoomView::DeviceOffset(QWidget* pWindow) const
{
    if (pWindow == m_pScreen)
        return QPoint(0, 0);
    return pWindow->mapToGlobal(QPoint(0, 0)) - m_pScreen->mapToGlobal(QPoint(0, 0));
}

bool ZoomView::IsDevicePopup(QWidget* pWidget, QWidget* pScreen)
{
    if (!pWidget || !pWidget->isWindow() || pWidget == pScreen || pWidget->windowType() != Qt::Popup)
        return false;
    for (QWidget* w = pWidget->parentWidget(); w; w = w->parentWidget())
        if (w == pScreen)
            return true;
    return false;
}

const QImage* ZoomView::PaintedImage(QWidget* pWindow)
{
    // A raster window keeps what Qt painted in its backing store's image from
    // one paint to the next; reading it back spares a second paint of every
    // widget. Anything else (another kind of store, a scaled desktop) is
    // rendered afresh instead.
    QBackingStore* store = pWindow->backingStore();
    QPaintDevice* device = store ? store->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image)
        return nullptr;
    auto* image = static_cast<const QImage*>(device);
    if (image->depth() != 32 || image->devicePixelRatio() != 1.0 || image->width() < pWindow->width()
        || image->height() < pWindow->height())
        return nullptr;
    return image;
}

QPointF ZoomView::ToDevice(const QPointF& pt) const
{
    return QPointF(std::floor(pt.x() / m_nZoom), std::floor(pt.y() / m_nZoom));
}

void ZoomView::paintEvent(QPaintEvent* pEvent)
{
    QPainter painter(this);
    // Painted into the window's own store (not grabbed into a picture), the
    // enlarged pixels go there directly: a drag repaints much of the screen with
    // every step, and each copy of it counts at the square of the zoom.
    QImage* store = nullptr;
    QPaintDevice* device = painter.paintEngine() ? painter.paintEngine()->paintDevice() : nullptr;
    if (backingStore() && device && device == backingStore()->paintDevice() && device->devType() == QInternal::Image
        && painter.deviceTransform().isIdentity()) {
        store = static_cast<QImage*>(device);
        if (store->depth() != 32 || store->devicePixelRatio() != 1.0)
            store = nullptr;
    }
    const QRect rcScreen(0, 0, m_pScreen->width(), m_pScreen->height());
    for (const QRect& rc : pEvent->region()) {
        // Every device pixel the rectangle touches, whole.
        const QRect rcDevice = QRect(QPoint(rc.left() / m_nZoom, rc.top() / m_nZoom),
                                     QPoint(rc.right() / m_nZoom, rc.bottom() / m_nZoom)) & rcScreen;
        if (!rcDevice.isEmpty())
            DrawDevice(painter, store, rcDevice);
    }
    const QRegion beyond = pEvent->region() - QRect(QPoint(0, 0), rcScreen.size() * m_nZoom);
    for (const QRect& rc : beyond)
        painter.fillRect(rc, kSurround);
}

void ZoomView::DrawDevice(QPainter& painter, QImage* pStore, const QRect& rcDevice)
{
    DrawWindow(painter, pStore, m_pScreen, rcDevice);
    // Pop-ups may have see-through corners: they go through the painter.
    for (QWidget* popup : Popups())
        DrawWindow(painter, nullptr, popup, rcDevice);
}

void ZoomView::DrawWindow(QPainter& painter, QImage* pStore, QWidget* pWindow, const QRect& rcDevice)
{
    const QPoint offset = DeviceOffset(pWindow);
    const QRect rcWindow = rcDevice.translated(-offset) & pWindow->rect();
    if (rcWindow.isEmpty())
        return;
    const QImage* painted = PaintedImage(pWindow);
    QImage part;
    QRect rcSource = rcWindow;
    if (!painted) {
        part = QImage(rcWindow.size(), QImage::Format_RGB32);
        part.fill(Qt::white);
        // Rendering paints the widgets again; those paints bring nothing new.
        m_bRendering = true;
        pWindow->render(&part, QPoint(0, 0), QRegion(rcWindow));
        m_bRendering = false;
        painted = &part;
        rcSource = QRect(QPoint(0, 0), rcWindow.size());
    }
    const QRect rcTarget((rcWindow.topLeft() + offset) * m_nZoom, rcWindow.size() * m_nZoom);
    if (pStore && pStore->rect().contains(rcTarget)) {
        Enlarge(*painted, rcSource, *pStore, rcTarget.topLeft());
        return;
    }
    if (m_scratch.width() < rcTarget.width() || m_scratch.height() < rcTarget.height()
        || m_scratch.format() != painted->format())
        m_scratch = QImage(std::max(rcTarget.width(), m_scratch.width()),
                           std::max(rcTarget.height(), m_scratch.height()), painted->format());
    Enlarge(*painted, rcSource, m_scratch, QPoint(0, 0));
    painter.setCompositionMode(pWindow == m_pScreen ? QPainter::CompositionMode_Source
                                                    : QPainter::CompositionMode_SourceOver);
    painter.drawImage(rcTarget.topLeft(), m_scratch, QRect(QPoint(0, 0), rcTarget.size()));
}

void ZoomView::Enlarge(const QImage& source, const QRect& rcSource, QImage& target, const QPoint& ptTarget)
{
    const int z = m_nZoom;
    const size_t nRowBytes = static_cast<size_t>(rcSource.width() * z) * sizeof(QRgb);
    // Rows by the images' strides (asking an image for each scan line costs a
    // call and a check that it is not shared).
    const qsizetype nInStride = source.bytesPerLine();
    const qsizetype nOutStride = target.bytesPerLine();
    const uchar* inRow = source.constBits() + rcSource.top() * nInStride + rcSource.left() * qsizetype(sizeof(QRgb));
    uchar* outRow = target.bits() + ptTarget.y() * nOutStride + ptTarget.x() * qsizetype(sizeof(QRgb));
    for (int y = 0; y < rcSource.height(); ++y, inRow += nInStride, outRow += z * nOutStride) {
        const QRgb* in = reinterpret_cast<const QRgb*>(inRow);
        QRgb* out = reinterpret_cast<QRgb*>(outRow);
        if (z == 2) {
            // Both rows of the square at once, a pixel pair per store: the
            // second row is not read back from the first.
            QRgb* out2 = reinterpret_cast<QRgb*>(outRow + nOutStride);
            for (int x = 0; x < rcSource.width(); ++x) {
                const quint64 pair = (quint64(in[x]) << 32) | in[x];
                std::memcpy(out + 2 * x, &pair, sizeof(pair));
                std::memcpy(out2 + 2 * x, &pair, sizeof(pair));
            }
            continue;
        }
        for (int x = 0; x < rcSource.width(); ++x)
            std::fill_n(out + x * z, z, in[x]);
        for (int k = 1; k < z; ++k)
            std::memcpy(outRow + k * nOutStride, out, nRowBytes);
    }
}

void ZoomView::resizeEvent(QResizeEvent*)
{
    // The user sizes the window; the device gets what fits in whole pixels.
    const int cx = width() / m_nZoom;
    const int cy = height() / m_nZoom;
    if (cx != m_pScreen->width() || cy != m_pScreen->height())
        m_pDevice->ResizeDevice(cx, cy);
    update();
}

void ZoomView::closeEvent(QCloseEvent* pEvent)
{
    pEvent->ignore();
    m_pDevice->RequestQuit();
}

void ZoomView::Forward(QMouseEvent* pEvent)
{
    const QPointF local = ToDevice(pEvent->position());
    QMouseEvent event(pEvent->type(), local, m_pScreen->mapToGlobal(local), pEvent->button(), pEvent->buttons(),
                      pEvent->modifiers());
    // The screen's window finds the widget under the stylus, keeps the one
    // pressed until the release, and hands an open pop-up its events.
    QCoreApplication::sendEvent(m_pDevice->DeviceWindow(), &event);
}

bool ZoomView::eventFilter(QObject* pObject, QEvent* pEvent)
{
    const QEvent::Type type = pEvent->type();
    // Every event of the application passes here: those of no concern leave
    // before anything is asked of the object.
    if (!IsMouseEvent(type) && type != QEvent::Wheel && type != QEvent::Paint && type != QEvent::Show
        && type != QEvent::Hide && type != QEvent::Move && type != QEvent::Resize)
        return false;
    if (pObject == windowHandle() && pObject) {
        // The stylus, before the view's own window would take it for itself (or,
        // with a pop-up of the device open, for that pop-up at desktop coordinates).
        if (IsMouseEvent(type)) {
            Forward(static_cast<QMouseEvent*>(pEvent));
            return true;
        }
        if (type == QEvent::Wheel) {
            auto* wheel = static_cast<QWheelEvent*>(pEvent);
            const QPointF local = ToDevice(wheel->position());
            QWheelEvent event(local, m_pScreen->mapToGlobal(local), wheel->pixelDelta(), wheel->angleDelta(),
                              wheel->buttons(), wheel->modifiers(), wheel->phase(), wheel->inverted());
            QCoreApplication::sendEvent(m_pDevice->DeviceWindow(), &event);
            return true;
        }
        return false;
    }
    if (!pObject->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(pObject);
    switch (type) {
    case QEvent::Paint: {
        if (m_bRendering)
            break;
        QWidget* window = widget->window();
        if (window != m_pScreen && !IsDevicePopup(window, m_pScreen))
            break;
        const QRect rc = static_cast<QPaintEvent*>(pEvent)->rect();
        DeviceChanged(rc.translated(widget->mapTo(window, QPoint(0, 0)) + DeviceOffset(window)));
        break;
    }
    case QEvent::Show:
        // Sent before the window reaches the desktop: it never does, it is drawn here.
        if (IsDevicePopup(widget, m_pScreen)) {
            widget->setAttribute(Qt::WA_DontShowOnScreen);
            if (std::find(m_popups.begin(), m_popups.end(), widget) == m_popups.end())
                m_popups.emplace_back(widget);
            DeviceChanged(QRect(DeviceOffset(widget), widget->size()));
        }
        break;
    case QEvent::Hide:
        if (IsDevicePopup(widget, m_pScreen)) {
            DeviceChanged(QRect(DeviceOffset(widget), widget->size()));
            m_popups.erase(std::remove(m_popups.begin(), m_popups.end(), widget), m_popups.end());
        }
        break;
    case QEvent::Move:
    case QEvent::Resize:
        if (IsDevicePopup(widget, m_pScreen) && widget->isVisible())
            update();
        break;
    default:
        break;
    }
    return false;
}
