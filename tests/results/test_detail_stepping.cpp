// Sheet stepping and part selection: the number box as the one road to a sheet, the previous and
// next used sheet, the grids following the sheet shown, parts chosen in the grid or the drawing,
// and the hatch marker.
#include "results/DetailZoom.h"
#include "tests/results/test_detail_fixture.h"

#include <QTest>

namespace {

// The part grid's rows: sheet 1 rows 0..2, sheet 3 rows 3..5 (left edge first).
constexpr int kSheet3Second = 4;   // part 2 at (0,50)-(50,100) cells of sheet 3

}  // namespace

TEST_F(DetailTest, SteppingSkipsTheSheetThatReceivedNothingAndStopsAtBothEnds)
{
    frmDetail& d = open();
    ASSERT_EQ(shown(), 1);
    struct Step {
        QPushButton* button;
        int16_t sheet;
        const char* stock;
    };
    const Step steps[] = {{d.butBozaiNoDown, 1, "2-1"},   // the first sheet: nothing
                          {d.butBozaiNoUp, 3, "1-1"},     // 連番 2 received nothing
                          {d.butBozaiNoUp, 3, "1-1"},     // the last used sheet: nothing
                          {d.butBozaiNoDown, 1, "2-1"}};
    for (const Step& s : steps) {
        Press(s.button);
        EXPECT_EQ(shown(), s.sheet);
        EXPECT_EQ(d.numBozaiNo->value(), s.sheet);
        EXPECT_EQ(d.Scene().sheet, s.sheet);
        EXPECT_EQ(d.txtBozaiNo->text(), QString::fromLatin1(s.stock));
        EXPECT_EQ(currentSheet(*d.TDBDetail), s.sheet);
        EXPECT_EQ(currentSheet(*d.TDBList), s.sheet);
    }
    // Stepping to sheet 3 put the part grid on the sheet's first part; the scale fits its stock.
    Press(d.butBozaiNoUp);
    EXPECT_EQ(d.TDBList->row(), 3);
    EXPECT_DOUBLE_EQ(d.DrawScale, 646.0 / 300);
    EXPECT_TRUE(db_.errLog().isEmpty()) << db_.errLog().toStdString();
}

TEST_F(DetailTest, TheNumberBoxShowsAnySheetZeroMeaningTheFirst)
{
    frmDetail& d = open();
    d.numBozaiNo->setValue(3);
    EXPECT_EQ(shown(), 3);
    d.numBozaiNo->setValue(0);   // an emptied box
    EXPECT_EQ(shown(), 1);
    EXPECT_EQ(d.Scene().sheet, 1);

    // The sheet that received nothing shows its empty stock; nothing fails.
    d.numBozaiNo->setValue(2);
    EXPECT_EQ(d.Scene().sheet, 2);
    EXPECT_TRUE(d.Scene().rects.empty());
    EXPECT_EQ(d.txtBozaiNo->text(), QStringLiteral("2-2"));
    EXPECT_EQ(d.labSize->text(), QStringLiteral("1000 × 500"));
    EXPECT_DOUBLE_EQ(d.DrawScale, 646.0 / 200);
    EXPECT_EQ(FromQColor(d.picDetail->picture().pixelColor(100, 100)), uint32_t(kDarkStock));
    EXPECT_FALSE(d.shpAmi->isVisible());   // no part of this sheet to mark
    EXPECT_TRUE(db_.errLog().isEmpty()) << db_.errLog().toStdString();
}

// What the user types into the number box: 0 or an emptied box shows the first sheet (and the
// box says 1), a sheet in range shows that sheet, one past the last keeps the sheet shown.
TEST_F(DetailTest, TypingIntoTheNumberBox)
{
    frmDetail& d = open();
    QApplication::setActiveWindow(d.loadedWindow());
    struct Case {
        const char* typed;
        int16_t sheet;
    };
    const Case cases[] = {{"3", 3}, {"0", 1}, {"2", 2}, {"", 1}, {"3", 3}, {"9", 3}, {"-1", 3}};
    for (const Case& c : cases) {
        d.numBozaiNo->setFocus();
        d.numBozaiNo->selectAll();
        QTest::keyClick(d.numBozaiNo, Qt::Key_Delete);
        QTest::keyClicks(d.numBozaiNo, QString::fromLatin1(c.typed));
        d.butBozaiNoUp->setFocus();   // leaving the box takes the typed value
        EXPECT_EQ(shown(), c.sheet) << "typed '" << c.typed << "'";
        EXPECT_EQ(d.numBozaiNo->value(), c.sheet) << "typed '" << c.typed << "'";
        EXPECT_EQ(d.Scene().sheet, c.sheet) << "typed '" << c.typed << "'";
    }
    EXPECT_TRUE(db_.errLog().isEmpty()) << db_.errLog().toStdString();
}

TEST_F(DetailTest, ChoosingTheTotalRowShowsTheFirstSheetRowBelowIt)
{
    frmDetail& d = open();
    selectRow(*d.TDBDetail, 0);
    EXPECT_EQ(d.TDBDetail->row(), 1);
    EXPECT_EQ(shown(), 3);   // the row 1-1 is 連番 3: sheets are listed by stock and branch
    EXPECT_EQ(d.numBozaiNo->value(), 3);
    selectRow(*d.TDBDetail, 2);
    EXPECT_EQ(shown(), 1);
}

TEST_F(DetailTest, ChoosingAPartOfAnotherSheetShowsThatSheetWithTheMarkerOnThePart)
{
    frmDetail& d = open();
    ASSERT_EQ(shown(), 1);
    selectRow(*d.TDBList, kSheet3Second);
    EXPECT_EQ(shown(), 3);
    EXPECT_EQ(d.numBozaiNo->value(), 3);
    EXPECT_EQ(d.Scene().sheet, 3);
    EXPECT_EQ(currentSheet(*d.TDBDetail), 3);
    EXPECT_EQ(d.TDBList->row(), kSheet3Second);   // the chosen part stays chosen
    // Marker over (0,250)-(250,500) input units at the sheet's scale; black over the light part.
    EXPECT_EQ(d.shpAmi->geometry(), MarkerRect(0, 250, 250, 500, 5, 646.0 / 300));
    EXPECT_TRUE(d.shpAmi->isVisible());
    EXPECT_EQ(d.shpAmi->borderColor(), 0u);
    selectRow(*d.TDBList, 0);
    EXPECT_EQ(d.shpAmi->fillColor(), 0xFFFFFFu);   // white over the red part
    EXPECT_EQ(shown(), 1);

    // Hidden on request, the marker still follows the selection.
    d.chkAmi->setChecked(true);
    EXPECT_FALSE(d.shpAmi->isVisible());
    selectRow(*d.TDBList, 2);
    EXPECT_EQ(d.shpAmi->geometry(), MarkerRect(500, 0, 750, 250, 5, d.DrawScale));
    EXPECT_FALSE(d.shpAmi->isVisible());
    d.chkAmi->setChecked(false);
    EXPECT_TRUE(d.shpAmi->isVisible());
}

TEST_F(DetailTest, AClickInTheDrawingChoosesThePartUnderItOnTheSheetShown)
{
    gSelection().sheet = 3;
    frmDetail& d = open();
    const double s = d.DrawScale;   // 646 / 300
    auto click = [&](double cellX, double cellY) {
        QTest::mouseClick(d.picDetail, Qt::LeftButton, {}, QPoint(int(cellX * s), int(cellY * s)));
    };
    click(20, 70);   // inside part 2 at (0,50)-(50,100): the walk passes sheet 1's rows
    EXPECT_EQ(d.TDBList->row(), kSheet3Second);
    EXPECT_EQ(shown(), 3);
    EXPECT_EQ(d.shpAmi->geometry(), MarkerRect(0, 250, 250, 500, 5, s));
    click(120, 20);
    EXPECT_EQ(d.TDBList->row(), 5);
    // On the left border (x = 0) no part holds the point: the sheet's last part stays chosen.
    selectRow(*d.TDBList, 3);
    QTest::mouseClick(d.picDetail, Qt::LeftButton, {}, QPoint(0, 20));
    EXPECT_EQ(d.TDBList->row(), 5);
    EXPECT_EQ(shown(), 3);
    // A point on a border is outside; just inside it is in.
    EXPECT_FALSE(PieceContains(0, 0, 500, 250, 5, 3.23, 323.0f, 10.0f));
    EXPECT_TRUE(PieceContains(0, 0, 500, 250, 5, 3.23, 322.9f, 10.0f));
}

TEST(DetailMarker, MarkerRectRoundsHalvesToEvenAndKeepsAtLeastOnePixel)
{
    struct Case {
        double extent, scale;   // input units, Unit 5
        int width;
    };
    const Case cases[] = {{250, 3.23, 161},   // 161.5 rounds to 162, less one
                          {5, 1.4, 1},        // 1.4 pixels: 1
                          {5, 2.5, 1},        // 2.5 rounds to 2, less one
                          {5, 3.5, 3}};       // 3.5 rounds to 4, less one
    for (const Case& c : cases)
        EXPECT_EQ(MarkerRect(0, 0, c.extent, c.extent, 5, c.scale).width(), c.width) << c.extent << " " << c.scale;
    EXPECT_EQ(MarkerRect(500, 250, 750, 500, 5, 3.23).topLeft(), QPoint(323, 162));   // 161.5 to 162
}
