// The entries of the log-plot dialogs' drop-down lists, as their resources list
// them. A template holds no list items, so each dialog adds these before its
// controls are loaded.
#pragma once

#include <string>
#include <vector>

const std::vector<std::string>& PlotDomainEntries();      // "Time", "Frequency", "Slowness", "Azimuth"
const std::vector<std::string>& PlotWaveStyleEntries();   // "VDL"
const std::vector<std::string>& PlotPaletteEntries();     // the four named colour scales
const std::vector<std::string>& PlotLineStyleEntries();   // "Solid", "Dashed", "Dotted", "Dashdot"
const std::vector<std::string>& PlotLineWidthEntries();   // "Normal", "Bold"
const std::vector<std::string>& PlotColourEntries();      // the ten curve and shading colours
const std::vector<std::string>& PlotShadePatternEntries(); // "None", then the dashed kinds
