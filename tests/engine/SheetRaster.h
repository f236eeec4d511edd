#pragma once
// A cell raster of one sheet: 16-bit cells indexed (x, y), x = 1..UX along the sheet's 長さ, y =
// 1..UY along its 幅 (index 0 of each axis exists and is unused). 0 is free, 99 kerf, any other
// value the part number of the piece on the cell. Stored column by column (y contiguous). The
// tests measure sheets on it cell by cell, as the reference the engine's measures must agree with.
#include "engine/LayoutSheet.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class SheetRaster {
public:
    SheetRaster() = default;
    SheetRaster(int ux, int uy) { Reset(ux, uy); }

    void Reset(int ux, int uy) { ux_ = ux; uy_ = uy; cells_.assign(size_t(ux + 1) * size_t(uy + 1), 0); }
    int UX() const { return ux_; }
    int UY() const { return uy_; }
    int16_t at(int x, int y) const { return cells_[size_t(x) * size_t(uy_ + 1) + size_t(y)]; }
    void set(int x, int y, int16_t value) { cells_[size_t(x) * size_t(uy_ + 1) + size_t(y)] = value; }
    const int16_t* column(int x) const { return cells_.data() + size_t(x) * size_t(uy_ + 1); }
    int16_t* data() { return cells_.data(); }

private:
    std::vector<int16_t> cells_;
    int ux_ = 0, uy_ = 0;
};

// Every cell of a layout sheet.
inline SheetRaster RasterOf(const LayoutSheet& sheet)
{
    SheetRaster r(sheet.UX(), sheet.UY());
    for (int x = 1; x <= sheet.UX(); ++x)
        for (int y = 1; y <= sheet.UY(); ++y)
            r.set(x, y, sheet.at(x, y));
    return r;
}
