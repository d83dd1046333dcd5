#pragma once

#include "platform/WinTypes.h"

#include <string>

class CDialog;
class CWnd;

// Someone outside the program who watches the screen and may stand in for its
// user: a driver that scripts the modal world, for instance. The program itself
// installs none, so every place that tells it asks for it first.
class CUiObserver
{
public:
    virtual ~CUiObserver() = default;

    // A message box is about to be shown. True: it is not, and nAnswer is its answer.
    virtual bool MessageBoxOpening(const std::wstring& strText, const std::wstring& strCaption, UINT nType,
                                   int& nAnswer) = 0;
    // Inside the box's loop once it is on the screen (rcBox, screen coordinates);
    // true answers it with nAnswer unless the user answered it meanwhile.
    virtual bool MessageBoxShown(const RECT& rcBox, int& nAnswer) = 0;
    // A box that was shown has been answered.
    virtual void MessageBoxAnswered(int nAnswer) = 0;
    // Inside the dialog's modal loop, once it is initialised and on the screen.
    virtual void DialogOpened(CDialog* pDialog) = 0;
    // A window drawn by its own class has painted.
    virtual void Painted(CWnd* pWnd) = 0;
    // The web browser is about to open the address. True: the observer took it
    // and no browser opens. From any thread.
    virtual bool OpeningUrl(const std::wstring& strUrl) = 0;
};

// The one observer, or null. Set it on the user-interface thread while no
// dialog or message box is open.
void SetUiObserver(CUiObserver* pObserver);
CUiObserver* GetUiObserver();
