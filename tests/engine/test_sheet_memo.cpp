// The memo of laid-out sheets: searches give the same tables, the same progress and the same stop
// question with it and without it; the memo itself keeps within its bytes and goes off where its
// hits save little.
#include "engine/Engine.h"
#include "engine/SheetMemo.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>
#include <memory>
#include <random>

namespace {

// Records every update of the second bar and every read of the cancel flag; sets the flag at the
// first read after stopAfter patterns were stored.
class Trace : public HeadlessProgress {
public:
    Trace(const Engine& e, int stopAfter) : e_(e), stopAfter_(stopAfter) {}
    void updateProgress2(int32_t value) override { log.push_back(value); }
    bool cancel() const override
    {
        if (!stopped_ && e_.PatternNo == stopAfter_) {
            stopped_ = true;
            const_cast<Trace*>(this)->cancelFlag = true;
        }
        log.push_back(cancelFlag ? -2 : -1);
        return cancelFlag;
    }
    mutable std::vector<int32_t> log;

private:
    const Engine& e_;
    int stopAfter_;
    mutable bool stopped_ = false;
};

struct Job {
    std::vector<StockInput> stock;
    std::vector<PartInput> parts;
    int kerf = 0;
    SystemSettings settings;
};

struct Outcome {
    bool result = false;
    int32_t patterns = 0;
    int16_t columns = 0;
    int64_t hits = 0;
    QString tables;
    std::vector<int32_t> progress;
};

// The whole compute road of a job; with stopAfter >= 0 the stop question comes after that many
// patterns and is answered with answer.
Outcome run(const Job& job, bool memo, int stopAfter = -1, int answer = vbCancel, size_t memoBytes = SheetMemo::kDefaultBytes)
{
    EngineOnDb t(job.stock, job.parts, job.kerf);
    t.engine.Settings = job.settings;
    t.engine.UseSheetMemo = memo;
    t.engine.SheetMemoBytes = memoBytes;
    Trace trace(t.engine, stopAfter);
    t.engine.SetProgress(&trace);
    ScriptedMsgBox boxes;
    if (stopAfter >= 0)
        boxes.expect(QStringLiteral("計算中止"), answer);
    Outcome o;
    o.result = t.Run();
    o.patterns = t.engine.PatternNo;
    o.columns = t.engine.ListSheetColumns;
    o.hits = t.engine.SheetMemoHits();
    o.tables = DumpTable(QStringLiteral("パターン")) + DumpTable(QStringLiteral("パターン母材")) +
               DumpTable(QStringLiteral("パターン部材"));
    o.progress = trace.log;
    if (stopAfter >= 0) {
        EXPECT_EQ(1u, boxes.shown().size());
    }
    return o;
}

void expectSame(const Outcome& off, const Outcome& on, const std::string& where)
{
    EXPECT_EQ(off.result, on.result) << where;
    EXPECT_EQ(off.patterns, on.patterns) << where;
    EXPECT_EQ(off.columns, on.columns) << where;
    EXPECT_TRUE(off.tables == on.tables) << where;
    EXPECT_TRUE(off.progress == on.progress) << where;
    EXPECT_EQ(0, off.hits) << where;
}

SystemSettings settings(int cutOrder, int detail, int rotation, int slit = 0, int position = 0)
{
    SystemSettings s;
    s.CutOrder = int16_t(cutOrder);
    s.CutOrderDetail = int16_t(detail);
    s.RotationMode = int16_t(rotation);
    s.SlitMode = int16_t(slit);
    s.CutPosition = int16_t(position);
    s.SortKeyList = QStringLiteral(",欠片（穴）の少ない順,使用材の少ない順,切代の少ない順,端材の少ない順");
    s.SortKeyFlags = 15;
    return s;
}

const std::vector<Job>& jobs()
{
    static const std::vector<Job> all = {
        // 指定順 over all four orders, several sheets, kerf.
        {{{30, 20, 4}}, {{12, 7, 3, true}, {9, 6, 3, true}, {8, 8, 2}, {6, 4, 4, true}, {5, 3, 3, true}}, 1,
         settings(0, 15, 0)},
        // 同一部材は連続 with the trial flags of 回転方式 1, an unlimited last kind.
        {{{25, 18, 2}, {20, 20, 0}}, {{10, 6, 3, true}, {7, 5, 3, true}, {6, 6, 2}, {4, 3, 3, true}}, 1,
         settings(1, 1, 1)},
        // 総当り with the per-piece odometer of 回転方式 2, 上詰め.
        {{{20, 15, 3}}, {{9, 5, 2, true}, {6, 4, 2, true}, {5, 5, 1}, {12, 3, 1}}, 0, settings(2, 1, 2, 0, 1)},
        // Strips in both directions.
        {{{24, 16, 4}}, {{8, 5, 3, true}, {6, 6, 2}, {5, 3, 3, true}, {11, 4, 2, true}}, 1, settings(1, 1, 0, 2, 0)},
        {{{24, 16, 4}}, {{8, 5, 3, true}, {6, 6, 2}, {5, 3, 3, true}, {11, 4, 2, true}}, 1, settings(1, 1, 0, 1, 1)},
        // A first sheet that takes nothing: the next one, of another kind, starts with the same pieces.
        {{{6, 6, 1}, {20, 14, 3}}, {{8, 7, 2, true}, {9, 5, 2, true}, {7, 7, 1}, {10, 3, 2, true}}, 1, settings(1, 1, 0)},
        // Pieces left over: one fits no sheet, and the sheets run out.
        {{{15, 10, 2}, {12, 12, 1}}, {{13, 11, 1}, {7, 4, 4, true}, {5, 5, 3}, {6, 2, 3, true}}, 1, settings(0, 3, 0)},
    };
    return all;
}

TEST(EngineSheetMemoTest, SearchesGiveTheSameTablesAndProgressWithAndWithoutIt)
{
    for (size_t j = 0; j < jobs().size(); ++j) {
        const std::string where = "job " + std::to_string(j);
        const Outcome off = run(jobs()[j], false);
        const Outcome on = run(jobs()[j], true);
        ASSERT_TRUE(off.result) << where;
        EXPECT_GT(on.hits, 0) << where;
        expectSame(off, on, where);
    }
}

// A memo that fills up early: a sheet after one taken from it may be laid out again, and it reads
// what the sheets before it placed.
TEST(EngineSheetMemoTest, AFullMemoGivesTheSameTables)
{
    for (size_t j = 0; j < jobs().size(); ++j) {
        const Outcome off = run(jobs()[j], false);
        for (size_t bytes : {3000, 9000}) {
            const std::string where = "job " + std::to_string(j) + ", " + std::to_string(bytes) + " bytes";
            const Outcome full = run(jobs()[j], true, -1, vbCancel, bytes);
            EXPECT_GT(full.hits, 0) << where;
            expectSame(off, full, where);
        }
    }
}

// Random jobs over every setting.
TEST(EngineSheetMemoTest, RandomSearchesGiveTheSameTables)
{
    std::mt19937 rng(977);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    int64_t hits = 0;
    for (int n = 0; n < 25; ++n) {
        Job job;
        const int kinds = pick(1, 2);
        for (int s = 0; s < kinds; ++s)
            job.stock.push_back({pick(12, 40), pick(8, 30), s + 1 == kinds ? pick(0, 3) : pick(1, 3)});
        for (int p = pick(2, 3); p > 0; --p)
            job.parts.push_back({pick(2, 14), pick(2, 12), pick(1, 2), pick(0, 1) == 1});
        job.kerf = pick(0, 2);
        const int cutOrder = pick(0, 2);
        job.settings = settings(cutOrder, cutOrder == 0 ? pick(1, 15) : 1, pick(0, 2), pick(0, 2), pick(0, 1));
        job.settings.SortKeyFlags = int16_t(pick(0, 1));
        const std::string where = "random job " + std::to_string(n);
        const Outcome off = run(job, false);
        const Outcome on = run(job, true);
        hits += on.hits;
        expectSame(off, on, where);
    }
    EXPECT_GT(hits, 0);
}

// The stop question comes at the same read of the cancel flag, in a layout whose sheets come from
// the memo; each answer leaves the same tables as without the memo, and キャンセル the same as no stop.
TEST(EngineSheetMemoTest, TheStopQuestionAndItsAnswersAreTheSame)
{
    const Job& job = jobs()[0];
    const Outcome whole = run(job, true);
    for (int answer : {vbCancel, vbYes, vbNo}) {
        const std::string where = "answer " + std::to_string(answer);
        const Outcome off = run(job, false, 40, answer);
        const Outcome on = run(job, true, 40, answer);
        EXPECT_GT(on.hits, 0) << where;
        expectSame(off, on, where);
        if (answer == vbCancel)
            EXPECT_TRUE(whole.tables == on.tables) << where;
        else
            EXPECT_EQ(40, on.patterns) << where;
    }
}

TEST(EngineSheetMemoTest, KeepsWithinItsBytesAndGoesOffWhereItSavesLittle)
{
    auto keyOf = [](SheetMemo& m, int n) {
        m.ClearKey();
        m.AddToKey(n);
        m.AddToKey(n >> 10);
    };
    SheetResult r;
    r.使用率 = 42.5;
    {
        SheetMemo m;
        m.Start(true, 1 << 20);
        keyOf(m, 7);
        EXPECT_EQ(nullptr, m.Find());
        m.Keep({{0, 1, 1, 5, 3}, {2, 7, 1, 4, 4}}, r, true, 1000);
        keyOf(m, 8);
        EXPECT_EQ(nullptr, m.Find());
        keyOf(m, 7);
        const SheetMemo::Sheet* s = m.Find();
        ASSERT_NE(nullptr, s);
        ASSERT_EQ(2u, s->placedCount);
        EXPECT_EQ(7, s->placed[1].x);
        EXPECT_EQ(42.5, s->result.使用率);
        EXPECT_TRUE(s->allFit);
        // Kept until full: the first sheets stay, later ones are not kept.
        int n = 8;
        for (; n < 100000; ++n) {
            keyOf(m, n);
            m.Keep({{0, 1, 1, 5, 3}}, r, false, 1000);
            m.Find();
            if (m.hits() < n - 6)
                break;
        }
        EXPECT_LT(n, 100000);
        EXPECT_TRUE(m.on());
        keyOf(m, 7);
        EXPECT_NE(nullptr, m.Find());
    }
    {
        // Hits that save nothing: off at the first judgement, and nothing found from then on.
        SheetMemo m;
        m.Start(true);
        keyOf(m, 1);
        m.Keep({}, r, true, 0);
        for (int64_t i = 1; i < SheetMemo::kJudgeFinds; ++i)
            EXPECT_NE(nullptr, m.Find());
        EXPECT_EQ(nullptr, m.Find());
        EXPECT_FALSE(m.on());
        EXPECT_EQ(nullptr, m.Find());
    }
}

}
