#include "engine/FragmentCount.h"

#include "engine/VbMath.h"

#include <vector>

// The count over cells (stride per column, y contiguous) within 1..ux by 1..uy whose occupied
// extent is mx by my. Free cells receive labels -1, -2, ...: from each free cell still unlabelled,
// the rectangle bounded by the nearest blocked cells (value > 0) on its row and column gets one
// label, and labels met inside it join that label's area. Joined areas are kept in a union-find
// table instead of relabelling the raster, which gives the same count: the labels made minus the
// joins.
int32_t CountFragmentCells(int16_t* cells, size_t stride, int ux, int uy, int mx, int my)
{
    if (mx < ux)
        ++mx;
    if (my < uy)
        ++my;
    std::vector<int16_t> parent(1, 0);   // parent[-label]
    auto find = [&](int a) {
        while (parent[a] != a) {
            parent[a] = parent[parent[a]];
            a = parent[a];
        }
        return a;
    };
    int32_t labels = 0, merges = 0;
    for (int x = 1; x <= mx; ++x) {
        int16_t* col = cells + size_t(x) * stride;
        for (int y = 1; y <= my; ++y) {
            if (col[y] != 0)
                continue;
            int x1 = x - 1;
            while (x1 >= 1 && cells[size_t(x1) * stride + y] <= 0)
                --x1;
            int x2 = x + 1;
            while (x2 <= mx && cells[size_t(x2) * stride + y] <= 0)
                ++x2;
            int y1 = y - 1;
            while (y1 >= 1 && col[y1] <= 0)
                --y1;
            int y2 = y + 1;
            while (y2 <= my && col[y2] <= 0)
                ++y2;
            if (labels == 32767)
                RaiseOverflow();               // labels are 16-bit
            const int c = labels + 1;
            parent.push_back(int16_t(c));
            const int16_t own = int16_t(-c);
            int16_t joined = own;              // the last foreign label found in this area
            for (int xx = x1 + 1; xx < x2; ++xx) {
                int16_t* cc = cells + size_t(xx) * stride;
                for (int yy = y1 + 1; yy < y2; ++yy) {
                    const int16_t v = cc[yy];
                    if (v > 0 || v == own || v == joined)
                        continue;
                    if (v == 0) {
                        cc[yy] = own;
                        continue;
                    }
                    joined = v;
                    const int r = find(-v);
                    if (r != c) {
                        parent[r] = int16_t(c);
                        ++merges;
                    }
                }
            }
            ++labels;
        }
    }
    return labels - merges;
}
