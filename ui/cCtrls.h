#pragma once
// The wrapper of one control of a form for the form controller: it keeps the control's initial
// state and default value, clears it, writes the default back, applies a numbered style
// (colours, Tab stop, lock state), links the control to its caption label and colours that
// caption on focus, tracks user changes, forwards keys to its owner for focus movement, and
// answers the number box's out-of-range report. What differs by the kind of control is in
// CtrlKind.h, one class per kind.
//
// Styles: 0 the state captured by GetDefault, 1 normal, 2 normal without a Tab stop (focused
// caption), 3 read-only (error caption), any other value like 1 with the owner's colours of
// that index.
#include "platform/core/Variant.h"

#include <QFont>
#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>

class CtrlKind;
class CtrlOwner;
class QLabel;
class QWidget;

class cCtrls : public QObject {
    Q_OBJECT
public:
    // The control kinds a wrapper accepts.
    enum Kind { kNone, kTextBox, kComboBox, kCheckBox, kOptionButton, kCommandButton, kImNumber, kImText };

    cCtrls();
    ~cCtrls() override;

    // --- public fields ---
    bool Changed = false;                // the control changed since the last DataDefault or flag clear
    Variant DefaultData = Variant("");   // written back by DataDefault
    int32_t DefaultStyle = 0;            // applied when Style is set to 0
    CtrlOwner* Owner = nullptr;          // the owning controller (not owned)
    bool AllowRangeFilter = true;        // out-of-range report: clamp through the owner
    bool AllowRangeError = false;        // out-of-range report: show the range message first
    bool CaptionClickSetFocus = false;   // a click on the caption focuses the control

    QWidget* ImControl() const;          // the control again when it is a number or input text box

    // --- operations ---
    void DataClear();
    void DataDefault();
    void GetDefault();
    void GetDataDefault();

    QWidget* Control() const { return control_; }
    void SetControl(QWidget* control);   // refuses unsupported types; binds the control's events
    Kind ControlKind() const;
    QLabel* Caption() const;
    void SetCaption(QLabel* label);

    int32_t Style() const { return style_; }
    void SetStyle(int32_t style);

    void ControlColor(int32_t style);
    void CaptionColor(int32_t style);
    void CaptionFont(int32_t style);
    bool CaptionBackVisible() const { return captionBackStyle_ == 1; }
    void SetCaptionBackVisible(bool visible);
    void ButtonFont(int32_t style);
    int32_t CheckBoxColor() const { return checkBoxColor_; }
    void SetCheckBoxColor(int32_t mode);

    void ErrorFocus();
    void SetFocus();
    void ErrorCaption();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyStyle(int32_t style);
    bool ForwardKey(bool down, int& keyCode, int& shift);
    void ForwardRangeFilter(bool* accept);
    void ShowRangeError();

    void BindControl();
    void Unbind();
    void OnChange();
    void OnFocus(bool got);
    bool OnKey(QEvent* event);
    void OnCaptionClick();
    bool FormPreviewsKeys() const;
    void Guarded(const char* procedure, const std::function<void()>& handler);

    QPointer<QWidget> control_;
    std::unique_ptr<CtrlKind> kind_;     // null while there is no control
    QPointer<QLabel> caption_;
    int32_t style_ = 0;
    bool savedTabStop_ = true;
    bool savedEnabled_ = true;
    uint32_t savedBackColor_ = 0x80000005u;
    uint32_t savedForeColor_ = 0x80000008u;
    uint32_t savedCaptionBackColor_ = 0x8000000Fu;
    uint32_t savedCaptionForeColor_ = 0x80000008u;
    int16_t captionBackStyle_ = 1;
    QFont savedCaptionFont_;
    bool haveCaptionFont_ = false;
    int32_t checkBoxColor_ = 1;

    bool controlBound_ = false;          // the control's events reach the wrapper
    bool focused_ = false;               // the control has the focus (GotFocus ran, LostFocus not yet)
    bool replaying_ = false;             // sending a key the owner replaced
    bool captionBound_ = false;          // the caption's Click reaches the wrapper
    QList<QMetaObject::Connection> connections_;
};
