// The data grid's values and its row buffer: what a cell holds, edits into the buffer (from the
// user or from code), the row written (BeforeInsert/Update, AfterInsert/Update), a check box
// cell toggled, the current row deleted.
#include "platform/gui/Handler.h"
#include "platform/gui/TDBGrid.h"
#include "platform/gui/TDBGridBusy.h"
#include "platform/gui/TDBGridValues.h"

#include <QTimer>

using namespace tdbgrid;

Variant TDBGrid::storedValue(int r, const TDBColumn& c) const
{
    if (!rs_.isOpen() || r < 0 || r >= rowCount() || c.dataField_.isEmpty())
        return Variant::null();
    try {
        reader_.setAbsolutePosition(r);
        return reader_.field(c.dataField_);
    } catch (const DbError&) {
        return Variant::null();
    }
}

int TDBGrid::bufferRowOfCurrent() const
{
    const int r = row();
    return r >= 0 && r < rowCount() ? rowBookmark(r) : -1;
}

Variant TDBGrid::bufferValue(const TDBColumn& c, bool* found) const
{
    *found = false;
    if (editCol_ >= 0 && columns_[size_t(editCol_)].get() == &c) {
        *found = true;
        return editValue_;
    }
    if (buffer_.empty() || c.dataField_.isEmpty() || bufferBookmark_ != bufferRowOfCurrent())
        return Variant();
    auto it = buffer_.find(c.dataField_.toLower());
    if (it == buffer_.end())
        return Variant();
    *found = true;
    return it->second;
}

Variant TDBGrid::rowValue(int r, const TDBColumn& c) const
{
    const int bm = r < rowCount() ? rowBookmark(r) : -1;
    if (!buffer_.empty() && bm == bufferBookmark_ && !c.dataField_.isEmpty()) {
        auto it = buffer_.find(c.dataField_.toLower());
        if (it != buffer_.end())
            return it->second;
    }
    return storedValue(r, c);
}

void TDBGrid::setBufferValue(const TDBColumn& c, const Variant& v, bool fromUser)
{
    if (editCol_ >= 0 && columns_[size_t(editCol_)].get() == &c) {
        editValue_ = v;   // the column being updated: its pending value
        return;
    }
    if (c.dataField_.isEmpty() || !rs_.isOpen())
        return;
    if (!rs_.updatable())
        throw DbError(kErrNotUpdatable, QStringLiteral("Database or object is read-only."));
    const int bm = bufferRowOfCurrent();
    if (bm < 0 && !isAddNewRow() && !(rs_.eof() && showsAddNewRow()))
        throw DbError(kErrNoCurrentRecord, QStringLiteral("No current record."));
    if (!buffer_.empty() && bufferBookmark_ != bm)
        commitRow();
    bufferBookmark_ = bm;
    buffer_[c.dataField_.toLower()] = v;
    viewport()->update();
    if (!fromUser)
        scheduleCommit();
}

void TDBGrid::scheduleCommit()
{
    if (commitScheduled_)
        return;
    commitScheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        commitScheduled_ = false;
        commitRow();
    });
}

bool TDBGrid::updateRow() { return commitRow(); }

bool TDBGrid::commitRow()
{
    if (buffer_.empty() || !rs_.isOpen())
        return true;
    Busy busy(this);
    const bool isNew = bufferBookmark_ < 0;
    std::map<QString, Variant> values;
    values.swap(buffer_);
    int cancel = 0;
    emitGuarded(isNew ? "BeforeInsert" : "BeforeUpdate", [&] {
        if (isNew)
            emit BeforeInsert(cancel);
        else
            emit BeforeUpdate(cancel);
    });
    if (cancel) {
        viewport()->update();
        return false;
    }
    try {
        if (isNew) {
            rs_.addNew();
        } else {
            rs_.setBookmark(bufferBookmark_);
            rs_.edit();
        }
        for (const auto& [field, v] : values)
            for (const auto& c : columns_)
                if (c->dataField_.toLower() == field) {
                    rs_.setField(c->dataField_, storable(v));
                    break;
                }
        rs_.update();
    } catch (const std::exception& e) {
        rs_.cancelUpdate();
        ReportHandlerError(DescribeError(e), name(), QStringLiteral("Update"));
        resyncPending_ = true;
        return false;
    }
    if (isNew)
        rs_.setBookmark(rs_.lastModified());
    resyncPending_ = true;
    emitGuarded(isNew ? "AfterInsert" : "AfterUpdate", [&] {
        if (isNew)
            emit AfterInsert();
        else
            emit AfterUpdate();
    });
    return true;
}

// A value the user entered into a cell.
bool TDBGrid::userEdit(int r, int col, const Variant& value)
{
    if (col < 0 || col >= columnCount() || !allowUpdate_ || !rs_.isOpen() || !rs_.updatable())
        return false;
    TDBColumn& c = *columns_[size_t(col)];
    if (c.locked_)
        return false;
    Busy busy(this);
    if (row() != r) {   // the edit belongs to its own row, whatever the view shows by now
        commitRow();
        moveRecordsetTo(r);
    }
    const Variant old = r < rowCount() ? storedValue(r, c) : Variant::null();
    bool found = false;
    const Variant shown = bufferValue(c, &found);
    if (variantText(found ? shown : old) == variantText(value) && buffer_.empty())
        return true;   // unchanged (on the add-new row: nothing typed)
    editCol_ = col;
    editValue_ = value;
    int cancel = 0;
    emitGuarded("BeforeColUpdate", [&] { emit BeforeColUpdate(col, old, cancel); });
    const Variant final = editValue_;
    editCol_ = -1;
    editValue_ = Variant();
    if (cancel) {
        viewport()->update();
        return false;
    }
    setBufferValue(c, final, true);
    emitGuarded("AfterColUpdate", [&] { emit AfterColUpdate(col); });
    return commitRow();
}

void TDBGrid::toggleCheck(int r, int col)
{
    const TDBColumn& c = *columns_[size_t(col)];
    const TDBValueItems& items = c.valueItems_;
    const Variant now = rowValue(r, c);
    Variant next;
    if (items.count() >= 2) {   // the next item's value
        int i = 0;
        while (i < items.count() && items.item(i).value != variantText(now))
            ++i;
        next = Variant(items.item((i + 1) % items.count()).value);
    } else {
        next = Variant(int32_t(variantTrue(now) ? 0 : -1));   // the database's true is -1
    }
    userEdit(r, col, next);
}

void TDBGrid::deleteRow()
{
    if (!rs_.isOpen())
        return;
    Busy busy(this);
    buffer_.clear();
    const int r = row();
    if (r < 0 || r >= rowCount())
        throw DbError(kErrNoCurrentRecord, QStringLiteral("No current record."));
    int cancel = 0;
    emitGuarded("BeforeDelete", [&] { emit BeforeDelete(cancel); });
    if (cancel)
        return;
    rs_.setAbsolutePosition(r);
    const int bm = rs_.bookmark();
    rs_.deleteRow();
    selected_.erase(bm);
    // The row that took its place becomes current (the last row when the last one went).
    if (rowCount() > 0)
        rs_.setAbsolutePosition(std::min(r, rowCount() - 1));
    resyncPending_ = true;
    emitGuarded("AfterDelete", [&] { emit AfterDelete(); });
}
