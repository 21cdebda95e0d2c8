// Control ids of the Depth Profile Setup dialog and the entries of its drop-down lists,
// for its template and its class alike.
#pragma once

inline constexpr int kIddDepthProfileSetup = 32039;

namespace depth_profile_setup {
enum Control : int {
    kIdcSelectInputFile = 1035,
    kIdcInputFile = 1036,
    kIdcTopDepth = 1037,
    kIdcBottomDepth = 1038,
    kIdcDepthScale = 1039,
    kIdcDomain = 1040,
    kIdcType = 1041,
    kIdcColour = 1042,
    kIdcPalette = 1043,
    kIdcNormalize = 1044,
    kIdcTimeStart = 1045,
    kIdcTimeStop = 1046,
    kIdcFreqStart = 1047,
    kIdcFreqStop = 1048,
    kIdcSlowMin = 1049,
    kIdcSlowMax = 1050,
    kIdcAzimMin = 1051,
    kIdcAzimMax = 1052,
    kIdcSaveSetup = 1053,
    kIdcHelp = 1054,
    kIdcSelectOutputFile = 1055,
    kIdcOutputFile = 1056,
    kIdcSlownessGroup = 1261, // its title follows the slowness unit of the file
};

inline constexpr const char* kColours[] = {"Blue", "Green", "Red", "Brown", "Magenta", "Black", "White"};
} // namespace depth_profile_setup
