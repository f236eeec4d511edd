#pragma once
// What the form controller and its wrappers read of controls beyond their type names: the
// control-array index, the collection key, the Tab stop and tab order, the owning form.
//
// A member of a control array carries its index in the dynamic property "Index" (members
// share one objectName, the array's name).
#include <QList>
#include <QString>

class Form;
class QWidget;

// True for a member of a control array, with its index.
bool ControlArrayIndex(const QWidget* control, int* index = nullptr);
// The collection key of a control: its name, or for an array member name "_" index.
QString ControlKey(const QWidget* control);

// The form whose window holds the control; none for a widget outside every form.
Form* FormOf(const QWidget* control);

// The controls of the form in tab order (the window's focus chain); a control's TabIndex is
// its position in this list.
QList<QWidget*> TabOrder(const Form* form);

// A Tab stop is Qt's Tab focus; a control without it can still be clicked into.
bool TabStop(const QWidget* control);
void SetTabStop(QWidget* control, bool on);
// Whether controls of this type have Enabled, Visible and a Tab stop to test at all (labels,
// frames and pictures are skipped by the focus movement).
bool HasTabStop(const QString& typeName);

// MultiLine of a text box or input text box; false for any other control.
bool IsMultiLine(const QWidget* control);
// The six input-box types that move the focus by their own key maps.
bool IsInputBoxType(const QString& typeName);
