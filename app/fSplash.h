#pragma once
// The splash form of start-up: the program's picture, two fixed lines, and a status line that
// start-up writes. No buttons, no input.
#include "platform/gui/Form.h"

#include <QPointer>

class Label;
class QLabel;

class fSplash : public Form {
    Q_OBJECT
public:
    fSplash();

    void FormOpen();                        // empty status, shown modeless, events run
    void FormClose();                       // unloads the form
    void PutMessage(const QString& text);   // the status line, shown, events run; never fails
    void FormSizing() {}

    QPointer<Label> labMessage, labSystem, Label1;
    QPointer<QLabel> imgLogo;

protected:
    void createControls(FormWindow* w) override;
};

fSplash& gSplash();
