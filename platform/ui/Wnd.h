#pragma once

#include "platform/ResourceTypes.h"
#include "platform/WinTypes.h"

#include <string>

class CDC;
class CScrollBar;
class CWnd;

constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_DRAWITEM = 0x002B;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_HSCROLL = 0x0114;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;

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

constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_ESCAPE = 0x1B;
constexpr UINT VK_LEFT = 0x25;
constexpr UINT VK_UP = 0x26;
constexpr UINT VK_RIGHT = 0x27;
constexpr UINT VK_DOWN = 0x28;
constexpr UINT VK_NUMPAD0 = 0x60;   // to VK_NUMPAD9 = 0x69; digits are '0' to '9'

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
// ones to the On... handlers. Operations that touch the window may be called from
// any thread: from another thread they are carried out on the user-interface
// thread, in order, and a window destroyed meanwhile is skipped.
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

    void Invalidate(bool bErase = true);
    void UpdateWindow();

    // The stylus: while captured, moves and the release come here wherever they are.
    void SetCapture();
    static void ReleaseCapture();
    static CWnd* GetCapture();

    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

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

    struct Impl;
    Impl* m_pImpl;
};

constexpr UINT MB_OK = 0x0000;
constexpr UINT MB_OKCANCEL = 0x0001;
constexpr UINT MB_YESNO = 0x0004;
constexpr UINT MB_ICONQUESTION = 0x0020;
constexpr UINT MB_ICONEXCLAMATION = 0x0030;
constexpr UINT MB_ICONINFORMATION = 0x0040;
constexpr UINT MB_TYPEMASK = 0x000F;
constexpr UINT MB_ICONMASK = 0x00F0;
