#include "results/PartExport.h"

#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "foundation/gui/cFileDlg.h"
#include "platform/core/AnsiText.h"
#include "platform/core/Database.h"
#include "platform/core/MsgBox.h"
#include "platform/gui/Handler.h"
#include "platform/gui/TDBGrid.h"
#include "ui/LoggedCall.h"
#include "ui/mdlMain.h"

#include <QSaveFile>

namespace {
const QString kForm = QStringLiteral("frmDetail");
constexpr int kFirstColumn = 1, kLastColumn = 5;
}  // namespace

QString GetPathSaveTxt(const QString& fileName)
{
    QString path;
    RunLogged(kForm, "GetPathSaveTxt", [&] {
        const QChar nul(0);
        const QString filter = QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ (*.txt)") + nul + QStringLiteral("*.txt") + nul +
                               QStringLiteral("CSV(カンマ区切り) (*.csv)") + nul + QStringLiteral("*.csv") + nul + nul +
                               nul;
        cFileDlg dialog;
        path = dialog.SaveFileDialog(nullptr, GetSpecialFolderPath(0), filter, QStringLiteral("ファイルを保存"),
                                     kOfnOverwritePrompt | kOfnHideReadOnly, fileName, QStringLiteral("txt"));
    });
    return path;
}

QStringList PartTableLines(TDBGrid& grid)
{
    if (!grid.hasRecordset() || grid.rowCount() == 0)
        throw DbError(kErrNoCurrentRecord, QStringLiteral("No current record."));
    const cBase& b = gBase();
    QStringList header;
    for (int c = kFirstColumn; c <= kLastColumn; ++c)
        header << grid.column(c).caption();
    QStringList lines{header.join(QLatin1Char(','))};
    for (int r = 0; r < grid.rowCount(); ++r) {
        const int bookmark = grid.rowBookmark(r);
        QStringList values;
        for (int c = kFirstColumn; c <= kLastColumn; ++c)
            values << b.CvtStr(grid.column(c).cellValue(bookmark));
        lines << QLatin1Char('\'') + values.join(QLatin1Char(','));
    }
    return lines;
}

bool WriteAnsiLines(const QString& path, const QStringList& lines, QString* error)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += ToAnsi(line) + QByteArrayLiteral("\r\n");
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    file.cancelWriting();
    return false;
}

void ExportPartTable(TDBGrid& grid)
{
    const QString path = GetPathSaveTxt(QStringLiteral("Text1"));
    if (path.isEmpty())
        return;
    QString error;
    try {
        if (WriteAnsiLines(path, PartTableLines(grid), &error))
            return;
    } catch (const std::exception& e) {
        error = DescribeError(e);
    }
    MsgBox(QStringLiteral("ファイルへの書込みに失敗しました。") + QStringLiteral("\r\n") + error, vbCritical,
           QStringLiteral("lbutOutput_Click"));
}
