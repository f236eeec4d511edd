// The detail window's two grids: the sheet grid over パターン詳細 (TOTAL first, the part columns in
// their parts' colours sharing the width left beside the leading columns) and the part grid over
// the placed pieces.
#include "results/frmDetail.h"

#include "engine/Engine.h"
#include "foundation/ErrLog.h"
#include "foundation/Globals.h"
#include "foundation/cDao.h"
#include "platform/gui/Handler.h"
#include "platform/gui/TDBGrid.h"
#include "results/DetailTable.h"
#include "results/HandOver.h"
#include "ui/mdlMain.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kLeadingColumns = 6;   // 連番, 母材番号, 使用材, 切代, 端材, 余材

struct ColumnDesign {
    const char16_t* caption;
    const char16_t* field;
    double width;                    // 0: hidden
};

TDBColumn& addColumn(TDBGrid& grid, const ColumnDesign& d, bool allowSizing)
{
    TDBColumn& c = grid.addColumn(grid.columnCount());
    c.setCaption(QString::fromUtf16(d.caption));
    c.setDataField(QString::fromUtf16(d.field));
    c.setWidth(d.width);
    c.setVisible(d.width > 0);
    c.setAllowSizing(allowSizing);
    return c;
}

void clearColumns(TDBGrid& grid)
{
    while (grid.columnCount() > 0)
        grid.removeColumn(0);
}

}  // namespace

void frmDetail::InitGrid()
{
    handle("InitGrid", [this] {
        const ListSelection& sel = gSelection();
        const Engine& e = gEngine();
        Recordset detail = gDao().OpenRecordset(DetailGridSql(), dbOpenDynaset, dbReadOnly, dbReadOnly);
        TDBDetail->clearRecordset();
        TDBDetail->setRecordset(detail);
        Recordset list = gDao().OpenRecordset(PartGridSql(sel.patternNo, e.Unit, e.Settings.CutPosition), dbOpenDynaset,
                                              dbReadOnly, dbReadOnly);
        TDBList->clearRecordset();
        TDBList->setRecordset(list);
    });
}

void frmDetail::SetTDBGridColumn(bool rebuild)
{
    ++quiet_;
    handle("SetTDBGridColumn", [&] {
        TDBGrid& g = *TDBDetail;
        if (!rebuild) {
            g.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
            clearColumns(g);
            static const ColumnDesign leading[] = {{u"連番", u"連番", 0},      {u"母材番号", u"母番", 60},
                                                   {u"使用材", u"使用材", 110}, {u"切代", u"切代", 110},
                                                   {u"端材", u"端材", 110},     {u"余材", u"余材", 110}};
            // The area columns are 110 pixels wide, or as wide as the grid's font needs for a
            // sheet's largest text.
            const double areaWidth =
                std::max(110.0, QFontMetricsF(g.font()).horizontalAdvance(QStringLiteral("9,999,999 (100.00%)")) + 6.0);
            for (ColumnDesign d : leading) {
                if (d.width == 110)
                    d.width = std::ceil(areaWidth);
                TDBColumn& c = addColumn(g, d, true);
                if (c.index() == 1) {
                    AddValueItem(c, QStringLiteral("0-0"), QStringLiteral("TOTAL"), false, false);
                    c.setAllowSizing(false);
                }
            }
            for (int n = 1; n <= gEngine().PartTypeCount; ++n) {
                TDBColumn& c = g.addColumn(g.columnCount());
                c.setCaption(QStringLiteral("部材") + QString::number(n));
                c.setDataField(QStringLiteral("部材") + QString::number(n));
                c.setWidth(40);
                c.setVisible(true);
                c.setFetchStyle(true);
            }
        }
        // The space before the first column and the vertical scroll bar's width, which is kept
        // free whether the bar shows or not.
        firstColumnLeft_ = g.frameWidth() + (g.recordSelectors() ? g.verticalHeader()->width() : 0);
        scrollBarWidth_ = g.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &g);
        shareSheetColumns();
        g.refresh();
    });
    --quiet_;
}

// The part columns share the width left beside the leading columns equally.
void frmDetail::shareSheetColumns()
{
    TDBGrid& g = *TDBDetail;
    const int parts = gEngine().PartTypeCount;
    if (parts < 1 || g.columnCount() < kLeadingColumns + parts)
        return;
    double leading = 0;
    for (int i = 0; i < kLeadingColumns; ++i)
        leading += g.column(i).visible() ? g.column(i).width() : 0;
    // Never narrower than the widest caption: a grid too narrow for them scrolls instead.
    const double least = std::ceil(QFontMetricsF(g.headFont()).horizontalAdvance(QStringLiteral("部材") + QString::number(parts)) + 4);
    const double share = std::max(least, (g.width() - scrollBarWidth_ - firstColumnLeft_ - leading) / parts);
    for (int n = 1; n <= parts; ++n)
        g.column(kLeadingColumns - 1 + n).setWidth(share);
}

void frmDetail::SetTDBListColumn()
{
    ++quiet_;
    handle("SetTDBListColumn", [this] {
        TDBGrid& g = *TDBList;
        g.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        clearColumns(g);
        static const ColumnDesign columns[] = {{u"連番", u"連番", 0},   {u"母材番号", u"母番", 60}, {u"始点X", u"横１", 50},
                                               {u"始点Y", u"縦１", 50}, {u"終点X", u"横２", 50},  {u"終点Y", u"縦２", 50},
                                               {u"", u"色", 0}};
        for (const ColumnDesign& d : columns)
            addColumn(g, d, false);
        g.refresh();
    });
    --quiet_;
}

void frmDetail::TDBDetail_ColResize()
{
    handle("TDBDetail_ColResize", [this] {
        shareSheetColumns();
        TDBDetail->refresh();
    });
}
