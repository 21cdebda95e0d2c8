// Builder of log command files as raw bytes, written field by field on its own (not
// through the program's writer), so tests can compare the writer with it and feed
// the reader files with any value.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct CommandPageFields {
    uint16_t itemCount = 0xFFFF; // 0xFFFF: the number of items given
    float depthScale = 480.0f;
    std::array<float, 16> trackWidth{4.0f, 4.0f, 4.0f, 4.0f};
    int16_t depthTrackOn = 0, depthTrackOff = 1, english = 1, metric = 0;
};

// One item's stored fields, in the order of the first-pass and shading records.
struct CommandItemFields {
    std::string path, title, ext = "qtx", currentName, name, unitsName, reserved;
    uint8_t logDirection = 0xFF, itemType = 7;
    std::string waveStyle = "VDL", domain = "Time", palette = "Color", lineStyle = "Solid", lineWidth = "Bold",
                colour = "Blue";
    uint16_t domainCode = 1;
    int16_t currentIndex = 0, track = 1, nameCount = 0, sampleCount = 1;
    uint16_t normalize = 0;
    float sampleInterval = 10.0f, leftLimit = 40.0f, rightLimit = 240.0f, freqMin = 1000.0f, freqMax = 3000.0f;
    uint8_t frequencyImage = 0;
    float slowMin = 80.0f, slowMax = 480.0f;
    uint8_t slownessImage = 0, slownessUnit = 2;
    double startDepth = 1.0, stopDepth = 50000.0, shift = 0.0, dataTop = 1000.0, dataBottom = 1010.0, depthStep = 0.5;
    uint32_t frameCount = 21;
    std::vector<std::string> names; // the 256 slots: these first, then empty
    std::vector<uint8_t> itemTypes;
    // Shading record.
    std::string shadeColor = "Gray", shadePattern = "None";
    int16_t shadeOff = 1, shadeMinLimit = 0, shadeMaxLimit = 0, shadeCurveLimit = 0, shadeCurve = -1;
    float shadeMin = 40.0f, shadeMax = 240.0f;
};

// A waveform item of a time datum of type 7 ("R1".."R8") and a curve item of three curves.
CommandItemFields WaveformItemFields();
CommandItemFields CurveItemFields();

// Header, first-pass records and, unless `shading` is false (a file of an older
// version), the shading records.
std::vector<uint8_t> CommandFileBytes(const CommandPageFields& page, const std::vector<CommandItemFields>& items,
                                      bool shading = true);
