// The palettes the raster views and the log plot paint images in: one code per
// palette, the text settings and command files store for it, and the colour tables
// the views share. Each view keeps the grey ramps of its own (their ends differ).
#pragma once

#include <cstdint>
#include <string>

inline constexpr int kRampColours = 32;

// The codes are the views' own; kPaletteGrey is the processing views' plain grey,
// which no setup offers by name.
enum Palette : int16_t {
    kPaletteNone = 0,
    kPaletteColor = 1,
    kPaletteBlackWhite = 2,
    kPaletteAnisotropy = 3,
    kPaletteWhiteBlack = 4,
    kPaletteGrey = 5,
};

// The stored text of a palette: "Color", "Black&White", "Anisotropy", "White&Black";
// "" for a palette that has none.
const char* PaletteName(Palette palette);

// The palette of a stored text, matched exactly; kPaletteNone for any other text.
Palette PaletteOfName(const std::string& name);

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
