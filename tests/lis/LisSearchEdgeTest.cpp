// The grid search and the rough step at the edges of their bounds: logs of known truth
// that the bounds read right and a step either side of them reads wrong, and what the
// search costs on long logs, where a bound higher would read the same at more cost.
#include "lis/steps/DepthGrid.h"
#include "lis/steps/FrameRules.h"
#include "lis/LisRecordIO.h"

#include "platform/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
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
// record and its gap) is a step and a bit: the distances it counts plainly, within a
// quarter of a step of a whole count, hold the short records' and measure the step.
TEST(LisSearchEdgeTest, ARoughStepIsMeasuredOnTheDistancesItCountsPlainly)
{
    const struct {
        const char* what;
        double first, step;
        std::vector<int> frames; // of each record, a gap of one frame after each
    } cases[] = {
        {"0.25 ft at 4,539 ft, eight records of 2 to 17 frames", 4538.9709, 0.25, {5, 5, 3, 7, 3, 2, 17, 5}},
    };
    for (const auto& c : cases) {
        std::vector<double> depths;
        int place = 0;
        for (const int n : c.frames) depths.push_back(Cut68(c.first - place * c.step)), place += n + 1;
        ExpectRight(Settled(depths, c.frames, 0.0), c.step, place - 2, c.what);
    }
}

// Per frame, code 68 deep enough that a unit of its fraction is a good part of the step,
// every third frame missing, one odd depth and EB 8 one and a half times the step: the
// grid is measured on a first stretch of 48 anchors.
TEST(LisSearchEdgeTest, TheFirstStretchOfTheGridSearch)
{
    const struct {
        const char* what;
        double first, step;
        int places, odd; // the frame 0.4 step off its place
        double entry8;
    } cases[] = {
        {"0.00254 m at 4,765 m, 213 places, EB 8 1.5 times", 4764.7697, 0.00254, 213, 36, 0.00381},
    };
    for (const auto& c : cases) {
        std::vector<double> depths;
        for (int k = 0; k < c.places; ++k)
            if (k % 3 != 2)
                depths.push_back(Cut68(c.first + k * c.step + (int(depths.size()) == c.odd ? 0.4 * c.step : 0.0)));
        ExpectRight(Settled(depths, {}, c.entry8), c.step, c.places - 1, c.what);
    }
}

// Frames 0.5 ft apart at 1,000 ft, each distance up to seven units of code 68's fraction
// longer (evenly spread): a window two units wide holds more than a quarter of the
// distances wherever it lies, and no grid holds.
double Spread(int k)
{
    double depth = 1000.0;
    for (int j = 0; j < k; ++j) depth += 0.5 + 7.0 * StepPrecision(68, 1000.0) * std::fmod(j * 0.6180339887, 1.0);
    return depth;
}

// What the grid search costs on long logs: candidates followed (a pass over the depths
// each) and counts tried on their first stretches.
TEST(LisSearchEdgeTest, TheGridSearchCostsNoMoreThanItsBounds)
{
    const struct {
        const char* what;
        std::function<double(int)> depth; // of frame (depth once: record) k
        int count, frames;                 // depths, and frames a record (0: per frame)
        double precision;
        size_t followed, firstCounts; // at most
    } cases[] = {
        {"20,000 frames 0.1 m apart on a .1IN tape", [](int k) { return std::nearbyint(120000.0 + k * 39.37); }, 20000,
         0, 1.0, 8, 512},
        {"20,000 frames 0.5 ft apart but for up to seven units of 1,000 ft", Spread, 20000, 0, StepPrecision(68, 1000.0),
         8, 512},
        {"records of 16 frames of 1/120 ft at 20,000 ft, the tenth 0.4 step off",
         [](int k) { return Cut68(20000.0 + (16.0 * k + (k == 10 ? 0.4 : 0.0)) / 120.0); }, 1000, 16,
         StepPrecision(68, 20200.0), 8, 512},
    };
    for (const auto& c : cases) {
        std::vector<double> depths;
        for (int k = 0; k < c.count; ++k) depths.push_back(c.depth(k));
        const std::vector<uint32_t> counts(c.frames > 0 ? size_t(c.count) : 0, uint32_t(c.frames));
        GridSearchWork work;
        lis::frames::MeasureDepthGrid(depths, counts, c.precision, false, &work);
        std::printf("%s: followed %zu firstCounts %zu\n", c.what, work.followed, work.firstCounts);
        EXPECT_LE(work.followed, c.followed) << c.what;
        EXPECT_LE(work.firstCounts, c.firstCounts) << c.what;
    }
}

} // namespace
