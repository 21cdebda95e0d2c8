#include "support/SegyBuilder.h"

#include "platform/Endian.h"

#include <cmath>

float SegySample(int shot, int trace, int sample) { return float(shot * 100 + trace) + float(sample) * 0.125f; }

std::vector<uint8_t> SegyBytes(const SegyShape& s)
{
    using endian::PutLE16;
    const size_t traceSize = 240 + 4 * size_t(s.samples > 0 ? s.samples : 0);
    std::vector<uint8_t> b(3596);
    uint8_t* h = b.data();
    // After the 3200-byte text part: job, reel, traces, interval twice, samples twice,
    // format code, a zero, the marks -1 to -7, the data set's flags, the full interval.
    PutLE16(h + 3208, 1);
    PutLE16(h + 3212, uint16_t(s.traces));
    PutLE16(h + 3216, uint16_t(s.interval));
    PutLE16(h + 3218, uint16_t(s.interval));
    PutLE16(h + 3220, uint16_t(s.samples));
    PutLE16(h + 3222, uint16_t(s.samples));
    PutLE16(h + 3224, 1);
    for (int k = 0; k < 7; ++k) PutLE16(h + 3234 + 2 * k, uint16_t(0xFFFF - k));
    h[3250] = s.depthUnits;
    h[3251] = s.logDirection;
    h[3252] = s.itemType;
    h[3253] = s.category;
    endian::PutLEFloat(h + 3254, s.interval);
    // Traces: shot and trace number, depth in thousandths (cut), sample count, samples.
    for (size_t shot = 0; shot < s.depths.size(); ++shot)
        for (int t = 0; t < s.traces; ++t) {
            b.resize(b.size() + traceSize);
            uint8_t* at = b.data() + b.size() - traceSize;
            PutLE16(at + 10, uint16_t(shot + 1));
            PutLE16(at + 14, uint16_t(t + 1));
            endian::PutLE32(at + 40, uint32_t(int32_t(std::trunc(s.depths[shot] * 1000.0))));
            PutLE16(at + 114, uint16_t(s.samples));
            for (int k = 0; k < s.samples; ++k) endian::PutLEFloat(at + 240 + 4 * k, SegySample(int(shot), t, k));
        }
    return b;
}
