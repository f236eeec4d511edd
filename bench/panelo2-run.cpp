// The headless benchmark runner: the whole compute road (CheckInputValue, BeforeCompute, Compute)
// on a scenario file and a fresh working database, never asking the stop question.
//
//   panelo2-run [--store sqlite|memory|null] [--page-size N] [--pragma P]... SCENARIO.json OUT.mdb
//
// --page-size builds OUT.mdb with pages of N bytes (a power of two from 512 to 65536) instead of
// the schema's own. Each --pragma P ("cache_size=-65536") runs as PRAGMA main.P on the connection
// once OUT.mdb is open, before anything is written.
//
// Exit codes, from the engine's stop reason: 0 done, 1 usage or another failure (a scenario of the
// wrong form among them), 2 the input failed validation (a number that is not a whole number of 32
// bits among them), 3 too many pieces or layout runs ("計算量オーバー"). The last four lines printed
// are the figures.
#include "bench/BenchDatabases.h"
#include "engine/Engine.h"
#include "engine/PatternStore.h"
#include "engine/Scenario.h"
#include "foundation/Globals.h"
#include "foundation/cDao.h"
#include "platform/core/AppInfo.h"
#include "platform/core/Database.h"
#include "platform/core/MsgBox.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonObject>
#include <cstdio>
#include <memory>
#include <utility>

namespace {

void out(const QString& line) { std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stdout); }
void err(const QString& line) { std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stderr); }

// The exit code of a computation that a step ended with false (see the top of this file).
int exitCode(StopReason reason)
{
    return reason == StopReason::InvalidInput ? 2 : reason == StopReason::Overflow ? 3 : 1;
}

int usage()
{
    err(QStringLiteral("usage: panelo2-run [--store sqlite|memory|null] [--page-size N] [--pragma P]... SCENARIO.json "
                       "OUT.mdb"));
    return 1;
}

}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString storeName = QStringLiteral("sqlite");
    int pageSize = 0;
    QStringList pragmas;
    // --store S, --page-size N and --pragma P, each also as --name=value.
    auto option = [&](const QString& name, QString& value) {
        if (args.isEmpty() || !args[0].startsWith(name))
            return false;
        if (args[0].startsWith(name + QLatin1Char('='))) {
            value = args[0].mid(name.size() + 1);
            args.removeFirst();
        } else if (args[0] == name && args.size() >= 2) {
            value = args[1];
            args.remove(0, 2);
        } else {
            return false;
        }
        return true;
    };
    for (QString pageText, pragma; option(QStringLiteral("--store"), storeName) ||
                                   option(QStringLiteral("--page-size"), pageText) ||
                                   option(QStringLiteral("--pragma"), pragma);) {
        if (!pragma.isEmpty())
            pragmas << std::exchange(pragma, QString());
        if (!pageText.isEmpty()) {
            bool ok = false;
            pageSize = pageText.toInt(&ok);
            if (!ok || pageSize < 512 || pageSize > 65536 || (pageSize & (pageSize - 1)))
                return usage();
            pageText.clear();
        }
    }
    if (args.size() != 2 || !QStringList{QStringLiteral("sqlite"), QStringLiteral("memory"), QStringLiteral("null")}.contains(storeName))
        return usage();

    QJsonObject scenario;
    if (const QString unread = ReadScenarioFile(args[0], scenario); !unread.isEmpty()) {
        err(unread);
        return 1;
    }
    const QString outPath = QFileInfo(args[1]).absoluteFilePath();
    const QString built = BuildDatabase(outPath, QStringLiteral(PANELO2_SCHEMA_DIR "/working.sql"), pageSize);
    if (!built.isEmpty()) {
        err(built);
        return 1;
    }
    SetAppPath(QFileInfo(outPath).absolutePath());     // the error log lands beside the output
    if (!gDao().Connect(outPath, false)) {
        err(QStringLiteral("cannot open ") + outPath);
        return 1;
    }
    if (const QString failed = RunPragmas(SharedConnection(), QStringLiteral("main"), pragmas); !failed.isEmpty()) {
        err(failed);
        return 1;
    }
    SetMsgBoxHandler([](const QString& text, int style, const QString& title) {
        out(title + QStringLiteral(": ") + QString(text).replace(QStringLiteral("\r\n"), QStringLiteral(" / ")));
        return MsgBoxDefaultAnswer(style);
    });

    std::unique_ptr<PatternStore> store;
    if (storeName == QLatin1String("memory"))
        store = std::make_unique<MemoryPatternStore>();
    else if (storeName == QLatin1String("null"))
        store = std::make_unique<NullPatternStore>();
    const ScenarioOutcome run = RunScenario(scenario, store.get(), qgetenv("PANELO2_SHEET_MEMO") != "off");
    if (!run.invalid.isEmpty()) {
        err(run.invalid);
        return run.badNumber ? 2 : 1;
    }
    if (!run.falseStep.isEmpty())
        return exitCode(run.reason);

    out(QStringLiteral("store %1, Unit %2, PiecePartTotal %3").arg(storeName).arg(run.Unit).arg(run.PiecePartTotal));
    out(QStringLiteral("CombinationCount %1").arg(run.CombinationCount));
    out(QStringLiteral("patterns %1").arg(run.PatternNo));
    out(QStringLiteral("seconds %1").arg(run.seconds, 0, 'f', 3));
    out(QStringLiteral("layouts_per_s %1").arg(run.seconds > 0 ? run.PatternNo / run.seconds : 0.0, 0, 'f', 1));
    gDao().Disconnect();
    return 0;
}
