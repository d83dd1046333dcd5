#include "platform/ui/Accessibility.h"

#include "platform/ui/QtBridge.h"
#include "platform/ui/WndImpl.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QWidget>

namespace {

const char kRoleProperty[] = "cirrovanAccessibleRole";

// A drop-down list as a screen reader should hear it: by the name the program
// gave it, its current item as its text. Qt's own interface names a list on
// Linux after its current item, leaving its label to a relation that a window
// without labels never has; its pop-up stays its one child, as with Qt's.
class DropDownAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit DropDownAccessible(QComboBox* pCombo) : QAccessibleWidget(pCombo, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override
    {
        const QString strName = Combo()->accessibleName();
        if (t == QAccessible::Name && !strName.isEmpty())
            return strName;
        if (t == QAccessible::Name || t == QAccessible::Value)
            return Combo()->currentText();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = Combo()->view()->isVisible();
        return s;
    }
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int nIndex) const override
    {
        return nIndex == 0 ? QAccessible::queryAccessibleInterface(Combo()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* pChild) const override
    {
        return pChild && pChild->object() == Combo()->view() ? 0 : -1;
    }
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QStringList actionNames() const override { return {showMenuAction()}; }
    void doAction(const QString& strAction) override
    {
        if (strAction == showMenuAction())
            Combo()->showPopup();
    }

    // The current item, read only.
    QString text(int nStart, int nEnd) const override { return Combo()->currentText().mid(nStart, nEnd - nStart); }
    int characterCount() const override { return static_cast<int>(Combo()->currentText().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void selection(int, int* pnStart, int* pnEnd) const override { *pnStart = *pnEnd = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QString attributes(int, int* pnStart, int* pnEnd) const override
    {
        *pnStart = 0;
        *pnEnd = characterCount();
        return QString();
    }
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}

private:
    QComboBox* Combo() const { return static_cast<QComboBox*>(widget()); }
};

// Asked before Qt's own factories: only the widgets given a role, and the
// drop-down lists, answer.
QAccessibleInterface* RoleFactory(const QString&, QObject* pObject)
{
    auto* pWidget = qobject_cast<QWidget*>(pObject);
    if (!pWidget)
        return nullptr;
    if (auto* pCombo = qobject_cast<QComboBox*>(pWidget))
        return new DropDownAccessible(pCombo);
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

void InstallAccessibleFactory()
{
    InstallFactoryOnce();
}

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
    m_pImpl->m_accessibleRole = role;
    ApplyAccessibleRole(this);
}

void ApplyAccessibleRole(CWnd* pWnd)
{
    if (ImplOf(pWnd)->m_accessibleRole == CWnd::AccessibleRole::Chart)
        SetAccessibleRoleOf(ImplOf(pWnd)->m_pWidget, QAccessible::Chart);
}

bool CWnd::IsAccessibilityActive()
{
    return QAccessible::isActive();
}
