// The keyboard side of the form controller: Enter and the arrow keys move the focus, the hot
// keys clear or restore the data, the top control takes the focus on request, and number
// boxes are brought back into their range.
#include "ui/cFrmCtrl.h"

#include "platform/gui/Controls.h"
#include "platform/gui/Form.h"
#include "platform/gui/ImNumber.h"
#include "platform/gui/Keys.h"
#include "ui/FormControls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSet>
#include <QWidget>

namespace {

bool TabCandidate(const QWidget* c)
{
    return HasTabStop(TypeName(c)) && TabStop(c) && c->isEnabled() && c->isVisibleTo(c->window());
}

// The grid and multi-line boxes keep their keys: the form does not move the focus for them.
bool KeepsOwnKeys(const QWidget* active)
{
    const QString type = TypeName(active);
    return type == QLatin1String("TDBGrid") ||
           ((type == QLatin1String("TextBox") || type == QLatin1String("imText")) && IsMultiLine(active));
}

}  // namespace

// The form's own key handlers (they run only while the form previews keys).
void cFrmCtrl::pweForm_KeyDown(int& keyCode, int& shift)
{
    if (!EnterKeyMove)
        return;
    if (ClearKey != 0 && keyCode == ClearKey) {
        DataClear();
        keyCode = 0;
    }
    if (DefaultKey != 0 && keyCode == DefaultKey) {
        DataDefault();
        keyCode = 0;
    }
    formKeyHandled_ = false;
    if (!KeepsOwnKeys(form_ ? form_->activeControl() : nullptr))
        KeyDown(keyCode, shift);
    // The control's wrapper may pass the same key on: it is handled already.
    formKeyHandled_ = true;
    QMetaObject::invokeMethod(this, [this] { formKeyHandled_ = false; }, Qt::QueuedConnection);
}

void cFrmCtrl::pweForm_KeyUp(int& keyCode, int& shift)
{
    if (KeepsOwnKeys(form_ ? form_->activeControl() : nullptr))
        return;
    KeyUp(keyCode, shift);
}

// An input box that has a key list for this direction moves the focus itself, whichever keys
// the list holds.
bool cFrmCtrl::MovesByItself(bool back) const
{
    QWidget* active = form_ ? form_->activeControl() : nullptr;
    auto* box = qobject_cast<const ImEdit*>(active);
    if (!box || !IsInputBoxType(TypeName(active)))
        return false;
    return !(back ? box->Key.PrevCtrl : box->Key.NextCtrl).trimmed().isEmpty();
}

void cFrmCtrl::KeyDown(int& keyCode, int& shift)
{
    if (!EnterKeyMove || formKeyHandled_)
        return;
    int direction;
    if (keyCode == vbKeyUp && shift == 0)
        direction = 1;
    else if (keyCode == vbKeyReturn || (keyCode == vbKeyDown && shift == 0))
        direction = 0;
    else
        return;
    if (MovesByItself(direction == 1))
        return;
    TabFocusEasy(direction);
    // A command button that Enter moves on from is not pressed as well.
    if (keyCode == vbKeyReturn && TypeName(form_ ? form_->activeControl() : nullptr) == QLatin1String("CommandButton"))
        keyCode = 0;
}

void cFrmCtrl::KeyUp(int& keyCode, int& shift)
{
    if (EnterKeyMove)
        lastKeyUp_ = keyCode;
}

// A Tab (Shift+Tab for direction 1) pressed and released after the current event returns, so
// the focus follows the window's own tab order.
void cFrmCtrl::TabFocusEasy(int& direction)
{
    const bool back = direction == 1;
    QMetaObject::invokeMethod(this, [this, back] {
        QWidget* target = form_ && form_->loadedWindow() ? form_->loadedWindow()->focusWidget() : nullptr;
        if (!target)
            target = QApplication::focusWidget();
        if (!target)
            return;
        ShowFocusFrame(target);
        const Qt::Key key = back ? Qt::Key_Backtab : Qt::Key_Tab;
        const Qt::KeyboardModifiers mods = back ? Qt::ShiftModifier : Qt::NoModifier;
        QKeyEvent press(QEvent::KeyPress, key, mods);
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, mods);
        if (QWidget* now = QApplication::focusWidget())
            QCoreApplication::sendEvent(now, &release);
    }, Qt::QueuedConnection);
}

void cFrmCtrl::TabFocus(int& direction)
{
    if (!form_)
        return;
    QWidget* active = form_->activeControl();
    const QList<QWidget*> order = TabOrder(form_);
    const int current = order.indexOf(active);
    if (current < 0)
        return;
    int highest = -1, lowest = 9999, next = 9999, previous = -1;
    QWidget *last = nullptr, *first = nullptr, *nextCtl = nullptr, *prevCtl = nullptr;
    for (QWidget* c : form_->controls()) {
        if (!TabCandidate(c))
            continue;
        const int t = int(order.indexOf(c));
        if (t > highest) { highest = t; last = c; }
        if (t < lowest) { lowest = t; first = c; }
        if (t != current) {
            if (current < t && t < next) { next = t; nextCtl = c; }
            if (previous < t && t < current) { previous = t; prevCtl = c; }
        }
    }
    if (!nextCtl) nextCtl = first;
    if (!prevCtl) prevCtl = last;
    QWidget* target = direction == 1 ? prevCtl : direction == 2 ? first : direction == 3 ? last : nextCtl;
    try {
        SetFocusByKey(target);
    } catch (const std::exception&) {
        if (active)
            active->setFocus(Qt::OtherFocusReason);
    }
}

void cFrmCtrl::SetForcusTopControl()
{
    if (!form_)
        return;
    static const QSet<QString> kTypes = {
        QStringLiteral("TDBGrid"),  QStringLiteral("imNumber"), QStringLiteral("imText"),   QStringLiteral("imDate"),
        QStringLiteral("imTime"),   QStringLiteral("imMask"),   QStringLiteral("imPostal"), QStringLiteral("ComboBox"),
        QStringLiteral("TextBox"),  QStringLiteral("CheckBox"), QStringLiteral("CommandButton"),
        QStringLiteral("OptionButton")};
    const QList<QWidget*> controls = form_->controls();
    const QList<QWidget*> order = TabOrder(form_);
    int bound = int(controls.size());
    QWidget* chosen = nullptr;
    for (QWidget* c : controls) {
        if (!kTypes.contains(TypeName(c)) || !c->isEnabled() || !TabStop(c) || !c->isVisibleTo(c->window()))
            continue;
        const int t = int(order.indexOf(c));
        if (t < bound) {
            bound = t;
            chosen = c;
        }
    }
    if (chosen)
        SetFocusByKey(chosen);
}

// Brings the value into the range: a bound of 0 turns the sign first (-999..0 takes 5 as -5).
// The value is worked out first and set once, so the box never holds an intermediate value.
void cFrmCtrl::NumberRangeFilter(ImNumber* box)
{
    if (!box)
        return;
    const double min = box->minValue(), max = box->maxValue();
    double v = box->value();
    for (int pass = 0; pass < 3; ++pass) {
        if (min == max) {
            v = min;
            break;
        }
        if (v > max) {
            if (max != 0) { v = max; break; }
            v = -v;
        } else if (v < min) {
            if (min != 0) { v = min; break; }
            v = -v;
        } else {
            break;
        }
    }
    if (v != box->value())
        box->setValue(v);
}
