#include "lis/LisRecognise.h"

#include "LisHelpers.h"
#include "RecogniserModel.h"
#include "lis/LisDictionary.h"
#include "platform/Format.h"
#include "support/HostFixture.h"
#include "support/LisDictionaryBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace lis::recognise;

namespace {

// ---- shared look-ups -------------------------------------------------------------------

TEST(LisRecogniseLookups, DelayIsTruncatedAndZeroWithoutAPositivePeriod)
{
    const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
    const struct {
        double delay, period;
        int32_t samples;
    } cases[] = {{250, 20.0, 12}, {-304.761, double(20.3174f), -15}, {250, 0.0, 0},    {250, -5.0, 0},
                 {1e300, 1e-300, 0}, {nan, 20.0, 0},                  {250, nan, 0},    {inf, 1.0, 0}};
    for (const auto& c : cases) EXPECT_EQ(DelaySamples(c.delay, c.period), c.samples) << c.delay << " / " << c.period;
}

TEST(LisRecogniseLookups, ParametersAreFoundInTheirTablesInOrder)
{
    Model m;
    m.Table("TOOL", {{"DLY", "1"}});
    m.Table("CONS", {{"BS", "8.5"}, {"DLY", " 250US"}});
    m.Table("QTX", {{"QTX", "Maker"}, {"MNR", "4"}});
    m.Table("CONS", {{"QTX", "Maker"}, {"MNR", "-8.9"}, {"DLY", "x9"}});
    EXPECT_EQ(ParamFloat(FindConsParameter(m.file, "DLY")), 250.0);
    EXPECT_EQ(ParamInt(FindConsParameter(m.file, "MNR")), -8); // every CONS table counts
    // QTX tables, and CONS tables only when they open with a "QTX" row.
    EXPECT_EQ(FindQtxParameter(m.file, "MNR")->m_valu, "4");
    EXPECT_EQ(FindQtxParameter(m.file, "BS"), nullptr);
    EXPECT_EQ(ParamInt(FindQtxParameter(m.file, "DLY")), 0); // no numeric prefix
}

TEST(LisRecogniseLookups, SlicesNeverReachPastTheirChannel)
{
    CLisChannelItem c;
    c.m_units = "US";
    c.m_offset = 100;
    c.m_size = 64;
    c.m_reprCode = 79;
    const struct {
        uint64_t offset, size;
        bool made;
    } cases[] = {{32, 32, true}, {64, 0, true}, {33, 32, false}, {65, 0, false}, {0, UINT64_MAX, false}};
    for (const auto& k : cases) EXPECT_EQ(SliceChannel(c, "R", k.offset, k.size) != nullptr, k.made) << k.offset;
    auto s = SliceChannel(c, "R2", 32, 32);
    EXPECT_EQ(Format("%s %u %u %s %d %u", s->m_mnemonic.c_str(), s->m_offset, s->m_size, s->m_units.c_str(),
                     s->m_reprCode, s->m_used),
              "R2 132 32 US 79 1");

    // One base-36 digit, as the LIS writer names receiver channels.
    EXPECT_EQ(ReceiverName("MON", 9) + ReceiverName("MON", 10) + ReceiverName("MON", 35) + ReceiverName("R", 36),
              "MON9MONAMONZR36");
}

// ---- every recogniser ------------------------------------------------------------------

TEST(LisRecogniseEveryTool, NeedsItsDictionaryEntriesAndTakesItsChannelAsACopy)
{
    const struct {
        int code;
        const char* section; // a dictionary section of one record naming channel "WAVE"
        const char* record;
    } tools[] = {
        {lis::kToolIsonic, "~ISONIC", "WAVE:W2:W3:W4:W5:W6:W7:W8:DLY:PER:MON:ISONIC"},
        {lis::kToolSlt, "~SLT", "WAVE:W2:ST1:ST2:DLY:PER:SLT:SLTUPPER"},
        {lis::kToolQslt, "~QSLT", "WAVE:DLY:NS:PER:QS:QSLTUPPER"},
        {lis::kToolWaveSonic, "~WAVESONIC", "WAVE:MON:WSMONO"},
        {lis::kToolScout, "~CLSS/SCOUT", "WAVE:MON:SCOUTUPPER"},
        {lis::kToolDslt, "~DSLT", "WAVE:W2:ST1:ST2:DLY:DSLTNEAR"},
        {lis::kToolDsi, "~DSI", "WAVE:PER:DLY:SM:SEMBMONO"},
        {lis::kToolBat, "~BAT", "WAVE:B:C:D:E:F:G:BAT:BATHFF"},
        {lis::kToolQtxWritten, "~QTX", "WAVE:NS:PER:DLY:NR:WMNO"},
    };
    for (const auto& t : tools) {
        SCOPED_TRACE(t.section);
        Model other; // another tool's section only: failure, nothing taken
        other.Dictionary({"~APX", "WAVE:GN:APX:APXMONO", "END::"});
        other.Channel("WAVE", 4096);
        EXPECT_EQ(other.Run(t.code), 0);
        EXPECT_TRUE(other.file.m_items.empty() && other.scan.m_toolEntries.empty());
        EXPECT_EQ(other.scan.m_channelList[0]->m_used, 0u);

        for (const char* name : {"WAVE", "GR"}) {
            Model m;
            m.Dictionary({t.section, t.record, "END::"});
            // A file this program wrote describes its datums in its table.
            if (t.code == lis::kToolQtxWritten) m.Table("QTX", {{"QTX", "Maker"}, {"WAVE", "1"}, {"NR", "1"}});
            CLisChannelItem* wave = m.Channel(name, 4096);
            m.Channel("", 4096); // the blank entry closing the section takes no blank channel
            ASSERT_EQ(m.Run(t.code), 1);
            EXPECT_TRUE(m.scan.m_toolEntries.empty());
            const bool named = std::string(name) == "WAVE";
            ASSERT_EQ(m.file.m_items.size(), named ? 1u : 0u) << name;
            EXPECT_EQ(wave->m_used, named ? 1u : 0u);
            EXPECT_EQ(m.scan.m_channelList[1]->m_used, 0u);
            // Items own copies: freeing them must never free a scan channel.
            for (const auto& item : m.file.m_items)
                for (const auto& c : item->m_waveChannels) EXPECT_NE(c.get(), wave);
        }
    }
    Model none; // no dictionary at all
    EXPECT_EQ(none.Run(lis::kToolIsonic), 0);
}

class LisRecogniseMessageTest : public HostTest {};

// A dictionary without the chosen tool ends the scan: the user is told which tool is
// missing and where a dictionary comes from, once per tool asked for.
TEST_F(LisRecogniseMessageTest, AToolMissingFromTheDictionaryIsNamedWithTheImport)
{
    for (const auto& [code, name] : {std::pair{lis::kToolIsonic, lis::recognise::kIsonic},
                                     std::pair{lis::kToolQtxWritten, lis::recognise::kQtx}}) {
        Model m;
        m.Dictionary({"~APX", "WAVE:GN:APX:APXMONO", "END::"});
        m.Channel("WAVE", 4096);
        host.ClearMessages();
        host.ExpectMessage(std::string("The tool dictionary holds no entry for the tool ") + name +
                           ".\nProcess > Dictionary imports a dictionary that has one.");
        EXPECT_EQ(m.Run(code), 0);
        EXPECT_EQ(host.Messages().size(), 1u);
    }
    Model none; // no dictionary loaded at all: the missing file was told already
    host.ClearMessages();
    EXPECT_EQ(none.Run(lis::kToolIsonic), 0);
    EXPECT_TRUE(host.Messages().empty());
}

// ---- each recogniser's own cases -------------------------------------------------------

struct Ch {
    const char* name;
    uint16_t size;
    uint8_t code = 68;
};
const std::vector<Ch> kSlt = {{"U1", 100, 79}, {"ST1", 4}, {"U2", 100, 79}, {"ST2", 4}};
const std::vector<Ch> kScout = {{"SCW", 4096, 79}, {"SHRT", 128, 79}, {"S2", 4, 79}, {"S4", 4, 79}}; // SHRT too short
const std::string kI8 = "W1:W2:W3:W4:W5:W6:W7:W8:DLY:PER:";

TEST(LisRecogniseTools, EachRecognisersDistinctiveCases)
{
    const struct {
        int tool;
        std::vector<std::string> dictionary; // section and records; "END::" added
        Rows cons;
        std::vector<Ch> channels;            // behind the depth, in order
        std::vector<std::string> items;      // Line() of every item
    } cases[] = {
        // Isonic (4 receivers in the scan's test): 8 receivers name another tool, others
        // none; the first channel must exceed 128 bytes.
        {lis::kToolIsonic, {"~ISONIC", kI8 + "MON:ISO"}, {},
         {{"W1", 400, 79}, {"W2", 4}, {"W3", 4}, {"W4", 4}, {"W5", 4}, {"W6", 4}, {"W7", 4}, {"W8", 4}},
         {"IsonicPlus|WMNO|MON - ISO|21|1|8/8|200|20.0000|0 W1@4 W2@404 W3@408 W4@412 W5@416 W6@420 W7@424 W8@428"}},
        {lis::kToolIsonic, {"~ISONIC", kI8 + "MON:ISO"}, {}, {{"W1", 400, 79}, {"W2", 4}},
         {"|WMNO|MON - ISO|0|1|2/2|200|20.0000|0 W1@4 W2@404"}},
        {lis::kToolIsonic, {"~ISONIC", kI8 + "MON:ISO"}, {}, {{"W1", 128, 79}, {"W2", 4}}, {}},
        // Isonic timing: CONS or 20 us and, except for the monopole, 400 us of delay.
        {lis::kToolIsonic, {"~ISONIC", kI8 + "DIP:ISO"}, {}, {{"W1", 1024}},
         {"|WMNO|DIP - ISO|0|1|1/1|256|20.0000|20 W1@4"}},
        {lis::kToolIsonic, {"~ISONIC", kI8 + "MON:ISO"}, {{"DLY", "250"}}, {{"W1", 1024}},
         {"|WMNO|MON - ISO|0|1|1/1|256|20.0000|12 W1@4"}},
        {lis::kToolIsonic, {"~ISONIC", kI8 + "DIP:ISO"}, {{"PER", "10"}}, {{"W1", 1024}},
         {"|WMNO|DIP - ISO|0|1|1/1|256|10.0000|40 W1@4"}},
        {lis::kToolIsonic, {"~ISONIC", kI8 + "DIP:ISO"}, {{"PER", "0"}, {"DLY", "100"}}, {{"W1", 1024}},
         {"|WMNO|DIP - ISO|0|1|1/1|256|0.0000|0 W1@4"}},
        // Entries sharing a first mnemonic take distinct channels.
        {lis::kToolIsonic, {"~ISONIC", kI8 + "MON:A", kI8 + "MON:B"}, {}, {{"W1", 512}, {"W1", 512}, {"W2", 512}},
         {"|WMNO|MON - A|0|1|2/2|128|20.0000|0 W1@4 W2@1028", "|WMNO|MON - B|0|1|1/1|128|20.0000|0 W1@516"}},
        // DSLT: 10 us whatever PER says; start times, one per receiver, count no receiver.
        {lis::kToolDslt, {"~DSLT", "U1:U2:ST1:ST2:DLY:dsltfar"}, {{"PER", "5"}, {"DLY", "-35"}}, kSlt,
         {"Dslt|WMNO| - DSLTFAR|227|1|2/2|50|10.0000|-3 U1@4 U2@108 +2 start times"}},
        // QSLT: five receivers in the first five of six blocks; the left-over byte unused.
        {lis::kToolQslt, {"~QSLT", "QL:DLY:NS:PER:LO:QSLTLOWER"}, {}, {{"QL", 61, 66}},
         {"Qslt|WMNO|LO - QSLTLOWER|108|1|5/5|10|10.0000|0 LO1@4 LO2@14 LO3@24 LO4@34 LO5@44"}},
        // Scout: four receivers packed in one channel (type by label), or one channel each.
        {lis::kToolScout, {"~CLSS/SCOUT", "SCW:AB:SCOUT"}, {}, kScout,
         {"Scout|WMNO|AB - SCOUT|0|1|4/4|512|6.4000|0 AB1@4 AB2@1028 AB3@2052 AB4@3076"}},
        {lis::kToolScout, {"~CLSS/SCOUT", "SHRT:UP:SCOUTUPPER", "SCW:S2:S3:S4:UP:SCOUTUPPER"}, {}, kScout,
         {"Scout|WMNO|UP - SCOUTUPPER|109|1|3/3|2048|6.4000|0 SCW@4 S2@4228 S4@4232"}},
        // WaveSonic: the label fixes type, mnemonic, period and delay.
        {lis::kToolWaveSonic, {"~WAVESONIC", "A1:A2:WAV:WSDYBD", "B1:B2:WAV:WSMD", "C1:C2:WAV:WSDYX"}, {},
         {{"A1", 1024}, {"A2", 1024}, {"B1", 1024}, {"B2", 1024}, {"C1", 1024}, {"C2", 1024}},
         {"Wavesonic|WDYY|WAV - WSDYBD|18|1|2/2|256|40.6348|-7 A1@4 A2@1028",
          "Wavesonic|WMNO|WAV - WSMD|84|1|2/2|256|20.3174|-15 B1@2052 B2@3076",
          "Wavesonic||WAV - WSDYX|0|1|2/2|256|0.0000|0 C1@4100 C2@5124"}},
        // WaveSonic: eight receivers packed in one channel; semblances are one-trace curves.
        {lis::kToolWaveSonic, {"~WAVESONIC", "SHRT:MON:WSMONO", "WFMS:MON:WSMONO"}, {},
         {{"SHRT", 128, 79}, {"WFMS", 16384, 79}},
         {"Wavesonic|WMNO|MON - WSMONO|16|1|8/8|1024|20.3174|-15 WFM1@132 WFM2@2180 WFM3@4228 WFM4@6276 WFM5@8324 "
          "WFM6@10372 WFM7@12420 WFM8@14468"}},
        {lis::kToolWaveSonic, {"~WAVESONIC", "WFMS:SM:SEMBDXY", "SEMQ:SM:SEMBQD"}, {},
         {{"WFMS", 16384, 79}, {"SEMQ", 16384, 79}},
         {"Wavesonic|SDXY|SM - SEMBDXY|34|3|1/1|8192|0.0000|0 WFMS@4",
          "Wavesonic|UNKN|SM - SEMBQD|0|3|1/1|8192|0.0000|0 SEMQ@16388"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dictionary.back());
        Model m;
        std::vector<std::string> lines = c.dictionary;
        lines.push_back("END::");
        m.Dictionary(lines);
        m.Table("CONS", c.cons);
        for (const Ch& ch : c.channels) m.Channel(ch.name, ch.size, ch.code);
        ASSERT_EQ(m.Run(c.tool), 1);
        std::vector<std::string> items;
        for (const auto& item : m.file.m_items) items.push_back(Line(*item));
        EXPECT_EQ(items, c.items);
    }
}

// ---- files written by this program -------------------------------------------------------

const std::vector<std::string> kQtxDictionary = {
    "~QTX",
    "MON1:MNS:MSP::MNR:WMNO", "WMNO:MNS:MSP::MNR:WMNO",
    "DXX1:DXNS:DXSP::DXNR:WDXX", "WDXX:DXNS:DXSP::DXNR:WDXX",
    "SMNO:SPNS:SPSP:SPSD::SMNO",
    "END::",
};

TEST(LisRecogniseQtx, RepeatedRowsGoToSuccessiveDatums)
{
    Model m;
    m.Dictionary(kQtxDictionary);
    m.Table("CONS", {{"QTX", "Maker"}, {"WMNO", "1"}, {"MNR", "2"}, {"MNS", "8"}, {"MSP", "10"},
                     {"WMNO", "21"}, {"MNR", "3"}, {"MNS", "4"}, {"MSP", "20"}, {"SMNO", "31"}, {"SPNS", "5"},
                     {"SPSP", "40"}, {"SPSD", "7"}});
    m.Channel("WMNO", 64);
    m.Channel("WMNO", 48);
    m.Channel("SMNO", 20);
    m.Channel("DTCO", 4);
    ASSERT_EQ(m.Run(lis::kToolQtxWritten), 1);
    ASSERT_EQ(m.file.m_items.size(), 3u);
    EXPECT_EQ(Summary(m.Item(0)), "Dsi|WMNO|WMNO - |1|1|2/2|8|10.0000|0");
    EXPECT_EQ(Summary(m.Item(2)), "Semblance Proj|SMNO|SMNO - |31|3|1/1|5|40.0000|7");
    EXPECT_EQ(Line(m.Item(1)), "Isonic|WMNO|WMNO - |21|1|3/3|4|20.0000|0 R1@68 R2@84 R3@100");
    EXPECT_EQ(m.scan.m_channelList[3]->m_used, 0u); // DTCO is left for a curve item
}

TEST(LisRecogniseQtx, ProcessedKindsHaveOneReceiverAndRowsNeverSliceBeyondTheChannel)
{
    const struct {
        const char *type, *receivers, *samples;
        uint16_t channelSize;
        const char* summary;
        size_t slices;
    } cases[] = {
        {"30", "6", "4", 16, "Phase Dist|WMNO|WMNO - |30|3|1/1|4|0.0000|0", 1},
        {"115", "6", "4", 16, "Energy|WMNO|WMNO - |115|4|1/1|4|0.0000|0", 1},
        {"200", "3", "4", 40, "|WMNO|WMNO - |200|1|3/3|4|0.0000|0", 2}, // a third slice would pass 40 bytes
        {"1", "2", "100", 16, "Dsi|WMNO|WMNO - |1|1|2/2|100|0.0000|0", 0},
        {"257", "35", "1", 8, "Dsi|WMNO|WMNO - |1|1|35/35|1|0.0000|0", 2}, // low byte of the type
        {"1", "-4", "1", 8, "Dsi|WMNO|WMNO - |1|1|0/0|1|0.0000|0", 0},
        // More receivers than channels can be named: refused, however few samples.
        {"1", "36", "1", 200, nullptr, 0},
        {"1", "65535", "", 8, nullptr, 0},
    };
    for (const auto& c : cases) {
        Model m;
        m.Dictionary(kQtxDictionary);
        m.Table("QTX", {{"QTX", "Maker"}, {"WMNO", c.type}, {"MNR", c.receivers}, {"MNS", c.samples}});
        m.Channel("WMNO", c.channelSize);
        ASSERT_EQ(m.Run(lis::kToolQtxWritten), 1);
        if (!c.summary) {
            EXPECT_TRUE(m.file.m_items.empty()) << c.receivers;
            continue;
        }
        EXPECT_EQ(Summary(m.Item(0)), c.summary);
        EXPECT_EQ(m.Item(0).m_waveChannels.size(), c.slices) << c.type;
    }
}

} // namespace
