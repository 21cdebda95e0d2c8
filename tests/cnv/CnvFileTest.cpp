#include "cnv/CnvFile.h"

#include "platform/Endian.h"
#include "support/CnvBuilder.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <bit>
#include <climits>
#include <cstring>
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
    if (!f.Ok() || !f.Open(path)) return false;
    f.ReadTopDepth();
    if (f.Ok()) f.ReadBottomDepth();
    if (f.Ok()) f.ReadFrameInterval();
    if (f.Ok()) f.ReadSamplingPeriod();
    if (f.Ok()) f.CountFrames();
    return f.Ok();
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

// Frame k starts at 6 + k x ((S + 1) x C x 4 + 16); each channel's samples come from
// the frame read, its leading word left out.
TEST_F(CnvFileTest, FramesAreReadAtTheirOffsetsWithTheirOwnSamples)
{
    const std::tuple<uint8_t, int16_t, uint32_t> shapes[] = {{1, 2048, 8212}, {8, 1, 80}, {3, 100, 1228}};
    for (const auto& [channels, samples, frameSize] : shapes) {
        WriteCnv(path, Shape(channels, samples, 3));
        CCnvFile file;
        ASSERT_EQ(file.Open(path), 1);
        EXPECT_EQ(file.CountFrames(), 3u);
        EXPECT_EQ(file.m_frameSize, frameSize);
        EXPECT_EQ(std::filesystem::file_size(path), 6 + 3 * frameSize);
        EXPECT_EQ(file.ReadFrame(2), 1001.0);
        for (int c = 0; c < channels; ++c)
            for (int i : {0, samples - 1})
                ASSERT_EQ(std::bit_cast<float>(endian::GetLE32(file.ChannelSamples(c) + 4 * i)), CnvSample(2, c, i));
    }
}

// The file opens read-only. The period comes from frame 0's first leading word only; a
// depth of -1.0 is a depth. With trailing bytes the bottom depth is read from the end,
// not from frame F-1, and the count then fails the exact division.
TEST_F(CnvFileTest, HeaderValuesAndTheirStatus)
{
    CnvShape shape = Shape(2, 8, 5);
    shape.samplingPeriod = -7;
    shape.depth = [](int k) { return k == 0 ? -1.0 : 2000.0 - 0.25 * k; };
    WriteCnv(path, shape);
    CCnvFile file;
    EXPECT_EQ(file.ReadToolCode(path), 30);
    ASSERT_EQ(file.Open(path), 1);
    EXPECT_EQ(AccessModeOfOpenFile(path), O_RDONLY);
    EXPECT_EQ(file.ReadTopDepth(), -1.0);
    EXPECT_TRUE(file.Ok());
    EXPECT_EQ(file.ReadBottomDepth(), 1999.0);
    EXPECT_EQ(file.ReadFrameInterval(), 2000.0 - 0.25 + 1.0);
    EXPECT_EQ(file.ReadSamplingPeriod(), -7.0);

    std::vector<uint8_t> bytes = CnvBytes(shape);
    bytes.resize(bytes.size() + 8);
    WriteBytes(path, bytes);
    EXPECT_EQ(file.ReadBottomDepth(), std::bit_cast<double>(0x5555555555555555ull));
    host.ExpectMessage("Premature EOF in file :\n" + path);
    EXPECT_EQ(file.CountFrames(), 0xFFFFFFFFu);
}

// Counts that would give a frame of no bytes, or that the reader cannot hold, are refused
// before any frame is read; the limits themselves are taken.
TEST_F(CnvFileTest, ChannelAndSampleCountsOutsideTheLimitsAreRefused)
{
    const std::tuple<uint8_t, int16_t, bool> cases[] = {{0, 8, false}, {9, 8, false},     {2, 0, false},
                                                        {2, -1, false}, {2, 2049, false}, {2, SHRT_MIN, false},
                                                        {1, 1, true},  {8, 2048, true}};
    for (const auto& [channels, samples, taken] : cases) {
        WriteCnv(path, Shape(channels, samples, 2));
        for (int twice = 0; !taken && twice < 2; ++twice)
            host.ExpectMessage("Invalid number of receivers or samples in file :\n" + path);
        CCnvFile file;
        EXPECT_EQ(file.Open(path), taken ? 1 : 0) << int(channels) << " " << samples;
        EXPECT_EQ(file.IsOpen(), taken);
        EXPECT_EQ(file.SetShape(channels, samples), taken ? 1 : 0);
    }
}

// Each short read has its message naming the file, closes it and reports a failure. A
// file of one frame has no depth step, so the scan stops there.
TEST_F(CnvFileTest, TruncatedFilesFailAtTheFirstShortRead)
{
    const std::vector<uint8_t> whole = CnvBytes(Shape(2, 8, 3));
    const size_t frameSize = CnvFrameSize(2, 8);
    const std::pair<size_t, const char*> cases[] = {
        {0, "Error reading header in file :\n"},
        {5, "Error reading header in file :\n"},
        {6 + 15, "Error reading top frame header in file :\n"},
        {6 + frameSize - 1, "Error reading XACT last shot header in file :\n"},
        {6 + frameSize, "Error reading frame header in file :\n"},
        {6 + 2 * frameSize + 1, "Premature EOF in file :\n"},
    };
    for (const auto& [length, message] : cases) {
        WriteBytes(path, std::vector<uint8_t>(whole.begin(), whole.begin() + long(length)));
        host.ExpectMessage(message + path);
        CCnvFile file;
        EXPECT_FALSE(ReadInScanOrder(file, path)) << length;
        EXPECT_FALSE(file.IsOpen()) << length;
    }
    WriteBytes(path, std::vector<uint8_t>(whole.begin(), whole.end() - 4));
    CCnvFile file;
    ASSERT_EQ(file.Open(path), 1);
    EXPECT_EQ(file.ReadFrame(1), 1000.5);
    host.ExpectMessage("Error reading frame data in file :\n" + path);
    EXPECT_EQ(file.ReadFrame(2), -1.0);
    EXPECT_FALSE(file.Ok());
    host.ExpectMessage("Could not open input file :\n" + dir.File("none.cnv"));
    EXPECT_EQ(file.ReadToolCode(dir.File("none.cnv")), 255);
}

} // namespace
