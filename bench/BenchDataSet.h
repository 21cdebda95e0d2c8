// The QTX data set the file benchmarks read: one waveform datum of traces x samples
// floats per frame at depths 1000 + 0.5 k, about BRONTE_BENCH_MB megabytes.
#pragma once

#include "dataset/QtxFile.h"

#include <algorithm>
#include <cmath>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace bench {

// Compressional, shear and Stoneley arrivals moving out across the receivers: the
// value of `receiver`'s trace at t microseconds.
inline double Arrivals(int receiver, double t)
{
    double v = 0;
    for (const auto& [onset, hertz, decay, amplitude] :
         {std::array{300.0 + 40 * receiver, 12000.0, 400.0, 0.5}, std::array{600.0 + 80 * receiver, 6000.0, 800.0, 1.0},
          std::array{1200.0 + 120 * receiver, 2500.0, 2500.0, 0.7}})
        if (t > onset) v += amplitude * std::exp(-(t - onset) / decay) * std::sin(2 * M_PI * hertz * (t - onset) * 1e-6);
    return v;
}


// BRONTE_BENCH_MB megabytes in bytes; 200 MB when unset.
inline int64_t TargetBytes()
{
    const char* mb = std::getenv("BRONTE_BENCH_MB");
    return int64_t(mb ? std::atoi(mb) : 200) << 20;
}

// Frames of traces x samples floats that make about `bytes`; at least one.
inline int FramesFor(int64_t bytes, int traces, int samples)
{
    return int(std::max<int64_t>(1, bytes / (int64_t(qtx::kDepthSize) + int64_t(traces) * samples * 4)));
}

// Writes the data set; every frame holds `frame` (a fixed pattern when empty).
// Returns false when any write failed.
inline bool WriteWaveformQtx(const std::string& path, uint8_t typeCode, int traces, int samples, int frames,
                             float step = 10.0f, std::vector<float> frame = {})
{
    const size_t floats = size_t(traces) * size_t(samples);
    if (frame.empty())
        for (size_t i = 0; i < floats; ++i) frame.push_back(float(i % 977) * 0.5f);
    CQtxFile out;
    CQtxDescriptorList list;
    if (!OkOrShow(out.OpenWrite(path)) ||
        !OkOrShow(out.AddDatum(list, "WMNO", typeCode, 1, 1, uint16_t(traces), 1, step, uint16_t(samples), 0)))
        return false;
    QtxFileHeader header = out.Header();
    header.depthStep = 0.5;
    std::fill(std::begin(header.history), std::end(header.history), ' ');
    out.SetHeader(header);
    if (!OkOrShow(out.WriteHeader()) || !OkOrShow(out.WriteDescriptors(list))) return false;
    for (int f = 0; f < frames; ++f) {
        const double depth = 1000.0 + 0.5 * f;
        if (!OkOrShow(out.WriteDepth(&depth))) return false;
        for (size_t start = 0; start < floats; start += qtx::kDataBufferFloats) {
            const size_t n = std::min<size_t>(qtx::kDataBufferFloats, floats - start);
            if (!OkOrShow(out.WriteData(frame.data() + start, int(n)))) return false;
        }
    }
    return OkOrShow(out.Finalize()) != 0;
}

// Writes the header, the datums of `list` and `frames` frames at depths top + step k,
// each holding `values` with a small change from frame to frame (so that no frame
// repeats the one before), then finalises. Returns false when any write failed.
inline bool WriteFrames(CQtxFile& out, const CQtxDescriptorList& list, int frames, const std::vector<float>& values,
                        double top = 1000.0, double step = 0.5)
{
    QtxFileHeader header = out.Header();
    header.depthStep = step;
    std::fill(std::begin(header.history), std::end(header.history), ' ');
    out.SetHeader(header);
    if (!OkOrShow(out.WriteHeader()) || !OkOrShow(out.WriteDescriptors(list))) return false;
    for (int f = 0; f < frames; ++f) {
        const double depth = top + step * f;
        if (!OkOrShow(out.WriteDepth(&depth))) return false;
        const float scale = 1.0f + 0.001f * float(f % 7);
        std::vector<float> scaled(values.size());
        for (size_t i = 0; i < values.size(); ++i) scaled[i] = values[i] * scale;
        for (size_t start = 0; start < values.size(); start += qtx::kDataBufferFloats) {
            const size_t n = std::min<size_t>(qtx::kDataBufferFloats, values.size() - start);
            if (!OkOrShow(out.WriteData(scaled.data() + start, int(n)))) return false;
        }
    }
    return OkOrShow(out.Finalize()) == 1;
}

} // namespace bench
