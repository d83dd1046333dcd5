#pragma once

#include "platform/WinTypes.h"

// Window styles, with the platform's values, as dialog templates carry them.
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;

constexpr DWORD SS_LEFT = 0x0000;
constexpr DWORD SS_CENTER = 0x0001;
constexpr DWORD SS_RIGHT = 0x0002;
constexpr DWORD SS_BITMAP = 0x000E;
constexpr DWORD SS_NOTIFY = 0x0100;
constexpr DWORD SS_CENTERIMAGE = 0x0200;   // text: vertically centred

constexpr DWORD BS_PUSHBUTTON = 0x0000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
constexpr DWORD BS_AUTOCHECKBOX = 0x0003;
constexpr DWORD BS_AUTORADIOBUTTON = 0x0009;
constexpr DWORD BS_OWNERDRAW = 0x000B;
constexpr DWORD BS_TYPEMASK = 0x000F;
constexpr DWORD BS_PUSHLIKE = 0x1000;

constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_AUTOVSCROLL = 0x0040;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_READONLY = 0x0800;

constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
constexpr DWORD CBS_SORT = 0x0100;
constexpr DWORD LBS_NOTIFY = 0x0001;
constexpr DWORD LBS_SORT = 0x0002;
constexpr DWORD SBS_HORZ = 0x0000;
constexpr DWORD SBS_VERT = 0x0001;
constexpr DWORD TVS_HASBUTTONS = 0x0001;
constexpr DWORD TVS_HASLINES = 0x0002;
constexpr DWORD TVS_CHECKBOXES = 0x0100;

enum CONTROLKIND
{
    CTL_STATIC,
    CTL_BUTTON,
    CTL_EDIT,
    CTL_COMBOBOX,
    CTL_LISTBOX,
    CTL_SCROLLBAR,
    CTL_PROGRESS,
    CTL_TREE,
};

// One control of a dialog template; the rectangle is in dialog units.
struct DLGITEMTEMPLATE
{
    UINT nID;
    CONTROLKIND nKind;
    DWORD dwStyle;
    const wchar_t* pszText;   // null: none
    short x, y, cx, cy;
    UINT nBitmapID;           // SS_BITMAP statics
};

// A dialog template. Without WS_CAPTION the dialog is full-screen; with it, a
// captioned pop-up centred over the screen.
struct DLGTEMPLATE
{
    UINT nID;
    const wchar_t* pszCaption;
    DWORD dwStyle;
    short cx, cy;
    const DLGITEMTEMPLATE* pItems;
    int nItems;
};

// A menu is a list of pop-ups; an item with command 0 is a separator.
struct MENUITEMTEMPLATE
{
    UINT nCommand;
    const wchar_t* pszText;
};

struct MENUPOPUPTEMPLATE
{
    const wchar_t* pszText;
    const MENUITEMTEMPLATE* pItems;
    int nItems;
};

struct MENUTEMPLATE
{
    UINT nID;
    const MENUPOPUPTEMPLATE* pPopups;
    int nPopups;
};

// A soft key runs a command or, with a pop-up index, opens that pop-up of the
// menu bar's menu. Its label is a string table entry.
struct MENUBARBUTTON
{
    UINT nCommand;
    UINT nStringID;
    int nPopup;   // -1: none
};

struct MENUBARTEMPLATE
{
    UINT nID;
    UINT nMenuID;   // 0: no menu
    MENUBARBUTTON buttons[2];
    int nButtons;
};

// The dialog base units of the device's dialog font.
constexpr int DLG_BASEUNIT_X = 6;
constexpr int DLG_BASEUNIT_Y = 13;

// Dialog units to pixels, rounded as the platform rounds.
void DialogUnitsToPixels(int x, int y, int cx, int cy, RECT& rcPixels);
