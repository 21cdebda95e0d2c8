// The colour tables the raster views and the log plot share (the palette codes and
// their texts are in settings/Palette.h). Each view keeps the grey ramps of its own
// (their ends differ).
#pragma once

#include "settings/Palette.h"

#include <cstdint>

inline constexpr int kRampColours = 32;

// 0xRRGGBB of index 0..31 (clamped) of the Color palette (the colour ramp) and of
// the Anisotropy palette.
uint32_t ColourRampRgb(int index);
uint32_t AnisotropyRgb(int index);

// The ramp index of a value normalised to 0..1: trunc(31 v) for v >= 0, else 0, at
// most 31; -1 (a gap) for a value that is not a number. Inline: raster views call it
// once a pixel.
inline int RampIndex(float value)
{
    if (value != value) return -1;
    const float x = value * float(kRampColours - 1);
    return x >= float(kRampColours - 1) ? kRampColours - 1 : x > 0 ? int(x) : 0;
}
