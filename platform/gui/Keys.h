#pragma once
// Key codes as the forms run time gives them to KeyDown handlers (the platform's virtual-key
// codes: 13 Enter, 27 Esc, 37-40 arrows, 112 F1 ...) with the Shift mask (1 Shift, 2 Ctrl,
// 4 Alt), and the key lists of the input controls ("{Enter},{Down}", "+{Enter}", "{F2}").
#include <QKeyEvent>
#include <QString>
#include <Qt>
#include <vector>

enum VbKey { vbKeyBack = 8, vbKeyTab = 9, vbKeyReturn = 13, vbKeyShift = 16, vbKeyControl = 17, vbKeyMenu = 18,
             vbKeyEscape = 27, vbKeySpace = 32, vbKeyPageUp = 33, vbKeyPageDown = 34, vbKeyEnd = 35,
             vbKeyHome = 36, vbKeyLeft = 37, vbKeyUp = 38, vbKeyRight = 39, vbKeyDown = 40, vbKeyInsert = 45,
             vbKeyDelete = 46, vbKeyF1 = 112, vbKeyF2 = 113, vbKeyF4 = 115 };
enum VbShift { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };

int VbKeyCode(const QKeyEvent* event);                  // 0 for keys without a code
int VbKeyCode(int qtKey);
int VbShiftState(Qt::KeyboardModifiers modifiers);
// The Shift mask of a key event: Backtab is Shift+Tab, whether or not Qt sets the modifier on it.
int VbShiftState(const QKeyEvent* event);
Qt::Key QtKeyOf(int vbKeyCode);                         // Qt::Key_unknown when there is none
Qt::KeyboardModifiers QtModifiersOf(int shift);
// A key event for a code and Shift mask, with the text the key types (letters, digits, space).
QKeyEvent MakeKeyEvent(int type, int keyCode, int shift);

// One key of a key list: a code and the Shift mask it needs.
struct KeyStroke {
    int keyCode = 0;
    int shift = 0;
    bool operator==(const KeyStroke&) const = default;
};
// Parses a key list; names are not case-sensitive; "+" Shift, "^" Ctrl, "%" Alt before a key.
std::vector<KeyStroke> ParseKeyList(const QString& keys);
bool KeyListContains(const QString& keys, int keyCode, int shift);
