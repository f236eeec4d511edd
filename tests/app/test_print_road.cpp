// The main window prints itself: the confirmation dialog, a landscape job under "画面印刷",
// and the busy flag that refuses closing and the other commands meanwhile.
#include "tests/app/MainWindowFixture.h"

#include "platform/gui/Events.h"
#include "printing/fDlgPrint.h"
#include "printing/frmSysPrintList.h"
#include "tests/printing/PrintingTestSupport.h"

namespace {

class PrintRoadTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        auto fake = std::make_unique<FakePrinterSystem>();
        fake->devices = StandardDevices();
        fake->defaultName = QStringLiteral("Office Laser");
        fake->outputDir = jobs_.path();
        printers_ = fake.get();
        previous_ = SetPrinterSystem(std::move(fake));
        SetWaitScale(0.001);
    }
    void TearDown() override
    {
        SetWaitScale(1);
        SetPrinterSystem(std::move(previous_));
        MainWindowTest::TearDown();
    }
    QTemporaryDir jobs_;
    FakePrinterSystem* printers_ = nullptr;
    std::unique_ptr<PrinterSystem> previous_;
};

TEST_F(PrintRoadTest, TheWindowPrintsWhileItsOtherCommandsAndItsCloseWait)
{
    bool busyWhilePrinting = false, stayedOpen = false;
    ModalScript modal;
    modal.on(QStringLiteral("fDlgPrint"), [&](Form& f) {
        busyWhilePrinting = tavo().Busy;
        click(tavo().lbutClose);                 // refused while the window prints
        stayedOpen = tavo().isLoaded();
        auto& d = static_cast<fDlgPrint&>(f);
        for (int i = 0; i < d.buttonCount(); ++i)
            if (d.cmdButton[size_t(i)]->caption() == QStringLiteral("印\u3000刷"))
                click(d.cmdButton[size_t(i)]);
    });
    click(tavo().lbutPrint);
    EXPECT_TRUE(busyWhilePrinting);
    EXPECT_TRUE(stayedOpen);
    EXPECT_FALSE(tavo().Busy);
    ASSERT_EQ(1u, printers_->printersMade.size());
    EXPECT_EQ(2, printers_->printersMade[0].orientation);
    EXPECT_EQ(QStringLiteral("画面印刷"), printers_->printersMade[0].documentName);
    EXPECT_EQ(1, modal.shown(QStringLiteral("fDlgPrint")));
}

TEST_F(PrintRoadTest, ThePrinterSettingsButtonOpensTheList)
{
    ModalScript modal;
    modal.on(QStringLiteral("frmSysPrintList"), [](Form& f) { f.unload(); });
    click(tavo().lbutPriMst);
    EXPECT_EQ(1, modal.shown(QStringLiteral("frmSysPrintList")));
}

} // namespace
