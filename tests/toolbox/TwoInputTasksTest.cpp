#include "toolbox/ToolTasks.h"
#include "toolbox/ToolsWnd.h"

#include "settings/SettingsStore.h"
#include "settings/UtilitiesSetupGroup.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <tuple>

namespace {

using T = ToolTask;
const std::string kAbandon = "\nOperation will be abandoned.";
constexpr float kNull = -999.25f;

QtxDatumShape Wave(const char* mnemonic, uint16_t traces = 2, uint16_t samples = 4, float step = 10.0f)
{
    return {.mnemonic = mnemonic,
            .typeCode = 26,
            .category = kCategoryWaveform,
            .traces = traces,
            .samples = samples,
            .step = step};
}
QtxDatumShape Curve(const char* mnemonic, uint8_t type = 6, uint8_t unit = 2)
{
    return {.mnemonic = mnemonic, .typeCode = type, .category = kCategoryTrace, .unit = unit, .step = 1.0f};
}

// Where depths lie per frame: frames at top + k x step (negative steps run up).
TEST(DepthOverlap, AlignsTheSecondaryByDepthsTruncatedToFourDecimals)
{
    const struct {
        uint8_t direction;
        double pTop, pBottom, pStep;
        int32_t pFrames;
        double sTop, sBottom, sStep;
        int32_t sFrames;
        int32_t first, end, secondaryFirst;
        double start;
    } cases[] = {
        {0xFF, 100, 200, 1, 101, 150, 250, 1, 101, 50, 101, 0, 150},
        // The secondary ends first: its last depth's primary frame is written.
        {0xFF, 100, 110, 0.5, 21, 95, 105, 0.5, 21, 0, 11, 10, 100},
        // Up: the primary frame at the secondary's last depth is not.
        {1, 110, 100, -0.5, 21, 115, 105, -0.5, 21, 0, 10, 10, 110},
        {0xFF, 100, 110, 0.5, 21, 120, 130, 0.5, 21, 21, 21, 0, 120}, // no overlap: nothing
        {0xFF, 100.00004, 110, 0.5, 21, 100.00001, 110, 0.5, 21, 0, 21, 0, 100.00001},
        {0xFF, 100, 110, 0.5, 21, 100, 110, 0.5, 5, 0, 5, 0, 100}, // never past the secondary's last frame
    };
    for (const auto& c : cases) {
        CToolsWnd e;
        e.Task().primary.logDirection = c.direction;
        std::tie(e.Task().primary.top, e.Task().primary.bottom, e.Task().primary.step, e.Task().primary.frameCount) =
            std::tuple(c.pTop, c.pBottom, c.pStep, c.pFrames);
        std::tie(e.Task().secondary.top, e.Task().secondary.bottom, e.Task().secondary.step,
                 e.Task().secondary.frameCount) = std::tuple(c.sTop, c.sBottom, c.sStep, c.sFrames);
        e.Inputs().FindDepthOverlap();
        EXPECT_EQ(std::tuple(e.Task().firstIndex, e.Task().endIndex, e.Task().firstIndex + e.Task().secondaryOffset),
                  std::tuple(c.first, c.end, c.secondaryFirst))
            << c.pTop << " " << c.sTop;
        EXPECT_EQ(e.Task().rangeStart, c.start);
    }
}

class TwoInputTasksTest : public HostTest {
protected:
    void TearDown() override
    {
        theApp.Clear();
        HostTest::TearDown();
    }
    // The datums of each input the Utilities Setup leaves chosen.
    static void Choose(ToolInputSelection& s, int count, const std::vector<int>& chosen)
    {
        s.itemCount = count;
        s.selected.fill(0);
        for (int k : chosen) s.selected[size_t(k)] = 1;
    }
    void Choose(int pCount, const std::vector<int>& p, int sCount, const std::vector<int>& s, int dCount = 0,
                const std::vector<int>& d = {})
    {
        Choose(theApp.m_utilitiesSetup.primary, pCount, p);
        Choose(theApp.m_utilitiesSetup.secondary, sCount, s);
        Choose(theApp.m_utilitiesSetup.density, dCount, d);
    }
    int Run(T task, float factor = 0.0f, double splice = 0.0)
    {
        std::remove(output.c_str());
        auto e = std::make_unique<CToolsWnd>();
        e->Settings().outputPath = output;
        e->Settings().factor = factor;
        e->Settings().spliceDepth = splice;
        return RunToolTask(*e, task, primary, secondary, density);
    }
    // A refusal before the output exists: its message, -1, no file.
    void ExpectRefusal(T task, const std::string& message, float factor = 0.0f, double splice = 0.0)
    {
        host.ExpectMessage(message);
        EXPECT_EQ(Run(task, factor, splice), -1) << message;
        EXPECT_FALSE(FileExists(output)) << message;
    }
    std::string History() const { return std::string(LoadQtx(output).header.history, qtx::kHistorySize); }

    TempDir dir;
    std::string primary = dir.File("p.qtx"), secondary = dir.File("s.qtx"), density = dir.File("d.qtx");
    std::string output = dir.File("out.qtx");
};

float PrimaryValue(int frame, int, size_t index) { return float(frame * 100) + float(index); }
float SecondaryValue(int frame, int, size_t index) { return -1.0f - float(frame * 100) - float(index); }

// Primary 100-110 and secondary 103-120 at 0.5: the primary's frames to the splice depth,
// then the secondary's below it, on the primary's grid continued.
TEST_F(TwoInputTasksTest, SpliceContinuesThePrimaryGridAndChecksInOrder)
{
    const struct {
        double splice, sStep;
        int primaryFrames, secondaryFirst;
    } joins[] = {{105.0, 0.5, 11, 5}, {103.0, 0.5, 7, 1}, {110.0, 0.5004, 21, 14}};
    for (const auto& j : joins) {
        ASSERT_TRUE(WriteQtx(primary, {Wave("WAVE")}, 21, 100.0, 0.5, PrimaryValue));
        ASSERT_TRUE(WriteQtx(secondary, {Wave("WAVE")}, 35, 103.0, j.sStep, SecondaryValue));
        ASSERT_EQ(Run(T::SpliceAtDepth, 0.0f, j.splice), 1) << j.splice;
        const QtxImage p = LoadQtx(primary), s = LoadQtx(secondary), out = LoadQtx(output);
        ASSERT_EQ(out.frames.size(), size_t(j.primaryFrames + 35 - j.secondaryFirst)) << j.splice;
        for (size_t k = 0; k < out.frames.size(); ++k) {
            EXPECT_DOUBLE_EQ(out.depths[k], 100.0 + 0.5 * double(k)) << j.splice;
            const int from = int(k) < j.primaryFrames ? int(k) : int(k) - j.primaryFrames + j.secondaryFirst;
            EXPECT_EQ(out.frames[k], (int(k) < j.primaryFrames ? p : s).frames[size_t(from)]) << j.splice << " " << k;
        }
    }
    EXPECT_NE(History().find("*** Tools (Splice at depth) -   110.0000  [ft]"), std::string::npos);

    // Each refusal comes from the first check that fails; inputs that do not overlap have no splice depth.
    const struct {
        std::vector<QtxDatumShape> sDatums;
        double sTop, sStep;
        uint8_t pDirection, sDirection, sUnits;
        double splice;
        std::string message;
    } refusals[] = {
        {{Wave("WAVE"), Wave("MORE")}, 103, 0.6, 0xFF, 0xFF, 1, 105, "Encountered different number of channels"},
        {{Wave("WAVE")}, 103, 0.5006, 0xFF, 0xFF, 0xFF, 105, "Different depth increments in input files!"},
        {{Wave("WAVE")}, 120, -0.5, 0xFF, 1, 0xFF, 105, "Different depth units in input files!"},
        {{Wave("WAVE")}, 120, -0.5, 0xFF, 1, 1, 105, "Different log directions in input files!"},
        {{Wave("WAVX", 3)}, 103, 0.5, 0xFF, 0xFF, 1, 105, "Different channel mnemonics in input files!"},
        {{Wave("WAVE", 3)}, 103, 0.5, 0xFF, 0xFF, 1, 105, "Different number of channels in input files!"},
        {{Wave("WAVE", 2, 5)}, 103, 0.5, 0xFF, 0xFF, 1, 105, "Different datums in input files!"},
        {{Wave("WAVE")}, 120, -0.5, 1, 1, 1, 105, "Log up is not supported in this release!"},
        {{Wave("WAVE")}, 100, 0.5, 0xFF, 0xFF, 1, 105, "Please toggle input files!"},
        {{Wave("WAVE")}, 103, 0.5, 0xFF, 0xFF, 1, 102.5, "Could not find splice depth!" + kAbandon},
        {{Wave("WAVE")}, 103, 0.5, 0xFF, 0xFF, 1, 110.5, "Could not find splice depth!" + kAbandon},
        {{Wave("WAVE")}, 111, 0.5, 0xFF, 0xFF, 1, 110.5, "Could not find splice depth!" + kAbandon},
    };
    for (const auto& r : refusals) {
        const bool up = r.pDirection == 1;
        ASSERT_TRUE(WriteQtx(primary, {Wave("WAVE")}, 21, up ? 110 : 100, up ? -0.5 : 0.5, PrimaryValue, r.pDirection));
        ASSERT_TRUE(WriteQtx(secondary, r.sDatums, 35, r.sTop, r.sStep, SecondaryValue, r.sDirection));
        PatchQtxHeader(secondary, [&](QtxFileHeader& h) { h.depthUnits = r.sUnits; });
        ExpectRefusal(T::SpliceAtDepth, r.message, 0.0f, r.splice);
    }
}

// Frame by frame on the secondary's depths; a data set less itself is 0 everywhere, nulls too.
TEST_F(TwoInputTasksTest, WaveformArithmeticCombinesFrameByFrame)
{
    auto withNull = [](int f, int d, size_t i) { return i == 3 ? kNull : PrimaryValue(f, d, i); };
    ASSERT_TRUE(WriteQtx(primary, {Curve("DTCO"), Wave("WAVE")}, 4, 100.0, 0.5, withNull));
    ASSERT_TRUE(WriteQtx(secondary, {Curve("DTCO"), Wave("WAVS")}, 4, 300.0, 0.5, withNull));
    Choose(2, {1}, 2, {1});
    ASSERT_EQ(Run(T::SubtractWaveforms), 1);
    QtxImage out = LoadQtx(output);
    ASSERT_EQ(out.descriptors.size(), 1u);
    EXPECT_EQ(std::string(out.descriptors[0].mnemonic, 4), "WAVE");
    EXPECT_EQ(out.depths, (std::vector<double>{300, 300.5, 301, 301.5}));
    for (const auto& frame : out.frames) EXPECT_EQ(frame, std::vector<float>(8, 0.0f));
    EXPECT_NE(History().find("*** Tools (Subtract waveforms)"), std::string::npos);

    ASSERT_TRUE(WriteQtx(secondary, {Curve("DTCO"), Wave("WAVS")}, 4, 300.0, 0.5, SecondaryValue));
    ASSERT_EQ(Run(T::AddWaveforms), 1);
    out = LoadQtx(output);
    for (int f = 0; f < 4; ++f)
        for (size_t i = 0; i < 8; ++i)
            EXPECT_EQ(out.frames[size_t(f)][i], withNull(f, 1, i) + SecondaryValue(f, 1, i)) << f << " " << i;

    // Named, not built in the list: GCC's Release build takes an inline one for uninitialised.
    const QtxDatumShape slowness{.mnemonic = "SLOW", .typeCode = 40, .category = 3, .traces = 2, .samples = 4};
    const struct {
        std::vector<int> p, s;
        QtxDatumShape sDatum;
        int sFrames;
        std::string message;
    } refusals[] = {
        {{}, {1}, Wave("WAVS"), 4, "Encountered empty primary selection list!" + kAbandon},
        {{0, 1}, {1}, Wave("WAVS"), 4, "Encountered multiple items in primary selection list!"},
        {{1}, {}, Wave("WAVS"), 4, "Encountered empty secondary selection list!" + kAbandon},
        {{1}, {5}, Wave("WAVS"), 4, "Encountered empty secondary selection list!"}, // no such datum
        {{1}, {1}, Wave("WAVS"), 5, "Different number of depth frames in input files!"},
        {{0}, {1}, Wave("WAVS"), 4, "Waveform arithmetic requires either time or slowness domain data!"},
        {{1}, {1}, slowness, 4, "Different data domains in input files!"},
        {{1}, {1}, Wave("WAVS", 1, 8), 4, "Different number of channels in input files!"},
        {{1}, {1}, Wave("WAVS", 2, 4, 8.0f), 4, "Different sampling rates in input files!"},
    };
    for (const auto& r : refusals) {
        ASSERT_TRUE(WriteQtx(secondary, {Curve("DTCO"), r.sDatum}, r.sFrames, 300.0, 0.5));
        Choose(2, r.p, 6, r.s);
        ExpectRefusal(T::AddWaveforms, r.message);
    }
}

// The selected datums of the primary, then the secondary's, on the secondary's first depth.
TEST_F(TwoInputTasksTest, ConstructMergesTheSelectedDatumsOfBothInputs)
{
    const QtxDatumShape slowness{.mnemonic = "SLOW", .typeCode = 40, .category = 3, .samples = 3};
    ASSERT_TRUE(WriteQtx(primary, {Curve("DTCO"), Wave("WAVE")}, 4, 100.0, 0.5, PrimaryValue));
    ASSERT_TRUE(WriteQtx(secondary, {Curve("DTSM", 7), slowness}, 4, 500.0, 0.5004, SecondaryValue));
    Choose(2, {1}, 2, {0, 1});
    ASSERT_EQ(Run(T::ConstructQtxDataSet), 1);
    const QtxImage p = LoadQtx(primary), s = LoadQtx(secondary), out = LoadQtx(output);
    ASSERT_EQ(out.descriptors.size(), 3u);
    EXPECT_EQ(std::string(out.descriptors[2].mnemonic, 4), "SLOW");
    EXPECT_EQ(out.header.depthStep, 0.5);
    for (size_t f = 0; f < 4; ++f) {
        EXPECT_DOUBLE_EQ(out.depths[f], 500.0 + 0.5 * double(f));
        std::vector<float> want(p.frames[f].begin() + 1, p.frames[f].end());
        want.insert(want.end(), s.frames[f].begin(), s.frames[f].end());
        EXPECT_EQ(out.frames[f], want) << f;
    }
    EXPECT_NE(History().find("*** Tools (Construct QTX data set)"), std::string::npos);

    const std::string shape = "Construct QTX data set requires datums of one axis and at most 65536 values a frame!";
    const QtxDatumShape map{.mnemonic = "SMAP", .typeCode = 60, .category = 5, .samples = 3, .samples2 = 2};
    const QtxDatumShape huge{.mnemonic = "HUGE", .typeCode = 27, .traces = 16, .samples = 4097};
    const struct {
        QtxDatumShape sDatum;
        int pFrames;
        std::vector<int> p, s;
        std::string message;
    } refusals[] = {
        {slowness, 4, {1}, {}, "Encountered empty secondary selection list!"},
        {slowness, 5, {1}, {0}, "Different number of depth frames in input files!"},
        {Curve("CRV2"), 4, {0}, {0}, "Encountered the same datums in input files!" + kAbandon},
        {map, 4, {1}, {0}, shape},
        {huge, 4, {1}, {0}, shape},
    };
    for (const auto& r : refusals) {
        ASSERT_TRUE(WriteQtx(primary, {Curve("DTCO"), Wave("WAVE")}, r.pFrames, 100.0, 0.5));
        ASSERT_TRUE(WriteQtx(secondary, {r.sDatum}, 4, 500.0, 0.5));
        Choose(2, r.p, 1, r.s);
        ExpectRefusal(T::ConstructQtxDataSet, r.message);
    }
}

// Over the common depths 105-110 only; a null on either side keeps both values in order.
TEST_F(TwoInputTasksTest, MinMaxOrdersThePairsOverTheCommonRange)
{
    const std::pair<float, float> pairs[] = {{3, 5}, {5, 3}, {4, 4}, {kNull, 5}, {5, kNull}};
    const std::pair<float, float> want[] = {{3, 5}, {3, 5}, {4, 4}, {kNull, 5}, {5, kNull}};
    ASSERT_TRUE(WriteQtx(primary, {Wave("WAVE"), Curve("DTCO")}, 21, 100.0, 0.5,
                         [&](int f, int, size_t) { return f >= 10 && f < 15 ? pairs[f - 10].first : 0.0f; }));
    ASSERT_TRUE(WriteQtx(secondary, {Curve("DTXX")}, 21, 105.0, 0.5,
                         [&](int f, int, size_t) { return f < 5 ? pairs[f].second : 1.0f; }));
    Choose(2, {1}, 1, {0});
    ASSERT_EQ(Run(T::ConstructMinMaxLog), 1);
    const QtxImage out = LoadQtx(output);
    ASSERT_EQ(out.frames.size(), 11u);
    EXPECT_EQ(out.depths.front(), 105.0);
    EXPECT_EQ(out.depths.back(), 110.0);
    EXPECT_EQ(std::string(out.descriptors[0].mnemonic, 4) + std::string(out.descriptors[1].mnemonic, 4), "MIN MAX ");
    EXPECT_EQ(out.descriptors[1].axis1.unit, 2);
    for (size_t k = 0; k < 5; ++k) EXPECT_EQ(std::pair(out.frames[k][0], out.frames[k][1]), want[k]) << k;

    Choose(2, {0}, 1, {0});
    ExpectRefusal(T::ConstructMinMaxLog, "Unproper datum selection in primary file!" + kAbandon);
}

// Samples of 2 everywhere, dt 1 uSec, a window of 4: picks at 2, 6 (cut at the 8th
// sample), -3 (from 0), 65537 (beyond the trace, not wrapped to sample 1).
TEST_F(TwoInputTasksTest, RmsAndEnergyMeasureAClampedWindowFromEachPick)
{
    ASSERT_TRUE(WriteQtx(primary, {Wave("WAVE", 2, 8, 1.0f)}, 2, 100.0, 0.5, [](int, int, size_t) { return 2.0f; }));
    const float picks[2][2] = {{2, 6}, {-3, 65537}};
    ASSERT_TRUE(WriteQtx(secondary, {Curve("TT1 "), Curve("TT2 ")}, 2, 100.0, 0.5,
                         [&](int f, int d, size_t) { return picks[f][d]; }));
    Choose(1, {0}, 2, {0, 1});
    const float rms[2][2] = {{0.5f, 1.0f}, {0.5f, 0.0f}}, energy[2][2] = {{4.0f, 2.0f}, {4.0f, 0.0f}};
    for (T task : {T::ComputeRmsAverageLog, T::ComputeWaveEnergy}) {
        ASSERT_EQ(Run(task, 4.0f), 1);
        const QtxImage out = LoadQtx(output);
        ASSERT_EQ(out.descriptors.size(), 2u);
        const bool isEnergy = task == T::ComputeWaveEnergy;
        EXPECT_EQ(std::string(out.descriptors[1].mnemonic, 4), isEnergy ? " EG2" : " AM2");
        EXPECT_EQ(out.descriptors[1].axis1.unit, isEnergy ? 6 : 7);
        for (size_t f = 0; f < 2; ++f)
            for (size_t r = 0; r < 2; ++r)
                EXPECT_EQ(out.frames[f][r], (isEnergy ? energy : rms)[f][r]) << int(task) << " " << f << " " << r;
        EXPECT_EQ(History().find("*** Tools (Compute Rms average log)") != std::string::npos, !isEnergy);
    }
    // Picks that do not match the receivers are refused before anything is read or written.
    Choose(1, {0}, 2, {0});
    ExpectRefusal(T::ComputeRmsAverageLog, "Different number of selected receivers in input files!", 4.0f);
    Choose(1, {0}, 2, {0, 1});
    ExpectRefusal(T::ComputeWaveEnergy, "Encountered invalid window length : 0.0000!" + kAbandon, 0.0f);
    ExpectRefusal(T::ComputeWaveEnergy, "Encountered invalid window length : -1.0000!", -1.0f);
}

// Absent samples stay out of the sum and the count; a window of absent samples only, or
// an absent pick, has no value. Traces of 8 samples at 1 uSec, a window of 4 from 0.
TEST_F(TwoInputTasksTest, RmsAndEnergyLeaveAbsentSamplesOut)
{
    const float traces[3][8] = {{kNull, kNull, kNull, kNull, 5, 5, 5, 5},
                                {2, kNull, 2, kNull, 9, 9, 9, 9},
                                {2, 2, 2, 2, 2, 2, 2, 2}};
    ASSERT_TRUE(WriteQtx(primary, {Wave("WAVE", 3, 8, 1.0f)}, 1, 100.0, 0.5,
                         [&](int, int, size_t i) { return traces[i / 8][i % 8]; }));
    const float picks[3] = {0, 0, kNull};
    ASSERT_TRUE(WriteQtx(secondary, {Curve("TT1 "), Curve("TT2 "), Curve("TT3 ")}, 1, 100.0, 0.5,
                         [&](int, int d, size_t) { return picks[d]; }));
    Choose(1, {0}, 3, {0, 1, 2});
    // Receiver 2: two samples of 2 used, rms sqrt(8 / 2) / 2 = 1, energy 8 / 4 = 2.
    const std::vector<float> rms = {kNull, 1.0f, kNull}, energy = {kNull, 2.0f, kNull};
    for (T task : {T::ComputeRmsAverageLog, T::ComputeWaveEnergy}) {
        ASSERT_EQ(Run(task, 4.0f), 1);
        EXPECT_EQ(LoadQtx(output).frames.at(0), task == T::ComputeWaveEnergy ? energy : rms) << int(task);
    }
}

// DTp 250 and DTs 500 uSec/m with density 2.5: Vp 4, Vs 2, ratio 2, Poisson 1/3, K 26666.7,
// G 10000, E 26666.7. A slowness of 0 gives null velocities, never infinity.
TEST_F(TwoInputTasksTest, VelocitiesPoissonRatioAndModuli)
{
    const float dtp[] = {250, 100, 0, kNull, 100}, dts[] = {500, 141, 500, 500, 0};
    ASSERT_TRUE(WriteQtx(primary, {Curve("DTCO", 6, 3)}, 5, 100.0, 0.5, [&](int f, int, size_t) { return dtp[f]; }));
    ASSERT_TRUE(WriteQtx(secondary, {Curve("DTSM", 7, 3)}, 5, 100.0, 0.5, [&](int f, int, size_t) { return dts[f]; }));
    // The density covers the first three depths only.
    ASSERT_TRUE(WriteQtx(density, {Curve("RHOB", 8, 9)}, 3, 100.0, 0.5, [](int, int, size_t) { return 2.5f; }));
    Choose(1, {0}, 1, {0}, 1, {0});
    ASSERT_EQ(Run(T::ComputeVpVsPoissonRatio), 1);
    QtxImage out = LoadQtx(output);
    ASSERT_EQ(out.frames.size(), 5u);
    const std::vector<float> vpvs[] = {
        {250, 500, 4, 2, 2, 1.0f / 3},
        {100, 141, 10, 1000.0f / 141, kNull, kNull}, // a ratio of 1.41 does not count
        {0, 500, kNull, 2, kNull, kNull},
        {kNull, 500, kNull, 2, kNull, kNull},
        {100, 0, 10, kNull, kNull, kNull},
    };
    for (size_t f = 0; f < 5; ++f)
        for (size_t i = 0; i < 6; ++i) EXPECT_FLOAT_EQ(out.frames[f][i], vpvs[f][i]) << f << " " << i;
    EXPECT_NE(History().find("*** Tools (Vp/Vs ratio)"), std::string::npos);

    ASSERT_EQ(Run(T::ComputeMechanicalProperties), 1);
    out = LoadQtx(output);
    ASSERT_EQ(out.descriptors.size(), 11u);
    EXPECT_EQ(std::string(out.descriptors[10].mnemonic, 4), "COMP");
    ASSERT_EQ(out.frames.size(), 5u);
    const std::vector<float>& f0 = out.frames[0];
    for (size_t i = 0; i < 6; ++i) EXPECT_FLOAT_EQ(f0[i], vpvs[0][i]);
    EXPECT_EQ(f0[6], 2.5f);
    EXPECT_NEAR(f0[7], 26666.7f, 0.05f);
    EXPECT_NEAR(f0[8], 10000.0f, 0.01f);
    EXPECT_NEAR(f0[9], 26666.7f, 0.05f);
    EXPECT_NEAR(f0[10], 0.0000375f, 1e-9f);
    // No density at the last depths: the moduli are null, the velocities are still there.
    EXPECT_EQ(std::vector<float>(out.frames[4].begin() + 6, out.frames[4].end()), std::vector<float>(5, kNull));
    EXPECT_FLOAT_EQ(out.frames[4][2], 10.0f);

    Choose(1, {0}, 1, {0}, 1, {});
    ExpectRefusal(T::ComputeMechanicalProperties, "Encountered empty density selection list!" + kAbandon);
    ASSERT_TRUE(WriteQtx(density, {Curve("RHOB", 8, 9)}, 3, 100.0, 0.5006));
    Choose(1, {0}, 1, {0}, 1, {0});
    ExpectRefusal(T::ComputeMechanicalProperties, "Different depth increments in input files!");
}

} // namespace
