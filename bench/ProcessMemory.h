#pragma once
// This process's resident memory as Linux reports it in /proc/self/status, in MB: now (VmRSS)
// and the most it has held so far (VmHWM). 0 where the file cannot be read.
#include <QFile>
#include <QString>

inline double residentMb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toDouble() / 1024;   // kB
    return 0;
}
inline double residentNowMb() { return residentMb("VmRSS"); }
inline double residentPeakMb() { return residentMb("VmHWM"); }
