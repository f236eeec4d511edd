#pragma once
// Measures of a filled sheet raster: the used extent in the packing direction, the share of cells
// that differ from a value, and the number of separate free areas (fragments).
#include "engine/SheetRaster.h"

#include <cstdint>

// The largest occupied x (direction 0) or y (direction 1) as a percentage of the sheet's 長さ or
// 幅; any other direction gives 0.
double GetHojoLinePosision(const SheetRaster& raster, int32_t direction);
// The percentage of cells whose value differs from value.
double GetCount(const SheetRaster& raster, int16_t value);
// The number of free areas inside the used extent widened by one cell; the raster is not changed.
int32_t CountFragments(const SheetRaster& raster);

// The same count on a closed sheet the caller discards afterwards: free cells are labelled in
// place. mx and my are the largest occupied x and y (0 when the sheet is empty).
int32_t CountFragmentsInPlace(SheetRaster& raster, int mx, int my);
