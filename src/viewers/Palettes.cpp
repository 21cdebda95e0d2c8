#include "viewers/Palettes.h"

#include <algorithm>
#include <utility>

namespace {

constexpr uint32_t kColourRamp[kRampColours] = {
    0x7171A4, 0x280088, 0x1400AA, 0x0000C8, 0x003BC8, 0x0084C8, 0x008664, 0x008800, 0x1E9300, 0x3CA800, 0x64BC00,
    0x8CD000, 0xB4E641, 0xFCFC00, 0xEBE600, 0xE0D800, 0xEAC800, 0xFCB400, 0xF8A000, 0xF48400, 0xF06C00, 0xEC5800,
    0xD32C00, 0xBA0000, 0xB00010, 0xA6001A, 0x9C0024, 0x92002E, 0x880038, 0x7E0042, 0x70004C, 0x850059};

constexpr uint32_t kAnisotropy[kRampColours] = {
    0xFFFF5C, 0xFFFF52, 0xFFFF49, 0xFFFF40, 0xFFFF25, 0xFFFF0A, 0xFFFB0C, 0xFFF70F, 0xFFF001, 0xFFEA01, 0xFAE200,
    0xFADA00, 0xFAD400, 0xFACE00, 0xF5C400, 0xF0BA00, 0xE1A508, 0xD29010, 0xC37F0E, 0xB46F0C, 0xB4690C, 0xB4630C,
    0xB45E0C, 0xB45A0C, 0xB4560C, 0xB4530C, 0xAE4D06, 0xA84700, 0x9A4100, 0x8C3B00, 0x783200, 0x642800};

constexpr std::pair<Palette, const char*> kNames[] = {
    {kPaletteColor, "Color"},
    {kPaletteBlackWhite, "Black&White"},
    {kPaletteAnisotropy, "Anisotropy"},
    {kPaletteWhiteBlack, "White&Black"},
};

} // namespace

const char* PaletteName(Palette palette)
{
    for (const auto& [p, name] : kNames)
        if (p == palette) return name;
    return "";
}

Palette PaletteOfName(const std::string& name)
{
    for (const auto& [p, n] : kNames)
        if (name == n) return p;
    return kPaletteNone;
}

uint32_t ColourRampRgb(int index) { return kColourRamp[std::clamp(index, 0, kRampColours - 1)]; }
uint32_t AnisotropyRgb(int index) { return kAnisotropy[std::clamp(index, 0, kRampColours - 1)]; }
