#include "toolbox/ToolTasks.h"
#include "toolbox/UtilitiesSetupDlg.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(ToolTasks, NamesMapToTheirCodesExactlyAndEveryTaskBoxEntryIsATask)
{
    for (int code = 1; code <= 31; ++code) EXPECT_EQ(ToolTaskCode(ToolTaskName(code)), code);
    for (const char* name : {"reverse depth order", "Reverse Depth Order ", ""}) EXPECT_EQ(ToolTaskCode(name), 0) << name;
    EXPECT_EQ(ToolTaskCode("Reverse Depth Order"), 14);
    EXPECT_EQ(ToolTaskCode("Shift By Factor"), 22);
    EXPECT_EQ(ToolTaskCode("Reverse Receiver Order"), 28);
    EXPECT_EQ(ToolTaskName(0), "");
    EXPECT_EQ(ToolTaskName(32), "");

    // The box offers every task but "Compute Average Value" (25), each under its own code.
    std::set<int> codes;
    for (const std::string& entry : UtilitiesSetupTaskEntries()) {
        EXPECT_NE(ToolTaskCode(entry), 0) << entry;
        codes.insert(ToolTaskCode(entry));
    }
    EXPECT_EQ(codes.size(), 30u);
    EXPECT_EQ(codes.count(25), 0u);
}

} // namespace
