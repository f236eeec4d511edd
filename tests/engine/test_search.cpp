// The search over orders and rotations, the stop question, the pattern store and the compute road.
#include "engine/Engine.h"
#include "engine/PatternStore.h"
#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/DbFixture.h"
#include "tests/support/ScriptedMsgBox.h"

#include <QFile>
#include <gtest/gtest.h>
#include <map>
#include <sqlite3.h>

namespace {

// Per pattern, the 部材番号 of its piece rows and the length along x of each, in queue order.
std::map<int, QString> layouts()
{
    std::map<int, QString> out;
    Recordset rs = gDao().OpenRecordset(
        QStringLiteral("SELECT パターン番号, 部材番号, 終了横 - 開始横 FROM パターン部材 WHERE 部材番号 <> 99 ORDER BY rowid"));
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        out[rs.field(0).intValue()] += QStringLiteral("%1:%2 ").arg(rs.field(1).intValue()).arg(rs.field(2).intValue());
    return out;
}

// Stops (sets the cancel flag) at the first piece after the engine stored `after` patterns.
class StopAfter : public HeadlessProgress {
public:
    StopAfter(const Engine& e, int after) : e_(e), after_(after) {}
    bool cancel() const override
    {
        if (!asked_ && e_.PatternNo == after_) {
            asked_ = true;
            const_cast<StopAfter*>(this)->cancelFlag = true;
        }
        return cancelFlag;
    }

private:
    const Engine& e_;
    int after_;
    mutable bool asked_ = false;
};

// A job of several layouts: 2 kinds, both rotatable, 部材切取順序 1.
EngineOnDb* orderJob(int kerf = 0)
{
    auto* t = new EngineOnDb({{20, 20, 3}}, {{8, 5, 2, true}, {6, 4, 2, true}}, kerf);
    t->engine.Settings.CutOrder = 1;
    return t;
}

TEST(EngineSearchTest, Enumerations)
{
    {
        // 部材切取順序 2, pieces 1 1 2: three orders.
        EngineOnDb t({{20, 20, 1}}, {{5, 5, 2}, {4, 4, 1}});
        t.engine.Settings.CutOrder = 2;
        ASSERT_TRUE(t.Run());
        EXPECT_EQ(3, t.engine.CombinationCount);
        EXPECT_EQ(3, t.engine.PatternNo);
        const auto l = layouts();
        EXPECT_EQ(QStringLiteral("1:5 1:5 2:4 "), l.at(1));
        EXPECT_EQ(QStringLiteral("1:5 2:4 1:5 "), l.at(2));
        EXPECT_EQ(QStringLiteral("2:4 1:5 1:5 "), l.at(3));
    }
    {
        // 部材切取順序 1, kind 1 rotatable, 回転方式 0: per order unturned, then turned.
        EngineOnDb t({{20, 20, 1}}, {{6, 3, 1, true}, {4, 4, 1, true}});
        t.engine.Settings.CutOrder = 1;
        ASSERT_TRUE(t.Run());
        EXPECT_EQ(4, t.engine.PatternNo);
        const auto l = layouts();
        EXPECT_EQ(QStringLiteral("1:6 2:4 "), l.at(1));
        EXPECT_EQ(QStringLiteral("1:3 2:4 "), l.at(2));
        EXPECT_EQ(QStringLiteral("2:4 1:6 "), l.at(3));
        EXPECT_EQ(QStringLiteral("2:4 1:3 "), l.at(4));
    }
    {
        // One order only and nothing rotatable: one layout.
        EngineOnDb t({{20, 20, 1}}, {{6, 3, 1}, {4, 4, 1}});
        ASSERT_TRUE(t.Run());
        EXPECT_EQ(1, t.engine.PatternNo);
    }
    {
        // 回転方式 1: four layouts per order for one rotatable kind; 部材切取順序詳細 1 + 2.
        EngineOnDb t({{20, 20, 1}}, {{6, 3, 1, true}, {4, 4, 2}});
        t.engine.Settings.RotationMode = 1;
        t.engine.Settings.CutOrderDetail = 1 + 2;
        ASSERT_TRUE(t.Run());
        EXPECT_EQ(8, t.engine.CombinationCount);
        EXPECT_EQ(8, t.engine.PatternNo);
    }
}

TEST(EngineSearchTest, ListSheetColumnsStopsAtTheDisplayedSheets)
{
    for (int shown : {5, 9}) {
        EngineOnDb t({{10, 10, 9}}, {{10, 10, 7}});
        t.engine.Settings.DisplaySheets = int16_t(shown);
        ASSERT_TRUE(t.Run());
        EXPECT_EQ(shown == 5 ? 5 : 7, t.engine.ListSheetColumns);
    }
    // A first sheet too small for any piece receives nothing: the columns reach the last used
    // sheet (連番 3), not the number of used sheets (2).
    EngineOnDb t({{5, 5, 1}, {10, 10, 9}}, {{10, 10, 2}});
    ASSERT_TRUE(t.Run());
    EXPECT_EQ(1, CountRows(QStringLiteral("パターン母材"), QStringLiteral("連番=1 AND 使用面積=0")));
    EXPECT_EQ(3, t.engine.ListSheetColumns);
}

TEST(EngineStopQuestionTest, NoDiscardsTheListedPatterns)
{
    std::unique_ptr<EngineOnDb> t(orderJob());
    StopAfter stop(t->engine, 3);
    t->engine.SetProgress(&stop);
    ScriptedMsgBox boxes;
    boxes.expect(QStringLiteral("計算中止"), vbNo, QStringLiteral("ここまでの計算結果を表示しますか?"));
    ASSERT_TRUE(t->Run());
    EXPECT_EQ(vbYesNoCancel | vbQuestion, boxes.shown()[0].style);
    EXPECT_EQ(QStringLiteral("ここまでの計算結果を表示しますか?\r\n\r\n計算を再開する場合はキャンセルボタンをクリックして下さい。"),
              boxes.shown()[0].text);
    EXPECT_EQ(3, t->engine.PatternNo);
    EXPECT_EQ(0, CountRows(QStringLiteral("パターン")));
    EXPECT_EQ(3 * 4, CountRows(QStringLiteral("パターン部材")));
    EXPECT_GT(CountRows(QStringLiteral("パターン母材")), 0);
    EXPECT_EQ(0, CountRows(QStringLiteral("パターン母材"), QStringLiteral("パターン番号 = 4")));
    EXPECT_EQ(1, t->host->listCommandsDisabled);
    EXPECT_EQ(1, t->host->patternListDetached);
    EXPECT_EQ(StopReason::StoppedDiscarded, t->engine.stopReason());
    EXPECT_EQ(0, stop.value1);
    EXPECT_EQ(0, stop.value2);
}

TEST(EngineStopQuestionTest, YesKeepsThemAndAStopInTheFirstLayoutStoresNothing)
{
    for (int after : {3, 0}) {
        std::unique_ptr<EngineOnDb> t(orderJob());
        StopAfter stop(t->engine, after);
        t->engine.SetProgress(&stop);
        ScriptedMsgBox boxes;
        boxes.expect(QStringLiteral("計算中止"), vbYes);
        ASSERT_TRUE(t->Run());
        EXPECT_EQ(after, t->engine.PatternNo);
        EXPECT_EQ(after, CountRows(QStringLiteral("パターン")));
        EXPECT_EQ(after * 4, CountRows(QStringLiteral("パターン部材")));
        EXPECT_EQ(1, t->host->listCommandsDisabled);
        EXPECT_EQ(0, t->host->patternListDetached);
        EXPECT_EQ(StopReason::StoppedKept, t->engine.stopReason());
    }
}

TEST(EngineStopQuestionTest, CancelResumesTheSameLayoutAndTheStoredRowsAreCommittedFirst)
{
    QString uninterrupted;
    {
        std::unique_ptr<EngineOnDb> t(orderJob(1));
        ASSERT_TRUE(t->Run());
        uninterrupted = DumpTable(QStringLiteral("パターン")) + DumpTable(QStringLiteral("パターン部材")) +
                        DumpTable(QStringLiteral("パターン母材"));
    }
    std::unique_ptr<EngineOnDb> t(orderJob(1));
    StopAfter stop(t->engine, 2);
    t->engine.SetProgress(&stop);
    int committed = -1;
    const MsgBoxHandler previous = SetMsgBoxHandler([&](const QString&, int, const QString& title) {
        EXPECT_EQ(QStringLiteral("計算中止"), title);
        // What a second connection sees: the patterns stored so far.
        sqlite3* other = nullptr;
        sqlite3_open(QFile::encodeName(t->db->workingPath()).constData(), &other);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(other, "SELECT COUNT(*) FROM パターン", -1, &st, nullptr);
        if (sqlite3_step(st) == SQLITE_ROW)
            committed = sqlite3_column_int(st, 0);
        sqlite3_finalize(st);
        sqlite3_close(other);
        return int(vbCancel);
    });
    const bool ok = t->Run();
    SetMsgBoxHandler(previous);
    ASSERT_TRUE(ok);
    EXPECT_EQ(StopReason::Done, t->engine.stopReason());
    EXPECT_EQ(2, committed);
    EXPECT_FALSE(stop.cancelFlag);
    EXPECT_EQ(uninterrupted, DumpTable(QStringLiteral("パターン")) + DumpTable(QStringLiteral("パターン部材")) +
                                 DumpTable(QStringLiteral("パターン母材")));
    EXPECT_EQ(0, dbtrans::depth());
}

// Every store clears before a computation and discards after いいえ as the working tables do: the
// memory store drops the パターン rows and keeps the piece and sheet rows, as SQLite keeps them;
// a store of its own leaves the working database's tables alone; the progress counts the four
// result tables whichever store clears them.
TEST(EnginePatternStoreTest, EveryStoreClearsAndDiscards)
{
    std::unique_ptr<EngineOnDb> t(orderJob());
    MemoryPatternStore memory;
    t->engine.SetStore(&memory);
    StopAfter stop(t->engine, 3);
    t->engine.SetProgress(&stop);
    ScriptedMsgBox boxes;
    boxes.expect(QStringLiteral("計算中止"), vbNo);
    ASSERT_TRUE(t->Run());
    EXPECT_EQ(StopReason::StoppedDiscarded, t->engine.stopReason());
    ASSERT_EQ(3u, memory.size());
    for (size_t i = 0; i < memory.size(); ++i) {
        const MemoryPatternStore::Rows rows = memory.rows(i);
        EXPECT_FALSE(rows.hasPattern) << i;
        EXPECT_EQ(4u, rows.pieces.size()) << i;
        EXPECT_FALSE(rows.sheets.empty()) << i;
    }

    gDao().Execute(QStringLiteral("INSERT INTO パターン (パターン番号) VALUES (7)"), dbFailOnError);
    NullPatternStore null;
    for (PatternStore* store : {static_cast<PatternStore*>(&memory), static_cast<PatternStore*>(&null)}) {
        HeadlessProgress progress;
        t->engine.SetProgress(&progress);
        t->engine.SetStore(store);
        t->engine.InitPatern();
        EXPECT_EQ(PatternStore::kResultTables, progress.max1);
        EXPECT_EQ(PatternStore::kResultTables, progress.value1);
    }
    EXPECT_EQ(0u, memory.size());
    EXPECT_EQ(1, CountRows(QStringLiteral("パターン")));
    t->engine.SetProgress(nullptr);
}

// The stored signature, key and cut count are what reading the stored rows back gives.
TEST(EnginePatternStoreTest, SummaryEqualsTheReadBack)
{
    std::unique_ptr<EngineOnDb> t(orderJob(1));
    t->engine.Settings.SortKeyList = QStringLiteral(",使用材の少ない順,欠片（穴）の少ない順,切代の少ない順,端材の少ない順");
    t->engine.Settings.SortKeyFlags = 15;
    ASSERT_TRUE(t->Run());
    const cBase& b = gBase();
    ASSERT_EQ(8, t->engine.PatternNo);
    for (int n = 1; n <= t->engine.PatternNo; ++n) {
        const QString no = QString::number(n);
        QString signature;
        Recordset rs = gDao().OpenRecordset(QStringLiteral("SELECT * FROM パターン部材 WHERE パターン番号 = ") + no +
                                            QStringLiteral(" ORDER BY 部材番号,連番,開始縦,開始横,終了縦,終了横"));
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            for (const char* f : {"部材番号", "連番", "開始横", "開始縦", "終了横", "終了縦"})
                signature += b.CvtStr(rs.field(QString::fromUtf8(f))) + QLatin1Char(',');
        Recordset sheets = gDao().OpenRecordset(QStringLiteral("SELECT * FROM パターン母材 WHERE パターン番号 = ") + no +
                                                QStringLiteral(" AND 使用面積 <> 0 ORDER BY 連番"));
        double used = 0, kerf = 0, offcut = 0, rest = 0;
        int count = 0;
        QString key;
        for (sheets.moveFirst(); !sheets.eof(); sheets.moveNext()) {
            ++count;
            used += b.CvtDbl(sheets.field(QStringLiteral("使用率")));
            kerf += b.CvtDbl(sheets.field(QStringLiteral("切代率")));
            offcut += b.CvtDbl(sheets.field(QStringLiteral("端材率")));
            rest += b.CvtDbl(sheets.field(QStringLiteral("余材率")));
            key += FormatNumber(used, QStringLiteral("000.00")) + QLatin1Char(',') +
                   FormatNumber(b.CvtDbl(sheets.field(QStringLiteral("平方数"))), QStringLiteral("000")) + QLatin1Char(',') +
                   FormatNumber(kerf, QStringLiteral("000.00")) + QLatin1Char(',') +
                   FormatNumber(offcut, QStringLiteral("000.00")) + QLatin1Char(',');
        }
        key = FormatNumber(count, QStringLiteral("000")) + QLatin1Char(',') + key;
        const int cut = CountRows(QStringLiteral("パターン部材"),
                                  QStringLiteral("パターン番号 = ") + no + QStringLiteral(" AND 母材番号 <> 0 AND 部材番号 <> 99"));
        Recordset p = gDao().OpenRecordset(QStringLiteral("SELECT * FROM パターン WHERE パターン番号 = ") + no);
        ASSERT_EQ(1, p.recordCount());
        EXPECT_EQ(signature, b.CvtStr(p.field(QStringLiteral("パターン種別"))));
        EXPECT_EQ(key.left(255), b.CvtStr(p.field(QStringLiteral("優先順位"))));
        EXPECT_EQ(count, b.CvtLng(p.field(QStringLiteral("母材使用数"))));
        EXPECT_EQ(cut, b.CvtLng(p.field(QStringLiteral("部材切取数"))));
        EXPECT_EQ(DoubleText(used / count), DoubleText(b.CvtDbl(p.field(QStringLiteral("平均使用率")))));
        EXPECT_EQ(DoubleText(rest / count), DoubleText(b.CvtDbl(p.field(QStringLiteral("平均余材率")))));
    }
    // Each piece with its four kerf rows.
    EXPECT_EQ(8 * 4 * 5, CountRows(QStringLiteral("パターン部材")));
    EXPECT_EQ(8 * 4 * 4, CountRows(QStringLiteral("パターン部材"), QStringLiteral("部材番号 = 99")));
}

TEST(EnginePatternStoreTest, MemoryStoreHoldsTheSameRows)
{
    std::unique_ptr<EngineOnDb> t(orderJob(1));
    ASSERT_TRUE(t->Run());
    std::unique_ptr<EngineOnDb> m(orderJob(1));
    MemoryPatternStore memory;
    m->engine.SetStore(&memory);
    ASSERT_TRUE(m->Run());
    EXPECT_EQ(0, CountRows(QStringLiteral("パターン")));
    ASSERT_EQ(size_t(t->engine.PatternNo), memory.size());
    // Compare with the rows the first run stored.
    // (The first fixture's file is still there; read it through its own connection.)
    sqlite3* other = nullptr;
    sqlite3_open(QFile::encodeName(t->db->workingPath()).constData(), &other);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(other, "SELECT パターン番号,パターン種別,優先順位,母材使用数,部材切取数,平均使用率 FROM パターン ORDER BY rowid",
                       -1, &st, nullptr);
    size_t i = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const PatternRow p = memory.rows(i++).pattern;
        EXPECT_EQ(p.パターン番号, sqlite3_column_int(st, 0));
        EXPECT_EQ(p.パターン種別, reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
        EXPECT_EQ(p.優先順位, reinterpret_cast<const char*>(sqlite3_column_text(st, 2)));
        EXPECT_EQ(p.母材使用数, sqlite3_column_int(st, 3));
        EXPECT_EQ(p.部材切取数, sqlite3_column_int(st, 4));
        EXPECT_EQ(p.平均使用率, sqlite3_column_double(st, 5));
    }
    EXPECT_EQ(memory.size(), i);
    sqlite3_finalize(st);
    sqlite3_close(other);
}

// A failing step undoes only itself: the steps before it stay, the search fails.
TEST(EnginePatternStoreTest, AFailingStepKeepsTheStepsBeforeIt)
{
    struct Case {
        const char* table;
        int pieceRowsOf2, sheetRowsOf2;
    } cases[] = {{"パターン部材", 0, 0}, {"パターン母材", 4, 0}, {"パターン", 4, 1}};
    for (const Case& c : cases) {
        std::unique_ptr<EngineOnDb> t(orderJob());
        gDao().Execute(QStringLiteral("CREATE TRIGGER fail BEFORE INSERT ON %1 WHEN NEW.パターン番号 = 2 "
                                      "BEGIN SELECT RAISE(ABORT, '書込み失敗'); END").arg(QString::fromUtf8(c.table)),
                       dbFailOnError);
        ScriptedMsgBox boxes;
        boxes.expect(QStringLiteral("処理失敗"), vbOK, QStringLiteral("計算処理に失敗しました。"));
        EXPECT_FALSE(t->Run()) << c.table;
        EXPECT_EQ(1, CountRows(QStringLiteral("パターン"))) << c.table;
        EXPECT_EQ(c.pieceRowsOf2, CountRows(QStringLiteral("パターン部材"), QStringLiteral("パターン番号 = 2"))) << c.table;
        EXPECT_EQ(c.sheetRowsOf2, CountRows(QStringLiteral("パターン母材"), QStringLiteral("パターン番号 = 2"))) << c.table;
        EXPECT_EQ(4, CountRows(QStringLiteral("パターン部材"), QStringLiteral("パターン番号 = 1")));
        EXPECT_TRUE(t->db->errLog().contains(QStringLiteral("CreatePatern"))) << c.table;
        EXPECT_TRUE(t->db->errLog().contains(QStringLiteral("書込み失敗"))) << c.table;
        EXPECT_EQ(StopReason::StoreFailed, t->engine.stopReason()) << c.table;
        EXPECT_EQ(0, dbtrans::depth());
    }
}

// The definitions of the pattern tables' indexes.
QStringList patternIndexes()
{
    QStringList out;
    Recordset rs = gDao().OpenRecordset(QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'index' AND tbl_name IN "
                                                       "('パターン','パターン母材','パターン部材') ORDER BY name"));
    for (; !rs.eof(); rs.moveNext())
        out << rs.field(0).stringValue();
    return out;
}

// Counts the pattern tables' indexes after every stored layout.
class WatchIndexes : public SqlitePatternStore {
public:
    void Store(const Engine& e, const std::vector<PiecePlacement>& p, const std::vector<SheetResult>& s) override
    {
        SqlitePatternStore::Store(e, p, s);
        seen.push_back(int(patternIndexes().size()));
    }
    std::vector<int> seen;
};

// The store fills empty tables without their indexes and builds them again however the search ends.
TEST(EnginePatternStoreTest, IndexesAreBuiltAgainWhenTheSearchEnds)
{
    enum End { Complete, Yes, No, Failure };
    for (End end : {Complete, Yes, No, Failure}) {
        std::unique_ptr<EngineOnDb> t(orderJob(1));
        const QStringList schema = patternIndexes();
        ASSERT_EQ(3, schema.size());
        WatchIndexes store;
        t->engine.SetStore(&store);
        StopAfter stop(t->engine, end == Yes || end == No ? 3 : -1);
        t->engine.SetProgress(&stop);
        ScriptedMsgBox boxes;
        if (end == Yes || end == No)
            boxes.expect(QStringLiteral("計算中止"), end == Yes ? vbYes : vbNo);
        if (end == Failure) {
            gDao().Execute(QStringLiteral("CREATE TRIGGER fail BEFORE INSERT ON パターン母材 WHEN NEW.パターン番号 = 5 "
                                          "BEGIN SELECT RAISE(ABORT, '書込み失敗'); END"),
                           dbFailOnError);
            boxes.expect(QStringLiteral("処理失敗"), vbOK);
        }
        EXPECT_EQ(end != Failure, t->Run()) << end;
        EXPECT_EQ(std::vector<int>(end == Complete ? 8 : end == Failure ? 4 : 3, 0), store.seen) << end;
        EXPECT_EQ(schema, patternIndexes()) << end;
        EXPECT_EQ(0, dbtrans::depth()) << end;
    }
    // Tables that already hold rows keep their indexes while more are added; one lost by a search
    // that was killed while they were dropped is built again when the next one ends.
    std::unique_ptr<EngineOnDb> t(orderJob());
    const QStringList schema = patternIndexes();
    gDao().Execute(QStringLiteral("INSERT INTO パターン母材 (パターン番号) VALUES (0)"), dbFailOnError);
    gDao().Execute(QStringLiteral("DROP INDEX パターン部材_番号"), dbFailOnError);
    SqlitePatternStore store;
    store.Begin();
    EXPECT_EQ(2, patternIndexes().size());
    store.End();
    EXPECT_EQ(schema, patternIndexes());
}

// A store that counts the window events run while it ends (building the indexes over every row).
class CountPumpsAtEnd : public SqlitePatternStore {
public:
    explicit CountPumpsAtEnd(const HeadlessProgress& progress) : progress_(progress) {}
    void End() override
    {
        const int before = progress_.pumps;
        SqlitePatternStore::End();
        duringEnd += progress_.pumps - before;
    }
    int duringEnd = 0;

private:
    const HeadlessProgress& progress_;
};

TEST(EnginePatternStoreTest, WindowEventsRunWhileTheIndexesAreBuilt)
{
    // 560 piece orders of 8 pieces with kerf: some 20,000 rows to index.
    EngineOnDb t({{40, 40, 2}}, {{5, 5, 3}, {4, 4, 3}, {3, 3, 2}}, 1);
    t.engine.Settings.CutOrder = 2;
    t.engine.SetPumpInterval(std::chrono::milliseconds(0));
    HeadlessProgress progress;
    t.engine.SetProgress(&progress);
    CountPumpsAtEnd store(progress);
    t.engine.SetStore(&store);
    ASSERT_TRUE(t.Run());
    EXPECT_EQ(560, t.engine.PatternNo);
    EXPECT_GT(store.duringEnd, 0);
    EXPECT_EQ(3, patternIndexes().size());
}

// A store that renames the part table after the first layout: the next part order cannot load.
class RenameParts : public SqlitePatternStore {
public:
    void Store(const Engine& e, const std::vector<PiecePlacement>& p, const std::vector<SheetResult>& s) override
    {
        SqlitePatternStore::Store(e, p, s);
        Flush();
        gDao().Execute(QStringLiteral("ALTER TABLE 部材 RENAME TO 部材旧"), dbFailOnError);
    }
};

TEST(EngineSearchTest, AFailingPartOrderFailsTheSearch)
{
    EngineOnDb t({{20, 20, 1}}, {{6, 3, 1}, {4, 4, 1}});
    t.engine.Settings.CutOrderDetail = 1 + 2;
    RenameParts store;
    t.engine.SetStore(&store);
    ScriptedMsgBox boxes;
    boxes.expect(QStringLiteral("処理失敗"), vbOK, QStringLiteral("計算処理に失敗しました。"));
    EXPECT_FALSE(t.Run());
    EXPECT_EQ(1, CountRows(QStringLiteral("パターン")));
    EXPECT_TRUE(t.db->errLog().contains(QStringLiteral("LoadParts")));
    EXPECT_EQ(StopReason::SearchFailed, t.engine.stopReason());
}

TEST(EngineComputeRoadTest, StepLabelsAndProgress)
{
    std::unique_ptr<EngineOnDb> t(orderJob());
    ASSERT_TRUE(t->Run());
    EXPECT_EQ((QStringList{QString(), QStringLiteral("入力データ登録中"), QStringLiteral("初期化中"), QStringLiteral("計算中")}),
              t->progress.stepTexts);
    EXPECT_EQ(t->engine.CombinationCount, t->progress.max1);
    EXPECT_EQ(8, t->progress.value1);
    EXPECT_EQ(4, t->progress.max2);
    EXPECT_EQ(0, t->host->mousePointer);
    EXPECT_EQ(0, dbtrans::depth());
}

TEST(EngineComputeRoadTest, PreparationFailures)
{
    {
        // The part table cannot be opened: the result tables are still emptied.
        EngineOnDb t({{20, 20, 1}}, {{6, 3, 1}});
        gDao().Execute(QStringLiteral("INSERT INTO パターン (パターン番号) VALUES (5)"), dbFailOnError);
        gDao().Execute(QStringLiteral("ALTER TABLE 部材 RENAME TO 部材旧"), dbFailOnError);
        ScriptedMsgBox boxes;
        boxes.expect(QStringLiteral("処理失敗"), vbOK, QStringLiteral("計算前処理に失敗しました。"));
        EXPECT_FALSE(t.engine.BeforeCompute());
        EXPECT_EQ(0, CountRows(QStringLiteral("パターン")));
        ASSERT_EQ(1u, boxes.shown().size());
        EXPECT_EQ(vbCritical, boxes.shown()[0].style);
        EXPECT_EQ(StopReason::PreparationFailed, t.engine.stopReason());
    }
    // A setting out of range.
    for (auto set : {+[](SystemSettings& s) { s.CutPosition = 2; }, +[](SystemSettings& s) { s.RotationMode = 3; },
                     +[](SystemSettings& s) { s.CutOrder = 3; }, +[](SystemSettings& s) { s.CutOrderDetail = 0; },
                     +[](SystemSettings& s) { s.SlitMode = -1; }, +[](SystemSettings& s) { s.DisplaySheets = -1; }}) {
        EngineOnDb t({{20, 20, 1}}, {{6, 3, 1}});
        set(t.engine.Settings);
        ScriptedMsgBox boxes;
        boxes.expect(QStringLiteral("処理失敗"), vbOK, QStringLiteral("計算前処理に失敗しました。"));
        EXPECT_FALSE(t.engine.BeforeCompute());
        EXPECT_EQ(StopReason::PreparationFailed, t.engine.stopReason());
    }
}

TEST(EngineComputeRoadTest, OverflowingRunCountStoresNothing)
{
    EngineOnDb t({{1000, 1000, 1}}, {{5, 3, 31, true}});
    t.engine.Settings.RotationMode = 2;
    ScriptedMsgBox boxes;
    boxes.expect(kCalculationOverflowTitle, vbOK);
    ASSERT_TRUE(t.engine.BeforeCompute());
    EXPECT_FALSE(t.engine.Compute());
    EXPECT_EQ(QStringLiteral("計算中"), t.progress.stepTexts.last());
    EXPECT_EQ(0, CountRows(QStringLiteral("パターン")));
    EXPECT_EQ(1u, boxes.shown().size());
    EXPECT_EQ(StopReason::Overflow, t.engine.stopReason());
}

// Each step starts the reason afresh; an error no step expects is logged, shows no box and is
// told apart from the failures that show one.
TEST(EngineComputeRoadTest, StopReasonOfEachStep)
{
    std::unique_ptr<EngineOnDb> t(orderJob());
    ASSERT_TRUE(t->engine.CheckInputValue());
    EXPECT_EQ(StopReason::Running, t->engine.stopReason());
    ASSERT_TRUE(t->engine.BeforeCompute());
    EXPECT_EQ(StopReason::Running, t->engine.stopReason());
    ASSERT_TRUE(t->engine.Compute());
    EXPECT_EQ(StopReason::Done, t->engine.stopReason());

    t->engine.SetHost(nullptr);
    ScriptedMsgBox boxes;
    EXPECT_FALSE(t->engine.CheckInputValue());
    EXPECT_EQ(StopReason::Error, t->engine.stopReason());
    EXPECT_TRUE(t->db->errLog().contains(QStringLiteral("CheckInputValue")));
    EXPECT_TRUE(boxes.shown().empty());
}

}
