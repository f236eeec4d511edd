#include "tests/support/DbFixture.h"

#include "foundation/Globals.h"
#include "foundation/cDao.h"
#include "platform/core/AnsiText.h"
#include "platform/core/AppInfo.h"
#include "platform/core/Database.h"

#include <QCryptographicHash>
#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdexcept>

QString SchemaScript(const QString& script)
{
    return QStringLiteral(PANELO2_SCHEMA_DIR) + QLatin1Char('/') + script;
}

void BuildDatabaseFromScript(const QString& script, const QString& path)
{
    QFile f(SchemaScript(script));
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read schema script " + script.toStdString());
    const QByteArray sql = f.readAll();
    QFile::remove(path);
    sqlite3* db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK)
        throw std::runtime_error("cannot create " + path.toStdString());
    char* err = nullptr;
    const int rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, &err);
    const std::string message = err ? err : "";
    sqlite3_free(err);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        throw std::runtime_error("schema " + script.toStdString() + ": " + message);
}

DbFixture::DbFixture(bool connect)
{
    ResetDatabaseEngine();
    SetAppPath(dir_.path());
    SetAppExeName(QStringLiteral("Panelo2"));
    BuildDatabaseFromScript(QStringLiteral("working.sql"), workingPath());
    BuildDatabaseFromScript(QStringLiteral("save.sql"), savePath());
    if (connect) {
        EXPECT_TRUE(gDao().Connect(workingPath(), false));
        EXPECT_TRUE(gDaoSave().Connect(savePath(), false));
    }
}

DbFixture::~DbFixture()
{
    gDao().Disconnect();
    gDaoSave().Disconnect();
    ResetDatabaseEngine();
    SetAppPath(QString());
}

QString DbFixture::workingPath() const { return path(QStringLiteral("Panelo2.mdb")); }
QString DbFixture::savePath() const { return path(QStringLiteral("Panelo2保存.mdb")); }

QString DbFixture::errLog() const
{
    QFile f(path(QStringLiteral("ErrLog.txt")));
    return f.open(QIODevice::ReadOnly) ? FromAnsi(f.readAll()) : QString();
}

QByteArray FileDigest(const QString& path, const char* entries)
{
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    sqlite3_stmt* names = nullptr;
    sqlite3_prepare_v2(db, entries, -1, &names, nullptr);
    while (sqlite3_step(names) == SQLITE_ROW) {
        for (int i = 0; i < sqlite3_column_count(names); ++i)
            hash.addData(QByteArrayView(reinterpret_cast<const char*>(sqlite3_column_text(names, i))));
        const QByteArray name = reinterpret_cast<const char*>(sqlite3_column_text(names, 0));
        sqlite3_stmt* rows = nullptr;
        if (sqlite3_prepare_v2(db, ("SELECT * FROM \"" + name + "\" ORDER BY rowid").constData(), -1, &rows, nullptr) !=
            SQLITE_OK)
            continue;   // an index
        while (sqlite3_step(rows) == SQLITE_ROW)
            for (int i = 0; i < sqlite3_column_count(rows); ++i) {
                hash.addData(QByteArray::number(sqlite3_column_type(rows, i)));
                hash.addData(QByteArrayView(static_cast<const char*>(sqlite3_column_blob(rows, i)), sqlite3_column_bytes(rows, i)));
            }
        sqlite3_finalize(rows);
    }
    sqlite3_finalize(names);
    sqlite3_close(db);
    return hash.result();
}
