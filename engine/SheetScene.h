#pragma once
// One sheet of a pattern as its rows of パターン部材 (in cells, ends exclusive) and its stock, and
// the readers that fill it from the pattern tables. Plain data, no drawing: the sheet drawing
// (drawing/SheetDrawing.h) paints a scene, the list and the detail window read them here.
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

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

// The stock of a sheet, by 母材番号 (the engine's StockTbl).
struct SheetStock {
    int32_t length = 0, width = 0, color = 0;
};
using SheetStockOf = std::function<SheetStock(int16_t stockNo)>;

// The rows of one sheet (連番) of a pattern; a scene without rows when it has none.
SheetScene ReadSheet(int32_t patternNo, int16_t sheet, const SheetStockOf& stockOf);
// Every sheet of a pattern that has rows, by 連番, in one query.
std::map<int16_t, SheetScene> ReadPatternSheets(int32_t patternNo, const SheetStockOf& stockOf);
