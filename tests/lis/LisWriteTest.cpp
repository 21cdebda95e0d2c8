#include "lis/LisWrite.h"

#include "platform/Endian.h"
#include "platform/Format.h"
#include "support/HostFixture.h"
#include "support/TempDir.h"

#include <unistd.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <tuple>

using namespace lis;
using namespace lis::writer;
using endian::GetBE16;
using endian::GetBE32;

namespace {

using Bytes = std::vector<uint8_t>;

// The writer's DFSR: 54 bytes of entry blocks, then the datum specification blocks.
constexpr size_t kDfsrFirstEntry = kLogicalHeaderSize;
constexpr size_t kDfsrFirstBlock = kDfsrFirstEntry + 54;

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

struct Record {
    uint64_t at;
    bool mark;
    Bytes bytes;
    uint8_t Type() const { return bytes.empty() ? 0xFF : bytes[0]; }
    std::string Text(size_t offset, size_t n) const { return std::string(bytes.begin() + offset, bytes.begin() + offset + n); }
};

// Every logical record and file mark of a TIF file, through the record layer.
std::vector<Record> ReadRecords(const std::string& path)
{
    BinaryFile file;
    EXPECT_TRUE(file.Open(path, BinaryFile::modeRead));
    Bytes buffer(1 << 20);
    std::vector<Record> out;
    uint64_t position = 0;
    RecordStatus status;
    for (;;) {
        const uint64_t at = position;
        const uint32_t n = CLisRecordIO::ReadLogicalRecord(buffer.data(), buffer.size(), file, position, kTif, &status);
        if (n == 0) break;
        const bool mark = status == RecordStatus::FileMark;
        out.push_back({at, mark, mark ? Bytes() : Bytes(buffer.begin(), buffer.begin() + n)});
    }
    EXPECT_EQ(status, RecordStatus::End) << "the records do not reach the end of the file";
    return out;
}

// Information record components as (type, mnemonic, value); code, category and units checked on the way.
std::vector<std::tuple<int, std::string, std::string>> Components(const Record& r)
{
    std::vector<std::tuple<int, std::string, std::string>> out;
    size_t at = lis::kLogicalHeaderSize;
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

// DFSR entry values by entry type, and the datum specification blocks as (mnemonic, size).
std::map<int, std::string> Entries(const Record& r)
{
    std::map<int, std::string> out;
    size_t at = kDfsrFirstEntry;
    for (;;) {
        const uint8_t type = r.bytes[at + kEntryType], size = r.bytes[at + kEntrySize];
        out[type] = r.Text(at + kEntryValue, size);
        at += kEntryValue + size;
        if (type == 0) break;
    }
    EXPECT_EQ(at, kDfsrFirstBlock);
    return out;
}

std::vector<std::pair<std::string, int>> Blocks(const Record& r)
{
    std::vector<std::pair<std::string, int>> out;
    for (size_t at = kDfsrFirstBlock; at + kDsbSize <= r.bytes.size(); at += kDsbSize)
        out.emplace_back(r.Text(at + kDsbMnemonic.offset, 4), GetBE16(&r.bytes[at + kDsbChannelSize]));
    return out;
}

std::string Overlaid(size_t size, uint8_t type, std::initializer_list<std::pair<size_t, std::string>> fields)
{
    std::string s(size, ' ');
    s[0] = char(type);
    s[1] = 0;
    for (const auto& [at, text] : fields) s.replace(at, text.size(), text);
    return s;
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

    // The export's calling order; frames are (depth, values).
    void WriteAll(const QtxFileHeader& h, const std::vector<QtxDatumDescriptor>& d, int perReceiver,
                  const std::vector<std::pair<double, std::vector<float>>>& frames)
    {
        ASSERT_EQ(writer.Create(path), 1);
        ASSERT_EQ(writer.WriteHeaders(), 1);
        ASSERT_EQ(writer.WriteInformationRecord("QTX", &h, d.data()), 1);
        ASSERT_EQ(writer.WriteInformationRecord("CONS", &h, d.data()), 1);
        ASSERT_EQ(writer.WriteComment(&h), 1);
        ASSERT_EQ(writer.WriteDfsr(&h, d.data(), perReceiver), 1);
        for (const auto& [depth, values] : frames) {
            ASSERT_EQ(writer.WriteFrame(nullptr, 0, depth, CLisWrite::kFrameStart), 1);
            ASSERT_EQ(writer.WriteFrame(values.data(), uint32_t(values.size()), 0.0, CLisWrite::kFrameValues), 1);
        }
        ASSERT_EQ(writer.WriteTrailers(), 1);
        ASSERT_EQ(writer.Close(), 1);
    }

    // The DFSR written for these datums, one frame of zeros.
    Record Dfsr(const std::vector<QtxDatumDescriptor>& d, int perReceiver)
    {
        uint32_t frame = 8;
        for (const auto& x : d) frame += x.size;
        WriteAll(Header(frame, d.size()), d, perReceiver, {});
        for (const Record& r : ReadRecords(path))
            if (r.Type() == lis::kDataFormatSpec) return r;
        ADD_FAILURE() << "no DFSR";
        return {};
    }
};

TEST(LisWriteLayout, EveryFieldSitsAtItsByteOffset)
{
    const std::pair<size_t, size_t> fields[] = {
        {kReelSize, 128}, {kReelServiceName.offset, 2}, {kReelDate.offset, 14}, {kReelOrigin.offset, 24},
        {kReelName.offset, 30}, {kReelContinuation.offset, 40}, {kReelPreviousName.offset, 44},
        {kReelComment.offset, 54}, {kFileSize, 58}, {kFileName.offset, 2}, {kFileSubLevel.offset, 14},
        {kFileVersion.offset, 20}, {kFileDate.offset, 28}, {kFileMaxPhysical.offset, 37}, {kFileType.offset, 44},
        {kFilePreviousName.offset, 48}, {kCompHeaderSize, 12}, {kCompMnemonic.offset, 4}, {kCompUnits.offset, 8},
        {kDsbSize, 40}, {kDsbServiceId.offset, 4}, {kDsbServiceOrder.offset, 10}, {kDsbUnits.offset, 18},
        {kDsbApiCodes.offset, 22}, {kDsbFileNumber, 26}, {kDsbChannelSize, 28}, {kDsbPadding.offset, 30},
        {kDsbSamples, 33}, {kDsbCode, 34}, {kDsbProcessIndicators.offset, 35}, {kFrameDepth, 2}, {kFrameFirstValue, 6},
    };
    for (size_t i = 0; i < std::size(fields); ++i) EXPECT_EQ(fields[i].first, fields[i].second) << "field " << i;
}

TEST(LisWriteDate, IsTwoDigitYearMonthDayInUtc)
{
    EXPECT_EQ(CLisWrite::FormatDate(0), "70/01/01");
    EXPECT_EQ(CLisWrite::FormatDate(951868799), "00/02/29"); // 2000-02-29 23:59:59
    EXPECT_EQ(CLisWrite::FormatDate(FixedClock()), "23/11/14");
}

// A small data set written end to end: every record in order, pinned field by field.
TEST_F(LisWriteTest, SmallDataSetGivesTheGoldenRecords)
{
    const std::vector<QtxDatumDescriptor> d = {Datum("WMNO", 1, 2, 24, 1, 3, 10.0f),
                                               Datum("DTCO", 31, 1, 4, 2, 1, 2.5f, 3)};
    const QtxFileHeader h = Header(36, 2, "Logged by test.\r\n\t ");
    WriteAll(h, d, 1, {{1000.0, {1, 2, 3, 4, 5, 6, -1}}, {1000.5, {0.5f, 0.25f, 8, 16, 32, 64, -2}}});
    const std::vector<Record> r = ReadRecords(path);

    const std::vector<int> types = {132, 130, -1, 128, 34, 34, 232, 64, 0, 0, 129, 131, 133, -1, -1};
    ASSERT_EQ(r.size(), types.size());
    for (size_t i = 0; i < r.size(); ++i) EXPECT_EQ(r[i].mark ? -1 : int(r[i].Type()), types[i]) << "record " << i;

    const std::string comment = "Merrowdyne Revezirider LLC. Processing";
    auto reel = [&](uint8_t type, bool withComment) {
        return Overlaid(kReelSize, type, {{kReelServiceName.offset, "QTX   "}, {kReelDate.offset, "23/11/14"},
                                          {kReelOrigin.offset, "QTX "}, {kReelName.offset, "01      "},
                                          {kReelContinuation.offset, "01"}, {kReelComment.offset, withComment ? comment : ""}});
    };
    auto file = [&](uint8_t type) {
        return Overlaid(kFileSize, type, {{kFileName.offset, "QTX   .001"}, {kFileVersion.offset, "1.000   "},
                                          {kFileDate.offset, "23/11/14"}, {kFileMaxPhysical.offset, " 8192"},
                                          {kFileType.offset, "LO"}});
    };
    EXPECT_EQ(r[0].Text(0, r[0].bytes.size()), reel(132, true));
    EXPECT_EQ(r[1].Text(0, r[1].bytes.size()), reel(130, false));
    EXPECT_EQ(r[3].Text(0, r[3].bytes.size()), file(128));
    EXPECT_EQ(r[10].Text(0, r[10].bytes.size()), file(129));
    EXPECT_EQ(r[11].Text(0, r[11].bytes.size()), reel(131, false));
    EXPECT_EQ(r[12].Text(0, r[12].bytes.size()), reel(133, true));

    // Rows (MNEM, TUNI, DESC, VALU) as written: padded to 4, DESC to an even length.
    const std::vector<std::array<std::string, 4>> rows = {
        {"QTX ", "    ", "    ", "Merrowdyne"}, {"WMNO", "    ", "DSIMONO ", "1   "}, {"MNR ", "    ", "    ", "2   "},
        {"MNS ", "    ", "    ", "3   "},        {"MSP ", "    ", "    ", " 10.0000"}, {"DTCO", "    ", "SEMBMONO", "31  "},
        {"SPNS", "    ", "    ", "1   "},        {"SPSP", "US/F", "    ", "  2.5000"}, {"SPSD", "    ", "    ", "3   "},
    };
    for (const auto& [index, table] : {std::pair{4, "QTX "}, std::pair{5, "CONS"}}) {
        std::vector<std::tuple<int, std::string, std::string>> expected = {{73, "TYPE", table}};
        size_t length = 18;
        for (const auto& row : rows) {
            expected.emplace_back(0, "MNEM", row[0]);
            expected.emplace_back(69, "TUNI", row[1]);
            expected.emplace_back(69, "DESC", row[2]);
            expected.emplace_back(69, "VALU", row[3]);
            for (const auto& v : row) length += 12 + v.size();
        }
        EXPECT_EQ(Components(r[index]), expected) << table;
        EXPECT_EQ(r[index].bytes.size(), length);
    }

    EXPECT_EQ(r[6].Text(0, r[6].bytes.size()), std::string("\xE8\0Logged by test. ", 18));

    const Bytes entries = {1, 1, 66, 0,   2,  1,  66, 0,   3,   4, 73, 0,   0,   0,   32, 4, 1, 66,
                           255, 5, 1, 66, 255, 8, 4, 68, 0x40, 0x40, 0,  0,   9,   4,  65, 'M', ' ', ' ',
                           ' ', 11, 1, 66, 1,   13, 1, 66, 0,   16, 1,  66, 1,   0,  2,  79, 0,  0};
    ASSERT_EQ(r[7].bytes.size(), kDfsrFirstBlock + 4 * kDsbSize);
    EXPECT_EQ(Bytes(r[7].bytes.begin() + kDfsrFirstEntry, r[7].bytes.begin() + kDfsrFirstBlock), entries);
    auto dsb = [](const std::string& mnemonic, const std::string& units, uint8_t size) {
        std::string b(kDsbSize, '\0');
        b.replace(0, 22, mnemonic + std::string(14, ' ') + units);
        b[29] = char(size);
        b[33] = 1;
        b[34] = 68;
        return b;
    };
    EXPECT_EQ(r[7].Text(kDfsrFirstBlock, 4 * kDsbSize),
              dsb("DEPT", "M   ", 4) + dsb("MON1", "USEC", 12) + dsb("MON2", "USEC", 12) + dsb("DTCO", "US/F", 4));

    for (const auto& [index, depth, last] : {std::tuple{8, 1000.0, -1.0f}, std::tuple{9, 1000.5, -2.0f}}) {
        const Record& f = r[size_t(index)];
        ASSERT_EQ(f.bytes.size(), 34u); // QTX frame size - 2
        EXPECT_EQ(f.bytes[0], 0);
        EXPECT_EQ(f.bytes[1], 0);
        EXPECT_EQ(LisFloat68ToIeee(GetBE32(&f.bytes[kFrameDepth])), float(depth));
        EXPECT_EQ(LisFloat68ToIeee(GetBE32(&f.bytes[kFrameFirstValue + 24])), last);
    }
    EXPECT_EQ(GetBE32(&r[8].bytes[kFrameFirstValue]), 0x40C00000u);      // 1.0
    EXPECT_EQ(GetBE32(&r[8].bytes[kFrameFirstValue + 24]), 0xBF400000u); // -1.0
    EXPECT_EQ(LisFloat68ToIeee(GetBE32(&r[9].bytes[kFrameFirstValue + 4])), 0.25f);
}

TEST_F(LisWriteTest, DirectionAndDepthUnitsSelectEntriesAndDepthUnits)
{
    struct Case { uint8_t direction, units; std::string up, scale, spacing, deptUnits; };
    const Case cases[] = {
        {0xFF, 0xFF, "\xFF", "\xFF", "M   ", "M   "},
        {1, 1, "\x01", "\x01", "F   ", "FT  "},
        {0, 0xFF, "\x01", "\xFF", "M   ", "M   "},
    };
    for (const Case& c : cases) {
        QtxFileHeader h = Header(8, 0);
        h.logDirection = c.direction;
        h.depthUnits = c.units;
        CLisWrite w;
        ASSERT_EQ(w.Create(path), 1);
        ASSERT_EQ(w.WriteDfsr(&h, nullptr, 0), 1);
        ASSERT_EQ(w.Close(), 1);
        const Record r = ReadRecords(path).at(0);
        auto e = Entries(r);
        EXPECT_EQ(e[4], c.up);
        EXPECT_EQ(e[5], c.scale);
        EXPECT_EQ(e[9], c.spacing);
        EXPECT_EQ(r.Text(kDfsrFirstBlock + kDsbUnits.offset, 4), c.deptUnits);
    }
}

TEST_F(LisWriteTest, CommentKeepsTheHistoryWithoutTrailingWhiteSpaceAtEvenLength)
{
    const std::pair<std::string, std::string> cases[] = {
        {"ABCDE", "ABCDE "},
        {"AB\r\n\t  ", "AB"},
        {std::string("ABC\0XYZ", 7), "ABC "},   // the text ends at a zero byte
        {std::string(4096, '\0'), ""},          // nothing but zero bytes
        {std::string(4096, 'x'), std::string(4096, 'x')},
    };
    for (const auto& [history, text] : cases) {
        const QtxFileHeader h = Header(8, 0, history);
        CLisWrite w;
        ASSERT_EQ(w.Create(path), 1);
        ASSERT_EQ(w.WriteComment(&h), 1);
        ASSERT_EQ(w.Close(), 1);
        const Record r = ReadRecords(path).at(0);
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
        ASSERT_EQ(w.m_rows.size(), c.rows.size() + 1) << int(c.d.typeCode);
        EXPECT_EQ(w.m_rows[0].m_mnem, "QTX");
        EXPECT_EQ(w.m_rows[0].m_valu, "Merrowdyne");
        for (size_t i = 0; i < c.rows.size(); ++i) {
            const CLisTableRow& row = w.m_rows[i + 1];
            EXPECT_EQ((std::array<std::string, 4>{row.m_mnem, row.m_tuni, row.m_desc, row.m_valu}), c.rows[i])
                << int(c.d.typeCode) << " row " << i;
        }
    }
}

// A table larger than the first buffer grows it and is written whole.
TEST_F(LisWriteTest, InformationRecordBeyondItsFirstBufferIsWrittenWhole)
{
    std::vector<QtxDatumDescriptor> d;
    for (int i = 0; i < 300; ++i) d.push_back(Datum(Format("W%03d", i).c_str(), 1, 1, 4));
    const QtxFileHeader h = Header(8 + 4 * 300, d.size());
    ASSERT_EQ(writer.Create(path), 1);
    ASSERT_EQ(writer.WriteInformationRecord("QTX", &h, d.data()), 1);
    ASSERT_EQ(writer.Close(), 1);
    const Record r = ReadRecords(path).at(0);
    EXPECT_GT(r.bytes.size(), kInformationBufferSize);
    const auto c = Components(r);
    ASSERT_EQ(c.size(), 1 + 4 * (1 + 4 * 300));
    EXPECT_EQ(c[c.size() - 16], std::make_tuple(0, std::string("MNEM"), std::string("W299")));
    EXPECT_EQ(c.back(), std::make_tuple(69, std::string("VALU"), std::string(" 10.0000")));
}

// A data record of 8,198 bytes: physical records of 8,188 and 10 bytes of body.
TEST_F(LisWriteTest, DataRecordSplitsAtTheMaximumPhysicalLength)
{
    const std::vector<QtxDatumDescriptor> d = {Datum("AAAA", 50, 1, 4096), Datum("BBBB", 50, 1, 4096)};
    WriteAll(Header(8200, 2), d, 0, {{10.0, std::vector<float>(2048, 3.0f)}});
    const std::vector<Record> r = ReadRecords(path);
    EXPECT_EQ(Entries(r[7])[3], std::string("\0\0\x20\x04", 4)); // 8196
    const Record& frame = r[8];
    ASSERT_EQ(frame.Type(), lis::kNormalData);
    EXPECT_EQ(frame.bytes.size(), 8198u);

    BinaryFile f;
    ASSERT_TRUE(f.Open(path, BinaryFile::modeRead));
    uint8_t first[16], second[16];
    ASSERT_EQ(f.ReadAt(int64_t(frame.at), first, 16), 16u);
    ASSERT_EQ(f.ReadAt(int64_t(frame.at) + 12 + 8192, second, 16), 16u);
    EXPECT_EQ(endian::GetLE32(first + kTifNext), frame.at + 12 + 8192);
    EXPECT_EQ(GetBE16(first + 12 + lis::kPhysicalLength), 8192);
    EXPECT_EQ(GetBE16(first + 12 + lis::kPhysicalAttributes), lis::kSuccessor);
    EXPECT_EQ(GetBE16(second + 12 + lis::kPhysicalLength), 14);
    EXPECT_EQ(GetBE16(second + 12 + lis::kPhysicalAttributes), lis::kPredecessor);
    EXPECT_EQ(r[9].Type(), lis::kFileTrailer);
}

TEST_F(LisWriteTest, ChannelsPerDatumOrPerReceiver)
{
    using Names = std::vector<std::pair<std::string, int>>;
    struct Case { int perReceiver; QtxDatumDescriptor d; Names blocks; };
    const Case cases[] = {
        {1, Datum("WMNO", 1, 4, 8192), {{"MON1", 2048}, {"MON2", 2048}, {"MON3", 2048}, {"MON4", 2048}}},
        {0, Datum("WMNO", 1, 4, 8192), {{"WMNO", 8192}}},
        {1, Datum("WQUD", 86, 1, 16), {{"QUD1", 16}}},
        {1, Datum("WMNX", 1, 2, 16), {{"WMNX", 16}}},   // not a per-receiver mnemonic
        {1, Datum("WMNO", 1, 36, 144), {{"WMNO", 144}}}, // more receivers than names
        {1, Datum("WMNO", 1, 3, 16), {{"WMNO", 16}}},    // size not a multiple of the traces
        {1, Datum("WMNO", 1, 0, 0), {}},
        {1, Datum("WMNO", 1, 35, 35 * 4), {}}, // filled in below: MON1 .. MONZ, unique past 9
    };
    for (const Case& c : cases) {
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
    host.ExpectMessage("Waveforms too large for one LIS channel are written one channel per receiver :\nWMNO, WDXX");
    const std::vector<QtxDatumDescriptor> d = {Datum("DTCO", 31, 1, 32764), Datum("WMNO", 1, 8, 8 * 4096),
                                               Datum("WDXX", 2, 4, 4 * 16384)};
    std::vector<std::pair<std::string, int>> expected = {{"DEPT", 4}, {"DTCO", 32764}};
    for (int r = 1; r <= 8; ++r) expected.emplace_back("MON" + std::to_string(r), 4096);
    for (int r = 1; r <= 4; ++r) expected.emplace_back("DXX" + std::to_string(r), 16384);
    EXPECT_EQ(Blocks(Dfsr(d, 0)), expected);
    EXPECT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].type, unsigned(MB_OK | MB_ICONINFORMATION));
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
        ASSERT_EQ(w.Create(path), 1);
        host.ExpectMessage(Format("Datum %.4s does not fit into a LIS channel!\nOperation will be abandoned.", d.mnemonic));
        EXPECT_EQ(w.WriteDfsr(&h, &d, perReceiver), 0);
        EXPECT_EQ(std::filesystem::file_size(path), 0u) << "nothing written";
        EXPECT_EQ(w.WriteFrame(nullptr, 0, 1.0, CLisWrite::kFrameStart), 0) << "later calls fail quietly";
        w.Close();
    }
}

// What readers of the format rely on: an entry's size is the size of its code (text
// any length), and every channel size is a positive signed 16-bit value.
TEST_F(LisWriteTest, DfsrEntrySizesAgreeWithTheirCodesAndChannelsStayBelow32768Bytes)
{
    auto codeSize = [](uint8_t code) -> size_t {
        switch (code) {
        case 66: return 1;
        case 79: return 2;
        case 68: case 73: return 4;
        default: return 0; // 65: text
        }
    };
    const std::vector<QtxDatumDescriptor> sets[] = {
        {Datum("WMNO", 1, 2, 24), Datum("DTCO", 31, 1, 4)},
        {Datum("WMNO", 1, 8, 8 * 4096), Datum("WQUD", 86, 4, 4 * 16384)},
    };
    for (const auto& d : sets) {
        for (int perReceiver : {0, 1}) {
            if (perReceiver == 0 && d[0].size > kMaxChannelSize) host.ExpectMessage("one channel per receiver");
            const Record r = Dfsr(d, perReceiver);
            ASSERT_GE(r.bytes.size(), kDfsrFirstBlock);
            uint8_t type = 0xFF;
            for (size_t at = kDfsrFirstEntry; type != 0 && at < kDfsrFirstBlock; at += kEntryValue + r.bytes[at + kEntrySize]) {
                type = r.bytes[at + kEntryType];
                const size_t size = codeSize(r.bytes[at + kEntryCode]);
                if (size) {
                    EXPECT_EQ(r.bytes[at + kEntrySize], size) << "entry " << int(type);
                }
            }
            EXPECT_EQ(type, 0) << "entries end";
            for (const auto& [mnemonic, size] : Blocks(r)) EXPECT_LE(size, 32767) << mnemonic;
        }
    }
}

TEST_F(LisWriteTest, WriteFailureIsReportedOnce)
{
    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    const std::vector<QtxDatumDescriptor> d = {Datum("DTCO", 31, 1, 4)};
    const QtxFileHeader h = Header(12, 1);
    const float value = 1.0f;
    ASSERT_EQ(writer.Create("/dev/full"), 1);
    host.ExpectMessage("Error writing");
    EXPECT_EQ(writer.WriteHeaders(), 0);
    EXPECT_EQ(writer.WriteInformationRecord("QTX", &h, d.data()), 0);
    EXPECT_EQ(writer.WriteComment(&h), 0);
    EXPECT_EQ(writer.WriteDfsr(&h, d.data(), 0), 0);
    EXPECT_EQ(writer.WriteFrame(nullptr, 0, 1.0, CLisWrite::kFrameStart), 0);
    EXPECT_EQ(writer.WriteFrame(&value, 1, 0.0, CLisWrite::kFrameValues), 0);
    EXPECT_EQ(writer.WriteTrailers(), 0);
    EXPECT_EQ(writer.Close(), 0);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Error writing reel header in file :\n/dev/full"});
}

TEST_F(LisWriteTest, DeleteOutputRemovesOnlyTheCreatedFile)
{
    ASSERT_EQ(writer.Create(path), 1);
    ASSERT_EQ(writer.WriteHeaders(), 1);
    writer.Close();
    ASSERT_TRUE(FileExists(path));
    writer.DeleteOutput();
    EXPECT_FALSE(FileExists(path));

    CLisWrite other;
    const std::string folder = dir.File("sub");
    std::filesystem::create_directory(folder);
    EXPECT_EQ(other.Create(folder), 0);
    other.Close();
    other.DeleteOutput();
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

} // namespace
