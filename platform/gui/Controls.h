#pragma once
// What the forms run time knows of every control: its type name, its place in the form's
// control list, the transparent label, and a focus request that fails as the run time's does.
#include <QString>

class QObject;
class QWidget;

// The type name of a control as the run time gives it: "Label", "TextBox", "ComboBox",
// "CheckBox", "OptionButton", "CommandButton", "Frame", "PictureBox", or the name a stand-in
// gives itself ("imNumber", "imText", "TDBGrid", "LineButton", "ProgressBar"); empty for none.
QString TypeName(const QObject* control);
// Marks a widget as one control of a form under a type name (its inner parts are no controls).
void MarkControl(QWidget* control, const QString& typeName);
bool IsMarkedControl(const QWidget* widget);

// A label's back style: 0 transparent, 1 opaque.
void SetBackStyle(QWidget* label, int backStyle);
int BackStyle(const QWidget* label);

// Gives the control the focus; throws VbError 5 when it is missing, disabled or hidden.
void SetFocusOn(QWidget* control);
// The same for a move the keyboard makes (Enter, the arrows): the window shows the focus frame
// from then on, as after a Tab.
void SetFocusByKey(QWidget* control);
// The window of the widget shows its focus frame, as after a Tab.
void ShowFocusFrame(QWidget* widget);

// Any object that answers access keys the window hands it (Enter as default, Esc as cancel button).
class AccessKeyTarget {
public:
    virtual ~AccessKeyTarget() = default;
    virtual void accessKeyPress(int keyCode) = 0;
};
