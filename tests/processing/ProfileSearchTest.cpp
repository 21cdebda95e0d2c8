#include "processing/ProfileSearch.h"
#include "processing/ProcessingWnd.h"
#include "common/Fft.h"
#include "processing/TimeFrequency.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979;

// A trace of `n` samples: -1 before each rising edge, +1 from it on, alternating at
// the given samples (the first edge rises, the next falls, ...).
std::vector<float> Edges(int n, std::initializer_list<int> edges)
{
    std::vector<float> s(size_t(n), -1.0f);
    float level = -1.0f;
    int from = 0;
    for (int edge : edges) {
        for (int j = from; j < edge; ++j) s[size_t(j)] = level;
        level = -level;
        from = edge;
    }
    for (int j = from; j < n; ++j) s[size_t(j)] = level;
    return s;
}

TEST(ProfileSearch, CrossingScansStayInsideTheTraceAndInterpolate)
{
    // Exactly n samples: a scan that read one past the end would be caught here.
    const std::vector<float> last = Edges(8, {7});
    Crossing c;
    ASSERT_TRUE(RisingCrossingForward(last.data(), 8, 0, 10.0f, true, c));
    EXPECT_EQ(c.sample, 7);
    EXPECT_FLOAT_EQ(c.time, 65.0f) << "halfway between -1 and +1";
    const std::vector<float> none(8, -1.0f);
    EXPECT_FALSE(RisingCrossingForward(none.data(), 8, 0, 10.0f, true, c));
    EXPECT_FALSE(RisingCrossingForward(none.data(), 8, 100, 10.0f, true, c));
    EXPECT_FALSE(RisingCrossingBackward(none.data(), 8, 100, 10.0f, c)) << "a start past the end is the last sample";
    ASSERT_TRUE(RisingCrossingBackward(last.data(), 8, 100, 10.0f, c));
    EXPECT_EQ(c.sample, 7);
    const std::vector<float> ramp = {-3, -1, 1, 3};
    ASSERT_TRUE(RisingCrossingForward(ramp.data(), 4, 0, 2.0f, false, c));
    EXPECT_EQ(c.sample, 1) << "the sample before the crossing";
    EXPECT_FLOAT_EQ(c.time, 3.0f);
}

class TimeStepTest : public ::testing::Test {
protected:
    static constexpr int kN = 64;
    std::vector<float> frame = std::vector<float>(4 * kN, -1.0f);
    const int order[4] = {0, 1, 2, 3};
    const float offsets[4] = {0, 6, 12, 18}; // inches: half a foot apart
    float times[4] = {77, 77, 77, 77};
    int picks[4] = {0, 0, 0, 0};
    TimeSearch search{10.0f, 40.0f, 240.0f, false};

    void Trace(int slot, std::initializer_list<int> edges)
    {
        const std::vector<float> s = Edges(kN, edges);
        std::copy(s.begin(), s.end(), frame.begin() + slot * kN);
    }
    void Run(int clicked, float previous)
    {
        TimeStep(search, {frame.data(), size_t(kN), kN}, order, 4, clicked, offsets, previous, times, picks);
    }
};

TEST_F(TimeStepTest, FollowsTheArrivalAcrossTheArrayInsideTheSlownessWindow)
{
    Trace(0, {20});     // 195 us
    Trace(1, {24});     // 235: 80 us/ft from trace 0, inside 40 .. 240
    Trace(2, {60});     // 595: 720 us/ft, outside: the window's mean slowness instead
    Trace(3, {});       // no crossing: keeps its time
    Run(0, 190.0f);
    EXPECT_FLOAT_EQ(times[0], 195.0f);
    EXPECT_EQ(picks[0], 20);
    EXPECT_FLOAT_EQ(times[1], 235.0f);
    EXPECT_EQ(picks[1], 23);
    EXPECT_FLOAT_EQ(times[2], 235.0f + 140.0f * 6 / 12) << "(40 + 240) / 2 us/ft over half a foot";
    EXPECT_EQ(picks[2], 30);
    EXPECT_FLOAT_EQ(times[3], 77.0f);
    EXPECT_EQ(picks[3], 30);

    // A slowness exactly at the window's maximum is accepted.
    Trace(1, {32}); // 315: (315 - 195) x 12 / 6 = 240
    Run(0, 190.0f);
    EXPECT_FLOAT_EQ(times[1], 315.0f);
}

TEST_F(TimeStepTest, TheClickedTraceTakesTheNearerCrossingTiesGoingBack)
{
    Trace(0, {10, 20, 30}); // rising at 95 and at 295
    const struct {
        float previous, time;
        int pick;
    } cases[] = {{195, 95, 10}, {196, 295, 30}, {194, 95, 10}};
    for (const auto& c : cases) {
        Run(0, c.previous);
        EXPECT_FLOAT_EQ(times[0], c.time) << c.previous;
        EXPECT_EQ(picks[0], c.pick) << c.previous;
    }
    // No crossing at all: the time stays.
    Trace(0, {});
    Run(0, 123.0f);
    EXPECT_FLOAT_EQ(times[0], 123.0f);
}

TEST_F(TimeStepTest, EarlierTracesFollowBackwardAndSingleReceiverPicksOnlyTheClickedOne)
{
    Trace(0, {16}); // 155: (235 - 155) x 2 = 160 us/ft, inside
    Trace(1, {20}); // 195
    Trace(2, {24}); // 235
    Trace(3, {28}); // 275
    search.singleReceiver = true;
    Run(1, 190.0f);
    EXPECT_FLOAT_EQ(times[1], 195.0f);
    for (int t : {0, 2, 3}) EXPECT_FLOAT_EQ(times[t], 77.0f) << t;

    search.singleReceiver = false;
    Run(2, 230.0f);
    EXPECT_FLOAT_EQ(times[2], 235.0f);
    EXPECT_FLOAT_EQ(times[1], 195.0f);
    EXPECT_FLOAT_EQ(times[0], 155.0f);
    EXPECT_FLOAT_EQ(times[3], 275.0f);
    // Outside the window backwards: the mean slowness before the successor.
    Trace(0, {2}); // 15: (195 - 15) x 2 = 360 us/ft
    Run(2, 230.0f);
    EXPECT_FLOAT_EQ(times[0], 195.0f - 70.0f);
    EXPECT_EQ(picks[0], 12);
}

TEST(ProfileSearch, TheSpectralPeakIsReportedAtItsOwnBin)
{
    const float spectrum[] = {0, 0.2f, 0.9f, 0.5f, 0.9f, 0.1f};
    const struct {
        float minimum, maximum, hz;
    } cases[] = {
        {0, 500, 200},   // the first of two equal peaks, at bin 2 x 100 Hz
        {300, 500, 400}, // the band starts at bin 3
        {0, 1e9f, 200},  // a band past the last bin stops at it
        {500, 500, 500}, // a band of one bin
    };
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(FrequencyPeak(spectrum, 6, 100, c.minimum, c.maximum), c.hz) << c.minimum;
    const float silent[4] = {};
    EXPECT_EQ(FrequencyPeak(silent, 4, 100, 0, 400), 0.0f);

    // A sine of 8 cycles in 64 samples of 10 us: 8 x 10^6 / 640 Hz, found through the
    // window's own spectrum.
    std::vector<float> x(64), bins(33);
    for (int i = 0; i < 64; ++i) x[size_t(i)] = float(std::sin(2 * kPi * 8 * i / 64));
    AmplitudeSpectrum(x.data(), 64, bins.data());
    EXPECT_FLOAT_EQ(FrequencyPeak(bins.data(), 33, 1e6f / 640, 0, 50000), 8 * 1e6f / 640);
}

// A curve of `n` zeros with peaks (sample, height).
std::vector<float> Curve(int n, std::initializer_list<std::pair<int, float>> peaks)
{
    std::vector<float> s(size_t(n), 0.0f);
    for (const auto& [k, h] : peaks) s[size_t(k)] = h;
    return s;
}

TEST(ProfileSearch, SlownessFollowsThePeakAndDampsJumpsByTheDecisionTable)
{
    const SlownessSearch search{1.0f, 0.0f, 200.0f, 1250.0f};
    const struct {
        const char* what;
        std::vector<float> curve;
        float previous;
        bool first;
        float value;
    } cases[] = {
        {"no peak keeps the value", Curve(200, {}), 98, false, 98},
        {"a peak of 0.25 is none", Curve(200, {{100, 0.25f}}), 98, false, 98},
        {"no jump", Curve(200, {{100, 0.9f}}), 98, false, 100},
        {"the first frame never jumps", Curve(200, {{100, 0.9f}}), 50, true, 100},
        {"jump near, weak", Curve(200, {{100, 0.4f}}), 120, false, 110},
        {"jump near, strong", Curve(200, {{100, 0.8f}}), 120, false, 105},
        {"jump far", Curve(200, {{100, 0.8f}}), 200, false, 175},
        // Two peaks: the strong largest beats a weak nearest; r = 96/150 is far.
        {"two peaks, far", Curve(200, {{95, 0.4f}, {150, 0.9f}}), 96, false, 0.75f * 96 + 0.25f * 150},
        // Both strong: the strictly larger; both equal: the nearer.
        {"both strong", Curve(200, {{95, 0.6f}, {110, 0.9f}}), 92, false, 0.25f * 92 + 0.75f * 110},
        {"both strong, equal", Curve(200, {{95, 0.8f}, {110, 0.8f}}), 92, false, 95},
        {"three peaks, weak, near", Curve(200, {{30, 0.27f}, {100, 0.3f}, {150, 0.28f}}), 120, false,
         0.66f * 120 + 0.34f * 100},
        {"five peaks, strong, near", Curve(200, {{20, 0.3f}, {40, 0.3f}, {60, 0.3f}, {100, 0.9f}, {150, 0.3f}}), 120,
         false, (120 + 100) / 2.0f},
        {"five peaks, weak, near", Curve(200, {{20, 0.3f}, {40, 0.3f}, {60, 0.3f}, {100, 0.4f}, {150, 0.3f}}), 120,
         false, 0.75f * 120 + 0.25f * 100},
        {"five peaks, far", Curve(200, {{20, 0.3f}, {40, 0.3f}, {60, 0.3f}, {100, 0.9f}, {150, 0.3f}}), 160, false,
         0.75f * 160 + 0.25f * 100},
        // Peaks outside min/ds + 1 .. max/ds - 2 are not looked at.
        {"outside the limits", Curve(200, {{199, 0.9f}}), 98, false, 98},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(SlownessStep(search, c.curve.data(), int(c.curve.size()), c.previous, c.first), c.value, 1e-3)
            << c.what;

    // Above the limit the limit is taken, and the ratio is taken against it.
    const SlownessSearch limited{1.0f, 0.0f, 200.0f, 120.0f};
    const std::vector<float> high = Curve(200, {{150, 0.9f}});
    EXPECT_NEAR(SlownessStep(limited, high.data(), 200, 100, false), 0.25f * 100 + 0.75f * 120, 1e-3);
}

TEST(ProfileSearch, SlownessWeighsEveryPeakOfALongCurve)
{
    // 333 weak peaks, and the one strong one far beyond the 128th: it still wins.
    std::vector<float> s(1000, 0.0f);
    for (int k = 1; k < 1000; k += 3) s[size_t(k)] = 0.3f;
    s[700] = 0.9f;
    const SlownessSearch search{1.0f, 0.0f, 1000.0f, 1250.0f};
    EXPECT_FLOAT_EQ(SlownessStep(search, s.data(), 1000, 650, false), 700.0f);
}

TEST(ProfileSearch, AzimuthTracksTheExtremeNearThePreviousValueAtItsOwnSample)
{
    std::vector<float> s(361, 1.0f);
    s[80] = 5;   // the largest maximum inside 60 .. 120
    s[110] = 3;
    s[95] = -2;  // the smallest minimum
    s[130] = 9;  // outside the window
    const struct {
        bool maximum, minimum;
        float low, high, value;
    } cases[] = {
        {true, false, 0, 360, 80},       // sample 80 is 80 degrees
        {false, true, 0, 360, 95},
        {true, true, 0, 360, 95},        // the minimum overwrites
        {false, false, 0, 360, kProfileAbsent},
        {true, false, 85, 360, 85},      // held inside the range
    };
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(AzimuthStep({1.0f, c.low, c.high, c.maximum, c.minimum}, s.data(), 361, 90.0f), c.value)
            << c.maximum << c.minimum << c.low;

    // Later equal maxima win; two degrees a sample: the window is counted in samples.
    std::vector<float> even(181, 0.0f);
    even[35] = 4;
    even[50] = 4;
    EXPECT_FLOAT_EQ(AzimuthStep({2.0f, 0, 360, true, false}, even.data(), 181, 90.0f), 100.0f);
    // A window reaching past the samples stops at the last one.
    std::vector<float> shortCurve(10, 0.0f);
    shortCurve[8] = 1;
    EXPECT_FLOAT_EQ(AzimuthStep({1.0f, 0, 360, true, false}, shortCurve.data(), 10, 5.0f), 8.0f);
}

// A sample step far below the limits (a data set's step of 1e-38) or a previous value
// far off the curve puts the search window past the int's ends: nothing is found, and
// the margins added to them stay inside the int.
TEST(ProfileSearch, StepsAndPreviousValuesBeyondTheIndicesFindNothing)
{
    std::vector<float> s(64, 0.0f);
    s[20] = 0.9f;
    for (const float step : {1e-38f, 1e-30f})
        for (const float previous : {100.0f, 3e38f, -3e38f}) {
            EXPECT_FLOAT_EQ(SlownessStep({step, 80.0f, 480.0f, 500.0f}, s.data(), 64, previous, false), previous)
                << step << " " << previous;
            EXPECT_FLOAT_EQ(SlownessStep({step, -3e38f, -1e38f, 500.0f}, s.data(), 64, previous, true), previous)
                << step << " " << previous;
            EXPECT_FLOAT_EQ(AzimuthStep({step, 0, 360, true, true}, s.data(), 64, previous), kProfileAbsent)
                << step << " " << previous;
        }
    for (const float previous : {3e38f, -3e38f})
        EXPECT_FLOAT_EQ(AzimuthStep({1.0f, 0, 360, true, true}, s.data(), 64, previous), kProfileAbsent) << previous;
}

TEST(ProcessingWnd, TheInstantaneousFrequencyOfASineIsItsFrequency)
{
    // 8 cycles in 64 samples of 10 us: 12.5 kHz wherever it is asked.
    std::vector<float> x(64);
    for (int i = 0; i < 64; ++i) x[size_t(i)] = float(std::cos(2 * kPi * 8 * i / 64));
    for (float time : {0.0f, 200.0f, 615.0f, 1e9f})
        EXPECT_NEAR(InstantaneousFrequency(x.data(), 64, 10, time), 12500, 1) << time;
    const std::vector<float> silent(64, 0.0f);
    EXPECT_EQ(InstantaneousFrequency(silent.data(), 64, 10, 100), 0.0f);
}

} // namespace
