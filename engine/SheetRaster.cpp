#include "engine/SheetRaster.h"

#include "engine/EngineTypes.h"

#include <algorithm>
#include <cstring>

void SheetRaster::Reset(int ux, int uy)
{
    if (touched_ >= 0)
        std::memset(cells_.data(), 0, sizeof(int16_t) * size_t(touched_ + 1) * stride_);
    const size_t need = size_t(ux + 1) * size_t(uy + 1);
    if (cells_.size() < need)
        cells_.assign(need, 0);
    ux_ = ux;
    uy_ = uy;
    stride_ = uy + 1;
    touched_ = -1;
    occupied_ = kerf_ = 0;
    maxX_ = maxY_ = 0;
}

void SheetRaster::set(int x, int y, int16_t value)
{
    cells_[size_t(x) * stride_ + y] = value;
    touch(x);
}

void SheetRaster::FillPiece(int x, int y, int along, int across, int16_t part)
{
    int32_t free = 0, kerf = 0;
    for (int xx = x; xx < x + along; ++xx) {
        int16_t* c = cells_.data() + size_t(xx) * stride_ + y;
        for (int j = 0; j < across; ++j) {
            free += c[j] == 0;
            kerf += c[j] == kKerfPart;
            c[j] = part;
        }
    }
    occupied_ += free;
    kerf_ -= kerf;
    maxX_ = std::max(maxX_, x + along - 1);
    maxY_ = std::max(maxY_, y + across - 1);
    touch(x + along - 1);
}

void SheetRaster::MarkKerf(int x0, int x1, int y0, int y1)
{
    x0 = std::max(x0, 1);
    y0 = std::max(y0, 1);
    x1 = std::min(x1, ux_);
    y1 = std::min(y1, uy_);
    if (x0 > x1 || y0 > y1)
        return;
    int32_t marked = 0;
    for (int xx = x0; xx <= x1; ++xx) {
        int16_t* c = cells_.data() + size_t(xx) * stride_;
        for (int yy = y0; yy <= y1; ++yy) {
            if (c[yy] == 0) {
                c[yy] = kKerfPart;
                ++marked;
            }
        }
    }
    occupied_ += marked;
    kerf_ += marked;
    // Every cell of the band is occupied now, so the band's far edges bound the occupied extent.
    maxX_ = std::max(maxX_, x1);
    maxY_ = std::max(maxY_, y1);
    touch(x1);
}
