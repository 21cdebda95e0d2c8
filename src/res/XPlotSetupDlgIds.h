// Control ids of the Frequency/Slowness X-Plot Viewer Setup dialog, for its template
// and its class alike.
#pragma once

inline constexpr int kIddXPlotSetup = 146;

namespace xplot_setup {
enum Control : int {
    kIdcSelectInputFile = 1129,
    kIdcInputFile = 1130,
    kIdcTopDepth = 1131,
    kIdcBottomDepth = 1132,
    kIdcSlownessGroup = 1133, // its title follows the settings' slowness unit
    kIdcSlowMin = 1134,
    kIdcSlowMax = 1135,
    kIdcHelp = 1136,
    kIdcSaveSetup = 1137,
    kIdcFreqMin = 1138,
    kIdcFreqMax = 1139,
    kIdcFrequencyGroup = 1140,
    kIdcDatums = 1141, // the file's waveform datums, several selectable
    kIdcRun = 1142,
};
} // namespace xplot_setup
