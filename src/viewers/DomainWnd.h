// The domain view: one datum of a QTX data set at one depth frame, receiver by
// receiver, in the time, frequency, slowness or azimuth domain. Only the current
// frame is read, when the view opens and whenever it moves to another frame; the
// paint draws what was read. Split by concern: DomainWnd.cpp (loading and reading),
// DomainWndPaint.cpp (painting and the move-out cursor), DomainWndInput.cpp
// (scrolling, keys and mouse).
#pragma once

#include "dataset/FrameCursor.h"
#include "dataset/QtxFile.h"
#include "dataset/ReceiverGeometry.h"
#include "settings/DomainSetupGroup.h"
#include "viewers/ViewerWnd.h"

#include <array>
#include <string>
#include <vector>

struct ChosenDatum;

class CDomainWnd : public CViewerWnd {
public:
    // The view of `domain` (a DomainCode) on the file, depth frame and ranges of `setup`.
    CDomainWnd(const DomainSetupGroup& setup, int domain);
    ~CDomainWnd() override;

    // Loads the data set and the chosen datum, then creates the window; false (with
    // the message shown) when nothing could be opened.
    bool Open(const std::string& windowClass);

    // ---- handlers -----------------------------------------------------------------------
    void OnPaint(Dc& dc) override;
    void OnVScroll(int code, int pos) override;
    void OnHScroll(int code, int pos) override;
    void OnKeyDown(unsigned key, unsigned repeat, unsigned flags) override;
    void OnMouseMove(unsigned flags, Point p) override;
    void OnLButtonDown(unsigned flags, Point p) override;

    // The shown datum's samples per trace, after padding and interpolation.
    struct SampleShape {
        float step = 0;        // axis-1 step after interpolation
        int sampleCount = 0;   // after padding and interpolation
        int samplesRead = 0;   // as stored in the data set
        int fftLength = 0;
        bool padding = false;
        int interpolation = 1;
    };
    // The domain's window on the sample axis.
    struct AxisWindow {
        float start = 0, stop = 0, width = 0;
        float binWidth = 0; // frequency domain, Hz
        int first = 0, last = 0, shownCount = 0;
        int firstTick = 0;
    };
    struct PlotLayout {
        int leftMargin = 35, plotWidth = 460, clientWidth = 500, clientHeight = 500;
        int topMargin = 25, bottomMargin = 15, gap = 10, fontHeight = 12;
        int traceHeight = 0, bandHeight = 0;
        // A window too short for the usual gaps closes the traces up (the grid's labels
        // then go under the last band only); one too short even for that says so.
        bool closedUp = false, tooShort = false;
    };

    // ---- what the frame, commands and tests read ------------------------------------------
    int Domain() const { return m_domain; }
    // The settings the view was opened with; the ranges take effect on the next load.
    DomainSetupGroup& Setup() { return m_setup; }
    const SampleShape& Shape() const { return m_shape; }
    const AxisWindow& Axis() const { return m_axis; }
    const PlotLayout& Layout() const { return m_layout; }
    // Frames: the current one and how frames map to depths and scroll positions.
    CFrameCursor& Frames() { return m_frames; }
    const CQtxFile& File() const { return m_file; }
    // Reads the current frame into the slots (with padding, interpolation and, in the
    // frequency domain, the spectra); false when the read failed. The paint shows
    // the slots as this left them.
    bool ReadFrame();
    bool FrameRead() const { return m_frameRead; }

private:
    DomainSetupGroup m_setup;
    int16_t m_domain = kDomainTime;
    std::string m_slownessUnit = "[uSec/ft]";
    // Shown datum.
    std::string m_mnemonic;
    uint16_t m_datumNumber = 0;
    uint32_t m_offset = 0;
    uint8_t m_typeCode = 0;
    uint8_t m_unitCode = kUnitNone;
    SampleShape m_shape;
    bool m_marker = false, m_frequencyMarker = false, m_slownessMarker = false;
    float m_markerWidth = 0, m_markerHalf = 0, m_markerCentre = 0;
    AxisWindow m_axis;
    int m_hMin = 0, m_hMax = 0, m_hPos = 0;
    CFrameCursor m_frames;
    ScrollInfo m_vscroll;
    PlotLayout m_layout;
    Rect m_plotRect;
    // Move-out cursor.
    bool m_firstClick = false, m_secondClick = false;
    bool m_clickPending = false; // a click waits for its mark or line
    Point m_clickPoint, m_firstPoint;
    std::array<float, kSlots> m_crossingTime{};
    // Samples, one slot per receiver.
    std::vector<float> m_samples;
    bool m_frameRead = false;
    // The last frames read, as ReadFrame left their slots: a step back to one of them
    // reads and transforms nothing. A few, whatever the size of the file.
    struct KeptFrame {
        int frame = -1;
        std::vector<float> samples; // receivers x sampleCount, in trace order
    };
    static constexpr int kKeptFrames = 8;
    std::array<KeptFrame, kKeptFrames> m_kept;
    int m_nextKept = 0;
    bool TakeKeptFrame(int frame);
    void KeepFrame(int frame);
    void ForgetKeptFrames();
    CQtxFile m_file;

    int Load();
    float* Slot(int slot) { return m_samples.data() + size_t(slot) * kSlotFloats; }
    const float* Slot(int slot) const { return m_samples.data() + size_t(slot) * kSlotFloats; }
    // Zero-crossing time of a trace near time t (move-out cursor).
    float CrossingTime(int slot, float t) const;
    bool SetUpItem(const ChosenDatum& datum);
    void ComputeWindow();
    void OnFramesMoved(int previousFrame) override;
    void SetScrollBars();
    void ShiftWindow(int64_t delta);
    int FirstTick() const;
    void Interpolate(int slot);
    void Spectrum(int slot);
    void ReleaseDrawingObjects() override;
    void MapColumns();
    void LayOutGrid();
    void PaintFrame(Dc& dc);
    // The bands' height and gap for the window's height (m_closedUp, m_tooShort).
    void LayOutBands();
    // One trace's band: where it lies and how its values map to rows.
    struct TraceBand {
        int top = 0, band = 0, left = 0, mid = 0, base = 0;
        bool wiggle = false;
        float amplitudeZoom = 1.0f;
    };
    // One trace's shown extremes and, for markers, its run of non-zero samples.
    struct TraceRun {
        float shownMax = 0, shownMin = 0;
        int first = 0, last = 0;
    };
    void PaintTrace(Dc& dc, int k, int slot);
    TraceBand BandOf(int k) const;
    TraceRun NormaliseTrace(const float* v);
    void FillCurve();
    int CurveY(const TraceBand& b, float value) const;
    void PaintBand(Dc& dc, const TraceBand& b);
    void PaintCurve(Dc& dc, const TraceBand& b, const TraceRun& run);
    void PaintGrid(Dc& dc, const TraceBand& b, int k);
    void PaintTraceLabels(Dc& dc, const TraceBand& b, int slot, const TraceRun& run);
    void PaintReferenceLines(Dc& dc, const TraceBand& b);
    void PaintMoveOut(Dc& dc);
    void FitExtremeLabel(Dc& dc, double value);

    std::vector<float> m_values;            // the shown window of one trace, normalised
    std::vector<float> m_curve;             // one trace's value per plot column; NaN: a gap
    std::vector<Point> m_points;            // one trace's polygon
    std::vector<int> m_gaps;                // samples of one trace that are not finite
    std::string m_caption;                  // above the traces, by item type
    std::string m_axisTitle;                // below them, by domain
    std::vector<std::string> m_traceLabels; // by trace, by item type
    // Where each plot column falls in the shown window, the same for every trace.
    struct Column {
        int i0 = 0, i1 = 0; // the samples it lies between
        float frac = 0;     // and how far from i0
        int sample = -1;    // the sample it lies in: -1 before the window, its size after
    };
    std::vector<Column> m_columns;
    // The grid's labelled ticks: plot column and text of each.
    int m_tickCount = 0;
    std::vector<int> m_tickColumns;
    std::vector<std::string> m_tickLabels;
    std::string m_extremeLabel;
};

