// The steps the setup dialogs share: what an input's datums suggest and what a data
// set that cannot be read leaves behind.
#include "common/SetupSteps.h"

#include "support/DatumBuilder.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {

CQtxDatumList Datums(const std::vector<std::pair<uint8_t, uint8_t>>& categoryAndUnit)
{
    CQtxDatumList datums;
    uint16_t number = 0;
    for (const auto& [category, unit] : categoryAndUnit)
        datums.push_back(OneAxisDatum("D" + std::to_string(number), category, number, unit, 8, 1.0f)), ++number;
    return datums;
}

// The last slowness datum's unit decides; other datums' units never count.
TEST(SetupStepsTest, TheLastSlownessDatumSuggestsTheWindow)
{
    const uint8_t ft = kUnitMicrosecondsPerFoot, m = kUnitMicrosecondsPerMetre;
    const struct {
        std::vector<std::pair<uint8_t, uint8_t>> datums;
        bool found;
        std::string window;
    } cases[] = {
        {{}, false, "kept 1 2"},
        {{{kCategoryWaveform, m}, {kCategoryAzimuth, m}}, false, "kept 1 2"},
        {{{kCategorySlowness, m}}, true, "Slowness range [uSec/m] 100 600"},
        {{{kCategorySlowness, m}, {kCategorySlowness, ft}, {kCategoryWaveform, m}}, true,
         "Slowness range [uSec/ft] 40 240"},
        {{{kCategorySlowness, ft}, {kCategorySlowness, m}}, true, "Slowness range [uSec/m] 100 600"},
    };
    for (const auto& c : cases) {
        SlownessWindow window{SlownessUnit::kUnset, 1.0f, 2.0f};
        EXPECT_EQ(SuggestSlownessWindow(Datums(c.datums), window), c.found);
        const std::string unit = window.unit == SlownessUnit::kUnset ? "kept" : SlownessRangeTitle(window.unit);
        EXPECT_EQ(unit + " " + std::to_string(int(window.min)) + " " + std::to_string(int(window.max)),
                  c.window);
    }
}

class SetupStepsFileTest : public HostTest {
protected:
    TempDir dir;
};

// Depths come in order whatever the header's direction; a data set that cannot be
// read, or whose depth reads as the reader's "none" (-1), leaves every output as it was.
TEST_F(SetupStepsFileTest, AnInputIsReadWholeOrNotAtAll)
{
    const std::string good = dir.File("good.qtx"), shortFile = dir.File("short.qtx"), noTop = dir.File("notop.qtx");
    ASSERT_TRUE(WriteQtx(good, {{.mnemonic = "DTCO", .category = kCategorySlowness}}, 3, 1000.0, -0.5));
    WriteBytes(shortFile, {1, 2, 3});
    ASSERT_TRUE(WriteQtx(noTop, {{.mnemonic = "WMNO"}, {.mnemonic = "DTSM"}}, 2));
    PatchQtxHeader(noTop, [](QtxFileHeader& h) { h.topDepth = -1.0; });

    QtxInputRead read;
    ASSERT_TRUE(ReadQtxInput(good, read));
    EXPECT_EQ(std::pair(read.top, read.bottom), std::pair(999.0, 1000.0));
    ASSERT_EQ(read.datums.size(), 1u);
    EXPECT_EQ(read.datums[0]->m_mnemonic, "DTCO");

    host.ExpectMessage("Error reading header in file :\n" + shortFile);
    for (const std::string& path : {shortFile, noTop}) {
        EXPECT_FALSE(ReadQtxInput(path, read)) << path;
        EXPECT_EQ(std::pair(read.top, read.bottom), std::pair(999.0, 1000.0)) << path;
        ASSERT_EQ(read.datums.size(), 1u) << path;
        EXPECT_EQ(read.datums[0]->m_mnemonic, "DTCO") << path;
    }
}

// A header whose depths are no numbers is named when the data set is picked, instead of
// its "nan" reaching the setup's depth fields and a bare "Please enter a number.".
TEST_F(SetupStepsFileTest, AnInputWithoutUsableDepthsIsNamedAndLeavesTheOutputs)
{
    const std::string good = dir.File("good.qtx"), bad = dir.File("bad.qtx");
    ASSERT_TRUE(WriteQtx(good, {{.mnemonic = "DTCO", .category = kCategorySlowness}}, 3, 1000.0, 0.5));
    QtxInputRead read;
    ASSERT_TRUE(ReadQtxInput(good, read));
    for (const double depth : {std::nan(""), double(INFINITY), -double(INFINITY)})
        for (const bool top : {true, false}) {
            ASSERT_TRUE(WriteQtx(bad, {{.mnemonic = "WMNO"}}, 2));
            PatchQtxHeader(bad, [&](QtxFileHeader& h) { (top ? h.topDepth : h.bottomDepth) = depth; });
            host.ExpectMessage("Data set " + bad + " cannot be shown against depth: its depth step or depths are not "
                               "usable numbers.");
            EXPECT_FALSE(ReadQtxInput(bad, read)) << depth << top;
            EXPECT_EQ(std::pair(read.top, read.bottom), std::pair(1000.0, 1001.0));
            ASSERT_EQ(read.datums.size(), 1u);
        }
}

} // namespace
