#pragma once
// Database files for tests, built from the SQL scripts in schema/ in a fresh temporary folder
// that also serves as the program folder (so the error log lands there).
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// Builds a database file at path from one of the scripts ("working.sql", "save.sql").
void BuildDatabaseFromScript(const QString& script, const QString& path);
QString SchemaScript(const QString& script);   // the full path of a script in schema/

// A digest of a closed database file: for each row of `entries` (a query of sqlite_master whose
// first column is the name), its text columns and, when it names a table, every row of that
// table in storage order, each value with its type.
QByteArray FileDigest(const QString& path, const char* entries);

class DbFixture {
public:
    // Creates Panelo2.mdb and Panelo2保存.mdb in a fresh folder and points the program folder
    // at it. With connect, gDao and gDaoSave are connected to them.
    explicit DbFixture(bool connect = true);
    ~DbFixture();

    QString dir() const { return dir_.path(); }
    QString workingPath() const;
    QString savePath() const;
    QString path(const QString& name) const { return dir_.path() + QLatin1Char('/') + name; }
    // The error log's text (decoded from CP932), empty when there is none.
    QString errLog() const;

private:
    QTemporaryDir dir_;
};
