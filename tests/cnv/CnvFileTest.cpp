#include "cnv/CnvFile.h"

#include "platform/Endian.h"
#include "support/CnvBuilder.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <bit>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <fstream>

namespace {

class CnvFileTest : public HostTest {
protected:
    TempDir dir;
    std::string path = dir.File("in.cnv");
};

// The scanner's reads in its order, stopping at the first failure; true when all succeed.
bool ReadInScanOrder(CCnvFile& f, const std::string& path)
{
    f.ReadToolCode(path);
    if (!OkOrShow(f.LastStatus()) || !OkOrShow(f.Open(path))) return false;
    f.ReadTopDepth();
    if (f.Ok()) f.ReadBottomDepth();
    if (f.Ok()) f.ReadFrameInterval();
    if (f.Ok()) f.ReadSamplingPeriod();
    if (f.Ok()) f.CountFrames();
    return OkOrShow(f.LastStatus());
}

// Access mode of this process's descriptor on `path` (from /proc); -1 when none.
int AccessModeOfOpenFile(const std::string& path)
{
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(fd.path(), error) != std::filesystem::path(path)) continue;
        std::ifstream info("/proc/self/fdinfo/" + fd.path().filename().string());
        for (std::string key, value; info >> key >> value;)
            if (key == "flags:") return int(std::stol(value, nullptr, 8) & O_ACCMODE);
    }
    return -1;
}

// Frame k starts at 6 + k x ((S + 1) x C x 4 + 16); each channel's samples come from the
// frame read, its leading word left out. The file opens read-only; the period comes from
// frame 0's first leading word only; a depth of -1.0 is a depth, not a failure.
TEST_F(CnvFileTest, FramesAndHeaderValuesAreReadWhereTheyLie)
{
    for (const auto& [channels, samples, frameSize] : {std::tuple(1, 2048, 8212u), std::tuple(3, 100, 1228u)}) {
        CnvShape shape = Shape(uint8_t(channels), int16_t(samples), 5);
        shape.samplingPeriod = -7;
        shape.top = -1.0;
        shape.step = -0.25;
        WriteCnv(path, shape);
        CCnvFile file;
        EXPECT_EQ(file.ReadToolCode(path), 30);
        ASSERT_TRUE(file.Open(path).Ok());
        EXPECT_EQ(AccessModeOfOpenFile(path), O_RDONLY);
        EXPECT_EQ(std::tuple(file.ReadTopDepth(), file.ReadBottomDepth(), file.ReadFrameInterval()),
                  std::tuple(-1.0, -2.0, -0.25));
        EXPECT_EQ(file.ReadSamplingPeriod(), -7.0);
        EXPECT_EQ(std::pair(file.CountFrames(), file.m_frameSize), std::pair(5u, frameSize));
        EXPECT_EQ(file.ReadFrame(3), -1.75);
        EXPECT_TRUE(file.Ok());
        for (int c = 0; c < channels; ++c)
            for (int i : {0, samples - 1})
                ASSERT_EQ(std::bit_cast<float>(endian::GetLE32(file.ChannelSamples(c) + 4 * i)), CnvSample(3, c, i));
    }
}

// With trailing bytes the last header is read from the end, not from frame F-1, and the
// count then fails the exact division.
TEST_F(CnvFileTest, BottomDepthComesFromTheEndOfTheFile)
{
    std::vector<uint8_t> bytes = CnvBytes(Shape(2, 8, 3));
    bytes.resize(bytes.size() + 8);
    WriteBytes(path, bytes);
    CCnvFile file;
    ASSERT_TRUE(file.Open(path).Ok());
    EXPECT_EQ(file.ReadBottomDepth(), std::bit_cast<double>(0x5555555555555555ull));
    EXPECT_EQ(file.CountFrames(), 0xFFFFFFFFu);
    EXPECT_TRUE(host.Messages().empty()) << "the reader shows nothing itself";
    host.ExpectMessage("Premature EOF in file :\n" + path);
    EXPECT_FALSE(OkOrShow(file.LastStatus()));
}

// Each failure has its message naming the file, closes it and reports itself. Counts
// that would give a frame of no bytes, or that the reader cannot hold, are refused with
// the header; a file of one frame has no depth step, so the scan stops there.
TEST_F(CnvFileTest, BadFilesFailAtTheFirstProblem)
{
    const std::vector<uint8_t> whole = CnvBytes(Shape(2, 8, 3));
    const size_t frameSize = CnvFrameSize(2, 8);
    auto cut = [&](size_t length) { return std::vector<uint8_t>(whole.begin(), whole.begin() + long(length)); };
    const std::string invalid = "Invalid number of receivers or samples in file :\n";
    const std::pair<std::vector<uint8_t>, std::string> cases[] = {
        {cut(0), "Error reading header in file :\n"},
        {cut(5), "Error reading header in file :\n"},
        {cut(6 + 15), "Error reading top frame header in file :\n"},
        {cut(6 + frameSize - 1), "Error reading XACT last shot header in file :\n"},
        {cut(6 + frameSize), "Error reading frame header in file :\n"},
        {cut(6 + 2 * frameSize + 1), "Premature EOF in file :\n"},
        {CnvBytes(Shape(0, 8, 2)), invalid},   {CnvBytes(Shape(9, 8, 2)), invalid},
        {CnvBytes(Shape(2, 0, 2)), invalid},   {CnvBytes(Shape(2, -1, 2)), invalid},
        {CnvBytes(Shape(2, 2049, 2)), invalid}, {CnvBytes(Shape(2, SHRT_MIN, 2)), invalid},
    };
    for (const auto& [bytes, message] : cases) {
        WriteBytes(path, bytes);
        host.ExpectMessage(message + path);
        CCnvFile file;
        EXPECT_FALSE(ReadInScanOrder(file, path)) << message;
        EXPECT_FALSE(file.IsOpen()) << message;
    }
    WriteBytes(path, cut(whole.size() - 4));
    CCnvFile file;
    ASSERT_TRUE(file.Open(path).Ok());
    EXPECT_EQ(file.ReadFrame(2), -1.0);
    EXPECT_EQ(file.LastStatus().Message(), "Error reading frame data in file :\n" + path);
    EXPECT_EQ(file.ReadToolCode(dir.File("none.cnv")), 255);
    EXPECT_FALSE(file.Ok());
    host.ExpectMessage("Could not open input file :\n" + dir.File("none.cnv"));
    EXPECT_FALSE(OkOrShow(file.LastStatus()));
}

} // namespace
