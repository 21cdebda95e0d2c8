#include "dataset/QtxFile.h"

#include "platform/Endian.h"
#include "support/HostFixture.h"
#include "support/KilledWriter.h"
#include "support/OutputChecks.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>

using namespace endian;

namespace {

const std::vector<float> kZeros(qtx::kDataBufferFloats);

// The access modes (O_RDONLY, O_WRONLY, O_RDWR) of this process's descriptors open on `path`.
std::vector<int> AccessModesOpenOn(const std::string& path)
{
    std::vector<int> modes;
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(fd.path(), error) != path) continue;
        std::ifstream info("/proc/self/fdinfo/" + fd.path().filename().string());
        std::string key;
        std::string flags;
        while (info >> key >> flags)
            if (key == "flags:") modes.push_back(int(std::stoul(flags, nullptr, 8)) & O_ACCMODE);
    }
    return modes;
}

class QtxFileTest : public HostTest {
protected:
    TempDir dir;
    std::string path = dir.File("set.qtx");

    static QtxDatumShape Waveform(uint16_t traces = 8, uint16_t samples = 1024)
    {
        QtxDatumShape d;
        d.mnemonic = "WMNO";
        d.typeCode = 26;
        d.category = kCategoryWaveform;
        d.traces = traces;
        d.samples = samples;
        d.unit = kUnitMicroseconds;
        d.step = 10.0f;
        return d;
    }
    static QtxDatumShape SembMap()
    {
        QtxDatumShape d;
        d.mnemonic = "SMCO";
        d.typeCode = 31;
        d.category = kCategorySemblanceMap;
        d.traces = 1;
        d.samples = 40;
        d.unit = kUnitMicrosecondsPerFoot;
        d.step = 2.5f;
        d.samples2 = 300;
        d.unit2 = kUnitMicroseconds;
        d.step2 = 20.0f;
        return d;
    }
};

// ---- layout ------------------------------------------------------------------

TEST(QtxLayout, EveryFieldSitsAtItsByteOffset)
{
    QtxFileHeader h;
    h.logDirection = 0xFF;
    h.depthUnits = 0x01;
    h.frameCount = 0x11223344;
    h.frameSize = 0x55667788;
    h.topDepth = 1234.5;
    h.bottomDepth = -6.25;
    h.depthStep = 0.125;
    h.datumCount = 0xA1B2;
    h.history[0] = '*';
    h.history[4095] = '!';
    uint8_t hb[qtx::kHeaderSize];
    h.Encode(hb);
    EXPECT_EQ(hb[0], 0xFF);
    EXPECT_EQ(hb[1], 0x01);
    EXPECT_EQ(GetLE32(hb + 2), 0x11223344u);
    EXPECT_EQ(GetLE32(hb + 6), 0x55667788u);
    EXPECT_EQ(GetLEDouble(hb + 10), 1234.5);
    EXPECT_EQ(GetLEDouble(hb + 18), -6.25);
    EXPECT_EQ(GetLEDouble(hb + 26), 0.125);
    EXPECT_EQ(GetLE16(hb + 34), 0xA1B2);
    EXPECT_EQ(hb[36], '*');
    EXPECT_EQ(hb[4131], '!');

    QtxDatumDescriptor d;
    std::memcpy(d.mnemonic, "DTCO", 4);
    d.typeCode = 0x21;
    d.category = 0x03;
    d.typeCode2 = 0x44;
    d.datumNumber = 0x0506;
    d.traceCount = 0x0708;
    d.axisCount = 0x090A;
    d.offset = 0x0B0C0D0E;
    d.size = 0x0F101112;
    d.axis1 = {0x02, 0x1314, 0x1516, 1.5f};
    d.axis2 = {0xFF, 0x1718, 0x191A, -2.0f};
    uint8_t db[qtx::kDescriptorSize];
    d.Encode(db);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(db), 4), "DTCO");
    EXPECT_EQ(db[4], 0x21);
    EXPECT_EQ(db[5], 0x03);
    EXPECT_EQ(db[6], 0x44);
    EXPECT_EQ(GetLE16(db + 7), 0x0506);
    EXPECT_EQ(GetLE16(db + 9), 0x0708);
    EXPECT_EQ(GetLE16(db + 11), 0x090A);
    EXPECT_EQ(GetLE32(db + 13), 0x0B0C0D0Eu);
    EXPECT_EQ(GetLE32(db + 17), 0x0F101112u);
    EXPECT_EQ(db[21], 0x02);
    EXPECT_EQ(GetLE16(db + 22), 0x1314);
    EXPECT_EQ(GetLE16(db + 24), 0x1516);
    EXPECT_EQ(GetLEFloat(db + 26), 1.5f);
    EXPECT_EQ(db[30], 0xFF);
    EXPECT_EQ(GetLE16(db + 31), 0x1718);
    EXPECT_EQ(GetLE16(db + 33), 0x191A);
    EXPECT_EQ(GetLEFloat(db + 35), -2.0f);

    QtxFileHeader h2;
    h2.Decode(hb);
    QtxDatumDescriptor d2;
    d2.Decode(db);
    uint8_t hb2[qtx::kHeaderSize], db2[qtx::kDescriptorSize];
    h2.Encode(hb2);
    d2.Encode(db2);
    EXPECT_EQ(0, std::memcmp(hb, hb2, sizeof hb));
    EXPECT_EQ(0, std::memcmp(db, db2, sizeof db));
}

// ---- writing -------------------------------------------------------------------

TEST_F(QtxFileTest, EightByThousandWaveformLaysOutAsOneFrameOf32776Bytes)
{
    ASSERT_TRUE(WriteQtx(path, {Waveform()}, 2));
    const auto bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 4132u + 39u + 2u * 32776u);
    EXPECT_EQ(GetLE32(bytes.data() + 6), 32776u);
    EXPECT_EQ(GetLE16(bytes.data() + 34), 1);
    const uint8_t* d = bytes.data() + 4132;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(d), 4), "WMNO");
    EXPECT_EQ(d[6], 26) << "second type byte carries the item type code";
    EXPECT_EQ(GetLE16(d + 7), 1) << "datums are numbered from 1";
    EXPECT_EQ(GetLE32(d + 13), 8u);
    EXPECT_EQ(GetLE32(d + 17), 32768u);
    EXPECT_EQ(d[30], 0xFF);
    EXPECT_EQ(GetLE16(d + 31), 0);
    EXPECT_EQ(GetLE16(d + 33), 1);
    EXPECT_EQ(GetLEFloat(d + 35), 0.0f);
    EXPECT_EQ(GetLEDouble(bytes.data() + 4171), 1000.0) << "frame 0 opens with its depth";
}

TEST_F(QtxFileTest, WrittenDataSetReadsBackFrameByFrame)
{
    const std::vector<QtxDatumShape> datums{Waveform(4, 600), SembMap(), Waveform(1, 1)};
    ASSERT_TRUE(WriteQtx(path, datums, 5, 2000.0, -0.5, DefaultSample, qtx::kLogUp));

    CQtxFile in;
    ASSERT_TRUE(in.OpenRead(path).Ok());
    EXPECT_EQ(in.GetFrameCount(), 5u);
    EXPECT_EQ(in.GetTopDepth(), 2000.0);
    EXPECT_EQ(in.GetBottomDepth(), 1998.0);
    EXPECT_EQ(in.GetDepthStep(), -0.5);
    const uint32_t frameSize = 8 + 4 * 600 * 4 + 40 * 300 * 4 + 4;
    EXPECT_EQ(in.GetFrameSize(), frameSize);
    EXPECT_EQ(ReadBytes(path).size(), 4132u + 3u * 39u + 5u * frameSize);

    CQtxDatumList list;
    ASSERT_TRUE(in.ReadDatumList(list).Ok());
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[1]->m_axisCount, 2);
    EXPECT_EQ(list[1]->m_offset, 8u + 4u * 600u * 4u);
    EXPECT_EQ(list[1]->m_axis2.m_sampleCount, 300);
    EXPECT_EQ(list[0]->m_axis2.m_sampleCount, 0) << "one-axis datums keep a zero second axis";
    EXPECT_EQ(list[2]->m_offset, frameSize - 4);

    // Frames read in any order; each datum holds exactly what was written.
    std::vector<float> buf(40 * 300);
    for (int frame : {4, 0, 2}) {
        for (int j = 0; j < 3; ++j) {
            const auto& d = *list[size_t(j)];
            const int rows = d.m_axisCount == 2 ? d.m_axis2.m_sampleCount : 1;
            const int n1 = d.m_traceCount * rows;
            ASSERT_TRUE(in.ReadFrameItem(frame, int(d.m_offset), n1, d.m_axis1.m_sampleCount, buf.data()).Ok());
            for (size_t i = 0; i < size_t(n1) * d.m_axis1.m_sampleCount; i += 97)
                ASSERT_EQ(buf[i], DefaultSample(frame, j, i)) << "frame " << frame << " datum " << j;
        }
        float depth[2];
        ASSERT_TRUE(in.ReadFrameItem(frame, 0, 1, 2, depth).Ok());
        double d;
        std::memcpy(&d, depth, 8);
        EXPECT_EQ(d, 2000.0 - 0.5 * frame);
    }
}

TEST_F(QtxFileTest, DataSetWithoutDatumsHasEightByteFrames)
{
    ASSERT_TRUE(WriteQtx(path, {}, 3, 10.0, 1.0));
    const auto bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 4132u + 3u * 8u);
    EXPECT_EQ(GetLEDouble(bytes.data() + 4132), 10.0);
    CQtxFile in;
    ASSERT_TRUE(in.OpenRead(path).Ok());
    EXPECT_EQ(in.GetFrameSize(), 8u);
    EXPECT_EQ(in.GetBottomDepth(), 12.0);
    CQtxDatumList list;
    EXPECT_TRUE(in.ReadDatumList(list).Ok());
    EXPECT_TRUE(list.empty());
}

// A data set is known by its header and descriptors alone, where every field is one the
// format gives: a file of another format whose first bytes happen to read as direction
// and units is not taken for one, and a data set whose end was damaged still is, told
// apart by its length. A header of no datums has only its length to vouch for it.
TEST_F(QtxFileTest, ADataSetIsKnownByItsHeaderAndDescriptorsWhateverItsLength)
{
    using Bytes = std::vector<uint8_t>;
    ASSERT_TRUE(WriteQtx(path, {QtxDatumShape{"DT"}, QtxDatumShape{"WAVE", 0, 1, 8, 64}}, 10, 1000.0, 0.5));
    const Bytes written = ReadBytes(path);
    const std::ptrdiff_t frameSize = 8 + 4 + 8 * 64 * 4;
    auto with = [&](const std::function<void(Bytes&)>& change) {
        Bytes b = written;
        change(b);
        return b;
    };
    auto field16 = [](size_t at, uint16_t v) { return [=](Bytes& b) { PutLE16(b.data() + at, v); }; };
    QtxFileHeader noDatums;
    noDatums.frameCount = 3;
    noDatums.frameSize = 8;
    QtxFileHeader shortFrames = noDatums;
    shortFrames.frameSize = 4;
    Bytes lis(5000, 0x20); // a LIS record of 257 bytes first, whose length reads as "up, feet"
    PutBE16(lis.data(), 257);
    lis[4] = 128;
    const struct {
        const char* what;
        Bytes bytes;
        bool dataSet;
        bool whole = true; // its length that of its frames
    } cases[] = {
        {"as written", written, true},
        {"up, in metres", with([](Bytes& b) { b[0] = qtx::kLogUp, b[1] = qtx::kUnitsMetres; }), true},
        {"no datums", RawQtx(noDatums, {}, Bytes(24, 0)), true},
        {"direction 0", with([](Bytes& b) { b[0] = 0; }), false},
        {"units 2", with([](Bytes& b) { b[1] = 2; }), false},
        {"frames shorter than their depth", RawQtx(shortFrames, {}, Bytes(12, 0)), false},
        {"one byte more", with([](Bytes& b) { b.push_back(0); }), true, false},
        {"one byte cut", Bytes(written.begin(), written.end() - 1), true, false},
        {"CR LF appended", with([](Bytes& b) { b.insert(b.end(), {'\r', '\n'}); }), true, false},
        {"padded to 512 bytes", with([](Bytes& b) { b.resize((b.size() / 512 + 1) * 512); }), true, false},
        {"cut inside the last frame", Bytes(written.begin(), written.end() - frameSize / 2), true, false},
        {"a frame fewer than counted", Bytes(written.begin(), written.end() - frameSize), true, false},
        {"descriptors only", Bytes(written.begin(), written.begin() + qtx::DataStart(2)), true, false},
        {"cut inside a descriptor", Bytes(written.begin(), written.begin() + qtx::DataStart(2) - 1), false},
        {"no datums, one byte more", RawQtx(noDatums, {}, Bytes(25, 0)), false},
        {"a descriptor past its frame", with(field16(qtx::kHeaderSize + qtx::kDscOffset, 0xFFFF)), false},
        {"a descriptor inside the depth", with(field16(qtx::kHeaderSize + qtx::kDscOffset, 4)), false},
        {"a negative datum count", with(field16(qtx::kHdrDatumCount, 0xFFFF)), false},
        {"header only", Bytes(written.begin(), written.begin() + 4000), false},
        {"a LIS record of 257 bytes", lis, false},
    };
    for (const auto& c : cases) {
        BinaryFile file;
        file.OpenMemory(std::make_shared<Bytes>(c.bytes), false);
        bool whole = !c.whole;
        EXPECT_EQ(CQtxFile::HoldsDataSet(file, &whole), c.dataSet) << c.what;
        if (c.dataSet) {
            EXPECT_EQ(whole, c.whole) << c.what;
        }
    }
}

TEST_F(QtxFileTest, FirstDatumIntoNonEmptyListContinuesThePreviousLayout)
{
    CQtxFile out;
    CQtxDescriptorList list;
    ASSERT_TRUE(out.AddDatum(list, "WMNO", 26, 1, 1, 2, 1, 10.0f, 100, 0).Ok());
    EXPECT_EQ(out.LayoutFrameSize(), 808u);
    ASSERT_TRUE(out.AddDatum(list, "DT", 33, 1, 3, 1, 2, 1.0f, 1, 0).Ok());
    const auto second = list[1].Descriptor();
    EXPECT_EQ(second.offset, 808u);
    EXPECT_EQ(second.datumNumber, 2);
    EXPECT_EQ(std::string(second.mnemonic, 4), "DT  ") << "short mnemonics are padded with blanks";
    EXPECT_EQ(out.LayoutFrameSize(), 812u);

    // A second data set started without emptying the list carries on after it.
    ASSERT_TRUE(out.AddDatum(list, "AMP1", 97, 1, 6, 1, 7, 1.0f, 1, 0).Ok());
    EXPECT_EQ(list[2].Descriptor().offset, 812u);
    CQtxDescriptorList fresh;
    ASSERT_TRUE(out.AddDatum(fresh, "AMP1", 97, 1, 6, 1, 7, 1.0f, 1, 0).Ok());
    EXPECT_EQ(fresh[0].Descriptor().offset, 8u);
    EXPECT_EQ(fresh[0].Descriptor().datumNumber, 1);
}

TEST_F(QtxFileTest, DatumTooLargeForAFrameIsRefused)
{
    host.ExpectMessage("does not fit into a data set frame");
    CQtxFile out;
    CQtxDescriptorList list;
    EXPECT_FALSE(OkOrShow(out.AddTwoAxisDatum(list, "SMCO", 31, 2, 5, 65535, 2, 1.0f, 65535, 0, 1, 1.0f, 65535, 0)));
    EXPECT_TRUE(list.empty());
}

// Every writer opens its output through the datum check: past 256 datums (a 16-bit
// count the rest of the program refuses beyond that) nothing is created, and the
// message names the input, the count, the limit and what to do.
TEST_F(QtxFileTest, OutputOfMoreDatumsThanADataSetHoldsIsNeverCreated)
{
    const std::string source = dir.File("wide.las");
    for (size_t count : {size_t(257), size_t(40000)}) {
        host.ExpectMessage("Encountered " + std::to_string(count) + " datums to write from file :\n" + source +
                           "\nA data set holds at most 256 datums: select 256 or fewer.\nOperation will be abandoned.");
        CQtxFile out;
        EXPECT_FALSE(OkOrShow(out.OpenWrite(path, count, source)));
        EXPECT_FALSE(out.OutputOpen());
    }
    CQtxFile out;
    EXPECT_TRUE(out.OpenWrite(path, 256, source, "unused").Ok());
    out.CloseOutput();
    EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>());
}

TEST_F(QtxFileTest, FinalizeCountsOnlyWholeFramesAndCutsTheTornOne)
{
    CQtxFile out;
    ASSERT_TRUE(out.OpenWrite(path).Ok());
    CQtxDescriptorList list;
    ASSERT_TRUE(out.AddDatum(list, "WMNO", 26, 1, 1, 1, 1, 10.0f, 16, 0).Ok());
    ASSERT_TRUE(out.WriteHeader().Ok());
    ASSERT_TRUE(out.WriteDescriptors(list).Ok());
    for (int f = 0; f < 3; ++f) {
        const double depth = 100.0 + f;
        ASSERT_TRUE(out.WriteDepth(&depth).Ok());
        ASSERT_TRUE(out.WriteData(kZeros.data(), 16).Ok());
    }
    const double torn = 999.0;
    (void)OkOrShow(out.WriteDepth(&torn)); // the torn frame: what it answers does not matter here
    (void)OkOrShow(out.WriteData(kZeros.data(), 5));
    ASSERT_TRUE(out.Finalize().Ok());
    EXPECT_EQ(out.WrittenFrameCount(), 3u);
    const auto bytes = ReadBytes(path);
    EXPECT_EQ(bytes.size(), 4132u + 39u + 3u * 72u);
    EXPECT_EQ(GetLE32(bytes.data() + 2), 3u);
    EXPECT_EQ(GetLEDouble(bytes.data() + 10), 100.0);
    EXPECT_EQ(GetLEDouble(bytes.data() + 18), 102.0);
}

TEST_F(QtxFileTest, FinalizeWithoutFramesReportsTheTopDepth)
{
    host.ExpectMessage("Error reading top depth in file :\n" + path);
    CQtxFile out;
    ASSERT_TRUE(out.OpenWrite(path).Ok());
    CQtxDescriptorList list;
    ASSERT_TRUE(out.AddDatum(list, "WMNO", 26, 1, 1, 1, 1, 10.0f, 16, 0).Ok());
    ASSERT_TRUE(out.WriteHeader().Ok());
    ASSERT_TRUE(out.WriteDescriptors(list).Ok());
    EXPECT_FALSE(OkOrShow(out.Finalize()));
    EXPECT_FALSE(out.OutputOpen());
}

TEST_F(QtxFileTest, WriteFailuresAreReportedNotSwallowed)
{
    CQtxFile out;
    // A device is no output: it is refused at the open.
    host.ExpectMessage("Could not open output file :\n/dev/full\n/dev/full is not a regular file");
    EXPECT_FALSE(OkOrShow(out.OpenWrite("/dev/full")));
    ASSERT_TRUE(out.OpenWrite(path).Ok());
    ScopedWriteFault full(0);
    CQtxDescriptorList list;
    ASSERT_TRUE(out.AddDatum(list, "WMNO", 26, 1, 1, 1, 1, 10.0f, 16, 0).Ok());
    host.ExpectMessage("Error writing header in file :\n" + path);
    EXPECT_FALSE(OkOrShow(out.WriteHeader()));
    host.ExpectMessage("Error writing datum descriptor in file :\n" + path);
    EXPECT_FALSE(OkOrShow(out.WriteDescriptors(list)));
    const double depth = 1.0;
    host.ExpectMessage("Error writing depth in file :\n" + path);
    EXPECT_FALSE(OkOrShow(out.WriteDepth(&depth)));
    host.ExpectMessage("Error writing frame data in file :\n" + path);
    EXPECT_EQ(OkOrShow(out.WriteData(kZeros.data(), 16)), 0);
}

// The data-set file shows nothing itself: each failure comes back carrying the text
// its caller shows, word for word; a read on a closed input comes back quiet.
TEST_F(QtxFileTest, AFailureComesBackWithItsMessageAndShowsNothing)
{
    CQtxFile in;
    const Status missing = in.OpenRead(dir.File("missing.qtx"));
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.Message(), "Could not open input file :\n" + dir.File("missing.qtx") + "\nThere is no such file.");
    float f = 0.0f;
    const Status closed = in.ReadFrameItem(0, 8, 1, 1, &f);
    EXPECT_FALSE(closed);
    EXPECT_EQ(closed.Message(), "");

    CQtxFile out;
    ASSERT_TRUE(out.OpenWrite(path));
    CQtxDescriptorList list;
    EXPECT_EQ(out.AddTwoAxisDatum(list, "SMCO", 31, 2, 5, 65535, 2, 1.0f, 65535, 0, 1, 1.0f, 65535, 0).Message(),
              "Datum SMCO does not fit into a data set frame!\nOperation will be abandoned.");
    ASSERT_TRUE(out.AddDatum(list, "WMNO", 26, 1, 1, 1, 1, 10.0f, 16, 0));
    {
        ScopedWriteFault full(0);
        EXPECT_EQ(out.WriteHeader().Message(), "Error writing header in file :\n" + path + "\nThe disk is full.");
    }
    EXPECT_EQ(out.Finalize().Message(), "Error reading top depth in file :\n" + path);
    EXPECT_FALSE(out.OutputOpen());
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(QtxFileTest, WriteDataRefusesCountsBeyondItsBuffer)
{
    CQtxFile out;
    ASSERT_TRUE(out.OpenWrite(path).Ok());
    host.ExpectMessage("Error writing frame data");
    EXPECT_EQ(OkOrShow(out.WriteData(kZeros.data(), 8193)), 0);
    host.ExpectMessage("Error writing frame data");
    EXPECT_EQ(OkOrShow(out.WriteData(kZeros.data(), -1)), 0);
    EXPECT_TRUE(out.WriteData(kZeros.data(), 8192).Ok());
}

// The history is rewritten in place: a write the disk refuses part-way leaves a data set
// that still reads whole, and is told.
TEST_F(QtxFileTest, AFailedHistoryWriteLeavesTheDataSetWhole)
{
    ASSERT_TRUE(WriteQtx(path, {Waveform(2, 16)}, 4));
    const QtxImage before = LoadQtx(path);
    for (int64_t budget : {0, 1000}) {
        CQtxFile file;
        ASSERT_TRUE(file.OpenRead(path).Ok());
        char history[qtx::kHistorySize];
        std::memset(history, 'x', qtx::kHistorySize);
        host.ExpectMessage("Error writing history in file :\n" + path);
        {
            ScopedWriteFault fault(budget);
            EXPECT_FALSE(OkOrShow(file.WriteHistory(history)));
        }
        file.CloseInput();
        EXPECT_EQ(QtxOutputLies(path), "") << budget;
        EXPECT_EQ(LoadQtx(path).frames, before.frames) << budget;
    }
}

// ---- reading ------------------------------------------------------------------

TEST_F(QtxFileTest, UnopenedObjectReportsUnreadableValuesAndMissingFileIsReported)
{
    CQtxFile in;
    EXPECT_EQ(in.GetTopDepth(), -1.0);
    EXPECT_EQ(in.GetFrameCount(), 0xFFFFFFFFu);
    float f;
    EXPECT_FALSE(OkOrShow(in.ReadFrameItem(0, 8, 1, 1, &f)));
    host.ExpectMessage("Could not open input file :\n" + dir.File("missing.qtx"));
    EXPECT_FALSE(OkOrShow(in.OpenRead(dir.File("missing.qtx"))));
}

TEST_F(QtxFileTest, ReadOnlyDataSetOpensForReading)
{
    ASSERT_TRUE(WriteQtx(path, {Waveform(1, 4)}, 2));
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    CQtxFile in;
    ASSERT_TRUE(in.OpenRead(path).Ok());
    float buf[4];
    EXPECT_TRUE(in.ReadFrameItem(1, 8, 1, 4, buf).Ok());
    EXPECT_EQ(AccessModesOpenOn(path), std::vector<int>{O_RDONLY}) << "the input is never opened for writing";
    if (geteuid() != 0) {
        host.ExpectMessage("Error writing history in file :\n" + path);
        EXPECT_FALSE(OkOrShow(in.WriteHistory(in.Header().history)));
    }
}

TEST_F(QtxFileTest, HistoryIsRewrittenInPlace)
{
    ASSERT_TRUE(WriteQtx(path, {Waveform(2, 8)}, 3));
    const auto before = ReadBytes(path);
    CQtxFile in;
    ASSERT_TRUE(in.OpenRead(path).Ok());
    QtxFileHeader header = in.Header();
    std::memcpy(header.history, "*** Reverse depth order\r\n", 25);
    ASSERT_TRUE(in.WriteHistory(header.history).Ok());
    const auto after = ReadBytes(path);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(after.data() + 36), 25), "*** Reverse depth order\r\n");
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + 36, after.begin()));
    EXPECT_TRUE(std::equal(before.begin() + 4132, before.end(), after.begin() + 4132));
}

TEST_F(QtxFileTest, ReadsAfterAFailedReadFailQuietly)
{
    ASSERT_TRUE(WriteQtx(path, {Waveform(1, 16)}, 3));
    auto bytes = ReadBytes(path);
    bytes.resize(bytes.size() - 10); // the last frame is cut short
    WriteBytes(path, bytes);

    CQtxFile in;
    ASSERT_TRUE(in.OpenRead(path).Ok());
    float buf[16];
    EXPECT_TRUE(in.ReadFrameItem(1, 8, 1, 16, buf).Ok());
    host.ExpectMessage("Error reading frame data in file :\n" + path);
    EXPECT_FALSE(OkOrShow(in.ReadFrameItem(2, 8, 1, 16, buf)));
    EXPECT_FALSE(in.InputOpen());
    // Viewers read on every paint: no second box.
    EXPECT_FALSE(OkOrShow(in.ReadFrameItem(0, 8, 1, 16, buf)));
    CQtxDatumList list;
    EXPECT_FALSE(OkOrShow(in.ReadDatumList(list)));
    EXPECT_EQ(host.Messages().size(), 1u);
    // Opening again brings the data set back.
    ASSERT_TRUE(in.OpenRead(path).Ok());
    EXPECT_TRUE(in.ReadFrameItem(0, 8, 1, 16, buf).Ok());
}

TEST_F(QtxFileTest, RequestsOutsideTheFrameOrTheBufferAreRefused)
{
    ASSERT_TRUE(WriteQtx(path, {Waveform(2, 16)}, 2));
    float buf[32];
    struct Case {
        const char* what;
        int frame, offset, count1, count2;
        size_t capacity;
    };
    const Case cases[] = {
        {"past the frame end", 0, 8, 2, 17, 64},
        {"offset past the frame", 0, 136, 1, 1, 64},
        {"negative count", 0, 8, -1, 16, 64},
        {"negative frame", -1, 8, 1, 16, 64},
        {"beyond the caller's buffer", 0, 8, 2, 16, 31},
        {"frame beyond the file", 7, 8, 2, 16, 64},
    };
    for (const auto& c : cases) {
        CQtxFile in;
        ASSERT_TRUE(in.OpenRead(path).Ok());
        host.ExpectMessage("Error reading frame data in file :\n" + path);
        EXPECT_EQ(OkOrShow(in.ReadFrameItem(c.frame, c.offset, c.count1, c.count2, buf, c.capacity)), 0) << c.what;
    }
}

// ---- hostile files --------------------------------------------------------------

TEST_F(QtxFileTest, TruncatedHeaderIsReported)
{
    QtxFileHeader h;
    auto bytes = RawQtx(h, {});
    bytes.resize(4131);
    WriteBytes(path, bytes);
    CQtxFile in;
    host.ExpectMessage("Error reading header in file :\n" + path);
    EXPECT_FALSE(OkOrShow(in.OpenRead(path)));
    EXPECT_FALSE(in.InputOpen());
}

TEST_F(QtxFileTest, TruncatedDescriptorsKeepTheDatumsReadBefore)
{
    QtxFileHeader h;
    h.datumCount = 3;
    h.frameSize = 8 + 3 * 4;
    QtxDatumDescriptor d;
    d.traceCount = 1;
    d.axisCount = 1;
    d.axis1.sampleCount = 1;
    d.size = 4;
    d.offset = 8;
    auto d2 = d;
    d2.offset = 12;
    auto bytes = RawQtx(h, {d, d2});
    bytes.resize(bytes.size() - 1);
    WriteBytes(path, bytes);
    CQtxFile in;
    ASSERT_TRUE(in.OpenRead(path).Ok());
    CQtxDatumList list;
    host.ExpectMessage("Error reading datum descriptor in file :\n" + path);
    EXPECT_FALSE(OkOrShow(in.ReadDatumList(list)));
    EXPECT_EQ(list.size(), 1u);
}

TEST_F(QtxFileTest, AbsurdCountsAreRefused)
{
    struct Case {
        const char* what;
        uint16_t datumCount;
        uint32_t frameSize;
        QtxDatumDescriptor d;
        const char* message; // nullptr: accepted
    };
    QtxDatumDescriptor ok;
    ok.traceCount = 2;
    ok.axisCount = 1;
    ok.axis1.sampleCount = 4;
    ok.offset = 8;
    ok.size = 32;
    auto pastFrame = ok;
    pastFrame.offset = 12;
    auto countsOverSize = ok;
    countsOverSize.traceCount = 60000;
    countsOverSize.axis1.sampleCount = 60000;
    auto twoAxisOverflow = ok;
    twoAxisOverflow.axisCount = 2;
    twoAxisOverflow.axis2.sampleCount = 0xFFFF;
    auto offsetInDepth = ok;
    offsetInDepth.offset = 0;
    auto wrapAround = ok;
    wrapAround.offset = 0xFFFFFFF0u;
    const Case cases[] = {
        {"well-formed", 1, 40, ok, nullptr},
        {"negative datum count means none", 0xFFFF, 40, ok, nullptr},
        {"datum reaching past the frame", 1, 40, pastFrame, "Error reading frame data"},
        {"counts larger than the size", 1, 40, countsOverSize, "Error reading frame data"},
        {"two-axis counts larger than the size", 1, 40, twoAxisOverflow, "Error reading frame data"},
        {"datum over the frame depth", 1, 40, offsetInDepth, "Error reading frame data"},
        {"offset that wraps 32 bits", 1, 40, wrapAround, "Error reading frame data"},
        {"huge datum count in a short file", 0x7FFF, 40, ok, "Error reading "},
    };
    for (const auto& c : cases) {
        QtxFileHeader h;
        h.datumCount = c.datumCount;
        h.frameSize = c.frameSize;
        h.frameCount = 0xFFFFFFFF;
        WriteBytes(path, RawQtx(h, {c.d}, std::vector<uint8_t>(40, 0)));
        CQtxFile in;
        ASSERT_TRUE(in.OpenRead(path).Ok()) << c.what;
        CQtxDatumList list;
        if (c.message) host.ExpectMessage(c.message);
        EXPECT_EQ(OkOrShow(in.ReadDatumList(list)), c.message ? 0 : 1) << c.what;
        // Even with an absurd frame count, reads stay inside the file.
        float buf[8];
        if (!c.message && c.datumCount == 1) {
            EXPECT_TRUE(in.ReadFrameItem(0, 8, 2, 4, buf, 8).Ok());
            host.ExpectMessage("Error reading frame data");
            EXPECT_FALSE(OkOrShow(in.ReadFrameItem(1000000, 8, 2, 4, buf, 8)));
        }
    }
}

} // namespace

namespace {

// Views read a page's frames on several threads at once.
TEST_F(QtxFileTest, SharedReadsOnSeveralThreadsGiveWhatOneReaderReads)
{
    constexpr int kFrames = 96, kTraces = 3, kSamples = 200;
    ASSERT_TRUE(WriteQtx(path, {Waveform(kTraces, kSamples)}, kFrames));
    CQtxFile in;
    ASSERT_TRUE(in.OpenRead(path).Ok());
    const size_t floats = size_t(kTraces) * kSamples;
    std::vector<std::vector<float>> expected(kFrames, std::vector<float>(floats));
    for (int f = 0; f < kFrames; ++f) ASSERT_TRUE(in.ReadFrameItem(f, 8, kTraces, kSamples, expected[size_t(f)].data()).Ok());
    const int64_t position = in.InputPosition();

    std::vector<std::vector<float>> got(kFrames, std::vector<float>(floats, -1.0f));
    std::vector<int> results(kFrames, -1);
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t)
        threads.emplace_back([&, t] {
            for (int f = t; f < kFrames; f += 6)
                results[size_t(f)] = in.ReadFrameItemShared(f, 8, kTraces, kSamples, got[size_t(f)].data(), floats);
        });
    for (std::thread& t : threads) t.join();
    for (int f = 0; f < kFrames; ++f) {
        EXPECT_EQ(results[size_t(f)], 1) << "frame " << f;
        EXPECT_EQ(got[size_t(f)], expected[size_t(f)]) << "frame " << f;
    }
    EXPECT_EQ(in.InputPosition(), position) << "a shared read moves no file position";
}

// A shared read that fails says so by its result alone; the caller reports it on its
// own thread afterwards, as ReadFrameItem would have.
TEST_F(QtxFileTest, AFailedSharedReadShowsNothingUntilItsCallerReportsIt)
{
    ASSERT_TRUE(WriteQtx(path, {Waveform(2, 16)}, 3));
    auto bytes = ReadBytes(path);
    bytes.resize(bytes.size() - 10); // the last frame is cut short
    WriteBytes(path, bytes);
    float buf[32];
    const struct {
        const char* what;
        int frame, offset, count1, count2;
        size_t capacity;
    } cases[] = {
        {"a frame cut short", 2, 8, 2, 16, 32},  {"a frame beyond the file", 9, 8, 2, 16, 32},
        {"past the frame end", 0, 8, 2, 17, 64}, {"negative count", 0, 8, -1, 16, 32},
        {"negative frame", -1, 8, 1, 16, 32},    {"beyond the caller's buffer", 0, 8, 2, 16, 31},
    };
    for (bool keepInput : {true, false})
        for (const auto& c : cases) {
            const std::string what = std::string(c.what) + (keepInput ? ", input kept" : ", input closed on failure");
            CQtxFile in;
            if (keepInput) in.KeepInputOnFrameError();
            ASSERT_TRUE(in.OpenRead(path).Ok());
            EXPECT_EQ(in.ReadFrameItemShared(c.frame, c.offset, c.count1, c.count2, buf, c.capacity), 0) << what;
            EXPECT_TRUE(host.Messages().empty()) << what;
            EXPECT_TRUE(in.InputOpen()) << what;
            EXPECT_EQ(in.ReadFrameItemShared(1, 8, 2, 16, buf, 32), 1) << what << ": the readable frames stay readable";

            host.ExpectMessage("Error reading frame data in file :\n" + path);
            EXPECT_EQ(OkOrShow(in.ReportFrameReadFailure()), 0) << what;
            EXPECT_EQ(in.InputOpen(), keepInput) << what;
            EXPECT_EQ(OkOrShow(in.ReportFrameReadFailure()), 0) << what << ": once since the open";
            EXPECT_EQ(host.Messages().size(), 1u) << what;
            host.ClearMessages();
        }
    CQtxFile closed;
    EXPECT_EQ(closed.ReadFrameItemShared(0, 8, 1, 16, buf, 32), 0);
    EXPECT_EQ(OkOrShow(closed.ReportFrameReadFailure()), 0) << "a closed input fails quietly";
}

} // namespace
