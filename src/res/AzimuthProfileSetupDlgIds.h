// Control ids of the Azimuth Profile Setup dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddAzimuthProfileSetup = 157;

namespace azimuth_profile_setup {
enum Control : int {
    kIdcMinimum = 32285,
    kIdcMaximum = 32286,
    kIdcTrackMinimum = 32287,
    kIdcTrackMaximum = 32288,
};
} // namespace azimuth_profile_setup
