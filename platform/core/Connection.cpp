// The shared connection: its state, its error texts, preparing and running on it, the hook
// that runs while long statements do, and the reset the tests start from.
#include "platform/core/Connection.h"

namespace {

// SQLite's allocation statistics take a global lock on every allocation and nobody reads them.
// They can be switched off only before SQLite's first use, hence at the program's start.
const int kNoAllocationStatistics = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
// What a savepoint must be able to undo (the pages it changes, a few per step of the pattern
// store) is kept in memory up to this size instead of a temporary file from the first 64 KiB on:
// with large pages every savepoint would write a file of its own.
constexpr int kStatementJournalInMemory = 4 << 20;
const int kStatementJournalsInMemory = sqlite3_config(SQLITE_CONFIG_STMTJRNL_SPILL, kStatementJournalInMemory);

}  // namespace

namespace dbcore {

void closeConnection(Connection& c)
{
    for (auto* cache : {&c.opening, &c.closing}) {
        for (sqlite3_stmt* st : *cache)
            sqlite3_finalize(st);
        cache->clear();
    }
    if (c.db)
        sqlite3_close_v2(c.db);
    c.db = nullptr;
}

Connection& conn()
{
    // Never destroyed: database objects may close after other statics are gone.
    static Connection* c = new Connection;
    return *c;
}

QString errText(sqlite3* db) { return QString::fromUtf8(sqlite3_errmsg(db)); }

[[noreturn]] void raise(sqlite3* db, int rc)
{
    throw DbError(db ? sqlite3_extended_errcode(db) : rc, db ? errText(db) : QString::fromUtf8(sqlite3_errstr(rc)));
}

sqlite3_stmt* prepareRaw(sqlite3* db, const QString& sql, const char** tail)
{
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    const char* t = nullptr;
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &st, &t);
    if (rc != SQLITE_OK)
        raise(db, rc);
    if (tail)
        *tail = t;
    return st;
}

void execRaw(sqlite3* db, const QString& sql)
{
    char* err = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const QString text = err ? QString::fromUtf8(err) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_free(err);
        throw DbError(sqlite3_extended_errcode(db), text);
    }
}

}  // namespace dbcore

using namespace dbcore;

sqlite3* SharedConnection() { return conn().db; }

WhileStatementsRun::WhileStatementsRun(int steps, std::function<void()> during) : during_(std::move(during))
{
    sqlite3_progress_handler(conn().db, steps, [](void* self) {
        try {
            static_cast<WhileStatementsRun*>(self)->during_();
        } catch (...) {
        }
        return 0;
    }, this);
}

WhileStatementsRun::~WhileStatementsRun() { sqlite3_progress_handler(conn().db, 0, nullptr, nullptr); }

void ResetDatabaseEngine()
{
    Connection& c = conn();
    for (Database* d : std::vector<Database*>(c.open))
        d->close();
    closeConnection(c);
    c = Connection();
}
