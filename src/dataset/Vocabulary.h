// The two program-wide lists of constant texts that modules compare against
// and copy into records: depth, unit and product mnemonics, and depth, unit and
// tool names. Both lists start with the same 22 depth and unit entries.
#pragma once

#include <cstddef>

inline constexpr std::size_t kProductMnemonicCount = 82;
inline constexpr std::size_t kToolNameCount = 49;

// Depth mnemonics with their caption, LIS depth-unit codes, unit mnemonics,
// then the product mnemonics and a second set of unit mnemonics.
extern const char* const g_productMnemonics[kProductMnemonicCount];

// The same 22 leading entries, then tool and data-kind names.
extern const char* const g_toolNames[kToolNameCount];
