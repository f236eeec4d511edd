// The error log: one CP932 line per call, fixed-width names, CR LF; a failed write shows one box.
#include "foundation/ErrLog.h"
#include "foundation/Globals.h"
#include "foundation/cFile.h"
#include "platform/core/AppInfo.h"
#include "tests/support/DbFixture.h"
#include "tests/support/ScriptedMsgBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QByteArray logBytes(const DbFixture& fx)
{
    QFile f(fx.path(QStringLiteral("ErrLog.txt")));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(ErrLogTest, LineFormatAndBytes)
{
    DbFixture fx(false);
    SetErrLog(QStringLiteral("計算, 失敗"), QStringLiteral("frmTavo"), QStringLiteral("CreatePatern"));
    SetErrLog(QStringLiteral("two\r\nlines"), QString(20, QLatin1Char('m')), QString(30, QLatin1Char('p')));
    const QByteArray bytes = logBytes(fx);
    const QString text = fx.errLog();
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(4, lines.size());   // the second description holds a line break itself
    const QRegularExpression time(QStringLiteral("^\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}:\\d{2},"));
    EXPECT_TRUE(time.match(lines[0]).hasMatch()) << lines[0].toStdString();
    EXPECT_EQ(QStringLiteral("frmTavo             ,CreatePatern                  ,計算, 失敗"), lines[0].mid(20));
    EXPECT_EQ(QString(20, QLatin1Char('m')) + QLatin1Char(',') + QString(30, QLatin1Char('p')) +
                  QStringLiteral(",two"),
              lines[1].mid(20));
    EXPECT_EQ(QStringLiteral("lines"), lines[2]);
    // CP932: 計算 and 失敗 take two bytes a character; lines end in CR LF.
    EXPECT_TRUE(bytes.contains(QByteArray("\x8c\x76\x8e\x5a", 4)));
    EXPECT_TRUE(bytes.endsWith("\r\n"));
}

// Each failure shows one box with the run time's text of what failed, and writes nothing.
TEST(ErrLogTest, FailuresShowOneBoxWithTheRunTimeText)
{
    DbFixture fx(false);
    struct Case {
        const char* what;
        std::function<void()> arrange;
        QString module;
        const char16_t* text;
    };
    const Case cases[] = {
        {"a module name of 21 characters", [] {}, QString(21, QLatin1Char('m')), u"プロシージャの呼び出し、または引数が不正です。"},
        {"a missing folder", [&] { SetAppPath(fx.path(QStringLiteral("no/such/folder"))); }, QStringLiteral("m"),
         u"パスが見つかりません。"},
        {"a folder in place of the file", [&] { QDir(fx.dir()).mkdir(QStringLiteral("ErrLog.txt")); },
         QStringLiteral("m"), u"パス名が無効です。"},
        {"a full disk", [&] { QFile::link(QStringLiteral("/dev/full"), fx.path(QStringLiteral("ErrLog.txt"))); },
         QStringLiteral("m"), u"ディスクの空き容量が不足しています。"},
    };
    for (const Case& c : cases) {
        QFile::remove(fx.path(QStringLiteral("ErrLog.txt")));
        QDir(fx.dir()).rmdir(QStringLiteral("ErrLog.txt"));
        SetAppPath(fx.dir());
        c.arrange();
        ScriptedMsgBox boxes;
        boxes.expect(QStringLiteral("SetErrLog"), vbOK,
                     QStringLiteral("ファイルへの書込みに失敗しました。\r\n") + QString::fromUtf16(c.text));
        SetErrLog(QStringLiteral("x"), c.module, QStringLiteral("p"));
        ASSERT_EQ(1u, boxes.shown().size()) << c.what;
        EXPECT_EQ(QStringLiteral("ファイルへの書込みに失敗しました。\r\n") + QString::fromUtf16(c.text),
                  boxes.shown()[0].text) << c.what;
        EXPECT_EQ(vbCritical, boxes.shown()[0].style) << c.what;
        const QFileInfo log(fx.path(QStringLiteral("ErrLog.txt")));
        if (!log.isDir() && !log.isSymLink())
            EXPECT_TRUE(logBytes(fx).isEmpty()) << c.what;
    }
    SetAppPath(fx.dir());
}

TEST(MakeFullPathTest, JoinsWithExactlyOneSeparator)
{
    struct Case { const char* folder; const char* file; const char* path; };
    const Case cases[] = {
        {"/", "a.mdb", "/a.mdb"},
        {"/dir", "a.mdb", "/dir/a.mdb"},
        {" /dir ", " a.mdb ", "/dir/a.mdb"},
        {"", "a.mdb", "a.mdb"},
        {"/dir", "", "/dir"},
        {"/dir", "/a.mdb", "/dir//a.mdb"},
        {"", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QString::fromUtf8(c.path), gFile().MakeFullPath(QString::fromUtf8(c.folder), QString::fromUtf8(c.file)));
}

} // namespace
