#pragma once
// Date values as the forms run time keeps them: days since 1899-12-30, the time of day as the
// fraction (negative serials count back, their fraction still being the time of day).
#include <QDate>
#include <QDateTime>
#include <QString>

double DateSerial(const QDate& date);
double DateTimeSerial(const QDateTime& dateTime);
QDate SerialDate(double serial);
QDateTime SerialDateTime(double serial);
// "yyyy/mm/dd", with " hh:mm:ss" when the serial has a time of day.
QString SerialText(double serial);
// Reads "yyyy/mm/dd", "yyyy-mm-dd", either with " hh:mm[:ss]"; false when it is not such a text.
bool ParseSerialText(const QString& text, double* serial);
