#include "drawing/SheetDrawing.h"

#include "engine/EngineTypes.h"
#include "engine/RoundAndContrast.h"
#include "platform/core/ColorValues.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace {

// A colour value as the painter's colour, a system colour resolved.
QColor color(int32_t value)
{
    const uint32_t c = RealColor(uint32_t(value));
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

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
    p.fillRect(QRect(0, 0, w, h), color(scene.stockColor));
    const int right = SheetPixel(scene.length, s) - 1, bottom = SheetPixel(scene.width, s) - 1;
    const QColor kerf = color(look.kerfColor);
    const QFontMetrics fm(look.numberFont);
    for (const SheetRect& r : scene.rects) {
        const int x1 = SheetPixel(r.startX, s), y1 = SheetPixel(r.startY, s);
        const int x2 = SheetPixel(r.endX, s) - 1, y2 = SheetPixel(r.endY, s) - 1;
        box(p, x1, y1, x2, y2, color(r.color));
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
            p.setPen(color(WhiteOrBlack(r.color)));
            p.drawText(QRect(x2 - tw, y2 - th, tw, th), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
        }
    }
    const QColor contrast = color(WhiteOrBlack(scene.stockColor));
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
