#pragma once

#include <cstdint>
#include <string>

// A copy of the CNV scanner's results that Convert CNV keeps between its scan and
// the conversion; zero and empty until the first Convert CNV run.
struct ConvertCnvValues {
    double topDepth = 0.0;
    double bottomDepth = 0.0;
    double depthStep = 0.0;
    std::string depthUnit;
    float samplingPeriod = 0.0f;
    std::string sampleAxis;
    uint16_t channelCount = 0;
    uint16_t samplesPerChannel = 0;
    uint8_t toolCode = 0;
    uint32_t frameCount = 0;
    std::string cnvPath;
    std::string qtxPath;

    void SetDefaults();
    bool operator==(const ConvertCnvValues&) const = default;
};
