#include "engine/RoundAndContrast.h"

#include "engine/VbMath.h"

#include <cmath>

int32_t RoundByMode(double value, int32_t mode)
{
    auto whole = [](double v) {
        const double t = std::trunc(v);
        if (!(t >= -2147483648.0 && t <= 2147483647.0))
            RaiseOverflow();
        return int32_t(t);
    };
    switch (mode) {
    case 1:
        return whole(value * 100 / 100);
    case 2:
    case 3: {
        // value × 100 as a fixed-point number of four decimals (halves to even), then ± 50 or 99.
        const double t = value * 100;
        if (!(std::fabs(t) < 9.0e14))
            RaiseOverflow();
        int64_t ticks = int64_t(RoundHalfEven(t * 10000));
        const int64_t add = (mode == 2 ? 50 : 99) * int64_t(10000);
        ticks = ticks > 0 ? ticks + add : ticks - add;
        return whole(double(ticks) / 10000 / 100);
    }
    default:
        return 0;
    }
}

int32_t WhiteOrBlack(int32_t colour)
{
    const int32_t r = colour % 256;
    const int32_t g = (colour / 256) % 256;
    const int32_t b = ((colour / 256) / 256) % 256;
    const double mean = double(r + g + b) / 3;
    return mean > 128 ? 0 : 0xFFFFFF;
}
