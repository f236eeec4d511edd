// Transactions of the shared connection (dbtrans in Database.h): BEGIN at the first level, a
// savepoint at every level inside it, the statements of each level prepared once.
#include "platform/core/Connection.h"

using namespace dbcore;

namespace dbtrans {

// Runs the cached statement of a transaction level: `first` at level 0, else `nested` with the
// level for %1.
void runLevelStatement(Connection& c, std::vector<sqlite3_stmt*>& cache, int level, const char* first,
                       const char* nested)
{
    if (cache.size() <= size_t(level))
        cache.resize(size_t(level) + 1, nullptr);
    sqlite3_stmt*& st = cache[size_t(level)];
    if (!st)
        st = prepareRaw(c.db, level == 0 ? QString::fromLatin1(first) : QString::fromLatin1(nested).arg(level));
    const int rc = sqlite3_step(st);
    if (rc != SQLITE_DONE) {
        const DbError e(sqlite3_extended_errcode(c.db), errText(c.db));
        sqlite3_reset(st);
        throw e;
    }
    sqlite3_reset(st);
}

void begin()
{
    Connection& c = conn();
    if (!c.db)
        throw DbError(3420, QStringLiteral("The database is not open."));
    if (c.depth > 0 && sqlite3_get_autocommit(c.db))
        c.depth = 0;   // the engine rolled the transaction back itself (after an I/O failure)
    runLevelStatement(c, c.opening, c.depth, "BEGIN", "SAVEPOINT sp%1");
    ++c.depth;
}

// The open transaction; throws when there is none.
Connection& current()
{
    Connection& c = conn();
    if (!c.db || c.depth == 0)
        throw DbError(3034, QStringLiteral("You tried to commit or rollback a transaction without first "
                                           "beginning a transaction."));
    return c;
}

void commit()
{
    Connection& c = current();
    if (sqlite3_get_autocommit(c.db)) {
        c.depth = 0;
        throw DbError(3034, QStringLiteral("The transaction was rolled back by the database engine."));
    }
    runLevelStatement(c, c.closing, c.depth - 1, "COMMIT", "RELEASE sp%1");
    --c.depth;
}

void rollback()
{
    Connection& c = current();
    if (sqlite3_get_autocommit(c.db)) {
        c.depth = 0;
        return;
    }
    if (c.depth == 1)
        execRaw(c.db, QStringLiteral("ROLLBACK"));
    else
        execRaw(c.db, QStringLiteral("ROLLBACK TO sp%1; RELEASE sp%1").arg(c.depth - 1));
    --c.depth;
}

int depth() { return conn().depth; }

} // namespace dbtrans
