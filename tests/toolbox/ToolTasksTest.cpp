#include "toolbox/ToolTasks.h"

#include <gtest/gtest.h>

namespace {

TEST(ToolTasks, NamesMapToTheirCodesExactly)
{
    struct Case {
        const char* name;
        int code;
    };
    const Case cases[] = {
        {"Extract Depth Range", 1},         {"Extract Item(s)", 2},          {"Convert Depth To Metric", 6},
        {"Convert Depth To Imperial", 7},   {"Convert Slowness To Metric", 12}, {"Convert Slowness To Imperial", 13},
        {"Reverse Depth Order", 14},        {"Add Waveforms", 16},           {"Subtract Waveforms", 17},
        {"Shift By Factor", 22},            {"Compute Average Value", 25},   {"Reverse Receiver Order", 28},
        {"Compute Mechanical Properties", 31},
        {"reverse depth order", 0},         {"Reverse Depth Order ", 0},     {"", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ToolTaskCode(c.name), c.code) << '"' << c.name << '"';
    for (int code = 1; code <= 31; ++code) EXPECT_EQ(ToolTaskCode(ToolTaskName(code)), code);
    EXPECT_EQ(ToolTaskName(0), "");
    EXPECT_EQ(ToolTaskName(32), "");
}

} // namespace
