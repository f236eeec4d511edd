#pragma once
// What the number box and the text box of the input-control library share: key lists that
// move the focus to the next or previous control or clear the box, the text highlighted on
// entry, the read-only state, the built-in caption part, and the events with their arguments
// by reference (a handler that sets KeyCode to 0 swallows the key, another code replaces it).
#include "platform/gui/Colors.h"

#include <QFont>
#include <QLineEdit>

struct ImKeyMap {
    QString NextCtrl;     // e.g. "{Enter},{Down}"
    QString PrevCtrl;     // e.g. "+{Enter},{Up}"
    QString Clear;        // e.g. "{F2}"
};

struct ImCaptionPart {
    uint32_t backColor = kSysBtnFace;
    uint32_t foreColor = kSysWindowText;
    QFont font;
};

class ImEdit : public QLineEdit {
    Q_OBJECT
public:
    ImKeyMap Key;
    ImCaptionPart Caption;

    int highlightText() const { return highlight_; }     // 0 off, True (-1) or 1: select all on entry
    void setHighlightText(int mode) { highlight_ = mode; }
    int alignVertical() const { return alignVertical_; } // 0 top, 1 bottom, 2 centre (the text is centred)
    void setAlignVertical(int mode) { alignVertical_ = mode; }

    virtual void ClearControl() = 0;

signals:
    void KeyDown(int& keyCode, int& shift);
    void KeyUp(int& keyCode, int& shift);
    void KeyPress(int& keyAscii);
    void Change();

protected:
    ImEdit(const QString& typeName, QWidget* parent);
    // The typed text becomes the value (number box); false keeps the focus in the box.
    virtual bool commit() { return true; }
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int highlight_ = -1;
    int alignVertical_ = 0;
};
