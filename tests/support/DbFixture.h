#pragma once
// Database files for tests, built from the SQL scripts in schema/ in a fresh temporary folder
// that also serves as the program folder (so the error log lands there).
#include <QString>
#include <QTemporaryDir>
#include <memory>

// Builds a database file at path from one of the scripts ("working.sql", "save.sql").
void BuildDatabaseFromScript(const QString& script, const QString& path);
QString SchemaScript(const QString& script);   // the full path of a script in schema/

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
