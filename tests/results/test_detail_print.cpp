// The detail window's print button: the window printed once as a screen image, the window kept
// open while its print runs.
#include "platform/gui/Events.h"
#include "printing/fDlgPrint.h"
#include "results/Report.h"
#include "tests/printing/PrintingTestSupport.h"
#include "tests/results/test_detail_fixture.h"

class DetailPrintTest : public PrintingTest {
protected:
    void SetUp() override
    {
        PrintingTest::SetUp();
        SetUpDetailPattern();
        SetWaitScale(0.001);
    }
    void TearDown() override
    {
        SetWaitScale(1);
        gDetail().unload();
        if (gReport().isLoaded())
            gReport().unload();
        ClearDetailEngine();
        PrintingTest::TearDown();
    }
};

TEST_F(DetailPrintTest, ThePrintButtonPrintsTheWindowOnceAndTheWindowStaysWhileItPrints)
{
    frmDetail& d = gDetail();
    d.load();
    d.loadedWindow()->resize(1000, 680);
    d.show();
    int shown = 0;
    bool closedWhilePrinting = true;
    ModalScript modal;
    modal.on(QStringLiteral("fDlgPrint"), [&](Form& f) {
        ++shown;
        closedWhilePrinting = d.unload();   // the main window closing it meanwhile
        auto& dialog = static_cast<fDlgPrint&>(f);
        for (int i = 0; i < dialog.buttonCount(); ++i)
            if (dialog.cmdButton[size_t(i)]->caption() == QStringLiteral("印\u3000刷"))
                Click(dialog.cmdButton[size_t(i)]);
    });
    Click(d.lbutPrint);
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(closedWhilePrinting);
    EXPECT_EQ(printers->printersMade.size(), 1u);
    EXPECT_FALSE(d.PrintBusy);
    EXPECT_TRUE(d.unload());
    EXPECT_TRUE(fx_.errLog().isEmpty()) << fx_.errLog().toStdString();
}
