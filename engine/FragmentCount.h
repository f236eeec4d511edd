#pragma once
// The number of separate free areas (fragments) of a sheet's cells, the measure of the ranking
// criterion 欠片（穴）の少ない順. The layout sheet counts them on its compressed grid.
#include <cstddef>
#include <cstdint>

// The count on cells (stride per column, y contiguous; index 0 of each axis unused) of ux by uy
// whose occupied extent is mx by my: the free areas inside the extent widened by one cell where
// the cells allow. A cell of value 0 is free, one above 0 blocks; the free cells are labelled in
// place (negative values).
int32_t CountFragmentCells(int16_t* cells, size_t stride, int ux, int uy, int mx, int my);
