#include "platform/Endian.h"
#include "platform/Format.h"
#include "platform/NumberText.h"
#include "platform/Path.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>
#include <utility>

namespace {

TEST(Endian, ByteOrderOfEveryWidth)
{
    uint8_t b[8];
    endian::PutLE16(b, 0x1234);
    EXPECT_EQ(b[0], 0x34);
    EXPECT_EQ(endian::GetBE16(b), 0x3412);
    endian::PutBE32(b, 0x11223344);
    EXPECT_EQ(b[0], 0x11);
    EXPECT_EQ(endian::GetLE32(b), 0x44332211u);
    endian::PutLEDouble(b, 1.0);
    EXPECT_EQ(b[7], 0x3F);
    EXPECT_EQ(b[6], 0xF0);
    endian::PutBEFloat(b, -2.0f);
    EXPECT_EQ(b[0], 0xC0);
    EXPECT_EQ(endian::GetBEFloat(b), -2.0f);
    endian::PutLE64(b, 0x0102030405060708ull);
    EXPECT_EQ(b[0], 0x08);
    EXPECT_EQ(endian::GetLE64(b), 0x0102030405060708ull);
}

TEST(Format, UsesTheCLocaleWhateverTheProcessLocaleAndRefusesBadNumbers)
{
    const char* german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    if (!german) german = std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
    EXPECT_EQ(Format("%10.4f%s", 1234.5, " [ft]"), " 1234.5000 [ft]");
    std::string kept;
    FormatInto(kept, "%4.1f", 2.5);
    EXPECT_EQ(kept, " 2.5");
    bool ok = false;
    EXPECT_EQ(ParseDouble(" 2.5 ", &ok), 2.5);
    EXPECT_TRUE(ok);
    std::setlocale(LC_NUMERIC, "C");
    if (!german) GTEST_LOG_(INFO) << "no comma locale installed; checked in the C locale only";

    const std::string big(1000, 'x');
    EXPECT_EQ(Format("%s|%d", big.c_str(), 7), big + "|7");
    FormatInto(kept, "%s|%d", big.c_str(), 7);
    EXPECT_EQ(kept, big + "|7");
    const char* storage = kept.data();
    FormatInto(kept, "%d", 12);
    EXPECT_EQ(kept, "12");
    EXPECT_EQ(kept.data(), storage) << "a kept string's storage is reused";
    ok = true;
    EXPECT_EQ(ParseDouble("abc", &ok), 0.0);
    EXPECT_FALSE(ok);
    ParseDouble("1.5x", &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(ParseLong("-42", &ok), -42);
    EXPECT_TRUE(ok);
}

// Steps as files store them, floats included; a step of no number shows the most decimals.
TEST(Format, StepDecimalsShowTheStepAsStored)
{
    const std::pair<double, int> cases[] = {
        {1.0, 0},  {-0.5, 1}, {0.25, 2}, {double(2.54f), 2}, {double(0.1524f), 4}, {0.0005, 4},
        {1.0 / 12.0, 4}, {0.0, 0}, {1e300, 0}, {std::nan(""), 4}, {-HUGE_VAL, 4},
    };
    for (const auto& [step, decimals] : cases) EXPECT_EQ(StepDecimals(step), decimals) << step;
}

// A float shows with the fewest decimals that give it back: a limit typed as 0.45 is not
// shown as 0.4, one decimal stays one, and a value no six decimals hold gets six.
TEST(Format, FloatDecimalsGiveTheFloatBack)
{
    const std::pair<float, int> cases[] = {
        {0.0f, 1},       {140.0f, 1},    {-40.0f, 1},  {0.5f, 1},     {0.1f, 1},       {0.45f, 2},
        {-0.15f, 2},     {1.95f, 2},     {2.95f, 2},   {2.54f, 2},    {0.001f, 3},     {-0.0625f, 4},
        {999999.94f, 2}, {1000000.0f, 1}, {1e-7f, 6},  {0.1234567f, 6}, {std::nanf(""), 1}, {-HUGE_VALF, 1},
    };
    for (const auto& [value, decimals] : cases) EXPECT_EQ(FloatDecimals(value), decimals) << value;
}

// Well-formed UTF-8 passes as it is; every other byte is the Latin-1 character it is
// in a data file's text, so nothing is lost or shown as a replacement mark.
TEST(Format, ScreenTextKeepsUtf8AndShowsOtherBytesAsLatin1)
{
    const std::pair<std::string, std::string> cases[] = {
        {"DTCO 1000.5", "DTCO 1000.5"},
        {"/data/Br\xC3\xB8nn/set.qtx", "/data/Br\xC3\xB8nn/set.qtx"},
        {"\xD0\xA1\xD0\xBA\xD0\xB2", "\xD0\xA1\xD0\xBA\xD0\xB2"},          // Cyrillic
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},                          // beyond the first plane
        {"Gr\xF8", "Gr\xC3\xB8"},                                           // typed as Latin-1
        {"DT \xB5s \xC3\xB8", "DT \xC2\xB5s \xC3\xB8"},                     // both in one text
        {"\xC0\x80", "\xC3\x80\xC2\x80"},                                   // overlong NUL
        {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80"},                      // a surrogate
        {"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80"},         // past U+10FFFF
        {"ab\xC3", "ab\xC3\x83"},                                           // cut at the end
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& [bytes, shown] : cases) EXPECT_EQ(ScreenText(bytes), shown) << bytes;
}

TEST(Path, SplitsAcceptBothSeparators)
{
    struct Case {
        const char* path;
        const char* name;
        const char* title;
        const char* ext;
        const char* folder;
    };
    const Case cases[] = {
        {"/data/well/run1.qtx", "run1.qtx", "run1", "qtx", "/data/well"},
        {"C:\\logs\\deep.well.lis", "deep.well.lis", "deep.well", "lis", "C:\\logs"},
        {"mixed/dir\\file", "file", "file", "", "mixed/dir"},
        {"noext", "noext", "noext", "", ""},
        {"/dir.d/.hidden", ".hidden", ".hidden", "", "/dir.d"},
        {"/top", "top", "top", "", "/"},
        {"", "", "", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileName(c.path), c.name) << c.path;
        EXPECT_EQ(FileTitle(c.path), c.title) << c.path;
        EXPECT_EQ(FileExt(c.path), c.ext) << c.path;
        EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
    }
    EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
    EXPECT_EQ(FullPath("/a/./b/../c"), "/a/c");
    EXPECT_EQ(FullPath("x").front(), '/');
}

} // namespace
