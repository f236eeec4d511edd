// The scenes of a pattern's sheets, read from パターン部材.
#include "engine/SheetScene.h"

#include "foundation/Globals.h"
#include "foundation/cDao.h"
#include "tests/support/DbFixture.h"

#include <gtest/gtest.h>

TEST(SheetScene, ScenesReadFromThePatternRowsBySheetWithKerfLast)
{
    DbFixture db;
    cDao& dao = gDao();
    const char* rows[] = {
        // パターン番号, 連番, 部材番号, 母材番号, 枝番, 開始横, 開始縦, 終了横, 終了縦, 色
        "1,1,99,2,1,10,0,12,10,255", "1,1,3,2,1,0,0,10,10,100", "1,1,1,2,1,12,0,20,10,200",
        "1,3,2,1,1,0,0,5,5,300",     "1,0,0,0,0,0,0,0,0,400",    "2,1,1,1,1,0,0,9,9,500"};
    for (const char* r : rows)
        ASSERT_EQ(dao.Execute(QStringLiteral("INSERT INTO パターン部材 (パターン番号,連番,部材番号,母材番号,枝番,開始横,開始縦,終了横,終了縦,色) VALUES (") +
                                  QString::fromLatin1(r) + QStringLiteral(")"),
                              dbFailOnError),
                  1);
    const SheetStockOf stockOf = [](int16_t no) { return SheetStock{no * 100, no * 10, no}; };
    const std::map<int16_t, SheetScene> sheets = ReadPatternSheets(1, stockOf);
    ASSERT_EQ(sheets.size(), 2u);   // sheet 2 received nothing, the unplaced piece has no sheet
    const SheetScene& first = sheets.at(1);
    EXPECT_EQ(first.stockNo, 2);
    EXPECT_EQ(first.length, 200);
    EXPECT_EQ(first.width, 20);
    EXPECT_EQ(first.stockColor, 2);
    ASSERT_EQ(first.rects.size(), 3u);
    EXPECT_EQ(first.rects[0].part, 1);
    EXPECT_EQ(first.rects[1].part, 3);
    EXPECT_EQ(first.rects[2].part, 99);
    EXPECT_EQ(first.rects[2].startX, 10);
    EXPECT_EQ(first.rects[2].endY, 10);
    EXPECT_EQ(first.rects[2].color, 255);
    EXPECT_EQ(sheets.at(3).stockNo, 1);

    const SheetScene one = ReadSheet(1, 3, stockOf);
    EXPECT_EQ(one.sheet, 3);
    ASSERT_EQ(one.rects.size(), 1u);
    EXPECT_EQ(one.rects[0].color, 300);
    EXPECT_TRUE(ReadSheet(1, 2, stockOf).rects.empty());
}
