#include "platform/testing/DriverObserver.h"

#include "platform/ui/Dialog.h"

CDriverObserver& CDriverObserver::Get()
{
    static CDriverObserver s_observer;   // outlives every call the screen makes to it
    return s_observer;
}

void CDriverObserver::Observe(bool bDriving)
{
    if (bDriving)
        m_script.m_bDriving = true;
    SetUiObserver(this);
}

void CDriverObserver::Forget()
{
    SetUiObserver(nullptr);
    m_script = Script();
    SetUrlOpener(nullptr);
}

void CDriverObserver::SetUrlOpener(std::function<void(const std::wstring&)> fnOpener)
{
    std::lock_guard<std::mutex> lock(m_urlMutex);
    m_fnOpenUrl = std::move(fnOpener);
}

bool CDriverObserver::MessageBoxOpening(const std::wstring& strText, const std::wstring& strCaption, UINT nType,
                                        int& nAnswer)
{
    Script& s = m_script;
    if (!s.m_bDriving)
        return false;
    bool scripted = !s.m_answers.empty();
    bool show = !s.m_strShowPath.empty() || s.m_fnBoxAction;
    if (scripted) {
        nAnswer = s.m_answers.front();
        s.m_answers.pop_front();
    } else {
        UINT buttons = nType & MB_TYPEMASK;
        nAnswer = buttons == MB_YESNO ? IDNO : (buttons == MB_OKCANCEL ? IDCANCEL : IDOK);
    }
    s.m_calls.push_back(MESSAGEBOXCALL{strText, strCaption, nType, nAnswer, scripted, RECT{0, 0, 0, 0}});
    s.m_nShownAnswer = nAnswer;
    s.m_nShownCall = s.m_calls.size() - 1;
    return !show;
}

bool CDriverObserver::MessageBoxShown(const RECT& rcBox, int& nAnswer)
{
    Script& s = m_script;
    if (!s.m_bDriving || (s.m_strShowPath.empty() && !s.m_fnBoxAction))
        return false;
    if (s.m_nShownCall < s.m_calls.size())
        s.m_calls[s.m_nShownCall].rcBox = rcBox;
    if (!s.m_strShowPath.empty()) {
        CTestDriver::SaveScreenshot(s.m_strShowPath);
        s.m_strShowPath.clear();
    }
    if (s.m_fnBoxAction) {
        std::function<void()> fn = std::move(s.m_fnBoxAction);
        s.m_fnBoxAction = nullptr;
        fn();
    }
    nAnswer = s.m_nShownAnswer;
    return true;
}

void CDriverObserver::MessageBoxAnswered(int nAnswer)
{
    Script& s = m_script;
    if (s.m_bDriving && s.m_nShownCall < s.m_calls.size())
        s.m_calls[s.m_nShownCall].nAnswer = nAnswer;
}

void CDriverObserver::DialogOpened(CDialog* pDialog)
{
    Script& s = m_script;
    if (!s.m_bDriving)
        return;
    for (auto it = s.m_actions.begin(); it != s.m_actions.end(); ++it) {
        if (it->first == pDialog->m_nIDTemplate) {
            std::function<void(CDialog*)> fn = std::move(it->second);
            s.m_actions.erase(it);
            fn(pDialog);
            return;
        }
    }
}

void CDriverObserver::Painted(CWnd* pWnd)
{
    if (m_script.m_fnPainted)
        m_script.m_fnPainted(pWnd);
}

bool CDriverObserver::OpeningUrl(const std::wstring& strUrl)
{
    std::function<void(const std::wstring&)> fn;
    {
        std::lock_guard<std::mutex> lock(m_urlMutex);
        fn = m_fnOpenUrl;
    }
    if (!fn)
        return false;
    fn(strUrl);
    return true;
}
