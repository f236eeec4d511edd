#include "engine/LayoutSheet.h"

#include "engine/EngineTypes.h"
#include "engine/FragmentCount.h"

#include <algorithm>

namespace {
bool meets(const LayoutSheet::Rect& r, int x0, int y0, int x1, int y1)
{
    return x0 <= r.x1 && r.x0 <= x1 && y0 <= r.y1 && r.y0 <= y1;
}
}

int LayoutSheet::Compressed::blocksBefore(int v, const std::vector<int>& edges)
{
    return int(std::lower_bound(edges.begin(), edges.end(), v) - edges.begin());
}

void LayoutSheet::compress(int extraX, int extraY)
{
    Compressed& c = compressed_;
    const int ux = ux_, uy = uy_;
    c.xs.assign({1, ux + 1});
    c.ys.assign({1, uy + 1});
    auto addX = [&](int x) {
        if (x > 1 && x <= ux)
            c.xs.push_back(x);
    };
    auto addY = [&](int y) {
        if (y > 1 && y <= uy)
            c.ys.push_back(y);
    };
    auto edges = [&](const Rect& r) {
        addX(r.x0);
        addX(r.x1 + 1);
        addY(r.y0);
        addY(r.y1 + 1);
    };
    addX(extraX);
    addY(extraY);
    for (const Piece& p : pieces_)
        edges(p.r);
    for (const Rect& b : kerf_)
        edges(b);
    for (auto* v : {&c.xs, &c.ys}) {
        std::sort(v->begin(), v->end());
        v->erase(std::unique(v->begin(), v->end()), v->end());
    }
    c.nx = int(c.xs.size()) - 1;
    c.ny = int(c.ys.size()) - 1;
    c.cells.assign(size_t(c.nx + 1) * size_t(c.ny + 1), 0);
    auto paint = [&](const Rect& r, int16_t v) {
        const int i0 = c.blocksBefore(r.x0, c.xs) + 1, i1 = c.blocksBefore(r.x1 + 1, c.xs);
        const int j0 = c.blocksBefore(r.y0, c.ys) + 1, j1 = c.blocksBefore(r.y1 + 1, c.ys);
        for (int i = i0; i <= i1; ++i)
            std::fill_n(&c.at(i, j0), j1 - j0 + 1, v);
    };
    for (const Rect& b : kerf_)
        paint(b, kKerfPart);
    for (const Piece& p : pieces_)
        paint(p.r, 1);
}

void LayoutSheet::Reset(int ux, int uy)
{
    pieces_.clear();
    kerf_.clear();
    ux_ = ux;
    uy_ = uy;
}

bool LayoutSheet::crossFree(int x, int y, int x1, int y1) const
{
    for (const Piece& p : pieces_)
        if (meets(p.r, x, y, x1, y) || meets(p.r, x, y, x, y1))
            return false;
    for (const Rect& r : kerf_)
        if (meets(r, x, y, x1, y) || meets(r, x, y, x, y1))
            return false;
    return true;
}

bool LayoutSheet::clearOfPieces(int x, int y, int x1, int y1, int xFar, int yFar) const
{
    for (const Piece& p : pieces_)
        if (meets(p.r, x, y, x1, y1) || meets(p.r, x, y, xFar, y) || meets(p.r, x, y, x, yFar))
            return false;
    return true;
}

bool LayoutSheet::overlapsPiece(int x0, int y0, int x1, int y1) const
{
    for (const Piece& p : pieces_)
        if (meets(p.r, x0, y0, x1, y1))
            return true;
    return false;
}

void LayoutSheet::PlacePiece(int x, int y, int along, int across, int16_t part)
{
    pieces_.push_back({{x, y, x + along - 1, y + across - 1}, part});
}

void LayoutSheet::MarkKerf(int x0, int x1, int y0, int y1)
{
    x0 = std::max(x0, 1);
    y0 = std::max(y0, 1);
    x1 = std::min(x1, ux_);
    y1 = std::min(y1, uy_);
    if (x0 <= x1 && y0 <= y1)
        kerf_.push_back({x0, y0, x1, y1});
}

void LayoutSheet::MarkFrame(int x, int y, int along, int across, int k)
{
    if (k > 0)
        MarkKerf(x - k, x + along + k - 1, y - k, y + across + k - 1);
}

int16_t LayoutSheet::at(int x, int y) const
{
    for (const Piece& p : pieces_)
        if (meets(p.r, x, y, x, y))
            return p.part;
    for (const Rect& b : kerf_)
        if (meets(b, x, y, x, y))
            return kKerfPart;
    return 0;
}

LayoutSheet::Measures LayoutSheet::Measure(bool fragments)
{
    Measures m;
    for (const Piece& p : pieces_) {
        m.maxX = std::max(m.maxX, p.r.x1);
        m.maxY = std::max(m.maxY, p.r.y1);
        m.occupied += (p.r.x1 - p.r.x0 + 1) * (p.r.y1 - p.r.y0 + 1);
    }
    for (const Rect& b : kerf_) {
        m.maxX = std::max(m.maxX, b.x1);
        m.maxY = std::max(m.maxY, b.y1);
    }
    if (kerf_.empty() && !fragments)
        return m;
    // The fragments are counted in the occupied extent widened by one cell where the sheet allows.
    const int xEnd = m.maxX < ux_ ? m.maxX + 1 : m.maxX;
    const int yEnd = m.maxY < uy_ ? m.maxY + 1 : m.maxY;
    compress(xEnd + 1, yEnd + 1);
    Compressed& c = compressed_;
    for (int i = 1; i <= c.nx; ++i) {
        const int w = c.xs[size_t(i)] - c.xs[size_t(i - 1)];
        for (int j = 1; j <= c.ny; ++j)
            if (c.at(i, j) == kKerfPart)
                m.kerf += w * (c.ys[size_t(j)] - c.ys[size_t(j - 1)]);
    }
    m.occupied += m.kerf;
    if (fragments) {
        const int nx = c.blocksBefore(xEnd + 1, c.xs), ny = c.blocksBefore(yEnd + 1, c.ys);
        m.fragments = CountFragmentCells(c.cells.data(), size_t(c.ny + 1), nx, ny, nx, ny);
    }
    return m;
}
