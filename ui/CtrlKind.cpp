#include "ui/CtrlKind.h"

#include "foundation/cBase.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Controls.h"
#include "platform/gui/ImNumber.h"
#include "platform/gui/ImText.h"
#include "platform/gui/Keys.h"
#include "platform/gui/NumberFormat.h"
#include "ui/ComboLock.h"
#include "ui/CtrlOwner.h"
#include "ui/FormControls.h"
#include "ui/StdFont.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

namespace {

// --- values as the run time assigns them -------------------------------------------------------

// A default given as the word True or False, in any case.
bool isWord(const QString& text, const char* word)
{
    return text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

// A value as text, the way an assignment of it to a Text property writes it.
QString VarText(const Variant& v)
{
    return v.isString() ? v.stringValue() : cBase().CvtStr(v);
}

// Whether a value reads as a number (an unassigned value reads as 0).
bool VarNumber(const Variant& v, double* number)
{
    switch (v.type()) {
    case VarType::Empty: *number = 0; return true;
    case VarType::Integer: case VarType::Long: case VarType::Boolean: case VarType::Double:
        *number = v.doubleValue();
        return true;
    case VarType::String: return ReadNumberText(v.stringValue(), number);
    default: return false;
    }
}

bool isArrow(int keyCode) { return keyCode == vbKeyUp || keyCode == vbKeyDown; }

// --- the kinds with a lock: text, combo, number and input text boxes ---------------------------

class LockableKind : public CtrlKind {
public:
    void keepDesign(const QWidget* c) override { locked_ = locked(c); }
    void applyStyle(QWidget* c, int32_t a, bool tabStop, bool enabled) const override
    {
        if (a == 0) {
            SetTabStop(c, tabStop);
            c->setEnabled(enabled);
            setLocked(c, locked_);
        } else {
            SetTabStop(c, a != 3 && a != 2);
            setLocked(c, a == 3);
            c->setEnabled(true);
        }
    }

protected:
    virtual bool locked(const QWidget* c) const = 0;
    virtual void setLocked(QWidget* c, bool locked) const = 0;

private:
    bool locked_ = false;
};

// A text box: single-line or multi-line.
class TextBoxKind : public LockableKind {
public:
    cCtrls::Kind kind() const override { return cCtrls::kTextBox; }
    QList<QMetaObject::Connection> connectSignals(QWidget* c, QObject* context, const CtrlSignals& on) const override
    {
        if (auto* e = qobject_cast<QLineEdit*>(c))
            return {QObject::connect(e, &QLineEdit::textChanged, context, on.change)};
        if (auto* p = qobject_cast<QPlainTextEdit*>(c))
            return {QObject::connect(p, &QPlainTextEdit::textChanged, context, on.change)};
        if (auto* t = qobject_cast<QTextEdit*>(c))
            return {QObject::connect(t, &QTextEdit::textChanged, context, on.change)};
        return {};
    }
    void clear(QWidget* c) const override { setText(c, QString()); }
    void writeDefault(QWidget* c, const Variant& v) const override
    {
        if (!v.isNull())
            setText(c, VarText(v));
    }
    void read(const QWidget* c, Variant& v) const override { v = Variant(text(c)); }
    // A multi-line box keeps every key.
    bool forwardsKey(const QWidget* c, bool preview, bool, int, int) const override
    {
        return !preview && !IsMultiLine(c);
    }

protected:
    bool locked(const QWidget* w) const override
    {
        if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->isReadOnly();
        if (auto* p = qobject_cast<const QPlainTextEdit*>(w)) return p->isReadOnly();
        if (auto* t = qobject_cast<const QTextEdit*>(w)) return t->isReadOnly();
        return false;
    }
    void setLocked(QWidget* w, bool locked) const override
    {
        if (auto* e = qobject_cast<QLineEdit*>(w)) e->setReadOnly(locked);
        else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) p->setReadOnly(locked);
        else if (auto* t = qobject_cast<QTextEdit*>(w)) t->setReadOnly(locked);
    }

private:
    static QString text(const QWidget* w)
    {
        if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->text();
        if (auto* p = qobject_cast<const QPlainTextEdit*>(w)) return p->toPlainText();
        if (auto* t = qobject_cast<const QTextEdit*>(w)) return t->toPlainText();
        return QString();
    }
    static void setText(QWidget* w, const QString& text)
    {
        if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(text);
        else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) p->setPlainText(text);
        else if (auto* t = qobject_cast<QTextEdit*>(w)) t->setPlainText(text);
    }
};

// A combo box: only an editable one takes a value; it keeps its plain arrows.
class ComboBoxKind : public LockableKind {
public:
    cCtrls::Kind kind() const override { return cCtrls::kComboBox; }
    QList<QMetaObject::Connection> connectSignals(QWidget* c, QObject* context, const CtrlSignals& on) const override
    {
        auto* box = static_cast<QComboBox*>(c);
        return {QObject::connect(box, &QComboBox::editTextChanged, context, on.change),
                QObject::connect(box, &QComboBox::currentTextChanged, context, on.change)};
    }
    void clear(QWidget* c) const override
    {
        auto* box = static_cast<QComboBox*>(c);
        if (box->isEditable())
            setText(box, QString());
    }
    void writeDefault(QWidget* c, const Variant& v) const override
    {
        auto* box = static_cast<QComboBox*>(c);
        if (box->isEditable() && !v.isNull())
            setText(box, VarText(v));
    }
    void read(const QWidget* c, Variant& v) const override { v = Variant(static_cast<const QComboBox*>(c)->currentText()); }
    bool forwardsKey(const QWidget*, bool preview, bool down, int keyCode, int shift) const override
    {
        return !preview && (!down || shift != 0 || !isArrow(keyCode));
    }

protected:
    bool locked(const QWidget* c) const override { return ComboLocked(static_cast<const QComboBox*>(c)); }
    void setLocked(QWidget* c, bool locked) const override { SetComboLocked(static_cast<QComboBox*>(c), locked); }

private:
    // The Text of an editable combo box: the entry of that text becomes the current one; a text
    // that no entry has leaves none current.
    static void setText(QComboBox* box, const QString& text)
    {
        const int index = box->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        if (index >= 0 && box->currentIndex() != index) {
            box->setCurrentIndex(index);
            return;
        }
        if (index < 0 && box->currentIndex() >= 0)
            box->setCurrentIndex(-1);
        box->setEditText(text);
    }
};

// The number and input text boxes: their keys come as signals, their highlight is part of a style.
class InputBoxKind : public LockableKind {
public:
    QList<QMetaObject::Connection> connectSignals(QWidget* c, QObject* context, const CtrlSignals& on) const override
    {
        auto* box = static_cast<ImEdit*>(c);
        auto key = on.key;
        return {QObject::connect(box, &ImEdit::Change, context, on.change),
                QObject::connect(box, &ImEdit::KeyDown, context, [key](int& code, int& shift) { key(true, code, shift); }),
                QObject::connect(box, &ImEdit::KeyUp, context, [key](int& code, int& shift) { key(false, code, shift); })};
    }
    void keepDesign(const QWidget* c) override
    {
        LockableKind::keepDesign(c);
        highlight_ = int16_t(static_cast<const ImEdit*>(c)->highlightText());
    }
    void applyStyle(QWidget* c, int32_t a, bool tabStop, bool enabled) const override
    {
        LockableKind::applyStyle(c, a, tabStop, enabled);
        static_cast<ImEdit*>(c)->setHighlightText(a == 0 ? highlight_ : a == 3 ? 0 : -1);
    }
    bool isInputBox() const override { return true; }

protected:
    bool locked(const QWidget* c) const override { return static_cast<const ImEdit*>(c)->isReadOnly(); }
    void setLocked(QWidget* c, bool locked) const override { static_cast<ImEdit*>(c)->setReadOnly(locked); }

private:
    int16_t highlight_ = 0;
};

// A number box: Up and Down go to the owner even while the form previews keys; it reports a
// value out of its range.
class ImNumberKind : public InputBoxKind {
public:
    cCtrls::Kind kind() const override { return cCtrls::kImNumber; }
    QList<QMetaObject::Connection> connectSignals(QWidget* c, QObject* context, const CtrlSignals& on) const override
    {
        QList<QMetaObject::Connection> connections = InputBoxKind::connectSignals(c, context, on);
        connections << QObject::connect(static_cast<ImNumber*>(c), &ImNumber::InvalidRange, context, on.invalidRange);
        return connections;
    }
    void clear(QWidget* c) const override
    {
        auto* box = static_cast<ImNumber*>(c);
        const bool readOnly = box->isReadOnly();
        box->setReadOnly(false);
        box->ClearControl();
        box->setReadOnly(readOnly);
    }
    void writeDefault(QWidget* c, const Variant& v) const override
    {
        double number = 0;
        if (VarNumber(v, &number))
            static_cast<ImNumber*>(c)->setValue(number);
    }
    void read(const QWidget* c, Variant& v) const override { v = Variant(static_cast<const ImNumber*>(c)->value()); }
    bool forwardsKey(const QWidget*, bool preview, bool, int keyCode, int) const override
    {
        return isArrow(keyCode) || !preview;
    }
};

// An input text box: like the number box, except that a multi-line one keeps every key.
class ImTextKind : public InputBoxKind {
public:
    cCtrls::Kind kind() const override { return cCtrls::kImText; }
    void clear(QWidget* c) const override { static_cast<ImText*>(c)->setText(QString()); }
    void writeDefault(QWidget* c, const Variant& v) const override
    {
        if (!v.isNull())
            static_cast<ImText*>(c)->setText(VarText(v));
    }
    void read(const QWidget* c, Variant& v) const override { v = Variant(static_cast<const ImText*>(c)->text()); }
    bool forwardsKey(const QWidget* c, bool preview, bool, int keyCode, int) const override
    {
        return !IsMultiLine(c) && (isArrow(keyCode) || !preview);
    }
};

// --- the buttons: a style disables them instead of locking -------------------------------------

class ButtonKind : public CtrlKind {
public:
    void applyStyle(QWidget* c, int32_t a, bool tabStop, bool enabled) const override
    {
        if (a == 0) {
            SetTabStop(c, tabStop);
            c->setEnabled(enabled);
        } else {
            c->setEnabled(a != 3);
            SetTabStop(c, a != 3 && a != 2);
        }
    }
};

// A check or option button: its colours follow the check box colour mode (2 the owner's, 1 the
// form's, else the caption's); without a caption label it shows the focus itself.
class ToggleKind : public ButtonKind {
public:
    CtrlColours colours(int32_t checkBoxColor) const override
    {
        return checkBoxColor == 2 ? CtrlColours::Owner : checkBoxColor == 1 ? CtrlColours::Form : CtrlColours::Caption;
    }
    void showFocus(cCtrls& w, bool got) const override
    {
        const int32_t s = got ? 2 : 1;
        CtrlOwner* owner = w.Owner;
        if (!owner || !owner->AllowCaptionColor())
            return;
        QWidget* c = w.Control();
        if (w.Caption()) {
            if (captionAlways() || TabStop(c)) {
                w.CaptionColor(s);
                w.CaptionFont(s);
            }
        } else if (!got) {
            w.ControlColor(w.Style());
        } else {                                                  // the button shows the caption colours
            if (w.CaptionBackVisible())
                SetBackColor(c, owner->CaptionBackColor(2));
            SetForeColor(c, owner->CaptionForeColor(2));
        }
    }
    bool forwardsKey(const QWidget*, bool preview, bool, int, int) const override { return !preview; }
    bool stopsArrowKeys() const override { return true; }

protected:
    // Whether the caption shows the focus also without the button's Tab stop.
    virtual bool captionAlways() const = 0;
};

// A check box: 0 unchecked, 1 checked, 2 grayed; its caption shows the focus only with its Tab stop.
class CheckBoxKind : public ToggleKind {
public:
    cCtrls::Kind kind() const override { return cCtrls::kCheckBox; }
    QList<QMetaObject::Connection> connectSignals(QWidget* c, QObject* context, const CtrlSignals& on) const override
    {
        return {QObject::connect(static_cast<QCheckBox*>(c), &QCheckBox::stateChanged, context, on.change)};
    }
    void clear(QWidget* c) const override { setValue(static_cast<QCheckBox*>(c), 0); }
    void writeDefault(QWidget* c, const Variant& v) const override
    {
        double number = 0;
        if (VarNumber(v, &number) && number >= 0 && number <= 2)
            setValue(static_cast<QCheckBox*>(c), cBase().CvtInt(Variant(number)));
    }
    void read(const QWidget* c, Variant& v) const override
    {
        switch (static_cast<const QCheckBox*>(c)->checkState()) {
        case Qt::Checked: v = Variant(int16_t(1)); break;
        case Qt::PartiallyChecked: v = Variant(int16_t(2)); break;
        default: v = Variant(int16_t(0)); break;
        }
    }

protected:
    bool captionAlways() const override { return false; }

private:
    static void setValue(QCheckBox* box, int value)
    {
        box->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    }
};

// An option button: its value is True or False, given also as those words.
class OptionButtonKind : public ToggleKind {
public:
    cCtrls::Kind kind() const override { return cCtrls::kOptionButton; }
    QList<QMetaObject::Connection> connectSignals(QWidget* c, QObject* context, const CtrlSignals& on) const override
    {
        auto change = on.change;
        return {QObject::connect(static_cast<QRadioButton*>(c), &QRadioButton::toggled, context, [change](bool on) {
            if (on)
                change();
        })};
    }
    void clear(QWidget* c) const override { setValue(static_cast<QRadioButton*>(c), false); }
    void writeDefault(QWidget* c, const Variant& v) const override
    {
        auto* button = static_cast<QRadioButton*>(c);
        double number = 0;
        if (VarNumber(v, &number))
            setValue(button, number != 0);
        else if (v.isString() && isWord(v.stringValue(), "True"))
            setValue(button, true);
        else if (v.isString() && isWord(v.stringValue(), "False"))
            setValue(button, false);
    }
    void read(const QWidget* c, Variant& v) const override { v = Variant(static_cast<const QRadioButton*>(c)->isChecked()); }

protected:
    bool captionAlways() const override { return true; }

private:
    // An option button can be switched off from code even as the one checked button of its group.
    static void setValue(QRadioButton* button, bool on)
    {
        if (on || !button->isChecked()) {
            button->setChecked(on);
            return;
        }
        const bool exclusive = button->autoExclusive();
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(exclusive);
    }
};

// A command button: no value and no colours of a style; the focus shows in its font, and it
// gives the owner its Enter only, so that Enter moves on from it.
class CommandButtonKind : public ButtonKind {
public:
    cCtrls::Kind kind() const override { return cCtrls::kCommandButton; }
    QList<QMetaObject::Connection> connectSignals(QWidget*, QObject*, const CtrlSignals&) const override { return {}; }
    void keepDesign(const QWidget* c) override { font_ = c->font(); }
    CtrlColours colours(int32_t) const override { return CtrlColours::None; }
    void buttonFont(QWidget* c, CtrlOwner& owner, int32_t s) const override
    {
        if (!TabStop(c) || !owner.AllowButtonFont())
            return;
        if (s != 0) {
            if (StdFont* font = owner.ButtonFont(s))
                font->ApplyTo(c);
        } else {
            StdFont::SetPlainFont(c, font_);
        }
    }
    void showFocus(cCtrls& w, bool got) const override
    {
        w.ButtonFont(got ? 2 : 1);
        CtrlKind::showFocus(w, got);
    }
    bool forwardsKey(const QWidget*, bool preview, bool, int keyCode, int) const override
    {
        return !preview && keyCode == vbKeyReturn;
    }

private:
    QFont font_;
};

// The kinds by type name, each with the classes that may carry it.
struct KindRow {
    const char* typeName;
    std::unique_ptr<CtrlKind> (*make)(QWidget* control);   // null when the class does not fit
};

template <typename Kind, typename... Classes>
std::unique_ptr<CtrlKind> makeFor(QWidget* control)
{
    if ((qobject_cast<Classes*>(control) || ...))
        return std::make_unique<Kind>();
    return nullptr;
}

std::unique_ptr<CtrlKind> makeImText(QWidget* control)
{
    auto* box = qobject_cast<ImText*>(control);
    if (!box)
        return nullptr;
    box->setLengthAsByte(true);   // the wrapper's input text boxes count their length in bytes
    return std::make_unique<ImTextKind>();
}

const KindRow kKinds[] = {
    {"imNumber", makeFor<ImNumberKind, ImNumber>},
    {"imText", makeImText},
    {"TextBox", makeFor<TextBoxKind, QLineEdit, QPlainTextEdit, QTextEdit>},
    {"ComboBox", makeFor<ComboBoxKind, QComboBox>},
    {"CheckBox", makeFor<CheckBoxKind, QCheckBox>},
    {"OptionButton", makeFor<OptionButtonKind, QRadioButton>},
    {"CommandButton", makeFor<CommandButtonKind, QPushButton>},
};

}  // namespace

void CtrlKind::showFocus(cCtrls& w, bool got) const
{
    const int32_t s = got ? 2 : 1;
    w.CaptionColor(s);
    w.CaptionFont(s);
}

std::unique_ptr<CtrlKind> MakeCtrlKind(QWidget* control)
{
    const QString type = TypeName(control);
    for (const KindRow& row : kKinds)
        if (type == QLatin1String(row.typeName))
            return row.make(control);
    return nullptr;
}
