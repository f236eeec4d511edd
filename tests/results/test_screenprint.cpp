// The screen print: a window as a picture on the report page, printed or previewed landscape
// under "画面印刷"; the guard against a second print of the detail window; the report page's
// handlers (preview tools and close box, no data, engine errors, centring).
#include "printing/fDlgPrint.h"
#include "results/Report.h"
#include "results/ScreenPrint.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Events.h"
#include "tests/printing/PrintingTestSupport.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>

namespace {

// A window to print: captions, a table-like block of colour and a line button.
class SampleWindow : public Form {
public:
    SampleWindow() : Form(QStringLiteral("frmDetail")) {}

protected:
    void createControls(FormWindow* w) override
    {
        w->setWindowTitle(QStringLiteral("詳細画面 - Panelo2"));
        w->resize(640, 480);
        auto* title = new QLabel(QStringLiteral("パターン詳細　母材 1 / 3"), w);
        title->setGeometry(16, 12, 400, 24);
        auto* sheet = new QLabel(w);
        sheet->setGeometry(16, 48, 608, 360);
        sheet->setAutoFillBackground(true);
        SetBackColor(sheet, 0x80C0FF);
        auto* button = new LineButton(w, QStringLiteral("画面印刷"));
        button->setGeometry(514, 428, 110, 36);
    }
};

class ScreenPrintTest : public PrintingTest {
protected:
    SampleWindow window;

    void SetUp() override
    {
        PrintingTest::SetUp();
        window.show();
        SetWaitScale(0.001);
    }
    void TearDown() override
    {
        SetWaitScale(1);
        window.unload();
        if (gReport().isLoaded())
            gReport().unload();
        PrintingTest::TearDown();
    }
};

// Answers every confirmation dialog with one button.
struct DialogAnswer {
    explicit DialogAnswer(const QString& caption)
    {
        modal.on(QStringLiteral("fDlgPrint"), [this, caption](Form& f) {
            ++shown;
            auto& d = static_cast<fDlgPrint&>(f);
            for (int i = 0; i < d.buttonCount(); ++i)
                if (d.cmdButton[size_t(i)]->caption() == caption)
                    Click(d.cmdButton[size_t(i)]);
        });
    }
    ModalScript modal;
    int shown = 0;
};

const QString kPreview = QStringLiteral("プレビュー"), kPrint = QStringLiteral("印\u3000刷");

}  // namespace

TEST_F(ScreenPrintTest, TheWindowPrintsLandscapeAsAPictureCentredOnThePage)
{
    // The picture: the window at the top left, 4 more pixels of the cleared picture box.
    const QImage picture = ScreenPicture(window.loadedWindow());
    ASSERT_EQ(QSize(644, 484), picture.size());
    EXPECT_EQ(ToQColor(kSysBtnFace).rgb(), picture.pixel(642, 200));
    EXPECT_EQ(ToQColor(kSysBtnFace).rgb(), picture.pixel(300, 482));
    EXPECT_EQ(ToQColor(0x80C0FF).rgb(), picture.pixel(300, 200));

    // The preview: the page as the printer will have it.
    double left = -1, right = -1;
    int state = -1;
    QSizeF image;
    QSize pictureSize;
    ScopedPreviewDriver preview([&](ActiveReport& r, QDialog& dialog) {
        left = r.pageSettings().leftMargin();
        right = r.pageSettings().rightMargin();
        state = dialog.windowState() & Qt::WindowMaximized ? 2 : 0;
        auto& page = static_cast<Report&>(r);
        image = QSizeF(page.Image1().width, page.Image1().height);
        pictureSize = page.Image1().picture.size();
        r.pageImage(0, 96).save(QStringLiteral(PANELO2_ARTIFACT_DIR "/screenprint_page.png"));
    });
    {
        DialogAnswer dialog(kPreview);
        PrintWindow(window.loadedWindow(), QStringLiteral("frmDetail"));
        EXPECT_EQ(1, dialog.shown);
    }
    EXPECT_EQ(QSizeF(13333, 10000), image);
    EXPECT_EQ(QSize(644, 484), pictureSize);
    EXPECT_NEAR((16838 - 13333) / 2.0, left, 1.0);   // landscape A4
    EXPECT_EQ(0, right);
    EXPECT_EQ(2, state);
    EXPECT_FALSE(gReport().isLoaded());

    DialogAnswer dialog(kPrint);
    PrintWindow(window.loadedWindow(), QStringLiteral("frmDetail"));
    const PrintSettings& job = printers->printersMade.back();
    EXPECT_EQ(QStringLiteral("Office Laser"), job.deviceName);   // the default row names no printer
    EXPECT_EQ(2, job.orientation);
    EXPECT_EQ(QStringLiteral("画面印刷"), job.documentName);
    EXPECT_GT(QFileInfo(printers->files.back()).size(), 0);
    EXPECT_TRUE(fx_.errLog().isEmpty());
}

// A wide window (16:9) keeps its proportions in the 4:3 picture: the whole copy shows, as wide as
// the picture and centred in its height.
TEST_F(ScreenPrintTest, AWideWindowKeepsItsProportionsCentredInThePicture)
{
    window.loadedWindow()->resize(960, 540);
    QImage page;
    double top = 0;
    ScopedPreviewDriver preview([&](ActiveReport& r, QDialog&) {
        page = r.pageImage(0, 96);
        top = r.pageSettings().topMargin();
    });
    DialogAnswer dialog(kPreview);
    PrintWindow(window.loadedWindow(), QStringLiteral("frmDetail"));
    ASSERT_FALSE(page.isNull());
    page.save(QStringLiteral(PANELO2_ARTIFACT_DIR "/screenprint_wide_page.png"));
    // The bounds of the copy (every pixel not white) and of the coloured block in it.
    QRect copy, block;
    const QRgb blue = ToQColor(0x80C0FF).rgb();
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb px = page.pixel(x, y);
            if (px != qRgb(255, 255, 255))
                copy |= QRect(x, y, 1, 1);
            if (qAbs(qRed(px) - qRed(blue)) + qAbs(qGreen(px) - qGreen(blue)) + qAbs(qBlue(px) - qBlue(blue)) < 6)
                block |= QRect(x, y, 1, 1);
        }
    const double s = 96.0 / 1440.0;
    const QRectF box(copy.left(), top * s, 13333 * s, 10000 * s);   // the picture's place on the page
    EXPECT_NEAR(box.width(), copy.width(), 2.0);
    EXPECT_NEAR(box.width() * 544 / 964, copy.height(), 2.0);                     // the copy's own proportions
    EXPECT_NEAR(copy.top() - box.top(), box.bottom() - copy.bottom() - 1, 2.0);   // centred
    EXPECT_NEAR(608.0 / 360.0, double(block.width()) / block.height(), 0.02);
}

TEST_F(ScreenPrintTest, ASecondClickWhileThePrintRunsPrintsNothingMore)
{
    bool printBusy = false;
    DialogAnswer dialog(kPrint);
    bool secondReturned = false;
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(printBusy);
        ScreenPrint(window.loadedWindow(), QStringLiteral("frmDetail"), &printBusy);
        secondReturned = true;
    });
    ScreenPrint(window.loadedWindow(), QStringLiteral("frmDetail"), &printBusy);
    EXPECT_TRUE(secondReturned);
    EXPECT_EQ(1, dialog.shown);
    EXPECT_EQ(1u, printers->printersMade.size());
    EXPECT_FALSE(printBusy);

    // The procedure itself does nothing while its flag is set.
    printBusy = true;
    PrintWindow(window.loadedWindow(), QStringLiteral("frmDetail"), &printBusy);
    EXPECT_EQ(1, dialog.shown);
    EXPECT_TRUE(printBusy);
}

TEST_F(ScreenPrintTest, TheCloseToolAndTheCloseBoxCloseThePreview)
{
    for (bool byTool : {true, false}) {
        bool closed = false;
        QStringList tools;
        ScopedPreviewDriver preview([&](ActiveReport&, QDialog& dialog) {
            for (QAction* a : dialog.findChildren<QAction*>())
                if (a->text() == QStringLiteral("閉じる")) {
                    tools << a->text();
                    if (byTool)
                        a->trigger();
                }
            if (!byTool) {
                dialog.resize(800, 600);   // the maximised window on the offscreen screen
                QCoreApplication::processEvents();
                SaveScreenshot(&dialog, QStringLiteral("screenprint_preview"));
                dialog.close();
            }
            closed = !dialog.isVisible();
        });
        DialogAnswer dialog(kPreview);
        PrintWindow(window.loadedWindow(), QStringLiteral("frmDetail"));
        EXPECT_EQ(QStringList{QStringLiteral("閉じる")}, tools);
        EXPECT_TRUE(closed) << byTool;
    }
}

TEST_F(ScreenPrintTest, NoDataAndEngineErrorsEndTheRunWithTheirMessages)
{
    Report& report = gReport();
    report.setCaption(QStringLiteral("画面印刷"));
    report.setDataRowCount(0);
    {
        ScriptedMsgBox boxes;
        boxes.expect(QStringLiteral("画面印刷"), vbOK, QStringLiteral("印刷データがありません。"));
        report.PrintReport(false);
        EXPECT_EQ(vbInformation, boxes.shown()[0].style);
    }
    EXPECT_TRUE(printers->printersMade.empty());
    EXPECT_EQ(0, report.mousePointer());
    report.unload();

    // No printer on this computer: the engine's error, in the report's own words.
    printers->devices.clear();
    printers->defaultName.clear();
    ScriptedMsgBox boxes;
    boxes.expect(QStringLiteral("画面印刷"), vbOK);
    DialogAnswer dialog(kPrint);
    PrintWindow(window.loadedWindow(), QStringLiteral("frmDetail"));
    ASSERT_EQ(1u, boxes.shown().size());
    EXPECT_EQ(QStringLiteral("[Error:482]  使用できるプリンタがありません。"), boxes.shown()[0].text);
    EXPECT_EQ(vbCritical, boxes.shown()[0].style);
}

TEST_F(ScreenPrintTest, APageWiderThanThePaperKeepsTheEnginesMargins)
{
    Report& report = gReport();
    report.Image1().width = 20000;
    report.printer().setOrientation(2);
    ScriptedMsgBox boxes;   // no margin message
    ScopedPreviewDriver preview([&](ActiveReport& r, QDialog&) {
        EXPECT_EQ(1440, r.pageSettings().leftMargin());
        EXPECT_EQ(1440, r.pageSettings().rightMargin());
    });
    report.Show(1);
    report.unload();
}
