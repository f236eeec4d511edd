// Where the dialogs of the main window open: centred over it, wherever it stands.
#include "tests/app/MainWindowFixture.h"
#include "tests/support/ScriptedMsgBox.h"

namespace {

class DialogPlacementTest : public MainWindowTest {
protected:
    void prepare() override
    {
        sql(QStringLiteral("INSERT INTO 母材 (母材番号,幅,長さ,数,色値) VALUES (1,900,1800,0,8421504);"
                           "INSERT INTO 部材 (部材番号,幅,長さ,数,色値,回転) VALUES (1,300,450,9,255,0);"));
    }
};

TEST_F(DialogPlacementTest, EveryDialogOfTheMainWindowOpensCentredOverIt)
{
    ScriptedMsgBox none;
    click(tavo().lbutCompute);
    ASSERT_TRUE(tavo().lbutSave->isEnabled());
    w->move(60, 50);
    const QPoint centre = w->frameGeometry().center();
    QStringList opened;
    ScopedModalDriver driver([&](Form& f) {
        const QRect r = f.loadedWindow()->frameGeometry();
        opened << f.name();
        EXPECT_LE((r.center() - centre).manhattanLength(), 2)
            << f.name().toStdString() << " at " << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
        EXPECT_EQ(w->windowHandle(), f.loadedWindow()->windowHandle()->transientParent()) << f.name().toStdString();
        f.unload();
    });
    for (LineButton* b : {tavo().lbutVersion.data(), tavo().lbutPriMst.data(), tavo().lbutSystem.data(),
                          tavo().lbutSave.data(), tavo().lbutLoad.data()}) {
        QApplication::setActiveWindow(w);
        click(b);
    }
    QApplication::setActiveWindow(w);
    click(tavo().butTavoPallete);
    EXPECT_EQ((QStringList{QStringLiteral("frmVersion"), QStringLiteral("frmSysPrintList"), QStringLiteral("frmSetting"),
                           QStringLiteral("frmSave"), QStringLiteral("frmLoad"), QStringLiteral("frmPallete")}),
              opened);
}

}  // namespace
