#include "ui/cCtrls.h"

#include "foundation/cBase.h"
#include "platform/core/MsgBox.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Events.h"
#include "platform/gui/Form.h"
#include "platform/gui/Handler.h"
#include "platform/gui/ImNumber.h"
#include "platform/gui/ImText.h"
#include "platform/gui/Keys.h"
#include "platform/gui/NumberFormat.h"
#include "ui/ComboLock.h"
#include "ui/CtrlOwner.h"
#include "ui/FormControls.h"
#include "ui/StdFont.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

namespace {

const QString kModule = QStringLiteral("cCtrls");

// A default given as the word True or False, in any case.
bool isWord(const QString& text, const char* word)
{
    return text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

// Every live wrapper: a control that gains the focus while its window was inactive takes the
// caption colours from the one that had it.
QList<cCtrls*>& LiveWrappers()
{
    static QList<cCtrls*> list;
    return list;
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

// The text of a box that may be a single-line or a multi-line text box.
QString EditText(const QWidget* w)
{
    if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->text();
    if (auto* p = qobject_cast<const QPlainTextEdit*>(w)) return p->toPlainText();
    if (auto* t = qobject_cast<const QTextEdit*>(w)) return t->toPlainText();
    return QString();
}

void SetEditText(QWidget* w, const QString& text)
{
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(text);
    else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) p->setPlainText(text);
    else if (auto* t = qobject_cast<QTextEdit*>(w)) t->setPlainText(text);
}

bool EditLocked(const QWidget* w)
{
    if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->isReadOnly();
    if (auto* p = qobject_cast<const QPlainTextEdit*>(w)) return p->isReadOnly();
    if (auto* t = qobject_cast<const QTextEdit*>(w)) return t->isReadOnly();
    return false;
}

void SetEditLocked(QWidget* w, bool locked)
{
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->setReadOnly(locked);
    else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) p->setReadOnly(locked);
    else if (auto* t = qobject_cast<QTextEdit*>(w)) t->setReadOnly(locked);
}

// The Text of an editable combo box: the entry of that text becomes the current one; a text
// that no entry has leaves none current.
void SetComboText(QComboBox* box, const QString& text)
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

// Check box values: 0 unchecked, 1 checked, 2 grayed.
int CheckValue(const QCheckBox* box)
{
    switch (box->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

void SetCheckValue(QCheckBox* box, int value)
{
    box->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

// An option button can be switched off from code even as the one checked button of its group.
void SetOptionValue(QRadioButton* button, bool on)
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

}  // namespace

cCtrls::cCtrls()
{
    LiveWrappers().append(this);
}

cCtrls::~cCtrls()
{
    LiveWrappers().removeAll(this);
    Unbind();
    if (caption_ && captionBound_)
        caption_->removeEventFilter(this);
    control_ = nullptr;
    caption_ = nullptr;
    Owner = nullptr;
}

QWidget* cCtrls::ImControl() const
{
    return kind_ == kImNumber || kind_ == kImText ? control_.data() : nullptr;
}

// --- accepting a control and a caption --------------------------------------------------------

void cCtrls::SetControl(QWidget* control)
{
    Unbind();
    control_ = nullptr;
    kind_ = kNone;
    if (!control)
        return;
    const QString type = TypeName(control);
    Kind kind = kNone;
    if (type == QLatin1String("imNumber") && qobject_cast<ImNumber*>(control))
        kind = kImNumber;
    else if (type == QLatin1String("imText") && qobject_cast<ImText*>(control))
        kind = kImText;
    else if (type == QLatin1String("TextBox") &&
             (qobject_cast<QLineEdit*>(control) || qobject_cast<QPlainTextEdit*>(control) ||
              qobject_cast<QTextEdit*>(control)))
        kind = kTextBox;
    else if (type == QLatin1String("ComboBox") && qobject_cast<QComboBox*>(control))
        kind = kComboBox;
    else if (type == QLatin1String("CheckBox") && qobject_cast<QCheckBox*>(control))
        kind = kCheckBox;
    else if (type == QLatin1String("OptionButton") && qobject_cast<QRadioButton*>(control))
        kind = kOptionButton;
    else if (type == QLatin1String("CommandButton") && qobject_cast<QPushButton*>(control))
        kind = kCommandButton;
    if (kind == kNone)
        return;
    if (kind == kImText)
        static_cast<ImText*>(control)->setLengthAsByte(true);
    control_ = control;
    kind_ = kind;
    if (!ControlArrayIndex(control))
        BindControl();
}

void cCtrls::BindControl()
{
    QWidget* c = control_;
    c->installEventFilter(this);
    controlBound_ = true;
    auto change = [this] { Guarded("Change", [this] { OnChange(); }); };
    switch (kind_) {
    case kTextBox:
        if (auto* e = qobject_cast<QLineEdit*>(c))
            connections_ << connect(e, &QLineEdit::textChanged, this, change);
        else if (auto* p = qobject_cast<QPlainTextEdit*>(c))
            connections_ << connect(p, &QPlainTextEdit::textChanged, this, change);
        else if (auto* t = qobject_cast<QTextEdit*>(c))
            connections_ << connect(t, &QTextEdit::textChanged, this, change);
        break;
    case kComboBox: {
        auto* box = static_cast<QComboBox*>(c);
        connections_ << connect(box, &QComboBox::editTextChanged, this, change);
        connections_ << connect(box, &QComboBox::currentTextChanged, this, change);
        break;
    }
    case kCheckBox:
        connections_ << connect(static_cast<QCheckBox*>(c), &QCheckBox::stateChanged, this, change);
        break;
    case kOptionButton:
        connections_ << connect(static_cast<QRadioButton*>(c), &QRadioButton::toggled, this, [change](bool on) {
            if (on)
                change();
        });
        break;
    case kImNumber:
    case kImText: {
        auto* box = static_cast<ImEdit*>(c);
        connections_ << connect(box, &ImEdit::Change, this, change);
        connections_ << connect(box, &ImEdit::KeyDown, this, [this](int& code, int& shift) {
            Guarded("KeyDown", [&] { ForwardKey(true, code, shift); });
        });
        connections_ << connect(box, &ImEdit::KeyUp, this, [this](int& code, int& shift) {
            Guarded("KeyUp", [&] { ForwardKey(false, code, shift); });
        });
        if (kind_ == kImNumber)
            connections_ << connect(static_cast<ImNumber*>(c), &ImNumber::InvalidRange, this, [this](bool& retry) {
                Guarded("InvalidRange", [&] { ForwardRangeFilter(&retry); });
            });
        break;
    }
    default:
        break;
    }
}

void cCtrls::Unbind()
{
    for (const QMetaObject::Connection& c : connections_)
        disconnect(c);
    connections_.clear();
    if (control_ && controlBound_)
        control_->removeEventFilter(this);
    controlBound_ = false;
    focused_ = false;
}

QLabel* cCtrls::Caption() const
{
    return caption_;
}

void cCtrls::SetCaption(QLabel* label)
{
    if (caption_ && captionBound_)
        caption_->removeEventFilter(this);
    captionBound_ = false;
    caption_ = label;
    if (!label)
        return;
    if (!ControlArrayIndex(label)) {
        label->installEventFilter(this);
        captionBound_ = true;
    }
    savedCaptionBackColor_ = BackColor(label);
    savedCaptionForeColor_ = ForeColor(label);
    captionBackStyle_ = int16_t(BackStyle(label));
    savedCaptionFont_ = label->font();
    haveCaptionFont_ = true;
}

// --- data -------------------------------------------------------------------------------------

void cCtrls::DataClear()
{
    QWidget* c = control_;
    switch (kind_) {
    case kImNumber: {
        auto* box = static_cast<ImNumber*>(c);
        const bool readOnly = box->isReadOnly();
        box->setReadOnly(false);
        box->ClearControl();
        box->setReadOnly(readOnly);
        break;
    }
    case kImText: static_cast<ImText*>(c)->setText(QString()); break;
    case kTextBox: SetEditText(c, QString()); break;
    case kComboBox: {
        auto* box = static_cast<QComboBox*>(c);
        if (box->isEditable())
            SetComboText(box, QString());
        break;
    }
    case kCheckBox: SetCheckValue(static_cast<QCheckBox*>(c), 0); break;
    case kOptionButton: SetOptionValue(static_cast<QRadioButton*>(c), false); break;
    default: break;
    }
}

void cCtrls::DataDefault()
{
    QWidget* c = control_;
    double number = 0;
    switch (kind_) {
    case kImNumber:
        if (VarNumber(DefaultData, &number))
            static_cast<ImNumber*>(c)->setValue(number);
        break;
    case kImText:
        if (!DefaultData.isNull())
            static_cast<ImText*>(c)->setText(VarText(DefaultData));
        break;
    case kTextBox:
        if (!DefaultData.isNull())
            SetEditText(c, VarText(DefaultData));
        break;
    case kComboBox: {
        auto* box = static_cast<QComboBox*>(c);
        if (box->isEditable() && !DefaultData.isNull())
            SetComboText(box, VarText(DefaultData));
        break;
    }
    case kCheckBox:
        if (VarNumber(DefaultData, &number) && number >= 0 && number <= 2)
            SetCheckValue(static_cast<QCheckBox*>(c), cBase().CvtInt(Variant(number)));
        break;
    case kOptionButton:
        if (VarNumber(DefaultData, &number))
            SetOptionValue(static_cast<QRadioButton*>(c), number != 0);
        else if (DefaultData.isString() && isWord(DefaultData.stringValue(), "True"))
            SetOptionValue(static_cast<QRadioButton*>(c), true);
        else if (DefaultData.isString() && isWord(DefaultData.stringValue(), "False"))
            SetOptionValue(static_cast<QRadioButton*>(c), false);
        break;
    default:
        break;
    }
    Changed = false;
}

void cCtrls::GetDefault()
{
    QWidget* c = control_;
    if (!c)
        return;
    switch (kind_) {
    case kImNumber:
    case kImText: {
        auto* box = static_cast<ImEdit*>(c);
        savedLocked_ = box->isReadOnly();
        savedHighlight_ = int16_t(box->highlightText());
        break;
    }
    case kTextBox: savedLocked_ = EditLocked(c); break;
    case kComboBox: savedLocked_ = ComboLocked(static_cast<QComboBox*>(c)); break;
    case kCheckBox:
    case kOptionButton: savedLocked_ = c->isEnabled(); break;
    case kCommandButton: savedButtonFont_ = c->font(); break;
    default: break;
    }
    GetDataDefault();
    savedTabStop_ = TabStop(c);
    savedEnabled_ = c->isEnabled();
    savedBackColor_ = BackColor(c);
    if (kind_ != kCommandButton)
        savedForeColor_ = ForeColor(c);
}

void cCtrls::GetDataDefault()
{
    QWidget* c = control_;
    switch (kind_) {
    case kImNumber: DefaultData = Variant(static_cast<ImNumber*>(c)->value()); break;
    case kImText: DefaultData = Variant(static_cast<ImText*>(c)->text()); break;
    case kTextBox: DefaultData = Variant(EditText(c)); break;
    case kComboBox: DefaultData = Variant(static_cast<QComboBox*>(c)->currentText()); break;
    case kCheckBox: DefaultData = Variant(int16_t(CheckValue(static_cast<QCheckBox*>(c)))); break;
    case kOptionButton: DefaultData = Variant(static_cast<QRadioButton*>(c)->isChecked()); break;
    default: break;
    }
}

// --- styles -----------------------------------------------------------------------------------

void cCtrls::SetStyle(int32_t style)
{
    style_ = style;
    ApplyStyle(style == 0 ? DefaultStyle : style);
}

void cCtrls::SetLockState(bool locked)
{
    switch (kind_) {
    case kImNumber: case kImText: static_cast<ImEdit*>(control_.data())->setReadOnly(locked); break;
    case kTextBox: SetEditLocked(control_, locked); break;
    case kComboBox: SetComboLocked(static_cast<QComboBox*>(control_.data()), locked); break;
    default: break;
    }
}

void cCtrls::ApplyStyle(int32_t a)
{
    ControlColor(a);
    QWidget* c = control_;
    if (!c)
        return;
    switch (kind_) {
    case kImNumber:
    case kImText: {
        auto* box = static_cast<ImEdit*>(c);
        if (a == 0) {
            SetTabStop(c, savedTabStop_);
            c->setEnabled(savedEnabled_);
            box->setReadOnly(savedLocked_);
            box->setHighlightText(savedHighlight_);
        } else {
            SetTabStop(c, a != 3 && a != 2);
            box->setReadOnly(a == 3);
            c->setEnabled(true);
            box->setHighlightText(a == 3 ? 0 : -1);
        }
        break;
    }
    case kTextBox:
    case kComboBox:
        if (a == 0) {
            SetTabStop(c, savedTabStop_);
            c->setEnabled(savedEnabled_);
            SetLockState(savedLocked_);
        } else {
            SetTabStop(c, a != 3 && a != 2);
            SetLockState(a == 3);
            c->setEnabled(true);
        }
        break;
    case kCheckBox:
    case kOptionButton:
    case kCommandButton:
        if (a == 0) {
            SetTabStop(c, savedTabStop_);
            c->setEnabled(savedEnabled_);
        } else {
            c->setEnabled(a != 3);
            SetTabStop(c, a != 3 && a != 2);
        }
        break;
    default:
        break;
    }
}

void cCtrls::ControlColor(int32_t s)
{
    QWidget* c = control_;
    if (!c || !Owner || kind_ == kCommandButton)
        return;
    const bool button = kind_ == kCheckBox || kind_ == kOptionButton;
    if (!button || checkBoxColor_ == 2) {
        if (s == 0) {
            SetBackColor(c, savedBackColor_);
            SetForeColor(c, savedForeColor_);
        } else {
            SetBackColor(c, Owner->ControlBackColor(s));
            SetForeColor(c, Owner->ControlForeColor(s));
        }
    } else if (checkBoxColor_ == 1) {
        if (QWidget* form = c->window()) {                   // the colours of the form itself
            SetBackColor(c, BackColor(form));
            SetForeColor(c, ForeColor(form));
        }
    } else {
        if (captionBackStyle_ == 1)
            SetBackColor(c, Owner->CaptionBackColor(1));
        SetForeColor(c, Owner->CaptionForeColor(1));
    }
}

void cCtrls::CaptionColor(int32_t s)
{
    if (!Owner || !Owner->AllowCaptionColor())
        return;
    if (QLabel* label = caption_) {
        if (s != 0) {
            SetBackColor(label, Owner->CaptionBackColor(s));
            SetForeColor(label, Owner->CaptionForeColor(s));
            label->update();
        } else {
            SetBackColor(label, savedCaptionBackColor_);
            SetForeColor(label, savedCaptionForeColor_);
        }
    }
    if (auto* box = static_cast<ImEdit*>(ImControl())) {
        if (captionBackStyle_ == 1)
            box->Caption.backColor = s != 0 ? Owner->CaptionBackColor(s) : savedCaptionBackColor_;
        box->Caption.foreColor = s != 0 ? Owner->CaptionForeColor(s) : savedCaptionForeColor_;
    }
}

void cCtrls::CaptionFont(int32_t s)
{
    if (!Owner || !Owner->AllowCaptionColor())
        return;
    if (QLabel* label = caption_) {
        if (s != 0) {
            if (StdFont* font = Owner->CaptionFont(s))
                font->ApplyTo(label);
            label->update();
        } else {
            StdFont::SetPlainFont(label, savedCaptionFont_);
        }
    }
    if (auto* box = static_cast<ImEdit*>(ImControl())) {
        if (s != 0) {
            if (StdFont* font = Owner->CaptionFont(s))
                box->Caption.font = font->font();
        } else if (haveCaptionFont_) {
            box->Caption.font = savedCaptionFont_;      // without a label there is nothing to restore
        }
    }
}

void cCtrls::SetCaptionBackVisible(bool visible)
{
    captionBackStyle_ = visible ? 1 : 0;
    if (caption_)
        SetBackStyle(caption_, captionBackStyle_);
}

void cCtrls::ButtonFont(int32_t s)
{
    QWidget* c = control_;
    if (kind_ != kCommandButton || !c || !Owner || !TabStop(c) || !Owner->AllowButtonFont())
        return;
    if (s != 0) {
        if (StdFont* font = Owner->ButtonFont(s))
            font->ApplyTo(c);
    } else {
        StdFont::SetPlainFont(c, savedButtonFont_);
    }
}

void cCtrls::SetCheckBoxColor(int32_t mode)
{
    checkBoxColor_ = mode;
    ControlColor(style_);
}

// --- focus and the range message --------------------------------------------------------------

void cCtrls::SetFocus()
{
    if (control_ && TabStop(control_) && control_->isEnabled())
        SetFocusOn(control_);
}

void cCtrls::ErrorFocus()
{
    SetFocus();
    DoEvents();                  // the got-focus colouring first, so the error colours stay
    ErrorCaption();
}

void cCtrls::ErrorCaption()
{
    CaptionColor(3);
    CaptionFont(3);
}

void cCtrls::ShowRangeError()
{
    auto* box = static_cast<ImNumber*>(control_.data());
    const QString format = !box->displayFormat().isEmpty() ? box->displayFormat() : box->format();
    const QString min = FormatNumberText(box->minValue(), format);
    const QString max = FormatNumberText(box->maxValue(), format);
    const QString field = box->dataField().trimmed();
    const QString text = !field.isEmpty()
        ? field + QStringLiteral("は[") + min + QStringLiteral("]～[") + max + QStringLiteral("]の範囲で入力して下さい。")
        : QStringLiteral("[") + min + QStringLiteral("]～[") + max + QStringLiteral("]の範囲で値を入力して下さい。");
    MsgBox(text, vbExclamation | vbOKOnly, QStringLiteral("入力範囲エラー"));
    ErrorFocus();
}

void cCtrls::ForwardRangeFilter(bool* accept)
{
    if (AllowRangeError)
        ShowRangeError();
    if (AllowRangeFilter) {
        if (Owner && control_)
            Owner->NumberRangeFilter(static_cast<ImNumber*>(control_.data()));
    } else {
        *accept = true;
    }
}

// --- events -----------------------------------------------------------------------------------

void cCtrls::Guarded(const char* procedure, const std::function<void()>& handler)
{
    const QString name = control_ ? control_->objectName() : QStringLiteral("pwe");
    RunGuarded(kModule, name + QLatin1Char('_') + QLatin1String(procedure), handler);
}

bool cCtrls::FormPreviewsKeys() const
{
    const Form* form = FormOf(control_);
    return form && form->keyPreview();
}

void cCtrls::OnChange()
{
    Changed = true;
}

void cCtrls::OnFocus(bool got)
{
    const int32_t s = got ? 2 : 1;
    switch (kind_) {
    case kCommandButton:
        ButtonFont(s);
        [[fallthrough]];
    case kTextBox: case kComboBox: case kImNumber: case kImText:
        CaptionColor(s);
        CaptionFont(s);
        break;
    case kCheckBox:
    case kOptionButton:
        if (!Owner || !Owner->AllowCaptionColor())
            break;
        if (caption_) {
            if (kind_ == kOptionButton || TabStop(control_)) {   // a check box only with its Tab stop
                CaptionColor(s);
                CaptionFont(s);
            }
        } else if (!got) {
            ControlColor(style_);
        } else {                                                  // the button shows the caption colours
            if (captionBackStyle_ == 1)
                SetBackColor(control_, Owner->CaptionBackColor(2));
            SetForeColor(control_, Owner->CaptionForeColor(2));
        }
        break;
    default:
        break;
    }
}

// Which key events go on to the owner: none while the form previews keys, except Up and Down
// of the input boxes; a combo box keeps its plain arrows; multi-line boxes keep every key; a
// command button gives the owner its Enter only, so that Enter moves on from it.
bool cCtrls::ForwardKey(bool down, int& keyCode, int& shift)
{
    if (!Owner || !control_)
        return false;
    const bool preview = FormPreviewsKeys();
    const bool arrow = keyCode == vbKeyUp || keyCode == vbKeyDown;
    bool forward = false;
    switch (kind_) {
    case kTextBox: forward = !preview && !IsMultiLine(control_); break;
    case kComboBox: forward = !preview && (!down || shift != 0 || !arrow); break;
    case kCheckBox: case kOptionButton: forward = !preview; break;
    case kImText: forward = !IsMultiLine(control_) && (arrow || !preview); break;
    case kImNumber: forward = arrow || !preview; break;
    case kCommandButton: forward = !preview && keyCode == vbKeyReturn; break;
    default: break;
    }
    if (forward) {
        if (down)
            Owner->KeyDown(keyCode, shift);
        else
            Owner->KeyUp(keyCode, shift);
    }
    return forward;
}

// Keys of the run time's own controls (the input boxes raise theirs as signals). A key code
// the owner sets to 0 swallows the key; another code replaces it.
bool cCtrls::OnKey(QEvent* event)
{
    auto* e = static_cast<QKeyEvent*>(event);
    if (replaying_ || e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab)
        return false;                              // Tab moves the focus before any key event
    if (event->type() == QEvent::KeyRelease && e->isAutoRepeat())
        return false;
    const int original = VbKeyCode(e);
    if (original == 0)
        return false;
    int code = original;
    int shift = VbShiftState(e);
    const bool down = event->type() == QEvent::KeyPress;
    Guarded(down ? "KeyDown" : "KeyUp", [&] { ForwardKey(down, code, shift); });
    // Qt moves the focus from a check or option button with the arrow keys by itself; Up and
    // Down belong to the focus movement of the owner, so they go no further.
    const bool arrow = e->key() == Qt::Key_Up || e->key() == Qt::Key_Down;
    if ((kind_ == kCheckBox || kind_ == kOptionButton) && arrow && event->type() == QEvent::KeyPress)
        return true;
    if (code == original)
        return false;
    if (code != 0 && control_) {
        QKeyEvent replaced(event->type(), QtKeyOf(code), QtModifiersOf(shift));
        replaying_ = true;
        QCoreApplication::sendEvent(control_, &replaced);
        replaying_ = false;
    }
    return true;
}

void cCtrls::OnCaptionClick()
{
    if (CaptionClickSetFocus && control_ && control_->isEnabled())
        SetFocusOn(control_);
}

bool cCtrls::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == caption_ && event->type() == QEvent::MouseButtonRelease) {
        auto* m = static_cast<QMouseEvent*>(event);
        if (m->button() == Qt::LeftButton && caption_->rect().contains(m->position().toPoint()))
            Guarded("Caption_Click", [this] { OnCaptionClick(); });
        return false;
    }
    if (watched != control_ || !controlBound_)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn: {
        // Opening a list, or the window going inactive and active again, keeps the focus.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (focused_ || reason == Qt::PopupFocusReason)
            return false;
        if (reason == Qt::ActiveWindowFocusReason)
            for (cCtrls* other : LiveWrappers())      // the focus moved while the window was inactive
                if (other != this && other->focused_ && other->control_
                    && other->control_->window() == control_->window()) {
                    other->focused_ = false;
                    other->Guarded("LostFocus", [other] { other->OnFocus(false); });
                }
        focused_ = true;
        Guarded("GotFocus", [this] { OnFocus(true); });
        return false;
    }
    case QEvent::FocusOut: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (!focused_ || reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
            return false;
        focused_ = false;
        Guarded("LostFocus", [this] { OnFocus(false); });
        return false;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (kind_ == kImNumber || kind_ == kImText)
            return false;
        return OnKey(event);
    default:
        return false;
    }
}
