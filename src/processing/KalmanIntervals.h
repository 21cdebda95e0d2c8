// The interval records of the Kalman window: the mean waveform of every trace over a
// depth interval's frames, taken away from each frame the interval encloses. A plain
// list with its insertion, undo and application rules, so that the window, its saving
// and the tests share one implementation.
#pragma once

#include <cstddef>
#include <list>
#include <vector>

struct KalmanInterval {
    int first = 0, last = 0; // frames, both enclosed
    int traces = 0, n = 0;
    std::vector<float> averages; // trace t, sample s at t * n + s
    bool Encloses(int frame) const { return first <= frame && frame <= last; }
};

// Sums frames trace by trace, each trace from the slot its receiver order names, and
// gives their mean as a record.
class KalmanAverager {
public:
    KalmanAverager(int traces, int n);
    // `slots`: the frame's receiver slots, `stride` floats apart; `order`: the slot of
    // each trace.
    void Add(const float* slots, size_t stride, const int* order);
    int Count() const { return m_count; }
    // The mean of the frames added (all 0 when none was).
    KalmanInterval Finish(int first, int last) const;

private:
    int m_traces, m_n, m_count = 0;
    std::vector<double> m_sums;
};

class KalmanIntervals {
public:
    // Before the first record whose first frame is not below the new one's; with none,
    // at the tail of a log running down (`down`) and at the head of one running up.
    void Insert(KalmanInterval record, bool down);
    // Takes off the record a run beyond all others added: the tail (down) or the head;
    // false with an empty list.
    bool Undo(bool down);
    // The first record in list order that encloses the frame; nullptr when none does.
    const KalmanInterval* Enclosing(int frame) const;
    // Takes that record's means from the frame's slots (trace t from slot order[t]);
    // false, leaving the frame as read, when no record encloses it.
    bool Apply(int frame, float* slots, size_t stride, const int* order) const;

    const std::list<KalmanInterval>& Records() const { return m_records; }
    void Clear() { m_records.clear(); }

private:
    std::list<KalmanInterval> m_records;
};
