// The groups of settings that the application object keeps for the whole run: the
// current display options, the values of every setup dialog and the tool box's
// selection lists. Nothing here is persisted. A value-initialised group is all zero
// and empty, as the store is before start-up; SetDefaults() writes the start-up
// values (and first clears everything else, so it also restores a used group).
// Start-up calls them in this order: display options, Domain, VDL, the dormant
// groups and Log Setup, Semblance Map, X-Plot (with its datum flags, all clear),
// Utilities. Convert CNV values are not written by start-up.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

inline constexpr int kReceiverCount = 13;
inline constexpr int kTrackCount = 16;
inline constexpr int kToolBoxFlagCount = 256; // datums per input of the tool box
inline constexpr int kXPlotFlagCount = 256;

// Current display options. The view-option list belongs to the application object.
struct DisplayOptionBlock {
    uint16_t windowCounter = 0;   // last id handed to a new viewer; ids start at 1
    uint16_t activeWindowId = 0;
    int16_t currentMode = 0;      // 1 QTX, 2 LIS, 3 CNV, -1 none yet
    int16_t zoomLevel = 0;        // -5..+5
    float zoomFactor1 = 0.0f;
    float zoomFactor2 = 0.0f;
    float zoomFactor3 = 0.0f;
    int16_t depthZoomRequest = 0;    // +1/-1 until the active viewer applies it
    int16_t dataAxisZoomRequest = 0; // +1/-1 until the active viewer applies it
    std::array<uint32_t, kReceiverCount> receiverAvailable{};
    std::array<uint32_t, kReceiverCount> receiverShown{};
    uint32_t redPen = 0, greenPen = 0, bluePen = 0, blackPen = 0, whitePen = 0; // one-hot
    uint32_t penColourChanged = 0;
    uint32_t thinPen = 0, thickPen = 0; // one-hot
    uint32_t penWidthChanged = 0;
    uint32_t whiteBackground = 0, yellowBackground = 0, grayBackground = 0; // one-hot
    uint32_t backgroundChanged = 0;
    uint32_t redrawRequest = 0;
    uint32_t optionsStored = 0;
    uint32_t saveProfile = 0;
    uint32_t profileOption = 0;   // the confirmation setting of the dormant windows
    uint32_t singleReceiver = 0;

    void SetDefaults();
    bool operator==(const DisplayOptionBlock&) const = default;
};

// A copy of the CNV scanner's results that Convert CNV keeps between its scan and
// the conversion; zero and empty until the first Convert CNV run.
struct ConvertCnvValues {
    double topDepth = 0.0;
    double bottomDepth = 0.0;
    double depthStep = 0.0;
    std::string depthUnit;
    float samplingPeriod = 0.0f;
    std::string sampleAxis;
    uint16_t channelCount = 0;
    uint16_t samplesPerChannel = 0;
    uint8_t toolCode = 0;
    uint32_t frameCount = 0;
    std::string cnvPath;
    std::string qtxPath;

    void SetDefaults();
    bool operator==(const ConvertCnvValues&) const = default;
};

// Display > Time, Frequency, Slowness and Azimuth share this group.
struct DomainSetupGroup {
    double topDepth = 0.0;
    double bottomDepth = 0.0;
    double depthFrame = 0.0;
    uint16_t traceCursor = 0;
    float freqStart = 0.0f, freqStop = 0.0f;
    float timeStart = 0.0f, timeStop = 0.0f;
    float slowMin = 0.0f, slowMax = 0.0f;
    float azimMin = 0.0f, azimMax = 0.0f;
    uint32_t enableFrequency = 0; // copied by Display > Time only
    uint32_t enableSlowness = 0;  // copied by Display > Time only
    std::string slownessTitle;
    std::string domain;           // each Display command sets its own word first
    std::string path, title, ext;

    void SetDefaults();
    bool operator==(const DomainSetupGroup&) const = default;
};

struct VdlSetupGroup {
    uint32_t instFrequency = 0; // the chosen file holds an instantaneous-frequency item
    uint32_t instSlowness = 0;  // the chosen file holds an instantaneous-slowness item
    double topDepth = 0.0;
    double bottomDepth = 0.0;
    float depthScale = 0.0f;
    float freqStart = 0.0f, freqStop = 0.0f;
    float timeStart = 0.0f, timeStop = 0.0f;
    float slowMin = 0.0f, slowMax = 0.0f;
    float azimMin = 0.0f, azimMax = 0.0f;
    uint32_t normalize = 0;
    std::string slownessTitle;
    std::string domain;
    std::string colour;
    std::string type;
    std::string palette;
    std::string path, fileName, title;

    void SetDefaults();
    bool operator==(const VdlSetupGroup&) const = default;
};

struct SemblanceMapSetupGroup {
    double topDepth = 0.0;
    double bottomDepth = 0.0;
    float timeStart = 0.0f, timeStop = 0.0f;
    float slowMin = 0.0f, slowMax = 0.0f;
    uint32_t normalize = 0;
    std::string slownessTitle;
    std::string colour;
    std::string type;
    std::string palette;
    std::string path, ext, title;

    void SetDefaults();
    bool operator==(const SemblanceMapSetupGroup&) const = default;
};

// Written by the X-Plot setup dialog at Run and Save Setup, read by the cross-plot
// window; indexed by the datum's position in its file's datum list. A file of more
// datums than kXPlotFlagCount is refused by the dialog.
struct XPlotDatumFlags {
    std::array<uint32_t, kXPlotFlagCount> listed{};
    std::array<uint32_t, kXPlotFlagCount> selected{};
    uint32_t datumCount = 0;

    void SetDefaults();
    bool operator==(const XPlotDatumFlags&) const = default;
};

struct XPlotSetupGroup {
    double topDepth = 0.0;
    double bottomDepth = 0.0;
    float freqMin = 0.0f, freqMax = 0.0f;
    float slowMin = 0.0f, slowMax = 0.0f;
    std::string slownessTitle;
    std::string path, title, ext;
    XPlotDatumFlags datums;

    void SetDefaults();
    bool operator==(const XPlotSetupGroup&) const = default;
};

// The plot subsystem defines the item. Items are held by shared_ptr because the
// type is incomplete here: the deleter is bound where an item is made, so clearing
// the list frees the items without this file knowing the class.
class CLogPlotItem;

struct PenText {
    std::string colour;
    std::string width;
    bool operator==(const PenText&) const = default;
};

struct LogSetupGroup {
    // Option states in store order.
    int16_t depthTrackOn = 0;  // depth column left of track 1
    int16_t depthTrackOff = 0; // depth column between tracks 1 and 2
    int16_t english = 0;
    int16_t metric = 0;
    int16_t spareState = 0;    // has no control; carried along unchanged
    int16_t backBlue = 0;
    int16_t backBeige = 0;
    int16_t backGray = 0;
    float depthScale = 0.0f;
    std::array<float, kTrackCount> trackWidth{}; // inches
    std::string loadPath, loadTitle, loadExt;
    std::string savePath, saveTitle, saveExt;
    std::string depthUnits; // "Feet"/"Meters", set just before a log is shown or printed
    std::string header;
    std::string browsePath;
    std::vector<std::shared_ptr<CLogPlotItem>> plotItems;
    std::array<PenText, 3> itemPens;

    void SetDefaults();
    bool operator==(const LogSetupGroup&) const = default;
};

// One input of the tool box: its datum selection, file names and depth range.
struct ToolInputSelection {
    int32_t itemCount = 0;
    std::array<uint32_t, kToolBoxFlagCount> listed{};
    std::array<uint32_t, kToolBoxFlagCount> selected{};
    std::string path, title, ext;
    double startDepth = 0.0, stopDepth = 0.0;
    bool operator==(const ToolInputSelection&) const = default;
};

struct UtilitiesSetupGroup {
    std::string taskName;
    uint16_t taskCode = 0; // 0 until Run first maps a task name
    ToolInputSelection primary;
    ToolInputSelection secondary;
    ToolInputSelection density;
    std::string outputPath, outputTitle, outputExt;
    double spliceDepth = 0.0;
    float factor = 0.0f;
    int16_t startSample = 0;
    int16_t stopSample = 0;
    int16_t decimation = 0;

    void SetDefaults();
    bool operator==(const UtilitiesSetupGroup&) const = default;
};

// ---- Dormant setups: no command of this edition opens their dialogs. Each group
// holds what its dialog would keep between runs; every value starts zero or empty.

struct DepthProfileSetupGroup {
    std::string domain, type, colour, palette;
    std::string slownessTitle;
    std::string inputPath, inputName, inputTitle, inputExt;
    std::string outputPath, outputName, outputExt, outputFolder;
    double topDepth = 0.0;
    float slowMin = 0.0f;
    double bottomDepth = 0.0;
    float slowMax = 0.0f;
    uint32_t normalize = 0;
    // The scale and the ranges of the other domains, which the profile window opens with.
    float depthScale = 0.0f;
    float timeStart = 0.0f, timeStop = 0.0f;
    float freqStart = 0.0f, freqStop = 0.0f;
    float azimMin = 0.0f, azimMax = 0.0f;

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
