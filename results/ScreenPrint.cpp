#include "results/ScreenPrint.h"

#include "foundation/Globals.h"
#include "foundation/cDao.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Events.h"
#include "platform/gui/WindowCapture.h"
#include "printing/cPrinter.h"
#include "results/Report.h"
#include "ui/LoggedCall.h"
#include "ui/mdlMain.h"

#include <QWidget>
#include <memory>

namespace {

// Clears a busy flag when the scope ends, also by an error.
struct BusyScope {
    bool* flag;
    ~BusyScope()
    {
        if (flag)
            *flag = false;
    }
};

void printNow(QWidget* window, const QString& module)
{
    std::unique_ptr<cPrinter> printer;
    RunLogged(module, "PrintWindow", [&] {
        const QImage picture = ScreenPicture(window);
        DoEvents();
        ReportImage& image = gReport().Image1();
        image.width = 13333.0;
        image.height = 10000.0;
        image.sizeMode = ddSMZoom;   // the whole copy, in its own proportions, centred
        image.picture = picture;
        printer = std::make_unique<cPrinter>();
        printer->setReportName(QStringLiteral("画面印刷"));
        printer->setActiveReport(&gReport());
        printer->PrintOrientation = 2;
        printer->setKind(1);
        printer->setDatabase(gDao().CurrentDB());
        bool noDialog = false;
        printer->PrintDialog(noDialog);
    });
}

}  // namespace

QImage ScreenPicture(QWidget* window)
{
    // The picture box is cleared to its back colour; the copy covers all of it but the 4 extra
    // pixels at the right and bottom.
    DoEvents();
    return CaptureWindow(window, 4, ToQColor(kSysBtnFace));
}

void PrintWindow(QWidget* window, const QString& module, bool* printBusy)
{
    if (printBusy) {
        if (*printBusy)
            return;
        *printBusy = true;
    }
    BusyScope scope{printBusy};
    printNow(window, module);
}

void ScreenPrint(QWidget* window, const QString& module, bool* printBusy)
{
    const bool already = printBusy && *printBusy;
    if (printBusy)
        *printBusy = true;
    BusyScope scope{already ? nullptr : printBusy};
    RunLogged(module, "lbutPrint_Click", [&] {
        BringToFront(window);
        Wait(1, true);
        if (!already)
            printNow(window, module);
    });
}
