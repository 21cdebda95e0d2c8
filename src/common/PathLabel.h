// Fits "label + path" texts of the dialogs into their fixed-width statics.
#pragma once

#include <string>

// Returns label + path while that has at most 70 characters. Longer, and with a
// path of 51 characters or more, the path becomes "..." + its tail from the last
// separator ('/' or '\') inclusive, or "..." + its last 12 characters when it
// has none. A shorter path is kept whole even when the text is too long.
std::string ShortenPath(const std::string& label, const std::string& path);

inline std::string ShortenPathLabel(const std::string& label, const std::string& path)
{
    return ShortenPath(label, path);
}
