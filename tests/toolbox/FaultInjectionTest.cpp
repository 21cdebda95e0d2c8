// Every Utilities > Tools task whose disk fills part-way or whose user stops it: the
// output is gone or holds what its header says, a failure was told and not returned
// as success.
#include "toolbox/ToolTasks.h"
#include "toolbox/SegyLayout.h"
#include "toolbox/ToolsWnd.h"

#include "res/ResourceIds.h"
#include "settings/SettingsStore.h"
#include "settings/UtilitiesSetupGroup.h"
#include "support/HostFixture.h"
#include "support/KilledWriter.h"
#include "support/LasBuilder.h"
#include "support/OutputChecks.h"
#include "support/QtxBuilder.h"
#include "support/SegyBuilder.h"
#include "support/TempDir.h"

#include <algorithm>
#include <map>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using T = ToolTask;
constexpr int kFrames = 30;

QtxDatumShape Curve(const char* mnemonic, uint8_t type, uint8_t unit)
{
    return {.mnemonic = mnemonic, .typeCode = type, .category = kCategoryTrace, .unit = unit, .step = 1.0f};
}
QtxDatumShape Wave(const char* mnemonic, uint8_t type, uint16_t samples)
{
    return {.mnemonic = mnemonic, .typeCode = type, .category = kCategoryWaveform, .traces = 2, .samples = samples,
            .step = 8.0f};
}

// One set of datums every task finds its inputs in: slowness curves per foot and per
// metre, waveforms, instantaneous frequency and the two halves of an LSS array.
enum Datum { kDtco, kDtsm, kWave, kIfrq, kLssA, kLssB };
const std::vector<QtxDatumShape> kDatums = {Curve("DTCO", 6, kUnitMicrosecondsPerFoot),
                                            Curve("DTSM", 7, kUnitMicrosecondsPerMetre),
                                            Wave("WAVE", 26, 64),
                                            Wave("IFRQ", 158, 16),
                                            Wave("LSSA", 224, 16),
                                            Wave("LSSB", 225, 16)};

// A task's run: the datums chosen of each input and the pump counts to stop at (tasks
// that step through blocks of frames have one step only).
struct TaskCase {
    T task;
    std::vector<int> primary, secondary = {}, density = {};
    std::vector<int> stops = {1, 4};
    const char* confirm = nullptr; // a question the task asks before it writes, answered Yes
};
const TaskCase kCases[] = {
    {T::ExtractDepthRange, {}},
    {T::ExtractItems, {kWave}},
    {T::ShiftInDepth, {}},
    {T::ComputeAmplitude, {kWave}},
    {T::MultiplyByFactor, {kDtco, kWave}},
    {T::ConvertDepthToMetric, {}},
    {T::ConvertDepthToImperial, {}},
    {T::SpliceAtDepth, {}},
    {T::ComputeVpVsPoissonRatio, {kDtco}, {kDtsm}},
    {T::ConvertQtxToLas, {kDtco, kDtsm}, {}, {}, {1}},
    {T::ConvertLasToQtx, {}, {}, {}, {1}},
    {T::ConvertSlownessToMetric, {}},
    {T::ConvertSlownessToImperial, {}},
    {T::ReverseDepthOrder, {}, {}, {}, {1, 4}, "Would you like to continue?"},
    {T::ImportTxtDataSet, {}, {}, {}, {1}},
    {T::AddWaveforms, {kWave}, {kWave}},
    {T::SubtractWaveforms, {kWave}, {kWave}},
    {T::ComputeFrequencyLog, {kIfrq}},
    {T::ConvertQtxToSegy, {kWave}},
    {T::ConvertSegyToQtx, {}},
    {T::ResampleDepth, {}},
    {T::ShiftByFactor, {kWave}},
    {T::OverwriteDepthStep, {kWave}},
    {T::ConstructLssArray, {kLssA, kLssB}},
    {T::ComputeRmsAverageLog, {kWave}, {kDtco, kDtsm}},
    {T::ConstructMinMaxLog, {kDtco}, {kDtco}},
    {T::ReverseReceiverOrder, {kWave}},
    {T::ConstructQtxDataSet, {kWave}, {kDtsm}},
    {T::ComputeWaveEnergy, {kWave}, {kDtco, kDtsm}},
    {T::ComputeMechanicalProperties, {kDtco}, {kDtsm}, {0}},
};

// The file header and whole traces of the waveform's 64 samples.
std::string SegyOutputLies(const std::string& path)
{
    if (!FileExists(path)) return "";
    const size_t length = ReadBytes(path).size(), trace = segy::TraceSize(64);
    if (length < segy::kFileHeaderSize || (length - segy::kFileHeaderSize) % trace != 0)
        return std::to_string(length) + " bytes: not a file header and whole traces";
    return "";
}

class ToolFaultTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        host.onUnexpected = [](const std::string&) {}; // the failure messages vary by point
        std::vector<double> depths;
        for (int k = 0; k < kFrames; ++k) depths.push_back(1000.0 + 0.5 * k);
        ASSERT_TRUE(WriteQtx(primary, kDatums, kFrames));
        ASSERT_TRUE(WriteQtx(metric, kDatums, kFrames));
        PatchQtxHeader(metric, [](QtxFileHeader& h) { h.depthUnits = qtx::kUnitsMetres; });
        // Five feet deeper: the two-input tasks align by depth, and the splice needs it.
        ASSERT_TRUE(WriteQtx(secondary, kDatums, kFrames, 1005.0));
        ASSERT_TRUE(WriteQtx(density, {Curve("RHOB", 8, 9)}, kFrames));
        LasShape shape;
        shape.unit = "F";
        shape.depths = depths;
        const std::string las = LasText(shape), txt = TxtText({.depths = depths});
        WriteBytes(inputs[size_t(ToolFile::Las)], std::vector<uint8_t>(las.begin(), las.end()));
        WriteBytes(inputs[size_t(ToolFile::Text)], std::vector<uint8_t>(txt.begin(), txt.end()));
        WriteBytes(inputs[size_t(ToolFile::Segy)], SegyBytes({.samples = 64, .depths = depths}));
    }
    void TearDown() override
    {
        WriteFault::Off();
        theApp.Clear();
        HostTest::TearDown();
    }
    static void Choose(ToolInputSelection& s, const std::vector<int>& chosen)
    {
        s.itemCount = int32_t(kDatums.size());
        s.selected.fill(0);
        for (int k : chosen) s.selected[size_t(k)] = 1;
    }
    int Run(const ToolTaskRow& row, const TaskCase& c, const std::string& output)
    {
        Choose(theApp.m_utilitiesSetup.primary, c.primary);
        Choose(theApp.m_utilitiesSetup.secondary, c.secondary);
        Choose(theApp.m_utilitiesSetup.density, c.density);
        auto e = std::make_unique<CToolsWnd>();
        e->Settings().outputPath = output;
        e->Settings().factor = 2.0f;
        e->Settings().factorDouble = 2.0;
        e->Settings().startDepth = 1000.0;
        e->Settings().stopDepth = stopDepth;
        e->Settings().spliceDepth = 1010.0;
        const std::string& input = row.task == T::ConvertDepthToImperial ? metric : inputs[size_t(row.primary)];
        return RunToolTask(*e, row.task, input, secondary, density);
    }
    void Exercise(const ToolTaskRow& row, const TaskCase& c)
    {
        SCOPED_TRACE(row.name);
        const ToolFile kind = row.output;
        const std::string output =
            dir.File(kind == ToolFile::Las ? "out.las" : kind == ToolFile::Segy ? "out.segy" : "out.qtx");
        const auto run = [&](bool clean) {
            const int result = Run(row, c, output);
            EXPECT_TRUE(result == 1 || !clean) << "clean run";
            EXPECT_FALSE(WriteFault::Tripped() && result == 1) << "a failed run returned success";
        };
        ExpectNoLyingOutput(host, {.run = run,
                                   .output = output,
                                   .lies = kind == ToolFile::Las    ? OutputCheck(LasOutputLies)
                                           : kind == ToolFile::Segy ? OutputCheck(SegyOutputLies)
                                                                    : OutputCheck(QtxOutputLies),
                                   .points = [&](int64_t total) {
                                       return kind == ToolFile::Qtx ? QtxFaultPointsOf(output, total)
                                                                    : SpreadFaultPoints(total);
                                   },
                                   .stops = c.stops,
                                   .progressId = kIddProgress,
                                   .script = [&] {
                                       if (c.confirm) host.ExpectMessage(c.confirm, IDYES);
                                   }});
    }

    double stopDepth = 1000.0 + kFrames; // of the depth range
    TempDir dir;
    std::string primary = dir.File("p.qtx"), metric = dir.File("m.qtx"), secondary = dir.File("s.qtx"),
                density = dir.File("d.qtx");
    // By the kind of the primary input.
    std::string inputs[4] = {primary, dir.File("in.las"), dir.File("in.txt"), dir.File("in.segy")};
};

TEST_F(ToolFaultTest, NoTaskLeavesAFileThatLies)
{
    for (const ToolTaskRow& row : ToolTaskTable()) {
        if (row.task == T::ComputeAverageValue) continue; // ends without work: it writes nothing
        const auto c =
            std::find_if(std::begin(kCases), std::end(kCases), [&](const TaskCase& k) { return k.task == row.task; });
        ASSERT_NE(c, std::end(kCases)) << row.name << " has no case here";
        Exercise(row, *c);
    }
}

// Each input of every task in turn gone, a folder or a FIFO: the task says it could
// not open it, fails, and the older output is byte for byte as it was. The alarm ends
// a test that blocks on the FIFO.
TEST_F(ToolFaultTest, AnInputThatCannotBeOpenedLeavesTheOlderOutputAsItWas)
{
    const std::string fifo = dir.File("pipe"), folder = dir.File("folder");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_directory(folder);
    const std::vector<uint8_t> old = {'o', 'l', 'd', '\n'};
    ::alarm(120);
    for (const ToolTaskRow& row : ToolTaskTable()) {
        const auto c =
            std::find_if(std::begin(kCases), std::end(kCases), [&](const TaskCase& k) { return k.task == row.task; });
        if (c == std::end(kCases)) continue; // writes nothing
        const ToolFile kind = row.output;
        const std::string output =
            dir.File(kind == ToolFile::Las ? "out.las" : kind == ToolFile::Segy ? "out.segy" : "out.qtx");
        for (int which = 0; which < int(row.inputs); ++which) {
            for (const std::string& bad : {dir.File("gone.in"), folder, fifo}) {
                const std::string how = std::string(row.name) + ", input " + std::to_string(which) + ": " + bad;
                std::string& input = which == 0 ? inputs[size_t(row.primary)] : which == 1 ? secondary : density;
                const std::string good = input;
                const std::string goodMetric = metric;
                input = bad;
                if (which == 0) metric = bad;
                WriteBytes(output, old);
                const size_t told = host.Messages().size();
                EXPECT_NE(Run(row, *c, output), 1) << how;
                input = good;
                metric = goodMetric;
                bool named = false;
                for (size_t k = told; k < host.Messages().size(); ++k)
                    named = named || host.Messages()[k].text.find(bad) != std::string::npos;
                EXPECT_TRUE(named) << how << ": the input was not named";
                EXPECT_EQ(ReadBytes(output), old) << how;
                EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>()) << how;
            }
        }
    }
    ::alarm(0);
}

// Every task whose output cannot be opened (its folder is gone) says so once, with the
// cause after the path, and fails.
TEST_F(ToolFaultTest, AnOutputThatCannotBeOpenedIsToldOnceWithItsCause)
{
    const std::string gone = dir.File("gone");
    for (const ToolTaskRow& row : ToolTaskTable()) {
        const auto c =
            std::find_if(std::begin(kCases), std::end(kCases), [&](const TaskCase& k) { return k.task == row.task; });
        if (c == std::end(kCases)) continue; // writes nothing
        const std::string output = gone + "/out";
        if (c->confirm) host.ExpectMessage(c->confirm, IDYES);
        const size_t told = host.Messages().size();
        EXPECT_NE(Run(row, *c, output), 1) << row.name;
        std::vector<std::string> named;
        for (size_t k = told; k < host.Messages().size(); ++k)
            if (host.Messages()[k].text.find(output) != std::string::npos) named.push_back(host.Messages()[k].text);
        ASSERT_EQ(named.size(), 1u) << row.name << ": " << ::testing::PrintToString(named);
        EXPECT_NE(named[0].find(output + "\n"), std::string::npos) << row.name << ": no cause in " << named[0];
        EXPECT_EQ(host.Messages().size() - told, c->confirm ? 2u : 1u)
            << row.name << ": " << host.Messages().back().text;
    }
    EXPECT_FALSE(std::filesystem::exists(gone));
}

// A data set cut inside frame 121 of the 200 its header counts, through every task that
// reads one data set: the run fails, names the input, the frame and what it kept, and the
// output holds exactly the whole frames written before the cut, its header saying so.
// Reverse Depth Order reads the missing frames first: it keeps nothing, and the older
// file stays.
TEST_F(ToolFaultTest, ACutInputKeepsTheWholeFramesWrittenBeforeTheCut)
{
    constexpr int kClaimed = 200, kWhole = 120;
    ASSERT_TRUE(WriteQtx(primary, kDatums, kClaimed));
    const QtxImage full = LoadQtx(primary);
    const uint64_t frameSize = full.header.frameSize;
    std::filesystem::resize_file(primary, qtx::DataStart(kDatums.size()) + kWhole * frameSize + frameSize / 2);
    ASSERT_TRUE(WriteQtx(metric, kDatums, kClaimed));
    PatchQtxHeader(metric, [](QtxFileHeader& h) { h.depthUnits = qtx::kUnitsMetres; });
    std::filesystem::resize_file(metric, std::filesystem::file_size(primary));
    const std::vector<uint8_t> old = {'o', 'l', 'd', '\n'};
    stopDepth = 1000.0 + kClaimed;
    // Frames kept where it is not the 120 read before the cut: Resample Depth steps by
    // 2 ft over 0.5 ft frames, so its frame k needs input frames 4k and 4k + 1; the LSS
    // array's frame k needs frame k + 4, 2 ft deeper.
    const std::map<T, uint64_t> kept = {{T::ReverseDepthOrder, 0}, {T::ResampleDepth, 30}, {T::ConstructLssArray, 116}};
    for (const ToolTaskRow& row : ToolTaskTable()) {
        if (row.inputs != ToolInputs::Primary || row.primary != ToolFile::Qtx) continue;
        SCOPED_TRACE(row.name);
        const auto c =
            std::find_if(std::begin(kCases), std::end(kCases), [&](const TaskCase& k) { return k.task == row.task; });
        ASSERT_NE(c, std::end(kCases));
        const ToolFile kind = row.output;
        const std::string output =
            dir.File(kind == ToolFile::Las ? "out.las" : kind == ToolFile::Segy ? "out.segy" : "out.qtx");
        WriteBytes(output, old);
        if (c->confirm) host.ExpectMessage(c->confirm, IDYES);
        host.ExpectMessage("already exists", IDYES);
        const uint64_t frames = kept.count(row.task) ? kept.at(row.task) : kWhole;
        const std::string input = row.task == T::ConvertDepthToImperial ? metric : primary;
        std::string told = "Error reading frame data in file :\n" + input + "\nReading stopped at frame " +
                           std::to_string(row.task == T::ReverseDepthOrder ? kClaimed : kWhole + 1) +
                           " of 200 (the file holds 120 whole frames)";
        told += frames > 0 ? ".\nThe output keeps the " + std::to_string(frames) +
                                 " whole frame(s) written before it :\n" + output
                           : ", before any frame was written: no output was made.\nThe existing file is unchanged.";
        host.ExpectMessage(told);
        const size_t before = host.Messages().size();
        EXPECT_EQ(Run(row, *c, output), -1);
        ASSERT_GT(host.Messages().size(), before);
        EXPECT_EQ(host.Messages().back().text, told);
        EXPECT_EQ(std::count_if(host.Messages().begin() + long(before), host.Messages().end(),
                                [&](const ShownMessage& m) { return m.text.find(input) != std::string::npos; }),
                  1)
            << "told once";
        EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>());
        if (frames == 0) {
            EXPECT_EQ(ReadBytes(output), old);
            continue;
        }
        if (kind == ToolFile::Qtx) {
            EXPECT_EQ(QtxOutputLies(output), "");
            const QtxImage out = LoadQtx(output);
            EXPECT_EQ(out.header.frameCount, frames);
            EXPECT_EQ(out.frames.size(), frames);
        } else if (kind == ToolFile::Las) {
            EXPECT_EQ(LasOutputLies(output), "");
            const std::vector<uint8_t> bytes = ReadBytes(output);
            const std::string text(bytes.begin(), bytes.end());
            const size_t data = text.find("\n", text.find("~A"));
            EXPECT_EQ(uint64_t(std::count(text.begin() + data + 1, text.end(), '\n')), frames);
        } else {
            EXPECT_EQ(SegyOutputLies(output), "");
            const size_t shot = 2 * segy::TraceSize(64);
            EXPECT_EQ((ReadBytes(output).size() - segy::kFileHeaderSize) / shot, frames);
        }
    }
}

// The same for the second input of a task that reads two: the message names that one.
TEST_F(ToolFaultTest, ACutSecondInputIsTheOneNamed)
{
    ASSERT_TRUE(WriteQtx(primary, kDatums, 200));
    ASSERT_TRUE(WriteQtx(secondary, kDatums, 200));
    const uint64_t frameSize = LoadQtx(secondary).header.frameSize;
    std::filesystem::resize_file(secondary, qtx::DataStart(kDatums.size()) + 120 * frameSize + 9);
    const std::string output = dir.File("out.qtx");
    host.ExpectMessage("Error reading frame data in file :\n" + secondary +
                       "\nReading stopped at frame 121 of 200 (the file holds 120 whole frames).\nThe output keeps the "
                       "120 whole frame(s) written before it :\n" + output);
    EXPECT_EQ(Run(*FindToolTask(T::ConstructQtxDataSet), {T::ConstructQtxDataSet, {kWave}, {kDtsm}}, output), -1);
    EXPECT_EQ(LoadQtx(output).header.frameCount, 120u);
    EXPECT_EQ(QtxOutputLies(output), "");
}

} // namespace
