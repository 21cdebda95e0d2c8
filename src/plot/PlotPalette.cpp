#include "plot/PlotPalette.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

using Scale = std::array<Color, kScaleLevels>;

// The gray ramps: 8 x level rising, and 248 - 8 x level falling, with their own ends.
constexpr Scale GrayRamp(bool rising)
{
    Scale s{};
    for (int i = 0; i < kScaleLevels; ++i) {
        const int v = rising ? 8 * i : 248 - 8 * i;
        s[size_t(i)] = Rgb(v, v, v);
    }
    if (rising) s[0] = Rgb(212, 212, 212), s[31] = Rgb(215, 215, 215);
    else s[0] = Rgb(215, 215, 215);
    return s;
}
constexpr Scale kBlackWhite = GrayRamp(true);
constexpr Scale kWhiteBlack = GrayRamp(false);

using C = NamedColour;
constexpr std::pair<NamedColour, Color> kCurveColours[] = {
    {C::kRed, Rgb(192, 0, 64)},      {C::kGreen, Rgb(0, 192, 128)}, {C::kBlue, Rgb(0, 0, 255)},
    {C::kBrown, Rgb(128, 0, 0)},     {C::kCyan, Rgb(160, 160, 255)}, {C::kGray, Rgb(128, 128, 128)},
    {C::kMagenta, Rgb(192, 0, 192)}, {C::kYellow, Rgb(255, 255, 0)}, {C::kWhite, Rgb(255, 255, 255)},
    {C::kBlack, Rgb(0, 0, 0)},
};

} // namespace

Color BackgroundLevelZero(bool blue, bool beige, bool gray)
{
    // The last choice set wins; with none, the first one's colour.
    Color c = Rgb(113, 113, 164);
    if (blue) c = Rgb(113, 113, 164);
    if (beige) c = Rgb(241, 245, 148);
    if (gray) c = Rgb(128, 128, 128);
    return c;
}

Color ScaleColour(Palette scale, int level, Color colorLevelZero)
{
    const size_t i = size_t(std::clamp(level, 0, kScaleLevels - 1));
    switch (scale) {
    // Level 0 of "Color" is replaced by the background.
    case kPaletteColor: return i == 0 ? colorLevelZero : FromArgb(ColourRampRgb(int(i)));
    case kPaletteAnisotropy: return FromArgb(AnisotropyRgb(int(i)));
    case kPaletteBlackWhite: return kBlackWhite[i];
    case kPaletteWhiteBlack: return kWhiteBlack[i];
    default: return Rgb(255, 255, 255);
    }
}

bool CurveColour(NamedColour name, Color& colour)
{
    for (const auto& [n, c] : kCurveColours)
        if (name == n) {
            colour = c;
            return true;
        }
    return false;
}
