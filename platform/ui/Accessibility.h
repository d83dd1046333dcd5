#pragma once

// Internal to the platform layer: what screen readers learn of our widgets
// beyond what Qt tells them by itself.

#include <QAccessible>
#include <QString>

class QWidget;

// Gives the widget a role of its own (a chart, a dialog, an alert) in place of
// the one of its class; Qt's own accessibility serves the rest.
void SetAccessibleRoleOf(QWidget* pWidget, QAccessible::Role role);
// Names a pop-up or a screen-filling dialog after its caption, as a dialog.
void MarkDialog(QWidget* pWidget, const QString& strCaption);
