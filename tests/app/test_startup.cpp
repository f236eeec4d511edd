// Start-up in a program folder built as the build builds it: a good start, a missing save
// database, a working database that lacks a linked table, the settings loaded, and one instance
// at a time (the real executable started a second time ends at once and touches nothing).
#include "app/SystemSettings.h"
#include "app/fSplash.h"
#include "engine/Engine.h"
#include "tests/app/MainWindowFixture.h"
#include "platform/gui/Label.h"
#include "tests/support/ScriptedMsgBox.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <map>

namespace {

using StartupTest = ProgramTest;

QString linkOf(const QString& table)
{
    return gDaoSave().Lookup(QStringLiteral("LinkedTables"), QStringLiteral("Connect"),
                             QStringLiteral("Name='") + table + QLatin1Char('\'')).stringValue();
}

const QStringList kLinked = {QStringLiteral("システム設定"), QStringLiteral("パターン"), QStringLiteral("パターンリスト"),
                             QStringLiteral("パターン母材"), QStringLiteral("パターン部材"), QStringLiteral("設定"),
                             QStringLiteral("母材"), QStringLiteral("部材")};

// Every file of a folder with a digest of its content.
std::map<QString, QByteArray> folderState(const QString& dir)
{
    std::map<QString, QByteArray> state;
    QDirIterator it(dir, QDir::Files | QDir::Hidden);
    while (it.hasNext()) {
        QFile f(it.next());
        f.open(QIODevice::ReadOnly);
        state[QFileInfo(f).fileName()] = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
    }
    return state;
}

TEST_F(StartupTest, AGoodStartRelinksTheSaveDatabaseAndShowsTheMainWindow)
{
    ExecOnFile(fx_.workingPath(), QStringLiteral("INSERT INTO パターンリスト (パターン番号,リスト番号) VALUES (1,1);"
                                                 "INSERT INTO パターン (パターン番号) VALUES (1);"
                                                 "UPDATE システム設定 SET スリット線=1, 並び替え項目=',端材の少ない順,欠片（穴）の少ない順';"));
    ScriptedMsgBox boxes;   // no box at all
    ASSERT_TRUE(Main());
    EXPECT_EQ(fx_.workingPath(), DbPath);
    EXPECT_EQ(fx_.savePath(), SaveDbPath);
    EXPECT_FALSE(gSplash().isLoaded());
    ASSERT_TRUE(gTavo().isVisible());
    EXPECT_EQ(QStringLiteral("一覧画面 - Panelo2"), gTavo().loadedWindow()->windowTitle());
    for (const QString& t : kLinked)
        EXPECT_EQ(QStringLiteral(";DATABASE=") + fx_.workingPath(), linkOf(t)) << t.toStdString();
    EXPECT_EQ(0, count(QStringLiteral("パターンリスト")));   // emptied at every start
    EXPECT_EQ(1, count(QStringLiteral("パターン")));         // the patterns are kept
    // The settings of the row are in force.
    EXPECT_EQ(1, gDisplay().SlitLine);
    EXPECT_EQ(100, gDisplay().DisplayListCount);
    EXPECT_EQ(5, gEngine().Settings.DisplaySheets);
    EXPECT_EQ(9, gEngine().Settings.SortKeyFlags);
    EXPECT_TRUE(errLog().isEmpty()) << errLog().toStdString();
}

TEST_F(StartupTest, TheSplashShowsThePictureAndTheStatusLine)
{
    fSplash& splash = gSplash();
    splash.FormOpen();
    splash.PutMessage(QStringLiteral("ﾃﾞｰﾀﾍﾞｰｽに接続しています"));
    EXPECT_EQ(QStringLiteral("ﾃﾞｰﾀﾍﾞｰｽに接続しています"), splash.labMessage->text());
    SaveScreenshot(splash.loadedWindow(), QStringLiteral("splash"));
    splash.FormClose();
    EXPECT_FALSE(splash.isLoaded());
}

TEST_F(StartupTest, AMissingSaveDatabaseEndsAfterTheConnectionMessageAndCreatesNoFile)
{
    QFile::remove(fx_.savePath());
    ScriptedMsgBox boxes;
    boxes.expect(QStringLiteral("Database Compact Error"), vbOK)
        .expect(QStringLiteral("Main"), vbOK, QStringLiteral("Localﾃﾞｰﾀﾍﾞｰｽに接続できません。"));
    EXPECT_FALSE(Main());
    ASSERT_EQ(2u, boxes.shown().size());
    EXPECT_EQ(vbCritical, boxes.shown()[1].style);
    EXPECT_FALSE(gTavo().isLoaded());
    EXPECT_FALSE(gSplash().isLoaded());
    EXPECT_FALSE(QFile::exists(fx_.savePath()));
    for (const auto& [name, digest] : folderState(fx_.dir()))
        EXPECT_FALSE(name.startsWith(QLatin1String("Temp"))) << name.toStdString();
}

TEST_F(StartupTest, AWorkingDatabaseWithoutALinkedTableEndsAfterTheRelinkMessages)
{
    ExecOnFile(fx_.workingPath(), QStringLiteral("DROP TABLE パターン母材;"));
    ScriptedMsgBox boxes;
    boxes.expect(QStringLiteral("ConnectLinkTable"), vbOK)
        .expect(QStringLiteral("Main"), vbOK, QStringLiteral("ﾃﾞｰﾀﾍﾞｰｽの再ﾘﾝｸができません。"));
    EXPECT_FALSE(Main());
    ASSERT_EQ(2u, boxes.shown().size());
    EXPECT_EQ(vbCritical, boxes.shown()[0].style);
    EXPECT_EQ(vbCritical, boxes.shown()[1].style);
    EXPECT_FALSE(gTavo().isLoaded());
    // Relinking stopped at the missing table: the ones after it point where they pointed.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(QStringLiteral(";DATABASE=") + fx_.workingPath(), linkOf(kLinked[i]));
    for (int i = 4; i < 8; ++i)
        EXPECT_EQ(QStringLiteral(";DATABASE="), linkOf(kLinked[i])) << kLinked[i].toStdString();
}

TEST_F(StartupTest, OneInstanceHoldsTheFolderAndALockLeftByACrashIsTakenOver)
{
    // A lock of a process that no longer runs: taken over.
    {
        QFile stale(fx_.path(QStringLiteral("Panelo2.lock")));
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.write("999999\nPanelo2\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    }
    std::unique_ptr<QLockFile> first = LockInstance(fx_.dir(), QStringLiteral("Panelo2"));
    ASSERT_TRUE(first);
    // While it is held, a second start ends at once: no box, no window, no file touched.
    const auto before = folderState(fx_.dir());
    ScriptedMsgBox boxes;
    EXPECT_FALSE(LockInstance(fx_.dir(), QStringLiteral("Panelo2")));
    EXPECT_FALSE(Main());
    EXPECT_FALSE(gSplash().isLoaded());
    EXPECT_FALSE(gTavo().isLoaded());
    EXPECT_EQ(before, folderState(fx_.dir()));
}

TEST_F(StartupTest, TheExecutableStartedASecondTimeEndsAtOnceTouchingNothing)
{
    const QString exe = QStringLiteral(PANELO2_BIN_DIR "/Panelo2");
    if (!QFile::exists(exe))
        GTEST_SKIP() << "the program is not built";
    const QString copy = fx_.path(QStringLiteral("Panelo2"));
    ASSERT_TRUE(QFile::copy(exe, copy));
    std::unique_ptr<QLockFile> running = LockInstance(fx_.dir(), QStringLiteral("Panelo2"));   // the first instance
    ASSERT_TRUE(running);
    const auto before = folderState(fx_.dir());

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(env);
    second.setWorkingDirectory(fx_.dir());
    second.start(copy, {});
    ASSERT_TRUE(second.waitForFinished(15000)) << "the second instance kept running";
    EXPECT_EQ(QProcess::NormalExit, second.exitStatus());
    EXPECT_EQ(0, second.exitCode());
    EXPECT_EQ(before, folderState(fx_.dir()));
}

// The settings row as InitSystem loads it: NULLs as 0, criteria only after a comma, an empty
// table changing nothing, and a failure that keeps what was loaded before it.
TEST_F(StartupTest, TheSettingsLoaderReadsTheRowColumnByColumn)
{
    DbFixture db;
    SystemSettings& s = gEngine().Settings;
    gDao().Execute(QStringLiteral("UPDATE システム設定 SET スリット線=NULL, 表示母材=7, 並び替え項目='使用材の少ない順'"),
                   dbFailOnError);
    gDisplay().SlitLine = 1;
    EXPECT_TRUE(InitSystem());
    EXPECT_EQ(0, gDisplay().SlitLine);
    EXPECT_EQ(7, s.DisplaySheets);
    EXPECT_EQ(QStringLiteral("使用材の少ない順"), s.SortKeyList);
    EXPECT_EQ(0, s.SortKeyFlags);

    gDao().Execute(QStringLiteral("ALTER TABLE システム設定 DROP COLUMN 表示リスト"), dbFailOnError);
    gDao().Execute(QStringLiteral("UPDATE システム設定 SET 表示母材=3, 並び替え項目=',切代の少ない順'"), dbFailOnError);
    gDisplay().DisplayListCount = 55;
    EXPECT_FALSE(InitSystem());
    EXPECT_EQ(3, s.DisplaySheets);                       // loaded before the missing column
    EXPECT_EQ(55, gDisplay().DisplayListCount);
    EXPECT_EQ(QStringLiteral("使用材の少ない順"), s.SortKeyList);   // not reached
    EXPECT_TRUE(db.errLog().contains(QStringLiteral("InitSystem")));

    gDao().Execute(QStringLiteral("DELETE FROM システム設定"), dbFailOnError);
    EXPECT_TRUE(InitSystem());
    EXPECT_EQ(3, s.DisplaySheets);                       // an empty table changes nothing
}

}  // namespace
