#include "platform/gui/Controls.h"

#include "platform/gui/Handler.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QVariant>
#include <QWidget>

QString TypeName(const QObject* o)
{
    if (!o)
        return QString();
    const QVariant t = o->property("vbType");
    if (t.isValid())
        return t.toString();
    if (qobject_cast<const QLabel*>(o))
        return QStringLiteral("Label");
    if (qobject_cast<const QLineEdit*>(o) || qobject_cast<const QPlainTextEdit*>(o) || qobject_cast<const QTextEdit*>(o))
        return QStringLiteral("TextBox");
    if (qobject_cast<const QComboBox*>(o))
        return QStringLiteral("ComboBox");
    if (qobject_cast<const QCheckBox*>(o))
        return QStringLiteral("CheckBox");
    if (qobject_cast<const QRadioButton*>(o))
        return QStringLiteral("OptionButton");
    if (qobject_cast<const QPushButton*>(o))
        return QStringLiteral("CommandButton");
    if (qobject_cast<const QScrollBar*>(o))
        return QStringLiteral("HScrollBar");
    if (qobject_cast<const QGroupBox*>(o))
        return QStringLiteral("Frame");
    if (qobject_cast<const QFrame*>(o))
        return QStringLiteral("PictureBox");
    return QString();
}

void MarkControl(QWidget* w, const QString& typeName)
{
    w->setProperty("vbControl", true);
    w->setProperty("vbType", typeName);
}

bool IsMarkedControl(const QWidget* w) { return w && w->property("vbControl").toBool(); }

void SetBackStyle(QWidget* label, int backStyle)
{
    label->setProperty("vbBackStyle", backStyle);
    label->setAutoFillBackground(backStyle != 0);
}

int BackStyle(const QWidget* label)
{
    const QVariant v = label->property("vbBackStyle");
    return v.isValid() ? v.toInt() : 1;
}

void SetFocusOn(QWidget* control)
{
    if (!control || !control->isEnabled() || !control->isVisible() || (control->focusPolicy() == Qt::NoFocus && !control->focusProxy()))
        throw VbError::InvalidCall();
    control->setFocus(Qt::OtherFocusReason);
}

void SetFocusByKey(QWidget* control)
{
    if (!control || !control->isEnabled() || !control->isVisible() || (control->focusPolicy() == Qt::NoFocus && !control->focusProxy()))
        throw VbError::InvalidCall();
    ShowFocusFrame(control);
    control->setFocus(Qt::TabFocusReason);
}

// Qt draws the focus frame once a Tab has moved the focus in the window; a move by another key
// counts the same.
void ShowFocusFrame(QWidget* widget)
{
    if (widget)
        widget->window()->setAttribute(Qt::WA_KeyboardFocusChange);
}
