#include "engine/PieceOrder.h"

#include "engine/Engine.h"
#include "engine/VbMath.h"
#include "foundation/ErrLog.h"

#include <utility>

void SortTail(std::vector<int16_t>& values, std::vector<int16_t>& counts)
{
    const size_t t = values.size();
    for (size_t p = 0; p + 1 < t; ++p) {
        size_t best = p;
        for (size_t i = p + 1; i < t; ++i)
            if (values[i] < values[best])
                best = i;
        std::swap(values[p], values[best]);
        std::swap(counts[p], counts[best]);
    }
}

bool ReOrder(std::vector<int16_t>& queue, int16_t mode)
{
    try {
        if (queue.empty())
            return false;
        const size_t n = queue.size() - 1;
        // Working sequence V(1..m) with counts C(1..m); index 0 holds 0 in both.
        std::vector<int16_t> v(1, 0), c(1, 0);
        if (mode == kOrderPartsTogether) {
            for (size_t i = 1; i <= n; ++i) {
                size_t k = 1;
                while (k < v.size() && v[k] != queue[i])
                    ++k;
                if (k == v.size()) {
                    v.push_back(queue[i]);
                    c.push_back(0);
                }
                if (c[k] == 32767)
                    RaiseOverflow();
                ++c[k];
            }
        } else {
            v.insert(v.end(), queue.begin() + 1, queue.end());
            c.resize(v.size(), 0);
        }
        const size_t m = v.size() - 1;
        if (m > 32767)
            RaiseOverflow();
        // The last position with a greater value after it, exchanged with the last such value.
        size_t pivot = 0;
        for (size_t i = m > 0 ? m - 1 : 0; i >= 1 && pivot == 0; --i)
            for (size_t j = m; j >= i + 1; --j)
                if (v[i] < v[j]) {
                    std::swap(v[i], v[j]);
                    std::swap(c[i], c[j]);
                    pivot = i;
                    break;
                }
        // The tail after the pivot ascending; with no pivot the whole sequence (the wrap-around).
        if (pivot + 1 != m) {
            std::vector<int16_t> tv(1, 0), tc(1, 0);
            tv.insert(tv.end(), v.begin() + long(pivot) + 1, v.end());
            tc.insert(tc.end(), c.begin() + long(pivot) + 1, c.end());
            SortTail(tv, tc);
            std::copy(tv.begin() + 1, tv.end(), v.begin() + long(pivot) + 1);
            std::copy(tc.begin() + 1, tc.end(), c.begin() + long(pivot) + 1);
        }
        if (mode == kOrderPartsTogether) {
            size_t q = 1;
            for (size_t k = 1; k <= m; ++k)
                for (int16_t r = 0; r < c[k]; ++r)
                    queue[q++] = v[k];
        } else {
            std::copy(v.begin() + 1, v.end(), queue.begin() + 1);
        }
        return true;
    } catch (const std::exception& e) {
        SetErrLog(ErrorDescription(e), kEngineModule, QStringLiteral("ReOrder"));
        return false;
    }
}
