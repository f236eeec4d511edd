#include "platform/core/DateSerial.h"

#include <QRegularExpression>
#include <cmath>

namespace {
const QDate kZeroDate(1899, 12, 30);
}

double DateSerial(const QDate& date)
{
    return double(kZeroDate.daysTo(date));
}

double DateTimeSerial(const QDateTime& dateTime)
{
    const double days = DateSerial(dateTime.date());
    const double fraction = dateTime.time().msecsSinceStartOfDay() / 86400000.0;
    return days < 0 ? days - fraction : days + fraction;
}

QDate SerialDate(double serial)
{
    return kZeroDate.addDays(qint64(std::trunc(serial)));
}

QDateTime SerialDateTime(double serial)
{
    const double days = std::trunc(serial);
    const double fraction = std::fabs(serial - days);
    const int msecs = int(std::llround(fraction * 86400000.0));
    QDate date = kZeroDate.addDays(qint64(days));
    if (msecs >= 86400000)
        return QDateTime(date.addDays(1), QTime(0, 0));
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(msecs));
}

QString SerialText(double serial)
{
    const QDateTime dt = SerialDateTime(serial);
    if (dt.time() == QTime(0, 0))
        return dt.date().toString(QStringLiteral("yyyy/MM/dd"));
    return dt.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

bool ParseSerialText(const QString& text, double* serial)
{
    static const QRegularExpression re(QStringLiteral(
        "^\\s*(\\d{4})[/-](\\d{1,2})[/-](\\d{1,2})(?:[ T](\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return false;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!date.isValid())
        return false;
    QTime time(0, 0);
    if (m.capturedLength(4)) {
        time = QTime(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
        if (!time.isValid())
            return false;
    }
    *serial = DateTimeSerial(QDateTime(date, time));
    return true;
}
