#include "foundation/ErrLog.h"

#include "foundation/Globals.h"
#include "foundation/cFile.h"
#include "platform/core/AnsiText.h"
#include "platform/core/AppInfo.h"
#include "platform/core/MsgBox.h"

#include <QDateTime>
#include <QFile>

void SetErrLog(const QString& description, const QString& module, const QString& procedure)
{
    QFile file(gFile().MakeFullPath(AppPath(), QStringLiteral("ErrLog.txt")));
    QString failure;
    if (module.size() > 20 || procedure.size() > 30) {
        failure = QStringLiteral("Invalid procedure call or argument");
    } else if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        failure = file.errorString();
    } else {
        const QString line = QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) +
                             QLatin1Char(',') + module.leftJustified(20) + QLatin1Char(',') +
                             procedure.leftJustified(30) + QLatin1Char(',') + description + QStringLiteral("\r\n");
        const QByteArray bytes = ToAnsi(line);
        if (file.write(bytes) != bytes.size() || !file.flush())
            failure = file.errorString();
        file.close();
    }
    if (!failure.isEmpty())
        MsgBox(QStringLiteral("ファイルへの書込みに失敗しました。\r\n") + failure, vbCritical, QStringLiteral("SetErrLog"));
}
