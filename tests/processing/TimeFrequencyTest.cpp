#include "processing/TimeFrequency.h"

#include "dataset/ItemTypes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(TimeFrequency, TheAnalyticSignalOfACosineIsCosineAndSine)
{
    const int n = 256, bin = 8;
    std::vector<float> x(n), re(n), im(n);
    for (int i = 0; i < n; ++i) x[size_t(i)] = float(std::cos(2 * kPi * bin * i / n));
    AnalyticSignal(x.data(), n, re.data(), im.data());
    for (int i = 0; i < n; i += 17) {
        EXPECT_NEAR(re[size_t(i)], std::cos(2 * kPi * bin * i / n), 1e-4) << i;
        EXPECT_NEAR(im[size_t(i)], std::sin(2 * kPi * bin * i / n), 1e-4) << i;
    }
    // A bin-centred cosine: f0 = bin / (n step), at every time, the trace's end included.
    const float step = 10.0f; // us
    const double f0 = bin * 1e6 / (n * step);
    for (float t : {0.0f, 305.0f, 2540.0f, 1e9f}) EXPECT_NEAR(FrequencyAtTime(re.data(), im.data(), n, step, t), f0, 1.0) << t;
}

TEST(TimeFrequency, PhaseAndFrequencyRules)
{
    const float re[] = {0, 1, -1, -1, 0};
    const float im[] = {0, 0, -0.0f, 0, -1};
    EXPECT_EQ(InstantaneousPhase(re, im, 5, 0), 0.0);       // both parts 0
    EXPECT_EQ(InstantaneousPhase(re, im, 5, 1), 0.0);
    EXPECT_NEAR(InstantaneousPhase(re, im, 5, 2), -kPi, 1e-9); // exactly -pi stays
    EXPECT_NEAR(InstantaneousPhase(re, im, 5, 4), 1.5 * kPi, 1e-9);
    EXPECT_NEAR(InstantaneousPhase(re, im, 5, 99), 1.5 * kPi, 1e-9); // held inside the samples
    struct Case {
        double picked, next;
        float hz;
    } const cases[] = {{1.0, 1.0, 0.0f}, {1.0, 1.5, 7957.75f}, {6.0, 0.2, 7690.1f}}; // the last wraps by 2 pi
    for (const Case& c : cases) EXPECT_NEAR(InstantaneousFrequency(c.picked, c.next, 10.0f), c.hz, 0.5) << c.next;
}

TEST(TimeFrequency, WindowsSnapToSamplesAndBins)
{
    const TfTimeWindow t = SetTimeRange(95, 99999, 512, 10);
    EXPECT_EQ(t.start, 100);
    EXPECT_EQ(t.stop, 5120); // cut to n x step
    EXPECT_EQ(t.first, 10);
    EXPECT_EQ(t.last, 511);
    EXPECT_EQ(t.firstTick, 500);
    EXPECT_EQ(SetTimeRange(120, 480, 512, 10).firstTick, 200);
    const TfTimeWindow s = ScrollTimeRange(SetTimeRange(0, 1000, 512, 10), 50, 10);
    EXPECT_EQ(s.start, 500);
    EXPECT_EQ(s.last, 150);
    EXPECT_EQ(s.firstTick, 1000);

    // 512 samples of 10 us: bins of 195.3125 Hz, Nyquist 50 kHz.
    const TfFrequencyWindow f = SetFrequencyRange(1000, 60000, 512, 10);
    EXPECT_FLOAT_EQ(f.binStep, 195.3125f);
    EXPECT_FLOAT_EQ(f.start, 6 * 195.3125f);
    EXPECT_FLOAT_EQ(f.stop, 244 * 195.3125f); // 47500 rounded up to a bin
    EXPECT_EQ(f.count, 244 - 6);
    EXPECT_EQ(f.scrollMax, 256 - 238);
}

TEST(TimeFrequency, RunsMergeByFrameAndEditsExtendInTheLogsDirection)
{
    TfProfile profile;
    profile.Reset(10, 15);
    const int slots[] = {0, 1};
    // A run stopped early on an up log holds frames 14 and 13 only.
    std::vector<TfRecord> run(2);
    run[0].frame = 13;
    run[1].frame = 14;
    for (TfRecord& r : run) r.times = {}, r.frequencies = {}, r.times[0] = float(r.frame), r.times[1] = 1;
    profile.MergeRun(run, slots, 2, true, 0); // Single Receiver: slot 0 only
    EXPECT_EQ(profile.Record(13)->times[0], 13);
    EXPECT_EQ(profile.Record(14)->times[0], 14);
    EXPECT_EQ(profile.Record(10)->times[0], kProfileAbsent);
    EXPECT_EQ(profile.Record(13)->times[1], kProfileAbsent);
    EXPECT_EQ(profile.Record(99), nullptr);

    // An edit on an empty list starts one; extending up the log interpolates.
    profile.ExtendEdit(15, 1, 500, 8000, false);
    ASSERT_EQ(profile.Edits().size(), 1u);
    profile.ExtendEdit(12, 1, 200, 5000, false);
    ASSERT_EQ(profile.Edits().size(), 4u);
    EXPECT_EQ(profile.Edits().front().frame, 12);
    EXPECT_FLOAT_EQ(profile.Edits()[1].times[1], 300);
    EXPECT_FLOAT_EQ(profile.Edits()[1].frequencies[1], 6000);
    profile.ExtendEdit(14, 1, 1, 1, false); // against the direction: ignored
    EXPECT_EQ(profile.Edits().size(), 4u);
    profile.MergeEdits(slots, 2);
    EXPECT_FLOAT_EQ(profile.Record(13)->times[1], 300);
    EXPECT_EQ(profile.Record(13)->times[0], 13); // the invalid values of other slots are not copied
}

TEST(TimeFrequency, ReceiversBeyondTheEighthHaveCurveNames)
{
    struct Case {
        int trace;
        const char *tt, *fq;
        int ttCode, fqCode;
    } const cases[] = {{0, " TT1", " FQ1", 46, 171}, {7, " TT8", " FQ8", 53, 178}, {8, " TT9", " FQ9", 195, 205},
                       {12, "TT13", "FQ13", 199, 209}};
    for (const Case& c : cases) {
        ProfileCurve tt, fq;
        ASSERT_TRUE(ArrivalTimeCurve(c.trace, tt) && InstantaneousFrequencyCurve(c.trace, fq));
        EXPECT_EQ(tt.mnemonic, c.tt);
        EXPECT_EQ(fq.mnemonic, c.fq);
        EXPECT_EQ(tt.code, c.ttCode);
        EXPECT_EQ(fq.code, c.fqCode);
    }
    ProfileCurve none;
    EXPECT_FALSE(InstantaneousFrequencyCurve(13, none));
}

} // namespace
