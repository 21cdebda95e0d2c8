// The frequency filter's response as the filter and picking setups preview it: 201
// values over the normalized frequency 0 .. 0.5 cycles per sample, drawn into a
// 200 x 100 logical box.
#pragma once

#include "platform/Geometry.h"

#include <array>
#include <string>

class Dc;

inline constexpr int kResponsePoints = 201;
using ResponseValues = std::array<double, kResponsePoints>;

// The double-exponential bump centred on +-c (normalized frequency), with half-width
// a and rate k, at the 201 axis points, divided by its largest value (left as it is
// when that is not above 0).
ResponseValues ResponseBump(double c, double a, double k);
// The rate factor q of a bell whose half-width is h Hz.
double BellRateFactor(double h);
// Bell shape from f1 to f2 Hz for a sample interval of `interval` microseconds.
ResponseValues BellResponse(double f1, double f2, double interval);
// Semi-rectangular shape: 1.0 between the edges, a bump past each edge.
ResponseValues SemiRectangularResponse(double f1, double f2, double interval);
// A frequency edit's text as the preview reads it: its first line (127 characters
// at most) as a decimal number, 0 when it is none.
double ResponseEditValue(const std::string& text);

// Draws the preview into `client` (device units). A sample interval that is not
// above 0 has no frequency axis: nothing is computed and only the white box is
// drawn; false then, else true with `values` filled.
bool DrawResponse(Dc& dc, const Rect& client, bool bell, double f1, double f2, double interval,
                  ResponseValues& values);
