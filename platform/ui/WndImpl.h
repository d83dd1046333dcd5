#pragma once

// Internal to the platform layer: the Qt side of windows and dialogs.

#include "platform/ui/Wnd.h"
#include "platform/ui/QtBridge.h"

#include <QEventLoop>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

class QButtonGroup;

// Lets calls queued from other threads find out, on the user-interface thread,
// whether their window still exists.
struct WndToken
{
    CWnd* m_pWnd;
};

struct CWnd::Impl
{
    CWnd* m_pOwner = nullptr;
    QPointer<QWidget> m_pWidget;
    bool m_bOwnsWidget = false;
    UINT m_nID = 0;
    CWnd* m_pParent = nullptr;
    std::shared_ptr<WndToken> m_token;
    bool m_bEraseOnPaint = true;
    SIZE m_lastSize = {-1, -1};

    // Dialogs only.
    QPointer<QWidget> m_pFrame;              // the pop-up frame around a captioned dialog
    QEventLoop* m_pLoop = nullptr;
    bool m_bEnded = false;
    bool m_bFullScreen = false;
    bool m_bPopup = false;
    std::wstring m_strCaption;
    std::map<UINT, std::unique_ptr<CWnd>> m_controls;   // the template's, by ID
    std::vector<UINT> m_controlOrder;
    std::vector<QButtonGroup*> m_radioGroups;
};

bool OnUiThread();
// Runs the call now on the user-interface thread, or queues it there from any
// other thread; a window destroyed before it runs is skipped.
void RunForWindow(CWnd* pWnd, std::function<void(CWnd*)> fn);
// As above but waits for the answer (for reads from other threads).
void RunForWindowBlocking(CWnd* pWnd, std::function<void(CWnd*)> fn);

// The window a widget stands for.
CWnd* WndFromWidget(QWidget* pWidget);
void SetWidgetWnd(QWidget* pWidget, CWnd* pWnd);

// A widget drawn and driven by its CWnd: paint, size and stylus events become
// messages.
class HostWidget : public QWidget
{
public:
    HostWidget(CWnd* pWnd, QWidget* pParent);
    CWnd* m_pWnd;
    QImage* m_pPaintSurface = nullptr;

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
};

// Sends WM_SIZE when the client size really changed.
void DispatchSize(CWnd* pWnd);

// Controls of templates.
std::unique_ptr<CWnd> CreateTemplateControl(CWnd* pDialog, QWidget* pParent, const DLGITEMTEMPLATE& item);
void ApplyMessageBoxFont(QWidget* pWidget);
