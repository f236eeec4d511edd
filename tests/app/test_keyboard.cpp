// The main window with the keyboard alone: Tab and Shift+Tab leave the input grids for the
// controls around them, and a whole job is entered, computed, opened, saved and closed by keys.
#include "engine/Engine.h"
#include "platform/gui/ImNumber.h"
#include "platform/gui/ImText.h"
#include "results/frmDetail.h"
#include "results/frmSave.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/ScriptedMsgBox.h"

namespace {

class KeyboardTest : public MainWindowTest {
protected:
    // The control that has the focus (a line button, not its inner push button).
    QWidget* focused() { return tavo().activeControl(); }
    std::string focusedName()
    {
        QWidget* f = focused();
        return f ? f->objectName().toStdString() : std::string("(none)");
    }
    // Presses keys one after the other on whatever has the focus.
    static void keys(std::initializer_list<Qt::Key> ks)
    {
        for (Qt::Key k : ks)
            key(k);
    }
};

// A stock row and a part row, so that the delete buttons and 回転禁止 take the focus too.
class GridTabTest : public KeyboardTest {
protected:
    void prepare() override
    {
        sql(QStringLiteral("INSERT INTO 母材 (母材番号,幅,長さ,数,色値) VALUES (1,900,1800,2,128);"
                           "INSERT INTO 部材 (部材番号,幅,長さ,数,色値,回転) VALUES (1,300,450,4,255,-1);"));
    }
};

TEST_F(GridTabTest, TabAndShiftTabLeaveBothGridsForTheNeighboursInTheTabOrder)
{
    struct Case {
        const char* grid;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* expected;
    };
    // Qt hands an item view Shift+Tab as Backtab, with or without the Shift modifier.
    const Case cases[] = {
        {"TDBBozai", Qt::Key_Tab, Qt::NoModifier, "numKirisiroWidth"},
        {"TDBBozai", Qt::Key_Tab, Qt::ShiftModifier, "TDBList"},
        {"TDBBozai", Qt::Key_Backtab, Qt::NoModifier, "TDBList"},
        {"TDBBozai", Qt::Key_Backtab, Qt::ShiftModifier, "TDBList"},
        {"TDBBuzai", Qt::Key_Tab, Qt::NoModifier, "butProhibition"},
        {"TDBBuzai", Qt::Key_Tab, Qt::ShiftModifier, "lbutBozaiDelete"},
        {"TDBBuzai", Qt::Key_Backtab, Qt::NoModifier, "lbutBozaiDelete"},
        {"TDBBuzai", Qt::Key_Backtab, Qt::ShiftModifier, "lbutBozaiDelete"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.grid) + " key " + std::to_string(c.key) + " modifiers " + std::to_string(int(c.modifiers)));
        auto* g = w->findChild<TDBGrid*>(QString::fromLatin1(c.grid));
        clickCell(g, 0, 2);
        ASSERT_EQ(g, focused());
        key(c.key, c.modifiers);
        EXPECT_EQ(c.expected, focusedName());
    }
}

TEST_F(GridTabTest, TabInACellBeingTypedStoresTheValueAndLeavesTheGrid)
{
    clickCell(tavo().TDBBuzai, 0, 1);
    type(QStringLiteral("250"));                         // the cell editor is open
    key(Qt::Key_Tab);
    EXPECT_EQ("butProhibition", focusedName());
    EXPECT_EQ(250, lookup(QStringLiteral("部材"), QStringLiteral("幅"), QStringLiteral("部材番号=1")).intValue());

    clickCell(tavo().TDBBozai, 0, 3);
    type(QStringLiteral("7"));
    key(Qt::Key_Backtab);
    EXPECT_EQ("TDBList", focusedName());
    EXPECT_EQ(7, lookup(QStringLiteral("母材"), QStringLiteral("数"), QStringLiteral("母材番号=1")).intValue());
}

// Enter presses the focused command button: from 幅 Enter twice reaches the colour "…", whose
// Enter opens the palette; it shows the focus frame as after a Tab; 回転禁止 too.
TEST_F(GridTabTest, EnterPressesTheFocusedCommandButton)
{
    const QImage byCode = [&] {
        tavo().butTavoPallete->setFocus(Qt::OtherFocusReason);
        return Render(tavo().butTavoPallete);
    }();
    PaletteAnswer palette;
    palette.swatch = 7;
    tavo().numKirisiroWidth->setFocus(Qt::OtherFocusReason);
    keys({Qt::Key_Return, Qt::Key_Return});
    ASSERT_EQ(tavo().butTavoPallete, focused());
    EXPECT_NE(byCode, Render(tavo().butTavoPallete));   // the focus frame shows
    key(Qt::Key_Return);
    EXPECT_EQ(1, palette.openings);
    EXPECT_EQ(frmPallete::kSwatchColors[7], BackColor(tavo().txtKirisiroColor));

    QApplication::setActiveWindow(w);
    tavo().butProhibition->setFocus(Qt::OtherFocusReason);
    key(Qt::Key_Return);
    EXPECT_EQ(QStringLiteral("全て回転"), tavo().butProhibition->text());
    EXPECT_EQ(0, lookup(QStringLiteral("部材"), QStringLiteral("回転"), QStringLiteral("部材番号=1")).intValue());
}

TEST_F(KeyboardTest, AJobIsEnteredComputedOpenedSavedAndClosedWithTheKeyboardAlone)
{
    ScriptedMsgBox none;
    // The stock grid has the focus from the start; Enter moves from cell to cell and on to the
    // next row.
    ASSERT_EQ(tavo().TDBBozai, focused());
    key(Qt::Key_Return);                                 // from the number to 幅
    for (const char* cell : {"900", "1800", "2"}) {
        type(QString::fromLatin1(cell));
        key(Qt::Key_Return);
    }
    key(Qt::Key_Tab);                                    // the kerf width
    ASSERT_EQ(tavo().numKirisiroWidth, focused());
    type(QStringLiteral("5"));
    keys({Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab});   // colour, "…", 行削除, the part grid
    ASSERT_EQ(tavo().TDBBuzai, focused());
    key(Qt::Key_Return);
    for (const char* cell : {"300", "450", "4"}) {
        type(QString::fromLatin1(cell));
        key(Qt::Key_Return);
    }
    keys({Qt::Key_Return, Qt::Key_Return, Qt::Key_Return});   // 回転, the next row's number, its 幅
    for (const char* cell : {"200", "600", "3"}) {
        type(QString::fromLatin1(cell));
        key(Qt::Key_Return);
    }
    keys({Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab});     // 回転禁止, 行削除, 計　算
    ASSERT_EQ(tavo().lbutCompute, focused());
    key(Qt::Key_Return);

    EXPECT_EQ(1, count(QStringLiteral("母材")));
    EXPECT_EQ(2, count(QStringLiteral("部材")));
    EXPECT_EQ(5, gEngine().KerfWidth * gEngine().Unit);
    EXPECT_GT(count(QStringLiteral("パターンリスト")), 0);
    ASSERT_TRUE(tavo().lbutDetail->isEnabled());

    key(Qt::Key_Tab);                                    // 詳　細
    ASSERT_EQ(tavo().lbutDetail, focused());
    key(Qt::Key_Return);
    EXPECT_TRUE(gDetail().isVisible());
    gDetail().unload();
    QApplication::setActiveWindow(w);                    // the window system gives the focus back

    keys({Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab});   // 画面印刷, 終了, プリンタ設定, システム設定, 保存
    ASSERT_EQ(tavo().lbutSave, focused());
    {
        ScopedModalDriver driver([&](Form& f) {
            auto& save = static_cast<frmSave&>(f);
            ASSERT_EQ(save.txtHozonName, save.activeControl());
            type(QStringLiteral("Keys"));
            keys({Qt::Key_Return, Qt::Key_Return});      // on to 保存, which Enter presses
        });
        key(Qt::Key_Return);
    }
    EXPECT_EQ(QStringLiteral("Keys"),
              gDaoSave().Lookup(QStringLiteral("保存"), QStringLiteral("保存名"), QString()).stringValue());

    QApplication::setActiveWindow(w);
    keys({Qt::Key_Backtab, Qt::Key_Backtab, Qt::Key_Backtab});   // システム設定, プリンタ設定, 終　了
    ASSERT_EQ(tavo().lbutClose, focused());
    key(Qt::Key_Return);
    EXPECT_FALSE(gTavo().isLoaded());
}

}  // namespace
