#include "bench/BenchDatabases.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

QString BuildDatabase(const QString& path, const QString& script, int pageSize)
{
    QFile file(script);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read ") + script;
    QByteArray sql = file.readAll();
    if (pageSize > 0)   // after the script's own page size, rewritten with the one given
        sql.append("\nPRAGMA page_size = " + QByteArray::number(pageSize) + ";\nVACUUM;\n");
    QFile::remove(path);
    sqlite3* db = nullptr;
    char* message = nullptr;
    int rc = sqlite3_open(QFile::encodeName(path).constData(), &db);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, &message);
    const QString error = rc == SQLITE_OK ? QString()
                                          : QStringLiteral("cannot build ") + path + QStringLiteral(": ") +
                                                QString::fromUtf8(message ? message : sqlite3_errmsg(db));
    sqlite3_free(message);
    sqlite3_close(db);
    return error;
}

QString RunPragmas(sqlite3* db, const QString& schema, const QStringList& pragmas)
{
    for (const QString& pragma : pragmas) {
        const QByteArray sql = (QStringLiteral("PRAGMA ") + schema + QLatin1Char('.') + pragma).toUtf8();
        char* message = nullptr;
        if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &message) != SQLITE_OK) {
            const QString error = QStringLiteral("PRAGMA ") + pragma + QStringLiteral(": ") + QString::fromUtf8(message);
            sqlite3_free(message);
            return error;
        }
        if (!pragma.contains(QLatin1Char('=')))
            continue;
        // SQLite ignores a setting it does not know; reading it back tells.
        sqlite3_stmt* st = nullptr;
        const QByteArray read = sql.left(sql.indexOf('='));
        const bool known = sqlite3_prepare_v2(db, read.constData(), -1, &st, nullptr) == SQLITE_OK &&
                           sqlite3_step(st) == SQLITE_ROW;
        sqlite3_finalize(st);
        if (!known)
            return QStringLiteral("PRAGMA ") + pragma + QStringLiteral(": not a setting SQLite knows");
    }
    return QString();
}

QString BuildProgramFolder(const QString& folder, int pageSize)
{
    for (const auto& [script, name] : {std::pair{"working.sql", "Panelo2.mdb"}, std::pair{"save.sql", "Panelo2保存.mdb"}}) {
        const QString error = BuildDatabase(folder + QLatin1Char('/') + QString::fromUtf8(name),
                                            QStringLiteral(PANELO2_SCHEMA_DIR "/") + QLatin1String(script), pageSize);
        if (!error.isEmpty())
            return error;
    }
    const QDir data(QStringLiteral(PANELO2_DATA_DIR));
    for (const QString& f : data.entryList(QDir::Files))
        if (!QFile::copy(data.filePath(f), folder + QLatin1Char('/') + f))
            return QStringLiteral("cannot copy ") + data.filePath(f);
    return QString();
}

namespace {

const char* const kPatternTables[] = {"パターン", "パターン母材", "パターン部材"};

sqlite3* openReadOnly(const QString& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    return db;
}

qint64 pragmaValue(sqlite3* db, const char* pragma)
{
    sqlite3_stmt* st = nullptr;
    qint64 value = 0;
    if (sqlite3_prepare_v2(db, pragma, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        value = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return value;
}

bool sameValue(sqlite3_stmt* a, sqlite3_stmt* b, int i)
{
    const int type = sqlite3_column_type(a, i);
    if (type != sqlite3_column_type(b, i))
        return false;
    switch (type) {
    case SQLITE_INTEGER: return sqlite3_column_int64(a, i) == sqlite3_column_int64(b, i);
    case SQLITE_FLOAT: return sqlite3_column_double(a, i) == sqlite3_column_double(b, i);
    case SQLITE_NULL: return true;
    default:
        return sqlite3_column_bytes(a, i) == sqlite3_column_bytes(b, i) &&
               QByteArray(static_cast<const char*>(sqlite3_column_blob(a, i)), sqlite3_column_bytes(a, i)) ==
                   QByteArray(static_cast<const char*>(sqlite3_column_blob(b, i)), sqlite3_column_bytes(b, i));
    }
}

}  // namespace

QString ComparePatternTables(const QString& path, const QString& otherPath)
{
    sqlite3* db = openReadOnly(path);
    if (!db)
        return QStringLiteral("cannot open ") + path;
    const QByteArray attach = "ATTACH DATABASE '" + QFile::encodeName(otherPath).replace('\'', "''") + "' AS other";
    QString difference;
    if (sqlite3_exec(db, attach.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        difference = QStringLiteral("cannot open ") + otherPath;
    for (const char* table : kPatternTables) {
        if (!difference.isEmpty())
            break;
        sqlite3_stmt* a = nullptr;
        sqlite3_stmt* b = nullptr;
        const QByteArray select = QByteArray("SELECT * FROM %1.") + table + " ORDER BY rowid";
        sqlite3_prepare_v2(db, QByteArray(select).replace("%1", "main").constData(), -1, &a, nullptr);
        sqlite3_prepare_v2(db, QByteArray(select).replace("%1", "other").constData(), -1, &b, nullptr);
        if (!a || !b || sqlite3_column_count(a) != sqlite3_column_count(b))
            difference = QStringLiteral("%1: the tables differ in their columns").arg(QString::fromUtf8(table));
        for (qint64 row = 1; difference.isEmpty(); ++row) {
            const int ra = sqlite3_step(a), rb = sqlite3_step(b);
            if (ra != rb)
                difference = QStringLiteral("%1: row %2 is in one file only").arg(QString::fromUtf8(table)).arg(row);
            else if (ra != SQLITE_ROW && ra != SQLITE_DONE)
                difference = QStringLiteral("%1: cannot be read: ").arg(QString::fromUtf8(table)) +
                             QString::fromUtf8(sqlite3_errmsg(db));
            if (ra != SQLITE_ROW)
                break;
            for (int i = 0; i < sqlite3_column_count(a) && difference.isEmpty(); ++i)
                if (!sameValue(a, b, i))
                    difference = QStringLiteral("%1: row %2, column %3 differs")
                                     .arg(QString::fromUtf8(table))
                                     .arg(row)
                                     .arg(QString::fromUtf8(sqlite3_column_name(a, i)));
        }
        sqlite3_finalize(a);
        sqlite3_finalize(b);
    }
    sqlite3_close(db);
    return difference;
}

QString PatternTablesDigest(const QString& path)
{
    sqlite3* db = openReadOnly(path);
    if (!db)
        return QString();
    QCryptographicHash hash(QCryptographicHash::Sha1);
    bool ok = true;
    for (const char* table : kPatternTables) {
        hash.addData(QByteArray(table));
        sqlite3_stmt* st = nullptr;
        ok = ok && sqlite3_prepare_v2(db, (QByteArray("SELECT * FROM ") + table + " ORDER BY rowid").constData(), -1,
                                      &st, nullptr) == SQLITE_OK;
        int rc = SQLITE_DONE;
        while (ok && (rc = sqlite3_step(st)) == SQLITE_ROW) {
            hash.addData(QByteArrayView("\n", 1));
            for (int i = 0; i < sqlite3_column_count(st); ++i) {
                const char type = char(sqlite3_column_type(st, i));
                hash.addData(QByteArrayView(&type, 1));
                if (type == SQLITE_INTEGER) {
                    const qint64 v = sqlite3_column_int64(st, i);
                    hash.addData(QByteArrayView(reinterpret_cast<const char*>(&v), sizeof v));
                } else if (type == SQLITE_FLOAT) {
                    const double v = sqlite3_column_double(st, i);
                    hash.addData(QByteArrayView(reinterpret_cast<const char*>(&v), sizeof v));
                } else if (type != SQLITE_NULL) {
                    const int n = sqlite3_column_bytes(st, i);
                    hash.addData(QByteArrayView(reinterpret_cast<const char*>(&n), sizeof n));
                    hash.addData(QByteArrayView(static_cast<const char*>(sqlite3_column_blob(st, i)), n));
                }
            }
        }
        ok = ok && rc == SQLITE_DONE;
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return ok ? QString::fromLatin1(hash.result().toHex()) : QString();
}

DatabaseFacts ReadDatabaseFacts(const QString& path)
{
    DatabaseFacts facts;
    sqlite3* db = openReadOnly(path);
    if (!db)
        return facts;
    facts.bytes = QFileInfo(path).size();
    facts.pageSize = int(pragmaValue(db, "PRAGMA page_size"));
    facts.freePages = pragmaValue(db, "PRAGMA freelist_count");
    sqlite3_close(db);
    return facts;
}
