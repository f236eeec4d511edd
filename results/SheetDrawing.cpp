#include "results/SheetDrawing.h"

#include "engine/EngineTypes.h"
#include "engine/RoundAndContrast.h"
#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "platform/gui/Colors.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace {

// A filled box between two corner pixels, both included (in either order).
void box(QPainter& p, int x1, int y1, int x2, int y2, const QColor& c)
{
    p.fillRect(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2))), c);
}

// An axis-parallel line from its start pixel up to its end pixel, the end excluded.
void line(QPainter& p, int x1, int y1, int x2, int y2, const QColor& c)
{
    if (x1 == x2 && y1 != y2)
        box(p, x1, y1, x1, y2 > y1 ? y2 - 1 : y2 + 1, c);
    else if (y1 == y2 && x1 != x2)
        box(p, x1, y1, x2 > x1 ? x2 - 1 : x2 + 1, y1, c);
}

}  // namespace

int32_t SheetPixel(double cells, double scale) { return RoundByMode(cells * scale, 1); }

QSize SheetImageSize(const SheetScene& scene, double scale)
{
    return QSize(SheetPixel(scene.length, scale) + 4, SheetPixel(scene.width, scale) + 4);
}

int32_t GuideCells(const SheetScene& scene, int16_t cutPosition)
{
    int32_t m = 0;
    bool any = false;
    for (const SheetRect& r : scene.rects) {
        const int32_t v = cutPosition == kCutTop ? r.endY : r.endX;
        m = any ? std::max(m, v) : v;
        any = true;
    }
    return m;
}

std::vector<int16_t> SlitCells(const SheetScene& scene, int16_t slitMode)
{
    std::vector<int16_t> out;
    for (const SheetRect& r : scene.rects) {
        if (r.part == kKerfPart)
            continue;
        if (slitMode == kSlitHorizontal && r.startY != 0 && r.startX == 0)
            out.push_back(r.startY);
        else if (slitMode == kSlitVertical && r.startX != 0 && r.startY == 0)
            out.push_back(r.startX);
    }
    std::sort(out.begin(), out.end());
    return out;
}

void PaintSheet(QPainter& p, const SheetScene& scene, const SheetLook& look)
{
    const double s = look.scale;
    const QSize size = SheetImageSize(scene, s);
    const int w = size.width(), h = size.height();
    p.fillRect(QRect(0, 0, w, h), ToQColor(uint32_t(scene.stockColor)));
    const int right = SheetPixel(scene.length, s) - 1, bottom = SheetPixel(scene.width, s) - 1;
    const QColor kerf = ToQColor(uint32_t(look.kerfColor));
    const QFontMetrics fm(look.numberFont);
    for (const SheetRect& r : scene.rects) {
        const int x1 = SheetPixel(r.startX, s), y1 = SheetPixel(r.startY, s);
        const int x2 = SheetPixel(r.endX, s) - 1, y2 = SheetPixel(r.endY, s) - 1;
        box(p, x1, y1, x2, y2, ToQColor(uint32_t(r.color)));
        if (look.kerfOutlines) {
            // The left and top lines lie just outside the box, the right and bottom ones on its
            // last column and row: two touching pieces share one line.
            if (x2 != 0)
                line(p, x1 - 1, y1 - 1, x1 - 1, y2, kerf);
            if (y2 != 0)
                line(p, x1, y1 - 1, x2 + 1, y1 - 1, kerf);
            if (x2 != right)
                line(p, x2, y1, x2, y2 + 1, kerf);
            if (y2 != bottom)
                line(p, x1, y2, x2, y2, kerf);
        }
        if (look.partNumbers && r.part != kKerfPart && y2 - y1 > 15 && x2 - x1 > 15) {
            const QString text = QString::number(r.part);
            const int tw = fm.horizontalAdvance(text), th = fm.height();
            p.setFont(look.numberFont);
            p.setPen(ToQColor(uint32_t(WhiteOrBlack(r.color))));
            p.drawText(QRect(x2 - tw, y2 - th, tw, th), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
        }
    }
    const QColor contrast = ToQColor(uint32_t(WhiteOrBlack(scene.stockColor)));
    if (look.guideLine) {
        const int at = SheetPixel(GuideCells(scene, look.cutPosition), s);
        if (look.cutPosition == kCutLeft)
            line(p, at, 0, at, h, contrast);
        else if (look.cutPosition == kCutTop)
            line(p, 0, at, w, at, contrast);
    }
    if (look.slitMode != kSlitNone && look.slitLines) {
        for (int16_t c : SlitCells(scene, look.slitMode)) {
            const int at = SheetPixel(c, s);
            if (look.slitMode == kSlitHorizontal)
                line(p, 0, at, w, at, contrast);
            else if (look.slitMode == kSlitVertical)
                line(p, at, 0, at, h, contrast);
        }
    }
}

QImage DrawSheet(const SheetScene& scene, const SheetLook& look)
{
    QImage image(SheetImageSize(scene, look.scale), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    QPainter p(&image);
    PaintSheet(p, scene, look);
    return image;
}

namespace {

std::map<int16_t, SheetScene> readSheets(int32_t patternNo, int16_t sheet, const SheetStockOf& stockOf)
{
    const cBase& b = gBase();
    QString sql = QStringLiteral("SELECT 連番,母材番号,枝番,部材番号,開始横,開始縦,終了横,終了縦,色 FROM パターン部材"
                                 " WHERE パターン番号=?1 AND ");
    sql += sheet > 0 ? QStringLiteral("連番=?2") : QStringLiteral("連番>=1");
    sql += QStringLiteral(" ORDER BY 連番,部材番号,rowid");
    Statement st = gDao().Prepare(sql);
    st.bind(1, int64_t(patternNo));
    if (sheet > 0)
        st.bind(2, int64_t(sheet));
    std::map<int16_t, SheetScene> out;
    while (st.step()) {
        const int16_t k = b.CvtInt(st.column(0));
        const int16_t m = b.CvtInt(st.column(1)), branch = b.CvtInt(st.column(2));
        auto [it, fresh] = out.try_emplace(k);
        SheetScene& scene = it->second;
        if (fresh) {
            // The sheet is the one of its first row.
            scene.sheet = k;
            scene.stockNo = m;
            scene.branch = branch;
            const SheetStock stock = stockOf(m);
            scene.length = stock.length;
            scene.width = stock.width;
            scene.stockColor = stock.color;
        } else if (m != scene.stockNo || branch != scene.branch) {
            continue;
        }
        SheetRect r;
        r.part = b.CvtInt(st.column(3));
        r.startX = b.CvtInt(st.column(4));
        r.startY = b.CvtInt(st.column(5));
        r.endX = b.CvtInt(st.column(6));
        r.endY = b.CvtInt(st.column(7));
        r.color = b.CvtLng(st.column(8));
        scene.rects.push_back(r);
    }
    return out;
}

}  // namespace

SheetScene ReadSheet(int32_t patternNo, int16_t sheet, const SheetStockOf& stockOf)
{
    std::map<int16_t, SheetScene> one = readSheets(patternNo, std::max<int16_t>(sheet, 1), stockOf);
    if (sheet < 1 || one.empty())
        return SheetScene{sheet};
    return std::move(one.begin()->second);
}

std::map<int16_t, SheetScene> ReadPatternSheets(int32_t patternNo, const SheetStockOf& stockOf)
{
    return readSheets(patternNo, 0, stockOf);
}
