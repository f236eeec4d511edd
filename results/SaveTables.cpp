#include "results/SaveTables.h"

#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "ui/LoggedCall.h"

namespace {

const QString kSaveList = QStringLiteral("保存パターンリスト");
const QString kWorkList = QStringLiteral("パターンリスト");

QString numberLiteral(int32_t number) { return gBase().CvtSQL(Variant(number), kSqlLong); }

QString whereNumber(int32_t number) { return QStringLiteral("保存番号=") + numberLiteral(number); }

int execute(const QString& sql) { return gDaoSave().Execute(sql, dbInconsistent); }

}  // namespace

const std::vector<SaveTable>& SaveTables()
{
    static const std::vector<SaveTable> tables = {
        {"SaveHozonSystem", "SetHozonSystem", "DelHozonSystem", QStringLiteral("保存システム設定"),
         QStringLiteral("システム設定"),
         {QStringLiteral("切取補助線"), QStringLiteral("切取位置"), QStringLiteral("部材切取順序"),
          QStringLiteral("部材切取順序詳細"), QStringLiteral("回転方式"), QStringLiteral("スリット"),
          QStringLiteral("表示サイズ"), QStringLiteral("表示母材"), QStringLiteral("表示リスト"),
          QStringLiteral("並び替え項目")}},
        {"SaveHozonPatern", "SetHozonPatern", "DelHozonPatern", QStringLiteral("保存パターン"), QStringLiteral("パターン"),
         {QStringLiteral("パターン番号"), QStringLiteral("パターン種別"), QStringLiteral("優先順位"),
          QStringLiteral("母材使用数"), QStringLiteral("部材切取数"), QStringLiteral("平均使用率"),
          QStringLiteral("平均切代率"), QStringLiteral("平均端材率"), QStringLiteral("平均余材率")}},
        {"SaveHozonPaternList", "SetHozonPaternList", "DelHozonPaternList", kSaveList, kWorkList,
         {QStringLiteral("パターン番号"), QStringLiteral("リスト番号"), QStringLiteral("母材使用数"),
          QStringLiteral("部材切取数"), QStringLiteral("データ")}},
        {"SaveHozonPaternBozai", "SetHozonPaternBozai", "DelHozonPaternBozai", QStringLiteral("保存パターン母材"),
         QStringLiteral("パターン母材"),
         {QStringLiteral("パターン番号"), QStringLiteral("連番"), QStringLiteral("母材番号"), QStringLiteral("枝番"),
          QStringLiteral("最大平方"), QStringLiteral("平方数"), QStringLiteral("使用面積"), QStringLiteral("使用率"),
          QStringLiteral("切代面積"), QStringLiteral("切代率"), QStringLiteral("端材面積"), QStringLiteral("端材率"),
          QStringLiteral("余材面積"), QStringLiteral("余材率")}},
        {"SaveHozonPaternBuzai", "SetHozonPaternBuzai", "DelHozonPaternBuzai", QStringLiteral("保存パターン部材"),
         QStringLiteral("パターン部材"),
         {QStringLiteral("パターン番号"), QStringLiteral("連番"), QStringLiteral("母材番号"), QStringLiteral("部材番号"),
          QStringLiteral("枝番"), QStringLiteral("開始横"), QStringLiteral("開始縦"), QStringLiteral("終了横"),
          QStringLiteral("終了縦"), QStringLiteral("色")}},
        {"SaveHozonSetting", "SetHozonSetting", "DelHozonSetting", QStringLiteral("保存設定"), QStringLiteral("設定"),
         {QStringLiteral("ライン"), QStringLiteral("ライン幅")}},
        {"SaveHozonBozai", "SetHozonBozai", "DelHozonBozai", QStringLiteral("保存母材"), QStringLiteral("母材"),
         {QStringLiteral("母材番号"), QStringLiteral("幅"), QStringLiteral("長さ"), QStringLiteral("数"),
          QStringLiteral("色"), QStringLiteral("色値"), QStringLiteral("予備")}},
        {"SaveHozonBuzai", "SetHozonBuzai", "DelHozonBuzai", QStringLiteral("保存部材"), QStringLiteral("部材"),
         {QStringLiteral("部材番号"), QStringLiteral("幅"), QStringLiteral("長さ"), QStringLiteral("数"),
          QStringLiteral("色"), QStringLiteral("色値"), QStringLiteral("回転")}},
    };
    return tables;
}

bool SaveCopyStep(const SaveTable& t, int32_t number)
{
    if (gBase().CvtLng(gDaoSave().Lookup(t.copyTable, QStringLiteral("COUNT(*)"), whereNumber(number))) != 0) {
        // Only a failed statement counts here: rows it could not remove would mix with the copy.
        if (execute(QStringLiteral("DELETE FROM ") + t.copyTable + QStringLiteral(" WHERE ") + whereNumber(number)) < 0)
            return false;
    }
    const QString columns = t.columns.join(QLatin1Char(','));
    const QString sql = QStringLiteral("INSERT INTO ") + t.copyTable + QStringLiteral(" (保存番号,") + columns +
                        QStringLiteral(") SELECT ") + QString::number(number) + QStringLiteral(" AS 保存番号,") + columns +
                        QStringLiteral(" FROM ") + t.workTable + QStringLiteral(" ORDER BY rowid");
    return execute(sql) > 0;
}

bool RecallStep(const SaveTable& t, int32_t number)
{
    if (execute(QStringLiteral("DELETE FROM ") + t.workTable) < 0)
        return false;   // rows it could not remove would mix with the recalled ones
    if (t.workTable == kWorkList)
        return true;
    const QString columns = t.columns.join(QLatin1Char(','));
    const QString sql = QStringLiteral("INSERT INTO ") + t.workTable + QStringLiteral(" (") + columns +
                        QStringLiteral(") SELECT ") + columns + QStringLiteral(" FROM ") + t.copyTable +
                        QStringLiteral(" WHERE ") + whereNumber(number) + QStringLiteral(" ORDER BY rowid");
    return execute(sql) > 0;
}

bool DeleteStep(const QString& table, int32_t number)
{
    const int deleted = execute(QStringLiteral("DELETE FROM ") + table + QStringLiteral(" WHERE ") + whereNumber(number));
    return table == kSaveList ? deleted >= 0 : deleted > 0;
}

bool RunSaveTransaction(const QString& module, const std::vector<SaveStep>& steps)
{
    if (!RunLogged(module, "BeginTrans", [] { gDaoSave().BeginTrans(); }))
        return false;
    bool ok = true;
    for (const SaveStep& step : steps) {
        ok = RunLogged(module, step.procedure, step.run);
        if (!ok)
            break;
    }
    if (ok)
        ok = RunLogged(module, "CommitTrans", [] { gDaoSave().CommitTrans(); });
    if (!ok)
        RunLogged(module, "RollbackTrans", [] { gDaoSave().RollbackTrans(); });
    return ok;
}
