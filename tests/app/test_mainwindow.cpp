// The main window: its design at the default size, the kerf panel kept in 設定, closing with
// other windows open, the busy flag, the layout on resizing, rotate-all, the kerf colour and the
// hand-over of a list row.
#include "app/SystemSettings.h"
#include "app/frmSetting.h"
#include "engine/Engine.h"
#include "platform/gui/Colors.h"
#include "platform/gui/ImNumber.h"
#include "platform/gui/ImText.h"
#include "platform/gui/Label.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/ScriptedMsgBox.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QRadioButton>

namespace {

// A window that refuses to close while told so (as the detail window does while it prints).
struct StubbornWindow : Form {
    StubbornWindow() : Form(QStringLiteral("frmDetail")) {}
    bool refuse = true;
    void createControls(FormWindow* w) override { w->resize(200, 100); }
    void Form_QueryUnload(int& cancel, int) override { cancel = refuse; }
};

void resetEngineConnection()
{
    gDaoSave().Disconnect();
    gDao().Disconnect();
    ResetDatabaseEngine();
}

TEST_F(MainWindowTest, TheDefaultSizeShowsTwelvePartRowsTheKerfPanelAndUnclippedCaptions)
{
    frmTavo& t = tavo();
    EXPECT_GE(w->width(), 1000);
    EXPECT_GE(w->height(), 600);
    // Both grids hold all their rows without scrolling.
    for (auto [grid, rows] : {std::pair{t.TDBBozai.data(), 5}, std::pair{t.TDBBuzai.data(), 12}})
        EXPECT_GE(grid->viewport()->height(), rows * int(grid->defaultRowHeight())) << grid->objectName().toStdString();
    // The kerf panel lies inside the stock frame, the frames inside the input band.
    const QRect stockFrame(QPoint(0, 0), t.fraBozai->size());
    for (QWidget* c : std::initializer_list<QWidget*>{t.labKirisiro, t.numKirisiroWidth, t.txtKirisiroColor,
                                                      t.butTavoPallete, t.lbutBozaiDelete})
        EXPECT_TRUE(stockFrame.contains(c->geometry())) << c->metaObject()->className();
    for (QWidget* c : std::initializer_list<QWidget*>{t.fraBozai, t.fraBuzai, t.TDBBozai, t.TDBBuzai})
        EXPECT_TRUE(t.labInputBackStyle->geometry().contains(c->geometry()));
    EXPECT_LT(t.lbutLoad->geometry().right(), t.lbutDetail->x());
    // Every caption fits its control.
    for (LineButton* b : w->findChildren<LineButton*>())
        EXPECT_LE(b->muButton()->fontMetrics().horizontalAdvance(b->caption()) + 8, b->width())
            << b->caption().toStdString();
    for (Label* l : w->findChildren<Label*>())
        EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width()) << l->text().toStdString();

    EXPECT_EQ(QStringLiteral("計\u3000算"), t.lbutCompute->caption());
    EXPECT_EQ(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"), t.lbutVersion->caption());
    EXPECT_EQ(QStringLiteral("回転禁止"), t.butProhibition->text());
    EXPECT_FALSE(t.lbutDetail->isEnabled());
    EXPECT_FALSE(t.lbutSave->isEnabled());
    EXPECT_FALSE(t.lbutBozaiDelete->isEnabled());   // no rows yet
    EXPECT_FALSE(t.butProhibition->isEnabled());
    EXPECT_EQ(3, t.numKirisiroWidth->value());       // 設定 is empty: the design values
    EXPECT_EQ(0u, BackColor(t.txtKirisiroColor));
    EXPECT_EQ(0x2020E0u, t.lbutClose->lineColor());  // the role colours of the shipped registry
    EXPECT_EQ(0x1080F0u, t.lbutCompute->lineColor());
    SaveScreenshot(w, QStringLiteral("main_window_empty"));
}

TEST_F(MainWindowTest, TheKerfPanelIsKeptInOneRowOfSetting)
{
    EXPECT_EQ(0, count(QStringLiteral("設定")));
    tavo().numKirisiroWidth->setValue(7);
    SetBackColor(tavo().txtKirisiroColor, 0x0000FF);
    ASSERT_TRUE(tavo().unload());
    EXPECT_EQ(1, count(QStringLiteral("設定")));
    EXPECT_EQ(255, lookup(QStringLiteral("設定"), QStringLiteral("ライン")).intValue());
    EXPECT_EQ(7, lookup(QStringLiteral("設定"), QStringLiteral("ライン幅")).intValue());

    resetEngineConnection();
    ReleaseInstanceLock();                  // the program has ended
    ASSERT_EQ(StartResult::Runs, Main());   // the next start shows the row
    EXPECT_EQ(7, tavo().numKirisiroWidth->value());
    EXPECT_EQ(0x0000FFu, BackColor(tavo().txtKirisiroColor));
    tavo().numKirisiroWidth->setValue(9);
    ASSERT_TRUE(tavo().unload());
    EXPECT_EQ(1, count(QStringLiteral("設定")));
    EXPECT_EQ(9, lookup(QStringLiteral("設定"), QStringLiteral("ライン幅")).intValue());
}

TEST_F(MainWindowTest, ARefusedCloseOfAnotherWindowLeavesTheMainWindowWhole)
{
    StubbornWindow detail;
    detail.show();
    gEngine().StockTbl.assign(3, StockRec());
    EXPECT_FALSE(tavo().unload());
    EXPECT_TRUE(tavo().isVisible());
    EXPECT_EQ(3u, gEngine().StockTbl.size());          // nothing released
    EXPECT_TRUE(tavo().patternList());
    EXPECT_EQ(1, count(QStringLiteral("設定")));       // but 設定 was written first
    ScriptedMsgBox boxes;                               // the window still works
    boxes.expect(QStringLiteral("入力エラー"), vbOK, QStringLiteral("母材が入力されていません。"));
    click(tavo().lbutCompute);

    detail.refuse = false;
    EXPECT_TRUE(tavo().unload());
    EXPECT_FALSE(detail.isLoaded());
    EXPECT_TRUE(gEngine().StockTbl.empty());
}

TEST_F(MainWindowTest, WhileBusyTheWindowNeitherClosesNorRunsItsGuardedCommands)
{
    PaletteAnswer palette;
    tavo().Busy = true;
    w->close();
    EXPECT_FALSE(tavo().unload());
    EXPECT_TRUE(tavo().isVisible());
    tavo().txtKirisiroColor->setFocus();
    key(Qt::Key_Down, Qt::AltModifier);
    click(tavo().butTavoPallete);
    click(tavo().lbutClose);
    EXPECT_EQ(0, palette.openings);
    EXPECT_TRUE(tavo().isLoaded());
    tavo().Busy = false;
    click(tavo().butTavoPallete);
    EXPECT_EQ(1, palette.openings);
}

TEST_F(MainWindowTest, TheLayoutKeepsThePanelRightAndTheButtonRowAtTheBottom)
{
    frmTavo& t = tavo();
    auto geometries = [&] {
        std::map<QString, QRect> g;
        for (QWidget* c : w->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            g[QString::number(quintptr(c))] = c->geometry();
        return g;
    };
    const QSize base = w->size();
    const QRect list = t.TDBList->geometry(), frame = t.fraBuzai->geometry(), load = t.lbutLoad->geometry(),
                compute = t.lbutCompute->geometry(), band = t.labInputBackStyle->geometry();
    w->resize(base + QSize(100, 0));
    EXPECT_EQ(list.adjusted(0, 0, 100, 0), t.TDBList->geometry());
    EXPECT_EQ(frame.translated(100, 0), t.fraBuzai->geometry());
    EXPECT_EQ(compute.translated(100, 0), t.lbutCompute->geometry());
    EXPECT_EQ(load, t.lbutLoad->geometry());
    w->resize(base + QSize(100, 50));
    EXPECT_EQ(list.adjusted(0, 0, 100, 50), t.TDBList->geometry());
    EXPECT_EQ(band.adjusted(100, 0, 100, 50), t.labInputBackStyle->geometry());
    EXPECT_EQ(load.translated(0, 50), t.lbutLoad->geometry());
    EXPECT_EQ(frame.translated(100, 0), t.fraBuzai->geometry());   // the frames keep their tops

    const auto before = geometries();
    w->showMinimized();
    QCoreApplication::processEvents();
    w->showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(before, geometries());

    // Too small for the list: the failure is logged and the controls after it stay.
    const QRect bandBefore = t.labButtonBackStyle->geometry();
    w->resize(300, 400);
    EXPECT_EQ(bandBefore, t.labButtonBackStyle->geometry());
    EXPECT_TRUE(errLog().contains(QStringLiteral("Form_Resize"))) << errLog().toStdString();
}

class RotateAllTest : public MainWindowTest {
protected:
    void prepare() override
    {
        sql(QStringLiteral("INSERT INTO 部材 (部材番号,幅,長さ,数,色値,回転) VALUES "
                           "(1,100,200,1,255,-1),(2,100,300,1,255,0),(3,100,400,1,255,-1);"));
    }
    QList<int> rotations()
    {
        QList<int> r;
        Recordset rs = gDao().OpenRecordset(QStringLiteral("SELECT 回転 FROM 部材 ORDER BY 部材番号"));
        for (; !rs.eof(); rs.moveNext())
            r << rs.field(0).intValue();
        return r;
    }
};

TEST_F(RotateAllTest, PressedTwiceForbidsThenAllowsEveryRotation)
{
    tavo().TDBBuzai->setBookmark(tavo().TDBBuzai->rowBookmark(1));
    click(tavo().butProhibition);
    EXPECT_EQ((QList<int>{0, 0, 0}), rotations());
    EXPECT_EQ(QStringLiteral("全て回転"), tavo().butProhibition->text());
    click(tavo().butProhibition);
    EXPECT_EQ((QList<int>{-1, -1, -1}), rotations());
    EXPECT_EQ(QStringLiteral("回転禁止"), tavo().butProhibition->text());
    EXPECT_EQ(1, tavo().TDBBuzai->row());               // the current row stays
}

TEST_F(MainWindowTest, TheKerfColourComesFromThePaletteByButtonOrAltDown)
{
    PaletteAnswer palette;
    palette.swatch = 19;
    tavo().txtKirisiroColor->setFocus();
    key(Qt::Key_Down);                                   // Down alone moves on
    EXPECT_EQ(0, palette.openings);
    tavo().txtKirisiroColor->setFocus();
    key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(1, palette.openings);
    EXPECT_EQ(frmPallete::kSwatchColors[19], BackColor(tavo().txtKirisiroColor));
    palette.swatch = -1;                                 // cancelled: unchanged
    click(tavo().butTavoPallete);
    EXPECT_EQ(2, palette.openings);
    EXPECT_EQ(frmPallete::kSwatchColors[19], BackColor(tavo().txtKirisiroColor));
}

TEST_F(MainWindowTest, TheSettingsButtonOpensTheSettingsDialog)
{
    QStringList opened;
    ScopedModalDriver driver([&](Form& f) {
        opened << f.name();
        auto& dialog = static_cast<frmSetting&>(f);
        Press(dialog.optPosision[1]);
        click(dialog.lbutAdd);
    });
    click(tavo().lbutSystem);
    EXPECT_EQ(QStringList{QStringLiteral("frmSetting")}, opened);
    EXPECT_EQ(1, gEngine().Settings.CutPosition);
    EXPECT_EQ(1, lookup(QStringLiteral("システム設定"), QStringLiteral("切取位置")).intValue());
}

class HandOverTest : public MainWindowTest {
protected:
    void prepare() override
    {
        sql(QStringLiteral("INSERT INTO 母材 (母材番号,幅,長さ,数,色値) VALUES (1,900,1800,0,8421504);"
                           "INSERT INTO 部材 (部材番号,幅,長さ,数,色値,回転) VALUES (1,300,450,9,255,0);"));
    }
};

TEST_F(HandOverTest, ARowOfTheListIsHandedOverAndAnEmptyListGivesTheMessage)
{
    {
        ScriptedMsgBox boxes;
        boxes.expect(QStringLiteral("lbutDetail_Click"), vbOK, QStringLiteral("リスト情報の取得中にエラーが発生しました。"));
        QTest::mouseDClick(tavo().TDBList->viewport(), Qt::LeftButton);   // the empty list
        ASSERT_EQ(1u, boxes.shown().size());
        EXPECT_EQ(vbOKOnly, boxes.shown()[0].style);
        EXPECT_TRUE(boxes.shown()[0].text.endsWith(QStringLiteral("\r\n再計算してください。")));
    }
    EXPECT_FALSE(gSelection().valid());

    ScriptedMsgBox none;
    click(tavo().lbutCompute);
    ASSERT_TRUE(tavo().lbutDetail->isEnabled());
    click(tavo().lbutDetail);
    EXPECT_TRUE(gSelection().valid());
    EXPECT_EQ(1, gSelection().listNo);
    EXPECT_EQ(lookup(QStringLiteral("パターンリスト"), QStringLiteral("パターン番号"), QStringLiteral("リスト番号=1")).intValue(),
              gSelection().patternNo);
    EXPECT_EQ(1, gSelection().sheet);
}

TEST_F(HandOverTest, AfterARecallTheWindowShowsTheRecalledInputAndListsItsPatterns)
{
    ScriptedMsgBox none;
    click(tavo().lbutCompute);
    const int pattern = lookup(QStringLiteral("パターン"), QStringLiteral("MIN(パターン番号)")).intValue();
    for (auto [previous, columns] : {std::pair{5, 5}, std::pair{9, 7}}) {
        // What the recall dialog leaves in the working tables.
        gDao().Execute(QStringLiteral("DELETE FROM 母材"), dbFailOnError);
        gDao().Execute(QStringLiteral("INSERT INTO 母材 (母材番号,幅,長さ,数,色値) VALUES (1,900,1800,1,1),(2,900,1800,0,2)"),
                       dbFailOnError);
        gDao().Execute(QStringLiteral("INSERT INTO 設定 (ライン,ライン幅) VALUES (255,11)"), dbFailOnError);
        // The recalled settings show more sheets than were shown before the recall.
        gDao().Execute(QStringLiteral("UPDATE システム設定 SET スリット線=1, 表示母材=10"), dbFailOnError);
        gDao().Execute(QStringLiteral("INSERT INTO パターン母材 (パターン番号,連番,母材番号,枝番,使用面積) VALUES (%1,7,2,1,100)")
                           .arg(pattern),
                       dbFailOnError);
        EXPECT_TRUE(tavo().ReloadAfterRecall(int16_t(previous)));
        EXPECT_EQ(columns, gEngine().ListSheetColumns) << previous;
        EXPECT_EQ(3 + columns, tavo().TDBList->columnCount()) << previous;
        EXPECT_EQ(2, tavo().TDBBozai->rowCount());
        EXPECT_EQ(11, tavo().numKirisiroWidth->value());
        EXPECT_EQ(1, gDisplay().SlitLine);
        EXPECT_GT(tavo().TDBList->rowCount(), 0);
        EXPECT_TRUE(tavo().lbutDetail->isEnabled());
        gDao().Execute(QStringLiteral("DELETE FROM 設定"), dbFailOnError);
    }
}

}  // namespace
