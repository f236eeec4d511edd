// Work on a database file that is not open on the shared connection (Database.h): its pages,
// its compacted copy, the length of its path as the engine sees it.
#include "platform/core/Connection.h"
#include "platform/core/SqlText.h"

#include <QDir>
#include <QFileInfo>

using namespace dbcore;

namespace {

// A closed database file on a connection of its own, closed with the object.
class ClosedFile {
public:
    explicit ClosedFile(const QString& path) : path_(path)
    {
        if (!QFileInfo(path).isFile())
            throw DbError(3024, QStringLiteral("Could not find file '%1'.").arg(path));
        const int rc = sqlite3_open_v2(uriFor(path).toUtf8().constData(), &h_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI,
                                       nullptr);
        if (rc != SQLITE_OK) {
            const QString text = h_ ? errText(h_) : QString::fromUtf8(sqlite3_errstr(rc));
            throw DbError(rc, text);
        }
    }
    ~ClosedFile() { sqlite3_close(h_); }
    ClosedFile(const ClosedFile&) = delete;
    ClosedFile& operator=(const ClosedFile&) = delete;

    void exec(const QString& sql)
    {
        char* err = nullptr;
        if (sqlite3_exec(h_, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK)
            fail(err);
    }
    int64_t pragma(const char* name)
    {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(h_, (QByteArray("PRAGMA ") + name).constData(), -1, &st, nullptr) != SQLITE_OK)
            fail(nullptr);
        const int rc = sqlite3_step(st);
        const int64_t value = rc == SQLITE_ROW ? sqlite3_column_int64(st, 0) : 0;
        sqlite3_finalize(st);
        if (rc != SQLITE_ROW)
            fail(nullptr);
        return value;
    }

private:
    [[noreturn]] void fail(char* err)
    {
        const int number = sqlite3_extended_errcode(h_);
        // A damaged file is reported under its own name (the engine may name a copy).
        const bool damaged = (number & 0xFF) == SQLITE_CORRUPT || (number & 0xFF) == SQLITE_NOTADB;
        const QString text = damaged ? QString::fromUtf8(sqlite3_errstr(number)) + QStringLiteral(": ") + path_
                             : err   ? QString::fromUtf8(err)
                                     : errText(h_);
        sqlite3_free(err);
        throw DbError(number, text);
    }
    QString path_;
    sqlite3* h_ = nullptr;
};

}  // namespace

DatabaseFileSpace ReadDatabaseFileSpace(const QString& path)
{
    ClosedFile file(path);
    DatabaseFileSpace space;
    space.pageSize = int(file.pragma("page_size"));
    space.pages = file.pragma("page_count");
    space.freePages = file.pragma("freelist_count");
    return space;
}

void CompactDatabaseFile(const QString& source, const QString& destination, int pageSize)
{
    ClosedFile file(source);
    if (pageSize > 0)
        file.exec(QStringLiteral("PRAGMA page_size = %1").arg(pageSize));   // the copy's pages
    file.exec(QStringLiteral("VACUUM INTO ") + quoteText(destination));
}

int DatabasePathBytes(const QString& path)
{
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return int((folder.isEmpty() ? info.absoluteFilePath() : QDir(folder).filePath(info.fileName())).toUtf8().size());
}

int MaxDatabasePathBytes() { return sqlite3_vfs_find(nullptr)->mxPathname - int(sizeof "-journal" - 1); }
