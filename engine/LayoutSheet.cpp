#include "engine/LayoutSheet.h"

#include "engine/EngineTypes.h"
#include "engine/RasterStatistics.h"

#include <algorithm>

namespace {
// The sheet compressed to the edges of its pieces and bands within 1..xEnd by 1..yEnd: block
// (i, j), counted from 1, covers x from xs[i-1] to xs[i]-1 and y from ys[j-1] to ys[j]-1; its
// value is the value of all its cells (0, 99, or 1 for a piece).
struct Compressed {
    std::vector<int> xs, ys;
    std::vector<int16_t> cells;           // (nx + 1) by (ny + 1), index 0 of each axis unused
    int nx = 0, ny = 0;
    int16_t& at(int i, int j) { return cells[size_t(i) * size_t(ny + 1) + size_t(j)]; }
};

Compressed compress(const std::vector<LayoutSheet::Piece>& pieces, const std::vector<LayoutSheet::Rect>& bands,
                    int xEnd, int yEnd)
{
    Compressed c;
    c.xs = {1, xEnd + 1};
    c.ys = {1, yEnd + 1};
    auto edges = [&](const LayoutSheet::Rect& r) {
        for (int x : {r.x0, r.x1 + 1})
            if (x > 1 && x <= xEnd)
                c.xs.push_back(x);
        for (int y : {r.y0, r.y1 + 1})
            if (y > 1 && y <= yEnd)
                c.ys.push_back(y);
    };
    for (const auto& p : pieces)
        edges(p.r);
    for (const auto& b : bands)
        edges(b);
    for (auto* v : {&c.xs, &c.ys}) {
        std::sort(v->begin(), v->end());
        v->erase(std::unique(v->begin(), v->end()), v->end());
    }
    c.nx = int(c.xs.size()) - 1;
    c.ny = int(c.ys.size()) - 1;
    c.cells.assign(size_t(c.nx + 1) * size_t(c.ny + 1), 0);
    auto paint = [&](const LayoutSheet::Rect& r, int16_t v) {
        if (r.x0 > xEnd || r.y0 > yEnd)
            return;
        const int i0 = int(std::lower_bound(c.xs.begin(), c.xs.end(), r.x0) - c.xs.begin());
        const int i1 = int(std::upper_bound(c.xs.begin(), c.xs.end(), std::min(r.x1, xEnd)) - c.xs.begin()) - 1;
        const int j0 = int(std::lower_bound(c.ys.begin(), c.ys.end(), r.y0) - c.ys.begin());
        const int j1 = int(std::upper_bound(c.ys.begin(), c.ys.end(), std::min(r.y1, yEnd)) - c.ys.begin()) - 1;
        for (int i = i0; i <= i1; ++i)
            for (int j = j0; j <= j1; ++j)
                c.at(i + 1, j + 1) = v;
    };
    for (const auto& b : bands)
        paint(b, kKerfPart);
    for (const auto& p : pieces)
        paint(p.r, 1);
    return c;
}
}

void LayoutSheet::Reset(int ux, int uy)
{
    pieces_.clear();
    bands_.clear();
    const size_t need = size_t(ux + 1) * size_t(uy + 1);
    if (cells_.size() < need)
        cells_.assign(need, 0);
    // A new generation makes every cell free; after 63 generations the raster is cleared.
    tag_ = uint8_t(tag_ + 4);
    if (tag_ == 0) {
        std::fill(cells_.begin(), cells_.end(), uint8_t(0));
        tag_ = 4;
    }
    ux_ = ux;
    uy_ = uy;
    stride_ = size_t(uy) + 1;
}

bool LayoutSheet::columnFree(int x, int y0, int y1) const
{
    const uint8_t* col = cells_.data() + size_t(x) * stride_;
    for (int y = y0; y <= y1; ++y)
        if (state(col[y]) != Free)
            return false;
    return true;
}

bool LayoutSheet::rowFree(int y, int x0, int x1) const
{
    const uint8_t* c = cells_.data() + size_t(y);
    for (int x = x0; x <= x1; ++x)
        if (state(c[size_t(x) * stride_]) != Free)
            return false;
    return true;
}

bool LayoutSheet::columnHasPiece(int x, int y0, int y1) const
{
    const uint8_t* col = cells_.data() + size_t(x) * stride_;
    for (int y = y0; y <= y1; ++y)
        if (state(col[y]) == PieceCell)
            return true;
    return false;
}

bool LayoutSheet::rowHasPiece(int y, int x0, int x1) const
{
    const uint8_t* c = cells_.data() + size_t(y);
    for (int x = x0; x <= x1; ++x)
        if (state(c[size_t(x) * stride_]) == PieceCell)
            return true;
    return false;
}

bool LayoutSheet::overlapsPiece(int x0, int y0, int x1, int y1) const
{
    for (const Piece& p : pieces_)
        if (x0 <= p.r.x1 && p.r.x0 <= x1 && y0 <= p.r.y1 && p.r.y0 <= y1)
            return true;
    return false;
}

void LayoutSheet::PlacePiece(int x, int y, int along, int across, int16_t part)
{
    const Rect r{x, y, x + along - 1, y + across - 1};
    pieces_.push_back({r, part});
    const uint8_t cell = uint8_t(tag_ | PieceCell);
    for (int xx : {r.x0, r.x1})
        std::fill_n(cells_.begin() + ptrdiff_t(size_t(xx) * stride_ + size_t(r.y0)), across, cell);
    for (int xx = r.x0 + 1; xx < r.x1; ++xx) {
        cells_[size_t(xx) * stride_ + size_t(r.y0)] = cell;
        cells_[size_t(xx) * stride_ + size_t(r.y1)] = cell;
    }
}

void LayoutSheet::MarkKerf(int x0, int x1, int y0, int y1)
{
    x0 = std::max(x0, 1);
    y0 = std::max(y0, 1);
    x1 = std::min(x1, ux_);
    y1 = std::min(y1, uy_);
    if (x0 > x1 || y0 > y1)
        return;
    bands_.push_back({x0, y0, x1, y1});
    // Cells inside a piece may turn to kerf here too: they read free or kerf either way.
    const uint8_t kerf = uint8_t(tag_ | KerfCell);
    for (int x = x0; x <= x1; ++x) {
        uint8_t* col = cells_.data() + size_t(x) * stride_;
        for (int y = y0; y <= y1; ++y)
            if (state(col[y]) == Free)
                col[y] = kerf;
    }
}

int16_t LayoutSheet::at(int x, int y) const
{
    for (const Piece& p : pieces_)
        if (p.r.x0 <= x && x <= p.r.x1 && p.r.y0 <= y && y <= p.r.y1)
            return p.part;
    for (const Rect& b : bands_)
        if (b.x0 <= x && x <= b.x1 && b.y0 <= y && y <= b.y1)
            return kKerfPart;
    return 0;
}

SheetRaster LayoutSheet::Raster() const
{
    SheetRaster r(ux_, uy_);
    for (const Rect& b : bands_)
        for (int x = b.x0; x <= b.x1; ++x)
            for (int y = b.y0; y <= b.y1; ++y)
                r.set(x, y, kKerfPart);
    for (const Piece& p : pieces_)
        for (int x = p.r.x0; x <= p.r.x1; ++x)
            for (int y = p.r.y0; y <= p.r.y1; ++y)
                r.set(x, y, p.part);
    return r;
}

LayoutSheet::Measures LayoutSheet::Measure() const
{
    Measures m;
    for (const Piece& p : pieces_) {
        m.maxX = std::max(m.maxX, p.r.x1);
        m.maxY = std::max(m.maxY, p.r.y1);
        m.occupied += (p.r.x1 - p.r.x0 + 1) * (p.r.y1 - p.r.y0 + 1);
    }
    if (bands_.empty())
        return m;
    for (const Rect& b : bands_) {
        m.maxX = std::max(m.maxX, b.x1);
        m.maxY = std::max(m.maxY, b.y1);
    }
    Compressed c = compress(pieces_, bands_, ux_, uy_);
    for (int i = 1; i <= c.nx; ++i)
        for (int j = 1; j <= c.ny; ++j)
            if (c.at(i, j) == kKerfPart)
                m.kerf += (c.xs[size_t(i)] - c.xs[size_t(i - 1)]) * (c.ys[size_t(j)] - c.ys[size_t(j - 1)]);
    m.occupied += m.kerf;
    return m;
}

int32_t LayoutSheet::CountFragments() const
{
    const Measures m = Measure();
    // The region examined: the occupied extent widened by one cell where the sheet allows.
    const int xEnd = m.maxX < ux_ ? m.maxX + 1 : m.maxX;
    const int yEnd = m.maxY < uy_ ? m.maxY + 1 : m.maxY;
    Compressed c = compress(pieces_, bands_, xEnd, yEnd);
    return CountFragmentCells(c.cells.data(), size_t(c.ny + 1), c.nx, c.ny, c.nx, c.ny);
}
