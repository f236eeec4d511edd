// The save dialog: the eight copies under one number, overwriting by name, the messages, and
// a failed save that leaves the save database exactly as it was.
#include "tests/results/test_save_fixture.h"

#include <QDate>

namespace {

class SaveTest : public SaveRecallTest {
protected:
    // Each copy table's rows of the number, in the columns of the copy, against its working table.
    void expectCopiesOf(int32_t number)
    {
        for (const SaveTable& t : SaveTables()) {
            const QString columns = t.columns.join(QLatin1Char(','));
            EXPECT_EQ(DumpRows(QStringLiteral("SELECT %1 FROM main.%2 ORDER BY rowid").arg(columns, t.workTable)),
                      DumpRows(QStringLiteral("SELECT %1 FROM %2 WHERE 保存番号=%3 ORDER BY rowid")
                                   .arg(columns, t.copyTable)
                                   .arg(number)))
                << t.copyTable.toStdString();
        }
    }
    QString today() const { return QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")); }
    QString savedRows() { return DumpRows(QStringLiteral("SELECT 保存番号, 保存名, 保存年月日 FROM 保存 ORDER BY 保存番号")); }
};

TEST_F(SaveTest, NewNamesTakeTheNextNumberAndCopyEveryWorkingTable)
{
    EXPECT_TRUE(saveAs(QStringLiteral("案A")));
    expectCopiesOf(1);
    work(kComputationB);
    EXPECT_TRUE(saveAs(QStringLiteral("案B")));
    expectCopiesOf(2);
    EXPECT_EQ(QStringLiteral("I1|T案A|T%1|\nI2|T案B|T%1|\n").arg(today()), savedRows());
    // The first save's rows stay as they were: A's pattern numbers, not B's.
    EXPECT_EQ(2, count(QStringLiteral("保存パターン"), QStringLiteral("保存番号=1")));
    EXPECT_EQ(1, count(QStringLiteral("保存パターン"), QStringLiteral("保存番号=2 AND パターン番号=9")));
    EXPECT_TRUE(boxes_.shown().empty());
}

TEST_F(SaveTest, AnExistingNameIsOverwrittenAfterYesAndKeptAfterNo)
{
    ASSERT_TRUE(saveAs(QStringLiteral("Plan")));
    ASSERT_TRUE(saveAs(QStringLiteral("Other")));
    saveDb(QStringLiteral("UPDATE 保存 SET 保存年月日='2001/02/03' WHERE 保存番号=1"));
    work(kComputationB);

    // No: nothing changes and the dialog stays open with the name.
    const QString before = dumpSaveDb();
    boxes_.expect(QStringLiteral("登録確認"), vbNo);
    EXPECT_FALSE(saveAs(QStringLiteral("PLAN"), [](frmSave& f) { EXPECT_EQ(QStringLiteral("PLAN"), f.txtHozonName->text()); }));
    EXPECT_EQ(before, dumpSaveDb());

    // Yes: the name differs in case and by blanks around it, and is still the same save.
    boxes_.expect(QStringLiteral("登録確認"), vbYes, QStringLiteral("入力した保存名はすでに登録されています。\r\n上書きしますか？"));
    EXPECT_TRUE(saveAs(QStringLiteral("  plan ")));
    EXPECT_EQ(vbQuestion | vbYesNo, boxes_.shown().back().style);
    EXPECT_EQ(QStringLiteral("I1|Tplan|T%1|\nI2|TOther|T%1|\n").arg(today()), savedRows());
    expectCopiesOf(1);
    EXPECT_EQ(0, count(QStringLiteral("保存パターン"), QStringLiteral("保存番号=1 AND パターン番号<>9")));
}

TEST_F(SaveTest, ANameWithAQuoteIsStoredWithIt)
{
    ASSERT_TRUE(saveAs(QStringLiteral("O'Brien's")));
    boxes_.expect(QStringLiteral("登録確認"), vbYes);
    ASSERT_TRUE(saveAs(QStringLiteral("O'Brien's")));
    EXPECT_EQ(QStringLiteral("I1|TO'Brien's|T%1|\n").arg(today()), savedRows());
}

TEST_F(SaveTest, AnEmptyNameIsRefusedWithTheFocusOnTheName)
{
    const QString before = dumpSaveDb();
    boxes_.expect(QStringLiteral("入力確認"), vbOK, QStringLiteral("保存名を入力してください。"));
    EXPECT_FALSE(saveAs(QString(), [](frmSave& f) {
        EXPECT_EQ(f.txtHozonName.data(), QApplication::focusWidget());
    }));
    EXPECT_EQ(vbExclamation, boxes_.shown().back().style);
    EXPECT_EQ(before, dumpSaveDb());
}

// A step that fails, after the earlier ones have written: the whole save is undone.
TEST_F(SaveTest, AFailingStepLeavesTheSaveDatabaseAsItWas)
{
    struct Case {
        const char* what;
        bool overwrite;
        std::function<void()> arrange;
    };
    const Case cases[] = {
        {"a working table without rows (the last copy)", false, [this] { work("DELETE FROM 部材"); }},
        {"the list empty (the third copy)", false, [this] { work("DELETE FROM パターンリスト"); }},
        {"an overwrite with a working table without rows", true, [this] { work("DELETE FROM 母材"); }},
        {"a copy statement refused by the database", false,
         [this] {
             saveDb(QStringLiteral("CREATE TEMP TRIGGER refuse BEFORE INSERT ON 保存設定 BEGIN SELECT RAISE(ABORT, 'refused'); END"));
         }},
        // The old rows of the save could not be removed: copying the new ones beside them would
        // leave a save of two computations mixed.
        {"an overwrite whose old rows cannot be removed", true,
         [this] {
             saveDb(QStringLiteral("CREATE TEMP TRIGGER keep BEFORE DELETE ON 保存部材 BEGIN SELECT RAISE(ABORT, 'kept'); END"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        saveDb(QStringLiteral("DROP TRIGGER IF EXISTS refuse"));
        saveDb(QStringLiteral("DROP TRIGGER IF EXISTS keep"));
        saveDb(QStringLiteral("DELETE FROM 保存"));
        work(kComputationA);
        ASSERT_TRUE(saveAs(QStringLiteral("Existing")));
        work(kComputationB);
        c.arrange();
        const QString before = dumpSaveDb();
        const QString name = c.overwrite ? QStringLiteral("Existing") : QStringLiteral("New");
        if (c.overwrite)
            boxes_.expect(QStringLiteral("登録確認"), vbYes);
        boxes_.expect(QStringLiteral("保存失敗"), vbOK, QStringLiteral("計算結果の保存に失敗しました。"));
        EXPECT_FALSE(saveAs(name, [&](frmSave& f) { EXPECT_EQ(name, f.txtHozonName->text()); }));
        EXPECT_EQ(vbCritical, boxes_.shown().back().style);
        EXPECT_EQ(before, dumpSaveDb());
        EXPECT_EQ(0, dbtrans::depth());
        gSave().unload();
    }
}

TEST_F(SaveTest, AnErrorInAStepIsLoggedUnderItsName)
{
    saveDb(QStringLiteral("ALTER TABLE 保存パターン部材 RENAME TO 保存パターン部材_old"));
    boxes_.expect(QStringLiteral("保存失敗"), vbOK);
    EXPECT_FALSE(saveAs(QStringLiteral("x")));
    EXPECT_EQ(0, count(QStringLiteral("保存")));
    EXPECT_TRUE(fx_.errLog().contains(QStringLiteral("SaveHozonPaternBuzai"))) << fx_.errLog().toStdString();
}

TEST_F(SaveTest, TheWindowShowsItsCaptionAndControls)
{
    boxes_.allowAny();
    ScopedModalDriver driver([&](Form& f) {
        frmSave& s = gSave();
        EXPECT_EQ(QStringLiteral("計算結果保存 - Panelo2"), s.loadedWindow()->windowTitle());
        EXPECT_EQ(QStringLiteral("保\u3000存"), s.lbutAdd->caption());
        EXPECT_EQ(QStringLiteral("閉じる"), s.lbutClose->caption());
        EXPECT_EQ(gApl().LineColor(kRoleNew), s.lbutAdd->lineColor());
        EXPECT_EQ(gApl().LineColor(kRoleExit), s.lbutClose->lineColor());
        s.txtHozonName->setText(QStringLiteral("板取り計算 第一案"));
        saveScreenshot(s.loadedWindow(), QStringLiteral("frmSave"));
        click(s.lbutClose);
        EXPECT_FALSE(s.isLoaded() && s.loadedWindow()->isVisible());
    });
    gSave().showModal();
    EXPECT_EQ(0, count(QStringLiteral("保存")));
}

}  // namespace
