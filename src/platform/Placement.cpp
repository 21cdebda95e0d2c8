#include "platform/Placement.h"

#include <algorithm>
#include <cstdint>

namespace {

bool TitleBarShows(int64_t left, int64_t top, int64_t right, const Rect& area)
{
    if (top < area.top || top + kTitleBarBand > area.bottom) return false;
    const int64_t shown = std::min<int64_t>(right, area.right) - std::max<int64_t>(left, area.left);
    return shown >= std::min<int64_t>(kTitleBarGrip, right - left);
}

// The start of a span of `length` moved into [low, high) as little as it takes.
int64_t Into(int64_t start, int64_t length, int64_t low, int64_t high)
{
    return std::max(low, std::min(start, high - length));
}

} // namespace

bool FitPlacement(const Rect& normal, const std::vector<ScreenArea>& screens, Rect& fitted, bool keepInside)
{
    if (screens.empty()) return false;
    const int64_t left = normal.left, top = normal.top;
    const int64_t width = int64_t(normal.right) - left, height = int64_t(normal.bottom) - top;
    if (width < kPlacementMinWidth || height < kPlacementMinHeight) return false;

    const ScreenArea* target = nullptr;
    for (const ScreenArea& screen : screens)
        if (TitleBarShows(left, top, left + width, screen.available)) {
            target = &screen;
            break;
        }
    const bool lost = target == nullptr;
    if (lost) target = &screens.front();
    const Rect& area = target->available;
    const int64_t w = std::min<int64_t>(width, area.Width());
    const int64_t h = std::min<int64_t>(height, area.Height());
    int64_t x = left, y = top;
    if (lost || keepInside || w < width || h < height) {
        x = Into(left, w, area.left, area.right);
        y = Into(top, h, area.top, area.bottom);
    }
    fitted = {int(x), int(y), int(x + w), int(y + h)};
    return true;
}
