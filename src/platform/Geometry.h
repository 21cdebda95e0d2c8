// Points, sizes, rectangles and colours in the conventions the painting code is
// written for: rectangles exclude their right and bottom edges; colours keep the
// red byte lowest (0x00BBGGRR), so palette arithmetic reads as it always did.
#pragma once

#include <algorithm>
#include <cstdint>

using Color = uint32_t;

constexpr Color Rgb(int r, int g, int b) { return Color(r & 0xFF) | (Color(g & 0xFF) << 8) | (Color(b & 0xFF) << 16); }
constexpr int RedOf(Color c) { return int(c & 0xFF); }
constexpr int GreenOf(Color c) { return int((c >> 8) & 0xFF); }
constexpr int BlueOf(Color c) { return int((c >> 16) & 0xFF); }
// To and from the 0xAARRGGBB pixels of images.
constexpr uint32_t ToArgb(Color c) { return 0xFF000000u | (uint32_t(RedOf(c)) << 16) | (uint32_t(GreenOf(c)) << 8) | uint32_t(BlueOf(c)); }
constexpr Color FromArgb(uint32_t p) { return Rgb(int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF)); }

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    Rect Intersect(const Rect& o) const
    {
        Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
        return r.IsEmpty() ? Rect{} : r;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};
