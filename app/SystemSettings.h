#pragma once
// The system settings while the program runs: the one row of システム設定. The settings a
// computation reads live in the engine (gEngine().Settings: 切取位置, 部材切取順序,
// 部材切取順序詳細, 回転方式, スリット, 表示母材, 並び替え項目 and its bit set); the display
// settings live here. InitSystem loads both from the table; the settings dialog writes both and
// the row.
#include <cstdint>

struct DisplaySettings {
    int16_t GuideLine = 0;         // 切取補助線: 0 表示, 1 非表示
    int16_t SlitLine = 0;          // スリット線: 0 表示, 1 非表示
    int16_t DisplaySize = 0;       // 表示サイズ: 0 最小値, 1 基準値, 2 最大値
    int16_t DisplayListCount = 0;  // 表示リスト: rows of the pattern list shown
};

DisplaySettings& gDisplay();

// Loads the row of システム設定 into the engine's settings and gDisplay(); false on failure.
bool InitSystem();
