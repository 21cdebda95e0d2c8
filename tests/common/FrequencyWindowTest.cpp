#include "common/FrequencyWindow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// 512 samples at 10 us: bins of 195.3125 Hz, Nyquist 50 kHz. The three spectrum views
// share this window, so one wrong end would show a different band in each.
TEST(FrequencyWindow, EndsSnapUpToBinsAndTheTopStaysBelowNyquist)
{
    const double bin = 195.3125;
    FrequencyWindow w = SnapFrequencyWindow(1000.0, 3000.0, 512, 10.0);
    EXPECT_DOUBLE_EQ(w.binStep, bin);
    EXPECT_DOUBLE_EQ(w.start, 6 * bin);  // 1171.875, the first bin not below 1000
    EXPECT_DOUBLE_EQ(w.stop, 16 * bin);  // 3125
    w = SnapFrequencyWindow(2 * bin, 60000.0, 512, 10.0);
    EXPECT_DOUBLE_EQ(w.start, 2 * bin);  // a bin stays where it is
    EXPECT_DOUBLE_EQ(w.stop, 244 * bin); // 0.95 x 50 kHz = 47.5 kHz, snapped up
    EXPECT_LT(w.stop, 50000.0);
    w = SnapFrequencyWindow(-5.0, 50000.0, 512, 10.0);
    EXPECT_EQ(w.start, 0.0);
    EXPECT_DOUBLE_EQ(w.stop, 256 * bin); // Nyquist itself is kept
}

// Every window's ends go through this one rounding: a negative or NaN end would give a
// negative sample index, an infinite one an infinite width.
TEST(FrequencyWindow, RaiseToMultipleKeepsEveryEndOnTheGridFromZero)
{
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const struct {
        double v, step, want;
    } cases[] = {
        {25.0, 10.0, 30.0},  {30.0, 10.0, 30.0}, {30.0000001, 10.0, 30.0}, {0.0, 10.0, 0.0},
        {-5.0, 10.0, 0.0},   {-15.0, 10.0, 0.0}, {nan, 10.0, 0.0},          {-inf, 10.0, 0.0},
        {25.0, 0.0, 25.0},   {25.0, -2.0, 25.0}, {25.0, nan, 25.0},         {25.0, inf, 25.0},
    };
    for (const auto& c : cases) EXPECT_EQ(RaiseToMultiple(c.v, c.step), c.want) << c.v << " step " << c.step;
    const double huge = RaiseToMultiple(inf, 10.0);
    EXPECT_TRUE(std::isfinite(huge));
    EXPECT_GT(huge, 1e15);
}

} // namespace
