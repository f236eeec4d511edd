#pragma once
// What the control wrapper (cCtrls) does differently for each kind of control it accepts, one
// small class per kind in CtrlKind.cpp: which controls are of the kind (the type name and the
// class behind it), which signals tell a change, how the value is cleared, set to the default
// and read back, what a style does to the control, where its colours come from, how it shows
// the focus and which keys it gives the owner. The wrapper keeps the state every kind shares;
// a kind keeps its own part of the design state (the lock, the highlight, the button font).
#include "ui/cCtrls.h"

#include <QList>
#include <QMetaObject>
#include <functional>
#include <memory>

class CtrlOwner;
class QObject;
class QWidget;

// The wrapper's handlers of a control's signals, each already under the wrapper's guard.
struct CtrlSignals {
    std::function<void()> change;
    std::function<void(bool down, int& keyCode, int& shift)> key;   // the input boxes' own key signals
    std::function<void(bool& retry)> invalidRange;                  // the number box's range report
};

// Where the colours of a style come from: none (a command button keeps its own), the owner's
// tables (the saved colours for style 0), the form itself, or the owner's caption colours.
enum class CtrlColours { None, Owner, Form, Caption };

class CtrlKind {
public:
    virtual ~CtrlKind() = default;
    virtual cCtrls::Kind kind() const = 0;

    // --- the value ---
    virtual QList<QMetaObject::Connection> connectSignals(QWidget* control, QObject* context,
                                                          const CtrlSignals& on) const = 0;
    virtual void clear(QWidget*) const {}
    virtual void writeDefault(QWidget*, const Variant&) const {}
    virtual void read(const QWidget*, Variant&) const {}   // a control without a value leaves it

    // --- styles ---
    virtual void keepDesign(const QWidget*) {}            // the kind's own part of GetDefault
    // Style 1 and above, or the design state for 0 (with the Tab stop and Enabled kept by the wrapper).
    virtual void applyStyle(QWidget* control, int32_t style, bool tabStop, bool enabled) const = 0;
    virtual CtrlColours colours(int32_t checkBoxColor) const { return CtrlColours::Owner; }
    virtual void buttonFont(QWidget*, CtrlOwner&, int32_t) const {}
    virtual void showFocus(cCtrls& wrapper, bool got) const;   // the caption's colours and font

    // --- keys ---
    virtual bool forwardsKey(const QWidget* control, bool preview, bool down, int keyCode, int shift) const = 0;
    // A number or input text box: it raises its keys as signals and draws its own caption.
    virtual bool isInputBox() const { return false; }
    // Up and Down pressed go no further than the owner (Qt would move the focus by itself).
    virtual bool stopsArrowKeys() const { return false; }
};

// The kind of a control by its type name and class; null for a control the wrapper refuses.
std::unique_ptr<CtrlKind> MakeCtrlKind(QWidget* control);
