#include "lis/LisWrite.h"

#include "LisHelpers.h"
#include "platform/Endian.h"
#include "platform/Format.h"
#include "support/HostFixture.h"
#include "support/KilledWriter.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <unistd.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <map>
#include <tuple>

using namespace lis;
using namespace lis::writer;
using endian::GetBE16;
using endian::GetBE32;

namespace {

using Bytes = std::vector<uint8_t>;

// The writer's DFSR: 54 bytes of entry blocks, then the datum specification blocks.
constexpr size_t kFirstBlock = kLogicalHeaderSize + 54;

// 2023-11-14 22:13:20 UTC.
std::time_t FixedClock() { return 1700000000; }

QtxDatumDescriptor Datum(const char* mnemonic, uint8_t type, uint16_t traces, uint32_t size, uint8_t unit = 1,
                         uint16_t samples = 1, float step = 10.0f, uint16_t firstIndex = 0)
{
    QtxDatumDescriptor d;
    std::memcpy(d.mnemonic, mnemonic, 4);
    d.typeCode = type;
    d.traceCount = traces;
    d.size = size;
    d.axis1 = {unit, firstIndex, samples, step};
    return d;
}

QtxFileHeader Header(uint32_t frameSize, size_t datums, const std::string& history = "")
{
    QtxFileHeader h;
    h.logDirection = qtx::kLogDown;
    h.depthUnits = qtx::kUnitsMetres;
    h.frameSize = frameSize;
    h.depthStep = 0.5;
    h.datumCount = uint16_t(datums);
    std::memset(h.history, ' ', sizeof h.history);
    std::memcpy(h.history, history.data(), history.size());
    return h;
}

// Information record components as (type, mnemonic, value); code, category and units checked on the way.
std::vector<std::tuple<int, std::string, std::string>> Components(const WalkedRecord& r)
{
    std::vector<std::tuple<int, std::string, std::string>> out;
    size_t at = kLogicalHeaderSize;
    while (at + kCompHeaderSize <= r.bytes.size()) {
        const uint8_t size = r.bytes[at + kCompSize];
        EXPECT_EQ(r.bytes[at + kCompCode], 65);
        EXPECT_EQ(r.bytes[at + kCompCategory], 0);
        EXPECT_EQ(r.Text(at + kCompUnits.offset, 4), "    ");
        out.emplace_back(r.bytes[at + kCompType], r.Text(at + kCompMnemonic.offset, 4), r.Text(at + kCompValue, size));
        at += kCompHeaderSize + size;
    }
    EXPECT_EQ(at, r.bytes.size());
    return out;
}

// DFSR entry values by entry type.
std::map<int, std::string> Entries(const WalkedRecord& r)
{
    std::map<int, std::string> out;
    for (size_t at = kLogicalHeaderSize, type = 1; type != 0 && at + kEntryValue <= r.bytes.size();
         at += kEntryValue + r.bytes[at + kEntrySize]) {
        type = r.bytes[at + kEntryType];
        out[int(type)] = r.Text(at + kEntryValue, r.bytes[at + kEntrySize]);
    }
    return out;
}

// The datum specification blocks as (mnemonic, channel size).
std::vector<std::pair<std::string, int>> Blocks(const WalkedRecord& r)
{
    std::vector<std::pair<std::string, int>> out;
    for (size_t at = kFirstBlock; at + kDsbSize <= r.bytes.size(); at += kDsbSize)
        out.emplace_back(r.Text(at + kDsbMnemonic.offset, 4), GetBE16(&r.bytes[at + kDsbChannelSize]));
    return out;
}

class LisWriteTest : public HostTest {
protected:
    TempDir dir;
    std::string path = dir.File("out.lis");
    CLisWrite writer;

    void SetUp() override
    {
        HostTest::SetUp();
        writer.m_clock = &FixedClock;
    }

    // The export's calling order; frames are (depth, values). The file walks to a clean end.
    Walked WriteAll(const QtxFileHeader& h, const std::vector<QtxDatumDescriptor>& d, int perReceiver,
                    const std::vector<std::pair<double, std::vector<float>>>& frames)
    {
        EXPECT_TRUE(writer.Create(path).Ok());
        EXPECT_TRUE(writer.WriteHeaders().Ok());
        EXPECT_TRUE(writer.WriteInformationRecord("QTX", &h, d.data()).Ok());
        EXPECT_TRUE(writer.WriteInformationRecord("CONS", &h, d.data()).Ok());
        EXPECT_TRUE(writer.WriteComment(&h).Ok());
        EXPECT_TRUE(writer.WriteDfsr(&h, d.data(), perReceiver).Ok());
        for (const auto& [depth, values] : frames) {
            EXPECT_TRUE(writer.WriteFrame(nullptr, 0, depth, CLisWrite::kFrameStart).Ok());
            EXPECT_TRUE(writer.WriteFrame(values.data(), uint32_t(values.size()), 0.0, CLisWrite::kFrameValues).Ok());
        }
        EXPECT_TRUE(writer.WriteTrailers().Ok());
        EXPECT_TRUE(writer.Close().Ok());
        const Walked w = WalkLis(path);
        EXPECT_EQ(w.end, RecordStatus::End) << "the records do not reach the end of the file";
        return w;
    }

    // The DFSR written for these datums.
    WalkedRecord Dfsr(const std::vector<QtxDatumDescriptor>& d, int perReceiver)
    {
        uint32_t frame = 8;
        for (const auto& x : d) frame += x.size;
        const Walked w = WriteAll(Header(frame, d.size()), d, perReceiver, {});
        const auto dfsr = w.OfType(kDataFormatSpec);
        return dfsr.empty() ? WalkedRecord() : *dfsr[0];
    }

    // The only record of a file that one call wrote.
    WalkedRecord Single(const std::function<Status(CLisWrite&)>& write)
    {
        CLisWrite w;
        EXPECT_TRUE(w.Create(path).Ok());
        EXPECT_TRUE(write(w).Ok());
        EXPECT_TRUE(w.Close().Ok());
        const Walked walked = WalkLis(ReadBytes(path), kTif); // no header: the framing is not detected
        return walked.records.empty() ? WalkedRecord() : walked.records[0];
    }
};

std::string Overlaid(size_t size, uint8_t type, std::initializer_list<std::pair<Field, std::string>> fields)
{
    std::string s(size, ' ');
    s[0] = char(type);
    s[1] = 0;
    for (const auto& [field, text] : fields) s.replace(field.offset, text.size(), text);
    return s;
}

// A small data set written end to end: every record in order, pinned field by field.
TEST_F(LisWriteTest, SmallDataSetGivesTheGoldenRecords)
{
    const std::vector<QtxDatumDescriptor> d = {Datum("WMNO", 1, 2, 24, 1, 3, 10.0f), Datum("DTCO", 31, 1, 4, 2, 1, 2.5f, 3)};
    const QtxFileHeader h = Header(36, 2, "Logged by test.\r\n\t ");
    const Walked w = WriteAll(h, d, 1, {{1000.0, {1, 2, 3, 4, 5, 6, -1}}, {1000.5, {0.5f, 0.25f, 8, 16, 32, 64, -2}}});
    ASSERT_EQ(w.Types(), "132 130 M 128 34 34 232 64 0 0 129 131 133 M M");
    const auto& r = w.records;

    const std::string comment = "Merrowdyne Revezirider LLC. Processing";
    auto reel = [&](uint8_t type, bool withComment) {
        return Overlaid(kReelSize, type, {{kReelServiceName, "QTX   "}, {kReelDate, "23/11/14"}, {kReelOrigin, "QTX "},
                                          {kReelName, "01      "}, {kReelContinuation, "01"},
                                          {kReelComment, withComment ? comment : ""}});
    };
    auto file = [&](uint8_t type) {
        return Overlaid(kFileSize, type, {{kFileName, "QTX   .001"}, {kFileVersion, "1.000   "}, {kFileDate, "23/11/14"},
                                          {kFileMaxPhysical, " 8192"}, {kFileType, "LO"}});
    };
    const std::pair<size_t, std::string> fixed[] = {{0, reel(132, true)}, {1, reel(130, false)}, {3, file(128)},
                                                    {10, file(129)},       {11, reel(131, false)}, {12, reel(133, true)}};
    for (const auto& [i, text] : fixed) EXPECT_EQ(r[i].Text(0, r[i].bytes.size()), text) << i;

    // Rows (MNEM, TUNI, DESC, VALU) as written: padded to 4, DESC to an even length.
    const std::vector<std::array<std::string, 4>> rows = {
        {"QTX ", "    ", "    ", "Merrowdyne"}, {"WMNO", "    ", "DSIMONO ", "1   "}, {"MNR ", "    ", "    ", "2   "},
        {"MNS ", "    ", "    ", "3   "},        {"MSP ", "    ", "    ", " 10.0000"}, {"DTCO", "    ", "SEMBMONO", "31  "},
        {"SPNS", "    ", "    ", "1   "},        {"SPSP", "US/F", "    ", "  2.5000"}, {"SPSD", "    ", "    ", "3   "},
    };
    for (const auto& [index, table] : {std::pair{4, "QTX "}, std::pair{5, "CONS"}}) {
        std::vector<std::tuple<int, std::string, std::string>> expected = {{73, "TYPE", table}};
        for (const auto& row : rows) {
            expected.emplace_back(0, "MNEM", row[0]);
            expected.emplace_back(69, "TUNI", row[1]);
            expected.emplace_back(69, "DESC", row[2]);
            expected.emplace_back(69, "VALU", row[3]);
        }
        EXPECT_EQ(Components(r[size_t(index)]), expected) << table;
    }
    EXPECT_EQ(r[6].Text(0, r[6].bytes.size()), std::string("\xE8\0Logged by test. ", 18));

    // Entry sizes agree with their codes; entries end with two zero bytes in code 79.
    const Bytes entries = {1, 1, 66, 0,   2,  1,  66, 0,   3,   4, 73, 0,   0,   0,   32, 4, 1, 66,
                           255, 5, 1, 66, 255, 8, 4, 68, 0x40, 0x40, 0,  0,   9,   4,  65, 'M', ' ', ' ',
                           ' ', 11, 1, 66, 1,   13, 1, 66, 0,   16, 1,  66, 1,   0,  2,  79, 0,  0};
    ASSERT_EQ(r[7].bytes.size(), kFirstBlock + 4 * kDsbSize);
    EXPECT_EQ(Bytes(r[7].bytes.begin() + kLogicalHeaderSize, r[7].bytes.begin() + kFirstBlock), entries);
    auto dsb = [](const std::string& mnemonic, const std::string& units, uint8_t size) {
        std::string b(kDsbSize, '\0');
        b.replace(0, 22, mnemonic + std::string(14, ' ') + units);
        b[29] = char(size);
        b[33] = 1;
        b[34] = 68;
        return b;
    };
    EXPECT_EQ(r[7].Text(kFirstBlock, 4 * kDsbSize),
              dsb("DEPT", "M   ", 4) + dsb("MON1", "USEC", 12) + dsb("MON2", "USEC", 12) + dsb("DTCO", "US/F", 4));

    for (const auto& [index, depth, last] : {std::tuple{8, 1000.0, -1.0f}, std::tuple{9, 1000.5, -2.0f}}) {
        const WalkedRecord& f = r[size_t(index)];
        ASSERT_EQ(f.bytes.size(), 34u); // QTX frame size - 2
        EXPECT_EQ(f.Text(0, 2), std::string(2, '\0'));
        EXPECT_EQ(LisFloat68ToIeee(GetBE32(&f.bytes[kFrameDepth])), float(depth));
        EXPECT_EQ(LisFloat68ToIeee(GetBE32(&f.bytes[kFrameFirstValue + 24])), last);
    }
    EXPECT_EQ(GetBE32(&r[8].bytes[kFrameFirstValue]), 0x40C00000u);      // 1.0
    EXPECT_EQ(GetBE32(&r[8].bytes[kFrameFirstValue + 24]), 0xBF400000u); // -1.0
    EXPECT_EQ(CLisWrite::FormatDate(951868799), "00/02/29");             // 2000-02-29 23:59:59 UTC
}

TEST_F(LisWriteTest, DirectionDepthUnitsAndHistorySelectTheirBytes)
{
    // The spacing is the data set's depth step, its sign included, in the depth
    // channel's units ("F" for feet, where the channel says "FT"): a step below zero
    // comes back as it went.
    const struct { uint8_t direction, units; double step; std::string up, scale, spacing, deptUnits, code68; } directions[] = {
        {0xFF, 0xFF, 0.5, "\xFF", "\xFF", "M   ", "M   ", std::string("\x40\x40\x00\x00", 4)},
        {1, 1, -0.5, "\x01", "\x01", "F   ", "FT  ", std::string("\xBF\xC0\x00\x00", 4)},
        {0, 0xFF, -0.5, "\x01", "\xFF", "M   ", "M   ", std::string("\xBF\xC0\x00\x00", 4)},
        {1, 1, 0.5, "\x01", "\x01", "F   ", "FT  ", std::string("\x40\x40\x00\x00", 4)}};
    for (const auto& c : directions) {
        QtxFileHeader h = Header(8, 0);
        h.logDirection = c.direction;
        h.depthUnits = c.units;
        h.depthStep = c.step;
        const WalkedRecord r = Single([&](CLisWrite& w) { return w.WriteDfsr(&h, nullptr, 0); });
        auto e = Entries(r);
        EXPECT_EQ(e[4] + e[5] + e[9], c.up + c.scale + c.spacing);
        EXPECT_EQ(e[8], c.code68); // 0.5 or -0.5 in code 68
        EXPECT_EQ(r.Text(kFirstBlock + kDsbUnits.offset, 4), c.deptUnits);
    }
    // The history without trailing white space, to its first zero byte, at an even length.
    const std::pair<std::string, std::string> histories[] = {
        {"ABCDE", "ABCDE "}, {"AB\r\n\t  ", "AB"}, {std::string("ABC\0XYZ", 7), "ABC "}, {std::string(4096, '\0'), ""},
        {std::string(4096, 'x'), std::string(4096, 'x')},
    };
    for (const auto& [history, text] : histories) {
        const QtxFileHeader h = Header(8, 0, history);
        const WalkedRecord r = Single([&](CLisWrite& w) { return w.WriteComment(&h); });
        EXPECT_EQ(r.Text(0, r.bytes.size()), std::string("\xE8\0", 2) + text);
    }
}

TEST_F(LisWriteTest, TypeTableRowsFollowTheItemTypeFamily)
{
    struct Case { QtxDatumDescriptor d; std::vector<std::array<std::string, 4>> rows; }; // MNEM, TUNI, DESC, VALU
    const Case cases[] = {
        {Datum("WDXX", 7, 8, 16384, 1, 512, 10.0f),
         {{"WDXX", "", "XMACDXX", "7"}, {"DXNR", "", "", "8"}, {"DXNS", "", "", "512"}, {"DXSP", "", "", " 10.0000"}}},
        {Datum("PHQD", 88, 1, 4, 3, 7, 0.5f, 2),
         {{"PHQD", "", "PHASEQD", "88"}, {"PDNS", "", "", "7"}, {"PDSP", "US/M", "", "  0.5000"}, {"PDSD", "", "", "2"}}},
        {Datum("EGYY", 116, 1, 4, 4, 2, 1.0f), {{"EGYY", "", "EGYY", "116"}, {"EGNS", "", "", "2"}, {"EGSP", "HZ", "", "  1.0000"}}},
        {Datum("ISMN", 164, 1, 4, 9), {{"ISMN", "", "ISMN", "164"}, {"ISNS", "", "", "1"}, {"ISSP", "", "", " 10.0000"}}},
        {Datum("XXXX", 50, 1, 4), {}},
    };
    for (const Case& c : cases) {
        CLisWrite w;
        w.BuildTypeTable(Header(8, 1), &c.d);
        std::vector<std::array<std::string, 4>> rows;
        for (const CLisTableRow& row : w.m_rows) rows.push_back({row.m_mnem, row.m_tuni, row.m_desc, row.m_valu});
        auto expected = c.rows;
        expected.insert(expected.begin(), {"QTX", "", "", "Merrowdyne"});
        EXPECT_EQ(rows, expected) << int(c.d.typeCode);
    }
}

// A table larger than the first buffer grows it and is written whole; a data record
// larger than a physical record is split at the maximum physical length.
TEST_F(LisWriteTest, LargeRecordsAreWrittenWhole)
{
    std::vector<QtxDatumDescriptor> d;
    for (int i = 0; i < 300; ++i) d.push_back(Datum(Format("W%03d", i).c_str(), 1, 1, 4));
    const QtxFileHeader h = Header(8 + 4 * 300, d.size());
    const WalkedRecord table = Single([&](CLisWrite& w) { return w.WriteInformationRecord("QTX", &h, d.data()); });
    EXPECT_GT(table.bytes.size(), kInformationBufferSize);
    const auto c = Components(table);
    ASSERT_EQ(c.size(), 1 + 4 * (1 + 4 * 300));
    EXPECT_EQ(c[c.size() - 16], std::make_tuple(0, std::string("MNEM"), std::string("W299")));
    EXPECT_EQ(c.back(), std::make_tuple(69, std::string("VALU"), std::string(" 10.0000")));

    const Walked w = WriteAll(Header(8200, 2), {Datum("AAAA", 50, 1, 4096), Datum("BBBB", 50, 1, 4096)}, 0,
                              {{10.0, std::vector<float>(2048, 3.0f)}});
    EXPECT_EQ(Entries(*w.OfType(kDataFormatSpec).at(0))[3], std::string("\0\0\x20\x04", 4)); // 8196
    const WalkedRecord& frame = *w.OfType(kNormalData).at(0);
    EXPECT_EQ(frame.bytes.size(), 8198u);
    const Bytes file = ReadBytes(path);
    const size_t first = frame.start + kTifHeaderSize, second = first + 8192 + kTifHeaderSize;
    EXPECT_EQ(std::make_pair(GetBE16(&file[first]), GetBE16(&file[first + kPhysicalAttributes])),
              std::make_pair(uint16_t(8192), kSuccessor));
    EXPECT_EQ(std::make_pair(GetBE16(&file[second]), GetBE16(&file[second + kPhysicalAttributes])),
              std::make_pair(uint16_t(14), kPredecessor));
}

TEST_F(LisWriteTest, ChannelsPerDatumOrPerReceiver)
{
    using Names = std::vector<std::pair<std::string, int>>;
    const struct { int perReceiver; QtxDatumDescriptor d; Names blocks; } cases[] = {
        {1, Datum("WMNO", 1, 4, 8192), {{"MON1", 2048}, {"MON2", 2048}, {"MON3", 2048}, {"MON4", 2048}}},
        {0, Datum("WMNO", 1, 4, 8192), {{"WMNO", 8192}}},
        {1, Datum("WQUD", 86, 1, 16), {{"QUD1", 16}}},
        {1, Datum("WMNX", 1, 2, 16), {{"WMNX", 16}}},   // not a per-receiver mnemonic
        {1, Datum("WMNO", 1, 36, 144), {{"WMNO", 144}}}, // more receivers than names
        {1, Datum("WMNO", 1, 3, 16), {{"WMNO", 16}}},    // size not a multiple of the traces
        {1, Datum("WMNO", 1, 0, 0), {}},
        {1, Datum("WMNO", 1, 35, 35 * 4), {}}, // filled in below: MON1 .. MONZ, unique past 9
    };
    for (const auto& c : cases) {
        Names expected = {{"DEPT", 4}};
        expected.insert(expected.end(), c.blocks.begin(), c.blocks.end());
        for (unsigned i = 0; c.d.traceCount == 35 && i < 35; ++i)
            expected.emplace_back(std::string("MON") + "123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"[i], 4);
        EXPECT_EQ(Blocks(Dfsr({c.d}, c.perReceiver)), expected) << std::string(c.d.mnemonic, 4) << " " << c.d.traceCount;
    }
}

// Other LIS readers take the channel size as signed 16 bits: 8 receivers of 1,024
// samples (32,768 bytes) would come back negative.
TEST_F(LisWriteTest, PackedWaveformsBeyondTheSignedSizeAreWrittenPerReceiverWithOneNotice)
{
    const std::vector<QtxDatumDescriptor> d = {Datum("DTCO", 31, 1, 32764), Datum("WMNO", 1, 8, 8 * 4096),
                                               Datum("WDXX", 2, 4, 4 * 16384)};
    std::vector<std::pair<std::string, int>> expected = {{"DEPT", 4}, {"DTCO", 32764}};
    for (int r = 1; r <= 8; ++r) expected.emplace_back("MON" + std::to_string(r), 4096);
    for (int r = 1; r <= 4; ++r) expected.emplace_back("DXX" + std::to_string(r), 16384);
    EXPECT_EQ(Blocks(Dfsr(d, 0)), expected);
    EXPECT_EQ(writer.SplitNotice(), "Waveforms too large for one LIS channel are written one channel per receiver :\nWMNO, WDXX");
    EXPECT_TRUE(host.Messages().empty()) << "the writer shows nothing itself";
}

TEST_F(LisWriteTest, ChannelThatCannotBeCutBelowTheSignedSizeIsRefused)
{
    const std::pair<int, QtxDatumDescriptor> cases[] = {
        {0, Datum("WMNO", 1, 1, 32768)},     // one receiver
        {0, Datum("SMNO", 31, 1, 40000)},    // not a waveform
        {1, Datum("WMNO", 1, 2, 2 * 32768)}, // receivers of 32,768 bytes
    };
    for (const auto& [perReceiver, d] : cases) {
        const QtxFileHeader h = Header(8 + d.size, 1);
        CLisWrite w;
        ASSERT_TRUE(w.Create(path).Ok());
        host.ExpectMessage(Format("Datum %.4s does not fit into a LIS channel!\nIts %u bytes a frame are more than the 32767",
                                  d.mnemonic, unsigned(d.size)));
        EXPECT_FALSE(OkOrShow(w.WriteDfsr(&h, &d, perReceiver)));
        EXPECT_FALSE(FileExists(path)) << "nothing written";
        EXPECT_FALSE(OkOrShow(w.WriteFrame(nullptr, 0, 1.0, CLisWrite::kFrameStart))) << "later calls fail quietly";
        EXPECT_FALSE(OkOrShow(w.Close()));
        EXPECT_FALSE(FileExists(path)) << "a refused export commits nothing";
    }
}

TEST_F(LisWriteTest, WriteFailureIsReportedOnce)
{
    const std::vector<QtxDatumDescriptor> d = {Datum("DTCO", 31, 1, 4)};
    const QtxFileHeader h = Header(12, 1);
    const float value = 1.0f;
    EXPECT_FALSE(writer.Create("/dev/full").Ok()) << "a device is no output";
    ASSERT_TRUE(writer.Create(path).Ok());
    ScopedWriteFault full(0);
    host.ExpectMessage("Error writing");
    EXPECT_FALSE(OkOrShow(writer.WriteHeaders()));
    EXPECT_FALSE(OkOrShow(writer.WriteInformationRecord("QTX", &h, d.data())));
    EXPECT_FALSE(OkOrShow(writer.WriteComment(&h)));
    EXPECT_FALSE(OkOrShow(writer.WriteDfsr(&h, d.data(), 0)));
    EXPECT_FALSE(OkOrShow(writer.WriteFrame(nullptr, 0, 1.0, CLisWrite::kFrameStart)));
    EXPECT_FALSE(OkOrShow(writer.WriteFrame(&value, 1, 0.0, CLisWrite::kFrameValues)));
    EXPECT_FALSE(OkOrShow(writer.WriteTrailers()));
    EXPECT_FALSE(OkOrShow(writer.Close()));
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Error writing reel header in file :\n" + path + "\nThe disk is full."});
    EXPECT_FALSE(FileExists(path));
}

TEST_F(LisWriteTest, DeleteOutputRemovesOnlyTheCreatedFile)
{
    ASSERT_TRUE(writer.Create(path).Ok());
    ASSERT_TRUE(writer.WriteHeaders().Ok());
    writer.DeleteOutput();
    EXPECT_TRUE(writer.Close()) << "nothing left to write";
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>());

    CLisWrite other;
    const std::string folder = dir.File("sub");
    std::filesystem::create_directory(folder);
    const Status refused = other.Create(folder);
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.Message().rfind("Could not open output file :\n" + folder, 0), 0u) << refused.Message();
    EXPECT_TRUE(other.Close());
    other.DeleteOutput();
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

} // namespace
