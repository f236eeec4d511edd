// The pattern list's grouping alone (ReadPatternGroups) against a bare scan of the columns it reads,
// on the working database of a finished run (`panelo2-run SCENARIO.json OUT.mdb`).
//
//   list-build [--runs K] OUT.mdb
//
// The two take turns, scan first, K times each (default 3). The bare scan steps through
// パターン番号, パターン種別, 部材切取数, 優先順位, 平均使用率 and 母材使用数 of every row in storage order
// with the plain SQLite C API on a connection of its own, reading each value as SQLite holds it.
// Printed: a line per run, then groups, scan_seconds and build_seconds (medians), ratio
// (build / scan), and the memory of the first build: peak_mb before and after it, and
// bytes_per_group (the growth of the peak over the groups).
// Exit codes: 0 done, 1 a failure.
#include "app/PatternGroups.h"
#include "bench/ProcessMemory.h"
#include "foundation/Globals.h"
#include "foundation/cDao.h"
#include "platform/core/Database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

namespace {

void out(const QString& line) { std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stdout); }
void err(const QString& line) { std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stderr); }

// The bare scan: seconds, and the rows and text bytes it saw (so nothing is optimised away).
double bareScan(sqlite3* db, int64_t& rows, int64_t& bytes)
{
    QElapsedTimer clock;
    clock.start();
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT パターン番号, パターン種別, 部材切取数, 優先順位, 平均使用率, 母材使用数 FROM パターン "
                       "ORDER BY rowid",
                       -1, &st, nullptr);
    rows = bytes = 0;
    double sum = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        ++rows;
        for (int i = 0; i < 6; ++i) {
            if (sqlite3_column_type(st, i) == SQLITE_TEXT) {
                sqlite3_column_text(st, i);
                bytes += sqlite3_column_bytes(st, i);
            } else {
                sum += sqlite3_column_double(st, i);
            }
        }
    }
    sqlite3_finalize(st);
    rows += sum == -1;   // keeps the numbers read
    return double(clock.nsecsElapsed()) / 1e9;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int runs = 3;
    if (args.size() == 3 && args[0] == QLatin1String("--runs")) {
        runs = args[1].toInt();
        args.remove(0, 2);
    }
    if (args.size() != 1 || runs < 1) {
        err(QStringLiteral("usage: list-build [--runs K] OUT.mdb"));
        return 1;
    }
    const QString path = QFileInfo(args[0]).absoluteFilePath();
    sqlite3* bare = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &bare, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK ||
        !gDao().Connect(path, false)) {
        err(QStringLiteral("cannot open ") + path);
        return 1;
    }
    // The program's connection holds the pages it last read (at most SQLite's cache): filled here
    // before the first build, so that the memory measured is the list's own.
    Statement warm = gDao().Prepare(QStringLiteral("SELECT パターン種別 FROM パターン"));
    while (warm.step()) {
    }
    warm = Statement();
    std::vector<double> scans, builds;
    double peakBefore = 0, peakAfter = 0;
    size_t groups = 0;
    for (int i = 0; i < runs; ++i) {
        int64_t rows = 0, bytes = 0;
        scans.push_back(bareScan(bare, rows, bytes));
        if (i == 0)
            peakBefore = residentPeakMb();
        QElapsedTimer clock;
        clock.start();
        try {
            groups = ReadPatternGroups().size();
        } catch (const std::exception& e) {
            err(QStringLiteral("ReadPatternGroups: ") + QString::fromUtf8(e.what()));
            return 1;
        }
        builds.push_back(double(clock.nsecsElapsed()) / 1e9);
        if (i == 0)
            peakAfter = residentPeakMb();
        out(QStringLiteral("run %1: rows %2, text bytes %3, scan %4 s, build %5 s")
                .arg(i + 1)
                .arg(rows)
                .arg(bytes)
                .arg(scans.back(), 0, 'f', 3)
                .arg(builds.back(), 0, 'f', 3));
    }
    sqlite3_close(bare);
    gDao().Disconnect();
    out(QStringLiteral("groups %1").arg(groups));
    out(QStringLiteral("scan_seconds %1").arg(median(scans), 0, 'f', 3));
    out(QStringLiteral("build_seconds %1").arg(median(builds), 0, 'f', 3));
    out(QStringLiteral("ratio %1").arg(median(builds) / median(scans), 0, 'f', 2));
    out(QStringLiteral("peak_mb %1 -> %2").arg(peakBefore, 0, 'f', 1).arg(peakAfter, 0, 'f', 1));
    out(QStringLiteral("bytes_per_group %1").arg(groups ? (peakAfter - peakBefore) * 1048576 / double(groups) : 0, 0, 'f', 0));
    return 0;
}
