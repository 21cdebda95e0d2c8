#include "viewers/Palettes.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint32_t kColourRamp[kRampColours] = {
    0x7171A4, 0x280088, 0x1400AA, 0x0000C8, 0x003BC8, 0x0084C8, 0x008664, 0x008800, 0x1E9300, 0x3CA800, 0x64BC00,
    0x8CD000, 0xB4E641, 0xFCFC00, 0xEBE600, 0xE0D800, 0xEAC800, 0xFCB400, 0xF8A000, 0xF48400, 0xF06C00, 0xEC5800,
    0xD32C00, 0xBA0000, 0xB00010, 0xA6001A, 0x9C0024, 0x92002E, 0x880038, 0x7E0042, 0x70004C, 0x850059};

} // namespace

uint32_t ColourRampRgb(int index) { return kColourRamp[std::clamp(index, 0, kRampColours - 1)]; }

int RampIndex(float value)
{
    if (std::isnan(value)) return -1;
    if (!(value > 0)) return 0;
    return value >= 1.0f ? kRampColours - 1 : std::min(int(value * float(kRampColours - 1)), kRampColours - 1);
}
