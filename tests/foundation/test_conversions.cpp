// Forgiving conversions, SQL literals and the number formats shared by the windows and the engine.
#include "foundation/cBase.h"

#include <QDate>
#include <cmath>
#include <gtest/gtest.h>

namespace {

const cBase b;
const int thisYear = QDate::currentDate().year();

Variant dateVar(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0)
{
    return Variant::date(DateTimeSerial(QDateTime(QDate(y, m, d), QTime(hh, mm, ss))));
}

TEST(ConversionTest, BlankAndDataRules)
{
    EXPECT_FALSE(b.IsData(Variant()));
    EXPECT_FALSE(b.IsData(Variant::null()));
    EXPECT_TRUE(b.IsData(Variant("")));
    EXPECT_EQ(QString(), b.CvtStr(Variant::null()));
    EXPECT_EQ(QStringLiteral("a b"), b.CvtStr(Variant("  a b  ")));
    EXPECT_EQ(QStringLiteral("a"), b.CvtStr(Variant(QStringLiteral("\u3000a\u3000"))));
    EXPECT_EQ(0, b.CvtInt(Variant::null()));
    EXPECT_EQ(0, b.CvtInt(Variant("")));
}

TEST(ConversionTest, WholeNumbersRoundHalfToEvenAndStayInRange)
{
    struct Case { Variant v; int16_t i; int32_t l; };
    const Case cases[] = {
        {Variant(12.5), 12, 12},
        {Variant(13.5), 14, 14},
        {Variant(-2.5), -2, -2},
        {Variant("  2.5 "), 2, 2},
        {Variant("1,234"), 1234, 1234},
        {Variant("1e3"), 1000, 1000},
        {Variant("-7"), -7, -7},
        {Variant(".5"), 0, 0},
        {Variant("１２"), 12, 12},
        {Variant(70000), 0, 70000},
        {Variant(32767.4), 32767, 32767},
        {Variant(3e10), 0, 0},
        {Variant(true), -1, -1},
        {Variant("abc"), 0, 0},
        {Variant("12abc"), 0, 0},
        {dateVar(2003, 4, 5), 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.i, b.CvtInt(c.v)) << b.CvtStr(c.v).toStdString();
        EXPECT_EQ(c.l, b.CvtLng(c.v)) << b.CvtStr(c.v).toStdString();
    }
    EXPECT_DOUBLE_EQ(-0.25, b.CvtDbl(Variant(" -0.25 ")));
    EXPECT_DOUBLE_EQ(0.0, b.CvtDbl(Variant("x")));
}

TEST(ConversionTest, TextOfValues)
{
    struct Case { Variant v; const char* text; };
    const Case cases[] = {
        {Variant(0.5), "0.5"},
        {Variant(1.0 / 3.0), "0.333333333333333"},
        {Variant(-12.0), "-12"},
        {Variant(0.0001), "0.0001"},
        {Variant(0.00001), "1E-05"},
        {Variant(123456789012345.0), "123456789012345"},
        {Variant(1234567890123456.0), "1.23456789012346E+15"},
        {Variant(int16_t(-5)), "-5"},
        {Variant(true), "True"},
        {dateVar(2003, 4, 5), "2003/04/05"},
        {dateVar(2003, 4, 5, 9, 8, 7), "2003/04/05 9:08:07"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QString::fromUtf8(c.text), b.CvtStr(c.v));
}

TEST(ConversionTest, LenientDateReader)
{
    struct Case { const char* text; QDate date; };
    const Case cases[] = {
        {"0405", QDate(thisYear, 4, 5)},
        {"04/05", QDate(thisYear, 4, 5)},
        {"030405", QDate(2003, 4, 5)},
        {"990405", QDate(1999, 4, 5)},
        {"03/04/05", QDate(2003, 4, 5)},
        {"20030405", QDate(2003, 4, 5)},
        {"2003/04/05", QDate(2003, 4, 5)},
        {"2003/4/5", QDate(2003, 4, 5)},
        {"2003-04-05 10:20:30", QDate(2003, 4, 5)},
        {"2003年4月5日", QDate(2003, 4, 5)},
        {"04x05", QDate()},
        {"2003045", QDate()},
        {"abcdefgh", QDate()},
        {"20031345", QDate()},
    };
    for (const Case& c : cases) {
        const double serial = b.CvtDate(Variant(c.text));
        if (c.date.isValid())
            EXPECT_EQ(c.date, SerialDate(serial)) << c.text;
        else
            EXPECT_EQ(0.0, serial) << c.text;
    }
    EXPECT_EQ(QDate(2003, 4, 5), SerialDate(b.CvtDate(dateVar(2003, 4, 5, 10, 0, 0))));
}

// The time reader gives the time of day alone, from a date value as from its text.
TEST(ConversionTest, TimeOfDay)
{
    struct Case { Variant v; double serial; };
    const Case cases[] = {
        {dateVar(2003, 4, 5, 18, 0, 0), 0.75},
        {Variant("2003/04/05 18:00:00"), 0.75},
        {Variant("2003/04/05 10:20:30"), (10 * 3600 + 20 * 60 + 30) / 86400.0},
        {dateVar(2003, 4, 5), 0.0},
        {dateVar(1899, 12, 30, 6, 0, 0), 0.25},
        {Variant("nonsense"), 0.0},
        {Variant(), 0.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(c.serial, b.CvtTime(c.v)) << b.CvtStr(c.v).toStdString();
}

TEST(SqlLiteralTest, LiteralsByTypeCode)
{
    struct Case { Variant v; int code; const char* literal; };
    const Case cases[] = {
        {Variant("O'Brien"), 100, "'O''Brien'"},
        {Variant("  abc  "), 100, "'abc'"},
        {Variant("''"), 100, "''''''"},
        {Variant(QString::fromUtf8("a\0b", 3)), 100, "'ab'"},
        {Variant(), 100, "NULL"},
        {Variant::null(), 201, "NULL"},
        {Variant("   "), 100, "NULL"},
        {Variant("   "), 300, "NULL"},
        {Variant("x"), 200, "0"},
        {Variant(12.5), 200, "12"},
        {Variant(13.5), 200, "14"},
        {Variant(70000), 200, "0"},
        {Variant(70000), 201, "70000"},
        {Variant(0.5), 202, "0.5"},
        {Variant(1.0 / 3.0), 202, "0.333333333333333"},
        {Variant(-1.5e-7), 202, "-1.5E-07"},
        {Variant(std::nan("")), 202, "NULL"},
        {Variant(HUGE_VAL), 202, "NULL"},
        {Variant(true), 201, "-1"},
        {Variant("2003/4/5"), 300, "#2003/04/05#"},
        {dateVar(2003, 4, 5, 13, 14, 15), 300, "#2003/04/05#"},
        {Variant("0"), 300, "NULL"},
        {Variant(0), 300, "NULL"},
        {Variant("20030405"), 300, "NULL"},
        {Variant("2003/4/5"), 400, "to_date('2003/04/05','yyyy/mm/dd')"},
        {Variant("2003/4/5"), 500, "'2003/04/05'"},
        {Variant("2003/4/5 13:14:15"), 600, "'2000/01/01 13:14:15'"},
        {Variant("2003/4/5 13:14:15"), 700, "to_date('2003/04/05 13:14:15','yyyy/mm/dd hh24:mi:ss')"},
        {Variant("abc"), 999, ""},
        {Variant(), 999, "NULL"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QString::fromUtf8(c.literal), b.CvtSQL(c.v, c.code)) << c.literal;
}

TEST(SqlLiteralTest, TypedValuesForBinding)
{
    EXPECT_TRUE(b.CvtSQLEx(Variant(" "), 100).isNull());
    EXPECT_EQ(Variant(QStringLiteral("a")), b.CvtSQLEx(Variant(" a "), 100));
    EXPECT_EQ(Variant(int16_t(14)), b.CvtSQLEx(Variant(13.5), 200));
    EXPECT_TRUE(b.CvtSQLEx(Variant("0"), 300).isNull());
    EXPECT_EQ(VarType::Date, b.CvtSQLEx(Variant("2003/4/5"), 300).type());
    EXPECT_TRUE(b.CvtSQLEx(Variant("2003/4/5"), 700).isEmpty());
    // Null for a value without text or a numeric 0; blanks are text and stay.
    const Variant kept[] = {Variant("x"), Variant(" "), Variant(QStringLiteral("\u3000")), Variant(2), Variant(true)};
    for (const Variant& v : kept)
        EXPECT_EQ(v, b.CvtMdb(v)) << v.stringValue().toStdString();
    const Variant nulled[] = {Variant(0), Variant(0.0), Variant(""), Variant(" 0 "), Variant(), Variant::null()};
    for (const Variant& v : nulled)
        EXPECT_TRUE(b.CvtMdb(v).isNull()) << v.stringValue().toStdString();
}

TEST(NumberFormatTest, PatternsRoundHalfAwayFromZeroOnTheDecimalValue)
{
    struct Case { double v; const char* pattern; const char* text; };
    const Case cases[] = {
        {1, "0000", "0001"},
        {12345, "0000", "12345"},
        {85.254, "0.00", "85.25"},
        {2.675, "0.00", "2.68"},
        {0.125, "0.00", "0.13"},
        {45.5, "000.00", "045.50"},
        {1045, "000.00", "1045.00"},
        {7, "000", "007"},
        {1234567, "#,###,##0", "1,234,567"},
        {0, "#,###,##0", "0"},
        {999.5, "#,###,##0", "1,000"},
        {100.0 / 3.0, "##0.0", "33.3"},
        {0, "##0.0", "0.0"},
        {100, "##0.0", "100.0"},
        {99.96, "##0.0", "100.0"},
        {-1.005, "0.00", "-1.01"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QString::fromUtf8(c.text), FormatNumber(c.v, QString::fromUtf8(c.pattern))) << c.pattern << " " << c.v;
}

} // namespace
