// Start-up in a program folder built as the build builds it: a good start, a missing save
// database, a working database that lacks a linked table, the settings loaded, and one instance
// at a time (the real executable started a second time ends at once and touches nothing).
#include "app/SystemSettings.h"
#include "app/fSplash.h"
#include "engine/Engine.h"
#include "tests/app/MainWindowFixture.h"
#include "platform/gui/Label.h"
#include "platform/core/AppInfo.h"
#include "platform/core/Database.h"
#include "platform/core/InstanceLock.h"
#include "tests/support/ScriptedMsgBox.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QProcess>
#include <QSemaphore>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <linux/capability.h>
#include <linux/fs.h>
#include <map>
#include <optional>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

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
    ASSERT_EQ(StartResult::Runs, Main());
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
    EXPECT_EQ(StartResult::Failed, Main());
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
    EXPECT_EQ(StartResult::Failed, Main());
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

// Turns this thread's power to write past a file's mode (CAP_DAC_OVERRIDE, which root has) off
// or back on; false when the thread cannot.
bool setModeOverride(bool on)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    const __u32 bit = CAP_TO_MASK(CAP_DAC_OVERRIDE);
    __u32& effective = data[CAP_TO_INDEX(CAP_DAC_OVERRIDE)].effective;
    if (on && !(data[CAP_TO_INDEX(CAP_DAC_OVERRIDE)].permitted & bit))
        return false;
    effective = on ? effective | bit : effective & ~bit;
    return ::syscall(SYS_capset, &header, data) == 0;
}

// Makes a folder refuse new files for as long as it lives: its mode is read-only, and where
// that does not stop this process (run as root) the folder is made immutable as well, or,
// where the file system has no such flag, the thread gives up writing past the mode. Says
// whether the folder really refuses them.
class UnwritableFolder {
public:
    explicit UnwritableFolder(const QString& dir) : dir_(dir)
    {
        QFile::setPermissions(dir_, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
        if (!refuses())
            immutable_ = setImmutable(true);
        if (!refuses())
            overrideOff_ = setModeOverride(false);
    }
    ~UnwritableFolder()
    {
        if (overrideOff_)
            setModeOverride(true);
        if (immutable_)
            setImmutable(false);
        QFile::setPermissions(dir_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool refuses() const
    {
        const QByteArray probe = QFile::encodeName(dir_ + QStringLiteral("/probe"));
        const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0)
            return true;
        ::close(fd);
        ::unlink(probe.constData());
        return false;
    }

private:
    bool setImmutable(bool on) const
    {
        const int fd = ::open(QFile::encodeName(dir_).constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return done;
    }
    QString dir_;
    bool immutable_ = false;
    bool overrideOff_ = false;
};

// While it lives, no file of this process may grow: a write that would fails (EFBIG) as it
// fails on a full disk.
class DiskFull {
public:
    DiskFull()
    {
        handler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit none = saved_;
        none.rlim_cur = 0;
        ::setrlimit(RLIMIT_FSIZE, &none);
    }
    ~DiskFull()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, handler_);
    }

private:
    rlimit saved_{};
    void (*handler_)(int) = nullptr;
};

// An instance that holds the lock and listens but never answers, as a hung or stopped program:
// its lock lives on a thread that runs no events.
class HungInstance {
public:
    explicit HungInstance(const QString& lockPath)
        : thread_(QThread::create([this, lockPath] {
              InstanceLock lock(lockPath);
              held_ = lock.acquire() == InstanceLock::Acquired;
              ready_.release();
              end_.acquire();
          }))
    {
        thread_->start();
        ready_.acquire();
    }
    ~HungInstance()
    {
        end_.release();
        thread_->wait();
    }
    bool held() const { return held_; }

private:
    QSemaphore ready_, end_;
    bool held_ = false;
    std::unique_ptr<QThread> thread_;
};

// The lock file of the program folder as a start finds it. Only an instance that answers the
// knock makes a second start end quietly (with the running main window brought to the front),
// also when the start reaches the folder by another path; a file nobody holds, whatever it
// holds, is taken over. A holder that does not answer, a folder that refuses the file (no
// right to write, a full disk) and a folder whose path is too long for the database files end
// the start after one message that names the folder and the reason, leaving the folder as it
// was.
TEST_F(StartupTest, TheLockFileAsAStartFindsIt)
{
    const QString lockPath = fx_.path(QStringLiteral("Panelo2.lock"));
    auto writeLock = [&](const QByteArray& bytes) {
        QFile f(lockPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    };
    auto readLock = [&] {
        QFile f(AppLockPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
    };
    const QByteArray crashed = "999999\nPanelo2\n" + QSysInfo::machineHostName().toUtf8() + "\n";
    // The same folder by a second path: its lock file is a link to the running instance's.
    QTemporaryDir secondPath;
    auto reachBySecondPath = [&] {
        ASSERT_EQ(0, ::link(QFile::encodeName(lockPath).constData(),
                            QFile::encodeName(secondPath.filePath(QStringLiteral("Panelo2.lock"))).constData()));
        SetAppPath(secondPath.path());
    };
    // A folder 170 Japanese characters deep, with the program's files in it.
    const QString longPart = QString(85, QChar(u'フ')) + QLatin1Char('/') + QString(85, QChar(u'ォ'));
    const QString longFolder = fx_.path(longPart);
    auto moveToLongFolder = [&] {
        ASSERT_TRUE(QDir().mkpath(longFolder));
        for (const QString& name : {QStringLiteral("Panelo2.mdb"), QStringLiteral("Panelo2保存.mdb")})
            ASSERT_TRUE(QFile::copy(fx_.path(name), longFolder + QLatin1Char('/') + name));
        SetAppPath(longFolder);
    };
    const int longBytes =
        int((QFileInfo(fx_.dir()).canonicalFilePath() + QLatin1Char('/') + longPart + QStringLiteral("/Panelo2.mdb")).toUtf8().size());
    std::shared_ptr<void> holder;              // whatever holds the lock while the start runs
    std::optional<UnwritableFolder> readOnly;

    enum class Box { None, Unwritable, Unanswered, PathTooLong };
    const std::map<Box, QString> headlines = {
        {Box::Unwritable, QStringLiteral("次のフォルダに書き込めないため、起動できません。")},
        {Box::Unanswered, QStringLiteral("次のフォルダを使用中のプログラムが応答しないため、起動できません。")},
        {Box::PathTooLong, QStringLiteral("次のフォルダのパスが長すぎるため、起動できません。")},
    };
    struct Case {
        const char* what;
        std::function<void()> arrange;
        StartResult result;
        Box box = Box::None;
        QString detail = QString();   // the box's last line
        bool diskFull = false;
    };
    const Case cases[] = {
        {"absent", [] {}, StartResult::Runs},
        {"empty (a power cut)", [&] { writeLock(QByteArray()); }, StartResult::Runs},
        {"garbage", [&] { writeLock(QByteArray("\xff\xfe\x00garbage\n\x01", 12)); }, StartResult::Runs},
        {"left by a crashed run", [&] { writeLock(crashed); }, StartResult::Runs},
        {"held by a live instance", [] { ASSERT_EQ(StartResult::Runs, Main()); }, StartResult::SecondStart},
        {"held by a live instance, the folder reached by a second path",
         [&] {
             ASSERT_EQ(StartResult::Runs, Main());
             reachBySecondPath();
         },
         StartResult::SecondStart},
        {"held by an instance that does not answer (hung or stopped)",
         [&] {
             auto hung = std::make_shared<HungInstance>(lockPath);
             ASSERT_TRUE(hung->held());
             holder = hung;
         },
         StartResult::Failed, Box::Unanswered, QStringLiteral("Panelo2.lock: 5 秒待っても応答がありません。")},
        {"held by another process that does not listen",
         [&] {
             const QByteArray name = QFile::encodeName(lockPath);
             const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
             ASSERT_EQ(0, ::flock(fd, LOCK_EX | LOCK_NB));
             holder = std::shared_ptr<void>(nullptr, [fd, name](void*) {
                 ::unlink(name.constData());
                 ::close(fd);
             });
         },
         StartResult::Failed, Box::Unanswered, QStringLiteral("Panelo2.lock: 5 秒待っても応答がありません。")},
        {"in a folder that refuses new files", [&] { readOnly.emplace(fx_.dir()); }, StartResult::Failed,
         Box::Unwritable, QStringLiteral("Panelo2.lock: 書き込みできません。")},
        {"absent, on a full disk", [] {}, StartResult::Failed, Box::Unwritable,
         QStringLiteral("Panelo2.lock: ディスクの空き容量が不足しています。"), true},
        {"left by a crashed run, on a full disk",
         [&] {
             writeLock(crashed);
             holder = std::shared_ptr<void>(nullptr, [&](void*) { QFile::remove(lockPath); });
         },
         StartResult::Failed, Box::Unwritable,
         QStringLiteral("Panelo2.lock: ディスクの空き容量が不足しています。"), true},
        {"in a folder whose path is too long for the database files", moveToLongFolder, StartResult::Failed,
         Box::PathTooLong,
         QStringLiteral("Panelo2.mdb: パスが %1 バイトです（%2 バイトまで）。").arg(longBytes).arg(MaxDatabasePathBytes())},
    };
    QStringList notRun;   // rows this process cannot arrange here
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange();
        QWidget other;   // the window the user works in when the second start comes
        if (c.result == StartResult::SecondStart) {
            other.show();
            QApplication::setActiveWindow(&other);
            ASSERT_NE(gTavo().loadedWindow(), QApplication::activeWindow());
        }
        if (readOnly && !readOnly->refuses()) {   // reported as a skip once the other rows ran
            notRun << QString::fromUtf8(c.what);
            readOnly.reset();
            continue;
        }
        const QString folder = AppPath();
        const auto before = folderState(folder);
        ScriptedMsgBox boxes;
        if (c.box != Box::None)
            boxes.expect(QStringLiteral("Main"), vbOK, headlines.at(c.box));
        std::optional<DiskFull> full;
        if (c.diskFull)
            full.emplace();
        const StartResult result = Main();
        full.reset();
        EXPECT_EQ(c.result, result);
        switch (c.result) {
        case StartResult::Runs:
            EXPECT_TRUE(gTavo().isVisible());
            EXPECT_EQ(QByteArray::number(QCoreApplication::applicationPid()) + '\n', readLock());   // taken over
            break;
        case StartResult::SecondStart:
            EXPECT_TRUE(boxes.shown().empty());
            EXPECT_EQ(before, folderState(folder));
            for (int i = 0; i < 20 && QApplication::activeWindow() != gTavo().loadedWindow(); ++i)
                QTest::qWait(10);   // the knock was answered from the running instance's events
            EXPECT_EQ(gTavo().loadedWindow(), QApplication::activeWindow());
            break;
        case StartResult::Failed:
            ASSERT_EQ(1u, boxes.shown().size());
            EXPECT_EQ(headlines.at(c.box) + QStringLiteral("\r\n") + folder + QStringLiteral("\r\n\r\n") + c.detail,
                      boxes.shown()[0].text)
                << boxes.shown()[0].text.toStdString();
            EXPECT_EQ(vbCritical, boxes.shown()[0].style);
            EXPECT_FALSE(gSplash().isLoaded());
            EXPECT_FALSE(gTavo().isLoaded());
            ReleaseInstanceLock();   // the refused start ends
            EXPECT_EQ(before, folderState(folder));
            break;
        }
        if (gTavo().isLoaded())
            gTavo().unload();
        readOnly.reset();
        holder.reset();
        ReleaseInstanceLock();
        SetAppPath(fx_.dir());
        gDaoSave().Disconnect();
        gDao().Disconnect();
        ResetDatabaseEngine();
    }
    EXPECT_FALSE(QFile::exists(lockPath));   // the last run gave its lock up
    if (!notRun.isEmpty())
        GTEST_SKIP() << notRun.join(QStringLiteral(", ")).toStdString()
                     << ": not run, this process writes into read-only folders here";
}

// The real executable started while an instance holds the folder: it knocks on that instance,
// ends at once with status 0 and touches nothing.
TEST_F(StartupTest, TheExecutableStartedASecondTimeKnocksAndEndsTouchingNothing)
{
    const QString exe = QStringLiteral(PANELO2_BIN_DIR "/Panelo2");
    if (!QFile::exists(exe))
        GTEST_SKIP() << "the program is not built";
    const QString copy = fx_.path(QStringLiteral("Panelo2"));
    ASSERT_TRUE(QFile::copy(exe, copy));
    InstanceLock running(fx_.path(QStringLiteral("Panelo2.lock")));   // the first instance
    ASSERT_EQ(InstanceLock::Acquired, running.acquire());
    int knocks = 0;
    QObject::connect(&running, &InstanceLock::knocked, [&] { ++knocks; });
    const auto before = folderState(fx_.dir());

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(env);
    second.setWorkingDirectory(fx_.dir());
    second.start(copy, {});
    for (int i = 0; i < 1500 && second.state() != QProcess::NotRunning; ++i)
        QTest::qWait(10);   // the knock is heard in this instance's events
    ASSERT_EQ(QProcess::NotRunning, second.state()) << "the second instance kept running";
    EXPECT_EQ(QProcess::NormalExit, second.exitStatus());
    EXPECT_EQ(0, second.exitCode());
    QTest::qWait(50);
    EXPECT_EQ(1, knocks);
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
