#include "common/PathLabel.h"

#include "platform/Path.h"

namespace {
constexpr size_t kTailWithoutSeparator = 12;
} // namespace

std::string ShortenPath(const std::string& label, const std::string& path, PathLabelLimits limits)
{
    if (label.size() + path.size() <= limits.maxText || path.size() < limits.minPath
        || path.size() < kTailWithoutSeparator)
        return label + path;
    const size_t sep = LastSeparator(path);
    const size_t tail = sep != std::string::npos ? sep : path.size() - kTailWithoutSeparator;
    return label + "..." + path.substr(tail);
}

std::string PathTail(const std::string& path)
{
    const size_t separator = LastSeparator(path);
    return separator == std::string::npos ? "..." : "..." + path.substr(separator);
}
