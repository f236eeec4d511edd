#include "platform/gui/NumberFormat.h"

#include <cmath>

namespace {
NumberFormatter& formatter()
{
    static NumberFormatter f;
    return f;
}

// Digit placeholders only: "0" forces a digit, "#" shows one when needed, "," groups thousands.
QString builtIn(double value, const QString& pattern)
{
    const qsizetype point = pattern.indexOf(QLatin1Char('.'));
    const QString intPart = point < 0 ? pattern : pattern.left(point);
    const QString fracPart = point < 0 ? QString() : pattern.mid(point + 1);
    const int decimals = int(fracPart.count(QLatin1Char('0')) + fracPart.count(QLatin1Char('#')));
    const int minInt = int(intPart.count(QLatin1Char('0')));
    const double scaled = std::round(std::fabs(value) * std::pow(10.0, decimals));   // half away from zero
    QString digits = QString::number(scaled, 'f', 0);
    while (digits.size() <= decimals)
        digits.prepend(QLatin1Char('0'));
    QString whole = digits.left(digits.size() - decimals);
    QString frac = digits.right(decimals);
    if (whole == QLatin1String("0") && minInt == 0)
        whole.clear();
    while (whole.size() < minInt)
        whole.prepend(QLatin1Char('0'));
    if (intPart.contains(QLatin1Char(',')))
        for (qsizetype i = whole.size() - 3; i > 0; i -= 3)
            whole.insert(i, QLatin1Char(','));
    QString out = whole;
    if (!fracPart.isEmpty())
        out += QLatin1Char('.') + frac;
    if (value < 0 && scaled != 0)
        out.prepend(QLatin1Char('-'));
    return out;
}
}  // namespace

void SetNumberFormatter(NumberFormatter f) { formatter() = std::move(f); }

QString FormatNumberText(double value, const QString& pattern)
{
    if (pattern.isEmpty())
        return QString::number(value, 'g', 15);
    return formatter() ? formatter()(value, pattern) : builtIn(value, pattern);
}
