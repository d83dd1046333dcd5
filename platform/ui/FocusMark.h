#pragma once

// Internal to the platform layer.

#include <QObject>
#include <QPointer>

class QFrame;
class QWidget;

// The mark around the control that has the keyboard's focus on the device's
// screen: a frame in the device's blue just outside the control's edge, drawn
// over its parent, so that every control shows it the same way whatever the
// style draws for it (a push button or a drop-down list draws next to nothing
// on the small screen). The screen's focus is followed rather than the
// desktop's, which a zoomed screen never has: after each key, tap, focus
// change, move, size or show, the mark is set again once the events have run.
class FocusMark : public QObject
{
public:
    // Once per application; later calls do nothing.
    static void Install();

protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override;

private:
    FocusMark() = default;
    void Refresh();

    QPointer<QFrame> m_pFrame;   // goes with the window it stands in
    bool m_bPending = false;
};

// After a box or dialog over it has gone, the focus goes back to the control
// that had it (null: none), if it is still there to take it; otherwise what
// the user types would go nowhere until a tap or Tab found it a control.
void ReturnFocus(QWidget* pWidget);
