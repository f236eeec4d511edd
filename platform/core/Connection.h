#pragma once
// The one SQLite connection that every database file shares (the first file opened is its schema
// "main", every further file is attached to it), and the calls the database layer's files make on
// it: preparing and running SQL, and raising the engine's error as a DbError. For the files of the
// database layer only; everybody else uses Database.h.
#include "platform/core/Database.h"

#include <QString>
#include <sqlite3.h>
#include <vector>

namespace dbcore {

struct Connection {
    sqlite3* db = nullptr;
    std::vector<Database*> open;     // files on the connection, in attach order (main first)
    int nextSchema = 1;
    int depth = 0;                   // transaction depth (1 = BEGIN, more = savepoints)
    // The statements that open and close a transaction level, per depth, prepared on first use:
    // a caller may open and close savepoints thousands of times a second.
    std::vector<sqlite3_stmt*> opening, closing;
};

// Closes the connection, its cached statements first.
void closeConnection(Connection& c);
Connection& conn();             // the one connection, never destroyed
QString errText(sqlite3* db);   // the connection's last error message
[[noreturn]] void raise(sqlite3* db, int rc);
// Prepares one statement; `tail` receives where the next statement of `sql` begins.
sqlite3_stmt* prepareRaw(sqlite3* db, const QString& sql, const char** tail = nullptr);
void execRaw(sqlite3* db, const QString& sql);   // runs statements that return no rows; throws DbError

// Finalizes a statement at the end of its scope.
struct StmtGuard {
    sqlite3_stmt* st;
    ~StmtGuard() { sqlite3_finalize(st); }
};

}  // namespace dbcore
