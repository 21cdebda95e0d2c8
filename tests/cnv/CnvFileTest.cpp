#include "cnv/CnvFile.h"

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
#include <functional>

namespace {

class CnvFileTest : public HostTest {
protected:
    TempDir dir;
    std::string path = dir.File("in.cnv");

    std::vector<uint8_t> Write(const CnvShape& shape, size_t extraBytes = 0)
    {
        std::vector<uint8_t> bytes = CnvBytes(shape);
        bytes.resize(bytes.size() + extraBytes, 0xAB);
        WriteBytes(path, bytes);
        return bytes;
    }
};

// The scanner's reads in its order, stopping at the first failure; true when all succeed.
bool ReadInScanOrder(CCnvFile& f, const std::string& path)
{
    f.ReadToolCode(path);
    if (!f.Ok() || !f.Open(path)) return false;
    const std::function<void()> reads[] = {[&] { f.ReadTopDepth(); }, [&] { f.ReadBottomDepth(); },
                                           [&] { f.ReadFrameInterval(); }, [&] { f.ReadSamplingPeriod(); },
                                           [&] { f.CountFrames(); }};
    for (const auto& read : reads) {
        read();
        if (!f.Ok()) return false;
    }
    return true;
}

// Access mode of the process's descriptors on `path` (from /proc); -1 when none.
int AccessModeOfOpenFile(const std::string& path)
{
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(fd.path(), error) != std::filesystem::path(path)) continue;
        std::ifstream info("/proc/self/fdinfo/" + fd.path().filename().string());
        std::string key, value;
        while (info >> key >> value)
            if (key == "flags:") return int(std::stol(value, nullptr, 8) & O_ACCMODE);
    }
    return -1;
}

// Frame k starts at 6 + k x ((S + 1) x C x 4 + 16); every channel's samples come whole
// from the frame read, the leading words left out.
TEST_F(CnvFileTest, FramesAreReadAtTheirOffsetsWithTheirOwnSamples)
{
    struct Case {
        uint8_t channels;
        int16_t samples;
        uint32_t frameSize;
    };
    for (const Case c : {Case{1, 2048, 8212}, Case{8, 1, 80}, Case{3, 100, 1228}}) {
        CnvShape shape;
        shape.channels = c.channels;
        shape.samples = c.samples;
        shape.frames = 3;
        Write(shape);
        CCnvFile file;
        ASSERT_EQ(file.Open(path), 1);
        EXPECT_EQ(file.CountFrames(), 3u);
        EXPECT_EQ(file.m_frameSize, c.frameSize);
        EXPECT_EQ(std::filesystem::file_size(path), 6 + 3 * c.frameSize);
        EXPECT_EQ(file.ReadFrame(2), 1001.0);
        for (int ch = 0; ch < c.channels; ++ch)
            for (int i : {0, c.samples - 1}) {
                float got;
                std::memcpy(&got, file.ChannelSamples(ch) + 4 * i, 4);
                ASSERT_EQ(got, CnvSample(2, ch, i)) << int(c.channels) << " " << ch << " " << i;
            }
    }
}

// Top from frame 0, bottom from the end, step from frames 0 and 1, period from frame 0's
// first leading word only; a depth of -1.0 is a depth, not a failure.
TEST_F(CnvFileTest, HeaderValuesAndTheirStatus)
{
    CnvShape shape;
    shape.frames = 5;
    shape.samplingPeriod = -7;
    shape.depth = [](int k) { return k == 0 ? -1.0 : 2000.0 - 0.25 * k; };
    Write(shape);
    CCnvFile file;
    EXPECT_EQ(file.ReadToolCode(path), 30);
    EXPECT_FALSE(file.IsOpen());
    ASSERT_EQ(file.Open(path), 1);
    EXPECT_EQ(AccessModeOfOpenFile(path), O_RDONLY);
    EXPECT_EQ(file.ReadTopDepth(), -1.0);
    EXPECT_TRUE(file.Ok());
    EXPECT_EQ(file.ReadBottomDepth(), 1999.0);
    EXPECT_EQ(file.ReadFrameInterval(), 2000.0 - 0.25 + 1.0);
    EXPECT_EQ(file.ReadSamplingPeriod(), -7.0);
    EXPECT_EQ(file.ReadFrame(0), -1.0);
    EXPECT_TRUE(file.Ok());
}

// Counts that would give a frame of no bytes, or that the reader cannot hold, are
// refused with the header read; the limits themselves are taken.
TEST_F(CnvFileTest, ChannelAndSampleCountsOutsideTheLimitsAreRefused)
{
    struct Case {
        uint8_t channels;
        int16_t samples;
        bool taken;
    };
    const Case cases[] = {{0, 8, false}, {9, 8, false},  {255, 8, false}, {2, 0, false}, {2, -1, false},
                          {2, 2049, false}, {2, SHRT_MIN, false}, {1, 1, true}, {8, 2048, true}};
    for (const Case c : cases) {
        CnvShape shape;
        shape.channels = c.channels;
        shape.samples = c.samples;
        shape.frames = 2;
        Write(shape);
        for (int twice = 0; !c.taken && twice < 2; ++twice)
            host.ExpectMessage("Invalid number of receivers or samples in file :\n" + path);
        CCnvFile file;
        EXPECT_EQ(file.Open(path), c.taken ? 1 : 0) << int(c.channels) << " " << c.samples;
        EXPECT_EQ(file.IsOpen(), c.taken);
        EXPECT_EQ(file.SetShape(c.channels, c.samples), c.taken ? 1 : 0);
    }
}

// Each short read has its own message naming the file, closes it and reports a failure.
TEST_F(CnvFileTest, TruncatedFilesFailAtTheFirstShortRead)
{
    CnvShape shape;
    shape.frames = 3;
    const std::vector<uint8_t> whole = CnvBytes(shape);
    const size_t frameSize = CnvFrameSize(2, 8);
    struct Case {
        size_t length;
        const char* message;
    };
    const Case cases[] = {
        {0, "Error reading header in file :\n"},
        {5, "Error reading header in file :\n"},
        {6 + 15, "Error reading top frame header in file :\n"},
        {6 + frameSize - 1, "Error reading XACT last shot header in file :\n"},
        {6 + frameSize, "Error reading frame header in file :\n"}, // one frame: no interval
        {6 + 2 * frameSize + 1, "Premature EOF in file :\n"},
    };
    for (const Case c : cases) {
        WriteBytes(path, std::vector<uint8_t>(whole.begin(), whole.begin() + long(c.length)));
        host.ExpectMessage(c.message + path);
        CCnvFile file;
        EXPECT_FALSE(ReadInScanOrder(file, path)) << c.length;
        EXPECT_FALSE(file.IsOpen()) << c.length;
    }
    EXPECT_EQ(host.Messages().size(), std::size(cases));
}

// With trailing bytes the last header is read from the end, not from frame F-1, and the
// frame count then fails the exact division.
TEST_F(CnvFileTest, BottomDepthComesFromTheEndOfTheFile)
{
    CnvShape shape;
    shape.frames = 3;
    Write(shape, 8);
    CCnvFile file;
    ASSERT_EQ(file.Open(path), 1);
    EXPECT_EQ(file.ReadBottomDepth(), std::bit_cast<double>(0x5555555555555555ull));
    host.ExpectMessage("Premature EOF in file :\n" + path);
    EXPECT_EQ(file.CountFrames(), 0xFFFFFFFFu);
}

TEST_F(CnvFileTest, AFrameCutShortIsAFrameDataError)
{
    CnvShape shape;
    shape.frames = 2;
    const std::vector<uint8_t> bytes = Write(shape);
    WriteBytes(path, std::vector<uint8_t>(bytes.begin(), bytes.end() - 4));
    CCnvFile file;
    ASSERT_EQ(file.Open(path), 1);
    EXPECT_EQ(file.ReadFrame(0), 1000.0);
    host.ExpectMessage("Error reading frame data in file :\n" + path);
    EXPECT_EQ(file.ReadFrame(1), -1.0);
    EXPECT_FALSE(file.Ok());
    host.ExpectMessage("Error reading frame header in file :\n" + path);
    EXPECT_EQ(file.ReadFrame(7), -1.0);
}

TEST_F(CnvFileTest, AMissingFileCannotBeOpened)
{
    CCnvFile file;
    host.ExpectMessage("Could not open input file :\n" + dir.File("none.cnv"));
    EXPECT_EQ(file.ReadToolCode(dir.File("none.cnv")), 255);
    EXPECT_FALSE(file.Ok());
}

} // namespace
