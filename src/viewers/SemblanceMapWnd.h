// The semblance map view: one semblance map of a QTX data set (semblance against
// slowness and time, stored once per depth frame) as an image, slowness left to
// right, time from the latest at the top to the earliest at the bottom; or, in the
// Signature presentation, a wiggle every second pixel row. The user scrolls through
// the frames, pans and zooms the slowness window and reads slowness, time and
// semblance under the mouse.
//
// The map of the current frame is read in one piece when the view opens and when it
// moves to another frame, into storage sized to the map. Its rows are rendered into
// a cached image when the view is prepared; the paint blits that image and writes
// the annotations. Split by concern: SemblanceMapWnd.cpp (loading, windows and zoom),
// SemblanceMapWndPaint.cpp (rendering and painting), SemblanceMapWndInput.cpp
// (scrolling, keys and read-outs).
#pragma once

#include "dataset/FrameCursor.h"
#include "dataset/QtxFile.h"
#include "platform/Image.h"
#include "settings/SemblanceMapSetupGroup.h"
#include "viewers/ItemImage.h"
#include "viewers/ViewerWnd.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct ChosenDatum;

class CSemblanceMapWnd : public CViewerWnd {
public:
    using enum Palette;
    static constexpr int kColours = 32;
    // Signature wiggles, spaced as the VDL view's: one every kWigglePeriod pixel rows,
    // a normalised semblance of 1 lifting it 0.9 of that above its row, so that each
    // wiggle stands clear of the next.
    static constexpr int kWigglePeriod = 10;
    static constexpr float kWiggleGain = 0.9f * float(kWigglePeriod);

    // The colour (0xFFRRGGBB) of index 0..31 of a palette; an unknown code is Color.
    static uint32_t PaletteColour(int palette, int index);

    explicit CSemblanceMapWnd(const SemblanceMapSetupGroup& setup);
    ~CSemblanceMapWnd() override;

    // The Map Setup's choices the view was opened with; the windows it fits change its copy.
    const SemblanceMapSetupGroup& Setup() const { return m_setup; }
    // The map, its frames and its image (VDL: one pixel row per row of the map rectangle).
    const ItemImage& Item() const { return m_item; }

    // Loads the data set and the chosen map, then creates the window; false (with the
    // message shown) when nothing could be opened.
    bool Open(const std::string& windowClass);
    int Load();

    // ---- handlers -----------------------------------------------------------------------
    void OnPaint(Dc& dc) override;
    void OnVScroll(int code, int pos) override;
    void OnHScroll(int code, int pos) override;
    void OnKeyDown(unsigned key, unsigned repeat, unsigned flags) override;
    void OnMouseMove(unsigned flags, Point p) override;
    // Takes the zoom request (this view being the active one), the pen and background
    // and the client size; renders the image when any of them or the frame changed.
    void PrepareRepaint() override;
    void Render();

    // Moves to frame `frame` and reads its map; false (after the message of the first
    // failure) when it could not be read: the map is then a gap.
    bool ReadFrameAt(int frame);

    // ---- what the view shows ------------------------------------------------------------------
    const auto& Samples() const { return m_samples; }
    // The shown part of each axis.
    const auto& TimeWindow() const { return m_time; }
    const auto& SlownessWindow() const { return m_slowness; }
    const Rect& MapRect() const { return m_mapRect; }
    // The axes' ticks and labels, laid out by the render.
    const auto& Marks() const { return m_marks; }

private:
    // ---- the map ---------------------------------------------------------------------------
    struct MapSamples {
        int ns = 0, fs = 0; // slowness samples and the index of the first
        float ds = 0;
        int nt = 0, ft = 0; // time samples and the index of the first
        float dt = 0;
        // The current frame's map: row j holds time sample j, ns values.
        std::vector<float> values;
        // Per row: 1 / its largest value, or 1 when none is positive (the profile's
        // normalisation).
        std::vector<double> rowScale;
        bool read = false; // whether the current frame's map could be read
    };
    MapSamples m_samples;
    std::string m_timeUnit = " [mSec]";
    std::string m_title;
    // The map's value at slowness column `k` and time row `j` (both clamped).
    float MapAt(int k, int j) const;

    // ---- the windows -----------------------------------------------------------------------
    // The shown part of an axis: samples first to last (indices of the whole axis,
    // the map's first index included); start = first x step, stop = last x step,
    // span = stop - start - step. Grid values from firstGrid on, a tick every
    // tickStep and a label every labelStep.
    struct Window {
        double start = 0, stop = 0, span = 0;
        int first = 0, last = 0;
        int firstGrid = 0;
        int tickStep = 0, labelStep = 0;
    };
    Window m_time, m_slowness;
    int m_slownessScrollMin = 0, m_slownessScrollMax = 0;
    // The asked window raised to the sample grid and held inside the map, at least one
    // step wide.
    void FitTimeWindow(double start, double stop);
    void FitSlownessWindow(double start, double stop);
    // Pans the slowness window to first index `index` (clamped to the scroll range).
    void ScrollSlowness(int64_t index);
    // A data-axis zoom request (+1 in, -1 out): false, after the message, when the
    // limit refuses it.
    bool ApplyZoom(int request);

    // ---- frames ------------------------------------------------------------------------------
    // Reads the current frame's map; false (after the message of the first failure)
    // when it could not be read: the map is then a gap.
    bool ReadFrame();

    // ---- layout and the rendered image -------------------------------------------------------
    static constexpr int kMargin = 5, kHeader = 30, kLabelBand = 35, kBottomBand = 34, kTick = 5;
    Rect m_mapRect;
    struct Label {
        int at = 0; // y of a time label, x of a slowness label
        std::string text;
    };
    struct AxisMarks {
        std::vector<int> timeTicks, slownessTicks; // y, x of every tick
        std::vector<Label> timeLabels, slownessLabels;
    };
    AxisMarks m_marks;

    // The samples (time x slowness) a view holds: the most a map may have.
    static constexpr int64_t kMaxMapSamples = int64_t(2048) * 16384;
    SemblanceMapSetupGroup m_setup;
    ItemImage m_item;
    bool SetUpMap(const ChosenDatum& datum);
    void Layout();
    void SetScrollBars();
    void OnFramesMoved(int previousFrame) override;
    void MapColumns();
    // What one thread's rows work in: the rows of a band share their map rows.
    struct RowScratch {
        std::vector<float> profile; // by slowness sample of the map
        std::array<std::vector<float>, 2> rowCache;
        std::array<int, 2> cachedRow{-1, -1};
        std::vector<int8_t> clearLevel; // by sample: its level when clear of the others, else -1
    };
    std::vector<RowScratch> m_scratch; // by worker
    // The interpolated, normalised profile at time `time`, over the window's samples.
    const float* Profile(double time, RowScratch& scratch) const;
    // The normalised row j, kept with row `keep` (the other row of the profile).
    const float* NormalisedRow(int j, int keep, RowScratch& scratch) const;
    // Column c's value of a profile, between the samples around it.
    float ColumnValue(const float* profile, int c) const;
    void LayOutAnnotations();
    void PaintMap(Dc& dc);
    void PaintTimeAxis(Dc& dc);
    void PaintSlownessAxis(Dc& dc);
    void PaintTitles(Dc& dc);

    struct Column {
        int i0 = 0, i1 = 0; // the samples it lies between: i0 and i0 + 1 (clamped)
        float frac = 0;     // and how far from i0
    };
    std::vector<Column> m_columns;
    // The same columns as runs between one pair of samples, and each column's
    // fraction on its own: a run's two samples are fetched once per pixel row.
    struct Run {
        int begin = 0, end = 0; // columns begin..end - 1
        int i0 = 0, i1 = 0;
        float firstFraction = 0, lastFraction = 0; // of columns begin and end - 1
    };
    std::vector<Run> m_runs;
    std::vector<float> m_fractions;
    void RenderRow(const float* profile, uint32_t* pixels, RowScratch& scratch) const;
    std::vector<uint32_t> m_colourTable; // by palette index + 1; 0: a gap
    // What the image was rendered for; a render is due when any of it changes.
    struct RenderKey {
        int width = -1, height = -1, framesRead = -1;
        double timeStart = 0, timeStop = 0, slownessStart = 0, slownessSpan = 0;
        Color pen = 0, background = 0;
        bool operator==(const RenderKey&) const = default;
    };
    RenderKey KeyNow() const;
    RenderKey m_rendered;
};
