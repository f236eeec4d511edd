#pragma once
// Values between SQLite and Variant: a column's kind from its declared type (yes/no, small
// integer, date or plain), a column of a row as a Variant of that kind, a Variant bound to a
// parameter (a date as its text).
#include "platform/core/Variant.h"

#include <sqlite3.h>

namespace dbcore {

enum class ColKind { Plain, Boolean, Small, Date };

ColKind kindOf(const char* decltypeName);   // Plain for none
Variant columnValue(sqlite3_stmt* st, int i, ColKind kind);
void bindValue(sqlite3* db, sqlite3_stmt* st, int index, const Variant& v);   // throws DbError

}  // namespace dbcore
