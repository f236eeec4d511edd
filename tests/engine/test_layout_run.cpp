// The layout run: its worked figures, its sheet and piece rules, and agreement with the plain
// full-raster algorithm on many random jobs.
#include "engine/Engine.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/ReferenceLayout.h"

#include <array>
#include <gtest/gtest.h>
#include <random>

namespace {

struct LayoutOf {
    std::vector<PiecePlacement> placements;
    std::vector<SheetResult> sheets;
    bool result = false;
    explicit LayoutOf(Engine& e) { result = e.LayoutRun(placements, sheets); }
};

bool samePlacement(const PiecePlacement& a, const PiecePlacement& b)
{
    return a.連番 == b.連番 && a.部材番号 == b.部材番号 && a.母材番号 == b.母材番号 && a.枝番 == b.枝番 &&
           a.開始横 == b.開始横 && a.開始縦 == b.開始縦 && a.終了横 == b.終了横 && a.終了縦 == b.終了縦;
}

void expectSameSheet(const SheetResult& a, const SheetResult& b, const std::string& where)
{
    EXPECT_EQ(a.連番, b.連番) << where;
    EXPECT_EQ(a.母材番号, b.母材番号) << where;
    EXPECT_EQ(a.枝番, b.枝番) << where;
    EXPECT_EQ(a.使用面積, b.使用面積) << where;
    EXPECT_EQ(a.使用率, b.使用率) << where;
    EXPECT_EQ(a.切代面積, b.切代面積) << where;
    EXPECT_EQ(a.切代率, b.切代率) << where;
    EXPECT_EQ(a.端材面積, b.端材面積) << where;
    EXPECT_EQ(a.端材率, b.端材率) << where;
    EXPECT_EQ(a.余材面積, b.余材面積) << where;
    EXPECT_EQ(a.余材率, b.余材率) << where;
    EXPECT_EQ(a.平方数, b.平方数) << where;
}

TEST(EngineLayoutRunTest, AreaOfTheWorkedExample)
{
    // Unit 5, a sheet of 10 by 6 cells, 使用率 45: (60 x 45 / 100) x 25; halves go to even.
    EXPECT_EQ(675, SheetArea(60, 45, 5));
    EXPECT_EQ(0, SheetArea(1, 50, 1));
    EXPECT_EQ(2, SheetArea(3, 50, 1));
    // A run: half the sheet used, nothing else on it.
    Engine e;
    SetTables(e, {{10, 6, 1}}, {{5, 6, 1}}, 0, 5);
    LayoutOf r(e);
    ASSERT_TRUE(r.result);
    ASSERT_EQ(2u, r.sheets.size());
    EXPECT_EQ(50.0, r.sheets[1].使用率);
    EXPECT_EQ(750, r.sheets[1].使用面積);
    EXPECT_EQ(750, r.sheets[1].余材面積);
    EXPECT_EQ(0, r.sheets[1].端材面積);
    EXPECT_EQ(0, r.sheets[1].切代面積);
    EXPECT_EQ(1, r.sheets[1].平方数);
}

TEST(EngineLayoutRunTest, SheetsRunOutOrRepeatWithoutLimit)
{
    {
        // More pieces than sheets: the leftovers keep 母材番号 0.
        Engine e;
        SetTables(e, {{10, 10, 1}}, {{10, 10, 2}});
        LayoutOf r(e);
        EXPECT_TRUE(r.result);
        EXPECT_EQ(2u, r.sheets.size());
        EXPECT_EQ(1, r.placements[1].母材番号);
        EXPECT_EQ(0, r.placements[2].母材番号);
        EXPECT_EQ(0, r.placements[2].終了横);
    }
    {
        // An unlimited last kind: sheets keep coming while they take pieces.
        Engine e;
        SetTables(e, {{10, 10, 1}, {20, 20, 0}}, {{15, 15, 3}});
        LayoutOf r(e);
        EXPECT_TRUE(r.result);
        ASSERT_EQ(5u, r.sheets.size());                      // 1 empty small sheet, 3 big ones
        EXPECT_EQ(0, r.sheets[1].使用面積);
        for (int s = 2; s <= 4; ++s)
            EXPECT_EQ(2, r.sheets[size_t(s)].母材番号);
        EXPECT_EQ(3, r.sheets[4].枝番);
        EXPECT_EQ(4, r.sheets[4].連番);
    }
    {
        // The unlimited kind gets a sheet that receives nothing: it is recorded and ends the run.
        Engine e;
        SetTables(e, {{20, 20, 0}}, {{15, 15, 1}, {25, 5, 1}});   // kind 2 fits no sheet
        LayoutOf r(e);
        EXPECT_TRUE(r.result);
        ASSERT_EQ(3u, r.sheets.size());
        EXPECT_EQ(0, r.sheets[2].使用面積);
        EXPECT_EQ(0, r.placements[2].母材番号);
    }
}

TEST(EngineLayoutRunTest, AFailedPartIsNotTriedAgainOnTheSameSheet)
{
    // Kind 1 leaves a column 2 wide. The first piece of kind 2 (3 along) fails there; the second,
    // turned (2 along), would fit, but is not tried on that sheet and goes to the next one.
    Engine e;
    SetTables(e, {{10, 10, 2}}, {{8, 10, 1}, {3, 2, 2}});
    e.PieceRotated = {false, false, false, true};
    LayoutOf r(e);
    EXPECT_EQ(2, r.placements[2].連番);
    EXPECT_EQ(2, r.placements[3].連番);
    EXPECT_EQ(3, r.placements[3].終了縦 - r.placements[3].開始縦);   // turned
}

TEST(EngineLayoutRunTest, RotatedPiecesAndTheSecondTry)
{
    {
        // PieceRotated turns the piece only when the turned piece fits the sheet.
        Engine e;
        SetTables(e, {{20, 10, 1}}, {{12, 4, 1, true}, {4, 6, 1, true}});
        e.PieceRotated = {false, true, true};
        LayoutOf r(e);
        EXPECT_EQ(12, r.placements[1].終了横 - r.placements[1].開始横);   // 12 > 幅 10: unturned
        EXPECT_EQ(6, r.placements[2].終了横 - r.placements[2].開始横);    // turned: along 6
    }
    {
        // 回転方式 0 turns a rotatable piece that fits nowhere as it is; 回転方式 2 does not.
        for (int mode : {0, 2}) {
            Engine e;
            SetTables(e, {{10, 10, 1}}, {{10, 6, 1}, {4, 10, 1, true}});
            e.Settings.RotationMode = int16_t(mode);
            LayoutOf r(e);
            EXPECT_EQ(mode == 0 ? 1 : 0, r.placements[2].母材番号) << mode;
        }
    }
}

TEST(EngineLayoutRunTest, FragmentsOnlyWhenRanked)
{
    // Four pieces around a hole (x 2-6, y 4-6) that the free cells beyond them do not reach:
    // 2 fragments when counted, else 1.
    for (int flags : {0, 1}) {
        Engine e;
        SetTables(e, {{10, 10, 1}}, {{2, 6, 1}, {6, 2, 1}, {4, 4, 1}, {2, 6, 1}});
        e.Settings.SortKeyFlags = int16_t(flags);
        LayoutOf r(e);
        // The walls (開始横, 開始縦, 終了横, 終了縦): left, low side, high side, right of the hole.
        const std::vector<std::array<int, 4>> walls = {{0, 0, 2, 6}, {0, 6, 6, 8}, {2, 0, 6, 4}, {6, 0, 8, 6}};
        for (size_t i = 1; i <= walls.size(); ++i) {
            const PiecePlacement& p = r.placements[i];
            ASSERT_EQ(walls[i - 1], (std::array<int, 4>{p.開始横, p.開始縦, p.終了横, p.終了縦})) << i;
        }
        EXPECT_EQ(flags ? 2 : 1, r.sheets[1].平方数);
    }
}

// Random jobs: the engine's run equals the plain algorithm in every placement, every measure and
// the last sheet's cells.
TEST(EngineLayoutRunTest, EqualsThePlainRasterAlgorithm)
{
    std::mt19937 rng(20261210);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    int checked = 0;
    for (int job = 0; job < 1500; ++job) {
        std::vector<StockInput> stock;
        const int kinds = pick(1, 2);
        for (int s = 0; s < kinds; ++s)
            stock.push_back({pick(12, 90), pick(8, 60), s + 1 == kinds ? pick(0, 2) : pick(1, 2)});
        std::vector<PartInput> parts;
        for (int p = pick(1, 8); p > 0; --p)
            parts.push_back({pick(1, 25), pick(1, 20), pick(1, 6), pick(0, 1) == 1});
        const int kerf = pick(0, 3);
        Engine a, b;
        for (Engine* e : {&a, &b}) {
            SetTables(*e, stock, parts, kerf, pick(1, 3));
            e->Settings.CutPosition = int16_t(job % 2);
            e->Settings.SlitMode = int16_t(job / 2 % 3);
            e->Settings.RotationMode = int16_t(job / 6 % 3);
            e->Settings.SortKeyFlags = 1;
        }
        b.Unit = a.Unit;
        // Some rotation and trial flags, and a shuffled piece order.
        std::shuffle(a.PieceQueue.begin() + 1, a.PieceQueue.end(), rng);
        for (size_t i = 1; i < a.PieceRotated.size(); ++i)
            a.PieceRotated[i] = pick(0, 1);
        for (size_t p = 1; p < a.PartTbl.size(); ++p)
            a.PartTbl[p].TryRotate = a.PartTbl[p].Rotatable && pick(0, 1);
        b.PieceQueue = a.PieceQueue;
        b.PieceRotated = a.PieceRotated;
        b.PartTbl = a.PartTbl;
        LayoutOf r(a);
        const ReferenceRun ref = ReferenceLayoutRun(b);
        const std::string where = "job " + std::to_string(job);
        ASSERT_TRUE(r.result) << where;
        ASSERT_EQ(ref.placements.size(), r.placements.size()) << where;
        for (size_t i = 1; i < r.placements.size(); ++i)
            ASSERT_TRUE(samePlacement(ref.placements[i], r.placements[i])) << where << " piece " << i;
        ASSERT_EQ(ref.sheets.size(), r.sheets.size()) << where;
        for (size_t s = 1; s < r.sheets.size(); ++s)
            expectSameSheet(ref.sheets[s], r.sheets[s], where + " sheet " + std::to_string(s));
        const SheetRaster last = RasterOf(a.Grid);
        for (int x = 1; x <= last.UX(); ++x)
            for (int y = 1; y <= last.UY(); ++y)
                ASSERT_EQ(ref.lastSheet.at(x, y), last.at(x, y)) << where << " cell " << x << "," << y;
        checked += int(r.sheets.size()) - 1;
    }
    EXPECT_GT(checked, 1500);
}

}
