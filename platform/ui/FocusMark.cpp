#include "platform/ui/FocusMark.h"

#include "platform/ui/ScreenImpl.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>

void FocusMark::Install()
{
    static QPointer<QCoreApplication> s_pApp;
    if (!qApp || s_pApp == qApp)
        return;
    s_pApp = qApp;
    qApp->installEventFilter(new FocusMark);
}

bool FocusMark::eventFilter(QObject* pObject, QEvent* pEvent)
{
    switch (pEvent->type()) {
    case QEvent::KeyRelease:
        // Tab, the arrows and Space have moved the focus by now.
        if (!m_bPending)
            Refresh();
        return false;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::MouseButtonRelease:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::EnabledChange:
        break;
    default:
        return false;
    }
    // The rest once the events under way have run: a window may be going.
    if (pObject == m_pFrame || m_bPending)
        return false;
    m_bPending = true;
    QMetaObject::invokeMethod(this, [this]() { Refresh(); }, Qt::QueuedConnection);
    return false;
}

void FocusMark::Refresh()
{
    m_bPending = false;
    const CDeviceScreen::Impl* s = ImplOf(CDeviceScreen::Get());
    QWidget* pScreen = s ? s->m_pScreen : nullptr;
    QWidget* pTarget = pScreen ? pScreen->focusWidget() : nullptr;
    const bool bMarked = pTarget && pTarget != pScreen && pTarget->parentWidget() && pTarget->isVisible()
                         && pTarget->isEnabled() && pTarget->focusPolicy() != Qt::NoFocus;
    if (!bMarked) {
        if (m_pFrame)
            m_pFrame->hide();
        return;
    }
    QWidget* pParent = pTarget->parentWidget();
    if (!m_pFrame) {
        m_pFrame = new QFrame(pParent);
        m_pFrame->setObjectName(QStringLiteral("focusMark"));
        m_pFrame->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_pFrame->setFocusPolicy(Qt::NoFocus);
        m_pFrame->setStyleSheet(QStringLiteral("#focusMark { border: 2px solid #1c3f8c; background: transparent; }"));
    } else if (m_pFrame->parentWidget() != pParent) {
        m_pFrame->setParent(pParent);
    }
    // Where nothing changed nothing is done: a raise repaints what lies under it.
    const QRect rcMark = pTarget->geometry().adjusted(-2, -2, 2, 2);
    if (m_pFrame->isVisible() && m_pFrame->geometry() == rcMark && pParent->children().last() == m_pFrame)
        return;
    m_pFrame->setGeometry(rcMark);
    m_pFrame->raise();
    m_pFrame->show();
}

void ReturnFocus(QWidget* pWidget)
{
    if (pWidget && pWidget->isVisible() && pWidget->isEnabled() && pWidget->window()->isEnabled())
        pWidget->setFocus(Qt::OtherFocusReason);
}
