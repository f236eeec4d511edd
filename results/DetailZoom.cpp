#include "results/DetailZoom.h"

#include "foundation/Globals.h"
#include "foundation/cBase.h"

namespace {
int32_t roundEven(double v) { return gBase().CvtLng(Variant(v)); }
}  // namespace

ZoomState ClampScale(double scale, int32_t length, int32_t width, int frameW, int frameH)
{
    ZoomState z;
    z.scale = scale;
    if (length <= 0 || width <= 0)
        return z;   // no stock to fit: the scale stays
    if (float(length * z.scale) < float(frameW)) {
        z.scale = (frameW - 4.0) / length;
        z.smallEnabled = false;
    } else {
        z.smallEnabled = true;
    }
    if (float(width * z.scale) <= float(frameH)) {
        z.bigEnabled = true;
    } else {
        z.scale = (frameH - 4.0) / width;
        z.bigEnabled = false;
    }
    // A halved scale is as far as the zoom goes: a larger one would be halved back to it.
    const double capped = ScrollFor(z.scale, length, frameW).scale;
    if (capped < z.scale)
        z.bigEnabled = false;
    z.scale = capped;
    return z;
}

ScrollState ScrollFor(double scale, int32_t length, int frameW)
{
    ScrollState st;
    st.scale = scale;
    if (!(float(length * scale) > float(frameW)))
        return st;
    st.shown = true;
    int32_t m = roundEven(length * st.scale);
    while (m > kMaxScrollWidth) {
        m = roundEven(m / 2.0);
        st.scale /= 2;
    }
    st.maximum = gBase().CvtInt(Variant(double(m - frameW + 4)));
    return st;
}

QRect MarkerRect(double startX, double startY, double endX, double endY, int16_t unit, double scale)
{
    const int32_t left = roundEven(startX / unit * scale);
    const int32_t top = roundEven(startY / unit * scale);
    const int32_t w = roundEven((endX - startX) / unit * scale);
    const int32_t h = roundEven((endY - startY) / unit * scale);
    return QRect(left, top, w < 2 ? 1 : w - 1, h < 2 ? 1 : h - 1);
}

bool PieceContains(int16_t startX, int16_t startY, int16_t endX, int16_t endY, int16_t unit, double scale,
                   float x, float y)
{
    const float ax = float(double(startX) / unit * scale), ay = float(double(startY) / unit * scale);
    const float bx = float(double(endX) / unit * scale), by = float(double(endY) / unit * scale);
    return ax < x && ay < y && bx > x && by > y;
}
