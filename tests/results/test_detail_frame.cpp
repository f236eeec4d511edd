// The detail drawing inside its frame: the sheet's first pixel lies at the frame's top-left corner,
// so at fit width and at fit height every pixel of the sheet is in view.
#include "tests/results/test_detail_fixture.h"

#include <QTest>

namespace {

// The pixels of the sheet (its first Fix(長さ × s) columns and Fix(幅 × s) rows) that the frame
// does not show 1:1 from its top-left corner.
int misplacedPixels(frmDetail& d)
{
    const QImage frame = d.picDodai->grab().toImage();
    const QImage& picture = d.picDetail->picture();
    const int w = std::min(SheetPixel(d.Scene().length, d.DrawScale), frame.width());
    const int h = SheetPixel(d.Scene().width, d.DrawScale);
    int wrong = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            wrong += y >= frame.height() || frame.pixel(x, y) != picture.pixel(x, y);
    return wrong;
}

}  // namespace

TEST_F(DetailTest, TheFrameShowsTheWholeSheetFromItsFirstPixelAtFitWidthAndFitHeight)
{
    frmDetail& d = open();
    d.chkAmi->setChecked(true);   // no marker over the drawing
    ASSERT_DOUBLE_EQ(d.DrawScale, 646.0 / 200);
    EXPECT_EQ(misplacedPixels(d), 0);

    Press(d.butBig);   // fit height: the sheet is as high as the frame allows
    ASSERT_DOUBLE_EQ(d.DrawScale, 444.0 / 100);
    EXPECT_EQ(misplacedPixels(d), 0);

    // A click is read in the pixels the frame shows: just left of the border between the first
    // part (0-323) and the second (323-484) of sheet 1, at the top.
    Press(d.butSmall);
    selectRow(*d.TDBList, 1);
    QTest::mouseClick(d.picDetail, Qt::LeftButton, {}, d.picDetail->mapFrom(d.picDodai, QPoint(322, 10)));
    EXPECT_EQ(d.TDBList->row(), 0);
    QTest::mouseClick(d.picDetail, Qt::LeftButton, {}, d.picDetail->mapFrom(d.picDodai, QPoint(324, 10)));
    EXPECT_EQ(d.TDBList->row(), 2);
}
