// Control ids of the Slowness Profile Setup dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddSlownessProfileSetup = 32059;

namespace slowness_profile_setup {
enum Control : int {
    kIdcMinimum = 32309,
    kIdcMaximum = 32064,
    kIdcRangeGroup = 1254, // "Slowness range " and the data set's slowness unit
};
} // namespace slowness_profile_setup
