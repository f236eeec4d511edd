#pragma once
// Measures of a filled sheet raster by passes over its cells: the used extent in the packing
// direction, the share of cells that differ from a value, and the number of separate free areas
// (fragments). The layout run's measures on its compressed sheet must give the same figures.
#include "tests/engine/SheetRaster.h"

#include <cstdint>

// The largest occupied x (direction 0) or y (direction 1) as a percentage of the sheet's 長さ or
// 幅; any other direction gives 0.
double GetHojoLinePosision(const SheetRaster& raster, int32_t direction);
// The percentage of cells whose value differs from value.
double GetCount(const SheetRaster& raster, int16_t value);
// The number of free areas inside the used extent widened by one cell (CountFragmentCells on a
// copy of every cell); the raster is not changed.
int32_t CountFragments(const SheetRaster& raster);
