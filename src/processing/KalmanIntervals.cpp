#include "processing/KalmanIntervals.h"

#include <algorithm>

KalmanAverager::KalmanAverager(int traces, int n)
    : m_traces(std::max(traces, 0)), m_n(std::max(n, 0)), m_sums(size_t(m_traces) * size_t(m_n), 0.0)
{
}

void KalmanAverager::Add(const float* slots, size_t stride, const int* order)
{
    for (int t = 0; t < m_traces; ++t) {
        const float* s = slots + size_t(order[t]) * stride;
        double* sum = m_sums.data() + size_t(t) * size_t(m_n);
        for (int i = 0; i < m_n; ++i) sum[i] += s[i];
    }
    ++m_count;
}

KalmanInterval KalmanAverager::Finish(int first, int last) const
{
    KalmanInterval r;
    r.first = first;
    r.last = last;
    r.traces = m_traces;
    r.n = m_n;
    r.averages.resize(m_sums.size());
    const double divisor = m_count > 0 ? m_count : 1;
    for (size_t i = 0; i < m_sums.size(); ++i) r.averages[i] = float(m_sums[i] / divisor);
    return r;
}

void KalmanIntervals::Insert(KalmanInterval record, bool down)
{
    const auto at = std::find_if(m_records.begin(), m_records.end(),
                                 [&](const KalmanInterval& r) { return r.first >= record.first; });
    if (at != m_records.end()) m_records.insert(at, std::move(record));
    else if (down) m_records.push_back(std::move(record));
    else m_records.push_front(std::move(record));
}

bool KalmanIntervals::Undo(bool down)
{
    if (m_records.empty()) return false;
    if (down) m_records.pop_back();
    else m_records.pop_front();
    return true;
}

const KalmanInterval* KalmanIntervals::Enclosing(int frame) const
{
    for (const KalmanInterval& r : m_records)
        if (r.Encloses(frame)) return &r;
    return nullptr;
}

bool KalmanIntervals::Apply(int frame, float* slots, size_t stride, const int* order) const
{
    const KalmanInterval* r = Enclosing(frame);
    if (!r) return false;
    // The record's own sizes bound what it touches: a slot holds at least n floats.
    const int n = std::min<int>(r->n, int(stride));
    for (int t = 0; t < r->traces; ++t) {
        float* s = slots + size_t(order[t]) * stride;
        const float* mean = r->averages.data() + size_t(t) * size_t(r->n);
        for (int i = 0; i < n; ++i) s[i] -= mean[i];
    }
    return true;
}
