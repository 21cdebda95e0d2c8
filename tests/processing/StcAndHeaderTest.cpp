#include "processing/LogHeader.h"
#include "processing/StcRanges.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

std::unique_ptr<CQtxDatum> Map(uint8_t unit, uint16_t sField, uint16_t sCount, float sStep, uint16_t tField,
                               uint16_t tCount, float tStep)
{
    return std::make_unique<CQtxDatum>(1, "MAP", 0, kCategorySemblanceMap, 0, 1, 1, 2, 0, 0, unit, sField, sCount,
                                       sStep, 1, tField, tCount, tStep);
}

TEST(StcRangesTest, TheLastSemblanceMapGivesTheRanges)
{
    CQtxDatumList datums;
    datums.push_back(Map(kUnitMicrosecondsPerMetre, 1, 1, 1.0f, 0, 1, 1.0f));
    datums.push_back(Map(1, 40, 100, 2.0f, 0, 256, 10.0f));
    StcMapRanges r;
    ASSERT_TRUE(ReadStcMapRanges(datums, r));
    EXPECT_EQ(r.slownessTitle, "Slowness range [uSec/ft]");
    EXPECT_EQ(std::make_pair(r.slownessMin, r.slownessMax), std::make_pair(80.0f, 280.0f));
    EXPECT_EQ(std::make_pair(r.timeStart, r.timeStop), std::make_pair(0.0f, 2560.0f));

    datums.push_back(Map(kUnitMicrosecondsPerMetre, 0xFFFF, 10, 5.0f, 2, 3, 4.0f)); // field -1
    ASSERT_TRUE(ReadStcMapRanges(datums, r));
    EXPECT_EQ(r.slownessTitle, "Slowness range [uSec/m]");
    EXPECT_EQ(std::make_pair(r.slownessMin, r.slownessMax), std::make_pair(-5.0f, 45.0f));
    EXPECT_EQ(std::make_pair(r.timeStart, r.timeStop), std::make_pair(8.0f, 20.0f));

    CQtxDatumList none;
    r.slownessTitle = "kept";
    EXPECT_FALSE(ReadStcMapRanges(none, r));
    EXPECT_EQ(r.slownessTitle, "kept");
}

TEST(LogHeaderTest, TheNinthStringKeepsItsValueThroughWellInfoEdits)
{
    HeaderStrings header;
    for (size_t i = 0; i < header.size(); ++i) header[i] = "h" + std::to_string(i + 1);
    WellInfoStrings info = WellInfoFromHeader(header);
    EXPECT_EQ(info[7], "h8");
    EXPECT_EQ(info[8], "h10");
    EXPECT_EQ(info[42], "h44");
    for (auto& s : info) s += "!";
    HeaderFromWellInfo(info, header);
    EXPECT_EQ(header[8], "h9");
    EXPECT_EQ(header[7], "h8!");
    EXPECT_EQ(header[43], "h44!");
}

} // namespace
