// A computation killed while the pattern tables' indexes were dropped (they are dropped in its
// first batch and built again in its last) leaves them dropped: the next start builds them before
// the main window reads anything, and so does a recall before its list.
#include "tests/app/MainWindowFixture.h"

#include "results/frmLoad.h"
#include "results/frmSave.h"
#include "platform/gui/ImText.h"
#include "tests/support/ScriptedMsgBox.h"

namespace {

const QString kDropIndexes = QStringLiteral(
    "DROP INDEX パターン_番号; DROP INDEX パターン母材_番号; DROP INDEX パターン部材_番号;");

// The definitions of the pattern tables' indexes in the working database, by name.
QStringList patternIndexes()
{
    QStringList indexes;
    Recordset rs = gDao().OpenRecordset(QStringLiteral(
        "SELECT name || ': ' || sql FROM sqlite_master WHERE type = 'index' AND tbl_name IN ('パターン', 'パターン母材', 'パターン部材') ORDER BY name"));
    for (; !rs.eof(); rs.moveNext())
        indexes << rs.field(0).stringValue();
    return indexes;
}

const QStringList kSchemaIndexes = {
    QStringLiteral("パターン_番号: CREATE INDEX パターン_番号 ON パターン (パターン番号)"),
    QStringLiteral("パターン母材_番号: CREATE INDEX パターン母材_番号 ON パターン母材 (パターン番号, 連番)"),
    QStringLiteral("パターン部材_番号: CREATE INDEX パターン部材_番号 ON パターン部材 (パターン番号, 連番)"),
};

using PatternIndexStartTest = ProgramTest;

TEST_F(PatternIndexStartTest, TheStartBuildsTheIndexesAKilledComputationDropped)
{
    // What the killed computation's first batch committed: its rows, without the indexes.
    ExecOnFile(fx_.workingPath(), kDropIndexes + QStringLiteral(
        "INSERT INTO パターン (パターン番号,パターン種別,優先順位,部材切取数) VALUES (1,'a','001,',1);"
        "INSERT INTO パターン母材 (パターン番号,連番,母材番号,使用面積) VALUES (1,1,1,100);"
        "INSERT INTO パターン部材 (パターン番号,連番,部材番号,母材番号) VALUES (1,1,1,1);"));
    ScriptedMsgBox none;
    ASSERT_EQ(StartResult::Runs, Main());
    EXPECT_EQ(kSchemaIndexes, patternIndexes());
    EXPECT_EQ(1, count(QStringLiteral("パターン部材")));
    EXPECT_TRUE(errLog().isEmpty()) << errLog().toStdString();
}

class PatternIndexRecallTest : public MainWindowTest {
protected:
    void prepare() override
    {
        sql(QStringLiteral("INSERT INTO 母材 (母材番号,幅,長さ,数,色値) VALUES (1,900,1800,2,8421504);"
                           "INSERT INTO 部材 (部材番号,幅,長さ,数,色値,回転) VALUES (1,300,450,5,255,-1);"));
    }
};

TEST_F(PatternIndexRecallTest, ARecallBuildsThemBeforeItsList)
{
    ScriptedMsgBox none;
    click(tavo().lbutCompute);
    {
        ScopedModalDriver driver([&](Form& f) {
            auto& save = static_cast<frmSave&>(f);
            save.txtHozonName->setText(QStringLiteral("棚"));
            click(save.lbutAdd);
        });
        click(tavo().lbutSave);
    }
    for (const QString& drop : kDropIndexes.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        ASSERT_EQ(0, gDao().Execute(drop, dbFailOnError)) << drop.toStdString();
    ASSERT_TRUE(patternIndexes().isEmpty());
    {
        ScopedModalDriver driver([&](Form& f) { click(static_cast<frmLoad&>(f).lbutLoad); });
        click(tavo().lbutLoad);
    }
    ASSERT_TRUE(gLoad().State);
    EXPECT_EQ(kSchemaIndexes, patternIndexes());
    EXPECT_GT(tavo().TDBList->rowCount(), 0);
    EXPECT_TRUE(errLog().isEmpty()) << errLog().toStdString();
}

} // namespace
