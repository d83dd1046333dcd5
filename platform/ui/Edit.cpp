#include "platform/ui/Edit.h"

#include "platform/ui/WndImpl.h"

#include <QLineEdit>
#include <QTextEdit>
#include <QTextCursor>

void CEdit::SetSel(int nStartChar, int nEndChar, bool bNoScroll)
{
    RunForWindow(this, [=](CWnd* p) {
        QWidget* w = ImplOf(p)->m_pWidget;
        if (auto* line = qobject_cast<QLineEdit*>(w)) {
            if (nStartChar < 0)
                line->deselect();
            else
                line->setSelection(nStartChar, (nEndChar < 0 ? line->text().size() : nEndChar) - nStartChar);
        } else if (auto* plain = qobject_cast<QTextEdit*>(w)) {
            QTextCursor cursor = plain->textCursor();
            if (nStartChar < 0) {
                cursor.clearSelection();
            } else {
                int length = plain->document()->characterCount() - 1;
                int end = nEndChar < 0 || nEndChar > length ? length : nEndChar;
                cursor.setPosition(nStartChar > length ? length : nStartChar);
                cursor.setPosition(end, QTextCursor::KeepAnchor);
            }
            plain->setTextCursor(cursor);
            if (!bNoScroll)
                plain->ensureCursorVisible();
        }
    });
}

void CEdit::GetSel(int& nStartChar, int& nEndChar) const
{
    nStartChar = nEndChar = 0;
    ReadOnUiThread(this, "CEdit::GetSel", [&](CWnd* p) {
        QWidget* w = ImplOf(p)->m_pWidget;
        if (auto* line = qobject_cast<QLineEdit*>(w)) {
            if (line->hasSelectedText()) {
                nStartChar = line->selectionStart();
                nEndChar = line->selectionEnd();
            } else {
                nStartChar = nEndChar = line->cursorPosition();
            }
        } else if (auto* plain = qobject_cast<QTextEdit*>(w)) {
            QTextCursor cursor = plain->textCursor();
            nStartChar = cursor.selectionStart();
            nEndChar = cursor.selectionEnd();
        }
    });
}

void CEdit::SetReadOnly(bool bReadOnly)
{
    RunForWindow(this, [bReadOnly](CWnd* p) {
        QWidget* w = ImplOf(p)->m_pWidget;
        if (auto* line = qobject_cast<QLineEdit*>(w))
            line->setReadOnly(bReadOnly);
        else if (auto* plain = qobject_cast<QTextEdit*>(w))
            plain->setReadOnly(bReadOnly);
    });
}

bool CEdit::HasSelection() const
{
    int start = 0, end = 0;
    GetSel(start, end);
    return start != end;
}
