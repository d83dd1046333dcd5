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

struct ScreenLayer
{
    CDialog* m_pDialog;          // null for a message box
    QPointer<QWidget> m_pFrame;  // what is shown: the dialog itself or its pop-up frame
    QString m_caption;
    bool m_bWasEnabled;
};

struct CDeviceScreen::Impl
{
    QWidget* m_pScreen = nullptr;
    QWidget* m_pTitleBar = nullptr;
    QLabel* m_pCaption = nullptr;
    QPushButton* m_pDone = nullptr;
    QWidget* m_pSoftBar = nullptr;
    QPushButton* m_pKeys[2] = {nullptr, nullptr};
    int m_nOrientation = DMDO_0;
    std::vector<ScreenLayer> m_layers;

    void Layout();
    void UpdateBars();
    void PushLayer(const ScreenLayer& layer);
    void PopLayer(QWidget* pFrame);
    void PlaceLayer(const ScreenLayer& layer);
    CDialog* ActiveDialog() const;
    // The hardware keys: offered to the active dialog's pre-translation first.
    bool DispatchKey(UINT vk, QWidget* pTarget);
    void PressSoftKey(int nKey);
    void RunCommand(UINT nCommand);
};

// A pop-up frame with a caption strip; the client widget goes inside at (1, 19).
QWidget* MakePopupFrame(QWidget* pScreen, const QString& caption, QWidget** ppClientParent);
constexpr int POPUP_CAPTION_HEIGHT = 18;

// Test hooks: a scripted message box answer, and an action when a dialog opens.
extern std::function<bool(const std::wstring& strText, const std::wstring& strCaption, UINT nType, int& nAnswer)> g_messageBoxHook;
extern std::function<void(CDialog* pDialog)> g_dialogOpenHook;
