// The palettes the raster views and the log plot paint images in. Setups keep the code
// and decide by it; the text is only what lists show and settings or command files
// store, turned into the code where it comes in.
#pragma once

#include <cstdint>
#include <string_view>

// The codes are the views' own; kPaletteGrey is the processing views' plain grey,
// which no setup offers by name. kPaletteNone is a value-initialised group's.
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
constexpr const char* PaletteName(Palette palette)
{
    switch (palette) {
    case kPaletteColor: return "Color";
    case kPaletteBlackWhite: return "Black&White";
    case kPaletteAnisotropy: return "Anisotropy";
    case kPaletteWhiteBlack: return "White&Black";
    default: return "";
    }
}

// The palette of a stored text, matched exactly; kPaletteNone for any other text.
constexpr Palette PaletteOfName(std::string_view name)
{
    for (Palette p : {kPaletteColor, kPaletteBlackWhite, kPaletteAnisotropy, kPaletteWhiteBlack})
        if (name == PaletteName(p)) return p;
    return kPaletteNone;
}
