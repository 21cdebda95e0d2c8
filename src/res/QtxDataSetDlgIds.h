// Control ids of the QTX Data Set dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddQtxDataSet = 132;

namespace qtx_data_set {
enum Control : int {
    kIdcFileName = 1010,
    kIdcTopDepth = 1011,
    kIdcBottomDepth = 1012,
    kIdcDepthStep = 1013,
    kIdcFrames = 1014,
    kIdcHistory = 1015,
    kIdcLogDirection = 1105,
    kIdcDatums = 1163,
};
} // namespace qtx_data_set
