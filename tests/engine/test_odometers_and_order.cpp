// The rotation odometers and the piece-order permutation.
#include "engine/Engine.h"
#include "engine/PieceOrder.h"
#include "tests/engine/EngineTestSupport.h"

#include <gtest/gtest.h>

namespace {

std::vector<bool> kindFlags(const Engine& e, std::initializer_list<int16_t> kinds)
{
    std::vector<bool> out;
    for (int16_t k : kinds)
        for (size_t i = 1; i < e.PieceQueue.size(); ++i)
            if (e.PieceQueue[i] == k) {
                out.push_back(e.PieceRotated[i]);
                break;
            }
    return out;
}

TEST(EngineOdometerTest, KindsTurnTogetherLowestFastest)
{
    Engine e;
    SetTables(e, {{100, 100, 1}}, {{5, 3, 2, true}, {5, 3, 1}, {4, 3, 2, true}});
    using F = std::vector<bool>;
    EXPECT_EQ((F{false, false}), kindFlags(e, {1, 3}));
    EXPECT_EQ(0, e.ReRevolution());
    EXPECT_EQ((F{true, false}), kindFlags(e, {1, 3}));
    EXPECT_EQ(0, e.ReRevolution());
    EXPECT_EQ((F{false, true}), kindFlags(e, {1, 3}));
    EXPECT_EQ(0, e.ReRevolution());
    EXPECT_EQ((F{true, true}), kindFlags(e, {1, 3}));
    EXPECT_EQ(1, e.ReRevolution());
    EXPECT_EQ(std::vector<bool>(6, false), e.PieceRotated);
    // Both pieces of a kind carry its flag; the non-rotatable kind never turns.
    EXPECT_EQ(0, e.ReRevolution());
    EXPECT_EQ((std::vector<bool>{false, true, true, false, false, false}), e.PieceRotated);
}

TEST(EngineOdometerTest, PiecesUnderTotalSearchAndTrialFlags)
{
    Engine e;
    SetTables(e, {{100, 100, 1}}, {{5, 3, 2, true}, {5, 3, 1}, {4, 3, 1, true}});
    e.Settings.RotationMode = 2;
    std::vector<std::vector<bool>> states{e.PieceRotated};
    int16_t r;
    while ((r = e.ReRevolution()) == 0) {
        EXPECT_NE(states.back()[1], e.PieceRotated[1]);   // the first position changes every step
        EXPECT_FALSE(e.PieceRotated[3]);                   // position of the non-rotatable kind
        states.push_back(e.PieceRotated);
    }
    EXPECT_EQ(1, r);
    EXPECT_EQ(8u, states.size());
    EXPECT_EQ(std::vector<bool>(5, false), e.PieceRotated);

    // ReRevolution2 steps TryRotate of the rotatable kinds.
    int steps = 0;
    while (e.ReRevolution2() == 0)
        ++steps;
    EXPECT_EQ(3, steps);
    for (const PartRec& p : e.PartTbl)
        EXPECT_FALSE(p.TryRotate);

    // No rotatable kind: both wrap at once.
    Engine none;
    SetTables(none, {{100, 100, 1}}, {{5, 5, 2, true}, {5, 3, 1}});
    EXPECT_EQ(1, none.ReRevolution());
    EXPECT_EQ(1, none.ReRevolution2());
}

std::vector<int16_t> steps(std::vector<int16_t> q, int16_t mode, int n)
{
    std::vector<int16_t> all;
    for (int i = 0; i < n; ++i) {
        EXPECT_TRUE(ReOrder(q, mode));
        all.insert(all.end(), q.begin() + 1, q.end());
    }
    return all;
}

TEST(EnginePieceOrderTest, LexicographicOrdersAndWrapAround)
{
    EXPECT_EQ((std::vector<int16_t>{1, 3, 2, 2, 1, 3, 2, 3, 1, 3, 1, 2, 3, 2, 1, 1, 2, 3}),
              steps({0, 1, 2, 3}, 2, 6));
    EXPECT_EQ((std::vector<int16_t>{1, 2, 1, 2, 1, 1, 1, 1, 2}), steps({0, 1, 1, 2}, 2, 3));
    EXPECT_EQ((std::vector<int16_t>{1, 1, 3, 3, 2}), steps({0, 1, 1, 2, 3, 3}, 1, 1));
    EXPECT_EQ((std::vector<int16_t>{2, 1, 1}), steps({0, 1, 2, 1}, 1, 1));
    // One piece, one kind: unchanged. Element 0 is kept.
    EXPECT_EQ((std::vector<int16_t>{4}), steps({7, 4}, 2, 1));
    EXPECT_EQ((std::vector<int16_t>{4, 4, 4}), steps({7, 4, 4, 4}, 1, 1));
    std::vector<int16_t> q{7, 2, 1};
    ReOrder(q, 2);
    EXPECT_EQ(7, q[0]);
    std::vector<int16_t> empty;
    EXPECT_FALSE(ReOrder(empty, 2));
}

TEST(EnginePieceOrderTest, SortTailMovesCountsWithValues)
{
    std::vector<int16_t> v{0, 3, 1, 2}, c{0, 30, 10, 20};
    SortTail(v, c);
    EXPECT_EQ((std::vector<int16_t>{0, 1, 2, 3}), v);
    EXPECT_EQ((std::vector<int16_t>{0, 10, 20, 30}), c);
}

}
