#include "printing/PrinterTable.h"

#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "foundation/cFile.h"
#include "foundation/cIni.h"
#include "foundation/cSystem.h"
#include "platform/core/AppInfo.h"

int16_t PrinterOsFlag() { return cSystem().IsWindowsNT() ? 1 : 2; }

QString PrinterNameColumn(int16_t osFlag)
{
    return osFlag == 1 ? QStringLiteral("PrinterNameNT") : QStringLiteral("PrinterName9x");
}

QString PrinterPortColumn(int16_t osFlag)
{
    return osFlag == 1 ? QStringLiteral("PrinterPortNT") : QStringLiteral("PrinterPort9x");
}

const std::vector<std::pair<int, QString>>& PrintModeNames()
{
    static const std::vector<std::pair<int, QString>> names = {
        {0, QStringLiteral("選択")}, {1, QStringLiteral("印刷")}, {2, QStringLiteral("プレビュー")},
        {3, QStringLiteral("選択+PDF")}, {4, QStringLiteral("全て")}, {9, QStringLiteral("確認なし")},
    };
    return names;
}

QString ReportIniPath() { return gFile().MakeFullPath(AppPath(), AppExeName() + QStringLiteral(".ini")); }

std::vector<std::pair<int, QString>> IniReportNames()
{
    cIni& ini = gIni();
    ini.setPro_IniPath(ReportIniPath());
    std::vector<std::pair<int, QString>> names;
    for (int n = 1;; ++n) {
        const QString key = QStringLiteral("ReportName") + QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
        const QString value = ini.GetSetIniStr(QStringLiteral("ReportNames"), key, QString());
        if (value.isEmpty())
            break;
        names.emplace_back(n, gBase().PickString(value, 1, 50));
    }
    return names;
}

bool WritePrinterRow(const QString& sql)
{
    gDao().BeginTrans();
    if (gDao().Execute(sql, dbFailOnError) > 0) {
        gDao().CommitTrans();
        return true;
    }
    gDao().RollbackTrans();
    return false;
}
