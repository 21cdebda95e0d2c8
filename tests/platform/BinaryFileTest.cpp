#include "platform/BinaryFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

namespace {

// Both backends must behave alike; each test runs on a disk file and on memory.
class BinaryFileTest : public ::testing::TestWithParam<bool> {
protected:
    TempDir dir;
    std::shared_ptr<std::vector<uint8_t>> memory = std::make_shared<std::vector<uint8_t>>();

    BinaryFile OpenFresh()
    {
        BinaryFile f;
        if (GetParam())
            EXPECT_TRUE(f.Open(dir.File("f.bin"), BinaryFile::modeReadWrite | BinaryFile::modeCreate));
        else
            f.OpenMemory(memory);
        return f;
    }
};

TEST_P(BinaryFileTest, ShortReadsReportTheirCountAndPositionsAre64Bit)
{
    BinaryFile f = OpenFresh();
    ASSERT_TRUE(f.Write("abcdef", 6));
    char buf[16] = {};
    EXPECT_EQ(f.Seek(2), 2);
    EXPECT_EQ(f.Read(buf, 10), 4u) << "short read at the end";
    EXPECT_EQ(std::string(buf, 4), "cdef");
    EXPECT_EQ(f.GetPosition(), 6);
    EXPECT_EQ(f.Read(buf, 1), 0u);

    EXPECT_EQ(f.Seek(-1), -1) << "negative target refused";
    EXPECT_EQ(f.GetPosition(), 6);
    EXPECT_EQ(f.Seek(-2, BinaryFile::end), 4);
    EXPECT_EQ(f.Seek(1, BinaryFile::current), 5);
    EXPECT_EQ(f.ReadAt(0, buf, 3), 3u);
    EXPECT_EQ(f.GetPosition(), 5) << "positional reads leave the position";

    // A position past 4 GiB reads nothing and does not wrap.
    EXPECT_EQ(f.Seek(int64_t(1) << 33), int64_t(1) << 33);
    EXPECT_EQ(f.Read(buf, 4), 0u);
}

TEST_P(BinaryFileTest, WritesPastTheEndGrowWithZerosAndAClosedFileDoesNothing)
{
    BinaryFile f = OpenFresh();
    ASSERT_TRUE(f.WriteAt(4, "xy", 2));
    char buf[6];
    ASSERT_EQ(f.ReadAt(0, buf, 6), 6u);
    EXPECT_EQ(std::memcmp(buf, "\0\0\0\0xy", 6), 0);
    ASSERT_TRUE(f.SetLength(5));
    EXPECT_EQ(f.GetLength(), 5);

    f.Close();
    EXPECT_FALSE(f.IsOpen());
    EXPECT_EQ(f.Read(buf, 1), 0u);
    EXPECT_FALSE(f.Write("a", 1));
    EXPECT_EQ(f.GetLength(), -1);
    EXPECT_EQ(f.Seek(0), -1);
}

INSTANTIATE_TEST_SUITE_P(Backends, BinaryFileTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Disk" : "Memory"; });

TEST(BinaryFile, ReadOnlyOpenRefusesWritesAndMissingFilesReportErrno)
{
    TempDir dir;
    {
        BinaryFile w;
        ASSERT_TRUE(w.Open(dir.File("a"), BinaryFile::modeWrite | BinaryFile::modeCreate));
        ASSERT_TRUE(w.Write("1234", 4));
    }
    BinaryFile r;
    ASSERT_TRUE(r.Open(dir.File("a"), BinaryFile::modeRead));
    EXPECT_FALSE(r.Write("x", 1));
    EXPECT_EQ(r.GetLength(), 4);

    BinaryFile missing;
    int error = 0;
    EXPECT_FALSE(missing.Open(dir.File("none"), BinaryFile::modeRead, &error));
    EXPECT_NE(error, 0);
    EXPECT_FALSE(missing.Open(dir.Path(), BinaryFile::modeRead, &error)) << "a folder is no file";
    EXPECT_TRUE(FileExists(dir.File("a")));
    EXPECT_FALSE(FileExists(dir.Path()));
}

TEST(BinaryFile, ReadAheadServesSmallReadsAndSeesItsOwnWrites)
{
    TempDir dir;
    BinaryFile f;
    ASSERT_TRUE(f.Open(dir.File("ra.bin"), BinaryFile::modeReadWrite | BinaryFile::modeCreate));
    std::vector<uint8_t> bytes(300 * 1024);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 7);
    ASSERT_TRUE(f.Write(bytes.data(), bytes.size()));
    f.EnableReadAhead();
    uint8_t b[20];
    // Reads inside, across the end of and beyond the window all give the file's bytes.
    for (int64_t at : {int64_t(0), int64_t(100), int64_t(256 * 1024 - 10), int64_t(290 * 1024), int64_t(300 * 1024 - 5)}) {
        const size_t got = f.ReadAt(at, b, sizeof b);
        ASSERT_EQ(got, std::min<size_t>(sizeof b, bytes.size() - size_t(at))) << at;
        for (size_t i = 0; i < got; ++i) ASSERT_EQ(b[i], bytes[size_t(at) + i]) << at;
    }
    // Reads on several threads go past the window and leave it as it was.
    std::vector<std::thread> readers;
    std::vector<int> wrong(4, 0);
    for (size_t t = 0; t < wrong.size(); ++t)
        readers.emplace_back([&, t] {
            uint8_t mine[64];
            for (int64_t at = int64_t(t) * 997; at + 64 <= int64_t(bytes.size()); at += 4093) {
                wrong[t] += f.ReadAtOnAnyThread(at, mine, sizeof mine) != sizeof mine;
                wrong[t] += std::memcmp(mine, bytes.data() + at, sizeof mine) != 0;
            }
        });
    for (std::thread& r : readers) r.join();
    for (int w : wrong) EXPECT_EQ(w, 0);
    ASSERT_EQ(f.ReadAt(300 * 1024 - 5, b, 5), 5u);
    EXPECT_EQ(std::memcmp(b, bytes.data() + 300 * 1024 - 5, 5), 0);
    const uint8_t changed[3] = {1, 2, 3};
    ASSERT_TRUE(f.WriteAt(100, changed, 3));
    ASSERT_EQ(f.ReadAt(100, b, 3), 3u);
    EXPECT_EQ(std::memcmp(b, changed, 3), 0) << "a write renews the window";
    ASSERT_TRUE(f.SetLength(50));
    EXPECT_EQ(f.ReadAt(60, b, 3), 0u);
}

// The fault hook: the crossing write puts what fits, that and every later disk write
// fail, memory buffers are untouched, and lifting it restores writing.
TEST(WriteFaultTest, ADiskWriteFailsWhereTheBudgetEnds)
{
    TempDir dir;
    BinaryFile f;
    ASSERT_TRUE(f.Open(dir.File("f.bin"), BinaryFile::modeReadWrite | BinaryFile::modeCreate));
    auto memory = std::make_shared<std::vector<uint8_t>>();
    BinaryFile m;
    m.OpenMemory(memory);
    {
        ScopedWriteFault fault(5);
        EXPECT_TRUE(f.Write("abc", 3));
        EXPECT_FALSE(WriteFault::Tripped());
        EXPECT_FALSE(f.Write("defg", 4));
        EXPECT_TRUE(WriteFault::Tripped());
        EXPECT_EQ(f.GetLength(), 5) << "the bytes that fit were put";
        EXPECT_FALSE(f.WriteAt(0, "x", 1));
        EXPECT_TRUE(m.Write("memory", 6));
    }
    EXPECT_TRUE(f.Write("hi", 2));
    EXPECT_EQ(WriteFault::Written(), 0) << "nothing counted while off";
}

} // namespace
