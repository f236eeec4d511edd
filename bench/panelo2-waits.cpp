// Every wait a user has over the database, for one set of file settings (page size, pragmas), so
// that two settings compare in the same binary and the same minutes. Each run builds a fresh
// program folder (both databases from schema/ with that page size, the files of data/ beside
// them), computes the scenario into its working database with the headless runner (panelo2-run,
// given the same page size and pragmas), and then, in this process, connects both databases and
// re-links them as start-up does but without compaction (which would rewrite the files), applies
// the pragmas to both through the shared connection, loads the main window and times:
//
//   list     the list built from the computed tables as after a recall (ReloadAfterRecall), until drawn
//   detail   詳　細 on the first list row until the detail window's drawing is painted
//   save     保　存 in the save dialog under a new name (into an empty save file), until it closed
//   save2    a second save under another name (the save file already holds one)
//   recall   読　込 of the first save in the recall dialog (the transaction) ...
//   relist   ... and the list built again after it, until drawn
//   delete   削　除 of the first save, the question answered Yes; delete2 the second
//
// then reads back both files' sizes and page sizes. Digests of the three pattern tables after the
// compute and after the recall show the tables are the same whatever the settings.
//
//   panelo2-waits [--page-size N] [--pragma P]... [--runs K] [--keep DIR] SCENARIO.json
//   panelo2-waits --prepare DIR [--saves N] [--delete-saves] [--page-size N] [--pragma P]... [SCENARIO.json]
//   panelo2-waits --after-start DIR
//
// --pragma P ("cache_size=-65536") runs as PRAGMA main.P and PRAGMA <save>.P. --keep DIR makes the
// last run's folder at DIR (missing or empty) and leaves it there. --prepare DIR times nothing: it
// makes DIR a program folder with the scenario computed (none: a fresh folder), the list built,
// N saves made through the save dialog and, with --delete-saves, deleted again through the recall
// dialog. --after-start DIR works on the program folder DIR as it is (a copy, since it changes it):
// the real start (Main, compaction and all), the pattern indexes present after it, then the first
// save recalled and 詳　細 on the first row of its list, each timed. Qt's platform is whatever it is given (offscreen with neither QT_QPA_PLATFORM nor
// DISPLAY). Exit codes: 0 done, 1 a failure (a step failed, a message box nobody expected, an
// error logged, or tables that differ between runs or after the recall).
#include "app/Startup.h"
#include "app/frmTavo.h"
#include "bench/BenchDatabases.h"
#include "bench/BenchProgram.h"
#include "engine/Engine.h"
#include "foundation/Globals.h"
#include "foundation/cDao.h"
#include "platform/core/Database.h"
#include "platform/core/MsgBox.h"
#include "platform/gui/Form.h"
#include "platform/gui/GuiApplication.h"
#include "platform/gui/ImText.h"
#include "platform/gui/TDBGrid.h"
#include "results/DetailSurface.h"
#include "results/frmDetail.h"
#include "results/frmLoad.h"
#include "results/frmSave.h"
#include "ui/LineButton.h"
#include "ui/UiSetup.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Options {
    int pageSize = 0;          // 0: the schema's own
    QStringList pragmas;
    int runs = 1;
    QString keep;              // the last run's folder
    QString prepare;           // the folder to prepare (no timing)
    QString afterStart;        // the folder to start in and recall from
    int saves = 0;
    bool deleteSaves = false;
    QString scenario;          // absolute path; may be empty when preparing
};

struct Waits {
    double compute = 0, list = 0, detail = 0, save = 0, save2 = 0, recall = 0, relist = 0, del = 0, del2 = 0;
    DatabaseFacts working, saveFile;
    QString computeDigest, recallDigest;
};

// Message boxes: the deletion question is answered Yes; any other box is a failure of the run.
QStringList& unexpectedBoxes()
{
    static QStringList boxes;
    return boxes;
}

int answerBox(const QString& text, int style, const QString& title)
{
    if (title == QStringLiteral("削除確認"))
        return vbYes;
    unexpectedBoxes() << title + QStringLiteral(": ") + QString(text).replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
    return MsgBoxDefaultAnswer(style);
}

// False, after a message, when a box nobody expected was shown since the last look.
bool noBoxes(const char* step)
{
    if (unexpectedBoxes().isEmpty())
        return true;
    err(QStringLiteral("%1: unexpected message: %2").arg(QLatin1String(step), unexpectedBoxes().join(QStringLiteral("; "))));
    unexpectedBoxes().clear();
    return false;
}

double elapsed(const QElapsedTimer& clock) { return double(clock.nsecsElapsed()) / 1e9; }

int saveCount() { return gDaoSave().Lookup(QStringLiteral("保存"), QStringLiteral("COUNT(*)"), QString()).intValue(); }

QString workingPath(const QString& folder) { return folder + QStringLiteral("/Panelo2.mdb"); }
QString savePath(const QString& folder) { return folder + QStringLiteral("/Panelo2保存.mdb"); }

// The runner's arguments for the options: the same page size and pragmas.
QStringList runnerArguments(const Options& o, const QString& folder)
{
    QStringList a;
    if (o.pageSize > 0)
        a << QStringLiteral("--page-size") << QString::number(o.pageSize);
    for (const QString& p : o.pragmas)
        a << QStringLiteral("--pragma") << p;
    return a << o.scenario << workingPath(folder);
}

// Start-up without compaction: both databases connected, the save database's links pointed at the
// working one, the pragmas applied to both, the main window shown. False after a message.
bool openProgram(const Options& o, const QString& folder)
{
    useProgramFolder(folder);
    DbPath = workingPath(folder);
    SaveDbPath = savePath(folder);
    if (!gDao().Connect(DbPath, false) || !gDaoSave().Connect(SaveDbPath, false) || !ReLinkMDB()) {
        err(QStringLiteral("cannot connect and re-link the databases of ") + folder);
        return false;
    }
    for (const QString& schema : {QStringLiteral("main"), gDaoSave().CurrentDB()->schema()})
        if (const QString failed = RunPragmas(SharedConnection(), schema, o.pragmas); !failed.isEmpty()) {
            err(failed);
            return false;
        }
    gTavo().show();
    if (!QTest::qWaitForWindowExposed(gTavo().loadedWindow()))
        err(QStringLiteral("the main window was not exposed"));
    return noBoxes("start");
}

// A list road of the main window (a call that ends in the list built), timed from `clock` until
// the list has been drawn. False when the list stayed empty.
bool listUntilDrawn(const std::function<bool()>& build, const QElapsedTimer& clock, double& seconds)
{
    frmTavo& tavo = gTavo();
    const PaintCount paints([&]() -> QWidget* { return tavo.TDBList ? tavo.TDBList->viewport() : nullptr; });
    const bool built = build();
    // A paint that came while it ran may have shown the old list: the new one is drawn now.
    const int before = paints.count;
    tavo.TDBList->viewport()->update();
    waitForPaint(paints, before);
    seconds = elapsed(clock);
    if (!built || tavo.TDBList->rowCount() == 0) {
        err(QStringLiteral("the list is empty"));
        return false;
    }
    return true;
}

bool buildList(double& seconds)
{
    QElapsedTimer clock;
    clock.start();
    return listUntilDrawn([] { return gTavo().ReloadAfterRecall(gEngine().Settings.DisplaySheets); }, clock, seconds) &&
           noBoxes("list");
}

// 詳　細 on the list's first row until the detail window's drawing is painted; then it is closed.
bool openDetail(double& seconds)
{
    frmTavo& tavo = gTavo();
    tavo.TDBList->setBookmark(tavo.TDBList->rowBookmark(0));
    const PaintCount paints([]() -> QWidget* { return gDetail().isLoaded() ? gDetail().picDetail.data() : nullptr; });
    QElapsedTimer clock;
    clock.start();
    if (!press(tavo.lbutDetail))
        return false;
    waitForPaint(paints, 0);
    seconds = elapsed(clock);
    const bool shown = gDetail().isLoaded() && gDetail().loadedWindow()->isVisible() && paints.count > 0;
    gDetail().unload();
    if (!shown)
        err(QStringLiteral("the detail window was not shown"));
    return shown && noBoxes("detail");
}

// 保　存 of the main window, the name typed and 保　存 of the save dialog pressed: the time of that
// press (the save's transaction) until the dialog has closed.
bool saveAs(const QString& name, double& seconds)
{
    const int before = saveCount();
    bool closed = false;
    {
        ScopedModalDriver driver([&](Form&) {
            frmSave& f = gSave();
            f.txtHozonName->setText(name);
            QElapsedTimer clock;
            clock.start();
            closed = press(f.lbutAdd) && !f.isLoaded();
            seconds = elapsed(clock);
        });
        if (!press(gTavo().lbutSave))
            return false;
    }
    if (!closed || saveCount() != before + 1) {
        err(QStringLiteral("the save of ") + name + QStringLiteral(" did not end in a new save"));
        return false;
    }
    return noBoxes("save");
}

// 読　込 of the main window, the first save chosen and 読　込 pressed: the time of that press (the
// recall's transaction), and from its end the list rebuilt until drawn.
bool recallFirst(double& recallSeconds, double& relistSeconds)
{
    QElapsedTimer clock;
    bool loaded = false;
    const bool listed = listUntilDrawn(
        [&] {
            ScopedModalDriver driver([&](Form&) {
                frmLoad& f = gLoad();
                f.TDBGrid->setBookmark(f.TDBGrid->rowBookmark(0));
                QElapsedTimer recall;
                recall.start();
                loaded = press(f.lbutLoad);
                recallSeconds = elapsed(recall);
                clock.start();
            });
            return press(gTavo().lbutLoad) && loaded && gLoad().State;
        },
        clock, relistSeconds);
    if (!loaded || !gLoad().State)
        err(QStringLiteral("the recall failed"));
    return listed && loaded && gLoad().State && noBoxes("recall");
}

// 読　込 of the main window, then 削　除 on the first save, answered Yes, until no save is left:
// the time of each press; then 閉じる.
bool deleteAll(std::vector<double>& seconds)
{
    bool ok = true;
    ScopedModalDriver driver([&](Form&) {
        frmLoad& f = gLoad();
        for (int left = f.TDBGrid->rowCount(); ok && left > 0; --left) {
            f.TDBGrid->setBookmark(f.TDBGrid->rowBookmark(0));
            QElapsedTimer clock;
            clock.start();
            ok = press(f.lbutDel) && f.TDBGrid->rowCount() == left - 1;
            seconds.push_back(elapsed(clock));
        }
        ok = press(f.lbutClose) && ok;
    });
    ok = press(gTavo().lbutLoad) && ok && saveCount() == 0;
    if (!ok)
        err(QStringLiteral("the saves were not all deleted"));
    return ok && noBoxes("delete");
}

// The end of a run in a folder: the program closed, nothing in the error log.
bool closeFolder(const QString& folder)
{
    closeProgram();
    QFile log(folder + QStringLiteral("/ErrLog.txt"));
    if (!log.open(QIODevice::ReadOnly))
        return true;
    err(QStringLiteral("errors were logged: ") + QString::fromUtf8(log.readAll()).trimmed());
    return false;
}

// One timed run in the folder: the whole road above. Empty after a message.
std::optional<Waits> runWaits(const Options& o, const QString& folder)
{
    Waits w;
    const QString built = BuildProgramFolder(folder, o.pageSize);
    if (!built.isEmpty()) {
        err(built);
        return std::nullopt;
    }
    const std::optional<double> compute = runRunner(runnerArguments(o, folder));
    if (!compute)
        return std::nullopt;
    w.compute = *compute;
    w.computeDigest = PatternTablesDigest(workingPath(folder));
    const QString name = QFileInfo(o.scenario).completeBaseName();
    std::vector<double> deletions;
    auto road = [&] {
        if (!openProgram(o, folder) || !buildList(w.list) || !openDetail(w.detail) ||
            !saveAs(name + QStringLiteral(" 1"), w.save) || !saveAs(name + QStringLiteral(" 2"), w.save2) ||
            !recallFirst(w.recall, w.relist))
            return false;
        w.recallDigest = PatternTablesDigest(workingPath(folder));
        return deleteAll(deletions) && deletions.size() == 2;
    };
    const bool ok = road();
    if (!closeFolder(folder) || !ok)
        return std::nullopt;
    w.del = deletions[0];
    w.del2 = deletions[1];
    w.working = ReadDatabaseFacts(workingPath(folder));
    w.saveFile = ReadDatabaseFacts(savePath(folder));
    return w;
}

// A folder that must not exist, or be empty, made.
bool makeEmptyFolder(const QString& path)
{
    if (QFileInfo::exists(path) && !QDir(path).isEmpty()) {
        err(path + QStringLiteral(" exists and is not empty"));
        return false;
    }
    if (!QDir().mkpath(path)) {
        err(QStringLiteral("cannot make ") + path);
        return false;
    }
    return true;
}

QString megabytes(qint64 bytes) { return QString::number(double(bytes) / 1e6, 'f', 1); }

QString facts(const char* name, const DatabaseFacts& f)
{
    return QStringLiteral("%1 %2 MB, page_size %3, freelist_count %4")
        .arg(QLatin1String(name), megabytes(f.bytes))
        .arg(f.pageSize)
        .arg(f.freePages);
}

// --prepare: the folder made, the scenario computed, the list built, the saves made and maybe
// deleted again; nothing timed.
int prepare(const Options& o)
{
    const QString folder = QFileInfo(o.prepare).absoluteFilePath();
    if (!makeEmptyFolder(folder))
        return 1;
    const QString built = BuildProgramFolder(folder, o.pageSize);
    if (!built.isEmpty()) {
        err(built);
        return 1;
    }
    if (!o.scenario.isEmpty()) {
        if (!runRunner(runnerArguments(o, folder)))
            return 1;
        double seconds = 0;
        bool ok = openProgram(o, folder) && buildList(seconds);
        const QString name = QFileInfo(o.scenario).completeBaseName();
        for (int i = 1; ok && i <= o.saves; ++i)
            ok = saveAs(name + QLatin1Char(' ') + QString::number(i), seconds);
        std::vector<double> deletions;
        if (ok && o.deleteSaves && o.saves > 0)
            ok = deleteAll(deletions);
        if (!closeFolder(folder) || !ok)
            return 1;
    }
    out(QStringLiteral("prepared ") + folder + QStringLiteral(": saves %1%2")
                                                 .arg(o.scenario.isEmpty() ? 0 : o.saves)
                                                 .arg(o.deleteSaves ? QStringLiteral(", deleted again") : QString()));
    out(facts("working", ReadDatabaseFacts(workingPath(folder))));
    out(facts("save", ReadDatabaseFacts(savePath(folder))));
    return 0;
}

// --after-start: the real start in the folder, then the recall of the first save and the detail
// window on its first pattern, timed.
int afterStart(const Options& o)
{
    const QString folder = QFileInfo(o.afterStart).absoluteFilePath();
    useProgramFolder(folder);
    QElapsedTimer clock;
    clock.start();
    if (Main() != StartResult::Runs || !noBoxes("start")) {
        err(QStringLiteral("the start failed"));
        return 1;
    }
    const double start = elapsed(clock);
    const Variant indexes = gDao().Lookup(
        QStringLiteral("sqlite_master"), QStringLiteral("GROUP_CONCAT(name, ' ')"),
        QStringLiteral("type = 'index' AND tbl_name IN ('パターン', 'パターン母材', 'パターン部材')"));
    double recall = 0, relist = 0, detail = 0;
    const bool ok = recallFirst(recall, relist) && openDetail(detail);
    if (!closeFolder(folder) || !ok)
        return 1;
    out(QStringLiteral("start_s %1 (Main, the splash's two seconds included)").arg(seconds(start)));
    out(QStringLiteral("pattern indexes after the start: ") + indexes.stringValue());
    out(QStringLiteral("recall_s %1 relist_s %2 detail_s %3").arg(seconds(recall), seconds(relist), seconds(detail)));
    return 0;
}

int usage()
{
    err(QStringLiteral("usage: panelo2-waits [--page-size N] [--pragma P]... [--runs K] [--keep DIR] SCENARIO.json\n"
                       "       panelo2-waits --prepare DIR [--saves N] [--delete-saves] [--page-size N] [--pragma P]... "
                       "[SCENARIO.json]\n"
                       "       panelo2-waits --after-start DIR"));
    return 1;
}

// The options, or nothing (then the usage is printed).
std::optional<Options> readOptions(QStringList args)
{
    Options o;
    while (!args.isEmpty() && args[0].startsWith(QStringLiteral("--"))) {
        const QString name = args.takeFirst();
        if (name == QLatin1String("--delete-saves")) {
            o.deleteSaves = true;
            continue;
        }
        if (args.isEmpty())
            return std::nullopt;
        const QString value = args.takeFirst();
        bool ok = true;
        if (name == QLatin1String("--page-size")) {
            o.pageSize = value.toInt(&ok);
            ok = ok && o.pageSize >= 512 && o.pageSize <= 65536 && !(o.pageSize & (o.pageSize - 1));
        } else if (name == QLatin1String("--pragma")) {
            o.pragmas << value;
        } else if (name == QLatin1String("--runs")) {
            o.runs = value.toInt(&ok);
            ok = ok && o.runs >= 1;
        } else if (name == QLatin1String("--keep")) {
            o.keep = QFileInfo(value).absoluteFilePath();
        } else if (name == QLatin1String("--prepare")) {
            o.prepare = value;
        } else if (name == QLatin1String("--after-start")) {
            o.afterStart = value;
        } else if (name == QLatin1String("--saves")) {
            o.saves = value.toInt(&ok);
            ok = ok && o.saves >= 0;
        } else {
            ok = false;
        }
        if (!ok)
            return std::nullopt;
    }
    if (!o.afterStart.isEmpty())
        return args.isEmpty() ? std::optional<Options>(o) : std::nullopt;
    const bool preparing = !o.prepare.isEmpty();
    if (args.size() > 1 || (args.isEmpty() && !preparing) || (!preparing && (o.saves > 0 || o.deleteSaves)))
        return std::nullopt;
    if (!args.isEmpty())
        o.scenario = QFileInfo(args[0]).absoluteFilePath();
    return o;
}

}  // namespace

int main(int argc, char** argv)
{
    chooseQtPlatform();
    GuiApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);   // as the program: it ends when the main window unloads
    const std::optional<Options> options = readOptions(app.arguments().mid(1));
    if (!options)
        return usage();
    const Options& o = *options;
    if (!o.scenario.isEmpty() && !QFileInfo(o.scenario).isFile()) {
        err(QStringLiteral("cannot read ") + o.scenario);
        return 1;
    }
    SetupUi();
    SetMsgBoxHandler(answerBox);
    if (!o.prepare.isEmpty())
        return prepare(o);
    if (!o.afterStart.isEmpty())
        return afterStart(o);
    if (!o.keep.isEmpty() && !makeEmptyFolder(o.keep))
        return 1;

    out(QStringLiteral("platform ") + QGuiApplication::platformName());
    out(QStringLiteral("page_size ") + (o.pageSize > 0 ? QString::number(o.pageSize) : QStringLiteral("as schema/ says")));
    for (const QString& p : o.pragmas)
        out(QStringLiteral("pragma ") + p + QStringLiteral(" (both databases here, the working one in the runner)"));
    const QString columns = QStringLiteral("compute_s list_s detail_s save_s save2_s recall_s relist_s delete_s delete2_s "
                                           "working_MB save_MB page_size");
    out(QStringLiteral("run ") + columns);
    std::vector<Waits> runs;
    for (int i = 0; i < o.runs; ++i) {
        QTemporaryDir temporary;
        const bool last = i + 1 == o.runs;
        const QString folder = last && !o.keep.isEmpty() ? o.keep : temporary.path();
        const std::optional<Waits> w = temporary.isValid() ? runWaits(o, folder) : std::nullopt;
        if (!w)
            return 1;
        runs.push_back(*w);
        out(QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9 ")
                .arg(i + 1)
                .arg(seconds(w->compute), seconds(w->list), seconds(w->detail), seconds(w->save), seconds(w->save2),
                     seconds(w->recall), seconds(w->relist), seconds(w->del)) +
            QStringLiteral("%1 %2 %3 %4/%5")
                .arg(seconds(w->del2), megabytes(w->working.bytes), megabytes(w->saveFile.bytes))
                .arg(w->working.pageSize)
                .arg(w->saveFile.pageSize));
    }
    auto med = [&](double Waits::*field) {
        std::vector<double> v;
        for (const Waits& w : runs)
            v.push_back(w.*field);
        return seconds(median(v));
    };
    auto medMB = [&](DatabaseFacts Waits::*file) {
        std::vector<double> v;
        for (const Waits& w : runs)
            v.push_back(double((w.*file).bytes));
        return megabytes(qint64(median(v)));
    };
    out(QStringLiteral("median %1 %2 %3 %4 %5 %6 %7 %8 %9 ")
            .arg(med(&Waits::compute), med(&Waits::list), med(&Waits::detail), med(&Waits::save), med(&Waits::save2),
                 med(&Waits::recall), med(&Waits::relist), med(&Waits::del), med(&Waits::del2)) +
        QStringLiteral("%1 %2 %3/%4")
            .arg(medMB(&Waits::working), medMB(&Waits::saveFile))
            .arg(runs.back().working.pageSize)
            .arg(runs.back().saveFile.pageSize));

    // The tables: the same in every run, and the same after the recall as after the compute.
    bool same = true;
    for (const Waits& w : runs)
        same = same && w.computeDigest == runs[0].computeDigest && w.recallDigest == runs[0].computeDigest;
    out(QStringLiteral("digest_compute ") + runs[0].computeDigest);
    out(QStringLiteral("digest_recall ") + runs[0].recallDigest);
    out(same ? QStringLiteral("tables identical in every run and after the recall")
             : QStringLiteral("tables differ between runs or after the recall"));
    if (!o.keep.isEmpty())
        out(QStringLiteral("kept ") + o.keep);
    return same ? 0 : 1;
}
