// The data grid's rows and the view: the current row and column, moving the recordset's cursor,
// the view following it, and the layout of columns and rows.
#include "platform/gui/Handler.h"
#include "platform/gui/TDBGrid.h"
#include "platform/gui/TDBGridBusy.h"
#include "platform/gui/TDBGridModel.h"

#include <QHeaderView>
#include <cmath>

int TDBGrid::rowCount() const { return rs_.isOpen() ? rs_.recordCount() : 0; }
bool TDBGrid::showsAddNewRow() const { return allowAddNew_ && rs_.isOpen() && rs_.updatable(); }
int TDBGrid::rowsShown() const { return rowCount() + (showsAddNewRow() ? 1 : 0); }

bool TDBGrid::isAddNewRow() const { return showsAddNewRow() && row() == rowCount(); }

int TDBGrid::row() const
{
    if (!rs_.isOpen())
        return -1;
    const int p = rs_.absolutePosition();
    if (p >= 0)
        return p;
    return rs_.eof() && showsAddNewRow() ? rowCount() : -1;   // the add-new row stands at the end
}

int TDBGrid::col() const { return currentIndex().isValid() ? currentIndex().column() : -1; }

void TDBGrid::setCol(int index)
{
    if (index < 0 || index >= columnCount())
        throw VbError::SubscriptOutOfRange();
    const int r = currentIndex().isValid() ? currentIndex().row() : (model_->rows_ > 0 ? 0 : -1);
    if (r >= 0)
        setCurrentIndex(model_->index(r, index));
}

int TDBGrid::bookmark() const
{
    const int r = row();
    return r >= 0 && r < rowCount() ? rowBookmark(r) : -1;
}

void TDBGrid::setBookmark(int bookmark)
{
    commitRow();
    rs_.setBookmark(bookmark);
    syncView();
}

int TDBGrid::rowBookmark(int r) const
{
    if (!rs_.isOpen() || r < 0 || r >= rowCount())
        return -1;
    try {
        reader_.setAbsolutePosition(r);
        return reader_.bookmark();
    } catch (const DbError&) {
        return -1;
    }
}

void TDBGrid::moveFirst()
{
    commitRow();
    if (rowCount() > 0)
        rs_.moveFirst();
    syncView();
}

void TDBGrid::moveLast()
{
    commitRow();
    if (rowCount() > 0)
        rs_.moveLast();
    syncView();
}

void TDBGrid::moveNext()
{
    commitRow();
    rs_.moveNext();
    syncView();
}

void TDBGrid::movePrevious()
{
    commitRow();
    rs_.movePrevious();
    syncView();
}

void TDBGrid::moveRecordsetTo(int r)
{
    if (!rs_.isOpen())
        return;
    if (r >= 0 && r < rowCount()) {
        if (rs_.absolutePosition() != r)
            rs_.setAbsolutePosition(r);
    } else if (rowCount() > 0 && !rs_.eof()) {
        rs_.moveLast();
        rs_.moveNext();   // the add-new row stands at the end of the rows
    }
}

void TDBGrid::syncView()
{
    if (!rs_.isOpen())
        return;
    int target = rs_.absolutePosition();
    if (target < 0 && rs_.eof() && showsAddNewRow())
        target = rowCount();
    if (target < 0 || target >= model_->rows_)
        return;
    const int c = col() >= 0 ? col() : 0;
    if (currentIndex().row() == target && currentIndex().column() == c)
        return;
    syncing_ = true;
    setCurrentIndex(model_->index(target, std::min(c, columnCount() - 1)));
    syncing_ = false;
}

void TDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    Busy busy(this);
    const bool rowMoved = current.row() != previous.row();
    if (!syncing_ && rowMoved) {
        commitRow();
        moveRecordsetTo(current.row());
    }
    if (rowMoved) {
        verticalHeader()->viewport()->update();
        viewport()->update();
    }
    if (!current.isValid() || applyingLayout_)
        return;
    const int lastBookmark = lastBookmark_, lastCol = lastCol_;
    lastBookmark_ = rowBookmark(current.row());
    lastCol_ = current.column();
    if (lastBookmark == lastBookmark_ && lastCol == lastCol_ && !rowMoved)
        return;
    emitGuarded("RowColChange", [&] { emit RowColChange(lastBookmark, lastCol); });
}

void TDBGrid::onRecordsetChanged()
{
    if (busy_ > 0)
        resyncPending_ = true;
    else
        resync();
}

// Brings the rows to the recordset without resetting the view: rows are added or removed at
// the end and every cell is repainted, so the current cell and an open editor survive.
void TDBGrid::resync()
{
    resyncPending_ = false;
    const int rows = rowsShown();
    model_->setRows(rows);
    if (rows > 0 && columnCount() > 0)
        emit model_->dataChanged(model_->index(0, 0), model_->index(rows - 1, columnCount() - 1));
    emit model_->headerDataChanged(Qt::Vertical, 0, std::max(0, rows - 1));
    applyRowHeights();
    syncView();
}

void TDBGrid::resetModel()
{
    model_->reset();
    lastBookmark_ = -1;
    lastCol_ = -1;
    applyLayout();
    resyncPending_ = false;
    if (rs_.isOpen() && model_->rows_ > 0 && columnCount() > 0) {
        if (rs_.absolutePosition() < 0 && !rs_.eof() && rowCount() > 0)
            rs_.moveFirst();
        int first = 0;
        while (first < columnCount() && !columns_[size_t(first)]->visible_)
            ++first;
        syncing_ = true;
        setCurrentIndex(model_->index(std::max(0, rs_.absolutePosition()), first < columnCount() ? first : 0));
        syncing_ = false;
    }
}

void TDBGrid::applyLayout()
{
    applyingLayout_ = true;
    for (int i = 0; i < columnCount(); ++i) {
        const TDBColumn& c = *columns_[size_t(i)];
        setColumnHidden(i, !c.visible_);
        if (c.visible_)
            setColumnWidth(i, int(std::lround(c.width_)));
        horizontalHeader()->setSectionResizeMode(i, c.allowSizing_ ? QHeaderView::Interactive : QHeaderView::Fixed);
    }
    const QFontMetrics fm(headFont_);
    horizontalHeader()->setFixedHeight(int(std::ceil(fm.height() * std::max(headLines_, 1.0))) + 4);
    applyingLayout_ = false;
    applyRowHeights();
    refresh();
}

void TDBGrid::applyRowHeights()
{
    applyingLayout_ = true;
    const int h = std::max(1, int(std::lround(rowHeight_)));
    verticalHeader()->setDefaultSectionSize(h);
    for (int r = 0; r < model_->rows_; ++r)
        if (verticalHeader()->sectionSize(r) != h)
            verticalHeader()->resizeSection(r, h);
    applyingLayout_ = false;
}
