// The steps the setup dialogs share: what an input's datums suggest and what a data
// set that cannot be read leaves behind.
#include "common/SetupSteps.h"

#include "support/DatumBuilder.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

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
        SlownessWindow window{"kept", 1.0f, 2.0f};
        EXPECT_EQ(SuggestSlownessWindow(Datums(c.datums), window), c.found);
        EXPECT_EQ(window.title + " " + std::to_string(int(window.min)) + " " + std::to_string(int(window.max)),
                  c.window);
    }
}

class SetupStepsFileTest : public HostTest {
protected:
    TempDir dir;
};

// Depths come in order whatever the header's direction; a data set that cannot be
// opened or whose descriptors cannot be read leaves every output as it was.
TEST_F(SetupStepsFileTest, AnInputIsReadWholeOrNotAtAll)
{
    const std::string good = dir.File("good.qtx"), shortFile = dir.File("short.qtx"), noDatum = dir.File("nd.qtx");
    ASSERT_TRUE(WriteQtx(good, {{.mnemonic = "DTCO", .category = kCategorySlowness}}, 3, 1000.0, -0.5));
    WriteBytes(shortFile, {1, 2, 3});
    QtxFileHeader header;
    header.topDepth = 10.0;
    header.bottomDepth = 20.0;
    header.datumCount = 1; // and no descriptor
    WriteBytes(noDatum, RawQtx(header, {}));

    QtxInputRead read;
    ASSERT_TRUE(ReadQtxInput(good, read));
    EXPECT_EQ(std::pair(read.top, read.bottom), std::pair(999.0, 1000.0));
    ASSERT_EQ(read.datums.size(), 1u);
    EXPECT_EQ(read.datums[0]->m_mnemonic, "DTCO");

    const std::pair<std::string, std::string> unreadable[] = {
        {shortFile, "Error reading header in file :\n"}, {noDatum, "Error reading datum descriptor in file :\n"}};
    for (const auto& [path, message] : unreadable) {
        host.ExpectMessage(message + path);
        EXPECT_FALSE(ReadQtxInput(path, read)) << path;
        EXPECT_EQ(std::pair(read.top, read.bottom), std::pair(999.0, 1000.0)) << path;
        EXPECT_EQ(read.datums.size(), 1u) << path;
    }
}

} // namespace
