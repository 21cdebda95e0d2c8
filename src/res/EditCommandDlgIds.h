// Control ids of the Edit Command dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddEditCommand = 154;

namespace edit_command {
enum Control : int {
    kIdcFileTitle = 1206,
    kIdcNextItem = 1207,
    kIdcPreviousItem = 1208,
    kIdcDataTop = 1209,
    kIdcDataBottom = 1211,
    kIdcStartDepth = 1213,
    kIdcStopDepth = 1214,
    kIdcName = 1215,
    kIdcShift = 1216,
    kIdcMnemonic = 1217,
    kIdcHelp = 1218,
    kIdcLeftLimit = 1227,
    kIdcRightLimit = 1228,
    kIdcTrack = 1229,
    kIdcUnits = 1230,
    kIdcColor = 1231,
    kIdcPalette = 1232,
    kIdcLineWidth = 1238,
};
} // namespace edit_command
