#include "ui/cCtrls.h"

#include "platform/core/MsgBox.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Events.h"
#include "platform/gui/Form.h"
#include "platform/gui/Handler.h"
#include "platform/gui/ImNumber.h"
#include "platform/gui/Keys.h"
#include "platform/gui/NumberFormat.h"
#include "ui/CtrlKind.h"
#include "ui/CtrlOwner.h"
#include "ui/FormControls.h"
#include "ui/StdFont.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

namespace {

const QString kModule = QStringLiteral("cCtrls");

// Every live wrapper: a control that gains the focus while its window was inactive takes the
// caption colours from the one that had it.
QList<cCtrls*>& LiveWrappers()
{
    static QList<cCtrls*> list;
    return list;
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

cCtrls::Kind cCtrls::ControlKind() const
{
    return kind_ ? kind_->kind() : kNone;
}

QWidget* cCtrls::ImControl() const
{
    return kind_ && kind_->isInputBox() ? control_.data() : nullptr;
}

// --- accepting a control and a caption --------------------------------------------------------

void cCtrls::SetControl(QWidget* control)
{
    Unbind();
    control_ = nullptr;
    kind_.reset();
    if (!control)
        return;
    kind_ = MakeCtrlKind(control);
    if (!kind_)
        return;
    control_ = control;
    if (!ControlArrayIndex(control))
        BindControl();
}

void cCtrls::BindControl()
{
    control_->installEventFilter(this);
    controlBound_ = true;
    CtrlSignals on;
    on.change = [this] { Guarded("Change", [this] { OnChange(); }); };
    on.key = [this](bool down, int& code, int& shift) {
        Guarded(down ? "KeyDown" : "KeyUp", [&] { ForwardKey(down, code, shift); });
    };
    on.invalidRange = [this](bool& retry) { Guarded("InvalidRange", [&] { ForwardRangeFilter(&retry); }); };
    connections_ = kind_->connectSignals(control_, this, on);
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
    if (kind_ && control_)
        kind_->clear(control_);
}

void cCtrls::DataDefault()
{
    if (kind_ && control_)
        kind_->writeDefault(control_, DefaultData);
    Changed = false;
}

void cCtrls::GetDefault()
{
    QWidget* c = control_;
    if (!c)
        return;
    kind_->keepDesign(c);
    GetDataDefault();
    savedTabStop_ = TabStop(c);
    savedEnabled_ = c->isEnabled();
    savedBackColor_ = BackColor(c);
    if (kind_->colours(checkBoxColor_) != CtrlColours::None)   // a command button has no fore colour
        savedForeColor_ = ForeColor(c);
}

void cCtrls::GetDataDefault()
{
    if (kind_ && control_)
        kind_->read(control_, DefaultData);
}

// --- styles -----------------------------------------------------------------------------------

void cCtrls::SetStyle(int32_t style)
{
    style_ = style;
    ApplyStyle(style == 0 ? DefaultStyle : style);
}

void cCtrls::ApplyStyle(int32_t a)
{
    ControlColor(a);
    if (QWidget* c = control_)
        kind_->applyStyle(c, a, savedTabStop_, savedEnabled_);
}

void cCtrls::ControlColor(int32_t s)
{
    QWidget* c = control_;
    if (!c || !Owner)
        return;
    switch (kind_->colours(checkBoxColor_)) {
    case CtrlColours::None:
        break;
    case CtrlColours::Owner:
        if (s == 0) {
            SetBackColor(c, savedBackColor_);
            SetForeColor(c, savedForeColor_);
        } else {
            SetBackColor(c, Owner->ControlBackColor(s));
            SetForeColor(c, Owner->ControlForeColor(s));
        }
        break;
    case CtrlColours::Form:
        if (QWidget* form = c->window()) {
            SetBackColor(c, BackColor(form));
            SetForeColor(c, ForeColor(form));
        }
        break;
    case CtrlColours::Caption:
        if (captionBackStyle_ == 1)
            SetBackColor(c, Owner->CaptionBackColor(1));
        SetForeColor(c, Owner->CaptionForeColor(1));
        break;
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
    if (QWidget* c = control_; c && Owner)
        kind_->buttonFont(c, *Owner, s);
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
    if (kind_)
        kind_->showFocus(*this, got);
}

// Which key events go on to the owner: none while the form previews keys, except Up and Down
// of the input boxes; a combo box keeps its plain arrows; multi-line boxes keep every key; a
// command button gives the owner its Enter only, so that Enter moves on from it.
bool cCtrls::ForwardKey(bool down, int& keyCode, int& shift)
{
    if (!Owner || !control_)
        return false;
    const bool forward = kind_->forwardsKey(control_, FormPreviewsKeys(), down, keyCode, shift);
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
    if (kind_->stopsArrowKeys() && arrow && event->type() == QEvent::KeyPress)
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
        if (kind_->isInputBox())
            return false;   // its keys come as signals
        return OnKey(event);
    default:
        return false;
    }
}
