// Fits "label + path" texts of the dialogs into their fixed-width statics.
#pragma once

#include <cstddef>
#include <string>

// How much a dialog's static holds: a text over `maxText` characters loses the
// path's folders, but only a path of `minPath` characters or more is shortened.
struct PathLabelLimits {
    size_t maxText = 70;
    size_t minPath = 51;
};
inline constexpr PathLabelLimits kWidePathLabel{70, 51};   // most setup dialogs
inline constexpr PathLabelLimits kNarrowPathLabel{50, 31}; // the filter, quick look and picking setups

// Returns label + path while that has at most `limits.maxText` characters. Longer,
// and with a path of `limits.minPath` characters or more, the path becomes "..." +
// its tail from the last separator ('/' or '\') inclusive, or "..." + its last 12
// characters when it has none. A shorter path is kept whole even when the text is
// too long.
std::string ShortenPath(const std::string& label, const std::string& path, PathLabelLimits limits = kWidePathLabel);

// The progress dialogs' status form: "..." and the path from its last separator on;
// "..." alone without a separator.
std::string PathTail(const std::string& path);

// The name the viewer and tool-box dialogs call it by.
inline std::string ShortenPathLabel(const std::string& label, const std::string& path)
{
    return ShortenPath(label, path);
}
