#include "platform/core/Database.h"

#include "platform/core/DateSerial.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <map>
#include <sqlite3.h>

// ---------------------------------------------------------------------------------------------
// The shared connection

namespace {

// SQLite's allocation statistics take a global lock on every allocation and nobody reads them.
// They can be switched off only before SQLite's first use, hence at the program's start.
const int kNoAllocationStatistics = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
// What a savepoint must be able to undo (the pages it changes, a few per step of the pattern
// store) is kept in memory up to this size instead of a temporary file from the first 64 KiB on:
// with large pages every savepoint would write a file of its own.
constexpr int kStatementJournalInMemory = 4 << 20;
const int kStatementJournalsInMemory = sqlite3_config(SQLITE_CONFIG_STMTJRNL_SPILL, kStatementJournalInMemory);

struct Connection {
    sqlite3* db = nullptr;
    std::vector<Database*> open;     // files on the connection, in attach order (main first)
    int nextSchema = 1;
    int depth = 0;                   // transaction depth (1 = BEGIN, more = savepoints)
    // The statements that open and close a transaction level, per depth, prepared on first use:
    // a caller may open and close savepoints thousands of times a second.
    std::vector<sqlite3_stmt*> opening, closing;
};

// Closes the connection, its cached statements first.
void closeConnection(Connection& c)
{
    for (auto* cache : {&c.opening, &c.closing}) {
        for (sqlite3_stmt* st : *cache)
            sqlite3_finalize(st);
        cache->clear();
    }
    if (c.db)
        sqlite3_close_v2(c.db);
    c.db = nullptr;
}

Connection& conn()
{
    // Never destroyed: database objects may close after other statics are gone.
    static Connection* c = new Connection;
    return *c;
}

QString errText(sqlite3* db) { return QString::fromUtf8(sqlite3_errmsg(db)); }

[[noreturn]] void raise(sqlite3* db, int rc)
{
    throw DbError(db ? sqlite3_extended_errcode(db) : rc, db ? errText(db) : QString::fromUtf8(sqlite3_errstr(rc)));
}

QString quoteIdent(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QString quoteText(const QString& text)
{
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

QString uriFor(const QString& path)
{
    QString p = QFileInfo(path).absoluteFilePath();
    p.replace(QLatin1Char('%'), QStringLiteral("%25"));
    p.replace(QLatin1Char('?'), QStringLiteral("%3f"));
    p.replace(QLatin1Char('#'), QStringLiteral("%23"));
    return QStringLiteral("file:") + p + QStringLiteral("?mode=rw");
}

// Jet's date literal #yyyy/mm/dd# becomes a quoted text outside quoted text and identifiers.
QString translateSql(const QString& sql)
{
    if (!sql.contains(QLatin1Char('#')))
        return sql;
    QString out;
    out.reserve(sql.size());
    QChar quote;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (!quote.isNull()) {
            out += c;
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            out += c;
            continue;
        }
        if (c == QLatin1Char('[')) {
            quote = QLatin1Char(']');
            out += c;
            continue;
        }
        if (c == QLatin1Char('#')) {
            const qsizetype end = sql.indexOf(QLatin1Char('#'), i + 1);
            if (end > i) {
                const QString inner = sql.mid(i + 1, end - i - 1);
                double serial;
                if (ParseSerialText(inner, &serial)) {
                    out += quoteText(SerialText(serial));
                    i = end;
                    continue;
                }
            }
        }
        out += c;
    }
    return out;
}

sqlite3_stmt* prepareRaw(sqlite3* db, const QString& sql, const char** tail = nullptr)
{
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    const char* t = nullptr;
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &st, &t);
    if (rc != SQLITE_OK)
        raise(db, rc);
    if (tail)
        *tail = t;
    return st;
}

void execRaw(sqlite3* db, const QString& sql)
{
    char* err = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const QString text = err ? QString::fromUtf8(err) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_free(err);
        throw DbError(sqlite3_extended_errcode(db), text);
    }
}

enum class ColKind { Plain, Boolean, Small, Date };

ColKind kindOf(const char* decltypeName)
{
    if (!decltypeName)
        return ColKind::Plain;
    const QString t = QString::fromUtf8(decltypeName).toUpper();
    if (t.contains(QLatin1String("BOOL")) || t == QLatin1String("BIT") || t.contains(QLatin1String("YESNO")))
        return ColKind::Boolean;
    if (t.contains(QLatin1String("SMALLINT")))
        return ColKind::Small;
    if (t.contains(QLatin1String("DATE")) || t.contains(QLatin1String("TIME")))
        return ColKind::Date;
    return ColKind::Plain;
}

Variant columnValue(sqlite3_stmt* st, int i, ColKind kind)
{
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_NULL:
        return Variant::null();
    case SQLITE_INTEGER: {
        const sqlite3_int64 v = sqlite3_column_int64(st, i);
        if (kind == ColKind::Boolean)
            return Variant(v != 0);
        if (kind == ColKind::Date)
            return Variant::date(double(v));
        if (kind == ColKind::Small && v >= INT16_MIN && v <= INT16_MAX)
            return Variant(int16_t(v));
        if (v >= INT32_MIN && v <= INT32_MAX)
            return Variant(int32_t(v));
        return Variant(double(v));
    }
    case SQLITE_FLOAT: {
        const double v = sqlite3_column_double(st, i);
        if (kind == ColKind::Boolean)
            return Variant(v != 0.0);
        if (kind == ColKind::Date)
            return Variant::date(v);
        return Variant(v);
    }
    default: {
        const QString text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                                               sqlite3_column_bytes(st, i));
        double serial;
        if (kind == ColKind::Date && ParseSerialText(text, &serial))
            return Variant::date(serial);
        return Variant(text);
    }
    }
}

void bindValue(sqlite3* db, sqlite3_stmt* st, int index, const Variant& v)
{
    int rc = SQLITE_OK;
    switch (v.type()) {
    case VarType::Empty:
    case VarType::Null:
        rc = sqlite3_bind_null(st, index);
        break;
    case VarType::Integer:
    case VarType::Long:
    case VarType::Boolean:
        rc = sqlite3_bind_int64(st, index, v.intValue());
        break;
    case VarType::Double:
        rc = sqlite3_bind_double(st, index, v.doubleValue());
        break;
    case VarType::Date: {
        const QByteArray t = SerialText(v.doubleValue()).toUtf8();
        rc = sqlite3_bind_text(st, index, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        break;
    }
    case VarType::String: {
        const QByteArray t = v.stringValue().toUtf8();
        rc = sqlite3_bind_text(st, index, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        break;
    }
    }
    if (rc != SQLITE_OK)
        raise(db, rc);
}

struct StmtGuard {
    sqlite3_stmt* st;
    ~StmtGuard() { sqlite3_finalize(st); }
};

} // namespace

// ---------------------------------------------------------------------------------------------
// Recordset data

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
    std::vector<ColKind> kinds;
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

void RecordsetData::load()
{
    sqlite3* db = conn().db;
    if (!db)
        throw DbError(3420, QStringLiteral("The database is not open."));
    rows.clear();
    names.clear();
    kinds.clear();
    updatable = false;
    const QString translated = translateSql(sql);
    QString effective = translated;

    if (wantUpdatable) {
        // A recordset over one table is updatable: read the rowid with every row.
        sqlite3_stmt* probe = prepareRaw(db, translated);
        StmtGuard g{probe};
        const int n = sqlite3_column_count(probe);
        bool oneTable = n > 0;
        QString tbl, sch;
        QStringList orig;
        for (int i = 0; i < n && oneTable; ++i) {
            const char* t = sqlite3_column_table_name(probe, i);
            const char* s = sqlite3_column_database_name(probe, i);
            const char* o = sqlite3_column_origin_name(probe, i);
            if (!t || !s || !o) {
                oneTable = false;
                break;
            }
            if (i == 0) {
                tbl = QString::fromUtf8(t);
                sch = QString::fromUtf8(s);
            } else if (tbl != QString::fromUtf8(t) || sch != QString::fromUtf8(s)) {
                oneTable = false;
            }
            orig << QString::fromUtf8(o);
        }
        const qsizetype at = translated.indexOf(QLatin1String("select"), 0, Qt::CaseInsensitive);
        if (oneTable && at >= 0 && translated.left(at).trimmed().isEmpty()) {
            const QString rest = translated.mid(at + 6);
            if (!rest.trimmed().startsWith(QLatin1String("distinct"), Qt::CaseInsensitive)) {
                effective = QStringLiteral("SELECT ") + quoteIdent(tbl) + QStringLiteral(".rowid,") + rest;
                updatable = true;
                schema = sch;
                table = tbl;
                origins = orig;
            }
        }
    }

    sqlite3_stmt* st = nullptr;
    try {
        st = prepareRaw(db, effective);
    } catch (const DbError&) {
        if (!updatable)
            throw;
        updatable = false;
        st = prepareRaw(db, translated);
    }
    StmtGuard g{st};
    const int first = updatable ? 1 : 0;
    const int n = sqlite3_column_count(st);
    for (int i = first; i < n; ++i) {
        names << QString::fromUtf8(sqlite3_column_name(st, i));
        kinds.push_back(kindOf(sqlite3_column_decltype(st, i)));
    }
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        RecordsetRow row;
        row.rowid = updatable ? sqlite3_column_int64(st, 0) : 0;
        row.bookmark = nextBookmark++;
        row.values.reserve(size_t(n - first));
        for (int i = first; i < n; ++i)
            row.values.push_back(columnValue(st, i, kinds[size_t(i - first)]));
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        raise(db, rc);
}

RecordsetRow RecordsetData::readRow(sqlite3_int64 rowid) const
{
    sqlite3* db = conn().db;
    QStringList cols;
    for (const QString& o : origins)
        cols << quoteIdent(o);
    sqlite3_stmt* st = prepareRaw(db, QStringLiteral("SELECT ") + cols.join(QLatin1Char(',')) + QStringLiteral(" FROM ") +
                                          quoteIdent(schema) + QLatin1Char('.') + quoteIdent(table) +
                                          QStringLiteral(" WHERE rowid=?1"));
    StmtGuard g{st};
    sqlite3_bind_int64(st, 1, rowid);
    RecordsetRow row;
    row.rowid = rowid;
    if (sqlite3_step(st) == SQLITE_ROW)
        for (int i = 0; i < int(origins.size()); ++i)
            row.values.push_back(columnValue(st, i, kinds[size_t(i)]));
    else
        row.values.assign(size_t(origins.size()), Variant::null());
    return row;
}

// ---------------------------------------------------------------------------------------------
// Recordset

namespace {
[[noreturn]] void noCurrent() { throw DbError(kErrNoCurrentRecord, QStringLiteral("No current record.")); }
}

void Recordset::sync() const
{
    auto* self = const_cast<Recordset*>(this);
    if (!d_ || generation_ == d_->generation)
        return;
    self->generation_ = d_->generation;
    if (pos_ < 0 || onDeleted_)
        return;
    const int n = int(d_->rows.size());
    if (pos_ < n && d_->rows[size_t(pos_)].bookmark == bookmark_)
        return;
    const int found = d_->indexOf(bookmark_);
    if (found >= 0) {
        self->pos_ = found;
    } else if (bookmark_ >= 0) {
        self->pos_ = std::min(pos_, n);
        self->onDeleted_ = true;
    }
}

void Recordset::requireCurrent() const
{
    sync();
    if (!d_)
        throw DbError(3420, QStringLiteral("Object invalid or no longer set."));
    if (onDeleted_)
        throw DbError(kErrRecordDeleted, QStringLiteral("Record is deleted."));
    if (pos_ < 0 || pos_ >= int(d_->rows.size()))
        noCurrent();
}

int Recordset::fieldCount() const { return d_ ? int(d_->names.size()) : 0; }
QString Recordset::fieldName(int index) const
{
    return d_ && index >= 0 && index < d_->names.size() ? d_->names[index] : QString();
}

int Recordset::fieldIndex(const QString& name) const
{
    if (!d_)
        return -1;
    for (int i = 0; i < d_->names.size(); ++i)
        if (d_->names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

Variant Recordset::field(int index) const
{
    if (index < 0 || index >= fieldCount())
        throw DbError(kErrItemNotFound, QStringLiteral("Item not found in this collection."));
    if (editMode_ == 2 || (editMode_ == 1 && touched_[size_t(index)]))
        return buffer_[size_t(index)];
    requireCurrent();
    return d_->rows[size_t(pos_)].values[size_t(index)];
}

Variant Recordset::field(const QString& name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(kErrItemNotFound, QStringLiteral("Item not found in this collection."));
    return field(i);
}

bool Recordset::bof() const
{
    sync();
    return !d_ || d_->rows.empty() || pos_ < 0;
}

bool Recordset::eof() const
{
    sync();
    return !d_ || d_->rows.empty() || pos_ >= int(d_->rows.size());
}

void Recordset::setAbsolutePosition(int position)
{
    sync();
    if (!d_ || position < 0 || position >= int(d_->rows.size()))
        noCurrent();
    pos_ = position;
    bookmark_ = d_->rows[size_t(pos_)].bookmark;
    onDeleted_ = false;
}

void Recordset::moveFirst() { setAbsolutePosition(0); }
void Recordset::moveLast() { setAbsolutePosition(d_ ? int(d_->rows.size()) - 1 : -1); }

void Recordset::moveNext()
{
    sync();
    if (!d_ || eof())
        noCurrent();
    const int n = int(d_->rows.size());
    if (!onDeleted_)
        ++pos_;
    onDeleted_ = false;
    if (pos_ >= n) {
        pos_ = n;
        bookmark_ = -1;
    } else {
        bookmark_ = d_->rows[size_t(pos_)].bookmark;
    }
}

void Recordset::movePrevious()
{
    sync();
    if (!d_ || bof())
        noCurrent();
    --pos_;
    onDeleted_ = false;
    pos_ = std::min(pos_, int(d_->rows.size()) - 1);
    bookmark_ = pos_ >= 0 ? d_->rows[size_t(pos_)].bookmark : -1;
}

void Recordset::move(int rows)
{
    sync();
    if (!d_)
        noCurrent();
    const int n = int(d_->rows.size());
    const int target = std::clamp(pos_ + rows, -1, n);
    pos_ = target;
    onDeleted_ = false;
    bookmark_ = target >= 0 && target < n ? d_->rows[size_t(target)].bookmark : -1;
}

int Recordset::recordCount() const { return d_ ? int(d_->rows.size()) : 0; }

int Recordset::absolutePosition() const
{
    sync();
    return d_ && !onDeleted_ && pos_ >= 0 && pos_ < int(d_->rows.size()) ? pos_ : -1;
}

Recordset Recordset::clone() const
{
    Recordset r;
    r.d_ = d_;
    if (d_) {
        r.generation_ = d_->generation;
        if (!d_->rows.empty()) {
            r.pos_ = 0;
            r.bookmark_ = d_->rows.front().bookmark;
        }
    }
    return r;
}

int Recordset::bookmark() const
{
    requireCurrent();
    return bookmark_;
}

void Recordset::setBookmark(int bookmark)
{
    if (!d_)
        noCurrent();
    const int i = d_->indexOf(bookmark);
    if (i < 0)
        throw DbError(3159, QStringLiteral("Not a valid bookmark."));
    generation_ = d_->generation;
    pos_ = i;
    bookmark_ = bookmark;
    onDeleted_ = false;
}

int Recordset::lastModified() const { return d_ ? d_->lastModified : -1; }
bool Recordset::updatable() const { return d_ && d_->updatable; }
int Recordset::editMode() const { return editMode_; }

namespace {
void requireUpdatable(const RecordsetData* d)
{
    if (!d || !d->updatable)
        throw DbError(kErrNotUpdatable, QStringLiteral("Database or object is read-only."));
}
}

void Recordset::edit()
{
    requireUpdatable(d_.get());
    requireCurrent();
    editMode_ = 1;
    editBookmark_ = bookmark_;
    buffer_ = d_->rows[size_t(pos_)].values;
    touched_.assign(buffer_.size(), false);
}

void Recordset::addNew()
{
    requireUpdatable(d_.get());
    editMode_ = 2;
    editBookmark_ = -1;
    buffer_.assign(size_t(d_->names.size()), Variant::null());
    touched_.assign(buffer_.size(), false);
}

void Recordset::setField(const QString& name, const Variant& value)
{
    requireUpdatable(d_.get());
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(kErrItemNotFound, QStringLiteral("Item not found in this collection."));
    if (!editMode_)
        throw DbError(3020, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    buffer_[size_t(i)] = value;
    touched_[size_t(i)] = true;
}

void Recordset::cancelUpdate() { editMode_ = 0; }

void Recordset::update()
{
    requireUpdatable(d_.get());
    if (!editMode_)
        throw DbError(3020, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    sqlite3* db = conn().db;
    const QString target = quoteIdent(d_->schema) + QLatin1Char('.') + quoteIdent(d_->table);
    QStringList cols;
    std::vector<Variant> vals;
    for (size_t i = 0; i < touched_.size(); ++i)
        if (touched_[i]) {
            cols << quoteIdent(d_->origins[int(i)]);
            vals.push_back(buffer_[i]);
        }
    sqlite3_int64 rowid;
    if (editMode_ == 1) {
        const int at = d_->indexOf(editBookmark_);
        if (at < 0)
            throw DbError(kErrRecordDeleted, QStringLiteral("Record is deleted."));
        rowid = d_->rows[size_t(at)].rowid;
        if (!cols.isEmpty()) {
            QStringList sets;
            for (int i = 0; i < cols.size(); ++i)
                sets << cols[i] + QStringLiteral("=?") + QString::number(i + 1);
            sqlite3_stmt* st = prepareRaw(db, QStringLiteral("UPDATE ") + target + QStringLiteral(" SET ") +
                                                  sets.join(QLatin1Char(',')) + QStringLiteral(" WHERE rowid=?") +
                                                  QString::number(cols.size() + 1));
            StmtGuard g{st};
            for (size_t i = 0; i < vals.size(); ++i)
                bindValue(db, st, int(i + 1), vals[i]);
            sqlite3_bind_int64(st, int(cols.size() + 1), rowid);
            if (const int rc = sqlite3_step(st); rc != SQLITE_DONE)
                raise(db, rc);
        }
        RecordsetRow fresh = d_->readRow(rowid);
        d_->rows[size_t(at)].values = std::move(fresh.values);
        d_->lastModified = editBookmark_;
    } else {
        QString sql = QStringLiteral("INSERT INTO ") + target;
        if (cols.isEmpty()) {
            sql += QStringLiteral(" DEFAULT VALUES");
        } else {
            QStringList params;
            for (int i = 0; i < cols.size(); ++i)
                params << QStringLiteral("?") + QString::number(i + 1);
            sql += QStringLiteral(" (") + cols.join(QLatin1Char(',')) + QStringLiteral(") VALUES (") +
                   params.join(QLatin1Char(',')) + QLatin1Char(')');
        }
        sqlite3_stmt* st = prepareRaw(db, sql);
        StmtGuard g{st};
        for (size_t i = 0; i < vals.size(); ++i)
            bindValue(db, st, int(i + 1), vals[i]);
        if (const int rc = sqlite3_step(st); rc != SQLITE_DONE)
            raise(db, rc);
        rowid = sqlite3_last_insert_rowid(db);
        RecordsetRow fresh = d_->readRow(rowid);
        fresh.bookmark = d_->nextBookmark++;
        d_->lastModified = fresh.bookmark;
        d_->rows.push_back(std::move(fresh));
    }
    editMode_ = 0;
    d_->changed();
}

void Recordset::deleteRow()
{
    requireUpdatable(d_.get());
    requireCurrent();
    sqlite3* db = conn().db;
    sqlite3_stmt* st = prepareRaw(db, QStringLiteral("DELETE FROM ") + quoteIdent(d_->schema) + QLatin1Char('.') +
                                          quoteIdent(d_->table) + QStringLiteral(" WHERE rowid=?1"));
    StmtGuard g{st};
    sqlite3_bind_int64(st, 1, d_->rows[size_t(pos_)].rowid);
    if (const int rc = sqlite3_step(st); rc != SQLITE_DONE)
        raise(db, rc);
    d_->rows.erase(d_->rows.begin() + pos_);
    editMode_ = 0;
    onDeleted_ = true;
    d_->changed();
    generation_ = d_->generation;
}

void Recordset::requery()
{
    if (!d_)
        return;
    editMode_ = 0;
    d_->load();
    pos_ = d_->rows.empty() ? -1 : 0;
    bookmark_ = pos_ == 0 ? d_->rows.front().bookmark : -1;
    onDeleted_ = false;
    d_->changed();
    generation_ = d_->generation;
}

int Recordset::addObserver(std::function<void()> onChange)
{
    if (!d_)
        return 0;
    const int id = d_->nextObserver++;
    d_->observers[id] = std::move(onChange);
    return id;
}

void Recordset::removeObserver(int id)
{
    if (d_)
        d_->observers.erase(id);
}

// ---------------------------------------------------------------------------------------------
// Statement

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

// ---------------------------------------------------------------------------------------------
// Database

namespace {
// Takes an attached file off the connection; a failure leaves nothing to undo.
void detach(sqlite3* db, const QString& schema)
{
    sqlite3_exec(db, (QStringLiteral("DETACH DATABASE ") + quoteIdent(schema)).toUtf8().constData(), nullptr,
                 nullptr, nullptr);
}
}  // namespace

std::shared_ptr<Database> Database::open(const QString& path, bool exclusive)
{
    const QFileInfo info(path);
    if (path.trimmed().isEmpty() || !info.isFile())
        throw DbError(3024, QStringLiteral("Could not find file '%1'.").arg(path));
    Connection& c = conn();
    const QString canonical = info.canonicalFilePath();
    for (const Database* d : c.open)
        if (QFileInfo(d->path_).canonicalFilePath() == canonical)
            throw DbError(3045, QStringLiteral("Could not use '%1'; file already in use.").arg(path));

    std::shared_ptr<Database> db(new Database);
    db->path_ = info.absoluteFilePath();
    if (!c.db) {
        // One thread at a time uses the connection: SQLite's own lock on it only costs time.
        sqlite3* h = nullptr;
        const int rc = sqlite3_open_v2(uriFor(path).toUtf8().constData(), &h,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
        if (rc != SQLITE_OK) {
            const QString text = h ? errText(h) : QString::fromUtf8(sqlite3_errstr(rc));
            sqlite3_close(h);
            throw DbError(rc, text);
        }
        sqlite3_busy_timeout(h, 2000);
        c.db = h;
        db->schema_ = QStringLiteral("main");
    } else {
        db->schema_ = QStringLiteral("db%1").arg(c.nextSchema++);
        execRaw(c.db, QStringLiteral("ATTACH DATABASE ") + quoteText(uriFor(path)) + QStringLiteral(" AS ") +
                          quoteIdent(db->schema_));
    }
    try {
        // Reading the schema fails for a file that is not a database.
        execRaw(c.db, QStringLiteral("SELECT count(*) FROM ") + quoteIdent(db->schema_) +
                          QStringLiteral(".sqlite_master"));
        execRaw(c.db, QStringLiteral("PRAGMA ") + quoteIdent(db->schema_) + QStringLiteral(".journal_mode=DELETE"));
        // Deleted rows are cleared within the pages a deletion writes anyway, but freed pages are
        // not written again with zeros (as this SQLite is built to by default): emptying a table
        // would otherwise cost as much as writing it twice.
        execRaw(c.db, QStringLiteral("PRAGMA ") + quoteIdent(db->schema_) + QStringLiteral(".secure_delete=FAST"));
        if (exclusive)
            execRaw(c.db, QStringLiteral("PRAGMA ") + quoteIdent(db->schema_) +
                              QStringLiteral(".locking_mode=EXCLUSIVE"));
    } catch (const DbError&) {
        if (db->schema_ == QLatin1String("main") && c.open.empty()) {
            sqlite3_close(c.db);
            c.db = nullptr;
        } else {
            detach(c.db, db->schema_);
        }
        throw;
    }
    db->open_ = true;
    c.open.push_back(db.get());
    return db;
}

Database::~Database() { close(); }

void Database::close()
{
    if (!open_)
        return;
    open_ = false;
    Connection& c = conn();
    c.open.erase(std::remove(c.open.begin(), c.open.end(), this), c.open.end());
    if (schema_ != QLatin1String("main"))
        detach(c.db, schema_);
    if (c.open.empty() && c.db) {
        // The main file stays on the connection until the last file closes.
        closeConnection(c);
        c.depth = 0;
        c.nextSchema = 1;
    }
}

int Database::execute(const QString& sql)
{
    sqlite3* db = conn().db;
    if (!open_ || !db)
        throw DbError(3420, QStringLiteral("The database is not open."));
    const QByteArray utf8 = translateSql(sql).toUtf8();
    const char* p = utf8.constData();
    const char* end = p + utf8.size();
    const sqlite3_int64 before = sqlite3_total_changes64(db);
    while (p < end) {
        sqlite3_stmt* st = nullptr;
        const char* tail = nullptr;
        const int rc = sqlite3_prepare_v2(db, p, int(end - p), &st, &tail);
        if (rc != SQLITE_OK)
            raise(db, rc);
        if (!st)
            break;
        StmtGuard g{st};
        int s;
        while ((s = sqlite3_step(st)) == SQLITE_ROW) {
        }
        if (s != SQLITE_DONE)
            raise(db, s);
        p = tail;
    }
    return int(sqlite3_total_changes64(db) - before);
}

Recordset Database::openRecordset(const QString& sql, bool updatable)
{
    if (!open_)
        throw DbError(3420, QStringLiteral("The database is not open."));
    auto data = std::make_shared<RecordsetData>();
    data->sql = sql;
    data->wantUpdatable = updatable;
    data->load();
    Recordset r;
    r.d_ = data;
    if (!data->rows.empty()) {
        r.pos_ = 0;
        r.bookmark_ = data->rows.front().bookmark;
    }
    return r;
}

Statement Database::prepare(const QString& sql)
{
    if (!open_)
        throw DbError(3420, QStringLiteral("The database is not open."));
    Statement s;
    s.db_ = conn().db;
    s.st_ = prepareRaw(s.db_, translateSql(sql));
    return s;
}

QStringList Database::tableNames() const
{
    QStringList out;
    sqlite3* db = conn().db;
    if (!open_ || !db)
        return out;
    sqlite3_stmt* st = prepareRaw(db, QStringLiteral("SELECT name FROM ") + quoteIdent(schema_) +
                                          QStringLiteral(".sqlite_master WHERE type='table'"));
    StmtGuard g{st};
    while (sqlite3_step(st) == SQLITE_ROW)
        out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    return out;
}

bool Database::hasTable(const QString& name) const
{
    for (const QString& t : tableNames())
        if (t.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

namespace {
const QString kLinkTable = QStringLiteral("LinkedTables");
}

Database::TableDef Database::tableDef(const QString& name) const
{
    sqlite3* db = conn().db;
    if (hasTable(kLinkTable)) {
        sqlite3_stmt* st = prepareRaw(db, QStringLiteral("SELECT Connect, SourceTableName FROM ") + quoteIdent(schema_) +
                                              QLatin1Char('.') + kLinkTable + QStringLiteral(" WHERE Name=?1"));
        StmtGuard g{st};
        bindValue(db, st, 1, Variant(name));
        if (sqlite3_step(st) == SQLITE_ROW) {
            auto text = [&](int i) {
                const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
                return p ? QString::fromUtf8(p) : QString();
            };
            return {name, text(0), text(1)};
        }
    }
    if (hasTable(name))
        return {name, QString(), name};
    throw DbError(kErrItemNotFound, QStringLiteral("Item not found in this collection."));
}

void Database::setLink(const QString& name, const QString& connect, const QString& sourceTableName)
{
    sqlite3* db = conn().db;
    sqlite3_stmt* st = prepareRaw(db, QStringLiteral("UPDATE ") + quoteIdent(schema_) + QLatin1Char('.') + kLinkTable +
                                          QStringLiteral(" SET Connect=?1, SourceTableName=?2 WHERE Name=?3"));
    StmtGuard g{st};
    bindValue(db, st, 1, Variant(connect));
    bindValue(db, st, 2, Variant(sourceTableName));
    bindValue(db, st, 3, Variant(name));
    if (const int rc = sqlite3_step(st); rc != SQLITE_DONE)
        raise(db, rc);
    if (sqlite3_changes(db) == 0)
        throw DbError(kErrItemNotFound, QStringLiteral("Item not found in this collection."));
}

void Database::refreshLink(const QString& name) const
{
    const TableDef def = tableDef(name);
    if (def.connect.isEmpty())
        return;
    static const QString key = QStringLiteral(";DATABASE=");
    const qsizetype at = def.connect.indexOf(key, 0, Qt::CaseInsensitive);
    if (at < 0)
        throw DbError(3170, QStringLiteral("Could not find installable ISAM."));
    const QString file = def.connect.mid(at + key.size()).trimmed();
    const QFileInfo info(file);
    if (file.isEmpty() || !info.exists())
        throw DbError(3044, QStringLiteral("'%1' is not a valid path.").arg(file));
    // The link is reached by its plain name: the first file on the connection that has a table
    // of that name must be the linked file, and the name must be the source table's.
    const Database* target = nullptr;
    for (const Database* d : conn().open)
        if (QFileInfo(d->path_).canonicalFilePath() == info.canonicalFilePath())
            target = d;
    if (!target)
        throw DbError(3024, QStringLiteral("Could not find file '%1'.").arg(file));
    const Database* first = nullptr;
    for (const Database* d : conn().open)
        if (d != this && d->hasTable(name)) {
            first = d;
            break;
        }
    if (first != target || def.sourceTableName.compare(name, Qt::CaseInsensitive) != 0 ||
        !target->hasTable(def.sourceTableName))
        throw DbError(kErrNoLink,
                      QStringLiteral("The database engine cannot find the input table or query '%1'.").arg(name));
}

// ---------------------------------------------------------------------------------------------
// Transactions

namespace dbtrans {

// Runs the cached statement of a transaction level: `first` at level 0, else `nested` with the
// level for %1.
void runLevelStatement(Connection& c, std::vector<sqlite3_stmt*>& cache, int level, const char* first,
                       const char* nested)
{
    if (cache.size() <= size_t(level))
        cache.resize(size_t(level) + 1, nullptr);
    sqlite3_stmt*& st = cache[size_t(level)];
    if (!st)
        st = prepareRaw(c.db, level == 0 ? QString::fromLatin1(first) : QString::fromLatin1(nested).arg(level));
    const int rc = sqlite3_step(st);
    if (rc != SQLITE_DONE) {
        const DbError e(sqlite3_extended_errcode(c.db), errText(c.db));
        sqlite3_reset(st);
        throw e;
    }
    sqlite3_reset(st);
}

void begin()
{
    Connection& c = conn();
    if (!c.db)
        throw DbError(3420, QStringLiteral("The database is not open."));
    if (c.depth > 0 && sqlite3_get_autocommit(c.db))
        c.depth = 0;   // the engine rolled the transaction back itself (after an I/O failure)
    runLevelStatement(c, c.opening, c.depth, "BEGIN", "SAVEPOINT sp%1");
    ++c.depth;
}

// The open transaction; throws when there is none.
Connection& current()
{
    Connection& c = conn();
    if (!c.db || c.depth == 0)
        throw DbError(3034, QStringLiteral("You tried to commit or rollback a transaction without first "
                                           "beginning a transaction."));
    return c;
}

void commit()
{
    Connection& c = current();
    if (sqlite3_get_autocommit(c.db)) {
        c.depth = 0;
        throw DbError(3034, QStringLiteral("The transaction was rolled back by the database engine."));
    }
    runLevelStatement(c, c.closing, c.depth - 1, "COMMIT", "RELEASE sp%1");
    --c.depth;
}

void rollback()
{
    Connection& c = current();
    if (sqlite3_get_autocommit(c.db)) {
        c.depth = 0;
        return;
    }
    if (c.depth == 1)
        execRaw(c.db, QStringLiteral("ROLLBACK"));
    else
        execRaw(c.db, QStringLiteral("ROLLBACK TO sp%1; RELEASE sp%1").arg(c.depth - 1));
    --c.depth;
}

int depth() { return conn().depth; }

} // namespace dbtrans

// ---------------------------------------------------------------------------------------------

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

sqlite3* SharedConnection() { return conn().db; }

WhileStatementsRun::WhileStatementsRun(int steps, std::function<void()> during) : during_(std::move(during))
{
    sqlite3_progress_handler(conn().db, steps, [](void* self) {
        try {
            static_cast<WhileStatementsRun*>(self)->during_();
        } catch (...) {
        }
        return 0;
    }, this);
}

WhileStatementsRun::~WhileStatementsRun() { sqlite3_progress_handler(conn().db, 0, nullptr, nullptr); }

void ResetDatabaseEngine()
{
    Connection& c = conn();
    for (Database* d : std::vector<Database*>(c.open))
        d->close();
    closeConnection(c);
    c = Connection();
}
