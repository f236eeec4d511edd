#pragma once
// The display settings of the system settings while the program runs (the layout settings a
// computation reads live in the engine, gEngine().Settings). Read by the pattern list, its
// thumbnails and the detail window; loaded by the main window, written by the settings dialog.
#include <cstdint>

struct DisplaySettings {
    int16_t GuideLine = 0;         // 切取補助線: kLineShown, kLineHidden
    int16_t SlitLine = 0;          // スリット線: kLineShown, kLineHidden
    int16_t DisplaySize = 0;       // 表示サイズ: kSizeSmallest, kSizeStandard, kSizeLargest
    int16_t DisplayListCount = 0;  // 表示リスト: rows of the pattern list shown
};

// 切取補助線 and スリット線: whether the line is drawn.
constexpr int16_t kLineShown = 0;      // 表示
constexpr int16_t kLineHidden = 1;     // 非表示
// 表示サイズ: the start scale of the pattern list's thumbnails.
constexpr int16_t kSizeSmallest = 0;   // 最小値
constexpr int16_t kSizeStandard = 1;   // 基準値
constexpr int16_t kSizeLargest = 2;    // 最大値

DisplaySettings& gDisplay();
