#include "lis/LisDepthGrid.h"

#include "lis/LisLayout.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <numeric>

using lis::ReprCode;

namespace lis::frames {

namespace {

// What double arithmetic on the depths leaves of an exact fit.
constexpr double kArithmetic = 64.0 * DBL_EPSILON;
// Candidate steps tried a pass, each followed over the depths once: the cost stays linear.
constexpr int kMostTries = 8;
// Distances the candidates are drawn from: an even sample of a long log's.
constexpr size_t kSampledDistances = 4096;
// Anchors and steps of the first stretch, whose count of steps is found by trying each.
constexpr size_t kFirstAnchors = 48;
constexpr double kFirstSteps = 64.0;
// Counts tried on the first stretch.
constexpr double kMostFirstCounts = 512.0;
// More steps than any log holds: a candidate this far off is none.
constexpr double kMostSteps = 1.0e12;
// Halvings of the bracket a grid's step is searched in.
constexpr int kSearchRounds = 48;

// The depths as distances along the log from the first, their least steps apart, and
// the band their errors lie in.
struct Course {
    std::vector<double> along; // from the first depth, the way the log runs; repeats kept
    std::vector<uint32_t> least;
    double band = 0.0;
    uint32_t fewest = 1; // the least count of any distance
    // The share of distances that must be exactly their least count: a quarter of single
    // steps; an eighth of depth-once records, which frames missing at random split with
    // a gap after most.
    size_t shareOf = 4;

    uint32_t Least(size_t j) const { return least.empty() ? 1u : std::max<uint32_t>(least[j], 1u); }
};

// How far the places of `counts` on `step` lie from the depths: the width of the band
// their differences span (origin free).
double Spread(const Course& c, const std::vector<uint64_t>& counts, size_t end, double step)
{
    double low = 0.0, high = 0.0;
    for (size_t j = 0; j < end; ++j) {
        const double r = c.along[j] - double(counts[j]) * step;
        low = std::min(low, r);
        high = std::max(high, r);
    }
    return high - low;
}

// The narrowest band of `counts` over the first `end` depths, on steps within the
// depths' band of the one their span gives (a convex search); the step it is met on.
// The band's edges on any step are corners of the points' upper and lower hulls, so
// the search looks at those alone.
double NarrowestSpread(const Course& c, const std::vector<uint64_t>& counts, size_t end, double& step)
{
    struct Point {
        double n, a;
    };
    const auto turn = [](const Point& o, const Point& p, const Point& q) {
        return (p.n - o.n) * (q.a - o.a) - (p.a - o.a) * (q.n - o.n);
    };
    std::vector<Point> upper, lower;
    for (size_t j = 0; j < end; ++j) {
        const Point p{double(counts[j]), c.along[j]};
        while (upper.size() >= 2 && turn(upper[upper.size() - 2], upper.back(), p) >= 0.0) upper.pop_back();
        upper.push_back(p);
        while (lower.size() >= 2 && turn(lower[lower.size() - 2], lower.back(), p) <= 0.0) lower.pop_back();
        lower.push_back(p);
    }
    const auto spread = [&](double g) {
        double high = -HUGE_VAL, low = HUGE_VAL;
        for (const Point& p : upper) high = std::max(high, p.a - p.n * g);
        for (const Point& p : lower) low = std::min(low, p.a - p.n * g);
        return high - low;
    };
    const double steps = double(counts[end - 1]), span = c.along[end - 1];
    double lo = (span - c.band) / steps, hi = (span + c.band) / steps;
    for (int round = 0; round < kSearchRounds; ++round) {
        const double a = lo + (hi - lo) / 3.0, b = hi - (hi - lo) / 3.0;
        if (spread(a) <= spread(b)) hi = b;
        else lo = a;
    }
    step = (lo + hi) / 2.0;
    return spread(step);
}

// Whether `counts` place the first `end` depths within one band, each distance at
// least its least count of steps.
bool Fits(const Course& c, const std::vector<uint64_t>& counts, size_t end)
{
    for (size_t j = 1; j < end; ++j)
        if (c.along[j] != c.along[j - 1] && counts[j] < counts[j - 1] + c.Least(j - 1)) return false;
    // On the chord from the first depth to the last the band is at most twice as wide.
    if (counts[end - 1] == 0 || Spread(c, counts, end, c.along[end - 1] / double(counts[end - 1])) > 2.0 * c.band)
        return false;
    double step = 0.0;
    return NarrowestSpread(c, counts, end, step) <= c.band;
}

// Counts the steps of every depth after the first `start`, each on the line fitted to
// the depths counted before it (least squares, from the first depth). False where a
// depth lies nearer half a step than its band from the line.
bool CountOn(const Course& c, std::vector<uint64_t>& counts, size_t start)
{
    double sn = 0, snn = 0, sd = 0, snd = 0;
    for (size_t j = 0; j < start; ++j) {
        const double n = double(counts[j]);
        sn += n, snn += n * n, sd += c.along[j], snd += n * c.along[j];
    }
    for (size_t j = start; j < c.along.size(); ++j) {
        const double m = double(j), det = m * snn - sn * sn;
        const double step = (m * snd - sn * sd) / det, origin = (sd - step * sn) / m;
        if (c.along[j] == c.along[j - 1]) {
            counts[j] = counts[j - 1];
        } else {
            const double n = std::nearbyint((c.along[j] - origin) / step);
            if (!(n < kMostSteps) || n < double(counts[j - 1] + c.Least(j - 1))) return false;
            if (std::fabs(c.along[j] - origin - n * step) > std::max(c.band, step / 4.0) + c.band) return false;
            counts[j] = uint64_t(n);
        }
        const double n = double(counts[j]);
        sn += n, snn += n * n, sd += c.along[j], snd += n * c.along[j];
    }
    return true;
}

// The grid a candidate step leads to. The first stretch's count of steps is tried from
// the coarsest the candidate allows (within the band of it, a distance of one step is
// off by as much; over twice the band, for on a finer grid the depths' rounding alone
// would fit);
// each that places its depths within one band is followed over the rest.
DepthGrid Follow(const Course& c, double candidate, std::vector<uint64_t>& counts)
{
    const double lo = std::max(candidate - c.band, 2.0 * c.band / c.fewest * (1.0 + 1e-9)), hi = candidate + c.band;
    if (!(lo <= hi)) return {};
    size_t first = 2;
    while (first < c.along.size() && (first < kFirstAnchors || c.along[first - 1] < kFirstSteps * candidate)) ++first;
    const double span = c.along[first - 1];
    const double fewest = std::ceil(span / hi), most = std::floor(span / lo);
    if (!(most < kMostSteps) || most - fewest > kMostFirstCounts) return {};
    for (double total = std::max(fewest, 1.0); total <= most; ++total) {
        const double step = span / total;
        counts[0] = 0;
        for (size_t j = 1; j < first; ++j) counts[j] = uint64_t(std::max(0.0, std::nearbyint(c.along[j] / step)));
        if (!Fits(c, counts, first)) continue;
        if (!CountOn(c, counts, first)) continue;
        const size_t end = c.along.size();
        size_t distances = 0, least = 0;
        for (size_t j = 1; j < end; ++j)
            if (c.along[j] != c.along[j - 1]) {
                ++distances;
                least += counts[j] - counts[j - 1] == c.Least(j - 1);
            }
        if (c.shareOf * least < distances) continue;
        const double whole = c.along.back(), steps = double(counts.back());
        double narrowest = 0.0;
        if (Spread(c, counts, end, whole / steps) > c.band && NarrowestSpread(c, counts, end, narrowest) > c.band)
            continue;
        DepthGrid grid;
        grid.holds = true;
        grid.steps = counts.back();
        grid.step = whole / steps;
        grid.distances = distances;
        grid.gapless = least;
        return grid;
    }
    return {};
}

// The coarsest candidate of `units` (a sample of the distances over their least counts,
// sorted) that leads to a grid: the mean of every window twice the band wide that holds
// a quarter of them, from the top, taken again about its own mean (a window that starts
// inside a cluster leans toward the values above it); nearly the same mean is not tried
// twice.
DepthGrid CoarsestGrid(const Course& c, const std::vector<double>& units, std::vector<uint64_t>& counts)
{
    std::vector<double> sums(units.size() + 1, 0.0);
    std::partial_sum(units.begin(), units.end(), sums.begin() + 1);
    const size_t count = units.size(), need = (count + c.shareOf - 1) / c.shareOf;
    const double width = 2.0 * c.band;
    std::vector<double> tried;
    size_t top = count;
    for (size_t i = count; i-- > 0 && int(tried.size()) < kMostTries;) {
        while (top > i + 1 && units[top - 1] >= units[i] + width) --top;
        if (top - i < need || (i > 0 && units[i - 1] == units[i])) continue; // a window holds all of a value
        double mean = (sums[top] - sums[i]) / double(top - i);
        for (int again = 0; again < 2; ++again) {
            const auto lo = size_t(std::lower_bound(units.begin(), units.end(), mean - c.band) - units.begin());
            const auto hi = size_t(std::upper_bound(units.begin(), units.end(), mean + c.band) - units.begin());
            if (hi <= lo) break;
            mean = (sums[hi] - sums[lo]) / double(hi - lo);
        }
        if (std::any_of(tried.begin(), tried.end(), [&](double t) { return std::fabs(t - mean) <= c.band / 2.0; }))
            continue;
        tried.push_back(mean);
        if (const DepthGrid grid = Follow(c, mean, counts); grid.holds) return grid;
    }
    return {};
}

// Whether `depths` lie within `precision` of their places `step` apart from the first,
// each at least its least count of steps beyond the one before.
bool GridFits(const std::vector<double>& depths, const std::vector<uint32_t>& leastSteps, double step, double precision)
{
    if (depths.size() < 2 || !(step > 0.0)) return false;
    double deepest = 0.0;
    for (double d : depths) deepest = std::max(deepest, std::fabs(d));
    const double tolerance = std::max(precision, kArithmetic * std::max(deepest, 1.0));
    const double sign = depths.back() >= depths.front() ? 1.0 : -1.0;
    uint64_t last = 0;
    for (size_t j = 1; j < depths.size(); ++j) {
        if (depths[j] == depths[j - 1]) continue;
        const double along = (depths[j] - depths.front()) * sign;
        const double n = std::nearbyint(along / step);
        const uint32_t least = leastSteps.empty() ? 1u : std::max<uint32_t>(leastSteps[j - 1], 1u);
        if (!(n < kMostSteps) || n < double(last + least) || std::fabs(along - n * step) > tolerance) return false;
        last = uint64_t(n);
    }
    return true;
}

} // namespace

double StepPrecision(uint8_t code, double deepest)
{
    if (lis::Is(code, ReprCode::Int32) || lis::Is(code, ReprCode::Int16)) return 1.0;
    if (!lis::Is(code, ReprCode::Float) || !std::isfinite(deepest)) return 0.0;
    // A fraction in [1/2, 1) of 23 bits: its unit is 2^-23 of the power of two above.
    int exponent = 0;
    std::frexp(std::fabs(deepest), &exponent);
    return std::ldexp(1.0, exponent - 23);
}

DepthGrid MeasureDepthGrid(const std::vector<double>& depths, const std::vector<uint32_t>& leastSteps,
                           double precision, bool unitGrid)
{
    if (depths.size() < 2 || (!leastSteps.empty() && leastSteps.size() + 1 < depths.size())) return {};
    double deepest = 0.0;
    for (double d : depths) {
        if (!std::isfinite(d)) return {};
        deepest = std::max(deepest, std::fabs(d));
    }
    const double span = depths.back() - depths.front();
    if (span == 0.0 || !std::isfinite(span)) return {};
    const double sign = span > 0.0 ? 1.0 : -1.0;
    Course c;
    c.least = leastSteps;
    if (!leastSteps.empty()) c.shareOf = 8;
    if (!leastSteps.empty())
        c.fewest = std::max<uint32_t>(1, *std::min_element(leastSteps.begin(), leastSteps.begin() + long(depths.size() - 1)));
    c.along.reserve(depths.size());
    for (size_t j = 0; j < depths.size(); ++j) {
        c.along.push_back((depths[j] - depths.front()) * sign);
        if (j > 0 && c.along[j] < c.along[j - 1]) return {}; // goes back: no grid
    }
    std::vector<double> units;
    const size_t stride = std::max<size_t>(1, depths.size() / kSampledDistances);
    for (size_t j = 1; j < depths.size(); j += stride)
        if (const double d = c.along[j] - c.along[j - 1]; d > 0.0) units.push_back(d / double(c.Least(j - 1)));
    if (units.empty()) return {};
    std::sort(units.begin(), units.end());
    std::vector<uint64_t> counts(depths.size(), 0);
    // First the depths as they lie, then within the code's precision.
    const double arithmetic = kArithmetic * std::max(deepest, 1.0);
    // (A band a whole unit wide is met to the last bit: what arithmetic leaves is allowed.)
    for (const double band : {arithmetic, precision + arithmetic}) {
        c.band = band;
        if (DepthGrid grid = CoarsestGrid(c, units, counts); grid.holds) {
            grid.exact = band == arithmetic;
            // A grid no wider than the code's precision is the code's own unit, not the
            // log's: but for integer depths that step by whole units exactly.
            if (grid.step * c.fewest > precision * (1.0 + 1e-9) || (unitGrid && grid.exact)) return grid;
        }
        if (precision <= arithmetic) break;
    }
    return {};
}

DepthGrid CountedBy(const std::vector<double>& depths, const std::vector<uint32_t>& leastSteps, double spacing,
                    double precision)
{
    if (depths.size() < 2 || !(spacing > 0.0)) return {};
    const double sign = depths.back() >= depths.front() ? 1.0 : -1.0;
    DepthGrid grid;
    double step = spacing;
    for (size_t j = 1; j < depths.size(); ++j) {
        const double d = (depths[j] - depths[j - 1]) * sign;
        if (d == 0.0) continue;
        // Counted on the step the span so far gives, once it holds a few: a long gap
        // counted on a spacing read to four places would drift by a step.
        const double k = std::nearbyint(d / step);
        const uint32_t least = leastSteps.empty() ? 1u : std::max<uint32_t>(leastSteps[j - 1], 1u);
        if (!(k < kMostSteps) || k < double(least)) return {};
        grid.steps += uint64_t(k);
        ++grid.distances;
        grid.gapless += k == double(least);
        if (grid.steps >= 16) step = (depths[j] - depths.front()) * sign / double(grid.steps);
    }
    if (grid.steps == 0 || !(double(grid.steps) < kMostSteps)) return {};
    grid.step = (depths.back() - depths.front()) * sign / double(grid.steps);
    grid.holds = GridFits(depths, leastSteps, grid.step, precision);
    return grid.holds ? grid : DepthGrid{};
}

} // namespace lis::frames
