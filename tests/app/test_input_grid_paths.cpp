// The input grids on awkward paths a user takes: deleting a middle row and adding rows up to the
// limit, letters, oversized numbers and Esc while a cell is being edited, Shift+Enter and the
// colour cell's border, the busy flag, rows deleted by the keyboard, and a computation with an
// empty row between filled ones.
#include "engine/Engine.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/ScriptedMsgBox.h"

#include <QHeaderView>

namespace {

class InputGridPathsTest : public MainWindowTest {
protected:
    // Each row of the table as (number, 幅, 長さ, 数), in number order.
    QList<QList<int>> rows(const QString& table)
    {
        const QString key = table == QStringLiteral("母材") ? QStringLiteral("母材番号") : QStringLiteral("部材番号");
        QList<QList<int>> r;
        Recordset rs = gDao().OpenRecordset(QStringLiteral("SELECT %1, 幅, 長さ, 数 FROM %2 ORDER BY %1").arg(key, table));
        for (; !rs.eof(); rs.moveNext())
            r << QList<int>{rs.field(0).intValue(), rs.field(1).intValue(), rs.field(2).intValue(), rs.field(3).intValue()};
        return r;
    }
    QList<QList<int>> stock() { return rows(QStringLiteral("母材")); }
    static void clickButtonOfCell(TDBGrid* g, int row, int col)
    {
        const QRect r = g->visualRect(g->model()->index(row, col));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(r.right() - 3, r.center().y()));
    }
    // Selects a row by its record selector, as the user does before pressing Del.
    static void selectRow(TDBGrid* g, int row)
    {
        QTest::mouseClick(g->verticalHeader()->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(5, g->rowViewportPosition(row) + 5));
    }
};

class TwelvePartsTest : public InputGridPathsTest {
protected:
    void prepare() override
    {
        QString values;
        for (int n = 1; n <= 12; ++n)
            values += QStringLiteral("%1(%2,%3,500,1,255,0)").arg(n > 1 ? "," : "").arg(n).arg(n * 10);
        sql(QStringLiteral("INSERT INTO 部材 (部材番号,幅,長さ,数,色値,回転) VALUES ") + values + QLatin1Char(';'));
    }
};

TEST_F(TwelvePartsTest, AMiddleRowDeletedAndARowAddedCloseTheNumbersAndReachTheLimitAgain)
{
    TDBGrid* g = tavo().TDBBuzai;
    EXPECT_EQ(12, g->model()->rowCount());
    clickCell(g, 2, 2);
    click(tavo().lbutBuzaiDelete);
    EXPECT_EQ(11, tavo().BuzaiNoCounter);
    EXPECT_EQ(12, g->model()->rowCount());               // 11 rows and the add-new row
    enterRows(g, {{"999", "500", "1"}});
    const QList<QList<int>> parts = rows(QStringLiteral("部材"));
    ASSERT_EQ(12, parts.size());
    QList<int> numbers, widths;
    for (const QList<int>& p : parts)
        numbers << p[0], widths << p[1];
    EXPECT_EQ((QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), numbers);
    EXPECT_EQ((QList<int>{10, 20, 40, 50, 60, 70, 80, 90, 100, 110, 120, 999}), widths);
    EXPECT_EQ(frmPallete::kSwatchColors[15],
              uint32_t(lookup(QStringLiteral("部材"), QStringLiteral("色値"), QStringLiteral("部材番号=12")).intValue()));
    EXPECT_FALSE(g->allowAddNew());
    EXPECT_EQ(12, g->model()->rowCount());               // no row beyond the twelfth
}

TEST_F(InputGridPathsTest, LettersOversizedNumbersAndEscLeaveOnlyWholeNumbersUpTo9999)
{
    TDBGrid* g = tavo().TDBBozai;
    enterRows(g, {{"100", "1000", "2"}});
    const struct {
        const char* typed;
        bool escape;
        int stored;
    } cases[] = {{"ab", false, 100}, {"10000", false, 1000}, {"55", true, 1000}, {"x7y", false, 7}};
    for (const auto& c : cases) {
        clickCell(g, 0, 1);
        type(QString::fromLatin1(c.typed));
        key(c.escape ? Qt::Key_Escape : Qt::Key_Return);
        EXPECT_EQ(c.stored, stock().value(0).value(1)) << c.typed;
    }
    // On the add-new row neither letters nor an edit dropped with Esc make a row.
    for (const char* typed : {"ab", "12"}) {
        clickCell(g, g->rowCount(), 1);
        type(QString::fromLatin1(typed));
        key(typed[0] == 'a' ? Qt::Key_Return : Qt::Key_Escape);
        EXPECT_EQ(1, count(QStringLiteral("母材"))) << typed;
        EXPECT_EQ(1, tavo().BozaiNoCounter) << typed;
    }
    // The next row typed is number 2 with its own swatch.
    clickCell(g, g->rowCount(), 2);
    type(QStringLiteral("800"));
    key(Qt::Key_Return);
    EXPECT_EQ((QList<QList<int>>{{1, 7, 1000, 2}, {2, 0, 800, 0}}), stock());
    EXPECT_EQ(frmPallete::kSwatchColors[8],
              uint32_t(lookup(QStringLiteral("母材"), QStringLiteral("色値"), QStringLiteral("母材番号=2")).intValue()));
}

TEST_F(InputGridPathsTest, ShiftEnterMovesBackAndTheColourCellHasASolidBorder)
{
    TDBGrid* g = tavo().TDBBozai;
    enterRows(g, {{"100", "1000", "2"}});
    clickCell(g, 0, 3);
    EXPECT_EQ(dbgFloatingEditor, g->marqueeStyle());
    key(Qt::Key_Return);
    EXPECT_EQ(4, g->col());
    EXPECT_EQ(dbgSolidCellBorder, g->marqueeStyle());
    key(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(3, g->col());
    EXPECT_EQ(dbgFloatingEditor, g->marqueeStyle());
    type(QStringLiteral("5"));                           // Shift+Enter out of an editor goes back too
    key(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(2, g->col());
    EXPECT_EQ(5, stock().value(0).value(3));
}

class BusyGridsTest : public InputGridPathsTest {
protected:
    void prepare() override
    {
        sql(QStringLiteral("INSERT INTO 母材 (母材番号,幅,長さ,数,色値) VALUES (1,900,1800,1,1),(2,600,1200,1,2);"
                           "INSERT INTO 部材 (部材番号,幅,長さ,数,色値,回転) VALUES (1,300,450,4,255,-1);"));
    }
};

TEST_F(BusyGridsTest, WhileBusyTheGridsColourPickingAndTheDeleteButtonsDoNothing)
{
    PaletteAnswer palette;
    palette.swatch = 10;
    tavo().Busy = true;
    for (TDBGrid* g : {tavo().TDBBozai.data(), tavo().TDBBuzai.data()}) {
        clickCell(g, 0, 4);
        clickButtonOfCell(g, 0, 4);
        clickCell(g, 0, 4);
        key(Qt::Key_Down, Qt::AltModifier);
    }
    click(tavo().lbutBozaiDelete);
    click(tavo().lbutBuzaiDelete);
    EXPECT_EQ(0, palette.openings);
    EXPECT_EQ(2, count(QStringLiteral("母材")));
    EXPECT_EQ(1, count(QStringLiteral("部材")));
    // Typing stays the grid's own, and rotate-all is not blocked.
    clickCell(tavo().TDBBozai, 1, 1);
    type(QStringLiteral("700"));
    key(Qt::Key_Return);
    EXPECT_EQ(700, stock().value(1).value(1));
    click(tavo().butProhibition);
    EXPECT_EQ(0, lookup(QStringLiteral("部材"), QStringLiteral("回転")).intValue());

    tavo().Busy = false;
    QApplication::setActiveWindow(w);
    clickCell(tavo().TDBBozai, 0, 4);
    clickButtonOfCell(tavo().TDBBozai, 0, 4);
    EXPECT_EQ(1, palette.openings);
}

TEST_F(BusyGridsTest, RowsDeletedByTheKeyboardAreRenumberedAndTheButtonThenFindsNothingToDelete)
{
    TDBGrid* g = tavo().TDBBozai;
    selectRow(g, 0);
    g->setFocus();
    key(Qt::Key_Delete);
    EXPECT_EQ((QList<QList<int>>{{1, 600, 1200, 1}}), stock());
    EXPECT_EQ(1, tavo().BozaiNoCounter);
    selectRow(g, 0);
    g->setFocus();
    key(Qt::Key_Delete);
    EXPECT_EQ(0, count(QStringLiteral("母材")));
    EXPECT_TRUE(g->allowAddNew());
    // The button was enabled by the last count; with no row left it recounts, and nothing fails.
    click(tavo().lbutBozaiDelete);
    EXPECT_FALSE(tavo().lbutBozaiDelete->isEnabled());
    EXPECT_TRUE(errLog().isEmpty()) << errLog().toStdString();
}

TEST_F(InputGridPathsTest, AComputationWithAnEmptyStockRowInTheMiddleStopsOnThatRow)
{
    enterRows(tavo().TDBBozai, {{"900", "1800", "1"}, {"0", "0", "0"}, {"600", "1200", "1"}});
    enterRows(tavo().TDBBuzai, {{"300", "450", "4"}});
    ScriptedMsgBox boxes;
    boxes.expect(QStringLiteral("入力エラー"), vbOK, QStringLiteral("母材が正しく入力されていません。"));
    click(tavo().lbutCompute);
    EXPECT_EQ(tavo().TDBBozai, QApplication::focusWidget());
    EXPECT_EQ(1, tavo().TDBBozai->row());
    EXPECT_EQ(0, count(QStringLiteral("パターン")));
}

}  // namespace
