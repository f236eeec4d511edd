#pragma once
// Measures of a filled sheet raster: the used extent in the packing direction, the share of cells
// that differ from a value, and the number of separate free areas (fragments).
#include "engine/SheetRaster.h"

#include <cstddef>
#include <cstdint>

// The largest occupied x (direction 0) or y (direction 1) as a percentage of the sheet's 長さ or
// 幅; any other direction gives 0.
double GetHojoLinePosision(const SheetRaster& raster, int32_t direction);
// The percentage of cells whose value differs from value.
double GetCount(const SheetRaster& raster, int16_t value);
// The number of free areas inside the used extent widened by one cell; the raster is not changed.
int32_t CountFragments(const SheetRaster& raster);

// The count itself on cells (stride per column) of ux by uy whose occupied extent is mx by my;
// the free cells are labelled in place (negative values).
int32_t CountFragmentCells(int16_t* cells, size_t stride, int ux, int uy, int mx, int my);
