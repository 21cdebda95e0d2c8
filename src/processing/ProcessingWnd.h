// What the processing windows (the depth profile, the Kalman window built on it, and
// the time-frequency profile) share beyond every viewer: opening the data set and the
// one datum they show, read frame by frame into receiver slots; the profile range and
// the top of the page in depth order, with scrolling by lines, pages, keys and thumb;
// the layout of tracks side by side; the depth scale and its zoom limits; the three
// colour palettes; the page's rows rendered, kept while the page moves, and painted
// (ProcessingWndPage.cpp); the clicks, the selection and the runs' progress; the
// profile saved with its history lines (ProcessingWndSave.cpp) and the save questions
// on closing; the status-bar read-outs; and the pens of the tracked curve.
//
// Reading happens when the window is prepared (PrepareRepaint) or acted on, never in
// the paint.
#pragma once

#include "common/ParallelRows.h"
#include "dataset/FrameCursor.h"
#include "dataset/ItemTypes.h"
#include "dataset/QtxFile.h"
#include "dataset/QtxLayout.h"
#include "platform/Image.h"
#include "processing/ProfileSearch.h"
#include "settings/WaveStyle.h"
#include "viewers/Palettes.h"
#include "viewers/ViewerWnd.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CProgressDlg;
struct ChosenDatum;

class CProcessingWnd : public CViewerWnd {
public:
    using enum Palette;
    static constexpr int kColours = 32;

    // The colour (0xFFRRGGBB) of index 0..31 of the Color, Grey or Anisotropy palette; `interval` gives the
    // darker set for rows inside a selected interval (the grey palette has none and
    // keeps its own). Any other palette draws in grey.
    static uint32_t PaletteColour(int palette, int index, bool interval = false);
    // int(31 v) for a value of 0 .. 1, 0 below, 31 above; -1 (a gap) for NaN.
    static int ColourIndex(float value)
    {
        if (std::isnan(value)) return -1;
        if (!(value > 0)) return 0;
        return value >= 1.0f ? kColours - 1 : std::min(int(value * float(kColours - 1)), kColours - 1);
    }

    // What the creator gives every processing window before it opens: the files, the
    // presentation and the depth scale (which the depth zoom changes).
    struct CommonSetup {
        std::string path;       // input data set
        std::string outputPath; // what saving writes
        WaveStyle style = WaveStyle::kVdl; // kSignature draws wiggles
        Palette palette = Palette::kPaletteColor;
        float depthScale = 480; // n of 1:n
        float depthLabelStep = 10;
        float gain = 20;        // wiggle height of a value of 1, pixels
    };
    // The page: the layout of the tracks side by side and the rows rendered.
    struct PageLayout {
        int leftMargin = 35, margin = 5, gap = 5, topMargin = 25, inset = 15, fontHeight = 12;
        int clientWidth = 0, clientHeight = 0;
        int trackWidth = 0;     // 0: nothing is drawn
        int pageRows = 0;
        double depthPerPixel = 0;
        std::vector<int> tracks; // shown traces, in trace order
        Rect plotRect;          // every mouse action lies inside it
        int topPosition = 0;    // the frame of the first image row, as a scroll position
        int framesPerPage = 1;
        int rowsDrawn = 0;      // rows of the image
        double pageTopDepth = 0, pageBottomDepth = 0;
        int lastPosition = 0;   // the deepest frame drawn, as a scroll position
        int framesRead = 0;     // by the last render
    };
    // The profile range as scroll positions of the frames (depth order), both ends
    // shown, and their depths.
    struct ProfileRange {
        int top = 0, bottom = 0;
        double start = 0, end = 0;
        int firstFrame = 0, lastFrame = 0; // in file order
    };
    // A selected depth interval: Ctrl+click starts it, a second one completes it, a
    // third drops it; the axis values clicked are kept with its ends.
    struct Selection {
        bool started = false, complete = false;
        double top = 0, bottom = 0;
        float topValue = 0, bottomValue = 0;
    };

    // ---- what the creator, commands and tests read -------------------------------------------
    CommonSetup& Common() { return m_common; }
    const PageLayout& Page() const { return m_page; }
    const ProfileRange& Range() const { return m_range; }
    const Selection& Selected() const { return m_selection; }
    // The tracks' rows as the last render left them.
    const Image& PageImage() const { return m_image; }
    const CFrameCursor& Frames() const { return m_frames; }
    CQtxFile& File() { return m_file; }
    // Samples per trace the window uses (the stored ones padded).
    int Samples() const { return m_n; }
    bool EditMode() const { return m_editMode; }
    double DepthOfPosition(int64_t position) const { return m_frames.DepthAtScrollPosition(position); }
    int TrackLeft(int track) const { return m_page.leftMargin + track * (m_page.trackWidth + m_page.gap); }
    size_t SlotFloats() const { return size_t(kSlots) * size_t(m_n); }
    // Reads frame `frame` of the datum into `slots` (kSlots x Samples(), trace t into the
    // slot of its receiver, padded with 0). A frame that cannot be read fills every
    // slot with NaN (a gap) and gives false.
    bool ReadFrame(int frame, std::vector<float>& slots);
    // ReadFrame's work without its message, for any thread: `buffer` is the caller's
    // scratch (traces stored out of their slots' order pass through it), and
    // `fileFailed` is set when the file refused the read, for the caller to report on
    // its own thread (a frame of no traces gives false without it). Without
    // `clearUnfilled` the slots no trace fills keep what they held.
    bool ReadFrameInto(int frame, std::vector<float>& slots, std::vector<float>& buffer, bool& fileFailed,
                       bool clearUnfilled = true) const;
    // Writes the profile of the range at the output path; 1, or 0 after the message of
    // what stopped it.
    virtual int SaveProfile() = 0;

    // ---- handlers -----------------------------------------------------------------------------------
    void OnVScroll(int code, int pos) override;
    void OnKeyDown(unsigned key, unsigned repeat, unsigned flags) override;
    // The point's read-outs in the status bar, the cursor by the edit mode.
    void OnMouseMove(unsigned flags, Point p) override;
    // A double click searches from the point; with Shift it invalidates.
    void OnLButtonDblClk(unsigned flags, Point p) override;
    // Closing asks whether to save when the profile option is on; the close box always asks.
    void OnClose() override;
    void OnSysCommand(unsigned id) override;
    // Shift+click enters or leaves the edit mode, a click in it edits, Ctrl+click
    // steps the selection, any other click shows the point's read-outs.
    void OnLButtonDown(unsigned flags, Point p) override;
    // The right button enters the edit mode, or leaves it keeping the edits.
    void OnRButtonDown(unsigned flags, Point p) override;

protected:
    CProcessingWnd();

    static constexpr float kAbsent = kProfileAbsent;
    static constexpr int kRowDecimation = 10; // rows between two drawn rows of other styles

    CommonSetup m_common;
    PageLayout m_page;
    ProfileRange m_range;
    Selection m_selection;

    // ---- the data set and the datum ------------------------------------------------------------
    CQtxFile m_file;
    CFrameCursor m_frames;
    uint32_t m_offset = 0;    // of the datum in a frame, bytes
    uint8_t m_typeCode = 0;
    std::string m_mnemonic;
    float m_step = 0;         // of one sample
    int m_n = 0;              // samples per trace the window uses
    int m_samplesInFile = 0;  // samples per trace stored; the rest up to m_n read as 0
    std::array<float, kSlots> m_receiverOffset{}; // inches from receiver 1, by slot
    int m_stepPerKey = 1;     // frames a line moves
    float m_mmPerUnit = 304.8f;
    std::string m_caption, m_axisTitle;
    std::vector<std::string> m_traceLabels;

    // ---- the page ----------------------------------------------------------------------------
    // The frames of the range in file order.
    int RangeFirstFrame() const { return m_range.firstFrame; }
    int RangeLastFrame() const { return m_range.lastFrame; }
    // The deepest top position whose page still lies inside the profile range.
    int LastTopPosition() const;
    // Moves the top of the page to `position`, held inside the range and so that the
    // page fits it; then shows the top depth in pane 1, sets the scroll bar and repaints.
    void MoveTop(int64_t position);
    // The index into the tracks of the track whose data lies under x, and how far into
    // it; -1 over a gap, the margin or with no track.
    int TrackAt(int x, int& within) const;

    // ---- zoom ---------------------------------------------------------------------------------------
    // The depth scale halves (+1) or doubles (-1) within 100 .. 1000; false after the
    // limit's message.
    bool ApplyDepthZoom(int request);
    // A domain window's width times 0.75 (+1) or 1.25 (-1): `width` becomes it unless it
    // passes the limit (the limits themselves are accepted), which shows `message`.
    static bool ZoomWidth(int request, double& width, double inLimit, double outLimit, const char* message);

    // ---- rendering ------------------------------------------------------------------------------
    Image m_image;        // the tracks' rows, m_page.rowsDrawn rows

    // ---- saving ----------------------------------------------------------------------------------
    bool m_savedOnce = false; // this window wrote its output: no second replace question
    // Appends this profile's lines to the history copy from position `p`; returns the
    // new end, or -1 when the input could not be read again after editing its history.
    int AppendHistory(int p);
    // The history dialog on the input, then the input read again; the history's end
    // position, or -1 when the input could not be read again.
    int EditHistory();
    char m_history[qtx::kHistorySize] = {};
    // The last non-blank character of the history copy, plus one; 1 when all are blank.
    int HistoryEnd() const;

    // Ends the edit mode, keeping (`keep`) or dropping what was drawn.
    virtual void LeaveEditMode(bool keep) = 0;
    bool m_editMode = false;
    // The search (or, `invalidate`, the clearing) of the profile from the point down to
    // the range's end, or over the selected interval. False when it did not run.
    virtual bool RunSearch(Point p, bool invalidate) = 0;
    void Pane(int pane, const std::string& text) { SetReadOut(pane, text); }

    // ---- opening, for the windows' Open --------------------------------------------------------
    // Opens m_common.path, reads its datum list and takes the frames the file really holds;
    // false (after the message) when they cannot be shown against depth.
    bool OpenFrames(CQtxDatumList& datums);
    // Takes the chosen datum: its place, samples and receivers, caption and labels.
    // With `padFrom` > 0 a trace is padded with 0 to a power of two not below it (the
    // transforms need one). False after the message when the datum cannot be shown.
    bool TakeDatum(const ChosenDatum& d, int padFrom);
    // The range: the frames whose depths lie between the two asked, at least one.
    void TakeRange(double top, double bottom);
    // Shows every receiver, creates the child window at the range's top and prepares it.
    bool CreateView(const std::string& windowClass, const std::string& title);

    static constexpr unsigned kShiftClick = MK_LBUTTON | MK_SHIFT;
    static constexpr unsigned kControlClick = MK_LBUTTON | MK_CONTROL;
    // The read-outs of the point under the mouse.
    virtual void ShowReadOutAt(Point p) = 0;
    virtual void EnterEditMode() = 0;
    // A click in edit mode: the point edits the profile.
    virtual void EditPointAt(Point p) = 0;
    virtual bool HasEdits() const = 0;
    // The value on the axis under the point, kept with a selection's ends.
    virtual float AxisValueAt(Point p) const = 0;
    double DepthAt(Point p) const { return m_page.pageTopDepth + (p.y - m_page.plotRect.top) * m_page.depthPerPixel; }
    // Ctrl+click: the interval's start, its end, then none again.
    void SelectionStep(double depth, float value);
    // No interval selected: the selection spans the range.
    void EndSelection();
    // The scroll positions a run from the point at `depth` walks: from it (or the
    // selection's start) down to the selection's or the range's end, inside the range;
    // `last` is never above `first`.
    void RunPositions(double depth, int& first, int& last) const;
    // The question before a search (or, `invalidate`, a clearing) runs; true on Yes.
    bool RunAsked(bool invalidate);
    // The progress dialog of a run of `steps` frames.
    static void StartRunProgress(CProgressDlg& progress, int steps);
    // Cancel pressed and the stop confirmed by `question`.
    bool StopAsked(CProgressDlg& progress, const char* question);

    // ---- preparing -------------------------------------------------------------------------------
    // The display toolbar's Save Profile and stored options, for the active window.
    void TakeActiveRequests();
    void SetHorizontalScrollBar(int max, int pos);
    void Repaint(bool erase);
    // The last line a save adds to the history.
    virtual std::string HistoryTitle() const = 0;
    // Writes the range's frames as a data set of one value per curve at m_common.outputPath,
    // after the output guards and with this profile's history lines; `fill` gives a
    // frame's values in the order of `curves`, `units` their units. 1, or 0 after the
    // message of what stopped it (a failed write leaves no file).
    int WriteProfile(const std::vector<ProfileCurve>& curves, const std::vector<uint8_t>& units,
                     const std::function<void(int frame, float* values)>& fill);

    // ---- preparing and rendering (ProcessingWndPage.cpp) -------------------------------------------
    // Takes the requests, lays the page out and renders it where anything it was
    // rendered for changed; then sets the scroll bars.
    void PrepareRepaint() override;
    // The image is rendered again at the next preparation, whatever it was made for.
    void InvalidateImage() { m_rendered = PageKey(); }
    // What the window lays out inside a track once the tracks are laid out.
    virtual void LayOutTrack() {}
    // The horizontal scroll bar: its range and position.
    virtual void HorizontalScroll(int& max, int& pos) const = 0;
    // What a render depends on besides the page: the axis windows, a gain.
    virtual std::vector<float> AxisKey() const = 0;
    // The image's width for the page as laid out; 0 when nothing can be drawn.
    virtual int ImageWidth() const = 0;
    // Every row drawn (else one in kRowDecimation).
    virtual bool EveryRow() const = 0;
    // What one thread needs to draw a row: a trace's row (then its spectrum) and the
    // values of a panel's pixels.
    struct RowScratch {
        std::vector<float> row, pixels;
        std::vector<float> read; // a frame's traces as stored, on their way to the slots
        std::vector<double> power; // a row's spectrum, bin by bin (time-frequency)
    };
    // Draws page row `row` of every shown track from render slots `b0` and `b1`, the
    // second weighted by `weight`; `interval`: the row lies in the selected interval.
    // Rows are drawn on several threads at once (see RowsOnOneThread): a row writes
    // only its own pixels and wiggles and works in `scratch`.
    virtual void RenderRow(int row, int b0, int b1, float weight, bool interval, RowScratch& scratch) = 0;
    // Rows that work in state they share with each other are drawn on one thread.
    virtual bool RowsOnOneThread() const { return false; }
    // Before the rows of a render are drawn, on the calling thread: what every row
    // reads and none writes (the pixels' column maps).
    virtual void BeforeRows() {}
    // Before a render's frames are read: slots 0 .. count - 1 will be (what a window
    // keeps per slot is made here, not while rows are being drawn).
    virtual void ReserveRenderSlots(int count) { (void)count; }
    // A frame just read into render slot `b` (`read` false: a gap), once per slot, by the
    // first row band that needs it, on the thread that read it: on any thread, several
    // slots at once. It writes only what belongs to slot `b`.
    virtual void RenderFrameLoaded(int b, int frame, bool read) { (void)b, (void)frame, (void)read; }
    // Where each pixel of a panel falls between two samples (bins) of a row: the same
    // for every row of a page, so it is worked out once.
    struct ColumnMap {
        int first = -1, last = -1, width = -1;
        std::vector<int> i0, i1;
        std::vector<float> frac; // the weight of i1
    };
    // The map of `width` pixels spread evenly over samples first .. last, each between
    // the sample at or before it and the next; kept while none of the three changes.
    static void MapColumns(ColumnMap& map, int first, int last, int width);
    // The largest |v| of the values v = a + (b - a) weight over first .. last that is a
    // finite number; 0 for none.
    static float LargestMagnitude(const float* a, const float* b, float weight, int first, int last);
    // Each value's palette colour into `pixels`; a value that is not a number leaves its pixel.
    void ColourRow(uint32_t* pixels, const float* values, int width, bool interval);
    // A wiggle of `width` values from x `left` about page row `row`, broken where a value
    // is not a number.
    void AddWiggle(int row, int left, const float* values, int width);
    // The image, the wiggles and the depth labels; false when nothing was rendered.
    bool PaintPage(Dc& dc);
    int RowOfPosition(int position) const;
    // One curve down a panel `width` pixels wide from `left`: the value of each frame of
    // the page (kAbsent: none) placed on an axis from `start` over `span`; a value absent
    // or off the axis breaks the line, a point alone is a pixel.
    void DrawTrackCurve(Dc& dc, const Pen& pen, int left, int width, double start, double span,
                        const std::function<float(int frame)>& valueOf);
    // The record of `frame` in a list kept in frame order; nullptr when it has none.
    template <class Record, class Frame>
    static const Record* FindByFrame(const std::vector<Record>& records, int frame, Frame Record::*field)
    {
        const auto it = std::lower_bound(records.begin(), records.end(), frame,
                                         [field](const Record& r, int f) { return r.*field < f; });
        return it != records.end() && (*it).*field == frame ? &*it : nullptr;
    }

    // Frames: those the rows being rendered lie between, read in depth order before
    // the rows are drawn (and the scroll position in each slot; the slots are kept for
    // the next render), one searched, one under the mouse.
    std::vector<std::vector<float>> m_renderFrames;
    std::vector<int> m_renderPositions;
    std::vector<float> m_searchFrame;
    std::vector<float> m_readOutFrame;
    int m_readOutFrameIndex = -1;
    std::vector<float> m_row;    // one trace's row, then its spectrum (searches)
    struct Label {
        int x = 0, y = 0;
        std::string text;
    };
    std::vector<Label> m_depthLabels;
    std::vector<Point> m_curvePoints; // one run of a curve being drawn

    // Before the page moves (scrolling, keys): a window ends what it was editing.
    virtual void BeforeVerticalMove() {}
    // Takes the pending zoom requests when this is the active view (true when any
    // was taken), the receivers of its record, the client size and the screen.
    bool TakeDisplayRequests();
    virtual void ApplyDomainZoom(int request) { (void)request; }
    void Layout();
    void SetVerticalScrollBar();
    // The pens of the tracked curve and the background, remade where the display
    // options changed them.
    void RefreshProfilePens();

    Pen m_curvePen{PS_SOLID, 2, Rgb(0, 0, 0)};
    Pen m_strokePen{PS_SOLID, 2, Rgb(0, 0, 0)};
    Color m_background = Rgb(255, 255, 255);

private:
    std::vector<float> m_readBuffer; // one frame's traces as stored

    // What a page was rendered for; a render is due when any of it changes.
    struct PageKey {
        int width = -1, height = -1, top = -1, vertRes = 0, vertSize = 0;
        float scale = 0;
        std::vector<int> tracks;
        bool selection = false;
        double selectionTop = 0, selectionBottom = 0;
        Color background = 0;
        std::vector<float> axis;
        bool operator==(const PageKey&) const = default;
    };
    PageKey m_rendered;
    int m_renderedTop = -1;   // the top position the image's rows were placed for
    bool m_gridded = false;   // rows on the depth grid (else the page is drawn afresh)
    int64_t m_firstRow = 0;   // the grid row of image row 0
    // The wiggles of one page row: runs of values, each from its x.
    struct WiggleRun {
        int left = 0, length = 0;
    };
    struct WiggleRow {
        std::vector<float> values;
        std::vector<WiggleRun> runs;
    };
    std::vector<WiggleRow> m_wiggleRows; // by page row
    // The palette's colours by index, plain and inside an interval, for m_lutPalette.
    std::array<std::array<uint32_t, kColours>, 2> m_lut{};
    int m_lutPalette = -1;
    // Where a page row lies: between the frames at scroll positions p0 and p1, the
    // second weighted by `weight`, at `depth`.
    struct RowPlace {
        int p0 = 0, p1 = 0;
        float weight = 0;
        double depth = 0;
    };

    PageKey KeyNow() const;
    // The page afresh: every row rendered, each frame read once, in depth order.
    void Render();
    // The page moved to a new top with nothing else changed: the rows both places hold
    // are moved, only the rows newly exposed are read and rendered.
    void ScrollPage();
    // The grid row of the top position's page.
    void StartRows();
    double RowDepth(int row) const;
    // False past the range's end.
    bool PlaceRow(int row, RowPlace& place) const;
    // The rows of the page down to the range's end.
    int CountRows() const;
    // Gives the frame at `position` the next render slot (made when missing); the slot.
    // LoadRenderFrame then reads it there.
    int PlanRenderFrame(int position);
    // On any thread, with that thread's scratch; `fileFailed` as ReadFrameInto's.
    bool LoadRenderFrame(int b, RowScratch& scratch, bool& fileFailed);
    parallel_rows::OnceEach m_renderFinished; // by slot: read and RenderFrameLoaded done
    int m_renderLoaded = 0; // slots read for the rows being rendered
    // By row being rendered: the slots of the two frames it lies between (-1: a row
    // left in the background), the second's weight, and whether it lies in the selection.
    struct RowFrames {
        int s0 = -1, s1 = -1;
        float weight = 0;
        bool interval = false;
    };
    std::vector<RowFrames> m_rowFrames;
    std::vector<RowScratch> m_scratch; // by thread
    // The palette's colours for the current palette, made before rows are drawn.
    void TakePalette();
    // Renders page rows from .. to - 1 (in the background first).
    void RenderRows(int from, int to);
    // The page's depths, last frame, plot rectangle and depth labels from its rows.
    void FinishPage();
    void PaintWiggles(Dc& dc);
};
