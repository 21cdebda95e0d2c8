// Control ids of the Quick Look Setup dialog and the status light, for their templates and classes alike.
#pragma once

inline constexpr int kIddQuickLookSetup = 32040;
inline constexpr int kIddStatusLight = 32221; // the status light has no resource of its own: this one is the program's

namespace quick_look_setup {
enum Control : int {
    kIdcSelectInputFile = 1061,
    kIdcInputFile = 1062,
    kIdcTopDepth = 1054,
    kIdcBottomDepth = 1057,
    kIdcBitSize = 1007,
    kIdcMedium = 1000,
    kIdcHigh = 1001,
    kIdcTimeStart = 1058,
    kIdcTimeStop = 1059,
    kIdcTimeWidth = 1090,
    kIdcSlownessGroup = 1263,
    kIdcSlowMin = 1095,
    kIdcSlowMax = 1098,
    kIdcEnglish = 32177,
    kIdcMetric = 32176,
    kIdcPWave = 1111,
    kIdcSWave = 1112,
    kIdcFastFormation = 1113,
    kIdcSlowFormation = 1114,
    kIdcCalibrateDelay = 1115,
    kIdcDelay = 1116,
    kIdcSelectOutputFile = 1071,
    kIdcOutputFile = 1072,
    kIdcSaveSetup = 1073,
    kIdcHelp = 1074,
    kIdcLight = 1075, // the status light's lamp, drawn by its dialog
};
enum Box : int { kBoxDepths = 32400, kBoxBitSize, kBoxResolution, kBoxTime, kBoxOptions };
} // namespace quick_look_setup
