#pragma once
// The database wrapper: one object per database file, all sharing the engine's one connection,
// so a transaction begun through either covers the statements of both.
#include "platform/core/Database.h"

#include <QString>
#include <memory>

// Options and types the callers pass (the values of the original engine's interface).
enum DaoOption { dbOpenDynaset = 2, dbReadOnly = 4, dbOptimistic = 3, dbFailOnError = 128,
                 dbInconsistent = 16, dbConsistent = 32, dbSeeChanges = 512, dbForceOSFlush = 1,
                 dbRefreshCache = 8 };

class cDao {
public:
    cDao() = default;
    ~cDao();
    cDao(const cDao&) = delete;
    cDao& operator=(const cDao&) = delete;

    bool Connect(const QString& path, bool exclusive);
    void Disconnect();
    void BeginTrans();                     // throws DbError
    void CommitTrans();                    // throws DbError (for example without a transaction)
    void RollbackTrans();                  // throws DbError
    void Refresh();
    // Read-only unless options is 0 with lock 3 (the updatable dynaset of the input grids).
    Recordset OpenRecordset(const QString& sql, int type = dbOpenDynaset, int options = dbReadOnly,
                            int lock = dbReadOnly);                 // throws DbError
    int Execute(const QString& sql, int options);                   // rows affected; -1 on error
    bool DeleteTableData(const QString& table);
    int RecordCount(Recordset& rs);
    bool RepairDatabase(const QString& path);
    bool CompactDatabase(const QString& path);
    bool RepairCompactDatabase(const QString& path);
    bool ConnectLinkTable(const QString& table, const QString& source, const QString& type,
                          const QString& database);
    Database* CurrentDB() const { return db_.get(); }
    Variant Lookup(const QString& table, const QString& field, const QString& condition); // throws
    bool IsRecordsetReady(const Recordset& rs) const;

    // A prepared statement on this database, for writers that run many rows (throws DbError).
    Statement Prepare(const QString& sql);

private:
    std::shared_ptr<Database> db_;
};

// The compacted copy of a database file while it is written: beside the file, one name per file.
QString CompactionCopyPath(const QString& path);

// The page size of both database files: schema/ builds them so, and a compaction brings an older
// file to it.
constexpr int kDatabasePageSize = 32768;

// Whether compacting a file of this space is worth a rewrite: its pages are not of the program's
// size, or at least a tenth of them are free (space that deletions, overwrites and recomputations
// gave back; SQLite reuses it for new rows meanwhile).
bool WorthCompacting(const DatabaseFileSpace& space);
