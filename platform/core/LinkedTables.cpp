// The linked tables of a database file (Database.h): the table LinkedTables of a file names, for
// each link, the file and the table it stands for.
#include "platform/core/ColumnValues.h"
#include "platform/core/Connection.h"
#include "platform/core/SqlText.h"

#include <QFileInfo>

using namespace dbcore;

namespace {
const QString kLinkTable = QStringLiteral("LinkedTables");
}

Database::TableDef Database::tableDef(const QString& name) const
{
    sqlite3* db = conn().db;
    if (hasTable(kLinkTable)) {
        sqlite3_stmt* st = prepareRaw(db, QStringLiteral("SELECT Connect, SourceTableName FROM ") + quoteIdent(schema_) +
                                              QLatin1Char('.') + kLinkTable + QStringLiteral(" WHERE Name=?1"));
        StmtGuard g{st};
        bindValue(db, st, 1, Variant(name));
        if (sqlite3_step(st) == SQLITE_ROW) {
            auto text = [&](int i) {
                const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
                return p ? QString::fromUtf8(p) : QString();
            };
            return {name, text(0), text(1)};
        }
    }
    if (hasTable(name))
        return {name, QString(), name};
    throw DbError(kErrItemNotFound, QStringLiteral("Item not found in this collection."));
}

void Database::setLink(const QString& name, const QString& connect, const QString& sourceTableName)
{
    sqlite3* db = conn().db;
    sqlite3_stmt* st = prepareRaw(db, QStringLiteral("UPDATE ") + quoteIdent(schema_) + QLatin1Char('.') + kLinkTable +
                                          QStringLiteral(" SET Connect=?1, SourceTableName=?2 WHERE Name=?3"));
    StmtGuard g{st};
    bindValue(db, st, 1, Variant(connect));
    bindValue(db, st, 2, Variant(sourceTableName));
    bindValue(db, st, 3, Variant(name));
    if (const int rc = sqlite3_step(st); rc != SQLITE_DONE)
        raise(db, rc);
    if (sqlite3_changes(db) == 0)
        throw DbError(kErrItemNotFound, QStringLiteral("Item not found in this collection."));
}

void Database::refreshLink(const QString& name) const
{
    const TableDef def = tableDef(name);
    if (def.connect.isEmpty())
        return;
    static const QString key = QStringLiteral(";DATABASE=");
    const qsizetype at = def.connect.indexOf(key, 0, Qt::CaseInsensitive);
    if (at < 0)
        throw DbError(3170, QStringLiteral("Could not find installable ISAM."));
    const QString file = def.connect.mid(at + key.size()).trimmed();
    const QFileInfo info(file);
    if (file.isEmpty() || !info.exists())
        throw DbError(3044, QStringLiteral("'%1' is not a valid path.").arg(file));
    // The link is reached by its plain name: the first file on the connection that has a table
    // of that name must be the linked file, and the name must be the source table's.
    const Database* target = nullptr;
    for (const Database* d : conn().open)
        if (QFileInfo(d->path_).canonicalFilePath() == info.canonicalFilePath())
            target = d;
    if (!target)
        throw DbError(3024, QStringLiteral("Could not find file '%1'.").arg(file));
    const Database* first = nullptr;
    for (const Database* d : conn().open)
        if (d != this && d->hasTable(name)) {
            first = d;
            break;
        }
    if (first != target || def.sourceTableName.compare(name, Qt::CaseInsensitive) != 0 ||
        !target->hasTable(def.sourceTableName))
        throw DbError(kErrNoLink,
                      QStringLiteral("The database engine cannot find the input table or query '%1'.").arg(name));
}
