#include "toolbox/ToolTasks.h"
#include "toolbox/UtilitiesSetupDlg.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(ToolTasks, EveryTaskIsFoundByItsCodeAndItsExactNameAndTheTaskBoxOffersAllButTheAverage)
{
    EXPECT_EQ(ToolTaskTable().size(), 31u);
    for (const ToolTaskRow& row : ToolTaskTable()) {
        EXPECT_EQ(FindToolTask(row.task), &row);
        EXPECT_EQ(ToolTaskCode(row.name), int(row.task)) << row.name;
    }
    EXPECT_EQ(FindToolTask(ToolTask::None), nullptr);
    EXPECT_EQ(FindToolTask(ToolTask(32)), nullptr);
    for (const char* name : {"reverse depth order", "Reverse Depth Order ", ""})
        EXPECT_EQ(ToolTaskCode(name), 0) << name;

    std::set<int> codes;
    for (const std::string& entry : UtilitiesSetupTaskEntries()) {
        EXPECT_NE(ToolTaskCode(entry), 0) << entry;
        codes.insert(ToolTaskCode(entry));
    }
    EXPECT_EQ(codes.size(), 30u);
    EXPECT_EQ(codes.count(int(ToolTask::ComputeAverageValue)), 0u);
}

} // namespace
