#include "processing/TimeFrequency.h"

#include "common/Fft.h"
#include "common/FrequencyWindow.h"
#include "common/Octant.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 6.2831855; // as the frequency's wrap adds it

int TickAfter(double v, int base) { return ClampToInt((std::floor(std::max(v, 0.0) / base) + 1) * base); }

} // namespace

void AnalyticSignal(const float* x, int n, float* re, float* im)
{
    float* data = g_fftData;
    for (int i = 0; i < n; ++i) {
        data[2 * i + 1] = std::isfinite(x[i]) ? x[i] : 0.0f;
        data[2 * i + 2] = 0.0f;
    }
    CFft fft;
    fft.m_sign = 1;
    fft.m_n = n;
    if (n < 2 || !fft.Transform()) {
        for (int i = 0; i < n; ++i) re[i] = im[i] = 0.0f;
        return;
    }
    // The negative frequencies removed, the positive ones doubled, bin 0 kept.
    for (int k = n / 2; k < n; ++k) data[2 * k + 1] = data[2 * k + 2] = 0.0f;
    for (int k = 1; k < n / 2; ++k) {
        data[2 * k + 1] *= 2.0f;
        data[2 * k + 2] *= 2.0f;
    }
    fft.m_sign = -1;
    fft.Transform();
    for (int i = 0; i < n; ++i) {
        re[i] = data[2 * i + 1] / float(n);
        im[i] = -data[2 * i + 2] / float(n);
    }
}

double InstantaneousPhase(const float* re, const float* im, int n, int k)
{
    if (n < 1) return 0.0;
    k = std::clamp(k, 0, n - 1);
    if (Octant(re[k], im[k]) < 0) return 0.0;
    double a = std::atan2(double(im[k]), double(re[k]));
    if (a < 0 && a > -kPi) a += 2 * kPi;
    return a;
}

float InstantaneousFrequency(double picked, double next, float step)
{
    if (!(step > 0)) return 0.0f;
    if (next < picked) next += kTwoPi;
    return ClampToFloat(std::fabs(picked - next) * 1e6 / (double(step) * kTwoPi));
}

float FrequencyAtTime(const float* re, const float* im, int n, float step, float time)
{
    if (n < 2 || !(step > 0)) return 0.0f;
    // The next sample must be one of the trace's.
    const int k = std::clamp(ClampToInt(double(time) / step + 1.0), 0, n - 2);
    return InstantaneousFrequency(InstantaneousPhase(re, im, n, k), InstantaneousPhase(re, im, n, k + 1), step);
}

float InstantaneousFrequency(const float* x, int n, float step, float time)
{
    if (n < 2 || !(step > 0)) return 0.0f;
    float largest = 0;
    for (int i = 0; i < n; ++i)
        if (std::isfinite(x[i])) largest = std::max(largest, std::fabs(x[i]));
    const float scale = largest > 0 ? 1.0f / largest : 1.0f; // the phase is that of the unscaled trace
    std::vector<float> re(static_cast<size_t>(n)), im(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) re[size_t(i)] = x[i] * scale;
    AnalyticSignal(re.data(), n, re.data(), im.data());
    return FrequencyAtTime(re.data(), im.data(), n, step, time);
}

TfTimeWindow SetTimeRange(float start, float stop, int n, float step)
{
    TfTimeWindow w;
    if (n < 2 || !(step > 0)) return w;
    const double dt = step, end = double(n) * dt;
    const double s = std::min(RaiseToMultiple(start, dt), end - dt);
    const double e = std::min(RaiseToMultiple(stop, dt), end);
    w.first = std::clamp(ClampToInt(s / dt), 0, n - 2);
    w.last = std::clamp(ClampToInt(e / dt), w.first + 1, n - 1);
    w.count = w.last - w.first;
    w.start = ClampToFloat(s);
    w.stop = ClampToFloat(e);
    w.length = ClampToFloat(w.count * dt);
    w.firstTick = TickAfter(s, w.length < 500 ? 100 : 500);
    w.scrollMax = std::max(n - w.count, 1);
    return w;
}

TfTimeWindow ScrollTimeRange(TfTimeWindow w, int first, float step)
{
    const int n = w.scrollMax + w.count; // the trace's samples
    w.first = std::clamp(first, 0, std::max(n - 1 - w.count, 0));
    w.last = w.first + w.count;
    w.start = ClampToFloat(double(w.first) * step);
    w.stop = w.start + w.length;
    w.firstTick = TickAfter(w.start, w.length < 500 ? 100 : 500);
    return w;
}

TfFrequencyWindow SetFrequencyRange(float start, float stop, int n, float step)
{
    TfFrequencyWindow w;
    if (n < 2 || !(step > 0)) return w;
    const FrequencyWindow window = SnapFrequencyWindow(start, stop, n, step);
    const double df = window.binStep, s = window.start, e = window.stop;
    w.binStep = ClampToFloat(df);
    w.start = ClampToFloat(s);
    w.stop = ClampToFloat(e);
    w.length = ClampToFloat(e - s - df);
    w.first = std::clamp(ClampToInt(s / df), 0, n / 2);
    w.last = std::clamp(ClampToInt(e / df), w.first, n / 2);
    w.count = w.last - w.first;
    w.firstTick = TickAfter(s, 500);
    w.scrollMax = n / 2 - w.count;
    return w;
}

// ---- the profile ----------------------------------------------------------------------------------

void TfProfile::Reset(int first, int last)
{
    m_records.clear();
    m_first = first;
    m_last = last;
    m_edits.clear();
}

TfRecord* TfProfile::Record(int frame)
{
    const int64_t count = int64_t(m_last) - m_first + 1;
    const int64_t i = int64_t(frame) - m_first;
    if (count <= 0 || i < 0 || i >= count) return nullptr;
    if (m_records.empty()) {
        m_records.assign(size_t(count), TfRecord());
        for (size_t k = 0; k < m_records.size(); ++k) m_records[k].frame = m_first + int(k);
    }
    return &m_records[size_t(i)];
}

void TfProfile::MergeRun(const std::vector<TfRecord>& run, const int* slots, int count, bool single, int clickedSlot)
{
    for (const TfRecord& found : run) {
        TfRecord* target = Record(found.frame);
        if (!target) continue;
        for (int i = 0; i < count; ++i) {
            const size_t s = size_t(slots[i]);
            if (s >= size_t(kTfSlots) || (single && slots[i] != clickedSlot)) continue;
            if (found.times[s] != kProfileAbsent) target->times[s] = found.times[s];
            if (found.frequencies[s] != kProfileAbsent) target->frequencies[s] = found.frequencies[s];
        }
    }
}

void TfProfile::StartEdit(int frame, int slot, float time, float frequency)
{
    TfRecord r;
    r.frame = frame;
    r.times.fill(kTfInvalid);
    r.frequencies.fill(kTfInvalid);
    const size_t s = size_t(std::clamp(slot, 0, kTfSlots - 1));
    r.times[s] = time;
    r.frequencies[s] = frequency;
    m_edits.assign(1, r);
}

void TfProfile::ExtendEdit(int frame, int slot, float time, float frequency, bool down)
{
    if (m_edits.empty()) {
        StartEdit(frame, slot, time, frequency);
        return;
    }
    const size_t s = size_t(std::clamp(slot, 0, kTfSlots - 1));
    const TfRecord end = down ? m_edits.back() : m_edits.front();
    const int frames = frame - end.frame;
    if (frames == 0 || (down ? frames < 0 : frames > 0)) return; // against the log's direction
    double t0 = time, f0 = frequency, dt = 0, df = 0;
    if (end.times[s] != kProfileAbsent && end.times[s] != kTfInvalid) {
        t0 = end.times[s];
        f0 = end.frequencies[s];
        dt = (double(time) - t0) / std::abs(frames);
        df = (double(frequency) - f0) / std::abs(frames);
    }
    const int dir = down ? 1 : -1;
    for (int j = 1; j <= std::abs(frames); ++j) {
        TfRecord r;
        r.frame = end.frame + dir * j;
        r.times.fill(kTfInvalid);
        r.frequencies.fill(kTfInvalid);
        r.times[s] = ClampToFloat(t0 + dt * j);
        r.frequencies[s] = ClampToFloat(f0 + df * j);
        if (down) m_edits.push_back(r);
        else m_edits.insert(m_edits.begin(), r);
    }
}

void TfProfile::MergeEdits(const int* slots, int count)
{
    for (const TfRecord& edit : m_edits) {
        TfRecord* target = Record(edit.frame);
        if (!target) continue;
        for (int i = 0; i < count; ++i) {
            const size_t s = size_t(slots[i]);
            if (s >= size_t(kTfSlots)) continue;
            if (edit.times[s] != kTfInvalid) target->times[s] = edit.times[s];
            if (edit.frequencies[s] != kTfInvalid) target->frequencies[s] = edit.frequencies[s];
        }
    }
}
