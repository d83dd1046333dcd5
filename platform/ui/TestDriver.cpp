#include "platform/ui/TestDriver.h"

#include "platform/Resources.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ScreenImpl.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <deque>
#include <utility>

namespace {

struct DriverState
{
    std::deque<int> m_answers;
    std::vector<MESSAGEBOXCALL> m_calls;
    std::vector<std::pair<UINT, std::function<void(CDialog*)>>> m_actions;
};

DriverState& State()
{
    static DriverState state;
    return state;
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint p)
{
    Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

}

void CTestDriver::Install()
{
    EnsureApplication();
    CDeviceScreen::Get();
    g_messageBoxHook = [](const std::wstring& strText, const std::wstring& strCaption, UINT nType, int& nAnswer) {
        DriverState& s = State();
        bool scripted = !s.m_answers.empty();
        if (scripted) {
            nAnswer = s.m_answers.front();
            s.m_answers.pop_front();
        } else {
            UINT buttons = nType & MB_TYPEMASK;
            nAnswer = buttons == MB_YESNO ? IDNO : (buttons == MB_OKCANCEL ? IDCANCEL : IDOK);
        }
        s.m_calls.push_back(MESSAGEBOXCALL{strText, strCaption, nType, nAnswer, scripted});
        return true;
    };
    g_dialogOpenHook = [](CDialog* pDialog) {
        DriverState& s = State();
        for (auto it = s.m_actions.begin(); it != s.m_actions.end(); ++it) {
            if (it->first == pDialog->m_nIDTemplate) {
                std::function<void(CDialog*)> fn = std::move(it->second);
                s.m_actions.erase(it);
                fn(pDialog);
                return;
            }
        }
    };
}

void CTestDriver::Uninstall()
{
    g_messageBoxHook = nullptr;
    g_dialogOpenHook = nullptr;
    State() = DriverState();
}

void CTestDriver::AnswerNextMessageBox(int nAnswer)
{
    State().m_answers.push_back(nAnswer);
}

std::vector<MESSAGEBOXCALL>& CTestDriver::MessageBoxes()
{
    return State().m_calls;
}

void CTestDriver::OnDialogOpen(UINT nTemplateID, std::function<void(CDialog*)> fnAction)
{
    State().m_actions.emplace_back(nTemplateID, std::move(fnAction));
}

CDialog* CTestDriver::GetActiveDialog()
{
    return CDeviceScreen::Get().m_pImpl->ActiveDialog();
}

void CTestDriver::Tap(UINT nControlID)
{
    CDialog* pDlg = GetActiveDialog();
    CWnd* pCtrl = pDlg ? pDlg->GetDlgItem(nControlID) : nullptr;
    if (!pCtrl || !pCtrl->m_pImpl->m_pWidget)
        return;
    if (auto* b = qobject_cast<QAbstractButton*>(pCtrl->m_pImpl->m_pWidget.data())) {
        if (b->isEnabled())
            b->click();
        return;
    }
    QWidget* w = pCtrl->m_pImpl->m_pWidget;
    TapAt(pCtrl, POINT{w->width() / 2, w->height() / 2});
}

void CTestDriver::TapAt(CWnd* pWnd, POINT pt)
{
    QWidget* w = pWnd ? pWnd->m_pImpl->m_pWidget.data() : nullptr;
    if (!w)
        return;
    SendMouse(w, QEvent::MouseButtonPress, QPoint(pt.x, pt.y));
    SendMouse(w, QEvent::MouseButtonRelease, QPoint(pt.x, pt.y));
}

void CTestDriver::Drag(CWnd* pWnd, POINT ptFrom, POINT ptTo, int nSteps)
{
    QWidget* w = pWnd ? pWnd->m_pImpl->m_pWidget.data() : nullptr;
    if (!w)
        return;
    if (nSteps < 1)
        nSteps = 1;
    SendMouse(w, QEvent::MouseButtonPress, QPoint(ptFrom.x, ptFrom.y));
    for (int i = 1; i <= nSteps; ++i) {
        QPoint p(ptFrom.x + (ptTo.x - ptFrom.x) * i / nSteps, ptFrom.y + (ptTo.y - ptFrom.y) * i / nSteps);
        SendMouse(w, QEvent::MouseMove, p);
    }
    SendMouse(w, QEvent::MouseButtonRelease, QPoint(ptTo.x, ptTo.y));
}

void CTestDriver::PressSoftKey(int nKey)
{
    CDeviceScreen::Impl* s = CDeviceScreen::Get().m_pImpl;
    if (nKey >= 0 && nKey < 2 && s->m_pKeys[nKey]->isEnabled())
        s->m_pKeys[nKey]->click();
}

bool CTestDriver::ChooseMenuItem(UINT nCommand)
{
    CDialog* pDlg = GetActiveDialog();
    const MENUBARTEMPLATE* bar = pDlg ? CResources::FindMenuBar(pDlg->m_nMenuBarID) : nullptr;
    const MENUTEMPLATE* menu = bar ? CResources::FindMenu(bar->nMenuID) : nullptr;
    if (!menu)
        return false;
    for (int k = 0; k < bar->nButtons; ++k) {
        int popup = bar->buttons[k].nPopup;
        if (popup < 0 || popup >= menu->nPopups)
            continue;
        for (int i = 0; i < menu->pPopups[popup].nItems; ++i) {
            if (menu->pPopups[popup].pItems[i].nCommand == nCommand) {
                CDeviceScreen::Get().m_pImpl->RunCommand(nCommand);
                return true;
            }
        }
    }
    return false;
}

void CTestDriver::TapDoneButton()
{
    CDeviceScreen::Impl* s = CDeviceScreen::Get().m_pImpl;
    if (s->m_pDone->isVisible())
        s->m_pDone->click();
}

void CTestDriver::PressKey(UINT vk)
{
    CDeviceScreen::Impl* s = CDeviceScreen::Get().m_pImpl;
    CDialog* pDlg = s->ActiveDialog();
    s->DispatchKey(vk, pDlg ? pDlg->m_pImpl->m_pWidget.data() : nullptr);
}

std::wstring CTestDriver::GetTitle()
{
    return FromQString(CDeviceScreen::Get().m_pImpl->m_pCaption->text());
}

bool CTestDriver::IsDoneButtonShown()
{
    return CDeviceScreen::Get().m_pImpl->m_pDone->isVisible();
}

std::wstring CTestDriver::GetSoftKeyText(int nKey)
{
    if (nKey < 0 || nKey > 1)
        return std::wstring();
    return FromQString(CDeviceScreen::Get().m_pImpl->m_pKeys[nKey]->text());
}

void CTestDriver::ProcessEvents()
{
    QCoreApplication::processEvents();
}

bool CTestDriver::SaveScreenshot(const std::wstring& strPath)
{
    return CDeviceScreen::Get().SaveScreenshot(strPath);
}
