// The detail window's sheet stepping and part selection: the number box, the two grids and the
// drawing kept on the sheet shown, and the hatch marker over the selected part.
//
// Grid rows are moved by code to one computed row, set once, with the row-change handlers at
// rest: walking a grid row by row would run them for every row passed (and show every sheet on
// the way).
#include "results/frmDetail.h"

#include "engine/Engine.h"
#include "engine/RoundAndContrast.h"
#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "platform/gui/ImNumber.h"
#include "platform/gui/TDBGrid.h"
#include "results/DetailSurface.h"
#include "results/DetailZoom.h"
#include "results/HandOver.h"

#include <QCheckBox>

namespace {

constexpr int kColorColumn = 6;   // the part grid's hidden colour column

// The next (or previous) used sheet of the pattern beside a sheet; 0 when there is none.
int16_t usedSheetBeside(int16_t sheet, bool next)
{
    const cBase& b = gBase();
    const ListSelection& sel = gSelection();
    return b.CvtInt(gDao().Lookup(QStringLiteral("パターン母材"), next ? QStringLiteral("MIN(連番)") : QStringLiteral("MAX(連番)"),
                                  (next ? QStringLiteral("連番>") : QStringLiteral("連番<")) + b.CvtSQL(Variant(sheet), kSqlInt) +
                                      QStringLiteral(" AND パターン番号=") + b.CvtSQL(Variant(sel.patternNo), kSqlLong) +
                                      QStringLiteral(" AND 使用面積 <> 0")));
}

}  // namespace

int16_t frmDetail::rowSheet(TDBGrid& grid, int row) const
{
    const int bookmark = grid.rowBookmark(row);
    return bookmark < 0 ? int16_t(0) : gBase().CvtInt(grid.column(QStringLiteral("連番")).cellValue(bookmark));
}

void frmDetail::setSheetNumber(int16_t sheet) { numBozaiNo->setValue(sheet); }

void frmDetail::butBozaiNoDown_Click()
{
    handle("butBozaiNoDown_Click", [this] {
        const int16_t sheet = gSelection().sheet;
        if (sheet <= 1)
            return;
        if (const int16_t n = usedSheetBeside(sheet, false); n != 0)
            setSheetNumber(n);
    });
}

void frmDetail::butBozaiNoUp_Click()
{
    handle("butBozaiNoUp_Click", [this] {
        const int16_t sheet = gSelection().sheet;
        if (sheet >= lastSheet_)
            return;
        if (const int16_t n = usedSheetBeside(sheet, true); n != 0)
            setSheetNumber(n);
    });
}

void frmDetail::numBozaiNo_Change()
{
    handle("numBozaiNo_Change", [this] {
        const int16_t value = gBase().CvtInt(Variant(numBozaiNo->value()));
        gSelection().sheet = value == 0 ? int16_t(1) : value;
        BozaiChange(false, true, true);
    });
}

void frmDetail::BozaiChange(bool setNumber, bool moveSheetGrid, bool movePartGrid)
{
    handle("BozaiChange", [&] {
        const int16_t sheet = gSelection().sheet;
        if (setNumber) {
            // The box shows the sheet; this change is the one being shown.
            const QSignalBlocker block(numBozaiNo);
            numBozaiNo->setValue(sheet);
        }
        if (moveSheetGrid)
            moveToSheet(*TDBDetail);
        if (movePartGrid)
            moveToSheet(*TDBList);
        fitWidth();
        Resize();
        SetScroll();
        DrawDetail();
    });
}

void frmDetail::moveToSheet(TDBGrid& grid)
{
    const int rows = grid.rowCount();
    const int16_t sheet = gSelection().sheet;
    if (rows == 0 || (grid.row() >= 0 && rowSheet(grid, grid.row()) == sheet))
        return;
    int target = rows - 1;   // no row of the sheet: the last row
    for (int r = 0; r < rows; ++r)
        if (rowSheet(grid, r) == sheet) {
            target = r;
            break;
        }
    ++quiet_;
    grid.setBookmark(grid.rowBookmark(target));
    --quiet_;
}

void frmDetail::TDBDetail_RowColChange()
{
    if (quiet_)
        return;
    handle("TDBDetail_RowColChange", [this] {
        TDBGrid& g = *TDBDetail;
        int16_t sheet = rowSheet(g, g.row());
        if (sheet == 0) {
            // The TOTAL row: the first sheet row below it instead.
            if (g.rowCount() < 2)
                return;
            ++quiet_;
            g.setBookmark(g.rowBookmark(1));
            --quiet_;
            sheet = rowSheet(g, 1);
        }
        gSelection().sheet = sheet;
        setSheetNumber(sheet);
    });
}

void frmDetail::TDBList_RowColChange()
{
    if (quiet_)
        return;
    handle("TDBList_RowColChange", [this] {
        placeMarker();
        const int16_t sheet = rowSheet(*TDBList, TDBList->row());
        if (sheet != 0 && sheet != gSelection().sheet) {
            // A part of another sheet: that sheet is shown.
            gSelection().sheet = sheet;
            setSheetNumber(sheet);
        }
    });
}

void frmDetail::placeMarker()
{
    TDBGrid& g = *TDBList;
    const int16_t unit = gEngine().Unit;
    if (g.row() < 0 || g.row() >= g.rowCount() || unit == 0) {
        shpAmi->hide();
        return;
    }
    const cBase& b = gBase();
    auto value = [&](const char16_t* caption) { return b.CvtDbl(g.column(QString::fromUtf16(caption)).value()); };
    shpAmi->setGeometry(MarkerRect(value(u"始点X"), value(u"始点Y"), value(u"終点X"), value(u"終点Y"), unit, DrawScale));
    const uint32_t color = uint32_t(WhiteOrBlack(b.CvtLng(g.column(kColorColumn).value())));
    shpAmi->setBorderColor(color);
    shpAmi->setFillColor(color);
    // Hidden on request, and over a sheet that is not the part's (a sheet that received nothing).
    shpAmi->setVisible(!chkAmi->isChecked() && rowSheet(g, g.row()) == gSelection().sheet);
}

void frmDetail::chkAmi_Click()
{
    handle("chkAmi_Click", [this] { placeMarker(); });
}

void frmDetail::picDetail_MouseDown(int, int, float x, float y)
{
    handle("picDetail_MouseDown", [&] {
        TDBGrid& g = *TDBList;
        const int16_t sheet = gSelection().sheet, unit = gEngine().Unit;
        const int rows = g.rowCount();
        if (rows == 0 || unit == 0)
            return;
        const cBase& b = gBase();
        auto cell = [&](int bookmark, const char16_t* caption) {
            return b.CvtInt(g.column(QString::fromUtf16(caption)).cellValue(bookmark));
        };
        // The first part of the shown sheet that holds the point strictly inside; else its last part.
        int target = -1, lastOfSheet = -1;
        for (int r = 0; r < rows; ++r) {
            const int16_t s = rowSheet(g, r);
            if (s < sheet)
                continue;
            if (s > sheet)
                break;
            lastOfSheet = r;
            const int bm = g.rowBookmark(r);
            if (PieceContains(cell(bm, u"始点X"), cell(bm, u"始点Y"), cell(bm, u"終点X"), cell(bm, u"終点Y"), unit, DrawScale, x, y)) {
                target = r;
                break;
            }
        }
        if (lastOfSheet < 0)
            return;   // the sheet shown has no parts
        g.setBookmark(g.rowBookmark(target >= 0 ? target : lastOfSheet));
    });
}
