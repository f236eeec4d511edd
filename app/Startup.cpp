#include "app/Startup.h"

#include "app/fSplash.h"
#include "app/frmTavo.h"
#include "engine/PatternStore.h"
#include "foundation/Globals.h"
#include "foundation/cDao.h"
#include "foundation/cFile.h"
#include "foundation/cSystem.h"
#include "platform/core/AppInfo.h"
#include "platform/core/Database.h"
#include "platform/core/InstanceLock.h"
#include "platform/core/MsgBox.h"
#include "platform/core/RunTimeErrors.h"
#include "platform/gui/Events.h"
#include "ui/LoggedCall.h"
#include "ui/mdlMain.h"

#include <QDir>
#include <QFileInfo>
#include <functional>
#include <memory>

QString DbPath;
QString SaveDbPath;

namespace {

const QString kModule = QStringLiteral("mdlMain");
// How many steps of SQLite's machine pass between two looks at the window events during a build.
constexpr int kStepsBetweenPumps = 10000;

// The lock of the running program (a test may start Main more than once).
std::unique_ptr<InstanceLock>& instanceLock()
{
    static std::unique_ptr<InstanceLock> lock;
    return lock;
}

// A second start knocked: the main window, or the dialog open over it, comes to the front.
// While start-up still runs there is nothing to raise; the window shows when it is ready.
void comeToFront()
{
    FormWindow* main = gTavo().loadedWindow();
    if (!main || !main->isVisible())
        return;
    if (main->isMinimized())
        main->setWindowState(main->windowState() & ~Qt::WindowMinimized);
    BringToFront(main);
}

// A start that cannot go on in the program folder: why, the folder, and the file concerned.
void showStartFailure(const QString& why, const QString& file, const QString& detail)
{
    MsgBox(why + QStringLiteral("\r\n") + QDir::toNativeSeparators(AppPath()) + QStringLiteral("\r\n\r\n") +
               QFileInfo(file).fileName() + QStringLiteral(": ") + detail,
           vbCritical, QStringLiteral("Main"));
}

// The first file of the start whose path is too long for the database engine; empty when all fit.
QString pathTooLong()
{
    for (const QString& path : {DbPath, SaveDbPath, CompactionCopyPath(DbPath), CompactionCopyPath(SaveDbPath)})
        if (DatabasePathBytes(path) > MaxDatabasePathBytes())
            return path;
    return QString();
}

// The pattern tables are read fast only through their indexes: those a killed computation left
// dropped are built before the main window reads anything, the splash painting meanwhile. A build
// that fails is logged; the program still works, only slower.
void RestoreIndexesAtStart(fSplash& splash)
{
    RunLogged(kModule, "Main", [&] {
        if (!PatternIndexesMissing())
            return;
        splash.PutMessage(QStringLiteral("ﾃﾞｰﾀﾍﾞｰｽを最適化しています"));
        WhileStatementsRun pump(kStepsBetweenPumps, [] { DoEvents(); });
        RestorePatternIndexes();
    });
}

}  // namespace

void ReleaseInstanceLock() { instanceLock().reset(); }

bool ReLinkMDB()
{
    static const char16_t* const tables[] = {u"システム設定", u"パターン", u"パターンリスト", u"パターン母材",
                                             u"パターン部材", u"設定", u"母材", u"部材"};
    bool result = true;
    for (const char16_t* t : tables) {
        const QString name = QString::fromUtf16(t);
        RetryOnce(kModule, "ReLinkMDB", [&] { result = gDaoSave().ConnectLinkTable(name, name, QString(), DbPath); },
                  SecondFailure::Thrown);
        if (!result)
            break;
    }
    return result;
}

StartResult Main()
{
    auto lock = std::make_unique<InstanceLock>(AppLockPath());
    switch (lock->acquire()) {
    case InstanceLock::HeldElsewhere:
        if (KnockOnHolder(AppLockPath()))
            return StartResult::SecondStart;   // touching nothing
        showStartFailure(QStringLiteral("次のフォルダを使用中のプログラムが応答しないため、起動できません。"), AppLockPath(),
                         QStringLiteral("%1 秒待っても応答がありません。").arg(kKnockAnswerMs / 1000));
        return StartResult::Failed;
    case InstanceLock::Failed:
        showStartFailure(QStringLiteral("次のフォルダに書き込めないため、起動できません。"), AppLockPath(),
                         RunTimeErrorText(FileErrorNumber(lock->systemError())));
        return StartResult::Failed;
    case InstanceLock::Acquired:
        break;
    }
    QObject::connect(lock.get(), &InstanceLock::knocked, [] { comeToFront(); });
    instanceLock() = std::move(lock);

    fSplash& splash = gSplash();
    auto end = [&] {
        splash.FormClose();
        return StartResult::Failed;
    };
    // Each step that fails unexpectedly is logged and tried once more; a second failure goes on
    // to the caller.
    const auto step = [](const std::function<void()>& run) { RetryOnce(kModule, "Main", run, SecondFailure::Thrown); };
    step([] {
        DbPath = gFile().MakeFullPath(AppPath(), AppExeName() + QStringLiteral(".mdb"));
        SaveDbPath = gFile().MakeFullPath(AppPath(), AppExeName() + QStringLiteral("保存.mdb"));
    });
    if (const QString path = pathTooLong(); !path.isEmpty()) {
        showStartFailure(QStringLiteral("次のフォルダのパスが長すぎるため、起動できません。"), path,
                         QStringLiteral("パスが %1 バイトです（%2 バイトまで）。")
                             .arg(DatabasePathBytes(path))
                             .arg(MaxDatabasePathBytes()));
        return StartResult::Failed;
    }
    step([&] { splash.FormOpen(); });

    const cSystem system;
    if (!system.IsWindows98() && !system.IsWindows95()) {
        splash.PutMessage(QStringLiteral("ﾃﾞｰﾀﾍﾞｰｽを最適化しています"));
        // A file that cannot be compacted stays as it was; its message came from the wrapper.
        step([] { gDao().CompactDatabase(DbPath); });
        step([] { gDaoSave().CompactDatabase(SaveDbPath); });
        Wait(1, true);
    }

    splash.PutMessage(QStringLiteral("ﾃﾞｰﾀﾍﾞｰｽに接続しています"));
    Wait(1, true);
    bool connected = false;
    step([&] {
        const bool working = gDao().Connect(DbPath, false);
        const bool save = gDaoSave().Connect(SaveDbPath, false);
        connected = working && save;
    });
    if (!connected) {
        MsgBox(QStringLiteral("Localﾃﾞｰﾀﾍﾞｰｽに接続できません。"), vbCritical, QStringLiteral("Main"));
        return end();
    }

    splash.PutMessage(QStringLiteral("ﾃﾞｰﾀﾍﾞｰｽの再ﾘﾝｸしています"));
    if (!ReLinkMDB()) {
        MsgBox(QStringLiteral("ﾃﾞｰﾀﾍﾞｰｽの再ﾘﾝｸができません。"), vbCritical, QStringLiteral("Main"));
        return end();
    }

    RestoreIndexesAtStart(splash);
    splash.FormClose();
    gTavo().show();
    return StartResult::Runs;
}
