#include "platform/gui/TDBGrid.h"

#include "platform/core/DateSerial.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Handler.h"
#include "platform/gui/Keys.h"
#include "platform/gui/NumberFormat.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTimer>
#include <cmath>

// --- helpers ---------------------------------------------------------------------------------

namespace {

QString variantText(const Variant& v)
{
    switch (v.type()) {
    case VarType::Empty:
    case VarType::Null:
        return QString();
    case VarType::Integer:
    case VarType::Long:
    case VarType::Boolean:
        return QString::number(v.intValue());
    case VarType::Double:
        return QString::number(v.doubleValue(), 'g', 15);
    case VarType::Date:
        return SerialText(v.doubleValue());   // "yyyy/mm/dd", with the time of day when it has one
    case VarType::String:
        return v.stringValue();
    }
    return QString();
}

bool variantNumber(const Variant& v, double* out)
{
    if (v.isNumber()) {
        *out = v.doubleValue();
        return true;
    }
    if (v.isString()) {
        bool ok = false;
        *out = v.stringValue().trimmed().toDouble(&ok);
        return ok;
    }
    return false;
}

bool variantTrue(const Variant& v)
{
    double d = 0;
    if (variantNumber(v, &d))
        return d != 0;
    return v.isString() && v.stringValue().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
}

// What is written to the database: an empty text is Null.
Variant storable(const Variant& v)
{
    if (v.isEmpty() || (v.isString() && v.stringValue().isEmpty()))
        return Variant::null();
    return v;
}

Qt::Alignment qtAlignment(int a, bool number)
{
    switch (a) {
    case dbgLeft: return Qt::AlignLeft;
    case dbgRight: return Qt::AlignRight;
    case dbgCenter: return Qt::AlignHCenter;
    default: return number ? Qt::AlignRight : Qt::AlignLeft;
    }
}

constexpr int kButtonWidth = 16;

}  // namespace

const TDBValueItem* TDBValueItems::find(const QString& value) const
{
    for (const TDBValueItem& i : items_)
        if (i.value == value)
            return &i;
    return nullptr;
}

// --- model and delegate ----------------------------------------------------------------------

class TDBGridModel : public QAbstractTableModel {
public:
    explicit TDBGridModel(TDBGrid* grid) : QAbstractTableModel(grid), grid_(grid) {}

    int rows_ = 0;

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : grid_->columnCount(); }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.column() >= grid_->columnCount())
            return QVariant();
        const TDBColumn& c = *grid_->columns_[size_t(index.column())];
        if (role == Qt::DisplayRole)
            return grid_->displayText(c, grid_->rowValue(index.row(), c));
        if (role == Qt::EditRole)
            return variantText(grid_->rowValue(index.row(), c));
        return QVariant();
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (role != Qt::EditRole || !index.isValid())
            return false;
        return grid_->userEdit(index.row(), index.column(), Variant(value.toString()));
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (!index.isValid() || index.column() >= grid_->columnCount())
            return f;
        const TDBColumn& c = *grid_->columns_[size_t(index.column())];
        if (grid_->allowUpdate_ && grid_->rs_.updatable() && !c.locked() && c.valueItems().presentation != dbgCheckBox)
            f |= Qt::ItemIsEditable;
        return f;
    }

    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (role == Qt::DisplayRole) {
            if (o == Qt::Horizontal)
                return section < grid_->columnCount() ? grid_->columns_[size_t(section)]->caption() : QString();
            if (grid_->showsAddNewRow() && section == rows_ - 1)
                return QStringLiteral("*");
            return section == grid_->currentIndex().row() ? QStringLiteral("▶") : QString();
        }
        if (role == Qt::TextAlignmentRole && o == Qt::Horizontal && section < grid_->columnCount()) {
            const int a = grid_->columns_[size_t(section)]->headAlignment();
            return int((a == dbgGeneral ? Qt::AlignHCenter : qtAlignment(a, false)) | Qt::AlignVCenter);
        }
        return QVariant();
    }

    // Rows are added or removed at the end only.
    void setRows(int rows)
    {
        if (rows > rows_) {
            beginInsertRows(QModelIndex(), rows_, rows - 1);
            rows_ = rows;
            endInsertRows();
        } else if (rows < rows_) {
            beginRemoveRows(QModelIndex(), rows, rows_ - 1);
            rows_ = rows;
            endRemoveRows();
        }
    }

    void reset()
    {
        beginResetModel();
        rows_ = grid_->rowsShown();
        endResetModel();
    }

private:
    TDBGrid* grid_;
};

class TDBGridDelegate : public QStyledItemDelegate {
public:
    explicit TDBGridDelegate(TDBGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        grid_->paintCell(p, option, index);
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        auto* e = new QLineEdit(parent);
        e->setFrame(false);
        e->setFont(grid_->font());
        const TDBColumn& c = *grid_->columns_[size_t(index.column())];
        double d = 0;
        e->setAlignment(qtAlignment(c.alignment(), variantNumber(grid_->rowValue(index.row(), c), &d)) |
                        Qt::AlignVCenter);
        return e;
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        editor->setGeometry(option.rect.adjusted(1, 1, -1, -1));
    }

private:
    TDBGrid* grid_;
};

// --- nesting of grid operations --------------------------------------------------------------

struct TDBGrid::Busy {
    explicit Busy(TDBGrid* g) : g_(g) { ++g_->busy_; }
    ~Busy()
    {
        if (--g_->busy_ == 0 && g_->resyncPending_)
            g_->resync();
    }
    TDBGrid* g_;
};

// --- columns ---------------------------------------------------------------------------------

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

// --- the grid --------------------------------------------------------------------------------

TDBGrid::TDBGrid(QWidget* parent) : QTableView(parent), model_(new TDBGridModel(this))
{
    MarkControl(this, QStringLiteral("TDBGrid"));
    setModel(model_);
    setItemDelegate(new TDBGridDelegate(this));
    setSelectionMode(QAbstractItemView::NoSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTabKeyNavigation(false);   // Tab and Shift+Tab leave the grid for the next or previous control
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(int(rowHeight_));
    verticalHeader()->setFixedWidth(14);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(true);
    headFont_ = font();
    connect(verticalHeader(), &QHeaderView::sectionResized, this, [this](int logical, int oldSize, int newSize) {
        sectionResized(Qt::Vertical, logical, oldSize, newSize);
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int logical, int oldSize, int newSize) {
        sectionResized(Qt::Horizontal, logical, oldSize, newSize);
    });
    verticalHeader()->viewport()->installEventFilter(this);
    horizontalHeader()->viewport()->installEventFilter(this);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int logical) {
        emitGuarded("HeadClick", [&] { emit HeadClick(logical); });
    });
    connect(verticalHeader(), &QHeaderView::sectionClicked, this, [this](int logical) { toggleSelection(logical); });
    setMarqueeStyle(marqueeStyle_);
    setAllowRowSizing(allowRowSizing_);
}

TDBGrid::~TDBGrid()
{
    if (rs_.isOpen())
        rs_.removeObserver(observer_);
}

QString TDBGrid::name() const { return objectName().isEmpty() ? QStringLiteral("TDBGrid") : objectName(); }

// A drag of a row or column border ends with one RowResize or ColResize, which may cancel it.
void TDBGrid::sectionResized(Qt::Orientation o, int logical, int oldSize, int newSize)
{
    if (applyingLayout_)
        return;
    if (dragging_) {
        if (dragSection_ < 0) {
            dragOrientation_ = o;
            dragSection_ = logical;
        }
        return;
    }
    finishResize(o, logical, newSize);
}

void TDBGrid::finishResize(Qt::Orientation o, int logical, int newSize)
{
    int cancel = 0;
    if (o == Qt::Vertical) {
        const double before = rowHeight_;
        rowHeight_ = newSize;
        emitGuarded("RowResize", [&] { emit RowResize(cancel); });
        if (cancel)
            rowHeight_ = before;
        applyRowHeights();
        return;
    }
    if (logical < 0 || logical >= columnCount())
        return;
    TDBColumn& c = *columns_[size_t(logical)];
    const double before = c.width_;
    c.width_ = newSize;
    emitGuarded("ColResize", [&] { emit ColResize(logical, cancel); });
    if (cancel)
        c.width_ = before;
    applyLayout();
}

void TDBGrid::emitGuarded(const char* event, const std::function<void()>& emitter)
{
    RunGuarded(name(), name() + QLatin1Char('_') + QLatin1String(event), emitter);
}

// --- binding ---

void TDBGrid::setRecordset(const Recordset& rs)
{
    Busy busy(this);
    buffer_.clear();
    if (rs_.isOpen())
        rs_.removeObserver(observer_);
    rs_ = rs;
    reader_ = rs_.isOpen() ? rs_.clone() : Recordset();
    observer_ = rs_.isOpen() ? rs_.addObserver([this] { onRecordsetChanged(); }) : 0;
    selected_.clear();
    if (columns_.empty() && rs_.isOpen())
        retrieveFields();
    else
        resetModel();
}

void TDBGrid::clearRecordset() { setRecordset(Recordset()); }

void TDBGrid::retrieveFields()
{
    columns_.clear();
    for (int i = 0; i < rs_.fieldCount(); ++i) {
        auto c = std::unique_ptr<TDBColumn>(new TDBColumn(this));
        c->caption_ = c->dataField_ = rs_.fieldName(i);
        c->visible_ = true;
        columns_.push_back(std::move(c));
    }
    resetModel();
}

void TDBGrid::rebind()
{
    Busy busy(this);
    resetModel();
}

void TDBGrid::refresh()
{
    viewport()->update();
    horizontalHeader()->viewport()->update();
    verticalHeader()->viewport()->update();
}

// --- columns ---

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

// --- settings ---

void TDBGrid::setAllowAddNew(bool on)
{
    allowAddNew_ = on;
    resync();
}

void TDBGrid::setAllowUpdate(bool on)
{
    allowUpdate_ = on;
    setMarqueeStyle(marqueeStyle_);
}

void TDBGrid::setMarqueeStyle(int style)
{
    marqueeStyle_ = style;
    setEditTriggers(allowUpdate_ ? QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                                       QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                                 : QAbstractItemView::NoEditTriggers);
    refresh();
}

void TDBGrid::setHeadLines(double lines)
{
    headLines_ = lines;
    applyLayout();
}

void TDBGrid::setAllowRowSizing(bool on)
{
    allowRowSizing_ = on;
    verticalHeader()->setSectionResizeMode(on ? QHeaderView::Interactive : QHeaderView::Fixed);
}

void TDBGrid::setRecordSelectors(bool on)
{
    recordSelectors_ = on;
    verticalHeader()->setVisible(on);
}

void TDBGrid::setAlternatingRowStyle(bool on)
{
    alternatingRowStyle_ = on;
    refresh();
}

void TDBGrid::setDefaultRowHeight(double height)
{
    rowHeight_ = height;
    applyRowHeights();
}

void TDBGrid::setHeadFont(const QFont& font)
{
    headFont_ = font;
    horizontalHeader()->setFont(font);
    applyLayout();
}

void TDBGrid::clearSelectedBookmarks()
{
    selected_.clear();
    refresh();
}

// --- rows and the view ---

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

// --- values and the row buffer ---

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

void TDBGrid::toggleSelection(int r)
{
    if (r >= 0 && r < model_->rows_)
        setCurrentIndex(model_->index(r, std::max(0, col())));
    if (multiSelect_ == dbgMultiSelectNone || r >= rowCount())
        return;
    const int bm = rowBookmark(r);
    std::set<int> before = selected_;
    if (multiSelect_ == dbgMultiSelectSimple && selected_.count(bm))
        selected_.erase(bm);
    else
        selected_.insert(bm);
    int cancel = 0;
    emitGuarded("SelChange", [&] { emit SelChange(cancel); });
    if (cancel)
        selected_ = before;
    refresh();
}

// --- keys and mouse ---

void TDBGrid::navigate(int code, int shift)
{
    const QModelIndex cur = currentIndex();
    if (!cur.isValid())
        return;
    int r = cur.row(), c = cur.column();
    auto nextVisible = [&](int from, int step) {
        for (int i = from + step; i >= 0 && i < columnCount(); i += step)
            if (columns_[size_t(i)]->visible_)
                return i;
        return -1;
    };
    switch (code) {
    case vbKeyUp:
        r = std::max(0, r - 1);
        break;
    case vbKeyDown:
        r = std::min(model_->rows_ - 1, r + 1);
        break;
    case vbKeyLeft:
    case vbKeyRight:
    case vbKeyReturn: {
        const int step = code == vbKeyLeft ? -1 : 1;
        const int n = nextVisible(c, step);
        if (n >= 0) {
            c = n;
        } else if (wrapCellPointer_ && r + step >= 0 && r + step < model_->rows_) {
            r += step;
            c = nextVisible(step > 0 ? -1 : columnCount(), step);
        }
        break;
    }
    case vbKeyPageUp:
        r = std::max(0, r - std::max(1, viewport()->height() / std::max(1, int(rowHeight_))));
        break;
    case vbKeyPageDown:
        r = std::min(model_->rows_ - 1, r + std::max(1, viewport()->height() / std::max(1, int(rowHeight_))));
        break;
    default:
        return;
    }
    if (c >= 0 && (r != cur.row() || c != cur.column()))
        setCurrentIndex(model_->index(r, c));
}

void TDBGrid::keyPressEvent(QKeyEvent* e)
{
    const int original = VbKeyCode(e);
    int code = original;
    int shift = VbShiftState(e);
    if (code && e != editorKey_ && !replaying_) {
        emitGuarded("KeyDown", [&] { emit KeyDown(code, shift); });
        if (code == 0)
            return;
    }
    editorKey_ = nullptr;
    const QModelIndex cur = currentIndex();
    switch (code) {
    case vbKeyReturn:
    case vbKeyLeft:
    case vbKeyRight:
    case vbKeyUp:
    case vbKeyDown:
    case vbKeyPageUp:
    case vbKeyPageDown:
        navigate(code, shift);
        return;
    case vbKeySpace:
        if (cur.isValid() && columns_[size_t(cur.column())]->valueItems_.presentation == dbgCheckBox) {
            toggleCheck(cur.row(), cur.column());
            return;
        }
        break;
    case vbKeyDelete:
        if (allowDelete_ && cur.isValid() && selected_.count(rowBookmark(cur.row()))) {
            RunGuarded(name(), QStringLiteral("Delete"), [this] { deleteRow(); });
            return;
        }
        break;
    case vbKeyEscape:
        if (!buffer_.empty()) {   // drops the row buffer
            buffer_.clear();
            viewport()->update();
            return;
        }
        e->ignore();
        return;
    default:
        break;
    }
    if (code != original) {
        QKeyEvent replaced = MakeKeyEvent(QEvent::KeyPress, code, shift);
        QTableView::keyPressEvent(&replaced);
        return;
    }
    QTableView::keyPressEvent(e);
}

void TDBGrid::keyReleaseEvent(QKeyEvent* e)
{
    int code = VbKeyCode(e);
    int shift = VbShiftState(e);
    if (code)
        emitGuarded("KeyUp", [&] { emit KeyUp(code, shift); });
    QTableView::keyReleaseEvent(e);
}

// Keys typed into a cell editor reach the grid's KeyDown too; navigation keys end the edit.
bool TDBGrid::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == horizontalHeader()->viewport() || watched == verticalHeader()->viewport()) {
        if (e->type() == QEvent::MouseButtonPress) {
            dragging_ = true;
            dragSection_ = -1;
        } else if (e->type() == QEvent::MouseButtonRelease && dragging_) {
            dragging_ = false;
            if (dragSection_ >= 0) {
                QHeaderView* h = dragOrientation_ == Qt::Vertical ? verticalHeader() : horizontalHeader();
                const int section = dragSection_;
                dragSection_ = -1;
                QTimer::singleShot(0, this, [this, h, section, o = dragOrientation_] {
                    finishResize(o, section, h->sectionSize(section));
                });
            }
        }
        return QTableView::eventFilter(watched, e);
    }
    auto* editor = qobject_cast<QLineEdit*>(watched);
    if (!editor || e->type() != QEvent::KeyPress)
        return QTableView::eventFilter(watched, e);
    auto* k = static_cast<QKeyEvent*>(e);
    const int original = VbKeyCode(k);
    int code = original;
    int shift = VbShiftState(k);
    if (code) {
        emitGuarded("KeyDown", [&] { emit KeyDown(code, shift); });
        if (code == 0)
            return true;
    }
    if (code == vbKeyEscape)
        return QTableView::eventFilter(watched, e);   // the delegate drops the edit
    const bool moves = code != original || code == vbKeyReturn || code == vbKeyTab || code == vbKeyUp ||
                       code == vbKeyDown || code == vbKeyPageUp || code == vbKeyPageDown;
    if (!moves) {
        editorKey_ = k;   // if the editor passes it on, the grid does not report it twice
        return false;
    }
    QPointer<TDBGrid> self(this);
    commitData(editor);
    if (!self)
        return true;
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    setFocus();
    if (code == vbKeyTab)
        focusNextPrevChild(!(shift & vbShiftMask));
    else
        navigate(code, shift);
    return true;
}

bool TDBGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (!QTableView::edit(index, trigger, event))
        return false;
    // After the delegate's own filter, so that the grid sees Enter and Tab first.
    for (QLineEdit* editor : viewport()->findChildren<QLineEdit*>()) {
        editor->removeEventFilter(this);
        editor->installEventFilter(this);
    }
    return true;
}

QRect TDBGrid::buttonRect(const QRect& cell) const
{
    return QRect(cell.right() - kButtonWidth + 1, cell.top(), kButtonWidth, cell.height());
}

void TDBGrid::mousePressEvent(QMouseEvent* e)
{
    const QModelIndex idx = indexAt(e->position().toPoint());
    if (idx.isValid() && idx == currentIndex() && columns_[size_t(idx.column())]->button_ &&
        buttonRect(visualRect(idx)).contains(e->position().toPoint())) {
        const int col = idx.column();
        emitGuarded("ButtonClick", [&] { emit ButtonClick(col); });
        return;
    }
    QTableView::mousePressEvent(e);
}

void TDBGrid::mouseReleaseEvent(QMouseEvent* e)
{
    const QModelIndex idx = indexAt(e->position().toPoint());
    QTableView::mouseReleaseEvent(e);
    if (idx.isValid() && idx == currentIndex() && allowUpdate_ && rs_.updatable() &&
        columns_[size_t(idx.column())]->valueItems_.presentation == dbgCheckBox && !columns_[size_t(idx.column())]->locked_)
        toggleCheck(idx.row(), idx.column());
    emitGuarded("Click", [&] { emit Click(); });
}

void TDBGrid::mouseDoubleClickEvent(QMouseEvent* e)
{
    QTableView::mouseDoubleClickEvent(e);
    emitGuarded("DblClick", [&] { emit DblClick(); });
}

void TDBGrid::focusOutEvent(QFocusEvent* e)
{
    QTableView::focusOutEvent(e);
    if (!buffer_.empty() && !findChild<QLineEdit*>())
        scheduleCommit();
}

void TDBGrid::paintEvent(QPaintEvent* e)
{
    // The recordset may have been moved directly: the view follows once control is back.
    if (rs_.isOpen() && !syncing_) {
        const int p = rs_.absolutePosition();
        if (p >= 0 && currentIndex().isValid() && currentIndex().row() != p)
            QTimer::singleShot(0, this, [this] { syncView(); });
    }
    QTableView::paintEvent(e);
}

// --- painting ---

void TDBGrid::paintCell(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index)
{
    const int r = index.row(), col = index.column();
    if (col >= columnCount())
        return;
    const TDBColumn& c = *columns_[size_t(col)];
    const bool dataRow = r < rowCount();
    const QModelIndex cur = currentIndex();
    const bool isCurrentRow = cur.isValid() && cur.row() == r;
    const bool isCurrentCell = isCurrentRow && cur.column() == col;
    const int bm = dataRow ? rowBookmark(r) : -1;

    const TDBStyle& rowStyle = alternatingRowStyle_ ? (r % 2 == 0 ? evenStyle_ : oddStyle_) : style_;
    const Variant v = rowValue(r, c);
    double number = 0;
    const bool isNumber = variantNumber(v, &number);
    TDBCellStyle cs;
    cs.backColor = rowStyle.backColor;
    cs.foreColor = style_.foreColor;
    cs.font = font();
    cs.alignment = c.alignment_;
    const bool rowMarquee = (marqueeStyle_ == dbgHighlightRow || marqueeStyle_ == dbgHighlightRowRaiseCell) && isCurrentRow;
    int condition = dbgNormalCell;
    if (isCurrentCell)
        condition |= dbgCurrentCell;
    if (rowMarquee)
        condition |= dbgMarqueeRow;
    if (bm >= 0 && selected_.count(bm))
        condition |= dbgSelectedRow;
    if (c.fetchStyle_ && dataRow)
        emitGuarded("FetchCellStyle", [&] { emit FetchCellStyle(condition, 0, bm, col, cs); });

    const bool focused = hasFocus() || (QApplication::focusWidget() && isAncestorOf(QApplication::focusWidget()));
    const bool highlight = rowMarquee || (condition & dbgSelectedRow) ||
                           (isCurrentCell && (marqueeStyle_ == dbgHighlightCell ||
                                              (marqueeStyle_ == dbgFloatingEditor && focused)));
    const QRect rect = option.rect;
    p->save();
    p->fillRect(rect, highlight ? palette().color(QPalette::Highlight) : ToQColor(cs.backColor));
    if (!cs.foregroundPicture.isNull()) {
        const QImage& img = cs.foregroundPicture;
        const int x = cs.foregroundPicturePosition == 6 ? rect.left() + (rect.width() - img.width()) / 2 : rect.left() + 3;
        p->setClipRect(rect);
        p->drawImage(QPoint(x, rect.top() + (rect.height() - img.height()) / 2), img);
    }
    if (c.valueItems_.presentation == dbgCheckBox) {
        QStyleOptionButton box;
        box.rect = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &box, this);
        box.rect.moveCenter(rect.center());
        box.state = QStyle::State_Enabled | (variantTrue(v) ? QStyle::State_On : QStyle::State_Off);
        if (dataRow)
            style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, p, this);
    } else {
        QString text = displayText(c, v);
        if (c.wrapText_)
            text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        if (!text.isEmpty()) {
            p->setFont(cs.font);
            p->setPen(highlight ? palette().color(QPalette::HighlightedText) : ToQColor(cs.foreColor));
            const int va = rowStyle.verticalAlignment != dbgTop ? rowStyle.verticalAlignment : style_.verticalAlignment;
            const Qt::Alignment vflag = va == dbgVertCenter ? Qt::AlignVCenter : va == dbgBottom ? Qt::AlignBottom : Qt::AlignTop;
            QRect textRect = rect.adjusted(2, 0, -2, 0);
            if (c.button_ && isCurrentCell)
                textRect.setRight(textRect.right() - kButtonWidth);
            const int lines = c.wrapText_ ? int(Qt::TextWordWrap) : int(Qt::TextSingleLine);
            p->drawText(textRect, int(qtAlignment(cs.alignment, isNumber) | vflag) | lines, text);
        }
    }
    if (c.button_ && isCurrentCell) {
        QStyleOptionButton b;
        b.rect = buttonRect(rect);
        b.state = QStyle::State_Enabled | QStyle::State_Raised;
        b.text = QStringLiteral("…");
        style()->drawControl(QStyle::CE_PushButton, &b, p, this);
    }
    if (isCurrentCell && (marqueeStyle_ == dbgSolidCellBorder || marqueeStyle_ == dbgDottedCellBorder ||
                          marqueeStyle_ == dbgHighlightRowRaiseCell)) {
        QPen pen(palette().color(QPalette::WindowText), marqueeStyle_ == dbgSolidCellBorder ? 2 : 1,
                 marqueeStyle_ == dbgDottedCellBorder ? Qt::DotLine : Qt::SolidLine);
        p->setPen(pen);
        p->setBrush(Qt::NoBrush);
        p->setClipping(false);
        p->drawRect(rect.adjusted(1, 1, -1, -1));
    }
    p->restore();
}
