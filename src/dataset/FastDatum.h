// Curves of several values a frame (the samples of a LIS fast channel) place their
// values in depth along their axis: value v lies (first index + v) x step from the
// frame's own depth, the first index read as signed. The last sample stands at the
// frame's depth and the others before it, back toward the frame before. Whatever
// shows one value a frame of such a curve shows the one at the frame's depth.
#pragma once

#include "dataset/QtxFile.h"
#include "dataset/QtxLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace qtx {

// The value at the frame's depth: minus the first index where that names one of the
// values `bytes` hold, else the first (older data sets put the first sample there).
inline uint32_t ValueAtFrameDepth(uint16_t firstIndex, uint16_t sampleCount, uint64_t bytes)
{
    const int32_t at = -int32_t(int16_t(firstIndex));
    const uint64_t values = std::min<uint64_t>(sampleCount, bytes / sizeof(float));
    return at > 0 && uint64_t(at) < values ? uint32_t(at) : 0;
}

inline bool IsOneTraceCurve(uint8_t category, uint16_t traceCount, uint16_t axisCount)
{
    return category == kCategoryTrace && traceCount <= 1 && axisCount == 1;
}

inline uint32_t ValueAtFrameDepth(const CQtxDatum& d)
{
    if (!IsOneTraceCurve(d.m_category, d.m_traceCount, d.m_axisCount)) return 0;
    return ValueAtFrameDepth(d.m_axis1.m_firstIndex, d.m_axis1.m_sampleCount, d.m_size);
}

// A task that changes the unit or the spacing of the depths (by `k`) carries the fast
// datums' sample offsets with them; other axes are no depths.
inline void ScaleDepthOffsets(std::vector<CQtxDatum>& datums, double k)
{
    if (!std::isfinite(k) || k <= 0.0) return;
    for (CQtxDatum& d : datums)
        if (ValueAtFrameDepth(d) > 0) d.m_axis1.m_step = float(double(d.m_axis1.m_step) * k);
}

// Samples a frame of a fast datum: its values split into equal samples, the first
// value of the last one at the frame's depth. 1 for any other datum.
inline uint32_t FastSamples(const QtxDatumDescriptor& d)
{
    const uint32_t values = d.axis1.sampleCount;
    if (!IsOneTraceCurve(d.category, d.traceCount, d.axisCount) || uint64_t(values) * sizeof(float) != d.size)
        return 1;
    const uint32_t at = ValueAtFrameDepth(d.axis1.firstIndex, d.axis1.sampleCount, d.size);
    const uint32_t perSample = values - at;
    if (at == 0 || values % perSample != 0) return 1;
    return values / perSample;
}

} // namespace qtx
