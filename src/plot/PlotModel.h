// The data of a log plot: what the plot window derives from each plot item before it
// draws (display windows, depth ranges, curve pens), the data sets grouped by path
// and kept open while the plot lives, and the values of the previous and the next
// depth frame of every item, between which each device row is interpolated.
#pragma once

#include "dataset/FrameCursor.h"
#include "dataset/QtxFile.h"
#include "dataset/QtxLayout.h"
#include "platform/Geometry.h"
#include "plot/LogPlotItem.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

inline constexpr float kPlotAbsent = qtx::kAbsentValue; // curve and sample values: no data here

// What the plot derives from one item; rebuilt by every BuildPlot.
struct PlotItemView {
    std::shared_ptr<CLogPlotItem> item; // shared with the plot list: stays readable
    bool inUse = false;                  // enabled: plotted
    int domain = 0;
    int track = 0;
    bool curve = false;
    bool frequencyImage = false, slownessImage = false;
    // Limits; a waveform domain's in increasing order (the item's may be reversed).
    float left = 0, right = 0;
    // Display window of a waveform domain: sample (or bin) step, the window's start,
    // end and span on the axis, and its first and last sample (or bin) index.
    float step = 0, fullLength = 0, start = 0, end = 0, span = 0;
    int first = 0, last = 0, firstMark = 0;
    int fftSize = 0;
    float nyquist = 0;
    float limitSpan = 0, limitLeft = 0; // azimuth
    double plotStart = 0, plotStop = 0; // item depths with the shift
    int samples = 0;  // values read per frame (the datum's samples of one receiver)
    int padded = 0;   // values kept per frame: a power of two for time waveforms and spectra
    bool zeroFill = false;
    // Curves.
    Color lineColour = 0, shadeColour = 0;
    int penWidth = 2, lineStyle = 0, shadePattern = -1;
    bool shaded = false;
    // Where the values come from.
    int group = -1;
    bool datumFound = false;
    int64_t offset = 0; // bytes into the frame of this item's receiver
    CFrameCursor frames;
    double depthStep = 0; // the data set's, a magnitude
    // Shading against another curve: that curve's list index (-1: none).
    int partner = -1;
    float partnerValue = kPlotAbsent;
    bool partnerValid = false;
};

// One data set of the plot, open for reading while the plot lives.
class CPlotFileGroup {
public:
    explicit CPlotFileGroup(const std::string& path) : m_path(path) {}
    std::string m_path;
    CQtxDatumList m_datums;
    CQtxFile m_file;
    // The bytes of a frame that hold the group's items, read once per frame for all
    // of them when they lie close together.
    int64_t m_spanStart = 0, m_spanBytes = 0;
    bool m_readSpan = false;
    int m_spanFrame = -1; // the frame the span holds; -1 none
    std::vector<float> m_span;
};

class CPlotModel {
public:
    static constexpr int kMaxItems = 64;
    static constexpr int kMaxSamples = 8192; // values of one item per frame
    static constexpr int kTracks = 16;

    // Checks the list and derives every item's fields, opens each data set once and
    // reads its datum list. Returns 1 when the plot can be drawn, 0 when the quota is
    // exceeded, -1 when a track holds two waveform items, an item cannot be plotted
    // or a data set cannot be read (the reason was shown).
    int BuildPlot(const PlotItemList& items);
    // Reads, for every item in range at `depth`, its frame there into the next values;
    // an item whose datum is missing is never in range. Returns 1, or -1 when a frame
    // could not be read.
    int ReadFrames(double depth);
    void ShiftFrames(); // next values become the previous ones
    // Closes the data sets; the derived fields stay.
    void CloseFiles();
    // The data sets of the plot whose depths are in other units than the log's (in
    // feet for a log in metres, in metres for a log in feet), in the list's order.
    std::vector<std::string> DataSetsInOtherUnits(bool logInMetres) const;

    size_t Count() const { return m_views.size(); }
    const PlotItemView& View(size_t i) const { return m_views[i]; }
    PlotItemView& View(size_t i) { return m_views[i]; }
    float* Next(size_t i) { return m_values.data() + m_slot[i]; }
    float* Prev(size_t i) { return m_values.data() + m_slot[i] + size_t(m_views[i].padded); }
    const float* Next(size_t i) const { return m_values.data() + m_slot[i]; }
    const float* Prev(size_t i) const { return m_values.data() + m_slot[i] + size_t(m_views[i].padded); }
    bool InRange(size_t i) const { return m_inRange[i] != 0; }

    // The log: smallest plot start, largest plot stop, finest depth step.
    double m_dTopDepth = 50000.0;
    double m_dBottomDepth = 0.0;
    double m_dDepthStep = 50000.0;
    // Tracks: the highest in use, items and waveform items per track.
    int m_nTracks = 1;
    std::array<int, kTracks + 1> m_nItemsInTrack{};
    int m_nMaxItemsPerTrack = 0;
    bool m_bHasWaveHeader = false;
    std::array<bool, kTracks + 1> m_bImageTrack{};

private:
    bool Refuse(const CLogPlotItem& item, const std::string& reason); // false after the message
    // One item of the list into `v` (its item set); false when it cannot be plotted
    // (the reason was shown). CheckItem refuses the values no plot can draw.
    bool DescribeItem(PlotItemView& v);
    bool CheckItem(PlotItemView& v);
    void FindShadePartners();
    void CountTrackItems();
    void AllocateValueSlots(); // next and previous values of every item
    bool DeriveWindow(PlotItemView& v);
    bool OpenGroups();
    bool FindDatum(PlotItemView& v);
    void ReportMissingDatums() const; // says which items' datums their data sets lack
    void PlanSpans();
    bool ReadItem(size_t i, int frame);

    std::vector<PlotItemView> m_views;
    std::vector<std::unique_ptr<CPlotFileGroup>> m_groups;
    std::vector<float> m_values; // per item: next values, then previous ones
    std::vector<size_t> m_slot;
    std::vector<uint8_t> m_inRange;
};
