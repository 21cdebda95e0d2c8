#include "common/FrequencyWindow.h"

#include <gtest/gtest.h>

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

} // namespace
