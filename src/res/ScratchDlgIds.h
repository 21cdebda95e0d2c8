#pragma once

inline constexpr int kIddScratch = 160;
inline constexpr int kIdScratch = 32841;

namespace scratch {
enum Control : int {
    kIdcValue = 1001,
};
} // namespace scratch
