#pragma once
// The system settings while the program runs: the one row of システム設定. The settings a
// computation reads live in the engine (gEngine().Settings: 切取位置, 部材切取順序,
// 部材切取順序詳細, 回転方式, スリット, 表示母材, 並び替え項目 and its bit set); the display
// settings in gDisplay(). InitSystem loads both from the table; the settings dialog writes both
// and the row.
#include "results/DisplaySettings.h"

// Loads the row of システム設定 into the engine's settings and gDisplay(); false on failure.
bool InitSystem();
