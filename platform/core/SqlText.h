#pragma once
// SQL texts of the database layer: names and texts quoted for SQLite, the URI a file is opened
// by, and Jet's date literals (#yyyy/mm/dd#) turned into the texts SQLite compares.
#include <QString>

namespace dbcore {

QString quoteIdent(const QString& name);   // "name", inner quotes doubled
QString quoteText(const QString& text);    // 'text', inner quotes doubled
QString uriFor(const QString& path);       // file:<absolute path>?mode=rw
// Jet's date literal #yyyy/mm/dd# becomes a quoted text outside quoted text and identifiers.
QString translateSql(const QString& sql);

}  // namespace dbcore
