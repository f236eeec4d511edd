// Panelo2: a cutting-layout planner. No command-line options.
#include "app/Startup.h"
#include "app/frmTavo.h"
#include "foundation/ErrLog.h"
#include "platform/gui/GuiApplication.h"
#include "platform/gui/Handler.h"
#include "ui/UiSetup.h"

int main(int argc, char** argv)
{
    GuiApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);   // the program ends when the main window unloads
    SetupUi();
    bool lives = false;
    try {
        lives = Main();
    } catch (const std::exception& e) {
        SetErrLog(DescribeError(e), QStringLiteral("mdlMain"), QStringLiteral("Main"));
    }
    if (!lives)
        return 0;
    QObject::connect(&gTavo(), &Form::unloaded, &app, &QCoreApplication::quit);
    return app.exec();
}
