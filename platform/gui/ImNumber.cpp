#include "platform/gui/ImNumber.h"

#include "platform/gui/NumberFormat.h"

#include <QRegularExpressionValidator>

namespace {
// Full-width digits, signs and point read as their half-width forms.
QString narrow(QString s)
{
    for (QChar& c : s) {
        const ushort u = c.unicode();
        if (u >= 0xFF10 && u <= 0xFF19)
            c = QChar(u - 0xFF10 + '0');
        else if (u == 0xFF0D || u == 0x2212)
            c = QLatin1Char('-');
        else if (u == 0xFF0E)
            c = QLatin1Char('.');
        else if (u == 0xFF0B)
            c = QLatin1Char('+');
    }
    return s;
}
}  // namespace

ImNumber::ImNumber(QWidget* parent) : ImEdit(QStringLiteral("imNumber"), parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[+\\-\\x{FF0B}\\x{FF0D}]?[0-9\\x{FF10}-\\x{FF19},]*([.\\x{FF0E}][0-9\\x{FF10}-\\x{FF19}]*)?")),
        this));
    showValue();
}

void ImNumber::setValue(double v)
{
    if (v == value_) {
        showValue();
        return;
    }
    value_ = v;
    showValue();
    emit Change();
}

void ImNumber::setDisplayFormat(const QString& f)
{
    displayFormat_ = f;
    showValue();
}

void ImNumber::setFormat(const QString& f)
{
    format_ = f;
    showValue();
}

void ImNumber::ClearControl()
{
    if (!isReadOnly())
        setValue(0);
}

void ImNumber::showValue()
{
    const QString text = hasFocus() ? (format_.isEmpty() ? QString::number(value_, 'g', 15) : FormatNumberText(value_, format_))
                                    : FormatNumberText(value_, displayFormat_);
    if (text != QLineEdit::text())
        QLineEdit::setText(text);
}

void ImNumber::focusInEvent(QFocusEvent* e)
{
    showValue();
    ImEdit::focusInEvent(e);
}

bool ImNumber::commit()
{
    QString typed = narrow(QLineEdit::text()).remove(QLatin1Char(',')).trimmed();
    double v = 0;
    if (!typed.isEmpty() && typed != QLatin1String("-") && typed != QLatin1String("+")) {
        bool ok = false;
        v = typed.toDouble(&ok);
        if (!ok) {
            showValue();
            return true;
        }
    }
    if (v >= min_ && v <= max_) {
        setValue(v);
        return true;
    }
    const double previous = value_;
    value_ = v;   // the handler sees the typed value and may bring it into range
    bool retry = false;
    emit InvalidRange(retry);
    if (!(value_ >= min_ && value_ <= max_)) {
        value_ = previous;
        if (retry)
            selectAll();   // the typed text stays for another try
        else
            showValue();
        return !retry;
    }
    showValue();
    return true;
}
