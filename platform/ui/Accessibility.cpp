#include "platform/ui/Accessibility.h"

#include "platform/ui/QtBridge.h"
#include "platform/ui/WndImpl.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

const char kRoleProperty[] = "cirrovanAccessibleRole";

// Asked before Qt's own factories: only the widgets given a role answer.
QAccessibleInterface* RoleFactory(const QString&, QObject* pObject)
{
    auto* pWidget = qobject_cast<QWidget*>(pObject);
    if (!pWidget)
        return nullptr;
    const QVariant role = pWidget->property(kRoleProperty);
    if (!role.isValid())
        return nullptr;
    return new QAccessibleWidget(pWidget, static_cast<QAccessible::Role>(role.toInt()));
}

void InstallFactoryOnce()
{
    static const bool bInstalled = []() {
        QAccessible::installFactory(RoleFactory);
        return true;
    }();
    (void)bInstalled;
}

} // namespace

void SetAccessibleRoleOf(QWidget* pWidget, QAccessible::Role role)
{
    if (!pWidget)
        return;
    InstallFactoryOnce();
    // Set before any interface of the widget exists: Qt keeps the first one.
    pWidget->setProperty(kRoleProperty, static_cast<int>(role));
}

void MarkDialog(QWidget* pWidget, const QString& strCaption)
{
    if (!pWidget)
        return;
    SetAccessibleRoleOf(pWidget, QAccessible::Dialog);
    pWidget->setAccessibleName(strCaption);
}

void CWnd::SetAccessibleName(const std::wstring& strName)
{
    if (QWidget* w = m_pImpl->m_pWidget)
        w->setAccessibleName(ToQString(strName));
}

void CWnd::SetAccessibleDescription(const std::wstring& strDescription)
{
    QWidget* w = m_pImpl->m_pWidget;
    if (!w)
        return;
    const QString strText = ToQString(strDescription);
    if (w->accessibleDescription() == strText)
        return;
    w->setAccessibleDescription(strText);
}

void CWnd::SetAccessibleRole(AccessibleRole role)
{
    if (role == AccessibleRole::Chart)
        SetAccessibleRoleOf(m_pImpl->m_pWidget, QAccessible::Chart);
}

bool CWnd::IsAccessibilityActive()
{
    return QAccessible::isActive();
}
