// The list chores the processing setups share.
#include "processing/SetupFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

// A line counts only the listed datums before it. Each listed datum of the first
// `count` takes its line's state, whatever it held; a datum past the count, an unlisted
// one or a negative count keeps what it held (7 here).
TEST(SetupFilesTest, EachListedDatumTakesTheStateOfItsLine)
{
    const std::array<uint32_t, 6> listed{0, 1, 1, 0, 1, 0};
    const struct {
        int count;
        std::vector<int> lines; // selected
        std::string selected;
    } cases[] = {
        {6, {0}, "710707"}, {6, {1}, "701707"},   {6, {2}, "700717"},  {6, {0, 2}, "710717"},
        {6, {}, "700707"},  {4, {2}, "700777"},   {99, {2}, "700717"}, {-1, {0}, "777777"},
    };
    for (const auto& c : cases) {
        ControlState list(ControlTemplate{1, ControlKind::MultiListBox, ""});
        for (const char* line : {"A", "B", "C"}) list.AddString(line);
        for (int line : c.lines) list.SetSel(line, true);
        std::array<uint32_t, 6> selected;
        selected.fill(7);
        TakeListedSelection(&list, listed, selected, c.count);
        std::string marks;
        for (uint32_t s : selected) marks += char('0' + s);
        EXPECT_EQ(marks, c.selected) << c.count << " " << c.lines.size();
    }
    std::array<uint32_t, 6> selected{0, 1, 1, 0, 1, 0};
    TakeListedSelection(nullptr, listed, selected, 6);
    EXPECT_EQ(selected, (std::array<uint32_t, 6>{})) << "no list shows nothing selected";
}

} // namespace
