// A value-initialised group is all zero and empty, as the store is before start-up;
// SetDefaults() writes its start-up values (and first clears everything else).
#pragma once

#include <array>
#include <cstdint>
#include <string>

inline constexpr int kToolBoxFlagCount = 256; // datums per input of the tool box

// One input of the tool box: its datum selection, file names and depth range.
struct ToolInputSelection {
    int32_t itemCount = 0;
    std::array<uint32_t, kToolBoxFlagCount> listed{};
    std::array<uint32_t, kToolBoxFlagCount> selected{};
    std::string path, title, ext;
    double startDepth = 0.0, stopDepth = 0.0;
    bool operator==(const ToolInputSelection&) const = default;
};

// Utilities > Tools.
struct UtilitiesSetupGroup {
    std::string taskName;
    uint16_t taskCode = 0; // 0 until Run first maps a task name
    ToolInputSelection primary;
    ToolInputSelection secondary;
    ToolInputSelection density;
    std::string outputPath, outputTitle, outputExt;
    double spliceDepth = 0.0;
    float factor = 0.0f;
    int16_t startSample = 0;
    int16_t stopSample = 0;
    int16_t decimation = 0;

    void SetDefaults();
    bool operator==(const UtilitiesSetupGroup&) const = default;
};
