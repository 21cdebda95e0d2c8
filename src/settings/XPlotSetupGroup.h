// A value-initialised group is all zero and empty, as the store is before start-up;
// SetDefaults() writes its start-up values (and first clears everything else).
#pragma once

#include "settings/SlownessUnit.h"

#include <array>
#include <cstdint>
#include <string>

inline constexpr int kXPlotFlagCount = 256;

// Written by the X-Plot setup dialog at Run and Save Setup, read by the cross-plot
// window; indexed by the datum's position in its file's datum list. A file of more
// datums than kXPlotFlagCount is refused by the dialog.
struct XPlotDatumFlags {
    std::array<uint32_t, kXPlotFlagCount> listed{};
    std::array<uint32_t, kXPlotFlagCount> selected{};
    uint32_t datumCount = 0;

    void SetDefaults();
    bool operator==(const XPlotDatumFlags&) const = default;
};

// Display > Xplot Map.
struct XPlotSetupGroup {
    double topDepth = 0.0;
    double bottomDepth = 0.0;
    float freqMin = 0.0f, freqMax = 0.0f;
    float slowMin = 0.0f, slowMax = 0.0f;
    SlownessUnit slownessUnit = SlownessUnit::kUnset;
    std::string path, title, ext;
    XPlotDatumFlags datums;

    void SetDefaults();
    bool operator==(const XPlotSetupGroup&) const = default;
};
