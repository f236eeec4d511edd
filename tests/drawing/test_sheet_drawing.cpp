// The drawing of one sheet: surface, boxes, kerf, guide and strip lines, part numbers, colours.
#include "drawing/SheetDrawing.h"

#include "platform/core/ColorValues.h"

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>

namespace {

constexpr int32_t kStock = 0xE0FFFF;      // light: black lines
constexpr int32_t kDarkStock = 0x400000;  // dark: white lines
constexpr int32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kKerfColor = 0x00FFFF;
constexpr uint32_t kBlack = 0, kWhite = 0xFFFFFF;

uint32_t at(const QImage& img, int x, int y)
{
    const QColor c = img.pixelColor(x, y);
    return RGBColor(c.red(), c.green(), c.blue());
}

SheetScene scene(int32_t length, int32_t width, std::vector<SheetRect> rects, int32_t color = kStock)
{
    SheetScene s;
    s.sheet = 1;
    s.stockNo = 1;
    s.branch = 1;
    s.length = length;
    s.width = width;
    s.stockColor = color;
    s.rects = std::move(rects);
    return s;
}

SheetRect piece(int16_t part, int16_t x0, int16_t y0, int16_t x1, int16_t y1, int32_t color)
{
    return SheetRect{part, x0, y0, x1, y1, color};
}

SheetLook plain(double scale)
{
    SheetLook l;
    l.scale = scale;
    return l;
}

// The pixels of a column or row that have a colour, as ranges "from-to".
std::vector<std::pair<int, int>> runs(const QImage& img, bool column, int at_, uint32_t color)
{
    std::vector<std::pair<int, int>> out;
    const int n = column ? img.height() : img.width();
    for (int i = 0; i < n; ++i) {
        const bool hit = at(img, column ? at_ : i, column ? i : at_) == color;
        if (hit && (out.empty() || out.back().second != i - 1))
            out.push_back({i, i});
        else if (hit)
            out.back().second = i;
    }
    return out;
}

using Runs = std::vector<std::pair<int, int>>;

}  // namespace

TEST(SheetDrawing, SurfaceIsTheSheetAtScalePlusFourInTheStockColour)
{
    const SheetScene s = scene(100, 51, {});
    const QImage img = DrawSheet(s, plain(1.5));
    EXPECT_EQ(img.size(), QSize(154, 80));   // Fix(150) + 4, Fix(76.5) + 4
    EXPECT_EQ(runs(img, false, 0, kStock), (Runs{{0, 153}}));
    EXPECT_EQ(runs(img, true, 153, kStock), (Runs{{0, 79}}));
}

TEST(SheetDrawing, BoxCoversFirstToLastPixelBothIncludedWithTruncatedCoordinates)
{
    // Scale 0.995: 開始横 2 gives 1.99, cut to 1; 終了横 12 gives 11.94: last pixel 10.
    const QImage img = DrawSheet(scene(40, 40, {piece(1, 2, 4, 12, 9, kRed)}), plain(0.995));
    EXPECT_EQ(runs(img, false, 5, kRed), (Runs{{1, 10}}));
    EXPECT_EQ(runs(img, true, 5, kRed), (Runs{{3, 7}}));   // 3.98 -> 3, 8.955 -> 8, last 7
}

TEST(SheetDrawing, KerfBandsAreDrawnOverThePiecesWithoutOutlines)
{
    SheetLook look = plain(1);
    look.kerfColor = kKerfColor;
    const QImage img =
        DrawSheet(scene(30, 20, {piece(1, 0, 0, 10, 10, kRed), piece(99, 10, 0, 13, 10, kBlue), piece(99, 8, 0, 11, 4, kBlue)}),
                  look);
    EXPECT_EQ(runs(img, false, 2, kBlue), (Runs{{8, 12}}));   // the band over the piece's last columns
    EXPECT_EQ(runs(img, false, 6, kRed), (Runs{{0, 9}}));
    EXPECT_TRUE(runs(img, false, 2, kKerfColor).empty());
}

TEST(SheetDrawing, KerfZeroDrawsOneLineBetweenTouchingPiecesAndNoneOnTheFarEdges)
{
    SheetLook look = plain(1);
    look.kerfOutlines = true;
    look.kerfColor = kKerfColor;
    // A and B side by side on the top half, C across the bottom half of a 20 x 20 sheet.
    const QImage img = DrawSheet(scene(20, 20,
                                       {piece(1, 0, 0, 10, 10, kRed), piece(2, 10, 0, 20, 10, kGreen),
                                        piece(3, 0, 10, 20, 20, kBlue)}),
                                 look);
    // Row 5: A's right line and B's left line fall on column 9; B touches the right edge: no line.
    EXPECT_EQ(runs(img, false, 5, kKerfColor), (Runs{{9, 9}}));
    EXPECT_EQ(at(img, 19, 5), uint32_t(kGreen));
    // Column 5: A's bottom line on row 9, C's top line on row 9; C touches the bottom edge.
    EXPECT_EQ(runs(img, true, 5, kKerfColor), (Runs{{9, 9}}));
    EXPECT_EQ(at(img, 5, 19), uint32_t(kBlue));
    // C's right edge is the sheet's: column 19 of C keeps its colour.
    EXPECT_EQ(at(img, 19, 15), uint32_t(kBlue));
    // A at the top-left corner: its left and top lines lie outside the picture.
    EXPECT_EQ(at(img, 0, 0), uint32_t(kRed));

    // Without C: A's bottom line and B's bottom line, which stops before B's last column (a line
    // excludes its end point).
    const QImage top = DrawSheet(scene(20, 20, {piece(1, 0, 0, 10, 10, kRed), piece(2, 10, 0, 20, 10, kGreen)}), look);
    EXPECT_EQ(runs(top, false, 9, kKerfColor), (Runs{{0, 18}}));
    EXPECT_EQ(at(top, 19, 9), uint32_t(kGreen));
}

TEST(SheetDrawing, GuideLineAtTheFarEndOfEverythingPlacedForBothCuttingPositions)
{
    // The farthest end is a kerf band at 40 cells; scale 1.5 gives x = 60 (the worked example).
    const SheetScene s = scene(80, 30, {piece(1, 0, 0, 38, 20, kRed), piece(99, 38, 0, 40, 22, kBlue)});
    SheetLook look = plain(1.5);
    look.guideLine = true;
    look.cutPosition = 0;
    QImage img = DrawSheet(s, look);
    EXPECT_EQ(runs(img, true, 60, kBlack), (Runs{{0, img.height() - 1}}));   // 30 x 1.5 + 4 = 49 rows
    EXPECT_EQ(img.height(), 49);
    EXPECT_TRUE(runs(img, true, 61, kBlack).empty());

    look.cutPosition = 1;   // the deepest 終了縦 is 22: y = 33, across the whole width
    img = DrawSheet(s, look);
    EXPECT_EQ(runs(img, false, 33, kBlack), (Runs{{0, img.width() - 1}}));
    EXPECT_EQ(runs(img, true, 60, kBlack), (Runs{{33, 33}}));

    look.guideLine = false;   // 切取補助線 = 1
    img = DrawSheet(s, look);
    EXPECT_TRUE(runs(img, false, 33, kBlack).empty());

    // On a dark stock the line is white.
    look.guideLine = true;
    look.cutPosition = 0;
    img = DrawSheet(scene(80, 30, s.rects, kDarkStock), look);
    EXPECT_EQ(at(img, 60, 25), kWhite);
}

TEST(SheetDrawing, StripLinesOnlyAtPiecesOnTheLeadingEdgeAndOnlyWhenShown)
{
    // Pieces at the left edge at rows 0, 20 and 45, one piece inside, one kerf band at the edge.
    const SheetScene s = scene(60, 70,
                               {piece(1, 0, 0, 30, 20, kRed), piece(2, 0, 20, 30, 45, kGreen),
                                piece(3, 0, 45, 30, 70, kRed), piece(4, 30, 10, 60, 30, kGreen),
                                piece(99, 0, 30, 30, 31, kBlue)});
    SheetLook look = plain(2);
    look.slitMode = 1;
    look.slitLines = true;
    QImage img = DrawSheet(s, look);
    // Column 100 lies in piece 4's area and in the stock: only the strip lines are black there.
    EXPECT_EQ(runs(img, true, 100, kBlack), (Runs{{40, 40}, {90, 90}}));
    EXPECT_EQ(runs(img, false, 40, kBlack), (Runs{{0, img.width() - 1}}));

    look.slitMode = 2;   // pieces at the top edge, but not at the left: piece 4 starts at row 10
    img = DrawSheet(s, look);
    EXPECT_TRUE(runs(img, false, 100, kBlack).empty());
    const SheetScene top = scene(60, 40, {piece(1, 0, 0, 20, 10, kRed), piece(2, 20, 0, 50, 10, kGreen)});
    img = DrawSheet(top, look);
    EXPECT_EQ(runs(img, false, 60, kBlack), (Runs{{40, 40}}));   // x = 20 × 2, across the full height
    EXPECT_EQ(runs(img, true, 40, kBlack), (Runs{{0, img.height() - 1}}));

    look.slitLines = false;   // スリット線 = 1
    EXPECT_TRUE(runs(DrawSheet(top, look), false, 60, kBlack).empty());
    look.slitLines = true;
    look.slitMode = 0;
    EXPECT_TRUE(runs(DrawSheet(top, look), false, 60, kBlack).empty());
}

TEST(SheetDrawing, PartNumbersOnlyInBoxesOfMoreThanSixteenPixels)
{
    SheetLook look = plain(1);
    look.partNumbers = true;
    look.numberFont = QFont(QStringLiteral("IPAPGothic"));   // what the windows' font resolves to
    look.numberFont.setPointSize(15);
    auto inked = [&](int16_t size) {
        const QImage img = DrawSheet(scene(40, 40, {piece(7, 0, 0, size, size, kBlue), piece(99, size, 0, size + 1, size, kBlue)}), look);
        int n = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                n += at(img, x, y) != uint32_t(kBlue);
        return n;
    };
    EXPECT_EQ(inked(16), 0);   // first to last pixel 15 apart: no number
    EXPECT_GT(inked(17), 0);   // 16 apart: the number in white on the dark box
    const QImage img = DrawSheet(scene(40, 40, {piece(7, 0, 0, 17, 17, kBlue)}), look);
    EXPECT_EQ(at(img, 0, 0), uint32_t(kBlue));   // written towards the bottom-right corner
}

TEST(SheetDrawing, GuideAndStripPositionsFromTheRows)
{
    const SheetScene s = scene(100, 100, {piece(1, 0, 0, 10, 50, kRed), piece(2, 0, 60, 30, 70, kRed),
                                          piece(3, 40, 0, 45, 5, kRed), piece(99, 45, 0, 48, 80, kBlue)});
    EXPECT_EQ(GuideCells(s, 0), 48);
    EXPECT_EQ(GuideCells(s, 1), 80);
    EXPECT_EQ(SlitCells(s, 1), (std::vector<int16_t>{60}));
    EXPECT_EQ(SlitCells(s, 2), (std::vector<int16_t>{40}));
}

TEST(SheetDrawing, SystemColoursAreResolvedFromTheFixedTable)
{
    // &H8000000F the button face, &H80000005 the window, &H80000010 the button shadow.
    constexpr int32_t kFace = int32_t(0x8000000Fu), kWindow = int32_t(0x80000005u), kShadow = int32_t(0x80000010u);
    SheetLook look = plain(1);
    look.kerfOutlines = true;
    look.kerfColor = kShadow;
    const QImage img = DrawSheet(scene(20, 20, {piece(1, 0, 0, 10, 10, kWindow), piece(2, 10, 0, 20, 10, kRed)}, kFace), look);
    EXPECT_EQ(at(img, 5, 15), SysColor(kColorBtnFace));   // the stock
    EXPECT_EQ(at(img, 5, 5), SysColor(kColorWindow));     // the piece
    EXPECT_EQ(at(img, 9, 5), SysColor(kColorBtnShadow));  // the line between the pieces
    EXPECT_EQ(at(img, 15, 5), uint32_t(kRed));
}
