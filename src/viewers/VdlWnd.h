// The VDL view: one item of a QTX data set against depth. Each pixel row is a line of
// a variable-density image of the item's receivers side by side (or, in the
// Signature presentation, a wiggle every tenth row), on a time, frequency, slowness
// or azimuth axis; rows between two frames are interpolated.
//
// The view reads when it is prepared (it opens, moves, is sized or its display
// options change): the frames of the page are read in depth order and the rows are
// rendered into a cached image. A move alone keeps the rows still on the page, moved
// with it, and reads and renders only those it exposes: the rows lie on one pixel
// grid of the whole log, so that a kept row is the row a fresh render would draw.
// The paint only blits that image and writes the annotations. Split by concern: VdlWnd.cpp (loading, axes and zoom), VdlWndPaint.cpp
// (rendering and painting), VdlWndInput.cpp (scrolling, keys and read-outs).
#pragma once

#include "common/ParallelRows.h"
#include "dataset/FrameCursor.h"
#include "dataset/QtxFile.h"
#include "platform/Image.h"
#include "settings/VdlSetupGroup.h"
#include "viewers/ItemImage.h"
#include "viewers/ViewerWnd.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct ChosenDatum;

class CVdlWnd : public CViewerWnd {
public:
    using enum Palette;
    static constexpr int kColours = 32;
    static constexpr int kWigglePeriod = 10; // rows between two Signature wiggles

    // The colour (0xFFRRGGBB) of index 0..31 of a palette; an unknown code is Color.
    static uint32_t PaletteColour(int palette, int index);
    // The palette index of a normalised value: trunc(31 v) for v >= 0, else 0, at most
    // 31; -1 (a gap) for a value that is not a number.
    static int ColourIndex(float value);

    explicit CVdlWnd(const VdlSetupGroup& setup);
    ~CVdlWnd() override;

    // The VDL Setup's choices the view was opened with; zooms change its copy.
    const VdlSetupGroup& Setup() const { return m_setup; }
    // The item, its frames and its image (the receiver columns, Raster().rowsDrawn
    // rows; framesRead counts the last render's reads).
    const ItemImage& Item() const { return m_item; }

    // Loads the data set and the chosen item, then creates the window; false (with the
    // message shown) when nothing could be opened.
    bool Open(const std::string& windowClass);
    bool LoadData();

    // ---- handlers -----------------------------------------------------------------------
    void OnPaint(Dc& dc) override;
    void OnVScroll(int code, int pos) override;
    void OnHScroll(int code, int pos) override;
    void OnKeyDown(unsigned key, unsigned repeat, unsigned flags) override;
    void OnMouseMove(unsigned flags, Point p) override;
    // Takes the zoom requests (this view being the active one), the receivers and zoom
    // factors of its record and the client size; renders the image when any changed.
    void PrepareRepaint() override;
    // Reads the frames of the page and renders every row into the cached image afresh.
    // (A move alone renders only the rows it exposes; see PrepareRepaint.)
    void Render();

    // ---- what the view shows -------------------------------------------------------------
    // Depth order: position 0 is the top of the log (CFrameCursor).
    int FirstVisiblePosition() const { return m_item.frames.ScrollPositionOf(m_page.firstVisible); }
    double DepthOfPosition(int64_t position) const { return m_item.frames.DepthAtScrollPosition(position); }
    // The item's domain and sample counts.
    const auto& Samples() const { return m_samples; }
    // The horizontal axis of each receiver column.
    const auto& HorizontalAxis() const { return m_axis; }
    // The display range and the page of frames the image shows.
    const auto& Page() const { return m_page; }
    // Where the image goes, its rows and columns.
    const auto& Raster() const { return m_raster; }

private:
    // ---- the item -----------------------------------------------------------------------
    uint16_t m_datumNumber = 0;
    uint8_t m_unitCode = kUnitNone;
    bool m_instFrequency = false, m_instSlowness = false;
    struct ItemSamples {
        int16_t domain = kDomainTime;
        float step = 0;      // of one sample of the item
        int sampleCount = 0; // padded to a power of two in the time and frequency domains
        int samplesRead = 0; // as stored
        bool padded = false;
    };
    ItemSamples m_samples;
    std::string m_caption;
    std::vector<std::string> m_traceLabels;

    // ---- the horizontal axis of each receiver column ----------------------------------------
    struct Axis {
        float start = 0, stop = 0, span = 0;
        float step = 0;           // of one sample; one spectrum bin in the frequency domain
        int first = 0, last = 0;  // the displayed samples (bins)
        int spanSamples = 0;      // last - first
        int firstTick = 0;
        int scrollMax = 0;        // the scroll range is 0 .. scrollMax, the position `first`
    };
    Axis m_axis;
    // From the stored range of the view's domain: snapped to the sample grid and held
    // inside the samples the item has.
    void SetupAxis();
    // The window moved to the first displayed sample `position` (clamped).
    void ScrollAxis(int64_t position);
    // Zoom requests of the display options (+1 in, -1 out): false, after the message,
    // when the limit refuses it.
    bool ApplyDepthZoom(int request);
    bool ApplyAxisZoom(int request);

    // ---- frames ---------------------------------------------------------------------------
    struct PageSpan {
        // The display range in file order, and the first frame the image shows.
        int firstFrame = 0, lastFrame = 0;
        int firstVisible = 0;
        int framesPerPage = 1; // the frames a page of rows spans (Page Up and Down keep 40 of them)
        double depthPerPixel = 0;
    };
    PageSpan m_page;
    float m_mmPerUnit = 304.8f;
    float m_depthGrid = 5.0f;
    // Depth order: position 0 is the top of the log (CFrameCursor).
    int TopPosition() const;    // of the display range
    int BottomPosition() const; // of the display range, inside the log
    // The lowest first visible frame: the last page ends with the range.
    int64_t LowestFirstPosition() const;
    // Moves the first visible frame to `position` (depth order), held inside the
    // display range and so that the last page ends with it; then shows it.
    void MoveTo(int64_t position);

    // ---- layout and the rendered image ----------------------------------------------------
    int m_leftMargin = 35, m_topMargin = 25, m_gap = 5;
    float m_wiggleAmplitude = 0, m_wiggleFactor = 1;
    float m_gain = 1; // the time domain's amplitude zoom
    struct RasterLayout {
        int imageWidth = 0; // of one receiver column
        int rowsAvailable = 0, rowsDrawn = 0;
        Rect imageRect; // where the image goes in the client area
        double imageTopDepth = 0, imageBottomDepth = 0;
        // Shown receivers in display order.
        std::vector<int> columns;
        int readOutFrame = -1; // the frame under the mouse, read for the read-outs
    };
    RasterLayout m_raster;
    VdlSetupGroup m_setup;
    ItemImage m_item;
    bool SetUpItem(const ChosenDatum& datum);
    void Layout();
    void TakeReceivers();
    void SetScrollBars();
    void AfterVerticalMove();
    void ShowAxisStart();
    float& RangeStart();
    float& RangeStop();
    int FirstTick(float value, float span) const;
    // Rendering (VdlWndPaint.cpp).
    // Reads a frame of the item into `out` (receivers x m_samples.sampleCount, padded with 0);
    // a frame that cannot be read is a gap (every value NaN) and gives false. It shows
    // no message and may run on several threads at once; the caller reports a failure.
    bool ReadPadded(int frame, std::vector<float>& out) const;
    // Gives the frame at depth-order `position` the next slot of the page's frames (made
    // when missing); LoadFrame then reads it there (on any thread; false: a gap).
    int PlanFrame(int position);
    // Sizes slot `slot`'s frame (and with `spectra` its spectra) for the item, on the
    // thread that reads into it.
    void SizeSlot(int slot, bool spectra);
    bool LoadFrame(int slot);
    void MapColumns();
    // What one thread needs to render a row: the row's samples (then its spectrum) and
    // its squared amplitudes.
    struct RowScratch {
        std::vector<float> row, squares;
    };
    // Row `row` of receiver column `column`, `weight` of the way from the frame in
    // slot s0 to the one in s1.
    void RenderRow(int row, int column, int s0, int s1, float weight, RowScratch& scratch);
    // The row's samples (or bins) for that column and the factor its values take.
    const float* RowValues(int column, int s0, int s1, float weight, float& factor, RowScratch& scratch);
    // Signature: the wiggle of receiver column x0's held values on row `row`.
    void LayOutWiggle(int row, int x0, const float* values);
    // Scales a row of frequency or slowness curve values (displayed samples up to `hi`)
    // to 0 .. 1 between the range's ends.
    void ScaleCurveRow(float* v, int hi);
    // Where the image's rows lie between the frames of the page.
    struct RowGrid {
        int first = 0, end = 0; // the first visible and the last position of the range
        bool single = false;    // one frame, or no depth step: row 0 alone
        // Anchored: row r is pixel row anchor + r of the whole log, at frame place
        // (anchor + r) x framesPerRow, whatever the page.
        bool anchored = false;
        double anchor = 0, framesPerRow = 0;
        double topDepth = 0; // of row 0
    };
    RowGrid m_grid; // of the image
    bool m_readFailed = false;
    RowGrid RowGridNow() const;
    // The place of row `row` between frames in depth order (not a number, or past the
    // range's end, where there is none).
    double RowPlace(const RowGrid& g, int row) const;
    double RowDepth(int row) const;
    int CountRows(const RowGrid& g) const;
    // Renders rows begin .. end - 1 of m_grid.
    void RenderRows(int begin, int end);
    // The move of the first visible frame alone: the kept rows move, the exposed ones
    // are rendered; false when the image must be rendered afresh.
    bool RenderMoved();
    // The annotations and the image's place, once its rows are drawn.
    void FinishRows();
    // Lays out the depth label `next` when it falls within a pixel of the row, and
    // moves `next` on to the grid value after the row.
    void LabelDepth(int row, double depth, double& next, int& lastLabelY);
    void LayOutAnnotations();
    // Read-outs (VdlWndInput.cpp).
    bool ReadOutFrame(int frame);
    float InstantaneousFrequency(int receiver, float time);

    // The frames the rows being rendered lie between (receivers x m_samples.sampleCount,
    // padded with 0), each read by the first row band that needs it (m_frameReady), and
    // the depth-order position in each slot; the slots are kept for the next render.
    std::vector<std::vector<float>> m_frame;
    std::vector<int> m_framePosition;
    int m_framesLoaded = 0;
    // By row being rendered: the slots of the two frames it lies between and the
    // second's weight.
    struct RowFrames {
        int s0 = 0, s1 = 0;
        float weight = 0;
    };
    std::vector<RowFrames> m_rowFrames;
    std::vector<RowScratch> m_scratch; // by thread
    // In the frequency domain, each frame's spectra for the shown receivers, taken by
    // the band that reads the frame (m_frameReady): a row between two frames
    // blends their spectra (the transform is linear), so each frame is transformed
    // once, not each row. Per receiver:
    // bins 0 .. n/2 as (re, im) of the trace divided by its largest magnitude, that
    // magnitude, and whether the trace has a value that is no number (no spectrum).
    struct FrameSpectra {
        std::vector<float> bins;
        std::vector<float> largest;
        std::vector<uint8_t> gap;
    };
    std::vector<FrameSpectra> m_spectra; // by slot of m_frame
    parallel_rows::OnceEach m_frameReady; // by slot: read (and its spectra taken)
    bool BlendsSpectra() const;
    // A frame's spectra in two steps: its traces' largest magnitudes, gaps and scaling,
    // then their transforms.
    void ScaleForSpectra(int slot);
    void TakeSpectra(int slot);
    // The row's amplitude spectrum of receiver `receiver` into `bins` (0 .. n/2,
    // divided by its largest bin, as AmplitudeSpectrum gives it).
    void BlendSpectra(int s0, int s1, int receiver, float weight, float* bins, float* squares);
    std::vector<float> m_readOut; // the frame under the mouse
    std::vector<float> m_values;  // per pixel column (the Signature's wiggles)
    std::array<uint32_t, kColours + 1> m_colourTable{}; // by palette index + 1; 0: a gap
    // By pixel column of a receiver: the samples it lies between (i0 and i0 + 1, held
    // to the row's last) and how far from i0.
    struct ColumnMap {
        std::vector<int> i0, i1;
        std::vector<float> frac;
    };
    ColumnMap m_columns;
    // What the image was rendered for; a render is due when any of it changes.
    struct RenderKey {
        int width = -1, height = -1, firstVisible = -1, first = -1, last = -1, vertRes = 0, vertSize = 0;
        float start = 0, span = 0, scale = 0, gain = 0;
        std::array<bool, kSlots> shown{};
        bool operator==(const RenderKey&) const = default;
    };
    RenderKey KeyNow() const;
    RenderKey m_rendered;
    // Annotations, laid out by the render and written by the paint.
    struct Label {
        int x = 0, y = 0;
        std::string text;
    };
    std::vector<Label> m_depthLabels;
    int m_depthLabelCount = 0;
    std::vector<Label> m_tickLabels;
    int m_tickCount = 0;
    std::vector<int> m_tickLines; // x of each dotted line
};
