#include "tests/engine/RasterStatistics.h"

#include "engine/FragmentCount.h"

#include <algorithm>
#include <vector>

double GetHojoLinePosision(const SheetRaster& raster, int32_t direction)
{
    if (direction != 0 && direction != 1)
        return 0.0;
    int m = 0;
    for (int x = 1; x <= raster.UX(); ++x)
        for (int y = 1; y <= raster.UY(); ++y)
            if (raster.at(x, y) != 0)
                m = std::max(m, direction == 0 ? x : y);
    const int size = direction == 0 ? raster.UX() : raster.UY();
    return size ? double(m) / double(size) * 100.0 : 0.0;
}

double GetCount(const SheetRaster& raster, int16_t value)
{
    const int ux = raster.UX(), uy = raster.UY();
    int32_t count = 0;
    for (int x = 1; x <= ux; ++x) {
        const int16_t* col = raster.column(x);
        for (int y = 1; y <= uy; ++y)
            count += col[y] != value;
    }
    const int32_t cells = ux * uy;
    return cells ? double(count) / double(cells) * 100.0 : 0.0;
}

int32_t CountFragments(const SheetRaster& raster)
{
    const int ux = raster.UX(), uy = raster.UY();
    int mx = 0, my = 0;
    for (int x = 1; x <= ux; ++x)
        for (int y = 1; y <= uy; ++y)
            if (raster.at(x, y) != 0) {
                mx = std::max(mx, x);
                my = std::max(my, y);
            }
    std::vector<int16_t> copy(size_t(ux + 1) * size_t(uy + 1));
    for (int x = 0; x <= ux; ++x)
        for (int y = 0; y <= uy; ++y)
            copy[size_t(x) * (uy + 1) + y] = raster.at(x, y);
    return CountFragmentCells(copy.data(), size_t(uy + 1), ux, uy, mx, my);
}
