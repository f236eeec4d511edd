// The shared form procedures: input-control and grid set-up, the per-type styling pass, value
// items, pixel scale, NUL stripping, waiting and bringing a window to the front.
#include "platform/gui/Colors.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Form.h"
#include "platform/gui/ImNumber.h"
#include "platform/gui/ImText.h"
#include "platform/gui/TDBGrid.h"
#include "tests/platform_gui/GuiTestUtil.h"
#include "ui/mdlMain.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>

namespace {

struct ControlsForm : Form {
    ControlsForm() : Form(QStringLiteral("frmTest")) {}
    QPointer<QLabel> label;
    QPointer<QRadioButton> option;
    QPointer<ImNumber> number;
    QPointer<ImText> single, multi;
    QPointer<QLineEdit> plain;
    QPointer<TDBGrid> grid;
    void createControls(FormWindow* w) override
    {
        w->resize(400, 300);
        QFont f(QStringLiteral("Noto Sans CJK JP"));
        f.setPointSize(11);
        w->setFont(f);
        auto* frame = new QGroupBox(QStringLiteral("入力"), w);
        frame->setGeometry(0, 0, 400, 120);
        label = new QLabel(QStringLiteral("見出し"), frame);
        option = new QRadioButton(QStringLiteral("縦"), frame);
        number = new ImNumber(frame);
        number->setValue(5);
        single = new ImText(frame);
        multi = new ImText(frame);
        multi->setMultiLine(true);
        multi->Key.NextCtrl = QStringLiteral("{Tab}");
        plain = new QLineEdit(w);
        grid = new TDBGrid(w);
        grid->setGeometry(0, 130, 400, 160);
    }
};

TEST(InitInputControlsTest, KeyListsAndHighlightForTheInputBoxes)
{
    ControlsForm f;
    f.load();
    f.number->setHighlightText(0);
    f.single->setHighlightText(0);
    f.multi->setHighlightText(0);
    InitInputControls(f);
    EXPECT_EQ(QStringLiteral("{Enter},{Down}"), f.number->Key.NextCtrl);
    EXPECT_EQ(QStringLiteral("+{Enter},{Up}"), f.number->Key.PrevCtrl);
    EXPECT_EQ(QStringLiteral("{Enter},{Down}"), f.single->Key.NextCtrl);
    EXPECT_EQ(QStringLiteral("+{Enter},{Up}"), f.single->Key.PrevCtrl);
    EXPECT_EQ(QStringLiteral("{Tab}"), f.multi->Key.NextCtrl);       // a multi-line box keeps its keys
    EXPECT_EQ(QString(), f.multi->Key.PrevCtrl);
    for (ImEdit* box : {static_cast<ImEdit*>(f.number.data()), static_cast<ImEdit*>(f.single.data()),
                        static_cast<ImEdit*>(f.multi.data())})
        EXPECT_NE(0, box->highlightText());
    EXPECT_FALSE(f.number->spinEnabled());
    EXPECT_FALSE(f.number->spinVisible());
    EXPECT_EQ(QString(), f.single->Key.Clear);
}

TEST(InitGridStyleTest, TheCommonLookOfAGrid)
{
    ControlsForm f;
    f.load();
    const QFont formFont = f.loadedWindow()->font();
    TDBGrid& g = *f.grid;
    g.setAllowAddNew(true);
    g.setAllowUpdate(true);
    g.setAllowDelete(true);
    InitGridStyle(f, g);
    EXPECT_FALSE(g.allowAddNew());
    EXPECT_FALSE(g.allowDelete());
    EXPECT_FALSE(g.allowUpdate());
    EXPECT_EQ(dbgHighlightRow, g.marqueeStyle());
    EXPECT_EQ(dbgMultiSelectSimple, g.multiSelect());
    EXPECT_EQ(dbgVertCenter, g.gridStyle().verticalAlignment);
    EXPECT_DOUBLE_EQ(1.2, g.headLines());
    EXPECT_FALSE(g.allowRowSizing());
    EXPECT_FALSE(g.allowColSelect());
    EXPECT_TRUE(g.alternatingRowStyle());
    EXPECT_EQ(0xFFFFFFu, g.evenRowStyle().backColor);
    EXPECT_EQ(0xFFFFEEu, g.oddRowStyle().backColor);
    // A blank's height in the grid's font and a fifth more (180 twips give 216, 14.4 pixels).
    QFont pg(QString::fromUtf16(kFontPGothic));
    pg.setPointSize(9);
    EXPECT_DOUBLE_EQ(QFontMetricsF(pg).height() * 1.2, g.defaultRowHeight());
    EXPECT_GE(g.defaultRowHeight(), 14.0);
    EXPECT_LE(g.defaultRowHeight(), 16.0);
    EXPECT_EQ(QString::fromUtf16(kFontPGothic), g.headFont().family());
    EXPECT_TRUE(g.headFont().bold());
    EXPECT_EQ(9, g.headFont().pointSize());
    EXPECT_EQ(QString::fromUtf16(kFontPGothic), g.font().family());
    EXPECT_FALSE(g.font().bold());
    EXPECT_EQ(formFont, f.loadedWindow()->font());     // the form keeps its font
}

TEST(SetFormControlsStyleTest, EachTypeGetsItsStyle)
{
    ControlsForm f;
    f.load();
    SetFormControlsStyle(f);
    EXPECT_EQ(0, BackStyle(f.label));
    EXPECT_FALSE(f.label->autoFillBackground());
    EXPECT_EQ(0xFFFFFFu, BackColor(f.option));
    EXPECT_EQ(0u, ForeColor(f.option));
    EXPECT_EQ(0, f.number->value());
    for (ImEdit* box : {static_cast<ImEdit*>(f.number.data()), static_cast<ImEdit*>(f.single.data())}) {
        EXPECT_EQ(QString::fromUtf16(kFontGothic), box->font().family());
        EXPECT_EQ(11, box->font().pointSize());         // the size stays
        EXPECT_EQ(2, box->alignVertical());
        EXPECT_EQ(QStringLiteral("{F2}"), box->Key.Clear);
        EXPECT_EQ(QStringLiteral("{ENTER},{DOWN}"), box->Key.NextCtrl);
        EXPECT_EQ(QStringLiteral("+{ENTER},{UP}"), box->Key.PrevCtrl);
    }
    EXPECT_EQ(dbgHighlightRow, f.grid->marqueeStyle());   // the grid gets the common look
    EXPECT_EQ(QStringLiteral("TextBox"), TypeName(f.plain));
    EXPECT_EQ(QString(), f.plain->property("vbBackColor").toString());   // other types: nothing
}

TEST(AddValueItemTest, PrintModeItemsTranslateTheColumn)
{
    TDBGrid grid;
    TDBColumn& c = grid.addColumn(0);
    const char16_t* pairs[][2] = {{u"0", u"選択"}, {u"1", u"印刷"}, {u"2", u"プレビュー"},
                                  {u"3", u"選択+PDF"}, {u"4", u"全て"}, {u"9", u"確認なし"}};
    for (auto& p : pairs)
        AddValueItem(c, QString::fromUtf16(p[0]), QString::fromUtf16(p[1]), false, false);
    EXPECT_EQ(6, c.valueItems().count());
    EXPECT_TRUE(c.valueItems().translate);
    EXPECT_FALSE(c.valueItems().validate);
    EXPECT_EQ(-1, c.valueItems().defaultItem);
    EXPECT_EQ(QStringLiteral("プレビュー"), grid.displayText(c, Variant(int32_t(2))));
    EXPECT_EQ(QStringLiteral("確認なし"), grid.displayText(c, Variant(int32_t(9))));
    EXPECT_EQ(QStringLiteral("7"), grid.displayText(c, Variant(int32_t(7))));
    AddValueItem(c, QStringLiteral("5"), QStringLiteral("既定"), true, true);
    EXPECT_EQ(6, c.valueItems().defaultItem);
    EXPECT_TRUE(c.valueItems().validate);
}

TEST(SharedProceduresTest, PixelScaleStripNullAndTheDesktop)
{
    EXPECT_DOUBLE_EQ(4050.0, PixelScale(9, 30));
    EXPECT_DOUBLE_EQ(15.0 * 2.5 * 4, PixelScale(4, 2.5f));
    EXPECT_EQ(QStringLiteral("C:\\Users"), StripNull(QStringLiteral("C:\\Users") + QString(250, QChar(0))));
    EXPECT_EQ(QString(), StripNull(QStringLiteral("no terminator")));
    EXPECT_EQ(QDir::toNativeSeparators(QDir::homePath()), GetSpecialFolderPath(0x28));
    EXPECT_EQ(QString(), GetSpecialFolderPath(12345));
    EXPECT_EQ(WId(0), GetDesktopHwnd());
    InitReportHook(nullptr);
}

TEST(SharedProceduresTest, WaitAndBringToFront)
{
    int fired = 0;
    QTimer::singleShot(0, [&] { ++fired; });
    Wait(0, true);
    EXPECT_EQ(0, fired);
    Wait(0.01, true);
    EXPECT_EQ(1, fired);

    ControlsForm a, b;
    a.show();
    b.show();
    ASSERT_EQ(b.loadedWindow(), QApplication::activeWindow());
    BringToFront(a.loadedWindow());
    EXPECT_EQ(a.loadedWindow(), QApplication::activeWindow());
}

}  // namespace
