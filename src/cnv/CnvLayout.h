// On-disk layout of a CNV waveform file: a 6-byte header, then equally sized frames.
// Little-endian, packed; no magic number, no checksum, no trailer.
//
//   [header 6] [frame frameSize] x F
//   frame   = [frame header 16: f64 depth, 8 bytes unused] [channel block] x C
//   channel = [leading word 4] [f32 sample] x S
//
// The leading word of channel 0 in frame 0 carries the sampling period (i16 at its
// bytes 2-3, file offset 24); the other leading words are not read.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cnv {

constexpr size_t kHeaderSize = 6;
constexpr size_t kHdrToolCode = 0;     // u8
constexpr size_t kHdrDepthUnits = 1;   // u8: kFeet, anything else metres
constexpr size_t kHdrChannelCount = 3; // u8
constexpr size_t kHdrSamples = 4;      // i16 samples per channel

constexpr size_t kFrameHeaderSize = 16;
constexpr size_t kFrmDepth = 0;        // f64

constexpr size_t kWordSize = 4;         // leading word and samples alike
constexpr size_t kLeadSamplingPeriod = 2; // i16 inside the leading word
constexpr int64_t kSamplingPeriodOffset = int64_t(kHeaderSize + kFrameHeaderSize + kLeadSamplingPeriod);

constexpr uint8_t kFeet = 1;

// Tool codes of the header's first byte that name a tool.
constexpr uint8_t kToolDsi = 30, kToolMac = 31, kToolXmac = 32, kToolIsonic = 46, kToolFws = 47, kToolWaveSonic = 48;

// What the reader takes: anything outside is refused before a frame is read.
constexpr int kMaxChannels = 8;
constexpr int kMaxSamples = 2048;

constexpr bool ValidShape(int channels, int samples)
{
    return channels >= 1 && channels <= kMaxChannels && samples >= 1 && samples <= kMaxSamples;
}

// Bytes of one channel block and of one frame; 0 for a shape outside the limits.
constexpr uint32_t ChannelBlockSize(int samples) { return uint32_t(samples + 1) * kWordSize; }
constexpr uint32_t FrameSize(int channels, int samples)
{
    return ValidShape(channels, samples) ? uint32_t(channels) * ChannelBlockSize(samples) + kFrameHeaderSize : 0;
}
constexpr uint64_t FrameOffset(uint32_t frameSize, uint64_t k) { return kHeaderSize + k * frameSize; }

} // namespace cnv
