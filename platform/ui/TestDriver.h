#pragma once

#include "platform/ui/Wnd.h"

#include <functional>
#include <string>
#include <vector>

class CDialog;

struct MESSAGEBOXCALL
{
    std::wstring strText;
    std::wstring strCaption;
    UINT nType;
    int nAnswer;
    bool bScripted;   // false: nobody had scripted an answer; the box got its safe answer
};

// Drives the modal world from a test as a user would: answers message boxes,
// acts when a dialog opens, taps controls and soft keys, presses keys, and takes
// screenshots of the device screen. Installing it makes unscripted message boxes
// answer at once (OK, Cancel or No) instead of waiting for a user.
class CTestDriver
{
public:
    static void Install();
    static void Uninstall();   // also forgets everything scripted and recorded

    static void AnswerNextMessageBox(int nAnswer);
    static std::vector<MESSAGEBOXCALL>& MessageBoxes();

    // Runs once, inside the dialog's modal loop, when a dialog with that template
    // opens; several may be queued for the same or other templates.
    static void OnDialogOpen(UINT nTemplateID, std::function<void(CDialog*)> fnAction);

    static CDialog* GetActiveDialog();
    static void Tap(UINT nControlID);                      // a control of the active dialog
    static void TapAt(CWnd* pWnd, POINT pt);              // stylus down and up
    static void Drag(CWnd* pWnd, POINT ptFrom, POINT ptTo, int nSteps);
    static void PressSoftKey(int nKey);                    // 0 left, 1 right
    // A command of a soft key's pop-up menu of the active dialog; false when no
    // soft key offers it.
    static bool ChooseMenuItem(UINT nCommand);
    static void TapDoneButton();
    static void PressKey(UINT vk);

    static std::wstring GetTitle();
    static bool IsDoneButtonShown();
    static std::wstring GetSoftKeyText(int nKey);

    static void ProcessEvents();
    static bool SaveScreenshot(const std::wstring& strPath);
};
