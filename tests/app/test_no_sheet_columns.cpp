// 母材数 0 in the settings: the list shows its text column alone.
#include "tests/app/MainWindowFixture.h"

#include "tests/support/ScriptedMsgBox.h"

namespace {

class NoSheetColumnsTest : public MainWindowTest {
protected:
    void prepare() override
    {
        sql(QStringLiteral("UPDATE システム設定 SET 表示母材=0;"
                           "INSERT INTO 母材 (母材番号,幅,長さ,数,色値) VALUES (1,900,1800,0,8421504);"
                           "INSERT INTO 部材 (部材番号,幅,長さ,数,色値,回転) VALUES (1,300,450,20,255,-1);"));
    }
};

TEST_F(NoSheetColumnsTest, TheListShowsItsTextColumnAlone)
{
    ScriptedMsgBox none;
    click(tavo().lbutCompute);
    EXPECT_GT(tavo().TDBList->rowCount(), 0);
    EXPECT_EQ(3, tavo().TDBList->columnCount());
    EXPECT_TRUE(tavo().lbutDetail->isEnabled());
    EXPECT_TRUE(fx_.errLog().isEmpty()) << fx_.errLog().toStdString();
}

} // namespace
