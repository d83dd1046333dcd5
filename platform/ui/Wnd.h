#pragma once

#include "platform/ResourceTypes.h"
#include "platform/WinTypes.h"

#include <functional>
#include <memory>
#include <string>

class CDC;
class CScrollBar;
class CWnd;

constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_DRAWITEM = 0x002B;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_HSCROLL = 0x0114;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
// The wheel's turn in HIWORD(wParam), in 120ths of a notch: positive away from
// the user (WM_MOUSEWHEEL) or to the right (WM_MOUSEHWHEEL, a touchpad's
// sideways swipe or a tilted wheel). A window that takes it answers nonzero;
// otherwise it goes on to the window under it.
constexpr UINT WM_MOUSEWHEEL = 0x020A;
constexpr UINT WM_MOUSEHWHEEL = 0x020E;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Control notifications carried in the high word of WM_COMMAND's wParam.
constexpr UINT BN_CLICKED = 0;
constexpr UINT CBN_SELCHANGE = 1;
constexpr UINT LBN_SELCHANGE = 1;
constexpr UINT LBN_DBLCLK = 2;
constexpr UINT EN_CHANGE = 0x0300;

constexpr UINT SB_LINELEFT = 0;
constexpr UINT SB_LINERIGHT = 1;
constexpr UINT SB_PAGELEFT = 2;
constexpr UINT SB_PAGERIGHT = 3;
constexpr UINT SB_THUMBPOSITION = 4;
constexpr UINT SB_THUMBTRACK = 5;
constexpr UINT SB_ENDSCROLL = 8;

// Virtual-key codes; digits are '0' to '9' and letters 'A' to 'Z'.
constexpr UINT VK_BACK = 0x08;
constexpr UINT VK_TAB = 0x09;
constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_SHIFT = 0x10;
constexpr UINT VK_CONTROL = 0x11;
constexpr UINT VK_MENU = 0x12;
constexpr UINT VK_ESCAPE = 0x1B;
constexpr UINT VK_SPACE = 0x20;
constexpr UINT VK_PRIOR = 0x21;
constexpr UINT VK_NEXT = 0x22;
constexpr UINT VK_END = 0x23;
constexpr UINT VK_HOME = 0x24;
constexpr UINT VK_LEFT = 0x25;
constexpr UINT VK_UP = 0x26;
constexpr UINT VK_RIGHT = 0x27;
constexpr UINT VK_DOWN = 0x28;
constexpr UINT VK_INSERT = 0x2D;
constexpr UINT VK_DELETE = 0x2E;
constexpr UINT VK_NUMPAD0 = 0x60;   // to VK_NUMPAD9 = 0x69
constexpr UINT VK_MULTIPLY = 0x6A;
constexpr UINT VK_ADD = 0x6B;
constexpr UINT VK_SUBTRACT = 0x6D;
constexpr UINT VK_DECIMAL = 0x6E;
constexpr UINT VK_DIVIDE = 0x6F;
constexpr UINT VK_F1 = 0x70;        // to VK_F24 = 0x87
constexpr UINT VK_OEM_1 = 0xBA;     // ;
constexpr UINT VK_OEM_PLUS = 0xBB;
constexpr UINT VK_OEM_COMMA = 0xBC;
constexpr UINT VK_OEM_MINUS = 0xBD;
constexpr UINT VK_OEM_PERIOD = 0xBE;
constexpr UINT VK_OEM_2 = 0xBF;     // /
constexpr UINT VK_OEM_3 = 0xC0;     // `
constexpr UINT VK_OEM_4 = 0xDB;     // [
constexpr UINT VK_OEM_5 = 0xDC;     // backslash
constexpr UINT VK_OEM_6 = 0xDD;     // ]
constexpr UINT VK_OEM_7 = 0xDE;     // '
constexpr UINT VK_NONAME = 0xFC;    // a key that has no code of its own

constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;

constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;

constexpr UINT ODS_SELECTED = 0x0001;
constexpr UINT ODS_DISABLED = 0x0004;
constexpr UINT ODS_FOCUS = 0x0010;
constexpr UINT ODT_BUTTON = 4;
constexpr UINT ODA_DRAWENTIRE = 1;

constexpr WPARAM MAKEWPARAM(UINT low, UINT high) { return (low & 0xffff) | ((WPARAM)(high & 0xffff) << 16); }
constexpr UINT LOWORD(WPARAM w) { return static_cast<UINT>(w & 0xffff); }
constexpr UINT HIWORD(WPARAM w) { return static_cast<UINT>((w >> 16) & 0xffff); }

// The owner-draw request; the context draws into the item's own area.
struct DRAWITEMSTRUCT
{
    UINT CtlType;
    UINT CtlID;
    UINT itemAction;
    UINT itemState;
    CWnd* pWndItem;
    CDC* pDC;
    RECT rcItem;
};

// What a control tells its parent through WM_NOTIFY (lParam points at it).
struct NMHDR
{
    CWnd* pWndFrom;   // the platform's hwndFrom
    UINT idFrom;
    UINT code;
};

constexpr UINT NM_CLICK = static_cast<UINT>(-2);

// A window's icon, loaded from the icon resources (LoadIcon); shared, never freed.
struct ICONOBJECT;
typedef ICONOBJECT* HICON;

// An icon of the resource table with all its sizes; null when the number is unknown.
HICON LoadIcon(UINT nIDResource);

// A key or stylus event on its way to a window, offered first to the active dialog.
struct MSG
{
    CWnd* pWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A window. Every message, including paint, size, stylus and the WM_USER range,
// reaches WindowProc on the user-interface thread; its default hands the standard
// ones to the On... handlers.
//
// Threads. Operations that change a window (texts, moves, showing, enabling,
// PostMessage, EndDialog, the progress bar and scroll bar setters) may be called
// from any thread and never wait: from another thread they are carried out on the
// user-interface thread, in order. What was queued for a window is dropped once
// that window is destroyed or its dialog's modal run has been ended. Reads of a
// window's state (texts, rectangles, list contents) answer on the user-interface
// thread only; from another thread they answer nothing at once, and SendMessage
// goes as a posted message answering 0, since waiting for a user-interface thread
// that waits for the caller would hang both. A worker must be done with the
// object itself before it is destroyed.
class CWnd
{
public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // A child window drawn by its own class.
    virtual bool Create(DWORD dwStyle, const RECT& rc, CWnd* pParentWnd, UINT nID);
    void DestroyWindow();
    bool IsWindow() const;

    CWnd* GetParent() const;
    CWnd* GetDlgItem(UINT nID) const;
    UINT GetDlgCtrlID() const;

    void MoveWindow(int x, int y, int nWidth, int nHeight, bool bRepaint = true);
    void MoveWindow(const RECT& rc, bool bRepaint = true);
    void SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void GetClientRect(RECT* pRect) const;
    void GetWindowRect(RECT* pRect) const;   // in the parent's client coordinates

    void SetWindowText(const std::wstring& strText);
    std::wstring GetWindowText() const;
    void ShowWindow(int nCmdShow);
    bool IsWindowVisible() const;
    void EnableWindow(bool bEnable);
    bool IsWindowEnabled() const;
    void SetFocus();
    // The window that has the keyboard focus on the screen; null when none has.
    static CWnd* GetFocus();

    void Invalidate(bool bErase = true);
    void UpdateWindow();

    // The stylus: while captured, moves and the release come here wherever they are.
    void SetCapture();
    static void ReleaseCapture();
    static CWnd* GetCapture();

    // False when the window does not exist (the message is dropped).
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Runs the work on the user-interface thread once the message being handled
    // is over, and outside any paint: a paint handler that starts modal work (a
    // dialog, a worker that ends its dialog) starts it this way, so that its paint
    // finishes first. Dropped when the window is gone by then.
    void RunAfterPaint(std::function<void()> fnWork);

    // The window's big (title bar, task bar) or small icon; the screen's window
    // shows the icon of the dialog that set one last. Returns the previous one.
    HICON SetIcon(HICON hIcon, bool bBigIcon);
    HICON GetIcon(bool bBigIcon) const;

    // What a screen reader says of the window: its name, a longer description
    // (changes are announced), and, for a window drawn by hand, what it is. On
    // the user-interface thread; the name and description once the window
    // exists, the role best before it is made (a reader keeps the role it
    // first learnt).
    enum class AccessibleRole { Default, Chart };
    void SetAccessibleName(const std::wstring& strName);
    void SetAccessibleDescription(const std::wstring& strDescription);
    void SetAccessibleRole(AccessibleRole role);
    // Whether a screen reader (or another assistive client) is listening:
    // words that change with every step of a drag are made only then.
    static bool IsAccessibilityActive();

    // Text, caption and MB_ style; answers IDOK, IDCANCEL, IDYES or IDNO.
    int MessageBox(const std::wstring& strText, const std::wstring& strCaption, UINT nType);

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Keys of the active dialog's windows come here first; true swallows the key.
    virtual bool PreTranslateMessage(MSG* pMsg);

    virtual void OnPaint();
    virtual void OnSize(UINT nType, int cx, int cy);
    virtual void OnLButtonDown(UINT nFlags, POINT point);
    virtual void OnMouseMove(UINT nFlags, POINT point);
    virtual void OnLButtonUp(UINT nFlags, POINT point);
    // WM_COMMAND from a control, a menu or a soft key; true when handled.
    virtual bool OnCommand(UINT nID, UINT nNotifyCode);
    virtual void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    virtual void OnDrawItem(int nIDCtl, DRAWITEMSTRUCT* pDrawItem);
    // WM_NOTIFY from a control (wParam its ID, lParam its NMHDR); true when handled.
    virtual bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    // The window system's side, known only inside the platform (WndImpl.h).
    struct Impl;

private:
    friend struct WndAccess;
    std::unique_ptr<Impl> m_pImpl;
};

constexpr UINT MB_OK = 0x0000;
constexpr UINT MB_OKCANCEL = 0x0001;
constexpr UINT MB_YESNO = 0x0004;
constexpr UINT MB_ICONQUESTION = 0x0020;
constexpr UINT MB_ICONEXCLAMATION = 0x0030;
constexpr UINT MB_ICONINFORMATION = 0x0040;
constexpr UINT MB_DEFBUTTON1 = 0x0000;   // Enter chooses the first button (the default)
constexpr UINT MB_DEFBUTTON2 = 0x0100;   // or the second
constexpr UINT MB_TYPEMASK = 0x000F;
constexpr UINT MB_ICONMASK = 0x00F0;
constexpr UINT MB_DEFMASK = 0x0F00;
