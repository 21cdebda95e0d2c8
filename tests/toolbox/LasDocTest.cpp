#include "toolbox/LasDoc.h"

#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

class LasDocTest : public HostTest {
protected:
    // Opens a file of these bytes.
    void Open(const std::string& bytes)
    {
        WriteBytes(path, std::vector<uint8_t>(bytes.begin(), bytes.end()));
        ASSERT_EQ(doc.OpenInput(path), 1);
    }
    // Every line ReadLine gives, then its end code.
    std::vector<std::string> Lines()
    {
        std::vector<std::string> lines;
        std::string line;
        int got;
        while ((got = doc.ReadLine(&line)) >= 0) lines.push_back(line + "|" + std::to_string(got));
        lines.push_back(std::to_string(got));
        return lines;
    }

    TempDir dir;
    std::string path = dir.File("text.las");
    CLasDoc doc;
};

// A line ends at LF or at a CR no LF follows; ReadLine drops a CR before an LF (and
// counts it); a UTF-8 byte-order mark before the first line is no text;
// the text ends at the file's end or a Ctrl-Z, and a last line cut by either still counts.
// The longest line is read whole, a longer one reported. Searches start from the top.
TEST_F(LasDocTest, LinesEndAtLineFeedsAndTheTextAtTheFileEndOrACtrlZ)
{
    const std::string z(1, '\x1A'), longest(CLasDoc::kMaxLine, 'x');
    const struct {
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"a\nbc\n", {"a|1", "bc|2", "-1"}},          {"a\r\nbc\r\n", {"a|2", "bc|3", "-1"}},
        {"a\rb\n\n", {"a|1", "b|1", "|0", "-1"}},  {"a\rbc\r\rd", {"a|1", "bc|2", "|0", "d|1", "-1"}},
        {"\xEF\xBB\xBF~V\r\nx", {"~V|3", "x|1", "-1"}}, {"\xEF\xBB", {"\xEF\xBB|2", "-1"}},        {"a\nlast", {"a|1", "last|4", "-1"}},
        {"a\nla" + z + "st\nmore\n", {"a|1", "la|2", "-1"}}, {"a\n" + z + "\nmore\n", {"a|1", "-1"}},
        {"", {"-1"}}, {longest + "\n" + longest + "x\n", {longest + "|16384", "-2"}},
    };
    for (const auto& c : cases) {
        Open(c.bytes);
        EXPECT_EQ(Lines(), c.lines) << c.bytes.substr(0, 20);
    }
    // A CR LF split by the end of a read piece (64 KiB) is one line end.
    std::string split;
    while (split.size() + 13 < 65535) split += "filler line\r\n";
    split += std::string(65535 - split.size(), 'y') + "\r\nend\r\n";
    Open(split);
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), split.size() / 13 + 3); // the fillers, the y line, "end" and the end code
    EXPECT_EQ(lines[lines.size() - 2], "end|4");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "|0"), 0);
    std::string text = "** one\n*two\nthree ~V\n";
    for (int k = 0; k < 20000; ++k) text += "filler line\n"; // beyond the read buffer
    Open(text + "~A\nlast");
    EXPECT_EQ(doc.FindLine("~A"), 20004);
    EXPECT_EQ(Lines(), std::vector<std::string>({"last|4", "-1"}));
    EXPECT_EQ(std::vector<int>({doc.FindLine("three"), doc.FindLine("~X"), doc.FindLineWithin("~V", 3),
                                doc.FindLineWithin("~V", 2), doc.CountCommentLines(), doc.SkipLines(20005),
                                doc.SkipLines(20006)}),
              std::vector<int>({3, -1, 3, -1, 3, 0, -1}));
    EXPECT_EQ(doc.SkipLines(0), 0); // at least one line
    EXPECT_EQ(Lines().front(), "*two|4");
}

// A file the user may not change opens all the same: inputs are opened for reading only.
TEST_F(LasDocTest, InputsOpenForReadingOnly)
{
    EXPECT_EQ(doc.OpenInput("/proc/version"), 1);
    host.ExpectMessage("Could not open input file :\n" + dir.File("none.las"));
    EXPECT_EQ(doc.OpenInput(dir.File("none.las")), 0);
}

// The header's lines, the depth members in four decimals or as many as give the depth
// back, WRAP NO.
TEST_F(LasDocTest, TheLas20HeaderHasItsThirtyTwoLines)
{
    const std::string feet = "~Version Information\n"
                             " VERS.                 2.00:   ASCII Standard - VERSION 2.0\n"
                             " WRAP.                   NO:   One line per depth step\n"
                             "~Well Information Block\n"
                             "#MNEM.UNIT       Data Type    Information\n"
                             "#---------     -----------    ---------------------------\n"
                             " STRT.F              1000.2500:\n"
                             " STOP.F            123456.5000:\n"
                             " STEP.F                -0.5000:\n"
                             " NULL.               -999.2500:\n"
                             " COMP.                        :  COMPANY NAME\n"
                             " COUN.                        :  COUNTY\n"
                             " LOC .                        :  FIELD LOCATION\n"
                             " FL1 .                        :  FIELD LOCATION LINE 1\n"
                             " FL2 .                        :  FIELD LOCATION LINE 2\n"
                             " FLD .                        :  FIELD NAME\n"
                             " R1  .                        :  REMARKS LINE 1\n"
                             " R2  .                        :  REMARKS LINE 2\n"
                             " R3  .                        :  REMARKS LINE 3\n"
                             " R4  .                        :  REMARKS LINE 4\n"
                             " PROV.                        :  STATE\n"
                             " WELL.                        :  WELL NAME\n"
                             "~Parameter Information Block\n"
                             "#MNEM.UNIT       Value        Description\n"
                             "#---------     -----------    ---------------------------\n"
                             " EDF .                        :  ELEVATION OF DRILLING FLOOR\n"
                             " EGL .                        :  ELEVATION OF GROUND LEVEL\n"
                             " EKB .                        :  ELEVATION OF KELLY BUSHING\n"
                             "~Curve Information Block\n"
                             "#MNEM.UNIT                 API CODE     Curve Description\n"
                             "#---------               -----------    ---------------------------\n"
                             " DEPT.F                 00 000 000 000:  \n";
    for (const uint8_t flag : {uint8_t(1), uint8_t(0), uint8_t(0xFF)}) {
        ASSERT_EQ(doc.OpenOutput(path), 1);
        doc.m_topDepth = 1000.25;
        doc.m_bottomDepth = 123456.5;
        doc.m_depthStep = -0.5;
        EXPECT_EQ(doc.WriteLas20Header(flag), 1);
        ASSERT_EQ(doc.CloseOutput(), 1);
        const std::vector<uint8_t> bytes = ReadBytes(path);
        std::string expected = feet;
        if (flag != 1)
            for (const char* unit : {"STRT.F", "STOP.F", "STEP.F", "DEPT.F"}) expected[expected.find(unit) + 5] = 'M';
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected) << int(flag);
        EXPECT_EQ(std::count(expected.begin(), expected.end(), '\n'), CLasDoc::kHeaderLines);
    }
    ASSERT_EQ(doc.OpenOutput(path), 1);
    doc.m_topDepth = 100.0 + 1.0 / 12.0;
    doc.m_bottomDepth = 0.1 / 12.0;
    doc.m_depthStep = -1.0 / 12.0;
    EXPECT_EQ(doc.WriteLas20Header(1), 1);
    ASSERT_EQ(doc.CloseOutput(), 1);
    const std::vector<uint8_t> bytes = ReadBytes(path);
    std::string inches = feet;
    const auto replace = [&](const std::string& from, const std::string& to) { inches.replace(inches.find(from), from.size(), to); };
    replace("  1000.2500:", "100.0833333:");
    replace("123456.5000:", "  0.0083333:");
    replace("    -0.5000:", " -0.0833333:");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), inches);
}

TEST_F(LasDocTest, AFailedWriteIsReportedWhenTheOutputCloses)
{
    host.ExpectMessage("Could not open output file :\n/dev/full\n/dev/full is not a regular file");
    EXPECT_EQ(doc.OpenOutput("/dev/full"), 0);
    ASSERT_EQ(doc.OpenOutput(path), 1);
    ScopedWriteFault full(0);
    doc.WriteLine("lost");
    host.ExpectMessage("Error writing output file :\n" + path);
    EXPECT_EQ(doc.CloseOutput(), 0);
    EXPECT_FALSE(FileExists(path));
}

// Fields are "%*.*f" to the last digit, for four to nine decimals in any width: ties to
// even, signed zeros, values too wide.
TEST(LasDocFields, AreWhatTheCLibraryWrites)
{
    std::vector<double> values = {0.0, -0.0, 0.03125, 0.09375, -0.00005, 0.00015, 123456.75, 1e-310, 9.99995,
                                  1e14 + 0.5, 1e15, -3e38, 1e300, 10000.0 + 1.0 / 12.0, 0.0000000005, 1.5e-9};
    std::mt19937_64 random(28);
    for (int k = 0; k < 20000; ++k) {
        values.push_back(double(std::bit_cast<float>(uint32_t(random()) & 0x7F7FFFFFu)) * (k % 2 ? -1 : 1));
        values.push_back(std::ldexp(double(random() % 100000000), -int(random() % 40)));
    }
    for (const double v : values)
        for (const auto& [width, decimals] : {std::pair(11, 4), std::pair(0, 4), std::pair(14, 7), std::pair(3, 9)}) {
            char expected[400];
            std::snprintf(expected, sizeof expected, "x%*.*f", width, decimals, v);
            std::string line = "x";
            CLasDoc::AppendField(line, v, size_t(width), decimals);
            ASSERT_EQ(line, expected) << v << " " << width << " " << decimals;
        }
}

// A value reads back, through strtod and a narrowing to float as the LAS import reads
// it, as the same float bit for bit: in four decimals where they do, else in the
// shortest text; right-aligned in the width asked, or as wide as it is.
TEST(LasDocFields, ValuesReadBackAsTheSameFloats)
{
    const struct {
        float value;
        const char* text;
    } known[] = {{6.26e-05f, "6.26e-05"},     {12345.678f, "12345.6777"},  {-999.25f, "-999.2500"},
                 {3e7f, "30000000.0000"},     {0.5f, "0.5000"},           {-0.0f, "-0.0000"},
                 {1e-10f, "1e-10"},           {123456.75f, "123456.7500"}, {7.038531e-26f, "7.038530691851209e-26"},
                 {-7.038531e-26f, "-7.038530691851209e-26"}};
    std::vector<float> values;
    for (const auto& k : known) {
        std::string line;
        CLasDoc::AppendValue(line, k.value, 0);
        EXPECT_EQ(line, k.text) << k.value;
        values.push_back(k.value);
    }
    std::mt19937 random(56);
    for (int k = 0; k < 200000; ++k) values.push_back(std::bit_cast<float>(uint32_t(random()) & 0xFF7FFFFFu));
    for (int k = 0; k < 20000; ++k) values.push_back(float(int(random() % 2000000) - 1000000) / 1024.0f);
    for (const float v : values) {
        for (const size_t width : {size_t(0), size_t(11), size_t(20)}) {
            std::string line;
            CLasDoc::AppendValue(line, v, width);
            const size_t text = line.find_first_not_of(' ');
            ASSERT_EQ(line.size(), std::max(width, line.size() - text)) << v;
            ASSERT_EQ(std::bit_cast<uint32_t>(float(std::strtod(line.c_str(), nullptr))), std::bit_cast<uint32_t>(v))
                << line;
        }
    }
}

// A depth keeps four decimals where they give it back to the resolution, else the
// fewest (up to nine) that do.
TEST(LasDocFields, DepthsTakeTheDecimalsThatGiveThemBack)
{
    const struct {
        double depth;
        const char* text;
    } cases[] = {{10000.0, "10000.0000"},           {10000.0 + 1.0 / 12.0, "10000.0833333"},
                 {-1.0 / 12.0, "-0.0833333"},        {100.0 + 0.1 / 12.0, "100.0083333"},
                 {1000.125, "1000.1250"},            {0.00001, "0.00001"},
                 {1e10 + 1.0 / 3.0, "10000000000.333334"}, {1.23456789012, "1.2345679"}};
    // The rule as text: the first of four to eight decimals that "%.*f" writes and strtod
    // reads back within the resolution, else nine; on depths of steps that need each.
    const auto model = [](double depth) {
        char text[64];
        for (int decimals = 4; decimals <= 9; ++decimals) {
            std::snprintf(text, sizeof text, "%.*f", decimals, depth);
            if (decimals == 9 || std::fabs(std::strtod(text, nullptr) - depth) <= CLasDoc::kDepthResolution) break;
        }
        return std::string(text);
    };
    std::mt19937_64 random(12);
    for (int k = 0; k < 100000; ++k) {
        const double step = std::array{0.5, 0.1, 1.0 / 12.0, 0.1 / 12.0, 0.0001, 0.00025, 0.1524, 1e-7}[k % 8];
        // Off the step by up to just beyond the resolution.
        const double off = std::array{0.0, 3e-8, 4.9e-8, 5.1e-8, -4.9e-8}[(k / 8) % 5];
        const double depth = (k % 3 ? 1.0 : -1.0) * (double(random() % 10000000) * step + off);
        std::string line;
        CLasDoc::AppendDepth(line, depth, 0);
        ASSERT_EQ(line, model(depth)) << depth;
    }
    for (const auto& c : cases) {
        std::string line;
        CLasDoc::AppendDepth(line, c.depth, 0);
        EXPECT_EQ(line, c.text) << c.depth;
        line.clear();
        CLasDoc::AppendDepth(line, c.depth, 16);
        EXPECT_EQ(line, std::string(16 - std::min<size_t>(16, std::strlen(c.text)), ' ') + c.text);
    }
}

} // namespace
