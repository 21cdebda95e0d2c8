// Control ids of the Log Item Setup dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddLogItemSetup = 122;

namespace log_item_setup {
enum Control : int {
    kIdcWaveList = 1011,
    kIdcCurveList = 1012,
    kIdcPartnerList = 1013, // shading partner among the list's curve items
    kIdcName = 1143,
    kIdcLeftLimit = 1144,
    kIdcFreqMin = 1145,
    kIdcHelp = 1146,
    kIdcFreqMax = 1147,
    kIdcSelectInputFile = 1148,
    kIdcRightLimit = 1149,
    kIdcSlowMin = 1150,
    kIdcSlowMax = 1151,
    kIdcShift = 1154,
    kIdcStartDepth = 1156,
    kIdcStopDepth = 1158,
    kIdcTrack = 1160,
    kIdcDomain = 1162,
    kIdcPalette = 1163,
    kIdcWaveStyle = 1164,
    kIdcRestoreDepth = 1165,
    kIdcShadeOff = 1196,
    kIdcShadeMinLimit = 1197,
    kIdcShadeMaxLimit = 1198,
    kIdcShadeMin = 1199,
    kIdcShadeMax = 1200,
    kIdcShadeCurveLimit = 1201,
    kIdcLineWidth = 2005,
    kIdcColor = 2006,
    kIdcLineStyle = 2007,
    kIdcShadeColor = 2008,
    kIdcShadePattern = 2009,
    kIdcUnitsName = 32064,
    kIdcInputFile = 32374,
    kIdcNormalize = 32390,
    // Labels that are enabled with their fields.
    kIdcWaveStyleLabel = 1701,
    kIdcPaletteLabel = 1702,
    kIdcFreqMinLabel = 1703,
    kIdcFreqMaxLabel = 1704,
    kIdcSlowMinLabel = 1705,
    kIdcSlowMaxLabel = 1706,
    kIdcLineStyleLabel = 1707,
    kIdcLineWidthLabel = 1708,
    kIdcColorLabel = 1709,
    kIdcShadeColorLabel = 1710,
    kIdcShadePatternLabel = 1711,
    kIdcShadeMinLabel = 1712,
    kIdcShadeMaxLabel = 1713,
    kIdcPartnerLabel = 1714,
};
} // namespace log_item_setup
