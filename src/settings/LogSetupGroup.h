// A value-initialised group is all zero and empty, as the store is before start-up;
// SetDefaults() writes its start-up values (and first clears everything else).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

inline constexpr int kTrackCount = 16;

// The plot subsystem defines the item. Items are held by shared_ptr because the
// type is incomplete here: the deleter is bound where an item is made, so clearing
// the list frees the items without this file knowing the class.
class CLogPlotItem;

struct PenText {
    std::string colour;
    std::string width;
    bool operator==(const PenText&) const = default;
};

// Display > Log.
struct LogSetupGroup {
    // Option states in store order.
    int16_t depthTrackOn = 0;  // depth column left of track 1
    int16_t depthTrackOff = 0; // depth column between tracks 1 and 2
    int16_t english = 0;
    int16_t metric = 0;
    int16_t spareState = 0;    // has no control; carried along unchanged
    int16_t backBlue = 0;
    int16_t backBeige = 0;
    int16_t backGray = 0;
    float depthScale = 0.0f;
    std::array<float, kTrackCount> trackWidth{}; // inches
    std::string loadPath, loadTitle, loadExt;
    std::string savePath, saveTitle, saveExt;
    std::string depthUnits; // "Feet"/"Meters", set just before a log is shown or printed
    std::string header;
    std::string browsePath;
    std::vector<std::shared_ptr<CLogPlotItem>> plotItems;
    std::array<PenText, 3> itemPens;

    void SetDefaults();
    bool operator==(const LogSetupGroup&) const = default;
};
