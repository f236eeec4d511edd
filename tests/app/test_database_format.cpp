// Database files of an older format (4 KiB pages, as the program made them before): the start
// that first compacts them gives them the program's page size with every row as it was, and the
// program computes, saves and recalls with them as before.
#include "tests/app/MainWindowFixture.h"

#include "results/frmLoad.h"
#include "results/frmSave.h"
#include "platform/gui/ImText.h"
#include "tests/support/ScriptedMsgBox.h"


namespace {

// Every row of the file's tables but the list (which every start empties), in storage order.
QByteArray rowsDigest(const QString& path)
{
    return FileDigest(path, "SELECT name FROM sqlite_master WHERE type = 'table' AND name <> 'パターンリスト' ORDER BY name");
}

class OlderFormatTest : public MainWindowTest {
protected:
    void prepare() override
    {
        sql(QStringLiteral("INSERT INTO 母材 (母材番号,幅,長さ,数,色値) VALUES (1,900,1800,2,8421504);"
                           "INSERT INTO 部材 (部材番号,幅,長さ,数,色値,回転) VALUES (1,300,450,5,255,-1),"
                           "(2,200,600,3,65280,0);"));
    }
    void saveAs(const QString& name)
    {
        ScopedModalDriver driver([&](Form& f) {
            auto& save = static_cast<frmSave&>(f);
            save.txtHozonName->setText(name);
            click(save.lbutAdd);
        });
        click(tavo().lbutSave);
    }
    // The program closed as the user closes it, its files left as they are.
    void closeProgram()
    {
        tavo().unload();
        gDaoSave().Disconnect();
        ReleaseInstanceLock();
    }
};

TEST_F(OlderFormatTest, TheFirstStartGivesOlderFilesThePageSizeWithEveryRowAndTheyWorkOn)
{
    ScriptedMsgBox none;
    click(tavo().lbutCompute);
    saveAs(QStringLiteral("前の形式"));
    closeProgram();
    for (const QString& path : {fx_.workingPath(), fx_.savePath()}) {
        ExecOnFile(path, QStringLiteral("PRAGMA page_size = 4096; VACUUM;"));
        ASSERT_EQ(4096, ReadDatabaseFileSpace(path).pageSize);
    }
    const QByteArray working = rowsDigest(fx_.workingPath()), saved = rowsDigest(fx_.savePath());

    ASSERT_EQ(StartResult::Runs, Main());
    for (const QString& path : {fx_.workingPath(), fx_.savePath()})
        EXPECT_EQ(kDatabasePageSize, ReadDatabaseFileSpace(path).pageSize) << path.toStdString();
    EXPECT_EQ(working, rowsDigest(fx_.workingPath()));
    EXPECT_EQ(saved, rowsDigest(fx_.savePath()));

    {
        ScopedModalDriver driver([&](Form& f) { click(static_cast<frmLoad&>(f).lbutLoad); });
        click(tavo().lbutLoad);
    }
    ASSERT_TRUE(gLoad().State);
    EXPECT_GT(tavo().TDBList->rowCount(), 0);
    click(tavo().lbutCompute);
    saveAs(QStringLiteral("新しい形式"));
    EXPECT_EQ(2, gBase().CvtLng(gDaoSave().Lookup(QStringLiteral("保存"), QStringLiteral("COUNT(*)"), QString())));
    EXPECT_TRUE(errLog().isEmpty()) << errLog().toStdString();
}

} // namespace
