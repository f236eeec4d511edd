#pragma once
// The Qt model and item delegate under the data grid (for the grid's own files): the model gives
// the view the grid's rows (the add-new row last), columns and headers and hands the user's edits
// to the grid; the delegate paints each cell through the grid and edits it in a line editor
// aligned as the cell.
#include "platform/gui/TDBGrid.h"
#include "platform/gui/TDBGridValues.h"

#include <QAbstractTableModel>
#include <QLineEdit>
#include <QStyledItemDelegate>

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
            return tdbgrid::variantText(grid_->rowValue(index.row(), c));
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
            return int((a == dbgGeneral ? Qt::AlignHCenter : tdbgrid::qtAlignment(a, false)) | Qt::AlignVCenter);
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
        const bool number = tdbgrid::variantNumber(grid_->rowValue(index.row(), c), &d);
        e->setAlignment(tdbgrid::qtAlignment(c.alignment(), number) | Qt::AlignVCenter);
        return e;
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        editor->setGeometry(option.rect.adjusted(1, 1, -1, -1));
    }

private:
    TDBGrid* grid_;
};
