// How often a step measured roughly is followed again: logs of known truth whose step is
// read right over the whole run (within 0.01 ft of the truth from the first frame to the
// last) only at the count of passes the rules take, each row naming the threshold it pins.
#include "lis/steps/DepthGrid.h"
#include "lis/steps/FrameRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// Code-68 depths as a float word cuts them, in feet.
double Cut(double ft)
{
    const double unit = lis::frames::StepPrecision(68, ft);
    return std::trunc(ft / unit) * unit;
}

TEST(LisFollowEdgeTest, ARoughStepIsFollowedAsOftenAsTheRulesSay)
{
    // Per frame, no EB 8, 1/120 ft deep down (a distance's count in doubt): a frame missing
    // after every `every`th, and long gaps of `gaps` places after a quarter, a half and
    // three quarters of the frames. The candidates are followed again, each pass
    // recounting the long gaps; a pass more or fewer leaves a step that drifts over the run.
    const struct {
        const char* what;
        const char* pins;
        int frames, every;
        std::vector<int> gaps;
    } cases[] = {
        {"400 frames at 18,800 ft, one missing in 20, gaps of 900 and 300 places", "kMostFollows", 400, 20,
         {900, 300, 0}},
    };
    const double step = 1.0 / 120;
    for (const auto& c : cases) {
        CLisLogicalFile f;
        f.m_depthCode = 68;
        int place = 0;
        for (int k = 0; k < c.frames; ++k) {
            for (size_t g = 0; g < c.gaps.size(); ++g) place += k == int(g + 1) * c.frames / 4 ? c.gaps[g] : 0;
            f.m_depths.push_back({Cut(18800.0 + place * step), uint64_t(k) * 100, 0, 0});
            place += k % c.every == c.every - 1 ? 2 : 1;
        }
        lis::frames::SettleSpacing(f);
        const double read = std::fabs(f.m_frameSpacing), places = place - 1;
        EXPECT_LE(std::fabs(read - step) * places, 0.01) << c.what << " (" << c.pins << "): " << read;
    }
}

} // namespace
