// Text procedures of cBase: insertion, NUL cuts, CP932 byte lengths and cuts, padding, width
// conversion, counting, searching, dates and the message helpers.
#include "foundation/cBase.h"
#include "tests/support/ScriptedMsgBox.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const cBase b;

QString S(const char16_t* text, qsizetype size = -1)
{
    return size < 0 ? QString::fromUtf16(text) : QString::fromUtf16(text, size);
}

TEST(StringTest, InsertStrAndJunkChars)
{
    struct Case { int32_t n; const char* expected; };
    const Case cases[] = {{0, "Xabc"}, {1, "aXbc"}, {3, "abcX"}, {10, "abcX"}, {-1, "abc"}};
    for (const Case& c : cases)
        EXPECT_EQ(QString::fromUtf8(c.expected), b.InsertStr(c.n, QStringLiteral("abc"), QStringLiteral("X"))) << c.n;

    EXPECT_EQ(QStringLiteral("a_b_c"), b.CvtJunkChar(QStringLiteral("a/b\\c"), QStringLiteral("_+"), QStringLiteral("/\\")));
    EXPECT_EQ(QStringLiteral("abc"), b.CvtJunkChar(QStringLiteral("a/b/c"), QString(), QStringLiteral("/")));
}

TEST(StringTest, NullTrimCutsPlatformBuffers)
{
    QString buffer = S(u"abc\0  \0 ", 8);
    EXPECT_EQ(QStringLiteral("abc"), b.NullTrim(buffer, false));
    EXPECT_EQ(QStringLiteral("abc"), buffer);

    // Entries separated by single NULs, ended by two: the first separator becomes a blank.
    QString list = S(u" a\0b\0c\0\0junk", 12);
    EXPECT_EQ(S(u"a b\0c", 5), b.NullTrim(list, true));
    EXPECT_EQ(S(u" a b\0c", 6), list);

    QString plain = QStringLiteral("  x  ");
    EXPECT_EQ(QStringLiteral("x"), b.NullTrim(plain, false));
}

TEST(StringTest, LengthsInCharactersAndAnsiBytes)
{
    const QString mixed = QStringLiteral("ＡＢＣ12");
    EXPECT_EQ(8, b.LenANSI(mixed));
    EXPECT_EQ(5, b.StrLen(mixed));
    EXPECT_EQ(10, b.StrLenB(mixed));
    EXPECT_EQ(2, b.LenANSI(QStringLiteral("ｱｲ")));          // half-width katakana: one byte each
    EXPECT_EQ(3, b.LenANSI(QStringLiteral(" a\\b ")));       // trimmed; the backslash is one byte
    EXPECT_EQ(0, b.LenANSI(Variant::null()));
    EXPECT_EQ(0, b.StrLen(Variant::null()));
    EXPECT_EQ(0, b.StrLen(QStringLiteral("   ")));
}

TEST(StringTest, PickStringCutsBytesWithoutSplittingACharacter)
{
    struct Case { const char* text; int16_t start, length; const char* expected; };
    const Case cases[] = {
        {"abcdef", 1, 3, "abc"},
        {"abcdef", 0, 3, "abc"},        // a start below 1 counts as 1
        {"abcdef", -5, 2, "ab"},
        {"abcdef", 2, -1, ""},          // a negative length counts as 0
        {"abcdef", 4, 100, "def"},      // a length past the end reaches the end
        {"abcdef", 3, 5, "cdef"},
        {"abc", 5, 2, ""},
        {"", 1, 5, ""},
        {"あいう", 1, 3, "あ"},          // the lead byte of い alone is left out
        {"あいう", 2, 4, "い"},          // so is the trail byte of あ
        {"aあb", 2, 2, "あ"},
        {"aあb", 3, 2, "b"},
        {"ｱｲｳ", 2, 1, "ｲ"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(QString::fromUtf8(c.expected), b.PickString(QString::fromUtf8(c.text), c.start, c.length))
            << c.text << " " << c.start << " " << c.length;
    }
    // Report names are cut to their first 50 bytes: 30 kanji (60 bytes) keep 25.
    const QString name = QString(30, QChar(0x5E33));
    EXPECT_EQ(QString(25, QChar(0x5E33)), b.PickString(name, 1, 50));
    EXPECT_EQ(QStringLiteral("a") + QString(24, QChar(0x5E33)), b.PickString(QStringLiteral("a") + name, 1, 50));
    EXPECT_EQ(QStringLiteral("bc"), b.PickString2(QStringLiteral("abc"), 2, 5));
}

TEST(StringTest, EditStringPadsToBytes)
{
    struct Case { const char* text; int16_t width; const char* pad; int32_t align; const char* expected; };
    const Case cases[] = {
        {"ab", 5, " ", 0, "ab   "},
        {"ab", 5, "", 1, "   ab"},          // an empty pad character is a blank
        {"ab", 5, "-", 2, "-ab--"},         // the smaller half in front
        {"ab", 5, " ", 3, ""},              // an unknown alignment
        {"abcdef", 4, " ", 0, "abcd"},
        {"あいう", 5, "-", 0, "あい-"},      // cut to 4 bytes, one byte of padding
        {"ab", 6, "＊", 0, "ab＊＊"},        // a double-byte pad counts two bytes
        {"ab", 5, "＊", 0, "ab＊ "},         // an odd gap ends in one blank
        {"ab", 5, "＊", 1, "＊ ab"},
        {"ab", 7, "＊", 2, "＊ab＊ "},
        {"ab", 2, "-", 0, "ab"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(QString::fromUtf8(c.expected),
                  b.EditString(QString::fromUtf8(c.text), c.width, QString::fromUtf8(c.pad), c.align))
            << c.text << " " << c.width << " " << c.align;
    }
}

TEST(StringTest, FixStrFormatAlignsInWidth)
{
    EXPECT_EQ(QStringLiteral("   ab"), b.FixStrFormat(QStringLiteral("ab"), 5, false));
    EXPECT_EQ(QStringLiteral("ab   "), b.FixStrFormat(QStringLiteral("ab"), 5, true));
    EXPECT_EQ(QStringLiteral("abcdef"), b.FixStrFormat(QStringLiteral("abcdef"), 3, false));
}

TEST(StringTest, WideAndNarrowForms)
{
    EXPECT_EQ(QStringLiteral("ａｂｃ　　"), b.CnvWide(QStringLiteral("abc"), 5, true));
    EXPECT_EQ(QStringLiteral("ａｂｃ    "), b.CnvWide(QStringLiteral("abc"), 5, false));
    EXPECT_EQ(QStringLiteral("ａｂｃ"), b.CnvWide(QStringLiteral("abcdef"), 3, false));
    EXPECT_EQ(QStringLiteral("Ａ　１￥"), b.CnvWide(QStringLiteral("A 1\\"), 0, false));
    EXPECT_EQ(QStringLiteral("ガギパヴアー"), b.CnvWide(QStringLiteral("ｶﾞｷﾞﾊﾟｳﾞｱｰ"), 0, false));
    EXPECT_EQ(QStringLiteral("AB ｶﾞﾊﾟ漢"), b.CnvNarrow(QStringLiteral("ＡＢ　ガパ漢"), 0));
    EXPECT_EQ(QStringLiteral("AB    "), b.CnvNarrow(QStringLiteral("ＡＢ"), 4));
    EXPECT_EQ(QString(), b.CnvNarrow(Variant::null(), 0));
    EXPECT_EQ(QString(), b.CnvWide(Variant(), 0, true));

    // Every printable ASCII character and every half-width katakana comes back from its wide form.
    QString ascii;
    for (char16_t c = 0x21; c < 0x7F; ++c)
        ascii += QChar(c);
    EXPECT_EQ(ascii, b.CnvNarrow(b.CnvWide(ascii, 0, false), 0));
    const QString kana = QStringLiteral("｡｢｣､･ｦｧｨｩｪｫｬｭｮｯｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝﾞﾟ"
                                        "ｶﾞｺﾞｻﾞｿﾞﾀﾞﾄﾞﾊﾞﾎﾞﾊﾟﾎﾟｳﾞ");
    EXPECT_EQ(kana, b.CnvNarrow(b.CnvWide(kana, 0, false), 0));
}

TEST(StringTest, IsDateExChecksTheCalendar)
{
    struct Case { const char* text; bool expected; };
    const Case cases[] = {
        {"2000/2/29", true},  {"1900/2/29", false}, {"2004/02/29", true}, {"2003/2/29", false},
        {"2003/4/30", true},  {"2003/4/31", false}, {"2003/12/31", true}, {"2003/13/1", false},
        {"2003/0/1", false},  {"2003/1/0", false},  {"2003/1/1/1", false}, {"2003/1", false},
        {"2003//1", false},   {"2003/a/1", false},  {"２００３/1/1", false}, {"", false},
        {"99999999999999999999/1/1", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, b.IsDateEx(QString::fromUtf8(c.text))) << c.text;
}

TEST(StringTest, BackwardSearchAndCounts)
{
    struct Find { const char* text; const char* find; int compare; int32_t expected; };
    const Find finds[] = {
        {"abcabc", "bc", 0, 5}, {"abcabc", "BC", 1, 5}, {"abcabc", "BC", 0, 0}, {"abcabc", "c", 0, 6},
        {"abcabc", "abcabc", 0, 1}, {"abc", "x", 0, 0}, {"abc", "", 0, 0}, {"a", "abc", 0, 0},
        {"ああいあ", "あ", 0, 4},
    };
    for (const Find& f : finds) {
        EXPECT_EQ(f.expected, b.InStrR(0, QString::fromUtf8(f.text), QString::fromUtf8(f.find), f.compare)) << f.text << " " << f.find;
        EXPECT_EQ(f.expected, b.InStrRB(0, QString::fromUtf8(f.text), QString::fromUtf8(f.find), f.compare));
    }

    struct Count { int32_t start; const char* text; const char* find; int compare; int32_t chars, bytes; };
    const Count counts[] = {
        {1, "aaaa", "aa", 0, 2, 2},      // occurrences do not overlap
        {3, "aaaa", "aa", 0, 1, 1},
        {4, "aaaa", "aa", 0, 0, 1},      // byte 4 lies in the second character
        {1, "AbAB", "ab", 1, 2, 2},
        {1, "AbAB", "ab", 0, 0, 0},
        {5, "abc", "a", 0, 0, 0},
        {1, "abc", "", 0, 0, 0},
        {0, "abc", "a", 0, -1, -1},      // a start below 1 is an error
    };
    for (const Count& c : counts) {
        EXPECT_EQ(c.chars, b.StrCount(c.start, QString::fromUtf8(c.text), QString::fromUtf8(c.find), c.compare)) << c.text << " " << c.start;
        EXPECT_EQ(c.bytes, b.StrCountB(c.start, QString::fromUtf8(c.text), QString::fromUtf8(c.find), c.compare)) << c.text << " " << c.start;
    }
}

TEST(StringTest, MonthBoundsAndVersionText)
{
    EXPECT_EQ(QDate(2024, 2, 1), b.FOMonth(QDate(2024, 2, 15)));
    EXPECT_EQ(QDate(2024, 2, 29), b.EOMonth(QDate(2024, 2, 15)));
    EXPECT_EQ(QDate(2023, 2, 28), b.EOMonth(QDate(2023, 2, 1)));
    EXPECT_EQ(QDate(2023, 12, 31), b.EOMonth(QDate(2023, 12, 31)));
    EXPECT_FALSE(b.EOMonth(QDate()).isValid());

    EXPECT_EQ(QStringLiteral("Ver 2.00.00"), b.GetAppVersion(QStringLiteral("00")));
    EXPECT_EQ(QStringLiteral("Ver 2.0.0"), b.GetAppVersion(QStringLiteral("0")));
}

TEST(StringTest, PrintErrLogComposesItsLine)
{
    const QString line = b.PrintErrLog(QStringLiteral("Proc"), QStringLiteral("more"), 5, QStringLiteral("desc"));
    const QRegularExpression format(QStringLiteral("^\\[\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}:\\d{2}\\] << Proc >> 5:desc \\[more\\]$"));
    EXPECT_TRUE(format.match(line).hasMatch()) << line.toStdString();
}

TEST(StringTest, MsgBoxBeepBeepsThenAsks)
{
    int beeps = 0;
    auto previous = cBase::SetBeepHandler([&beeps] { ++beeps; });
    ScriptedMsgBox boxes;
    boxes.expect(QStringLiteral("確認"), vbYes, QStringLiteral("消しますか"));
    EXPECT_EQ(vbYes, b.MsgBoxBeep(QStringLiteral("消しますか"), vbYesNo + vbQuestion, QStringLiteral("確認")));
    EXPECT_EQ(1, beeps);
    ASSERT_EQ(1u, boxes.shown().size());
    EXPECT_EQ(vbYesNo + vbQuestion, boxes.shown()[0].style);
    cBase::SetBeepHandler(previous);
}

} // namespace
