// Control ids of the QTX File dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddQtxFile = 134;

namespace qtx_file {
enum Control : int {
    kIdcFileName = 1010,
    kIdcHelp = 1016,
    kIdcStartDepth = 1042,
    kIdcStopDepth = 1043,
    kIdcDepthStep = 1044,
    kIdcDepthUnits = 1045,
    kIdcDepthFrames = 1046,
    kIdcTab = 1047,
    kIdcFound = 1049,
    kIdcSelected = 1050,
    kIdcAdd = 1051,
    kIdcSelectAll = 1052,
    kIdcRemove = 1053,
    kIdcClearAll = 1054,
};
} // namespace qtx_file
