#pragma once
// Number texts in the forms run time's format patterns ("####", "#0", "##0.0"), used by the
// number box and the grid. The program installs its own formatter (the one its lists and
// reports use) at start; the built-in one rounds halves away from zero.
#include <QString>
#include <functional>

using NumberFormatter = std::function<QString(double value, const QString& pattern)>;
void SetNumberFormatter(NumberFormatter formatter);
QString FormatNumberText(double value, const QString& pattern);   // an empty pattern: plain digits
