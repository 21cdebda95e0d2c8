#include "dataset/QtxFrameWriter.h"

#include "dataset/QtxFile.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <cmath>
#include <vector>

namespace {

class QtxFrameWriterTest : public HostTest {
protected:
    TempDir dir;
    std::string path = dir.File("out.qtx");
    CQtxFile out;

    // One datum of 3 traces x 50 samples behind the depth: 608-byte frames.
    void OpenOutput()
    {
        ASSERT_TRUE(out.OpenWrite(path).Ok());
        CQtxDescriptorList list;
        ASSERT_TRUE(out.AddDatum(list, "WMNO", 1, 1, kCategoryWaveform, 3, kUnitMicroseconds, 10.0f, 50, 0).Ok());
        QtxFileHeader header;
        header.depthStep = 0.5;
        out.SetHeader(header);
        ASSERT_TRUE(out.WriteHeader().Ok());
        ASSERT_TRUE(out.WriteDescriptors(list).Ok());
    }
};

TEST_F(QtxFrameWriterTest, FramesWrittenInSmallPiecesReadBackBitForBit)
{
    OpenOutput();
    CQtxFrameWriter writer(out, 100); // smaller than one frame: every frame crosses pieces
    std::vector<float> values(150);
    for (int f = 0; f < 4; ++f) {
        for (size_t i = 0; i < values.size(); ++i) values[i] = float(f * 1000) + float(i);
        values[7] = NAN;
        ASSERT_TRUE(writer.WriteDepth(1000.0 + 0.5 * f).Ok());
        ASSERT_TRUE(writer.WriteValues(values.data(), values.size()).Ok());
    }
    ASSERT_TRUE(writer.Finalize().Ok());

    CQtxFile in;
    ASSERT_TRUE(in.OpenRead(path).Ok());
    EXPECT_EQ(in.GetFrameCount(), 4u);
    EXPECT_EQ(in.GetTopDepth(), 1000.0);
    EXPECT_EQ(in.GetBottomDepth(), 1001.5);
    std::vector<float> back(150);
    ASSERT_TRUE(in.ReadFrameItem(3, 8, 3, 50, back.data(), back.size()).Ok());
    EXPECT_EQ(back[149], 3149.0f);
    EXPECT_TRUE(std::isnan(back[7]));
}

TEST_F(QtxFrameWriterTest, AHeaderCountsOnlyTheWholeFramesWritten)
{
    struct Case {
        int wholeFrames;
        size_t tornValues; // values of one more frame written before the run gave up
    };
    for (const Case& c : {Case{2, 40}, Case{0, 40}, Case{0, 0}}) {
        const std::vector<uint8_t> before = ReadBytes(path);
        OpenOutput();
        CQtxFrameWriter writer(out);
        std::vector<float> values(150, 1.0f);
        for (int f = 0; f < c.wholeFrames; ++f) {
            ASSERT_TRUE(writer.WriteDepth(2000.0 + 0.5 * f).Ok());
            ASSERT_TRUE(writer.WriteValues(values.data(), values.size()).Ok());
        }
        if (c.tornValues) {
            ASSERT_TRUE(writer.WriteDepth(2000.0 + 0.5 * c.wholeFrames).Ok());
            ASSERT_TRUE(writer.WriteValues(values.data(), c.tornValues).Ok());
        }
        (void)OkOrShow(writer.Finalize()); // what it left is checked below
        EXPECT_FALSE(out.OutputOpen());
        if (c.wholeFrames == 0) {
            // No whole frame, no data set: the name keeps what it held.
            EXPECT_EQ(ReadBytes(path), before) << c.tornValues;
            continue;
        }
        CQtxFile in;
        ASSERT_TRUE(in.OpenRead(path).Ok());
        EXPECT_EQ(in.GetFrameCount(), uint32_t(c.wholeFrames)) << c.wholeFrames << " " << c.tornValues;
        EXPECT_EQ(ReadBytes(path).size(), qtx::DataStart(1) + size_t(c.wholeFrames) * 608);
    }
}

// The writer's last guard: a depth that breaks the header's rule is refused with the
// importers' message before any of its frame is gathered; the frames before it are kept.
// Without the rule held, only a depth that is no number is refused.
TEST_F(QtxFrameWriterTest, ADepthThatBreaksTheHeadersRuleIsRefused)
{
    const struct {
        double bad;
        std::string detail;
    } cases[] = {
        {NAN, "Frame 3 has no finite depth (nan)."},
        {1002.0, "Frame 3 is at depth 1002.0000 after 1000.5000: not one step of 0.5000 DOWN."},
    };
    std::vector<float> values(150, 1.0f);
    for (const auto& c : cases) {
        OpenOutput();
        CQtxFrameWriter writer(out);
        writer.HoldDepthRule();
        for (double depth : {1000.0, 1000.5}) {
            ASSERT_TRUE(writer.WriteDepth(depth).Ok());
            ASSERT_TRUE(writer.WriteValues(values.data(), values.size()).Ok());
        }
        host.ExpectMessage("Encountered invalid depth step in file :\n" + path + "\n" + c.detail +
                           "\nA data set needs evenly spaced depths in one direction.\nOperation will be abandoned.");
        EXPECT_EQ(OkOrShow(writer.WriteDepth(c.bad)), 0) << c.detail;
        ASSERT_TRUE(writer.Finalize().Ok());
        const QtxImage image = LoadQtx(path);
        EXPECT_EQ(image.depths, (std::vector<double>{1000.0, 1000.5})) << c.detail;
        EXPECT_EQ(image.tornBytes, 0u) << c.detail;
    }
}

TEST_F(QtxFrameWriterTest, WithoutTheRuleHeldOnlyDepthsThatAreNoNumberAreRefused)
{
    OpenOutput();
    CQtxFrameWriter writer(out);
    std::vector<float> values(150, 1.0f);
    for (double depth : {1000.0, 999.0, 1003.0}) { // any order: a source of its own depths
        ASSERT_TRUE(writer.WriteDepth(depth).Ok()) << depth;
        ASSERT_TRUE(writer.WriteValues(values.data(), values.size()).Ok());
    }
    host.ExpectMessage("Encountered invalid depth step in file :\n" + path +
                       "\nFrame 4 has no finite depth (-inf).\nA data set needs evenly spaced depths in one direction.\nOperation will be abandoned.");
    EXPECT_FALSE(OkOrShow(writer.WriteDepth(-INFINITY)));
    ASSERT_TRUE(writer.Finalize().Ok());
    EXPECT_EQ(LoadQtx(path).depths.size(), 3u);
}

} // namespace
