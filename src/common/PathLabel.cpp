#include "common/PathLabel.h"

#include "platform/Path.h"

namespace {
constexpr size_t kMaxText = 70;
constexpr size_t kMinShortenedPath = 51;
constexpr size_t kTailWithoutSeparator = 12;
} // namespace

std::string ShortenPath(const std::string& label, const std::string& path)
{
    if (label.size() + path.size() <= kMaxText || path.size() < kMinShortenedPath) return label + path;
    const size_t sep = LastSeparator(path);
    const size_t tail = sep != std::string::npos ? sep : path.size() - kTailWithoutSeparator;
    return label + "..." + path.substr(tail);
}
