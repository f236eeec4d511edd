// The main window's busy flag over all its commands: what it refuses while the window prints
// itself, and what it leaves running.
#include "results/frmDetail.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/ScriptedMsgBox.h"

namespace {

class BusyFlagTest : public MainWindowTest {
protected:
    void prepare() override
    {
        sql(QStringLiteral("INSERT INTO 母材 (母材番号,幅,長さ,数,色値) VALUES (1,900,1800,0,8421504);"
                           "INSERT INTO 部材 (部材番号,幅,長さ,数,色値,回転) VALUES (1,300,450,9,255,0);"));
    }
};

TEST_F(BusyFlagTest, WhileBusyOfItsButtonsOnlyComputeSaveAndRecallRun)
{
    ScriptedMsgBox none;
    click(tavo().lbutCompute);
    ASSERT_TRUE(tavo().lbutDetail->isEnabled());
    QStringList opened;
    ScopedModalDriver driver([&](Form& f) {
        opened << f.name();
        f.unload();
    });

    tavo().Busy = true;
    for (LineButton* b : {tavo().lbutVersion.data(), tavo().lbutPriMst.data(), tavo().lbutSystem.data(),
                          tavo().lbutPrint.data(), tavo().lbutDetail.data(), tavo().lbutClose.data()})
        click(b);
    QTest::mouseDClick(tavo().TDBList->viewport(), Qt::LeftButton, Qt::NoModifier,
                       tavo().TDBList->visualRect(tavo().TDBList->model()->index(0, 2)).center());
    EXPECT_EQ(QStringList(), opened);
    EXPECT_FALSE(gDetail().isLoaded());
    EXPECT_TRUE(tavo().isLoaded());

    click(tavo().lbutSave);
    click(tavo().lbutLoad);
    EXPECT_EQ((QStringList{QStringLiteral("frmSave"), QStringLiteral("frmLoad")}), opened);
    gDao().Execute(QStringLiteral("DELETE FROM パターン"), dbFailOnError);
    click(tavo().lbutCompute);
    EXPECT_GT(count(QStringLiteral("パターン")), 0);
    tavo().Busy = false;
}

}  // namespace
