// Control ids of the Smoothing Setup dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddSmoothingSetup = 151;

namespace smoothing_setup {
enum Control : int {
    kIdcSelectInputFile = 1120,
    kIdcInputFile = 32202,
    kIdcShort = 32377,
    kIdcMedium = 32378,
    kIdcLong = 32379,
    kIdcUser = 32380,
    kIdcWeight1 = 1121,
    kIdcWeight2 = 1122,
    kIdcWeight3 = 1123,
    kIdcWeight4 = 1124,
    kIdcWeight5 = 1125,
    kIdcWeight6 = 1128,
    kIdcWeight7 = 1129,
    kIdcUnsharpMask = 32315,
    kIdcSharpness = 32316, // the softer/sharper slider
    kIdcItems = 32370,
    kIdcSelectOutputFile = 1127,
    kIdcOutputFile = 32203,
    kIdcSaveSetup = 1181,
    kIdcHelp = 1119,
    kIdcRun = 1126,
};

// The weight edits, top to bottom.
inline constexpr int kWeightIds[7] = {kIdcWeight1, kIdcWeight2, kIdcWeight3, kIdcWeight4,
                                      kIdcWeight5, kIdcWeight6, kIdcWeight7};
// The smoothing functions' check boxes, top to bottom.
inline constexpr int kPresetIds[4] = {kIdcShort, kIdcMedium, kIdcLong, kIdcUser};
} // namespace smoothing_setup
