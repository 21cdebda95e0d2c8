// The grid search and the rough step at the edges of their bounds: logs of known truth
// that the bounds read right and a step either side of them reads wrong (how often a rough
// step is followed among them), and what the search costs on long logs, where a bound
// higher would read the same at more cost.
#include "lis/steps/DepthGrid.h"
#include "lis/steps/FrameRules.h"
#include "lis/LisRecordIO.h"

#include "platform/Format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
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

// A log of code-68 depths: each anchor's depth, depth once each record's frames (empty: per
// frame), and the true steps from the first frame to the last.
struct Anchors {
    std::vector<double> depths;
    std::vector<int> frames;
    double steps = 0.0;
};

// Depth once, a gap of one frame after every record of `frames`.
Anchors GapAfterEachRecord(double first, double step, const std::vector<int>& frames)
{
    Anchors a{{}, frames, 0.0};
    int place = 0;
    for (const int n : frames) a.depths.push_back(Cut68(first + place * step)), place += n + 1;
    a.steps = place - 2;
    return a;
}

// Anchors at `places` (0.4 step off at `odd`; none: -1), depth once of `frames` each record.
Anchors AtPlaces(double first, double step, const std::vector<int>& places, const std::vector<int>& frames, int odd)
{
    Anchors a{{}, frames, 0.0};
    for (size_t k = 0; k < places.size(); ++k)
        a.depths.push_back(Cut68(first + (places[k] + (int(k) == odd ? 0.4 : 0.0)) * step));
    a.steps = places.back() + (frames.empty() ? 0 : frames.back() - 1);
    return a;
}

// Every third place missing (per frame).
std::vector<int> TwoOfThree(int places)
{
    std::vector<int> kept;
    for (int k = 0; k < places; ++k)
        if (k % 3 != 2) kept.push_back(k);
    return kept;
}

// Per frame, 1/120 ft at 18,800 ft (a distance's count in doubt): one frame missing after
// every 20th, long gaps of 900 and 300 places after a quarter and a half of the 400 frames.
Anchors LongGapsDeep()
{
    std::vector<int> places;
    for (int k = 0, place = 0; k < 400; ++k) {
        place += k == 100 ? 900 : k == 200 ? 300 : 0;
        places.push_back(place);
        place += k % 20 == 19 ? 2 : 1;
    }
    return AtPlaces(18800.0, 1.0 / 120, places, {}, -1);
}

// Per frame, 1/120 ft going up at 19,890 ft in code 68's unit there (2^-8 ft, half the step),
// a gap and a turn back: 56 frames, each its units above the last.
Anchors DeepUnits()
{
    const double unit = std::ldexp(1.0, -8);
    Anchors a{{}, {}, 58.0};
    for (const int n : {109, 107, 105, 102, 100, 98, 96, 94, 92, 90, 88, 85, 83, 81, 79, 77, 75, 73, 70,
                        68,  66,  64,  62,  60,  58, 56, 53, 51, 49, 47, 38, 36, 34, 47, 45, 43, 41, 38,
                        36,  34,  32,  30,  28,  26, 24, 21, 19, 17, 15, 13, 11, 9,  6,  4,  2,  0})
        a.depths.push_back((5091650 + n) * unit);
    return a;
}

// Each log's step read within 1e-4 or a thousandth of the truth and, over the run, within
// 0.01 ft or m; each row names the bound it pins, which moved a step either way reads it
// otherwise.
// - Depth once with a gap after every record (no grid holds, the candidates measure the
//   step): a distance counts plainly within a quarter of a step of a whole count; a reach
//   of less leaves the short records' distances out, one of more counts a long record's a
//   step short.
// - Deep code 68 (a unit of its fraction a good part of the step): the grid is measured on a
//   first stretch of 48 anchors (more take in an odd depth ahead of it), from up to eight
//   candidates.
// - A rough step followed again four times: a pass more or fewer, recounting the long gaps,
//   leaves a step that drifts over the run.
// - EB 8 a third of the step where a unit is half of it (its count of each distance in
//   doubt): the step it counts over its longest stretch lies further from it than drift, and
//   the depths' own step, which reads them better, is written.
TEST(LisSearchEdgeTest, EachLogIsReadAtItsStepAsTheBoundsStand)
{
    const struct {
        const char* what;
        const char* pins;
        Anchors log;
        double entry8, step;
    } rows[] = {
        {"0.25 ft at 4,539 ft, eight records of 2 to 17 frames", "kCountReach",
         GapAfterEachRecord(4538.9709, 0.25, {5, 5, 3, 7, 3, 2, 17, 5}), 0.0, 0.25},
        {"1 ft at 3,077 ft, seven records of 1 to 13 frames", "kCountReach",
         GapAfterEachRecord(3077.2307, 1.0, {9, 8, 13, 2, 1, 9, 12}), 0.0, 1.0},
        {"per frame, 0.00254 m at 4,765 m, one odd depth, EB 8 1.5 times", "kFirstAnchors",
         AtPlaces(4764.7697, 0.00254, TwoOfThree(213), {}, 36), 0.00381, 0.00254},
        {"17 records of 1/120 ft at 22,369 ft, a gap of up to two after most", "kMostTries",
         AtPlaces(22369.0, 1.0 / 120, {0, 9, 11, 13, 19, 32, 45, 57, 61, 65, 73, 76, 81, 84, 92, 95, 105},
                  {7, 2, 1, 4, 11, 11, 10, 2, 2, 7, 3, 4, 1, 8, 1, 8, 2}, -1),
         0.0, 1.0 / 120},
        {"400 frames at 18,800 ft, one missing in 20, gaps of 900 and 300 places", "kMostFollows", LongGapsDeep(),
         0.0, 1.0 / 120},
        {"56 frames at 19,890 ft, EB 8 a third of the step", "kDriftShare", DeepUnits(), double(float(1.0 / 360)),
         1.0 / 120},
        {"56 frames at 19,890 ft, EB 8 the step", "-", DeepUnits(), 1.0 / 120, 1.0 / 120},
    };
    for (const auto& r : rows) {
        const double read = Settled(r.log.depths, r.log.frames, r.entry8);
        const std::string why = Format("%s (%s): %.9f", r.what, r.pins, read);
        EXPECT_LE(std::fabs(read - r.step), std::max(1e-4, r.step * 1e-3)) << why;
        EXPECT_LE(std::fabs(read - r.step) * r.log.steps, 0.01) << why;
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
