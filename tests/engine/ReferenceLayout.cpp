#include "tests/engine/ReferenceLayout.h"

#include "tests/engine/RasterStatistics.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Labels written into a copy; a label met inside a new rectangle is merged by relabelling every
// cell of the examined region that holds it.
int32_t fragments(SheetRaster g)
{
    int mx = 0, my = 0;
    for (int x = 1; x <= g.UX(); ++x)
        for (int y = 1; y <= g.UY(); ++y)
            if (g.at(x, y) != 0) {
                mx = std::max(mx, x);
                my = std::max(my, y);
            }
    if (mx < g.UX())
        ++mx;
    if (my < g.UY())
        ++my;
    int32_t labels = 0, merges = 0;
    for (int x = 1; x <= mx; ++x)
        for (int y = 1; y <= my; ++y) {
            if (g.at(x, y) != 0)
                continue;
            int x1 = 0, x2 = mx + 1, y1 = 0, y2 = my + 1;
            for (int i = x - 1; i >= 1 && !x1; --i)
                if (g.at(i, y) > 0)
                    x1 = i;
            for (int i = x + 1; i <= mx && x2 == mx + 1; ++i)
                if (g.at(i, y) > 0)
                    x2 = i;
            for (int j = y - 1; j >= 1 && !y1; --j)
                if (g.at(x, j) > 0)
                    y1 = j;
            for (int j = y + 1; j <= my && y2 == my + 1; ++j)
                if (g.at(x, j) > 0)
                    y2 = j;
            const int16_t c = int16_t(-(labels + 1));
            for (int i = x1 + 1; i < x2; ++i)
                for (int j = y1 + 1; j < y2; ++j) {
                    const int16_t v = g.at(i, j);
                    if (v == 0)
                        g.set(i, j, c);
                    else if (v < 0 && v != c) {
                        ++merges;
                        for (int p = 1; p <= mx; ++p)
                            for (int q = 1; q <= my; ++q)
                                if (g.at(p, q) == v)
                                    g.set(p, q, c);
                    }
                }
            ++labels;
        }
    return labels - merges;
}

struct Ref {
    Engine& e;
    SheetRaster g;
    std::vector<int> candX, candY, slitX, slitY;   // index 0 unused

    static void add(std::vector<int>& list, int v)
    {
        for (size_t i = 1; i < list.size(); ++i)
            if (list[i] == v)
                return;
        list.push_back(0);
        size_t p = list.size() - 2;
        for (; p >= 1; --p) {
            if (v > list[p]) {
                list[p + 1] = v;
                return;
            }
            list[p + 1] = list[p];
            list[p] = v;
        }
    }

    bool passes(int x, int y, int across, int along, int k, int stock, bool strips) const
    {
        const int L = e.StockTbl[size_t(stock)].長さ, W = e.StockTbl[size_t(stock)].幅;
        if (g.at(x, y) != 0)
            return false;
        if (!(across <= W - y + 1 && along <= L - x + 1))
            return false;
        for (int xx = x; xx <= x + along - 1; ++xx)
            if (g.at(xx, y) != 0)
                return false;
        for (int yy = y; yy <= y + across - 1; ++yy)
            if (g.at(x, yy) != 0)
                return false;
        if (x + along + k - 1 <= L)
            for (int xx = x + along; xx <= x + along + k - 1; ++xx)
                if (g.at(xx, y) != 0 && g.at(xx, y) != 99)
                    return false;
        if (y + across + k - 1 <= W)
            for (int yy = y + across; yy <= y + across + k - 1; ++yy)
                if (g.at(x, yy) != 0 && g.at(x, yy) != 99)
                    return false;
        if (strips && e.Settings.SlitMode == 2)
            for (size_t i = 1; i < slitX.size(); ++i)
                if (x < slitX[i] && slitX[i] < x + along + k)
                    return false;
        if (strips && e.Settings.SlitMode == 1)
            for (size_t i = 1; i < slitY.size(); ++i)
                if (y < slitY[i] && slitY[i] < y + across + k)
                    return false;
        for (int xx = x; xx <= x + along - 1; ++xx)
            for (int yy = y; yy <= y + across - 1; ++yy)
                if (g.at(xx, yy) != 0 && g.at(xx, yy) != 99)
                    return false;
        return true;
    }

    template <class F>
    bool scan(F&& f) const
    {
        const int pos = e.Settings.CutPosition;
        if (pos != 0 && pos != 1)
            return false;
        for (size_t i = 1; i < candX.size(); ++i)
            for (size_t j = 1; j < candY.size(); ++j)
                if (pos == 0 ? f(candX[i], candY[j]) : f(candY[j], candX[i]))
                    return true;
        return false;
    }

    bool put(int across, int along, int& xo, int& yo, int part, int k, int stock)
    {
        const int L = e.StockTbl[size_t(stock)].長さ, W = e.StockTbl[size_t(stock)].幅;
        return scan([&](int x, int y) {
            if (!passes(x, y, across, along, k, stock, true))
                return false;
            for (int xx = x; xx <= x + along - 1; ++xx)
                for (int yy = y; yy <= y + across - 1; ++yy)
                    g.set(xx, yy, int16_t(part));
            xo = x;
            yo = y;
            auto& xs = e.Settings.CutPosition == 0 ? candX : candY;
            auto& ys = e.Settings.CutPosition == 0 ? candY : candX;
            if (x + along + k <= L)
                add(xs, x + along + k);
            if (y + across + k <= W)
                add(ys, y + across + k);
            if (e.Settings.SlitMode == 2 && y == 1)
                slitX.push_back(x + along + k);
            if (e.Settings.SlitMode == 1 && x == 1)
                slitY.push_back(y + across + k);
            return true;
        });
    }

    void kerf(int along, int across, int x, int y, int k, int stock)
    {
        const int L = e.StockTbl[size_t(stock)].長さ, W = e.StockTbl[size_t(stock)].幅;
        const int bands[4][4] = {{x - k, x - 1, y, y + across + k - 1},
                                 {x - k, x + along - 1, y - k, y - 1},
                                 {x + along, x + along + k - 1, y - k, y + across - 1},
                                 {x, x + along + k - 1, y + across, y + across + k - 1}};
        for (const auto& b : bands)
            for (int xx = b[0]; xx <= b[1]; ++xx)
                for (int yy = b[2]; yy <= b[3]; ++yy)
                    if (xx >= 1 && yy >= 1 && xx <= L && yy <= W && g.at(xx, yy) == 0)
                        g.set(xx, yy, 99);
    }

    bool simulate(int across, int along, int part, int k, int stock)
    {
        bool answer = false;
        scan([&](int x, int y) {
            if (!passes(x, y, across, along, k, stock, false))
                return false;
            const int rem = e.PartTbl[size_t(part)].数 - e.PartTbl[size_t(part)].CutCount;
            int per;
            if (e.Settings.CutPosition == 0) {
                if (y != 1)
                    return true;
                per = e.StockTbl[size_t(stock)].幅 / across;
            } else {
                if (x != 1)
                    return true;
                per = e.StockTbl[size_t(stock)].長さ / along;
            }
            int r = per == 0 ? 0 : rem - (rem / per) * per;
            if (r == 0)
                r = per;
            answer = rem <= r;
            return true;
        });
        return answer;
    }
};

}

ReferenceRun ReferenceLayoutRun(Engine& e)
{
    ReferenceRun out;
    Ref ref{e, SheetRaster(), {}, {}, {}, {}};
    for (size_t p = 1; p < e.PartTbl.size(); ++p)
        e.PartTbl[p].CutCount = 0;
    for (size_t s = 1; s < e.StockTbl.size(); ++s)
        e.StockTbl[s].UsedCount = 0;
    out.placements.assign(size_t(e.PiecePartTotal) + 1, PiecePlacement());
    out.sheets.assign(1, SheetResult());
    QStringList failedKeys{QString()};
    const int mode = e.Settings.RotationMode;
    size_t q = 0;
    int seq = 0;
    bool gotPiece = false;
    for (;;) {
        ++q;
        ++seq;
        int cachedPart = 0;
        bool cachedTurn = false;
        if (q <= e.StockQueue.size() - 1) {
            if (e.StockQueue[q] == 0)
                return out;
        } else {
            if (!gotPiece)
                return out;
            q = size_t(e.StockPieceTotal) + 1;
        }
        const int s = e.StockQueue[q];
        const int L = e.StockTbl[size_t(s)].長さ, W = e.StockTbl[size_t(s)].幅;
        ref.g = SheetRaster(L, W);
        ref.candX = {0, 1};
        ref.candY = {0, 1};
        ref.slitX = {0, 1};
        ref.slitY = {0, 1};
        bool allFit = true;
        gotPiece = false;
        for (int i = 1; i <= e.PiecePartTotal; ++i) {
            const int p = e.PieceQueue[size_t(i)];
            if (out.placements[size_t(i)].母材番号 != 0 || failedKeys.contains(QStringLiteral("%1,%2").arg(seq).arg(p)))
                continue;
            PartRec& part = e.PartTbl[size_t(p)];
            int across, along;
            if (e.PieceRotated[size_t(i)] && W >= part.長さ && L >= part.幅) {
                across = part.長さ;
                along = part.幅;
            } else {
                across = part.幅;
                along = part.長さ;
            }
            if (mode == 1 && part.TryRotate) {
                if (p != cachedPart) {
                    cachedTurn = false;
                    cachedPart = p;
                }
                if (!cachedTurn)
                    cachedTurn = ref.simulate(across, along, p, e.KerfWidth, s);
                if (cachedTurn)
                    std::swap(across, along);
            }
            int x = 0, y = 0;
            bool placed = ref.put(across, along, x, y, p, e.KerfWidth, s);
            if (!placed && (mode == 0 || mode == 1) && part.Rotatable) {
                std::swap(across, along);
                placed = ref.put(across, along, x, y, p, e.KerfWidth, s);
            }
            if (!placed && mode >= 0 && mode <= 2) {
                allFit = false;
                failedKeys.push_back(QStringLiteral("%1,%2").arg(seq).arg(p));
            }
            if (placed) {
                out.placements[size_t(i)] = {int16_t(seq), int16_t(p), int16_t(s),
                                             int16_t(e.StockTbl[size_t(s)].UsedCount + 1), int16_t(x - 1),
                                             int16_t(y - 1), int16_t(x + along - 1), int16_t(y + across - 1)};
                part.CutCount = int16_t(part.CutCount + 1);
                ref.kerf(along, across, x, y, e.KerfWidth, s);
                gotPiece = true;
            }
        }
        StockRec& st = e.StockTbl[size_t(s)];
        st.UsedCount = int16_t(st.UsedCount + 1);
        const int32_t c = L * W;
        auto area = [&](double r) { return int32_t(std::nearbyint((c * r / 100) * std::pow(double(e.Unit), 2))); };
        SheetResult r;
        r.連番 = int16_t(seq);
        r.母材番号 = int16_t(s);
        r.枝番 = st.UsedCount;
        r.使用率 = GetHojoLinePosision(ref.g, e.Settings.CutPosition);
        r.使用面積 = area(r.使用率);
        r.余材率 = 100 - r.使用率;
        r.余材面積 = area(r.余材率);
        r.切代率 = 100 - GetCount(ref.g, 99);
        r.切代面積 = area(r.切代率);
        r.端材率 = 100 - GetCount(ref.g, 0) - r.余材率;
        r.端材面積 = area(r.端材率);
        r.平方数 = (e.Settings.SortKeyFlags & 1) ? fragments(ref.g) : 0;
        if (r.平方数 == 0)
            r.平方数 = 1;
        out.sheets.resize(size_t(seq) + 1);
        out.sheets[size_t(seq)] = r;
        out.lastSheet = ref.g;
        if (allFit)
            return out;
    }
}
