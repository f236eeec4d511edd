#include "ui/UiSetup.h"

#include "foundation/ErrLog.h"
#include "foundation/cBase.h"
#include "platform/gui/GuiSetup.h"
#include "platform/gui/Handler.h"
#include "platform/gui/MsgBoxScreen.h"
#include "platform/gui/NumberFormat.h"

void SetupUi()
{
    SetupGuiPlatform();
    InstallScreenMsgBox();
    SetNumberFormatter([](double value, const QString& pattern) { return FormatNumber(value, pattern); });
    // The log's fields are fixed-width: longer names are cut rather than refused.
    SetHandlerErrorSink([](const QString& description, const QString& module, const QString& procedure) {
        SetErrLog(description, module.left(20), procedure.left(30));
    });
}
