// The print front end: which row of M_Printer a report prints with, the dialog its print mode
// gives, printing, previewing and cancelling, and its failures.
#include "printing/cPrinter.h"
#include "printing/fDlgPrint.h"
#include "tests/printing/PrintingTestSupport.h"

#include <QFileInfo>
#include <QLabel>

namespace {

class PictureReport : public ActiveReport {
public:
    PictureReport() : ActiveReport(QStringLiteral("PictureReport")) {}

protected:
    void design() override
    {
        ReportImage& image = addSection(QStringLiteral("Detail"), ddDetail).add<ReportImage>(QStringLiteral("Image1"));
        section(QStringLiteral("Detail")).height = 2000;
        image.width = 4000;
        image.height = 2000;
        image.sizeMode = ddSMStretch;
        image.picture = QImage(40, 20, QImage::Format_RGB32);
        image.picture.fill(Qt::blue);
    }
};

struct Outcome {
    int32_t result = 0;
    QStringList buttons;       // the dialog's captions
    QString prompt, title;
};

class CPrinterTest : public PrintingTest {
protected:
    PictureReport report;

    // Prints under a report name; the dialog is answered by clicking the button of that
    // caption (an empty caption: the dialog's close box).
    Outcome print(const QString& answer, int32_t orientation = 2, bool usePrintTable = true, bool noDialog = false)
    {
        Outcome out;
        ModalScript modal;
        modal.on(QStringLiteral("fDlgPrint"), [&](Form& f) {
            auto& d = static_cast<fDlgPrint&>(f);
            for (int i = 0; i < d.buttonCount(); ++i)
                out.buttons << d.cmdButton[size_t(i)]->caption();
            out.prompt = d.lblPrompt->text();
            out.title = d.loadedWindow()->windowTitle();
            for (int i = 0; i < d.buttonCount(); ++i)
                if (d.cmdButton[size_t(i)]->caption() == answer) {
                    Click(d.cmdButton[size_t(i)]);
                    return;
                }
            d.loadedWindow()->close();
        });
        cPrinter p;
        p.setReportName(QStringLiteral("画面印刷"));
        p.setActiveReport(&report);
        p.PrintOrientation = orientation;
        p.setKind(1);
        p.setDatabase(gDao().CurrentDB());
        p.setUsePrintTable(usePrintTable);
        out.result = p.PrintDialog(noDialog);
        EXPECT_FALSE(report.isLoaded());   // unloaded in every case
        return out;
    }
    void setDefaultRow(const QString& printer, int size, int bin, int direct, int mode)
    {
        Sql(QStringLiteral("UPDATE M_Printer SET PrinterName9x='%1', PrinterPort9x='USB001', PaperSize=%2, PaperBin=%3, "
                           "PaperDirect=%4, PrintMode=%5, PrinterNameNT='NT only' WHERE ReportName='(標準プリンタ設定)'")
                .arg(printer)
                .arg(size)
                .arg(bin)
                .arg(direct)
                .arg(mode));
    }
    void addOwnRow(int direct, int mode)
    {
        Sql(QStringLiteral("INSERT INTO M_Printer (ID, Kind, ReportName, PrinterName9x, PaperSize, PaperDirect, PaperBin, "
                           "PrintMode) VALUES (2, 1, '画面印刷', 'Label Printer', 8, %1, 14, %2)")
                .arg(direct)
                .arg(mode));
    }
    const PrintSettings& lastJob() const { return printers->printersMade.back(); }
};

const QString kPreview = QStringLiteral("プレビュー"), kPrint = QStringLiteral("印\u3000刷"),
              kCancel = QStringLiteral("キャンセル");

}  // namespace

TEST_F(CPrinterTest, AReportsOwnRowKeepsItsOrientationAndNamesTheJob)
{
    addOwnRow(1, 1);
    const Outcome out = print(kPrint);
    EXPECT_EQ(2, out.result);
    EXPECT_EQ((QStringList{kPrint, kCancel}), out.buttons);
    EXPECT_EQ(QStringLiteral("「画面印刷」を印刷します。"), out.prompt);
    EXPECT_EQ(QStringLiteral("画面印刷 印刷確認"), out.title);
    ASSERT_EQ(1u, printers->printersMade.size());
    EXPECT_EQ(QStringLiteral("Label Printer"), lastJob().deviceName);
    EXPECT_EQ(8, lastJob().paperSize);
    EXPECT_EQ(14, lastJob().paperBin);
    EXPECT_EQ(1, lastJob().orientation);   // the row's own, not the caller's landscape
    EXPECT_EQ(QStringLiteral("画面印刷"), lastJob().documentName);
    EXPECT_GT(QFileInfo(printers->files.back()).size(), 0);
}

TEST_F(CPrinterTest, TheDefaultRowTakesTheCallersOrientationWhenItGivesOne)
{
    setDefaultRow(QStringLiteral("Label Printer"), 11, 4, 1, 0);
    for (const auto& [orientation, expected] : {std::pair{2, 2}, std::pair{-1, 1}}) {
        EXPECT_EQ(2, print(kPrint, orientation).result);
        EXPECT_EQ(QStringLiteral("Label Printer"), lastJob().deviceName);   // the 9x pair
        EXPECT_EQ(QStringLiteral("USB001"), lastJob().port);
        EXPECT_EQ(11, lastJob().paperSize);
        EXPECT_EQ(4, lastJob().paperBin);
        EXPECT_EQ(expected, lastJob().orientation) << orientation;
    }
}

TEST_F(CPrinterTest, WithoutAnyRowItBeepsWarnsAndPrintsOnTheDefaultPrinter)
{
    Sql(QStringLiteral("DELETE FROM M_Printer"));
    int beeps = 0;
    auto previous = cBase::SetBeepHandler([&] { ++beeps; });
    ScriptedMsgBox boxes;
    boxes.expect(QStringLiteral("印刷確認"), vbOK);
    const Outcome out = print(kPrint);
    cBase::SetBeepHandler(previous);
    EXPECT_EQ(1, beeps);
    ASSERT_EQ(1u, boxes.shown().size());
    EXPECT_EQ(QStringLiteral("画面印刷のプリンタ設定データが見つかりません。\r\n標準のプリンタを使用します。"),
              boxes.shown()[0].text);
    EXPECT_EQ(vbCritical, boxes.shown()[0].style);
    EXPECT_EQ((QStringList{kPreview, kPrint, kCancel}), out.buttons);
    EXPECT_EQ(QStringLiteral("Office Laser"), lastJob().deviceName);
    EXPECT_EQ(1, lastJob().orientation);   // nothing was pushed: the printer's own
}

TEST_F(CPrinterTest, ThePrintModeChoosesTheButtons)
{
    const std::pair<int, QStringList> cases[] = {
        {1, {kPrint, kCancel}}, {2, {kPreview, kCancel}}, {0, {kPreview, kPrint, kCancel}},
        {3, {kPreview, kPrint, kCancel}}, {4, {kPreview, kPrint, kCancel}}, {9, {kPreview, kPrint, kCancel}},
    };
    for (const auto& [mode, buttons] : cases) {
        setDefaultRow(QStringLiteral("Office Laser"), 9, 7, 2, mode);
        EXPECT_EQ(buttons, print(kCancel).buttons) << mode;
    }
    EXPECT_TRUE(printers->printersMade.empty());
}

TEST_F(CPrinterTest, CancelEscAndTheCloseBoxPrintNothing)
{
    EXPECT_EQ(1, print(kCancel).result);
    EXPECT_EQ(1, print(QString()).result);
    ModalScript modal;
    modal.on(QStringLiteral("fDlgPrint"), [](Form& f) { QTest::keyClick(f.loadedWindow()->focusWidget(), Qt::Key_Escape); });
    cPrinter p;
    p.setReportName(QStringLiteral("画面印刷"));
    p.setActiveReport(&report);
    p.setDatabase(gDao().CurrentDB());
    bool noDialog = false;
    EXPECT_EQ(1, p.PrintDialog(noDialog));
    EXPECT_TRUE(printers->printersMade.empty());
    EXPECT_FALSE(report.isLoaded());
}

TEST_F(CPrinterTest, NoDialogPrintsAtOnceAndNoTableLeavesThePrinterAlone)
{
    setDefaultRow(QStringLiteral("Label Printer"), 11, 4, 1, 1);
    ModalScript none;   // any dialog fails the test
    {
        bool noDialog = true;
        cPrinter p;
        p.setReportName(QStringLiteral("画面印刷"));
        p.setActiveReport(&report);
        p.setDatabase(gDao().CurrentDB());
        EXPECT_EQ(2, p.PrintDialog(noDialog));
        EXPECT_TRUE(noDialog);
        EXPECT_EQ(QStringLiteral("Label Printer"), lastJob().deviceName);
    }
    // No table: no query (no database given), the report's printer as it is, three buttons.
    EXPECT_EQ(0, none.shown(QStringLiteral("fDlgPrint")));
    const Outcome out = [&] {
        Outcome o;
        ModalScript modal;
        modal.on(QStringLiteral("fDlgPrint"), [&](Form& f) {
            auto& d = static_cast<fDlgPrint&>(f);
            o.result = d.buttonCount();
            Click(d.cmdButton[1]);
        });
        cPrinter p;
        p.setReportName(QStringLiteral("画面印刷"));
        p.setActiveReport(&report);
        p.setUsePrintTable(false);
        bool noDialog = false;
        EXPECT_EQ(2, p.PrintDialog(noDialog));
        return o;
    }();
    EXPECT_EQ(3, out.result);
    EXPECT_EQ(QStringLiteral("Office Laser"), lastJob().deviceName);
    EXPECT_EQ(9, lastJob().paperSize);
}

TEST_F(CPrinterTest, PreviewShowsTheReportModallyUnderItsCaption)
{
    QString title;
    int pages = 0;
    ScopedPreviewDriver preview([&](ActiveReport& r, QDialog& dialog) {
        title = dialog.windowTitle();
        pages = r.pageCount();
        SaveScreenshot(&dialog, QStringLiteral("cPrinter_preview"));
        dialog.close();
    });
    EXPECT_EQ(4, print(kPreview).result);
    EXPECT_EQ(QStringLiteral("画面印刷"), title);
    EXPECT_EQ(1, pages);
    ASSERT_EQ(1u, printers->printersMade.size());   // the preview's page layout
    EXPECT_FALSE(QFileInfo::exists(printers->files.back()));   // nothing was printed
}

TEST_F(CPrinterTest, AnErrorIsShownUnderPrintDialogAndTheReportIsUnloadedAllTheSame)
{
    Sql(QStringLiteral("DROP TABLE M_Printer"));
    ScriptedMsgBox boxes;
    boxes.expect(QStringLiteral("PrintDialog"), vbOK, QStringLiteral("M_Printer"));
    ModalScript none;
    EXPECT_EQ(1, print(kPrint).result);
    EXPECT_EQ(vbCritical, boxes.shown()[0].style);
}

TEST_F(CPrinterTest, WithNoPrinterInstalledThePreviewOpensAndPrintingSaysWhy)
{
    printers->devices.clear();
    printers->defaultName.clear();
    int previews = 0;
    ScopedPreviewDriver preview([&](ActiveReport&, QDialog&) { ++previews; });
    EXPECT_EQ(4, print(kPreview).result);
    EXPECT_EQ(1, previews);
    {
        ScriptedMsgBox boxes;
        boxes.expect(QStringLiteral("画面印刷"), vbOK, QStringLiteral("使用できるプリンタがありません。"));
        EXPECT_EQ(2, print(kPrint).result);
    }
    EXPECT_TRUE(printers->files.empty());   // no job was made
}
