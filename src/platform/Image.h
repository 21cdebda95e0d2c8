// A 32-bit image (0xAARRGGBB pixels, rows top to bottom). Raster layers are
// rendered into one row by row and drawn with one stretched blit.
#pragma once

#include "platform/Geometry.h"

#include <cstdint>
#include <vector>

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    Image() = default;
    Image(int w, int h, uint32_t fill = 0xFFFFFFFFu)
        : width(w > 0 ? w : 0), height(h > 0 ? h : 0), pixels(size_t(width) * size_t(height), fill)
    {
    }
    uint32_t* Row(int y) { return pixels.data() + size_t(y) * size_t(width); }
    const uint32_t* Row(int y) const { return pixels.data() + size_t(y) * size_t(width); }
    uint32_t At(int x, int y) const { return Row(y)[x]; }
    bool Empty() const { return width == 0 || height == 0; }
};
