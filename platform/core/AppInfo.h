#pragma once
// What the application object knows of the program: its folder and its executable's name.
#include <QString>

QString AppPath();          // the program folder (the executable's folder), without a trailing "/"
QString AppExeName();       // the executable's name without extension ("Panelo2")
QString AppLockPath();      // the program folder's instance lock: the executable's name and ".lock"
// Tests and tools point the program folder elsewhere; an empty text restores the default.
void SetAppPath(const QString& folder);
void SetAppExeName(const QString& name);
