#include "toolbox/ToolsWnd.h"
#include "toolbox/ToolTasks.h"

#include "platform/Endian.h"
#include "res/ResourceIds.h"
#include "settings/SettingsStore.h"
#include "settings/UtilitiesSetupGroup.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <algorithm>
#include <bit>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <sys/resource.h>

namespace {

const char kAskDown[] = "This data set log direction is : DOWN.\nWould you like to continue?.";
const std::string kAbandon = "\nOperation will be abandoned.";
const std::string kRunLines = "*** Depth range :  1000.0000 -  1010.0000  [ft]\r\n";

constexpr ToolTask kDepths = ToolTask::ReverseDepthOrder, kShift = ToolTask::ShiftByFactor,
                   kReceivers = ToolTask::ReverseReceiverOrder;
constexpr ToolTask kBuiltTasks[] = {kDepths, kShift, kReceivers};

// The history line a task adds with the factor at -10.
std::string TaskLine(ToolTask task)
{
    return task == kDepths  ? "*** Tools (Reverse depth order)"
           : task == kShift ? "*** Tools (Shift by factor) - -10.0000"
                            : "*** Tools (Reverse receiver order)";
}

// A waveform datum, or with rows a two-axis semblance map.
QtxDatumShape Datum(const char* mnemonic, uint16_t traces, uint16_t samples, uint16_t rows = 0)
{
    return {.mnemonic = mnemonic, .typeCode = uint8_t(rows ? 60 : 26),
            .category = uint8_t(rows ? kCategorySemblanceMap : kCategoryWaveform), .traces = traces,
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
    void TearDown() override
    {
        theApp.Clear();
        HostTest::TearDown();
    }

    // Writes the input with `selected` of its datums chosen, removes an old output and gives
    // an engine as the dispatcher leaves it.
    std::unique_ptr<CToolsWnd> Prepare(const std::vector<QtxDatumShape>& datums, const std::vector<int>& selected,
                                       int frames, double top = 1000.0, double step = 0.5,
                                       uint8_t direction = qtx::kLogDown, const QtxSampleFn& sample = DefaultSample)
    {
        EXPECT_TRUE(WriteQtx(input, datums, frames, top, step, sample, direction));
        std::remove(output.c_str());
        ToolInputSelection& p = theApp.m_utilitiesSetup.primary;
        p.itemCount = int32_t(datums.size());
        p.selected.fill(0);
        for (int k : selected) p.selected[size_t(k)] = 1;
        auto e = std::make_unique<CToolsWnd>();
        e->Settings().outputPath = output;
        e->Settings().startDepth = 1000.0;
        e->Settings().stopDepth = 1010.0;
        e->Task().depthUnitLabel = " [ft]";
        return e;
    }
    int RunTask(CToolsWnd& e, ToolTask task) { return RunToolTask(e, task, input); }

    TempDir dir;
    std::string input = dir.File("in.qtx");
    std::string output = dir.File("out.qtx");
};

// Above 3,596 used characters the user is asked; a line break starts only below position
// 4,094 and a line goes in whole or not at all; position 4,095 is never written.
TEST_F(ToolsWndTest, HistoryAsksAbove3596AndAddsOnlyWholeLinesBelow4094)
{
    const char kLow[] = "You are running low with the data history buffer.\nWould you like to edit the history?";
    auto e = Prepare({Datum("WAVE", 1, 1)}, {}, 1);
    e->Task().primary.path = "/x.qtx";
    e->Task().taskLine = TaskLine(kDepths);
    for (int length = 3596; length <= 4096; ++length) {
        std::memset(e->Task().history, '#', sizeof e->Task().history);
        if (length > 3596) host.ExpectMessage(kLow, IDNO);
        const int result = e->Output().AppendHistory(length);
        EXPECT_TRUE(host.PendingExpectations().empty()) << length;
        EXPECT_EQ(e->Task().history[4095], '#') << length;
        if (length >= 4094) {
            EXPECT_EQ(result, length) << "nothing added at " << length;
        } else {
            EXPECT_LE(result, 4095) << length;
            EXPECT_EQ(std::string(e->Task().history + length, 2), "\r\n") << "a line break starts below 4094";
        }
    }

    e->Task().primary.path = "/" + std::string(200, 'p') + ".qtx"; // its line does not fit, the later ones do
    host.ExpectMessage(kLow, IDNO);
    const int length = e->Output().AppendHistory(3990);
    EXPECT_EQ(std::string(e->Task().history + 3990, size_t(length - 3990)),
              "\r\n\r\n\r\n" + kRunLines + TaskLine(kDepths));
}

// Near the history's end a note goes in whole, or as its heading with the words that it
// was left out, or not at all: never a heading alone. Only a note whose list went in is
// counted as written, so the end message lists the others.
TEST_F(ToolsWndTest, ANoteGoesInWholeOrAsItsLeftOutWordsOrNotAtAll)
{
    auto e = Prepare({Datum("WAVE", 1, 1)}, {}, 1);
    e->Task().primary.path = "/x.qtx";
    const ToolHistoryNote note{{"*** Renamed: A as B,", "***  C as D."}, {"*** Renamed:", "***  Left out."}};
    e->Task().historyNotes = {note, note};
    const auto count = [](const std::string& text, const std::string& line) {
        size_t n = 0;
        for (size_t at = 0; (at = text.find("\r\n" + line + "\r\n", at)) != std::string::npos; at += 2) ++n;
        return n;
    };
    std::set<std::pair<size_t, size_t>> seen; // (lists, left-out words) that went in
    for (int length = 3700; length <= 4094; ++length) {
        std::memset(e->Task().history, '#', sizeof e->Task().history);
        host.ExpectMessage("You are running low with the data history buffer.", IDNO);
        const int end = e->Output().AppendHistory(length);
        // Each line between line ends, the last one's written ahead of a line that never comes.
        const std::string added = std::string(e->Task().history + length, size_t(end - length)) + "\r\n";
        const size_t lists = count(added, "*** Renamed: A as B,"), words = count(added, "*** Renamed:");
        EXPECT_EQ(count(added, "***  C as D."), lists) << length << added;
        EXPECT_EQ(count(added, "***  Left out."), words) << length << added;
        EXPECT_EQ(size_t(std::count(e->Task().historyNotesWritten.begin(), e->Task().historyNotesWritten.end(), true)),
                  lists) << length;
        seen.emplace(lists, words);
    }
    // Every way two notes can end, down to the one where a heading alone would still fit.
    EXPECT_EQ(seen, (std::set<std::pair<size_t, size_t>>{{2, 0}, {1, 1}, {0, 2}, {0, 1}, {0, 0}}));
}

// A history edited on the way (here cleared) is the one the output starts from: nothing
// of the input's old history is left behind the run's lines.
TEST_F(ToolsWndTest, AHistoryClearedOnTheWayLeavesNothingOfTheOldOneInTheOutput)
{
    auto e = Prepare({Datum("WAVE", 2, 8)}, {0}, 3);
    PatchQtxHeader(input, [](QtxFileHeader& h) { std::memset(h.history, '#', 3700); });
    e->Settings().factor = -10.0f;
    host.ExpectMessage("You are running low with the data history buffer.", IDYES);
    host.ScriptDialog(kIddHistory).Press(kIdcClearHistory);
    host.ExpectMessage("This operation will clear the history.", IDYES);
    host.ScriptDialog(kIddHistory).Press(IDCANCEL);
    ASSERT_EQ(RunTask(*e, kShift), 1);
    const std::string history(LoadQtx(output).header.history, qtx::kHistorySize);
    EXPECT_EQ(history.find('#'), std::string::npos);
    EXPECT_NE(history.find(TaskLine(kShift)), std::string::npos);
}

TEST_F(ToolsWndTest, RefusalsLeaveTheInputAsItWasAndCreateNoOutput)
{
    const std::string empty = "Encountered empty selection list!" + kAbandon;
    const std::string unknown = "Encountered unknown log direction in file :\n" + input + kAbandon;
    const std::string same = "Output file is the same as input file :\n" + input + kAbandon;
    struct Case {
        ToolTask task;
        int datums;
        std::vector<int> selected;
        uint8_t direction;
        bool overInput; // the output path is the input's
        std::vector<std::pair<std::string, int>> answers;
    };
    const Case cases[] = {
        {kShift, 1, {}, 0xFF, false, {{empty, IDOK}}},
        {kDepths, 1, {}, 0xFF, false, {{kAskDown, IDNO}}},
        {kShift, 257, {0}, 0xFF, false, {{"Encountered 257 datums in file :\n" + input +
                                              "\nA data set holds at most 256 datums: no task can read this one." + kAbandon,
                                          IDOK}}},
        {kDepths, 1, {0}, 0, false, {{unknown, IDOK}}},
        {kShift, 1, {0}, 2, false, {{unknown, IDOK}}},
        {kReceivers, 1, {0}, 0x80, false, {{unknown, IDOK}}},
        {kDepths, 1, {0}, 0xFF, true, {{kAskDown, IDYES}, {same, IDOK}}},
        {kShift, 1, {0}, 1, true, {{same, IDOK}}},
    };
    for (const auto& c : cases) {
        auto e = Prepare(std::vector<QtxDatumShape>(size_t(c.datums), Datum("CRV", 1, 1)), c.selected, 2, 1000.0, 0.5,
                         c.direction);
        const std::vector<uint8_t> before = ReadBytes(input);
        if (c.overInput) e->Settings().outputPath = input;
        for (const auto& [text, answer] : c.answers) host.ExpectMessage(text, answer);
        const std::string& what = c.answers.back().first;
        EXPECT_EQ(RunTask(*e, c.task), -1) << what;
        EXPECT_EQ(ReadBytes(input), before) << what;
        EXPECT_FALSE(FileExists(output)) << what;
        EXPECT_FALSE(e->Task().primary.file.InputOpen()) << what;
    }
}

// While frames are written the chosen name holds nothing, so a killed run leaves no part.
// Stopped after k frames, a run leaves exactly the whole frames it wrote, counted; a run
// that fails on a full disk, anywhere, leaves no file, and no second error.
TEST_F(ToolsWndTest, StoppedOrFailedRunsLeaveExactlyTheWholeFramesWritten)
{
    const size_t frameSize = 8 + 2 * 64 * 4;
    struct Case {
        ToolTask task;
        int stopAfter;     // frames before Stop is pressed; -1: never
        size_t limit;      // the process's file-size limit; 0: none
        const char* error; // the failing write's message
        int frames;        // -1: no output file
    };
    const Case cases[] = {
        {kDepths, 0, 0, "", -1}, // stopped before its first frame: no output
        {kDepths, 3, 0, "", 3},
        {kShift, 1, 0, "", 1},
        {kReceivers, 3, 0, "", 3},
        {kShift, -1, qtx::kHeaderSize / 2, "Error writing header in file :\n", -1},
        {kShift, -1, qtx::kHeaderSize + 20, "Error writing datum descriptor in file :\n", -1},
        {kShift, -1, qtx::DataStart(1) + 2 * frameSize + frameSize / 2, "Error writing frame data in file :\n", -1},
    };
    for (const auto& c : cases) {
        auto e = Prepare({Datum("WAVE", 2, 64)}, {0}, 6);
        if (c.task == kDepths) host.ExpectMessage(kAskDown, IDYES);
        if (c.stopAfter < 0) {
            host.ExpectMessage(c.error + output);
        } else {
            host.ScriptDialog(kIddProgress)
                .Pumps(2 * c.stopAfter + 1)
                .Inspect([&](CDialog&) { EXPECT_FALSE(FileExists(output)) << c.stopAfter; })
                .Press(IDCANCEL);
            host.ExpectMessage("Are you sure you want to stop processing?", IDYES);
        }
        auto run = [&] { return RunTask(*e, c.task); };
        EXPECT_EQ(c.limit ? WithFileSizeLimit(rlim_t(c.limit), run) : run(), c.stopAfter < 0 ? -1 : 1);
        EXPECT_EQ(FileExists(output), c.frames >= 0) << c.error;
        if (c.frames < 0) continue;
        const QtxImage out = LoadQtx(output);
        EXPECT_EQ(out.header.frameCount, uint32_t(c.frames)) << int(c.task) << " " << c.stopAfter;
        EXPECT_EQ(out.frames.size(), size_t(c.frames)) << int(c.task) << " " << c.stopAfter;
        EXPECT_EQ(out.tornBytes, 0u);
        if (c.frames > 0) {
            EXPECT_EQ(out.header.topDepth, out.depths.front());
            EXPECT_EQ(out.header.bottomDepth, out.depths.back());
        }
    }
}

// A write that fails over an older data set says why and that the older one is
// unchanged, and it is, byte for byte.
TEST_F(ToolsWndTest, AFailedWriteOverAnOlderDataSetSaysItIsUnchanged)
{
    const size_t frameSize = 8 + 2 * 64 * 4;
    const std::vector<uint8_t> older = {'o', 'l', 'd'};
    for (const size_t limit : {qtx::kHeaderSize / 2, qtx::DataStart(1) + 2 * frameSize + frameSize / 2}) {
        auto e = Prepare({Datum("WAVE", 2, 64)}, {0}, 6);
        WriteBytes(output, older);
        host.ExpectMessage("already exists", IDYES);
        host.ExpectMessage(output + "\nThe file would pass the largest size this program may write (a file-size "
                                    "limit).\nThe existing file is unchanged.");
        EXPECT_EQ(WithFileSizeLimit(rlim_t(limit), [&] { return RunTask(*e, kShift); }), -1) << limit;
        EXPECT_EQ(ReadBytes(output), older) << limit;
    }
}

// Up logs may store their step negative (as written by depth order) or positive: only the
// direction says which way the depths run. Only the selected datums change: Shift adds the
// factor but keeps nulls, Reverse Receiver reverses the traces of one-axis datums (BIG read
// trace by trace, WAVE whole), Reverse Depth reverses the frames.
TEST_F(ToolsWndTest, TasksWriteTheirFramesAndDepthsWhateverTheStepSign)
{
    const float payloadNan = std::bit_cast<float>(0x7FC00123u);
    auto sample = [&](int frame, int datum, size_t index) -> float {
        if (index == 1) return -999.25f;
        return datum == 2 && index == 2 ? payloadNan : DefaultSample(frame, datum, index);
    };
    // BIG's 80,000 values go through the read buffer and the output buffer in pieces.
    const std::vector<QtxDatumShape> datums = {Datum("BIG", 2, 40000), Datum("WAVE", 8, 6), Datum("KEEP", 1, 5),
                                               Datum("SMAP", 2, 3, 2)};
    constexpr size_t kWave = 80000, kKeep = kWave + 48, kMap = kKeep + 5;
    auto reversed = [](std::vector<float> v, size_t at, size_t traces, size_t samples) {
        for (size_t t = 0; t < traces / 2; ++t)
            std::swap_ranges(v.begin() + long(at + t * samples), v.begin() + long(at + (t + 1) * samples),
                             v.begin() + long(at + (traces - 1 - t) * samples));
        return v;
    };
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
            auto e = Prepare(datums, {0, 1, 3}, 5, c.top, c.step, c.direction, sample);
            e->Settings().factor = -10.0f;
            PatchQtxHeader(input, [&](QtxFileHeader& h) { h.depthStep = c.storedStep; });
            const QtxImage in = LoadQtx(input);
            if (task == kDepths) host.ExpectMessage(c.question, IDYES);
            ASSERT_EQ(RunTask(*e, task), 1) << int(task);
            const QtxImage out = LoadQtx(output);
            std::vector<double> depths = in.depths;
            if (task == kDepths) std::reverse(depths.begin(), depths.end());
            EXPECT_EQ(out.depths, depths) << int(task) << " stored step " << c.storedStep;
            EXPECT_EQ(out.header.frameCount, 5u);
            EXPECT_EQ(out.header.topDepth, depths.front());
            EXPECT_EQ(out.header.bottomDepth, depths.back());
            EXPECT_EQ(out.header.logDirection, task != kDepths ? c.direction : c.direction == 1 ? 0xFF : 1);
            // The input's history is blank: the run's lines start at position 1, the rest stays blank.
            const std::string history(out.header.history, qtx::kHistorySize);
            const std::string lines = " \r\n\r\n*** Input data : " + input + "\r\n" + kRunLines + TaskLine(task);
            EXPECT_EQ(history.substr(0, lines.size()), lines);
            EXPECT_EQ(history.find_first_not_of(' ', lines.size()), std::string::npos);
            for (size_t f = 0; f < 5; ++f) {
                const std::vector<float>& a = in.frames[task == kDepths ? 4 - f : f];
                const std::vector<float>& b = out.frames[f];
                if (task != kShift) {
                    const auto want = task == kDepths ? a : reversed(reversed(a, 0, 2, 40000), kWave, 8, 6);
                    EXPECT_EQ(std::memcmp(b.data(), want.data(), b.size() * sizeof(float)), 0) << int(task) << " " << f;
                    continue;
                }
                for (size_t i : {size_t(0), size_t(2), size_t(39999), size_t(40000), kWave, kMap, kMap + 11})
                    EXPECT_EQ(b[i], float(double(a[i]) - 10.0)) << f << " " << i;
                EXPECT_EQ(b[1], -999.25f);
                EXPECT_EQ(b[kMap + 1], -999.25f);
                EXPECT_EQ(std::memcmp(&b[kKeep], &a[kKeep], 5 * sizeof(float)), 0) << "unselected: bit for bit";
            }
        }
}

} // namespace
