#pragma once
// The thumbnails of the pattern list: one image per list row and sheet, read by the engine's
// sheet readers and painted by the sheet drawing. A pattern's rows are read once per list build
// (one query for all its sheets, when its row is first painted); images are drawn once per scale
// and look and kept within a memory budget, so repainting and scrolling never query the
// database. A new list, a new scale or a new look drops the images.
#include "drawing/SheetDrawing.h"
#include "engine/SheetScene.h"

#include <QCache>
#include <cstdint>
#include <unordered_map>
#include <vector>

class Engine;

// One stock row as the computation used it.
struct ListStockRow {
    int16_t no = 0;       // 母材番号
    int16_t count = 0;    // 数; 0 on the last row: unlimited
    int32_t length = 0;   // 長さ in cells
    int32_t width = 0;    // 幅 in cells
    int32_t color = 0;    // 色値
};
using ListStock = std::vector<ListStockRow>;   // in the order of the stock grid

// The engine's stock in the order the computation used it (StockQueue; StockTbl when it is empty).
ListStock ListStockOf(const Engine& engine);

class ListThumbnails {
public:
    ListThumbnails();

    // A new list: everything dropped; the stock for sizes and colours.
    void reset(const ListStock& stock);
    void clear();                                  // nothing kept, no stock
    void dropImages();
    // Sheet 連番 of a pattern drawn with the look; a null image when the sheet has no rows.
    QImage image(int32_t patternNo, int16_t sheet, const SheetLook& look);

    int patternReads() const { return reads_; }    // patterns read from the database so far
    int imagesDrawn() const { return drawn_; }

private:
    struct Key {
        int32_t pattern;
        int16_t sheet;
        bool operator==(const Key& o) const { return pattern == o.pattern && sheet == o.sheet; }
    };
    friend size_t qHash(const Key& k, size_t seed) { return qHashMulti(seed, k.pattern, k.sheet); }

    const std::map<int16_t, SheetScene>& sheetsOf(int32_t patternNo);

    ListStock stock_;
    std::unordered_map<int32_t, std::map<int16_t, SheetScene>> patterns_;
    QCache<Key, QImage> images_;                   // cost in kilobytes
    SheetLook look_;
    bool hasLook_ = false;
    int reads_ = 0, drawn_ = 0;
};
