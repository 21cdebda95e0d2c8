// The log header's strings as the Header Setup and the Well Info dialog share them:
// the setup keeps 44, the Well Info dialog edits 43 of them (all but the ninth).
#pragma once

#include "settings/ProcessingSetupGroups.h"

#include <array>
#include <string>

inline constexpr int kWellInfoStringCount = 43;
inline constexpr int kFluidStringCount = 12;
inline constexpr int kFirstFluidString = 31; // strings 32-43 of the Well Info dialog, from 0
using WellInfoStrings = std::array<std::string, kWellInfoStringCount>;
using HeaderStrings = std::array<std::string, kHeaderStringCount>;

// Header strings 1-8 and 10-44 into Well Info strings 1-43.
WellInfoStrings WellInfoFromHeader(const HeaderStrings& header);
// Back again; the ninth header string keeps its value.
void HeaderFromWellInfo(const WellInfoStrings& info, HeaderStrings& header);
