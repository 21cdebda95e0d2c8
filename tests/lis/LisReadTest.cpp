#include "lis/LisRead.h"

#include "platform/Endian.h"
#include "support/LisBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
constexpr float kSentinel = 12345.5f; // prefilled output, to see what a call wrote

struct Body {
    Bytes b;
    Body& BE16(uint16_t v) { b.resize(b.size() + 2); endian::PutBE16(&b[b.size() - 2], v); return *this; }
    Body& F68(double v) { b.resize(b.size() + 4); endian::PutBE32(&b[b.size() - 4], LisFloat68FromIeee(v)); return *this; }
    Body& Raw(const Bytes& v) { b.insert(b.end(), v.begin(), v.end()); return *this; }
};

// A LIS file in memory: a reel header, then one data record per body; opened in `reader`.
struct LisFile {
    std::shared_ptr<Bytes> bytes = std::make_shared<Bytes>();
    std::vector<uint64_t> positions; // of the data records
    std::vector<uint32_t> lengths;   // of their bodies

    LisFile(int framing, const std::vector<Bytes>& bodies, uint32_t maxPhysical = 8192)
    {
        BinaryFile file;
        file.OpenMemory(bytes);
        CLisRecordIO io;
        Bytes reel = {lis::kReelHeader, 0};
        reel.resize(lis::kReelSize, ' ');
        EXPECT_TRUE(io.WriteLogicalRecord(file, reel.data(), uint32_t(reel.size()), maxPhysical, framing).Ok());
        for (const Bytes& body : bodies) {
            Bytes record = {lis::kNormalData, 0};
            record.insert(record.end(), body.begin(), body.end());
            positions.push_back(uint64_t(file.GetPosition()));
            lengths.push_back(uint32_t(body.size()));
            EXPECT_TRUE(io.WriteLogicalRecord(file, record.data(), uint32_t(record.size()), maxPhysical, framing).Ok());
        }
    }
    LisFrameRef Frame(size_t record, uint32_t frameOffset, double depth) const
    {
        return {positions[record], lengths[record], frameOffset, depth};
    }
    void Open(CLisRead& reader, const std::string& path = "mem.lis") const
    {
        BinaryFile file;
        file.OpenMemory(bytes, false);
        ASSERT_TRUE(reader.Open(std::move(file), path).Ok());
    }
};

// Reads into `room` prefilled floats; the result code in *result.
std::vector<float> Read(CLisRead& reader, const LisFrameRef& frame, const LisChannelSlice& channel, int* result,
                        size_t room = 64)
{
    std::vector<float> out(room, kSentinel);
    *result = reader.ReadChannel(out.data(), out.size(), frame, channel) ? 1 : 0;
    return out;
}

// The first `n` values, and a check that nothing behind them was written.
std::vector<float> Written(const std::vector<float>& out, size_t n)
{
    for (size_t i = n; i < out.size(); ++i) EXPECT_EQ(out[i], kSentinel) << "written past the values at " << i;
    return std::vector<float>(out.begin(), out.begin() + std::ptrdiff_t(std::min(n, out.size())));
}

bool Untouched(const std::vector<float>& out)
{
    return std::all_of(out.begin(), out.end(), [](float v) { return v == kSentinel; });
}

TEST(LisRead, DecodesEachRepresentationCodeInFrameOrderBothFramings)
{
    const struct { uint8_t code; Bytes bytes; std::vector<float> expected; } cases[] = {
        {56, {0x80, 0x7F, 0xFF, 0x00}, {-128, 127, -1, 0}},
        {66, {0xFF, 0x00, 0x80}, {255, 0, 128}},
        {79, {0xFF, 0xFE, 0x7F, 0xFF, 0x80, 0x00}, {-2, 32767, -32768}},
        {79, {0x00, 0x05, 0x00}, {5}}, // an odd byte left over is not a value
        {73, {0xFF, 0xFF, 0xFF, 0xFD, 0x01, 0x00, 0x00, 0x01, 0x80, 0, 0, 0}, {-3, 16777216.0f, -2147483648.0f}},
        {68, Body().F68(-1.5).F68(1000.25).BE16(0x4000).b, {-1.5f, 1000.25f}}, // size 10: two values
        {65, {'D', 'E', 'P', 'T'}, {}},
        {68, {1, 2, 3}, {}}, // too short for one element
        {49, {0x40, 0x01, 0xB3, 0x88, 0x7F, 0xFF, 0x80, 0x0F, 0x00, 0x10}, {1.0f, -153.0f, 32752.0f, -32768.0f, 1.0f / 2048}},
        {49, {0x40, 0x01, 0x40}, {1.0f}}, // an odd byte left over is not a value
        {50, {0xFF, 0xFF, 0xC0, 0x00, 0x00, 0x08, 0x4C, 0x80, 0x00, 0x80, 0x7F, 0xFF, 0xFF, 0x80, 0x00, 0x01},
         {-0.25f, 153.0f, 32767.0f / 32768 * 0x1p127f * 2, 0x1p-143f}},
        // Beyond a float: no value rather than a clamped or infinite one.
        {50, {0x00, 0x81, 0x40, 0x00, 0x7F, 0xFF, 0x80, 0x00, 0x00, 0x01, 0x40, 0x00}, {-999.25f, -999.25f, 1.0f}},
        {70, {0x00, 0x99, 0x40, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0, 0, 0, 0x7F, 0xFF, 0xFF, 0xFF},
         {153.25f, -1.0f / 65536, -32768.0f, 32768.0f}}, // the largest rounds to the nearest float
        {70, {1, 2, 3}, {}},
    };
    // Two frames in the record: a code-68 depth, then every channel; the second frame
    // (read below) differs from the first only by its depth.
    Body frame;
    std::vector<LisChannelSlice> slices;
    frame.F68(1000.0);
    for (const auto& c : cases) {
        slices.push_back({uint32_t(frame.b.size()), uint32_t(c.bytes.size()), c.code});
        frame.Raw(c.bytes);
    }
    const uint32_t frameSize = uint32_t(frame.b.size());
    Bytes body = frame.b;
    body.insert(body.end(), frame.b.begin(), frame.b.end());
    endian::PutBE32(&body[frameSize], LisFloat68FromIeee(1000.5));
    for (int framing : {int(lis::kPlain), int(lis::kTif)}) {
        const LisFile lis(framing, {body});
        CLisRead reader;
        lis.Open(reader);
        EXPECT_EQ(reader.Framing(), framing);
        for (size_t i = 0; i < std::size(cases); ++i) {
            int result = -1;
            const auto out = Read(reader, lis.Frame(0, frameSize, 1000.5), slices[i], &result);
            EXPECT_EQ(result, 1) << "case " << i;
            EXPECT_EQ(Written(out, cases[i].expected.size()), cases[i].expected) << "case " << i;
        }
        int result = -1;
        EXPECT_EQ(Written(Read(reader, lis.Frame(0, frameSize, 1000.5), {0, 4, 68}, &result), 1),
                  std::vector<float>{1000.5f});
    }
}

TEST(LisRead, FramesSpanningPhysicalRecordsReadWhole)
{
    // 20,000 bytes of code-79 values i = 0..9999 in one logical record, split into
    // physical records of 8,192 bytes: bodies break at 8,188 and 16,376.
    Body body;
    for (uint32_t i = 0; i < 10000; ++i) body.BE16(uint16_t(i));
    const struct { uint32_t frameOffset, channelOffset, count, scanLength; } cases[] = {
        {0, 0, 4, 20000}, {8000, 180, 8, 20000}, {16000, 370, 8, 20000}, {19000, 992, 4, 20000},
        {8192, 0, 600, 0}, // the scan's length too small for the record
    };
    for (int framing : {int(lis::kPlain), int(lis::kTif)}) {
        const LisFile lis(framing, {body.b, Body().BE16(7).b});
        for (const auto& c : cases) {
            CLisRead reader;
            lis.Open(reader);
            LisFrameRef frame = lis.Frame(0, c.frameOffset, 500.0);
            frame.dataLength = c.scanLength;
            int result = -1;
            const auto out = Read(reader, frame, {c.channelOffset, 2 * c.count, 79}, &result, 600);
            ASSERT_EQ(result, 1) << c.frameOffset;
            const uint32_t first = (c.frameOffset + c.channelOffset) / 2;
            for (uint32_t k = 0; k < c.count; ++k) EXPECT_EQ(out[k], float(first + k)) << c.frameOffset << " " << k;
            Written(out, c.count);
        }
    }
}

TEST(LisRead, SlicesBeyondTheOutputOrTheRecordAreRefusedUntouched)
{
    // Record body: 16 bytes of 1..16 as bytes; the record with its header is 18.
    Bytes b(16);
    for (size_t i = 0; i < b.size(); ++i) b[i] = uint8_t(i + 1);
    const LisFile lis(lis::kPlain, {b, Bytes(64, 0x02)});
    CLisRead reader;
    lis.Open(reader);
    const struct { uint32_t frameOffset; LisChannelSlice channel; size_t room; int result; } cases[] = {
        {0, {0, 8, 79}, 4, 1},  {0, {0, 8, 79}, 3, 0}, {0, {0, 8, 79}, 0, 0},
        {0, {0, 6, 49}, 3, 1},  {0, {0, 6, 49}, 2, 0},  {0, {0, 8, 70}, 2, 1}, {0, {0, 8, 50}, 1, 0},
        {0, {0, 4, 77}, 9, 0},  {0, {0, 2, 170}, 9, 0}, {0, {0, 2, 0}, 9, 0}, // no number layout: nothing made up
        {0, {0, 8, 56}, 7, 0},  {0, {0, 4, 65}, 0, 1},  // text writes nothing
        {8, {4, 4, 66}, 9, 1},  {8, {4, 5, 66}, 9, 0},  // ends at the last byte; one past
        {12, {0, 8, 79}, 9, 0}, {16, {0, 0, 79}, 9, 1}, {17, {0, 0, 79}, 9, 0}, // empty at the end; past it
        {0, {14, 3, 70}, 9, 0}, {0, {14, 4, 65}, 9, 0}, // codes that read nothing are held to the record too
        {8, {4, 6, 68}, 9, 0},                          // one whole value fits, the slice does not
        {0xFFFFFFFFu, {0xFFFFFFFFu, 4, 68}, 9, 0}, {0, {0xFFFFFFF0u, 0xFFFFu, 56}, 70000, 0}, // sums that would wrap
    };
    for (const auto& c : cases) {
        std::vector<float> out(std::max<size_t>(c.room, 8), kSentinel);
        const int result = reader.ReadChannel(out.data(), c.room, lis.Frame(0, c.frameOffset, 1.0), c.channel) ? 1 : 0;
        EXPECT_EQ(result, c.result) << c.frameOffset << "+" << c.channel.offset << "+" << c.channel.size << " room " << c.room;
        if (result == 0) {
            EXPECT_TRUE(Untouched(out));
        } else {
            Written(out, lis::Is(c.channel.representationCode, lis::ReprCode::Text) ? 0 : c.channel.ElementCount());
        }
    }
}

TEST(LisRead, CacheIsKeyedByPathAndRecordPosition)
{
    // Two records whose frames carry the same depth.
    const LisFile lis(lis::kTif, {Body().BE16(11).BE16(12).b, Body().BE16(21).BE16(22).b});
    CLisRead reader;
    lis.Open(reader, "a.lis");
    const LisChannelSlice first{0, 2, 79}, second{2, 2, 79};
    auto value = [&](const LisFrameRef& frame, const LisChannelSlice& channel) {
        float v = kSentinel;
        EXPECT_TRUE(reader.ReadChannel(&v, 1, frame, channel).Ok());
        return v;
    };
    // Changing the file's bytes shows whether a request read the record again.
    auto poke = [&](int16_t v) {
        endian::PutBE16(lis.bytes->data() + lis.positions[0] + lis::kTifHeaderSize + lis::kPhysicalHeaderSize
                            + lis::kLogicalHeaderSize,
                        uint16_t(v));
    };
    EXPECT_EQ(value(lis.Frame(0, 0, 1000.0), first), 11);
    poke(-1);
    EXPECT_EQ(value(lis.Frame(0, 0, 1000.0), second), 12) << "same frame: from the buffer";
    EXPECT_EQ(value(lis.Frame(0, 0, 1000.0), first), 11) << "still the buffered record";
    EXPECT_EQ(value(lis.Frame(1, 0, 1000.0), first), 21) << "same depth, another record";
    EXPECT_EQ(value(lis.Frame(0, 0, 1000.0), first), -1) << "back to the first record: read again";
    poke(-2);
    EXPECT_EQ(value(lis.Frame(0, 0, 1000.5), first), -1) << "another depth (a depth-once frame): from the buffer";
    poke(-3);
    reader.Close();
    lis.Open(reader, "a.lis");
    EXPECT_EQ(value(lis.Frame(0, 0, 1000.0), first), -1) << "a reopened path keeps its buffered record";
    lis.Open(reader, "b.lis");
    EXPECT_EQ(value(lis.Frame(0, 0, 1000.0), first), -3) << "another path reads again";
}

// A depth-once record of 3,000 frames (a code-79 count and a code-68 half of it behind
// the record's depth) over several physical records: each frame read through the record
// read once gives what a reader of that frame alone gives, and the values written. Cut
// short, every frame of it fails with the reader's message, as a frame read alone does.
TEST(LisRead, EveryFrameOfALongRecordReadsAsAFrameReadAlone)
{
    constexpr uint32_t kFrames = 3000, kFrameSize = 6, kDepthSize = 4;
    Body body;
    body.F68(1000.0);
    for (uint32_t k = 0; k < kFrames; ++k) body.BE16(uint16_t(k)).F68(0.5 * k);
    const uint32_t recordLength = uint32_t(lis::kLogicalHeaderSize + body.b.size());
    const uint32_t lastPiece = recordLength % (4096 - lis::kPhysicalHeaderSize); // bytes of the last physical record
    ASSERT_NE(lastPiece, 0u);
    const LisChannelSlice count{0, 2, 79}, half{2, 4, 68};
    auto frame = [&](const LisFile& lis, uint32_t k) {
        return lis.Frame(1, kDepthSize + k * kFrameSize, 1000.0 + 0.5 * k);
    };
    // Both channels of frame k, or the messages of both reads when they fail.
    auto read = [](CLisRead& reader, const LisFrameRef& ref, const LisChannelSlice& a, const LisChannelSlice& b) {
        float v[2] = {kSentinel, kSentinel};
        const Status first = reader.ReadChannel(&v[0], 1, ref, a), second = reader.ReadChannel(&v[1], 1, ref, b);
        return std::make_tuple(v[0], v[1], first.Message(), second.Message());
    };

    // How the file is cut: bytes taken off its end, or the last physical record's length
    // raised past it.
    const struct { const char* what; size_t cut; bool longer; } cases[] = {
        {"whole", 0, false},
        {"cut inside its last physical record", 100, false},
        {"cut behind a physical record that says more follow", lastPiece + lis::kPhysicalHeaderSize, false},
        {"its last physical record longer than the file", 0, true},
    };
    for (int framing : {int(lis::kPlain), int(lis::kTif)}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (framing == lis::kTif ? ", TIF" : ", plain"));
            LisFile lis(framing, {Body().BE16(7).b, body.b}, 4096);
            lis.bytes->resize(lis.bytes->size() - c.cut);
            if (c.longer) // the record is the file's last: its last physical record ends the file
                endian::PutBE16(lis.bytes->data() + lis.bytes->size() - lastPiece - lis::kPhysicalHeaderSize,
                                uint16_t(lastPiece + lis::kPhysicalHeaderSize + 1));
            const bool whole = c.cut == 0 && !c.longer;
            const std::string unread = whole ? "" : "Error reading frame data in file :\nmem.lis";
            CLisRead reader;
            lis.Open(reader);
            for (uint32_t k = 0; k < kFrames; ++k) {
                const auto got = read(reader, frame(lis, k), count, half);
                if (k % 250 == 0 || k + 1 == kFrames) {
                    CLisRead alone;
                    lis.Open(alone);
                    ASSERT_EQ(got, read(alone, frame(lis, k), count, half)) << "frame " << k;
                }
                const auto expected = whole ? std::make_tuple(float(k), 0.5f * float(k), unread, unread)
                                            : std::make_tuple(kSentinel, kSentinel, unread, unread);
                ASSERT_EQ(got, expected) << "frame " << k;
            }
            // The record before it reads still, and the long one fails again after it.
            float v = kSentinel;
            EXPECT_TRUE(reader.ReadChannel(&v, 1, lis.Frame(0, 0, 999.0), count).Ok());
            EXPECT_EQ(v, 7.0f);
            EXPECT_EQ(read(reader, frame(lis, 1), count, half), read(reader, frame(lis, 1), count, half));
            EXPECT_EQ(std::get<2>(read(reader, frame(lis, 1), count, half)), unread);
        }
    }
}

TEST(LisRead, FailedReadsLeaveTheOutputUntouched)
{
    // The last record is multi-physical and cut short inside its last physical record;
    // a file mark stands between the records.
    Body longBody;
    for (uint32_t i = 0; i < 5000; ++i) longBody.BE16(uint16_t(i));
    LisFile lis(lis::kTif, {Body().BE16(5).BE16(6).b, Body().BE16(1).b, longBody.b}, 4096);
    const uint64_t mark = lis.positions[1];
    std::copy_n(lisb::TifHeader(1, 0, uint32_t(lis.positions[2])).begin(), lis::kTifHeaderSize, lis.bytes->begin() + long(mark));
    lis.bytes->resize(lis.bytes->size() - 100);

    CLisRead reader;
    int result = -1;
    EXPECT_TRUE(Untouched(Read(reader, lis.Frame(0, 0, 1.0), {0, 2, 79}, &result)));
    EXPECT_EQ(result, 0) << "no file open";
    lis.Open(reader);
    ASSERT_EQ(Written(Read(reader, lis.Frame(0, 0, 1.0), {0, 4, 79}, &result), 2), (std::vector<float>{5, 6}));
    const struct { const char* what; LisFrameRef frame; } cases[] = {
        {"damaged record", lis.Frame(2, 0, 2.0)},
        {"damaged record at the buffered depth", lis.Frame(2, 0, 1.0)},
        {"file mark", {mark, 0, 0, 1.0}},
        {"past the end of the file", {uint64_t(lis.bytes->size()) + 10, 4, 0, 3.0}},
        {"at the end of the file", {uint64_t(lis.bytes->size()), 4, 0, 4.0}},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(Untouched(Read(reader, c.frame, {0, 4, 79}, &result))) << c.what;
        EXPECT_EQ(result, 0) << c.what;
        // A failed read may have overwritten the buffer: the first record is read again.
        EXPECT_EQ(Written(Read(reader, lis.Frame(0, 0, 1.0), {0, 4, 79}, &result), 2), (std::vector<float>{5, 6}))
            << "after " << c.what;
    }
}

TEST(LisRead, OpensDiskFilesAndReadsNonLisFilesAsPlain)
{
    TempDir dir;
    // A plain file starting with a data record: not recognised as LIS, still readable.
    WriteBytes(dir.File("data.lis"), {0x00, 0x08, 0x00, 0x00, lis::kNormalData, 0, 0xFF, 0x9C});
    CLisRead reader;
    const std::string missing = dir.File("missing.lis");
    EXPECT_EQ(reader.Open(missing).Message(), "Could not open input file :\n" + missing + OpenFailureCause(missing));
    ASSERT_TRUE(reader.Open(dir.File("data.lis")).Ok());
    EXPECT_EQ(reader.Framing(), lis::kNotLis);
    float v = kSentinel;
    EXPECT_TRUE(reader.ReadChannel(&v, 1, {0, 2, 0, 0.0}, {0, 2, 79}).Ok());
    EXPECT_EQ(v, -100.0f);
    const Status unread = reader.ReadChannel(&v, 1, {0, 2, 0, 0.0}, {0, 4, 79});
    EXPECT_EQ(unread.Message(), "Error reading frame data in file :\n" + dir.File("data.lis")) << "past the record";
    reader.Close();
    EXPECT_EQ(reader.ReadChannel(&v, 1, {0, 2, 0, 0.0}, {0, 2, 79}).Message(), "") << "a closed reader fails quietly";
}

} // namespace
