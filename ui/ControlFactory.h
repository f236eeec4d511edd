#pragma once
// The one place where windows make their controls. Every control gets, as its objectName, the
// name the window's code, the error log and the control collections know it by; a member of a
// control array also gets its index (the "Index" property, see FormControls.h). The functions
// below add the look the windows share: their font, the dialogs' frame, command buttons that
// Enter presses only when they have the focus, the action buttons in bold, number boxes with
// their format.
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>
#include <optional>
#include <utility>

class ImNumber;
class LineButton;
class QPushButton;

// The windows' font: ＭＳ Ｐゴシック, 9 points unless told.
QFont WindowFont(bool bold = false, int pointSize = 9);

// A dialog's frame on its new window: a title bar with the close box alone, the title, a client
// area of a fixed size and the font of its controls (none: the application's). Opening it
// modally and over its owner is Form::showModal's.
void SetDialogFrame(QWidget* window, const QString& title, const QSize& size,
                    const std::optional<QFont>& font = WindowFont());

// Any control: made from the given arguments and its parent (Qt's order: Label(text, parent),
// QScrollBar(orientation, parent), TDBGrid(parent)), named and placed.
template <typename T, typename... Args>
T* NewControl(QWidget* parent, const char* name, const QRect& geometry, Args&&... args)
{
    T* control = new T(std::forward<Args>(args)..., parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}

// One member of a control array: the array's name and the member's index.
template <typename T, typename... Args>
T* NewMember(QWidget* parent, const char* name, int index, const QRect& geometry, Args&&... args)
{
    T* control = NewControl<T>(parent, name, geometry, std::forward<Args>(args)...);
    control->setProperty("Index", index);
    return control;
}

// A push button that Enter presses when it has the focus (and Enter in a box of its window never).
QPushButton* NewCommandButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry);
// An action button, its caption in the bold window font.
LineButton* NewLineButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry);
// A number box showing and taking its value in one format.
ImNumber* NewNumberBox(QWidget* parent, const char* name, const QRect& geometry, const QString& format);
