#include "lis/LisRecordIO.h"

#include "platform/Endian.h"
#include "support/LisBuilder.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <random>

namespace {

using Bytes = std::vector<uint8_t>;

BinaryFile Memory(const Bytes& bytes)
{
    BinaryFile file;
    file.OpenMemory(std::make_shared<Bytes>(bytes), false);
    return file;
}

Bytes Filled(size_t n, uint8_t type = 0)
{
    Bytes r(n);
    for (size_t i = 0; i < n; ++i) r[i] = uint8_t(i * 7 + 3);
    r[0] = type;
    r[1] = 0;
    return r;
}

struct Seen {
    uint64_t start = 0;
    uint32_t length = 0;
    bool mark = false;
    Bytes data; // the record (or the mark's 4-byte type word)
};

// Walks a file as every reader does: probe, grow the buffer, read, until 0.
std::vector<Seen> WalkAll(BinaryFile& file, int framing, size_t bound = 10000)
{
    std::vector<Seen> out;
    std::vector<uint8_t> buffer(16);
    uint64_t position = 0;
    for (size_t i = 0; i < bound; ++i) {
        const uint32_t need = CLisRecordIO::ProbeLogicalRecord(file, position, framing);
        if (need == 0) break;
        if (buffer.size() < need) buffer.resize(need);
        Seen s;
        s.start = position;
        lis::RecordStatus status;
        s.length = CLisRecordIO::ReadLogicalRecord(buffer.data(), buffer.size(), file, position, framing, &status);
        s.mark = status == lis::RecordStatus::FileMark;
        EXPECT_NE(s.length, 0u) << "probed but unreadable at " << s.start;
        if (s.length == 0) break;
        EXPECT_GT(position, s.start) << "no progress at " << s.start;
        s.data.assign(buffer.begin(), buffer.begin() + (s.mark ? 4 : s.length));
        out.push_back(std::move(s));
    }
    return out;
}

// ---- framing detection ---------------------------------------------------------------

struct FramingCase {
    const char* name;
    Bytes bytes;
    int expected;
};

Bytes Built(int framing, const Bytes& record)
{
    LisBuilder b(framing);
    b.Record(record);
    return b.Bytes();
}

TEST(LisRecordIO, DetectFramingTellsTifPlainAndForeignStarts)
{
    Bytes tifLooking = Built(lis::kTif, lisb::ReelRecord(132));
    tifLooking[16] = 34; // an information record where a header belongs
    Bytes shortTif = Built(lis::kTif, lisb::ReelRecord(132));
    shortTif.resize(17);
    Bytes sixBytes = Built(lis::kPlain, lisb::ReelRecord(132));
    sixBytes.resize(6);
    Bytes attributeSet = lisb::ReelRecord(132);
    attributeSet[1] = 1;
    const std::vector<FramingCase> cases = {
        {"TIF reel header", Built(lis::kTif, lisb::ReelRecord(132)), 1},
        {"TIF tape header", Built(lis::kTif, lisb::ReelRecord(130)), 1},
        {"TIF file header", Built(lis::kTif, lisb::FileRecord(128)), 1},
        {"plain reel header", Built(lis::kPlain, lisb::ReelRecord(132)), 0},
        {"plain tape header", Built(lis::kPlain, lisb::ReelRecord(130)), 0},
        {"plain file header", Built(lis::kPlain, lisb::FileRecord(128)), 0},
        {"plain header of exactly 6 bytes", sixBytes, 0},
        {"plain data record first", Built(lis::kPlain, Filled(40, 0)), -1},
        {"plain DFSR first", Built(lis::kPlain, Filled(40, 64)), -1},
        {"plain trailer first", Built(lis::kPlain, lisb::ReelRecord(133)), -1},
        {"header with attribute byte 1", Built(lis::kPlain, attributeSet), -1},
        {"TIF-looking start with type 34", tifLooking, -1},
        {"TIF header with plain record after it", Built(lis::kTif, attributeSet), -1},
        {"TIF start cut at 17 bytes", shortTif, -1},
        {"5 bytes", Bytes(sixBytes.begin(), sixBytes.begin() + 5), -1},
        {"empty", {}, -1},
        {"text", Bytes{'H', 'e', 'l', 'l', 'o', ',', ' ', 'w', 'o', 'r', 'l', 'd', '\n'}, -1},
    };
    for (const auto& c : cases) {
        BinaryFile file = Memory(c.bytes);
        EXPECT_EQ(CLisRecordIO::DetectFraming(file), c.expected) << c.name;
    }
}

// ---- writing ---------------------------------------------------------------------------

struct PhysicalSeen {
    uint64_t tif = 0; // offset of the TIF header (TIF framing)
    uint32_t tifType = 0, previous = 0, next = 0;
    uint16_t length = 0, attributes = 0;
    Bytes body;
};

// Parses a written file without the layer under test.
std::vector<PhysicalSeen> Physicals(const Bytes& b, bool tif)
{
    std::vector<PhysicalSeen> out;
    size_t at = 0;
    while (at < b.size()) {
        PhysicalSeen p;
        if (tif) {
            if (at + 12 > b.size()) break;
            p.tif = at;
            p.tifType = endian::GetLE32(&b[at]);
            p.previous = endian::GetLE32(&b[at + 4]);
            p.next = endian::GetLE32(&b[at + 8]);
            if (p.tifType != 0) {
                out.push_back(p);
                at += 12;
                continue;
            }
            at += 12;
        }
        if (at + 4 > b.size()) break;
        p.length = endian::GetBE16(&b[at]);
        p.attributes = endian::GetBE16(&b[at + 2]);
        if (p.length < 4 || at + p.length > b.size()) break;
        p.body.assign(b.begin() + std::ptrdiff_t(at + 4), b.begin() + std::ptrdiff_t(at + p.length));
        out.push_back(p);
        at += p.length;
    }
    return out;
}

TEST(LisRecordIO, TwentyThousandByteRecordSplitsIntoThreeTifPhysicalRecords)
{
    auto bytes = std::make_shared<Bytes>();
    BinaryFile file;
    file.OpenMemory(bytes);
    CLisRecordIO io;
    const Bytes record = Filled(20000, 0);
    const Bytes next = lisb::FileRecord(129);
    ASSERT_EQ(io.WriteLogicalRecord(file, record.data(), 20000, 8192, lis::kTif), 1);
    ASSERT_EQ(io.WriteLogicalRecord(file, next.data(), uint32_t(next.size()), 8192, lis::kTif), 1);

    const auto p = Physicals(*bytes, true);
    ASSERT_EQ(p.size(), 4u);
    const uint64_t tif[] = {0, 8204, 16408, 20048};
    const uint32_t previous[] = {0, 0, 8204, 16408};
    const uint16_t lengths[] = {8192, 8192, 3628, 62};
    const uint16_t attributes[] = {1, 3, 2, 0};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(p[i].tif, tif[i]) << i;
        EXPECT_EQ(p[i].tifType, 0u) << i;
        EXPECT_EQ(p[i].previous, previous[i]) << i;
        EXPECT_EQ(p[i].next, tif[i] + 12 + lengths[i]) << i;
        EXPECT_EQ(p[i].length, lengths[i]) << i;
        EXPECT_EQ(p[i].attributes, attributes[i]) << i;
    }
    Bytes joined;
    for (size_t i = 0; i < 3; ++i) joined.insert(joined.end(), p[i].body.begin(), p[i].body.end());
    EXPECT_EQ(joined, record);
    EXPECT_EQ(p[3].body, next);

    uint64_t position = 0;
    EXPECT_EQ(CLisRecordIO::ProbeLogicalRecord(file, position, lis::kTif), 20000u);
    Bytes buffer(20000);
    lis::RecordStatus status;
    EXPECT_EQ(CLisRecordIO::ReadLogicalRecord(buffer.data(), buffer.size(), file, position, lis::kTif, &status), 20000u);
    EXPECT_EQ(status, lis::RecordStatus::Record);
    EXPECT_EQ(buffer, record);
    EXPECT_EQ(position, 20048u);
}

TEST(LisRecordIO, WrittenRecordsSplitAtTheLargestBody)
{
    struct Case {
        uint32_t length;
        std::vector<uint16_t> attributes;
        std::vector<uint16_t> lengths;
    };
    const std::vector<Case> cases = {
        {2, {0}, {6}},
        {8188, {0}, {8192}},
        {8189, {1, 2}, {8192, 5}},
        {16376, {1, 2}, {8192, 8192}},
        {16377, {1, 3, 2}, {8192, 8192, 5}},
    };
    for (int framing : {int(lis::kPlain), int(lis::kTif)}) {
        for (const auto& c : cases) {
            auto bytes = std::make_shared<Bytes>();
            BinaryFile file;
            file.OpenMemory(bytes);
            CLisRecordIO io;
            const Bytes record = Filled(c.length, 0);
            ASSERT_EQ(io.WriteLogicalRecord(file, record.data(), c.length, 8192, framing), 1);
            const auto p = Physicals(*bytes, framing == lis::kTif);
            ASSERT_EQ(p.size(), c.lengths.size()) << c.length << " framing " << framing;
            for (size_t i = 0; i < p.size(); ++i) {
                EXPECT_EQ(p[i].length, c.lengths[i]) << c.length << " piece " << i;
                EXPECT_EQ(p[i].attributes, c.attributes[i]) << c.length << " piece " << i;
            }
            BinaryFile in = Memory(*bytes);
            const auto seen = WalkAll(in, framing);
            ASSERT_EQ(seen.size(), 1u) << c.length;
            EXPECT_EQ(seen[0].data, record);
        }
    }
}

TEST(LisRecordIO, WrittenTapeImageWithFileMarksReadsBack)
{
    auto bytes = std::make_shared<Bytes>();
    BinaryFile file;
    file.OpenMemory(bytes);
    CLisRecordIO io;
    const std::vector<Bytes> records = {lisb::ReelRecord(132), lisb::ReelRecord(130), lisb::FileRecord(128),
                                        Filled(12, 0), Filled(9000, 0), lisb::FileRecord(129)};
    for (size_t i = 0; i < records.size(); ++i) {
        if (i == 2) {
            ASSERT_EQ(io.WriteFileMark(file), 1);
        }
        ASSERT_EQ(io.WriteLogicalRecord(file, records[i].data(), uint32_t(records[i].size()), 8192, lis::kTif), 1);
    }
    ASSERT_EQ(io.WriteLogicalRecord(file, records[0].data(), 0, 8192, lis::kTif), 1); // writes nothing
    ASSERT_EQ(io.WriteFileMark(file), 1);
    ASSERT_EQ(io.WriteFileMark(file), 1);

    // The headers chain back and forth; marks point just past themselves.
    const auto p = Physicals(*bytes, true);
    ASSERT_EQ(p.size(), 10u);
    for (size_t i = 0; i < p.size(); ++i) {
        EXPECT_EQ(p[i].tifType, (i == 2 || i >= 8) ? 1u : 0u) << i;
        EXPECT_EQ(p[i].previous, i == 0 ? 0u : p[i - 1].tif) << i;
        EXPECT_EQ(p[i].next, i + 1 < p.size() ? p[i + 1].tif : bytes->size()) << i;
    }

    BinaryFile in = Memory(*bytes);
    EXPECT_EQ(CLisRecordIO::DetectFraming(in), 1);
    const auto seen = WalkAll(in, lis::kTif);
    ASSERT_EQ(seen.size(), 9u);
    size_t r = 0;
    for (size_t i = 0; i < seen.size(); ++i) {
        const bool mark = i == 2 || i >= 7;
        EXPECT_EQ(seen[i].mark, mark) << i;
        if (mark) {
            EXPECT_EQ(seen[i].length, 12u);
            uint32_t type = 0;
            std::memcpy(&type, seen[i].data.data(), 4);
            EXPECT_EQ(type, 1u);
        } else {
            EXPECT_EQ(seen[i].data, records[r]) << i;
            ++r;
        }
    }
}

// ---- reading ---------------------------------------------------------------------------

TEST(LisRecordIO, ContinuationRecordsJoinWithTheirTrailersRemoved)
{
    struct Case {
        const char* name;
        std::vector<size_t> bodies;
        uint16_t trailers;
    };
    const std::vector<Case> cases = {
        {"one record, no trailers", {}, 0},
        {"one record, all trailers", {}, lisb::kAllTrailers},
        {"three records, checksum and record number", {100, 100}, lisb::kChecksum | lisb::kRecordNumber},
        {"three records, file number", {120, 1}, lisb::kFileNumber},
        {"four records, all trailers", {2, 150, 3}, lisb::kAllTrailers},
        {"empty continuation", {300, 0}, lisb::kChecksum},
        {"unknown attribute bits too", {64}, 0x8000 | 0x0040},
    };
    const Bytes record = Filled(300, 34);
    const Bytes after = lisb::FileRecord(129);
    for (int framing : {int(lis::kPlain), int(lis::kTif)}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (framing == lis::kTif ? " (TIF)" : " (plain)"));
            LisBuilder b(framing);
            b.Record(record, c.bodies, c.trailers & lisb::kAllTrailers, c.trailers & ~lisb::kAllTrailers).Record(after);
            BinaryFile file = Memory(b.Bytes());
            uint64_t position = 0;
            const uint32_t need = CLisRecordIO::ProbeLogicalRecord(file, position, framing);
            EXPECT_GE(need, record.size());
            Bytes buffer(need); // exactly what the probe asked for
            EXPECT_EQ(CLisRecordIO::ReadLogicalRecord(buffer.data(), buffer.size(), file, position, framing), 300u);
            EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 300), record);
            EXPECT_EQ(position, b.Starts()[1]);
            Bytes second(64);
            EXPECT_EQ(CLisRecordIO::ReadLogicalRecord(second.data(), second.size(), file, position, framing), 58u);
            EXPECT_EQ(Bytes(second.begin(), second.begin() + 58), after);
            EXPECT_EQ(position, b.Bytes().size());
            lis::RecordStatus status;
            EXPECT_EQ(CLisRecordIO::ReadLogicalRecord(second.data(), second.size(), file, position, framing, &status), 0u);
            EXPECT_EQ(status, lis::RecordStatus::End) << "a clean end of the file";
        }
    }
}

TEST(LisRecordIO, FileMarkIsTwelveBytesInTifAndAPlainTwelveByteRecordIsARecord)
{
    const Bytes twelve = Filled(12, 0);
    {
        LisBuilder b(lis::kTif);
        b.Record(twelve).FileMark().FileMark();
        BinaryFile file = Memory(b.Bytes());
        uint64_t position = b.Starts()[1];
        EXPECT_EQ(CLisRecordIO::ProbeLogicalRecord(file, position, lis::kTif), 12u);
        Bytes buffer(16, 0xAA);
        lis::RecordStatus status;
        EXPECT_EQ(CLisRecordIO::ReadLogicalRecord(buffer.data(), buffer.size(), file, position, lis::kTif, &status), 12u);
        EXPECT_EQ(status, lis::RecordStatus::FileMark);
        EXPECT_EQ(position, b.Starts()[1] + 12);
        uint32_t type = 0;
        std::memcpy(&type, buffer.data(), 4);
        EXPECT_EQ(type, 1u);
        EXPECT_EQ(buffer[4], 0xAA); // nothing else written

        // The 12-byte record before the marks is a record.
        position = 0;
        EXPECT_EQ(CLisRecordIO::ReadLogicalRecord(buffer.data(), buffer.size(), file, position, lis::kTif, &status), 12u);
        EXPECT_EQ(status, lis::RecordStatus::Record);
    }
    {
        LisBuilder b(lis::kPlain);
        b.Record(twelve).Record(twelve);
        BinaryFile file = Memory(b.Bytes());
        const auto seen = WalkAll(file, lis::kPlain);
        ASSERT_EQ(seen.size(), 2u);
        for (const auto& s : seen) {
            EXPECT_FALSE(s.mark);
            EXPECT_EQ(s.data, twelve);
        }
    }
}

TEST(LisRecordIO, WalkOverABuiltFileVisitsEveryRecordOnceAndEnds)
{
    lisb::Dfsr dfsr;
    dfsr.channels = {{"GR", "GAPI", 4, 1, 68}, {"WAVE", "US", 2000, 250, 79}};
    lisb::Dfsr once = dfsr;
    once.depthOnce = true;
    const std::vector<lisb::TableRow> rows = {{{"MNEM", "BS"}, {"TUNI", "IN"}, {"VALU", "8.5"}, {"DESC", "Bit"}}};
    for (int framing : {int(lis::kPlain), int(lis::kTif)}) {
        SCOPED_TRACE(framing == lis::kTif ? "TIF" : "plain");
        LisBuilder b(framing);
        b.ReelHeader().TapeHeader().FileMark().FileHeader("FILE.001").Table("CONS", rows).Comment("history");
        b.Dfsr(dfsr).Data(dfsr, 1000.0, 0.5, 3);
        b.Record(lisb::DataRecord(dfsr, 1001.5, 0.5, 5, lisb::DefaultSample, 3), {4000, 4000}, lisb::kChecksum);
        b.FileTrailer("FILE.001").FileMark().FileHeader("FILE.002").Dfsr(once).Data(once, 50.0, -0.25, 8);
        b.FileTrailer("FILE.002").TapeTrailer().ReelTrailer().FileMark().FileMark();
        const bool tif = framing == lis::kTif;
        const std::vector<int> types = tif ? std::vector<int>{132, 130, -1, 128, 34, 232, 64, 0, 0, 129, -1, 128, 64,
                                                              0, 129, 131, 133, -1, -1}
                                           : std::vector<int>{132, 130, 128, 34, 232, 64, 0, 0, 129, 128, 64, 0, 129,
                                                              131, 133};

        BinaryFile file = Memory(b.Bytes());
        ASSERT_EQ(CLisRecordIO::DetectFraming(file), framing);
        const auto seen = WalkAll(file, framing);
        ASSERT_EQ(seen.size(), types.size());
        ASSERT_EQ(b.Starts().size(), types.size());
        for (size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(seen[i].start, b.Starts()[i]) << i;
            EXPECT_EQ(seen[i].mark, types[i] < 0) << i;
            if (types[i] >= 0) {
                EXPECT_EQ(seen[i].data[0], types[i]) << i;
            }
        }
        const Seen& split = seen[tif ? 8 : 7];
        EXPECT_EQ(split.data.size(), 2 + 5 * (4 + 4 + 2000u));
        EXPECT_EQ(split.data, lisb::DataRecord(dfsr, 1001.5, 0.5, 5, lisb::DefaultSample, 3));
    }
}

struct DamagedCase {
    const char* name;
    Bytes bytes;
    uint64_t position = 0;
};

// A TIF header and physical record header by hand.
Bytes Tif(uint32_t type, uint32_t previous, uint32_t next) { return lisb::TifHeader(type, previous, next); }
Bytes Physical(uint16_t length, uint16_t attributes, size_t bodyBytes)
{
    Bytes b(4);
    endian::PutBE16(b.data(), length);
    endian::PutBE16(b.data() + 2, attributes);
    Bytes body = Filled(std::max<size_t>(bodyBytes, 2), 0);
    b.insert(b.end(), body.begin(), body.begin() + std::ptrdiff_t(bodyBytes));
    return b;
}
Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST(LisRecordIO, DamagedPlainRecordsReadAsNothingAndLeaveThePosition)
{
    const Bytes good = Physical(20, 0, 16);
    const std::vector<DamagedCase> cases = {
        {"length 0", Physical(0, 0, 16)},
        {"length 1", Physical(1, 0, 16)},
        {"length 3", Physical(3, 0, 16)},
        {"length 4: no logical header", Physical(4, 0, 0)},
        {"length 5: half a logical header", Physical(5, 0, 1)},
        {"shorter than its trailers", Physical(6, lisb::kChecksum | lisb::kRecordNumber, 2)},
        {"first record past the end", Physical(100, 0, 50)},
        {"header cut", Bytes{0, 20}},
        {"continuation missing", Physical(20, lisb::kSuccessor, 16)},
        {"continuation past the end", Cat({Physical(20, lisb::kSuccessor, 16), Physical(40, 2, 10)})},
        {"continuation of length 0", Cat({Physical(20, lisb::kSuccessor, 16), Physical(0, 2, 16)})},
        {"continuation of length 2", Cat({Physical(20, lisb::kSuccessor, 16), Physical(2, 2, 16)})},
        {"continuation shorter than its trailers", Cat({Physical(20, lisb::kSuccessor, 16), Physical(5, 0x1602, 1)})},
    };
    for (const auto& c : cases) {
        BinaryFile file = Memory(c.bytes);
        EXPECT_EQ(CLisRecordIO::ProbeLogicalRecord(file, c.position, lis::kPlain), 0u) << c.name;
        Bytes buffer(64); // ASan catches a write past it
        uint64_t position = c.position;
        lis::RecordStatus status;
        EXPECT_EQ(CLisRecordIO::ReadLogicalRecord(buffer.data(), buffer.size(), file, position, lis::kPlain, &status), 0u)
            << c.name;
        EXPECT_EQ(position, c.position) << c.name;
        EXPECT_EQ(status, lis::RecordStatus::Damaged) << c.name;
    }
    // At or past the end of the file there is nothing to read: an end, not damage.
    for (uint64_t at : {20u, 21u}) {
        BinaryFile file = Memory(good);
        Bytes buffer(64);
        uint64_t position = at;
        lis::RecordStatus status;
        EXPECT_EQ(CLisRecordIO::ProbeLogicalRecord(file, at, lis::kPlain), 0u);
        EXPECT_EQ(CLisRecordIO::ReadLogicalRecord(buffer.data(), buffer.size(), file, position, lis::kPlain, &status), 0u);
        EXPECT_EQ(status, lis::RecordStatus::End) << at;
        EXPECT_EQ(position, at);
    }
}

TEST(LisRecordIO, DamagedTifChainsReadAsNothingAndNeverLoop)
{
    const std::vector<DamagedCase> cases = {
        {"next points at itself", Cat({Tif(0, 0, 0), Physical(20, 0, 16)})},
        {"next points back", Cat({Tif(0, 0, 32), Physical(20, 0, 16), Tif(0, 0, 0), Physical(20, 0, 16)}), 32},
        {"continuation next points at itself", Cat({Tif(0, 0, 32), Physical(20, 1, 16), Tif(0, 0, 32),
                                                   Physical(20, 3, 16)})},
        {"continuation loops to the first", Cat({Tif(0, 0, 32), Physical(20, 1, 16), Tif(0, 0, 0),
                                                Physical(20, 3, 16)})},
        // Overlapping records would read the same bytes again and again: a record many
        // times the file's size.
        {"next inside its own record", Cat({Tif(0, 0, 31), Physical(20, 0, 16), Bytes(12, 0)})},
        {"continuation next inside its record", Cat({Tif(0, 0, 32), Physical(20, 1, 16), Tif(0, 0, 40),
                                                    Physical(20, 3, 16), Bytes(20, 0)})},
        {"continuation header past the end", Cat({Tif(0, 0, 1000), Physical(20, 1, 16)})},
        {"continuation header cut", Cat({Tif(0, 0, 32), Physical(20, 1, 16), Bytes(8, 0)})},
        {"continuation record cut", Cat({Tif(0, 0, 32), Physical(20, 1, 16), Tif(0, 0, 64), Physical(20, 2, 10)})},
        {"continuation of length 0", Cat({Tif(0, 0, 32), Physical(20, 1, 16), Tif(0, 0, 64), Physical(0, 2, 16)})},
        {"first record past the end", Cat({Tif(0, 0, 112), Physical(100, 0, 50)})},
        {"length 2", Cat({Tif(0, 0, 32), Physical(2, 0, 16)})},
        {"physical header cut", Cat({Tif(0, 0, 32), Bytes{0, 20, 0}})},
        {"TIF header cut", Bytes(11, 0)},
    };
    for (const auto& c : cases) {
        BinaryFile file = Memory(c.bytes);
        EXPECT_EQ(CLisRecordIO::ProbeLogicalRecord(file, c.position, lis::kTif), 0u) << c.name;
        Bytes buffer(64);
        uint64_t position = c.position;
        lis::RecordStatus status;
        EXPECT_EQ(CLisRecordIO::ReadLogicalRecord(buffer.data(), buffer.size(), file, position, lis::kTif, &status), 0u)
            << c.name;
        EXPECT_EQ(position, c.position) << c.name;
        EXPECT_EQ(status, lis::RecordStatus::Damaged) << c.name;
    }
}

TEST(LisRecordIO, RecordLargerThanTheBufferIsRefusedUnwritten)
{
    for (int framing : {int(lis::kPlain), int(lis::kTif)}) {
        for (const std::vector<size_t>& bodies : {std::vector<size_t>{}, std::vector<size_t>{200}}) {
            LisBuilder b(framing);
            b.Record(Filled(300, 0), bodies, lisb::kChecksum);
            BinaryFile file = Memory(b.Bytes());
            const uint32_t need = CLisRecordIO::ProbeLogicalRecord(file, 0, framing);
            ASSERT_GE(need, 300u);
            // On the heap at its exact size, so that ASan sees any byte written past it.
            auto buffer = std::make_unique<uint8_t[]>(need - 1);
            uint64_t position = 0;
            lis::RecordStatus status;
            EXPECT_EQ(CLisRecordIO::ReadLogicalRecord(buffer.get(), need - 1, file, position, framing, &status), 0u);
            EXPECT_EQ(position, 0u);
            EXPECT_EQ(status, lis::RecordStatus::NoRoom);
        }
    }
}

// ---- numbers ---------------------------------------------------------------------------

TEST(LisRecordIO, Code68EncodesTheDefinedExamples)
{
    const std::vector<std::pair<double, uint32_t>> cases = {
        {1.0, 0x40C00000}, {-1.0, 0xBF400000}, {0.5, 0x40400000},   {100.0, 0x43E40000},
        {153.0, 0x444C8000}, {-153.0, 0xBBB38000}, {0.0, 0},         {-0.0, 0},
    };
    for (const auto& [value, word] : cases) {
        EXPECT_EQ(LisFloat68FromIeee(value), word) << value;
        EXPECT_EQ(lisb::Code68(value), word) << "builder " << value;
    }
    EXPECT_EQ(LisFloat68FromIeee(1e-40), 0u) << "subnormal";
}

TEST(LisRecordIO, Code68DecodesWordsIncludingZeroFractions)
{
    const std::vector<std::pair<uint32_t, float>> cases = {
        {0x40C00000, 1.0f},     {0xBF400000, -1.0f},  {0x40400000, 0.5f}, {0x43E40000, 100.0f},
        {0x444C8000, 153.0f},   {0xBBB38000, -153.0f}, {0x00000000, 0.0f},
        // A positive zero fraction is zero whatever the exponent.
        {0x40000000, 0.0f},     {0x7F800000, 0.0f},
        // A negative zero fraction is the two's complement of a full one: -2^(~E - 128).
        {0xBF800000, -1.0f},    {0xBF000000, -2.0f},
        {0x80000000, -std::ldexp(1.0f, 127)},
    };
    for (const auto& [word, value] : cases) EXPECT_EQ(LisFloat68ToIeee(word), value) << std::hex << word;
}

TEST(LisRecordIO, Code68RoundTripsDropOnlyTheLowestMantissaBit)
{
    EXPECT_EQ(LisFloat68ToIeee(LisFloat68FromIeee(-0.1)), -0.099999994f);
    std::mt19937 rng(20240131);
    std::uniform_int_distribution<uint32_t> mantissa(0, 0x7FFFFF), exponent(1, 253), sign(0, 1);
    for (int i = 0; i < 200000; ++i) {
        const uint32_t bits = (sign(rng) << 31) | (exponent(rng) << 23) | mantissa(rng);
        const float f = std::bit_cast<float>(bits);
        const uint32_t word = LisFloat68FromIeee(f);
        ASSERT_EQ(word, lisb::Code68(f)) << f;
        ASSERT_EQ(LisFloat68ToIeee(word), std::bit_cast<float>(bits & ~1u)) << f;
    }
}

TEST(LisRecordIO, Code68BeyondSinglePrecisionStaysFinite)
{
    for (double v : {double(INFINITY), 3.0e38, -3.0e38, double(-INFINITY)}) {
        const float back = LisFloat68ToIeee(LisFloat68FromIeee(v));
        EXPECT_TRUE(std::isfinite(back)) << v;
        EXPECT_GT(std::fabs(back), 1.0e38f) << v;
        EXPECT_EQ(std::signbit(back), std::signbit(v)) << v;
    }
    EXPECT_EQ(LisFloat68FromIeee(double(NAN)), 0u);
    // Every exponent and sign decodes to a finite number of that sign.
    for (uint32_t e = 0; e < 256; ++e)
        for (uint32_t f : {0x000001u, 0x400000u, 0x7FFFFFu})
            for (uint32_t s : {0u, 1u}) {
                const float v = LisFloat68ToIeee((s << 31) | (e << 23) | f);
                ASSERT_TRUE(std::isfinite(v)) << e << " " << f;
                ASSERT_EQ(std::signbit(v), s == 1) << e << " " << f;
            }
}

TEST(LisRecordIO, RoundTo4DecimalsRoundsHalfAwayFromZero)
{
    const std::vector<std::pair<double, double>> cases = {
        {2.00004, 2.0},    {2.00006, 2.0001},   {-2.00006, -2.0001},       {1.23456, 1.2346},
        {0.0, 0.0},        {-0.00004, 0.0},     {0.25, 0.25},              {-1.23454, -1.2345},
        {214748.3646, 214748.3646},
        // Beyond 32 bits the same rule holds.
        {300000.12346, 300000.1235}, {-300000.12346, -300000.1235},
    };
    for (const auto& [in, out] : cases) EXPECT_NEAR(CLisRecordIO::RoundTo4Decimals(in), out, 1e-9) << in;
    EXPECT_EQ(CLisRecordIO::SwapBytes16(0x1234), 0x3412);
}

} // namespace
