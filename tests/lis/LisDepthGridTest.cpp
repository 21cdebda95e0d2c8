// The grid a log's depths lie on, measured to the precision of their code: the step of
// a log whose step is no whole number of integer units, of code-68 depths deep down
// where one unit of the fraction is half a step, with gaps and frames missing, and no
// grid where the depths give none.
#include "lis/LisDepthGrid.h"

#include "platform/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using lis::frames::DepthGrid;
using lis::frames::MeasureDepthGrid;
using lis::frames::StepPrecision;
using lis::frames::FitStep;
using lis::frames::StepFit;

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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<double> depths;
        std::vector<uint32_t> counts;
        int last = 0;
        for (int k = 0, r = 0; k < c.frames;) {
            const uint32_t frames = c.counts.empty() ? 1 : c.counts[size_t(r++) % c.counts.size()];
            if (c.kept(k)) {
                depths.push_back(Recorded(c.first + k * c.step, c.integer));
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

// Every depth written on two frames: the distances sampled from a long log are those
// between depths that differ, whatever the log's length, so the grid holds.
TEST(LisDepthGridTest, ALogOfEveryDepthTwiceHasItsGridAtEveryLength)
{
    for (const int places : {4000, 4100, 6000, 8200, 12000}) {
        SCOPED_TRACE(places);
        std::vector<double> depths;
        for (int k = 0; k < places; ++k)
            for (int twice = 0; twice < 2; ++twice) depths.push_back(Recorded(120000.0 + k * 0.1 / 0.3048 * 120, true));
        const DepthGrid grid = MeasureDepthGrid(depths, {}, 1.0, true);
        ASSERT_TRUE(grid.holds);
        EXPECT_LE(std::fabs(grid.step - 0.1 / 0.3048 * 120) * double(grid.steps), 1.0);
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

// A step stands against a log's depths unless they disprove it: frames between its
// places, a record's frames running past the next record, or every distance a whole
// multiple of it. One odd depth, a splice or a repeat section does not; gaps do not.
// Where it stands, the span over the steps it counts is the log's step to the precision.
TEST(LisDepthGridTest, AStepStandsUnlessTheDepthsDisproveIt)
{
    enum Odd { None, Glitch, Splice, Repeat, Reversal };
    const std::function<bool(int)> every = [](int) { return true; };
    const struct {
        const char* what;
        double first, truth, followed;
        int frames;
        uint32_t perRecord; // 0: a depth every frame
        std::function<bool(int)> kept;
        Odd odd;
        bool disproved;
        uint32_t multiple;
    } cases[] = {
        {"right, one depth 0.03 ft off", 1000.0, 0.25, 0.25, 400, 0, every, Glitch, false, 1},
        {"right, one splice", 1000.0, 0.25, 0.25, 400, 0, every, Splice, false, 1},
        {"right, a repeat section 7 ft back", 1000.0, 0.25, 0.25, 400, 0, every, Repeat, false, 1},
        {"right, a 0.05 ft reversal", 1000.0, 0.5, 0.5, 400, 0, every, Reversal, false, 1},
        {"right, every third place missing", 1000.0, 0.5, 0.5, 300, 0, [](int k) { return k % 3 != 2; }, None, false, 1},
        {"1.5 times the step", 1000.0, 0.25, 0.375, 400, 0, every, None, true, 1},
        {"half the step, one gap", 1000.0, 0.5, 0.25, 300, 0, [](int k) { return k != 100; }, None, true, 2},
        {"a third of the step", 1000.0, 0.5, 0.5 / 3, 300, 0, every, None, true, 3},
        {"1/120 ft cut at 28,000 ft, right", 28000.0, 1.0 / 120, 1.0 / 120, 3000, 0, every, None, false, 1},
        {"1/120 ft cut at 28,000 ft, twice", 28000.0, 1.0 / 120, 1.0 / 60, 3000, 0, every, None, true, 1},
        {"records of 3 at 1.5 times the step: frames run past", 1000.0, 0.25, 0.375, 300, 3, every, None, true, 1},
        {"records of 2, every third place missing", 1000.0, 0.5, 0.5, 300, 2, [](int k) { return k % 3 != 2; }, None,
         false, 1},
        {"records of 37 at 1/120 ft cut at 28,000 ft, a splice", 28000.0, 1.0 / 120, 1.0 / 120, 3700, 37, every, Splice,
         false, 1},
        {"records of 4 at half the step", 1000.0, 0.5, 0.25, 400, 4, every, None, true, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<double> depths;
        std::vector<uint32_t> counts;
        const uint32_t each = std::max<uint32_t>(c.perRecord, 1);
        double shift = 0.0;
        for (int k = 0; k < c.frames; k += int(each)) {
            if (!c.kept(k)) continue;
            if (c.odd == Splice && k == c.frames / 2) shift = 0.4 * c.truth;
            if (c.odd == Repeat && k == c.frames / 2) shift = -7.0;
            if (c.odd == Reversal && k == c.frames / 2) shift = -0.05 - c.truth;
            const double glitch = c.odd == Glitch && k == c.frames / 3 ? 0.03 : 0.0;
            depths.push_back(Recorded(c.first + k * c.truth + shift + glitch, false));
            if (c.perRecord > 0) counts.push_back(each);
        }
        const double precision = StepPrecision(68, c.first + c.frames * c.truth);
        const StepFit fit = FitStep(depths, counts, c.followed, precision);
        EXPECT_EQ(fit.Disproves(), c.disproved) << fit.odd << " odd, " << fit.runPast << " run past";
        EXPECT_EQ(fit.multiple, c.multiple);
        if (c.disproved) continue;
        // Each stretch on one grid is exact to the precision of its two ends.
        const double stretches = c.odd == Splice || c.odd == Repeat || c.odd == Reversal ? 2.0 : 1.0;
        EXPECT_LE(std::fabs(fit.step - c.truth) * double(fit.steps), stretches * precision) << Format("%.9f", fit.step);
    }
}

} // namespace
