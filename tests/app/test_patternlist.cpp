// The pattern list over hand-made pattern rows: grouping and ranking, パターンリスト and its text,
// the binding limit, the columns, the scale with its clamps and drags, the marking of short
// patterns, the hand-over and clearing.
#include "tests/app/test_patternlist_fixture.h"

#include "platform/core/Database.h"

#include <QFontMetrics>
#include <QSignalSpy>
#include <random>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

}  // namespace

TEST(PatternListText, DataTextReadsNumberSheetsAndRate)
{
    struct Case {
        int32_t n;
        int16_t sheets;
        double rate;
        const char* text;
    };
    const Case cases[] = {
        {1, 3, 85.254, "No.0001\r\n\r\n3枚\r\n\r\n85.25%"},
        {12, 1, 100, "No.0012\r\n\r\n1枚\r\n\r\n100.00%"},
        {10000, 10, 2.675, "No.10000\r\n\r\n10枚\r\n\r\n2.68%"},   // halves of the decimal value go up
        {12345, 2, 0.125, "No.12345\r\n\r\n2枚\r\n\r\n0.13%"},
        {7, 0, 0, "No.0007\r\n\r\n0枚\r\n\r\n0.00%"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ListDataText(c.n, c.sheets, c.rate), QString::fromUtf8(c.text)) << c.n;
}

TEST_F(PatternListTest, GroupsCollapseEqualLayoutsAndRankByPiecesThenKeyAsTextThenNumber)
{
    pattern(1, QStringLiteral("A"), 10, QStringLiteral("002,050.00,"), 2, 80);
    pattern(2, QStringLiteral("A"), 10, QStringLiteral("002,050.00,"), 2, 80);    // the same as 1
    pattern(3, QStringLiteral("B"), 10, QStringLiteral("002,040.00,"), 2, 81);    // a smaller key
    pattern(4, QStringLiteral("A"), 9, QStringLiteral("001,010.00,"), 1, 99);     // fewer pieces
    pattern(5, QStringLiteral("C"), 10, QStringLiteral("002,050.00,"), 2, 82);    // another layout, same key
    pattern(6, QStringLiteral("D"), 10, QStringLiteral("002,999.00,"), 2, 83);
    pattern(7, QStringLiteral("E"), 10, QStringLiteral("002,1045.00,"), 2, 84);   // text: before 999
    pattern(8, QStringLiteral("A"), 10, QStringLiteral("003,050.00,"), 3, 85);    // same layout, other key

    ASSERT_TRUE(list_->Build());
    EXPECT_EQ(listed(), (std::vector<int>{3, 1, 5, 7, 6, 8, 4}));
    EXPECT_EQ(int(list_->PatternGroups().size()), 7);

    // Every row: its pattern's pieces and sheets, the list number, and the text.
    Recordset rs = gDao().OpenRecordset(QStringLiteral("SELECT * FROM パターンリスト ORDER BY リスト番号"));
    rs.moveLast();
    EXPECT_EQ(rs.field(QStringLiteral("パターン番号")).intValue(), 4);
    EXPECT_EQ(rs.field(QStringLiteral("リスト番号")).intValue(), 7);
    EXPECT_EQ(rs.field(QStringLiteral("部材切取数")).intValue(), 9);
    EXPECT_EQ(rs.field(QStringLiteral("母材使用数")).intValue(), 1);
    EXPECT_EQ(rs.field(QStringLiteral("データ")).stringValue(), QStringLiteral("No.0007\r\n\r\n1枚\r\n\r\n99.00%"));
    EXPECT_EQ(grid().rowCount(), 7);
    EXPECT_EQ(dbtrans::depth(), 0);
}

// The groups found in memory are those of the grouping query, in its order, on random tables with
// repeated layouts, ties, nulls, texts and fractions where numbers belong.
TEST_F(PatternListTest, GroupsInMemoryEqualTheGroupingQuery)
{
    std::mt19937 random(7);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    const QStringList values = {QStringLiteral("NULL"), QStringLiteral("'1'"), QStringLiteral("'b'"), QStringLiteral("2.5"),
                                QStringLiteral("'ｱ'"), QStringLiteral("'𠀋'"), QStringLiteral("'\uE000'")};
    for (int round = 0; round < 40; ++round) {
        exec(QStringLiteral("DELETE FROM パターン"));
        const int rows = 1 + pick(30);
        const bool asStored = round % 2 == 0;   // numbered 1, 2, 3, ... as the engine stores them
        for (int r = 0; r < rows; ++r) {
            auto some = [&](const QString& usual) { return pick(8) == 0 ? values[pick(int(values.size()))] : usual; };
            exec(QStringLiteral("INSERT INTO パターン (パターン番号,パターン種別,部材切取数,優先順位,平均使用率,母材使用数) "
                                "VALUES (%1,%2,%3,%4,%5,%6)")
                     .arg(asStored ? QString::number(r + 1) : some(QString::number(1 + pick(rows))),
                          some(QStringLiteral("'S%1'").arg(pick(4))),
                          some(QString::number(pick(3))), some(QStringLiteral("'%1'").arg(pick(3) * 7, 3, 10, QLatin1Char('0'))),
                          some(QString::number(pick(100))), some(QString::number(1 + pick(4)))));
        }
        std::vector<int32_t> expected;
        Statement query = gDao().Prepare(QStringLiteral(
            "SELECT MIN(ptn.パターン番号) FROM パターン AS ptn GROUP BY ptn.パターン種別,ptn.部材切取数,ptn.優先順位"
            " ORDER BY ptn.部材切取数 DESC,ptn.優先順位,MIN(ptn.パターン番号)"));
        Statement lookup = gDao().Prepare(QStringLiteral("SELECT 平均使用率,部材切取数,母材使用数 FROM パターン WHERE パターン番号=?1"));
        std::vector<PatternGroup> groups = ReadPatternGroups();
        size_t i = 0;
        for (; query.step(); ++i) {
            ASSERT_LT(i, groups.size()) << round;
            const int32_t no = gBase().CvtLng(query.column(0));
            EXPECT_EQ(groups[i].patternNo, no) << round << " group " << i;
            lookup.bind(1, int64_t(no));
            const bool found = lookup.step();
            EXPECT_EQ(groups[i].found, found) << round << " group " << i;
            if (found) {
                EXPECT_EQ(groups[i].rate, lookup.column(0)) << round;
                EXPECT_EQ(gBase().CvtLng(groups[i].cut), gBase().CvtLng(lookup.column(1))) << round;
                EXPECT_EQ(gBase().CvtLng(groups[i].sheets), gBase().CvtLng(lookup.column(2))) << round;
            }
            lookup.reset();
        }
        EXPECT_EQ(i, groups.size()) << round;
    }
}

TEST_F(PatternListTest, TheDisplayedRowCountBindsOnlyTheFirstRowsOfTheFullTable)
{
    for (int i = 1; i <= 5; ++i)
        pattern(i, QString::number(i), 10, QStringLiteral("001,"), 1, 50);
    for (const auto& [shown, rows] : std::vector<std::pair<int16_t, int>>{{0, 0}, {3, 3}, {5, 5}, {1000, 5}}) {
        exec(QStringLiteral("DELETE FROM パターンリスト"));
        gDisplay().DisplayListCount = shown;
        ASSERT_TRUE(list_->Build());
        EXPECT_EQ(grid().rowCount(), rows) << shown;
        EXPECT_EQ(listed().size(), 5u) << shown;
        if (rows > 0) {
            grid().moveLast();
            EXPECT_EQ(grid().column(0).value().intValue(), rows);
        }
    }
}

TEST_F(PatternListTest, AFailingRowLeavesNoPartialListAndTheGridOnItsPreviousRows)
{
    for (int i = 1; i <= 3; ++i)
        pattern(i, QString::number(i), 10, QStringLiteral("001,"), 1, 50);
    ASSERT_TRUE(list_->Build());
    ASSERT_EQ(grid().rowCount(), 3);

    exec(QStringLiteral("DELETE FROM パターンリスト"));
    pattern(4, QStringLiteral("4"), 11, QStringLiteral("001,"), 1, 50);
    exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON パターンリスト WHEN NEW.リスト番号 = 3 "
                        "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    EXPECT_TRUE(list_->OpenPatternGroups());
    EXPECT_FALSE(list_->InsertListData());
    EXPECT_TRUE(listed().empty());
    EXPECT_EQ(dbtrans::depth(), 0);
    EXPECT_EQ(grid().rowCount(), 3);   // still the list before
    EXPECT_TRUE(db_.errLog().contains(QStringLiteral("InsertListData"))) << db_.errLog().toStdString();

    exec(QStringLiteral("DROP TRIGGER refuse"));
    EXPECT_TRUE(list_->Build());
    EXPECT_EQ(listed(), (std::vector<int>{4, 1, 2, 3}));
}

TEST_F(PatternListTest, NoPatternsGiveAnEmptyGridWithItsColumns)
{
    engine_.ListSheetColumns = 2;
    ASSERT_TRUE(list_->Build());
    EXPECT_EQ(grid().rowCount(), 0);
    EXPECT_EQ(captions(), (QStringList{QString(), QString(), QString(), QStringLiteral("1 - 1"), QStringLiteral("1 - 2")}));
    EXPECT_EQ(dbtrans::depth(), 0);
}

TEST_F(PatternListTest, ColumnsAreTwoHiddenFieldsTheTextAndOneColumnPerSheetOfTheStock)
{
    struct Case {
        std::vector<StockKind> stock;
        int16_t sheetColumns;
        QStringList sheets;
    };
    const std::vector<Case> cases = {
        {{{300, 200, 2, 0}, {200, 100, 1, 0}}, 5, {"1 - 1", "1 - 2", "2 - 1"}},   // the stock runs out
        {{{300, 200, 0, 0}}, 4, {"1 - 1", "1 - 2", "1 - 3", "1 - 4"}},           // 数 0 goes on
        {{{300, 200, 1, 0}, {200, 100, 0, 0}}, 3, {"1 - 1", "2 - 1", "2 - 2"}},
        {{{300, 200, 5, 0}}, 1, {"1 - 1"}},
    };
    pattern(1, QStringLiteral("A"), 10, QStringLiteral("001,"), 1, 50);
    for (const Case& c : cases) {
        SetStock(engine_, c.stock);
        engine_.ListSheetColumns = c.sheetColumns;
        exec(QStringLiteral("DELETE FROM パターンリスト"));
        ASSERT_TRUE(list_->Build());
        EXPECT_EQ(captions().mid(3), c.sheets);
    }
    EXPECT_EQ(grid().column(0).dataField(), QStringLiteral("リスト番号"));
    EXPECT_EQ(grid().column(1).dataField(), QStringLiteral("部材切取数"));
    EXPECT_FALSE(grid().column(0).visible());
    EXPECT_FALSE(grid().column(1).visible());
    const TDBColumn& text = grid().column(2);
    EXPECT_EQ(text.dataField(), QStringLiteral("データ"));
    EXPECT_TRUE(text.visible());
    // At least 50 pixels, and every line of the text fits (the text is drawn 2 pixels in).
    EXPECT_GE(text.width(), 50);
    for (const QString& line : ListDataText(1000, 10, 100).split(kCrLf))
        EXPECT_LE(QFontMetrics(grid().font()).horizontalAdvance(line) + 4, text.width()) << line.toStdString();
    EXPECT_FALSE(text.allowSizing());
    EXPECT_TRUE(grid().column(3).allowSizing());
    EXPECT_TRUE(grid().column(3).dataField().isEmpty());
    EXPECT_TRUE(grid().allowRowSizing());
}

TEST_F(PatternListTest, SheetColumnsReachTheLastUsedSheetEvenPastAnEmptyOne)
{
    // Two sheets used, the second of them at 連番 3: sheet 2 received nothing. The engine counts
    // the columns up to the last used sheet.
    SetStock(engine_, {{100, 50, 1, 0xFFFFFF}, {100, 50, 1, 0xFFFFFF}, {100, 50, 1, 0xFFFFFF}});
    pattern(1, QStringLiteral("A"), 2, QStringLiteral("002,"), 2, 50, {100, 0, 100});
    piece(1, 1, 1, 0, 0, 10, 10, 0xFF, 1);
    piece(1, 3, 2, 0, 0, 10, 10, 0xFF00, 3, 1);
    engine_.ListSheetColumns = 3;
    ASSERT_TRUE(list_->Build());
    EXPECT_EQ(captions().mid(3), (QStringList{"1 - 1", "2 - 1", "3 - 1"}));
}

TEST_F(PatternListTest, StartScaleFromTheDisplaySizeWithItsClamps)
{
    struct Case {
        int16_t length, width, size;
        double preset;
        double scale;
        int rowHeight, columnWidth;
    };
    const Case cases[] = {
        {30, 30, 0, 0, 2.0, 70, 70},           // 60 / 30
        {300, 200, 1, 0, 0.5, 110, 160},       // 100 / 200: 150 x 100 is within the area
        {300, 200, 2, 0, 1.0, 210, 310},       // √60000 / 200 = 1.22 is too large: √(60000 / 60000)
        {200, 200, 2, 0, std::sqrt(60000.0) / 200, 255, 255},   // a square sheet fills the area
        {300, 200, 7, 1.0, 1.0, 210, 310},     // another size keeps the scale: exactly the area passes
        {300, 200, 7, 0.1, 0.3, 70, 100},      // below the minimum: 60 / 200
        {10, 10, 2, 0, std::sqrt(600.0), 255, 255},   // the maximum wins over the minimum
    };
    pattern(1, QStringLiteral("A"), 10, QStringLiteral("001,"), 1, 50);
    for (const Case& c : cases) {
        SetStock(engine_, {{c.length, c.width, 3, 0}});
        gDisplay().DisplaySize = c.size;
        list_->setListScale(c.preset);
        exec(QStringLiteral("DELETE FROM パターンリスト"));
        ASSERT_TRUE(list_->Build());
        EXPECT_DOUBLE_EQ(list_->ListScale(), c.scale) << c.length << " " << c.size;
        EXPECT_EQ(grid().verticalHeader()->sectionSize(0), c.rowHeight) << c.length << " " << c.size;
        EXPECT_EQ(grid().columnWidth(3), c.columnWidth) << c.length << " " << c.size;
    }
    EXPECT_EQ(list_->TDBList_Resize(list_->ListScale()), 1);   // unchanged: nothing applied
}

TEST_F(PatternListTest, DraggingARowOrAColumnRescalesEveryColumnOrIsCancelledByTheClamp)
{
    // Two stock kinds: lengths 60 and 30, the widest 30 cells.
    SetStock(engine_, {{60, 30, 1, 0}, {30, 20, 1, 0}});
    engine_.ListSheetColumns = 2;
    gDisplay().DisplaySize = 0;
    pattern(1, QStringLiteral("A"), 10, QStringLiteral("001,"), 1, 50);
    ASSERT_TRUE(list_->Build());
    QHeaderView* rows = grid().verticalHeader();
    QHeaderView* cols = grid().horizontalHeader();
    ASSERT_DOUBLE_EQ(list_->ListScale(), 2.0);
    EXPECT_EQ(rows->sectionSize(0), 70);
    EXPECT_EQ(grid().columnWidth(3), 130);
    EXPECT_EQ(grid().columnWidth(4), 70);

    rows->resizeSection(0, 60);   // lower than the minimum: clamped back to 2, the drag cancelled
    EXPECT_DOUBLE_EQ(list_->ListScale(), 2.0);
    EXPECT_EQ(rows->sectionSize(0), 70);

    rows->resizeSection(0, 90);   // 90 / 30: the margin is not subtracted
    EXPECT_DOUBLE_EQ(list_->ListScale(), 3.0);
    EXPECT_EQ(rows->sectionSize(0), 100);
    EXPECT_EQ(grid().columnWidth(3), 190);
    EXPECT_EQ(grid().columnWidth(4), 100);

    cols->resizeSection(4, 250);   // any sheet column: its width over the longest stock
    EXPECT_DOUBLE_EQ(list_->ListScale(), 250.0 / 60);
    EXPECT_EQ(grid().columnWidth(3), 260);
    EXPECT_EQ(grid().columnWidth(4), 135);
    EXPECT_EQ(rows->sectionSize(0), 135);

    cols->resizeSection(3, 1000);   // beyond the area: √(60000 / (30 x 60))
    EXPECT_DOUBLE_EQ(list_->ListScale(), std::sqrt(60000.0 / 1800));
    EXPECT_EQ(grid().columnWidth(3), int(std::lround(60 * std::sqrt(60000.0 / 1800) + 10)));
}

TEST_F(PatternListTest, AShortPatternMarksItsTextCellYellowWhileNotCurrent)
{
    engine_.PiecePartTotal = 10;
    pattern(1, QStringLiteral("A"), 10, QStringLiteral("001,"), 1, 50);
    pattern(2, QStringLiteral("B"), 9, QStringLiteral("001,"), 1, 50);
    ASSERT_TRUE(list_->Build());
    auto back = [&](int row, int condition) {
        TDBCellStyle style;
        style.backColor = 0x123456;
        emit grid().FetchCellStyle(condition, 0, grid().rowBookmark(row), 2, style);
        return style.backColor;
    };
    EXPECT_EQ(back(0, dbgNormalCell), 0x123456u);   // all pieces cut
    EXPECT_EQ(back(1, dbgNormalCell), 65535u);      // one short
    EXPECT_EQ(back(1, dbgMarqueeRow), 0x123456u);   // the current row
    EXPECT_EQ(back(1, dbgSelectedRow), 0x123456u);
}

TEST_F(PatternListTest, DoubleClickHandsOverWhileTheDetailButtonIsEnabled)
{
    pattern(1, QStringLiteral("A"), 10, QStringLiteral("003,"), 3, 50);
    engine_.ListSheetColumns = 3;
    ASSERT_TRUE(list_->Build());
    QSignalSpy spy(list_.get(), &PatternList::DetailRequested);
    QWidget button;
    list_->setDetailButton(&button);
    button.setEnabled(false);
    emit grid().DblClick();
    EXPECT_EQ(spy.count(), 0);
    button.setEnabled(true);
    emit grid().DblClick();
    EXPECT_EQ(spy.count(), 1);

    // The sheet handed over: 1 for the text column, the clicked sheet, held within the sheets.
    for (const auto& [col, sheet] : std::vector<std::pair<int, int>>{{2, 1}, {3, 1}, {4, 2}, {5, 3}}) {
        grid().setCol(col);
        const ListSelection s = list_->CurrentSelection();
        EXPECT_EQ(s.patternNo, 1);
        EXPECT_EQ(s.listNo, 1);
        EXPECT_EQ(s.sheetCount, 3);
        EXPECT_EQ(s.sheet, sheet) << col;
    }
}

TEST_F(PatternListTest, ClearingDetachesTheRowsAndRemovesTheColumns)
{
    pattern(1, QStringLiteral("A"), 10, QStringLiteral("001,"), 1, 50);
    ASSERT_TRUE(list_->Build());
    list_->Clear();
    EXPECT_FALSE(grid().hasRecordset());
    EXPECT_EQ(grid().columnCount(), 0);
    EXPECT_FALSE(list_->CurrentSelection().valid());
    EXPECT_TRUE(db_.errLog().isEmpty());
}
