#include "dataset/ItemTypes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

// Code sets as the modules spelled them before they shared the table ("1-5 88");
// every test sweeps all 256 codes against them.
bool In(const char* codes, int code)
{
    std::istringstream in(codes);
    int first = 0, last = 0;
    char dash = 0;
    while (in >> first) {
        last = first;
        if (in.peek() == '-') in >> dash >> last;
        if (code >= first && code <= last) return true;
    }
    return false;
}

TEST(ItemTypes, FamiliesAndToolsAreThoseOfLisTablesWrittenAndReadBack)
{
    const std::pair<ItemFamily, const char*> families[] = {
        {ItemFamily::Monopole, "1 6 11 16 21-25 81-85 105-112 219"},
        {ItemFamily::DipoleX, "2-3 7-8 12-13 17 19 71-74 170"},
        {ItemFamily::DipoleY, "4-5 9-10 14-15 18 20 75-78"},
        {ItemFamily::Quadrupole, "86"},
        {ItemFamily::Phase, "26-30 88"},
        {ItemFamily::Semblance, "31-35 87"},
        {ItemFamily::Energy, "113-116"},
        {ItemFamily::InstFrequency, "158-163"},
        {ItemFamily::InstSlowness, "164-169"},
    };
    // Tool, category and one trace of a datum read back from a LIS file.
    const std::tuple<const char*, const char*, int, bool> tools[] = {
        {"1-5", "Dsi", 1, false},          {"6-10", "Xmac", 1, false},        {"11-15", "MAC", 1, false},
        {"16-20 71-78 81-84", "Wavesonic", 1, false},                        {"21", "Isonic", 1, false},
        {"22-25", "Bat", 1, false},        {"26-30 88", "Phase Dist", 3, true},
        {"31-35 87", "Semblance Proj", 3, true},                             {"85-86 170", "Apx", 1, false},
        {"105-106", "SLT", 1, false},      {"107-108", "Qslt", 1, false},     {"109-110", "Scout", 1, false},
        {"111-112", "DAL", 1, false},      {"113-116", "Energy", 4, true},    {"158-163", "Inst Phase", 2, true},
        {"164-169", "Inst Slowness", 3, true},
    };
    size_t listed = ItemTypesOf(ItemFamily::None).size();
    for (const auto& [family, codes] : families) listed += ItemTypesOf(family).size();
    EXPECT_EQ(listed, 256u);
    for (int code = 0; code < 256; ++code) {
        const ItemType& t = ItemTypeOf(uint8_t(code));
        ItemFamily family = ItemFamily::None;
        for (const auto& [f, codes] : families)
            if (In(codes, code)) family = f;
        std::tuple<const char*, const char*, int, bool> tool{"", "", 1, false};
        for (const auto& row : tools)
            if (In(std::get<0>(row), code)) tool = row;
        EXPECT_EQ(t.code, code);
        EXPECT_EQ(t.family, family) << code;
        // Tool dictionaries also name the LSS and DSLT waveforms, which no LIS table describes.
        EXPECT_EQ(*t.label != '\0', family != ItemFamily::None || In("224-227", code)) << code << ": a LIS table names its type";
        EXPECT_STREQ(t.toolName, std::get<1>(tool)) << code;
        EXPECT_EQ(RecognisedCategory(t.family), std::get<2>(tool)) << code;
        EXPECT_EQ(IsProcessed(t.family), std::get<3>(tool)) << code;
        const std::vector<uint8_t> kin = ItemTypesOf(t.family);
        EXPECT_TRUE(std::find(kin.begin(), kin.end(), t.code) != kin.end()) << code;
    }
}

TEST(ItemTypes, LabelsLeadToTheirCodeWithinTheirTool)
{
    for (int code = 0; code < 256; ++code) {
        const ItemType& t = ItemTypeOf(uint8_t(code));
        if (!*t.label) continue;
        EXPECT_EQ(ItemTypeOfLabel(t.toolName, t.label), code) << t.label << " is unique";
    }
    const std::tuple<const char*, const char*, int> cases[] = {
        {"Scout", "SCOUTUPPER", 109}, {"Scout", "SCOUTLOWER", 110}, {"Scout", "scoutupper", 0},
        {"Scout", "DSIMONO", 0},      {"Scout", "", 0},             {"", "FWSMONO", 219},
        {"", "LSSNEAR", 224},         {"", "DSLTFAR", 227},         {"Dslt", "DSLTNEAR", 0},
    };
    for (const auto& [tool, label, code] : cases) EXPECT_EQ(ItemTypeOfLabel(tool, label), code) << tool << label;
}

TEST(ItemTypes, CaptionsAndTraceLabelsAreTheDomainViews)
{
    const std::pair<const char*, const char*> captions[] = {
        {"Monopole", "1 6 11 16 21-25 81-85 107-112 179-180 185-186 219 222 224-230"},
        {"Dipole XX", "2 7 12 17 71-74 113 181 223"},
        {"Dipole XY", "3 8 13 19 114 182 251"},
        {"Dipole YX", "4 9 14 20 115 183 252"},
        {"Dipole YY", "5 10 15 18 75-78 116 184 253"},
        {"Slowness Distribution", "26-30 88"},
        {"Semblance", "31-35 87"},
        {"Quadrupole", "86"},
    };
    const char* const kComponents[] = {"Monopole", "Dipole XX", "Dipole XY", "Dipole YX", "Dipole YY", "Quadrupole"};
    const char* const kPairs[] = {"XX", "XY", "YX", "YY"};
    // Receivers labelled "R1".."Rn".
    const std::pair<int, const char*> receivers[] = {
        {8, "1-20 71-78 81-84"}, {4, "21 109-112 219 222-223 229-230"}, {7, "22-25"}, {6, "85-86"},
        {5, "107-108"},          {2, "224-227"},                         {3, "228"},   {13, "158-169 179-186"},
    };
    for (int code = 0; code < 256; ++code) {
        std::string caption = "Unrecognized Tool";
        for (const auto& [text, codes] : captions)
            if (In(codes, code)) caption = text;
        if (In("158-163", code)) caption = std::string(kComponents[code - 158]) + " Frequency";
        if (In("164-169", code)) caption = std::string(kComponents[code - 164]) + " Slowness";
        EXPECT_EQ(ItemTypeOf(uint8_t(code)).caption, caption) << code;
        // The cross-plot names its pair by the slowness curve; the map view its maps.
        if (In("164-169", code)) caption = std::string(kComponents[code - 164]) + " Frequency-Slowness";
        EXPECT_EQ(FrequencySlownessCaption(uint8_t(code)), caption) << code;
        EXPECT_STREQ(SemblanceMapTitle(uint8_t(code)), In("60-64 92", code) ? "Semblance Map" : " ") << code;

        std::vector<std::string> labels;
        for (const auto& [count, codes] : receivers)
            for (int r = 1; In(codes, code) && r <= count; ++r) labels.push_back("R" + std::to_string(r));
        if (In("26-35 87-88", code)) labels = {" "}; // one processed trace
        if (In("113-116", code)) // four characters wide: " XX1".."XX13"
            for (int r = 1; r <= 13; ++r)
                labels.push_back((r < 10 ? " " : "") + std::string(kPairs[code - 113]) + std::to_string(r));
        EXPECT_EQ(ItemTraceLabels(uint8_t(code)), labels) << code;
    }
}

TEST(ProfileCurves, EachComponentAndReceiverHasItsCodeAndNothingBeyondThirteen)
{
    ProfileCurve c;
    const std::tuple<uint8_t, int, const char*, int> azimuths[] = {
        {113, 0, " XX1", 117}, {113, 12, "XX13", 235}, {114, 7, " XY8", 132}, {114, 8, " XY9", 236},
        {115, 12, "YX13", 245}, {116, 0, " YY1", 141}, {116, 12, "YY13", 250}};
    for (const auto& [type, trace, mnemonic, code] : azimuths) {
        ASSERT_TRUE(AzimuthCurve(type, trace, c)) << int(type) << " " << trace;
        EXPECT_EQ(c, (ProfileCurve{mnemonic, uint8_t(code)}));
    }
    EXPECT_TRUE(PeakSlownessCurve(88, c) && c == (ProfileCurve{"DTQD", 89}));
    EXPECT_FALSE(AzimuthCurve(113, 13, c) || ArrivalTimeCurve(13, c) || ArrivalTimeCurve(-1, c));
    EXPECT_FALSE(PeakSlownessCurve(36, c) || AzimuthCurve(117, 0, c));
}

} // namespace

TEST(PlotReceiverLabels, FollowTheLogPlotsOwnCountsAndNames)
{
    const std::pair<uint8_t, std::vector<std::string>> cases[] = {
        {7, {"R1", "R2", "R3", "R4", "R5", "R6", "R7", "R8"}},
        {21, {"R1", "R2", "R3", "R4"}},
        {158, {"R1", "R2", "R3", "R4", "R5", "R6", "R7", "R8"}}, // thirteen traces, eight names
        {28, {"PDYY"}},
        {35, {"SDYX"}},
        {87, {"SQUD"}},
        {88, {"PQUD"}},
        {200, {}},
    };
    for (const auto& [code, labels] : cases) EXPECT_EQ(PlotReceiverLabels(code), labels) << int(code);
    const std::pair<uint8_t, size_t> counts[] = {{22, 7}, {85, 6}, {180, 13}, {219, 8}, {230, 8}, {253, 8}};
    for (const auto& [code, count] : counts) EXPECT_EQ(PlotReceiverLabels(code).size(), count) << int(code);
    const std::vector<std::string> yy = PlotReceiverLabels(116);
    ASSERT_EQ(yy.size(), 13u);
    EXPECT_EQ(yy[8] + "|" + yy[9], " YY9|YY10");
}
