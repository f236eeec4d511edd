// The stock and part grids of the main window: binding and columns, numbering and the defaults
// of new rows, the row limits, colour picking, the painting of the colour cell, deletion, and
// the rows as the engine reads them.
#include "app/frmTavo.h"

#include "foundation/ErrLog.h"
#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "platform/gui/Handler.h"
#include "platform/gui/Keys.h"
#include "platform/gui/TDBGrid.h"
#include "ui/LineButton.h"
#include "ui/frmPallete.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>

struct frmTavo::InputGrid {
    QPointer<TDBGrid> frmTavo::*grid;
    const char16_t* table;
    const char16_t* key;                       // 母材番号 or 部材番号
    int16_t maxRows;
    int16_t frmTavo::*counter;
    QPointer<LineButton> frmTavo::*deleteButton;
    bool parts;
    const char* name;                          // "Bozai" or "Buzai", as in the procedure names

    QString proc(const char* pattern) const { return QString::fromLatin1(pattern).arg(QLatin1String(name)); }
};

namespace {

// Grid columns by position.
enum { kColNo = 0, kColWidth = 1, kColLength = 2, kColCount = 3, kColColor = 4, kColColorValue = 5, kColLast = 6 };

// The default colour of new row n: a swatch of the palette (column k \ 3, row k Mod 3).
uint32_t defaultColor(bool parts, int n)
{
    int k = parts ? (n <= 7 ? (n - 1) * 3 + 4 : (n - 8) * 3 + 3) : (n - 1) * 3 + 5;
    k = ((k % 24) + 24) % 24;
    return frmPallete::kSwatchColors[size_t(k)];
}

// The cell editor of the size and count columns takes whole numbers of up to four digits; it
// paints and edits like the grid's own delegate otherwise.
class DigitsDelegate : public QStyledItemDelegate {
public:
    DigitsDelegate(QAbstractItemDelegate* base, QObject* parent) : QStyledItemDelegate(parent), base_(base) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        base_->paint(p, option, index);
    }
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = base_->createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setMaxLength(4);
            static const QRegularExpression digits(QStringLiteral("[0-9]{0,4}"));
            line->setValidator(new QRegularExpressionValidator(digits, line));
        }
        return editor;
    }
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        base_->updateEditorGeometry(editor, option, index);
    }

private:
    QAbstractItemDelegate* base_;
};

// A typed size or count: empty, or a whole number from 0 to 9999.
bool isWholeNumberText(const QString& text)
{
    static const QRegularExpression whole(QStringLiteral("^[0-9]{1,4}$"));
    return text.isEmpty() || whole.match(text).hasMatch();
}

}  // namespace

const frmTavo::InputGrid& frmTavo::stock() const
{
    static const InputGrid g{&frmTavo::TDBBozai, u"母材", u"母材番号", MaxStockRows, &frmTavo::BozaiNoCounter,
                             &frmTavo::lbutBozaiDelete, false, "Bozai"};
    return g;
}

const frmTavo::InputGrid& frmTavo::parts() const
{
    static const InputGrid g{&frmTavo::TDBBuzai, u"部材", u"部材番号", MaxPartRows, &frmTavo::BuzaiNoCounter,
                             &frmTavo::lbutBuzaiDelete, true, "Buzai"};
    return g;
}

// --- binding and columns ---

void frmTavo::SetTDBGridColumns()
{
    InitBozaiGrid();
    InitBuzaiGrid();
    list_->InitListGrid();
}

void frmTavo::InitBozaiGrid() { initGrid(stock()); }
void frmTavo::InitBuzaiGrid() { initGrid(parts()); }

void frmTavo::initGrid(const InputGrid& g)
{
    handle(g.proc("Init%1Grid").toLatin1().constData(), [&] {
        TDBGrid& grid = *(this->*g.grid);
        const QString sql = QStringLiteral("SELECT * FROM ") + QString::fromUtf16(g.table) + QStringLiteral(" WHERE ") +
                            QString::fromUtf16(g.key) + QStringLiteral(" <= ") + QString::number(g.maxRows) +
                            QStringLiteral(" ORDER BY ") + QString::fromUtf16(g.key);
        grid.setRecordset(gDao().OpenRecordset(sql, dbOpenDynaset, 0, dbOptimistic));
        grid.retrieveFields();
        grid.setMarqueeStyle(dbgFloatingEditor);
        grid.setAllowAddNew(true);
        grid.setAllowDelete(true);
        grid.setAllowUpdate(true);
        grid.setWrapCellPointer(true);   // Enter at the row's end goes on to the next row

        TDBColumn& no = grid.column(kColNo);
        no.setLocked(true);
        no.setButton(false);
        no.setWidth(60);
        for (int c : {kColWidth, kColLength, kColCount}) {
            grid.column(c).setWidth(45);
            grid.column(c).setNumberFormat(QStringLiteral("####"));
        }
        TDBColumn& colour = grid.column(kColColor);
        colour.setLocked(true);
        colour.setButton(true);
        colour.setWidth(47);
        colour.setFetchStyle(true);
        grid.column(kColColorValue).setVisible(false);
        TDBColumn& last = grid.column(kColLast);
        if (g.parts) {
            last.setWidth(45);
            last.setAlignment(dbgCenter);
            last.valueItems().presentation = dbgCheckBox;   // a click writes -1 or 0
        } else {
            last.setLocked(true);
            last.setButton(false);
            last.setCaption(QString());
            last.setWidth(30);
        }
        grid.refresh();
    });
}

// --- numbering, defaults and counts ---

void frmTavo::SetBozaiNo(int16_t mode) { setRowNo(stock(), mode); }
void frmTavo::SetBuzaiNo(int16_t mode) { setRowNo(parts(), mode); }

void frmTavo::setRowNo(const InputGrid& g, int16_t mode)
{
    handle(g.proc("Set%1No").toLatin1().constData(), [&] {
        TDBGrid& grid = *(this->*g.grid);
        int16_t& counter = this->*g.counter;
        const cBase& b = gBase();
        if (mode == kNumberCurrentRow) {
            // The row being added or edited, through the grid's row buffer.
            if (b.CvtInt(grid.column(kColNo).value()) != 0)
                return;
            ++counter;
            grid.column(kColNo).setValue(Variant(counter));
            for (int c : {kColWidth, kColLength, kColCount})
                if (b.CvtLng(grid.column(c).value()) == 0)
                    grid.column(c).setValue(Variant(int32_t(0)));
            // 回転 is a yes/no column: a new row is not rotatable (0), never NULL, also in a
            // file whose table gives new rows no default.
            if (g.parts && grid.column(kColLast).value().isNull())
                grid.column(kColLast).setValue(Variant(int32_t(0)));
            if (b.CvtLng(grid.column(kColColorValue).value()) != 0)
                return;
            // The palette's swatch colours, as the palette form holds them.
            grid.column(kColColorValue).setValue(Variant(int32_t(defaultColor(g.parts, counter))));
        } else if (mode == kRenumberAll) {
            // Renumbering through a cursor of its own: the grid's current row stays.
            Recordset rs = grid.recordset().clone();
            int16_t n = 0;
            if (rs.recordCount() > 0) {
                rs.moveFirst();
                while (!rs.eof()) {
                    rs.edit();
                    rs.setField(QString::fromUtf16(g.key), Variant(++n));
                    rs.update();
                    rs.moveNext();
                }
            }
            counter = n;
        }
    });
}

void frmTavo::CheckBozaiCount() { checkCount(stock()); }
void frmTavo::CheckBuzaiCount() { checkCount(parts()); }

// Counts from the recordset's size, without moving the grid's current row.
void frmTavo::checkCount(const InputGrid& g)
{
    handle(g.proc("Check%1Count").toLatin1().constData(), [&] {
        TDBGrid& grid = *(this->*g.grid);
        const int rows = grid.hasRecordset() ? grid.recordset().recordCount() : 0;
        const bool any = rows > 0;
        (this->*g.deleteButton)->setEnabled(any);
        if (g.parts)
            butProhibition->setEnabled(any);
        if (any) {
            if (rows >= g.maxRows)
                grid.setAllowAddNew(false);
            this->*g.counter = int16_t(rows);
        }
    });
}

// --- deletion ---

void frmTavo::lbutBozaiDelete_Click() { deleteRow(stock()); }
void frmTavo::lbutBuzaiDelete_Click() { deleteRow(parts()); }

void frmTavo::deleteRow(const InputGrid& g)
{
    if (Busy)
        return;
    handle(g.proc("lbut%1Delete_Click").toLatin1().constData(), [&] {
        TDBGrid& grid = *(this->*g.grid);
        // Rows deleted with the Del key leave the button as the last count found it: with no
        // row left there is nothing to delete, and the count disables it.
        if (grid.rowCount() == 0) {
            checkCount(g);
            return;
        }
        if (grid.bookmark() < 0)
            grid.moveLast();
        if (gBase().CvtInt(grid.column(kColNo).value()) < 1)   // a new row not yet numbered
            grid.moveLast();
        grid.deleteRow();   // AfterDelete renumbers
        checkCount(g);
    });
}

// --- colour picking ---

void frmTavo::pickRowColor(const InputGrid& g, bool fromButton, int colIndex)
{
    TDBGrid& grid = *(this->*g.grid);
    if (fromButton)
        grid.column(colIndex).setButton(false);
    const Variant current = grid.column(kColColorValue).value();
    // An empty colour opens the palette on black by either road.
    gPallete().setColor(uint32_t(gBase().CvtLng(current)));
    gPallete().showModal();
    if (gPallete().State()) {
        grid.column(kColColorValue).setValue(Variant(int32_t(gPallete().Color())));
        setRowNo(g, kNumberCurrentRow);
    }
    if (fromButton)
        grid.column(colIndex).setButton(true);
}

// --- grid events ---

void frmTavo::connectGrid(const InputGrid& g)
{
    TDBGrid* grid = this->*g.grid;
    auto* digits = new DigitsDelegate(grid->itemDelegate(), grid);
    for (int c : {kColWidth, kColLength, kColCount})
        grid->setItemDelegateForColumn(c, digits);

    connect(grid, &TDBGrid::KeyDown, grid, [this, &g](int& keyCode, int& shift) {
        if (Busy)
            return;
        handle(g.proc("TDB%1_KeyDown").toLatin1().constData(), [&] {
            if (keyCode == vbKeyDown && (shift & vbAltMask)) {
                keyCode = 0;   // the palette instead of the next row
                pickRowColor(g, false, kColColor);
            } else if (keyCode == vbKeyReturn) {
                keyCode = (shift & vbShiftMask) ? vbKeyLeft : vbKeyRight;
            }
        });
    });
    connect(grid, &TDBGrid::ButtonClick, grid, [this, &g](int colIndex) {
        if (Busy)
            return;
        handle(g.proc("TDB%1_ButtonClick").toLatin1().constData(), [&] { pickRowColor(g, true, colIndex); });
    });
    connect(grid, &TDBGrid::RowColChange, grid, [this, &g](int, int) {
        handle(g.proc("TDB%1_RowColChange").toLatin1().constData(), [&] {
            TDBGrid& grid = *(this->*g.grid);
            grid.setMarqueeStyle(grid.col() == kColColor ? dbgSolidCellBorder : dbgFloatingEditor);
        });
    });
    connect(grid, &TDBGrid::FetchCellStyle, grid,
            [this, &g](int, int, int bookmark, int, TDBCellStyle& style) {
                handle(g.proc("TDB%1_FetchCellStyle").toLatin1().constData(), [&] {
                    const Variant v = (this->*g.grid)->column(kColColorValue).cellValue(bookmark);
                    if (!gBase().CvtStr(v).isEmpty())
                        style.backColor = uint32_t(gBase().CvtLng(v));
                });
            });
    connect(grid, &TDBGrid::SelChange, grid, [this, &g](int&) {
        handle(g.proc("TDB%1_SelChange").toLatin1().constData(), [&] { (this->*g.grid)->setFocus(); });
    });
    connect(grid, &TDBGrid::AfterInsert, grid, [this, &g] { checkCount(g); });
    connect(grid, &TDBGrid::AfterDelete, grid, [this, &g] {
        handle(g.proc("TDB%1_AfterDelete").toLatin1().constData(), [&] {
            (this->*g.grid)->setAllowAddNew(true);
            setRowNo(g, kRenumberAll);
        });
    });
    connect(grid, &TDBGrid::BeforeColUpdate, grid, [this, &g](int colIndex, const Variant&, int& cancel) {
        handle(g.proc("TDB%1_BeforeColUpdate").toLatin1().constData(), [&] {
            TDBColumn& column = (this->*g.grid)->column(colIndex);
            const QString text = gBase().CvtStr(column.value());
            if ((colIndex == kColWidth || colIndex == kColLength || colIndex == kColCount) && !isWholeNumberText(text)) {
                cancel = 1;   // only whole numbers from 0 to 9999 are sizes and counts
                return;
            }
            if (text.isEmpty())
                column.setValue(Variant(int32_t(0)));
            setRowNo(g, kNumberCurrentRow);
        });
    });
}

void frmTavo::txtKirisiroColor_KeyDown(int& keyCode, int& shift)
{
    if (Busy || keyCode != vbKeyDown || !(shift & vbAltMask))
        return;
    keyCode = 0;
    butTavoPallete_Click();
}

// --- the rows as the engine reads them ---

GridRows::GridRows(TDBGrid* grid) : grid_(grid) {}

int GridRows::rowCount() const { return grid_ && grid_->hasRecordset() ? grid_->rowCount() : 0; }

Variant GridRows::value(int row, const QString& column) const
{
    Recordset rs = grid_->recordset().clone();
    rs.setAbsolutePosition(row);
    return rs.field(column);
}

void GridRows::setValue(int row, const QString& column, const Variant& value)
{
    Recordset rs = grid_->recordset().clone();
    rs.setAbsolutePosition(row);
    rs.edit();
    rs.setField(column, value);
    rs.update();
}

void GridRows::setFocus()
{
    if (!grid_)
        return;
    if (row_ >= 0 && row_ < grid_->rowCount())
        grid_->setBookmark(grid_->rowBookmark(row_));
    else if (grid_->rowCount() > 0)
        grid_->moveLast();
    grid_->setFocus();
}
