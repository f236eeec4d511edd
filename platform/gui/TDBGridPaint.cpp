// Painting the data grid: each cell with its row style, FetchCellStyle, check box, cell button
// and marquee, and the view following a recordset moved directly.
#include "platform/gui/Handler.h"
#include "platform/gui/TDBGrid.h"
#include "platform/gui/TDBGridValues.h"

#include <QApplication>
#include <QPainter>
#include <QTimer>

using namespace tdbgrid;

namespace {

constexpr int kButtonWidth = 16;

}  // namespace

QRect TDBGrid::buttonRect(const QRect& cell) const
{
    return QRect(cell.right() - kButtonWidth + 1, cell.top(), kButtonWidth, cell.height());
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
