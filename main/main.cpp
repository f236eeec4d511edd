// Panelo2: a cutting-layout planner. No command-line options. The exit status is 0 after a run
// and after a second start that handed over to the running instance, 1 after a failed start.
#include "app/Startup.h"
#include "app/frmTavo.h"
#include "platform/gui/GuiApplication.h"
#include "ui/LoggedCall.h"
#include "ui/UiSetup.h"

int main(int argc, char** argv)
{
    GuiApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);   // the program ends when the main window unloads
    SetupUi();
    StartResult start = StartResult::Failed;
    RunLogged(QStringLiteral("mdlMain"), "Main", [&] {
        start = Main();
    });
    int status = start == StartResult::SecondStart ? 0 : 1;
    if (start == StartResult::Runs) {
        QObject::connect(&gTavo(), &Form::unloaded, &app, &QCoreApplication::quit);
        status = app.exec();
    }
    ReleaseInstanceLock();   // while the application object still lives
    return status;
}
