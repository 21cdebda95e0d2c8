// The current display options the application object keeps for the whole run.
#pragma once

#include <array>
#include <cstdint>

inline constexpr int kReceiverCount = 13;

// Current display options. The view-option list belongs to the application object.
struct DisplayOptionBlock {
    uint16_t windowCounter = 0;   // last id handed to a new viewer; ids start at 1
    uint16_t activeWindowId = 0;
    int16_t currentMode = 0;      // 1 QTX, 2 LIS, 3 CNV, -1 none yet
    int16_t zoomLevel = 0;        // -5..+5
    float zoomFactor1 = 0.0f;
    float zoomFactor2 = 0.0f;
    float zoomFactor3 = 0.0f;
    int16_t depthZoomRequest = 0;    // +1/-1 until the active viewer applies it
    int16_t dataAxisZoomRequest = 0; // +1/-1 until the active viewer applies it
    std::array<uint32_t, kReceiverCount> receiverAvailable{};
    std::array<uint32_t, kReceiverCount> receiverShown{};
    uint32_t redPen = 0, greenPen = 0, bluePen = 0, blackPen = 0, whitePen = 0; // one-hot
    uint32_t penColourChanged = 0;
    uint32_t thinPen = 0, thickPen = 0; // one-hot
    uint32_t penWidthChanged = 0;
    uint32_t whiteBackground = 0, yellowBackground = 0, grayBackground = 0; // one-hot
    uint32_t backgroundChanged = 0;
    uint32_t redrawRequest = 0;
    uint32_t optionsStored = 0;
    uint32_t saveProfile = 0;
    uint32_t profileOption = 0;   // the confirmation setting of the dormant windows
    uint32_t singleReceiver = 0;

    void SetDefaults();
    bool operator==(const DisplayOptionBlock&) const = default;
};
