// A computation saved from the main window and recalled later comes back whole: input, kerf,
// settings and the list of its patterns, without computing again. The strip-line setting is not
// saved: after a recall strip lines are shown.
#include "tests/app/MainWindowFixture.h"

#include "app/SystemSettings.h"
#include "engine/Engine.h"
#include "results/frmLoad.h"
#include "results/frmSave.h"
#include "platform/gui/ImNumber.h"
#include "platform/gui/ImText.h"
#include "tests/support/ScriptedMsgBox.h"

namespace {

class SaveRecallRoadTest : public MainWindowTest {
protected:
    void prepare() override
    {
        sql(QStringLiteral("INSERT INTO 母材 (母材番号,幅,長さ,数,色値) VALUES (1,900,1800,2,8421504);"
                           "INSERT INTO 部材 (部材番号,幅,長さ,数,色値,回転) VALUES (1,300,450,5,255,-1),"
                           "(2,200,600,3,65280,0);"
                           "UPDATE システム設定 SET スリット線=1;"));
    }
};

TEST_F(SaveRecallRoadTest, TheSavedComputationComesBackWithItsList)
{
    ScriptedMsgBox none;
    ASSERT_EQ(1, gDisplay().SlitLine);   // strip lines hidden
    click(tavo().lbutCompute);
    ASSERT_TRUE(tavo().lbutSave->isEnabled());
    const int rows = tavo().TDBList->rowCount();
    const int patterns = count(QStringLiteral("パターン"));
    ASSERT_GT(rows, 0);
    const QString piecesBefore = lookup(QStringLiteral("パターン部材"), QStringLiteral("GROUP_CONCAT(開始横 || ',' || 開始縦, ';')")).stringValue();

    {
        ScopedModalDriver driver([&](Form& f) {
            auto& save = static_cast<frmSave&>(f);
            save.txtHozonName->setText(QStringLiteral("棚板 A"));
            click(save.lbutAdd);
        });
        click(tavo().lbutSave);
    }
    ASSERT_EQ(1, gBase().CvtLng(gDaoSave().Lookup(QStringLiteral("保存"), QStringLiteral("COUNT(*)"), QString())));

    // Another computation replaces the working tables: a new part and a wider kerf.
    sql(QStringLiteral("INSERT INTO 部材 (部材番号,幅,長さ,数,色値,回転) VALUES (3,100,100,4,16711680,0);"));
    tavo().numKirisiroWidth->setValue(7);
    click(tavo().lbutCompute);
    ASSERT_NE(piecesBefore,
              lookup(QStringLiteral("パターン部材"), QStringLiteral("GROUP_CONCAT(開始横 || ',' || 開始縦, ';')")).stringValue());

    {
        ScopedModalDriver driver([&](Form& f) {
            auto& load = static_cast<frmLoad&>(f);
            click(load.lbutLoad);
        });
        click(tavo().lbutLoad);
    }
    EXPECT_TRUE(gLoad().State);
    EXPECT_EQ(2, tavo().TDBBuzai->rowCount());
    EXPECT_EQ(3, tavo().numKirisiroWidth->value());
    EXPECT_EQ(patterns, count(QStringLiteral("パターン")));
    EXPECT_EQ(piecesBefore,
              lookup(QStringLiteral("パターン部材"), QStringLiteral("GROUP_CONCAT(開始横 || ',' || 開始縦, ';')")).stringValue());
    EXPECT_EQ(rows, tavo().TDBList->rowCount());
    EXPECT_TRUE(tavo().lbutDetail->isEnabled());
    EXPECT_EQ(2, gEngine().PartTypeCount);
    EXPECT_EQ(0, gDisplay().SlitLine);   // shown
}

} // namespace
