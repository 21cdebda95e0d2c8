// The log drawn one device row at a time, on screen and on paper alike: the walk
// from frame to frame down the log, and for each row its depth line, the row of
// every waveform item and the shading stroke of every shaded curve; at each frame
// reached, the next point of every curve.
//
// The walk draws into a band (the rows of one window or one printed page) that the
// painters then put on the device: waveform and image rows go into one image per
// track, filled row by row and blitted once; curves, strokes and depth lines are
// kept as lists. A band reads nothing and a paint of it draws only what it holds.
#pragma once

#include "platform/Geometry.h"
#include "platform/Image.h"
#include "plot/PlotLayout.h"
#include "plot/PlotPalette.h"

#include <cstdint>
#include <vector>

class CPlotModel;
struct PlotItemView;

// Where each pixel column of an image row falls among an item's samples (see MapColumns).
struct ColumnMap {
    std::vector<int> i0, i1; // i1: the next sample, or i0 itself at the end
    std::vector<float> frac;
};

struct PlotBand {
    int rows = 0; // rows drawn, from 0
    int top = 0;  // device y of row 0
    // A screen band kept across scroll steps (CPlotRowCache) holds more rows than it
    // shows and walks in pieces: every curve point that does not join the one before
    // has its break, the wiggle and pattern spacing counts from the log's first row
    // (`rowBase` is the log's row of band row 0), raster rows are drawn only in
    // drawFrom..drawTo-1, and the paint shows `shown` rows from `imageTop`. A printed
    // page keeps the defaults Reset gives.
    bool windowed = false;
    int64_t rowBase = 0;
    int drawFrom = 0, drawTo = INT32_MAX;
    int imageTop = 0, shown = 0;
    struct Raster {
        int item = 0, track = 0;
        int x = 0; // device x of column 0: one image column per device column
        Image image;
        uint32_t levels[32] = {}; // the item's colour scale as pixels
        bool colours = false;     // the item's palette is one of the four
        bool signature = false;   // drawn as a line, not coloured
        ColumnMap columns;        // the item's samples by pixel column
    };
    std::vector<Raster> rasters;
    // kind: 0 a major line (number, doubled black), 1 medium (number, light gray),
    // 2 minor (gray), 3 any other numbered depth (grid colour, no number).
    struct DepthLine {
        int row;
        float depth;
        int kind;
    };
    std::vector<DepthLine> depthLines;
    struct Stroke {
        int row, x0, x1;
        Color colour;
    };
    std::vector<Stroke> strokes;
    struct Pattern {
        int row, x0, x1, pattern;
    };
    std::vector<Pattern> patterns;
    // Curve polylines by item: points (x, row), kBreak between unbroken stretches.
    static constexpr Point kBreak{-1, -1};
    std::vector<std::vector<Point>> curves;
    std::vector<int> frameRows; // rows where a frame was reached

    // Empties the band for `capacity` rows, keeping its memory: a white image of the
    // inner width of every track that holds a waveform item, a pixel per device pixel
    // on screen and on paper.
    void Reset(const CPlotModel& model, const PlotLayout& layout, int capacity, Color colorLevelZero);
};

// ---- the arithmetic of one row (exposed for tests) ---------------------------------
// Range of NormalizeRow: a fixed range, or the row's own range held within bounds.
struct RowRange {
    enum Mode { None, Fixed, Auto } mode = None;
    float low = 0, high = 0;
};
// The largest of entries first..last (not below 0).
float LargestOf(const float* v, int first, int last);
// Scales entries first..last of v (both included; first <= last < the row's size) to
// 0..1 and returns the largest value before scaling; a row whose largest value is
// not above 0 becomes 0. A range of no width leaves every value 0.
float NormalizeRow(float* v, int first, int last, int size, const RowRange& range);
// The level 0..31 of a value scaled to 0..1; anything else (NaN too) is held to it.
inline int ColourLevel(float value)
{
    const float held = value > 0.0f ? (value < 1.0f ? value : 1.0f) : 0.0f;
    return int(held * float(kScaleLevels - 1));
}
// Where each of n pixel columns falls among the samples (of spacing `step`): column k
// at axis position start + k x span / n, between samples i0 and i0 + 1, `frac` of the
// way; indices are held to 0..maxIndex, and a span of no width repeats the first
// sample. The same for every row of an item, so it is worked out once.
void MapColumns(int maxIndex, float start, float step, float span, int n, ColumnMap& map);
// One value per column of `map`, interpolated between the samples it brackets.
void ResampleRow(const float* v, const ColumnMap& map, float* out);
// The row resampled by `map`, times `scale`, as the pixels of colour scale `levels`.
void ColourRow(const float* v, const ColumnMap& map, float scale, const uint32_t* levels, uint32_t* pixels);
// The magnitudes of the spectrum of v (n values, n a power of two up to 8192) into
// v[0..n/2], divided by the largest.
void SpectrumRow(float* v, int n);

class CPlotRowWalk {
public:
    struct Settings {
        double depthPerRow = 1.0;
        DepthGrid grid;
        Color colorLevelZero = 0;
        int wiggleSpacing = kWiggleSpacingRows; // rows from one Signature wiggle to the next
    };
    // A Signature wiggle every tenth of an inch: ten rows on a screen of 96 rows per inch.
    static constexpr int kWiggleSpacingRows = 10;
    static constexpr double kWigglesPerInch = 10.0;
    static int WiggleSpacingFor(int rowsPerInch);
    // Pixels a value of 1 lifts a wiggle, as a fraction of the spacing: values of 0..1
    // rise up to 0.9 of it, signed time waveforms swing 0.45 of it either way, so that
    // neighbouring wiggles never touch.
    static constexpr float kWiggleLift = 0.9f;
    static float WiggleGain(const PlotItemView& v, int spacing);
    enum class End { Rows, Bottom, ReadFailed };

    CPlotRowWalk(CPlotModel& model, const PlotLayout& layout) : m_model(model), m_layout(layout) {}

    // Reads the frame at `depth` as both the previous and the next one and starts the
    // walk there: every curve begins a new line. -1 when the frame could not be read.
    int Start(double depth, const Settings& settings);
    // The same on the log's own grid: rows at origin + n x depthPerRow and frames at
    // origin + k x the log's step, each depth worked out from its index, so that a walk
    // started anywhere draws a row as any other walk through it does, once it has
    // passed a frame or two (a screen cache relies on it). Starts at row `row` (>= 0)
    // with the frame at or above it.
    int StartAt(int64_t row, double origin, const Settings& settings);
    int64_t RowIndex() const { return m_rowIndex; }
    // Draws rows into `band` until it holds `rowLimit` rows or the log ends.
    End Walk(PlotBand& band, int rowLimit);
    // The next rows start a page: curves and shading restart at the next frame.
    void NewPage() { m_newPage = true; }
    double FrameDepth() const { return m_frameDepth; }
    double RowDepth() const { return m_rowDepth; }
    float NextDepthLabel() const { return m_nextLabel; }

private:
    void CurvePoints(PlotBand& band);
    void DepthRow(PlotBand& band);
    void WaveRows(PlotBand& band);
    void CurveShading(PlotBand& band);
    void InterpolateRow(size_t item);
    float InterpolatePartner(const PlotItemView& v);
    bool AdvanceFrame(); // true when held at the log's last frame
    double BottomSlack() const;

    CPlotModel& m_model;
    const PlotLayout& m_layout;
    Settings m_settings;
    double m_frameDepth = 0, m_rowDepth = 0;
    // On the log's grid (StartAt): the indices the depths are worked out from.
    bool m_anchored = false;
    double m_origin = 0;
    int64_t m_rowIndex = 0, m_frameIndex = 0;
    int m_rowsSinceFrame = 0;
    float m_nextLabel = 0;
    bool m_newPage = true;
    std::vector<uint8_t> m_curveState;
    std::vector<float> m_row;       // one item's values at the row
    std::vector<float> m_columns;   // one value per pixel column
};
