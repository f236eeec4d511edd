// The detail window's drawing of the sheet shown, its zoom and its horizontal scrolling.
#include "results/frmDetail.h"

#include "engine/Engine.h"
#include "engine/SheetScene.h"
#include "foundation/ErrLog.h"
#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "platform/gui/GuiSetup.h"
#include "platform/gui/Handler.h"
#include "platform/gui/Label.h"
#include "results/DetailSurface.h"
#include "results/DetailZoom.h"
#include "results/DisplaySettings.h"
#include "results/HandOver.h"

#include <QPushButton>
#include <QScrollBar>

namespace {

// The stock of a 母材番号 in cells, from the engine's table; nothing for no stock kind.
SheetStock stockOf(int16_t stockNo)
{
    const Engine& e = gEngine();
    if (stockNo < 1 || size_t(stockNo) >= e.StockTbl.size())
        return SheetStock{};
    const StockRec& s = e.StockTbl[size_t(stockNo)];
    return SheetStock{s.長さ, s.幅, s.色値};
}

QString sheetWhere(int32_t patternNo, int16_t sheet)
{
    const cBase& b = gBase();
    return QStringLiteral("パターン番号 = ") + b.CvtSQL(Variant(patternNo), kSqlLong) + QStringLiteral(" And 連番 = ") +
           b.CvtSQL(Variant(sheet), kSqlInt);
}

}  // namespace

int16_t frmDetail::GetBozaiNo(int16_t sheetSeq)
{
    const cBase& b = gBase();
    int16_t no = b.CvtInt(gDao().Lookup(QStringLiteral("パターン詳細"), QStringLiteral("母材番号"),
                                        QStringLiteral("連番=") + b.CvtSQL(Variant(sheetSeq), kSqlInt)));
    if (no == 0)   // a sheet that received nothing: its stock is in パターン母材
        no = b.CvtInt(gDao().Lookup(QStringLiteral("パターン母材"), QStringLiteral("母材番号"),
                                    sheetWhere(gSelection().patternNo, sheetSeq)));
    return no;
}

void frmDetail::fitWidth()
{
    const SheetStock st = stockOf(GetBozaiNo(gSelection().sheet));
    if (st.length > 0)
        DrawScale = (picDodai->width() - 4.0) / st.length;
}

void frmDetail::DrawDetail()
{
    handle("DrawDetail", [this] {
        const ListSelection& sel = gSelection();
        const Engine& e = gEngine();
        const cBase& b = gBase();
        scene_ = ReadSheet(sel.patternNo, sel.sheet, stockOf);
        if (scene_.rects.empty()) {
            // A sheet that received nothing is shown as its empty stock.
            Recordset rs = gDao().OpenRecordset(QStringLiteral("SELECT 母材番号,枝番 FROM パターン母材 WHERE ") +
                                                sheetWhere(sel.patternNo, sel.sheet));
            if (!rs.eof()) {
                scene_.stockNo = b.CvtInt(rs.field(0));
                scene_.branch = b.CvtInt(rs.field(1));
                const SheetStock st = stockOf(scene_.stockNo);
                scene_.length = st.length;
                scene_.width = st.width;
                scene_.stockColor = st.color;
            }
        }
        txtBozaiNo->setText(QString::number(scene_.stockNo) + QLatin1Char('-') + QString::number(scene_.branch));

        SheetLook look;
        look.scale = DrawScale;
        look.kerfOutlines = e.KerfWidth == 0;
        look.kerfColor = e.KerfColor;
        look.guideLine = gDisplay().GuideLine == kLineShown;
        look.cutPosition = e.Settings.CutPosition;
        look.slitMode = e.Settings.SlitMode;
        look.slitLines = gDisplay().SlitLine == kLineShown;
        look.partNumbers = true;
        look.numberFont = picDetail->font();
        look.numberFont.setPointSize(15);
        const QImage picture = DrawSheet(scene_, look);
        picDetail->resize(picture.size());
        picDetail->setPicture(picture);

        labSize->setText(QString::number(scene_.length * e.Unit) + QStringLiteral(" × ") +
                         QString::number(scene_.width * e.Unit));
        HScroll1->setValue(0);
    });
}

void frmDetail::butBig_Click()
{
    handle("butBig_Click", [this] {
        DrawScale *= 2;
        Resize();
        DrawDetail();
        SetScroll();
        butSmall->setEnabled(true);
    });
}

void frmDetail::butSmall_Click()
{
    handle("butSmall_Click", [this] {
        DrawScale /= 2;
        Resize();
        DrawDetail();
        SetScroll();
        butBig->setEnabled(true);
    });
}

void frmDetail::Resize()
{
    handle("Resize", [this] {
        OffsetX = -2;
        OffsetY = -2;
        const SheetStock st = stockOf(GetBozaiNo(gSelection().sheet));
        const ZoomState z = ClampScale(DrawScale, st.length, st.width, picDodai->width(), picDodai->height());
        DrawScale = z.scale;
        butSmall->setEnabled(z.smallEnabled);
        butBig->setEnabled(z.bigEnabled);
        placeMarker();
    });
}

void frmDetail::SetScroll()
{
    handle("SetScroll", [this] {
        picDetail->move(OffsetX, OffsetY);
        const SheetStock st = stockOf(GetBozaiNo(gSelection().sheet));
        const int W = picDodai->width();
        const ScrollState sc = ScrollFor(DrawScale, st.length, W);
        if (sc.shown) {
            HScroll1->setValue(0);
            HScroll1->setSingleStep(10);
            HScroll1->setPageStep(100);
            picDetail->resize(SheetPixel(st.length, DrawScale) + 4, picDetail->height());
            DrawScale = sc.scale;
            HScroll1->setMinimum(-2);
            HScroll1->setMaximum(sc.maximum);
            HScroll1->show();
        } else {
            picDetail->resize(W, picDetail->height());
            HScroll1->hide();
        }
    });
}

void frmDetail::HScroll()
{
    const int v = HScroll1->value();
    picDetail->move(OffsetX + picDetail->x() - v, picDetail->y());
    OffsetX = int16_t(v);
}
