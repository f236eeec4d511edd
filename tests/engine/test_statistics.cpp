// The raster measures: used extent, cell shares and fragment counts, on the plain raster and on
// the layout run's sheet.
#include "engine/LayoutSheet.h"
#include "tests/engine/RasterStatistics.h"

#include <gtest/gtest.h>
#include <random>

namespace {

SheetRaster filled(int ux, int uy, int x0, int y0, int x1, int y1, int16_t v = 1)
{
    SheetRaster r(ux, uy);
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y)
            r.set(x, y, v);
    return r;
}

TEST(EngineRasterStatisticsTest, EmptyFullAndCornerRasters)
{
    const SheetRaster empty(10, 10);
    EXPECT_EQ(0.0, GetHojoLinePosision(empty, 0));
    EXPECT_EQ(0.0, GetHojoLinePosision(empty, 1));
    EXPECT_EQ(0.0, GetCount(empty, 0));
    EXPECT_EQ(1, CountFragments(empty));

    SheetRaster full = filled(10, 10, 1, 1, 10, 10);
    full.set(5, 5, 99);
    EXPECT_EQ(0, CountFragments(full));
    EXPECT_EQ(1.0, GetCount(full, 1));
    EXPECT_EQ(99.0, GetCount(full, 99));

    const SheetRaster corner = filled(10, 4, 10, 4, 10, 4, 99);
    EXPECT_EQ(100.0, GetHojoLinePosision(corner, 0));
    EXPECT_EQ(100.0, GetHojoLinePosision(corner, 1));
    EXPECT_EQ(0.0, GetHojoLinePosision(corner, 2));

    const SheetRaster third = filled(3, 1, 1, 1, 1, 1);
    EXPECT_EQ(1.0 / 3.0 * 100.0, GetHojoLinePosision(third, 0));
}

TEST(EngineRasterStatisticsTest, Fragments)
{
    // A 3 x 3 piece: the region 1..4 by 1..4 holds one free border.
    EXPECT_EQ(1, CountFragments(filled(10, 10, 1, 1, 3, 3)));
    // 1..6 by 1..6 used around a 2 x 2 hole: the hole and the border.
    SheetRaster ring = filled(10, 10, 1, 1, 6, 6);
    for (int x = 3; x <= 4; ++x)
        for (int y = 3; y <= 4; ++y)
            ring.set(x, y, 0);
    EXPECT_EQ(2, CountFragments(ring));
    // Two areas labelled apart by their first cross scans and joined by a later rectangle.
    SheetRaster joined(6, 6);
    for (int y = 1; y <= 6; ++y)
        joined.set(3, y, 1);
    joined.set(3, 4, 0);          // a gap in the wall at y = 4
    joined.set(6, 6, 1);
    EXPECT_EQ(1, CountFragments(joined));
    EXPECT_EQ(0, joined.at(1, 1));   // the caller's raster is not changed
}

// The layout sheet measures and counts on its compressed grid exactly what the passes give.
TEST(EngineRasterStatisticsTest, LayoutSheetAgreesWithThePasses)
{
    std::mt19937 rng(7);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int round = 0; round < 300; ++round) {
        const int ux = pick(1, 30), uy = pick(1, 30);
        LayoutSheet sheet;
        sheet.Reset(ux, uy);
        for (int n = pick(0, 8); n > 0; --n) {
            const int x = pick(1, ux), y = pick(1, uy);
            const int a = pick(1, ux - x + 1), c = pick(1, uy - y + 1);
            if (sheet.overlapsPiece(x, y, x + a - 1, y + c - 1))
                continue;
            sheet.PlacePiece(x, y, a, c, int16_t(pick(1, 12)));
            const int k = pick(0, 2);
            if (k) {
                sheet.MarkKerf(x - k, x - 1, y, y + c + k - 1);
                sheet.MarkKerf(x + a, x + a + k - 1, y - k, y + c - 1);
            }
        }
        const SheetRaster r = RasterOf(sheet);
        const LayoutSheet::Measures m = sheet.Measure();
        EXPECT_EQ(GetCount(r, 0), double(m.occupied) / double(ux * uy) * 100.0);
        EXPECT_EQ(GetCount(r, 99), double(ux * uy - m.kerf) / double(ux * uy) * 100.0);
        EXPECT_EQ(GetHojoLinePosision(r, 0), double(m.maxX) / double(ux) * 100.0);
        EXPECT_EQ(GetHojoLinePosision(r, 1), double(m.maxY) / double(uy) * 100.0);
        EXPECT_EQ(CountFragments(r), sheet.Measure(true).fragments) << round;
        for (int x = 1; x <= ux; ++x)
            for (int y = 1; y <= uy; ++y)
                ASSERT_EQ(r.at(x, y), sheet.at(x, y));
    }
}

}
