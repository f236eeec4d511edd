// The work table パターン詳細 and the two grids over it: rows per used sheet up to the largest
// 連番, text forms, part counts, order, the part grid's rows and the columns of both grids.
#include "results/DetailTable.h"
#include "tests/results/test_detail_fixture.h"

#include <QHeaderView>
#include <QStyle>

namespace {

// Every row of パターン詳細 by 連番, as "連番|母材番号|枝番|使用材|切代|端材|余材|部材1|部材2|部材3|部材4".
QStringList detailRows()
{
    QStringList out;
    Recordset rs = gDao().OpenRecordset(QStringLiteral("SELECT * FROM パターン詳細 ORDER BY 連番"));
    for (; !rs.eof(); rs.moveNext()) {
        QStringList f;
        for (int i = 0; i < 11; ++i)
            f << gBase().CvtStr(rs.field(i));
        out << f.join(QLatin1Char('|'));
    }
    return out;
}

}  // namespace

TEST_F(DetailTest, WorkTableHasTotalAndOneRowPerUsedSheetUpToTheLastUsedSheet)
{
    // 母材使用数 is 2, but the second used sheet is 連番 3: it must get its row.
    EXPECT_EQ(LastUsedSheet(7), 3);
    DeleteDetail();
    InsertDetail(7, LastUsedSheet(7));
    EXPECT_EQ(detailRows(), (QStringList{
                                QStringLiteral("0|0|0|85.30%|0.13%|12.35%|0.00%|3/4|3/3|0/1|"),
                                QStringLiteral("1|2|1|1,234,567 (85.30%)|0 (0.00%)|5,000 (0.13%)|0 (0.00%)|2/4|1/3|0/1|"),
                                QStringLiteral("3|1|1|900,000 (60.00%)|2,500 (0.50%)|70,000 (1.01%)|1,000,000 (38.50%)|1/4|2/3|0/1|"),
                            }));
    // A second build starts from an empty table.
    DeleteDetail();
    InsertDetail(7, 3);
    EXPECT_EQ(detailRows().size(), 3);
}

TEST_F(DetailTest, SheetGridListsTotalFirstThenSheetsByStockAndBranch)
{
    DeleteDetail();
    InsertDetail(7, 3);
    Recordset rs = gDao().OpenRecordset(DetailGridSql());
    QStringList order;
    for (; !rs.eof(); rs.moveNext())
        order << gBase().CvtStr(rs.field(QStringLiteral("母番"))) + QLatin1Char('@') + gBase().CvtStr(rs.field(0));
    EXPECT_EQ(order, (QStringList{"0-0@0", "1-1@3", "2-1@1"}));
}

TEST_F(DetailTest, PartGridListsPlacedPiecesInInputUnitsInTheCuttingOrder)
{
    auto rows = [](int16_t cutPosition) {
        QStringList out;
        Recordset rs = gDao().OpenRecordset(PartGridSql(7, 5, cutPosition));
        for (; !rs.eof(); rs.moveNext())
            out << QStringLiteral("%1 %2 %3,%4-%5,%6")
                       .arg(rs.field(QStringLiteral("連番")).intValue())
                       .arg(rs.field(QStringLiteral("母番")).stringValue())
                       .arg(rs.field(QStringLiteral("横１")).intValue())
                       .arg(rs.field(QStringLiteral("縦１")).intValue())
                       .arg(rs.field(QStringLiteral("横２")).intValue())
                       .arg(rs.field(QStringLiteral("縦２")).intValue());
        return out;
    };
    // No kerf band, no piece left unplaced; left edge first when left-justified.
    EXPECT_EQ(rows(0), (QStringList{"1 2-1 0,0-500,250", "1 2-1 0,250-500,500", "1 2-1 500,0-750,250",
                                    "3 1-1 0,0-500,250", "3 1-1 0,250-250,500", "3 1-1 500,0-750,250"}));
    // Top edge first when top-justified.
    EXPECT_EQ(rows(1), (QStringList{"1 2-1 0,0-500,250", "1 2-1 500,0-750,250", "1 2-1 0,250-500,500",
                                    "3 1-1 0,0-500,250", "3 1-1 500,0-750,250", "3 1-1 0,250-250,500"}));
}

TEST_F(DetailTest, GridsShowTheirColumnsAndTheTotalRow)
{
    frmDetail& d = open();
    TDBGrid& sheets = *d.TDBDetail;
    ASSERT_EQ(sheets.columnCount(), 9);   // 3 part kinds
    EXPECT_FALSE(sheets.column(0).visible());
    QStringList captions;
    for (int i = 1; i < sheets.columnCount(); ++i)
        captions << sheets.column(i).caption();
    EXPECT_EQ(captions.join(QLatin1Char(',')), QStringLiteral("母材番号,使用材,切代,端材,余材,部材1,部材2,部材3"));
    EXPECT_EQ(cell(sheets, 0, 1), QStringLiteral("TOTAL"));
    EXPECT_EQ(cell(sheets, 1, 1), QStringLiteral("1-1"));
    EXPECT_FALSE(sheets.column(1).allowSizing());
    EXPECT_TRUE(sheets.column(2).allowSizing());

    // The part columns share the width beside the leading columns equally.
    const double share = sheets.column(6).width();
    EXPECT_EQ(sheets.column(7).width(), share);
    const double area = sheets.column(2).width();   // 110, or what the font needs
    EXPECT_GE(area, 110);
    const double free = sheets.width() - sheets.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &sheets) -
                        sheets.frameWidth() - sheets.verticalHeader()->width() - 60 - 4 * area;
    EXPECT_DOUBLE_EQ(share, free / 3);
    // A user's resize of a leading column hands the difference to the part columns.
    sheets.column(2).setWidth(area + 40);
    int cancel = 0;
    emit sheets.ColResize(2, cancel);
    EXPECT_DOUBLE_EQ(sheets.column(8).width(), (free - 40) / 3);

    TDBGrid& parts = *d.TDBList;
    ASSERT_EQ(parts.columnCount(), 7);
    captions.clear();
    for (int i = 1; i <= 5; ++i)
        captions << parts.column(i).caption();
    EXPECT_EQ(captions.join(QLatin1Char(',')), QStringLiteral("母材番号,始点X,始点Y,終点X,終点Y"));
    EXPECT_FALSE(parts.column(0).visible());
    EXPECT_FALSE(parts.column(6).visible());
    EXPECT_FALSE(parts.column(3).allowSizing());
    EXPECT_EQ(parts.rowCount(), 6);
}

TEST_F(DetailTest, TwelvePartKindsGiveEighteenColumnsAndOneKindTakesAllTheRest)
{
    std::vector<Part> twelve(12, Part{1, 0x808080});
    SetEngine({{300, 200, kLightStock}, {200, 100, kDarkStock}}, twelve);
    frmDetail& d = open();
    EXPECT_EQ(d.TDBDetail->columnCount(), 18);
    d.unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    SetEngine({{300, 200, kLightStock}, {200, 100, kDarkStock}}, {{4, kPart1Color}});
    frmDetail& one = open();
    TDBGrid& g = *one.TDBDetail;
    ASSERT_EQ(g.columnCount(), 7);
    EXPECT_DOUBLE_EQ(g.column(6).width(), g.width() - g.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &g) -
                                              g.frameWidth() - g.verticalHeader()->width() - 60 - 4 * g.column(2).width());
}
