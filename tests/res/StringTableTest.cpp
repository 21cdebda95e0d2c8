#include "res/StringTable.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <string>
#include <utility>

namespace {

struct IdText {
    unsigned id;
    const char* text;
};

// Both ends of every range, the entries other modules name by id, and the
// spellings that must survive as stored.
const IdText kSamples[] = {
    {128, "BronteluxViewer"},
    {129, "\nBronte\nBronte"},
    {57344, "Brontelux"},
    {59394, "Processing progress"},
    {61216, "DSI Tool"},
    {61221, "Unrecognized Tool"},
    {61227, "SLT Tool"},
    {61243, "Time [uSec]"},
    {61247, "Azimuth [deg]"},
    {61248, "WMNO"},
    {61258, "PMNO"},
    {61263, "UDEF"},
    {61264, "R1"},
    {61271, "R8"},
    {61272, " "},
    {61273, "Dipole XX"},
    {61280, "Slowness Distribution"},
    {61281, "DTCO"},
    {61291, " TT1"},
    {61298, " TT8"},
    {61299, "GDCO"},
    {61300, "GDXX"},
    {61301, "GDYY"},
    {61304, "SMMO"},
    {61309, "Semblance Map"},
    {61316, "[uSec]"},
    {61317, "[uSec/ft]"},
    {61318, "[uSec/m]"},
    {61319, "[Hz]"},
    {61320, "[deg]"},
    {61323, "WQUD"},
    {61330, "STQD"},
    {61331, "WMNO - Monopole waveform"},
    {61336, "WQUD - Quadrupole waveform"},
    {61337, "SMNO - Monopole semblance projection"},
    {61342, "SQUD - Quadrupole semblance projection"},
    {61343, "SPNO - Monopole slowness distribution"},
    {61348, "PQUD - Quadrupole slowness distribution"},
    {61349, "SMMO - Monopole semblance map"},
    {61361, "SPCO - Monopole sembalace peak value"},
    {61378, "STQD - Quadrupole standard deviation value"},
    {61379, " AM1"},
    {61387, "[mV]"},
    {61388, "EGXX"},
    {61392, " XX1"},
    {61423, " YY8"},
    {61432, "FAZM"},
    {32771, "Convert LIS data set to QTX format\nLisToQtx"},
    {32790, "Process semblane map data\nTimeSlowness"},
    {32836, "Save profile."},
    {32840, "Convert CNV data set to QTX format\nCnvToQtx"},
    {32841, "FWSMONO"},
    {32842, "VP  "},
    {32849, "RHOZ"},
    {50000, "IFMN"},
    {50011, "ISQD"},
    {50012, "Monopole Slowness"},
    {50029, "Quadrupole Frequency-Slowness"},
    {50030, " FQ1"},
    {50038, "FREQ"},
    {50039, " FQ9"},
    {50040, "FQ10"},
    {50044, " TT9"},
    {50045, "TT10"},
    {50049, " AM9"},
    {50050, "AM10"},
    {50054, "R9"},
    {50058, "R13"},
    {50078, "YY13"},
};

TEST(StringTable, HoldsTheTextsOfSampledIds)
{
    for (const IdText& s : kSamples) {
        SCOPED_TRACE(s.id);
        EXPECT_TRUE(HasString(s.id));
        EXPECT_EQ(LoadString(s.id), s.text);
    }
}

TEST(StringTable, UnknownIdsGiveEmptyText)
{
    for (unsigned id : {0u, 1u, 127u, 130u, 32770u, 32801u, 32850u, 49999u, 50079u, 61215u, 61228u,
                        61242u, 61433u, 65535u, 70000u}) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(HasString(id));
        EXPECT_EQ(LoadString(id), "");
    }
}

// A dropped or doubled line in the table shifts every id after it; the total
// and the per-range counts catch that where the samples might not.
TEST(StringTable, HoldsExactlyTheDefinedIds)
{
    const std::pair<unsigned, unsigned> fullRanges[] = {
        {61216, 61227}, {61243, 61432}, {50000, 50078}, {32841, 32849}};
    for (auto [first, last] : fullRanges)
        for (unsigned id = first; id <= last; ++id) EXPECT_TRUE(HasString(id)) << id;

    unsigned count = 0;
    for (unsigned id = 0; id <= 65535; ++id) count += HasString(id) ? 1 : 0;
    // 4 titles, the print-setup prompt, 34 command prompts and the full ranges above.
    EXPECT_EQ(count, 4u + 1u + 34u + 12u + 190u + 79u + 9u);
}

TEST(StringTable, PerReceiverMnemonicsFillFourCharacters)
{
    const std::pair<unsigned, unsigned> ranges[] = {
        {61291, 61298}, // TT1-TT8
        {61379, 61386}, // AM1-AM8
        {61392, 61423}, // XX, XY, YX, YY 1-8
        {50030, 50037}, // FQ1-FQ8
        {50039, 50053}, // FQ9-13, TT9-13, AM9-13
        {50059, 50078}, // XX, XY, YX, YY 9-13
    };
    for (auto [first, last] : ranges)
        for (unsigned id = first; id <= last; ++id) {
            const std::string text = LoadString(id);
            ASSERT_EQ(text.size(), 4u) << id << " '" << text << "'";
            auto digit = [&](int i) { return std::isdigit(uint8_t(text[i])) != 0; };
            const bool padded = text[0] == ' ' && !digit(2) && digit(3);
            const bool twoDigits = text[0] != ' ' && digit(2) && digit(3);
            EXPECT_TRUE(padded || twoDigits) << id << " '" << text << "'";
        }
}

// Each description starts with its four-character mnemonic and " - ".
TEST(StringTable, MnemonicDescriptionsNameTheirMnemonic)
{
    for (unsigned id = 61331; id <= 61378; ++id) {
        const std::string text = LoadString(id);
        ASSERT_GT(text.size(), 7u) << id;
        EXPECT_EQ(text.substr(4, 3), " - ") << id;
        EXPECT_EQ(text.find(' '), 4u) << id;
    }
}

} // namespace
