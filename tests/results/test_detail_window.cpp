// The detail window's life: opening from the hand-over, title and list number, the sheet number
// box, the layout on resizing, reopening, closing, and the drawing of the sheet shown.
#include "results/DetailZoom.h"
#include "tests/results/test_detail_fixture.h"

#include <QDir>

namespace {

uint32_t pixel(const QImage& img, int x, int y) { return FromQColor(img.pixelColor(x, y)); }

}  // namespace

TEST_F(DetailTest, OpensOnTheHandedOverSheetWithTitleListNumberAndSheetRange)
{
    gSelection().sheet = 3;
    frmDetail& d = open();
    EXPECT_EQ(d.caption(), QStringLiteral("詳細画面 - Panelo2"));
    const std::pair<QString, QString> captions[] = {
        {d.labDetailPaternNo->text(), QStringLiteral("No.")}, {d.labBozaiNo->text(), QStringLiteral("母材番号")},
        {d.butSmall->text(), QStringLiteral("縮小")},          {d.butBig->text(), QStringLiteral("拡大")},
        {d.chkAmi->text(), QStringLiteral("網掛けを消す")},     {d.lbutOutput->caption(), QStringLiteral("ﾌｧｲﾙ出力")},
        {d.lbutPrint->caption(), QStringLiteral("画面印刷")},  {d.lbutClose->caption(), QStringLiteral("閉じる")},
    };
    for (const auto& [shown, expected] : captions)
        EXPECT_EQ(expected, shown);
    EXPECT_EQ(d.txtDetailPaternNo->text(), QStringLiteral("0007"));
    EXPECT_EQ(d.txtBozaiNo->text(), QStringLiteral("1-1"));
    // The box reaches the last used sheet (連番 3), though the pattern uses two sheets.
    EXPECT_EQ(d.numBozaiNo->value(), 3);
    EXPECT_EQ(d.numBozaiNo->minValue(), 1);
    EXPECT_EQ(d.numBozaiNo->maxValue(), 3);
    EXPECT_EQ(currentSheet(*d.TDBDetail), 3);
    EXPECT_EQ(currentSheet(*d.TDBList), 3);
    // Fit to width: (650 - 4) / 300 cells.
    EXPECT_DOUBLE_EQ(d.DrawScale, 646.0 / 300);
    EXPECT_FALSE(d.butSmall->isEnabled());
    EXPECT_TRUE(d.butBig->isEnabled());
    EXPECT_FALSE(d.HScroll1->isVisible());
    EXPECT_EQ(d.labSize->text(), QStringLiteral("1500 × 1000"));
    EXPECT_EQ(d.picDodai->size(), QSize(650, 448));
}

TEST_F(DetailTest, ReopeningRebuildsTheSameRowsAndReactivationSetsTheBoxAgain)
{
    frmDetail& d = open();
    const int rows = d.TDBDetail->rowCount();
    d.unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    frmDetail& again = open();
    EXPECT_EQ(again.TDBDetail->rowCount(), rows);
    EXPECT_EQ(gBase().CvtLng(gDao().Lookup(QStringLiteral("パターン詳細"), QStringLiteral("COUNT(*)"), QString())), 3);
    EXPECT_EQ(again.TDBList->rowCount(), 6);
}

TEST_F(DetailTest, ResizingLaysOutAndFitsTheWidthAgainAfterAZoom)
{
    frmDetail& d = open();
    Press(d.butBig);
    EXPECT_GT(d.DrawScale, 646.0 / 200);
    d.loadedWindow()->resize(1100, 700);
    QCoreApplication::processEvents();
    EXPECT_EQ(d.TDBDetail->width(), 1100 - 146);
    EXPECT_EQ(d.picDodai->size(), QSize(750, 468));
    EXPECT_EQ(d.TDBList->geometry(), QRect(1100 - 306, 148, 300, 700 - 234));
    EXPECT_EQ(d.lbutClose->pos(), QPoint(1000, 671));
    EXPECT_EQ(d.lbutPrint->pos(), QPoint(1100 - 444, 671));
    EXPECT_EQ(d.HScroll1->x(), (d.picSizeBackStyle->width() - d.HScroll1->width()) / 2);
    EXPECT_DOUBLE_EQ(d.DrawScale, 746.0 / 200);
    EXPECT_FALSE(d.butSmall->isEnabled());

    // A client area too small for the layout stops it with a line in the error log.
    d.loadedWindow()->resize(200, 150);
    QCoreApplication::processEvents();
    EXPECT_TRUE(db_.errLog().contains(QStringLiteral("Form_Resize")));
}

TEST_F(DetailTest, ClosingTheWindowUnloadsItUnlessItPrints)
{
    frmDetail& d = open();
    d.PrintBusy = true;
    EXPECT_FALSE(d.unload());
    d.PrintBusy = false;
    Press(d.lbutClose);
    EXPECT_FALSE(d.isLoaded());
}

TEST_F(DetailTest, DrawsTheSheetToScaleWithNumbersGuideLineAndSizeLabel)
{
    frmDetail& d = open();
    const QImage& img = d.picDetail->picture();
    const double s = d.DrawScale;   // 3.23
    EXPECT_EQ(img.size(), QSize(SheetPixel(200, s) + 4, SheetPixel(100, s) + 4));
    EXPECT_EQ(pixel(img, 5, 5), uint32_t(kPart1Color));
    EXPECT_EQ(pixel(img, SheetPixel(120, s), 5), uint32_t(kPart2Color));
    EXPECT_EQ(pixel(img, SheetPixel(151, s), 5), uint32_t(kKerf));      // the kerf band
    // The guide line at the farthest end (the kerf band's 152 cells), white on the dark stock.
    const int guide = SheetPixel(152, s);
    EXPECT_EQ(pixel(img, guide, SheetPixel(80, s)), 0xFFFFFFu);
    EXPECT_EQ(pixel(img, guide + 1, SheetPixel(80, s)), uint32_t(kDarkStock));
    // Part 1's number in white in the bottom-right corner of its first box.
    int white = 0;
    for (int y = SheetPixel(50, s) - 22; y < SheetPixel(50, s); ++y)
        for (int x = SheetPixel(100, s) - 20; x < SheetPixel(100, s); ++x)
            white += pixel(img, x, y) == 0xFFFFFFu;
    EXPECT_GT(white, 5);
    EXPECT_EQ(d.labSize->text(), QStringLiteral("1000 × 500"));
    EXPECT_EQ(d.txtBozaiNo->text(), QStringLiteral("2-1"));

    // Hidden guide line (切取補助線 1), strip lines of pieces at the left edge (スリット 1).
    gDisplay().GuideLine = 1;
    gEngine().Settings.SlitMode = 1;
    d.DrawDetail();
    const QImage& lines = d.picDetail->picture();
    EXPECT_EQ(pixel(lines, guide, SheetPixel(80, s)), uint32_t(kDarkStock));
    EXPECT_EQ(pixel(lines, SheetPixel(180, s), SheetPixel(50, s)), 0xFFFFFFu);   // across the stock at 50 cells

    SaveScreenshot(d.loadedWindow(), QStringLiteral("detail_window"));
}
