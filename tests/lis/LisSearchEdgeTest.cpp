// The grid search and the rough step at the edges of their bounds: logs of known truth
// that the bounds read right and a step either side of them reads wrong, and what the
// search costs on long logs, where a bound higher would read the same at more cost.
#include "lis/steps/DepthGrid.h"
#include "lis/steps/FrameRules.h"
#include "lis/LisRecordIO.h"

#include "platform/Format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace {

using lis::frames::GridSearchWork;
using lis::frames::StepPrecision;

// A depth as a code-68 word cut to its fraction holds it.
double Cut68(double depth)
{
    const double unit = StepPrecision(68, depth);
    return std::trunc(depth / unit) * unit;
}

// The step the reader settles on for code-68 depths: per frame, or (`frames` given) once a
// record, each record's depth with its frames; EB 8 `entry8` (0: none).
double Settled(const std::vector<double>& depths, const std::vector<int>& frames, double entry8)
{
    CLisLogicalFile f;
    f.m_depthMode = frames.empty() ? 0 : lis::kDepthPerRecord;
    f.m_depthCode = 68;
    f.m_frameSpacing = f.m_dfsrSpacing = entry8;
    if (entry8 > 0.0) f.m_spacingRounding = CLisRecordIO::RoundTo4Decimals(entry8) / entry8;
    for (size_t r = 0; r < depths.size(); ++r)
        for (int k = 0; k < (frames.empty() ? 1 : frames[r]); ++k)
            f.m_depths.push_back({depths[r], uint64_t(r) * 100, 0, 0});
    lis::frames::SettleSpacing(f);
    return std::fabs(f.m_frameSpacing);
}

// A log's step read right: within 1e-4 or a thousandth of the truth, and over the run of
// `steps` within 0.01 (feet or metres).
void ExpectRight(double read, double truth, double steps, const char* what)
{
    EXPECT_LE(std::fabs(read - truth), std::max(1e-4, truth * 1e-3)) << what << Format(": %.9f", read);
    EXPECT_LE(std::fabs(read - truth) * steps, 0.01) << what << Format(": %.9f", read);
}

// Depth once, no EB 8, a gap of one frame after every record: no distance is its frames'
// count, so no grid holds and the candidates measure the step. The least (the longest
// record and its gap) is a step and a bit: counted within a quarter of a step of a whole
// count, the short records' distances count right and measure the step; a reach of less
// leaves them out, one of more counts a long record's a step short.
TEST(LisSearchEdgeTest, ARoughStepIsMeasuredOnTheDistancesItCountsPlainly)
{
    const struct {
        const char* what;
        double first, step;
        std::vector<int> frames; // of each record, a gap of one frame after each
    } cases[] = {
        {"0.25 ft at 4,539 ft, eight records of 2 to 17 frames", 4538.9709, 0.25, {5, 5, 3, 7, 3, 2, 17, 5}},
        {"1 ft at 3,077 ft, seven records of 1 to 13 frames", 3077.2307, 1.0, {9, 8, 13, 2, 1, 9, 12}},
    };
    for (const auto& c : cases) {
        std::vector<double> depths;
        int place = 0;
        for (const int n : c.frames) depths.push_back(Cut68(c.first + place * c.step)), place += n + 1;
        ExpectRight(Settled(depths, c.frames, 0.0), c.step, place - 2, c.what);
    }
}

// Every third place missing (per frame).
std::vector<int> TwoOfThree(int places)
{
    std::vector<int> kept;
    for (int k = 0; k < places; ++k)
        if (k % 3 != 2) kept.push_back(k);
    return kept;
}

// Code 68 deep enough that a unit of its fraction is a good part of the step: the grid
// is measured on a first stretch of 48 anchors (more take in an odd depth ahead of the
// stretch that would count it), from the coarsest candidates up to eight (as many as
// clusters of the distances can each hold an eighth of them: a depth-once grid's).
TEST(LisSearchEdgeTest, TheGridIsFoundAmongItsCandidatesOnItsFirstStretch)
{
    const struct {
        const char* what;
        double first, step;
        std::vector<int> places; // of each anchor
        std::vector<int> frames; // depth once: of each record
        int odd;                 // the anchor 0.4 step off its place (none: -1)
        double entry8;
    } cases[] = {
        {"per frame, 0.00254 m at 4,765 m, one odd depth, EB 8 1.5 times", 4764.7697, 0.00254, TwoOfThree(213), {},
         36, 0.00381},
        {"17 records of 1/120 ft at 22,369 ft, a gap of up to two after most", 22369.0, 1.0 / 120,
         {0, 9, 11, 13, 19, 32, 45, 57, 61, 65, 73, 76, 81, 84, 92, 95, 105},
         {7, 2, 1, 4, 11, 11, 10, 2, 2, 7, 3, 4, 1, 8, 1, 8, 2}, -1, 0.0},
    };
    for (const auto& c : cases) {
        std::vector<double> depths;
        for (size_t k = 0; k < c.places.size(); ++k)
            depths.push_back(Cut68(c.first + (c.places[k] + (int(k) == c.odd ? 0.4 : 0.0)) * c.step));
        const int last = c.places.back() + (c.frames.empty() ? 0 : c.frames.back() - 1);
        ExpectRight(Settled(depths, c.frames, c.entry8), c.step, last, c.what);
    }
}

// `count` depths from `first`, each `distance(k)` past the one before, as `recorded` holds them.
std::vector<double> Depths(int count, double first, const std::function<double(int)>& distance,
                           const std::function<double(double)>& recorded)
{
    std::vector<double> depths;
    for (double at = first; int(depths.size()) < count; at += distance(int(depths.size()))) depths.push_back(recorded(at));
    return depths;
}
double Rounded(double depth) { return std::nearbyint(depth); }

// What the grid search costs on long logs: candidates followed (a pass over the depths
// each) and counts tried on their first stretches. Frames 0.5 ft apart at 1,000 ft, each
// distance up to seven units of code 68's fraction longer (evenly spread), give a window
// two units wide that holds more than a quarter of the distances wherever it lies, and no
// grid; deep records with an odd depth in the first stretch, counts to try on it past the
// bound and none that fits.
TEST(LisSearchEdgeTest, TheGridSearchCostsNoMoreThanItsBounds)
{
    const double unit = StepPrecision(68, 1000.0), deep = StepPrecision(68, 20200.0);
    const struct {
        const char* what;
        std::vector<double> depths;
        int frames; // a record (0: per frame)
        double precision;
        size_t followed, firstCounts, sorted; // at most (a sample of 4,096 taken by a whole stride: fewer than twice it)
    } cases[] = {
        {"20,000 frames 0.1 m apart on a .1IN tape", Depths(20000, 120000.0, [](int) { return 39.37; }, Rounded), 0,
         1.0, 8, 512, 8192},
        {"20,000 frames 0.5 ft apart but for up to seven units of 1,000 ft",
         Depths(20000, 1000.0, [&](int k) { return 0.5 + 7.0 * unit * std::fmod(k * 0.6180339887, 1.0); },
                [](double d) { return d; }),
         0, unit, 8, 512, 8192},
        {"records of 16 frames of 1/120 ft at 20,000 ft, the tenth 0.4 step off",
         Depths(1000, 20000.0, [](int k) { return (16.0 + (k == 9 ? 0.4 : k == 10 ? -0.4 : 0.0)) / 120.0; }, Cut68), 16,
         deep, 8, 512, 8192},
    };
    for (const auto& c : cases) {
        const std::vector<uint32_t> counts(c.frames > 0 ? c.depths.size() : 0, uint32_t(c.frames));
        GridSearchWork work;
        lis::frames::MeasureDepthGrid(c.depths, counts, c.precision, false, &work);
        EXPECT_LE(work.followed, c.followed) << c.what;
        EXPECT_LE(work.firstCounts, c.firstCounts) << c.what;
        EXPECT_LE(work.sorted, c.sorted) << c.what;
    }
}

} // namespace
