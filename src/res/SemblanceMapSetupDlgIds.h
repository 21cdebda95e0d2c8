// Control ids of the Semblance Map Viewer Setup dialog and the entries of its
// drop-down lists, for its template and its class alike.
#pragma once

inline constexpr int kIddSemblanceMapSetup = 147;

namespace semblance_map_setup {
enum Control : int {
    kIdcSelectInputFile = 1103,
    kIdcInputFile = 1104,
    kIdcTopDepth = 1105,
    kIdcBottomDepth = 1106,
    kIdcType = 1107,
    kIdcNormalize = 1108,
    kIdcColour = 1109,
    kIdcPalette = 1110,
    kIdcSlowMin = 1111,
    kIdcSlowMax = 1112,
    kIdcTimeStart = 1113,
    kIdcTimeStop = 1114,
    kIdcSaveSetup = 1115,
    kIdcHelp = 1116,
    kIdcSlownessGroup = 1262, // its title follows the slowness unit of the file's maps
};

inline constexpr const char* kColours[] = {"Blue", "Green", "Red", "Brown", "Magenta", "Black"};
} // namespace semblance_map_setup
