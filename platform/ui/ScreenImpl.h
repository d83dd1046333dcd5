#pragma once

// Internal to the platform layer: the device screen's widgets and its stack of
// modal layers (dialogs and message boxes), the top one active.

#include "platform/ui/DeviceScreen.h"
#include "platform/ui/WndImpl.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

class CDialog;
class QLabel;
class QPushButton;
class QWindow;

struct ScreenLayer
{
    CDialog* m_pDialog;          // null for a message box
    QPointer<QWidget> m_pFrame;  // what is shown: the dialog itself or its pop-up frame
    QString m_caption;
    bool m_bWasEnabled;
    // Message boxes: lays the box out for the screen's size, and takes every key.
    std::function<void()> m_fnLayout;
    std::function<void(UINT vk)> m_fnKey;
};

struct CDeviceScreen::Impl
{
    QWidget* m_pScreen = nullptr;
    QWidget* m_pTitleBar = nullptr;
    QLabel* m_pCaption = nullptr;
    QPushButton* m_pDone = nullptr;
    QWidget* m_pSoftBar = nullptr;
    QPushButton* m_pKeys[2] = {nullptr, nullptr};
    QString m_keyLabels[2];   // in full; the keys show them elided to fit
    int m_nOrientation = DMDO_0;
    std::vector<ScreenLayer> m_layers;
    int m_nZoom = 1;
    QObject* m_pKeyFilter = nullptr;

    void Layout();
    void UpdateBars();
    void ShowBarTexts();   // caption and soft-key labels, elided to their room
    void PushLayer(const ScreenLayer& layer);
    void PopLayer(QWidget* pFrame);
    void PlaceLayer(const ScreenLayer& layer);
    CDialog* ActiveDialog() const;
    // The hardware keys: every key-down is offered to the active dialog's
    // pre-translation first; a message box on top takes every key itself.
    bool DispatchKey(UINT vk, QWidget* pTarget);
    // The screen's own window: what the desktop shows, where key presses
    // arrive before any widget sees them and events for its widgets go.
    QWindow* DeviceWindow() const;
    // The widget of the screen that has the keyboard focus, if any.
    QWidget* FocusWidget() const;
    void SetZoom(int nZoom);
    void InstallKeyFilter();
    // The device's size changes (the user sizing the window).
    void ResizeDevice(int cx, int cy);
    // The desktop asks the program to end: every dialog and message box over
    // the main page is closed as by its Cancel, the innermost first, and so is
    // whatever opens while they close; then the main page ends as by its done
    // button. False when there is no page to end, or once the end is under way.
    bool RequestQuit();
    // The next step of that end, once the step before has been taken.
    void ContinueQuit();
    void ContinueQuitLater();
    bool m_bQuitting = false;
    void PressSoftKey(int nKey);
    void RunCommand(UINT nCommand);
};

// The platform's own way to the screen's widgets, which the class keeps private.
struct ScreenAccess
{
    static CDeviceScreen::Impl* Of(const CDeviceScreen& screen) { return screen.m_pImpl.get(); }
};
inline CDeviceScreen::Impl* ImplOf(const CDeviceScreen& screen) { return ScreenAccess::Of(screen); }

// Chooses the zoom (CIRROVAN_ZOOM, or what suits the desktop) and scales the
// application by it; called once, as soon as the application exists.
void ApplyStartZoom();

// A pop-up frame with a caption strip; the client widget goes inside at (1, 19).
QWidget* MakePopupFrame(QWidget* pScreen, const QString& caption, QWidget** ppClientParent);
constexpr int POPUP_CAPTION_HEIGHT = 18;
// Sets a pop-up's caption, elided to the strip's width.
void SetPopupCaption(QWidget* pFrame, const QString& caption);
// A label's or button's text cut at the end with "…" when it does not fit in
// nWidth pixels, never in the middle of a letter.
QString ElidedText(QWidget* pWidget, const QString& text, int nWidth);

// The virtual key for a key press (VK_NONAME for a key without one).
UINT VirtualKeyFromQt(int nKey, Qt::KeyboardModifiers modifiers);


// A modal layer on the screen for as long as the guard lives: it is pushed, the
// one under it disabled, when the guard is made, and popped, the one under it
// enabled again, when the guard goes.
class ScreenLayerGuard
{
public:
    ScreenLayerGuard(CDeviceScreen::Impl* pScreen, const ScreenLayer& layer)
        : m_pScreen(pScreen), m_pFrame(layer.m_pFrame)
    {
        m_pScreen->PushLayer(layer);
    }
    ~ScreenLayerGuard() { m_pScreen->PopLayer(m_pFrame); }
    ScreenLayerGuard(const ScreenLayerGuard&) = delete;
    ScreenLayerGuard& operator=(const ScreenLayerGuard&) = delete;

private:
    CDeviceScreen::Impl* m_pScreen;
    QWidget* m_pFrame;
};
