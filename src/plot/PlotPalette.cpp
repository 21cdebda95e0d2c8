#include "plot/PlotPalette.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

using Scale = std::array<Color, kScaleLevels>;

// Level 0 of "Color" is replaced by the background; the entry here is never used.
constexpr Scale kColor = {
    Rgb(113, 113, 164), Rgb(40, 0, 136),   Rgb(20, 0, 170),   Rgb(0, 0, 200),    Rgb(0, 59, 200),
    Rgb(0, 132, 200),   Rgb(0, 134, 100),  Rgb(0, 136, 0),    Rgb(30, 147, 0),   Rgb(60, 168, 0),
    Rgb(100, 188, 0),   Rgb(140, 208, 0),  Rgb(180, 230, 65), Rgb(252, 252, 0),  Rgb(235, 230, 0),
    Rgb(224, 216, 0),   Rgb(234, 200, 0),  Rgb(252, 180, 0),  Rgb(248, 160, 0),  Rgb(244, 132, 0),
    Rgb(240, 108, 0),   Rgb(236, 88, 0),   Rgb(211, 44, 0),   Rgb(186, 0, 0),    Rgb(176, 0, 16),
    Rgb(166, 0, 26),    Rgb(156, 0, 36),   Rgb(146, 0, 46),   Rgb(136, 0, 56),   Rgb(126, 0, 66),
    Rgb(112, 0, 76),    Rgb(133, 0, 89)};

constexpr Scale kAnisotropy = {
    Rgb(255, 255, 92), Rgb(255, 255, 82), Rgb(255, 255, 73), Rgb(255, 255, 64), Rgb(255, 255, 37),
    Rgb(255, 255, 10), Rgb(255, 251, 12), Rgb(255, 247, 15), Rgb(255, 240, 1),  Rgb(255, 234, 1),
    Rgb(250, 226, 0),  Rgb(250, 218, 0),  Rgb(250, 212, 0),  Rgb(250, 206, 0),  Rgb(245, 196, 0),
    Rgb(240, 186, 0),  Rgb(225, 165, 8),  Rgb(210, 144, 16), Rgb(195, 127, 14), Rgb(180, 111, 12),
    Rgb(180, 105, 12), Rgb(180, 99, 12),  Rgb(180, 94, 12),  Rgb(180, 90, 12),  Rgb(180, 86, 12),
    Rgb(180, 83, 12),  Rgb(174, 77, 6),   Rgb(168, 71, 0),   Rgb(154, 65, 0),   Rgb(140, 59, 0),
    Rgb(120, 50, 0),   Rgb(100, 40, 0)};

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

constexpr std::pair<const char*, Color> kCurveColours[] = {
    {"Red", Rgb(192, 0, 64)},      {"Green", Rgb(0, 192, 128)}, {"Blue", Rgb(0, 0, 255)},
    {"Brown", Rgb(128, 0, 0)},     {"Cyan", Rgb(160, 160, 255)}, {"Gray", Rgb(128, 128, 128)},
    {"Magenta", Rgb(192, 0, 192)}, {"Yellow", Rgb(255, 255, 0)}, {"White", Rgb(255, 255, 255)},
    {"Black", Rgb(0, 0, 0)},
};

} // namespace

PlotScale ScaleOfName(const std::string& name)
{
    if (name == "Color") return kScaleColor;
    if (name == "Anisotropy") return kScaleAnisotropy;
    if (name == "Black&White") return kScaleBlackWhite;
    if (name == "White&Black") return kScaleWhiteBlack;
    return kScaleNone;
}

Color BackgroundLevelZero(bool blue, bool beige, bool gray)
{
    // The last choice set wins; with none, the first one's colour.
    Color c = Rgb(113, 113, 164);
    if (blue) c = Rgb(113, 113, 164);
    if (beige) c = Rgb(241, 245, 148);
    if (gray) c = Rgb(128, 128, 128);
    return c;
}

Color ScaleColour(PlotScale scale, int level, Color colorLevelZero)
{
    const size_t i = size_t(std::clamp(level, 0, kScaleLevels - 1));
    switch (scale) {
    case kScaleColor: return i == 0 ? colorLevelZero : kColor[i];
    case kScaleAnisotropy: return kAnisotropy[i];
    case kScaleBlackWhite: return kBlackWhite[i];
    case kScaleWhiteBlack: return kWhiteBlack[i];
    default: return Rgb(255, 255, 255);
    }
}

bool CurveColour(const std::string& name, Color& colour)
{
    for (const auto& [n, c] : kCurveColours)
        if (name == n) {
            colour = c;
            return true;
        }
    return false;
}

int CurvePenWidth(const std::string& name) { return name == "Normal" ? 1 : 2; }

int CurveLineStyle(const std::string& name)
{
    if (name == "Solid") return 0;
    if (name == "Dashed") return 1;
    if (name == "Dotted") return 2;
    return 3;
}

int ShadePatternCode(const std::string& name)
{
    if (name == "None") return -1;
    if (name == "Dashed") return 1;
    if (name == "Dotted") return 2;
    return 3;
}
