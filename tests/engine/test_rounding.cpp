// Whole pixels from drawing coordinates, and the contrast colour.
#include "engine/RoundAndContrast.h"

#include <gtest/gtest.h>

namespace {

TEST(EngineRoundingTest, RoundByMode)
{
    struct Case {
        double value;
        int mode, result;
    } cases[] = {{2.99, 1, 2}, {-2.99, 1, -2}, {2.5, 2, 3}, {2.49, 2, 2}, {-2.5, 2, -3}, {0, 2, 0},
                 {2.01, 3, 3}, {2.005, 3, 2}, {2, 3, 2}, {-2.01, 3, -3}, {7.7, 4, 0}, {-1e9, 0, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(c.result, RoundByMode(c.value, c.mode)) << c.value << " mode " << c.mode;
    EXPECT_THROW(RoundByMode(3e9, 1), std::exception);
}

TEST(EngineRoundingTest, WhiteOrBlack)
{
    EXPECT_EQ(0, WhiteOrBlack(0xFFFFFF));
    EXPECT_EQ(0xFFFFFF, WhiteOrBlack(0));
    EXPECT_EQ(0xFFFFFF, WhiteOrBlack(0x808080));           // mean 128: white
    EXPECT_EQ(0, WhiteOrBlack(0x808081));                  // R 129: black
    EXPECT_EQ(0xFFFFFF, WhiteOrBlack(int32_t(0x8000000F))); // a system colour: white
}

}
