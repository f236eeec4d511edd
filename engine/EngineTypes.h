#pragma once
// The records of the engine: stock and part kinds, the placement of one piece and the measures of
// one sheet of a layout, and the system settings a computation reads.
#include <QString>
#include <cstdint>

// The part number of a kerf cell in the raster and of a kerf row in パターン部材.
constexpr int16_t kKerfPart = 99;

// One stock kind, indexed by its 母材番号. Sizes are input units after loading, cells after the
// cell size has divided them.
struct StockRec {
    int16_t 長さ = 0;        // along the x axis of the raster
    int16_t 幅 = 0;          // along the y axis
    int32_t 色値 = 0;
    int16_t 数 = 0;          // sheets available; 0 on the last kind: unlimited
    int16_t UsedCount = 0;   // sheets of this kind completed in the current layout
};

// One part kind, indexed by its 部材番号.
struct PartRec {
    int16_t 長さ = 0;
    int16_t 幅 = 0;
    int32_t 色値 = 0;
    int16_t 数 = 0;
    int16_t CutCount = 0;    // pieces placed in the current layout
    bool Rotatable = false;  // 回転 is true and 長さ differs from 幅
    bool TryRotate = false;  // rotation trial flag of 回転方式 1
};

// Where one piece of the piece queue went; all zero while it is not placed. Coordinates are grid
// lines in cells: a piece on cells x..x+along-1 has 開始横 x-1 and 終了横 x+along-1.
struct PiecePlacement {
    int16_t 連番 = 0;
    int16_t 部材番号 = 0;
    int16_t 母材番号 = 0;
    int16_t 枝番 = 0;
    int16_t 開始横 = 0;
    int16_t 開始縦 = 0;
    int16_t 終了横 = 0;
    int16_t 終了縦 = 0;
};

// The areas of one sheet, in square input units, and their rates, in percent: used, kerf,
// fragments (端材) and the rest (余材).
struct SheetAreas {
    int32_t 使用面積 = 0;
    double 使用率 = 0;
    int32_t 切代面積 = 0;
    double 切代率 = 0;
    int32_t 端材面積 = 0;
    double 端材率 = 0;
    int32_t 余材面積 = 0;
    double 余材率 = 0;
};

// The measures of one sheet of a layout.
struct SheetResult : SheetAreas {
    int16_t 連番 = 0;
    int16_t 母材番号 = 0;
    int16_t 枝番 = 0;
    int32_t 平方数 = 0;
    int32_t 最大平方 = 0;
};

// The system settings a computation reads (the row of システム設定 as the main window holds it).
// The coded ones are stored as numbers; their codes follow.
struct SystemSettings {
    int16_t CutPosition = 0;     // 切取位置: kCutLeft, kCutTop
    int16_t CutOrder = 0;        // 部材切取順序: kOrderGiven, kOrderPartsTogether, kOrderEveryPiece
    int16_t CutOrderDetail = 1;  // 部材切取順序詳細: bits kOrderByNumber ... kOrderByLength
    int16_t RotationMode = 0;    // 回転方式: kRotationSimple, kRotationPanelo, kRotationEveryPiece
    int16_t SlitMode = 0;        // スリット: kSlitNone, kSlitHorizontal, kSlitVertical
    int16_t DisplaySheets = 5;   // 表示母材: most sheet columns of the pattern list
    QString SortKeyList;         // 並び替え項目: ",criterion,criterion..."
    int16_t SortKeyFlags = 0;    // bits kSortByFragments ... kSortByOffcut of the same choice
};

// 切取位置: where the pieces are packed.
constexpr int16_t kCutLeft = 0;              // 左詰め: towards the left edge, column by column
constexpr int16_t kCutTop = 1;               // 上詰め: towards the top edge, row by row
// 部材切取順序: which piece orders the search tries.
constexpr int16_t kOrderGiven = 0;           // 指定順: the orders chosen in 部材切取順序詳細
constexpr int16_t kOrderPartsTogether = 1;   // 同一部材は連続: every order of the part kinds
constexpr int16_t kOrderEveryPiece = 2;      // 総当り: every distinct order of the pieces
// 部材切取順序詳細: the orders of kOrderGiven, one bit each, tried in this order.
constexpr int16_t kOrderByNumber = 1;        // 部材番号順
constexpr int16_t kOrderByArea = 2;          // 面積 descending
constexpr int16_t kOrderByWidth = 4;         // 幅 descending
constexpr int16_t kOrderByLength = 8;        // 長さ descending
constexpr int16_t kOrderByAll = kOrderByNumber | kOrderByArea | kOrderByWidth | kOrderByLength;
// 回転方式: which rotation states the search tries.
constexpr int16_t kRotationSimple = 0;       // 簡易Panelo方式: one turn per rotatable part kind
constexpr int16_t kRotationPanelo = 1;       // Panelo方式: the same, and the look-ahead per part kind
constexpr int16_t kRotationEveryPiece = 2;   // 総当り: every piece of a rotatable kind on its own
// スリット: strips that no piece may straddle.
constexpr int16_t kSlitNone = 0;
constexpr int16_t kSlitHorizontal = 1;       // 横方向: strips across the sheet, bounded in y
constexpr int16_t kSlitVertical = 2;         // 縦方向: strips down the sheet, bounded in x
// 並び替え項目: the ranking criteria, as bits of SortKeyFlags.
constexpr int16_t kSortByFragments = 1;      // 欠片（穴）の少ない順
constexpr int16_t kSortByUsed = 2;           // 使用材の少ない順
constexpr int16_t kSortByKerf = 4;           // 切代の少ない順
constexpr int16_t kSortByOffcut = 8;         // 端材の少ない順

// The ranking criteria, in the order of their bits in SortKeyFlags (kSortByFragments ... kSortByOffcut).
inline const QString kSortKeyFragments = QStringLiteral("欠片（穴）の少ない順");
inline const QString kSortKeyUsed = QStringLiteral("使用材の少ない順");
inline const QString kSortKeyKerf = QStringLiteral("切代の少ない順");
inline const QString kSortKeyOffcut = QStringLiteral("端材の少ない順");

// The bit set of the criteria named in a ",criterion,criterion" list (the text before the first
// comma is ignored, unknown pieces add nothing).
int16_t SortKeyFlagsOf(const QString& sortKeyList);
