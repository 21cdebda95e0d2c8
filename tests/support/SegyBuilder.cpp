#include "support/SegyBuilder.h"

#include "platform/Endian.h"

#include <algorithm>
#include <cmath>
#include <iterator>

float SegySample(int shot, int trace, int sample) { return float(shot * 100 + trace) + float(sample) * 0.125f; }

namespace {

// The published layout: big-endian, a 3600-byte header with the flags behind the tag
// "QTX " at 3260, IEEE samples (code 5), depths in receiver and source depth with the
// scalar -1000.
std::vector<uint8_t> PublishedBytes(const SegyShape& s, size_t traceSize)
{
    using endian::PutBE16;
    std::vector<uint8_t> b(3600);
    uint8_t* h = b.data();
    PutBE16(h + 3212, uint16_t(s.traces));
    PutBE16(h + 3216, uint16_t(std::lround(s.interval)));
    PutBE16(h + 3220, uint16_t(s.samples));
    PutBE16(h + 3224, 5);
    const uint8_t flags[] = {'Q', 'T', 'X', ' ', s.depthUnits, s.logDirection, s.itemType, s.category};
    std::copy(std::begin(flags), std::end(flags), h + 3260);
    endian::PutBEFloat(h + 3268, s.interval);
    h[3272] = s.axisUnit;
    PutBE16(h + 3274, s.firstIndex);
    PutBE16(h + 3500, 0x0100);
    PutBE16(h + 3502, 1);
    for (size_t shot = 0; shot < s.depths.size(); ++shot)
        for (int t = 0; t < s.traces; ++t) {
            b.resize(b.size() + traceSize);
            uint8_t* at = b.data() + b.size() - traceSize;
            endian::PutBE32(at + 8, uint32_t(shot + 1));
            endian::PutBE32(at + 12, uint32_t(t + 1));
            const int32_t cut = int32_t(std::trunc(s.depths[shot] * 1000.0));
            const uint32_t depth = uint32_t(shot < s.rawDepths.size() ? s.rawDepths[shot] : cut);
            endian::PutBE32(at + 40, depth);
            endian::PutBE32(at + 48, depth);
            PutBE16(at + 68, uint16_t(shot < s.scalars.size() ? s.scalars[shot] : int16_t(-1000)));
            PutBE16(at + 114, uint16_t(s.samples));
            for (int k = 0; k < s.samples; ++k) endian::PutBEFloat(at + 240 + 4 * k, SegySample(int(shot), t, k));
        }
    return b;
}

} // namespace

std::vector<uint8_t> SegyBytes(const SegyShape& s)
{
    using endian::PutLE16;
    const size_t traceSize = 240 + 4 * size_t(s.samples > 0 ? s.samples : 0);
    if (s.published) return PublishedBytes(s, traceSize);
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
    if (s.axisTag) {
        const uint8_t tag[] = {'Q', 'T', 'X', ' '};
        std::copy(std::begin(tag), std::end(tag), h + 3260);
    }
    h[3264] = s.axisUnit; // without the tag: bytes a reader must not take
    PutLE16(h + 3266, s.firstIndex);
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
