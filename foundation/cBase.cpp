#include "foundation/cBase.h"

#include <QDateTime>
#include <QRegularExpression>
#include <cfenv>
#include <cmath>
#include <cstdio>

namespace {

bool isBlankChar(QChar c) { return c == QLatin1Char(' ') || c == QChar(0x3000); }

// Full-width digits, signs, point and comma read as their half-width forms.
QString narrowNumberChars(const QString& text)
{
    QString s = text;
    for (QChar& c : s) {
        const ushort u = c.unicode();
        if (u >= 0xFF10 && u <= 0xFF19)
            c = QChar(u - 0xFF10 + '0');
        else if (u == 0xFF0B)
            c = QLatin1Char('+');
        else if (u == 0xFF0D || u == 0x2212)
            c = QLatin1Char('-');
        else if (u == 0xFF0E)
            c = QLatin1Char('.');
        else if (u == 0xFF0C)
            c = QLatin1Char(',');
    }
    return s;
}

// Rounds to the nearest whole number, a half to the even neighbour.
double roundHalfEven(double v)
{
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(v);
    std::fesetround(mode);
    return r;
}

bool variantNumber(const Variant& value, double* out)
{
    if (value.isNumber()) {
        *out = value.doubleValue();
        return true;
    }
    if (value.isString())
        return ReadNumberText(value.stringValue(), out);
    return false;
}

int twoDigitYear(int y) { return y < 30 ? 2000 + y : 1900 + y; }

bool makeDate(int y, int m, int d, bool shortYear, QDate* out)
{
    if (shortYear)
        y = twoDigitYear(y);
    const QDate date(y, m, d);
    if (!date.isValid())
        return false;
    *out = date;
    return true;
}

// Lays the characters of a text into a pattern of "@" placeholders, filling from the right
// (surplus characters stand in front, missing ones become blanks), as the run time's Format does.
QString layIntoPattern(const QString& text, const QString& pattern)
{
    QString out = pattern;
    qsizetype t = text.size() - 1;
    for (qsizetype i = out.size() - 1; i >= 0; --i) {
        if (out[i] != QLatin1Char('@'))
            continue;
        out[i] = t >= 0 ? text[t--] : QLatin1Char(' ');
    }
    return t >= 0 ? text.left(t + 1) + out : out;
}

bool textIsDate(const Variant& value)
{
    double serial;
    return value.type() == VarType::Date || (value.isString() && ReadDateText(value.stringValue(), &serial));
}

bool equalsZero(const Variant& value)
{
    if (value.isString())
        return TrimBlanks(value.stringValue()) == QLatin1String("0");
    return value.isNumber() && value.doubleValue() == 0.0;
}

} // namespace

QString TrimBlanks(const QString& text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && isBlankChar(text[b]))
        ++b;
    while (e > b && isBlankChar(text[e - 1]))
        --e;
    return text.mid(b, e - b);
}

bool ReadNumberText(const QString& text, double* value)
{
    static const QRegularExpression re(
        QStringLiteral("^([+-]?)(?:(\\d[\\d,]*)(?:\\.(\\d*))?|\\.(\\d+))(?:[eEdD]([+-]?\\d+))?$"));
    const QString s = TrimBlanks(narrowNumberChars(text));
    const auto m = re.match(s);
    if (!m.hasMatch())
        return false;
    QString plain = m.captured(1) + QString(m.captured(2)).remove(QLatin1Char(','));
    if (plain.isEmpty() || plain == QLatin1String("-") || plain == QLatin1String("+"))
        plain += QLatin1Char('0');
    plain += QLatin1Char('.') + m.captured(3) + m.captured(4);
    if (m.capturedLength(5))
        plain += QLatin1Char('e') + m.captured(5);
    bool ok = false;
    const double v = plain.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

bool ReadDateText(const QString& text, double* serial)
{
    static const QRegularExpression ymd(QStringLiteral("^(\\d{1,4})[/\\-.](\\d{1,2})[/\\-.](\\d{1,2})$"));
    static const QRegularExpression md(QStringLiteral("^(\\d{1,2})[/\\-](\\d{1,2})$"));
    static const QRegularExpression kanji(QStringLiteral("^(?:(\\d{1,4})年)?(\\d{1,2})月(\\d{1,2})日$"));
    static const QRegularExpression hms(QStringLiteral("^(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?$"));
    QString s = TrimBlanks(narrowNumberChars(text));
    if (s.isEmpty())
        return false;
    QString datePart = s, timePart;
    if (const qsizetype sp = s.indexOf(QLatin1Char(' ')); sp > 0) {
        datePart = s.left(sp);
        timePart = TrimBlanks(s.mid(sp + 1));
    } else if (hms.match(s).hasMatch()) {
        datePart.clear();
        timePart = s;
    }
    QDate date(1899, 12, 30);
    if (!datePart.isEmpty()) {
        QRegularExpressionMatch m;
        if ((m = ymd.match(datePart)).hasMatch()) {
            if (!makeDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
                          m.capturedLength(1) <= 2, &date))
                return false;
        } else if ((m = md.match(datePart)).hasMatch()) {
            if (!makeDate(QDate::currentDate().year(), m.captured(1).toInt(), m.captured(2).toInt(), false, &date))
                return false;
        } else if ((m = kanji.match(datePart)).hasMatch()) {
            const int y = m.capturedLength(1) ? m.captured(1).toInt() : QDate::currentDate().year();
            if (!makeDate(y, m.captured(2).toInt(), m.captured(3).toInt(),
                          m.capturedLength(1) && m.capturedLength(1) <= 2, &date))
                return false;
        } else {
            return false;
        }
    }
    QTime time(0, 0);
    if (!timePart.isEmpty()) {
        const auto m = hms.match(timePart);
        if (!m.hasMatch())
            return false;
        time = QTime(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        if (!time.isValid())
            return false;
    }
    *serial = DateTimeSerial(QDateTime(date, time));
    return true;
}

// ---------------------------------------------------------------------------------------------

bool cBase::IsData(const Variant& value) const { return !value.isEmpty() && !value.isNull(); }

QString cBase::CvtStr(const Variant& value) const
{
    switch (value.type()) {
    case VarType::Empty:
    case VarType::Null:
        return QString();
    case VarType::Integer:
    case VarType::Long:
        return QString::number(value.intValue());
    case VarType::Double:
        return DoubleText(value.doubleValue());
    case VarType::Boolean:
        return value.boolValue() ? QStringLiteral("True") : QStringLiteral("False");
    case VarType::Date: {
        const QDateTime dt = SerialDateTime(value.doubleValue());
        const bool noDate = std::trunc(value.doubleValue()) == 0.0;
        const bool noTime = dt.time() == QTime(0, 0);
        if (noTime)
            return dt.date().toString(QStringLiteral("yyyy/MM/dd"));
        if (noDate)
            return dt.time().toString(QStringLiteral("H:mm:ss"));
        return dt.toString(QStringLiteral("yyyy/MM/dd H:mm:ss"));
    }
    case VarType::String:
        return TrimBlanks(value.stringValue());
    }
    return QString();
}

int16_t cBase::CvtInt(const Variant& value) const
{
    double v;
    if (!IsData(value) || !variantNumber(value, &v))
        return 0;
    const double r = roundHalfEven(v);
    return r >= -32768.0 && r <= 32767.0 ? int16_t(r) : int16_t(0);
}

int32_t cBase::CvtLng(const Variant& value) const
{
    double v;
    if (!IsData(value) || !variantNumber(value, &v))
        return 0;
    const double r = roundHalfEven(v);
    return r >= -2147483648.0 && r <= 2147483647.0 ? int32_t(r) : 0;
}

double cBase::CvtDbl(const Variant& value) const
{
    double v;
    if (!IsData(value) || !variantNumber(value, &v))
        return 0.0;
    return v;
}

double cBase::CvtDate(const Variant& value) const
{
    QString s = CvtStr(value);
    double number, serial;
    if (!s.isEmpty() && !ReadNumberText(s, &number) && ReadDateText(s, &serial))
        s = SerialDate(serial).toString(QStringLiteral("yyyy/MM/dd"));
    auto readYmd = [](const QString& text, bool shortYear) -> double {
        static const QRegularExpression re(QStringLiteral("^(\\d{1,4})/(\\d{1,2})/(\\d{1,2})$"));
        const auto m = re.match(text);
        QDate d;
        if (!m.hasMatch() || !makeDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
                                       shortYear, &d))
            return 0.0;
        return DateSerial(d);
    };
    auto readMd = [](const QString& text) -> double {
        static const QRegularExpression re(QStringLiteral("^(\\d{1,2})/(\\d{1,2})$"));
        const auto m = re.match(text);
        QDate d;
        if (!m.hasMatch() || !makeDate(QDate::currentDate().year(), m.captured(1).toInt(), m.captured(2).toInt(),
                                       false, &d))
            return 0.0;
        return DateSerial(d);
    };
    switch (s.size()) {
    case 4:
        return readMd(layIntoPattern(s, QStringLiteral("@@/@@")));
    case 5:
        return s[2] == QLatin1Char('/') ? readMd(s) : 0.0;
    case 6:
        return readYmd(layIntoPattern(s, QStringLiteral("@@/@@/@@")), true);
    case 8:
        if (s[2] == QLatin1Char('/'))
            return readYmd(s, true);
        return readYmd(s.left(4) + QLatin1Char('/') + s.mid(4, 2) + QLatin1Char('/') + s.mid(6, 2), false);
    case 10:
        if (s[4] == QLatin1Char('/'))
            return readYmd(s, false);
        return readYmd(layIntoPattern(s, QStringLiteral("@@@@/@@/@@")), false);
    default:
        return 0.0;
    }
}

double cBase::CvtTime(const Variant& value) const
{
    QString s = CvtStr(value);
    double number, serial;
    if (s.isEmpty())
        return 0.0;
    if (!ReadNumberText(s, &number) && ReadDateText(s, &serial))
        s = SerialDateTime(serial).time().toString(QStringLiteral("HH:mm:ss"));
    return ReadDateText(s, &serial) ? serial : 0.0;
}

QString cBase::CvtSQL(const Variant& value, int code) const
{
    QString s = CvtStr(value);
    if (s.isEmpty())
        return QStringLiteral("NULL");
    auto dateOrNull = [&](auto frame) -> QString {
        if (equalsZero(value) || !textIsDate(value))
            return QStringLiteral("NULL");
        return frame();
    };
    auto ymd = [&] { return SerialDate(CvtDate(value)).toString(QStringLiteral("yyyy/MM/dd")); };
    auto timeOfValue = [&] { return SerialDateTime(CvtTime(value)).time().toString(QStringLiteral("HH:mm:ss")); };
    switch (code) {
    case kSqlText:
        s.remove(QChar(0));
        return QLatin1Char('\'') + s.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
    case kSqlInt:
        return QString::number(CvtInt(value));
    case kSqlLong:
        return QString::number(CvtLng(value));
    case kSqlDouble: {
        const double d = CvtDbl(value);
        return std::isfinite(d) ? DoubleText(d) : QStringLiteral("NULL");
    }
    case kSqlDate:
        return dateOrNull([&] { return QLatin1Char('#') + ymd() + QLatin1Char('#'); });
    case kSqlOraDate:
        return dateOrNull([&] { return QStringLiteral("to_date('") + ymd() + QStringLiteral("','yyyy/mm/dd')"); });
    case kSqlQuotedDate:
        return dateOrNull([&] { return QLatin1Char('\'') + ymd() + QLatin1Char('\''); });
    case kSqlTime:
        return dateOrNull([&] { return QStringLiteral("'2000/01/01 ") + timeOfValue() + QLatin1Char('\''); });
    case kSqlOraDateTime:
        return dateOrNull([&] {
            return QStringLiteral("to_date('") + ymd() + QLatin1Char(' ') + timeOfValue() +
                   QStringLiteral("','yyyy/mm/dd hh24:mi:ss')");
        });
    default:
        return QString();
    }
}

Variant cBase::CvtSQLEx(const Variant& value, int code) const
{
    if (CvtStr(value).isEmpty())
        return Variant::null();
    switch (code) {
    case kSqlText:
        return Variant(CvtStr(value));
    case kSqlInt:
        return Variant(CvtInt(value));
    case kSqlLong:
        return Variant(CvtLng(value));
    case kSqlDouble:
        return Variant(CvtDbl(value));
    case kSqlDate:
    case kSqlOraDate:
    case kSqlQuotedDate:
    case kSqlTime:
        if (equalsZero(value) || !textIsDate(value))
            return Variant::null();
        return Variant::date(CvtDate(value));
    default:
        return Variant();
    }
}

Variant cBase::CvtMdb(const Variant& value) const
{
    // Only a value without text is blank here: blanks are text (Null stays Null).
    if (value.isEmpty() || value.isNull() || (value.isString() && value.stringValue().isEmpty()))
        return Variant::null();
    double v;
    if (variantNumber(value, &v) && v == 0.0)
        return Variant::null();
    return value;
}

// ---------------------------------------------------------------------------------------------

QString DoubleText(double value)
{
    if (value == 0.0 || !std::isfinite(value))
        return std::isfinite(value) ? QStringLiteral("0") : QString::number(value);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15G", value);
    QString s = QString::fromLatin1(buf);
    // printf writes the exponent with at least two digits and a sign, as wanted ("1E-05").
    return s;
}

QString FormatNumber(double value, const QString& pattern)
{
    if (!std::isfinite(value))
        return QString::number(value);
    const qsizetype point = pattern.indexOf(QLatin1Char('.'));
    const QString intPat = point < 0 ? pattern : pattern.left(point);
    const QString fracPat = point < 0 ? QString() : pattern.mid(point + 1);
    const int minInt = int(intPat.count(QLatin1Char('0')));
    const bool group = intPat.contains(QLatin1Char(','));
    const int minFrac = int(fracPat.count(QLatin1Char('0')));
    const int maxFrac = minFrac + int(fracPat.count(QLatin1Char('#')));

    // The decimal digits of the value as the run time sees it (15 significant digits),
    // rounded half away from zero at maxFrac decimals.
    const bool negative = value < 0;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    QString mant = QString::fromLatin1(buf, 16).remove(QLatin1Char('.'));   // 15 digits
    const int exp10 = std::atoi(buf + 17);
    // Digits as an integer string scaled by 10^maxFrac: position of the decimal point.
    int pointPos = exp10 + 1;                                // digits before the point in mant
    QString digits = mant;
    if (pointPos < 0) {
        digits = QString(-pointPos, QLatin1Char('0')) + digits;
        pointPos = 0;
    }
    const int keep = pointPos + maxFrac;                     // digits kept
    if (digits.size() < keep)
        digits += QString(keep - digits.size(), QLatin1Char('0'));
    const bool roundUp = keep < digits.size() && digits[keep].unicode() >= '5';
    digits = digits.left(keep);
    if (roundUp) {
        int i = keep - 1;
        for (; i >= 0; --i) {
            if (digits[i] == QLatin1Char('9')) {
                digits[i] = QLatin1Char('0');
            } else {
                digits[i] = QChar(digits[i].unicode() + 1);
                break;
            }
        }
        if (i < 0) {
            digits.prepend(QLatin1Char('1'));
            ++pointPos;
        }
    }
    QString intDigits = digits.left(pointPos);
    QString fracDigits = digits.mid(pointPos);
    while (intDigits.size() > 1 && intDigits[0] == QLatin1Char('0'))
        intDigits.remove(0, 1);
    if (intDigits == QLatin1String("0"))
        intDigits.clear();
    if (intDigits.size() < minInt)
        intDigits = QString(minInt - intDigits.size(), QLatin1Char('0')) + intDigits;
    while (fracDigits.size() > minFrac && fracDigits.endsWith(QLatin1Char('0')))
        fracDigits.chop(1);
    if (group) {
        for (qsizetype i = intDigits.size() - 3; i > 0; i -= 3)
            intDigits.insert(i, QLatin1Char(','));
    }
    QString out = intDigits;
    if (point >= 0 && (!fracDigits.isEmpty() || minFrac > 0))
        out += QLatin1Char('.') + fracDigits;
    else if (point >= 0 && maxFrac > 0 && fracDigits.isEmpty())
        out += QLatin1Char('.');
    bool allZero = true;
    for (QChar c : std::as_const(out))
        if (c.isDigit() && c != QLatin1Char('0'))
            allZero = false;
    if (negative && !allZero)
        out.prepend(QLatin1Char('-'));
    return out;
}
