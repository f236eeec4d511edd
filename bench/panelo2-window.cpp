// The main window's compute road against the headless road, in one run. The real program is
// started (Main) in a fresh program folder (databases from schema/, the shipped files of data/)
// whose input tables hold a scenario (the runner's format) before the window loads; 計　算 is
// pressed through the button's click and the time taken until the list is drawn. The headless
// road (panelo2-run) computes the same scenario before and after, and the three pattern tables of
// both are compared.
//
//   panelo2-window [--runs K] [--cancel-latency N] [--seed S] SCENARIO.json
//
// Qt's platform is whatever it is given (QT_QPA_PLATFORM, or xcb with DISPLAY); with neither it
// runs offscreen. The roads alternate, runner first and last, K window runs (default 1) each in a
// fresh folder and compared with the mean of the runner runs beside it, since the machine's speed
// drifts. A line per window run, then the medians: window_seconds (click to the list drawn),
// list_seconds (the list built again as the compute road builds it, until drawn),
// scroll_slowest_ms (the list scrolled a row at a time), peak_mb (the most memory the process held
// resident, its list drawn and scrolled; the runner runs as a process of its own), runner_seconds,
// tables, and last ratio (window / runner).
// With --cancel-latency N, Cancel is pressed N times at random moments of each window run (through
// the X server's test extension on xcb, a posted click elsewhere), each stop question is answered
// with キャンセル, and the last lines are the times from a press to the question on screen.
// Exit codes: 0 done, 1 a failure (a road failed, or the tables differ).
#include "app/Startup.h"
#include "app/frmTavo.h"
#include "bench/BenchDatabases.h"
#include "bench/BenchProgram.h"
#include "bench/ProcessMemory.h"
#include "engine/Engine.h"
#include "engine/Scenario.h"
#include "foundation/Globals.h"
#include "foundation/cDao.h"
#include "platform/core/MsgBox.h"
#include "platform/gui/Events.h"
#include "platform/gui/GuiApplication.h"
#include "platform/gui/TDBGrid.h"
#include "ui/LineButton.h"
#include "ui/UiSetup.h"
#include "ui/frmProgress.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <dlfcn.h>
#include <mutex>
#include <optional>
#include <random>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// The X server's test extension, loaded at run time (the bench needs no X headers): clicks that
// reach the program as a user's do, through the server and Qt's event reader.
class XTestMouse {
public:
    ~XTestMouse()
    {
        if (display_)
            closeDisplay_(display_);
    }
    bool open()
    {
        void* x11 = dlopen("libX11.so.6", RTLD_NOW);
        void* xtst = dlopen("libXtst.so.6", RTLD_NOW);
        if (!x11 || !xtst)
            return false;
        openDisplay_ = reinterpret_cast<void* (*)(const char*)>(dlsym(x11, "XOpenDisplay"));
        closeDisplay_ = reinterpret_cast<int (*)(void*)>(dlsym(x11, "XCloseDisplay"));
        flush_ = reinterpret_cast<int (*)(void*)>(dlsym(x11, "XFlush"));
        motion_ = reinterpret_cast<int (*)(void*, int, int, int, unsigned long)>(dlsym(xtst, "XTestFakeMotionEvent"));
        button_ = reinterpret_cast<int (*)(void*, unsigned, int, unsigned long)>(dlsym(xtst, "XTestFakeButtonEvent"));
        if (!openDisplay_ || !closeDisplay_ || !flush_ || !motion_ || !button_)
            return false;
        display_ = openDisplay_(nullptr);
        return display_ != nullptr;
    }
    void click(int x, int y)
    {
        motion_(display_, -1, x, y, 0);
        button_(display_, 1, 1, 0);
        button_(display_, 1, 0, 0);
        flush_(display_);
    }

private:
    void* display_ = nullptr;
    void* (*openDisplay_)(const char*) = nullptr;
    int (*closeDisplay_)(void*) = nullptr;
    int (*flush_)(void*) = nullptr;
    int (*motion_)(void*, int, int, int, unsigned long) = nullptr;
    int (*button_)(void*, unsigned, int, unsigned long) = nullptr;
};

// Presses Cancel of the progress window at random moments of a run from a thread of its own, as a
// user's hand would, and times each press until the stop question is painted; then answers the
// question with キャンセル.
class CancelPresser : public QObject {
public:
    CancelPresser(int presses, double runSeconds, unsigned seed)
    {
        std::mt19937 random(seed);
        // Within the layouts: the runner's seconds also hold the index builds at the end of the
        // search, and every question answered delays the presses that follow.
        std::uniform_real_distribution<double> at(0.05 * runSeconds, 0.45 * runSeconds);
        for (int i = 0; i < presses; ++i)
            moments_.push_back(at(random));
        std::sort(moments_.begin(), moments_.end());
        xtest_ = QGuiApplication::platformName() == QLatin1String("xcb") && mouse_.open();
        qApp->installEventFilter(this);
    }
    ~CancelPresser() override { stop(); }

    QString input() const { return xtest_ ? QStringLiteral("xtest") : QStringLiteral("posted"); }
    void start()
    {
        thread_ = std::thread([this] { run(); });
    }
    void stop()
    {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        if (thread_.joinable())
            thread_.join();
    }
    std::vector<double> latencies;   // milliseconds, one per answered press
    int missed = 0;                  // presses that brought no question within 5 s
    int late = 0;                    // a press the run ended before answering (after its last layout)
    int pressed = 0;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && gProgress().isLoaded() && o == gProgress().loadedWindow()) {
            QWidget* b = gProgress().lbutCancel()->muButton();
            const QPoint centre = b->mapToGlobal(b->rect().center());
            buttonX_ = centre.x();
            buttonY_ = centre.y();
            progressShown_ = true;
        } else if (e->type() == QEvent::Hide && gProgress().isLoaded() && o == gProgress().loadedWindow()) {
            progressShown_ = false;
        } else if (e->type() == QEvent::Paint) {
            auto* box = qobject_cast<QMessageBox*>(o);
            if (box && box->windowTitle() == QStringLiteral("計算中止")) {
                std::lock_guard lock(mutex_);
                if (awaiting_) {
                    awaiting_ = false;
                    latencies.push_back(std::chrono::duration<double, std::milli>(Clock::now() - pressedAt_).count());
                    QTimer::singleShot(0, box, [this, box] { answer(box); });
                }
            }
        }
        return false;
    }

private:
    void answer(QMessageBox* box)
    {
        for (QAbstractButton* b : box->buttons())
            if (b->property("vbResult").toInt() == vbCancel)
                b->click();
        {
            std::lock_guard lock(mutex_);
            answered_ = true;
        }
        wake_.notify_all();
    }
    // Sleeps, unless stopped; true when stopped.
    bool sleep(std::unique_lock<std::mutex>& lock, double s)
    {
        return wake_.wait_for(lock, std::chrono::duration<double>(s), [this] { return stop_; });
    }
    void press()
    {
        if (xtest_) {
            mouse_.click(buttonX_, buttonY_);
            return;
        }
        QMetaObject::invokeMethod(qApp, [] {
            if (gProgress().isVisible())
                QTest::mouseClick(gProgress().lbutCancel()->muButton(), Qt::LeftButton);
        }, Qt::QueuedConnection);
    }
    void run()
    {
        std::unique_lock lock(mutex_);
        double previous = 0;
        for (double moment : moments_) {
            if (sleep(lock, moment - previous))
                return;
            previous = moment;
            for (int i = 0; i < 100 && !progressShown_; ++i)
                if (sleep(lock, 0.01))
                    return;
            pressedAt_ = Clock::now();
            ++pressed;
            awaiting_ = true;
            answered_ = false;
            lock.unlock();
            press();
            lock.lock();
            if (!wake_.wait_for(lock, std::chrono::seconds(5), [this] { return stop_ || answered_; })) {
                awaiting_ = false;
                ++missed;
            }
            if (stop_) {
                late += awaiting_;   // the wait was cut short by the end of the run
                return;
            }
        }
    }

    std::vector<double> moments_;
    XTestMouse mouse_;
    bool xtest_ = false;
    std::atomic<int> buttonX_{0}, buttonY_{0};
    std::atomic<bool> progressShown_{false};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false, awaiting_ = false, answered_ = false;
    Clock::time_point pressedAt_;
    std::thread thread_;
};

int usage()
{
    err(QStringLiteral("usage: panelo2-window [--runs K] [--cancel-latency N] [--seed S] SCENARIO.json"));
    return 1;
}

struct WindowRun {
    double seconds = 0;        // click to the list drawn
    double listSeconds = 0;    // the list built again, until drawn
    int frames = 0;            // scrolling row by row
    double slowestFrameMs = 0;
    int patterns = 0;
    double peakMb = 0, residentMb = 0;   // of the process once the list was drawn and scrolled
};

// The real program in a fresh program folder with the scenario in its input tables: 計　算
// pressed, the list timed, and the folder's pattern tables compared with the runner's output.
// Empty after a message.
std::optional<WindowRun> runWindow(const QJsonObject& scenario, const QString& runnerOut, CancelPresser* presser,
                                   QString& tables)
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    const QString made = dir.isValid() ? BuildProgramFolder(folder) : QStringLiteral("cannot make a program folder");
    if (!made.isEmpty()) {
        err(made);
        return std::nullopt;
    }
    useProgramFolder(folder);
    const QString working = folder + QStringLiteral("/Panelo2.mdb");
    // The scenario is in the input tables before the window loads them.
    if (!gDao().Connect(working, false)) {
        err(QStringLiteral("cannot open ") + working);
        return std::nullopt;
    }
    const QString invalid = WriteScenarioInput(scenario);
    gDao().Disconnect();
    if (!invalid.isEmpty()) {
        err(invalid);
        return std::nullopt;
    }

    SetWaitScale(0.001);   // the start-up's waits, not timed here
    const bool lives = Main() == StartResult::Runs;
    SetWaitScale(1);
    if (!lives) {
        err(QStringLiteral("the program did not start"));
        return std::nullopt;
    }
    frmTavo& tavo = gTavo();
    if (!QTest::qWaitForWindowExposed(tavo.loadedWindow()))
        err(QStringLiteral("the main window was not exposed"));

    WindowRun run;
    const PaintCount listPaints([&]() -> QWidget* { return tavo.TDBList ? tavo.TDBList->viewport() : nullptr; });
    QElapsedTimer clock;
    clock.start();
    if (presser)
        presser->start();
    QTest::mouseClick(tavo.lbutCompute->muButton(), Qt::LeftButton);
    if (presser)
        presser->stop();
    waitForPaint(listPaints, listPaints.count);
    run.seconds = double(clock.nsecsElapsed()) / 1e9;
    run.patterns = gEngine().PatternNo;
    if (run.patterns == 0 || tavo.TDBList->rowCount() == 0) {
        err(QStringLiteral("the window listed nothing"));
        return std::nullopt;
    }

    // The list again, as the compute road builds it; then down the list a row at a time.
    gDao().Execute(QStringLiteral("DELETE FROM パターンリスト"), dbFailOnError);
    clock.restart();
    tavo.AfterCompute();
    waitForPaint(listPaints, listPaints.count);
    run.listSeconds = double(clock.nsecsElapsed()) / 1e9;
    QScrollBar* bar = tavo.TDBList->verticalScrollBar();
    const int step = std::max(1, tavo.TDBList->verticalHeader()->sectionSize(0));
    qint64 slowest = 0;
    for (int v = 0; v <= bar->maximum(); v += step, ++run.frames) {
        clock.restart();
        bar->setValue(v);
        QCoreApplication::processEvents();
        slowest = std::max(slowest, clock.nsecsElapsed());
    }
    run.slowestFrameMs = double(slowest) / 1e6;
    run.peakMb = residentPeakMb();
    run.residentMb = residentNowMb();

    tables = ComparePatternTables(working, runnerOut);
    closeProgram();
    return run;
}

}  // namespace

int main(int argc, char** argv)
{
    chooseQtPlatform();
    GuiApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);   // as the program: it ends when the main window unloads

    QStringList args = app.arguments().mid(1);
    int runs = 1, presses = 0;
    unsigned seed = 1;
    while (args.size() >= 2 && args[0].startsWith(QStringLiteral("--"))) {
        bool ok = false;
        if (args[0] == QLatin1String("--runs"))
            runs = args[1].toInt(&ok);
        else if (args[0] == QLatin1String("--cancel-latency"))
            presses = args[1].toInt(&ok);
        else if (args[0] == QLatin1String("--seed"))
            seed = args[1].toUInt(&ok);
        if (!ok || runs < 1 || presses < 0)
            return usage();
        args.remove(0, 2);
    }
    if (args.size() != 1)
        return usage();
    const QString scenarioPath = QFileInfo(args[0]).absoluteFilePath();
    QFile file(scenarioPath);
    if (!file.open(QIODevice::ReadOnly)) {
        err(QStringLiteral("cannot read ") + scenarioPath);
        return 1;
    }
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
    if (!doc.isObject()) {
        err(QStringLiteral("scenario: not a JSON object"));
        return 1;
    }
    SetupUi();
    out(QStringLiteral("platform ") + QGuiApplication::platformName());

    // runner, window, runner, window, ..., runner: each window run against the runs beside it.
    QTemporaryDir runnerDir;
    const QString runnerOut = runnerDir.filePath(QStringLiteral("runner.mdb"));
    std::vector<double> runner{0}, window, ratio, list;
    std::optional<double> first = runRunner({scenarioPath, runnerOut});
    if (!first)
        return 1;
    runner[0] = *first;
    double slowestFrame = 0, peak = 0;
    bool identical = true;
    QString cancelInput;
    std::vector<double> latencies;
    int missed = 0, late = 0, pressed = 0;
    std::optional<CancelPresser> presser;
    for (int i = 0; i < runs; ++i) {
        if (presses > 0)
            presser.emplace(presses, runner.back(), seed + unsigned(i));
        QString tables;
        const std::optional<WindowRun> w = runWindow(doc.object(), runnerOut, presser ? &*presser : nullptr, tables);
        if (!w)
            return 1;
        const std::optional<double> after = runRunner({scenarioPath, runnerOut});
        if (!after)
            return 1;
        runner.push_back(*after);
        const double beside = (runner[runner.size() - 2] + runner.back()) / 2;
        window.push_back(w->seconds);
        ratio.push_back(w->seconds / beside);
        list.push_back(w->listSeconds);
        slowestFrame = std::max(slowestFrame, w->slowestFrameMs);
        peak = std::max(peak, w->peakMb);
        identical = identical && tables.isEmpty();
        out(QStringLiteral("run %1: patterns %2, window %3 s, runner %4 s, ratio %5, list %6 s, %7 frames scrolled, "
                           "slowest %8 ms, peak %9 MB, resident %10 MB, tables %11")
                .arg(i + 1)
                .arg(w->patterns)
                .arg(seconds(w->seconds), seconds(beside))
                .arg(ratio.back(), 0, 'f', 2)
                .arg(seconds(w->listSeconds))
                .arg(w->frames)
                .arg(w->slowestFrameMs, 0, 'f', 1)
                .arg(w->peakMb, 0, 'f', 0)
                .arg(w->residentMb, 0, 'f', 0)
                .arg(tables.isEmpty() ? QStringLiteral("identical") : QStringLiteral("differ: ") + tables));
        if (presser) {
            cancelInput = presser->input();
            latencies.insert(latencies.end(), presser->latencies.begin(), presser->latencies.end());
            missed += presser->missed;
            late += presser->late;
            pressed += presser->pressed;
            presser.reset();
        }
    }
    out(QStringLiteral("window_seconds ") + seconds(median(window)));
    out(QStringLiteral("list_seconds ") + seconds(median(list)));
    out(QStringLiteral("scroll_slowest_ms %1").arg(slowestFrame, 0, 'f', 1));
    out(QStringLiteral("peak_mb %1").arg(peak, 0, 'f', 0));
    out(QStringLiteral("runner_seconds ") + seconds(median(runner)));
    out(identical ? QStringLiteral("tables identical") : QStringLiteral("tables differ"));
    if (presses == 0) {
        out(QStringLiteral("ratio %1").arg(median(ratio), 0, 'f', 2));
    } else {
        out(QStringLiteral("cancel_input ") + cancelInput);
        out(QStringLiteral("cancel_presses %1 of %2, answered %3, missed %4, after the last layout %5")
                .arg(pressed)
                .arg(presses * runs)
                .arg(latencies.size())
                .arg(missed)
                .arg(late));
        out(QStringLiteral("cancel_median_ms %1").arg(median(latencies), 0, 'f', 1));
        out(QStringLiteral("cancel_slowest_ms %1")
                .arg(latencies.empty() ? 0.0 : *std::max_element(latencies.begin(), latencies.end()), 0, 'f', 1));
    }
    return identical ? 0 : 1;
}
