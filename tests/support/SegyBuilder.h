// Builder of SEG-Y files in the program's layouts (the variant it writes, the published
// one an earlier version wrote), byte by byte from literal
// offsets (not from the program's layout header), so that tests and fuzz seeds check
// the layout rather than restate it.
#pragma once

#include <cstdint>
#include <vector>

struct SegyShape {
    int16_t traces = 2;
    int16_t samples = 4;
    uint8_t depthUnits = 1;      // 0xFF metres, 1 feet
    uint8_t logDirection = 0xFF; // 0xFF down, 1 up
    uint8_t itemType = 26;
    uint8_t category = 1;
    float interval = 10.0f;
    std::vector<double> depths = {1000.0, 1000.5, 1001.0}; // one shot each
    bool published = false; // the published layout (big-endian, 3600-byte header), else the variant
    // The datum's axis: in the variant behind the tag "QTX " at 3260 when `axisTag` is
    // set; in the published layout always.
    bool axisTag = false;
    uint8_t axisUnit = 0;
    uint16_t firstIndex = 0;
    // Published layout: a shot's raw depth and scalar in place of depth x 1000 and -1000
    // (by shot; shots past a list's end take the default).
    std::vector<int32_t> rawDepths = {};
    std::vector<int16_t> scalars = {};
};

// Sample k of trace t of shot s: distinct and exactly representable.
float SegySample(int shot, int trace, int sample);

// The whole file: header, then one shot per depth (depths stored in thousandths, cut).
std::vector<uint8_t> SegyBytes(const SegyShape& shape);
