#pragma once
// The rows a recordset and its clones share: read once by the recordset's statement (with the
// rowid of each row when the statement reads one table, so that edits are written back), each
// row with a bookmark that stays while the row does, and the observers told of every change.
#include "platform/core/ColumnValues.h"
#include "platform/core/Database.h"

#include <QStringList>
#include <functional>
#include <map>
#include <vector>

struct RecordsetRow {
    sqlite3_int64 rowid = 0;
    int bookmark = 0;
    std::vector<Variant> values;
};

class RecordsetData {
public:
    QString sql;
    bool wantUpdatable = false;
    QStringList names;
    std::vector<dbcore::ColKind> kinds;
    std::vector<RecordsetRow> rows;
    int nextBookmark = 1;
    int generation = 0;
    int lastModified = -1;
    // Write-through target when updatable.
    bool updatable = false;
    QString schema, table;
    QStringList origins;             // table column of each field
    std::map<int, std::function<void()>> observers;
    int nextObserver = 1;

    void load();
    int indexOf(int bookmark) const
    {
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].bookmark == bookmark)
                return int(i);
        return -1;
    }
    void changed()
    {
        ++generation;
        auto copy = observers;
        for (auto& [id, fn] : copy)
            if (fn)
                fn();
    }
    RecordsetRow readRow(sqlite3_int64 rowid) const;
};
