#include "common/PathLabel.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A path of exactly `length` characters: sep + padding + sep + name.
std::string PathOfLength(size_t length, const std::string& name, char sep = '/')
{
    return std::string(1, sep) + std::string(length - name.size() - 2, 'd') + sep + name;
}

struct Case {
    const char* what;
    std::string label;
    std::string path;
    std::string expected;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

class ShortenPathTest : public ::testing::TestWithParam<Case> {};

TEST_P(ShortenPathTest, Text)
{
    const Case& c = GetParam();
    EXPECT_EQ(ShortenPath(c.label, c.path), c.expected);
}

const std::string kLabel = "File name : "; // 12 characters
const std::string kLabel20(20, 'L');

INSTANTIATE_TEST_SUITE_P(
    Limits, ShortenPathTest,
    ::testing::Values(
        // 12 + 60: the usual case of a long path in a dialog.
        Case{"SixtyCharacterPath", kLabel, PathOfLength(60, "well.qtx"), kLabel + ".../well.qtx"},
        Case{"TotalSeventy", kLabel, PathOfLength(58, "well.qtx"), kLabel + PathOfLength(58, "well.qtx")},
        Case{"TotalSeventyOne", kLabel, PathOfLength(59, "well.qtx"), kLabel + ".../well.qtx"},
        // Too long a text, but a path under 51 characters is kept whole.
        Case{"PathFifty", kLabel20 + "x", PathOfLength(50, "a.qtx"), kLabel20 + "x" + PathOfLength(50, "a.qtx")},
        Case{"PathFiftyOne", kLabel20, PathOfLength(51, "a.qtx"), kLabel20 + ".../a.qtx"},
        Case{"EmptyLabel", "", PathOfLength(71, "a.qtx"), ".../a.qtx"},
        Case{"NoSeparatorKeepsLastTwelve", kLabel, std::string(48, 'x') + "abcdefghijkl",
             kLabel + "...abcdefghijkl"},
        Case{"Backslash", kLabel, PathOfLength(60, "RUN1.QTX", '\\'), kLabel + "...\\RUN1.QTX"},
        Case{"LastOfMixedSeparators", kLabel, "C:\\" + std::string(50, 'd') + "\\sub/well.qtx",
             kLabel + ".../well.qtx"},
        Case{"TrailingSeparator", kLabel, PathOfLength(59, "dir") + "/", kLabel + ".../"}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(PathLabelTest, LabelVariantFollowsTheSameRule)
{
    const std::string path = PathOfLength(60, "well.qtx");
    EXPECT_EQ(ShortenPathLabel("Input File : ", path), ShortenPath("Input File : ", path));
    EXPECT_EQ(ShortenPathLabel("Input File : ", path), "Input File : .../well.qtx");
}

} // namespace
