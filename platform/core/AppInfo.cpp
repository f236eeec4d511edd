#include "platform/core/AppInfo.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
QString& pathOverride() { static QString s; return s; }
QString& nameOverride() { static QString s; return s; }
}

QString AppPath()
{
    if (!pathOverride().isEmpty())
        return pathOverride();
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

QString AppExeName()
{
    if (!nameOverride().isEmpty())
        return nameOverride();
    if (QCoreApplication::instance())
        return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).completeBaseName();
}

QString AppLockPath() { return AppPath() + QLatin1Char('/') + AppExeName() + QStringLiteral(".lock"); }

void SetAppPath(const QString& folder) { pathOverride() = folder; }
void SetAppExeName(const QString& name) { nameOverride() = name; }
