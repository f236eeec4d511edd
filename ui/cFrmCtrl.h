#pragma once
// The per-form controller: wraps every supported control of one form in a cCtrls, links each
// control to its caption label by the name after the three-letter prefix (labReport captions
// cmbReport), keeps the colour tables and fonts of the styles, applies styles, colours and
// fonts to all wrappers (or those of one control type) and to the labels that belong to no
// control, forwards the data operations, and tells whether any control changed. Its keyboard
// side moves the focus with Enter and the arrow keys (showing the focus frame, as a Tab does; a
// command button Enter moves on from is not pressed), clears or restores the data by hot key
// and brings number boxes back into their range.
//
// Colour tables: index 0..4 for controls, 0..3 for captions (the style numbers of cCtrls).
#include "platform/gui/Form.h"
#include "ui/CtrlOwner.h"
#include "ui/StdFont.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

class QLabel;
class QWidget;
class cCtrls;

class cFrmCtrl : public QObject, public CtrlOwner {
    Q_OBJECT
public:
    cFrmCtrl();
    ~cFrmCtrl() override;
    cFrmCtrl(const cFrmCtrl&) = delete;
    cFrmCtrl& operator=(const cFrmCtrl&) = delete;

    // --- public fields ---
    bool EnterKeyMove = true;            // focus movement and hot keys
    int ClearKey = 115;                  // F4: DataClear
    int DefaultKey = 115;                // F4 as well, so by default the key clears
    // Shared font objects: a change of one reaches every control given it.
    std::unique_ptr<StdFont> ButtonFontNormal, ButtonFontFocus, CaptionFontNormal, CaptionFontFocus;

    // --- the wrapper collection ---
    bool Add(std::unique_ptr<cCtrls> wrapper);   // false (wrapper dropped) for a key already filed
    void Remove(int position);                   // 0-based; VbError 9 when absent
    void Remove(const QString& key);             // VbError 5 when absent
    void AddControl(QWidget* control);
    void RemoveControl(QWidget* control);
    cCtrls* Item(int position) const;            // 0-based; VbError 9 when absent
    cCtrls* Item(const QString& key) const;      // VbError 5 when absent
    cCtrls* ControlItem(const QWidget* control) const;   // none when not registered
    int Count() const { return int(ctrls_.size()); }
    // Iterating over the controller gives the wrappers in collection order.
    QList<cCtrls*>::const_iterator begin() const { return ctrls_.cbegin(); }
    QList<cCtrls*>::const_iterator end() const { return ctrls_.cend(); }

    // --- data ---
    void DataClear();
    void DataDefault();
    void FlagClear();
    void GetDefault();
    void GetDataDefault();
    bool DataChanged() const;

    // --- keyboard ---
    void SetForcusTopControl();
    void KeyDown(int& keyCode, int& shift) override;
    void KeyUp(int& keyCode, int& shift) override;
    void TabFocus(int& direction);       // 0 next, 1 previous, 2 first, 3 last (by TabIndex, wrapping)
    void TabFocusEasy(int& direction);   // 1 Shift+Tab, other Tab, after the current event
    void NumberRangeFilter(ImNumber* box) override;

    // --- captions and the form ---
    void RestCaptionControl();
    void AddFormCaption(QLabel* label);
    void RemoveFormCaption(QLabel* label);
    QList<QLabel*> FormCaptions() const;
    void ControlForm(Form* form);
    Form* ControlledForm() const { return form_; }

    // --- styles, colours and fonts ---
    bool AllowCaptionColor() const override { return allowCaptionColor_; }
    void SetAllowCaptionColor(bool on) { allowCaptionColor_ = on; }
    bool AllowButtonFont() const override { return allowButtonFont_; }
    void SetAllowButtonFont(bool on) { allowButtonFont_ = on; }
    uint32_t ControlBackColor(int32_t index) const override;      // VbError 9 outside 0..4
    void SetControlBackColor(int32_t index, uint32_t color);
    uint32_t ControlForeColor(int32_t index) const override;
    void SetControlForeColor(int32_t index, uint32_t color);
    uint32_t CaptionBackColor(int32_t index) const override;      // VbError 9 outside 0..3
    void SetCaptionBackColor(int32_t index, uint32_t color);
    uint32_t CaptionForeColor(int32_t index) const override;
    void SetCaptionForeColor(int32_t index, uint32_t color);
    StdFont* CaptionFont(int32_t style) const override;           // 2, 3: focus font; else normal
    StdFont* ButtonFont(int32_t style) const override;

    void FormControlsDefaultStyle(int32_t style);
    void FormControlsStyle(int32_t style);
    void FormControlsColor(int32_t style);
    void FormCaptionsColor(int32_t style);
    void FormCaptionsFont(int32_t style);
    void FormButtonsFont(int32_t style);
    int32_t FormCheckBoxColor() const { return formCheckBoxColor_; }
    void SetFormCheckBoxColor(int32_t mode);
    void SetAllowRangeFilter(bool on);
    void SetAllowRangeError(bool on);
    void SetCaptionBackVisible(bool visible);
    bool CaptionClickSetFocus() const { return captionClickSetFocus_; }
    void SetCaptionClickSetFocus(bool on);
    void ControlsDefaultStyle(const QString& typeName, int32_t style);
    void ControlsStyle(const QString& typeName, int32_t style);
    void ControlsColor(const QString& typeName, int32_t style);

    void TerminateControls();

private:
    void InitDefaults();
    bool LinkCaption(QWidget* control);
    int Find(const QString& key) const;
    int FindCaption(const QString& key) const;
    void pweForm_KeyDown(int& keyCode, int& shift);
    void pweForm_KeyUp(int& keyCode, int& shift);
    bool MovesByItself(bool back) const;

    std::array<uint32_t, 5> controlBack_{}, controlFore_{};
    std::array<uint32_t, 4> captionBack_{}, captionFore_{};
    bool allowCaptionColor_ = false;
    bool allowButtonFont_ = false;
    bool captionClickSetFocus_ = false;
    int32_t formCheckBoxColor_ = 1;
    QList<cCtrls*> ctrls_;               // owned, in registration order
    QList<QPointer<QLabel>> captions_;   // stand-alone captions, not owned
    int lastKeyUp_ = 0;
    QPointer<Form> form_;
    QList<QMetaObject::Connection> formConnections_;
    bool formKeyHandled_ = false;        // the form's own handler saw the key now being handled
};
