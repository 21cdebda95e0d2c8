// Control ids of the Dispersion Correction Setup and the Slowness units dialogs, for
// their templates and classes alike.
#pragma once

inline constexpr int kIddDispersionSetup = 32057;
inline constexpr int kIddSlownessUnits = 32222; // shares its resource number with the semblance map setup: this one is the program's

namespace dispersion_setup {
enum Control : int {
    kIdcSelectInputFile = 32173,
    kIdcInputList = 1185,
    kIdcInputFile = 32216,
    kIdcSelectFrequencyProfile = 1106,
    kIdcFixedFrequencyValue = 32069,
    kIdcFixedFrequency = 32175,
    kIdcVariableFrequency = 32176,
    kIdcFrequencyList = 1187,
    kIdcFrequencyProfile = 32217,
    kIdcSelectCaliperProfile = 1107,
    kIdcBitSize = 32179,
    kIdcFixedBitSize = 32177,
    kIdcUseCaliper = 32178,
    kIdcMudSlowness = 32064,
    kIdcMudDensity = 32180,
    kIdcCaliperList = 1188,
    kIdcCaliperProfile = 32218,
    kIdcSelectDensityProfile = 1108,
    kIdcFixedDensityValue = 32183,
    kIdcFixedDensity = 32182,
    kIdcVariableDensity = 32181,
    kIdcDensityList = 1189,
    kIdcDensityProfile = 32220,
    kIdcSelectOutputFile = 32174,
    kIdcOutputFile = 32219,
    kIdcRun = 1186,
    kIdcSaveSetup = 1183,
    kIdcHelp = 1184,
};
enum Box : int { kBoxItems = 32400, kBoxFrequency, kBoxBorehole, kBoxDensity };
} // namespace dispersion_setup

namespace slowness_units {
enum Control : int {
    kIdcWireline = 1220,
    kIdcBat675 = 1221,
    kIdcBat800 = 1222,
    kIdcDecentralization = 1224,
    kIdcMetric = 32175,
    kIdcEnglish = 32176,
};
enum Box : int { kBoxTools = 32400, kBoxUnits };
} // namespace slowness_units
