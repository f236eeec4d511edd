#pragma once
// The system's ANSI code page: CP932 (Shift_JIS with the Windows extensions).
#include <QByteArray>
#include <QString>

QByteArray ToAnsi(const QString& text);
QString FromAnsi(const QByteArray& bytes);
int AnsiLength(const QString& text);                        // length in CP932 bytes
