// The printer settings editor: new rows and their IDs, the checks, the printer box, the set-up
// dialog and the printer browser, detail mode, closing with changes, failed saves, the report
// names of the INI file.
#include "foundation/cIni.h"
#include "foundation/gui/cFoldDlg.h"
#include "platform/gui/ImText.h"
#include "printing/PrinterTable.h"
#include "printing/frmSysPrintDtl.h"
#include "tests/printing/PrintingTestSupport.h"
#include "ui/ComboLock.h"
#include "ui/cFrmCtrl.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

class SysPrintDtlTest : public PrintingTest {
protected:
    frmSysPrintDtl& ed = gSysPrintDtl();

    // Opens the editor modeless and active (the list shows it modally; the steps are the same).
    void open(int32_t id, bool detail, int16_t flag = 2)
    {
        ed.SetData(id, detail, flag);
        ed.show();
        QApplication::setActiveWindow(ed.loadedWindow());
        ASSERT_TRUE(QTest::qWaitForWindowActive(ed.loadedWindow()));
    }
    void TearDown() override
    {
        if (ed.isLoaded()) {
            ed.m_Edited = false;
            if (ed.controller())
                ed.controller()->FlagClear();
            ed.unload();
        }
        SetFolderBrowser({});
        PrintingTest::TearDown();
    }
    // A choice from a list box, as a click on an entry makes it.
    static void choose(QComboBox* box, const QString& text)
    {
        const int i = box->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        box->setCurrentIndex(i);
        emit box->activated(i);
    }
    // Types a printer into the printer box and leaves it for the next control.
    void enterPrinter(const QString& name)
    {
        ed.cmbPrint->setFocus();
        ed.cmbPrint->setEditText(name);
        ed.cmbPort->setFocus(Qt::TabFocusReason);
    }
    static QStringList texts(QComboBox* box)
    {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }
    static int totalChanges() { return sqlite3_total_changes(SharedConnection()); }
};

}  // namespace

TEST_F(SysPrintDtlTest, NewRowsGetTheNextIdAndOnlyTheColumnsOfTheOsFlag)
{
    ASSERT_EQ(2, PrinterOsFlag());   // no NT-family Windows here: the 9x pair
    const std::pair<QString, int32_t> cases[] = {
        {QStringLiteral("DELETE FROM M_Printer"), 1},
        {QStringLiteral("UPDATE M_Printer SET ID=7"), 8},
        {QStringLiteral("UPDATE M_Printer SET ID=32767"), 32768},
    };
    for (const auto& [setup, id] : cases) {
        Sql(QStringLiteral("DELETE FROM M_Printer; INSERT INTO M_Printer (ID, Kind, ReportName) VALUES (1, 1, '(標準プリンタ設定)')"));
        Sql(setup);
        open(0, false);
        EXPECT_EQ(QStringLiteral("プリンタ設定 [新規] - Panelo2"), ed.caption());
        EXPECT_EQ(QStringLiteral("追\u3000加"), ed.lbutEntry->caption());
        if (id == 1) {
            const std::pair<QString, QString> captions[] = {
                {ed.labReport->text(), QStringLiteral("帳票名")},   {ed.labPrint->text(), QStringLiteral("プリンタ名")},
                {ed.labPort->text(), QStringLiteral("使用ポート")}, {ed.labSize->text(), QStringLiteral("用紙サイズ")},
                {ed.labDirect->text(), QStringLiteral("印刷方向")}, {ed.labBin->text(), QStringLiteral("給紙方法")},
                {ed.labMode->text(), QStringLiteral("印刷設定")},   {ed.labKind->text(), QStringLiteral("印刷区分")},
                {ed.labBikou->text(), QStringLiteral("備考")},      {ed.optDirect[0]->text(), QStringLiteral("縦")},
                {ed.optDirect[1]->text(), QStringLiteral("横")},    {ed.butPrint->text(), QStringLiteral("...")},
                {ed.butPort->text(), QStringLiteral("...")},        {ed.lbutDel->caption(), QStringLiteral("削\u3000除")},
                {ed.lbutClose->caption(), QStringLiteral("閉じる")},
            };
            for (const auto& [shown, expected] : captions)
                EXPECT_EQ(expected, shown);
            QStringList modes;
            for (int i = 0; i < ed.cmbMode->count(); ++i)
                modes << ed.cmbMode->itemText(i);
            EXPECT_EQ((QStringList{QStringLiteral("選択(印刷/プレビュー)"), QStringLiteral("印刷"),
                                   QStringLiteral("プレビュー"), QStringLiteral("確認なし")}),
                      modes);
        }
        EXPECT_FALSE(ed.lbutDel->isEnabled());
        ed.cmbReport->setFocus();
        ed.cmbReport->lineEdit()->insert(QStringLiteral("画面印刷"));   // as typed
        enterPrinter(QStringLiteral("Office Laser"));
        choose(ed.cmbPort, QStringLiteral("USB001"));
        choose(ed.cmbSize, QStringLiteral("A3"));
        QTest::mouseClick(ed.optDirect[1], Qt::LeftButton);
        choose(ed.cmbBin, QStringLiteral("カセット"));
        choose(ed.cmbMode, QStringLiteral("印刷"));
        ed.txtBikou->setText(QStringLiteral("事務所"));
        if (id == 1)
            SaveScreenshot(ed.loadedWindow(), QStringLiteral("frmSysPrintDtl_new"));
        Click(ed.lbutEntry);

        const QString where = QStringLiteral("ReportName='画面印刷'");
        EXPECT_EQ(id, Lookup(QStringLiteral("ID"), where).intValue());
        EXPECT_EQ(QStringLiteral("Office Laser"), Lookup(QStringLiteral("PrinterName9x"), where).stringValue());
        EXPECT_EQ(QStringLiteral("USB001"), Lookup(QStringLiteral("PrinterPort9x"), where).stringValue());
        EXPECT_TRUE(Lookup(QStringLiteral("PrinterNameNT"), where).isNull());
        EXPECT_TRUE(Lookup(QStringLiteral("PrinterPortNT"), where).isNull());
        EXPECT_EQ(8, Lookup(QStringLiteral("PaperSize"), where).intValue());
        EXPECT_EQ(2, Lookup(QStringLiteral("PaperDirect"), where).intValue());
        EXPECT_EQ(14, Lookup(QStringLiteral("PaperBin"), where).intValue());
        EXPECT_EQ(1, Lookup(QStringLiteral("PrintMode"), where).intValue());
        EXPECT_EQ(QStringLiteral("事務所"), Lookup(QStringLiteral("Memo"), where).stringValue());
        EXPECT_EQ(1, Lookup(QStringLiteral("Kind"), where).intValue());

        // The editor stays open, reset for the next row.
        ASSERT_TRUE(ed.isVisible());
        EXPECT_EQ(QString(), ed.cmbReport->currentText());
        EXPECT_EQ(QString(), ed.cmbPrint->currentText());
        EXPECT_EQ(QString(), ed.cmbSize->currentText());
        EXPECT_EQ(0, ed.cmbMode->currentIndex());
        EXPECT_TRUE(ed.optDirect[0]->isChecked());
        EXPECT_EQ(0, ed.m_PaperSize);
        EXPECT_FALSE(ed.controller()->DataChanged());
        EXPECT_FALSE(ed.m_Edited);
        EXPECT_EQ(ed.cmbReport.data(), QApplication::focusWidget());
        ed.unload();
    }
}

TEST_F(SysPrintDtlTest, SavingUnchangedFormsWritesNothing)
{
    ScriptedMsgBox boxes;   // and shows nothing
    open(0, false);
    const int before = totalChanges();
    Click(ed.lbutEntry);
    EXPECT_TRUE(ed.isVisible());
    EXPECT_EQ(before, totalChanges());
    ed.unload();

    open(1, true);
    Click(ed.lbutEntry);
    EXPECT_FALSE(ed.isLoaded());
    EXPECT_EQ(before, totalChanges());
}

TEST_F(SysPrintDtlTest, ReportNamesMustBeGivenAndNew)
{
    Sql(QStringLiteral("INSERT INTO M_Printer (ID, Kind, ReportName) VALUES (2, 1, '画面印刷'), (3, 1, 'Report A')"));
    const QString missing = QStringLiteral("帳票名が入力されていません。"), taken = QStringLiteral("入力した帳票名は登録済みです。");
    const std::pair<QString, QString> cases[] = {
        {QString(), missing}, {QStringLiteral("　 "), missing}, {QStringLiteral("画面印刷"), taken},
        {QStringLiteral("画面印刷 "), taken}, {QStringLiteral("(標準プリンタ設定)"), taken}, {QStringLiteral("report a"), QString()},
    };
    for (const auto& [name, message] : cases) {
        open(0, false);
        ed.cmbReport->setEditText(name);
        ed.txtBikou->setText(QStringLiteral("x"));
        const int rows = RowCount();
        ScriptedMsgBox boxes;
        if (!message.isEmpty())
            boxes.expect(QStringLiteral("入力エラー"), vbOK, message);
        Click(ed.lbutEntry);
        EXPECT_EQ(rows + (message.isEmpty() ? 1 : 0), RowCount()) << name.toStdString();
        if (!message.isEmpty()) {
            EXPECT_EQ(vbCritical, boxes.shown().at(0).style);
            EXPECT_EQ(ed.cmbReport.data(), QApplication::focusWidget());
        }
        ed.m_Edited = false;
        ed.controller()->FlagClear();
        ed.unload();
    }
}

TEST_F(SysPrintDtlTest, DetailModeLoadsTheRowAndKeepsCodesTheBoxesDoNotOffer)
{
    Sql(QStringLiteral("INSERT INTO M_Printer VALUES (5, 1, '画面印刷', 'NT only', 'NTPORT', 'Office Laser', 'USB001', "
                       "11, 2, 14, 3, 'メモ')"));
    open(1, true);
    EXPECT_FALSE(ed.lbutDel->isEnabled());   // the default row
    EXPECT_EQ(QStringLiteral("(標準プリンタ設定)"), ed.cmbReport->currentText());
    ed.unload();

    open(5, true);
    EXPECT_EQ(QStringLiteral("プリンタ設定 [詳細] - Panelo2"), ed.caption());
    EXPECT_EQ(QStringLiteral("更\u3000新"), ed.lbutEntry->caption());
    EXPECT_TRUE(ed.lbutDel->isEnabled());
    EXPECT_TRUE(ComboLocked(ed.cmbReport));
    EXPECT_EQ(QStringLiteral("Office Laser"), ed.cmbPrint->currentText());
    EXPECT_EQ(QStringLiteral("USB001"), ed.cmbPort->currentText());
    EXPECT_EQ(QStringLiteral("A5"), ed.cmbSize->currentText());
    EXPECT_TRUE(ed.optDirect[1]->isChecked());
    EXPECT_EQ(QStringLiteral("カセット"), ed.cmbBin->currentText());
    EXPECT_EQ(QString(), ed.cmbMode->currentText());   // mode 3 is not offered
    EXPECT_EQ(QStringLiteral("メモ"), ed.txtBikou->text());
    EXPECT_FALSE(ed.controller()->DataChanged());
    SaveScreenshot(ed.loadedWindow(), QStringLiteral("frmSysPrintDtl_detail"));

    ed.txtBikou->setText(QStringLiteral("別のメモ"));
    Click(ed.lbutEntry);
    EXPECT_FALSE(ed.isLoaded());
    const QString where = QStringLiteral("ID=5");
    EXPECT_EQ(3, Lookup(QStringLiteral("PrintMode"), where).intValue());
    EXPECT_EQ(QStringLiteral("別のメモ"), Lookup(QStringLiteral("Memo"), where).stringValue());
    EXPECT_EQ(QStringLiteral("NT only"), Lookup(QStringLiteral("PrinterNameNT"), where).stringValue());
    EXPECT_EQ(QStringLiteral("NTPORT"), Lookup(QStringLiteral("PrinterPortNT"), where).stringValue());
    EXPECT_EQ(2, Lookup(QStringLiteral("PaperDirect"), where).intValue());
    EXPECT_EQ(11, Lookup(QStringLiteral("PaperSize"), where).intValue());
    EXPECT_EQ(14, Lookup(QStringLiteral("PaperBin"), where).intValue());
}

TEST_F(SysPrintDtlTest, ThePrinterBoxAcceptsListedPrintersOnly)
{
    Sql(QStringLiteral("UPDATE M_Printer SET PrinterName9x='Office Laser', PaperSize=9, PaperBin=14"));
    open(1, true);
    ASSERT_EQ(QStringList({QStringLiteral("LPT1:"), QStringLiteral("USB001")}), texts(ed.cmbPort));

    // The same printer in other case: unchanged, the lists stay.
    ed.cmbPort->clear();
    enterPrinter(QStringLiteral("office laser"));
    EXPECT_EQ(QStringLiteral("Office Laser"), ed.m_PrinterName);
    EXPECT_EQ(0, ed.cmbPort->count());

    // A printer not listed (the comparison is exact): the message, and the focus stays.
    {
        ScriptedMsgBox boxes;
        boxes.expect(ed.caption(), vbOK, QStringLiteral("プリンタが見つかりません。"));
        enterPrinter(QStringLiteral("Label printer"));
        EXPECT_EQ(vbExclamation, boxes.shown().at(0).style);
        EXPECT_EQ(ed.cmbPrint.data(), QApplication::focusWidget());
        EXPECT_EQ(QStringLiteral("Office Laser"), ed.m_PrinterName);
    }

    // Another listed printer: its lists, no entry chosen, the codes kept until a choice.
    enterPrinter(QStringLiteral("Label Printer"));
    EXPECT_EQ(QStringLiteral("Label Printer"), ed.m_PrinterName);
    EXPECT_EQ(QStringList{QStringLiteral("COM1:")}, texts(ed.cmbPort));
    EXPECT_EQ(13, ed.cmbSize->count());
    EXPECT_EQ(QStringList{QStringLiteral("手差し")}, texts(ed.cmbBin));
    EXPECT_EQ(QString(), ed.cmbSize->currentText());
    EXPECT_EQ(QString(), ed.cmbBin->currentText());
    EXPECT_EQ(9, ed.m_PaperSize);
    EXPECT_EQ(14, ed.m_PaperBin);
}

TEST_F(SysPrintDtlTest, TheSetUpDialogFillsEveryBoxAndTheModeBecomesZero)
{
    Sql(QStringLiteral("UPDATE M_Printer SET PrinterName9x='Office Laser', PrintMode=2"));
    open(1, true);
    ASSERT_EQ(2, ed.m_PrintMode);
    Click(ed.butPrint);   // cancelled: nothing changes
    EXPECT_EQ(1, printers->setupShown);
    EXPECT_FALSE(ed.m_Edited);
    EXPECT_EQ(QStringLiteral("Office Laser"), ed.cmbPrint->currentText());

    printers->setupAnswer = [](PrintSettings& s) {
        s.deviceName = QStringLiteral("Label Printer");
        s.port = QStringLiteral("COM1:");
        s.paperSize = 5;
        s.orientation = 2;
        s.paperBin = 4;
        return true;
    };
    Click(ed.butPrint);
    EXPECT_EQ(QStringLiteral("Label Printer"), ed.cmbPrint->currentText());
    EXPECT_EQ(QStringLiteral("Label Printer"), ed.m_PrinterName);
    EXPECT_EQ(QStringLiteral("COM1:"), ed.cmbPort->currentText());
    EXPECT_EQ(QStringLiteral("Size 5"), ed.cmbSize->currentText());
    EXPECT_EQ(5, ed.m_PaperSize);
    EXPECT_TRUE(ed.optDirect[1]->isChecked());
    EXPECT_EQ(2, ed.m_PaperDirect);
    EXPECT_EQ(QStringLiteral("手差し"), ed.cmbBin->currentText());
    EXPECT_EQ(4, ed.m_PaperBin);
    EXPECT_EQ(QStringLiteral("選択(印刷/プレビュー)"), ed.cmbMode->currentText());
    EXPECT_EQ(0, ed.m_PrintMode);
    EXPECT_TRUE(ed.m_Edited);
}

TEST_F(SysPrintDtlTest, ThePrinterBrowserWritesThePort)
{
    QString title;
    int32_t options = 0;
    std::optional<FolderItem> answer = FolderItem{QStringLiteral("事務所のプリンタ"), QStringLiteral("ipp://srv/printers/office")};
    SetFolderBrowser([&](QWidget*, const QString&, const QString& t, int32_t o) {
        title = t;
        options = o;
        return answer;
    });
    open(0, false);
    Click(ed.butPort);
    EXPECT_EQ(QStringLiteral("プリンタを選択して下さい。"), title);
    EXPECT_EQ(kBrowseForPrinter, options);
    EXPECT_EQ(QStringLiteral("ipp://srv/printers/office"), ed.cmbPort->currentText());
    EXPECT_EQ(ed.cmbSize.data(), QApplication::focusWidget());
    answer.reset();
    Click(ed.butPort);
    EXPECT_EQ(ed.cmbPort.data(), QApplication::focusWidget());
}

TEST_F(SysPrintDtlTest, ClosingWithChangesAsksAndNoKeepsThem)
{
    open(1, true);
    QTest::mouseClick(ed.optDirect[1], Qt::LeftButton);
    EXPECT_TRUE(ed.m_Edited);
    EXPECT_EQ(2, ed.m_PaperDirect);
    {
        ScriptedMsgBox boxes;
        boxes.expect(QStringLiteral("破棄確認"), vbNo, QStringLiteral("破棄して終了しますか。"));
        Click(ed.lbutClose);
        EXPECT_EQ(292, boxes.shown().at(0).style);
        EXPECT_TRUE(ed.isVisible());
        EXPECT_TRUE(ed.optDirect[1]->isChecked());
    }
    ScriptedMsgBox boxes;
    boxes.expect(QStringLiteral("破棄確認"), vbYes);
    ed.loadedWindow()->close();   // the close box
    EXPECT_FALSE(ed.isLoaded());
    EXPECT_EQ(0, Lookup(QStringLiteral("PaperDirect"), QStringLiteral("ID=1")).intValue());
}

TEST_F(SysPrintDtlTest, AFailedUpdateIsRolledBackAndTheEditorStaysOpen)
{
    Sql(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON M_Printer BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    ScriptedMsgBox boxes;   // the failure shows nothing
    open(1, true);
    ed.txtBikou->setText(QStringLiteral("変更"));
    Click(ed.lbutEntry);
    EXPECT_TRUE(ed.isVisible());
    EXPECT_EQ(0, dbtrans::depth());
    EXPECT_TRUE(Lookup(QStringLiteral("Memo"), QStringLiteral("ID=1")).isNull());
}

TEST_F(SysPrintDtlTest, TheReportBoxOffersTheDefaultEntryAndTheIniNames)
{
    const QString ini = ReportIniPath();
    cIni file;
    file.setPro_IniPath(ini);
    const QString longName = QString(QStringLiteral("帳")).repeated(30);   // 60 bytes in CP932
    file.SetIni(QStringLiteral("ReportNames"), QStringLiteral("ReportName02"), Variant(longName + QStringLiteral(" ;remark")));
    open(0, false);
    ASSERT_EQ(3, ed.cmbReport->count());
    EXPECT_EQ(QStringLiteral("(標準プリンタ設定)"), ed.cmbReport->itemText(0));
    EXPECT_EQ(0, ed.cmbReport->itemData(0).toInt());
    EXPECT_EQ(QStringLiteral("画面印刷"), ed.cmbReport->itemText(1));
    EXPECT_EQ(1, ed.cmbReport->itemData(1).toInt());
    EXPECT_EQ(longName.left(25), ed.cmbReport->itemText(2));
    EXPECT_EQ(2, ed.cmbReport->itemData(2).toInt());
    EXPECT_EQ(QString(), ed.cmbReport->currentText());
    // The first free number is written back as an empty key.
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("ReportName03=\"\""));
}

// Enter moves from box to box and on past the "..." buttons and the orientation buttons without
// pressing them, down to the line buttons, where Enter presses 追　加.
TEST_F(SysPrintDtlTest, EnterMovesDownTheWholeFormToTheLineButtons)
{
    for (const bool detail : {false, true}) {
        SCOPED_TRACE(detail ? "detail" : "new");
        open(1, detail);
        std::vector<QWidget*> expected{ed.cmbReport, ed.cmbPrint, ed.butPrint, ed.cmbPort, ed.butPort, ed.cmbSize,
                                       ed.optDirect[0], ed.cmbBin, ed.cmbMode, ed.cmbKind, ed.txtBikou, ed.lbutEntry};
        if (detail)
            expected.erase(expected.begin());            // the report box of a stored row is read-only
        ed.butPrint->setFocus(Qt::OtherFocusReason);
        const QImage byCode = Render(ed.butPrint);
        expected.front()->setFocus();
        QCoreApplication::processEvents();
        std::vector<QWidget*> reached{ed.activeControl()};
        while (reached.size() < expected.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCoreApplication::processEvents();       // the controller's Tab runs once the key is handled
            reached.push_back(ed.activeControl());
            if (reached.back() == ed.butPrint) {
                EXPECT_NE(byCode, Render(ed.butPrint));   // reached by Enter: the focus frame shows
            }
        }
        auto names = [](const std::vector<QWidget*>& controls) {
            std::vector<std::string> out;
            for (QWidget* c : controls)
                out.push_back(c ? c->objectName().toStdString() + c->property("Index").toString().toStdString() : "-");
            return out;
        };
        EXPECT_EQ(names(expected), names(reached));
        EXPECT_EQ(0, printers->setupShown);          // "..." was passed, not pressed
        if (!detail) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);   // 追　加 on an unchanged form
            EXPECT_EQ(ed.cmbReport, ed.activeControl());                    // resets it, the top control focused
        }
        ed.unload();
    }
}
