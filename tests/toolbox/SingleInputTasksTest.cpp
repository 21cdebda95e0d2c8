#include "toolbox/ToolTasks.h"
#include "toolbox/ToolsWnd.h"

#include "platform/Format.h"
#include "res/ResourceIds.h"
#include "settings/SettingsStore.h"
#include "settings/UtilitiesSetupGroup.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

using T = ToolTask;
const std::string kAbandon = "\nOperation will be abandoned.";

TEST(FrameRange, IsTheDepthsShareOfTheSpanTimesTheCountClampedToTheFrames)
{
    const struct {
        uint8_t direction;
        double first, last;
        int32_t count;
        double start, stop;
        int32_t from, to;
    } cases[] = {
        {0xFF, 1000, 1099, 100, 1010, 1050, 10, 50}, // trunc(10 x 100 / 99), trunc(50 x 100 / 99)
        {1, 1099, 1000, 100, 1010, 1050, 49, 89},
        {1, 1099, 1000, 100, 900, 1200, 0, 100}, // the shallowest frame of an up log is kept
        {0xFF, 1000, 1099, 100, 800, 900, 0, 0},
        {0xFF, 1000, 1000, 1, 900, 1100, 0, 1}, // one frame
        {0xFF, 1000, 1000, 1, 1100, 1200, 0, 0},
        {0xFF, NAN, 1099, 100, 900, 1100, 0, 0},
    };
    for (const auto& c : cases) {
        const ToolFrameSpan got = toolbox::FrameRange(c.direction, c.first, c.last, c.count, c.start, c.stop);
        EXPECT_EQ(std::pair(got.first, got.end), std::pair(c.from, c.to)) << c.start << " " << c.direction;
    }
}

class SingleInputTasksTest : public HostTest {
protected:
    void TearDown() override
    {
        theApp.Clear();
        HostTest::TearDown();
    }
    // Runs a task as the dispatcher would, `selected` of the input's datums chosen.
    int Run(T task, float factor = 0.0f, const std::vector<int>& selected = {}, double start = 1001.0)
    {
        std::remove(output.c_str());
        ToolInputSelection& p = theApp.m_utilitiesSetup.primary;
        p.itemCount = 3;
        p.selected.fill(0);
        for (int k : selected) p.selected[size_t(k)] = 1;
        auto e = std::make_unique<CToolsWnd>();
        e->Settings().outputPath = output;
        e->Settings().factor = factor;
        e->Settings().factorDouble = double(factor);
        e->Settings().startDepth = start;
        e->Settings().stopDepth = start + 1.2;
        return RunToolTask(*e, task, input);
    }
    std::string History() const { return std::string(LoadQtx(output).header.history, qtx::kHistorySize); }

    TempDir dir;
    std::string input = dir.File("in.qtx"), output = dir.File("out.qtx");
};

// A curve "DTCO" in uSec/ft, a slowness datum and a waveform with a null.
const std::vector<QtxDatumShape> kDatums = {
    {.mnemonic = "DTCO", .typeCode = 158, .category = 6, .unit = 2, .step = 1.0f},
    {.mnemonic = "SLOW", .typeCode = 40, .category = 3, .samples = 3, .unit = 2, .step = 10.0f},
    {.mnemonic = "WAVE", .typeCode = 26, .category = 1, .traces = 2, .samples = 4, .unit = 1, .step = 8.0f},
};
constexpr size_t kSlowness = 1, kWave = 4; // value positions in a frame
float Sample(int frame, int datum, size_t index)
{
    return frame == 1 && datum == 2 && index == 1 ? -999.25f : DefaultSample(frame, datum, index);
}

// Each task's depths, header and history, on inputs running down (1000 + 0.5 k) and up
// (1002.5 - 0.5 k). Values: selected datums times the factor with nulls kept, DT curves
// converted, the rest bit for bit.
TEST_F(SingleInputTasksTest, TasksWriteTheirDepthsHeaderHistoryAndValues)
{
    const std::vector<double> down = {1000, 1000.5, 1001, 1001.5, 1002, 1002.5};
    const std::vector<int> all = {0, 1, 2, 3, 4, 5};
    const struct {
        T task;
        uint8_t direction;
        float factor;
        std::vector<int> selected;
        std::vector<double> depths; // written
        std::vector<int> frames;    // the input frames behind them
        uint8_t units;              // of the output; the input is in metres for Convert Depth To Imperial only
        double step;                // of the output's header
        std::string lines;          // of the history: depth range and task
        float curve = 1.0f;         // the DT curve's factor
    } cases[] = {
        {T::ExtractDepthRange, 0xFF, 0, {}, {1001, 1001.5, 1002}, {2, 3, 4}, 1, 0.5,
         "1001.0000 -  1002.2000  [ft]\r\n*** Tools (Extract depth)"},
        // 1001 to 1002.2 on an up log: frames 0..2, the first one at its own depth.
        {T::ExtractDepthRange, 1, 0, {}, {1002.5, 1002, 1001.5}, {0, 1, 2}, 1, -0.5,
         "1001.0000 -  1002.2000  [ft]\r\n*** Tools (Extract depth)"},
        {T::ExtractItems, 0xFF, 0, {2}, down, all, 1, 0.5,
         "1001.0000 -  1002.2000  [ft]\r\n*** Tools (Extract datums)"},
        {T::ShiftInDepth, 1, -10.5f, {}, {992, 991.5, 991, 990.5, 990, 989.5}, all, 1, -0.5,
         "1000.0000 -  1002.5000  [ft]\r\n*** Tools (Shift in depth) -   -10.5000  [ft]"},
        {T::MultiplyByFactor, 0xFF, 2.5f, {0, 2}, down, all, 1, 0.5,
         "1001.0000 -  1002.2000  [ft]\r\n*** Tools (Multiply by factor) -   2.5000", 2.5f},
        {T::ConvertDepthToMetric, 0xFF, 0, {}, {304.8, 304.9524, 305.1048, 305.2572, 305.4096, 305.562}, all, 0xFF,
         0.1524, "1000.0000 -  1002.5000  [ft]\r\n*** Tools (Convert depth to metric)"},
        {T::ConvertDepthToImperial, 1, 0, {}, {3289.0421, 3287.40168, 3285.76126, 3284.12084, 3282.48042, 3280.84},
         all, 1, -1.64042, "1000.0000 -  1002.5000  [m]\r\n*** Tools (Convert depth to english)"},
        {T::OverwriteDepthStep, 1, 0.25f, {}, {1002.5, 1002.25, 1002, 1001.75, 1001.5, 1001.25}, all, 1, 0.25,
         "1000.0000 -  1002.5000  [ft]\r\n*** Tools (Overwrite depth step) -   0.2500"},
        {T::ConvertSlownessToMetric, 0xFF, 0, {}, down, all, 1, 0.5,
         "1000.0000 -  1002.5000  [ft]\r\n*** Tools (Convert slowness to metric)", 3.28084f},
    };
    for (const auto& c : cases) {
        const std::string what = Format("task %d, direction %d", int(c.task), c.direction);
        const bool up = c.direction == 1;
        ASSERT_TRUE(WriteQtx(input, kDatums, 6, up ? 1002.5 : 1000.0, up ? -0.5 : 0.5, Sample, c.direction));
        if (c.task == T::ConvertDepthToImperial) PatchQtxHeader(input, [](QtxFileHeader& h) { h.depthUnits = 0xFF; });
        ASSERT_EQ(Run(c.task, c.factor, c.selected), 1) << what;
        const QtxImage in = LoadQtx(input), out = LoadQtx(output);
        ASSERT_EQ(out.depths.size(), c.depths.size()) << what;
        for (size_t f = 0; f < c.depths.size(); ++f) EXPECT_NEAR(out.depths[f], c.depths[f], 1e-7) << what << f;
        EXPECT_EQ(std::pair(out.header.logDirection, out.header.depthUnits), std::pair(c.direction, c.units)) << what;
        EXPECT_NEAR(out.header.depthStep, c.step, 1e-12) << what;
        const std::string lines = " \r\n\r\n*** Input data : " + input + "\r\n*** Depth range :  " + c.lines;
        EXPECT_EQ(History().substr(0, lines.size()), lines) << what;

        const bool items = c.task == T::ExtractItems;
        const bool slowness = c.task == T::ConvertSlownessToMetric;
        ASSERT_EQ(out.descriptors.size(), items ? 1u : 3u) << what;
        for (size_t f = 0; f < c.frames.size(); ++f) {
            const std::vector<float>& a = in.frames[size_t(c.frames[f])];
            const std::vector<float>& b = out.frames[f];
            if (items) {
                EXPECT_EQ(std::vector<float>(b.begin(), b.end()), std::vector<float>(a.begin() + kWave, a.end()));
                continue;
            }
            EXPECT_EQ(b[0], a[0] * c.curve) << what;
            EXPECT_EQ(std::memcmp(&b[kSlowness], &a[kSlowness], 3 * sizeof(float)), 0) << what;
            const float scale = c.task == T::MultiplyByFactor ? c.factor : 1.0f;
            for (size_t i = kWave; i < kWave + 8; ++i)
                EXPECT_EQ(b[i], a[i] == -999.25f ? a[i] : a[i] * scale) << what << " value " << i;
        }
        // Only the slowness conversion relabels: per metre, the slowness step in single precision.
        EXPECT_EQ(out.descriptors[0].axis1.unit, items ? 1 : slowness ? 3 : 2) << what;
        EXPECT_TRUE(items || out.descriptors[1].axis1.step == (slowness ? 10.0f * 3.28084f : 10.0f)) << what;
    }
}

// A fast curve's samples lie at depth offsets along its axis: a task that changes the
// depths' unit or spacing carries them along, and leaves every other axis as it was.
TEST_F(SingleInputTasksTest, DepthTasksCarryAFastCurvesSampleOffsets)
{
    const std::vector<QtxDatumShape> datums = {
        {.mnemonic = "DTCO", .typeCode = 158, .category = 6, .samples = 3, .unit = 2, .step = 0.25f,
         .first = uint16_t(-2)},
        kDatums[1],
    };
    const struct {
        T task;
        float factor;
        float step; // of the fast curve's axis after the task
    } cases[] = {
        {T::ConvertDepthToMetric, 0.0f, float(0.25f * 0.3048)},
        {T::OverwriteDepthStep, 0.25f, 0.125f}, // frames 0.5 ft apart become 0.25 ft apart
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteQtx(input, datums, 4));
        ASSERT_EQ(Run(c.task, c.factor), 1) << int(c.task);
        const QtxImage out = LoadQtx(output);
        ASSERT_EQ(out.descriptors.size(), 2u);
        EXPECT_EQ(out.descriptors[0].axis1.step, c.step) << int(c.task);
        EXPECT_EQ(out.descriptors[0].axis1.firstIndex, uint16_t(-2));
        EXPECT_EQ(out.descriptors[1].axis1.step, 10.0f) << int(c.task);
    }
}

// Refusals come before the output exists; a run stopped before its first frame leaves none.
TEST_F(SingleInputTasksTest, RefusalsAndEmptyRunsLeaveNoOutput)
{
    const std::string nothing = "Could not find any data to be converted!" + kAbandon;
    const std::string badStep = "Encountered invalid depth step : ";
    const struct {
        T task;
        float factor;
        uint8_t units;
        double step;
        std::string message;
        double start = 1001.0;
    } cases[] = {
        {T::ConvertDepthToMetric, 0, 0xFF, 0.5, "The depth is already expressed in metric units!" + kAbandon},
        {T::ConvertDepthToImperial, 0, 1, 0.5, "The depth is already expressed in imperial units!" + kAbandon},
        {T::ConvertDepthToImperial, 0, 0, 0.5, "The depth is already expressed in imperial units!" + kAbandon},
        {T::ConvertSlownessToImperial, 0, 1, 0.5, nothing}, // everything already per foot
        {T::ExtractDepthRange, 0, 1, 0.5, nothing, 2000.0},
        {T::OverwriteDepthStep, 0, 1, 0.5, badStep + "0.0000!" + kAbandon},
        {T::OverwriteDepthStep, -1, 1, 0.5, badStep + "-1.0000!" + kAbandon},
        {T::ResampleDepth, 0.00009f, 1, 0.5, badStep + "0.0000!" + kAbandon}, // no whole ten-thousandth
        {T::ResampleDepth, 0.5f, 1, 0.0, "Encountered invalid depth step in file :\n" + input + kAbandon},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteQtx(input, kDatums, 6, 1000.0, c.step));
        PatchQtxHeader(input, [&](QtxFileHeader& h) { h.depthUnits = c.units; });
        host.ExpectMessage(c.message);
        EXPECT_EQ(Run(c.task, c.factor, {}, c.start), -1) << c.message;
        EXPECT_FALSE(FileExists(output)) << c.message;
    }
    ASSERT_TRUE(WriteQtx(input, kDatums, 6));
    for (T task : {T::ShiftInDepth, T::ResampleDepth}) {
        host.ScriptDialog(kIddProgress).Pumps(1).Press(IDCANCEL);
        host.ExpectMessage("Are you sure you want to stop processing?", IDYES);
        EXPECT_EQ(Run(task, 1.0f), 1);
        EXPECT_FALSE(FileExists(output)) << int(task);
    }
}

// Input frames at 0, 1, .. 10 (or 10 down to 0) hold their index squared, so a value shows
// which two frames it lies between; frame 4 holds a null.
TEST_F(SingleInputTasksTest, ResampleInterpolatesBetweenTheTwoFramesAroundEachDepth)
{
    auto squares = [](int frame, int, size_t index) {
        return frame == 4 && index == 1 ? -999.25f : float(frame * frame) + float(index);
    };
    const struct {
        uint8_t direction;
        float factor;
        std::vector<double> depths; // k new steps from the first depth, the last frame included
        double step;                // of the header
    } cases[] = {
        {0xFF, 2.0f, {0, 2, 4, 6, 8, 10}, 2.0},
        {0xFF, 1.0f, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 1.0},
        {0xFF, 2.5f, {0, 2.5, 5, 7.5, 10}, 2.5},
        {0xFF, 0.7f, {0, 0.6999, 1.3998}, 0.6999}, // the first three of 15
        {1, 2.5f, {10, 7.5, 5, 2.5, 0}, 2.5},      // an up log at -1.0 a frame: a step like any other
    };
    for (const auto& c : cases) {
        const bool up = c.direction == 1;
        ASSERT_TRUE(WriteQtx(input, {{.mnemonic = "WAVE", .samples = 2}}, 11, up ? 10 : 0, up ? -1 : 1, squares,
                             c.direction));
        ASSERT_EQ(Run(T::ResampleDepth, c.factor), 1) << c.factor;
        const QtxImage out = LoadQtx(output);
        EXPECT_DOUBLE_EQ(out.header.depthStep, c.step) << c.factor;
        ASSERT_EQ(out.depths.size(), c.factor == 0.7f ? 15u : c.depths.size()) << c.factor;
        for (size_t k = 0; k < c.depths.size(); ++k) {
            EXPECT_NEAR(out.depths[k], c.depths[k], 1e-9) << c.factor;
            const double p = up ? 10.0 - c.depths[k] : c.depths[k]; // frames from the first
            const int a = int(std::floor(p + 1e-9));
            const double f = p - a;
            const float va = squares(a, 0, 0);
            const float want = f < 1e-9 ? va : float((double(squares(a + 1, 0, 0)) - va) * f + va);
            EXPECT_FLOAT_EQ(out.frames[k][0], want) << c.factor << " at " << c.depths[k];
            // Beside a null no value is made up; on a frame its value goes out as it is.
            EXPECT_EQ(out.frames[k][1] == -999.25f, a == 4 || (a == 3 && f > 1e-9)) << c.factor << " " << k;
        }
        EXPECT_NE(History().find("*** Depth range :     0.0000 -    10.0000  [ft]\r\n*** Tools (Resample depth) - " +
                                 Format("%8.4f", double(c.factor))),
                  std::string::npos);
    }
}

} // namespace
