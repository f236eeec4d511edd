// Statement (Database.h): a prepared statement of the shared connection.
#include "platform/core/ColumnValues.h"
#include "platform/core/Connection.h"

using namespace dbcore;

Statement::~Statement() { sqlite3_finalize(st_); }
Statement::Statement(Statement&& o) noexcept : st_(o.st_), db_(o.db_) { o.st_ = nullptr; }
Statement& Statement::operator=(Statement&& o) noexcept
{
    if (this != &o) {
        sqlite3_finalize(st_);
        st_ = o.st_;
        db_ = o.db_;
        o.st_ = nullptr;
    }
    return *this;
}

void Statement::bind(int index, const Variant& value) { bindValue(db_, st_, index, value); }
void Statement::bind(int index, int64_t value)
{
    if (const int rc = sqlite3_bind_int64(st_, index, value); rc != SQLITE_OK)
        raise(db_, rc);
}
void Statement::bind(int index, double value)
{
    if (const int rc = sqlite3_bind_double(st_, index, value); rc != SQLITE_OK)
        raise(db_, rc);
}
void Statement::bind(int index, const QString& value) { bindValue(db_, st_, index, Variant(value)); }
void Statement::bind(int index, std::string_view utf8)
{
    if (const int rc = sqlite3_bind_text64(st_, index, utf8.data(), utf8.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
        rc != SQLITE_OK)
        raise(db_, rc);
}

int Statement::execute()
{
    const int rc = sqlite3_step(st_);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
        sqlite3_reset(st_);
        raise(db_, rc);
    }
    const int changes = sqlite3_changes(db_);
    sqlite3_reset(st_);
    return changes;
}

bool Statement::step()
{
    const int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(st_);
    raise(db_, rc);
}

Variant Statement::column(int index) const
{
    return columnValue(st_, index, kindOf(sqlite3_column_decltype(st_, index)));
}

Statement::Raw Statement::raw(int index) const
{
    Raw r;
    switch (sqlite3_column_type(st_, index)) {
    case SQLITE_NULL:
        break;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        r.kind = Raw::Number;
        r.number = sqlite3_column_double(st_, index);
        break;
    default:
        r.kind = Raw::Text;
        r.text = std::string_view(reinterpret_cast<const char*>(sqlite3_column_text(st_, index)),
                                  size_t(sqlite3_column_bytes(st_, index)));
        break;
    }
    return r;
}

void Statement::reset()
{
    sqlite3_reset(st_);
    sqlite3_clear_bindings(st_);
}
