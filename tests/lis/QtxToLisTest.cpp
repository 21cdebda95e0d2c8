#include "lis/QtxToLis.h"

#include "LisHelpers.h"
#include "lis/LisRead.h"
#include "platform/Endian.h"
#include "platform/Format.h"
#include "res/CommandIds.h"
#include "res/ResourceIds.h"
#include "support/AppFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <cmath>
#include <filesystem>

namespace {

// Values with a spare lowest mantissa bit come back from code 68 exactly.
float ExactSample(int frame, int datum, size_t index) { return float(frame * 16 + datum * 4) - float(index % 97) * 0.25f; }

class QtxToLisTest : public AppTest {
protected:
    TempDir dir;
    std::string qtx = dir.File("in.qtx");
    std::string lis = dir.File("out.lis");

    void SetUp() override
    {
        AppTest::SetUp();
        Start();
    }
    static QtxDatumShape Waveform(uint16_t traces, uint16_t samples, uint8_t type = 1)
    {
        QtxDatumShape d;
        d.mnemonic = "WMNO";
        d.typeCode = type;
        d.traces = traces;
        d.samples = samples;
        d.step = 10.0f;
        return d;
    }
    void ExpectFiles()
    {
        host.ExpectFileDialog("Browse Qtx Input File", qtx);
        host.ExpectFileDialog("Browse Lis Output File", lis);
    }
};

TEST_F(QtxToLisTest, EveryValueComesBackFromTheLisChannels)
{
    // Small frames, and 70 frames of 32 KB that take three reads of a megabyte, the
    // last of fewer frames.
    const struct { uint16_t traces, samples; int frames; } cases[] = {{4, 64, 5}, {4, 2000, 70}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.samples);
        QtxDatumShape curve = Waveform(1, 1);
        curve.mnemonic = "DTCO";
        curve.category = kCategorySlowness;
        ASSERT_TRUE(WriteQtx(qtx, {Waveform(c.traces, c.samples), curve}, c.frames, 1000.0, 0.5, ExactSample));
        ExpectFiles();
        host.ScriptDialog(kIddWaveformPack).Press(IDOK);
        frame.Command(ID_FILE_LIS);
        EXPECT_TRUE(frame.Command(ID_QTX_TO_LIS));
        EXPECT_EQ(frame.PaneText(0), "Qtx to Lis done: wrote " + lis);

        const Walked walked = WalkLis(lis);
        if (c.frames == 5) {
            ASSERT_EQ(walked.Types(), "132 130 M 128 34 34 232 64 0 0 0 0 0 129 131 133 M M");
        }
        const auto records = walked.OfType(lis::kNormalData);
        ASSERT_EQ(records.size(), size_t(c.frames));

        CLisRead reader;
        ASSERT_TRUE(reader.Open(lis).Ok());
        const int waveform = c.traces * c.samples;
        const int values = waveform + 1;
        for (int k = 0; k < c.frames; ++k) {
            LisFrameRef ref{records[size_t(k)]->start, uint32_t(records[size_t(k)]->bytes.size()), 0,
                            1000.0 + 0.5 * k};
            float depth = 0;
            ASSERT_TRUE(reader.ReadChannel(&depth, 1, ref, LisChannelSlice{0, 4, 68}).Ok());
            EXPECT_EQ(depth, float(1000.0 + 0.5 * k));
            std::vector<float> got(static_cast<size_t>(values), 0.0f);
            ASSERT_TRUE(reader.ReadChannel(got.data(), got.size(), ref, LisChannelSlice{4, uint32_t(values * 4), 68}).Ok());
            for (int i = 0; i < waveform; ++i) ASSERT_EQ(got[size_t(i)], ExactSample(k, 0, size_t(i))) << k << ":" << i;
            EXPECT_EQ(got[size_t(waveform)], ExactSample(k, 1, 0));
        }
    }
}

TEST_F(QtxToLisTest, FourReceiverArraysAreWrittenPerReceiverWithoutAsking)
{
    ASSERT_TRUE(WriteQtx(qtx, {Waveform(2, 16), Waveform(4, 16, 21)}, 2));
    ExpectFiles();
    CQtxToLis exporter;
    exporter.Run(); // no pack question: an unexpected dialog would fail the test
    EXPECT_EQ(WalkLis(lis).OfType(lis::kNormalData).size(), 2u);
}

TEST_F(QtxToLisTest, NoFramesGivesHeadersAndTrailersOnly)
{
    // Whatever frame size the header claims: with no frames none is read or held.
    for (const uint32_t frameSize : {0u, 0x7FFFFFF0u}) {
        ASSERT_TRUE(WriteQtx(qtx, {Waveform(2, 16)}, 1));
        auto bytes = ReadBytes(qtx);
        bytes[qtx::kHdrFrameCount] = 0; // a data set of no frames
        if (frameSize) endian::PutLE32(bytes.data() + qtx::kHdrFrameSize, frameSize);
        WriteBytes(qtx, bytes);
        ExpectFiles();
        host.ScriptDialog(kIddWaveformPack).Press(IDOK);
        CQtxToLis exporter;
        exporter.Run();
        EXPECT_EQ(WalkLis(lis).Types(), "132 130 M 128 34 34 232 64 129 131 133 M M") << frameSize;
    }
}

// The output is made only once every question is answered: while the pack question is up
// no file is made or changed, and Cancel there abandons the export without a word.
TEST_F(QtxToLisTest, ThePackQuestionComesBeforeTheOutputAndCancelWritesNothing)
{
    ASSERT_TRUE(WriteQtx(qtx, {Waveform(2, 16)}, 3));
    const std::vector<uint8_t> old{'o', 'l', 'd'};
    for (const int button : {IDCANCEL, IDOK}) {
        for (const bool existing : {false, true}) { // an existing one the save dialog agreed to replace
            std::filesystem::remove(lis);
            if (existing) WriteBytes(lis, old);
            ExpectFiles();
            host.ScriptDialog(kIddWaveformPack)
                .Inspect([&](CDialog&) {
                    EXPECT_EQ(FileExists(lis), existing);
                    if (existing) {
                        EXPECT_EQ(ReadBytes(lis), old);
                    }
                })
                .Press(button);
            CQtxToLis().Run();
            if (button == IDOK) {
                EXPECT_EQ(WalkLis(lis).OfType(lis::kNormalData).size(), 3u);
            } else if (existing) {
                EXPECT_EQ(ReadBytes(lis), old);
            } else {
                EXPECT_FALSE(FileExists(lis));
            }
        }
    }
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(QtxToLisTest, StoppingLeavesNoLisFile)
{
    ASSERT_TRUE(WriteQtx(qtx, {Waveform(2, 16)}, 20));
    ExpectFiles();
    host.ScriptDialog(kIddWaveformPack).Press(IDOK);
    host.ScriptDialog(kIddProgress).Press(IDCANCEL);
    host.ExpectMessage("Are you sure you want to stop converting?", IDYES);
    frame.SetPaneText(0, "before");
    CQtxToLis exporter;
    exporter.Run();
    EXPECT_FALSE(FileExists(lis));
    EXPECT_EQ(frame.PaneText(0), "before") << "a stopped export claims nothing";
}

TEST_F(QtxToLisTest, ProposesALisNameBesideTheInput)
{
    const std::pair<std::string, std::string> cases[] = {
        {"in.qtx", "in.lis"}, {"in", "in.lis"}, {"in.lis", "in.lis.lis"}, {"dot.d/in", "dot.d/in.lis"},
    };
    for (const auto& [input, proposed] : cases) {
        host.ExpectFileDialog("Browse Qtx Input File", dir.File(input));
        host.ExpectFileDialog("Browse Lis Output File", "");
        CQtxToLis().Run();
        EXPECT_EQ(host.FileDialogs().back().options.initialName, dir.File(proposed));
    }
}

// Creating the output would truncate the input: the export stops before it, whatever
// spelling or link names the input.
TEST_F(QtxToLisTest, OutputThatIsTheInputIsRefusedAndTheInputSurvives)
{
    ASSERT_TRUE(WriteQtx(qtx, {Waveform(2, 16)}, 3));
    const std::vector<uint8_t> original = ReadBytes(qtx);
    std::filesystem::create_hard_link(qtx, dir.File("hard.lis"));
    std::filesystem::create_symlink(qtx, dir.File("soft.lis"));
    for (const std::string& output : {qtx, dir.File("./in.qtx"), dir.File("hard.lis"), dir.File("soft.lis")}) {
        host.ExpectFileDialog("Browse Qtx Input File", qtx);
        host.ExpectFileDialog("Browse Lis Output File", output);
        host.ExpectMessage("Output file is the same as input file :\n" + qtx + "\nOperation will be abandoned.");
        CQtxToLis().Run();
        EXPECT_EQ(ReadBytes(qtx), original) << output;
    }
}

TEST_F(QtxToLisTest, DamagedInputsAreReportedAndLeaveNoLisFile)
{
    struct Case {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> damage;
        const char* message;
    };
    const Case cases[] = {
        {"a frame cut short", [](std::vector<uint8_t>& b) { b.erase(b.end() - 10, b.end()); }, "Error reading frame data"},
        {"a frame size of zero", [](std::vector<uint8_t>& b) { endian::PutLE32(b.data() + qtx::kHdrFrameSize, 0); },
         "Error reading frame data"},
        {"a huge frame count", [](std::vector<uint8_t>& b) { endian::PutLE32(b.data() + qtx::kHdrFrameCount, 0x7FFFFFFF); },
         "Error reading frame data"},
        {"a header cut short", [](std::vector<uint8_t>& b) { b.erase(b.begin() + 100, b.end()); }, "Error reading header"},
        // The datums must tile each frame: otherwise their channels would hold other values.
        {"a datum over the one before it",
         [](std::vector<uint8_t>& b) { endian::PutLE32(b.data() + qtx::DataStart(1) + qtx::kDscOffset, 8); },
         "Encountered datum DTCO out of its place in the frames of file"},
        {"a datum past its frame",
         [](std::vector<uint8_t>& b) { endian::PutLE32(b.data() + qtx::DataStart(1) + qtx::kDscSize, 8); },
         "Encountered datum DTCO out of its place in the frames of file"},
        {"a frame beyond its datums",
         [](std::vector<uint8_t>& b) {
             endian::PutLE32(b.data() + qtx::kHdrFrameSize, endian::GetLE32(b.data() + qtx::kHdrFrameSize) + 4);
             b.resize(b.size() + 12);
         },
         "Error reading frame data"},
    };
    QtxDatumShape curve = Waveform(1, 1);
    curve.mnemonic = "DTCO";
    curve.category = kCategorySlowness;
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteQtx(qtx, {Waveform(2, 16), curve}, 3));
        auto bytes = ReadBytes(qtx);
        c.damage(bytes);
        WriteBytes(qtx, bytes);
        ExpectFiles();
        host.ExpectMessage(c.message);
        CQtxToLis exporter;
        exporter.Run();
        EXPECT_FALSE(FileExists(lis)) << c.what;
    }
}

// A frame depth code 68 cannot hold (no number, infinite, 2^127 or more) would come back
// as 0 or the largest depth: the export stops at it, names it, and an older file stays.
TEST_F(QtxToLisTest, ADepthCode68CannotHoldIsRefusedAndTheOlderFileStays)
{
    const std::vector<uint8_t> older = {'o', 'l', 'd'};
    const std::pair<double, const char*> cases[] = {
        {std::nan(""), "nan"}, {double(INFINITY), "inf"}, {-1e300, "-1e+300"}, {1.7014118346046923e38, "1.70141e+38"}};
    for (const auto& [depth, shown] : cases) {
        ASSERT_TRUE(WriteQtx(qtx, {Waveform(2, 16)}, 4));
        auto bytes = ReadBytes(qtx);
        endian::PutLEDouble(bytes.data() + qtx::DataStart(1) + 2 * (qtx::kDepthSize + 2 * 16 * 4), depth);
        WriteBytes(qtx, bytes);
        WriteBytes(lis, older);
        ExpectFiles();
        host.ScriptDialog(kIddWaveformPack).Press(IDOK);
        host.ExpectMessage(Format("Encountered invalid depth in file :\n%s\nFrame 3 is at depth %s, which a LIS depth "
                                  "(code 68) cannot hold.",
                                  qtx.c_str(), shown));
        CQtxToLis exporter;
        exporter.Run();
        EXPECT_EQ(ReadBytes(lis), older) << depth;
    }
}

// Frames whose depth repeats the one before or goes back against the log's direction
// are written as they stand and counted in the end message (LIS readers keep one frame
// of a depth); a log in order ends as before.
TEST_F(QtxToLisTest, FramesOutOfOrderAreCountedInTheEndMessage)
{
    const struct {
        uint8_t direction;
        std::vector<double> depths;
        int outOfOrder;
    } cases[] = {
        {qtx::kLogDown, {1000.0, 1000.5, 1001.0, 1001.5}, 0},   {qtx::kLogDown, {1000.0, 1000.0, 1000.5, 1001.0}, 1},
        {qtx::kLogDown, {1000.0, 1001.0, 1000.5, 1001.5}, 1},   {qtx::kLogUp, {1001.5, 1001.0, 1000.5, 1000.0}, 0},
        {qtx::kLogUp, {1001.5, 1001.0, 1001.0, 1002.0}, 2},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteQtx(qtx, {Waveform(2, 16)}, 4, 1000.0, 0.5, ExactSample, c.direction));
        auto bytes = ReadBytes(qtx);
        for (size_t k = 0; k < c.depths.size(); ++k)
            endian::PutLEDouble(bytes.data() + qtx::DataStart(1) + k * (qtx::kDepthSize + 2 * 16 * 4), c.depths[k]);
        WriteBytes(qtx, bytes);
        ExpectFiles();
        host.ScriptDialog(kIddWaveformPack).Press(IDOK);
        frame.Command(ID_FILE_LIS);
        EXPECT_TRUE(frame.Command(ID_QTX_TO_LIS));
        const std::string counted = Format("; %d frame(s) repeat the depth before them or go back against the log's "
                                           "direction (LIS readers keep one frame of a depth)",
                                           c.outOfOrder);
        EXPECT_EQ(frame.PaneText(0), "Qtx to Lis done: wrote " + lis + (c.outOfOrder ? counted : ""));
        EXPECT_EQ(WalkLis(lis).OfType(lis::kNormalData).size(), 4u);
    }
}

} // namespace
