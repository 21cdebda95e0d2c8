// Control ids of the Anisotropy Analysis Setup dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddAnisotropySetup = 152;

namespace anisotropy_setup {
enum Control : int {
    kIdcSelectInput = 32322,
    kIdcInputFile = 32321,
    kIdcInputGroup = 1125,
    kIdcInputList = 1191,
    kIdcInputStart = 32332,
    kIdcInputStop = 32333,
    kIdcInputStartLabel = 1126,
    kIdcInputStopLabel = 1127,
    kIdcSelectProfile = 32338,
    kIdcProfileFile = 32337,
    kIdcProfileGroup = 1195,
    kIdcProfileList = 1187,
    kIdcProfileStart = 32335,
    kIdcProfileWidth = 32336,
    kIdcProfileStartLabel = 1193,
    kIdcProfileWidthLabel = 1194,
    kIdcCollocateTransmitter = 32341,
    kIdcAnisotropyAnalysis = 32342,
    kIdcCombineEnergy = 1192,
    kIdcRotateWaveforms = 32270,
    kIdcAzimuthCoherence = 32271,
    kIdcFastShearAzimuth = 1124,
    kIdcRun = 1189,
    kIdcSaveSetup = 1188,
    kIdcHelp = 1190,
};
enum Box : int { kBoxOptions = 32400 };
} // namespace anisotropy_setup
