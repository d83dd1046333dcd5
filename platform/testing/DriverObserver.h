#pragma once

#include "platform/testing/TestDriver.h"
#include "platform/ui/UiObserver.h"

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

// The test driver's side of the screen: what it was told to do in the user's
// place (answers for message boxes, actions for dialogs that open) and what it
// saw. It is the screen's observer while the driver is installed, or while a
// test only watches the paints or the browser; then message boxes and dialogs
// are left to the user as in the program.
class CDriverObserver : public CUiObserver
{
public:
    static CDriverObserver& Get();

    // Becomes the screen's observer; bDriving: it also answers message boxes
    // and acts on dialogs.
    void Observe(bool bDriving);
    // No longer the observer, and everything scripted and recorded is forgotten.
    void Forget();
    // Empty: the desktop's opener again.
    void SetUrlOpener(std::function<void(const std::wstring&)> fnOpener);

    bool MessageBoxOpening(const std::wstring& strText, const std::wstring& strCaption, UINT nType,
                           int& nAnswer) override;
    bool MessageBoxShown(const RECT& rcBox, int& nAnswer) override;
    void MessageBoxAnswered(int nAnswer) override;
    void DialogOpened(CDialog* pDialog) override;
    void Painted(CWnd* pWnd) override;
    bool OpeningUrl(const std::wstring& strUrl) override;

    // Everything below on the user-interface thread only.
    struct Script
    {
        bool m_bDriving = false;
        std::deque<int> m_answers;
        std::vector<MESSAGEBOXCALL> m_calls;
        std::vector<std::pair<UINT, std::function<void(CDialog*)>>> m_actions;
        std::wstring m_strShowPath;               // the next box is shown and photographed here
        std::function<void()> m_fnBoxAction;      // or shown and acted on
        int m_nShownAnswer = 0;
        size_t m_nShownCall = 0;                  // its record
        std::function<void(CWnd*)> m_fnPainted;
    };
    Script m_script;

private:
    // The browser may be asked for from any thread.
    std::mutex m_urlMutex;
    std::function<void(const std::wstring&)> m_fnOpenUrl;
};
