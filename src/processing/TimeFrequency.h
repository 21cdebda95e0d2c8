// The computations of the time-frequency profile: the analytic signal of a trace, its
// instantaneous phase and frequency at a pick, the time and frequency windows snapped
// to samples and bins, and the profile of picked times and instantaneous frequencies
// with its merging and hand-drawn edits. Plain code, so that the window and the tests
// share it.
#pragma once

#include "processing/ProfileSearch.h"

#include <array>
#include <cstdint>
#include <vector>

inline constexpr int kTfSlots = 16;
// A value invalidated or searched for and not found; kProfileAbsent is "not computed".
inline constexpr float kTfInvalid = -999.0f;

// The analytic signal of n samples (n a power of two, at most 8192): `re` the trace
// itself, `im` its Hilbert transform (the negated imaginary part of the inverse
// transform of the positive half of the spectrum).
void AnalyticSignal(const float* x, int n, float* re, float* im);
// The phase of sample k in 0 .. 2 pi (exactly -pi stays -pi), 0 where both parts are 0.
// k is held inside the n samples.
double InstantaneousPhase(const float* re, const float* im, int n, int k);
// Hz, from the phases of the picked sample and the next, `step` microseconds apart:
// the next phase counted forward from the picked one.
float InstantaneousFrequency(double picked, double next, float step);
// The instantaneous frequency at `time` (microseconds): the picked sample is
// int(time / step + 1), the next one after it; at the trace's end both are its last two.
float FrequencyAtTime(const float* re, const float* im, int n, float step, float time);
// The instantaneous frequency (Hz) at `time` of n samples `step` microseconds apart
// (n a power of two, at most 8192), the trace first divided by its largest value;
// 0 for fewer than two samples or no step.
float InstantaneousFrequency(const float* x, int n, float step, float time);

struct TfTimeWindow {
    float start = 0, stop = 0, length = 0;
    int first = 0, last = 0, count = 0; // samples
    int firstTick = 0;
    int scrollMax = 1;
};
// Both ends raised to the next sample, the stop held inside n samples.
TfTimeWindow SetTimeRange(float start, float stop, int n, float step);
TfTimeWindow ScrollTimeRange(TfTimeWindow w, int first, float step);

struct TfFrequencyWindow {
    float start = 0, stop = 0, length = 0, binStep = 0;
    int first = 0, last = 0, count = 0; // bins
    int firstTick = 0;
    int scrollMax = 0;
};
// Both ends raised to the next bin; a stop above the Nyquist frequency becomes 95 % of it.
TfFrequencyWindow SetFrequencyRange(float start, float stop, int n, float step);

// One frame's picks by receiver slot.
struct TfRecord {
    int32_t frame = 0;
    std::array<float, kTfSlots> times, frequencies;
    TfRecord()
    {
        times.fill(kProfileAbsent);
        frequencies.fill(kProfileAbsent);
    }
};

// The profile (one record per frame, in frame order) and what a run or an edit adds.
class TfProfile {
public:
    // Records for frames first .. last, nothing computed. They are made when one is
    // first asked for: a window opened on a long log does not clear a record a frame.
    void Reset(int first, int last);
    TfRecord* Record(int frame);
    const std::vector<TfRecord>& Records() const { return m_records; }

    // A search's records, each into the record of its own frame: every listed slot's
    // computed values, or only `clickedSlot`'s when `single` is set.
    void MergeRun(const std::vector<TfRecord>& run, const int* slots, int count, bool single, int clickedSlot);

    // ---- hand-drawn edits on one slot, frame by frame in the log's direction ------------------
    // A new edit with one record at `frame`; the other slots are invalid.
    void StartEdit(int frame, int slot, float time, float frequency);
    // Every frame from the edit's open end to `frame` gets its share of the line from
    // the end's values to these. An edit with no record starts a new one.
    void ExtendEdit(int frame, int slot, float time, float frequency, bool down);
    // The edit's records into the profile: the values that are not invalid.
    void MergeEdits(const int* slots, int count);
    void ClearEdits() { m_edits.clear(); }
    const std::vector<TfRecord>& Edits() const { return m_edits; }

private:
    std::vector<TfRecord> m_records; // empty until Record is first called
    int m_first = 0, m_last = -1;
    std::vector<TfRecord> m_edits; // frame order
};
