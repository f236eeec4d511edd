#pragma once
// Shared by the framework's widget tests: the look, a fresh program folder for the error log,
// and the registry of the system pointed at a file of that folder.
#include "foundation/cApl.h"
#include "platform/core/Registry.h"
#include "tests/platform_gui/GuiTestUtil.h"
#include "tests/support/DbFixture.h"

#include <QCoreApplication>
#include <QEvent>

class UiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        reg::SetRootFile(reg::Root::LocalMachine, fx_.path(QStringLiteral("hklm.reg")));
        reg::SetRootFile(reg::Root::CurrentUser, fx_.path(QStringLiteral("hkcu.reg")));
        ReleaseApl();
    }
    void TearDown() override
    {
        ReleaseApl();
        reg::SetRootFile(reg::Root::LocalMachine, QString());
        reg::SetRootFile(reg::Root::CurrentUser, QString());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // The colours the program ships, for the windows that colour their buttons by role.
    void useShippedColours()
    {
        reg::SetRootFile(reg::Root::LocalMachine, QStringLiteral(PANELO2_SCHEMA_DIR "/../data/HKEY_LOCAL_MACHINE.reg"));
        ReleaseApl();
    }
    QStringList logLines() const
    {
        const QString log = fx_.errLog();
        return log.isEmpty() ? QStringList() : log.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
    DbFixture fx_{false};
};
