// INI file access: CP932 files with Windows profile rules, quoted values, the comment cut, the
// 511-byte value limit and writing a default back for a missing key.
#include "foundation/cIni.h"
#include "platform/core/AnsiText.h"
#include "platform/core/AppInfo.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class IniTest : public ::testing::Test {
protected:
    void SetUp() override { ini.setPro_IniPath(dir.filePath(QStringLiteral("Panelo2.ini"))); }
    void write(const QString& text)
    {
        QFile f(ini.Pro_IniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ToAnsi(text));
    }
    QByteArray bytes() const
    {
        QFile f(ini.Pro_IniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
    cIni ini;
};

TEST_F(IniTest, DefaultPathIsBesideTheProgram)
{
    EXPECT_EQ(AppPath() + QStringLiteral("/Setting.ini"), cIni().Pro_IniPath());
}

TEST_F(IniTest, WrittenValueIsQuotedCp932AndReadsBack)
{
    ini.SetIni(QStringLiteral("ReportNames"), QStringLiteral("ReportName01"), QStringLiteral("  画面印刷  "));
    EXPECT_EQ("[ReportNames]\r\nReportName01=\"" + ToAnsi(QStringLiteral("画面印刷")) + "\"\r\n", bytes());
    EXPECT_EQ(QStringLiteral("画面印刷"), ini.GetIniStr(QStringLiteral("ReportNames"), QStringLiteral("ReportName01")));
}

TEST_F(IniTest, ReadingFollowsTheProfileRules)
{
    write(QStringLiteral("; a comment line\r\n[Other]\r\nKey=other\r\n[ReportNames]\r\n"
                         "ReportName01 = abc ; note\r\nreportname02=\"  quoted  \"\r\nReportName03='single'\r\n"
                         "ReportName04=\"unbalanced\r\nReportName05=\r\nReportName06=\"a;b\"\r\n"
                         "ReportName07=帳票;メモ\r\n[Last]\nunix=line ends"));
    struct Case { const char *section, *key, *expected; };
    const Case cases[] = {
        {"ReportNames", "ReportName01", "abc"},
        {"ReportNames", "ReportName02", "quoted"},      // names compare without regard to case
        {"reportnames", "REPORTNAME03", "single"},
        {"ReportNames", "ReportName04", "\"unbalanced"},
        {"ReportNames", "ReportName05", ""},
        {"ReportNames", "ReportName06", "a"},           // the comment cut also applies inside quotes
        {"ReportNames", "ReportName07", "帳票"},
        {"ReportNames", "Key", ""},                     // a key of another section
        {"Other", "Key", "other"},
        {"Last", "unix", "line ends"},
        {"Missing", "Key", ""},
        {"", "Key", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(QString::fromUtf8(c.expected), ini.GetIniStr(QString::fromUtf8(c.section), QString::fromUtf8(c.key)))
            << c.section << "/" << c.key;
    }
}

TEST_F(IniTest, MissingFileReadsEmptyWithoutCreatingIt)
{
    EXPECT_EQ(QString(), ini.GetIniStr(QStringLiteral("ReportNames"), QStringLiteral("ReportName01")));
    EXPECT_FALSE(QFileInfo::exists(ini.Pro_IniPath()));
    ini.setPro_IniPath(dir.filePath(QStringLiteral("no/such/folder.ini")));
    ini.SetIni(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v"));   // silent
    EXPECT_EQ(QString(), ini.GetIniStr(QStringLiteral("S"), QStringLiteral("k")));
}

TEST_F(IniTest, ReadingTheReportNamesLeavesTheFirstFreeKey)
{
    write(QStringLiteral("[ReportNames]\r\nReportName01=\"画面印刷\"\r\n"));
    QStringList names;
    for (int i = 1;; ++i) {
        const QString name = ini.GetSetIniStr(QStringLiteral("ReportNames"),
                                              QStringLiteral("ReportName%1").arg(i, 2, 10, QLatin1Char('0')), QString());
        if (name.isEmpty())
            break;
        names.append(name);
    }
    EXPECT_EQ(QStringList{QStringLiteral("画面印刷")}, names);
    EXPECT_EQ("[ReportNames]\r\nReportName01=\"" + ToAnsi(QStringLiteral("画面印刷")) + "\"\r\nReportName02=\"\"\r\n", bytes());
    EXPECT_EQ(QString(), ini.GetSetIniStr(QStringLiteral("ReportNames"), QStringLiteral("ReportName02"), QString()));
    EXPECT_EQ(QStringLiteral("def"), ini.GetSetIniStr(QStringLiteral("New"), QStringLiteral("k"), QStringLiteral("def")));
    EXPECT_EQ(QStringLiteral("def"), ini.GetIniStr(QStringLiteral("New"), QStringLiteral("k")));
}

TEST_F(IniTest, ValuesAreCutTo511BytesWithoutSplittingACharacter)
{
    struct Case { QString value, expected; };
    const QChar kanji(0x6F22);
    const Case cases[] = {
        {QString(600, QLatin1Char('a')), QString(511, QLatin1Char('a'))},
        {QStringLiteral("a") + QString(300, kanji), QStringLiteral("a") + QString(255, kanji)},
        {QString(300, kanji), QString(255, kanji)},          // 511 bytes would split the 256th
        {QString(511, QLatin1Char('b')), QString(511, QLatin1Char('b'))},
    };
    for (const Case& c : cases) {
        ini.SetIni(QStringLiteral("S"), QStringLiteral("k"), c.value);
        EXPECT_EQ(c.expected, ini.GetIniStr(QStringLiteral("S"), QStringLiteral("k"))) << c.value.size();
    }
}

TEST_F(IniTest, WritingKeepsEveryOtherLine)
{
    write(QStringLiteral("; keep me\r\n[A]\r\nx=1\r\n\r\n[B]\r\ny=2"));
    ini.SetIni(QStringLiteral("a"), QStringLiteral("z"), QStringLiteral("3"));       // a new key ends its section
    ini.SetIni(QStringLiteral("B"), QStringLiteral("Y"), 9);                          // replaced in place
    ini.SetIni(QStringLiteral("C"), QStringLiteral("k"), Variant::null());            // a new section at the end
    EXPECT_EQ(QByteArray("; keep me\r\n[A]\r\nx=1\r\nz=\"3\"\r\n\r\n[B]\r\nY=\"9\"\r\n[C]\r\nk=\"\"\r\n"), bytes());
}

} // namespace
