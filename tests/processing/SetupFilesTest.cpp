// The list chores the processing setups share.
#include "processing/SetupFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

// A line counts only the listed datums before it; a line past them, a count past the
// flags or a negative one changes nothing it should not.
TEST(SetupFilesTest, AClickFlipsTheDatumShownOnItsLine)
{
    const std::array<uint32_t, 6> listed{0, 1, 1, 0, 1, 0};
    const struct {
        int count, row;
        std::string selected;
    } cases[] = {
        {6, 0, "010000"}, {6, 1, "001000"}, {6, 2, "000010"}, {6, 3, "000000"},
        {4, 2, "000000"}, {99, 2, "000010"}, {-1, 0, "000000"}, {6, -1, "000000"},
    };
    for (const auto& c : cases) {
        std::array<uint32_t, 6> selected{};
        ToggleListedDatum(listed, selected, c.count, c.row);
        std::string marks;
        for (uint32_t s : selected) marks += s ? '1' : '0';
        EXPECT_EQ(marks, c.selected) << c.count << " " << c.row;
    }
    std::array<uint32_t, 6> selected{0, 1, 0, 0, 0, 0};
    ToggleListedDatum(listed, selected, 6, 0);
    EXPECT_EQ(selected[1], 0u); // a second click takes the mark back
}

} // namespace
