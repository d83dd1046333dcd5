#pragma once

#include "platform/WinTypes.h"

#include <memory>

// Display orientation codes.
constexpr int DMDO_0 = 0;
constexpr int DMDO_90 = 1;
constexpr int DMDO_180 = 2;
constexpr int DMDO_270 = 4;

constexpr int SCREEN_BAR_HEIGHT = 26;

// The phone's screen: one top-level window with a title bar (caption and the
// "ok" done button) along the top and the soft-key bar along the bottom; dialogs
// fill the area between or, when captioned, are centred over it.
class CDeviceScreen
{
public:
    static CDeviceScreen& Get();

    // Codes 1 and 4 turn the screen to landscape (320 x 240), 0 and 2 to portrait
    // (240 x 320); every open dialog is resized. Other codes are refused.
    bool SetOrientation(int nCode);
    int GetOrientation() const;

    // As the user drags the window's border; everything is laid out again.
    void Resize(int cx, int cy);
    SIZE GetSize() const;
    RECT GetWorkArea() const;   // between the bars, in screen coordinates

    // On a desktop the screen is shown at a whole zoom, 1 to 4, times the
    // desktop's own ratio, as Qt's device pixel ratio: every window, layout and
    // image still works in device pixels, while text, lines and pictures are
    // drawn with the desktop's pixels. It starts at CIRROVAN_ZOOM when that
    // holds 1 to 4 and fits the desktop, otherwise as ChooseZoom (ZoomChoice.h)
    // says. The user sizing the window sizes the device: window / ratio.
    void SetZoom(int nZoom);
    int GetZoom() const;

    // The desktop asks the program to end (the window's close button, a
    // signal): the dialogs and message boxes over the main page close as by
    // their Cancel (CDialog::OnClose), the innermost first, then the main page
    // ends as by its done button. False, and nothing happens, when no page is
    // open or the end is already under way.
    bool RequestQuit();

    // The screen's widgets, known only inside the platform (ScreenImpl.h).
    struct Impl;

private:
    friend struct ScreenAccess;
    CDeviceScreen();
    ~CDeviceScreen();   // never runs: the screen lives as long as the application
    std::unique_ptr<Impl> m_pImpl;
};

// The display-settings service as the main window calls it.
int GetDisplayOrientation();
void SetDisplayOrientation(int nCode);
