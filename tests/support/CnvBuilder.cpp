#include "support/CnvBuilder.h"

#include <bit>
#include <cstdio>

namespace {

void Put(std::vector<uint8_t>& out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

} // namespace

float CnvSample(int frame, int channel, int index) { return float(frame * 100000 + channel * 10000 + index) * 0.25f; }

uint32_t CnvFrameSize(int channels, int samples) { return uint32_t((samples + 1) * channels * 4 + 16); }

namespace {

void AppendHeader(std::vector<uint8_t>& out, const CnvShape& s)
{
    // Tool, depth units, a spare byte, channels, samples per channel.
    out.insert(out.end(), {s.tool, s.depthUnits, s.spare, s.channels});
    Put(out, uint16_t(s.samples), 2);
}

void AppendFrame(std::vector<uint8_t>& out, const CnvShape& s, int k)
{
    // Frame header: depth, then 8 bytes nobody reads.
    const double depth = size_t(k) < s.depths.size() ? s.depths[size_t(k)] : s.top + k * s.step;
    Put(out, std::bit_cast<uint64_t>(depth), 8);
    Put(out, 0x5555555555555555ull, 8);
    for (int c = 0; c < s.channels; ++c) {
        // Leading word: the sampling period in its upper half for channel 0 of frame 0.
        const bool carriesPeriod = k == 0 && c == 0;
        Put(out, 0x7777, 2);
        Put(out, carriesPeriod ? uint16_t(s.samplingPeriod) : 0x7777, 2);
        for (int i = 0; i < s.samples; ++i) Put(out, std::bit_cast<uint32_t>(CnvSample(k, c, i)), 4);
    }
}

} // namespace

std::vector<uint8_t> CnvBytes(const CnvShape& s)
{
    std::vector<uint8_t> out;
    AppendHeader(out, s);
    for (int k = 0; k < s.frames; ++k) AppendFrame(out, s, k);
    return out;
}

// Frame by frame, so that files of any size take no more memory than a frame.
void WriteCnv(const std::string& path, const CnvShape& shape)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    std::vector<uint8_t> bytes;
    AppendHeader(bytes, shape);
    for (int k = 0; k <= shape.frames; ++k) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        bytes.clear();
        if (k < shape.frames) AppendFrame(bytes, shape, k);
    }
    std::fclose(f);
}
