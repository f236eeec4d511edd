#pragma once
// Shared by the framework's widget tests: the look, a fresh program folder for the error log,
// and the registry of the system pointed at a file of that folder.
#include "foundation/cApl.h"
#include "platform/core/Registry.h"
#include "tests/platform_gui/GuiTestUtil.h"
#include "tests/support/ScopedRegistry.h"
#include "tests/support/DbFixture.h"
#include "tests/support/Press.h"

#include <optional>
#include <QCoreApplication>
#include <QEvent>

class UiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        registry_.emplace(fx_.path(QStringLiteral("hklm.reg")), fx_.path(QStringLiteral("hkcu.reg")));
    }
    void TearDown() override
    {
        registry_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // The colours the program ships, for the windows that colour their buttons by role.
    void useShippedColours()
    {
        reg::SetRootFile(reg::Root::LocalMachine, ShippedLocalMachineFile());
        ReleaseApl();
    }
    QStringList logLines() const
    {
        const QString log = fx_.errLog();
        return log.isEmpty() ? QStringList() : log.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
    DbFixture fx_{false};
    std::optional<ScopedRegistry> registry_;
};
