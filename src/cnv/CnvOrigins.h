// Where the data of a CNV file come from: the Data Origin dialog's entries, by index,
// and what each makes of the one datum the conversion writes.
#pragma once

#include <cstdint>
#include <string>

inline constexpr int kCnvOriginCount = 46;
inline constexpr uint8_t kOriginClssLower = 42;
inline constexpr uint8_t kOriginClssUpper = 43;

struct CnvOrigin {
    std::string mnemonic; // string-table text
    uint8_t itemType = 0;
    uint8_t category = 0; // 1 waveform, 3 slowness
    uint8_t unit = 0;     // 1 uSec, 2 uSec/ft
    float step = 0.0f;    // of the sample axis
};

// The datum of origin `code` for a file sampled every `samplingPeriod` microseconds.
// A code past the list is taken as 0 ("Unkonwn").
CnvOrigin CnvOriginOf(int code, float samplingPeriod);

// Whether the origin is one of the two CLSS receivers, whose data fill one trace.
inline bool IsClssOrigin(int code) { return code == kOriginClssLower || code == kOriginClssUpper; }
