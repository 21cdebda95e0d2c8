// Control ids of the CNV Data Set dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddCnvDataSet = 130;

namespace cnv_data_set {
enum Control : int {
    kIdcFileName = 1000,
    kIdcToolType = 1001,
    kIdcTopDepth = 1002,
    kIdcBottomDepth = 1003,
    kIdcDepthStep = 1004,
    kIdcFrames = 1005,
    kIdcReceivers = 1006,
    kIdcSamplingRate = 1007,
    kIdcSamples = 1008,
};
} // namespace cnv_data_set
