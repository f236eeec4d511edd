#pragma once
// Forgiving conversions of variant values, SQL literals, and the general text procedures.
// Stateless: any number of instances behave alike.
#include "platform/core/DateSerial.h"
#include "platform/core/Variant.h"

#include <QDate>
#include <QString>
#include <cstdint>
#include <functional>

// SQL literal type codes.
enum SqlType { kSqlText = 100, kSqlInt = 200, kSqlLong = 201, kSqlDouble = 202, kSqlDate = 300,
               kSqlOraDate = 400, kSqlQuotedDate = 500, kSqlTime = 600, kSqlOraDateTime = 700 };

class cBase {
public:
    // --- conversions ---
    bool IsData(const Variant& value) const;
    QString CvtStr(const Variant& value) const;
    int16_t CvtInt(const Variant& value) const;
    int32_t CvtLng(const Variant& value) const;
    double CvtDbl(const Variant& value) const;
    double CvtDate(const Variant& value) const;            // a date serial (0 = the zero date)
    double CvtTime(const Variant& value) const;            // the time of day (a number is read as it is)
    QString CvtSQL(const Variant& value, int code) const;
    Variant CvtSQLEx(const Variant& value, int code) const;
    Variant CvtMdb(const Variant& value) const;            // Null for no text or a numeric 0

    // --- text procedures ---
    QString CvtJunkChar(QString text, const QString& replacement, const QString& charSet) const;
    QString InsertStr(int32_t n, const QString& text, const QString& insertion) const;
    int32_t MsgBoxBeep(const QString& prompt, int32_t buttons, const QString& title) const;
    // The diagnostic line "[time] << procedure >> number:description [extra]"; written nowhere.
    QString PrintErrLog(const QString& procedure, const QString& extra, int32_t errNumber = 0,
                        const QString& errDescription = QString()) const;
    QString NullTrim(QString& text, bool several) const;
    // "Ver " major "." minor "." revision of the program's build version, minor and revision
    // written with the number format ("00" gives two digits).
    QString GetAppVersion(const QString& numberFormat) const;
    QDate FOMonth(const QDate& date) const;
    QDate EOMonth(const QDate& date) const;
    int32_t StrLen(const Variant& value) const;
    int32_t StrLenB(const Variant& value) const;
    QString FixStrFormat(QString text, int16_t width, bool left) const;
    int32_t InStrR(int32_t ignored, const QString& text, const QString& find, int compare) const;
    int32_t InStrRB(int32_t ignored, const QString& text, const QString& find, int compare) const;
    int32_t StrCount(int32_t start, const QString& text, const QString& find, int compare) const;
    int32_t StrCountB(int32_t start, const QString& text, const QString& find, int compare) const;
    bool IsDateEx(const QString& text) const;
    int16_t LenANSI(const Variant& value) const;
    QString CnvWide(const Variant& value, int16_t width, bool fullWidthPadding) const;
    QString CnvNarrow(const Variant& value, int16_t width) const;
    QString EditString(const Variant& value, int16_t width, const QString& pad, int32_t alignment) const;
    QString PickString(const QString& text, int16_t start, int16_t length) const;
    QString PickString2(const QString& text, int32_t start, int16_t length) const;

    // The system beep that MsgBoxBeep sounds before its box; the GUI layer may install its own.
    // Returns the previous handler; an empty handler restores the default (BEL on stderr).
    static std::function<void()> SetBeepHandler(std::function<void()> handler);

private:
    bool IsDigits(const QString& text) const;
};

// Reads a text as a number the way the forms run time does (sign, grouping, point, exponent,
// blanks around it); false when it is not a number.
bool ReadNumberText(const QString& text, double* value);
// Reads a text as a date (and time of day) the way the Japanese system does: y/m/d, m/d of the
// current year, y年m月d日, with or without a time; a time alone is a time of the zero date.
bool ReadDateText(const QString& text, double* serial);
// The text trimmed of blanks (half-width and full-width) at both ends.
QString TrimBlanks(const QString& text);

// Number texts shared by every window and the engine.
// A number written with a VB-style format ("0000", "0.00", "000.00", "#,###,##0"); halves are
// rounded away from zero on the decimal value, as the original's Format does.
QString FormatNumber(double value, const QString& pattern);
// The text form of a double: at most 15 significant digits, no trailing zeros, exponent form
// for very large or small magnitudes ("0.5", "1E-05", "1.23456789012346E+15").
QString DoubleText(double value);
