#include "platform/gui/Keys.h"

#include <QKeyEvent>
#include <QStringList>

namespace {

struct Named {
    const char* name;
    int code;
};
const Named kNames[] = {
    {"ENTER", 13},  {"RETURN", 13}, {"TAB", 9},     {"ESC", 27},      {"ESCAPE", 27},  {"UP", 38},
    {"DOWN", 40},   {"LEFT", 37},   {"RIGHT", 39},  {"HOME", 36},     {"END", 35},     {"PGUP", 33},
    {"PGDN", 34},   {"INSERT", 45}, {"INS", 45},    {"DELETE", 46},   {"DEL", 46},     {"BACKSPACE", 8},
    {"BS", 8},      {"BKSP", 8},    {"SPACE", 32},  {"F1", 112},      {"F2", 113},     {"F3", 114},
    {"F4", 115},    {"F5", 116},    {"F6", 117},    {"F7", 118},      {"F8", 119},     {"F9", 120},
    {"F10", 121},   {"F11", 122},   {"F12", 123},
};

struct Pair {
    int qt;
    int vb;
};
const Pair kPairs[] = {
    {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9},     {Qt::Key_Backtab, 9},   {Qt::Key_Return, 13},
    {Qt::Key_Enter, 13},    {Qt::Key_Shift, 16},  {Qt::Key_Control, 17},  {Qt::Key_Alt, 18},
    {Qt::Key_Escape, 27},   {Qt::Key_Space, 32},  {Qt::Key_PageUp, 33},   {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},      {Qt::Key_Home, 36},   {Qt::Key_Left, 37},     {Qt::Key_Up, 38},
    {Qt::Key_Right, 39},    {Qt::Key_Down, 40},   {Qt::Key_Insert, 45},   {Qt::Key_Delete, 46},
};

int codeOfName(const QString& name)
{
    const QString upper = name.toUpper();
    for (const Named& n : kNames)
        if (upper == QLatin1String(n.name))
            return n.code;
    if (name.size() == 1) {
        const QChar c = name[0].toUpper();
        if ((c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            return c.unicode();
    }
    return 0;
}

}  // namespace

int VbKeyCode(int key)
{
    for (const Pair& p : kPairs)
        if (p.qt == key)
            return p.vb;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key;   // the same codes
    return 0;
}

int VbKeyCode(const QKeyEvent* e) { return VbKeyCode(e->key()); }

int VbShiftState(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

int VbShiftState(const QKeyEvent* e)
{
    return VbShiftState(e->modifiers()) | (e->key() == Qt::Key_Backtab ? vbShiftMask : 0);
}

Qt::Key QtKeyOf(int code)
{
    if (code == 13)
        return Qt::Key_Return;
    for (const Pair& p : kPairs)
        if (p.vb == code)
            return Qt::Key(p.qt);
    if (code >= 112 && code <= 135)
        return Qt::Key(Qt::Key_F1 + (code - 112));
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))
        return Qt::Key(code);
    return Qt::Key_unknown;
}

Qt::KeyboardModifiers QtModifiersOf(int shift)
{
    Qt::KeyboardModifiers m;
    if (shift & 1)
        m |= Qt::ShiftModifier;
    if (shift & 2)
        m |= Qt::ControlModifier;
    if (shift & 4)
        m |= Qt::AltModifier;
    return m;
}

QKeyEvent MakeKeyEvent(int type, int code, int shift)
{
    QString text;
    if (code >= 'A' && code <= 'Z' && !(shift & 6))
        text = QChar(shift & 1 ? code : code + 32);
    else if ((code >= '0' && code <= '9') || code == ' ')
        text = QChar(code);
    else if (code == 13)
        text = QStringLiteral("\r");
    return QKeyEvent(QEvent::Type(type), QtKeyOf(code), QtModifiersOf(shift), text);
}

std::vector<KeyStroke> ParseKeyList(const QString& keys)
{
    std::vector<KeyStroke> out;
    for (QString item : keys.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        item = item.trimmed();
        KeyStroke k;
        while (!item.isEmpty() && QStringLiteral("+^%").contains(item[0]) && item.size() > 1) {
            k.shift |= item[0] == QLatin1Char('+') ? 1 : item[0] == QLatin1Char('^') ? 2 : 4;
            item.remove(0, 1);
        }
        if (item.startsWith(QLatin1Char('{')) && item.endsWith(QLatin1Char('}')))
            item = item.mid(1, item.size() - 2);
        k.keyCode = codeOfName(item);
        if (k.keyCode)
            out.push_back(k);
    }
    return out;
}

bool KeyListContains(const QString& keys, int keyCode, int shift)
{
    const KeyStroke wanted{keyCode, shift & 7};
    for (const KeyStroke& k : ParseKeyList(keys))
        if (k == wanted)
            return true;
    return false;
}
