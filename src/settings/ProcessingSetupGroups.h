// The setups of the processing windows and the log-header editor.
#pragma once

#include "settings/DomainRanges.h"
#include "settings/Palette.h"
#include "settings/SlownessUnit.h"
#include "settings/ViewDomain.h"
#include "settings/WaveStyle.h"

#include <array>
#include <cstdint>
#include <string>

// ---- Dormant setups: no command of this edition opens their dialogs. Each group
// holds what its dialog would keep between runs; every value starts zero or empty.

struct DepthProfileSetupGroup : DomainRanges {
    ViewDomain domain = ViewDomain::kNone;
    std::string colour;
    Palette palette = kPaletteNone;
    WaveStyle type = WaveStyle::kNone;
    SlownessUnit slownessUnit = SlownessUnit::kUnset;
    std::string inputPath, inputName, inputTitle, inputExt;
    std::string outputPath, outputName, outputExt, outputFolder;
    double topDepth = 0.0;
    double bottomDepth = 0.0;
    uint32_t normalize = 0;
    // The scale the profile window opens with; it opens with the ranges of the other domains too.
    float depthScale = 0.0f;

    void SetDefaults();
    bool operator==(const DepthProfileSetupGroup&) const = default;
};

struct KalmanSetupGroup {
    std::string inputPath, inputName, inputTitle, inputExt;
    std::string outputPath, outputName, outputExt;
    std::string inputFolder;
    double topDepth = 0.0;
    double bottomDepth = 0.0;
    // What the Kalman window opens with: the depth scale (1:n) and the time window, uSec.
    float depthScale = 480.0f;
    float timeStart = 0.0f, timeStop = 5000.0f;
    bool operator==(const KalmanSetupGroup&) const = default;
};

inline constexpr int kSmoothingFlagCount = 128;

struct SmoothingSetupGroup {
    uint16_t shortFn = 0, mediumFn = 0, longFn = 0, userFn = 0; // one-hot preset
    uint16_t unsharpMask = 0;
    int32_t datumCount = 0;
    std::array<uint32_t, kSmoothingFlagCount> listed{};
    std::array<uint32_t, kSmoothingFlagCount> selected{};
    double topDepth = 0.0;
    double bottomDepth = 0.0;
    std::string inputPath, inputName, inputTitle, inputExt;
    std::string outputPath, outputName, outputExt;
    std::array<float, 7> weights{}; // of the smoothing function, as the seven edits show them
    bool operator==(const SmoothingSetupGroup&) const = default;
};

// Which inputs of a filtering or picking run changed since the last pick.
struct InputChangeBookkeeping {
    uint32_t inputChanged = 0;
    uint32_t timeProfileChanged = 0;
    uint32_t frequencyProfileChanged = 0;
    uint32_t slownessProfileChanged = 0;
    uint32_t inputSize = 0; // bytes, as last seen
    uint32_t timeProfileSize = 0;
    uint32_t frequencyProfileSize = 0;
    uint32_t slownessProfileSize = 0;
    bool operator==(const InputChangeBookkeeping&) const = default;
};

struct FilterSetupGroup {
    double topDepth = 0.0;
    double bottomDepth = 0.0;
    uint16_t crossDipole = 0;
    uint16_t bellShape = 0, semiRectangular = 0;
    uint16_t fixedProfile = 0, variableProfile = 0;
    uint16_t frequencyEnabled = 0, frequencyDisabled = 0;
    uint16_t timeEnabled = 0, timeDisabled = 0;
    uint16_t hannWindow = 0, frontMute = 0, backMute = 0;
    float slownessStart = 0.0f, slownessStop = 0.0f;
    uint16_t slownessEnabled = 0, slownessDisabled = 0;
    std::string slownessTitle;
    uint16_t forceInputs = 0;
    std::string inputPath, inputName, inputExt;
    std::string outputPath, outputName, outputExt;
    std::string inputFolder;
    std::string frequencyProfilePath, frequencyProfileName, frequencyProfileExt;
    std::string timeProfilePath, timeProfileName, timeProfileExt;
    std::string slownessProfilePath, slownessProfileName, slownessProfileExt;
    InputChangeBookkeeping changes;
    bool operator==(const FilterSetupGroup&) const = default;
};

struct QuickLookSetupGroup {
    double topDepth = 0.0;
    double bottomDepth = 0.0;
    uint16_t english = 0, metric = 0;
    std::string slownessTitle;
    uint16_t medium = 0, high = 0;
    float timeStart = 0.0f, timeStop = 0.0f, timeWidth = 0.0f;
    float slowMin = 0.0f, slowMax = 0.0f;
    uint16_t pWave = 0, sWave = 0;
    uint16_t fastFormation = 0, slowFormation = 0;
    uint16_t calibrateDelay = 0;
    std::string inputPath, inputName, inputTitle, inputExt;
    std::string outputPath, outputName, outputExt;
    std::string inputFolder;
    bool operator==(const QuickLookSetupGroup&) const = default;
};

inline constexpr int kAnisotropyFlagCount = 128;

struct AnisotropySetupGroup {
    uint16_t collocateTransmitter = 0, anisotropyAnalysis = 0, rotateWaveforms = 0;
    uint16_t azimuthCoherence = 0, combineEnergy = 0, fastShearAzimuth = 0; // at most one set
    int32_t inputCount = 0;
    int32_t profileCount = 0;
    std::array<int32_t, kAnisotropyFlagCount> inputListed{};
    std::array<int32_t, kAnisotropyFlagCount> inputSelected{};
    std::array<int32_t, kAnisotropyFlagCount> profileListed{};
    std::array<int32_t, kAnisotropyFlagCount> profileSelected{};
    double inputTopDepth = 0.0, inputBottomDepth = 0.0;
    double profileTopDepth = 0.0, profileBottomDepth = 0.0;
    std::string inputPath, inputTitle, inputExt;
    std::string profilePath, profileTitle, profileExt;
    bool operator==(const AnisotropySetupGroup&) const = default;
};

inline constexpr int kPickingReceiverRows = 16;

struct PickingSetupGroup {
    double topDepth = 0.0;
    double bottomDepth = 0.0;
    uint16_t bellShape = 0, semiRectangular = 0;
    uint16_t fixedProfile = 0, variableProfile = 0;
    uint16_t frequencyEnabled = 0, frequencyDisabled = 0;
    uint16_t singleMode = 0, arrayMode = 0; // time window
    uint16_t english = 0, metric = 0;
    uint16_t slownessFixed = 0, slownessVariable = 0, slownessVpVs = 0;
    uint16_t ifsAnalysis = 0, guidedSemblance = 0, stcMap = 0, sfcMap = 0;
    uint16_t resolutionLow = 0, resolutionMedium = 0, resolutionHigh = 0, resolutionVeryHigh = 0;
    uint16_t noisyData = 0, dispersionPackage = 0, exclude = 0;
    std::array<uint32_t, kPickingReceiverRows> excluded{};
    uint16_t forceInputs = 0, normalizeWaveforms = 0;
    std::string inputPath, inputName, inputExt;
    std::string outputPath, outputName, outputExt;
    std::string inputTitle;
    std::string inputFolder;
    std::string frequencyProfilePath, frequencyProfileName, frequencyProfileExt;
    std::string timeProfilePath, timeProfileName, timeProfileExt;
    std::string slownessProfilePath, slownessProfileName, slownessProfileExt;
    InputChangeBookkeeping changes;
    bool operator==(const PickingSetupGroup&) const = default;
};

inline constexpr int kProfileListFlagCount = 256;

// A curve list of a profile data set: one entry per datum in file order.
struct ProfileCurveList {
    int32_t itemCount = 0;
    std::array<uint32_t, kProfileListFlagCount> listed{};
    std::array<uint32_t, kProfileListFlagCount> selected{};
    bool operator==(const ProfileCurveList&) const = default;
};

struct StcSetupGroup {
    std::string inputPath, inputName, inputTitle, inputExt;
    std::string outputPath, outputName, outputExt;
    std::string slownessProfilePath, slownessProfileName, slownessProfileExt;
    std::string caliperProfilePath, caliperProfileName, caliperProfileExt;
    std::string slownessTitle;
    double topDepth = 0.0;
    double bottomDepth = 0.0;
    uint16_t fixedBitSize = 0, useCaliper = 0;
    uint16_t fixedSlownessRange = 0, variableCenterSlowness = 0, pWaveGuided = 0;
    double caliperTopDepth = 0.0, caliperBottomDepth = 0.0;
    ProfileCurveList caliperList;
    double slownessTopDepth = 0.0, slownessBottomDepth = 0.0;
    ProfileCurveList slownessList;
    bool operator==(const StcSetupGroup&) const = default;
};

struct DispersionSetupGroup {
    uint16_t fixedFrequency = 0, variableFrequency = 0;
    uint16_t fixedBitSize = 0, useCaliper = 0;
    uint16_t fixedDensity = 0, variableDensity = 0;
    // Lists in order: input DTS data set, frequency, caliper, density profile.
    std::array<ProfileCurveList, 4> lists;
    std::array<double, 4> topDepth{};
    std::array<double, 4> bottomDepth{};
    std::string inputPath, inputTitle, inputExt;
    std::string outputPath, outputTitle, outputExt;
    std::string frequencyProfilePath, frequencyProfileTitle, frequencyProfileExt;
    std::string caliperProfilePath, caliperProfileTitle, caliperProfileExt;
    std::string densityProfilePath, densityProfileTitle, densityProfileExt;
    bool operator==(const DispersionSetupGroup&) const = default;
};

inline constexpr int kHeaderStringCount = 44;

struct LogHeaderSetupGroup {
    std::string loadPath, loadTitle, loadExt;
    std::string savePath, saveTitle, saveExt;
    std::string imagePath, imageTitle, imageExt;
    uint16_t remarksFlag = 0;
    std::array<std::string, kHeaderStringCount> headerStrings;
    std::string remarks;
    bool operator==(const LogHeaderSetupGroup&) const = default;
};

// The processing windows keep their working lists (profile records, intervals) as
// their own members: the store holds only the setups, as plain data.
struct DormantSetupGroups {
    DepthProfileSetupGroup depthProfile;
    KalmanSetupGroup kalman;
    SmoothingSetupGroup smoothing;
    FilterSetupGroup filter;
    QuickLookSetupGroup quickLook;
    AnisotropySetupGroup anisotropy;
    PickingSetupGroup picking;
    StcSetupGroup stc;
    DispersionSetupGroup dispersion;
    LogHeaderSetupGroup logHeader;

    void SetDefaults();
    bool operator==(const DormantSetupGroups&) const = default;
};
