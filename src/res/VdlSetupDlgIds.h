// Control ids of the VDL Setup dialog and the entries of its drop-down lists, for its
// template and its class alike.
#pragma once

inline constexpr int kIddVdlSetup = 136;

namespace vdl_setup {
enum Control : int {
    kIdcSelectInputFile = 1028,
    kIdcInputFile = 1029,
    kIdcTopDepth = 1030,
    kIdcBottomDepth = 1031,
    kIdcDepthScale = 1032,
    kIdcHelp = 1033,
    kIdcSaveSetup = 1034,
    kIdcDomain = 1084,
    kIdcTimeStart = 1085,
    kIdcTimeStop = 1086,
    kIdcFreqStart = 1087,
    kIdcFreqStop = 1088,
    kIdcSlowMin = 1093,
    kIdcSlowMax = 1094,
    kIdcAzimMin = 1095,
    kIdcAzimMax = 1096,
    kIdcType = 1112,
    kIdcColour = 1118,
    kIdcPalette = 1123,
    kIdcSlownessGroup = 1256, // its title follows the slowness unit of the file
    kIdcNormalize = 32388,
};

inline constexpr const char* kColours[] = {"Blue", "Green", "Red", "Brown", "Magenta", "Black"};
} // namespace vdl_setup
