// The data grid itself: its construction, its events' error net, binding to a recordset and
// its settings. Columns, rows, the row buffer, keys and mouse and painting have files of their
// own (TDBGridColumns.cpp, TDBGridRows.cpp, TDBGridRowBuffer.cpp, TDBGridInput.cpp,
// TDBGridPaint.cpp).
#include "platform/gui/TDBGrid.h"

#include "platform/gui/Controls.h"
#include "platform/gui/Handler.h"
#include "platform/gui/TDBGridBusy.h"
#include "platform/gui/TDBGridModel.h"

#include <QHeaderView>

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
