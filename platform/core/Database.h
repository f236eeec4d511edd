#pragma once
// The database engine: SQLite files on one process-wide connection. The first file opened
// is schema "main"; every further file is ATTACHed to the same connection, so an unqualified
// table name reaches the first file's tables and one transaction covers all files. One thread
// at a time may use the connection and what comes from it (it runs without SQLite's own lock).
//
// Where it is: Database.cpp (a file on the connection), LinkedTables.cpp, Recordset.cpp over the
// rows of RecordsetData, Statement.cpp, Transactions.cpp, ClosedDatabaseFile.cpp (a file not on
// the connection); Connection, SqlText and ColumnValues are what they share.
#include "platform/core/Variant.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// An engine error: a number and a description, as the forms run time's Err object gives them.
class DbError : public std::runtime_error {
public:
    DbError(int number, const QString& description)
        : std::runtime_error(description.toStdString()), number_(number), description_(description) {}
    int number() const { return number_; }
    const QString& description() const { return description_; }

private:
    int number_;
    QString description_;
};

// Error numbers raised by recordsets (those of the original engine, so messages read alike).
enum DbErrorNumber { kErrNoCurrentRecord = 3021, kErrItemNotFound = 3265, kErrNotUpdatable = 3027,
                     kErrRecordDeleted = 3167, kErrNoLink = 3078 };

class RecordsetData;
class Database;

// A materialised recordset: the rows are read when it opens; a cursor with BOF/EOF moves over
// them. Clones share the rows and have their own cursor. An updatable recordset (opened on one
// table) writes edits, additions and deletions through to the table by rowid.
class Recordset {
public:
    Recordset() = default;
    bool isOpen() const { return d_ != nullptr; }
    void close() { d_.reset(); }

    int fieldCount() const;
    QString fieldName(int index) const;
    int fieldIndex(const QString& name) const;            // -1 when there is no such field
    Variant field(int index) const;                       // throws at BOF/EOF or on a bad index
    Variant field(const QString& name) const;             // throws kErrItemNotFound on a bad name

    bool bof() const;
    bool eof() const;
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    void move(int rows);
    int recordCount() const;
    int absolutePosition() const;                         // 0-based; -1 at BOF/EOF
    void setAbsolutePosition(int position);

    Recordset clone() const;                              // own cursor on the same rows, at the first row
    int bookmark() const;                                 // stable id of the current row
    void setBookmark(int bookmark);                       // throws when the row no longer exists
    int lastModified() const;                             // bookmark of the row last updated or added

    bool updatable() const;
    void edit();                                          // start editing the current row
    void addNew();                                        // start a new row (fields Null)
    void setField(const QString& name, const Variant& value);
    void update();                                        // write the edit or the new row; throws on error
    void cancelUpdate();
    void deleteRow();                                     // delete the current row; the cursor stays on its place
    int editMode() const;                                 // 0 none, 1 editing, 2 adding
    void requery();                                       // read the rows again with the same statement

    // Called after any change of the rows through any cursor on them (grid models listen).
    int addObserver(std::function<void()> onChange);
    void removeObserver(int id);

private:
    friend class Database;
    std::shared_ptr<RecordsetData> d_;
    int pos_ = -1;          // row index; -1 before the first, rowCount after the last
    int bookmark_ = -1;
    int generation_ = 0;
    bool onDeleted_ = false;
    // The edit buffer belongs to this cursor: clones do not see its pending edit.
    int editMode_ = 0;
    int editBookmark_ = -1;
    std::vector<Variant> buffer_;
    std::vector<bool> touched_;
    void sync() const;
    void requireCurrent() const;
};

// A prepared statement with parameters ?1, ?2 ... bound from variants.
class Statement {
public:
    Statement() = default;
    ~Statement();
    Statement(Statement&& o) noexcept;
    Statement& operator=(Statement&& o) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, const Variant& value);           // index from 1
    void bind(int index, int64_t value);
    void bind(int index, double value);
    void bind(int index, const QString& value);
    void bind(int index, std::string_view utf8);          // a text given in UTF-8
    int execute();                                        // run to completion, reset; rows affected
    bool step();                                          // true while a row is available
    Variant column(int index) const;
    // A column as SQLite holds it, without building a Variant: for scans of many rows.
    struct Raw {
        enum Kind { Null, Number, Text } kind = Null;   // a blob reads as text
        double number = 0;
        std::string_view text;                          // UTF-8, valid until the next step
    };
    Raw raw(int index) const;
    void reset();

private:
    friend class Database;
    sqlite3_stmt* st_ = nullptr;
    sqlite3* db_ = nullptr;
};

// One file on the shared connection.
class Database {
public:
    // Opens a file read-write (never creating it). Throws DbError when the file is missing
    // or is not a database.
    static std::shared_ptr<Database> open(const QString& path, bool exclusive = false);
    ~Database();

    const QString& path() const { return path_; }
    const QString& schema() const { return schema_; }
    bool isOpen() const { return open_; }
    void close();                                          // detach (or close the connection)

    int execute(const QString& sql);                       // rows affected; throws DbError
    Recordset openRecordset(const QString& sql, bool updatable = false);
    Statement prepare(const QString& sql);
    QStringList tableNames() const;                        // tables of this file
    bool hasTable(const QString& name) const;              // a table of this file

    // Linked tables: a link is a name of this file standing for a table of another file.
    struct TableDef {
        QString name;
        QString connect;          // empty for a local table
        QString sourceTableName;
    };
    TableDef tableDef(const QString& name) const;          // throws kErrItemNotFound
    void setLink(const QString& name, const QString& connect, const QString& sourceTableName);
    // Checks that the link's target table is reachable through the connection; throws otherwise.
    void refreshLink(const QString& name) const;

private:
    Database() = default;
    QString path_;
    QString schema_;
    bool open_ = false;
};

// Transactions of the shared connection. Nested ones are savepoints.
namespace dbtrans {
void begin();
void commit();                                             // throws without a transaction
void rollback();                                           // throws without a transaction
int depth();
}

// The pages of a closed database file: their size, how many, and how many of them are free (what
// a compaction would give back whole). Throws DbError; a damaged file is named in its text.
struct DatabaseFileSpace {
    int pageSize = 0;
    int64_t pages = 0;
    int64_t freePages = 0;
};
DatabaseFileSpace ReadDatabaseFileSpace(const QString& path);

// Copies a closed database file into a new compact file (which must not exist), with pages of
// pageSize bytes (0: the source's own size). The copy is not flushed to the disk. Throws DbError.
void CompactDatabaseFile(const QString& source, const QString& destination, int pageSize = 0);

// The length of a database file's path as the engine sees it: the full path with the folders'
// links resolved, in bytes of UTF-8. A file whose path is longer than MaxDatabasePathBytes()
// cannot be opened, nor created as a compacted copy (SQLite's limit, less the room its rollback
// journal's name takes).
int DatabasePathBytes(const QString& path);
int MaxDatabasePathBytes();

// While it lives, a long statement of the shared connection calls `during` about every `steps`
// steps of SQLite's virtual machine (so a window can keep drawing through a statement that takes
// seconds). `during` must not use the connection; what it throws is dropped.
class WhileStatementsRun {
public:
    WhileStatementsRun(int steps, std::function<void()> during);
    ~WhileStatementsRun();
    WhileStatementsRun(const WhileStatementsRun&) = delete;
    WhileStatementsRun& operator=(const WhileStatementsRun&) = delete;

private:
    std::function<void()> during_;
};

// The raw connection, for the few callers that need SQLite itself (tests, tools).
sqlite3* SharedConnection();
// Closes every file and the connection (tests start each case from a clean engine).
void ResetDatabaseEngine();
