#pragma once
// The drawing of one sheet of a pattern (pieces, kerf, part numbers, guide and strip lines),
// painted with QPainter into an image: Qt Gui only, no widgets and no database. It serves the
// pattern list's thumbnails, the detail window and, through the detail window, its print.
//
// A scene (engine/SheetScene.h) holds the rows of one sheet and its stock; a look holds the scale
// and the settings. A cell coordinate c lies at pixel Fix(c × scale) (truncated, RoundByMode mode
// 1). The surface is Fix(長さ × scale) + 4 by Fix(幅 × scale) + 4 pixels in the stock colour; every
// row is a box from its first to its last pixel, both included, in its colour, in 部材番号 order
// (kerf bands, 99, last and over the pieces). Colours are the run time's values: a system colour
// is resolved (platform/core/ColorValues.h).
#include "engine/SheetScene.h"

#include <QFont>
#include <QImage>
#include <QSize>
#include <cstdint>
#include <vector>

class QPainter;

struct SheetLook {
    double scale = 1;                     // pixels per cell
    bool kerfOutlines = false;            // kerf width 0: thin lines between pieces instead of bands
    int32_t kerfColor = 0;
    bool guideLine = false;               // 切取補助線 is kLineShown
    int16_t cutPosition = 0;              // 切取位置: kCutLeft vertical guide line, kCutTop horizontal
    int16_t slitMode = 0;                 // スリット: kSlitNone, kSlitHorizontal, kSlitVertical strips
    bool slitLines = false;               // スリット線 is kLineShown
    bool partNumbers = false;             // 部材番号 in the bottom-right corner of boxes over 16 pixels
    QFont numberFont;

    bool operator==(const SheetLook& o) const
    {
        return scale == o.scale && kerfOutlines == o.kerfOutlines && kerfColor == o.kerfColor &&
               guideLine == o.guideLine && cutPosition == o.cutPosition && slitMode == o.slitMode &&
               slitLines == o.slitLines && partNumbers == o.partNumbers && numberFont == o.numberFont;
    }
};

// Fix(cells × scale).
int32_t SheetPixel(double cells, double scale);
QSize SheetImageSize(const SheetScene& scene, double scale);
// Where the guide line lies, in cells: the largest 終了横 (kCutLeft) or 終了縦 (kCutTop) of all rows,
// kerf bands included.
int32_t GuideCells(const SheetScene& scene, int16_t cutPosition);
// The strip boundaries, in cells, ascending: kSlitHorizontal the 開始縦 of the pieces that start at
// the left edge (but not at the top), kSlitVertical the 開始横 of those that start at the top edge
// (not at the left).
std::vector<int16_t> SlitCells(const SheetScene& scene, int16_t slitMode);

// Paints the sheet onto a surface of SheetImageSize (origin at the sheet's top-left corner).
void PaintSheet(QPainter& painter, const SheetScene& scene, const SheetLook& look);
QImage DrawSheet(const SheetScene& scene, const SheetLook& look);
