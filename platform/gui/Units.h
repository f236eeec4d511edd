#pragma once
// Window geometry is written in twips, the forms run time's unit: 15 twips are one pixel.
#include <QRect>
#include <cmath>

constexpr int kTwipsPerPixel = 15;

inline int Px(double twips) { return int(std::lround(twips / kTwipsPerPixel)); }
inline double Twips(double pixels) { return pixels * kTwipsPerPixel; }
// A rectangle given as Left, Top, Width, Height in twips.
inline QRect TwipsRect(double left, double top, double width, double height)
{
    return QRect(Px(left), Px(top), Px(width), Px(height));
}
