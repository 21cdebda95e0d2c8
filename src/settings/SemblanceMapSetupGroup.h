// A value-initialised group is all zero and empty, as the store is before start-up;
// SetDefaults() writes its start-up values (and first clears everything else).
#pragma once

#include "settings/Palette.h"
#include "settings/SlownessUnit.h"
#include "settings/WaveStyle.h"

#include <cstdint>
#include <string>

// Display > Map.
struct SemblanceMapSetupGroup {
    double topDepth = 0.0;
    double bottomDepth = 0.0;
    float timeStart = 0.0f, timeStop = 0.0f;
    float slowMin = 0.0f, slowMax = 0.0f;
    uint32_t normalize = 0;
    SlownessUnit slownessUnit = SlownessUnit::kUnset;
    std::string colour;
    WaveStyle type = WaveStyle::kNone;
    Palette palette = kPaletteNone;
    std::string path, ext, title;

    void SetDefaults();
    bool operator==(const SemblanceMapSetupGroup&) const = default;
};
