#pragma once
// The display settings of the system settings while the program runs (the layout settings a
// computation reads live in the engine, gEngine().Settings). Read by the pattern list, its
// thumbnails and the detail window; loaded by the main window, written by the settings dialog.
#include <cstdint>

struct DisplaySettings {
    int16_t GuideLine = 0;         // 切取補助線: 0 表示, 1 非表示
    int16_t SlitLine = 0;          // スリット線: 0 表示, 1 非表示
    int16_t DisplaySize = 0;       // 表示サイズ: 0 最小値, 1 基準値, 2 最大値
    int16_t DisplayListCount = 0;  // 表示リスト: rows of the pattern list shown
};

DisplaySettings& gDisplay();
