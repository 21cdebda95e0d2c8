// What the processing windows (the depth profile now; the time-frequency and Kalman
// windows build on it too) share beyond every viewer: the data set and the one datum
// they show, read frame by frame into receiver slots; the profile range and the
// top of the page in depth order, with scrolling by lines, pages, keys and thumb;
// the layout of tracks side by side; the depth scale and its zoom limits; the three
// colour palettes; the amplitude spectrum and the analytic signal of a trace; the
// status-bar read-outs; and the pens of the tracked curve.
//
// Reading happens when the window is prepared (PrepareRepaint) or acted on, never in
// the paint.
#pragma once

#include "dataset/FrameCursor.h"
#include "dataset/QtxFile.h"
#include "processing/ProfileSearch.h"
#include "viewers/ViewerWnd.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CProcessingWnd : public CViewerWnd {
public:
    static constexpr float kAbsent = kProfileAbsent;
    enum PaletteCode : int16_t { kPaletteColor = 1, kPaletteGrey = 2, kPaletteAnisotropy = 3 };
    static constexpr int kColours = 32;
    static constexpr int kRowDecimation = 10; // rows between two drawn rows of other styles

    // The colour (0xFFRRGGBB) of index 0..31 of palette 1, 2 or 3; `interval` gives the
    // darker set for rows inside a selected interval (the grey palette has none and
    // keeps its own). Any other palette draws in grey.
    static uint32_t PaletteColour(int palette, int index, bool interval = false);
    // int(31 v) for a value of 0 .. 1, 0 below, 31 above; -1 (a gap) for NaN.
    static int ColourIndex(float value);

    // The amplitude spectrum of n samples (n a power of two, at most 8192) into bins
    // 0 .. n/2, divided by its largest bin. A trace with a value that is not finite has
    // no spectrum: its bins are NaN.
    static void AmplitudeSpectrum(const float* x, int n, float* bins);
    // The instantaneous frequency (Hz) at `time` (microseconds) of n samples `step`
    // microseconds apart: the analytic signal's phase change from the sample after
    // the time to the next, counted forward (0 .. the sampling rate).
    static float InstantaneousFrequency(const float* x, int n, float step, float time);

    // ---- the data set and the datum, filled by the creator ---------------------------------
    std::string m_path;       // input data set
    std::string m_outputPath; // what saving writes
    CQtxFile m_file;
    CFrameCursor m_frames;
    uint32_t m_offset = 0;    // of the datum in a frame, bytes
    uint8_t m_typeCode = 0;
    std::string m_mnemonic;
    float m_step = 0;         // of one sample
    int m_n = 0;              // samples per trace the window uses
    int m_samplesInFile = 0;  // samples per trace stored; the rest up to m_n read as 0
    std::array<float, kSlots> m_receiverOffset{}; // inches from receiver 1, by slot
    // The profile range as scroll positions of m_frames (depth order), both ends shown.
    int m_rangeTop = 0, m_rangeBottom = 0;
    double m_profileStart = 0, m_profileEnd = 0; // their depths
    int m_stepPerKey = 1;     // frames a line moves
    float m_depthScale = 480; // n of 1:n
    float m_mmPerUnit = 304.8f;
    float m_depthLabelStep = 10;
    int16_t m_palette = kPaletteColor;
    std::string m_style = "VDL"; // "Signature" draws wiggles
    float m_gain = 20;        // wiggle height of a value of 1, pixels
    std::string m_caption, m_axisTitle;
    std::vector<std::string> m_traceLabels;

    // ---- the page ----------------------------------------------------------------------------
    int m_topPosition = 0;    // the frame of the first image row, as a scroll position
    int m_framesPerPage = 1;
    // The frames of the range in file order.
    int RangeFirstFrame() const;
    int RangeLastFrame() const;
    double DepthOfPosition(int64_t position) const { return m_frames.DepthAtScrollPosition(position); }
    // The deepest top position whose page still lies inside the profile range.
    int LastTopPosition() const;
    // Moves the top of the page to `position`, held inside the range and so that the
    // page fits it; then shows the top depth in pane 1, sets the scroll bar and repaints.
    void MoveTop(int64_t position);

    // ---- layout ----------------------------------------------------------------------------------
    int m_leftMargin = 35, m_margin = 5, m_gap = 5, m_topMargin = 25, m_inset = 15, m_fontHeight = 12;
    int m_clientWidth = 0, m_clientHeight = 0;
    int m_trackWidth = 0;     // 0: nothing is drawn
    int m_pageRows = 0;
    double m_depthPerPixel = 0;
    std::vector<int> m_tracks; // shown traces, in trace order
    Rect m_plotRect;          // every mouse action lies inside it
    int TrackLeft(int track) const { return m_leftMargin + track * (m_trackWidth + m_gap); }
    // The index into m_tracks of the track whose data lies under x, and how far into
    // it; -1 over a gap, the margin or with no track.
    int TrackAt(int x, int& within) const;

    // ---- zoom ---------------------------------------------------------------------------------------
    // The depth scale halves (+1) or doubles (-1) within 100 .. 1000; false after the
    // limit's message.
    bool ApplyDepthZoom(int request);
    // A domain window's width times 0.75 (+1) or 1.25 (-1): `width` becomes it unless it
    // passes the limit (the limits themselves are accepted), which shows `message`.
    static bool ZoomWidth(int request, double& width, double inLimit, double outLimit, const char* message);

    // ---- frames ------------------------------------------------------------------------------------
    size_t SlotFloats() const { return size_t(kSlots) * size_t(m_n); }
    // Reads frame `frame` of the datum into `slots` (kSlots x m_n, trace t into the slot
    // of its receiver, padded with 0). A frame that cannot be read fills every slot
    // with NaN (a gap) and gives false.
    bool ReadFrame(int frame, std::vector<float>& slots);

    // ---- handlers -----------------------------------------------------------------------------------
    void OnVScroll(int code, int pos) override;
    void OnKeyDown(unsigned key, unsigned repeat, unsigned flags) override;

    static void Pane(int pane, const std::string& text);

protected:
    CProcessingWnd();

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
};
