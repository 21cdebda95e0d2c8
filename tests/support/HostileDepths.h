// Depth columns that break the depth rule, shared by the tests of every importer so
// that each refuses the same columns with the same words. Depths are exact in binary,
// in four decimals and in thousandths, so that every format carries them unchanged.
#pragma once

#include <cmath>
#include <limits>
#include <string>
#include <vector>

struct HostileDepthColumn {
    const char* what;
    std::vector<double> depths;
    std::string detail;  // the line between the file and what a data set needs
    bool finite = true;  // false: a format of whole thousandths cannot hold the column
    // SEG-Y judges every shot against even steps from its first to its last depth.
    std::string segyDetail = {};
};

inline const std::vector<HostileDepthColumn>& HostileDepthColumns()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    static const std::vector<HostileDepthColumn> columns = {
        {"NaN inside", {1000, 1000.5, nan, 1001.5}, "Frame 3 has no finite depth (nan).", false},
        {"infinity inside", {1000, 1000.5, inf, 1001.5}, "Frame 3 has no finite depth (inf).", false},
        {"NaN first", {nan, 1000.5, 1001}, "Frame 1 has no finite depth (nan).", false},
        {"zero step", {1000, 1000.5, 1000.5, 1001},
         "Frame 3 is at depth 1000.5000 after 1000.5000: not one step of 0.5000 DOWN.", true,
         "Frame 2 is at depth 1000.5000, off its place 1000.3333 on even steps of 0.3333 DOWN from 1000.0000 to "
         "1001.0000."},
        {"reversal", {1000, 1000.5, 1001, 1000.5},
         "Frame 4 is at depth 1000.5000 after 1001.0000: not one step of 0.5000 DOWN.", true,
         "Frame 2 is at depth 1000.5000, off its place 1000.1667 on even steps of 0.1667 DOWN from 1000.0000 to "
         "1000.5000."},
        {"irregular", {1000.5, 1001, 5000, 1001.5},
         "Frame 3 is at depth 5000.0000 after 1001.0000: not one step of 0.5000 DOWN.", true,
         "Frame 2 is at depth 1001.0000, off its place 1000.8333 on even steps of 0.3333 DOWN from 1000.5000 to "
         "1001.5000."},
        {"step off by an eighth", {1000, 1000.5, 1001.125, 1001.625},
         "Frame 3 is at depth 1001.1250 after 1000.5000: not one step of 0.5000 DOWN.", true,
         "Frame 2 is at depth 1000.5000, off its place 1000.5417 on even steps of 0.5417 DOWN from 1000.0000 to "
         "1001.6250."},
        {"up log turning down", {1001, 1000.5, 1000.75, 1000.25},
         "Frame 3 is at depth 1000.7500 after 1000.5000: not one step of 0.5000 UP.", true,
         "Frame 2 is at depth 1000.5000, off its place 1000.7500 on even steps of 0.2500 UP from 1001.0000 to "
         "1000.2500."},
    };
    return columns;
}

inline std::string HostileDepthMessage(const std::string& path, const HostileDepthColumn& c)
{
    return "Encountered invalid depth step in file :\n" + path + "\n" + c.detail + "\nA data set needs evenly spaced depths in one direction.\nOperation will be abandoned.";
}
