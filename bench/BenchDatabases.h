#pragma once
// What the benchmarks do to database files outside the program: build one from a schema script,
// build a whole program folder, set pragmas, compare or digest the three pattern tables, and read back what a
// file holds besides its rows (size, page size, free pages).
#include <QString>
#include <QStringList>

struct sqlite3;

// A fresh database at path from the SQL script (an existing file is replaced), with pages of
// pageSize bytes when it is given (else as the script says). Returns the empty text, or what failed.
QString BuildDatabase(const QString& path, const QString& script, int pageSize = 0);

// Runs each pragma ("cache_size=-65536") as PRAGMA schema.P on the connection. A setting that
// SQLite does not know (reading it back gives no row) is refused, as a failed one is. Returns the
// empty text, or what failed.
QString RunPragmas(sqlite3* db, const QString& schema, const QStringList& pragmas);

// A program folder as the build makes it: Panelo2.mdb and Panelo2保存.mdb from schema/ (pages of
// pageSize bytes when it is given), the files of data/ beside them. Returns the empty text, or
// what failed.
QString BuildProgramFolder(const QString& folder, int pageSize = 0);

// The empty text when パターン, パターン母材 and パターン部材 of both files hold the same rows in the
// same order (every column, doubles to the last bit); otherwise where they first differ.
QString ComparePatternTables(const QString& path, const QString& otherPath);

// SHA-1 (hex) over the rows of パターン, パターン母材 and パターン部材 in rowid order, every column with
// its type (doubles to the last bit): files with equal digests hold the same tables, whatever
// their page size. The empty text when the file cannot be read.
QString PatternTablesDigest(const QString& path);

// A database file's size, its page size and its free pages (PRAGMA freelist_count); all 0 when
// it cannot be read.
struct DatabaseFacts {
    qint64 bytes = 0;
    int pageSize = 0;
    qint64 freePages = 0;
};
DatabaseFacts ReadDatabaseFacts(const QString& path);
