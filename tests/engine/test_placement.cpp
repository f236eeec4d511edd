// Placement on candidate corners with kerf bands and strips, the kerf frame, the overlap rule and
// the rotation look-ahead.
#include "engine/Engine.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/SheetRaster.h"

#include <gtest/gtest.h>

namespace {

using Cand = std::vector<int16_t>;

// A raster as text, row by row: "." free, "k" kerf, the part number otherwise.
QString Picture(const SheetRaster& r)
{
    QString out;
    for (int y = 1; y <= r.UY(); ++y) {
        for (int x = 1; x <= r.UX(); ++x)
            out += r.at(x, y) == 0 ? QLatin1Char('.') : r.at(x, y) == 99 ? QLatin1Char('k') : QString::number(r.at(x, y)).back();
        out += QLatin1Char('\n');
    }
    return out;
}

// An engine with one stock kind of length x width cells and a fresh sheet of it.
struct Sheet {
    Sheet(int length, int width, int cutPosition = 0, int slit = 0)
    {
        SetTables(e, {{length, width, 1}}, {{1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}});
        e.Settings.CutPosition = int16_t(cutPosition);
        e.Settings.SlitMode = int16_t(slit);
        e.NewSheet(1);
    }
    // Places and marks the kerf frame as the layout run does; returns the position or (0, 0).
    std::pair<int, int> put(int along, int across, int kerf, int part = 1)
    {
        int16_t x = 0, y = 0;
        if (!e.PutTavo(int16_t(across), int16_t(along), x, y, int16_t(part), int16_t(kerf), 1))
            return {0, 0};
        e.PutTavoKiriHaba(int16_t(along), int16_t(across), x, y, int16_t(kerf), 1);
        return {x, y};
    }
    Engine e;
};

TEST(EnginePlacementTest, WorkedExampleLeftJustified)
{
    Sheet s(10, 6);
    EXPECT_EQ(std::make_pair(1, 1), s.put(4, 3, 1));   // A
    EXPECT_EQ((Cand{0, 1, 6}), s.e.CandX);
    EXPECT_EQ((Cand{0, 1, 5}), s.e.CandY);
    EXPECT_EQ(std::make_pair(1, 5), s.put(4, 2, 1));   // B, past A's kerf row
    EXPECT_EQ(std::make_pair(6, 1), s.put(4, 6, 1));   // C, past A's kerf column
}

TEST(EnginePlacementTest, WorkedExampleTopJustified)
{
    Sheet s(10, 6, 1);
    EXPECT_EQ(std::make_pair(1, 1), s.put(4, 3, 1));
    EXPECT_EQ(std::make_pair(6, 1), s.put(4, 2, 1));
    EXPECT_EQ((Cand{0, 1, 4, 5}), s.e.CandX);           // the y list under 上詰め
}

TEST(EnginePlacementTest, EdgesOfTheSheet)
{
    // A piece ending at the edge is taken; its corner beyond the edge is not added, and the band
    // past the edge is not looked at.
    Sheet s(10, 6);
    EXPECT_EQ(std::make_pair(1, 1), s.put(10, 6, 2));
    EXPECT_EQ((Cand{0, 1}), s.e.CandX);
    EXPECT_EQ((Cand{0, 1}), s.e.CandY);
    // Any other 切取位置 places nothing.
    Sheet other(10, 6, 2);
    EXPECT_EQ(std::make_pair(0, 0), other.put(1, 1, 0));
}

TEST(EnginePlacementTest, KerfCellsBlockTheFirstRowButNotTheInside)
{
    // A kerf cell inside the rectangle does not stop the piece and is overwritten.
    Sheet t(10, 10);
    t.e.Grid.MarkKerf(2, 2, 2, 2);
    int16_t x = 0, y = 0;
    EXPECT_TRUE(t.e.PutTavo(3, 3, x, y, 1, 0, 1));
    EXPECT_EQ(std::make_pair(int16_t(1), int16_t(1)), std::make_pair(x, y));
    EXPECT_EQ(1, t.e.Grid.at(2, 2));
    // On the first row it rejects the corner (here the only one).
    Sheet u(10, 10);
    u.e.Grid.MarkKerf(2, 2, 1, 1);
    EXPECT_FALSE(u.e.PutTavo(3, 3, x, y, 1, 0, 1));
}

TEST(EnginePlacementTest, KerfFrameMarksOnlyFreeCellsInsideTheSheet)
{
    Sheet s(6, 5);
    EXPECT_EQ(std::make_pair(1, 1), s.put(2, 2, 1, 1));
    EXPECT_EQ(std::make_pair(1, 4), s.put(2, 2, 1, 2));
    EXPECT_EQ(std::make_pair(4, 1), s.put(2, 2, 1, 3));
    EXPECT_EQ(QStringLiteral("11k33k\n11k33k\nkkkkkk\n22k...\n22k...\n"), Picture(RasterOf(s.e.Grid)));
}

TEST(EnginePlacementTest, StripBoundaries)
{
    // 縦方向スリット: a piece on the first row sets the boundary x + along + k = 7; a later piece
    // may end with its kerf on it or start on it, but not straddle it.
    Sheet s(20, 10, 0, 2);
    s.put(5, 4, 1);
    EXPECT_EQ((std::vector<int32_t>{0, 1, 7}), s.e.SlitX);
    EXPECT_EQ(std::make_pair(1, 6), s.put(5, 2, 1));
    EXPECT_EQ(std::make_pair(7, 1), s.put(6, 3, 1));
    Sheet t(20, 10, 0, 2);
    t.put(5, 4, 1);
    EXPECT_EQ(std::make_pair(7, 1), t.put(6, 2, 1));      // at (1, 6) it would straddle 7
    // 横方向スリット likewise in y, set by pieces in the first column.
    Sheet h(10, 20, 0, 1);
    h.put(4, 5, 1);
    EXPECT_EQ((std::vector<int32_t>{0, 1, 7}), h.e.SlitY);
    EXPECT_EQ(std::make_pair(1, 7), h.put(2, 6, 1));      // starts on 7
    EXPECT_EQ(std::make_pair(0, 0), h.put(2, 13, 1));     // (4, 7) and (6, 1) straddle 14 or 7
    Sheet free(10, 20, 0, 0);
    free.put(4, 5, 1);
    free.put(2, 6, 1);
    EXPECT_EQ(std::make_pair(4, 7), free.put(2, 13, 1));
}

TEST(EnginePlacementTest, APieceIsNeverPlacedOverAnother)
{
    // The only corner (1, 1) has a free first row and column, but the rectangle holds a piece.
    Sheet s(10, 10);
    s.e.Grid.PlacePiece(4, 4, 2, 2, 3);
    s.e.PartTbl[1].数 = 1;
    int16_t x = 0, y = 0;
    EXPECT_FALSE(s.e.PutTavo(6, 6, x, y, 1, 0, 1));
    EXPECT_FALSE(s.e.PutTavoSimulation(6, 6, 1, 0, 1));
    // Without it the same piece goes there and would be turned.
    Sheet t(10, 10);
    t.e.PartTbl[1].数 = 1;
    EXPECT_TRUE(t.e.PutTavoSimulation(6, 6, 1, 0, 1));
    EXPECT_TRUE(t.e.PutTavo(6, 6, x, y, 1, 0, 1));
}

TEST(EngineRotationSimulationTest, Answers)
{
    // An empty sheet of 幅 6, a piece 2 across: per = 3 pieces in one column.
    struct Case {
        int count, placed;
        bool turn;
    } cases[] = {{3, 0, true}, {4, 0, false}, {6, 0, false}, {4, 1, true}, {1, 0, true}};
    for (const Case& c : cases) {
        Sheet s(10, 6);
        s.e.PartTbl[1].数 = int16_t(c.count);
        s.e.PartTbl[1].CutCount = int16_t(c.placed);
        EXPECT_EQ(c.turn, s.e.PutTavoSimulation(2, 3, 1, 0, 1)) << c.count << " " << c.placed;
    }
    // The first corner off the start edge: never.
    Sheet full(10, 6);
    full.put(10, 1, 0);
    full.e.PartTbl[2].数 = 1;
    EXPECT_FALSE(full.e.PutTavoSimulation(2, 3, 2, 0, 1));
    // 上詰め counts along the sheet's 長さ; other positions never turn.
    Sheet top(10, 6, 1);
    top.e.PartTbl[1].数 = 5;
    EXPECT_TRUE(top.e.PutTavoSimulation(2, 2, 1, 0, 1));
    top.e.PartTbl[1].数 = 6;
    EXPECT_FALSE(top.e.PutTavoSimulation(2, 2, 1, 0, 1));
    Sheet none(10, 6, 3);
    EXPECT_FALSE(none.e.PutTavoSimulation(2, 3, 1, 0, 1));
}

}
