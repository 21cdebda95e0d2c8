// A value-initialised group is all zero and empty, as the store is before start-up;
// SetDefaults() writes its start-up values (and first clears everything else).
#pragma once

#include "settings/DomainRanges.h"
#include "settings/Palette.h"
#include "settings/SlownessUnit.h"
#include "settings/ViewDomain.h"
#include "settings/WaveStyle.h"

#include <cstdint>
#include <string>

// Display > VDL.
struct VdlSetupGroup : DomainRanges {
    uint32_t instFrequency = 0; // the chosen file holds an instantaneous-frequency item
    uint32_t instSlowness = 0;  // the chosen file holds an instantaneous-slowness item
    double topDepth = 0.0;
    double bottomDepth = 0.0;
    float depthScale = 0.0f;
    uint32_t normalize = 0;
    SlownessUnit slownessUnit = SlownessUnit::kUnset;
    ViewDomain domain = ViewDomain::kNone;
    std::string colour;
    WaveStyle type = WaveStyle::kNone;
    Palette palette = kPaletteNone;
    std::string path, fileName, title;

    void SetDefaults();
    bool operator==(const VdlSetupGroup&) const = default;
};
