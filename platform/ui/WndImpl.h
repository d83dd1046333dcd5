#pragma once

// Internal to the platform layer: the Qt side of windows and dialogs.

#include "platform/ui/DCImpl.h"
#include "platform/ui/Wnd.h"
#include "platform/ui/QtBridge.h"

#include <QEventLoop>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

class QButtonGroup;
class QComboBox;
class QTreeWidget;
class QTreeWidgetItem;

// What other threads may learn of a window: whether it exists now, and which of
// the object's windows a queued call was meant for. Only the user-interface
// thread changes it, always under the mutex; the token outlives the object so
// that calls still queued can find out that it is gone.
struct WndToken
{
    std::mutex m_mutex;
    CWnd* m_pWnd = nullptr;   // null once the object is destroyed
    unsigned m_nLife = 0;     // grows each time the object gets a new window
    bool m_bLive = false;     // a window exists, and no modal run of it has ended
};

// The state of a progress bar or scroll bar, kept beside the widget so that any
// thread can read and change it at once; the widget follows on the
// user-interface thread. A wrapper bound to the control shares it.
struct ControlState
{
    std::mutex m_mutex;
    uint32_t m_nLower = 0;    // progress: unsigned 32-bit range and position
    uint32_t m_nUpper = 100;
    uint32_t m_nPos = 0;
    bool m_bShowQueued = false;   // progress: the bar will show the latest state
    int m_nMinPos = 0;        // scroll bar
    int m_nMaxPos = 100;
    int m_nScrollPos = 0;
};

struct CWnd::Impl
{
    CWnd* m_pOwner = nullptr;
    QPointer<QWidget> m_pWidget;
    bool m_bOwnsWidget = false;
    UINT m_nID = 0;
    CWnd* m_pParent = nullptr;
    std::shared_ptr<WndToken> m_token;
    std::shared_ptr<ControlState> m_state;   // progress bars and scroll bars only
    HICON m_hIcon[2] = {nullptr, nullptr};   // small, big
    SIZE m_lastSize = {-1, -1};
    // Kept from before the window exists: Qt describes a widget once, when it
    // is first shown to a reader, so the role goes on before it is shown.
    CWnd::AccessibleRole m_accessibleRole = CWnd::AccessibleRole::Default;

    // The outer part of a bordered window or captioned pop-up; the widget above
    // is then its client area.
    QPointer<QWidget> m_pFrame;

    // Dialogs only.
    QEventLoop* m_pLoop = nullptr;
    bool m_bEnded = false;
    bool m_bFullScreen = false;
    bool m_bPopup = false;
    std::wstring m_strCaption;
    // The template's controls, by ID. Kept until the dialog object goes (or its
    // next modal run), so that a pointer a worker got stays valid; the lock lets
    // workers look controls up while the user-interface thread rebuilds them.
    std::map<UINT, std::unique_ptr<CWnd>> m_controls;
    std::vector<std::unique_ptr<CWnd>> m_retiredControls;
    std::mutex m_controlsMutex;
    std::vector<UINT> m_controlOrder;
    std::vector<QButtonGroup*> m_radioGroups;
};

// The platform's own way to a window's side, which the class keeps private.
struct WndAccess
{
    static CWnd::Impl* Of(const CWnd& wnd) { return wnd.m_pImpl.get(); }
};
inline CWnd::Impl* ImplOf(const CWnd* pWnd) { return WndAccess::Of(*pWnd); }
inline CWnd::Impl* ImplOf(const CWnd& wnd) { return WndAccess::Of(wnd); }

bool OnUiThread();
// Queues a call for the user-interface thread, from any thread, in order.
void PostToUiThread(std::function<void()> fn);

// A window's life: it begins when the object gets its widget and ends when the
// widget is destroyed, the window is destroyed, its dialog's modal run is ended
// or the object goes. Calls queued in one life never reach another.
void AttachWindow(CWnd* pWnd, QWidget* pWidget);
void EndWindowLife(CWnd* pWnd);
bool HasLiveWindow(const CWnd* pWnd);   // from any thread
// From any thread: whether the window is alive, and in which life.
bool GetWindowLife(const CWnd* pWnd, unsigned* pnLife);
// On the user-interface thread: the window of a call queued in that life, or
// null when the window is gone, has a new life, or its dialog's run has ended.
CWnd* LiveWindow(const std::shared_ptr<WndToken>& token, unsigned nLife);
// Queues the call for the user-interface thread, from any thread (also from that
// one, to run later); false, and nothing queued, when the window is gone. It runs
// only if the window is still in the same life then.
bool QueueForWindow(CWnd* pWnd, std::function<void(CWnd*)> fn);
// Runs the call now on the user-interface thread, or queues it as above from any
// other thread. Never waits.
void RunForWindow(CWnd* pWnd, std::function<void(CWnd*)> fn);
// Reads (and calls that must answer) run only on the user-interface thread: from
// another thread nothing runs, a warning naming the call is logged, and false
// comes back. Waiting would hang when the user-interface thread waits for that
// thread.
bool ReadOnUiThread(const CWnd* pWnd, const char* pszWhat, const std::function<void(CWnd*)>& fn);

// The widget of a drop-down list (ComboBox.cpp): its list opens inside the
// device screen's area between the bars.
QComboBox* MakeDropDownList(QWidget* pParent);

// The window a widget stands for (the widget's or its nearest ancestor's), and
// the one of the widget itself only.
CWnd* WndFromWidget(QWidget* pWidget);
CWnd* WndOfWidget(QWidget* pWidget);
void SetWidgetWnd(QWidget* pWidget, CWnd* pWnd);

// A widget drawn and driven by its CWnd: paint, size and stylus events become
// messages.
class HostWidget : public QWidget
{
public:
    HostWidget(CWnd* pWnd, QWidget* pParent);
    CWnd* m_pWnd;
    QImage* m_pPaintSurface = nullptr;
    PendingErase m_erase;   // of the paint under way
    QImage m_surface;   // kept from one paint to the next: a drag repaints it often

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    // The window's own pixels in the store being painted, when a paint can go
    // straight there; null otherwise.
    QImage StoreSurface(const QPaintEvent* pEvent) const;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void wheelEvent(QWheelEvent* pEvent) override;
};

// A border (and for pop-ups a caption strip) around a window's client area.
class BorderFrame : public QWidget
{
public:
    BorderFrame(QWidget* pParent, int nTop, QColor color);
    void SyncClient();   // the client fills the inside, now
    QWidget* m_pClient = nullptr;
    int m_nTop;
    QColor m_color;

protected:
    void resizeEvent(QResizeEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
};

// The widget that is the whole window: its frame when it has one.
QWidget* OuterWidget(CWnd* pWnd);
// Places the whole window and runs its size handler at once.
void PlaceWindow(CWnd* pWnd, const QRect& rc);

// Sends WM_SIZE when the client size really changed.
void DispatchSize(CWnd* pWnd);

// Tells the tree's parent that another item is selected (TVN_SELCHANGED).
void NotifyTreeSelection(CWnd* pParent, QTreeWidget* pTree, QTreeWidgetItem* pOld, QTreeWidgetItem* pNew,
                         UINT nAction);

// Controls of templates.
std::unique_ptr<CWnd> CreateTemplateControl(CWnd* pDialog, QWidget* pParent, const DLGITEMTEMPLATE& item);
