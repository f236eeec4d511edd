// The detail window over a pattern the engine computed: the cabinet job of the benchmark (stock
// 1820 x 910, twelve parts, kerf 3) with strip cutting, its best pattern shown sheet by sheet.
#include "engine/HeadlessHost.h"
#include "tests/results/test_detail_fixture.h"


namespace {

struct Input {
    int length, width, count;
    int32_t color;
};

void writeInput(const std::vector<Input>& stock, const std::vector<Input>& parts)
{
    cDao& dao = gDao();
    dao.Execute(QStringLiteral("DELETE FROM 母材"), dbFailOnError);
    dao.Execute(QStringLiteral("DELETE FROM 部材"), dbFailOnError);
    for (size_t i = 0; i < stock.size(); ++i)
        dao.Execute(QStringLiteral("INSERT INTO 母材 (母材番号,長さ,幅,数,色値) VALUES (%1,%2,%3,%4,%5)")
                        .arg(i + 1).arg(stock[i].length).arg(stock[i].width).arg(stock[i].count).arg(stock[i].color),
                    dbFailOnError);
    for (size_t i = 0; i < parts.size(); ++i)
        dao.Execute(QStringLiteral("INSERT INTO 部材 (部材番号,長さ,幅,数,色値,回転) VALUES (%1,%2,%3,%4,%5,-1)")
                        .arg(i + 1).arg(parts[i].length).arg(parts[i].width).arg(parts[i].count).arg(parts[i].color),
                    dbFailOnError);
}

}  // namespace

TEST_F(DetailTest, AComputedPatternShowsEverySheetWithItsPartsAndStrips)
{
    writeInput({{1820, 910, 10, 14741759}},
               {{600, 450, 4, 8421631},  {600, 300, 6, 8454016},   {450, 300, 4, 16744576}, {900, 400, 2, 8454143},
                {720, 560, 2, 16744703}, {564, 300, 4, 16777088},  {400, 200, 8, 4227264},  {300, 150, 8, 12615744},
                {1200, 400, 2, 4243584}, {800, 600, 2, 8405184},   {350, 350, 4, 12632256}, {250, 100, 10, 4227136}});
    Engine& e = gEngine();
    HeadlessHost host(3, 255);
    HeadlessProgress progress;
    e.SetHost(&host);
    e.SetProgress(&progress);
    e.Settings = SystemSettings();
    e.Settings.CutOrderDetail = 1;
    e.Settings.SlitMode = 1;
    e.Settings.SortKeyList = QStringLiteral(",使用材の少ない順");
    e.Settings.SortKeyFlags = SortKeyFlagsOf(e.Settings.SortKeyList);
    const bool computed = e.BeforeCompute() && e.Compute();
    e.SetProgress(nullptr);
    e.SetHost(nullptr);
    ASSERT_TRUE(computed);

    Recordset best = gDao().OpenRecordset(
        QStringLiteral("SELECT パターン番号,母材使用数 FROM パターン ORDER BY 部材切取数 DESC,優先順位,パターン番号"));
    ASSERT_FALSE(best.eof());
    const int32_t patternNo = best.field(0).intValue();
    const int16_t sheets = int16_t(best.field(1).intValue());
    ASSERT_GE(sheets, 2);
    gSelection() = ListSelection{patternNo, 1, sheets, 0, 1};

    frmDetail& d = open(1280, 720);   // the design size
    EXPECT_EQ(d.LastSheet(), sheets);
    EXPECT_EQ(d.TDBDetail->rowCount(), sheets + 1);
    // The part grid lists every piece placed: 56 when all fit.
    EXPECT_EQ(d.TDBList->rowCount(),
              gBase().CvtLng(gDao().Lookup(QStringLiteral("パターン"), QStringLiteral("部材切取数"),
                                           QStringLiteral("パターン番号 = ") + QString::number(patternNo))));
    EXPECT_EQ(d.txtBozaiNo->text(), QStringLiteral("1-1"));
    EXPECT_EQ(d.labSize->text(), QStringLiteral("1820 × 910"));
    SaveScreenshot(d.loadedWindow(), QStringLiteral("detail_computed_sheet1"));

    Press(d.butBozaiNoUp);
    EXPECT_EQ(shown(), 2);
    EXPECT_EQ(d.txtBozaiNo->text(), QStringLiteral("1-2"));
    Press(d.butBig);
    SaveScreenshot(d.loadedWindow(), QStringLiteral("detail_computed_sheet2_zoomed"));
    EXPECT_TRUE(db_.errLog().isEmpty()) << db_.errLog().toStdString();
}
