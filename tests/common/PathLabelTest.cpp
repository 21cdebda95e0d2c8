#include "common/PathLabel.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A path of exactly `length` characters: sep + padding + sep + name.
std::string PathOfLength(size_t length, const std::string& name, char sep = '/')
{
    return std::string(1, sep) + std::string(length - name.size() - 2, 'd') + sep + name;
}

// A text over 70 characters loses the path's folders, unless the path is under 51.
TEST(PathLabelTest, LongPathsKeepOnlyTheirLastPart)
{
    const std::string label = "File name : "; // 12 characters
    const std::string label20(20, 'L');
    const struct {
        std::string label, path, expected;
    } cases[] = {
        {label, PathOfLength(58, "well.qtx"), label + PathOfLength(58, "well.qtx")}, // 70 in all
        {label, PathOfLength(59, "well.qtx"), label + ".../well.qtx"},
        {label20 + "x", PathOfLength(50, "a.qtx"), label20 + "x" + PathOfLength(50, "a.qtx")},
        {label20, PathOfLength(51, "a.qtx"), label20 + ".../a.qtx"},
        {label, std::string(48, 'x') + "abcdefghijkl", label + "...abcdefghijkl"}, // no separator: last 12
        {label, PathOfLength(60, "RUN1.QTX", '\\'), label + "...\\RUN1.QTX"},
        {label, "C:\\" + std::string(50, 'd') + "\\sub/well.qtx", label + ".../well.qtx"},
        {label, PathOfLength(59, "dir") + "/", label + ".../"},
    };
    for (const auto& c : cases) EXPECT_EQ(ShortenPath(c.label, c.path), c.expected) << c.path;
    EXPECT_EQ(ShortenPathLabel("Input File : ", PathOfLength(60, "well.qtx")), "Input File : .../well.qtx");
}

// The narrow statics of the filter, quick-look and picking setups: 50 characters,
// and only a path of 31 or more is shortened.
TEST(PathLabelTest, NarrowStaticsShortenPastFiftyCharacters)
{
    const std::string out = "Output File : "; // 14 characters
    const struct {
        std::string label, path, expected;
    } cases[] = {
        {out, PathOfLength(36, "w7.qtx", '\\'), out + PathOfLength(36, "w7.qtx", '\\')}, // 50 in all
        {out, PathOfLength(37, "w7.qtx", '\\'), out + "...\\w7.qtx"},
        {std::string(30, 'L'), PathOfLength(30, "a.qtx"), std::string(30, 'L') + PathOfLength(30, "a.qtx")},
        {"Input File : ", PathOfLength(40, "well.qtx", '\\'), "Input File : ...\\well.qtx"}, // 53 in all
    };
    for (const auto& c : cases) EXPECT_EQ(ShortenPath(c.label, c.path, kNarrowPathLabel), c.expected) << c.path;
}

} // namespace

TEST(PathLabelTest, StatusTailsKeepThePathFromItsLastSeparatorOfEitherKind)
{
    EXPECT_EQ(PathTail("/data/wells/a.cnv"), ".../a.cnv");
    EXPECT_EQ(PathTail("C:\\logs\\run 2\\b.qtx"), "...\\b.qtx");
    EXPECT_EQ(PathTail("/mixed\\part/c.qtx"), ".../c.qtx");
    EXPECT_EQ(PathTail("bare.qtx"), "...");
    EXPECT_EQ(PathTail(""), "...");
}
