// Utilities > Tools writers whose disk fills part-way or whose user stops them: the
// output is gone or holds what its header says, and a failure was told.
#include "toolbox/ToolTasks.h"
#include "toolbox/SegyLayout.h"
#include "toolbox/ToolsWnd.h"

#include "res/ResourceIds.h"
#include "settings/SettingsStore.h"
#include "support/HostFixture.h"
#include "support/OutputChecks.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <cstdio>
#include <functional>
#include <memory>

namespace {

using T = ToolTask;

const std::vector<QtxDatumShape> kPrimary = {
    {.mnemonic = "DTCO", .typeCode = 158, .category = 6, .unit = 2, .step = 1.0f},
    {.mnemonic = "WAVE", .typeCode = 26, .category = 1, .traces = 2, .samples = 64, .unit = 1, .step = 8.0f},
};
const std::vector<QtxDatumShape> kSecondary = {kPrimary[0], {kPrimary[1]}};
constexpr int kFrames = 30;
constexpr uint32_t kFrameSize = 8 + 4 + 2 * 64 * 4;

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
        ASSERT_TRUE(WriteQtx(primary, kPrimary, kFrames));
        ASSERT_TRUE(WriteQtx(secondary, kSecondary, kFrames, 1000.0));
    }
    void TearDown() override
    {
        WriteFault::Off();
        theApp.Clear();
        HostTest::TearDown();
    }
    static void Choose(ToolInputSelection& s, const std::vector<int>& chosen)
    {
        s.itemCount = 2;
        s.selected.fill(0);
        for (int k : chosen) s.selected[size_t(k)] = 1;
    }
    struct Writer {
        const char* name;
        T task;
        std::vector<int> chosen;
        std::string input, output;
        std::function<std::string(const std::string&)> lies;
        std::vector<int> stops = {1, 4};
    };
    int Run(const Writer& w)
    {
        Choose(theApp.m_utilitiesSetup.primary, w.chosen);
        Choose(theApp.m_utilitiesSetup.secondary, w.chosen);
        auto e = std::make_unique<CToolsWnd>();
        e->m_outputPath = w.output;
        e->m_factor = 2.0f;
        e->m_factorDouble = 2.0;
        e->m_startDepth = 1000.0;
        e->m_stopDepth = 1000.0 + kFrames;
        return RunToolTask(*e, w.task, w.input, secondary);
    }
    void Exercise(const Writer& w)
    {
        SCOPED_TRACE(w.name);
        ExpectNoLyingOutput(host, {.run = [&](bool clean) { EXPECT_TRUE(Run(w) == 1 || !clean); },
                                   .output = w.output,
                                   .lies = w.lies,
                                   .points = [](int64_t total) { return QtxFaultPoints(2, kFrameSize, total); },
                                   .stops = w.stops,
                                   .progressId = kIddProgress});
    }

    TempDir dir;
    std::string primary = dir.File("p.qtx"), secondary = dir.File("s.qtx");
};

TEST_F(ToolFaultTest, NoWriterLeavesAFileThatLies)
{
    const std::string las = dir.File("out.las");
    const Writer writers[] = {
        {"single input: multiply", T::MultiplyByFactor, {0, 1}, primary, dir.File("mul.qtx"), QtxOutputLies},
        {"two inputs: add waveforms", T::AddWaveforms, {1}, primary, dir.File("add.qtx"), QtxOutputLies},
        {"QTX to SEG-Y", T::ConvertQtxToSegy, {1}, primary, dir.File("out.segy"), SegyOutputLies},
        {"QTX to LAS", T::ConvertQtxToLas, {0}, primary, las, LasOutputLies, {1}},
    };
    for (const Writer& w : writers) Exercise(w);
    // The LAS import reads what the export wrote.
    ASSERT_EQ(Run(writers[3]), 1);
    const std::string lasInput = dir.File("in.las");
    std::rename(las.c_str(), lasInput.c_str());
    Exercise({"LAS to QTX", T::ConvertLasToQtx, {}, lasInput, dir.File("las.qtx"), QtxOutputLies, {1}});
}

} // namespace
