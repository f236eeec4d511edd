#pragma once
// One drawing of a sheet of a pattern (pieces, kerf, part numbers, guide and strip lines), built
// from the pattern rows and painted with QPainter. It serves the pattern list's thumbnails, the
// detail window and printing.
//
// A scene holds the rows of one sheet (パターン部材, in cells, ends exclusive) and its stock; a look
// holds the scale and the settings. A cell coordinate c lies at pixel Fix(c × scale) (truncated,
// RoundByMode mode 1). The surface is Fix(長さ × scale) + 4 by Fix(幅 × scale) + 4 pixels in the
// stock colour; every row is a box from its first to its last pixel, both included, in its
// colour, in 部材番号 order (kerf bands, 99, last and over the pieces).
#include <QFont>
#include <QImage>
#include <QSize>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

class QPainter;

// One row of パターン部材 on a sheet.
struct SheetRect {
    int16_t part = 0;                     // 部材番号; 99 a kerf band
    int16_t startX = 0, startY = 0;       // 開始横, 開始縦
    int16_t endX = 0, endY = 0;           // 終了横, 終了縦 (one past the last cell)
    int32_t color = 0;                    // 色
};

struct SheetScene {
    int16_t sheet = 0;                    // 連番
    int16_t stockNo = 0;                  // 母材番号 of the sheet's first row
    int16_t branch = 0;                   // 枝番
    int32_t length = 0, width = 0;        // the stock's 長さ and 幅 in cells
    int32_t stockColor = 0;               // its 色値
    std::vector<SheetRect> rects;         // in 部材番号 order
};

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

// The stock of a sheet, by 母材番号 (the engine's StockTbl).
struct SheetStock {
    int32_t length = 0, width = 0, color = 0;
};
using SheetStockOf = std::function<SheetStock(int16_t stockNo)>;

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

// The rows of one sheet (連番) of a pattern; a scene without rows when it has none.
SheetScene ReadSheet(int32_t patternNo, int16_t sheet, const SheetStockOf& stockOf);
// Every sheet of a pattern that has rows, by 連番, in one query.
std::map<int16_t, SheetScene> ReadPatternSheets(int32_t patternNo, const SheetStockOf& stockOf);
