#pragma once
// The error log ErrLog.txt in the program folder: one CP932 line per unexpected failure.
#include <QString>

void SetErrLog(const QString& description, const QString& module, const QString& procedure);
