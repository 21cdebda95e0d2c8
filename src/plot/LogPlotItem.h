// One entry of the log plot: which datum of which QTX data set is drawn, in which
// track, over which depths, between which limits and with which line, palette and
// shading. The plot list (LogSetupGroup::plotItems) holds items by shared_ptr: an
// open plot window keeps the items it shows alive after the list lets them go.
//
// Items copy as values: every field is stored data. What a plot window derives from
// an item while it draws lives beside the item, in the window.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

inline constexpr int kPlotNameCount = 256; // entries of the name, unit and type arrays
inline constexpr int kPlotTrackCount = 16;

// Domain codes of an item's datum.
enum PlotDomain : uint16_t {
    kPlotTime = 1,
    kPlotFrequency = 2,
    kPlotSlowness = 3,
    kPlotAzimuth = 4,
    kPlotCurve = 6,
};

class CLogPlotItem {
public:
    // Every member keeps its zero or empty value except the fourteen given here.
    CLogPlotItem(const std::string& name, const std::string& filePath, const std::string& fileTitle,
                 const std::string& fileExt, double dataTop, double dataBottom, double depthStep, double startDepth,
                 double stopDepth, double depthShift, int16_t track, float leftLimit, float rightLimit,
                 int32_t enabled);
    CLogPlotItem() = default;

    // What Add hands to the Log Item Setup dialog for a new item.
    static CLogPlotItem NewItemDefaults();

    int32_t m_bEnabled = 0; // listed under "Enabled" and plotted
    uint16_t m_nDomain = 0;
    int16_t m_nTrack = 0;        // 1..16
    int16_t m_nCurrentName = 0;  // 0..name count - 1
    int16_t m_nNameCount = 0;    // 0..256
    int16_t m_nSampleCount = 0;
    uint16_t m_bNormalize = 0;
    std::array<std::string, kPlotNameCount> m_strNames;  // entries from the name count on are empty
    std::array<std::string, kPlotNameCount> m_strUnits;  // not stored in command files
    std::array<uint8_t, kPlotNameCount> m_byItemTypes{}; // entries from the name count on are 0
    uint32_t m_nFrameCount = 0;
    uint8_t m_byLogDirection = 0;
    uint8_t m_byItemType = 0;
    uint8_t m_bySlownessUnit = 0; // 2: uSec/ft, else uSec/m
    float m_fSampleInterval = 0.0f;
    float m_fLeftLimit = 0.0f, m_fRightLimit = 0.0f;
    float m_fFreqMax = 0.0f, m_fFreqMin = 0.0f;
    int32_t m_bFrequencyImage = 0;
    float m_fSlowMax = 0.0f, m_fSlowMin = 0.0f;
    int32_t m_bSlownessImage = 0;
    double m_dStartDepth = 0.0, m_dStopDepth = 0.0, m_dDepthShift = 0.0;
    double m_dDataTop = 0.0, m_dDataBottom = 0.0, m_dDepthStep = 0.0;
    std::string m_strReserved; // always empty
    std::string m_strUnitsName;
    std::string m_strName;
    std::string m_strCurrentName;
    std::string m_strWaveStyle;
    std::string m_strDomain;
    std::string m_strPalette;
    std::string m_strLineStyle;
    std::string m_strLineWidth;
    std::string m_strColor;
    std::string m_strShadeColor;
    std::string m_strShadePattern;
    int16_t m_nShadeOff = 0, m_nShadeMinLimit = 0, m_nShadeMaxLimit = 0, m_nShadeCurveLimit = 0; // one is 1
    int16_t m_nShadeCurve = -1; // partner among the list's curve items; -1 none
    float m_fShadeMin = 0.0f, m_fShadeMax = 0.0f;
    std::string m_strFilePath;
    std::string m_strFileTitle;
    std::string m_strFileExt;

    bool operator==(const CLogPlotItem&) const = default;
};

using PlotItemList = std::vector<std::shared_ptr<CLogPlotItem>>;

// A list of fresh items equal to `list`'s, so that edits of the copy leave the
// original's items (and any window showing them) as they are.
PlotItemList DeepCopy(const PlotItemList& list);
