// The Kalman window: one waveform datum against depth in the time domain, drawn as
// the depth-profile window draws it, where the user marks depth intervals whose
// waveforms are averaged trace by trace; every frame an interval encloses is shown,
// and saved as a new data set, with that mean taken away. There is no profile curve,
// search or edit mode: Ctrl+click selects, a double click averages the interval, a
// Shift+double click takes the last interval off again.
#pragma once

#include "processing/KalmanIntervals.h"
#include "processing/ProfileWnd.h"

class CKalmanWnd : public CProfileWnd {
public:
    CKalmanWnd();

    const KalmanIntervals& Intervals() const { return m_intervals; }
    // The first and last frame of the last averaging.
    int IntervalFirst() const { return m_intervalFirst; }
    int IntervalLast() const { return m_intervalLast; }

    void OnLButtonDown(unsigned flags, Point p) override;
    void OnLButtonDblClk(unsigned flags, Point p) override;
    void OnRButtonDown(unsigned flags, Point p) override;

    // Averages the frames of the selected interval (or from the point's depth to the
    // range's end) into a new record; false when refused.
    bool Process(Point p);
    // Takes off the record added last in the log's direction; false when refused or none.
    bool Undo(Point p);
    // Writes the range's frames, corrected, as a data set holding the processed datum
    // only; 1 (a save the user stopped keeps the frames written), or 0 after the message
    // of what stopped it (a save that failed to write leaves no file).
    int SaveProfile() override;

private:
    KalmanIntervals m_intervals;
    int m_intervalFirst = 0, m_intervalLast = 0; // frames of the last averaging

    void CorrectFrame(int frame, std::vector<float>& slots) override;
    std::string WindowTitle() const override { return "Kalman Filter (" + m_common.path + ")"; }
    std::string HistoryTitle() const override { return "*** Kalman Filter"; }
};
