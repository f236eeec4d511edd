// Database files of an older format (4 KiB pages, as the program made them before): the start
// that first compacts them gives them the program's page size with every row as it was, and the
// program computes, saves and recalls with them as before.
#include "tests/app/MainWindowFixture.h"

#include "results/frmLoad.h"
#include "results/frmSave.h"
#include "platform/gui/ImText.h"
#include "tests/support/ScriptedMsgBox.h"

#include <QCryptographicHash>

namespace {

// Every row of the file's tables but the list (which every start empties), in storage order.
QByteArray rowsDigest(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    sqlite3_stmt* tables = nullptr;
    sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name <> 'パターンリスト' ORDER BY name",
                       -1, &tables, nullptr);
    while (sqlite3_step(tables) == SQLITE_ROW) {
        const QByteArray name = reinterpret_cast<const char*>(sqlite3_column_text(tables, 0));
        hash.addData(name);
        sqlite3_stmt* rows = nullptr;
        sqlite3_prepare_v2(db, ("SELECT * FROM \"" + name + "\" ORDER BY rowid").constData(), -1, &rows, nullptr);
        while (sqlite3_step(rows) == SQLITE_ROW)
            for (int i = 0; i < sqlite3_column_count(rows); ++i) {
                hash.addData(QByteArray::number(sqlite3_column_type(rows, i)));
                hash.addData(QByteArrayView(static_cast<const char*>(sqlite3_column_blob(rows, i)), sqlite3_column_bytes(rows, i)));
            }
        sqlite3_finalize(rows);
    }
    sqlite3_finalize(tables);
    sqlite3_close(db);
    return hash.result();
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
