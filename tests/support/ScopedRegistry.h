#pragma once
// Points the registry's two roots at files of a test for a scope, with the application settings
// read afresh from them; restores the default roots and drops the settings at the end.
#include "foundation/cApl.h"
#include "platform/core/Registry.h"

#include <QString>

class ScopedRegistry {
public:
    ScopedRegistry(const QString& localMachineFile, const QString& currentUserFile)
    {
        reg::SetRootFile(reg::Root::LocalMachine, localMachineFile);
        reg::SetRootFile(reg::Root::CurrentUser, currentUserFile);
        ReleaseApl();
    }
    ~ScopedRegistry()
    {
        ReleaseApl();
        reg::SetRootFile(reg::Root::LocalMachine, QString());
        reg::SetRootFile(reg::Root::CurrentUser, QString());
    }
    ScopedRegistry(const ScopedRegistry&) = delete;
    ScopedRegistry& operator=(const ScopedRegistry&) = delete;
};

// The line colours the build ships beside the program.
inline QString ShippedLocalMachineFile() { return QStringLiteral(PANELO2_SCHEMA_DIR "/../data/HKEY_LOCAL_MACHINE.reg"); }
