// Data sets whose headers claim what their files do not hold, through every tool-box
// task that reads data sets: no task writes a frame the input does not hold, walks the
// claimed frames, or fails without saying why.
#include "toolbox/ToolTasks.h"
#include "toolbox/ToolsWnd.h"

#include "platform/BinaryFile.h"
#include "settings/SettingsStore.h"
#include "settings/UtilitiesSetupGroup.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kHeld = 4;

// A header of `claimed` frames over kHeld whole frames of `datums` (frame size from them).
std::vector<uint8_t> Claiming(uint32_t claimed, const std::vector<QtxDatumDescriptor>& datums, uint32_t values)
{
    QtxFileHeader h;
    h.frameCount = claimed;
    h.frameSize = uint32_t(qtx::kDepthSize + values * sizeof(float));
    h.topDepth = 1000.0;
    h.bottomDepth = 1000.0 + 0.5 * (double(claimed) - 1);
    h.depthStep = 0.5;
    h.datumCount = uint16_t(datums.size());
    std::memset(h.history, ' ', sizeof h.history);
    std::vector<uint8_t> frames(size_t(kHeld) * h.frameSize, 0);
    for (int k = 0; k < kHeld; ++k) {
        const double depth = 1000.0 + 0.5 * k;
        std::memcpy(frames.data() + size_t(k) * h.frameSize, &depth, sizeof depth);
    }
    return RawQtx(h, datums, frames);
}

QtxDatumDescriptor Descriptor(const char* mnemonic, uint8_t type, uint8_t category, uint16_t traces, uint16_t samples,
                              uint32_t offset)
{
    QtxDatumDescriptor d;
    std::memcpy(d.mnemonic, mnemonic, 4);
    d.typeCode = type;
    d.category = category;
    d.traceCount = traces;
    d.axisCount = 1;
    d.offset = offset;
    d.size = uint32_t(traces) * samples * sizeof(float);
    d.axis1 = {kUnitMicroseconds, 0, samples, 10.0f};
    return d;
}

class HostileInputTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        host.onUnexpected = [](const std::string&) {}; // each task words its own refusal
    }
    void TearDown() override
    {
        theApp.Clear();
        HostTest::TearDown();
    }
    int Run(ToolTask task)
    {
        for (ToolInputSelection* s : {&theApp.m_utilitiesSetup.primary, &theApp.m_utilitiesSetup.secondary,
                                      &theApp.m_utilitiesSetup.density}) {
            s->itemCount = ToolInput::kMaxDatums;
            s->selected.fill(1);
        }
        std::remove(output.c_str());
        auto e = std::make_unique<CToolsWnd>();
        e->Settings().outputPath = output;
        e->Settings().outputConfirmed = true;
        e->Settings().factor = 2.0f;
        e->Settings().factorDouble = 2.0;
        e->Settings().startDepth = 0.0;
        e->Settings().stopDepth = 100000.0;
        e->Settings().spliceDepth = 1001.0;
        return RunToolTask(*e, task, input, input, input);
    }

    TempDir dir;
    std::string input = dir.File("claims.qtx");
    std::string output = dir.File("out.qtx");
};

// Datums without values (no receiver) make a frame of its depth alone: nothing is read
// in the frame loop, so before the frames were checked against the file the tasks wrote
// every claimed frame from the header's depths and said they were done.
TEST_F(HostileInputTest, NoTaskWritesFramesTheInputDoesNotHold)
{
    struct Case {
        const char* what;
        std::vector<QtxDatumDescriptor> datums;
        uint32_t values;
    };
    const Case cases[] = {
        {"datums of no value", {Descriptor("WAVE", 26, kCategoryWaveform, 0, 64, 8),
                                Descriptor("DTCO", 6, kCategoryTrace, 1, 0, 8)}, 0},
        {"a waveform and a curve", {Descriptor("WAVE", 26, kCategoryWaveform, 2, 8, 8),
                                    Descriptor("DTCO", 6, kCategoryTrace, 1, 1, 8 + 64)}, 17},
    };
    for (const Case& c : cases) {
        WriteBytes(input, Claiming(200000, c.datums, c.values));
        for (const ToolTaskRow& row : ToolTaskTable()) {
            if (row.inputs == ToolInputs::None || row.primary != ToolFile::Qtx) continue;
            const auto started = std::chrono::steady_clock::now();
            host.ClearMessages();
            const int result = Run(row.task);
            const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
            EXPECT_LT(seconds, 5.0) << c.what << ": " << row.name;
            if (!FileExists(output)) {
                EXPECT_NE(result, 1) << c.what << ": " << row.name << " wrote nothing and said it was done";
                continue;
            }
            if (row.output != ToolFile::Qtx) continue;
            EXPECT_LE(LoadQtx(output).depths.size(), size_t(kHeld)) << c.what << ": " << row.name;
        }
    }
}

// The read of the first frame past the file's end fails and says so; the output keeps
// the frames the file held, and its header counts them.
TEST_F(HostileInputTest, AClaimedFramePastTheEndFailsWithTheFrameReadMessage)
{
    WriteBytes(input, Claiming(200000, {Descriptor("WAVE", 26, kCategoryWaveform, 0, 64, 8)}, 0));
    EXPECT_EQ(Run(ToolTask::ExtractDepthRange), -1);
    ASSERT_TRUE(FileExists(output));
    EXPECT_EQ(LoadQtx(output).header.frameCount, uint32_t(kHeld));
    EXPECT_EQ(LoadQtx(output).depths.size(), size_t(kHeld));
    ASSERT_FALSE(host.Messages().empty());
    EXPECT_EQ(host.Messages().back().text, "Error reading frame data in file :\n" + input +
                                               "\nReading stopped at frame 5 of 200000 (the file holds 4 whole "
                                               "frames).\nThe output keeps the 4 whole frame(s) written before it :\n" +
                                               output);
}

// Frame indices are int: a header of more frames is refused with a word, not quietly.
TEST_F(HostileInputTest, AFrameCountBeyondTheIndicesIsRefusedWithAMessage)
{
    for (const uint32_t claimed : {0x80000000u, 0xFFFFFFFFu}) {
        WriteBytes(input, Claiming(claimed, {Descriptor("WAVE", 26, kCategoryWaveform, 2, 8, 8)}, 16));
        host.ClearMessages();
        EXPECT_EQ(Run(ToolTask::ExtractDepthRange), -1) << claimed;
        ASSERT_FALSE(host.Messages().empty()) << claimed;
        EXPECT_EQ(host.Messages().back().text, "Encountered " + std::to_string(claimed) + " frames in file :\n" + input +
                                                   "\nA data set holds at most 2147483647 frames.\nOperation will be "
                                                   "abandoned.");
    }
}

} // namespace
