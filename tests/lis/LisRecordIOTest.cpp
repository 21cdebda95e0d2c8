#include "lis/LisRecordIO.h"

#include "LisHelpers.h"
#include "platform/Endian.h"
#include "support/LisBuilder.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace lis;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Filled(size_t n, uint8_t type = 0)
{
    Bytes r(n);
    for (size_t i = 0; i < n; ++i) r[i] = uint8_t(i * 7 + 3);
    r[0] = type;
    r[1] = 0;
    return r;
}

Bytes Built(int framing, const Bytes& record) { return LisBuilder(framing).Record(record).Bytes(); }

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// A physical record header by hand, with `bodyBytes` bytes of a data record behind it.
Bytes Physical(uint16_t length, uint16_t attributes, size_t bodyBytes)
{
    Bytes b(4);
    endian::PutBE16(b.data(), length);
    endian::PutBE16(b.data() + 2, attributes);
    Bytes body = Filled(std::max<size_t>(bodyBytes, 2), 0);
    b.insert(b.end(), body.begin(), body.begin() + std::ptrdiff_t(bodyBytes));
    return b;
}
Bytes Tif(uint32_t type, uint32_t previous, uint32_t next) { return lisb::TifHeader(type, previous, next); }

TEST(LisRecordIO, DetectFramingTellsTifPlainAndForeignStarts)
{
    Bytes tifLooking = Built(kTif, lisb::ReelRecord(132));
    tifLooking[16] = 34; // an information record where a header belongs
    Bytes shortTif = Built(kTif, lisb::ReelRecord(132));
    shortTif.resize(17);
    Bytes sixBytes = Built(kPlain, lisb::ReelRecord(132));
    sixBytes.resize(6);
    Bytes attributeSet = lisb::ReelRecord(132);
    attributeSet[1] = 1;
    const struct { const char* name; Bytes bytes; int expected; } cases[] = {
        {"TIF reel header", Built(kTif, lisb::ReelRecord(132)), kTif},
        {"TIF tape header", Built(kTif, lisb::ReelRecord(130)), kTif},
        {"TIF file header", Built(kTif, lisb::FileRecord(128)), kTif},
        {"plain reel header", Built(kPlain, lisb::ReelRecord(132)), kPlain},
        {"plain tape header", Built(kPlain, lisb::ReelRecord(130)), kPlain},
        {"plain file header", Built(kPlain, lisb::FileRecord(128)), kPlain},
        {"plain header of exactly 6 bytes", sixBytes, kPlain},
        {"plain data record first", Built(kPlain, Filled(40, 0)), kNotLis},
        {"plain DFSR first", Built(kPlain, Filled(40, 64)), kNotLis},
        {"plain trailer first", Built(kPlain, lisb::ReelRecord(133)), kNotLis},
        {"header with attribute byte 1", Built(kPlain, attributeSet), kNotLis},
        {"TIF-looking start with type 34", tifLooking, kNotLis},
        {"TIF header with plain record after it", Built(kTif, attributeSet), kNotLis},
        {"TIF start cut at 17 bytes", shortTif, kNotLis},
        {"5 bytes", Bytes(sixBytes.begin(), sixBytes.begin() + 5), kNotLis},
        {"empty", {}, kNotLis},
        {"text", Bytes{'H', 'e', 'l', 'l', 'o', ',', ' ', 'w', 'o', 'r', 'l', 'd', '\n'}, kNotLis},
    };
    for (const auto& c : cases) {
        BinaryFile file;
        file.OpenMemory(std::make_shared<Bytes>(c.bytes), false);
        EXPECT_EQ(CLisRecordIO::DetectFraming(file), c.expected) << c.name;
    }
}

// Physical records split at the largest body, headers chained back and forth, marks
// pointing just past themselves; the image reads back record for record to a clean end.
TEST(LisRecordIO, WrittenRecordsSplitChainAndReadBackToACleanEnd)
{
    const struct { uint32_t length; std::vector<uint16_t> lengths, attributes; } splits[] = {
        {2, {6}, {0}},
        {8188, {8192}, {0}},
        {8189, {8192, 5}, {1, 2}},
        {16377, {8192, 8192, 5}, {1, 3, 2}},
        {20000, {8192, 8192, 3628}, {1, 3, 2}},
    };
    for (int framing : {int(kPlain), int(kTif)}) {
        SCOPED_TRACE(framing);
        auto bytes = std::make_shared<Bytes>();
        BinaryFile file;
        file.OpenMemory(bytes);
        CLisRecordIO io;
        std::vector<Bytes> records = {lisb::ReelRecord(132)};
        ASSERT_TRUE(io.WriteLogicalRecord(file, records[0].data(), uint32_t(records[0].size()), 8192, framing).Ok());
        if (framing == kTif) {
            ASSERT_TRUE(io.WriteFileMark(file).Ok());
        }
        for (const auto& s : splits) {
            records.push_back(Filled(s.length, 0));
            ASSERT_TRUE(io.WriteLogicalRecord(file, records.back().data(), s.length, 8192, framing).Ok());
        }
        ASSERT_TRUE(io.WriteLogicalRecord(file, records[0].data(), 0, 8192, framing).Ok()); // writes nothing
        if (framing == kTif) {
            ASSERT_TRUE(io.WriteFileMark(file).Ok());
        }

        // The physical records, parsed without the layer under test.
        const Bytes& b = *bytes;
        std::vector<uint16_t> lengths, attributes;
        size_t at = 0, previous = 0;
        while (at < b.size()) {
            if (framing == kTif) {
                EXPECT_EQ(endian::GetLE32(&b[at + kTifPrevious]), previous) << at;
                const uint32_t next = endian::GetLE32(&b[at + kTifNext]);
                previous = at;
                if (endian::GetLE32(&b[at + kTifType]) != 0) {
                    EXPECT_EQ(next, at + 12) << "a mark points past itself";
                    at = next;
                    continue;
                }
                EXPECT_EQ(next, at + 12 + endian::GetBE16(&b[at + 12])) << at;
                at += 12;
            }
            lengths.push_back(endian::GetBE16(&b[at]));
            attributes.push_back(endian::GetBE16(&b[at + 2]));
            at += lengths.back();
        }
        std::vector<uint16_t> wantLengths = {132}, wantAttributes = {0};
        for (const auto& s : splits) {
            wantLengths.insert(wantLengths.end(), s.lengths.begin(), s.lengths.end());
            wantAttributes.insert(wantAttributes.end(), s.attributes.begin(), s.attributes.end());
        }
        EXPECT_EQ(lengths, wantLengths);
        EXPECT_EQ(attributes, wantAttributes);

        const Walked w = WalkLis(b, framing);
        EXPECT_EQ(w.end, RecordStatus::End);
        EXPECT_EQ(w.position, b.size());
        std::vector<Bytes> read;
        for (const auto& r : w.records)
            if (!r.mark) read.push_back(r.bytes);
        EXPECT_EQ(read, records);
        EXPECT_EQ(w.records.size(), records.size() + (framing == kTif ? 2 : 0));
    }
}

TEST(LisRecordIO, ContinuationRecordsJoinWithTheirTrailersRemoved)
{
    const struct { const char* name; std::vector<size_t> bodies; uint16_t trailers; } cases[] = {
        {"one record, no trailers", {}, 0},
        {"one record, all trailers", {}, lisb::kAllTrailers},
        {"three records, checksum and record number", {100, 100}, lisb::kChecksum | lisb::kRecordNumber},
        {"three records, file number", {120, 1}, lisb::kFileNumber},
        {"four records, all trailers", {2, 150, 3}, lisb::kAllTrailers},
        {"empty continuation", {300, 0}, lisb::kChecksum},
        {"unknown attribute bits too", {64}, 0x8000 | 0x0040},
    };
    const Bytes record = Filled(300, 34), after = lisb::FileRecord(129);
    for (int framing : {int(kPlain), int(kTif)}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (framing == kTif ? " (TIF)" : " (plain)"));
            LisBuilder b(framing);
            b.Record(record, c.bodies, c.trailers & lisb::kAllTrailers, c.trailers & ~lisb::kAllTrailers).Record(after);
            BinaryFile file;
            file.OpenMemory(b.Shared(), false);
            uint64_t position = 0;
            const uint32_t need = CLisRecordIO::ProbeLogicalRecord(file, position, framing);
            EXPECT_GE(need, record.size());
            Bytes buffer(need); // exactly what the probe asked for
            EXPECT_EQ(CLisRecordIO::ReadLogicalRecord(buffer.data(), buffer.size(), file, position, framing), 300u);
            EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 300), record);
            EXPECT_EQ(position, b.Starts()[1]);
            const Walked rest = WalkLis(b.Bytes(), framing);
            ASSERT_EQ(rest.records.size(), 2u);
            EXPECT_EQ(rest.records[1].bytes, after);
            EXPECT_EQ(rest.end, RecordStatus::End);
        }
    }
}

TEST(LisRecordIO, FileMarkIsTwelveBytesInTifAndAPlainTwelveByteRecordIsARecord)
{
    const Bytes twelve = Filled(12, 0);
    LisBuilder tif(kTif);
    tif.Record(twelve).FileMark();
    BinaryFile file;
    file.OpenMemory(tif.Shared(), false);
    uint64_t position = tif.Starts()[1];
    EXPECT_EQ(CLisRecordIO::ProbeLogicalRecord(file, position, kTif), 12u);
    Bytes buffer(16, 0xAA);
    RecordStatus status;
    EXPECT_EQ(CLisRecordIO::ReadLogicalRecord(buffer.data(), buffer.size(), file, position, kTif, &status), 12u);
    EXPECT_EQ(status, RecordStatus::FileMark);
    EXPECT_EQ(position, tif.Starts()[1] + 12);
    uint32_t type = 0;
    std::memcpy(&type, buffer.data(), 4);
    EXPECT_EQ(type, 1u);
    EXPECT_EQ(buffer[4], 0xAA) << "nothing else written";
    EXPECT_EQ(WalkLis(tif.Bytes(), kTif).Types(), "0 M");

    const Walked plain = WalkLis(LisBuilder(kPlain).Record(twelve).Record(twelve).Bytes(), kPlain);
    EXPECT_EQ(plain.Types(), "0 0");
    EXPECT_EQ(plain.records[1].bytes, twelve);
}

// Damage reads as nothing and leaves the position; a chain never loops. At or past
// the end of the file the read says so, not damage; a whole record too large for
// the buffer says that, leaving every byte past the buffer unwritten.
TEST(LisRecordIO, DamagedRecordsEndsAndRecordsWithoutRoomAreToldApart)
{
    const RecordStatus kDamaged = RecordStatus::Damaged;
    const Bytes good = Physical(20, 0, 16);
    const struct { const char* name; int framing; Bytes bytes; uint64_t position; RecordStatus status; } cases[] = {
        {"length 0", kPlain, Physical(0, 0, 16), 0, kDamaged},
        {"length 3", kPlain, Physical(3, 0, 16), 0, kDamaged},
        {"length 4: no logical header", kPlain, Physical(4, 0, 0), 0, kDamaged},
        {"length 5: half a logical header", kPlain, Physical(5, 0, 1), 0, kDamaged},
        {"shorter than its trailers", kPlain, Physical(6, lisb::kChecksum | lisb::kRecordNumber, 2), 0, kDamaged},
        {"first record past the end", kPlain, Physical(100, 0, 50), 0, kDamaged},
        {"header cut", kPlain, Bytes{0, 20}, 0, kDamaged},
        {"continuation missing", kPlain, Physical(20, lisb::kSuccessor, 16), 0, kDamaged},
        {"continuation past the end", kPlain, Cat({Physical(20, 1, 16), Physical(40, 2, 10)}), 0, kDamaged},
        {"continuation of length 2", kPlain, Cat({Physical(20, 1, 16), Physical(2, 2, 16)}), 0, kDamaged},
        {"continuation shorter than its trailers", kPlain, Cat({Physical(20, 1, 16), Physical(5, 0x1602, 1)}), 0, kDamaged},
        {"TIF next points at itself", kTif, Cat({Tif(0, 0, 0), Physical(20, 0, 16)}), 0, kDamaged},
        {"TIF next points back", kTif, Cat({Tif(0, 0, 32), good, Tif(0, 0, 0), good}), 32, kDamaged},
        {"TIF continuation loops to itself", kTif, Cat({Tif(0, 0, 32), Physical(20, 1, 16), Tif(0, 0, 32), Physical(20, 3, 16)}), 0, kDamaged},
        {"TIF continuation loops to the first", kTif, Cat({Tif(0, 0, 32), Physical(20, 1, 16), Tif(0, 0, 0), Physical(20, 3, 16)}), 0, kDamaged},
        // Overlapping records would read the same bytes again and again: a record many
        // times the file's size.
        {"TIF next inside its own record", kTif, Cat({Tif(0, 0, 31), good, Bytes(12, 0)}), 0, kDamaged},
        {"TIF continuation next inside its record", kTif, Cat({Tif(0, 0, 32), Physical(20, 1, 16), Tif(0, 0, 40), Physical(20, 3, 16), Bytes(20, 0)}), 0, kDamaged},
        // A chain that moves forward, but through headers inside the record before.
        {"TIF continuation inside the record before", kTif, Cat({Tif(0, 0, 32), Physical(20, 1, 16), Tif(0, 0, 56),
                                                                 Physical(40, 3, 0), Bytes(8, 0), Tif(0, 0, 84), Physical(16, 2, 12)}), 0, kDamaged},
        {"TIF continuation header past the end", kTif, Cat({Tif(0, 0, 1000), Physical(20, 1, 16)}), 0, kDamaged},
        {"TIF continuation header cut", kTif, Cat({Tif(0, 0, 32), Physical(20, 1, 16), Bytes(8, 0)}), 0, kDamaged},
        {"TIF continuation record cut", kTif, Cat({Tif(0, 0, 32), Physical(20, 1, 16), Tif(0, 0, 64), Physical(20, 2, 10)}), 0, kDamaged},
        {"TIF continuation of length 0", kTif, Cat({Tif(0, 0, 32), Physical(20, 1, 16), Tif(0, 0, 64), Physical(0, 2, 16)}), 0, kDamaged},
        {"TIF length 2", kTif, Cat({Tif(0, 0, 32), Physical(2, 0, 16)}), 0, kDamaged},
        {"TIF physical header cut", kTif, Cat({Tif(0, 0, 32), Bytes{0, 20, 0}}), 0, kDamaged},
        {"TIF header cut", kTif, Bytes(11, 0), 0, kDamaged},
        {"at the end", kPlain, good, 20, RecordStatus::End},
        {"past the end", kPlain, good, 21, RecordStatus::End},
        {"TIF at the end", kTif, Cat({Tif(0, 0, 32), good}), 32, RecordStatus::End},
        {"empty file", kTif, {}, 0, RecordStatus::End},
        {"one record of 66 bytes", kPlain, Physical(70, 0, 66), 0, RecordStatus::NoRoom},
        {"continued record of 68 bytes", kTif, Cat({Tif(0, 0, 28), Physical(16, 1, 12), Tif(0, 0, 100), Physical(60, 2, 56)}), 0, RecordStatus::NoRoom},
        {"too large, then damaged", kPlain, Cat({Physical(70, 1, 66), Physical(0, 2, 0)}), 0, kDamaged},
    };
    for (const auto& c : cases) {
        BinaryFile file;
        file.OpenMemory(std::make_shared<Bytes>(c.bytes), false);
        if (c.status != RecordStatus::NoRoom) {
            EXPECT_EQ(CLisRecordIO::ProbeLogicalRecord(file, c.position, c.framing), 0u) << c.name;
        }
        auto buffer = std::make_unique<uint8_t[]>(64); // on the heap at its size: ASan sees a write past it
        uint64_t position = c.position;
        RecordStatus status;
        EXPECT_EQ(CLisRecordIO::ReadLogicalRecord(buffer.get(), 64, file, position, c.framing, &status), 0u) << c.name;
        EXPECT_EQ(status, c.status) << c.name;
        EXPECT_EQ(position, c.position) << c.name;
    }
}

} // namespace
