#include "foundation/ErrLog.h"

#include "foundation/Globals.h"
#include "foundation/cFile.h"
#include "platform/core/AnsiText.h"
#include "platform/core/AppInfo.h"
#include "platform/core/MsgBox.h"
#include "platform/core/RunTimeErrors.h"

#include <QDateTime>
#include <QFile>
#include <cerrno>

void SetErrLog(const QString& description, const QString& module, const QString& procedure)
{
    QFile file(gFile().MakeFullPath(AppPath(), QStringLiteral("ErrLog.txt")));
    int failure = 0;   // the run-time error that ends the attempt
    if (module.size() > 20 || procedure.size() > 30) {
        failure = 5;
    } else if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        failure = FileErrorNumber(errno);
    } else {
        const QString line = QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) +
                             QLatin1Char(',') + module.leftJustified(20) + QLatin1Char(',') +
                             procedure.leftJustified(30) + QLatin1Char(',') + description + QStringLiteral("\r\n");
        const QByteArray bytes = ToAnsi(line);
        errno = 0;
        if (file.write(bytes) != bytes.size() || !file.flush())
            failure = FileErrorNumber(errno);
        file.close();
    }
    if (failure != 0)
        MsgBox(QStringLiteral("ファイルへの書込みに失敗しました。\r\n") + RunTimeErrorText(failure), vbCritical,
               QStringLiteral("SetErrLog"));
}
