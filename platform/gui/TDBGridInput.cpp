// What the user does to the data grid: keys (in the grid and in a cell editor), navigation,
// mouse clicks on cells and cell buttons, row selection by the record selectors, and drags of
// row and column borders.
#include "platform/gui/Handler.h"
#include "platform/gui/Keys.h"
#include "platform/gui/TDBGrid.h"
#include "platform/gui/TDBGridModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

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
