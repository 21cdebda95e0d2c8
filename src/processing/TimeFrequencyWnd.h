// The time-frequency profile window: one waveform datum of a QTX data set against
// depth, each shown receiver as a column of two panels: the waveform of every screen
// row as a colour strip (or a wiggle) beside the row's amplitude spectrum. Over them
// the profile: per frame and receiver the arrival time (a rising zero crossing) and
// the instantaneous frequency there, tracked with a double click, invalidated with
// Shift and a double click, drawn by hand in edit mode and saved as a data set of
// time and frequency curves.
//
// Split by concern: TimeFrequencyWnd.cpp (opening, windows, zoom, preparing),
// TimeFrequencyWndPaint.cpp (rendering and painting), TimeFrequencyWndInput.cpp
// (read-outs, selection, search and editing), TimeFrequencyWndSave.cpp (saving).
#pragma once

#include "dataset/QtxLayout.h"
#include "platform/Image.h"
#include "processing/ProcessingWnd.h"
#include "processing/TimeFrequency.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct ChosenDatum;

class CTimeFrequencyWnd : public CProcessingWnd {
public:
    CTimeFrequencyWnd();
    ~CTimeFrequencyWnd() override;

    // What the creator sets before Open: the panels' share and ranges as asked, and
    // the slowness range of the search (which the search dialog changes).
    struct TfSetup {
        float timeFraction = 0.6f;              // of a column, for the time panel
        float timeStart = 0, timeStop = 5000;   // uSec, as asked
        float freqStart = 0, freqStop = 10000;  // Hz, as asked
        float minSlowness = 40, maxSlowness = 240; // uSec/ft across the array
    };
    TfSetup& Setup() { return m_setup; }

    // Opens the data set, lets the user mark the waveform datum, takes the frames
    // between the depths asked and creates the window; false (after the message)
    // when nothing can be shown.
    bool Open(const std::string& windowClass, double top, double bottom);

    // ---- the two windows and the panels of a column ---------------------------------------------
    const TfTimeWindow& TimeWindow() const { return m_time; }
    const TfFrequencyWindow& FrequencyWindow() const { return m_frequency; }
    // Microseconds (Hz) across a panel: from its first sample (bin) to its last.
    double TimeSpan() const { return double(m_time.last - m_time.first) * m_step; }
    double FrequencySpan() const { return double(m_frequency.last - m_frequency.first) * m_frequency.binStep; }
    // Widths of the panels; 0: nothing is drawn.
    int TimeWidth() const { return m_timeWidth; }
    int FrequencyWidth() const { return m_frequencyWidth; }
    int TimeLeft(int column) const { return TrackLeft(column); }
    int FrequencyLeft(int column) const { return TrackLeft(column) + m_timeWidth + m_page.margin; }

    // ---- the profile --------------------------------------------------------------------------------
    // One record per frame of the range; the edit.
    TfProfile& Profile() { return m_profile; }
    // The last searched frame's picks, by slot.
    const std::array<float, kSlots>& Times() const { return m_times; }
    // The picks of one frame (`slots`) from `start` (uSec) on trace `trace`: times
    // into Times().
    void TrackFrame(const std::vector<float>& slots, int trace, float start);
    // The instantaneous frequency (Hz) of trace `trace` of `slots` at `time`.
    float FrequencyAt(const std::vector<float>& slots, int trace, float time);

    // ---- read-outs ----------------------------------------------------------------------------------
    struct Hit {
        int column = -1;        // index into the tracks; -1 over a gap
        int trace = -1;
        bool inTime = false, inFrequency = false;
        double depth = 0;
        float time = 0;         // uSec, in the time panel
        float frequency = 0;    // Hz, in the frequency panel
    };
    // The point's column, panel, depth, time and frequency (the plot rectangle is the caller's).
    Hit HitTest(Point p) const;

    // ---- handlers ----------------------------------------------------------------------------------
    void OnPaint(Dc& dc) override;
    void OnSize(unsigned type, int cx, int cy) override;
    void OnHScroll(int code, int pos) override;

    // Writes the profile of the range as a data set of a time and a frequency curve per
    // receiver at the output path; 1, or 0 after the message of what stopped it (no
    // file is left behind) (TimeFrequencyWndSave.cpp).
    int SaveProfile() override;

protected:
    std::string HistoryTitle() const override { return "*** Instantaneous Time/Frequency Profile"; }

private:
    TfSetup m_setup;
    TfTimeWindow m_time;
    TfFrequencyWindow m_frequency;
    int m_timeTickStep = 500, m_timeLabelStep = 500, m_freqTickStep = 500, m_freqLabelStep = 1000;
    int m_timeWidth = 0, m_frequencyWidth = 0;
    TfProfile m_profile;
    std::array<float, kSlots> m_times{};
    std::array<float, kSlots> m_frequencies{};
    std::array<int, kSlots> m_picks{};       // the sample each pick's scans start from
    int m_clickedTrace = 0;                  // in trace order: searched or edited
    bool m_firstPointPending = true, m_dragging = false;
    int m_editEnd = 0;                       // scroll position of the edit's deepest point

    bool SetUpItem(const ChosenDatum& datum);
    void SetRange(double top, double bottom);
    // From the asked ranges, snapped to samples and bins; tick and label steps follow.
    void SetWindows();
    void ApplyDomainZoom(int request) override;
    void BeforeVerticalMove() override;
    // The frame of the range that holds `depth` (truncated to the frame above it).
    int DepthToFrame(double depth) const;
    // The frame of the range nearest to `depth`.
    int NearestFrame(double depth) const;
    // The slots of the datum's traces, in trace order.
    const int* Slots() const { return m_receiverIndex.data(); }
    int Traces() const { return std::min(std::max(m_receivers, 0), int(kSlots)); }
    // Input (TimeFrequencyWndInput.cpp).
    // The search (or, `invalidate`, the clearing) from the point down to the range's
    // end, or over the selected interval. False when it did not run.
    bool RunSearch(Point p, bool invalidate) override;
    void LeaveEditMode(bool merge) override;
    void ShowReadOut(const Hit& at);
    void ShowReadOutAt(Point p) override { ShowReadOut(HitTest(p)); }
    void EditPoint(const Hit& at);
    void EnterEditMode() override;
    void EditPointAt(Point p) override;
    bool HasEdits() const override;
    float AxisValueAt(Point p) const override;
    bool ConfirmSlowness();
    // Paint (TimeFrequencyWndPaint.cpp).
    void LayOutTrack() override;
    void HorizontalScroll(int& max, int& pos) const override;
    std::vector<float> AxisKey() const override;
    int ImageWidth() const override;
    bool EveryRow() const override;
    void RenderRow(int row, int b0, int b1, float weight, bool interval, RowScratch& scratch) override;
    void BeforeRows() override;
    void ReserveRenderSlots(int count) override;
    void RenderColumnRow(int row, int column, int buffer0, int buffer1, float weight, bool interval, RowScratch& scratch);
    // The complex spectrum of every shown slot of render slot `b`.
    void TransformFrame(int b);
    void DrawAxes(Dc& dc);
    void DrawProfile(Dc& dc, const std::vector<TfRecord>& records, const Pen& pen, bool onlyClicked);
    void RenderFrameLoaded(int b, int frame, bool read) override;
    // Which shown slots of render slot `b` have a value that is no number.
    void FindGaps(int b);
    std::vector<std::array<uint8_t, kSlots>> m_renderGaps; // by render slot: a shown slot has a value that is no number

    std::vector<std::vector<float>> m_renderSpectra; // by render slot, per shown track (column): bins 0 .. n/2, re and im
    std::vector<float> m_scratchFrame;
    std::vector<float> m_re, m_im;      // the analytic signal of one trace
    ColumnMap m_timeColumns, m_frequencyColumns; // the panels' pixels over samples and bins
};
