// The recall dialog: the list of saves, a recall that brings every working table back as it was
// saved, the deletion of a save, and failures that change nothing.
#include "tests/results/test_save_fixture.h"

namespace {

class LoadTest : public SaveRecallTest {
protected:
    void SetUp() override
    {
        SaveRecallTest::SetUp();
        // The detail window's work table: a recall leaves it alone.
        work("INSERT INTO パターン詳細 (連番, 母材番号, 使用材) VALUES (1, 2, '50.0%')");
        savedA_ = dumpWorking();
        ASSERT_TRUE(saveAs(QStringLiteral("案A")));
        work(kComputationB);
        ASSERT_TRUE(saveAs(QStringLiteral("案B")));
    }
    // What the working tables hold after recalling A: A's tables, the list emptied, the detail
    // work table as it was before the recall, and in システム設定 what the table gives a new
    // row for スリット線 (NULL: the column has no default), for the save does not hold it.
    QString expectedAfterRecallOfA()
    {
        const QString list = QStringLiteral("パターンリスト:\n");
        QString s = savedA_;
        const qsizetype from = s.indexOf(list) + list.size();
        s.remove(from, s.indexOf(QStringLiteral("パターン母材:\n")) - from);
        const QString savedSettings = QStringLiteral("I1|I1|I2|I5|I2|I1|I1|I2|I7|I50|");   // スリット線 = 1
        EXPECT_TRUE(s.contains(savedSettings));
        return s.replace(savedSettings, QStringLiteral("I1|I1|I2|I5|I2|I1|N|I2|I7|I50|"));
    }
    QString savedA_;
};

TEST_F(LoadTest, ARecallBringsBackEveryTableAsItWasSaved)
{
    recallRow(0);
    EXPECT_TRUE(gLoad().State);
    EXPECT_EQ(1, gLoad().HozonNo);
    EXPECT_FALSE(gLoad().isLoaded() && gLoad().loadedWindow()->isVisible());
    EXPECT_EQ(expectedAfterRecallOfA(), dumpWorking());
    EXPECT_TRUE(boxes_.shown().empty());

    recallRow(1);
    EXPECT_TRUE(gLoad().State);
    EXPECT_EQ(2, gLoad().HozonNo);
    EXPECT_EQ(1, gDao().Lookup(QStringLiteral("パターン"), QStringLiteral("COUNT(*)"), QStringLiteral("パターン番号=9")).intValue());
}

// スリット線 is not saved: whatever the setting was before, the recalled row holds what the table
// gives a new row, which loads as 0 (strip lines shown).
TEST_F(LoadTest, TheStripLineSettingIsWhatTheTableGivesANewRow)
{
    for (int present : {0, 1}) {
        work(present ? "UPDATE システム設定 SET スリット線=1" : "UPDATE システム設定 SET スリット線=0");
        recallRow(0);
        ASSERT_TRUE(gLoad().State);
        EXPECT_EQ(QStringLiteral("I1|I1|I2|I5|I2|I1|N|I2|I7|I50|T,切代の少ない順,使用材の少ない順|\n"),
                  DumpTable(QStringLiteral("main"), QStringLiteral("システム設定")));
    }
}

TEST_F(LoadTest, ADoubleClickRecallsTheRowClicked)
{
    withLoad([&](frmLoad& f) {
        const QRect cell = f.TDBGrid->visualRect(f.TDBGrid->model()->index(1, 1));
        QTest::mouseDClick(f.TDBGrid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    });
    EXPECT_TRUE(gLoad().State);
    EXPECT_EQ(2, gLoad().HozonNo);
}

TEST_F(LoadTest, ClosingWithoutARecallReportsNoRecall)
{
    recallRow(0);
    ASSERT_TRUE(gLoad().State);
    withLoad([&](frmLoad& f) { click(f.lbutClose); });
    EXPECT_FALSE(gLoad().State);
    recallRow(0);
    ASSERT_TRUE(gLoad().State);
    withLoad([&](frmLoad& f) { f.loadedWindow()->close(); });
    EXPECT_FALSE(gLoad().State);
    EXPECT_FALSE(gLoad().isLoaded() && gLoad().loadedWindow()->isVisible());
}

// A step that fails after the earlier ones have replaced their tables: the working tables are
// as before the click, the dialog closes and reports no recall.
TEST_F(LoadTest, AFailingRecallLeavesTheWorkingTablesAsTheyWere)
{
    struct Case {
        const char* what;
        const char* save;      // on the save database
        const char* working;   // on the working database
    };
    const Case cases[] = {
        {"a save table without rows for the number (the last step)", "DELETE FROM 保存部材 WHERE 保存番号=1", nullptr},
        {"a save table without rows for the number (the first step)", "DELETE FROM 保存システム設定 WHERE 保存番号=1",
         nullptr},
        {"an insert refused by the database", nullptr,
         "CREATE TEMP TRIGGER refuse BEFORE INSERT ON main.設定 BEGIN SELECT RAISE(ABORT, 'refused'); END"},
        // Rows that cannot be removed would be mixed with the recalled ones.
        {"a working table whose rows cannot be removed", nullptr,
         "CREATE TEMP TRIGGER refuse BEFORE DELETE ON main.部材 BEGIN SELECT RAISE(ABORT, 'kept'); END"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        work("DROP TRIGGER IF EXISTS temp.refuse");
        for (const QString& t : gDaoSave().CurrentDB()->tableNames())
            if (t.startsWith(QStringLiteral("保存")))
                saveDb(QStringLiteral("DELETE FROM ") + t);
        work(kComputationA);
        ASSERT_TRUE(saveAs(QStringLiteral("案A")));
        work(kComputationB);
        if (c.save)
            saveDb(QString::fromUtf8(c.save));
        if (c.working)
            work(c.working);
        const QString before = dumpWorking();
        boxes_.expect(QStringLiteral("読込失敗"), vbOK, QStringLiteral("計算結果の読込に失敗しました。"));
        recallRow(0);
        ASSERT_FALSE(boxes_.shown().empty());
        EXPECT_EQ(vbCritical, boxes_.shown().back().style);
        EXPECT_FALSE(gLoad().State);
        EXPECT_EQ(1, gLoad().HozonNo);
        EXPECT_FALSE(gLoad().isLoaded() && gLoad().loadedWindow()->isVisible());
        EXPECT_EQ(before, dumpWorking());
        EXPECT_EQ(0, dbtrans::depth());
    }
    work("DROP TRIGGER IF EXISTS temp.refuse");
}

TEST_F(LoadTest, ADeletionAsksAndRemovesEveryRowOfTheSave)
{
    const QString question = QStringLiteral("保存名称[案A]のデータを削除してよろしいですか？");
    boxes_.expect(QStringLiteral("削除確認"), vbNo, question).expect(QStringLiteral("削除確認"), vbYes, question);
    const QString before = dumpSaveDb();
    withLoad([&](frmLoad& f) {
        click(f.lbutDel);   // No
        EXPECT_EQ(before, dumpSaveDb());
        click(f.lbutDel);   // Yes
        ASSERT_TRUE(f.isLoaded() && f.loadedWindow()->isVisible());
        EXPECT_EQ(1, f.TDBGrid->rowCount());
        EXPECT_EQ(QStringLiteral("案B"), f.TDBGrid->column(QStringLiteral("保存名")).text());
        EXPECT_TRUE(f.lbutLoad->isEnabled() && f.lbutDel->isEnabled());
    });
    EXPECT_EQ(vbQuestion | vbYesNo | vbDefaultButton2, boxes_.shown().front().style);
    EXPECT_EQ(0, count(QStringLiteral("保存"), QStringLiteral("保存番号=1")));
    for (const SaveTable& t : SaveTables()) {
        EXPECT_EQ(0, count(t.copyTable, QStringLiteral("保存番号=1"))) << t.copyTable.toStdString();
        EXPECT_LT(0, count(t.copyTable, QStringLiteral("保存番号=2"))) << t.copyTable.toStdString();
    }
}

TEST_F(LoadTest, DeletingTheHighestSaveFreesItsNumberAndTheLastDisablesTheButtons)
{
    boxes_.expect(QStringLiteral("削除確認"), vbYes, QStringLiteral("[案B]"));
    withLoad([&](frmLoad& f) {
        f.TDBGrid->setBookmark(f.TDBGrid->rowBookmark(1));
        click(f.lbutDel);
    });
    // The highest number is free again: the next new save takes it.
    ASSERT_TRUE(saveAs(QStringLiteral("案C")));
    EXPECT_EQ(2, gDaoSave().Lookup(QStringLiteral("保存"), QStringLiteral("保存番号"), QStringLiteral("保存名='案C'")).intValue());

    boxes_.expect(QStringLiteral("削除確認"), vbYes, QStringLiteral("[案A]"))
        .expect(QStringLiteral("削除確認"), vbYes, QStringLiteral("[案C]"));
    withLoad([&](frmLoad& f) {
        click(f.lbutDel);
        click(f.lbutDel);
        EXPECT_EQ(0, f.TDBGrid->rowCount());
        EXPECT_FALSE(f.lbutLoad->isEnabled());
        EXPECT_FALSE(f.lbutDel->isEnabled());
        f.TDBGrid_DblClick();   // nothing to recall
        EXPECT_TRUE(f.isLoaded() && f.loadedWindow()->isVisible());
    });
    EXPECT_FALSE(gLoad().State);
    EXPECT_EQ(0, count(QStringLiteral("保存")));
}

TEST_F(LoadTest, AFailedDeletionKeepsTheSaveAndTheDialogOpen)
{
    saveDb(QStringLiteral("DELETE FROM 保存設定 WHERE 保存番号=1"));
    const QString before = dumpSaveDb();
    boxes_.expect(QStringLiteral("削除確認"), vbYes)
        .expect(QStringLiteral("削除失敗"), vbOK, QStringLiteral("計算結果の削除に失敗しました。"));
    withLoad([&](frmLoad& f) {
        click(f.lbutDel);
        EXPECT_TRUE(f.isLoaded() && f.loadedWindow()->isVisible());
    });
    EXPECT_EQ(vbCritical, boxes_.shown().back().style);
    EXPECT_EQ(before, dumpSaveDb());
}

TEST_F(LoadTest, TheWindowListsTheSavesInNumberOrder)
{
    saveDb(QStringLiteral("UPDATE 保存 SET 保存年月日='2024/03/05' WHERE 保存番号=1"));
    saveDb(QStringLiteral("UPDATE 保存 SET 保存名='キッチン収納 扉材（最終案）' WHERE 保存番号=2"));
    withLoad([&](frmLoad& f) {
        EXPECT_EQ(QStringLiteral("計算結果呼出 - Panelo2"), f.loadedWindow()->windowTitle());
        EXPECT_EQ(QStringLiteral("読\u3000込"), f.lbutLoad->caption());
        EXPECT_EQ(QStringLiteral("削\u3000除"), f.lbutDel->caption());
        EXPECT_EQ(QStringLiteral("閉じる"), f.lbutClose->caption());
        ASSERT_EQ(3, f.TDBGrid->columnCount());
        const QStringList names = {QStringLiteral("保存番号"), QStringLiteral("保存名"), QStringLiteral("保存年月日")};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(names[i], f.TDBGrid->column(i).caption());
            EXPECT_EQ(names[i], f.TDBGrid->column(i).dataField());
        }
        EXPECT_FALSE(f.TDBGrid->column(0).visible());
        EXPECT_EQ(90, f.TDBGrid->column(2).width());
        EXPECT_EQ(2, f.TDBGrid->rowCount());
        EXPECT_EQ(QStringLiteral("2024/03/05"), f.TDBGrid->column(2).cellText(f.TDBGrid->rowBookmark(0)));
        EXPECT_EQ(gApl().LineColor(kRoleNew), f.lbutLoad->lineColor());
        EXPECT_EQ(gApl().LineColor(kRoleDelete), f.lbutDel->lineColor());
        EXPECT_EQ(gApl().LineColor(kRoleExit), f.lbutClose->lineColor());
        saveScreenshot(f.loadedWindow(), QStringLiteral("frmLoad"));
        click(f.lbutClose);
    });
}

}  // namespace
