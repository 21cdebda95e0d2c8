// A value-initialised group is all zero and empty, as the store is before start-up;
// SetDefaults() writes its start-up values (and first clears everything else).
#pragma once

#include "settings/DomainRanges.h"
#include "settings/SlownessUnit.h"
#include "settings/ViewDomain.h"

#include <cstdint>
#include <string>

// Display > Time, Frequency, Slowness and Azimuth share this group.
struct DomainSetupGroup : DomainRanges {
    double topDepth = 0.0;
    double bottomDepth = 0.0;
    double depthFrame = 0.0;
    uint16_t traceCursor = 0;
    uint32_t enableFrequency = 0; // copied by Display > Time only
    uint32_t enableSlowness = 0;  // copied by Display > Time only
    SlownessUnit slownessUnit = SlownessUnit::kUnset;
    ViewDomain domain = ViewDomain::kNone; // each Display command sets its own first
    std::string path, title, ext;

    void SetDefaults();
    bool operator==(const DomainSetupGroup&) const = default;
};
