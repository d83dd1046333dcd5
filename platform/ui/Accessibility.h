#pragma once

// Internal to the platform layer: what screen readers learn of our widgets
// beyond what Qt tells them by itself.

#include <QAccessible>
#include <QString>

class CWnd;
class QWidget;

// Our answers to Qt's questions about widgets; installed once the application
// exists (Qt asks the factory installed last first), before the first widget
// a reader could ask about.
void InstallAccessibleFactory();

// Gives the widget a role of its own (a chart, a dialog, an alert) in place of
// the one of its class; Qt's own accessibility serves the rest.
void SetAccessibleRoleOf(QWidget* pWidget, QAccessible::Role role);
// Names a pop-up or a screen-filling dialog after its caption, as a dialog.
void MarkDialog(QWidget* pWidget, const QString& strCaption);
// Gives the window's widget the role its object was given, if any.
void ApplyAccessibleRole(CWnd* pWnd);
