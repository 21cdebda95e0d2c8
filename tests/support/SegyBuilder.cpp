#include "support/SegyBuilder.h"

#include <bit>
#include <cmath>

namespace {

void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v)
{
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

} // namespace

float SegySample(int shot, int trace, int sample) { return float(shot * 100 + trace) + float(sample) * 0.125f; }

std::vector<uint8_t> SegyBytes(const SegyShape& s)
{
    const size_t traceSize = 240 + 4 * size_t(s.samples > 0 ? s.samples : 0);
    std::vector<uint8_t> b(3596);
    // Binary header after the 3200-byte text part: job, reel, traces, interval twice,
    // samples twice, format code, a zero, the marks -1 to -7.
    Put16(b, 3200, 0);
    Put16(b, 3208, 1);
    Put16(b, 3212, uint16_t(s.traces));
    Put16(b, 3216, uint16_t(s.interval));
    Put16(b, 3218, uint16_t(s.interval));
    Put16(b, 3220, uint16_t(s.samples));
    Put16(b, 3222, uint16_t(s.samples));
    Put16(b, 3224, 1);
    Put16(b, 3232, 0);
    for (int k = 0; k < 7; ++k) Put16(b, 3234 + 2 * size_t(k), uint16_t(0xFFFF - k));
    // The data set's flags and the full sample interval.
    b[3250] = s.depthUnits;
    b[3251] = s.logDirection;
    b[3252] = s.itemType;
    b[3253] = s.category;
    Put32(b, 3254, std::bit_cast<uint32_t>(s.interval));
    for (size_t shot = 0; shot < s.depths.size(); ++shot)
        for (int t = 0; t < s.traces; ++t) {
            const size_t at = b.size();
            b.resize(at + traceSize);
            Put16(b, at + 10, uint16_t(shot + 1));
            Put16(b, at + 14, uint16_t(t + 1));
            Put32(b, at + 40, uint32_t(int32_t(std::trunc(s.depths[shot] * 1000.0))));
            Put16(b, at + 114, uint16_t(s.samples));
            for (int k = 0; k < s.samples; ++k)
                Put32(b, at + 240 + 4 * size_t(k), std::bit_cast<uint32_t>(SegySample(int(shot), t, k)));
        }
    return b;
}
