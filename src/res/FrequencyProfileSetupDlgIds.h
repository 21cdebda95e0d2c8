// Control ids of the Frequency Profile Setup dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddFrequencyProfileSetup = 143;

namespace frequency_profile_setup {
enum Control : int {
    kIdcMinimum = 1125,
    kIdcMaximum = 1126,
};
} // namespace frequency_profile_setup
