// The benchmark runner: the same scenario gives the same pattern tables on every run; validation
// failures and overflowing run counts end with their own exit codes.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

// The runner is built beside the program folder of the same build tree.
QString runnerPath() { return QDir::cleanPath(QStringLiteral(PANELO2_BIN_DIR "/../bench/panelo2-run")); }

struct Result {
    int code = -1;
    QStringList lines;
    QString errors;   // what it wrote to stderr
};

Result run(const QStringList& args)
{
    QProcess p;
    p.start(runnerPath(), args);
    Result r;
    if (!p.waitForFinished(120000))
        return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.lines = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    r.errors = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QString writeScenario(const QTemporaryDir& dir, const QString& name, const QByteArray& json)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(json);
    return path;
}

// The three pattern tables as text, rows in storage order, doubles to the last bit.
QString dump(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QString out;
    for (const char* table : {"パターン", "パターン母材", "パターン部材"}) {
        sqlite3_stmt* st = nullptr;
        const QByteArray sql = QByteArray("SELECT * FROM ") + table + " ORDER BY rowid";
        sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
        while (st && sqlite3_step(st) == SQLITE_ROW) {
            for (int i = 0; i < sqlite3_column_count(st); ++i) {
                if (sqlite3_column_type(st, i) == SQLITE_FLOAT)
                    out += QString::number(sqlite3_column_double(st, i), 'g', 17);
                else
                    out += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
                out += QLatin1Char('|');
            }
            out += QLatin1Char('\n');
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return out;
}

const QByteArray kJob = R"({"stock": [[1820, 910, 3, 14741759]],
 "parts": [[600, 450, 3, 255, true], [400, 300, 4, 65280, true], [300, 300, 2, 16711680, true]],
 "kerf": [3, 255],
 "settings": {"部材切取順序": 1, "回転方式": 0,
              "並び替え項目": ",欠片（穴）の少ない順,使用材の少ない順,切代の少ない順,端材の少ない順"}})";

TEST(EngineRunnerTest, SamePatternTablesOnEveryRun)
{
    ASSERT_TRUE(QFile::exists(runnerPath())) << runnerPath().toStdString();
    QTemporaryDir dir;
    const QString job = writeScenario(dir, QStringLiteral("job.json"), kJob);
    const Result a = run({job, dir.filePath(QStringLiteral("a.mdb"))});
    const Result b = run({QStringLiteral("--store"), QStringLiteral("sqlite"), job, dir.filePath(QStringLiteral("b.mdb"))});
    ASSERT_EQ(0, a.code);
    ASSERT_EQ(0, b.code);
    ASSERT_GE(a.lines.size(), 4);
    // 3 kinds in every order, two rotatable: 6 x 4 layouts.
    EXPECT_EQ(QStringLiteral("CombinationCount 24"), a.lines[a.lines.size() - 4]);
    EXPECT_EQ(QStringLiteral("patterns 24"), a.lines[a.lines.size() - 3]);
    EXPECT_TRUE(a.lines[a.lines.size() - 2].startsWith(QStringLiteral("seconds ")));
    EXPECT_TRUE(a.lines.last().startsWith(QStringLiteral("layouts_per_s ")));
    const QString first = dump(dir.filePath(QStringLiteral("a.mdb")));
    // 24 pattern rows, their sheets, 9 pieces with 4 kerf rows each per pattern.
    EXPECT_GT(first.count(QLatin1Char('\n')), 24 + 24 + 24 * 9 * 5);
    EXPECT_EQ(first, dump(dir.filePath(QStringLiteral("b.mdb"))));
    // The other stores run the same layouts and leave the pattern tables empty.
    for (const char* store : {"memory", "null"}) {
        const Result m = run({QStringLiteral("--store=") + QLatin1String(store), job, dir.filePath(QStringLiteral("m.mdb"))});
        EXPECT_EQ(0, m.code) << store;
        EXPECT_EQ(QStringLiteral("patterns 24"), m.lines.value(m.lines.size() - 3)) << store;
        EXPECT_TRUE(dump(dir.filePath(QStringLiteral("m.mdb"))).isEmpty()) << store;
    }
}

TEST(EngineRunnerTest, ExitCodes)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("x.mdb"));
    const struct {
        const char* scenario;
        int code;
        const char* printed;   // a message box's text or title the run prints
    } cases[] = {
        {R"({"stock": [[100, 200, 1, 0]], "parts": [[10, 10, 1, 0, false]], "kerf": [0, 0]})", 2,
         "幅が長さよりより大きいです。"},
        {R"({"stock": [[1000, 1000, 1, 0]], "parts": [[5, 3, 31, 0, true]], "kerf": [0, 0], "settings": {"回転方式": 2}})",
         3, "計算量オーバー"},
        // Too many pieces are refused by the validation, with the overflow's box and code.
        {R"({"stock": [[100, 100, 1, 0]], "parts": [[10, 10, 32768, 0, false]], "kerf": [0, 0]})", 3, "計算量オーバー"},
        {R"({"stock": [[100, 100, 1, 0]], "parts": [[10, 10, 1, 0, false]], "kerf": [0, 0], "settings": {"切取位置": 2}})",
         1, "計算前処理に失敗しました。"},
    };
    for (const auto& c : cases) {
        const Result r = run({writeScenario(dir, QStringLiteral("job.json"), c.scenario), out});
        EXPECT_EQ(c.code, r.code) << c.printed;
        EXPECT_TRUE(r.lines.join(QLatin1Char('\n')).contains(QString::fromUtf8(c.printed))) << c.printed;
    }
    EXPECT_EQ(1, run({QStringLiteral("--store"), QStringLiteral("disk"), out, out}).code);
    EXPECT_EQ(1, run({writeScenario(dir, QStringLiteral("bad.json"), R"({"stock": 5})"), out}).code);
}

// Numbers the tables cannot hold as they are are refused before anything runs (exit 2, as invalid
// input); files that are not a scenario object say why (exit 1).
TEST(EngineRunnerTest, RefusedScenarioFiles)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("x.mdb"));
    const struct {
        const char* json;
        int code;
        const char* message;
    } cases[] = {
        {R"({"stock": [[100, 50, 1, 0]], "parts": [[10, 10, 1, 0, false]], "kerf": [4294967296, 0]})", 2,
         "\"kerf\" is 4294967296, not a whole number"},
        {R"({"stock": [[1e300, 50, 1, 0]], "parts": [[10, 10, 1, 0, false]], "kerf": [0, 0]})", 2, "stock row 1 is 1e+300"},
        {R"({"stock": [[100, 50, 1, 0]], "parts": [[10, 10, 1, 0, false], [10, 10, 2.5, 0, true]], "kerf": [0, 0]})", 2,
         "part row 2 is 2.5"},
        {R"({"stock": [[100, 50, 1, 0]], "parts": [[10, 10, 1, 0, false]], "kerf": [0, -2147483649]})", 2,
         "\"kerf\" is -2147483649"},
        {R"({"stock": [[100, 50, 1, 0]], "parts": [[10, 10, 1, 0, false]], "kerf": [0, 0], "settings": {"回転方式": 3e9}})", 2,
         "setting 回転方式 is 3e+09"},
        {R"([{"stock": []}])", 1, "JSON but not an object"},
        {R"("B1")", 1, "illegal value at offset"},
        {R"({"stock": [)", 1, "at offset"},
    };
    for (const auto& c : cases) {
        const Result r = run({writeScenario(dir, QStringLiteral("s.json"), c.json), out});
        EXPECT_EQ(c.code, r.code) << c.json;
        EXPECT_TRUE(r.errors.contains(QString::fromUtf8(c.message))) << c.json << "\n" << r.errors.toStdString();
    }
    // The edges of the range are taken.
    const Result edge = run({writeScenario(dir, QStringLiteral("e.json"),
                                           R"({"stock": [[100, 50, 1, 2147483647]], "parts": [[10, 10, 1, -2147483648, false]],
                                               "kerf": [0, 0]})"),
                             out});
    EXPECT_EQ(0, edge.code) << edge.errors.toStdString();
}

}

