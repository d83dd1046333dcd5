#pragma once

// Internal to the platform layer: the device screen shown enlarged on a desktop.
//
// At a zoom above 1 the screen's widgets live in a window that is never shown
// (Qt paints it all the same) and this view is the window the desktop sees. It
// copies the device pixels it is told have changed, each as a square of zoom x
// zoom pixels, and hands the stylus and the keys back to the screen in device
// coordinates. The screen's own pop-ups (menus, lists) are kept off the desktop
// too and drawn here over the screen, where they stand on the device.

#include "platform/ui/DeviceScreen.h"

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <vector>

class QMouseEvent;
class QPainter;

class ZoomView : public QWidget
{
public:
    ZoomView(CDeviceScreen::Impl* pDevice, int nZoom);
    ~ZoomView() override;

    void SetZoom(int nZoom);
    // The window becomes zoom times the screen's size.
    void FitToScreen();
    // A rectangle of the device screen, in its coordinates, has new pixels.
    void DeviceChanged(const QRect& rcDevice);
    // The device's pop-ups on view, bottom first.
    std::vector<QWidget*> Popups() const;
    // Where a window of the device stands on the screen.
    QPoint DeviceOffset(QWidget* pWindow) const;

    // The pixels of a window of the device (the screen or a pop-up) as Qt last
    // painted them; null when they cannot be read directly.
    static const QImage* PaintedImage(QWidget* pWindow);
    // Whether the widget is a pop-up window opened from the device screen.
    static bool IsDevicePopup(QWidget* pWidget, QWidget* pScreen);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;
    // Installed on the application: the stylus on the view's window, paints of
    // the device's windows, and its pop-ups coming and going.
    bool eventFilter(QObject* pObject, QEvent* pEvent) override;

private:
    CDeviceScreen::Impl* m_pDevice;
    QWidget* m_pScreen;
    int m_nZoom;
    bool m_bRendering = false;
    std::vector<QPointer<QWidget>> m_popups;
    QImage m_scratch;    // one enlarged block on its way to the window

    QPointF ToDevice(const QPointF& pt) const;
    void Forward(QMouseEvent* pEvent);
    // Draws the device rectangle, enlarged, with every pop-up over it; the
    // screen straight into the window's store when that is given.
    void DrawDevice(QPainter& painter, QImage* pStore, const QRect& rcDevice);
    void DrawWindow(QPainter& painter, QImage* pStore, QWidget* pWindow, const QRect& rcDevice);
    void Enlarge(const QImage& source, const QRect& rcSource, QImage& target, const QPoint& ptTarget);
};
