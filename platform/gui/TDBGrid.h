#pragma once
// The data grid (TDBGrid) over a Qt table view: bound to a recordset of the database layer
// (its cursor is the grid's current row), columns with caption, data field, width, visibility,
// number format, value items and a cell button, one row height for all rows, the styles of the
// grid (alternating rows, marquee), owner-drawn cells through FetchCellStyle, and the grid's
// events with their arguments by reference.
//
// Editing: the current row has a row buffer. A cell the user edits goes into it, runs
// BeforeColUpdate (which may change or cancel it) and AfterColUpdate, and the row is written at
// once (AfterInsert or AfterUpdate). Values written from code through a column go into the
// buffer too and are written when the current row changes, on updateRow(), or when the event
// loop next runs. Read and write the current row through the columns, not the recordset.
//
// Where it is: TDBGrid.cpp (construction, binding, settings), TDBGridColumns.cpp, TDBGridRows.cpp
// (current row, cursor, layout), TDBGridRowBuffer.cpp, TDBGridInput.cpp (keys and mouse),
// TDBGridPaint.cpp; under them TDBGridModel.h (the Qt model and delegate), TDBGridBusy.h and
// TDBGridValues.
#include "platform/core/Database.h"
#include "platform/gui/Colors.h"

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QTableView>
#include <map>
#include <memory>
#include <set>
#include <vector>

enum TDBMarqueeStyle { dbgDottedCellBorder = 0, dbgSolidCellBorder = 1, dbgHighlightCell = 2, dbgHighlightRow = 3,
                       dbgHighlightRowRaiseCell = 4, dbgNoMarquee = 5, dbgFloatingEditor = 6 };
enum TDBMultiSelect { dbgMultiSelectNone = 0, dbgMultiSelectSimple = 1, dbgMultiSelectExtended = 2 };
enum TDBCellCondition { dbgNormalCell = 0, dbgCurrentCell = 1, dbgMarqueeRow = 2, dbgUpdatedCell = 4,
                        dbgSelectedRow = 8 };
enum TDBPresentation { dbgNormal = 0, dbgCheckBox = 4 };
enum TDBAlignment { dbgLeft = 0, dbgRight = 1, dbgCenter = 2, dbgGeneral = 3 };
enum TDBVerticalAlignment { dbgTop = 0, dbgBottom = 1, dbgVertCenter = 2 };

// Style, EvenRowStyle, OddRowStyle of the grid.
struct TDBStyle {
    uint32_t backColor = kSysWindow;
    uint32_t foreColor = kSysWindowText;
    int verticalAlignment = dbgTop;
};

// The look of one cell while it is painted; FetchCellStyle handlers change it.
struct TDBCellStyle {
    uint32_t backColor = kSysWindow;
    uint32_t foreColor = kSysWindowText;
    QFont font;
    int alignment = dbgGeneral;
    QImage foregroundPicture;              // drawn in the cell, vertically centred, 3 pixels from the left
    int foregroundPicturePosition = 0;
};

struct TDBValueItem {
    QString value;
    QString displayValue;
};

class TDBValueItems {
public:
    void add(const QString& value, const QString& displayValue) { items_.push_back({value, displayValue}); }
    void clear() { items_.clear(); }
    int count() const { return int(items_.size()); }
    const TDBValueItem& item(int i) const { return items_.at(size_t(i)); }
    const TDBValueItem* find(const QString& value) const;

    int defaultItem = -1;       // index of the default item, -1 none
    bool translate = false;     // show the display text of the item whose value equals the cell's
    bool validate = false;
    int presentation = dbgNormal;

private:
    std::vector<TDBValueItem> items_;
};

class TDBGrid;
class TDBGridModel;

class TDBColumn {
public:
    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    QString dataField() const { return dataField_; }
    void setDataField(const QString& field);
    double width() const { return width_; }                // pixels
    void setWidth(double width);
    bool visible() const { return visible_; }
    void setVisible(bool visible);
    bool locked() const { return locked_; }                // read-only
    void setLocked(bool locked) { locked_ = locked; }
    bool button() const { return button_; }                // a cell button on the current cell
    void setButton(bool on);
    QString numberFormat() const { return numberFormat_; }
    void setNumberFormat(const QString& f);
    int alignment() const { return alignment_; }
    void setAlignment(int a);
    int headAlignment() const { return headAlignment_; }
    void setHeadAlignment(int a);
    bool fetchStyle() const { return fetchStyle_; }        // FetchCellStyle for every cell of the column
    void setFetchStyle(bool on);
    bool allowSizing() const { return allowSizing_; }      // the user may drag its width
    void setAllowSizing(bool on);
    bool wrapText() const { return wrapText_; }            // text over several lines, line breaks kept
    void setWrapText(bool on);
    TDBValueItems& valueItems() { return valueItems_; }
    const TDBValueItems& valueItems() const { return valueItems_; }
    int index() const;

    // The current row's value: the row buffer first, then the stored row (Null on the add-new row).
    Variant value() const;
    void setValue(const Variant& value);                   // into the row buffer
    QString text() const;                                  // as shown
    Variant cellValue(int bookmark) const;                 // any row, by bookmark
    QString cellText(int bookmark) const;

private:
    friend class TDBGrid;
    explicit TDBColumn(TDBGrid* grid) : grid_(grid) {}
    TDBGrid* grid_;
    QString caption_, dataField_, numberFormat_;
    double width_ = 90;
    bool visible_ = false, locked_ = false, button_ = false, fetchStyle_ = false, allowSizing_ = true;
    bool wrapText_ = false;
    int alignment_ = dbgGeneral, headAlignment_ = dbgGeneral;
    TDBValueItems valueItems_;
};

class TDBGrid : public QTableView {
    Q_OBJECT
public:
    explicit TDBGrid(QWidget* parent = nullptr);
    ~TDBGrid() override;

    // --- binding ---
    // Binds the data source's recordset; with no columns yet, one visible column per field.
    void setRecordset(const Recordset& rs);
    void clearRecordset();                 // no recordset: no rows
    bool hasRecordset() const { return rs_.isOpen(); }
    Recordset& recordset() { return rs_; }
    void retrieveFields();                 // replaces the columns by one per field
    void rebind();                         // rereads the rows and columns' layout (ReBind)
    void refresh();                        // repaints (Refresh)

    // --- columns ---
    int columnCount() const { return int(columns_.size()); }
    TDBColumn& column(int index);                          // VbError 9 outside
    TDBColumn& column(const QString& name);                // by caption, then data field; VbError 9
    TDBColumn& addColumn(int index);                       // a new hidden column at index
    void removeColumn(int index);

    // --- settings ---
    bool allowAddNew() const { return allowAddNew_; }
    void setAllowAddNew(bool on);
    bool allowDelete() const { return allowDelete_; }
    void setAllowDelete(bool on) { allowDelete_ = on; }
    bool allowUpdate() const { return allowUpdate_; }
    void setAllowUpdate(bool on);
    int marqueeStyle() const { return marqueeStyle_; }
    void setMarqueeStyle(int style);
    int multiSelect() const { return multiSelect_; }
    void setMultiSelect(int mode) { multiSelect_ = mode; }
    double headLines() const { return headLines_; }
    void setHeadLines(double lines);
    bool allowRowSizing() const { return allowRowSizing_; }
    void setAllowRowSizing(bool on);
    bool allowColSelect() const { return allowColSelect_; }
    void setAllowColSelect(bool on) { allowColSelect_ = on; }
    bool recordSelectors() const { return recordSelectors_; }
    void setRecordSelectors(bool on);
    bool wrapCellPointer() const { return wrapCellPointer_; }   // Enter and Right wrap to the next row
    void setWrapCellPointer(bool on) { wrapCellPointer_ = on; }
    bool alternatingRowStyle() const { return alternatingRowStyle_; }
    void setAlternatingRowStyle(bool on);
    double defaultRowHeight() const { return rowHeight_; }       // RowHeight, pixels
    void setDefaultRowHeight(double height);
    TDBStyle& gridStyle() { return style_; }                     // Style
    TDBStyle& evenRowStyle() { return evenStyle_; }
    TDBStyle& oddRowStyle() { return oddStyle_; }
    QFont headFont() const { return headFont_; }
    void setHeadFont(const QFont& font);

    // --- rows ---
    int rowCount() const;                          // rows of the recordset
    bool isAddNewRow() const;                      // the current row is the add-new row
    int row() const;                               // current row index from 0 (-1 none)
    int col() const;                               // current column index (-1 none)
    void setCol(int index);
    int bookmark() const;                          // of the current row; -1 on the add-new row
    void setBookmark(int bookmark);
    int rowBookmark(int row) const;                // -1 for none
    bool eof() const { return !rs_.isOpen() || rs_.eof(); }
    bool bof() const { return !rs_.isOpen() || rs_.bof(); }
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    bool updateRow();                              // writes the row buffer now (Update)
    void deleteRow();                              // deletes the current row (Delete)
    bool isDataChanged() const { return !buffer_.empty(); }   // DataChanged: the row buffer holds values
    std::vector<int> selectedBookmarks() const { return {selected_.begin(), selected_.end()}; }
    void clearSelectedBookmarks();

    // The text a value shows in a column (number format, value items).
    QString displayText(const TDBColumn& column, const Variant& value) const;

signals:
    void KeyDown(int& keyCode, int& shift);
    void KeyUp(int& keyCode, int& shift);
    void Click();
    void DblClick();
    void HeadClick(int colIndex);
    void ButtonClick(int colIndex);
    void RowColChange(int lastBookmark, int lastCol);
    void FetchCellStyle(int condition, int split, int bookmark, int col, TDBCellStyle& style);
    void SelChange(int& cancel);
    void BeforeColUpdate(int colIndex, const Variant& oldValue, int& cancel);
    void AfterColUpdate(int colIndex);
    void BeforeInsert(int& cancel);
    void AfterInsert();
    void BeforeUpdate(int& cancel);
    void AfterUpdate();
    void BeforeDelete(int& cancel);
    void AfterDelete();
    void RowResize(int& cancel);
    void ColResize(int colIndex, int& cancel);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    using QTableView::edit;

private:
    friend class TDBColumn;
    friend class TDBGridModel;
    friend class TDBGridDelegate;
    struct Busy;                                   // nests grid operations; resyncs after the outermost

    // values
    Variant storedValue(int row, const TDBColumn& c) const;
    Variant rowValue(int row, const TDBColumn& c) const;   // buffer first for the buffered row
    Variant bufferValue(const TDBColumn& c, bool* found) const;
    void setBufferValue(const TDBColumn& c, const Variant& v, bool fromUser);
    int bufferRowOfCurrent() const;
    bool userEdit(int row, int col, const Variant& value);
    bool commitRow();
    void scheduleCommit();
    void toggleCheck(int row, int col);

    // rows and the view
    int rowsShown() const;
    bool showsAddNewRow() const;
    void onRecordsetChanged();
    void resync();
    void resetModel();
    void applyLayout();
    void applyRowHeights();
    void syncView();                               // the view's current row follows the recordset
    void moveRecordsetTo(int row);
    void navigate(int keyCode, int shift);
    void sectionResized(Qt::Orientation o, int logical, int oldSize, int newSize);
    void finishResize(Qt::Orientation o, int logical, int newSize);
    void emitGuarded(const char* event, const std::function<void()>& emitter);
    QRect buttonRect(const QRect& cell) const;
    void paintCell(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index);
    void toggleSelection(int row);
    QString name() const;

    TDBGridModel* model_;
    Recordset rs_;
    mutable Recordset reader_;
    int observer_ = 0;
    std::vector<std::unique_ptr<TDBColumn>> columns_;
    // the row buffer
    std::map<QString, Variant> buffer_;           // by lower-case data field
    int bufferBookmark_ = -1;                      // -1: the add-new row
    bool commitScheduled_ = false;
    int editCol_ = -1;
    Variant editValue_;

    bool allowAddNew_ = false, allowDelete_ = false, allowUpdate_ = false;
    int marqueeStyle_ = dbgFloatingEditor, multiSelect_ = dbgMultiSelectNone;
    double headLines_ = 1;
    bool allowRowSizing_ = true, allowColSelect_ = true, recordSelectors_ = true, wrapCellPointer_ = false;
    bool alternatingRowStyle_ = false;
    double rowHeight_ = 18;
    TDBStyle style_, evenStyle_, oddStyle_;
    QFont headFont_;
    std::set<int> selected_;

    int busy_ = 0;
    bool resyncPending_ = false;
    bool syncing_ = false;
    bool applyingLayout_ = false;
    int lastBookmark_ = -1, lastCol_ = -1;
    QKeyEvent* editorKey_ = nullptr;
    bool replaying_ = false;
    bool dragging_ = false;
    int dragSection_ = -1;
    Qt::Orientation dragOrientation_ = Qt::Horizontal;
};
