#include "lis/steps/DepthGrid.h"

#include "lis/LisLayout.h"

#include <algorithm>
#include <cmath>
#include <numeric>

using lis::ReprCode;

namespace lis::frames {

namespace {

// The depths as distances along the log from the first, their least steps apart, and
// the band their errors lie in.
struct Course {
    std::vector<double> along; // from the first depth, the way the log runs; repeats kept
    std::vector<uint32_t> least;
    double band = 0.0;
    uint32_t fewest = 1; // the least count of any distance
    size_t shareOf = kExactShare; // of the distances exactly their least count
    GridSearchWork* work = nullptr;

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
class Hulls {
public:
    void Add(double n, double a)
    {
        const Point p{n, a};
        while (upper_.size() >= 2 && Turn(upper_[upper_.size() - 2], upper_.back(), p) >= 0.0) upper_.pop_back();
        upper_.push_back(p);
        while (lower_.size() >= 2 && Turn(lower_[lower_.size() - 2], lower_.back(), p) <= 0.0) lower_.pop_back();
        lower_.push_back(p);
    }
    // The width of the band the points' misses on step `g` span.
    double Band(double g) const
    {
        double high = -HUGE_VAL, low = HUGE_VAL;
        for (const Point& p : upper_) high = std::max(high, p.a - p.n * g);
        for (const Point& p : lower_) low = std::min(low, p.a - p.n * g);
        return high - low;
    }
    // The step in [lo, hi] the band is narrowest on (convex: a ternary search).
    double Narrowest(double lo, double hi) const
    {
        for (int round = 0; round < kSearchRounds; ++round) {
            const double a = lo + (hi - lo) / 3.0, b = hi - (hi - lo) / 3.0;
            if (Band(a) <= Band(b)) hi = b;
            else lo = a;
        }
        return (lo + hi) / 2.0;
    }

private:
    struct Point {
        double n, a;
    };
    static double Turn(const Point& o, const Point& p, const Point& q)
    {
        return (p.n - o.n) * (q.a - o.a) - (p.a - o.a) * (q.n - o.n);
    }
    std::vector<Point> upper_, lower_;
};

double NarrowestSpread(const Course& c, const std::vector<uint64_t>& counts, size_t end, double& step)
{
    Hulls hulls;
    for (size_t j = 0; j < end; ++j) hulls.Add(double(counts[j]), c.along[j]);
    const double steps = double(counts[end - 1]), span = c.along[end - 1];
    step = hulls.Narrowest((span - c.band) / steps, (span + c.band) / steps);
    return hulls.Band(step);
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
            if (std::fabs(c.along[j] - origin - n * step) > std::max(c.band, step * kCountReach) + c.band) return false;
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
    const double lo = std::max(candidate - c.band, 2.0 * c.band / c.fewest * (1.0 + kInsideTheEdge)), hi = candidate + c.band;
    if (!(lo <= hi)) return {};
    size_t first = 2;
    while (first < c.along.size() && (first < kFirstAnchors || c.along[first - 1] < double(kCountingSteps) * candidate))
        ++first;
    const double span = c.along[first - 1];
    const double fewest = std::ceil(span / hi), most = std::floor(span / lo);
    if (!(most < kMostSteps) || most - fewest > kMostFirstCounts) return {};
    for (double total = std::max(fewest, 1.0); total <= most; ++total) {
        if (c.work) ++c.work->firstCounts;
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
// inside a cluster leans toward the values above it); a mean within one depth's rounding
// (half the band) of one tried is not tried again.
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
        if (std::any_of(tried.begin(), tried.end(), [&](double t) { return std::fabs(t - mean) <= c.band * kRoundingShare; }))
            continue;
        tried.push_back(mean);
        if (c.work) ++c.work->followed;
        if (const DepthGrid grid = Follow(c, mean, counts); grid.holds) return grid;
    }
    return {};
}

} // namespace

double CourseOf(const std::vector<double>& depths)
{
    size_t ahead = 0, back = 0;
    double travel = 0.0, total = 0.0;
    for (size_t j = 1; j < depths.size(); ++j) {
        const double d = depths[j] - depths[j - 1];
        ahead += d > 0.0, back += d < 0.0, travel += d, total += std::fabs(d);
    }
    if (!std::isfinite(total) || ahead + back == 0) return 0.0;
    if (ahead >= kNearCourseShare * back || back >= kNearCourseShare * ahead) return ahead > back ? 1.0 : -1.0;
    return travel >= 0.0 ? 1.0 : -1.0;
}

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
                           double precision, bool unitGrid, GridSearchWork* work)
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
    c.work = work;
    c.least = leastSteps;
    c.shareOf = ExactShare(!leastSteps.empty());
    if (!leastSteps.empty())
        c.fewest = std::max<uint32_t>(1, *std::min_element(leastSteps.begin(), leastSteps.begin() + long(depths.size() - 1)));
    c.along.reserve(depths.size());
    for (size_t j = 0; j < depths.size(); ++j) {
        c.along.push_back((depths[j] - depths.front()) * sign);
        if (j > 0 && c.along[j] < c.along[j - 1]) return {}; // goes back: no grid
    }
    // An even sample of the distances over their least counts, taken once repeated depths
    // are left out (a stride over every depth would meet only the repeats where each depth
    // is written twice), sorted.
    size_t distances = 0;
    for (size_t j = 1; j < depths.size(); ++j) distances += c.along[j] > c.along[j - 1];
    std::vector<double> units;
    const size_t stride = std::max<size_t>(1, distances / kSampledDistances);
    for (size_t j = 1, seen = 0; j < depths.size(); ++j)
        if (const double d = c.along[j] - c.along[j - 1]; d > 0.0 && seen++ % stride == 0)
            units.push_back(d / double(c.Least(j - 1)));
    if (units.empty()) return {};
    if (work) work->sorted = units.size();
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
            if (grid.step * c.fewest > precision * (1.0 + kInsideTheEdge) || (unitGrid && grid.exact)) return grid;
        }
        if (precision <= arithmetic) break;
    }
    return {};
}

StepFit::Disproof StepFit::Why() const
{
    // One odd depth makes up to two odd distances.
    const size_t distances = Distances(), offGrid = odd + runPast;
    if (kRunPastShare * runPast > distances) return Disproof::RunPast;
    if (Most(overlaps, distances)) return Disproof::Overlaps;
    if (odd > OddAllowed(distances)) return Disproof::Odd;
    if (offGrid >= kOddFloor && Most(offGrid, distances)) return Disproof::MostOffGrid;
    return multiple > 1 ? Disproof::Multiple : Disproof::None;
}

bool StepFit::EnoughGapless(bool once) const { return onGrid > 0 && gapless * ExactShare(once) >= onGrid; }

size_t StepFit::OddAllowed(size_t distances) { return std::max<size_t>(kOddFloor, distances / kOddShare); }

namespace {

// How far two depths of `precision` lie from their distance: under a unit of an integer
// code (each exact to half a unit); 1.25 units of code 68's fraction (words rounded, cut,
// or cut from a float).
double Tolerance(double precision, bool integer)
{
    return integer ? precision * (1.0 - kInsideTheEdge) : kCutWordReach * precision;
}

// Where two depths' rounding reaches a third of a step, a single distance's count of it
// is in doubt (a distance of one step may read as two, or none).
bool CountInDoubt(double tolerance, double step) { return kDoubtShare * tolerance >= step; }

// One step laid over a log's anchors, one after the other.
class StepHolder {
public:
    StepHolder(const std::vector<double>& depths, const std::vector<uint32_t>& leastSteps, double step,
               double precision, bool integer, const HoldOptions& options)
        : d_(depths), least_(leastSteps), step_(step), precision_(precision), integer_(integer), options_(options)
    {
        fit_.step = step;
    }

    StepFit Run()
    {
        if (!Start()) return fit_;
        for (size_t j = 1; j < d_.size() && fit_.odd <= options_.oddLimit; ++j) Take(j);
        CloseStretch();
        fit_.steps = longest_;
        fit_.counted = counted_;
        if (longest_ > 0) fit_.step = longestSpan_ / double(longest_);
        SettleMultiple();
        return fit_;
    }

private:
    enum class Place { OnGrid, Overlap, Drift, RunPast, Off };

    uint32_t Least(size_t j) const { return least_.empty() ? 1u : std::max<uint32_t>(least_[j], 1u); }

    // The way the log runs and what two depths' rounding leaves of a distance; false where
    // the anchors give none.
    bool Start()
    {
        const size_t n = d_.size();
        if (n < 2 || !(step_ > 0.0) || !std::isfinite(step_) || (!least_.empty() && least_.size() + 1 < n))
            return false;
        double deepest = 0.0;
        for (size_t j = 0; j < n; ++j) {
            if (!std::isfinite(d_[j])) return false;
            deepest = std::max(deepest, std::fabs(d_[j]));
        }
        fit_.sign = CourseOf(d_);
        if (fit_.sign == 0.0) return false;
        tolerance_ = Tolerance(precision_, integer_) + kArithmetic * std::max(deepest, 1.0);
        need_ = Least(0);
        if (options_.place) options_.place({0, 0, 0.0});
        return true;
    }

    // Where anchor j lies on the stretch from origin_, `places` beyond prev_: its count
    // of steps in `k`. Counted from the anchor before, so that a step a little off
    // drifts over the stretch; the miss is measured from the stretch's start. A record
    // whose last frame meets the next record's depth overlaps it; one whose frames reach
    // beyond runs past.
    Place PlaceOf(size_t j, uint64_t places, uint64_t& k)
    {
        const double along = (d_[j] - d_[origin_]) * fit_.sign;
        const double from = (d_[j] - d_[prev_]) * fit_.sign;
        if (from > 0.0 && places >= 2 && from < double(places - 1) * step_ - tolerance_) return Place::RunPast;
        // No fewer steps than the frames before take (a record's last may meet the next).
        const double fewest = double(count_ + places - (places >= 2 ? 1 : 0));
        const double steps = std::max(double(count_) + std::nearbyint(from / CountingStep(from)), fewest);
        const double signedMiss = along - steps * step_, miss = std::fabs(signedMiss);
        // Off by no more than the anchor before and the two depths' rounding: drift, as a
        // step a little off leaves it. A splice jumps. A step a header gives drifts no
        // more than a step a little off does over the distance; one followed roughly
        // is followed on.
        // (Two depths' rounding moves a distance by no more than the tolerance; a rough step's
        // misses add up over two.)
        const double jump = options_.follow ? kFollowJump * tolerance_ : tolerance_;
        const bool small = std::fabs(signedMiss - lastMiss_) <= jump + kDriftShare * from;
        const bool drifts = options_.follow ? small : miss <= kDriftShare * along && (count_ == 0 || small);
        if (from <= 0.0 || !(steps < kMostSteps) || (miss > tolerance_ && !drifts)) return Place::Off;
        k = uint64_t(steps);
        if (k + 1 < count_ + places || (k < count_ + places && places < 2)) return Place::Off; // among the frames before
        missAt_ = signedMiss;
        if (miss > tolerance_) return Place::Drift;
        return k + 1 == count_ + places && places >= 2 ? Place::Overlap : Place::OnGrid;
    }

    // The step a distance is counted in: where a header's step is held, the stretch's
    // own (its span over its steps) once it holds enough of them, and where the depths'
    // rounding leaves it within half a step over the distance (a header's step a little
    // off would miscount a long gap); else the step held.
    double CountingStep(double from) const
    {
        if (options_.follow || count_ < kCountingSteps) return step_;
        const double own = (d_[prev_] - d_[origin_]) * fit_.sign / double(count_);
        return kLaidSpread * tolerance_ * (from / own) < double(count_) * own * kRoundingShare ? own : step_;
    }

    // Whether the anchor after j lies on the stretch again, its frames counted too (where
    // a rough step is followed, drifting on with it counts).
    bool NextOnGrid(size_t j)
    {
        uint64_t next = 0;
        const double missAt = missAt_;
        const Place after = j + 1 < d_.size() ? PlaceOf(j + 1, need_ + Least(j), next) : Place::Off;
        missAt_ = missAt;
        return after == Place::OnGrid || after == Place::Overlap || (options_.follow && after == Place::Drift);
    }

    // Whether anchor j (just placed) jumps from the anchor before by more than the depths'
    // rounding leaves, where the anchor after it, counted from the anchor before, does not.
    bool JumpsAlone(size_t j)
    {
        const auto rounding = [&](size_t i) { return tolerance_ + kDriftShare * (d_[i] - d_[prev_]) * fit_.sign; };
        const double missAt = missAt_;
        if (std::fabs(missAt - lastMiss_) <= rounding(j) || j + 1 >= d_.size()) return false;
        uint64_t next = 0;
        const Place after = PlaceOf(j + 1, need_ + Least(j), next);
        const bool alone = after != Place::Off && after != Place::RunPast
                           && std::fabs(missAt_ - lastMiss_) <= rounding(j + 1);
        missAt_ = missAt;
        return alone;
    }

    void Take(size_t j)
    {
        if (d_[j] == d_[prev_] && least_.empty()) return; // a repeated depth: no place of its own
        uint64_t k = 0;
        Place place = PlaceOf(j, need_, k);
        // A drifting anchor the next one does not follow is a glitch. Where a rough step
        // is followed, its misses add up (one near the precision's edge, the next inside
        // it): only one that jumps beyond the depths' rounding where the next, counted
        // past it, does not is a glitch.
        bool glitch = false;
        const bool drifted = place == Place::Drift;
        if (drifted) {
            glitch = options_.follow ? JumpsAlone(j) : NextOnGrid(j);
            place = glitch ? Place::Off : Place::OnGrid;
            ++fit_.drift;
        }
        if (place == Place::OnGrid || place == Place::Overlap) return OnGrid(j, k, place == Place::Overlap, drifted);
        // A glitch: the next anchor lies on the stretch again, its frames counted too.
        const bool again = glitch || NextOnGrid(j);
        // An anchor that turns back against the log starts a repeat section or a turn of
        // records read out of order: no depth off the step's places.
        const bool back = (d_[j] - d_[prev_]) * fit_.sign < 0.0;
        const bool turnsBack = place == Place::Off && !again && back;
        if (!turnsBack) ++(place == Place::RunPast ? fit_.runPast : fit_.odd);
        // Nor does a depth that turns back (to stay or not) bear out a coarser step: where it
        // lies on the multiple's grid is unknown.
        for (uint32_t g = 2; back && place == Place::Off && g <= kMostMultiple; ++g) ++broken_[g], ++offMultiple_[g];
        if (again) {
            need_ += Least(j);
            return;
        }
        CloseStretch();
        origin_ = prev_ = j;
        count_ = 0;
        ++stretch_;
        if (options_.place) options_.place({stretch_, 0, 0.0});
        need_ = Least(j);
        lastMiss_ = 0.0;
    }

    void OnGrid(size_t j, uint64_t k, bool overlap, bool drifted = false)
    {
        const uint64_t m = k - count_;
        ++fit_.onGrid;
        fit_.overlaps += overlap;
        fit_.gapless += m == need_;
        for (uint32_t g = 2; g <= kMostMultiple; ++g) {
            broken_[g] += m % g != 0 || m < g * need_;
            exact_[g] += m == g * need_;
            offMultiple_[g] += k % g != 0 && !drifted; // placed exactly, counted from its stretch's start
            short_[g] += m < g * need_;                 // its frames would run past the next at g steps
        }
        count_ = k;
        prev_ = j;
        need_ = Least(j);
        lastMiss_ = missAt_;
        if (options_.place) options_.place({stretch_, k, (d_[j] - d_[origin_]) * fit_.sign});
    }

    // The longest stretch gives the step: pooled, the ends of a few short stretches err more.
    void CloseStretch()
    {
        const double span = (d_[prev_] - d_[origin_]) * fit_.sign;
        counted_ += count_;
        if (count_ > longest_) longest_ = count_, longestSpan_ = span;
    }

    // Every distance a whole multiple but for what one odd depth breaks, or every anchor
    // on the multiple's grid but for as many as a step stands with odd (odd depths that
    // land on the finer grid, each one anchor off the multiple's, where a gapless distance
    // moves all that follow) and every record's frames fitting at it (a single frame always
    // does: one nearer is an odd anchor), enough of them
    // exactly their least count of it; or every
    // distance a whole multiple and one at least exactly (frames missing at random leave
    // a gap after nearly every record).
    void SettleMultiple()
    {
        const size_t share = ExactShare(!least_.empty());
        for (uint32_t g = kMostMultiple; g >= 2 && fit_.onGrid >= kMultipleDistances; --g) {
            const bool few = broken_[g] <= kMultipleBroken
                             || ((short_[g] == 0 || least_.empty()) && offMultiple_[g] <= StepFit::OddAllowed(fit_.onGrid));
            if (few && exact_[g] * share >= fit_.onGrid) fit_.wholeMultiples |= 1u << g;
            if (broken_[g] == 0 && exact_[g] > 0) fit_.wholeMultiples |= 1u << g, fit_.unbroken |= 1u << g;
        }
    }

    const std::vector<double>& d_;
    const std::vector<uint32_t>& least_;
    const double step_, precision_;
    const bool integer_;
    const HoldOptions options_;
    StepFit fit_;
    double tolerance_ = 0.0;
    size_t broken_[kMostMultiple + 1] = {}, exact_[kMostMultiple + 1] = {}, offMultiple_[kMostMultiple + 1] = {},
           short_[kMostMultiple + 1] = {};
    size_t origin_ = 0, prev_ = 0, stretch_ = 0;
    uint64_t count_ = 0, need_ = 1; // steps from the origin to prev; places the frames from prev take
    uint64_t counted_ = 0;          // steps of the closed stretches
    double lastMiss_ = 0.0, missAt_ = 0.0; // of the last anchor counted, and of the one placed
    double longestSpan_ = 0.0;
    uint64_t longest_ = 0;
};

} // namespace

StepFit HoldStep(const std::vector<double>& depths, const std::vector<uint32_t>& leastSteps, double step,
                 double precision, bool integer, const HoldOptions& options)
{
    return StepHolder(depths, leastSteps, step, precision, integer, options).Run();
}

namespace {

// The step held over the anchors (`step` as it was held last), no multiple of it borne out.
StepFit FitOnce(const std::vector<double>& depths, const std::vector<uint32_t>& leastSteps, double& step,
                double precision, bool integer, bool follow)
{
    // Where the depths' rounding reaches a third of the step, a distance's count of it is
    // in doubt: it is held as given.
    const double tolerance = Tolerance(precision, integer);
    if (!follow && step > 0.0 && CountInDoubt(tolerance, step))
        return HoldStep(depths, leastSteps, step, precision, integer);
    // A rough step is first measured on the distances it counts plainly, one by one
    // (each within a quarter of a step of a whole count): the median of their steps,
    // which a splice or an odd depth does not move, then the sum of the distances that
    // step counts within what two depths' precision leaves over their counts. Not where
    // the depths' rounding reaches a third of the step: there a single distance's count
    // is in doubt, and the rounding would bias both; the stretches the step is followed
    // over measure it.
    if (follow && step > 0.0 && std::isfinite(step) && !CountInDoubt(tolerance, step)) {
        std::vector<double> each;
        for (size_t j = 1; j < depths.size(); ++j) {
            const double d = std::fabs(depths[j] - depths[j - 1]), n = std::nearbyint(d / step);
            if (n >= 1.0 && n < kMostSteps && std::fabs(d - n * step) <= step * kCountReach) each.push_back(d / n);
        }
        if (!each.empty()) {
            std::nth_element(each.begin(), each.begin() + std::ptrdiff_t(each.size() / 2), each.end());
            step = each[each.size() / 2];
            // (Inclusive: integer distances a whole unit off the median's are a step's rounding.)
            const double within = tolerance * (1.0 + kAtTheBound);
            double sum = 0.0, count = 0.0;
            for (size_t j = 1; j < depths.size(); ++j) {
                const double d = std::fabs(depths[j] - depths[j - 1]), n = std::nearbyint(d / step);
                if (n >= 1.0 && n < kMostSteps && std::fabs(d - n * step) <= within) sum += d, count += n;
            }
            if (count > 0.0) step = sum / count;
        }
    }
    HoldOptions followed;
    followed.follow = follow;
    StepFit fit = HoldStep(depths, leastSteps, step, precision, integer, followed);
    // A rough step splits the run where it leaves the precision, or drifts: followed
    // again on the longest stretch's span while that lengthens the stretch or holds it
    // with fewer misses, a few times at most (so that the passes are as few on a long log
    // as on a short one). A pass that measures the step it held has settled it: a further
    // pass would lay the anchors out alike.
    const auto misses = [](const StepFit& f) { return f.odd + f.runPast + f.drift; };
    for (int again = 0; follow && again < kMostFollows && fit.steps > 0; ++again) {
        const StepFit next = HoldStep(depths, leastSteps, fit.step, precision, integer, followed);
        if (next.steps < fit.steps || (next.steps == fit.steps && misses(next) >= misses(fit))) break;
        step = fit.step;
        fit = next;
        if (fit.step == step) break;
    }
    return fit;
}

// Whether `coarse`, g steps of `fine`, is the log's step: over enough distances, enough of
// them exactly their least count; its odd anchors (odd depths, some of which the finer grid
// may hold) no more than one odd depth more than the finer step's, or than a step stands
// with; and records that run past or onto the next at it do not disprove it. A header's
// step stands unless its bytes prove it wrong, so against it that is: no more such records
// than at `fine` (frames that run past where they do not at the finer step prove the finer
// step); a step measured roughly has no such standing (a splice back it lands on its grid
// runs a record past at the multiple).
size_t MultipleOddAllowed(const StepFit& fine, size_t distances)
{
    return std::max(fine.odd + kMultipleBroken, StepFit::OddAllowed(distances));
}

bool WholeMultipleBorneOut(const StepFit& fine, const StepFit& coarse, bool once, bool unbroken, StepFrom from)
{
    const bool header = from == StepFrom::Header;
    const StepFit::Disproof why = coarse.Why();
    const bool runsOn = header ? coarse.runPast + coarse.overlaps <= fine.runPast + fine.overlaps
                               : why != StepFit::Disproof::RunPast && why != StepFit::Disproof::Overlaps;
    // (Against a header's step only distances on the multiple's grid speak for it.)
    const size_t distances = header ? coarse.onGrid : coarse.Distances();
    return distances >= kMultipleDistances && (coarse.EnoughGapless(once) || (unbroken && coarse.gapless > 0))
           && runsOn && coarse.odd <= MultipleOddAllowed(fine, coarse.Distances());
}

} // namespace

uint32_t CoarsestMultiple(const std::vector<double>& depths, const std::vector<uint32_t>& leastSteps,
                          const StepFit& fine, double step, double precision, bool integer, uint32_t candidates,
                          StepFrom from)
{
    HoldOptions quick; // past its odd anchors the multiple is no longer in question
    quick.oddLimit = MultipleOddAllowed(fine, depths.empty() ? 0 : depths.size() - 1);
    for (uint32_t g = kMostMultiple; g >= 2; --g) {
        if (!(candidates & (1u << g))) continue;
        const StepFit coarse = HoldStep(depths, leastSteps, g * step, precision, integer, quick);
        if (WholeMultipleBorneOut(fine, coarse, !leastSteps.empty(), (fine.unbroken >> g) & 1u, from)) return g;
    }
    return 1;
}

namespace {

// Where every anchor (laid from the first, each distance counted) lies within two depths'
// rounding of the grid `counts` place it on: the step that does, else 0.
double LaysTheRun(const std::vector<double>& along, const std::vector<uint64_t>& counts, double tolerance)
{
    const double step = along.back() / double(counts.back());
    double low = 0.0, high = 0.0;
    for (size_t j = 1; j < along.size(); ++j) {
        const double r = along[j] - double(counts[j]) * step;
        low = std::min(low, r), high = std::max(high, r);
    }
    return high - low <= kLaidSpread * tolerance ? step : 0.0;
}

} // namespace

double CountAcrossLongGaps(const std::vector<double>& depths, const std::vector<uint32_t>& leastSteps, double step,
                           double precision, bool integer)
{
    const size_t n = depths.size();
    if (n < 3 || !(step > 0.0) || !std::isfinite(step) || (!leastSteps.empty() && leastSteps.size() + 1 < n))
        return step;
    const double sign = depths.back() > depths.front() ? 1.0 : -1.0;
    const auto least = [&](size_t j) { return leastSteps.empty() ? 1.0 : std::max(1.0, double(leastSteps[j])); };
    // The shorter distances, each counted plainly, measure the step together.
    double shortSpan = 0.0, shortSteps = 0.0;
    std::vector<size_t> gaps;
    for (size_t j = 1; j < n; ++j) {
        const double d = (depths[j] - depths[j - 1]) * sign, k = std::nearbyint(d / step);
        if (!(d >= 0.0) || !std::isfinite(d)) return step; // turns back: no one grid
        if (d == 0.0) continue;
        if (k > kLongGap) {
            gaps.push_back(j);
            continue;
        }
        if (k < least(j - 1)) return step;
        shortSpan += d, shortSteps += k;
    }
    if (gaps.empty() || shortSteps < 1.0) return step;
    const double measured = shortSpan / shortSteps;
    std::vector<double> along(n, 0.0);
    std::vector<uint64_t> counts(n, 0);
    for (size_t j = 1; j < n; ++j) {
        const double d = (depths[j] - depths[j - 1]) * sign;
        const bool gap = std::binary_search(gaps.begin(), gaps.end(), j);
        const double k = d == 0.0 ? 0.0 : std::nearbyint(d / (gap ? measured : step));
        if (!(k < kMostSteps)) return step; // no log's count: a hostile depth
        along[j] = (depths[j] - depths.front()) * sign;
        counts[j] = counts[j - 1] + uint64_t(k);
    }
    const double tolerance = Tolerance(precision, integer);
    const double laid = LaysTheRun(along, counts, tolerance);
    if (!(laid > 0.0)) return step;
    // A count one step more or less over any gap that lays the run as well leaves it in doubt.
    // Moved over gap g, every anchor from g on moves by one step of the run's new step: the
    // anchors before g and those from it each keep the band they had at that step, so one
    // pass a way tells it for every gap.
    const double steps = double(counts.back());
    std::vector<double> lowBefore(n + 1), highBefore(n + 1), lowFrom(n + 1), highFrom(n + 1);
    for (const double by : {-1.0, 1.0}) {
        if (!(steps + by > 0.0)) continue;
        const double other = along.back() / (steps + by);
        const auto miss = [&](size_t j) { return along[j] - double(counts[j]) * other; };
        lowBefore[0] = HUGE_VAL, highBefore[0] = -HUGE_VAL;
        for (size_t j = 0; j < n; ++j)
            lowBefore[j + 1] = std::min(lowBefore[j], miss(j)), highBefore[j + 1] = std::max(highBefore[j], miss(j));
        lowFrom[n] = HUGE_VAL, highFrom[n] = -HUGE_VAL;
        for (size_t j = n; j-- > 0;)
            lowFrom[j] = std::min(lowFrom[j + 1], miss(j)), highFrom[j] = std::max(highFrom[j + 1], miss(j));
        for (const size_t g : gaps) {
            if (by < 0.0 && counts[g] - counts[g - 1] <= 1) continue;
            const double low = std::min(lowBefore[g], lowFrom[g] - by * other);
            const double high = std::max(highBefore[g], highFrom[g] - by * other);
            if (high - low <= kLaidSpread * tolerance) return step;
        }
    }
    // Kept where the step chosen drifts from it by more than the depths' rounding over the run.
    return std::fabs(laid - step) * double(counts.back()) > tolerance ? laid : step;
}

namespace {

// The steps on which the anchors of one stretch (`along` from its first, `counts` steps
// from it) lie within a band `width` wide: [lo, hi], empty (lo > hi) where none. The band
// on a step is that of the points' upper and lower hulls, convex in the step.
struct StepRange {
    double lo = -HUGE_VAL, hi = HUGE_VAL;
};

StepRange StepsLayingStretch(const std::vector<double>& along, const std::vector<double>& counts, double width)
{
    Hulls hulls;
    for (size_t j = 0; j < along.size(); ++j) hulls.Add(counts[j], along[j]);
    const auto band = [&](double g) { return hulls.Band(g); };
    // On a step further than width over the last count from the chord's, the last anchor
    // alone leaves the band.
    const double chord = along.back() / counts.back(), reach = width / counts.back();
    const double best = hulls.Narrowest(chord - reach, chord + reach);
    if (band(best) > width) return {HUGE_VAL, -HUGE_VAL};
    StepRange r;
    double out = chord - reach, in = best;
    for (int round = 0; round < kSearchRounds; ++round) (band((out + in) / 2.0) <= width ? in : out) = (out + in) / 2.0;
    r.lo = in;
    out = chord + reach, in = best;
    for (int round = 0; round < kSearchRounds; ++round) (band((out + in) / 2.0) <= width ? in : out) = (out + in) / 2.0;
    r.hi = in;
    return r;
}

} // namespace

namespace {

// The steps that lay the anchors [from, to) of one stretch within `width`, narrowing
// `range`; false where none does. A stretch no step lays so holds a splice within the
// depths' rounding's reach of the step held (or an odd depth placed on it): it is split
// where the anchors' misses on `step` move the most, a few times at most, and laid only
// where every piece is.
bool NarrowToStretch(const std::vector<PlacedAnchor>& placed, size_t from, size_t to, double step, double width,
                     int splits, StepRange& range)
{
    if (to - from < 2) return true;
    std::vector<double> along, counts;
    for (size_t i = from; i < to; ++i)
        along.push_back(placed[i].along - placed[from].along),
            counts.push_back(double(placed[i].steps - placed[from].steps));
    if (!(counts.back() > 0.0)) return true;
    const StepRange r = StepsLayingStretch(along, counts, width);
    if (r.lo <= r.hi) {
        range.lo = std::max(range.lo, r.lo), range.hi = std::min(range.hi, r.hi);
        return true;
    }
    if (splits == 0) return false;
    // Where the mean miss before differs most from the mean miss after, weighed by how
    // many anchors each side holds.
    const size_t m = along.size();
    double total = 0.0;
    for (size_t j = 0; j < m; ++j) total += along[j] - counts[j] * step;
    double before = 0.0, best = -1.0;
    size_t at = 0;
    for (size_t j = 1; j < m; ++j) {
        before += along[j - 1] - counts[j - 1] * step;
        const double a = double(j), b = double(m - j);
        const double score = std::fabs(before / a - (total - before) / b) * std::sqrt(a * b / double(m));
        if (score > best) best = score, at = j;
    }
    return NarrowToStretch(placed, from, from + at, step, width, splits - 1, range)
           && NarrowToStretch(placed, from + at, to, step, width, splits - 1, range);
}

} // namespace

double StepLayingStretches(const std::vector<double>& depths, const std::vector<uint32_t>& leastSteps, double step,
                           double precision, bool integer)
{
    // Depths exact to half a unit lie in a band a unit wide (inclusive) on the true step;
    // code 68's within what two depths' rounding leaves of a distance. (What arithmetic
    // leaves is allowed.)
    double deepest = 1.0;
    for (const double d : depths)
        if (std::isfinite(d)) deepest = std::max(deepest, std::fabs(d));
    const double width = (integer ? precision : Tolerance(precision, integer)) + kArithmetic * deepest;
    StepRange all;
    size_t stretches = 0;
    // One stretch kept at a time: a long log's anchors are not all held at once.
    std::vector<PlacedAnchor> stretch;
    const auto close = [&] {
        // A stretch laid by no step even split is left out: it tells no step.
        StepRange range = all;
        if (NarrowToStretch(stretch, 0, stretch.size(), step, width, kMostSplits, range) && stretch.size() >= 2)
            all = range, ++stretches;
        stretch.clear();
    };
    HoldOptions options;
    options.place = [&](const PlacedAnchor& p) {
        if (!stretch.empty() && p.stretch != stretch.front().stretch) close();
        stretch.push_back(p);
    };
    HoldStep(depths, leastSteps, step, precision, integer, options);
    if (!stretch.empty()) close();
    if (stretches == 0 || !(all.lo <= all.hi)) return step;
    return step >= all.lo && step <= all.hi ? step : (all.lo + all.hi) / 2.0;
}

StepFit FitStep(const std::vector<double>& depths, const std::vector<uint32_t>& leastSteps, double step,
                double precision, bool integer, bool follow)
{
    double held = step;
    StepFit fit = FitOnce(depths, leastSteps, held, precision, integer, follow);
    // A step measured roughly is no finer than the coarsest whole multiple of it that its
    // distances hold and holding bears out: nothing speaks for the finer one.
    if (follow) {
        if (fit.wholeMultiples != 0)
            fit.multiple = CoarsestMultiple(depths, leastSteps, fit, fit.step, precision, integer, fit.wholeMultiples,
                                            StepFrom::Measured);
        return fit;
    }
    // A header's step stands unless holding a multiple of it bears that out: those its
    // distances counted allow, and where the depths' rounding reaches a third of the step
    // (a distance's count of it in doubt), every multiple wider than that too.
    const double tolerance = Tolerance(precision, integer);
    const bool inDoubt = held > 0.0 && CountInDoubt(tolerance, held);
    uint32_t candidates = fit.wholeMultiples;
    for (uint32_t g = 2; inDoubt && g <= kMostMultiple; ++g)
        if (!CountInDoubt(tolerance, g * held)) candidates |= 1u << g;
    if (candidates != 0)
        fit.multiple = CoarsestMultiple(depths, leastSteps, fit, held, precision, integer, candidates, StepFrom::Header);
    return fit;
}

} // namespace lis::frames
