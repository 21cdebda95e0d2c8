// The grid a log's depths lie on, measured to the precision of their code: the step of
// a log whose step is no whole number of integer units, of code-68 depths deep down
// where one unit of the fraction is half a step, with gaps and frames missing, and no
// grid where the depths give none.
#include "lis/steps/DepthGrid.h"

#include "platform/Format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using lis::frames::DepthGrid;
using lis::frames::MeasureDepthGrid;
using lis::frames::StepPrecision;

// How a depth is recorded: to the nearest integer unit, or cut to code 68's fraction.
double Recorded(double depth, bool integer)
{
    if (integer) return std::nearbyint(depth);
    const double unit = StepPrecision(68, depth);
    return std::trunc(depth / unit) * unit;
}

TEST(LisDepthGridTest, TheStepIsTheSpanOverItsStepsWhereverTheDepthsFitAGrid)
{
    const std::function<bool(int)> every = [](int) { return true; };
    const struct {
        const char* what;
        double first, step;
        bool integer;
        int frames;
        std::function<bool(int)> kept; // frames written
        std::vector<uint32_t> counts;  // depth once a record: frames of each record (cycled)
        bool holds, exact;
        int written = 1; // frames each depth is written on: a sample of the distances must not meet only repeats
    } cases[] = {
        {"0.1 m on a .1IN tape: 39/40 units", 120000.0, 0.1 / 0.3048 * 120, true, 2000, every, {}, true, false},
        {"1 in on a .5MM tape: 50/51 units", 600000.0, 50.8, true, 2000, every, {}, true, false},
        {"a quarter foot on a .5MM tape: 152/153", 600000.0, 152.4, true, 500, every, {}, true, false},
        {"1/120 ft cut at 20,000 ft, every third missing", 20000.0, 1.0 / 120, false, 3000,
         [](int k) { return k % 3 != 2; }, {}, true, false},
        {"1/120 ft cut at 28,000 ft going up", 28000.0, -1.0 / 120, false, 3000, every, {}, true, false},
        {"1/12 ft cut at 10,000 ft, one gap", 10000.0, 1.0 / 12, false, 1000, [](int k) { return k < 400 || k > 420; },
         {}, true, false},
        {"0.25 ft: 30 steps of 0.5, 29 of 0.25", 1000.0, 0.25, false, 89, [](int k) { return k < 60 ? k % 2 == 0 : true; },
         {}, true, true},
        {"a unit of 1/120 ft on a .1IN tape, 15% missing", 120000.0, 1.0, true, 1000, [](int k) { return k % 7 != 3; },
         {}, true, true},
        {"1/6 ft at 5,000 ft in records of 4 and 5 frames", 5000.0, 1.0 / 6, false, 900, every, {4, 5}, true, false},
        {"0.5 ft in records of 3 frames, one record missing", 1000.0, 0.5, false, 300,
         [](int k) { return k < 150 || k >= 153; }, {3}, true, true},
        {"0.1 m on a .1IN tape, every depth twice, 8,200 frames", 120000.0, 0.1 / 0.3048 * 120, true, 4100, every, {},
         true, false, 2},
        {"0.1 m on a .1IN tape, every depth twice, 16,400 frames", 120000.0, 0.1 / 0.3048 * 120, true, 8200, every, {},
         true, false, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<double> depths;
        std::vector<uint32_t> counts;
        int last = 0;
        for (int k = 0, r = 0; k < c.frames;) {
            const uint32_t frames = c.counts.empty() ? 1 : c.counts[size_t(r++) % c.counts.size()];
            if (c.kept(k)) {
                for (int w = 0; w < c.written; ++w) depths.push_back(Recorded(c.first + k * c.step, c.integer));
                if (!c.counts.empty()) counts.push_back(frames);
                last = k;
            }
            k += int(frames);
        }
        if (!counts.empty()) counts.pop_back(); // the last record's frames run past no depth
        const double deepest = std::fabs(c.first) + std::fabs(c.step) * c.frames;
        const double precision = StepPrecision(c.integer ? 73 : 68, deepest);
        const DepthGrid grid = MeasureDepthGrid(depths, counts, precision, c.integer);
        ASSERT_EQ(grid.holds, c.holds);
        EXPECT_EQ(grid.exact, c.exact);
        EXPECT_EQ(grid.steps, uint64_t(last)) << "every step counted, gaps too";
        EXPECT_LE(std::fabs(grid.step - std::fabs(c.step)) * double(grid.steps), precision * (1 + 1e-9))
            << Format("%.9f for %.9f", grid.step, c.step);
    }
}

TEST(LisDepthGridTest, DepthsThatGiveNoGridGiveNone)
{
    const struct {
        const char* what;
        std::vector<double> depths;
        double precision;
    } cases[] = {
        {"one depth", {1000.0}, 0.0},
        {"one depth repeated", {1000.0, 1000.0, 1000.0}, 0.0},
        {"a depth goes back", {1000.0, 1000.5, 1000.25, 1001.0}, 1e-4},
        {"steps of 1.5 and 1 with no step of 0.5", {1000.0, 1001.5, 1002.5, 1004.0, 1005.0, 1006.5, 1007.5}, 1e-4},
        {"jittered depths", {1000.0, 1000.49, 1001.02, 1001.47, 1002.03, 1002.51, 1002.96, 1003.55}, 1e-4},
        {"a depth that is no number", {1000.0, NAN, 1001.0}, 1e-4},
        {"a depth beyond any log's", {1000.0, 1000.5, 1e300}, 1e-4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(MeasureDepthGrid(c.depths, {}, c.precision).holds);
    }
}

} // namespace

namespace {

using lis::frames::FitStep;

// Depths 0, 1, 2, ... (`n` of them) with each of `jumps` (after depth j) moving the rest
// on by `by` more than one.
std::vector<double> Stepped(int n, const std::vector<int>& jumps, double by)
{
    std::vector<double> d;
    double at = 0.0;
    for (int j = 0; j < n; ++j, at += 1.0) {
        if (std::find(jumps.begin(), jumps.end(), j) != jumps.end()) at += by;
        d.push_back(at);
    }
    return d;
}

// Depth-once records of two frames 0.25 apart, a record's gap (1 ft) from one to the
// next but after the records of `runOn`, which the next follows at once.
std::vector<double> RecordsApart(int records, const std::vector<int>& runOn)
{
    std::vector<double> d{1000.0};
    for (int r = 1; r < records; ++r)
        d.push_back(d.back() + (std::find(runOn.begin(), runOn.end(), r - 1) != runOn.end() ? 0.5 : 1.0));
    return d;
}
std::vector<uint32_t> Twos(int records) { return std::vector<uint32_t>(size_t(records), 2); }

// A header's step against its depths, either side of each threshold of the disproof: a
// whole multiple of it is the step only where holding it places no record onto the next.
TEST(LisDepthGridTest, AStepIsDisprovedOnlyPastItsThresholds)
{
    const struct {
        const char* what;
        std::vector<double> depths;
        std::vector<uint32_t> counts; // depth once: frames of each record
        double step;
        bool disproved;
        uint32_t multiple;
        uint32_t measured = 0; // where given: the multiple found of the step measured, not given by a header
    } cases[] = {
        {"a record running past the next in three distances", {0, 2, 6, 10}, {4, 4, 4, 4}, 1.0, true, 1},
        {"a record running past the next in four distances", {0, 2, 6, 10, 14}, {4, 4, 4, 4, 4}, 1.0, false, 1},
        {"two odd depths in 32", [] { auto d = Stepped(32, {}, 0); d[10] += 0.4, d[20] += 0.4; return d; }(), {},
         1.0, false, 1},
        {"three odd depths in 32", [] { auto d = Stepped(32, {}, 0); d[10] += 0.4, d[20] += 0.4, d[25] += 0.4; return d; }(),
         {}, 1.0, true, 1},
        {"four odd depths in 65: one in sixteen distances",
         [] { auto d = Stepped(65, {}, 0); d[10] += 0.4, d[25] += 0.4, d[40] += 0.4, d[55] += 0.4; return d; }(), {},
         1.0, false, 1},
        {"every distance twice the step but for an odd depth on its grid",
         [] { auto d = Stepped(32, {}, 0); d[10] += 0.5; return d; }(), {}, 0.5, true, 2},
        {"every distance twice the step but two", Stepped(32, {10, 20}, 0.5), {}, 0.5, true, 2},
        {"every depth of 64 on twice the step's grid but three odd ones on its own",
         [] { auto d = Stepped(64, {}, 0); d[10] += 0.5, d[30] += 0.5, d[50] += 0.5; return d; }(), {}, 0.5, true, 2},
        {"every depth of 64 on twice the step's grid but four odd ones on its own",
         [] { auto d = Stepped(64, {}, 0); d[10] += 0.5, d[30] += 0.5, d[50] += 0.5, d[60] += 0.5; return d; }(), {},
         0.5, false, 1},
        {"every distance twice the step but three", Stepped(32, {10, 20, 25}, 0.5), {}, 0.5, false, 1},
        {"every distance eight times the step", Stepped(32, {}, 0), {}, 0.125, true, 8},
        {"every distance nine times the step: no multiple past eight (its third leaves gaps)", Stepped(32, {}, 0),
         {}, 1.0 / 9, false, 1},
        {"every distance of four twice the step", Stepped(5, {}, 0), {}, 0.5, true, 2},
        {"two of five distances off the grid", {0, 1, 2, 3, 4.1, 5.2}, {}, 1.0, false, 1},
        {"two of three distances off the grid", {0, 1, 2.1, 3.2}, {}, 1.0, true, 1},
        {"records of two a record's gap apart, all of them", RecordsApart(12, {}), Twos(12), 0.25, true, 2},
        {"records of two a record's gap apart, but one that runs on", RecordsApart(12, {3}), Twos(12), 0.25,
         false, 1},
        {"records of eight read in reverse order: three turn back", {1000, 1004, 1008, 912, 908, 904, 896, 900},
         std::vector<uint32_t>(8, 8), 0.5, false, 1},
        {"records of two read in reverse order: the turns bear out no multiple", {49, 51, 53, 5, 3, 1, -3, -1},
         {1, 2, 2, 1, 2, 2, 2, 2}, 0.25, false, 1},
        // A multiple that runs a record past the next where the step does not proves a
        // header's step, and is the step where the step was only measured.
        {"records of four, one starting two steps inside the one before", {0, 4, 8, 12, 14, 18, 22, 26},
         std::vector<uint32_t>(8, 4), 0.5, false, 1, 2},
        {"five records of four, one starting inside the one before", {0, 4, 8, 10, 14}, std::vector<uint32_t>(5, 4),
         0.5, false, 1, 2},
        {"records of four starting inside the one before after more than a quarter of them", {0, 4, 6, 10, 12, 16},
         std::vector<uint32_t>(6, 4), 0.5, false, 1, 1},
    };
    for (const auto& c : cases) {
        const lis::frames::StepFit fit = FitStep(c.depths, c.counts, c.step, 1e-6);
        EXPECT_EQ(fit.Disproves(), c.disproved) << c.what;
        EXPECT_EQ(fit.multiple, c.multiple) << c.what;
        if (c.measured > 0) {
            EXPECT_EQ(FitStep(c.depths, c.counts, c.step, 1e-6, false, true).multiple, c.measured) << c.what;
        }
    }
}

// A header's step a little off, held over integer depths of a step of 120 units: the gap
// is counted in the stretch's own step once that is known well enough, so the stretch
// keeps the true count of steps across it; before then, in the step held.
TEST(LisDepthGridTest, ALongGapIsCountedInTheStretchsOwnStep)
{
    const struct {
        const char* what;
        int before;        // frames before the gap
        int gap;           // steps the gap spans
        uint64_t steps;    // counted over the run
    } cases[] = {
        {"a gap of 912 steps after 1,000 frames", 1000, 912, 999 + 912 + 999},
        {"a gap of 912 steps after 40 frames: too few to count it in", 40, 912, 39 + 913 + 999},
        {"a gap of 912 steps after 100 frames", 100, 912, 99 + 912 + 999},
    };
    for (const auto& c : cases) {
        std::vector<double> depths;
        for (int k = 0; k < c.before; ++k) depths.push_back(120.0 * k);
        for (int k = 0; k < 1000; ++k) depths.push_back(120.0 * (c.before - 1 + c.gap + k));
        const lis::frames::StepFit fit =
            lis::frames::HoldStep(depths, {}, 120.0 * (1.0 - 0.00089), 1.0, true);
        EXPECT_EQ(fit.counted, c.steps) << c.what;
    }
}

} // namespace

namespace {

// A header's step a little off across a few long gaps of integer depths 120 units a step:
// the shorter distances together measure the step and each gap is counted in it, where
// that lays the whole run and a count one more or less does not.
TEST(LisDepthGridTest, LongGapsAreCountedInTheStepOfTheShorterDistances)
{
    const struct {
        const char* what;
        double unit;     // units a step
        int gap;         // steps the gap spans
        bool turnBack;   // the second stretch lies behind the first
        bool counted;    // the step comes from the run, not the header
    } cases[] = {
        {"40 frames, a gap of 912 steps, 1,000 frames", 120.0, 912, false, true},
        {"40 frames, a gap of 249 steps: no long gap", 120.0, 249, false, false},
        {"40 frames, a gap of 251 steps", 120.0, 251, false, true},
        {"a step of 3 units: a count one more or less lays the run as well", 3.0, 912, false, false},
        {"the second stretch behind the first: no one grid", 120.0, 912, true, false},
    };
    for (const auto& c : cases) {
        std::vector<double> depths;
        for (int k = 0; k < 40; ++k) depths.push_back(std::nearbyint(c.unit * k));
        const double second = c.turnBack ? -c.unit * 2000.0 : c.unit * (39 + c.gap);
        for (int k = 0; k < 1000; ++k) depths.push_back(std::nearbyint(second + c.unit * k));
        const double header = c.unit * (1.0 - 0.00089);
        const double step = lis::frames::CountAcrossLongGaps(depths, {}, header, 1.0, true);
        // A depth no log reaches leaves the step as given.
        std::vector<double> hostile(depths);
        hostile.back() = 8e36;
        EXPECT_EQ(lis::frames::CountAcrossLongGaps(hostile, {}, header, 1.0, true), header) << c.what;
        if (c.counted)
            EXPECT_LE(std::fabs(step - c.unit) * (1038.0 + c.gap), 1.0) << c.what << Format(": %.6f", step);
        else
            EXPECT_EQ(step, header) << c.what;
    }
}

} // namespace

namespace {

// A header's step of 10 integer units held over 600 depths: a jump of more than two
// depths' rounding is a splice, not drift, however small against the distance; a step a
// little off drifts.
TEST(LisDepthGridTest, AJumpBeyondTheRoundingIsASpliceNotDrift)
{
    const struct {
        const char* what;
        double step;   // of the depths
        double splice; // the grid moved on by, in units, after depth 450
        size_t odd;
        bool drifts;
    } cases[] = {
        {"a splice of 0.8 step", 10.0, 8.0, 1, false},
        {"a splice of 0.2 step (two units)", 10.0, 2.0, 1, false},
        {"no splice, the step 0.05% off", 10.005, 0.0, 0, true},
        {"no splice, the step 0.15% off: more than drift", 10.015, 0.0, SIZE_MAX, false},
    };
    for (const auto& c : cases) {
        std::vector<double> depths;
        for (int k = 0; k < 600; ++k) depths.push_back(std::nearbyint(126000.0 + c.step * k + (k > 450 ? c.splice : 0.0)));
        const lis::frames::StepFit fit = lis::frames::HoldStep(depths, {}, 10.0, 1.0, true);
        if (c.odd != SIZE_MAX) EXPECT_EQ(fit.odd, c.odd) << c.what;
        else EXPECT_GT(fit.odd, 0u) << c.what;
        EXPECT_EQ(fit.drift > 0, c.drifts) << c.what;
    }
}

} // namespace

namespace {

// A measured step over integer depths is the one that lays every stretch within a unit:
// a splice of a unit or two, which the step held takes for rounding, splits its stretch.
TEST(LisDepthGridTest, AMeasuredStepLaysEveryStretchWithinTheRounding)
{
    const struct {
        const char* what;
        double step;              // of the depths, in units
        std::vector<int> splices; // frames after which the grid moves on by `by` units
        int oddAt;                // a depth one unit off (none: -1)
        double measured;          // the step given to be judged
        bool kept;                // it lays every stretch already, or no step lays them
        double by = 2.0;
    } cases[] = {
        {"39.37 units, a splice of two units halfway", 39.37, {400}, -1, 39.3712, false},
        {"39.37 units, no splice, a step that lays the run", 39.37, {}, -1, 39.37, true},
        {"12 units, a depth one unit off", 12.0, {}, 300, 12.0, true},
        {"39.37 units, a splice every 100 frames: a stretch each", 39.37, {100, 200, 300, 400, 500}, -1, 39.3712,
         false},
        {"39.37 units, one-unit splices at 250 and 500: split", 39.37, {250, 500}, -1, 39.3712, false, 1.0},
        {"39.37 units, one-unit splices at 100 to 700", 39.37, {100, 200, 300, 400, 500, 600, 700}, -1, 39.3712,
         false, 1.0},
    };
    for (const auto& c : cases) {
        std::vector<double> depths;
        double moved = 0.0;
        for (int k = 0; k < 800; ++k) {
            if (std::find(c.splices.begin(), c.splices.end(), k) != c.splices.end()) moved += c.by;
            depths.push_back(std::nearbyint(120000.0 + c.step * k + moved) + (k == c.oddAt ? 1.0 : 0.0));
        }
        const double step = lis::frames::StepLayingStretches(depths, {}, c.measured, 1.0, true);
        if (c.kept)
            EXPECT_EQ(step, c.measured) << c.what;
        else
            EXPECT_LE(std::fabs(step - c.step) * 799.0, 1.2) << c.what << Format(": %.6f", step);
    }
}

} // namespace

namespace {

// Where a quarter of the distances are one step the depths lie on a grid of it, fewer do
// not show it; a code-68 depth lies on its place within 1.25 units of its fraction.
TEST(LisDepthGridTest, AGridAndItsPlacesHoldToTheirShares)
{
    const struct {
        const char* what;
        std::vector<int> pattern; // distances in steps, over and over
        bool holds;
    } grids[] = {
        {"one distance in four a single step", {1, 2, 2, 2}, true},
        {"one distance in five a single step", {1, 2, 2, 2, 2}, false},
    };
    for (const auto& c : grids) {
        std::vector<double> depths{1000.0};
        for (int k = 0; k < 200; ++k) depths.push_back(depths.back() + c.pattern[size_t(k) % c.pattern.size()]);
        EXPECT_EQ(MeasureDepthGrid(depths, {}, 1e-6).holds, c.holds) << c.what;
    }
    const struct {
        const char* what;
        double off; // the second depth's, in units of the fraction
        size_t odd;
    } places[] = {
        {"a depth 1.2 units off", 1.2, 0},
        {"a depth 1.3 units off", 1.3, 1},
    };
    for (const auto& c : places) {
        const std::vector<double> depths{0, 1 + c.off * 1e-3, 2, 3, 4, 5};
        EXPECT_EQ(lis::frames::HoldStep(depths, {}, 1.0, 1e-3, false).odd, c.odd) << c.what;
    }
}

} // namespace
