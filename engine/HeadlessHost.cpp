#include "engine/HeadlessHost.h"

#include "foundation/Globals.h"
#include "foundation/cDao.h"

Variant RecordsetRows::value(int row, const QString& column) const
{
    rs_.setAbsolutePosition(row);
    return rs_.field(column);
}

void RecordsetRows::setValue(int row, const QString& column, const Variant& value)
{
    rs_.setAbsolutePosition(row);
    rs_.edit();
    rs_.setField(column, value);
    rs_.update();
}

HeadlessHost::HeadlessHost(int32_t kerfWidth, int32_t kerfColor) : kerfWidth_(kerfWidth), kerfColor_(kerfColor)
{
    Reload();
}

void HeadlessHost::Reload()
{
    cDao& dao = gDao();
    stock_ = RecordsetRows(dao.OpenRecordset(QStringLiteral("SELECT * FROM 母材 WHERE 母材番号 <= 5 ORDER BY 母材番号"),
                                             dbOpenDynaset, 0, dbOptimistic));
    parts_ = RecordsetRows(dao.OpenRecordset(QStringLiteral("SELECT * FROM 部材 WHERE 部材番号 <= 12 ORDER BY 部材番号"),
                                             dbOpenDynaset, 0, dbOptimistic));
}
