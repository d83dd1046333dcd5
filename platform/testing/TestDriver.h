#pragma once

#include "platform/ui/Wnd.h"

#include <functional>
#include <string>
#include <vector>

class CBitmap;
class CDialog;

struct MESSAGEBOXCALL
{
    std::wstring strText;
    std::wstring strCaption;
    UINT nType;
    int nAnswer;
    bool bScripted;   // false: nobody had scripted an answer; the box got its safe answer
    RECT rcBox;       // where a box that was really shown stood on the screen; else empty
};

// Drives the modal world from a test as a user would: answers message boxes,
// acts when a dialog opens, taps controls and soft keys, presses keys, and takes
// screenshots of the device screen. Installing it makes unscripted message boxes
// answer at once (OK, Cancel or No) instead of waiting for a user. It lives in a
// library of its own that only the tests, the benchmarks and the tour link: the
// program carries none of it.
class CTestDriver
{
public:
    static void Install();
    static void Uninstall();   // also forgets everything scripted and recorded

    static void AnswerNextMessageBox(int nAnswer);
    // The next message box is really shown, photographed to that PNG and then
    // answered as scripted.
    static void ShowNextMessageBox(const std::wstring& strShotPath);
    // The next message box is really shown and the action runs inside it, as a
    // user facing it (PressKey, SaveScreenshot); a box the action leaves open then
    // gets the scripted or safe answer.
    static void ActOnNextMessageBox(std::function<void()> fnAction);
    static std::vector<MESSAGEBOXCALL>& MessageBoxes();

    // Runs once, inside the dialog's modal loop, when a dialog with that template
    // opens; several may be queued for the same or other templates.
    static void OnDialogOpen(UINT nTemplateID, std::function<void(CDialog*)> fnAction);

    static CDialog* GetActiveDialog();
    static void Tap(UINT nControlID);                      // a control of the active dialog
    static void TapAt(CWnd* pWnd, POINT pt);              // stylus down and up
    static void Drag(CWnd* pWnd, POINT ptFrom, POINT ptTo, int nSteps);
    // The user picks an item of a list box (a tap on it) or drop-down list of the
    // active dialog; the dialog hears of it as from the user.
    static void SelectItem(UINT nControlID, int nIndex);
    // Taps a tree item of the active dialog, the items counted from 0 in the
    // order shown: on its check box (which toggles it) or on its text (which
    // selects it). False when there is no such item or it is out of sight.
    static bool TapTreeItem(UINT nControlID, int nIndex, bool bOnCheckBox);
    static void PressSoftKey(int nKey);                    // 0 left, 1 right
    // A command of a soft key's pop-up menu of the active dialog; false when no
    // soft key offers it.
    static bool ChooseMenuItem(UINT nCommand);
    // The pop-up menu a soft key has opened: its items (separators as "") and its
    // rectangle in screen coordinates; false when none is open.
    static bool GetOpenMenu(std::vector<std::wstring>* pItems, RECT* pRect);
    // Where an item of the open pop-up menu stands, in screen coordinates.
    static bool GetOpenMenuItemRect(const std::wstring& strText, RECT* pRect);
    // The list a drop-down has opened (a tap on the box opens it): its lines and
    // its rectangle in screen coordinates; false when none is open.
    static bool GetOpenDropDown(std::vector<std::wstring>* pItems, RECT* pRect);
    // Closes it choosing nothing, as a tap beside it does.
    static void CloseDropDown();
    // Taps an item of the open pop-up menu; the command arrives once the menu is closed.
    static bool TapOpenMenuItem(const std::wstring& strText);
    static void TapDoneButton();
    // A key press as the keyboard delivers it, to whatever has the focus: the
    // active dialog's pre-translation or the message box on top sees it first.
    static void PressKey(UINT vk);

    static std::wstring GetTitle();
    static bool IsDoneButtonShown();
    static std::wstring GetSoftKeyText(int nKey);        // the label in full
    static std::wstring GetSoftKeyShownText(int nKey);   // as drawn, elided to fit
    // The screen window's icon at that size, as the desktop gets it; false when
    // it has none.
    static bool SaveWindowIcon(const std::wstring& strPath, int nSize);

    static void ProcessEvents();
    // The screen as the user sees it now, open menus and lists included, with
    // the desktop's pixels (at zoom 2, twice the screen's size); what is pending
    // is painted first. GrabScreen's picture is read in device pixels (each
    // read gives the middle of that device pixel), GrabWindow's in the
    // desktop's.
    static bool SaveScreenshot(const std::wstring& strPath);
    static bool GrabScreen(CBitmap& shot);
    static bool GrabWindow(CBitmap& shot);
    // The screen as the paints so far left it, nothing painted afresh, read in
    // device pixels: what the user sees when only part of a window was
    // repainted. False when the window's pixels cannot be read back.
    static bool GrabPaintedWindow(CBitmap& shot);
    // As the user sizes the desktop's window, in device pixels.
    static void ResizeWindow(int cx, int cy);
    // As the user presses the close button of the desktop's window.
    static void CloseWindow();
    // The stylus on the screen's window, in device pixels at any zoom, as the
    // desktop delivers it: pressed at ptFrom, moved to ptTo in nSteps
    // steps (0: a tap), released there.
    static void DragInWindow(POINT ptFrom, POINT ptTo, int nSteps);
    // One stylus event there: WM_LBUTTONDOWN, WM_MOUSEMOVE or WM_LBUTTONUP.
    static void StylusInWindow(UINT nMessage, POINT pt);
    // Runs after each paint of a window drawn by its own class (an empty
    // function stops it); for timing how soon something is on screen.
    static void OnPainted(std::function<void(CWnd*)> fnPainted);
    // The web browser: an address to open goes to fnOpener instead, until
    // Uninstall or an empty function brings the desktop's opener back.
    static void ReplaceUrlOpener(std::function<void(const std::wstring&)> fnOpener);
};
