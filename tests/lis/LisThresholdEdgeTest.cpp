// Logs of known truth at the edges of the step rules' thresholds (lis/steps/Thresholds.h),
// each written as the sweep writes its logs and scanned: each is read at its step as
// every threshold stands, and at another where the threshold it names moves one step, so
// that no threshold moves unnoticed.
#include "lis/LisParamScan.h"

#include "platform/Format.h"
#include "support/HostFixture.h"
#include "support/LisDictionaryBuilder.h"
#include "support/LisSweep.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

using sweep::Event;
using sweep::Gaps;
using sweep::Spacing;

constexpr sweep::DepthCode kFeet68{68, "F", false, 1.0, 1000, 28000, "M", 1.0};
constexpr sweep::DepthCode kMetres68{68, "M", true, 1.0, 300, 8500, "F", 1.0};
constexpr sweep::DepthCode kTenthInch73{73, ".1IN", false, 1.0 / 120, 1000, 28000, ".5MM", 0.0005};
constexpr sweep::DepthCode kHalfMm73{73, ".5MM", true, 0.0005, 300, 8500, ".1IN", 1.0 / 120};
constexpr sweep::Step kTenthOfAnInch{1.0 / 120, false};
constexpr sweep::Words kRounded = sweep::Words::Rounded, kCut = sweep::Words::Cut, kFloatCut = sweep::Words::FloatCut;

// A log of `places` grid places from `shallow` (feet or metres), EB 8 as `spacing` has it,
// code-68 words made as `words`; per-frame depths in records of up to 20 frames, or depth
// once in records of `once` frames.
sweep::Case Log(const sweep::DepthCode& code, sweep::Step step, Spacing spacing, Gaps gaps, int places, double shallow,
                bool up, sweep::Words words, int once = 0, uint32_t seed = 1)
{
    sweep::Case c;
    c.depth = code;
    c.step = step;
    c.spacing = spacing;
    c.gaps = gaps;
    c.grid = places;
    c.shallow = shallow;
    c.up = up;
    c.once = once > 0;
    c.perRecord = once > 0 ? once : 20;
    c.words = words;
    c.seed = seed; // of the gaps missing at random
    return c;
}

// `c` with `event` at each of `at` (in frames), `size` feet or metres.
sweep::Case With(sweep::Case c, Event event, std::vector<int> at, double size)
{
    c.event = event;
    c.eventAt = at.front();
    c.eventSize = size;
    for (size_t i = 1; i < at.size(); ++i) c.more.push_back({at[i], size});
    return c;
}

class LisThresholdEdgeTest : public HostTest {
protected:
    TempDir dir;

    void SetUp() override
    {
        HostTest::SetUp();
        ASSERT_TRUE(LisDictionaryBuilder::WriteTruthDit(dir.Path()));
    }
};

// Each log's step read within max(1e-4, step x 1e-3) of the truth's and holding over the run
// (its miss times the true steps from the first frame to the last within 0.01 ft or m), as
// the thresholds stand; each row names the threshold and the neighbour that reads its log at
// another step (depth once, that places the frames elsewhere too).
TEST_F(LisThresholdEdgeTest, EachLogIsReadAtItsStepAsTheThresholdsStand)
{
    const struct {
        const char* threshold;
        double wrongAt;
        const char* what;
        sweep::Case log;
    } rows[] = {
        {"kDoubtShare", 2.5, "EB 8 half of 1/120 ft at 17,137 ft, every third place missing",
         Log(kFeet68, kTenthOfAnInch, Spacing::Half, Gaps::EveryThird, 71, 17137.4415, false, kRounded)},
        {"kDoubtShare", 3.5, "no EB 8, 1/120 ft at 7,216 m, every third place missing, a depth a unit off",
         With(Log(kMetres68, kTenthOfAnInch, Spacing::Zero, Gaps::EveryThird, 102, 7216.4446, true, kCut), Event::Odd,
              {64}, -0.001016)},
        {"kMostSplits", 2, "no EB 8, 0.1 m on a .1IN tape, three splices of one unit",
         With(Log(kTenthInch73, {0.1, true}, Spacing::Absent, Gaps::None, 900, 5000.0, false, kCut), Event::Splice,
              {225, 450, 675}, 1.0 / 120)},
        {"kCandidateRounding", 2.75, "EB 8 3x of 1 in on a .5MM tape, depth once, 15% of places missing, an odd depth",
         With(Log(kHalfMm73, {0.0254, true}, Spacing::Thrice, Gaps::RandomShare, 104, 4774.5446, true, kCut, 19,
                  480793123),
              Event::Odd, {32}, 0.00762)},
    };
    const std::string path = dir.File("edge.lis");
    for (const auto& row : rows) {
        SCOPED_TRACE(Format("%s (read otherwise at %g): %s", row.threshold, row.wrongAt, row.what));
        const sweep::Written w = sweep::Write(row.log);
        WriteBytes(path, w.bytes);
        CLisLogicalFileList files;
        CLisParamScan scan;
        scan.Scan(path, &files, dir.Path(), lis::kToolDsi);
        ASSERT_EQ(files.size(), 1u);
        const double truth = row.log.StepOut(), read = std::fabs(files[0]->m_frameSpacing);
        const double steps = std::round(std::fabs(w.frames.back().depth - w.frames.front().depth) / truth);
        EXPECT_LE(std::fabs(read - truth), std::max(1e-4, truth * 1e-3)) << read;
        EXPECT_LE(std::fabs(read - truth) * steps, 0.01) << read;
    }
}

} // namespace
