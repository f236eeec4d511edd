#pragma once
// The scale rules of the detail drawing: the fit-to-width and fit-to-height limits of the frame,
// the zoom buttons' states, the horizontal scroll range, and the hatch marker's rectangle.
// Sizes of the sheet are in cells, of the frame in pixels; the scale is pixels per cell.
#include <QRect>
#include <cstdint>

// The drawing may scroll to at most this many pixels of rounded width; wider, the scale halves.
inline constexpr int32_t kMaxScrollWidth = 16384;

struct ZoomState {
    double scale = 0;
    bool smallEnabled = false;   // butSmall: above the fit-to-width scale
    bool bigEnabled = false;     // butBig: below the fit-to-height scale
};

// Fit width = (frameW − 4) / length, the smallest scale; fit height = (frameH − 4) / width, the
// largest, applied last. A scale whose drawing is wider than the frame is then halved until
// its rounded width is at most kMaxScrollWidth, so the drawing and the scroll range agree; a
// halved scale is the upper limit of the zoom.
ZoomState ClampScale(double scale, int32_t length, int32_t width, int frameW, int frameH);

struct ScrollState {
    bool shown = false;          // the drawing is wider than the frame
    double scale = 0;            // the scale after halving
    int32_t maximum = 0;         // scroll bar range −2 .. maximum
};
// The scroll bar for a drawing of length cells at the scale in a frame frameW pixels wide.
ScrollState ScrollFor(double scale, int32_t length, int frameW);

// The hatch marker over a piece given in input units (start and end corners): left and top at
// the piece's first pixel, width and height one less than its extent (at least 1); every value
// rounded half to even.
QRect MarkerRect(double startX, double startY, double endX, double endY, int16_t unit, double scale);
// Whether a point of the drawing lies strictly inside the piece (on its border it does not).
bool PieceContains(int16_t startX, int16_t startY, int16_t endX, int16_t endY, int16_t unit, double scale,
                   float x, float y);
