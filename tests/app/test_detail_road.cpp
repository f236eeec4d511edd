// The list hands a pattern to the detail window: each hand-over opens it afresh on the chosen
// row, a new computation closes it.
#include "tests/app/MainWindowFixture.h"

#include "platform/gui/ImNumber.h"
#include "results/HandOver.h"
#include "results/frmDetail.h"
#include "tests/support/ScriptedMsgBox.h"

namespace {

class DetailRoadTest : public MainWindowTest {
protected:
    void prepare() override
    {
        sql(QStringLiteral("INSERT INTO 母材 (母材番号,幅,長さ,数,色値) VALUES (1,900,1800,0,8421504);"
                           "INSERT INTO 部材 (部材番号,幅,長さ,数,色値,回転) VALUES (1,300,450,9,255,-1),"
                           "(2,200,600,6,65280,-1);"));
    }
    void TearDown() override
    {
        gDetail().unload();
        MainWindowTest::TearDown();
    }
};

TEST_F(DetailRoadTest, EachHandOverOpensTheDetailWindowOnTheChosenRow)
{
    ScriptedMsgBox none;
    click(tavo().lbutCompute);
    ASSERT_GE(tavo().TDBList->rowCount(), 2);
    click(tavo().lbutDetail);
    ASSERT_TRUE(gDetail().isLoaded());
    EXPECT_EQ(1, gSelection().listNo);
    EXPECT_EQ(1, gDetail().numBozaiNo->value());
    const auto first = gSelection().patternNo;
    EXPECT_EQ(gSelection().sheetCount + 1,
              lookup(QStringLiteral("パターン詳細"), QStringLiteral("COUNT(*)")).intValue());   // the sheets and TOTAL

    tavo().TDBList->moveNext();
    click(tavo().lbutDetail);
    ASSERT_TRUE(gDetail().isLoaded());
    EXPECT_EQ(2, gSelection().listNo);
    EXPECT_NE(first, gSelection().patternNo);

    click(tavo().lbutCompute);
    EXPECT_FALSE(gDetail().isLoaded());
}

} // namespace
