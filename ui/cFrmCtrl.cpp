#include "ui/cFrmCtrl.h"

#include "platform/gui/Colors.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Form.h"
#include "platform/gui/GuiSetup.h"
#include "platform/gui/Handler.h"
#include "ui/FormControls.h"
#include "ui/cCtrls.h"

#include <QLabel>

namespace {

// A name from its 4th character on: the part after the type prefix.
QString NameBody(const QString& name)
{
    return name.size() > 3 ? name.mid(3) : QString();
}

}  // namespace

cFrmCtrl::cFrmCtrl()
{
    InitDefaults();
}

cFrmCtrl::~cFrmCtrl()
{
    TerminateControls();
}

void cFrmCtrl::InitDefaults()
{
    EnterKeyMove = true;
    ClearKey = 115;
    DefaultKey = 115;
    const QString font = QString::fromUtf16(kFontPGothic);
    ButtonFontNormal = std::make_unique<StdFont>(font, 9, true);
    ButtonFontFocus = std::make_unique<StdFont>(font, 9, true);
    CaptionFontNormal = std::make_unique<StdFont>(font, 9, true);
    CaptionFontFocus = std::make_unique<StdFont>(font, 9, true);
    controlBack_ = {0x80000005u, 0x80000005u, 0x80000016u, 0x80000010u, 0x0081FFFFu};
    controlFore_ = {0x80000008u, 0x80000008u, 0x80000008u, 0x80000005u, 0x80000008u};
    captionBack_ = {0x8000000Fu, 0x8000000Fu, 0x8000000Fu, 0x8000000Fu};
    captionFore_ = {0x80000008u, 0x80000008u, 0x00008000u, 0x000000FFu};
    allowCaptionColor_ = false;
    allowButtonFont_ = false;
    captionClickSetFocus_ = false;
    formCheckBoxColor_ = 1;
}

// --- the wrapper collection -------------------------------------------------------------------

int cFrmCtrl::Find(const QString& key) const
{
    for (int i = 0; i < ctrls_.size(); ++i)
        if (ctrls_[i]->Control() && ControlKey(ctrls_[i]->Control()).compare(key, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool cFrmCtrl::Add(std::unique_ptr<cCtrls> wrapper)
{
    if (!wrapper || !wrapper->Control() || Find(ControlKey(wrapper->Control())) >= 0)
        return false;
    ctrls_.append(wrapper.release());
    return true;
}

void cFrmCtrl::Remove(int position)
{
    if (position < 0 || position >= ctrls_.size())
        throw VbError::SubscriptOutOfRange();
    delete ctrls_.takeAt(position);
}

void cFrmCtrl::Remove(const QString& key)
{
    const int i = Find(key);
    if (i < 0)
        throw VbError::InvalidCall();
    delete ctrls_.takeAt(i);
}

void cFrmCtrl::AddControl(QWidget* control)
{
    auto wrapper = std::make_unique<cCtrls>();
    wrapper->SetControl(control);
    if (!wrapper->Control())
        return;
    cCtrls* w = wrapper.get();
    if (Add(std::move(wrapper)))
        w->Owner = this;
}

void cFrmCtrl::RemoveControl(QWidget* control)
{
    if (!control)
        return;
    const int i = Find(ControlKey(control));
    if (i >= 0)
        delete ctrls_.takeAt(i);
}

cCtrls* cFrmCtrl::Item(int position) const
{
    if (position < 0 || position >= ctrls_.size())
        throw VbError::SubscriptOutOfRange();
    return ctrls_[position];
}

cCtrls* cFrmCtrl::Item(const QString& key) const
{
    const int i = Find(key);
    if (i < 0)
        throw VbError::InvalidCall();
    return ctrls_[i];
}

cCtrls* cFrmCtrl::ControlItem(const QWidget* control) const
{
    const int i = control ? Find(ControlKey(control)) : -1;
    return i >= 0 ? ctrls_[i] : nullptr;
}

// --- data -------------------------------------------------------------------------------------

void cFrmCtrl::DataClear()
{
    for (cCtrls* w : ctrls_)
        w->DataClear();
}

void cFrmCtrl::DataDefault()
{
    for (cCtrls* w : ctrls_)
        w->DataDefault();
}

void cFrmCtrl::FlagClear()
{
    for (cCtrls* w : ctrls_)
        w->Changed = false;
}

void cFrmCtrl::GetDefault()
{
    for (cCtrls* w : ctrls_)
        w->GetDefault();
}

void cFrmCtrl::GetDataDefault()
{
    for (cCtrls* w : ctrls_)
        w->GetDataDefault();
}

bool cFrmCtrl::DataChanged() const
{
    for (int i = 0; i < Count(); ++i)
        if (Item(i)->Changed)
            return true;
    return false;
}

// --- captions and the form --------------------------------------------------------------------

bool cFrmCtrl::LinkCaption(QWidget* control)
{
    auto* label = qobject_cast<QLabel*>(control);
    if (!label || TypeName(control) != QLatin1String("Label"))
        return false;
    const QString body = NameBody(label->objectName());
    for (cCtrls* w : ctrls_)
        if (w->Control() && NameBody(w->Control()->objectName()) == body) {
            w->SetCaption(label);
            return true;
        }
    return false;
}

void cFrmCtrl::ControlForm(Form* form)
{
    for (const QMetaObject::Connection& c : formConnections_)
        disconnect(c);
    formConnections_.clear();
    form_ = form;
    if (!form)
        return;
    formConnections_ << connect(form, &Form::KeyDown, this, &cFrmCtrl::pweForm_KeyDown);
    formConnections_ << connect(form, &Form::KeyUp, this, &cFrmCtrl::pweForm_KeyUp);
    const QList<QWidget*> controls = form->controls();
    for (QWidget* c : controls)
        AddControl(c);
    for (QWidget* c : controls)
        LinkCaption(c);
    GetDefault();
}

int cFrmCtrl::FindCaption(const QString& key) const
{
    for (int i = 0; i < captions_.size(); ++i)
        if (captions_[i] && ControlKey(captions_[i]).compare(key, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void cFrmCtrl::AddFormCaption(QLabel* label)
{
    if (label && FindCaption(ControlKey(label)) < 0)
        captions_.append(label);
}

void cFrmCtrl::RemoveFormCaption(QLabel* label)
{
    const int i = label ? FindCaption(ControlKey(label)) : -1;
    if (i >= 0)
        captions_.removeAt(i);
}

QList<QLabel*> cFrmCtrl::FormCaptions() const
{
    QList<QLabel*> out;
    for (const QPointer<QLabel>& l : captions_)
        if (l)
            out.append(l);
    return out;
}

void cFrmCtrl::RestCaptionControl()
{
    if (!form_)
        return;
    for (QWidget* c : form_->controls()) {
        auto* label = qobject_cast<QLabel*>(c);
        if (!label || TypeName(c) != QLatin1String("Label"))
            continue;
        bool linked = false;
        for (cCtrls* w : ctrls_)
            if (w->Caption() && w->Caption()->objectName() == label->objectName()) {
                linked = true;
                break;
            }
        if (!linked)
            AddFormCaption(label);
    }
}

// --- colour tables and fonts ------------------------------------------------------------------

namespace {
template <size_t N>
uint32_t& Entry(std::array<uint32_t, N>& table, int32_t index)
{
    if (index < 0 || index >= int32_t(N))
        throw VbError::SubscriptOutOfRange();
    return table[size_t(index)];
}
template <size_t N>
uint32_t Entry(const std::array<uint32_t, N>& table, int32_t index)
{
    return Entry(const_cast<std::array<uint32_t, N>&>(table), index);
}
}  // namespace

uint32_t cFrmCtrl::ControlBackColor(int32_t i) const { return Entry(controlBack_, i); }
void cFrmCtrl::SetControlBackColor(int32_t i, uint32_t c) { Entry(controlBack_, i) = c; }
uint32_t cFrmCtrl::ControlForeColor(int32_t i) const { return Entry(controlFore_, i); }
void cFrmCtrl::SetControlForeColor(int32_t i, uint32_t c) { Entry(controlFore_, i) = c; }
uint32_t cFrmCtrl::CaptionBackColor(int32_t i) const { return Entry(captionBack_, i); }
void cFrmCtrl::SetCaptionBackColor(int32_t i, uint32_t c) { Entry(captionBack_, i) = c; }
uint32_t cFrmCtrl::CaptionForeColor(int32_t i) const { return Entry(captionFore_, i); }
void cFrmCtrl::SetCaptionForeColor(int32_t i, uint32_t c) { Entry(captionFore_, i) = c; }

StdFont* cFrmCtrl::CaptionFont(int32_t style) const
{
    return style == 2 || style == 3 ? CaptionFontFocus.get() : CaptionFontNormal.get();
}

StdFont* cFrmCtrl::ButtonFont(int32_t style) const
{
    return style == 2 || style == 3 ? ButtonFontFocus.get() : ButtonFontNormal.get();
}

// --- styles for all wrappers ------------------------------------------------------------------

void cFrmCtrl::FormControlsDefaultStyle(int32_t style)
{
    for (cCtrls* w : ctrls_)
        w->DefaultStyle = style;
    FormControlsStyle(style);
}

void cFrmCtrl::FormControlsStyle(int32_t style)
{
    for (cCtrls* w : ctrls_)
        w->SetStyle(style);
}

void cFrmCtrl::FormControlsColor(int32_t style)
{
    for (cCtrls* w : ctrls_)
        w->ControlColor(style);
}

void cFrmCtrl::FormCaptionsColor(int32_t style)
{
    for (cCtrls* w : ctrls_)
        w->CaptionColor(style);
    for (QLabel* label : FormCaptions()) {
        SetBackColor(label, CaptionBackColor(style));
        SetForeColor(label, CaptionForeColor(style));
        label->update();
    }
}

void cFrmCtrl::FormCaptionsFont(int32_t style)
{
    for (cCtrls* w : ctrls_)
        w->CaptionFont(style);
    for (QLabel* label : FormCaptions()) {
        if (StdFont* font = CaptionFont(style))
            font->ApplyTo(label);
        label->update();
    }
}

void cFrmCtrl::FormButtonsFont(int32_t style)
{
    for (cCtrls* w : ctrls_)
        w->ButtonFont(style);
}

void cFrmCtrl::SetFormCheckBoxColor(int32_t mode)
{
    formCheckBoxColor_ = mode;
    for (cCtrls* w : ctrls_)
        w->SetCheckBoxColor(mode);
}

void cFrmCtrl::SetAllowRangeFilter(bool on)
{
    for (cCtrls* w : ctrls_)
        w->AllowRangeFilter = on;
}

void cFrmCtrl::SetAllowRangeError(bool on)
{
    for (cCtrls* w : ctrls_)
        w->AllowRangeError = on;
}

void cFrmCtrl::SetCaptionBackVisible(bool visible)
{
    for (cCtrls* w : ctrls_)
        w->SetCaptionBackVisible(visible);
    for (QLabel* label : FormCaptions()) {
        SetBackStyle(label, visible ? 1 : 0);
        label->update();
    }
}

void cFrmCtrl::SetCaptionClickSetFocus(bool on)
{
    for (cCtrls* w : ctrls_)
        w->CaptionClickSetFocus = on;
    captionClickSetFocus_ = on;
}

void cFrmCtrl::ControlsDefaultStyle(const QString& typeName, int32_t style)
{
    for (cCtrls* w : ctrls_)
        if (TypeName(w->Control()) == typeName)
            w->DefaultStyle = style;
    ControlsStyle(typeName, style);
}

void cFrmCtrl::ControlsStyle(const QString& typeName, int32_t style)
{
    for (cCtrls* w : ctrls_)
        if (TypeName(w->Control()) == typeName)
            w->SetStyle(style);
}

void cFrmCtrl::ControlsColor(const QString& typeName, int32_t style)
{
    for (cCtrls* w : ctrls_)
        if (TypeName(w->Control()) == typeName)
            w->ControlColor(style);
}

// --- the end ----------------------------------------------------------------------------------

void cFrmCtrl::TerminateControls()
{
    while (!ctrls_.isEmpty())
        Remove(int(ctrls_.size()) - 1);
    for (const QMetaObject::Connection& c : formConnections_)
        disconnect(c);
    formConnections_.clear();
    ButtonFontNormal.reset();
    ButtonFontFocus.reset();
    CaptionFontNormal.reset();
    CaptionFontFocus.reset();
    captions_.clear();
}
