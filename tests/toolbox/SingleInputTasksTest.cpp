#include "toolbox/ToolTasks.h"
#include "toolbox/ToolsWnd.h"

#include "platform/Format.h"
#include "res/ResourceIds.h"
#include "settings/SettingsStore.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using T = ToolTask;
const std::string kAbandon = "\nOperation will be abandoned.";

TEST(FrameRange, IsTheDepthsShareOfTheSpanTimesTheCountClampedToTheFrames)
{
    struct Case {
        const char* what;
        uint8_t direction;
        double first, last;
        int32_t count;
        double start, stop;
        ToolFrameSpan want;
    };
    const Case cases[] = {
        // trunc(10 x 100 / 99) = 10, trunc(50 x 100 / 99) = 50: the frame at 1050 is not taken.
        {"inside, down", 0xFF, 1000, 1099, 100, 1010, 1050, {10, 50}},
        {"inside, up", 1, 1099, 1000, 100, 1010, 1050, {49, 89}},
        {"around, down", 0xFF, 1000, 1099, 100, 900, 1200, {0, 100}},
        {"around, up: the shallowest frame is kept", 1, 1099, 1000, 100, 900, 1200, {0, 100}},
        {"above the data", 0xFF, 1000, 1099, 100, 800, 900, {0, 0}},
        {"below the data", 1, 1099, 1000, 100, 2000, 3000, {0, 0}},
        {"one frame, inside", 0xFF, 1000, 1000, 1, 900, 1100, {0, 1}},
        {"one frame, outside", 0xFF, 1000, 1000, 1, 1100, 1200, {0, 0}},
        {"no frames", 0xFF, 1000, 1099, 0, 900, 1100, {0, 0}},
        {"no number", 0xFF, NAN, 1099, 100, 900, 1100, {0, 0}},
    };
    for (const Case& c : cases) {
        const ToolFrameSpan got = CToolsWnd::FrameRange(c.direction, c.first, c.last, c.count, c.start, c.stop);
        EXPECT_EQ(got.first, c.want.first) << c.what;
        EXPECT_EQ(got.end, c.want.end) << c.what;
    }
}

class SingleInputTasksTest : public HostTest {
protected:
    void TearDown() override
    {
        theApp.Clear();
        HostTest::TearDown();
    }

    // An engine as the dispatcher leaves it, `selected` of the input's datums chosen.
    std::unique_ptr<CToolsWnd> Engine(size_t datums, const std::vector<int>& selected, float factor = 0.0f)
    {
        std::remove(output.c_str());
        ToolInputSelection& p = theApp.m_utilitiesSetup.primary;
        p.itemCount = int32_t(datums);
        p.selected.fill(0);
        for (int k : selected) p.selected[size_t(k)] = 1;
        auto e = std::make_unique<CToolsWnd>();
        e->m_outputPath = output;
        e->m_factor = factor;
        e->m_factorDouble = double(factor);
        e->m_startDepth = 1001.0;
        e->m_stopDepth = 1002.2;
        return e;
    }
    std::string History() const
    {
        const QtxImage out = LoadQtx(output);
        return std::string(out.header.history, qtx::kHistorySize);
    }

    TempDir dir;
    std::string input = dir.File("in.qtx");
    std::string output = dir.File("out.qtx");
};

// A curve "DTCO" in uSec/ft, a slowness datum and a waveform; frames at 1000 + 0.5 k
// (down) or 1004.5 - 0.5 k (up), in feet or, patched, in metres.
const std::vector<QtxDatumShape> kDatums = {
    {.mnemonic = "DTCO", .typeCode = 158, .category = 6, .unit = 2, .step = 1.0f},
    {.mnemonic = "SLOW", .typeCode = 40, .category = 3, .traces = 1, .samples = 3, .unit = 2, .step = 10.0f},
    {.mnemonic = "WAVE", .typeCode = 26, .category = 1, .traces = 2, .samples = 4, .unit = 1, .step = 8.0f},
};
constexpr size_t kCurve = 0, kSlowness = 1, kWave = 4; // value positions in a frame

float Sample(int frame, int datum, size_t index)
{
    return frame == 1 && datum == 2 && index == 1 ? -999.25f : DefaultSample(frame, datum, index);
}

// Each task's depths, header and history, on inputs running down and up. Values: the
// selected datums times the factor with nulls kept, DT curves converted, the rest bit
// for bit.
TEST_F(SingleInputTasksTest, TasksWriteTheirDepthsHeaderHistoryAndValues)
{
    struct Case {
        T task;
        uint8_t direction;
        float factor;
        std::vector<int> selected;
        std::vector<double> depths; // written
        std::vector<int> frames;    // input frames behind them
        uint8_t units;              // of the output; the input is in feet unless it says metres (0xFF)
        double step;                // of the output's header
        std::string range;          // the history's depth range and unit
        std::string line;           // the task's history line
        float curve = 1.0f;         // the DT curve's factor
    };
    const std::vector<double> down = {1000, 1000.5, 1001, 1001.5, 1002, 1002.5};
    const std::vector<double> up = {1002.5, 1002, 1001.5, 1001, 1000.5, 1000};
    const std::vector<int> all = {0, 1, 2, 3, 4, 5};
    const Case cases[] = {
        {T::ExtractDepthRange, 0xFF, 0, {}, {1001, 1001.5, 1002}, {2, 3, 4}, 1, 0.5, "1001.0000 -  1002.2000  [ft]",
         "(Extract depth)"},
        // Requested 1001 to 1002.2 on an up log: frames 0..2, the first one at its own depth.
        {T::ExtractDepthRange, 1, 0, {}, {1002.5, 1002, 1001.5}, {0, 1, 2}, 1, -0.5,
         "1001.0000 -  1002.2000  [ft]", "(Extract depth)"},
        {T::ExtractItems, 0xFF, 0, {2}, down, all, 1, 0.5, "1001.0000 -  1002.2000  [ft]", "(Extract datums)"},
        {T::ShiftInDepth, 1, -10.5f, {}, {992, 991.5, 991, 990.5, 990, 989.5}, all, 1, -0.5,
         "1000.0000 -  1002.5000  [ft]", "(Shift in depth) -   -10.5000  [ft]"},
        {T::MultiplyByFactor, 0xFF, 2.5f, {0, 2}, down, all, 1, 0.5, "1001.0000 -  1002.2000  [ft]",
         "(Multiply by factor) -   2.5000"},
        {T::ConvertDepthToMetric, 0xFF, 0, {}, {304.8, 304.9524, 305.1048, 305.2572, 305.4096, 305.562}, all, 0xFF,
         0.1524, "1000.0000 -  1002.5000  [ft]", "(Convert depth to metric)"},
        {T::ConvertDepthToImperial, 1, 0, {}, {3289.0421, 3287.40168, 3285.76126, 3284.12084, 3282.48042, 3280.84},
         all, 1, -1.64042, "1000.0000 -  1002.5000  [m]", "(Convert depth to english)"},
        {T::OverwriteDepthStep, 1, 0.25f, {}, {1002.5, 1002.25, 1002, 1001.75, 1001.5, 1001.25}, all, 1, 0.25,
         "1000.0000 -  1002.5000  [ft]", "(Overwrite depth step) -   0.2500"},
        {T::ConvertSlownessToMetric, 0xFF, 0, {}, down, all, 1, 0.5, "1000.0000 -  1002.5000  [ft]",
         "(Convert slowness to metric)", 3.28084f},
    };
    for (const Case& c : cases) {
        const bool metres = c.task == T::ConvertDepthToImperial;
        const std::string what = Format("task %d, direction %d", int(c.task), c.direction);
        ASSERT_TRUE(WriteQtx(input, kDatums, 6, c.direction == 1 ? 1002.5 : 1000.0, c.direction == 1 ? -0.5 : 0.5,
                             Sample, c.direction));
        if (metres) PatchQtxHeader(input, [](QtxFileHeader& h) { h.depthUnits = qtx::kUnitsMetres; });
        auto e = Engine(kDatums.size(), c.selected, c.factor);
        ASSERT_EQ(RunToolTask(*e, c.task, input), 1) << what;
        const QtxImage in = LoadQtx(input);
        const QtxImage out = LoadQtx(output);
        ASSERT_EQ(out.depths.size(), c.depths.size()) << what;
        for (size_t f = 0; f < c.depths.size(); ++f) EXPECT_NEAR(out.depths[f], c.depths[f], 1e-7) << what << f;
        EXPECT_EQ(out.header.logDirection, c.direction) << what;
        EXPECT_EQ(out.header.depthUnits, c.units) << what;
        EXPECT_NEAR(out.header.depthStep, c.step, 1e-12) << what;
        const std::string history = History();
        const std::string lines = " \r\n\r\n*** Input data : " + input + "\r\n*** Depth range :  " + c.range +
                                  "\r\n*** Tools " + c.line;
        EXPECT_EQ(history.substr(0, lines.size()), lines) << what;

        const bool items = c.task == T::ExtractItems;
        ASSERT_EQ(out.descriptors.size(), items ? 1u : 3u) << what;
        for (size_t f = 0; f < c.frames.size(); ++f) {
            const std::vector<float>& a = in.frames[size_t(c.frames[f])];
            const std::vector<float>& b = out.frames[f];
            if (items) {
                EXPECT_EQ(std::memcmp(b.data(), &a[kWave], 8 * sizeof(float)), 0) << what;
                continue;
            }
            const float scale = c.task == T::MultiplyByFactor ? c.factor : 1.0f;
            EXPECT_EQ(b[kCurve], c.curve != 1.0f ? a[kCurve] * c.curve : a[kCurve] * scale) << what << f;
            EXPECT_EQ(std::memcmp(&b[kSlowness], &a[kSlowness], 3 * sizeof(float)), 0) << what;
            for (size_t i = kWave; i < kWave + 8; ++i) {
                const bool null = std::bit_cast<uint32_t>(a[i]) == std::bit_cast<uint32_t>(-999.25f);
                EXPECT_EQ(b[i], null ? a[i] : a[i] * scale) << what << " value " << i;
            }
        }
        // Only the slowness conversion relabels axes: per metre, the slowness step in single precision.
        const bool slowness = c.task == T::ConvertSlownessToMetric;
        EXPECT_EQ(out.descriptors[0].axis1.unit, items ? 1 : slowness ? 3 : 2) << what;
        if (!items) {
            EXPECT_EQ(out.descriptors[1].axis1.step, slowness ? 10.0f * 3.28084f : 10.0f) << what;
        }
    }
}

// Refusals come before the output exists; a run stopped before its first frame leaves none.
TEST_F(SingleInputTasksTest, RefusalsAndEmptyRunsLeaveNoOutput)
{
    const std::string nothing = "Could not find any data to be converted!" + kAbandon;
    struct Case {
        T task;
        float factor;
        uint8_t units;
        std::vector<QtxDatumShape> datums;
        double step;
        std::string message;
        double start = 1001.0;
    };
    const std::vector<QtxDatumShape> noSlowness = {{.mnemonic = "WAVE", .category = 1, .samples = 4}};
    const Case cases[] = {
        {T::ConvertDepthToMetric, 0, 0xFF, kDatums, 0.5,
         "The depth is already expressed in metric units!" + kAbandon},
        {T::ConvertDepthToImperial, 0, 1, kDatums, 0.5, "The depth is already expressed in imperial units!" + kAbandon},
        {T::ConvertDepthToImperial, 0, 0, kDatums, 0.5, "The depth is already expressed in imperial units!" + kAbandon},
        {T::ConvertSlownessToImperial, 0, 1, kDatums, 0.5, nothing}, // everything already per foot
        {T::ConvertSlownessToMetric, 0, 1, noSlowness, 0.5, nothing},
        {T::ExtractDepthRange, 0, 1, kDatums, 0.5, nothing, 2000.0},
        {T::OverwriteDepthStep, 0, 1, kDatums, 0.5, "Encountered invalid depth step : 0.0000!" + kAbandon},
        {T::OverwriteDepthStep, -1, 1, kDatums, 0.5, "Encountered invalid depth step : -1.0000!" + kAbandon},
        // 0.00009 keeps no whole ten-thousandth.
        {T::ResampleDepth, 0.00009f, 1, kDatums, 0.5, "Encountered invalid depth step : 0.0000!" + kAbandon},
        {T::ResampleDepth, 0.5f, 1, kDatums, 0.0, "Encountered invalid depth step in file :\n" + input + kAbandon},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteQtx(input, c.datums, 6, 1000.0, c.step));
        PatchQtxHeader(input, [&](QtxFileHeader& h) { h.depthUnits = c.units; });
        auto e = Engine(c.datums.size(), {}, c.factor);
        e->m_startDepth = c.start;
        e->m_stopDepth = c.start + 1.0;
        host.ExpectMessage(c.message);
        EXPECT_EQ(RunToolTask(*e, c.task, input), -1) << c.message;
        EXPECT_TRUE(host.PendingExpectations().empty()) << c.message;
        EXPECT_FALSE(FileExists(output)) << c.message;
    }

    ASSERT_TRUE(WriteQtx(input, kDatums, 6));
    for (T task : {T::ShiftInDepth, T::ResampleDepth}) {
        auto e = Engine(kDatums.size(), {}, 1.0f);
        host.ScriptDialog(kIddProgress).Pumps(1).Press(IDCANCEL);
        host.ExpectMessage("Are you sure you want to stop processing?", IDYES);
        EXPECT_EQ(RunToolTask(*e, task, input), 1);
        EXPECT_FALSE(FileExists(output)) << int(task);
    }
}

// Input frames at 0, 1, .. 10 (or 10 down to 0) hold their depth squared, so a value
// shows which two frames it lies between.
TEST_F(SingleInputTasksTest, ResampleInterpolatesBetweenTheTwoFramesAroundEachDepth)
{
    auto squares = [](int frame, int, size_t index) {
        if (frame == 4 && index == 1) return -999.25f;
        return float(frame * frame) + float(index);
    };
    struct Case {
        uint8_t direction;
        float factor;
        std::vector<double> depths; // frame k at k new steps from the first
        double step;                // of the header
    };
    const Case cases[] = {
        {0xFF, 2.0f, {0, 2, 4, 6, 8, 10}, 2.0},
        {0xFF, 1.0f, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 1.0},
        {0xFF, 2.5f, {0, 2.5, 5, 7.5, 10}, 2.5},
        {0xFF, 0.7f, {0, 0.6999, 1.3998}, 0.6999}, // the first three of 15
        {1, 2.5f, {10, 7.5, 5, 2.5, 0}, 2.5}, // an up log at -1.0 a frame: a step like any other
    };
    for (const Case& c : cases) {
        const bool up = c.direction == 1;
        ASSERT_TRUE(WriteQtx(input, {{.mnemonic = "WAVE", .samples = 2}}, 11, up ? 10.0 : 0.0, up ? -1.0 : 1.0,
                             squares, c.direction));
        auto e = Engine(1, {}, c.factor);
        ASSERT_EQ(RunToolTask(*e, T::ResampleDepth, input), 1) << c.factor;
        const QtxImage out = LoadQtx(output);
        EXPECT_DOUBLE_EQ(out.header.depthStep, c.step) << c.factor;
        ASSERT_EQ(out.depths.size(), c.factor == 0.7f ? 15u : c.depths.size()) << c.factor;
        for (size_t k = 0; k < c.depths.size(); ++k) {
            const double d = c.depths[k];
            EXPECT_NEAR(out.depths[k], d, 1e-9) << c.factor;
            // The frame position from the first frame, and the two frames around it.
            const double p = up ? 10.0 - d : d;
            const int a = int(std::floor(p + 1e-9));
            const double f = p - a;
            const float va = squares(a, 0, 0);
            const float want = f < 1e-9 ? va : float((double(squares(a + 1, 0, 0)) - va) * f + va);
            EXPECT_FLOAT_EQ(out.frames[k][0], want) << c.factor << " at " << d;
            // Next to a null no value is made up; on a frame its value goes out as it is.
            const bool nearNull = (a == 4) || (a == 3 && f > 1e-9);
            EXPECT_EQ(out.frames[k][1] == -999.25f, nearNull) << c.factor << " at " << d;
        }
        EXPECT_NE(History().find("*** Depth range :     0.0000 -    10.0000  [ft]\r\n*** Tools (Resample depth) - " +
                                 Format("%8.4f", double(c.factor))),
                  std::string::npos);
    }
}

} // namespace
