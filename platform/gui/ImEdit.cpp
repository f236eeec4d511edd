#include "platform/gui/ImEdit.h"

#include "platform/gui/Controls.h"
#include "platform/gui/Keys.h"

#include <QKeyEvent>
#include <QTimer>

ImEdit::ImEdit(const QString& typeName, QWidget* parent) : QLineEdit(parent)
{
    MarkControl(this, typeName);
    Caption.font = font();
}

void ImEdit::keyPressEvent(QKeyEvent* e)
{
    int code = VbKeyCode(e);
    int shift = VbShiftState(e);
    const int original = code;
    if (code) {
        emit KeyDown(code, shift);
        if (code == 0)
            return;
    }
    if (code == original && !e->text().isEmpty() && e->text()[0].isPrint()) {
        int ascii = e->text()[0].unicode();
        emit KeyPress(ascii);
        if (ascii == 0)
            return;
    }
    if (KeyListContains(Key.Clear, code, shift)) {
        ClearControl();
        return;
    }
    const bool next = KeyListContains(Key.NextCtrl, code, shift);
    if (next || KeyListContains(Key.PrevCtrl, code, shift)) {
        if (commit()) {
            ShowFocusFrame(this);
            focusNextPrevChild(next);
        }
        return;
    }
    if (code != original) {
        QKeyEvent replaced = MakeKeyEvent(QEvent::KeyPress, code, shift);
        QLineEdit::keyPressEvent(&replaced);
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void ImEdit::keyReleaseEvent(QKeyEvent* e)
{
    int code = VbKeyCode(e);
    int shift = VbShiftState(e);
    if (code) {
        emit KeyUp(code, shift);
        if (code == 0)
            return;
    }
    QLineEdit::keyReleaseEvent(e);
}

void ImEdit::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    if (highlight_ != 0) {
        selectAll();
        // A mouse click that gave the focus places the caret after this; select once more.
        QTimer::singleShot(0, this, [this] {
            if (hasFocus())
                selectAll();
        });
    }
}

void ImEdit::focusOutEvent(QFocusEvent* e)
{
    const bool accepted = commit();
    QLineEdit::focusOutEvent(e);
    if (!accepted)
        QTimer::singleShot(0, this, [this] { setFocus(); selectAll(); });
}
