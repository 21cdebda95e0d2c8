#include "dataset/ReceiverGeometry.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using G = CReceiverGeometry;

struct GeometryCase {
    short itemType;
    uint16_t mask;
    int entries;   // spacing/offset entries written
    float spacing; // inches, the same between every neighbouring pair
};

const GeometryCase kGeometry[] = {
    {21, 15, 4, 8},
    {22, 127, 7, 6},    {25, 127, 7, 6},
    {26, 1, 1, 0},      {31, 1, 1, 0},     {35, 1, 1, 0},    {87, 1, 1, 0},  {88, 1, 1, 0},
    {85, 95, 6, 9},     {86, 95, 6, 9},
    {107, 31, 5, 6},    {108, 31, 5, 6},
    {109, 15, 4, 12},   {110, 15, 4, 12},  {229, 15, 4, 12}, {230, 15, 4, 12},
    {111, 15, 4, 6},    {112, 15, 4, 6},
    {179, 8191, 13, 6}, {186, 8191, 13, 6},
    {219, 15, 4, 12},   {222, 15, 4, 12},  {223, 15, 4, 12}, {251, 15, 4, 12}, {253, 15, 4, 12},
    {224, 3, 2, 24},    {227, 3, 2, 24},
    {228, 7, 3, 24},
    // Eight-receiver default: below 21, 254/255, and every code between the rows.
    {0, 255, 8, 6},     {1, 255, 8, 6},    {20, 255, 8, 6},  {36, 255, 8, 6}, {84, 255, 8, 6},
    {106, 255, 8, 6},   {178, 255, 8, 6},  {187, 255, 8, 6}, {220, 255, 8, 6}, {254, 255, 8, 6},
    {255, 255, 8, 6},
    // Only the low byte counts.
    {0x0115, 15, 4, 8}, {short(0xFF15), 15, 4, 8}, {0x01B3, 8191, 13, 6}, {0x0100, 255, 8, 6},
    {-1, 255, 8, 6},    {short(0x80E0), 3, 2, 24},
};

TEST(ReceiverGeometry, SetItemTypeDescribesTheToolOfTheCode)
{
    for (const GeometryCase& c : kGeometry) {
        SCOPED_TRACE(c.itemType);
        G g;
        g.SetItemType(c.itemType);
        EXPECT_EQ(g.m_receiverMask, c.mask);
        for (int i = 0; i < G::kMaxReceivers; ++i) {
            const bool described = i < c.entries;
            EXPECT_EQ(g.m_spacing[i], described && i > 0 ? c.spacing : 0.0f) << "spacing " << i;
            EXPECT_EQ(g.m_offset[i], described ? float(i) * c.spacing : 0.0f) << "offset " << i;
        }
    }
}

TEST(ReceiverGeometry, SmallerArrayLeavesEntriesOfAnEarlierCall)
{
    G g;
    g.SetItemType(0);
    g.SetItemType(21);
    EXPECT_EQ(g.m_receiverMask, 15);
    // Entries 4-7 still hold the eight-receiver array's 6-inch layout.
    const float spacings[9] = {0, 8, 8, 8, 6, 6, 6, 6, 0};
    const float offsets[9] = {0, 8, 16, 24, 24, 30, 36, 42, 0};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(g.m_spacing[i], spacings[i]) << i;
        EXPECT_EQ(g.m_offset[i], offsets[i]) << i;
    }
}

TEST(ReceiverGeometry, MnemonicsByItemType)
{
    struct Case {
        std::string (*fn)(uint8_t);
        const char* name;
        uint8_t itemType;
        const char* expected;
    };
    const Case cases[] = {
        {G::GetWaveformMnemonic, "waveform", 2, "WDXX"},
        {G::GetWaveformMnemonic, "waveform", 74, "WDXX"},
        {G::GetWaveformMnemonic, "waveform", 19, "WDXY"},
        {G::GetWaveformMnemonic, "waveform", 20, "WDYX"},
        {G::GetWaveformMnemonic, "waveform", 18, "WDYY"},
        {G::GetWaveformMnemonic, "waveform", 75, "WDYY"},
        {G::GetWaveformMnemonic, "waveform", 86, "WQUD"},
        {G::GetWaveformMnemonic, "waveform", 85, "WMNO"},
        // Component energy splits 71-78 in pairs, unlike the waveform names.
        {G::GetComponentEnergyMnemonic, "energy", 71, "EGXX"},
        {G::GetComponentEnergyMnemonic, "energy", 72, "EGXY"},
        {G::GetComponentEnergyMnemonic, "energy", 75, "EGYX"},
        {G::GetComponentEnergyMnemonic, "energy", 76, "EGYY"},
        {G::GetComponentEnergyMnemonic, "energy", 181, "EGXX"},
        {G::GetComponentEnergyMnemonic, "energy", 253, "EGYY"},
        {G::GetComponentEnergyMnemonic, "energy", 86, "UDEF"},
        {G::GetSemblanceMnemonic, "semblance", 32, "SDXX"},
        {G::GetSemblanceMnemonic, "semblance", 33, "SDYY"},
        {G::GetSemblanceMnemonic, "semblance", 34, "SDXY"},
        {G::GetSemblanceMnemonic, "semblance", 35, "SDYX"},
        {G::GetSemblanceMnemonic, "semblance", 87, "SQUD"},
        {G::GetSemblanceMnemonic, "semblance", 88, "SMNO"},
        {G::GetDistributionMnemonic, "distribution", 27, "PDXX"},
        {G::GetDistributionMnemonic, "distribution", 28, "PDYY"},
        {G::GetDistributionMnemonic, "distribution", 29, "PDXY"},
        {G::GetDistributionMnemonic, "distribution", 30, "PDYX"},
        {G::GetDistributionMnemonic, "distribution", 88, "PQUD"},
        {G::GetDistributionMnemonic, "distribution", 87, "PMNO"},
        {G::GetPeakMnemonic, "peak", 32, "SPXX"},
        {G::GetPeakMnemonic, "peak", 33, "SPYY"},
        {G::GetPeakMnemonic, "peak", 34, "SPXY"},
        {G::GetPeakMnemonic, "peak", 35, "SPYX"},
        {G::GetPeakMnemonic, "peak", 87, "SPQD"},
        {G::GetPeakMnemonic, "peak", 31, "SPCO"},
        {G::GetInstFrequencyMnemonic, "inst freq", 158, "IFMN"},
        {G::GetInstFrequencyMnemonic, "inst freq", 159, "IFXX"},
        {G::GetInstFrequencyMnemonic, "inst freq", 163, "IFQD"},
        {G::GetInstFrequencyMnemonic, "inst freq", 164, "IFMN"},
        {G::GetInstSlownessMnemonic, "inst slowness", 164, "ISMN"},
        {G::GetInstSlownessMnemonic, "inst slowness", 165, "ISXX"},
        {G::GetInstSlownessMnemonic, "inst slowness", 169, "ISQD"},
        {G::GetInstSlownessMnemonic, "inst slowness", 170, "ISMN"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.fn(c.itemType), c.expected) << c.name << " " << int(c.itemType);
}

TEST(ReceiverGeometry, PeakItemTypeUsesTheLowByte)
{
    const std::pair<short, uint8_t> cases[] = {
        {32, 39}, {33, 41}, {34, 43}, {35, 45}, {87, 90}, {31, 37}, {88, 37}, {0, 37},
        {0x0120, 39}, {short(0xFF57), 90}, {0x0100, 37},
    };
    for (auto [itemType, expected] : cases) EXPECT_EQ(G::GetPeakItemType(itemType), expected) << itemType;
}

TEST(ReceiverGeometry, PerReceiverMnemonicsAndItemTypes)
{
    const char* const amplitude[13] = {" AM1", " AM2", " AM3", " AM4", " AM5", " AM6", " AM7",
                                       " AM8", " AM9", "AM10", "AM11", "AM12", "AM13"};
    for (short r = 0; r < 13; ++r) {
        SCOPED_TRACE(r);
        const std::string n = std::to_string(r + 1);
        const std::string pad = r < 9 ? " " : "";
        EXPECT_EQ(G::GetAmplitudeMnemonic(r), amplitude[r]);
        EXPECT_EQ(G::GetEnergyMnemonic(r), pad + "EG" + n);
        EXPECT_EQ(G::GetFrequencyMnemonic(r), pad + "FQ" + n);
        EXPECT_EQ(G::GetAmplitudeItemType(r), r < 8 ? 97 + r : 200 + r - 8);
        EXPECT_EQ(G::GetEnergyItemType(r), r < 8 ? 97 + r : 200 + r - 8);
        EXPECT_EQ(G::GetFrequencyItemType(r), r < 8 ? 171 + r : 205 + r - 8);
    }
}

TEST(ReceiverGeometry, ReceiverOutsideTheArrayGivesNoMnemonicAndItsOwnLowByte)
{
    for (short r : {short(-1), short(13), short(16), short(300), short(-32768)}) {
        SCOPED_TRACE(r);
        EXPECT_EQ(G::GetAmplitudeMnemonic(r), "");
        EXPECT_EQ(G::GetEnergyMnemonic(r), "");
        EXPECT_EQ(G::GetFrequencyMnemonic(r), "");
        EXPECT_EQ(G::GetAmplitudeItemType(r), uint8_t(r));
        EXPECT_EQ(G::GetEnergyItemType(r), uint8_t(r));
        EXPECT_EQ(G::GetFrequencyItemType(r), uint8_t(r));
    }
    EXPECT_EQ(G::GetAmplitudeItemType(13), 13);
    EXPECT_EQ(G::GetUnitLabel(0xFF), " ") << "a unit code past the table";
}

} // namespace
