// The data grid's columns (TDBColumn, TDBValueItems) and the grid's collection of them, and the
// text a value shows in a column.
#include "platform/gui/Handler.h"
#include "platform/gui/NumberFormat.h"
#include "platform/gui/TDBGrid.h"
#include "platform/gui/TDBGridModel.h"
#include "platform/gui/TDBGridValues.h"

using namespace tdbgrid;

const TDBValueItem* TDBValueItems::find(const QString& value) const
{
    for (const TDBValueItem& i : items_)
        if (i.value == value)
            return &i;
    return nullptr;
}

int TDBColumn::index() const
{
    for (int i = 0; i < grid_->columnCount(); ++i)
        if (grid_->columns_[size_t(i)].get() == this)
            return i;
    return -1;
}

void TDBColumn::setCaption(const QString& caption)
{
    caption_ = caption;
    emit grid_->model_->headerDataChanged(Qt::Horizontal, index(), index());
}

void TDBColumn::setDataField(const QString& field)
{
    dataField_ = field;
    grid_->refresh();
}

void TDBColumn::setWidth(double width)
{
    width_ = std::max(0.0, width);
    grid_->applyLayout();
}

void TDBColumn::setVisible(bool visible)
{
    visible_ = visible;
    grid_->applyLayout();
}

void TDBColumn::setButton(bool on)
{
    button_ = on;
    grid_->refresh();
}

void TDBColumn::setNumberFormat(const QString& f)
{
    numberFormat_ = f;
    grid_->refresh();
}

void TDBColumn::setAlignment(int a)
{
    alignment_ = a;
    grid_->refresh();
}

void TDBColumn::setHeadAlignment(int a)
{
    headAlignment_ = a;
    grid_->refresh();
}

void TDBColumn::setFetchStyle(bool on)
{
    fetchStyle_ = on;
    grid_->refresh();
}

void TDBColumn::setAllowSizing(bool on)
{
    allowSizing_ = on;
    grid_->applyLayout();
}

void TDBColumn::setWrapText(bool on)
{
    wrapText_ = on;
    grid_->refresh();
}

Variant TDBColumn::value() const
{
    bool found = false;
    const Variant b = grid_->bufferValue(*this, &found);
    if (found)
        return b;
    const int r = grid_->row();
    return r < 0 ? Variant::null() : grid_->storedValue(r, *this);
}

void TDBColumn::setValue(const Variant& value) { grid_->setBufferValue(*this, value, false); }

QString TDBColumn::text() const { return grid_->displayText(*this, value()); }

Variant TDBColumn::cellValue(int bookmark) const
{
    if (bookmark == grid_->bufferBookmark_ && !grid_->buffer_.empty()) {
        bool found = false;
        const Variant b = grid_->bufferValue(*this, &found);
        if (found)
            return b;
    }
    if (bookmark < 0 || !grid_->rs_.isOpen() || dataField_.isEmpty())
        return Variant::null();
    try {
        grid_->reader_.setBookmark(bookmark);
        return grid_->reader_.field(dataField_);
    } catch (const DbError&) {
        return Variant::null();
    }
}

QString TDBColumn::cellText(int bookmark) const { return grid_->displayText(*this, cellValue(bookmark)); }

TDBColumn& TDBGrid::column(int index)
{
    if (index < 0 || index >= columnCount())
        throw VbError::SubscriptOutOfRange();
    return *columns_[size_t(index)];
}

TDBColumn& TDBGrid::column(const QString& name)
{
    for (auto& c : columns_)
        if (c->caption_.compare(name, Qt::CaseInsensitive) == 0)
            return *c;
    for (auto& c : columns_)
        if (c->dataField_.compare(name, Qt::CaseInsensitive) == 0)
            return *c;
    throw VbError::SubscriptOutOfRange();
}

TDBColumn& TDBGrid::addColumn(int index)
{
    if (index < 0 || index > columnCount())
        throw VbError::SubscriptOutOfRange();
    columns_.insert(columns_.begin() + index, std::unique_ptr<TDBColumn>(new TDBColumn(this)));
    resetModel();
    return *columns_[size_t(index)];
}

void TDBGrid::removeColumn(int index)
{
    if (index < 0 || index >= columnCount())
        throw VbError::SubscriptOutOfRange();
    columns_.erase(columns_.begin() + index);
    resetModel();
}

QString TDBGrid::displayText(const TDBColumn& c, const Variant& v) const
{
    if (c.valueItems_.presentation == dbgCheckBox)
        return QString();
    const QString raw = variantText(v);
    if (c.valueItems_.translate)
        if (const TDBValueItem* item = c.valueItems_.find(raw))
            return item->displayValue;
    double d = 0;
    if (!c.numberFormat_.isEmpty() && variantNumber(v, &d) && !raw.isEmpty())
        return FormatNumberText(d, c.numberFormat_);
    return raw;
}
