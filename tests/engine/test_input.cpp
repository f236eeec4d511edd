// Loading stock and parts, the cell size, clearing the results, the input check and the run count.
#include "engine/Engine.h"
#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/DbFixture.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

namespace {

// The overflow message, line by line as the user reads it, joined by CR LF with none after the last.
const QString kOverflowText = QStringLiteral("計算量が多すぎます。以下の条件を変更してください。\r\n"
                                             "１．「部材」の種類を減らす。\r\n"
                                             "２．「部材」の数を減らす。\r\n"
                                             "３．「部材の回転」のチェックを減らす。\r\n"
                                             "４．システム設定の「部材の切取順序」を変更する。\r\n"
                                             "５．システム設定の「部材の回転方式」を変更する。");

using Q = std::vector<int16_t>;

TEST(EngineLoadingTest, StockQueue)
{
    {
        EngineOnDb t({{100, 50, 3}, {100, 50, 2}}, {{10, 10, 1}});
        ASSERT_TRUE(t.engine.SetBozai());
        EXPECT_EQ((Q{0, 1, 1, 1, 2, 2, 0}), t.engine.StockQueue);
        EXPECT_EQ(5, t.engine.StockPieceTotal);
        EXPECT_EQ(2, t.engine.StockTypeCount);
    }
    {
        // A last row with 数 0 takes the spare last slot.
        EngineOnDb t({{100, 50, 2}, {100, 50, 0}}, {{10, 10, 1}});
        ASSERT_TRUE(t.engine.SetBozai());
        EXPECT_EQ((Q{0, 1, 1, 2}), t.engine.StockQueue);
        EXPECT_EQ(2, t.engine.StockPieceTotal);
    }
}

TEST(EngineLoadingTest, StockMaximaOverTheWholeTable)
{
    EngineOnDb t({{100, 50, 1}}, {{10, 10, 1}});
    gDao().Execute(QStringLiteral("INSERT INTO 母材 (母材番号,長さ,幅,数) VALUES (6,250,90,1)"), dbFailOnError);
    ASSERT_TRUE(t.engine.SetBozai());
    EXPECT_EQ(1, t.engine.StockTypeCount);                  // the grid shows rows up to 5
    EXPECT_EQ(250, t.engine.MaxStockLength);
    EXPECT_EQ(90, t.engine.MaxStockWidth);
    // An empty table has no maximum: a logged failure.
    gDao().Execute(QStringLiteral("DELETE FROM 母材"), dbFailOnError);
    t.host->Reload();
    EXPECT_FALSE(t.engine.SetBozai());
    EXPECT_TRUE(t.db->errLog().contains(QStringLiteral("SetBozai")));
}

TEST(EngineLoadingTest, PartOrders)
{
    EngineOnDb t({{100, 100, 1}}, {{10, 5, 2, true}, {20, 20, 1, true}, {5, 10, 1}});
    Engine& e = t.engine;
    e.Settings.CutOrderDetail = 2 + 8;
    ASSERT_TRUE(e.LoadParts(false));
    EXPECT_EQ(2, e.PartOrderBit);
    EXPECT_EQ((Q{0, 2, 1, 1, 3}), e.PieceQueue);          // equal areas keep 部材番号 order
    EXPECT_TRUE(e.PartTbl[1].Rotatable);
    EXPECT_FALSE(e.PartTbl[2].Rotatable);                  // square
    EXPECT_FALSE(e.PartTbl[3].Rotatable);
    e.Unit = 5;
    ASSERT_TRUE(e.LoadParts(true));
    EXPECT_EQ(8, e.PartOrderBit);
    EXPECT_EQ((Q{0, 2, 1, 1, 3}), e.PieceQueue);
    EXPECT_EQ(2, e.PartTbl[1].長さ);                        // divided by Unit on the next order
    EXPECT_EQ(Engine::PartLoad::NoFurtherOrder, e.LoadPartOrder(true));
    EXPECT_EQ(8, e.PartOrderBit);
    EXPECT_TRUE(t.db->errLog().isEmpty());

    struct Case {
        int order, detail, bit;
    } cases[] = {{0, 0, 8}, {0, 1 + 4, 1}, {0, 4 + 8, 4}, {1, 8, 1}, {2, 2, 1}};
    for (const Case& c : cases) {
        e.Settings.CutOrder = int16_t(c.order);
        e.Settings.CutOrderDetail = int16_t(c.detail);
        ASSERT_TRUE(e.LoadParts(false));
        EXPECT_EQ(c.bit, e.PartOrderBit) << c.order << " " << c.detail;
    }
    // 幅 order: kind 3 (幅 10) first.
    e.Settings.CutOrder = 0;
    e.Settings.CutOrderDetail = 4;
    ASSERT_TRUE(e.LoadParts(false));
    EXPECT_EQ((Q{0, 2, 3, 1, 1}), e.PieceQueue);
    // A failing load is a failure, not the end of the orders.
    gDao().Execute(QStringLiteral("ALTER TABLE 部材 RENAME TO 部材旧"), dbFailOnError);
    EXPECT_EQ(Engine::PartLoad::Failed, e.LoadPartOrder(false));
    EXPECT_TRUE(t.db->errLog().contains(QStringLiteral("LoadParts")));
}

TEST(EngineCellSizeTest, GreatestCommonDivisorExamples)
{
    struct Case {
        std::vector<StockInput> stock;
        std::vector<PartInput> parts;
        int kerf, unit, stockLength, stockWidth, kerfCells;
    } cases[] = {
        {{{2400, 1200, 1}}, {{600, 400, 1}, {300, 200, 1}}, 0, 100, 24, 12, 0},
        {{{2400, 1200, 1}}, {{600, 400, 1}, {300, 200, 1}}, 5, 5, 480, 240, 1},
        {{{2400, 1200, 1}}, {{600, 400, 1}, {300, 200, 1}}, 3, 1, 2400, 1200, 3},
        {{{7, 7, 1}}, {{7, 7, 1}}, 0, 7, 1, 1, 0},
    };
    for (const Case& c : cases) {
        EngineOnDb t(c.stock, c.parts, c.kerf);
        Engine& e = t.engine;
        ASSERT_TRUE(e.SetBozai() && e.LoadParts(false) && e.SetLineWidth() && e.GreatestCommonDivisor());
        EXPECT_EQ(c.unit, e.Unit);
        EXPECT_EQ(c.stockLength, e.StockTbl[1].長さ);
        EXPECT_EQ(c.stockWidth, e.StockTbl[1].幅);
        EXPECT_EQ(c.kerfCells, e.KerfWidth);
        EXPECT_EQ(c.stockLength, e.MaxStockLength);
        EXPECT_EQ(c.stockWidth, e.MaxStockWidth);
        EXPECT_EQ(c.parts[0].length / c.unit, e.PartTbl[1].長さ);
        EXPECT_EQ(c.parts[0].width / c.unit, e.PartTbl[1].幅);
    }
    // A maximum of the whole table that is not a multiple: to the nearest cell, halves to even.
    EngineOnDb t({{2400, 1200, 1}}, {{600, 400, 1}}, 0);
    gDao().Execute(QStringLiteral("INSERT INTO 母材 (母材番号,長さ,幅,数) VALUES (6,2500,1300,1)"), dbFailOnError);
    Engine& e = t.engine;
    ASSERT_TRUE(e.SetBozai() && e.LoadParts(false) && e.SetLineWidth() && e.GreatestCommonDivisor());
    EXPECT_EQ(200, e.Unit);
    EXPECT_EQ(12, e.MaxStockLength);                         // 12.5
    EXPECT_EQ(6, e.MaxStockWidth);                           // 6.5
}

TEST(EngineCellSizeTest, NegativeKerfIsRefused)
{
    EngineOnDb t({{100, 100, 1}}, {{10, 10, 1}}, -3);
    EXPECT_FALSE(t.engine.SetLineWidth());
    EXPECT_TRUE(t.db->errLog().contains(QStringLiteral("SetLineWidth")));
}

TEST(EngineInitPaternTest, EmptiesTheResultTables)
{
    EngineOnDb t({{100, 100, 1}}, {{10, 10, 1}});
    for (const char* table : {"パターンリスト", "パターン", "パターン部材", "パターン母材"})
        gDao().Execute(QStringLiteral("INSERT INTO %1 (パターン番号) VALUES (1)").arg(QString::fromUtf8(table)), dbFailOnError);
    t.engine.PatternNo = 9;
    t.engine.ListSheetColumns = 4;
    t.engine.InitPatern();
    for (const char* table : {"パターンリスト", "パターン", "パターン部材", "パターン母材"})
        EXPECT_EQ(0, CountRows(QString::fromUtf8(table))) << table;
    EXPECT_EQ(0, t.engine.PatternNo);
    EXPECT_EQ(1, t.engine.ListSheetColumns);
    EXPECT_EQ(4, t.progress.max1);
    EXPECT_EQ(4, t.progress.value1);
    EXPECT_EQ(0, t.host->mousePointer);
}

// The input check: the first failing test's message, titled 入力エラー, and the grid that takes
// the focus.
TEST(EngineInputValidationTest, MessagesAndFocus)
{
    struct Case {
        std::vector<StockInput> stock;
        std::vector<PartInput> parts;
        const char* message;   // nullptr: passes
        char focus;            // 's' stock grid, 'p' part grid
    } cases[] = {
        {{}, {{10, 10, 1}}, "母材が入力されていません。", 's'},
        {{{1000, 1200, 1}}, {{10, 10, 1}}, "幅が長さよりより大きいです。", 's'},
        {{{0, 0, 1}}, {{10, 10, 1}}, "母材が正しく入力されていません。", 's'},
        {{{100, 100, 0}, {100, 100, 5}}, {{10, 10, 1}}, "母材が正しく入力されていません。", 's'},
        {{{100, 100, 5}, {100, 100, 0}}, {{10, 10, 1}}, nullptr, 0},
        {{{10000, 9, 1}}, {{5, 5, 1}}, "母材の縦横比を1000倍以内で入力して下さい。", 's'},
        {{{10000, 11, 1}}, {{5, 5, 1}}, nullptr, 0},
        {{{100, 100, 1}}, {}, "部材が入力されていません。", 'p'},
        {{{100, 100, 1}}, {{10, 10, 0}}, "部材が正しく入力されていません。", 'p'},
        {{{300, 200, 1}}, {{100, 300, 1, true}, {50, 50, 1}}, "全ての母材より大きい部材が入力されています。", 's'},
        {{{300, 200, 1}}, {{400, 100, 1}}, "全ての部材より小さい母材が入力されています。", 'p'},
        // Negative values and sizes beyond 16 bits.
        {{{100, -5, 1}}, {{10, 10, 1}}, "母材が正しく入力されていません。", 's'},
        {{{40000, 100, 1}}, {{10, 10, 1}}, "母材が正しく入力されていません。", 's'},
        {{{100, 100, -1}}, {{10, 10, 1}}, "母材が正しく入力されていません。", 's'},
        {{{100, 100, 1}}, {{-10, 10, 1}}, "部材が正しく入力されていません。", 'p'},
        {{{100, 100, 1}}, {{10, 40000, 1}}, "部材が正しく入力されていません。", 'p'},
        {{{100, 100, 1}}, {{10, 10, -2}}, "部材が正しく入力されていません。", 'p'},
    };
    for (const Case& c : cases) {
        EngineOnDb t(c.stock, c.parts);
        ScriptedMsgBox boxes;
        if (c.message)
            boxes.expect(QStringLiteral("入力エラー"), vbOK, QString::fromUtf8(c.message));
        const bool ok = t.engine.CheckInputValue();
        EXPECT_EQ(c.message == nullptr, ok) << (c.message ? c.message : "pass");
        EXPECT_EQ(c.message ? StopReason::InvalidInput : StopReason::Running, t.engine.stopReason())
            << (c.message ? c.message : "pass");
        if (c.message) {
            ASSERT_EQ(1u, boxes.shown().size());
            EXPECT_EQ(QString::fromUtf8(c.message), boxes.shown()[0].text);
            EXPECT_EQ(vbExclamation, boxes.shown()[0].style);
            EXPECT_EQ(c.focus == 's' ? 1 : 0, t.host->stockRows().focusCount()) << c.message;
            EXPECT_EQ(c.focus == 'p' ? 1 : 0, t.host->partRows().focusCount()) << c.message;
        }
    }
}

TEST(EngineInputValidationTest, FailingRowIsCurrentAndEmptyColoursBecomeWhite)
{
    EngineOnDb t({{100, 100, 1}, {100, 100, 1}, {0, 100, 1}}, {{10, 10, 1}});
    ScriptedMsgBox boxes;
    boxes.expect(QStringLiteral("入力エラー"), vbOK);
    EXPECT_FALSE(t.engine.CheckInputValue());
    EXPECT_EQ(2, t.host->stockRows().currentRow());

    EngineOnDb u({{100, 100, 1}}, {{10, 10, 1}, {20, 20, 1}});
    gDao().Execute(QStringLiteral("UPDATE 母材 SET 色値 = NULL"), dbFailOnError);
    gDao().Execute(QStringLiteral("UPDATE 部材 SET 色値 = NULL WHERE 部材番号 = 2"), dbFailOnError);
    u.host->Reload();
    EXPECT_TRUE(u.engine.CheckInputValue());
    EXPECT_EQ(16777215, gBase().CvtLng(gDao().Lookup(QStringLiteral("母材"), QStringLiteral("色値"), QString())));
    EXPECT_EQ(16777215, gBase().CvtLng(gDao().Lookup(QStringLiteral("部材"), QStringLiteral("色値"),
                                                    QStringLiteral("部材番号 = 2"))));
    EXPECT_EQ(0x80FF80, gBase().CvtLng(gDao().Lookup(QStringLiteral("部材"), QStringLiteral("色値"),
                                                   QStringLiteral("部材番号 = 1"))));
}

TEST(EngineInputValidationTest, TooManyPiecesAreRefusedBeforeAnyWork)
{
    EngineOnDb t({{100, 100, 1}}, {{10, 10, 20000}, {10, 10, 12768}});
    ScriptedMsgBox boxes;
    boxes.expect(kCalculationOverflowTitle, vbOK, QStringLiteral("計算量が多すぎます。"));
    EXPECT_FALSE(t.engine.CheckInputValue());
    EXPECT_EQ(vbCritical, boxes.shown()[0].style);
    EXPECT_EQ(kOverflowText, boxes.shown()[0].text);
    EXPECT_EQ(1, t.host->partRows().focusCount());
    EXPECT_EQ(StopReason::Overflow, t.engine.stopReason());

    EngineOnDb ok({{100, 100, 1}}, {{10, 10, 20000}, {10, 10, 12767}});
    EXPECT_TRUE(ok.engine.CheckInputValue());
}

// The run count for the progress bar: orders times rotation states.
TEST(EngineRunCountTest, Counts)
{
    struct Case {
        std::vector<PartInput> parts;
        int order, detail, rotation;
        int32_t count;
    } cases[] = {
        {{{5, 3, 1, true}, {6, 3, 1, true}, {7, 7, 1, true}}, 0, 1 + 4 + 8, 0, 12},
        {std::vector<PartInput>(12, {5, 3, 1}), 1, 1, 0, 479001600},
        {{{5, 3, 2}, {6, 3, 1}}, 2, 1, 0, 3},
        {{{5, 3, 3}}, 2, 1, 0, 1},
        {{{5, 3, 3, true}}, 2, 1, 2, 8},
        {{{5, 3, 1, true}, {6, 3, 1, true}, {7, 3, 1, true}}, 1, 1, 1, 384},
        {{{5, 3, 2}, {6, 3, 3}, {7, 3, 2}}, 2, 1, 0, 210},
    };
    for (const Case& c : cases) {
        EngineOnDb t({{100, 100, 1}}, c.parts);
        Engine& e = t.engine;
        e.Settings.CutOrder = int16_t(c.order);
        e.Settings.CutOrderDetail = int16_t(c.detail);
        e.Settings.RotationMode = int16_t(c.rotation);
        ASSERT_TRUE(e.SetBozai() && e.LoadParts(false));
        ASSERT_TRUE(e.SearchPaternMax());
        EXPECT_EQ(c.count, e.CombinationCount) << c.order << " " << c.rotation;
    }
}

TEST(EngineRunCountTest, OverflowShowsItsMessage)
{
    EngineOnDb t({{1000, 1000, 1}}, {{5, 3, 31, true}});
    Engine& e = t.engine;
    e.Settings.RotationMode = 2;
    ASSERT_TRUE(e.SetBozai() && e.LoadParts(false));
    e.CombinationCount = 77;
    ScriptedMsgBox boxes;
    boxes.expect(kCalculationOverflowTitle, vbOK);
    EXPECT_FALSE(e.SearchPaternMax());
    EXPECT_EQ(77, e.CombinationCount);
    EXPECT_EQ(vbCritical, boxes.shown()[0].style);
    EXPECT_EQ(kOverflowText, boxes.shown()[0].text);
}

}
