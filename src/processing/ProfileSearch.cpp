#include "processing/ProfileSearch.h"

#include "platform/SafeNumeric.h"

#include <algorithm>
#include <cmath>

namespace {

// A sample index from a time or a value: clamped to the samples there are.
int SampleIndex(double v, int count) { return std::clamp(ClampToInt(v), 0, std::max(count - 1, 0)); }

// The two samples of a rising crossing between k - 1 and k, interpolated to where the
// line through them meets 0.
float CrossingTime(const float* s, int k, float step)
{
    const float rise = s[k] - s[k - 1];
    return rise != 0 ? float(k) * step - s[k] * step / rise : float(k) * step;
}

// Slowness across a spacing of `inches` from two times; not a number (so outside
// every window) where the receivers share a place.
double SlownessBetween(double earlier, double later, double inches)
{
    return inches != 0 ? (later - earlier) * 12.0 / inches : NAN;
}

} // namespace

bool RisingCrossingBackward(const float* s, int count, int from, float step, Crossing& out)
{
    for (int k = std::min(from, count - 1); k >= 1; --k)
        if (s[k] > 0 && s[k - 1] <= 0) {
            out = {k, CrossingTime(s, k, step)};
            return true;
        }
    return false;
}

bool RisingCrossingForward(const float* s, int count, int from, float step, bool laterSample, Crossing& out)
{
    // The last k whose follower is still a sample of the trace.
    for (int k = std::max(from, 0); k + 1 < count; ++k)
        if (s[k] <= 0 && s[k + 1] > 0) {
            out = {laterSample ? k + 1 : k, CrossingTime(s, k + 1, step)};
            return true;
        }
    return false;
}

void TimeStep(const TimeSearch& search, const FrameSlots& frame, const int* order, int traces, int clicked,
              const float* offsets, float previous, float* times, int* picks)
{
    const int n = frame.count;
    const float dt = search.step;
    if (n < 1 || !(dt > 0) || clicked < 0 || clicked >= traces) return;
    const double lo = search.minSlowness, hi = search.maxSlowness;
    const double meanPerInch = (lo + hi) / 24.0; // the window's mean slowness across an inch

    // The clicked trace: the crossing nearest to its previous time, ties going back.
    const int r = order[clicked];
    const float* s = frame.Slot(r);
    const int k0 = SampleIndex(double(previous) / dt + 1.0, n);
    Crossing back, ahead;
    const bool hasBack = RisingCrossingBackward(s, n, k0, dt, back);
    const bool hasAhead = RisingCrossingForward(s, n, k0, dt, true, ahead);
    if (hasBack && (!hasAhead || previous - back.time <= ahead.time - previous)) {
        times[r] = back.time;
        picks[r] = back.sample;
    } else if (hasAhead) {
        times[r] = ahead.time;
        picks[r] = ahead.sample;
    } else {
        times[r] = previous;
        picks[r] = k0;
    }
    if (search.singleReceiver) return;

    // Later traces from their predecessor.
    for (int i = clicked + 1; i < traces; ++i) {
        const int p = order[i - 1], q = order[i];
        picks[q] = picks[p];
        Crossing c;
        if (!RisingCrossingForward(frame.Slot(q), n, picks[q], dt, false, c)) continue; // keeps its time
        const double spacing = double(offsets[q]) - offsets[p];
        const double slowness = SlownessBetween(times[p], c.time, spacing);
        if (slowness >= lo && slowness <= hi) {
            times[q] = c.time;
            picks[q] = c.sample;
        } else {
            times[q] = ClampToFloat(times[p] + meanPerInch * spacing);
            picks[q] = SampleIndex(double(times[q]) / dt, n);
        }
    }
    // Earlier traces from their successor.
    for (int i = clicked - 1; i >= 0; --i) {
        const int m = order[i + 1], q = order[i];
        Crossing c;
        if (!RisingCrossingBackward(frame.Slot(q), n, picks[m], dt, c)) {
            picks[q] = picks[m];
            continue;
        }
        const double spacing = double(offsets[m]) - offsets[q];
        const double slowness = SlownessBetween(c.time, times[m], spacing);
        if (slowness >= lo && slowness <= hi) {
            times[q] = c.time;
            picks[q] = c.sample;
        } else {
            times[q] = ClampToFloat(times[m] - meanPerInch * spacing);
            picks[q] = SampleIndex(double(times[q]) / dt, n);
        }
    }
}

float FrequencyPeak(const float* spectrum, int bins, float binStep, float minimum, float maximum)
{
    if (bins < 1 || !(binStep > 0)) return 0.0f;
    const int b1 = SampleIndex(double(minimum) / binStep, bins);
    const int b2 = SampleIndex(double(maximum) / binStep, bins);
    float best = 0;
    int peak = -1;
    for (int b = b1; b <= b2; ++b)
        if (spectrum[b] > best) {
            best = spectrum[b];
            peak = b;
        }
    // Bin j lies at j bins from 0 Hz, as the axis and the search window place it.
    return peak < 0 ? 0.0f : ClampToFloat(double(peak) * binStep);
}

float SlownessStep(const SlownessSearch& search, const float* s, int count, float previous, bool firstFrame)
{
    const double ds = search.step, p = previous;
    if (count < 3 || !(ds > 0)) return previous;
    // Peaks are weighed as they are found: how many, the nearest to the previous value
    // and the largest (the first of equals each time). No table to overflow however
    // long the curve between the limits is.
    // Widened before the margins: a step far below the limits puts them at the int's ends.
    const int first = int(std::clamp<int64_t>(int64_t(ClampToInt(search.minimum / ds)) + 1, 1, count));
    const int last = int(std::clamp<int64_t>(int64_t(ClampToInt(search.maximum / ds)) - 2, 0, count - 2));
    int peaks = 0, nearest = -1, largest = -1;
    for (int k = first; k <= last; ++k) {
        if (!(s[k - 1] <= s[k] && s[k + 1] < s[k] && s[k] > 0.25f)) continue;
        ++peaks;
        if (nearest < 0 || std::fabs(p - k * ds) < std::fabs(p - nearest * ds)) nearest = k;
        if (largest < 0 || s[k] > s[largest]) largest = k;
    }
    if (peaks == 0) return previous;
    int chosen = nearest;
    if (peaks > 1) {
        const bool nearStrong = s[nearest] >= 0.5f, largeStrong = s[largest] >= 0.5f;
        if (nearStrong == largeStrong) chosen = s[largest] > s[nearest] ? largest : nearest;
        else chosen = largeStrong ? largest : nearest;
    }
    const bool strong = s[chosen] >= 0.5f;
    double f = chosen * ds;
    double r = firstFrame ? 1.0 : p / f;
    const bool jump = !firstFrame && (r > 1.15 || r < 0.85);
    if (f > search.limit) {
        f = search.limit;
        r = f != 0 ? p / f : 0.0;
    }
    double value = f;
    if (jump) {
        const bool near = r > 0.66 && r < 1.5;
        if (peaks <= 2) value = near ? (strong ? 0.25 * p + 0.75 * f : (p + f) / 2) : 0.75 * p + 0.25 * f;
        else if (peaks <= 4) value = near ? (strong ? 0.25 * p + 0.75 * f : 0.66 * p + 0.34 * f) : 0.75 * p + 0.25 * f;
        else value = !near ? 0.75 * p + 0.25 * f : (strong ? (p + f) / 2 : 0.75 * p + 0.25 * f);
    }
    return ClampToFloat(value);
}

float AzimuthStep(const AzimuthSearch& search, const float* s, int count, float previous)
{
    const double dA = search.step;
    if (!(dA > 0) || count < 3) return kProfileAbsent;
    // 30 degrees either side of the previous value, in samples; the circle ends at 360.
    // Held to the samples: a previous value far off the circle gives no window, and no
    // margin below leaves the int.
    const int lower = std::clamp(ClampToInt((double(previous) - 30) / dA), 0, count);
    int upper = ClampToInt((double(previous) + 30) / dA);
    upper = std::clamp(std::min({upper, ClampToInt(360.0 / dA), count}), 0, count);
    // Held inside the range; a range given upside down holds nothing back.
    auto accept = [&](int k) {
        return ClampToFloat(std::min(std::max(k * dA, double(search.minimum)), double(search.maximum)));
    };
    float value = kProfileAbsent;
    if (search.trackMaximum) {
        float best = 0.0f;
        for (int k = lower + 1; k <= upper - 2; ++k)
            if (s[k - 1] <= s[k] && s[k] >= s[k + 1] && s[k] >= best) {
                best = s[k];
                value = accept(k);
            }
    }
    if (search.trackMinimum) {
        float best = 1e7f;
        for (int k = lower + 1; k <= upper - 2; ++k)
            if (s[k - 1] >= s[k] && s[k] <= s[k + 1] && s[k] < best) {
                best = s[k];
                value = accept(k);
            }
    }
    return value;
}
