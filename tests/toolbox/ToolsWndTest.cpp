#include "toolbox/ToolsWnd.h"
#include "toolbox/ToolTasks.h"

#include "app/ViewerApp.h"
#include "platform/Endian.h"
#include "res/ResourceIds.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/resource.h>

namespace {

const char kStop[] = "Are you sure you want to stop processing?";
const char kAskDown[] = "This data set log direction is : DOWN.\nWould you like to continue?.";
const std::string kAbandon = "\nOperation will be abandoned.";
const std::string kRunLines = "*** Depth range :  1000.0000 -  1010.0000  [ft]\r\n";

constexpr ToolTask kDepths = ToolTask::ReverseDepthOrder, kShift = ToolTask::ShiftByFactor,
                   kReceivers = ToolTask::ReverseReceiverOrder;
constexpr ToolTask kBuiltTasks[] = {kDepths, kShift, kReceivers};

// The history line a task adds with the factor left at 0.
std::string TaskLine(ToolTask task)
{
    return task == kDepths  ? "*** Tools (Reverse depth order)"
           : task == kShift ? "*** Tools (Shift by factor) -   0.0000"
                            : "*** Tools (Reverse receiver order)";
}

// A data set as it lies on disk: header and every whole frame.
struct QtxImage {
    QtxFileHeader header;
    std::vector<double> depths;
    std::vector<std::vector<float>> frames; // the values behind each depth
    size_t tornBytes = 0;                   // bytes after the last whole frame
};

QtxImage Load(const std::string& path)
{
    QtxImage image;
    const std::vector<uint8_t> bytes = ReadBytes(path);
    if (bytes.size() < qtx::kHeaderSize) return image;
    image.header.Decode(bytes.data());
    const size_t frameSize = image.header.frameSize;
    size_t at = qtx::DataStart(image.header.datumCount);
    for (; frameSize >= qtx::kDepthSize && at + frameSize <= bytes.size(); at += frameSize) {
        image.depths.push_back(endian::GetLEDouble(bytes.data() + at));
        std::vector<float> values((frameSize - qtx::kDepthSize) / 4);
        endian::LEBytesToFloats(values.data(), bytes.data() + at + qtx::kDepthSize, values.size());
        image.frames.push_back(std::move(values));
    }
    image.tornBytes = bytes.size() > at ? bytes.size() - at : 0;
    return image;
}

QtxDatumShape Wave(const char* mnemonic, uint16_t traces, uint16_t samples)
{
    return {.mnemonic = mnemonic, .typeCode = 26, .category = kCategoryWaveform, .traces = traces, .samples = samples};
}

QtxDatumShape Map(const char* mnemonic, uint16_t traces, uint16_t samples, uint16_t rows)
{
    return {.mnemonic = mnemonic, .typeCode = 60, .category = kCategorySemblanceMap, .traces = traces,
            .samples = samples, .samples2 = rows, .step2 = 5.0f};
}

// Runs `run` with the process's file-size limit at `bytes`; writes past it fail.
template <class Run> auto WithFileSizeLimit(rlim_t bytes, Run run)
{
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
    const auto result = run();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    return result;
}

class ToolsWndTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        theViewerApp.ResetToStartupState();
        input = dir.File("in.qtx");
        output = dir.File("out.qtx");
    }
    void TearDown() override
    {
        theViewerApp.ResetToStartupState();
        HostTest::TearDown();
    }

    // An engine with a blank history, as the dispatcher leaves it.
    std::unique_ptr<CToolsWnd> Engine()
    {
        auto e = std::make_unique<CToolsWnd>();
        e->m_outputPath = output;
        e->m_startDepth = 1000.0;
        e->m_stopDepth = 1010.0;
        e->m_depthUnitLabel = " [ft]";
        std::memset(e->m_history, ' ', sizeof e->m_history);
        return e;
    }

    int RunTask(CToolsWnd& e, ToolTask task) { return RunToolTask(e, task, input); }

    static void Select(int count, std::initializer_list<int> selected)
    {
        ToolInputSelection& p = theApp.m_utilitiesSetup.primary;
        p.itemCount = count;
        for (int i = 0; i < count && i < kToolBoxFlagCount; ++i) p.listed[size_t(i)] = 1;
        for (int k : selected) p.selected[size_t(k)] = 1;
    }

    TempDir dir;
    std::string input;
    std::string output;
};

// ---- history ----------------------------------------------------------------------------------

TEST_F(ToolsWndTest, HistoryAsksAbove3596InUseAndStopsAtPosition4094)
{
    std::vector<int> lengths = {3596, 3597};
    for (int length = 4070; length <= 4096; ++length) lengths.push_back(length);
    for (int length : lengths) {
        auto e = Engine();
        e->m_primary.path = "/x.qtx";
        e->m_taskLine = TaskLine(kDepths);
        std::memset(e->m_history, '#', sizeof e->m_history);
        if (length > 3596) host.ExpectMessage("You are running low with the data history buffer.", IDNO);
        const int result = e->AppendHistory(length);
        EXPECT_TRUE(host.PendingExpectations().empty()) << length;
        EXPECT_EQ(e->m_history[4095], '#') << length;
        if (length >= 4094) {
            EXPECT_EQ(result, length) << "nothing added at " << length;
        } else {
            EXPECT_LE(result, 4095) << length;
            EXPECT_EQ(std::string(e->m_history + length, 2), "\r\n") << "a line break starts below 4094";
        }
    }
    EXPECT_EQ(MessageTexts().size(), lengths.size() - 1) << "no question at 3596";
}

TEST_F(ToolsWndTest, LineThatDoesNotFitIsLeftOutWholeWhileLaterShorterOnesAreAdded)
{
    auto e = Engine();
    e->m_primary.path = "/" + std::string(200, 'p') + ".qtx";
    e->m_taskLine = TaskLine(kDepths);
    host.ExpectMessage("You are running low", IDNO);
    const int length = e->AppendHistory(3990);
    EXPECT_EQ(std::string(e->m_history + 3990, size_t(length - 3990)),
              "\r\n\r\n\r\n" + kRunLines + TaskLine(kDepths));
}

// ---- endings of a run ---------------------------------------------------------------------------

// While frames are written the header counts none: a run killed there leaves no claim of
// frames that are not in the file.
TEST_F(ToolsWndTest, StoppingAfterKFramesLeavesExactlyKFramesAndNoneAreCountedMeanwhile)
{
    for (ToolTask task : kBuiltTasks)
        for (int k : {0, 1, 3}) {
            ASSERT_TRUE(WriteQtx(input, {Wave("WAVE", 2, 3)}, 6, 100.0, 0.5));
            std::remove(output.c_str());
            theViewerApp.ResetToStartupState();
            Select(1, {0});
            auto e = Engine();
            if (task == kDepths) host.ExpectMessage(kAskDown, IDYES);
            host.ScriptDialog(kIddProgress)
                .Pumps(2 * k + 1)
                .Inspect([&](CDialog&) { EXPECT_EQ(Load(output).header.frameCount, 0u) << int(task) << " " << k; })
                .Press(IDCANCEL);
            host.ExpectMessage(kStop, IDYES);
            EXPECT_EQ(RunTask(*e, task), 1);
            const QtxImage out = Load(output);
            EXPECT_EQ(out.header.frameCount, uint32_t(k)) << int(task) << " " << k;
            EXPECT_EQ(out.frames.size(), size_t(k)) << int(task) << " " << k;
            EXPECT_EQ(out.tornBytes, 0u);
            if (task == kDepths && k > 0) {
                EXPECT_DOUBLE_EQ(out.depths.back(), 102.5 - 0.5 * (k - 1));
            }
        }
}

TEST_F(ToolsWndTest, RefusalsLeaveTheInputAsItWasAndCreateNoOutput)
{
    const std::string empty = "Encountered empty selection list!" + kAbandon;
    const std::string unknown = "Encountered unknown log direction in file :\n" + input + kAbandon;
    const std::string same = "Output file is the same as input file :\n" + input + kAbandon;
    struct Case {
        ToolTask task;
        int datums;
        bool select;
        uint8_t direction;
        bool overInput; // the output path is the input's
        std::vector<std::pair<std::string, int>> answers;
    };
    const Case cases[] = {
        {kShift, 1, false, 0xFF, false, {{empty, IDOK}}},
        {kReceivers, 1, false, 0xFF, false, {{empty, IDOK}}},
        {kDepths, 1, false, 0xFF, false, {{kAskDown, IDNO}}},
        {kShift, 257, true, 0xFF, false, {{"Encountered more than 256 datums in input file!" + kAbandon, IDOK}}},
        {kDepths, 1, true, 0, false, {{unknown, IDOK}}},
        {kShift, 1, true, 2, false, {{unknown, IDOK}}},
        {kReceivers, 1, true, 0x80, false, {{unknown, IDOK}}},
        {kDepths, 1, true, 0xFF, true, {{kAskDown, IDYES}, {same, IDOK}}},
        {kShift, 1, true, 1, true, {{same, IDOK}}},
        {kReceivers, 1, true, 0xFF, true, {{same, IDOK}}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteQtx(input, std::vector<QtxDatumShape>(size_t(c.datums), Wave("CRV", 1, 1)), 2, 1000.0, 0.5,
                             DefaultSample, c.direction));
        const std::vector<uint8_t> before = ReadBytes(input);
        theViewerApp.ResetToStartupState();
        if (c.select) Select(c.datums, {0});
        auto e = Engine();
        if (c.overInput) e->m_outputPath = input;
        for (const auto& [text, answer] : c.answers) host.ExpectMessage(text, answer);
        EXPECT_EQ(RunTask(*e, c.task), -1) << c.answers.back().first;
        EXPECT_EQ(ReadBytes(input), before) << c.answers.back().first;
        EXPECT_FALSE(FileExists(output)) << c.answers.back().first;
        EXPECT_FALSE(e->m_primary.file.m_fileIn.IsOpen()) << c.answers.back().first;
    }
}

// A failing write (a full disk) in the header or descriptors leaves no file; in the frames
// it leaves the whole frames written, counted, and no second error.
TEST_F(ToolsWndTest, FailedWritesLeaveNoPartialHeadAndOnlyWholeFrames)
{
    const size_t frameSize = 8 + 2 * 64 * 4;
    struct Case {
        size_t limit;
        const char* message;
        int frames; // -1: no output file
    };
    const Case cases[] = {
        {qtx::kHeaderSize / 2, "Error writing header in file :\n", -1},
        {qtx::kHeaderSize + 20, "Error writing datum descriptor in file :\n", -1},
        {qtx::DataStart(1) + 2 * frameSize + frameSize / 2, "Error writing frame data in file :\n", 2},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteQtx(input, {Wave("WAVE", 2, 64)}, 6));
        theViewerApp.ResetToStartupState();
        Select(1, {0});
        auto e = Engine();
        host.ExpectMessage(c.message + output);
        EXPECT_EQ(WithFileSizeLimit(rlim_t(c.limit), [&] { return RunTask(*e, kShift); }), -1);
        if (c.frames < 0) {
            EXPECT_FALSE(FileExists(output)) << c.message;
            continue;
        }
        const QtxImage out = Load(output);
        EXPECT_EQ(out.header.frameCount, 2u);
        EXPECT_EQ(out.frames.size(), 2u);
        EXPECT_EQ(out.tornBytes, 0u);
        EXPECT_DOUBLE_EQ(out.header.bottomDepth, 1000.5);
    }
}

// ---- the tools ------------------------------------------------------------------------------------

// Up logs may store their step negative (as written by depth order) or positive: only the
// direction says which way the depths run.
TEST_F(ToolsWndTest, OutputDepthsFollowTheDirectionWhateverTheStepSign)
{
    struct Case {
        uint8_t direction;
        double top, step, storedStep; // frames at top + k x step
        const char* question;
    };
    const Case cases[] = {
        {0xFF, 100.0, 0.5, 0.5, kAskDown},
        {1, 110.0, -0.5, -0.5, "This data set log direction is : UP."},
        {1, 110.0, -0.5, 0.5, "This data set log direction is : UP."},
    };
    for (const auto& c : cases)
        for (ToolTask task : kBuiltTasks) {
            ASSERT_TRUE(WriteQtx(input, {Wave("WAVE", 3, 5), Map("SMAP", 1, 4, 3)}, 21, c.top, c.step, DefaultSample,
                                 c.direction));
            std::vector<uint8_t> bytes = ReadBytes(input);
            endian::PutLEDouble(bytes.data() + qtx::kHdrDepthStep, c.storedStep);
            WriteBytes(input, bytes);
            const QtxImage in = Load(input);
            theViewerApp.ResetToStartupState();
            Select(2, {0});
            auto e = Engine();
            if (task == kDepths) host.ExpectMessage(c.question, IDYES);
            ASSERT_EQ(RunTask(*e, task), 1) << int(task);
            const QtxImage out = Load(output);
            std::vector<double> depths = in.depths;
            if (task == kDepths) std::reverse(depths.begin(), depths.end());
            EXPECT_EQ(out.depths, depths) << int(task) << " stored step " << c.storedStep;
            EXPECT_EQ(out.header.frameCount, 21u);
            EXPECT_EQ(out.header.topDepth, depths.front());
            EXPECT_EQ(out.header.bottomDepth, depths.back());
            const uint8_t direction = task != kDepths ? c.direction : c.direction == 1 ? 0xFF : 1;
            EXPECT_EQ(out.header.logDirection, direction) << int(task);
            const std::string history(out.header.history, qtx::kHistorySize);
            EXPECT_NE(history.find(kRunLines + TaskLine(task)), std::string::npos) << int(task);
            if (task == kDepths) {
                for (size_t k = 0; k < 21; ++k) EXPECT_EQ(out.frames[k], in.frames[20 - k]) << k;
            }
        }
}

TEST_F(ToolsWndTest, ReverseReceiverOrderReversesSelectedOneAxisDatums)
{
    ASSERT_TRUE(WriteQtx(input, {Wave("WAVE", 8, 6), Wave("KEEP", 4, 3), Wave("ONE ", 1, 5), Map("SMAP", 2, 3, 4)}, 4));
    Select(4, {0, 2, 3});
    ASSERT_EQ(RunTask(*Engine(), kReceivers), 1);
    const QtxImage in = Load(input);
    const QtxImage out = Load(output);
    ASSERT_EQ(out.frames.size(), 4u);
    for (size_t f = 0; f < 4; ++f) {
        const std::vector<float>& a = in.frames[f];
        const std::vector<float>& b = out.frames[f];
        for (size_t t = 0; t < 8; ++t)
            for (size_t s = 0; s < 6; ++s) EXPECT_EQ(b[t * 6 + s], a[(7 - t) * 6 + s]) << f;
        // The unselected datum, the one-trace datum and the whole two-trace map are unchanged.
        EXPECT_TRUE(std::equal(b.begin() + 48, b.end(), a.begin() + 48)) << f;
    }
}

TEST_F(ToolsWndTest, ShiftByFactorAddsTheFactorKeepsNullsAndStartsABlankHistoryAt1)
{
    const float payloadNan = std::bit_cast<float>(0x7FC00123u);
    auto sample = [&](int frame, int datum, size_t index) -> float {
        if (index == 1) return -999.25f;
        if (datum == 1 && index == 2) return payloadNan;
        return DefaultSample(frame, datum, index);
    };
    // A datum of 80,000 values goes through the read buffer and the output buffer in pieces.
    const std::vector<QtxDatumShape> shapes = {Wave("WAVE", 2, 40000), Wave("KEEP", 1, 5), Map("SMAP", 1, 3, 2)};
    ASSERT_TRUE(WriteQtx(input, shapes, 3, 1000.0, 0.5, sample));
    Select(3, {0, 2});
    auto e = Engine();
    e->m_factor = -10.0f;
    ASSERT_EQ(RunTask(*e, kShift), 1);
    const QtxImage in = Load(input);
    const QtxImage out = Load(output);
    ASSERT_EQ(out.frames.size(), 3u);
    const size_t keepAt = 80000, mapAt = keepAt + 5;
    for (size_t f = 0; f < 3; ++f) {
        const std::vector<float>& a = in.frames[f];
        const std::vector<float>& b = out.frames[f];
        for (size_t i : {size_t(0), size_t(2), size_t(39999), size_t(40000), size_t(79999), mapAt, mapAt + 5})
            EXPECT_EQ(b[i], float(double(a[i]) - 10.0)) << f << " " << i;
        EXPECT_EQ(b[1], -999.25f);
        EXPECT_EQ(b[mapAt + 1], -999.25f);
        EXPECT_EQ(std::memcmp(&b[keepAt], &a[keepAt], 5 * sizeof(float)), 0) << "unselected: bit for bit";
    }

    // The input's history is blank: the run's lines start at position 1, the rest stays blank.
    const std::string expected = " \r\n\r\n*** Input data : " + input + "\r\n" + kRunLines
                                 + "*** Tools (Shift by factor) - -10.0000";
    const std::string history(out.header.history, qtx::kHistorySize);
    EXPECT_EQ(history.substr(0, expected.size()), expected);
    EXPECT_EQ(history.find_first_not_of(' ', expected.size()), std::string::npos);
}

} // namespace
