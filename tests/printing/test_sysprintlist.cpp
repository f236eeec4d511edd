// The printer settings list: its rows and columns, the commands that open the editor, and
// deletions from the list and from the editor.
#include "platform/gui/TDBGrid.h"
#include "printing/frmSysPrintDtl.h"
#include "printing/frmSysPrintList.h"
#include "tests/printing/PrintingTestSupport.h"
#include "ui/cFrmCtrl.h"

namespace {

class SysPrintListTest : public PrintingTest {
protected:
    frmSysPrintList& list = gSysPrintList();

    void SetUp() override
    {
        PrintingTest::SetUp();
        Sql(QStringLiteral(
            "INSERT INTO M_Printer (ID, Kind, ReportName, PrinterNameNT, PrinterName9x, PrintMode) VALUES "
            "(2, 1, '画面印刷', 'NT Laser', 'Office Laser', 3), (3, 1, '伝票', 'NT only', NULL, 4)"));
    }
    void open()
    {
        list.load();
        list.show();
        QApplication::setActiveWindow(list.loadedWindow());
        ASSERT_TRUE(QTest::qWaitForWindowActive(list.loadedWindow()));
    }
    void TearDown() override
    {
        if (list.isLoaded())
            list.unload();
        PrintingTest::TearDown();
    }
    TDBGrid& grid() { return *list.TDBList; }
    QStringList column(int c)
    {
        QStringList out;
        for (int r = 0; r < grid().rowCount(); ++r)
            out << grid().column(c).cellText(grid().rowBookmark(r));
        return out;
    }
    void selectRow(int row)
    {
        grid().moveFirst();
        for (int i = 0; i < row; ++i)
            grid().moveNext();
    }
    // The editor as the list opens it: its caption and the ID it shows.
    static std::pair<QString, int32_t> editor(Form& f)
    {
        auto& ed = static_cast<frmSysPrintDtl&>(f);
        return {ed.caption(), ed.m_ID};
    }
};

const QString kDefault = QStringLiteral("(標準プリンタ設定)");

}  // namespace

TEST_F(SysPrintListTest, ListsEveryRowByReportNameWithThePrinterOfTheOsFlag)
{
    open();
    EXPECT_EQ(QStringLiteral("プリンタ設定一覧 - Panelo2"), list.caption());
    const std::pair<LineButton*, QString> buttons[] = {{list.lbutNew, QStringLiteral("新\u3000規")},
                                                       {list.lbutDtl, QStringLiteral("詳\u3000細")},
                                                       {list.lbutDel, QStringLiteral("削\u3000除")},
                                                       {list.lbutClose, QStringLiteral("閉じる")}};
    for (const auto& [button, caption] : buttons)
        EXPECT_EQ(caption, button->caption());
    ASSERT_EQ(4, grid().columnCount());
    EXPECT_FALSE(grid().column(0).visible());
    EXPECT_EQ(QStringLiteral("帳票名"), grid().column(1).caption());
    EXPECT_EQ(QStringLiteral("プリンタ名"), grid().column(2).caption());
    EXPECT_EQ(QStringLiteral("PrinterName9x"), grid().column(2).dataField());
    EXPECT_EQ(QStringLiteral("印刷設定"), grid().column(3).caption());
    EXPECT_DOUBLE_EQ(270, grid().column(1).width());   // 9 points x 30 x 15 twips
    EXPECT_DOUBLE_EQ(90, grid().column(3).width());
    EXPECT_EQ(dbgCenter, grid().column(3).alignment());
    // Report-name order ("(" before the kana and kanji); mode names; the 9x printer only.
    EXPECT_EQ((QStringList{kDefault, QStringLiteral("伝票"), QStringLiteral("画面印刷")}), column(1));
    EXPECT_EQ((QStringList{QString(), QString(), QStringLiteral("Office Laser")}), column(2));
    EXPECT_EQ((QStringList{QStringLiteral("選択"), QStringLiteral("全て"), QStringLiteral("選択+PDF")}), column(3));
    EXPECT_TRUE(list.lbutDtl->isEnabled());
    EXPECT_TRUE(list.lbutDel->isEnabled());
    SaveScreenshot(list.loadedWindow(), QStringLiteral("frmSysPrintList"));
}

TEST_F(SysPrintListTest, AnEmptyTableOffersNewRowsOnly)
{
    Sql(QStringLiteral("DELETE FROM M_Printer"));
    open();
    EXPECT_FALSE(list.lbutDtl->isEnabled());
    EXPECT_FALSE(list.lbutDel->isEnabled());
    QString caption;
    ModalScript modal;
    modal.on(QStringLiteral("frmSysPrintDtl"), [&](Form& f) { caption = editor(f).first; });
    grid().setFocus();
    QTest::keyClick(&grid(), Qt::Key_Return);
    EXPECT_EQ(QStringLiteral("プリンタ設定 [新規] - Panelo2"), caption);
    EXPECT_FALSE(list.lbutDtl->isEnabled());
}

TEST_F(SysPrintListTest, EnterDoubleClickAndTheButtonsOpenTheEditor)
{
    open();
    std::vector<std::pair<QString, int32_t>> opened;
    ModalScript modal;
    modal.on(QStringLiteral("frmSysPrintDtl"), [&](Form& f) { opened.push_back(editor(f)); });
    const QString detail = QStringLiteral("プリンタ設定 [詳細] - Panelo2"), fresh = QStringLiteral("プリンタ設定 [新規] - Panelo2");

    selectRow(2);
    grid().setFocus();
    QTest::keyClick(&grid(), Qt::Key_Return);                        // the current row
    QTest::keyClick(&grid(), Qt::Key_Return, Qt::ControlModifier);   // always a new row
    const QRect cell = grid().visualRect(grid().model()->index(1, 1));
    QTest::mouseMove(grid().viewport(), cell.center());
    QTest::mouseDClick(grid().viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    Click(list.lbutNew);
    ASSERT_EQ(4u, opened.size());
    EXPECT_EQ(std::make_pair(detail, int32_t(2)), opened[0]);
    EXPECT_EQ(fresh, opened[1].first);
    EXPECT_EQ(std::make_pair(detail, int32_t(3)), opened[2]);
    EXPECT_EQ(fresh, opened[3].first);
    // Every return re-reads the list and goes to its first row.
    EXPECT_EQ(0, grid().row());
}

TEST_F(SysPrintListTest, DeletingConfirmsAndNeverTakesTheDefaultRow)
{
    open();
    {
        ScriptedMsgBox boxes;
        boxes.expect(QStringLiteral("警告"), vbOK, QStringLiteral("[(標準プリンタ設定)]は削除出来ません。"));
        Click(list.lbutDel);   // the first row is the default row
        EXPECT_EQ(vbExclamation, boxes.shown()[0].style);
        EXPECT_EQ(3, RowCount());
    }
    selectRow(2);
    {
        ScriptedMsgBox boxes;
        boxes.expect(QStringLiteral("データ削除"), vbNo);
        Click(list.lbutDel);
        EXPECT_EQ(QStringLiteral("データを削除します。\r\r帳票名[画面印刷] プリンタ名[Office Laser]\r"), boxes.shown()[0].text);
        EXPECT_EQ(324, boxes.shown()[0].style);
        EXPECT_EQ(3, RowCount());
        EXPECT_EQ(2, grid().row());
    }
    ScriptedMsgBox boxes;
    boxes.expect(QStringLiteral("データ削除"), vbYes);
    Click(list.lbutDel);
    EXPECT_EQ(2, RowCount());
    EXPECT_EQ((QStringList{kDefault, QStringLiteral("伝票")}), column(1));
    EXPECT_EQ(0, grid().row());

    // After the last row the detail and delete buttons are off.
    Sql(QStringLiteral("DELETE FROM M_Printer WHERE ID<>3"));
    grid().recordset().requery();
    boxes.expect(QStringLiteral("データ削除"), vbYes);
    Click(list.lbutDel);
    EXPECT_EQ(0, RowCount());
    EXPECT_FALSE(list.lbutDtl->isEnabled());
    EXPECT_FALSE(list.lbutDel->isEnabled());
}

TEST_F(SysPrintListTest, TheEditorsDeleteClosesItOnlyWhenTheRowIsGone)
{
    open();
    selectRow(2);
    std::vector<bool> stillOpen;
    ModalScript modal;
    modal.on(QStringLiteral("frmSysPrintDtl"), [&](Form& f) {
        auto& ed = static_cast<frmSysPrintDtl&>(f);
        Click(ed.lbutDel);
        stillOpen.push_back(ed.isVisible());
    });
    ScriptedMsgBox boxes;
    boxes.expect(QStringLiteral("データ削除"), vbNo);   // declined: the editor stays
    Click(list.lbutDtl);
    EXPECT_EQ(3, RowCount());

    // A deletion the database refuses is no deletion: the editor stays open.
    Sql(QStringLiteral("CREATE TRIGGER keep BEFORE DELETE ON M_Printer BEGIN SELECT RAISE(ABORT, 'kept'); END"));
    selectRow(2);
    boxes.expect(QStringLiteral("データ削除"), vbYes);
    Click(list.lbutDtl);
    EXPECT_EQ(3, RowCount());
    EXPECT_EQ(0, dbtrans::depth());

    Sql(QStringLiteral("DROP TRIGGER keep"));
    selectRow(2);
    boxes.expect(QStringLiteral("データ削除"), vbYes);
    Click(list.lbutDtl);
    EXPECT_EQ(2, RowCount());
    EXPECT_TRUE(Lookup(QStringLiteral("ID"), QStringLiteral("ID=2")).isNull());
    EXPECT_EQ((std::vector<bool>{true, true, false}), stillOpen);
}
