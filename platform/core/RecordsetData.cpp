#include "platform/core/RecordsetData.h"

#include "platform/core/Connection.h"
#include "platform/core/SqlText.h"

using namespace dbcore;

void RecordsetData::load()
{
    sqlite3* db = conn().db;
    if (!db)
        throw DbError(3420, QStringLiteral("The database is not open."));
    rows.clear();
    names.clear();
    kinds.clear();
    updatable = false;
    const QString translated = translateSql(sql);
    QString effective = translated;

    if (wantUpdatable) {
        // A recordset over one table is updatable: read the rowid with every row.
        sqlite3_stmt* probe = prepareRaw(db, translated);
        StmtGuard g{probe};
        const int n = sqlite3_column_count(probe);
        bool oneTable = n > 0;
        QString tbl, sch;
        QStringList orig;
        for (int i = 0; i < n && oneTable; ++i) {
            const char* t = sqlite3_column_table_name(probe, i);
            const char* s = sqlite3_column_database_name(probe, i);
            const char* o = sqlite3_column_origin_name(probe, i);
            if (!t || !s || !o) {
                oneTable = false;
                break;
            }
            if (i == 0) {
                tbl = QString::fromUtf8(t);
                sch = QString::fromUtf8(s);
            } else if (tbl != QString::fromUtf8(t) || sch != QString::fromUtf8(s)) {
                oneTable = false;
            }
            orig << QString::fromUtf8(o);
        }
        const qsizetype at = translated.indexOf(QLatin1String("select"), 0, Qt::CaseInsensitive);
        if (oneTable && at >= 0 && translated.left(at).trimmed().isEmpty()) {
            const QString rest = translated.mid(at + 6);
            if (!rest.trimmed().startsWith(QLatin1String("distinct"), Qt::CaseInsensitive)) {
                effective = QStringLiteral("SELECT ") + quoteIdent(tbl) + QStringLiteral(".rowid,") + rest;
                updatable = true;
                schema = sch;
                table = tbl;
                origins = orig;
            }
        }
    }

    sqlite3_stmt* st = nullptr;
    try {
        st = prepareRaw(db, effective);
    } catch (const DbError&) {
        if (!updatable)
            throw;
        updatable = false;
        st = prepareRaw(db, translated);
    }
    StmtGuard g{st};
    const int first = updatable ? 1 : 0;
    const int n = sqlite3_column_count(st);
    for (int i = first; i < n; ++i) {
        names << QString::fromUtf8(sqlite3_column_name(st, i));
        kinds.push_back(kindOf(sqlite3_column_decltype(st, i)));
    }
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        RecordsetRow row;
        row.rowid = updatable ? sqlite3_column_int64(st, 0) : 0;
        row.bookmark = nextBookmark++;
        row.values.reserve(size_t(n - first));
        for (int i = first; i < n; ++i)
            row.values.push_back(columnValue(st, i, kinds[size_t(i - first)]));
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        raise(db, rc);
}

RecordsetRow RecordsetData::readRow(sqlite3_int64 rowid) const
{
    sqlite3* db = conn().db;
    QStringList cols;
    for (const QString& o : origins)
        cols << quoteIdent(o);
    sqlite3_stmt* st = prepareRaw(db, QStringLiteral("SELECT ") + cols.join(QLatin1Char(',')) + QStringLiteral(" FROM ") +
                                          quoteIdent(schema) + QLatin1Char('.') + quoteIdent(table) +
                                          QStringLiteral(" WHERE rowid=?1"));
    StmtGuard g{st};
    sqlite3_bind_int64(st, 1, rowid);
    RecordsetRow row;
    row.rowid = rowid;
    if (sqlite3_step(st) == SQLITE_ROW)
        for (int i = 0; i < int(origins.size()); ++i)
            row.values.push_back(columnValue(st, i, kinds[size_t(i)]));
    else
        row.values.assign(size_t(origins.size()), Variant::null());
    return row;
}
