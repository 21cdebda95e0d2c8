// One entry of the log plot: which datum of which QTX data set is drawn, in which
// track, over which depths, between which limits and with which line, palette and
// shading. The plot list (LogSetupGroup::plotItems) holds items by shared_ptr: an
// open plot window keeps the items it shows alive after the list lets them go.
//
// Items copy as values: every field is stored data. What a plot window derives from
// an item while it draws lives beside the item, in the window.
#pragma once

#include "plot/PlotStyles.h"

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

// The data set an item reads, as it was when the item was set up.
struct PlotItemFile {
    std::string path, title, ext;
    double dataTop = 0.0, dataBottom = 0.0, depthStep = 0.0;
    uint32_t frameCount = 0;
    uint8_t logDirection = 0;
    bool operator==(const PlotItemFile&) const = default;
};

// The datum drawn: the data set's list of names it was chosen from, which one, and
// how its samples read.
struct PlotItemDatum {
    uint16_t domain = 0; // a PlotDomain
    std::string domainName;
    int16_t nameCount = 0;                               // 0..256
    std::array<std::string, kPlotNameCount> names;       // entries from the name count on are empty
    std::array<std::string, kPlotNameCount> units;       // not stored in command files
    std::array<uint8_t, kPlotNameCount> itemTypes{};     // entries from the name count on are 0
    int16_t current = 0;                                 // 0..name count - 1
    std::string currentName;
    std::string unitsName;
    uint8_t itemType = 0;
    int16_t sampleCount = 0;
    float sampleInterval = 0.0f;
    uint8_t slownessUnit = 0; // 2: uSec/ft, else uSec/m
    bool operator==(const PlotItemDatum&) const = default;
};

// Where it is drawn: track, depths and the values at the track's edges.
struct PlotItemScale {
    int16_t track = 0; // 1..16
    double startDepth = 0.0, stopDepth = 0.0, depthShift = 0.0;
    float leftLimit = 0.0f, rightLimit = 0.0f;
    uint16_t normalize = 0;
    float freqMax = 0.0f, freqMin = 0.0f;
    int32_t frequencyImage = 0;
    float slowMax = 0.0f, slowMin = 0.0f;
    int32_t slownessImage = 0;
    bool operator==(const PlotItemScale&) const = default;
};

// How it is drawn: a wave's style and palette, a curve's line. Each is stored by
// its text in command files (an empty text until chosen).
struct PlotItemStyle {
    StyleChoice<WaveStyle> waveStyle;
    StyleChoice<Palette> palette;
    StyleChoice<LineStyle> lineStyle;
    StyleChoice<LineWidth> lineWidth;
    StyleChoice<NamedColour> color;
    bool operator==(const PlotItemStyle&) const = default;
};

// A curve's shading: against nothing, a limit or another curve.
struct PlotItemShade {
    StyleChoice<NamedColour> color;
    StyleChoice<ShadePattern> pattern;
    int16_t off = 0, minLimit = 0, maxLimit = 0, curveLimit = 0; // one is 1
    int16_t curve = -1; // partner among the list's curve items; -1 none
    float min = 0.0f, max = 0.0f;
    bool operator==(const PlotItemShade&) const = default;
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
    std::string m_strName;
    std::string m_strReserved; // always empty
    PlotItemFile m_file;
    PlotItemDatum m_datum;
    PlotItemScale m_scale;
    PlotItemStyle m_style;
    PlotItemShade m_shade;

    bool operator==(const CLogPlotItem&) const = default;
};

using PlotItemList = std::vector<std::shared_ptr<CLogPlotItem>>;

// A list of fresh items equal to `list`'s, so that edits of the copy leave the
// original's items (and any window showing them) as they are.
PlotItemList DeepCopy(const PlotItemList& list);
