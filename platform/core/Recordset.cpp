// Recordset (Database.h): the cursor over the shared rows, its edit buffer, and the writes of an
// updatable recordset through to its table.
#include "platform/core/Connection.h"
#include "platform/core/RecordsetData.h"
#include "platform/core/SqlText.h"

#include <algorithm>

using namespace dbcore;

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
