// The depth-profile window: one datum of a QTX data set against depth, each shown
// receiver as a track of colour rows (or wiggles) on a time, frequency, slowness or
// azimuth axis, and over it the tracked profile: one value per receiver and frame (a
// first-arrival time, a peak frequency, a peak slowness or an extreme azimuth) that
// the user searches for with a double click, corrects by hand in edit mode and saves
// as a data set of curves.
//
// Split by concern: ProfileWnd.cpp (opening, domain windows, zoom, preparing),
// ProfileWndPaint.cpp (rendering and painting), ProfileWndInput.cpp (read-outs,
// selection, searching and editing), ProfileWndSave.cpp (saving and history).
#pragma once

#include "dataset/ItemTypes.h"
#include "platform/Image.h"
#include "processing/ProcessingWnd.h"
#include "settings/SlownessUnit.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct ChosenDatum;

// One frame's profile values, by receiver slot; kProfileAbsent where there is none.
class CProfileRecord {
public:
    CProfileRecord() { m_values.fill(kProfileAbsent); }
    CProfileRecord(int frame, const float* values) : m_frame(frame)
    {
        for (size_t i = 0; i < m_values.size(); ++i) m_values[i] = values[i];
    }
    int32_t m_frame = 0;
    std::array<float, CViewerWnd::kSlots> m_values;
};

class CProfileWnd : public CProcessingWnd {
public:
    CProfileWnd();
    ~CProfileWnd() override;

    // What the creator sets before Open: the domain, its axis window as asked and the
    // search ranges (which the search dialogs change).
    struct ProfileSetup {
        int16_t domain = kDomainTime;
        bool normalize = false;          // slowness rows are normalised only when set
        bool instFrequencyOption = true; // the time domain's pane 3 shows the instantaneous frequency
        SlownessUnit slownessUnit = SlownessUnit::kPerFoot;
        float windowStart = 0, windowEnd = 0; // of the domain axis, as asked
        // Search ranges: slowness across the array (time) or along the curve (slowness),
        // frequency, azimuth with the extreme tracked.
        float minSlowness = 40, maxSlowness = 240;
        float minFrequency = 0, maxFrequency = 10000;
        float minAzimuth = 0, maxAzimuth = 360;
        bool trackMaximum = true, trackMinimum = false;
    };
    ProfileSetup& Setup() { return m_setup; }

    // Opens the data set, lets the user mark the datum to profile, takes the frames
    // between the depths asked and creates the window; false (after the message) when
    // nothing can be shown.
    bool Open(const std::string& windowClass, double top, double bottom);

    // ---- the domain axis --------------------------------------------------------------------
    struct DomainWindow {
        float start = 0, end = 0, width = 0;
        float binStep = 0;       // frequency: Hz of one bin
        int first = 0, last = 0; // samples (bins) shown
        int firstLabel = 0, labelStep = 500, tickStep = 500;
        int scrollMax = 1;       // of the horizontal scroll bar
    };
    const DomainWindow& Axis() const { return m_axis; }
    // The axis values the track's pixels span: from the first shown sample (bin) to the last.
    double PixelSpan() const
    {
        return (m_axis.last - m_axis.first) * (m_setup.domain == kDomainFrequency ? double(m_axis.binStep) : double(m_step));
    }

    // ---- the profile ------------------------------------------------------------------------------
    // One record per frame of the profile range, in frame order.
    std::vector<CProfileRecord>& Profile();
    // What a search or a stroke found, by frame order; merged into the profile.
    const std::vector<CProfileRecord>& EditList() const { return m_editList; }
    CProfileRecord* ProfileRecord(int frame);
    const CProfileRecord* ProfileRecord(int frame) const;
    bool CurveShown() const { return m_curveShown; }
    void ShowCurve() { m_curveShown = true; }
    // Scroll position of the stroke's deepest point.
    int StrokeEnd() const { return m_strokeEnd; }

    // ---- read-outs ---------------------------------------------------------------------------------
    struct ReadOut {
        int track = -1;    // index into the tracks; -1 over a gap
        int trace = -1;
        double depth = 0;
        float value = 0;   // on the domain axis
    };
    // The point's track, depth and domain value (the plot rectangle is the caller's).
    ReadOut ReadOutAt(Point p) const;

    // ---- handlers ----------------------------------------------------------------------------------
    void OnPaint(Dc& dc) override;
    void OnSize(unsigned type, int cx, int cy) override;
    void OnHScroll(int code, int pos) override;

    // Writes the profile of the range as a data set of curves at the output path; 1, or
    // 0 after the message of what stopped it (ProfileWndSave.cpp).
    int SaveProfile() override;

protected:
    ProfileSetup m_setup;
    DomainWindow m_axis;
    std::vector<CProfileRecord> m_profile;
    std::vector<CProfileRecord> m_editList;

    // A frame just read for the image, before it is drawn: a window that corrects its
    // frames does it here.
    virtual void CorrectFrame(int, std::vector<float>&) {}
    virtual std::string WindowTitle() const;
    std::string HistoryTitle() const override;

private:
    float m_slownessLimit = 1250; // no searched slowness above it
    // Per domain (index domain - 1), the values of the frame searched last, by slot.
    std::array<std::array<float, kSlots>, 4> m_current{};
    std::array<int, kSlots> m_picks{}; // time: the sample each slot's scan starts from
    std::array<float, kSlots>& CurrentValues() { return m_current[size_t(std::clamp<int>(m_setup.domain, 1, 4) - 1)]; }
    bool m_curveShown = false, m_strokePending = false, m_strokeStart = false;
    int m_editTrace = 0;        // trace index (in trace order) of the edit or search
    int m_strokeEnd = 0;        // scroll position of the stroke's deepest point
    std::string m_timeText, m_frequencyText, m_slownessText, m_azimuthText, m_valueText, m_instFrequencyText;

    bool SetUpItem(const ChosenDatum& datum);
    void SetRange(double top, double bottom);
    // The domain axis: from the asked window start and end, snapped to the samples and
    // held inside them; zoomed; scrolled to a first sample.
    void SetupWindow();
    void ApplyDomainZoom(int request) override;
    void ScrollWindow(int64_t first);
    // Input (ProfileWndInput.cpp).
    // The search (or, `invalidate`, the clearing) of the profile from the point down to
    // the profile's end, or over the selected interval. False when it did not run.
    bool RunSearch(Point p, bool invalidate) override;
    // The edit list into the profile over the frames it holds: every trace's values
    // except absent ones (a stroke).
    void ApplyEditList();
    // The edit list into the profile for the frames of a search: every trace's values,
    // or only the searched trace's with Single Receiver on.
    void MergeSearch();
    void LeaveEditMode(bool apply) override;
    int FrameOfDepth(double depth) const { return m_frames.NearestFrame(depth); }
    void StrokePoint(const ReadOut& at);
    void EnterEditMode() override;
    void EditPointAt(Point p) override;
    bool HasEdits() const override;
    float AxisValueAt(Point p) const override;
    void ShowReadOut(const ReadOut& at);
    void ShowReadOutAt(Point p) override { ShowReadOut(ReadOutAt(p)); }
    void BeforeVerticalMove() override;
    bool ConfirmSearchRange(bool invalidate);
    void SearchFrame(int frame, float previous, bool firstFrame);
    // Paint (ProfileWndPaint.cpp).
    void HorizontalScroll(int& max, int& pos) const override;
    std::vector<float> AxisKey() const override;
    int ImageWidth() const override;
    bool EveryRow() const override;
    void RenderRow(int row, int b0, int b1, float weight, bool interval, RowScratch& scratch) override;
    void BeforeRows() override;
    void RenderTrackRow(int row, int track, const float* previous, const float* current, float weight, bool interval,
                        RowScratch& scratch);
    void DrawAxes(Dc& dc);
    void DrawCurve(Dc& dc, const std::vector<CProfileRecord>& records, const Pen& pen, bool onlyEditTrace);
    void RenderFrameLoaded(int b, int frame, bool read) override;
    ColumnMap m_columns; // the track's pixels over the shown samples (bins)
    // Saving.
    bool OutputCurves(std::vector<ProfileCurve>& curves);
};
