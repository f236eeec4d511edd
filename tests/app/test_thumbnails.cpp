// The list's thumbnails: each sheet cell gets the drawing of its sheet at the list scale; a row's
// pattern is read once per list build, images are drawn once per scale and look.
#include "tests/app/test_patternlist_fixture.h"

#include "platform/gui/Colors.h"

#include <QScrollBar>

namespace {

constexpr int32_t kStockColor = 0xC0FFFF, kPart1 = 0xFF8000, kPart2 = 0x00FF00;

}  // namespace

class ThumbnailTest : public PatternListTest {
protected:
    void SetUp() override
    {
        PatternListTest::SetUp();
        // Stock 100 x 50 cells; 表示サイズ 1: scale 100 / 50 = 2, a thumbnail of 204 x 104.
        SetStock(engine_, {{100, 50, 0, kStockColor}});
        engine_.ListSheetColumns = 3;
        // Pattern 1: two sheets; pattern 2: one sheet, a piece short of the 10 requested.
        pattern(1, QStringLiteral("A"), 10, QStringLiteral("002,"), 2, 90);
        piece(1, 1, 1, 0, 0, 40, 50, kPart1);
        piece(1, 1, 2, 40, 0, 60, 20, kPart2);
        piece(1, 2, 1, 0, 0, 30, 30, kPart1);
        pattern(2, QStringLiteral("B"), 9, QStringLiteral("001,"), 1, 80);
        piece(2, 1, 2, 0, 0, 100, 10, kPart2);
        window_->window()->show();
    }
    // The picture a cell gets while it is painted.
    QImage picture(int row, int col)
    {
        TDBCellStyle style;
        emit grid().FetchCellStyle(dbgNormalCell, 0, grid().rowBookmark(row), col, style);
        return style.foregroundPicture;
    }
    SheetLook look(double scale)
    {
        SheetLook l;
        l.scale = scale;
        l.kerfOutlines = true;
        l.kerfColor = engine_.KerfColor;
        l.guideLine = true;
        return l;
    }
    SheetStockOf stockOf = [](int16_t) { return SheetStock{100, 50, kStockColor}; };
};

TEST_F(ThumbnailTest, EachSheetCellShowsItsSheetAtTheListScale)
{
    ASSERT_TRUE(list_->Build());
    ASSERT_DOUBLE_EQ(list_->ListScale(), 2.0);
    const QImage first = picture(0, 3);
    EXPECT_EQ(first.size(), QSize(204, 104));
    EXPECT_EQ(first, DrawSheet(ReadSheet(1, 1, stockOf), look(2)));
    EXPECT_EQ(picture(0, 4), DrawSheet(ReadSheet(1, 2, stockOf), look(2)));
    EXPECT_TRUE(picture(0, 5).isNull());   // the pattern has no third sheet
    EXPECT_FALSE(picture(1, 3).isNull());
    EXPECT_TRUE(picture(1, 4).isNull());
    // The guide line of the first sheet: at 60 cells, x = 120; the kerf lines between the pieces.
    EXPECT_EQ(FromQColor(first.pixelColor(120, 50)), 0u);
    EXPECT_EQ(FromQColor(first.pixelColor(79, 10)), uint32_t(engine_.KerfColor));
}

TEST_F(ThumbnailTest, RepaintsAndScrollingDrawFromMemoryAndANewScaleOrLookRedraws)
{
    ASSERT_TRUE(list_->Build());
    ListThumbnails& t = list_->thumbnails();
    Render(window_->window());
    const int reads = t.patternReads(), drawn = t.imagesDrawn();
    EXPECT_EQ(reads, 2);    // one read per pattern shown
    EXPECT_EQ(drawn, 3);    // one image per sheet
    Render(window_->window());
    grid().verticalScrollBar()->setValue(grid().verticalScrollBar()->maximum());
    Render(window_->window());
    EXPECT_EQ(t.patternReads(), reads);
    EXPECT_EQ(t.imagesDrawn(), drawn);

    grid().verticalHeader()->resizeSection(0, 150);   // a row drag: a new scale
    ASSERT_DOUBLE_EQ(list_->ListScale(), 3.0);
    EXPECT_EQ(picture(0, 3).size(), QSize(304, 154));
    EXPECT_EQ(t.patternReads(), reads);

    const QImage withGuide = picture(0, 3);
    gDisplay().GuideLine = 1;   // the settings dialog switched the guide line off
    const QImage without = picture(0, 3);
    EXPECT_NE(without, withGuide);
    EXPECT_EQ(FromQColor(without.pixelColor(180, 75)), uint32_t(kStockColor));
    EXPECT_EQ(t.patternReads(), reads);

    exec(QStringLiteral("DELETE FROM パターンリスト"));
    ASSERT_TRUE(list_->Build());   // a new list reads its patterns again
    picture(0, 3);
    EXPECT_EQ(t.patternReads(), reads + 1);
}

TEST_F(ThumbnailTest, TheListOnScreen)
{
    gDisplay().DisplaySize = 0;
    ASSERT_TRUE(list_->Build());
    grid().setCol(4);
    const QImage shot = SaveScreenshot(window_->window(), QStringLiteral("patternlist_thumbnails"));
    // Row 2 (a piece short, not current) has its text cell in yellow.
    const QRect text = grid().visualRect(grid().model()->index(1, 2));
    const QPoint probe = grid().viewport()->mapTo(window_->window(), text.topLeft() + QPoint(2, 2));
    EXPECT_EQ(PixelAt(shot, probe.x(), probe.y()), qRgb(255, 255, 0) & 0xFFFFFF);
}
