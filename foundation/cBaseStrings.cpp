// The text procedures of cBase: insertion, NUL cuts, byte lengths and byte cuts in the ANSI
// code page (CP932), padding, counting and searching, and a few date and message helpers.
#include "foundation/cBase.h"

#include "platform/core/AnsiText.h"
#include "platform/core/MsgBox.h"

#include <QDateTime>
#include <QHash>
#include <algorithm>
#include <cstdio>

#ifndef PANELO2_VERSION_MAJOR
#define PANELO2_VERSION_MAJOR 0
#define PANELO2_VERSION_MINOR 0
#define PANELO2_VERSION_PATCH 0
#endif

namespace {

std::function<void()>& beepHandler()
{
    static std::function<void()> handler;
    return handler;
}

// Bytes of one character (a code point) in CP932: 1 or 2.
int AnsiCharLength(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xFF61 && cp <= 0xFF9F))
        return 1;
    return AnsiLength(QString::fromUcs4(&cp, 1));
}

// One entry per code point: its text and its CP932 byte length.
struct AnsiChar {
    QString text;
    int bytes;
};

std::vector<AnsiChar> AnsiChars(const QString& text)
{
    std::vector<AnsiChar> out;
    const QList<uint> cps = text.toUcs4();
    out.reserve(size_t(cps.size()));
    for (uint cp : cps) {
        const char32_t c = cp;
        out.push_back({QString::fromUcs4(&c, 1), AnsiCharLength(c)});
    }
    return out;
}

QString FoldCase(const QString& text)
{
    QString out = text;
    for (QChar& ch : out)
        ch = ch.toCaseFolded();
    return out;
}

// Half-width katakana U+FF61..U+FF9F and their full-width forms.
constexpr char16_t kKanaWide[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
    0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
    0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
    0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
    0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C};
constexpr char16_t kHalfVoiced = 0xFF9E, kHalfSemiVoiced = 0xFF9F;

bool TakesVoicedMark(char16_t half)      // ｶ..ﾄ, ﾊ..ﾎ, ｳ
{
    return (half >= 0xFF76 && half <= 0xFF84) || (half >= 0xFF8A && half <= 0xFF8E) || half == 0xFF73;
}
bool TakesSemiVoicedMark(char16_t half) { return half >= 0xFF8A && half <= 0xFF8E; }

// The full-width katakana with a voiced or semi-voiced mark and their half-width bases.
const QHash<char16_t, QString>& NarrowKanaTable()
{
    static const QHash<char16_t, QString> table = [] {
        QHash<char16_t, QString> t;
        for (char16_t h = 0xFF61; h <= 0xFF9F; ++h) {
            const char16_t w = kKanaWide[h - 0xFF61];
            if (!t.contains(w))
                t.insert(w, QString(QChar(h)));
            if (TakesVoicedMark(h))
                t.insert(h == 0xFF73 ? char16_t(0x30F4) : char16_t(w + 1), QString(QChar(h)) + QChar(kHalfVoiced));
            if (TakesSemiVoicedMark(h))
                t.insert(char16_t(w + 2), QString(QChar(h)) + QChar(kHalfSemiVoiced));
        }
        return t;
    }();
    return table;
}

// Half-width to full-width, as the Japanese code page's tables do it: ASCII to the full-width
// forms (the backslash, which CP932 shows as the yen sign, to the full-width yen), the blank to
// the ideographic blank, and half-width katakana to katakana with their voiced marks joined.
QString ToWide(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u' ')
            out += QChar(0x3000);
        else if (c == u'\\')
            out += QChar(0xFFE5);
        else if (c > 0x20 && c < 0x7F)
            out += QChar(char16_t(c - 0x21 + 0xFF01));
        else if (c >= 0xFF61 && c <= 0xFF9F) {
            const char16_t next = i + 1 < text.size() ? text[i + 1].unicode() : 0;
            const char16_t w = kKanaWide[c - 0xFF61];
            if (next == kHalfVoiced && TakesVoicedMark(c)) {
                out += QChar(c == 0xFF73 ? char16_t(0x30F4) : char16_t(w + 1));
                ++i;
            } else if (next == kHalfSemiVoiced && TakesSemiVoicedMark(c)) {
                out += QChar(char16_t(w + 2));
                ++i;
            } else {
                out += QChar(w);
            }
        } else {
            out += QChar(c);
        }
    }
    return out;
}

QString ToNarrow(const QString& text)
{
    const QHash<char16_t, QString>& kana = NarrowKanaTable();
    QString out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == 0x3000)
            out += QLatin1Char(' ');
        else if (c == 0xFFE5)
            out += QLatin1Char('\\');
        else if (c >= 0xFF01 && c <= 0xFF5E)
            out += QChar(char16_t(c - 0xFF01 + 0x21));
        else if (c == 0x2019)
            out += QLatin1Char('\'');
        else if (c == 0x201D)
            out += QLatin1Char('"');
        else if (c == 0x2018)
            out += QLatin1Char('`');
        else if (auto it = kana.constFind(c); it != kana.constEnd())
            out += *it;
        else
            out += ch;
    }
    return out;
}

// Cut to width characters, or pad behind: with ideographic blanks, or two blanks per character.
QString FitWidth(QString text, int16_t width, bool fullWidthPadding)
{
    if (width < 1)
        return text;
    if (text.size() > width)
        return text.left(width);
    const qsizetype missing = width - text.size();
    return fullWidthPadding ? text + QString(missing, QChar(0x3000)) : text + QString(missing * 2, QLatin1Char(' '));
}

} // namespace

std::function<void()> cBase::SetBeepHandler(std::function<void()> handler)
{
    std::function<void()> previous = beepHandler();
    beepHandler() = std::move(handler);
    return previous;
}

QString cBase::CvtJunkChar(QString text, const QString& replacement, const QString& charSet) const
{
    QString out;
    out.reserve(text.size());
    for (QChar ch : text) {
        if (charSet.contains(ch))
            out += replacement.left(1);
        else
            out += ch;
    }
    return out;
}

QString cBase::InsertStr(int32_t n, const QString& text, const QString& insertion) const
{
    if (n < 0)
        return text;
    return text.left(n) + insertion + text.mid(std::min<qsizetype>(n, text.size()));
}

int32_t cBase::MsgBoxBeep(const QString& prompt, int32_t buttons, const QString& title) const
{
    if (beepHandler())
        beepHandler()();
    else
        std::fputs("\a", stderr);
    return MsgBox(prompt, buttons, title);
}

QString cBase::PrintErrLog(const QString& procedure, const QString& extra, int32_t errNumber,
                           const QString& errDescription) const
{
    return QStringLiteral("[") + QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"))
        + QStringLiteral("] << ") + procedure + QStringLiteral(" >> ") + QString::number(errNumber)
        + QLatin1Char(':') + errDescription + QStringLiteral(" [") + extra + QLatin1Char(']');
}

QString cBase::NullTrim(QString& text, bool several) const
{
    if (several) {
        const qsizetype pair = text.indexOf(QStringView(u"\0\0", 2));
        if (pair >= 0)
            text.truncate(pair);
        const qsizetype single = text.indexOf(QChar(0));
        if (single >= 0)
            text[single] = QLatin1Char(' ');
    } else {
        const qsizetype nul = text.indexOf(QChar(0));
        if (nul >= 0)
            text.truncate(nul);
    }
    return CvtStr(text);
}

QString cBase::GetAppVersion(const QString& numberFormat) const
{
    return QStringLiteral("Ver ") + QString::number(PANELO2_VERSION_MAJOR) + QLatin1Char('.')
        + FormatNumber(PANELO2_VERSION_MINOR, numberFormat) + QLatin1Char('.')
        + FormatNumber(PANELO2_VERSION_PATCH, numberFormat);
}

QDate cBase::FOMonth(const QDate& date) const
{
    return date.isValid() ? QDate(date.year(), date.month(), 1) : QDate();
}

QDate cBase::EOMonth(const QDate& date) const
{
    return date.isValid() ? FOMonth(date).addMonths(1).addDays(-1) : QDate();
}

int32_t cBase::StrLen(const Variant& value) const
{
    return int32_t(CvtStr(value).size());
}

int32_t cBase::StrLenB(const Variant& value) const
{
    return 2 * StrLen(value);
}

QString cBase::FixStrFormat(QString text, int16_t width, bool left) const
{
    if (text.size() >= width)
        return text;
    return left ? text.leftJustified(width, QLatin1Char(' ')) : text.rightJustified(width, QLatin1Char(' '));
}

// The position of the last occurrence of find in text (1-based), 0 when there is none.
int32_t cBase::InStrR(int32_t, const QString& text, const QString& find, int compare) const
{
    if (find.isEmpty() || find.size() > text.size())
        return 0;
    const Qt::CaseSensitivity cs = compare == 1 ? Qt::CaseInsensitive : Qt::CaseSensitive;
    return int32_t(text.lastIndexOf(find, -1, cs) + 1);
}

int32_t cBase::InStrRB(int32_t ignored, const QString& text, const QString& find, int compare) const
{
    return InStrR(ignored, text, find, compare);
}

int32_t cBase::StrCount(int32_t start, const QString& text, const QString& find, int compare) const
{
    if (start < 1)
        return -1;
    if (find.isEmpty())
        return 0;
    const Qt::CaseSensitivity cs = compare == 1 ? Qt::CaseInsensitive : Qt::CaseSensitive;
    int32_t count = 0;
    for (qsizetype p = text.indexOf(find, start - 1, cs); p >= 0; p = text.indexOf(find, p + find.size(), cs))
        ++count;
    return count;
}

int32_t cBase::StrCountB(int32_t start, const QString& text, const QString& find, int compare) const
{
    if (start < 1)
        return -1;
    if (find.isEmpty())
        return 0;
    auto bytes = [compare](const QString& s) {
        const QString t = compare == 1 ? FoldCase(s) : s;
        return QByteArray(reinterpret_cast<const char*>(t.utf16()), t.size() * 2);
    };
    const QByteArray hay = bytes(text), needle = bytes(find);
    int32_t count = 0;
    for (qsizetype p = hay.indexOf(needle, start - 1); p >= 0; p = hay.indexOf(needle, p + needle.size()))
        ++count;
    return count;
}

bool cBase::IsDateEx(const QString& text) const
{
    const QStringList parts = text.split(QLatin1Char('/'));
    if (parts.size() != 3)
        return false;
    qlonglong v[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        v[i] = parts[i].toLongLong(&ok);
        if (!IsDigits(parts[i]) || !ok)      // an empty part or one too long to be a number
            return false;
    }
    const qlonglong year = v[0], month = v[1], day = v[2];
    if (month < 1 || month > 12 || day < 1)
        return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

bool cBase::IsDigits(const QString& text) const
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

int16_t cBase::LenANSI(const Variant& value) const
{
    return int16_t(std::min(AnsiLength(CvtStr(value)), 32767));
}

QString cBase::CnvWide(const Variant& value, int16_t width, bool fullWidthPadding) const
{
    return FitWidth(ToWide(CvtStr(value)), width, fullWidthPadding);
}

QString cBase::CnvNarrow(const Variant& value, int16_t width) const
{
    return FitWidth(ToNarrow(CvtStr(value)), width, false);
}

QString cBase::EditString(const Variant& value, int16_t width, const QString& pad, int32_t alignment) const
{
    if (alignment < 0 || alignment > 2)
        return QString();
    QString text = CvtStr(value);
    if (AnsiLength(text) > width)
        text = PickString2(text, 1, width);
    const QString padChar = pad.isEmpty() ? QStringLiteral(" ") : AnsiChars(pad).front().text;
    const bool doubleByte = AnsiLength(padChar) == 2;
    // Padding of n bytes: single-byte pads n times; double-byte pads n / 2 times and, for an odd
    // n, one half-width blank last.
    auto padding = [&](int n) {
        if (n <= 0)
            return QString();
        if (!doubleByte)
            return padChar.repeated(n);
        return padChar.repeated(n / 2) + (n % 2 ? QStringLiteral(" ") : QString());
    };
    const int gap = width - AnsiLength(text);
    switch (alignment) {
    case 0: return text + padding(gap);
    case 1: return padding(gap) + text;
    default: return padding(gap / 2) + text + padding(gap - gap / 2);
    }
}

QString cBase::PickString(const QString& text, int16_t start, int16_t length) const
{
    return PickString2(text, start, length);
}

// The characters that lie wholly inside bytes start .. start + length - 1 of the text's CP932
// form: a double-byte character cut at either end is left out, never split.
QString cBase::PickString2(const QString& text, int32_t start, int16_t length) const
{
    if (text.isEmpty())
        return QString();
    const std::vector<AnsiChar> chars = AnsiChars(text);
    int64_t n = 0;
    for (const AnsiChar& c : chars)
        n += c.bytes;
    int64_t from = std::max<int32_t>(start, 1);
    int64_t len = std::max<int16_t>(length, 0);
    if (from + len > n)
        len = n;
    const int64_t first = from - 1, end = first + len;   // byte range [first, end)
    QString out;
    int64_t pos = 0;
    for (const AnsiChar& c : chars) {
        if (pos >= end)
            break;
        if (pos >= first && pos + c.bytes <= end)
            out += c.text;
        pos += c.bytes;
    }
    return out;
}
