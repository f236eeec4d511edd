// Whole computations as data: every folder of tests/cases holds a scenario.json (the benchmark
// runner's format) and expected.txt, the outcome of the computation and the three pattern tables
// as they must come out, row by row, and may hold facts.txt, figures of the run derived by hand from
// the scenario. Each case runs once per pattern store; every store must give the same text and
// meet the facts. PANELO2_UPDATE_CASES=1 writes expected.txt from the reference store (sqlite)
// instead of comparing (see tests/cases/README.md).
#include "engine/Engine.h"
#include "engine/PatternStore.h"
#include "engine/Scenario.h"
#include "foundation/Globals.h"
#include "foundation/cDao.h"
#include "platform/core/Database.h"
#include "tests/support/DbFixture.h"
#include "tests/support/ScriptedMsgBox.h"

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <algorithm>
#include <map>
#include <memory>
#include <sqlite3.h>
#include <string>

namespace {

const QString kCasesDir = QStringLiteral(PANELO2_SOURCE_DIR "/tests/cases");
const QStringList kTables = {QStringLiteral("パターン"), QStringLiteral("パターン母材"), QStringLiteral("パターン部材")};

// Puts the rows a store kept in memory into the pattern tables, in the order it kept them.
void memoryToTables(PatternStore& store)
{
    const auto& m = static_cast<const MemoryPatternStore&>(store);
    cDao& dao = gDao();
    dao.BeginTrans();
    Statement piece = dao.Prepare(QStringLiteral("INSERT INTO パターン部材 VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10)"));
    Statement sheet = dao.Prepare(QStringLiteral("INSERT INTO パターン母材 VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14)"));
    Statement pattern = dao.Prepare(QStringLiteral("INSERT INTO パターン VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9)"));
    for (size_t n = 0; n < m.size(); ++n) {
        const MemoryPatternStore::Rows rows = m.rows(n);
        for (const PatternPieceRow& r : rows.pieces) {
            int i = 1;
            for (int64_t v : {r.パターン番号, r.連番, r.部材番号, r.母材番号, r.枝番, r.開始横, r.開始縦, r.終了横, r.終了縦, r.色})
                piece.bind(i++, v);
            piece.execute();
        }
        for (const PatternSheetRow& r : rows.sheets) {
            const Variant values[] = {r.パターン番号, r.連番, r.母材番号, r.枝番, r.最大平方, r.平方数, r.使用面積,
                                      r.使用率, r.切代面積, r.切代率, r.端材面積, r.端材率, r.余材面積, r.余材率};
            for (int i = 0; i < 14; ++i)
                sheet.bind(i + 1, values[i]);
            sheet.execute();
        }
        if (!rows.hasPattern)
            continue;
        const PatternRow& r = rows.pattern;
        const Variant values[] = {r.パターン番号, QString::fromStdString(r.パターン種別), QString::fromStdString(r.優先順位),
                                  r.母材使用数, r.部材切取数, r.平均使用率, r.平均切代率, r.平均端材率, r.平均余材率};
        for (int i = 0; i < 9; ++i)
            pattern.bind(i + 1, values[i]);
        pattern.execute();
    }
    dao.CommitTrans();
}

// The stores a computation can write its patterns through (a new store or way of computing is one
// more entry). The first is the reference that PANELO2_UPDATE_CASES writes the expected text from.
struct Store {
    const char* name;
    std::unique_ptr<PatternStore> (*make)();
    void (*toTables)(PatternStore&);   // null for a store that writes the tables itself
    bool sheetMemo = true;             // Engine::UseSheetMemo
};
const Store kStores[] = {
    {"sqlite", [] { return std::unique_ptr<PatternStore>(new SqlitePatternStore); }, nullptr},
    {"memory", [] { return std::unique_ptr<PatternStore>(new MemoryPatternStore); }, memoryToTables},
    {"sqlite_without_sheet_memo", [] { return std::unique_ptr<PatternStore>(new SqlitePatternStore); }, nullptr, false},
};

// A table's rows in storage order, each value as SQLite's quote() writes it (text in apostrophes,
// a real always with a point or an exponent, so 5 and 5.0 differ), joined by "|".
QString dumpTable(const QString& table)
{
    cDao& dao = gDao();
    Statement names = dao.Prepare(QStringLiteral("SELECT name FROM pragma_table_info('") + table + QStringLiteral("')"));
    QStringList columns, quoted;
    while (names.step()) {
        columns << names.column(0).stringValue();
        quoted << QStringLiteral("quote(") + columns.last() + QLatin1Char(')');
    }
    QString out = QLatin1Char('[') + table + QStringLiteral("] ") + columns.join(QLatin1Char('|')) + QLatin1Char('\n');
    Statement rows = dao.Prepare(QStringLiteral("SELECT ") + quoted.join(QStringLiteral("||'|'||")) +
                                 QStringLiteral(" FROM ") + table + QStringLiteral(" ORDER BY rowid"));
    while (rows.step())
        out += rows.column(0).stringValue() + QLatin1Char('\n');
    return out;
}

QString oneLine(QString text) { return text.replace(QLatin1Char('\r'), QStringLiteral("\\r")).replace(QLatin1Char('\n'), QStringLiteral("\\n")); }

// The figures of a run that facts.txt can name, each as the name a fact line gives it.
using Figures = std::map<QString, qint64>;

// Runs the case's scenario as the compute button does (validation, preparation, search) on a fresh
// working database and returns its outcome and the pattern tables as text; figures receives the
// run count, the patterns stored, the cell size and, when there is one, the first pattern's sheets
// used and pieces cut.
QString runCase(const QString& dir, const Store& store, Figures& figures)
{
    QJsonObject scenario;
    if (const QString unread = ReadScenarioFile(dir + QStringLiteral("/scenario.json"), scenario); !unread.isEmpty()) {
        ADD_FAILURE() << unread.toStdString();
        return QString();
    }
    DbFixture db;
    // Nothing here must survive a power cut: no waiting for the disk (the rows are the same).
    sqlite3_exec(SharedConnection(), "PRAGMA main.synchronous=OFF", nullptr, nullptr, nullptr);
    ScriptedMsgBox boxes;
    boxes.allowAny();
    const std::unique_ptr<PatternStore> patterns = store.make();
    const ScenarioOutcome run = RunScenario(scenario, patterns.get(), store.sheetMemo);
    if (!run.invalid.isEmpty()) {
        ADD_FAILURE() << dir.toStdString() << "/scenario.json: " << run.invalid.toStdString();
        return QString();
    }
    QString result = run.falseStep.isEmpty() ? QStringLiteral("done") : run.falseStep + QStringLiteral(" false");
    if (run.reason != StopReason::Done)
        result += QStringLiteral(" (") + StopReasonName(run.reason) + QLatin1Char(')');
    if (store.toTables)
        store.toTables(*patterns);
    figures = {{QStringLiteral("runs"), run.CombinationCount},
               {QStringLiteral("patterns"), run.PatternNo},
               {QStringLiteral("cell"), run.Unit}};
    Statement first = gDao().Prepare(QStringLiteral("SELECT 母材使用数, 部材切取数 FROM パターン WHERE パターン番号 = 1"));
    if (first.step()) {
        figures[QStringLiteral("first pattern sheets")] = first.column(0).intValue();
        figures[QStringLiteral("first pattern pieces")] = first.column(1).intValue();
    }

    QString out = QStringLiteral("result %1, CombinationCount %2, PatternNo %3, Unit %4\n")
                      .arg(result).arg(run.CombinationCount).arg(run.PatternNo).arg(run.Unit);
    for (const ShownBox& box : boxes.shown())
        out += QStringLiteral("box [%1] %2: %3\n").arg(box.title).arg(box.style).arg(oneLine(box.text));
    for (const QString& table : kTables)
        out += dumpTable(table);
    // Error-log lines without their time stamp ("yyyy/MM/dd HH:mm:ss,").
    for (const QString& line : db.errLog().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        out += QStringLiteral("error log: ") + line.mid(20) + QLatin1Char('\n');
    return out;
}

std::vector<std::string> caseNames()
{
    std::vector<std::string> names;
    for (const QString& name : QDir(kCasesDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        names.push_back(name.toStdString());
    return names;
}

std::vector<std::string> storeNames()
{
    std::vector<std::string> names;
    for (const Store& s : kStores)
        names.push_back(s.name);
    return names;
}

// A line cut to the neighbourhood of a character, for a failure message.
std::string around(const QString& line, qsizetype at)
{
    const qsizetype from = std::max<qsizetype>(0, at - 40);
    return (from > 0 ? "…" : "") + line.mid(from, 80).toStdString() + (from + 80 < line.size() ? "…" : "");
}

// The facts of facts.txt (when the case has one): lines "name value", derived by hand from the
// scenario, each followed or preceded by "#" lines that say how; every name must be a figure of
// the run, and the run must give its value.
void expectFacts(const QString& dir, const Figures& figures, const char* storeName)
{
    QFile file(dir + QStringLiteral("/facts.txt"));
    if (!file.exists())
        return;
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const std::string where = file.fileName().toStdString() + ":" + std::to_string(n + 1) + " (" + storeName + ")";
        const qsizetype space = line.lastIndexOf(QLatin1Char(' '));
        bool number = false;
        const qint64 value = line.mid(space + 1).toLongLong(&number);
        const auto figure = figures.find(line.left(space));
        if (space <= 0 || !number || figure == figures.end()) {
            ADD_FAILURE() << where << ": not a fact of a run: " << line.toStdString();
            continue;
        }
        EXPECT_EQ(value, figure->second) << where << ": " << line.toStdString();
    }
}

class ComputationCase : public ::testing::TestWithParam<std::tuple<std::string, std::string>> {};

TEST_P(ComputationCase, GivesTheExpectedPatternTables)
{
    const QString name = QString::fromStdString(std::get<0>(GetParam()));
    const Store& store = *std::find_if(std::begin(kStores), std::end(kStores),
                                       [&](const Store& s) { return std::get<1>(GetParam()) == s.name; });
    const QString dir = kCasesDir + QLatin1Char('/') + name;
    Figures figures;
    const QString actual = runCase(dir, store, figures);
    ASSERT_FALSE(actual.isEmpty());
    expectFacts(dir, figures, store.name);

    // The outcome of every run lies under the build tree, for a diff against expected.txt.
    const QString artifacts = QStringLiteral(PANELO2_ARTIFACT_DIR "/cases");
    QDir().mkpath(artifacts);
    const QString actualPath = artifacts + QLatin1Char('/') + name + QLatin1Char('-') + QLatin1String(store.name) + QStringLiteral(".txt");
    QFile actualFile(actualPath);
    if (actualFile.open(QIODevice::WriteOnly))
        actualFile.write(actual.toUtf8());

    QFile expectedFile(dir + QStringLiteral("/expected.txt"));
    if (!qEnvironmentVariableIsEmpty("PANELO2_UPDATE_CASES") && &store == &kStores[0]) {
        ASSERT_TRUE(expectedFile.open(QIODevice::WriteOnly)) << expectedFile.fileName().toStdString();
        expectedFile.write(actual.toUtf8());
        return;
    }
    ASSERT_TRUE(expectedFile.open(QIODevice::ReadOnly))
        << expectedFile.fileName().toStdString() << " is missing: write it with PANELO2_UPDATE_CASES=1";
    const QString expected = QString::fromUtf8(expectedFile.readAll());
    if (actual == expected)
        return;
    const QStringList a = actual.split(QLatin1Char('\n')), e = expected.split(QLatin1Char('\n'));
    qsizetype line = 0;
    while (line < a.size() && line < e.size() && a[line] == e[line])
        ++line;
    const QString el = e.value(line), al = a.value(line);
    qsizetype at = 0;
    while (at < el.size() && at < al.size() && el[at] == al[at])
        ++at;
    ADD_FAILURE() << "the " << store.name << " store differs from expected.txt of " << name.toStdString() << " at line "
                  << line + 1 << ", character " << at + 1 << " (" << e.size() << " lines expected, " << a.size()
                  << " given)\n"
                  << "  expected: " << around(el, at) << "\n"
                  << "  given:    " << around(al, at) << "\n"
                  << "  diff " << expectedFile.fileName().toStdString() << " " << actualPath.toStdString();
}

std::string caseTestName(const ::testing::TestParamInfo<ComputationCase::ParamType>& info)
{
    std::string name = std::get<0>(info.param) + '_' + std::get<1>(info.param);
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, ComputationCase,
                         ::testing::Combine(::testing::ValuesIn(caseNames()), ::testing::ValuesIn(storeNames())), caseTestName);

}
