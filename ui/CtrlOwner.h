#pragma once
// What a control wrapper (cCtrls) asks of its owner: the colour tables and fonts of the styles,
// the two permissions, and the key and number-range call-backs. The form controller is the
// owner the program uses; any class offering these members can drive a wrapper.
#include <cstdint>

class ImNumber;
class StdFont;

class CtrlOwner {
public:
    virtual bool AllowCaptionColor() const = 0;
    virtual bool AllowButtonFont() const = 0;
    virtual uint32_t ControlBackColor(int32_t style) const = 0;
    virtual uint32_t ControlForeColor(int32_t style) const = 0;
    virtual uint32_t CaptionBackColor(int32_t style) const = 0;
    virtual uint32_t CaptionForeColor(int32_t style) const = 0;
    virtual StdFont* CaptionFont(int32_t style) const = 0;
    virtual StdFont* ButtonFont(int32_t style) const = 0;

    // The control's key events; a KeyCode changed by the owner reaches the control (0 swallows it).
    virtual void KeyDown(int& keyCode, int& shift) = 0;
    virtual void KeyUp(int& keyCode, int& shift) = 0;
    // A number box reported a value outside its range.
    virtual void NumberRangeFilter(ImNumber* numberBox) = 0;

protected:
    ~CtrlOwner() = default;
};
