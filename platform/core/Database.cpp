// Database (Database.h): a file opened on the shared connection or attached to it, closed or
// detached again, and the SQL run on it. Its linked tables are in LinkedTables.cpp.
#include "platform/core/Database.h"

#include "platform/core/Connection.h"
#include "platform/core/RecordsetData.h"
#include "platform/core/SqlText.h"

#include <QFileInfo>
#include <algorithm>

using namespace dbcore;

namespace {
// Takes an attached file off the connection; a failure leaves nothing to undo.
void detach(sqlite3* db, const QString& schema)
{
    sqlite3_exec(db, (QStringLiteral("DETACH DATABASE ") + quoteIdent(schema)).toUtf8().constData(), nullptr,
                 nullptr, nullptr);
}
}  // namespace

std::shared_ptr<Database> Database::open(const QString& path, bool exclusive)
{
    const QFileInfo info(path);
    if (path.trimmed().isEmpty() || !info.isFile())
        throw DbError(3024, QStringLiteral("Could not find file '%1'.").arg(path));
    Connection& c = conn();
    const QString canonical = info.canonicalFilePath();
    for (const Database* d : c.open)
        if (QFileInfo(d->path_).canonicalFilePath() == canonical)
            throw DbError(3045, QStringLiteral("Could not use '%1'; file already in use.").arg(path));

    std::shared_ptr<Database> db(new Database);
    db->path_ = info.absoluteFilePath();
    if (!c.db) {
        // One thread at a time uses the connection: SQLite's own lock on it only costs time.
        sqlite3* h = nullptr;
        const int rc = sqlite3_open_v2(uriFor(path).toUtf8().constData(), &h,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
        if (rc != SQLITE_OK) {
            const QString text = h ? errText(h) : QString::fromUtf8(sqlite3_errstr(rc));
            sqlite3_close(h);
            throw DbError(rc, text);
        }
        sqlite3_busy_timeout(h, 2000);
        c.db = h;
        db->schema_ = QStringLiteral("main");
    } else {
        db->schema_ = QStringLiteral("db%1").arg(c.nextSchema++);
        execRaw(c.db, QStringLiteral("ATTACH DATABASE ") + quoteText(uriFor(path)) + QStringLiteral(" AS ") +
                          quoteIdent(db->schema_));
    }
    try {
        // Reading the schema fails for a file that is not a database.
        execRaw(c.db, QStringLiteral("SELECT count(*) FROM ") + quoteIdent(db->schema_) +
                          QStringLiteral(".sqlite_master"));
        execRaw(c.db, QStringLiteral("PRAGMA ") + quoteIdent(db->schema_) + QStringLiteral(".journal_mode=DELETE"));
        // Deleted rows are cleared within the pages a deletion writes anyway, but freed pages are
        // not written again with zeros (as this SQLite is built to by default): emptying a table
        // would otherwise cost as much as writing it twice.
        execRaw(c.db, QStringLiteral("PRAGMA ") + quoteIdent(db->schema_) + QStringLiteral(".secure_delete=FAST"));
        if (exclusive)
            execRaw(c.db, QStringLiteral("PRAGMA ") + quoteIdent(db->schema_) +
                              QStringLiteral(".locking_mode=EXCLUSIVE"));
    } catch (const DbError&) {
        if (db->schema_ == QLatin1String("main") && c.open.empty()) {
            sqlite3_close(c.db);
            c.db = nullptr;
        } else {
            detach(c.db, db->schema_);
        }
        throw;
    }
    db->open_ = true;
    c.open.push_back(db.get());
    return db;
}

Database::~Database() { close(); }

void Database::close()
{
    if (!open_)
        return;
    open_ = false;
    Connection& c = conn();
    c.open.erase(std::remove(c.open.begin(), c.open.end(), this), c.open.end());
    if (schema_ != QLatin1String("main"))
        detach(c.db, schema_);
    if (c.open.empty() && c.db) {
        // The main file stays on the connection until the last file closes.
        closeConnection(c);
        c.depth = 0;
        c.nextSchema = 1;
    }
}

int Database::execute(const QString& sql)
{
    sqlite3* db = conn().db;
    if (!open_ || !db)
        throw DbError(3420, QStringLiteral("The database is not open."));
    const QByteArray utf8 = translateSql(sql).toUtf8();
    const char* p = utf8.constData();
    const char* end = p + utf8.size();
    const sqlite3_int64 before = sqlite3_total_changes64(db);
    while (p < end) {
        sqlite3_stmt* st = nullptr;
        const char* tail = nullptr;
        const int rc = sqlite3_prepare_v2(db, p, int(end - p), &st, &tail);
        if (rc != SQLITE_OK)
            raise(db, rc);
        if (!st)
            break;
        StmtGuard g{st};
        int s;
        while ((s = sqlite3_step(st)) == SQLITE_ROW) {
        }
        if (s != SQLITE_DONE)
            raise(db, s);
        p = tail;
    }
    return int(sqlite3_total_changes64(db) - before);
}

Recordset Database::openRecordset(const QString& sql, bool updatable)
{
    if (!open_)
        throw DbError(3420, QStringLiteral("The database is not open."));
    auto data = std::make_shared<RecordsetData>();
    data->sql = sql;
    data->wantUpdatable = updatable;
    data->load();
    Recordset r;
    r.d_ = data;
    if (!data->rows.empty()) {
        r.pos_ = 0;
        r.bookmark_ = data->rows.front().bookmark;
    }
    return r;
}

Statement Database::prepare(const QString& sql)
{
    if (!open_)
        throw DbError(3420, QStringLiteral("The database is not open."));
    Statement s;
    s.db_ = conn().db;
    s.st_ = prepareRaw(s.db_, translateSql(sql));
    return s;
}

QStringList Database::tableNames() const
{
    QStringList out;
    sqlite3* db = conn().db;
    if (!open_ || !db)
        return out;
    sqlite3_stmt* st = prepareRaw(db, QStringLiteral("SELECT name FROM ") + quoteIdent(schema_) +
                                          QStringLiteral(".sqlite_master WHERE type='table'"));
    StmtGuard g{st};
    while (sqlite3_step(st) == SQLITE_ROW)
        out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    return out;
}

bool Database::hasTable(const QString& name) const
{
    for (const QString& t : tableNames())
        if (t.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}
