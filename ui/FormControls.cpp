#include "ui/FormControls.h"

#include "platform/gui/Controls.h"
#include "platform/gui/Form.h"
#include "platform/gui/ImText.h"

#include <QPlainTextEdit>
#include <QSet>
#include <QTextEdit>
#include <QVariant>
#include <QWidget>

bool ControlArrayIndex(const QWidget* control, int* index)
{
    const QVariant v = control->property("Index");
    bool ok = false;
    const int i = v.isValid() ? v.toInt(&ok) : 0;
    if (ok && index)
        *index = i;
    return ok;
}

QString ControlKey(const QWidget* control)
{
    int index = 0;
    if (ControlArrayIndex(control, &index))
        return control->objectName() + QLatin1Char('_') + QString::number(index);
    return control->objectName();
}

Form* FormOf(const QWidget* control)
{
    auto* window = control ? qobject_cast<FormWindow*>(control->window()) : nullptr;
    return window ? window->form() : nullptr;
}

QList<QWidget*> TabOrder(const Form* form)
{
    QList<QWidget*> order;
    const FormWindow* window = form ? form->loadedWindow() : nullptr;
    if (!window)
        return order;
    const QList<QWidget*> controls = form->controls();
    const QSet<QWidget*> set(controls.begin(), controls.end());
    QSet<QWidget*> seen;
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain())
        if (set.contains(w) && !seen.contains(w)) {
            order.append(w);
            seen.insert(w);
        }
    for (QWidget* w : controls)                      // not in the chain: after the others
        if (!seen.contains(w))
            order.append(w);
    return order;
}

bool TabStop(const QWidget* control)
{
    return (control->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

void SetTabStop(QWidget* control, bool on)
{
    int policy = control->focusPolicy();
    if (on)
        policy |= Qt::TabFocus | Qt::ClickFocus;
    else
        policy &= ~int(Qt::TabFocus);
    control->setFocusPolicy(Qt::FocusPolicy(policy));
}

bool HasTabStop(const QString& typeName)
{
    static const QSet<QString> kNone = {QString(),                    QStringLiteral("Label"), QStringLiteral("Frame"),
                                        QStringLiteral("PictureBox"), QStringLiteral("Line"),  QStringLiteral("Shape"),
                                        QStringLiteral("Image")};
    return !kNone.contains(typeName);
}

bool IsMultiLine(const QWidget* control)
{
    if (qobject_cast<const QPlainTextEdit*>(control) || qobject_cast<const QTextEdit*>(control))
        return true;
    auto* box = qobject_cast<const ImText*>(control);
    return box && box->multiLine();
}

bool IsInputBoxType(const QString& typeName)
{
    static const QSet<QString> kTypes = {QStringLiteral("imDate"), QStringLiteral("imTime"),
                                         QStringLiteral("imNumber"), QStringLiteral("imText"),
                                         QStringLiteral("imMask"), QStringLiteral("imPostal")};
    return kTypes.contains(typeName);
}
