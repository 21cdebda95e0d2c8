#include "lis/LisRecordIO.h"
#include "lis/LisRecords.h"
#include "support/LisBuilder.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <optional>
#include <random>
#include <utility>
#include <vector>

using namespace lis;

namespace {

TEST(LisLayout, EveryFieldSitsAtItsOffsetInsideItsRecord)
{
    // Text fields: offset and width as the format gives them, inside their record.
    const struct { Field field; size_t offset, size, record; } text[] = {
        {kReelServiceName, 2, 6, kReelSize},  {kReelDate, 14, 8, kReelSize},      {kReelOrigin, 24, 4, kReelSize},
        {kReelName, 30, 8, kReelSize},        {kReelContinuation, 40, 2, kReelSize}, {kReelPreviousName, 44, 8, kReelSize},
        {kReelComment, 54, 74, kReelSize},    {kFileName, 2, 10, kFileSize},      {kFileSubLevel, 14, 6, kFileSize},
        {kFileVersion, 20, 8, kFileSize},     {kFileDate, 28, 8, kFileSize},      {kFileMaxPhysical, 37, 5, kFileSize},
        {kFileType, 44, 2, kFileSize},        {kFilePreviousName, 48, 10, kFileSize}, {kCompMnemonic, 4, 4, kCompHeaderSize},
        {kCompUnits, 8, 4, kCompHeaderSize},  {kDsbMnemonic, 0, 4, kDsbSize},     {kDsbServiceId, 4, 6, kDsbSize},
        {kDsbServiceOrder, 10, 8, kDsbSize},  {kDsbUnits, 18, 4, kDsbSize},       {kDsbApiCodes, 22, 4, kDsbSize},
        {kDsbPadding, 30, 3, kDsbSize},       {kDsbProcessIndicators, 35, 5, kDsbSize},
    };
    for (const auto& t : text) {
        EXPECT_EQ(t.field.offset, t.offset);
        EXPECT_EQ(t.field.size, t.size) << t.offset;
        EXPECT_LE(t.field.offset + t.field.size, t.record) << t.offset;
    }
    const std::pair<size_t, size_t> binary[] = {
        {kTifHeaderSize, 12}, {kTifType, 0}, {kTifPrevious, 4}, {kTifNext, 8}, {kPhysicalHeaderSize, 4},
        {kPhysicalLength, 0}, {kPhysicalAttributes, 2}, {kLogicalHeaderSize, 2}, {kRecordType, 0}, {kRecordAttribute, 1},
        {kReelSize, 128}, {kFileSize, 58}, {kCompType, 0}, {kCompCode, 1}, {kCompSize, 2}, {kCompCategory, 3},
        {kCompValue, 12}, {kEntryType, 0}, {kEntrySize, 1}, {kEntryCode, 2}, {kEntryValue, 3}, {kDsbSize, 40},
        {kDsbFileNumber, 26}, {kDsbChannelSize, 28}, {kDsbSamples, 33}, {kDsbCode, 34},
    };
    for (size_t i = 0; i < std::size(binary); ++i) EXPECT_EQ(binary[i].first, binary[i].second) << "field " << i;
}

TEST(LisLayout, EachCodeDecodesItsElementWithinTheBytesLeft)
{
    const struct { uint8_t code; std::vector<uint8_t> bytes; std::optional<double> value; int size; } cases[] = {
        {56, {0x80}, -128, 1},          {56, {0x7F}, 127, 1},           {66, {0xFF}, 255, 1},
        {79, {0xFF, 0xFE}, -2, 2},      {79, {0x7F, 0xFF}, 32767, 2},   {79, {0x80, 0x00}, -32768, 2},
        {73, {0xFF, 0xFF, 0xFF, 0xFD}, -3, 4}, {73, {0x80, 0, 0, 0}, -2147483648.0, 4},
        {68, {0x44, 0x4C, 0x80, 0x00}, 153, 4}, {68, {0xBB, 0xB3, 0x80, 0x00}, -153, 4},
        {79, {0x01}, std::nullopt, 2},  {68, {1, 2, 3}, std::nullopt, 4}, {73, {}, std::nullopt, 4}, // too short
        {65, {'A'}, std::nullopt, 1},   {0, {9}, std::nullopt, 1},
        // Code 49: fraction M / 2^11 in the high 12 bits, exponent 0-15 in the low 4.
        {49, {0x40, 0x01}, 1.0, 2},     {49, {0x4C, 0x88}, 153, 2},     {49, {0xB3, 0x88}, -153, 2},
        {49, {0x7F, 0xFF}, 32752, 2},   {49, {0x80, 0x0F}, -32768, 2},  {49, {0x00, 0x10}, 1.0 / 2048, 2},
        {49, {0xFF, 0xF0}, -1.0 / 2048, 2}, {49, {0x00, 0x0F}, 0, 2},  {49, {0x40}, std::nullopt, 2},
        // Code 50: exponent in the high half, fraction M / 2^15 in the low half, both signed.
        {50, {0xFF, 0xFF, 0xC0, 0x00}, -0.25, 4}, {50, {0x00, 0x08, 0x4C, 0x80}, 153, 4},
        {50, {0x00, 0x01, 0x80, 0x00}, -2, 4},    {50, {0x00, 0x80, 0x7F, 0xFF}, 32767.0 / 32768 * std::ldexp(1.0, 128), 4},
        {50, {0xFF, 0x80, 0x00, 0x01}, std::ldexp(1.0, -143), 4},
        {50, {0x7F, 0xFF, 0x7F, 0xFF}, HUGE_VAL, 4}, {50, {0x7F, 0xFF, 0x80, 0x00}, -HUGE_VAL, 4}, // beyond a double
        {50, {0x80, 0x00, 0x40, 0x00}, 0, 4},     {50, {0, 0, 0}, std::nullopt, 4},
        // Code 70: a signed count of 1/65536.
        {70, {0x00, 0x99, 0x40, 0x00}, 153.25, 4}, {70, {0x7F, 0xFF, 0xFF, 0xFF}, 2147483647.0 / 65536, 4},
        {70, {0x80, 0x00, 0x00, 0x00}, -32768, 4},  {70, {0xFF, 0xFF, 0xFF, 0xFF}, -1.0 / 65536, 4},
        {70, {1, 2, 3}, std::nullopt, 4},
        // No number layout: a mask, codes the format does not define.
        {77, {0xFF, 0xFF}, std::nullopt, 1}, {170, {1, 2, 3, 4}, std::nullopt, 1}, {234, {1, 2, 3, 4}, std::nullopt, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RepresentationSize(c.code), c.size) << int(c.code);
        CLisChannelItem channel;
        channel.m_reprCode = c.code;
        EXPECT_EQ(channel.BytesPerSample(), c.size) << int(c.code);
        EXPECT_EQ(channel.HasValueLayout(), c.code != 0 && c.code != 77 && c.code != 170 && c.code != 234) << int(c.code);
        double v = 12345.5;
        const uint8_t* p = c.bytes.data();
        const uint8_t* after = DecodeNumber(c.code, p, p + c.bytes.size(), v);
        if (!c.value) {
            EXPECT_EQ(after, nullptr) << int(c.code);
            EXPECT_EQ(v, 12345.5) << "untouched";
            continue;
        }
        EXPECT_EQ(after, p + c.size) << int(c.code);
        EXPECT_EQ(v, *c.value) << int(c.code);
    }
}

TEST(LisLayout, Code68EncodesAndDecodesTheDefinedWords)
{
    // Both ways, and the builder (written from the format's definition) agrees.
    const std::pair<double, uint32_t> both[] = {{1.0, 0x40C00000},   {-1.0, 0xBF400000},   {0.5, 0x40400000},
                                                {100.0, 0x43E40000}, {153.0, 0x444C8000}, {-153.0, 0xBBB38000},
                                                {0.0, 0}};
    for (const auto& [value, word] : both) {
        EXPECT_EQ(LisFloat68FromIeee(value), word) << value;
        EXPECT_EQ(lisb::Code68(value), word) << value;
        EXPECT_EQ(LisFloat68ToIeee(word), float(value)) << std::hex << word;
    }
    EXPECT_EQ(LisFloat68FromIeee(-0.0), 0u);
    EXPECT_EQ(LisFloat68FromIeee(1e-40), 0u) << "subnormal";
    EXPECT_EQ(LisFloat68FromIeee(double(NAN)), 0u);
    // Decoding only: a positive zero fraction is zero whatever the exponent; a negative
    // one is the two's complement of a full fraction, -2^(~E - 128).
    const std::pair<uint32_t, float> words[] = {{0x40000000, 0.0f}, {0x7F800000, 0.0f}, {0xBF800000, -1.0f},
                                                {0xBF000000, -2.0f}, {0x80000000, -std::ldexp(1.0f, 127)}};
    for (const auto& [word, value] : words) EXPECT_EQ(LisFloat68ToIeee(word), value) << std::hex << word;
}

TEST(LisLayout, Code68RoundTripsDropOnlyTheLowestMantissaBitAndStaysFinite)
{
    std::mt19937 rng(20240131);
    std::uniform_int_distribution<uint32_t> mantissa(0, 0x7FFFFF), exponent(1, 253), sign(0, 1);
    for (int i = 0; i < 200000; ++i) {
        const uint32_t bits = (sign(rng) << 31) | (exponent(rng) << 23) | mantissa(rng);
        const float f = std::bit_cast<float>(bits);
        const uint32_t word = LisFloat68FromIeee(f);
        ASSERT_EQ(word, lisb::Code68(f)) << f;
        ASSERT_EQ(LisFloat68ToIeee(word), std::bit_cast<float>(bits & ~1u)) << f;
    }
    // Beyond the largest code-68 magnitude: the largest, with the sign kept.
    for (double v : {double(INFINITY), 3.0e38, -3.0e38, double(-INFINITY)}) {
        const float back = LisFloat68ToIeee(LisFloat68FromIeee(v));
        EXPECT_TRUE(std::isfinite(back) && std::fabs(back) > 1.0e38f && std::signbit(back) == std::signbit(v)) << v;
    }
    // Every exponent and sign decodes to a finite number of that sign.
    for (uint32_t e = 0; e < 256; ++e)
        for (uint32_t f : {0x000001u, 0x400000u, 0x7FFFFFu})
            for (uint32_t s : {0u, 1u}) {
                const float v = LisFloat68ToIeee((s << 31) | (e << 23) | f);
                ASSERT_TRUE(std::isfinite(v) && std::signbit(v) == (s == 1)) << e << " " << f;
            }
}

TEST(LisLayout, Code68ChannelsConvertAsEveryValueDoesAlone)
{
    // Words and floats of every kind in one channel, the rare ones (zeros, unnormalised
    // fractions, tiny exponents, NaN, infinities, subnormals) among the common ones.
    std::mt19937 rng(7);
    std::vector<uint32_t> words;
    for (uint32_t e : {0u, 1u, 2u, 3u, 127u, 128u, 253u, 254u, 255u})
        for (uint32_t f : {0u, 1u, 0x3FFFFFu, 0x400000u, 0x7FFFFFu})
            for (uint32_t s : {0u, 1u}) words.push_back((s << 31) | (e << 23) | f);
    for (int i = 0; i < 5000; ++i) words.push_back(uint32_t(rng()));

    std::vector<uint8_t> bytes(words.size() * 4);
    for (size_t i = 0; i < words.size(); ++i) endian::PutBE32(bytes.data() + 4 * i, words[i]);
    std::vector<float> decoded(words.size(), 9.0f);
    DecodeFloats(bytes.data(), uint32_t(words.size()), decoded.data());
    for (size_t i = 0; i < words.size(); ++i)
        ASSERT_EQ(std::bit_cast<uint32_t>(decoded[i]), std::bit_cast<uint32_t>(LisFloat68ToIeee(words[i])))
            << std::hex << words[i];

    // The same bits read as floats, encoded; a channel without a rare value too.
    std::vector<float> values(words.size());
    for (size_t i = 0; i < words.size(); ++i) values[i] = std::bit_cast<float>(words[i]);
    const std::vector<float> normal = {1.0f, -1.0f, 153.0f, -153.0f, 0.0f, -0.0f, 3.0e-38f, -2.5e37f};
    for (const std::vector<float>* channel : {&std::as_const(values), &normal}) {
        std::vector<uint8_t> encoded(channel->size() * 4, 0xAA);
        EncodeFloats(encoded.data(), channel->data(), uint32_t(channel->size()));
        for (size_t i = 0; i < channel->size(); ++i)
            ASSERT_EQ(endian::GetBE32(encoded.data() + 4 * i), LisFloat68FromIeee((*channel)[i])) << (*channel)[i];
    }
}

TEST(LisLayout, RoundTo4DecimalsRoundsHalfAwayFromZero)
{
    const std::pair<double, double> cases[] = {
        {2.00004, 2.0},  {2.00006, 2.0001}, {-2.00006, -2.0001}, {1.23456, 1.2346}, {0.0, 0.0}, {-0.00004, 0.0},
        {-1.23454, -1.2345}, {214748.3646, 214748.3646},
        {300000.12346, 300000.1235}, {-300000.12346, -300000.1235}, // beyond 32 bits the same rule holds
    };
    for (const auto& [in, out] : cases) EXPECT_NEAR(CLisRecordIO::RoundTo4Decimals(in), out, 1e-9) << in;
    EXPECT_EQ(CLisRecordIO::SwapBytes16(0x1234), 0x3412);
}

} // namespace
