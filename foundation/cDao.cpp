#include "foundation/cDao.h"

#include "foundation/ErrLog.h"
#include "platform/core/MsgBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
void showEngineError(const DbError& e, const QString& title)
{
    MsgBox(QStringLiteral("Error:") + QString::number(e.number()) + QLatin1Char('\r') + e.description(), vbCritical,
           title);
}
}

cDao::~cDao() { Disconnect(); }

bool cDao::Connect(const QString& path, bool exclusive)
{
    Disconnect();
    try {
        db_ = Database::open(path, exclusive);
        return true;
    } catch (const DbError&) {
        return false;
    }
}

void cDao::Disconnect()
{
    if (db_)
        db_->close();
    db_.reset();
}

void cDao::BeginTrans() { dbtrans::begin(); }
void cDao::CommitTrans() { dbtrans::commit(); }
void cDao::RollbackTrans() { dbtrans::rollback(); }
void cDao::Refresh() {}

Recordset cDao::OpenRecordset(const QString& sql, int type, int options, int lock)
{
    if (!db_)
        throw DbError(3420, QStringLiteral("Object invalid or no longer set."));
    const bool updatable = !(options & dbReadOnly) && lock != dbReadOnly;
    return db_->openRecordset(sql, updatable);
}

int cDao::Execute(const QString& sql, int options)
{
    try {
        if (!db_)
            throw DbError(3420, QStringLiteral("Object invalid or no longer set."));
        return db_->execute(sql);
    } catch (const DbError& e) {
        // A failed statement changes nothing; the log keeps what failed.
        SetErrLog(e.description() + QStringLiteral(" [") + sql + QLatin1Char(']'), QStringLiteral("cDao"),
                  QStringLiteral("Execute"));
        return -1;
    }
}

bool cDao::DeleteTableData(const QString& table)
{
    try {
        BeginTrans();
    } catch (const DbError&) {
        return false;
    }
    if (Execute(QStringLiteral("DELETE FROM ") + table, dbFailOnError | dbConsistent | dbSeeChanges) >= 0) {
        try {
            CommitTrans();
            return true;
        } catch (const DbError&) {
        }
    }
    try {
        RollbackTrans();
    } catch (const DbError&) {
    }
    return false;
}

int cDao::RecordCount(Recordset& rs) { return rs.recordCount(); }

bool cDao::RepairDatabase(const QString& path)
{
    // The engine has no repair; a file that fails its integrity check is reported.
    try {
        auto db = Database::open(path);
        const Recordset rs = db->openRecordset(QStringLiteral("PRAGMA integrity_check"));
        const QString result = rs.recordCount() ? rs.field(0).stringValue() : QString();
        db->close();
        if (result != QLatin1String("ok"))
            throw DbError(11, result);
        return true;
    } catch (const DbError& e) {
        showEngineError(e, QStringLiteral("Database Repair Error"));
        return false;
    }
}

QString CompactionCopyPath(const QString& path)
{
    return QFileInfo(path).absoluteFilePath() + QStringLiteral(".compacting");
}

bool WorthCompacting(const DatabaseFileSpace& space)
{
    return space.pageSize != kDatabasePageSize || (space.freePages > 0 && space.freePages * 10 >= space.pages);
}

namespace {

// The copy takes the file's mode, owner and group; false when it cannot (another user's file).
bool takeGuard(const QByteArray& file, const QByteArray& copy)
{
    struct stat original{}, made{};
    if (::stat(file.constData(), &original) != 0 || ::stat(copy.constData(), &made) != 0)
        return false;
    if ((original.st_uid != made.st_uid || original.st_gid != made.st_gid) &&
        ::chown(copy.constData(), original.st_uid, original.st_gid) != 0)
        return false;
    return ::chmod(copy.constData(), original.st_mode & 07777) == 0;
}

// Flushes a file or folder to the disk.
bool flushToDisk(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool flushed = ::fsync(fd) == 0;
    ::close(fd);
    return flushed;
}

}  // namespace

bool cDao::CompactDatabase(const QString& path)
{
    // A file is rewritten only when that gives back pages worth it or brings them to the program's
    // size: a start costs what the files need, not what they hold. The compacted copy is written
    // beside the file under one fixed name, flushed, given the file's mode and owner and renamed
    // over it, so the original stays whole until the copy is complete, and a copy left by a run
    // that was killed meanwhile is removed by the next compaction. A file the user may not write,
    // or whose owner the copy cannot take, stays as it is: whoever guarded it meant it.
    const QString temp = CompactionCopyPath(path);
    const auto removeCopy = [&] {
        QFile::remove(temp);
        QFile::remove(temp + QStringLiteral("-journal"));
    };
    removeCopy();
    const QByteArray file = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    const QByteArray copy = QFile::encodeName(temp);
    try {
        if (QFileInfo(path).isFile() && ::access(file.constData(), W_OK) != 0)
            return true;
        if (!WorthCompacting(ReadDatabaseFileSpace(path)))
            return true;
        CompactDatabaseFile(path, temp, kDatabasePageSize);
        if (!takeGuard(file, copy)) {
            removeCopy();
            return true;
        }
        if (!flushToDisk(copy) || std::rename(copy.constData(), file.constData()) != 0)
            throw DbError(3049, QStringLiteral("Could not replace '%1' with its compacted copy.").arg(path));
        flushToDisk(QFile::encodeName(QFileInfo(path).absolutePath()));   // the rename itself
        return true;
    } catch (const DbError& e) {
        removeCopy();
        showEngineError(e, QStringLiteral("Database Compact Error"));
        return false;
    }
}

bool cDao::RepairCompactDatabase(const QString& path)
{
    return RepairDatabase(path) && CompactDatabase(path);
}

bool cDao::ConnectLinkTable(const QString& table, const QString& source, const QString& type,
                            const QString& database)
{
    try {
        if (!db_)
            throw DbError(3420, QStringLiteral("Object invalid or no longer set."));
        const Database::TableDef def = db_->tableDef(table);
        if (!def.connect.isEmpty()) {
            QString sourceName = def.sourceTableName;
            if (!source.trimmed().isEmpty() && source.trimmed() != def.sourceTableName)
                sourceName = source.trimmed();
            QString connect;
            if (type.trimmed() == QLatin1String("ODBC"))
                connect = type + QLatin1Char(';') + database.trimmed();
            else
                connect = type + (database.trimmed().isEmpty() ? QString() : QStringLiteral(";DATABASE=")) +
                          database.trimmed();
            db_->setLink(table, connect, sourceName);
            db_->refreshLink(table);
        }
        return true;
    } catch (const DbError& e) {
        MsgBox(e.description(), vbCritical, QStringLiteral("ConnectLinkTable"));
        return false;
    }
}

Variant cDao::Lookup(const QString& table, const QString& field, const QString& condition)
{
    if (!db_)
        throw DbError(3420, QStringLiteral("Object invalid or no longer set."));
    QString sql = QStringLiteral("SELECT ") + field + QStringLiteral(" FROM ") + table;
    if (!condition.isEmpty())
        sql += QStringLiteral(" WHERE ") + condition;
    Statement st = db_->prepare(sql);
    return st.step() ? st.column(0) : Variant::null();
}

bool cDao::IsRecordsetReady(const Recordset& rs) const
{
    try {
        return rs.isOpen() && !rs.bof() && !rs.eof();
    } catch (const DbError&) {
        return false;
    }
}

Statement cDao::Prepare(const QString& sql)
{
    if (!db_)
        throw DbError(3420, QStringLiteral("Object invalid or no longer set."));
    return db_->prepare(sql);
}
