// Zoom and horizontal scrolling of the detail drawing: the fit-to-width and fit-to-height limits,
// the zoom buttons, the scroll range, the halved scale of very long sheets, and the surface
// following the scroll bar.
#include "results/DetailZoom.h"
#include "tests/results/test_detail_fixture.h"

TEST_F(DetailTest, ZoomStaysBetweenFitWidthAndFitHeightWithTheButtonsShowingTheLimits)
{
    frmDetail& d = open();   // sheet 1: 200 x 100 cells in a frame of 650 x 448
    EXPECT_DOUBLE_EQ(d.DrawScale, 646.0 / 200);
    EXPECT_FALSE(d.butSmall->isEnabled());
    EXPECT_TRUE(d.butBig->isEnabled());
    EXPECT_TRUE(d.HScroll1->isHidden());

    Press(d.butBig);   // twice the width is past fit height: fit height
    EXPECT_DOUBLE_EQ(d.DrawScale, 444.0 / 100);
    EXPECT_TRUE(d.butSmall->isEnabled());
    EXPECT_FALSE(d.butBig->isEnabled());
    EXPECT_FALSE(d.HScroll1->isHidden());
    EXPECT_EQ(d.HScroll1->minimum(), -2);
    EXPECT_EQ(d.HScroll1->maximum(), 888 - 650 + 4);
    EXPECT_EQ(d.picDetail->width(), 888 + 4);
    EXPECT_EQ(d.picDetail->picture().width(), 888 + 4);
    EXPECT_EQ(d.picDetail->pos(), QPoint(-2, -2));

    // The surface follows the scroll bar: left by the change of value.
    d.HScroll1->setValue(50);
    EXPECT_EQ(d.picDetail->x(), -54);
    d.HScroll1->setValue(70);
    EXPECT_EQ(d.picDetail->x(), -74);

    Press(d.butSmall);   // half of fit height is below fit width: fit width
    EXPECT_DOUBLE_EQ(d.DrawScale, 646.0 / 200);
    EXPECT_FALSE(d.butSmall->isEnabled());
    EXPECT_TRUE(d.butBig->isEnabled());
    EXPECT_TRUE(d.HScroll1->isHidden());
    EXPECT_EQ(d.picDetail->width(), 650);
}

TEST_F(DetailTest, AVeryLongSheetIsDrawnAtTheHalvedScaleAndScrollsToItsEnd)
{
    exec(QStringLiteral("INSERT INTO パターン (パターン番号,母材使用数,部材切取数) VALUES (9,1,1);"
                        "INSERT INTO パターン母材 (パターン番号,連番,母材番号,枝番,使用面積) VALUES (9,1,1,1,100);"
                        "INSERT INTO パターン部材 (パターン番号,連番,部材番号,母材番号,枝番,開始横,開始縦,終了横,終了縦,色)"
                        " VALUES (9,1,1,1,1,0,0,990,20,255)"));
    SetEngine({{1000, 24, kLightStock}}, {{1, kPart1Color}});
    gSelection() = ListSelection{9, 1, 1, 1, 1};
    frmDetail& d = open();
    for (int i = 0; i < 12 && d.butBig->isEnabled(); ++i)
        Press(d.butBig);
    ASSERT_FALSE(d.butBig->isEnabled());
    // Fit width 0.646 doubled four times, then past fit height 18.5, which gives 18500 pixels:
    // halved to 9250, and drawn at that scale.
    EXPECT_DOUBLE_EQ(d.DrawScale, 444.0 / 24 / 2);
    EXPECT_EQ(d.picDetail->picture().width(), 9250 + 4);
    EXPECT_EQ(d.HScroll1->maximum(), 9250 - 650 + 4);
    EXPECT_EQ(d.shpAmi->width(), MarkerRect(0, 0, 4950, 100, 5, d.DrawScale).width());
    d.HScroll1->setValue(d.HScroll1->maximum());
    const int right = d.picDetail->x() + d.picDetail->width();
    EXPECT_LE(right, 650);
    EXPECT_GE(right, 650 - 8);   // the sheet's far end is in view
}

TEST(DetailZoomRules, ScaleLimitsAndScrollRange)
{
    // Fit width above fit height: the height limit wins.
    const ZoomState z = ClampScale(1, 100, 100, 650, 300);
    EXPECT_DOUBLE_EQ(z.scale, 296.0 / 100);
    EXPECT_FALSE(z.smallEnabled);
    EXPECT_FALSE(z.bigEnabled);
    // A drawing exactly as wide as the frame has no scroll bar; a pixel more has one.
    EXPECT_FALSE(ScrollFor(650.0 / 200, 200, 650).shown);
    const ScrollState s = ScrollFor(651.0 / 200, 200, 650);
    EXPECT_TRUE(s.shown);
    EXPECT_EQ(s.maximum, 651 - 650 + 4);
    // Halving while the rounded width exceeds 16384; m / 2 rounds halves to even.
    const ScrollState h = ScrollFor(16385.0 / 1000, 1000, 650);
    EXPECT_DOUBLE_EQ(h.scale, 16385.0 / 1000 / 2);
    EXPECT_EQ(h.maximum, 8192 - 650 + 4);
    // A zoom that would need halving is at its limit.
    const ZoomState capped = ClampScale(2 * 16000.0 / 1000, 1000, 10, 650, 448);
    EXPECT_DOUBLE_EQ(capped.scale, 16.0);
    EXPECT_FALSE(capped.bigEnabled);
    // No stock to fit: the scale stays.
    EXPECT_DOUBLE_EQ(ClampScale(2.5, 0, 0, 650, 448).scale, 2.5);
}
