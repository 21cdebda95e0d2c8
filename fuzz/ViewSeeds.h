// What the view and processing harnesses' seeds share: the datums of a data set's three
// tabs (a waveform of 4 x 64 at 10 us, a slowness of 100 and an azimuth of 36 values) and
// the history bytes by which a harness picks what to show of a seed.
#pragma once

#include "support/QtxBuilder.h"

#include <string>
#include <vector>

inline const QtxDatumShape kSeedWave{"WMNO", 1, kCategoryWaveform, 4, 64, kUnitMicroseconds, 10.0f};

inline std::vector<QtxDatumShape> SeedTabs()
{
    return {kSeedWave,
            {"DTCO", 33, kCategorySlowness, 1, 100, kUnitMicrosecondsPerFoot, 2.0f},
            {"AZIM", 26, kCategoryAzimuth, 1, 36, kUnitDegrees, 10.0f}};
}

// The written seed's first history bytes become `bytes`.
inline void SetHistory(const std::string& path, const std::string& bytes)
{
    PatchQtxHeader(path, [&](QtxFileHeader& h) {
        for (size_t i = 0; i < bytes.size() && i < sizeof h.history; ++i) h.history[i] = bytes[i];
    });
}
