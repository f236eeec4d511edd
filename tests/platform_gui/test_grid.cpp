// The data grid over recordsets of the working database: binding and columns, the cursor, user
// edits with their events, the add-new row, the row buffer, check boxes, deletion, owner-drawn
// cells, the cell button, resizing with cancel.
#include "foundation/Globals.h"
#include "foundation/cDao.h"
#include "platform/gui/Handler.h"
#include "platform/gui/TDBGrid.h"
#include "tests/platform_gui/GuiTestUtil.h"
#include "tests/support/DbFixture.h"

#include <QApplication>
#include <QHeaderView>
#include <QTest>

namespace {

class GridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gDao().Execute(QStringLiteral("INSERT INTO 母材 (母材番号,幅,長さ,数,色値) VALUES (1,900,1800,2,128),(2,600,1200,1,32768),(3,450,0,5,NULL)"),
                       dbFailOnError);
        grid_.resize(520, 200);
        grid_.show();
        QApplication::setActiveWindow(&grid_);
        grid_.setFocus();
    }
    void bind(bool updatable, const QString& table = QStringLiteral("母材"), const QString& key = QStringLiteral("母材番号"))
    {
        const QString sql = QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" ORDER BY ") + key;
        grid_.setRecordset(updatable ? gDao().OpenRecordset(sql, dbOpenDynaset, 0, dbOptimistic) : gDao().OpenRecordset(sql));
        if (updatable) {
            grid_.setAllowUpdate(true);
            grid_.setAllowAddNew(true);
        }
    }
    Variant stored(const QString& field, int number)
    {
        return gDao().Lookup(QStringLiteral("母材"), field, QStringLiteral("母材番号=") + QString::number(number));
    }
    // Types into whatever has the focus (the grid, then its cell editor).
    static void type(const QString& text)
    {
        for (QChar c : text)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
    static void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(QApplication::focusWidget(), k, m); }
    QString cell(int row, int col) { return grid_.model()->index(row, col).data().toString(); }

    DbFixture db_;
    TDBGrid grid_;
};

TEST_F(GridTest, BindingMakesOneColumnPerFieldAndShowsFormattedValues)
{
    bind(false);
    ASSERT_EQ(7, grid_.columnCount());
    EXPECT_EQ(QStringLiteral("幅"), grid_.column(1).caption());
    EXPECT_EQ(QStringLiteral("幅"), grid_.column(1).dataField());
    EXPECT_TRUE(grid_.column(6).visible());
    EXPECT_EQ(3, grid_.rowCount());
    EXPECT_EQ(3, grid_.model()->rowCount());             // read-only: no add-new row
    EXPECT_EQ(&grid_.column(2), &grid_.column(QStringLiteral("長さ")));
    EXPECT_THROW(grid_.column(QStringLiteral("無い")), VbError);
    EXPECT_THROW(grid_.column(7), VbError);

    grid_.column(2).setNumberFormat(QStringLiteral("####"));
    EXPECT_EQ(QStringLiteral("1800"), cell(0, 2));
    EXPECT_EQ(QString(), cell(2, 2));                     // "####" shows no zero
    TDBValueItems& items = grid_.column(3).valueItems();
    items.add(QStringLiteral("1"), QStringLiteral("一枚"));
    items.add(QStringLiteral("2"), QStringLiteral("二枚"));
    EXPECT_EQ(QStringLiteral("2"), cell(0, 3));            // no translation yet
    items.translate = true;
    EXPECT_EQ(QStringLiteral("二枚"), cell(0, 3));
    EXPECT_EQ(QStringLiteral("5"), cell(2, 3));            // no item: the value itself

    TDBColumn& added = grid_.addColumn(0);
    EXPECT_FALSE(added.visible());                         // new columns start hidden
    EXPECT_EQ(8, grid_.columnCount());
    EXPECT_EQ(QStringLiteral("幅"), grid_.column(2).caption());
    grid_.removeColumn(0);
    EXPECT_EQ(QStringLiteral("幅"), grid_.column(1).caption());
    grid_.column(5).setVisible(false);
    EXPECT_TRUE(grid_.isColumnHidden(5));
    grid_.column(1).setWidth(45);
    EXPECT_EQ(45, grid_.columnWidth(1));
}

TEST_F(GridTest, TheCursorIsTheCurrentRowAndEachMoveGivesOneRowColChange)
{
    bind(false);
    int changes = 0;
    QObject::connect(&grid_, &TDBGrid::RowColChange, [&](int, int) { ++changes; });
    QStringList widths;
    grid_.moveFirst();
    while (!grid_.eof()) {
        widths << grid_.column(QStringLiteral("幅")).text();
        EXPECT_EQ(grid_.row(), grid_.currentIndex().row());
        grid_.moveNext();
    }
    EXPECT_EQ((QStringList{QStringLiteral("900"), QStringLiteral("600"), QStringLiteral("450")}), widths);
    EXPECT_EQ(2, changes);                                 // the first row was current already
    EXPECT_TRUE(grid_.eof());
    EXPECT_EQ(-1, grid_.row());

    grid_.moveFirst();
    const int second = grid_.rowBookmark(1);
    grid_.setBookmark(second);
    EXPECT_EQ(1, grid_.row());
    EXPECT_EQ(second, grid_.bookmark());
    EXPECT_EQ(QStringLiteral("600"), grid_.column(1).cellText(second));
    // The user moving the current cell moves the recordset.
    grid_.setCurrentIndex(grid_.model()->index(2, 1));
    EXPECT_EQ(2, grid_.recordset().absolutePosition());
    EXPECT_EQ(QStringLiteral("450"), grid_.column(1).text());
}

TEST_F(GridTest, AUserEditRunsBeforeColUpdateAndIsWrittenAtOnce)
{
    bind(true);
    std::vector<QString> olds;
    int afterUpdates = 0, cancelNext = 0;
    QObject::connect(&grid_, &TDBGrid::BeforeColUpdate, [&](int col, const Variant& old, int& cancel) {
        olds.push_back(QString::number(old.intValue()));
        TDBColumn& c = grid_.column(col);
        if (c.value().isNull() || c.text().isEmpty())
            c.setValue(Variant(int32_t(0)));              // an emptied cell stores 0
        cancel = cancelNext;
    });
    QObject::connect(&grid_, &TDBGrid::AfterUpdate, [&] { ++afterUpdates; });
    grid_.setCurrentIndex(grid_.model()->index(0, 1));
    type(QStringLiteral("750"));
    key(Qt::Key_Return);
    EXPECT_EQ(750, stored(QStringLiteral("幅"), 1).intValue());
    EXPECT_EQ(1, afterUpdates);
    EXPECT_EQ(2, grid_.currentIndex().column());           // Enter moves to the next cell

    key(Qt::Key_Down);                                     // row 2, 長さ
    key(Qt::Key_F2);
    key(Qt::Key_Backspace);
    key(Qt::Key_Backspace);
    key(Qt::Key_Backspace);
    key(Qt::Key_Backspace);
    key(Qt::Key_Return);
    EXPECT_EQ(0, stored(QStringLiteral("長さ"), 2).intValue());
    EXPECT_FALSE(stored(QStringLiteral("長さ"), 2).isNull());

    cancelNext = 1;
    grid_.setCurrentIndex(grid_.model()->index(2, 3));
    type(QStringLiteral("9"));
    key(Qt::Key_Return);
    EXPECT_EQ(5, stored(QStringLiteral("数"), 3).intValue());
    EXPECT_EQ(QStringLiteral("5"), cell(2, 3));
    EXPECT_EQ((std::vector<QString>{QStringLiteral("900"), QStringLiteral("1200"), QStringLiteral("5")}), olds);
    EXPECT_EQ(2, afterUpdates);
}

TEST_F(GridTest, TheAddNewRowBecomesARowAtItsFirstCell)
{
    bind(true);
    EXPECT_EQ(4, grid_.model()->rowCount());
    int inserts = 0;
    QObject::connect(&grid_, &TDBGrid::BeforeColUpdate, [&](int, const Variant&, int&) {
        TDBColumn& number = grid_.column(QStringLiteral("母材番号"));
        if (number.value().isNull())
            number.setValue(Variant(int16_t(4)));          // defaults of the new row
        grid_.column(QStringLiteral("色値")).setValue(Variant(int32_t(0x008080)));
    });
    QObject::connect(&grid_, &TDBGrid::AfterInsert, [&] {
        ++inserts;
        EXPECT_EQ(4, grid_.rowCount());
    });
    grid_.setCurrentIndex(grid_.model()->index(3, 1));
    EXPECT_TRUE(grid_.isAddNewRow());
    EXPECT_TRUE(grid_.column(1).value().isNull());
    type(QStringLiteral("300"));
    key(Qt::Key_Return);
    EXPECT_EQ(1, inserts);
    EXPECT_EQ(300, stored(QStringLiteral("幅"), 4).intValue());
    EXPECT_EQ(0x008080, stored(QStringLiteral("色値"), 4).intValue());
    EXPECT_EQ(5, grid_.model()->rowCount());               // a new add-new row below it
    EXPECT_EQ(3, grid_.row());

    grid_.setAllowAddNew(false);
    EXPECT_EQ(4, grid_.model()->rowCount());
}

TEST_F(GridTest, ValuesFromCodeWaitInTheRowBufferUntilTheEventLoopRuns)
{
    bind(true);
    int inserts = 0;
    QObject::connect(&grid_, &TDBGrid::AfterInsert, [&] { ++inserts; });
    grid_.moveLast();
    grid_.moveNext();                                      // the add-new row
    ASSERT_TRUE(grid_.isAddNewRow());
    grid_.column(QStringLiteral("色値")).setValue(Variant(int32_t(255)));
    grid_.column(QStringLiteral("母材番号")).setValue(Variant(int16_t(4)));
    EXPECT_TRUE(grid_.isDataChanged());
    EXPECT_EQ(255, grid_.column(QStringLiteral("色値")).value().intValue());   // read back from the buffer
    EXPECT_TRUE(stored(QStringLiteral("色値"), 4).isNull());
    EXPECT_EQ(0, inserts);
    QCoreApplication::processEvents();
    EXPECT_EQ(1, inserts);
    EXPECT_EQ(255, stored(QStringLiteral("色値"), 4).intValue());
    EXPECT_FALSE(grid_.isDataChanged());

    // On an existing row, moving to another row writes the buffer first.
    grid_.moveFirst();
    grid_.column(QStringLiteral("数")).setValue(Variant(int32_t(9)));
    grid_.moveNext();
    EXPECT_EQ(9, stored(QStringLiteral("数"), 1).intValue());
}

TEST_F(GridTest, KeyDownMayReplaceOrSwallowKeys)
{
    bind(true);
    int alts = 0;
    QObject::connect(&grid_, &TDBGrid::KeyDown, [&](int& code, int& shift) {
        if (code == 40 && (shift & 4)) {
            ++alts;
            code = 0;
        } else if (code == 13) {
            code = shift & 1 ? 37 : 39;
        }
    });
    grid_.setCurrentIndex(grid_.model()->index(1, 2));
    key(Qt::Key_Return);
    EXPECT_EQ(3, grid_.currentIndex().column());
    key(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(2, grid_.currentIndex().column());
    key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(1, alts);
    EXPECT_EQ(1, grid_.currentIndex().row());
    type(QStringLiteral("5"));                             // in the editor, Enter still reaches KeyDown
    key(Qt::Key_Return);
    EXPECT_EQ(3, grid_.currentIndex().column());
    EXPECT_EQ(5, stored(QStringLiteral("長さ"), 2).intValue());
}

TEST_F(GridTest, CheckBoxColumnsStoreTheDatabasesTrue)
{
    gDao().Execute(QStringLiteral("INSERT INTO 部材 (部材番号,幅,長さ,数,回転) VALUES (1,100,200,3,0)"), dbFailOnError);
    bind(true, QStringLiteral("部材"), QStringLiteral("部材番号"));
    grid_.column(6).valueItems().presentation = dbgCheckBox;
    const QRect r = grid_.visualRect(grid_.model()->index(0, 6));
    QTest::mouseClick(grid_.viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    EXPECT_EQ(-1, gDao().Lookup(QStringLiteral("部材"), QStringLiteral("回転"), QStringLiteral("部材番号=1")).intValue());
    EXPECT_EQ(QString(), cell(0, 6));
    key(Qt::Key_Space);
    EXPECT_EQ(0, gDao().Lookup(QStringLiteral("部材"), QStringLiteral("回転"), QStringLiteral("部材番号=1")).intValue());
}

TEST_F(GridTest, DeletingARowRunsTheEventsAndFollowsOtherCursors)
{
    bind(true);
    int afterDeletes = 0;
    QObject::connect(&grid_, &TDBGrid::AfterDelete, [&] {
        ++afterDeletes;
        // Renumbering through the grid's own recordset, as the input grids do.
        Recordset& rs = grid_.recordset();
        int n = 0;
        rs.moveFirst();
        while (!rs.eof()) {
            rs.edit();
            rs.setField(QStringLiteral("母材番号"), Variant(int16_t(++n)));
            rs.update();
            rs.moveNext();
        }
    });
    grid_.setBookmark(grid_.rowBookmark(1));
    grid_.deleteRow();
    EXPECT_EQ(1, afterDeletes);
    EXPECT_EQ(2, grid_.rowCount());
    EXPECT_EQ(3, grid_.model()->rowCount());
    EXPECT_EQ(QStringLiteral("2"), cell(1, 0));
    EXPECT_EQ(QStringLiteral("450"), cell(1, 1));
    EXPECT_EQ(450, stored(QStringLiteral("幅"), 2).intValue());

    int cancelled = 0;
    QObject::connect(&grid_, &TDBGrid::BeforeDelete, [&](int& cancel) { cancel = ++cancelled; });
    grid_.moveFirst();
    grid_.deleteRow();
    EXPECT_EQ(2, grid_.rowCount());
}

TEST_F(GridTest, FetchCellStyleColoursAndPicturesCells)
{
    bind(false);
    grid_.setAlternatingRowStyle(true);
    grid_.evenRowStyle().backColor = 0xFFFFFF;
    grid_.oddRowStyle().backColor = 0xFFFFEE;
    grid_.setDefaultRowHeight(40);
    grid_.column(4).setFetchStyle(true);
    grid_.column(4).setWidth(60);
    QImage thumb(30, 20, QImage::Format_RGB32);
    thumb.fill(QColor(0, 0, 255));
    std::vector<std::pair<int, int>> asked;   // (bookmark, condition)
    QObject::connect(&grid_, &TDBGrid::FetchCellStyle, [&](int condition, int, int bookmark, int col, TDBCellStyle& s) {
        asked.emplace_back(bookmark, condition);
        const Variant colour = grid_.column(QStringLiteral("色値")).cellValue(bookmark);
        if (!colour.isNull())
            s.backColor = uint32_t(colour.intValue());
        if (bookmark == grid_.rowBookmark(2))
            s.foregroundPicture = thumb;
        EXPECT_EQ(4, col);
    });
    grid_.setCurrentIndex(grid_.model()->index(0, 1));
    const QImage img = SaveScreenshot(&grid_, QStringLiteral("grid_cells"));
    ASSERT_GE(asked.size(), 3u);
    for (const auto& [bm, condition] : asked)
        EXPECT_EQ(dbgNormalCell, condition);                 // none of these cells is current
    auto centre = [&](int row, int col) {
        const QRect r = grid_.visualRect(grid_.model()->index(row, col));
        return grid_.viewport()->mapTo(&grid_, r.center());
    };
    const QPoint red = centre(0, 4), green = centre(1, 4), pic = centre(2, 4);
    EXPECT_EQ(qRgb(128, 0, 0) & 0xFFFFFF, PixelAt(img, red.x(), red.y()));
    EXPECT_EQ(qRgb(0, 128, 0) & 0xFFFFFF, PixelAt(img, green.x(), green.y()));
    const QRect third = grid_.visualRect(grid_.model()->index(2, 4));
    const QPoint inPic = grid_.viewport()->mapTo(&grid_, QPoint(third.left() + 10, third.center().y()));
    EXPECT_EQ(qRgb(0, 0, 255) & 0xFFFFFF, PixelAt(img, inPic.x(), inPic.y()));
    EXPECT_EQ(0xFFFFFFu, PixelAt(img, pic.x() + 25, pic.y()));   // the even row's colour beside the picture
    const QPoint odd = centre(1, 3);
    EXPECT_EQ(qRgb(0xEE, 0xFF, 0xFF) & 0xFFFFFF, PixelAt(img, odd.x() - 25, odd.y()));
}

TEST_F(GridTest, TheCellButtonShowsOnTheCurrentCell)
{
    bind(true);
    grid_.column(4).setButton(true);
    std::vector<int> clicks;
    QObject::connect(&grid_, &TDBGrid::ButtonClick, [&](int col) { clicks.push_back(col); });
    grid_.setCurrentIndex(grid_.model()->index(1, 4));
    const QRect r = grid_.visualRect(grid_.model()->index(1, 4));
    QTest::mouseClick(grid_.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(r.right() - 4, r.center().y()));
    EXPECT_EQ((std::vector<int>{4}), clicks);
    const QRect other = grid_.visualRect(grid_.model()->index(0, 4));
    QTest::mouseClick(grid_.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(other.right() - 4, other.center().y()));
    EXPECT_EQ(1u, clicks.size());                          // a cell that was not current: it becomes current
    EXPECT_EQ(0, grid_.currentIndex().row());
}

TEST_F(GridTest, ResizingRowsAndColumnsMayBeCancelled)
{
    bind(false);
    grid_.setDefaultRowHeight(20);
    grid_.column(1).setWidth(50);
    int cancelCol = 1, rowEvents = 0;
    QObject::connect(&grid_, &TDBGrid::ColResize, [&](int col, int& cancel) {
        EXPECT_EQ(1, col);
        EXPECT_EQ(80, grid_.column(1).width());            // the new width while the event runs
        cancel = cancelCol;
    });
    QObject::connect(&grid_, &TDBGrid::RowResize, [&](int& cancel) {
        ++rowEvents;
        if (grid_.defaultRowHeight() < 30)
            cancel = 1;
        else
            grid_.setDefaultRowHeight(35);                 // the handler sets its own height
    });
    grid_.horizontalHeader()->resizeSection(1, 80);
    EXPECT_EQ(50, grid_.column(1).width());
    EXPECT_EQ(50, grid_.columnWidth(1));
    cancelCol = 0;
    grid_.horizontalHeader()->resizeSection(1, 80);
    EXPECT_EQ(80, grid_.columnWidth(1));

    grid_.verticalHeader()->resizeSection(1, 25);
    EXPECT_EQ(20, grid_.rowHeight(1));
    grid_.verticalHeader()->resizeSection(1, 31);
    EXPECT_EQ(35, grid_.defaultRowHeight());
    EXPECT_EQ(35, grid_.rowHeight(0));
    EXPECT_EQ(35, grid_.rowHeight(2));
    EXPECT_EQ(2, rowEvents);
}

}  // namespace
