#include "lis/LisRecognise.h"

#include "lis/LisDictionary.h"
#include "lis/LisRecordIO.h"
#include "lis/LisWrite.h"
#include "platform/Endian.h"
#include "platform/Format.h"
#include "support/HostFixture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

using namespace lis::recognise;

namespace {

using Rows = std::vector<std::pair<std::string, std::string>>; // MNEM, VALU

// A logical file as the scan leaves it at a trailer, with the dictionary loaded from text.
class Model {
public:
    CLisDictionary dictionary;
    CLisScanState scan;
    CLisLogicalFile file;

    // Dictionary source lines (a first line is added); loaded as the scan loads the file.
    void Dictionary(const std::vector<std::string>& lines)
    {
        std::string text = "Tool dictionary\r\n";
        for (const auto& l : lines) text += l + "\r\n";
        auto bytes = std::make_shared<std::vector<uint8_t>>(text.begin(), text.end());
        lisdic::Scramble(*bytes);
        BinaryFile f;
        f.OpenMemory(bytes, false);
        ASSERT_EQ(dictionary.Load(f), 1);
        scan.m_dictionary = &dictionary;
    }
    // A DFSR channel behind the previous ones.
    CLisChannelItem* Channel(const std::string& name, uint16_t size, uint8_t code = 68, const std::string& units = "US")
    {
        auto c = std::make_unique<CLisChannelItem>();
        c->m_mnemonic = name;
        c->m_units = units;
        c->m_offset = m_nextOffset;
        c->m_size = size;
        c->m_reprCode = code;
        c->m_index = uint32_t(file.m_channels.size());
        m_nextOffset += size;
        scan.m_channelList.push_back(c.get());
        file.m_channels.push_back(std::move(c));
        return scan.m_channelList.back();
    }
    void Table(const std::string& name, const Rows& rows)
    {
        auto t = std::make_unique<CLisTable>();
        t->m_name = name;
        for (const auto& [mnem, valu] : rows) {
            CLisTableRow r;
            r.m_mnem = mnem;
            r.m_valu = valu;
            t->m_rows.push_back(r);
        }
        file.m_tables.push_back(std::move(t));
    }
    int Run(int tool)
    {
        LisRecogniser recognise = RecogniserFor(tool);
        EXPECT_NE(recognise, nullptr);
        return recognise ? recognise(scan, file, tool) : -1;
    }
    const CWaveformPickItem& Item(size_t i) const { return *file.m_items.at(i); }
    std::vector<std::string> WaveNames(size_t i) const
    {
        std::vector<std::string> out;
        for (const auto& c : Item(i).m_waveChannels) out.push_back(c->m_mnemonic);
        return out;
    }
    std::vector<uint32_t> WaveOffsets(size_t i) const
    {
        std::vector<uint32_t> out;
        for (const auto& c : Item(i).m_waveChannels) out.push_back(c->m_offset);
        return out;
    }

private:
    uint32_t m_nextOffset = 4; // behind the depth
};

std::vector<std::string> Names(std::initializer_list<const char*> names) { return {names.begin(), names.end()}; }

// The members every recogniser sets, on one comparable line:
// tool|mnemonic|display|type|category|receivers/traces|samples|period|delay.
std::string Summary(const CWaveformPickItem& it)
{
    return Format("%s|%s|%s|%d|%d|%d/%d|%d|%.4f|%d", it.m_toolName.c_str(), it.m_mnemonic.c_str(),
                  it.m_displayName.c_str(), it.m_typeCode, it.m_category, it.m_receiverCount, it.m_traceCount,
                  it.m_samplesPerWaveform, double(it.m_samplePeriod), it.m_fixedDelay);
}

// ---- shared look-ups -------------------------------------------------------------------

TEST(LisRecogniseDispatch, KnowsTheToolsThatNeedNoDialogByTheLowByte)
{
    for (int code : {lis::kToolIsonic, lis::kToolSlt, lis::kToolQslt, lis::kToolWaveSonic, lis::kToolScout,
                     lis::kToolDslt, lis::kToolQtxWritten, 0x100 | lis::kToolScout})
        EXPECT_NE(RecogniserFor(code), nullptr) << std::hex << code;
    for (int code : {lis::kToolDsi, lis::kToolApx, lis::kToolXmac, lis::kToolMac, lis::kToolDal, lis::kToolBat,
                     lis::kToolFws, lis::kToolLss, 0x1f, 0x2e, 0, -1})
        EXPECT_EQ(RecogniserFor(code), nullptr) << std::hex << code;
}

TEST(LisRecogniseLookups, DelayIsTruncatedAndZeroWithoutAPositivePeriod)
{
    const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
    const struct {
        double delay, period;
        int32_t samples;
    } cases[] = {{250, 20.0, 12}, {100, 16.0, 6}, {-304.761, double(20.3174f), -15}, {-304.761, double(40.6348f), -7},
                 {250, 0.0, 0},   {250, -5.0, 0}, {1e300, 1e-300, 0}, {nan, 20.0, 0}, {250, nan, 0}, {inf, 1.0, 0}};
    for (const auto& c : cases) EXPECT_EQ(DelaySamples(c.delay, c.period), c.samples) << c.delay << " / " << c.period;
}

TEST(LisRecogniseLookups, ParametersAreFoundInTheirTablesInOrder)
{
    Model m;
    m.Table("TOOL", {{"DLY", "1"}});
    m.Table("CONS", {{"BS", "8.5"}, {"DLY", " 250US"}});
    m.Table("QTX", {{"QTX", "Maker"}, {"MNR", "4"}});
    m.Table("CONS", {{"QTX", "Maker"}, {"MNR", "-8.9"}, {"DLY", "x9"}, {"", "blank"}});
    EXPECT_EQ(ParamFloat(FindConsParameter(m.file, "DLY")), 250.0);
    EXPECT_EQ(ParamInt(FindConsParameter(m.file, "MNR")), -8); // every CONS table counts
    EXPECT_EQ(FindConsParameter(m.file, ""), nullptr);
    EXPECT_EQ(ParamFloat(nullptr), 0.0);

    // QTX tables, and CONS tables only when they open with a "QTX" row.
    CLisTableRow* mnr = FindQtxParameter(m.file, "MNR");
    ASSERT_NE(mnr, nullptr);
    EXPECT_EQ(mnr->m_valu, "4");
    mnr->m_mnem += "X";
    EXPECT_EQ(FindQtxParameter(m.file, "MNR")->m_valu, "-8.9");
    EXPECT_EQ(FindQtxParameter(m.file, "BS"), nullptr);
    EXPECT_EQ(ParamInt(FindQtxParameter(m.file, "DLY")), 0); // no numeric prefix
    EXPECT_EQ(FindQtxParameter(m.file, ""), nullptr);
}

TEST(LisRecogniseLookups, SlicesNeverReachPastTheirChannel)
{
    CLisChannelItem c;
    c.m_units = "US";
    c.m_offset = 100;
    c.m_size = 64;
    c.m_reprCode = 79;
    c.m_index = 7;
    const struct {
        uint64_t offset, size;
        bool made;
    } cases[] = {{32, 32, true}, {64, 0, true}, {33, 32, false}, {65, 0, false}, {0, UINT64_MAX, false}};
    for (const auto& k : cases) EXPECT_EQ(SliceChannel(c, "R", k.offset, k.size) != nullptr, k.made) << k.offset;
    auto s = SliceChannel(c, "R2", 32, 32);
    EXPECT_EQ(Format("%s %u %u %s %d %u %u", s->m_mnemonic.c_str(), s->m_offset, s->m_size, s->m_units.c_str(),
                     s->m_reprCode, s->m_used, s->m_index),
              "R2 132 32 US 79 1 7");
    EXPECT_EQ(SliceChannel(c, "R", 0, 2, false)->m_units, "");

    // One base-36 digit, as the LIS writer names receiver channels.
    EXPECT_EQ(ReceiverName("MON", 9) + ReceiverName("MON", 10) + ReceiverName("MON", 35) + ReceiverName("R", 36),
              "MON9MONAMONZR36");
}

// ---- every recogniser ------------------------------------------------------------------

struct Tool {
    int code;
    const char* section; // a dictionary section of one record naming channel "WAVE"
    const char* record;
};
const Tool kTools[] = {
    {lis::kToolIsonic, "~ISONIC", "WAVE:W2:W3:W4:W5:W6:W7:W8:DLY:PER:MON:ISONIC"},
    {lis::kToolSlt, "~SLT", "WAVE:W2:ST1:ST2:DLY:PER:SLT:SLTUPPER"},
    {lis::kToolQslt, "~QSLT", "WAVE:DLY:NS:PER:QS:QSLTUPPER"},
    {lis::kToolWaveSonic, "~WAVESONIC", "WAVE:MON:WSMONO"},
    {lis::kToolScout, "~CLSS/SCOUT", "WAVE:MON:SCOUTUPPER"},
    {lis::kToolDslt, "~DSLT", "WAVE:W2:ST1:ST2:DLY:DSLTNEAR"},
    {lis::kToolQtxWritten, "~QTX", "WAVE:NS:PER:DLY:NR:WMNO"},
};

TEST(LisRecogniseEveryTool, FailsWithoutItsDictionaryEntries)
{
    for (const Tool& t : kTools) {
        Model m;
        m.Dictionary({"~BAT", "A:B:C:D:E:F:G:BAT:BATHFF", "END::"});
        m.Channel("WAVE", 4096);
        EXPECT_EQ(m.Run(t.code), 0) << t.section;
        EXPECT_TRUE(m.file.m_items.empty() && m.scan.m_toolEntries.empty()) << t.section;
        EXPECT_EQ(m.scan.m_channelList[0]->m_used, 0u) << t.section;
    }
    Model none; // no dictionary at all
    EXPECT_EQ(none.Run(lis::kToolIsonic), 0);
}

TEST(LisRecogniseEveryTool, TakesItsChannelAsACopyAndLeavesOthersFree)
{
    for (const Tool& t : kTools) {
        for (const char* name : {"WAVE", "GR"}) {
            Model m;
            m.Dictionary({t.section, t.record, "END::"});
            CLisChannelItem* wave = m.Channel(name, 4096);
            m.Channel("", 4096); // the blank entry closing the section takes no blank channel
            ASSERT_EQ(m.Run(t.code), 1) << t.section;
            EXPECT_TRUE(m.scan.m_toolEntries.empty()) << t.section;
            const bool named = std::string(name) == "WAVE";
            ASSERT_EQ(m.file.m_items.size(), named ? 1u : 0u) << t.section << " " << name;
            EXPECT_EQ(wave->m_used, named ? 1u : 0u) << t.section;
            EXPECT_EQ(m.scan.m_channelList[1]->m_used, 0u) << t.section;
            for (const auto& item : m.file.m_items)
                for (const auto& c : item->m_waveChannels) EXPECT_NE(c.get(), wave) << t.section;
        }
    }
}

// ---- Isonic ------------------------------------------------------------------------------

TEST(LisRecogniseIsonic, ToolFollowsTheReceiversAndTheFirstChannelMustExceed128Bytes)
{
    const struct {
        int channels;
        uint16_t size;
        uint8_t code;
        const char* summary; // empty: no item
    } cases[] = {
        {4, 400, 79, "Isonic|WMNO|MON - ISO|21|1|4/4|200|20.0000|0"},
        {8, 400, 79, "IsonicPlus|WMNO|MON - ISO|21|1|8/8|200|20.0000|0"},
        {6, 400, 79, "|WMNO|MON - ISO|0|1|6/6|200|20.0000|0"},
        {4, 129, 66, "Isonic|WMNO|MON - ISO|21|1|4/4|129|20.0000|0"},
        {4, 1000, 68, "Isonic|WMNO|MON - ISO|21|1|4/4|250|20.0000|0"},
        {4, 128, 68, ""},
    };
    for (const auto& c : cases) {
        Model m;
        m.Dictionary({"~ISONIC", "W1:W2:W3:W4:W5:W6:W7:W8:DLY:PER:MON:ISO", "END::"});
        m.Channel("W1", c.size, c.code);
        for (int i = 2; i <= c.channels; ++i) m.Channel("W" + std::to_string(i), 4); // later ones any size
        ASSERT_EQ(m.Run(lis::kToolIsonic), 1);
        ASSERT_EQ(m.file.m_items.size(), *c.summary ? 1u : 0u) << c.summary;
        for (const auto& item : m.file.m_items) EXPECT_EQ(Summary(*item), c.summary);
    }
}

TEST(LisRecogniseIsonic, PeriodAndDelayComeFromConsOrTheDefaults)
{
    const struct {
        const char* waveName;
        Rows cons;
        float period;
        int32_t delay;
    } cases[] = {
        {"MON", {}, 20.0f, 0},
        {"DIP", {}, 20.0f, 20},
        {"DIP", {{"PER", "16"}, {"DLY", "100"}}, 16.0f, 6},
        {"MON", {{"DLY", "250"}}, 20.0f, 12},
        {"DIP", {{"PER", "10"}}, 10.0f, 40},
        {"DIP", {{"PER", "0"}, {"DLY", "100"}}, 0.0f, 0},
    };
    for (const auto& c : cases) {
        Model m;
        m.Dictionary({"~ISONIC", std::string("W1:W2:W3:W4:::::DLY:PER:") + c.waveName + ":ISO", "END::"});
        m.Table("CONS", c.cons);
        m.Channel("W1", 1024);
        ASSERT_EQ(m.Run(lis::kToolIsonic), 1);
        EXPECT_EQ(m.Item(0).m_samplePeriod, c.period) << c.waveName << " " << c.cons.size();
        EXPECT_EQ(m.Item(0).m_fixedDelay, c.delay) << c.waveName << " " << c.cons.size();
    }
}

TEST(LisRecogniseIsonic, EntriesSharingAFirstMnemonicTakeDistinctChannels)
{
    for (int copies : {1, 2}) {
        Model m;
        m.Dictionary({"~ISONIC", "W1:W2:W3:W4:::::DLY:PER:MON:A", "W1:W2:W3:W4:::::DLY:PER:MON:B", "END::"});
        for (int k = 0; k < copies; ++k) m.Channel("W1", 512);
        m.Channel("W2", 512);
        ASSERT_EQ(m.Run(lis::kToolIsonic), 1);
        ASSERT_EQ(m.file.m_items.size(), size_t(copies));
        EXPECT_EQ(m.WaveOffsets(0), (std::vector<uint32_t>{4, 4 + 512u * copies}));
        if (copies == 2) {
            EXPECT_EQ(m.WaveOffsets(1), std::vector<uint32_t>{516}); // the first entry took the only W2
        }
    }
}

// ---- DSLT, SLT, QSLT ---------------------------------------------------------------------

TEST(LisRecogniseDsltAndSlt, TypeByLabelAndTheirPeriodsAndDelays)
{
    const struct {
        int tool;
        const char* record;
        Rows cons;
        const char* summary;
    } cases[] = {
        {lis::kToolDslt, "U1:U2:ST1:ST2:DLY:DSLTNEAR", {{"DLY", "125"}}, "Dslt|WMNO| - DSLTNEAR|226|1|2/2|50|10.0000|12"},
        {lis::kToolDslt, "U1:U2:ST1:ST2:DLY:dsltfar", {{"PER", "5"}, {"DLY", "-35"}},
         "Dslt|WMNO| - DSLTFAR|227|1|2/2|50|10.0000|-3"},
        {lis::kToolSlt, "U1:U2:ST1:ST2:DLY:PER:SW:SLTUPPER", {}, "SLT|WMNO|SW - SLTUPPER|105|1|2/2|50|10.0000|0"},
        {lis::kToolSlt, "U1:U2:ST1:ST2:DLY:PER:SW:SLTLOWER", {{"PER", "5"}, {"DLY", "52"}},
         "SLT|WMNO|SW - SLTLOWER|106|1|2/2|50|5.0000|10"},
    };
    for (const auto& c : cases) {
        Model m;
        m.Dictionary({c.tool == lis::kToolDslt ? "~DSLT" : "~SLT", c.record, "END::"});
        m.Table("CONS", c.cons);
        m.Channel("U1", 100, 79); // no size test
        m.Channel("ST1", 4);
        m.Channel("U2", 100, 79);
        m.Channel("ST2", 4);
        ASSERT_EQ(m.Run(c.tool), 1);
        ASSERT_EQ(m.file.m_items.size(), 1u);
        EXPECT_EQ(Summary(m.Item(0)), c.summary);
        EXPECT_EQ(m.WaveNames(0), Names({"U1", "U2"}));
        // Only DSLT collects the start times, one per receiver, counting no receiver.
        const bool dslt = c.tool == lis::kToolDslt;
        EXPECT_EQ(m.Item(0).m_startTimeChannels.size(), dslt ? 2u : 0u);
        EXPECT_EQ(m.scan.m_channelList[3]->m_used, dslt ? 1u : 0u);
    }
}

TEST(LisRecogniseQslt, OneChannelIsCutIntoFiveOfSixBlocks)
{
    Model m;
    m.Dictionary({"~QSLT", "QS:DLY:NS:PER:UP:QSLTUPPER", "QL:DLY:NS:PER:LO:QSLTLOWER", "END::"});
    m.Table("CONS", {{"PER", "8"}, {"DLY", "50"}});
    m.Channel("QS", 6000, 79, "MV");
    m.Channel("QL", 61, 66); // blocks of 10 bytes, one byte left over
    ASSERT_EQ(m.Run(lis::kToolQslt), 1);
    ASSERT_EQ(m.file.m_items.size(), 2u);
    EXPECT_EQ(Summary(m.Item(0)), "Qslt|WMNO|UP - QSLTUPPER|107|1|5/5|500|8.0000|6");
    EXPECT_EQ(m.WaveNames(0), Names({"UP1", "UP2", "UP3", "UP4", "UP5"}));
    EXPECT_EQ(m.WaveOffsets(0), (std::vector<uint32_t>{4, 1004, 2004, 3004, 4004})); // the sixth block unused
    for (const auto& c : m.Item(0).m_waveChannels)
        EXPECT_EQ(Format("%u %s %d %u", c->m_size, c->m_units.c_str(), c->m_reprCode, c->m_used), "1000 MV 79 1");
    EXPECT_EQ(Summary(m.Item(1)), "Qslt|WMNO|LO - QSLTLOWER|108|1|5/5|10|8.0000|6");
    EXPECT_EQ(m.WaveOffsets(1).back(), 6004u + 40u);
}

// ---- Scout -------------------------------------------------------------------------------

TEST(LisRecogniseScout, PackedOrOneChannelPerReceiver)
{
    const struct {
        std::vector<std::string> dictionary;
        const char* summary; // of the only item
        std::vector<std::string> names;
        std::vector<uint32_t> offsets;
    } cases[] = {
        {{"SCW:MON:SCOUTUPPER"}, "Scout|WMNO|MON - SCOUTUPPER|109|1|4/4|512|6.4000|0",
         Names({"MON1", "MON2", "MON3", "MON4"}), {4, 1028, 2052, 3076}},
        {{"SCW:LOWER:SCOUTLOWER"}, "Scout|WMNO|LOWER - SCOUTLOWER|110|1|4/4|512|6.4000|0",
         Names({"LOW1", "LOW2", "LOW3", "LOW4"}), {4, 1028, 2052, 3076}},
        {{"SCW:AB:SCOUT"}, "Scout|WMNO|AB - SCOUT|0|1|4/4|512|6.4000|0", Names({"AB1", "AB2", "AB3", "AB4"}),
         {4, 1028, 2052, 3076}},
        {{"SHRT:UP:SCOUTUPPER", "SCW:S2:S3:S4:UP:SCOUTUPPER"}, "Scout|WMNO|UP - SCOUTUPPER|109|1|3/3|2048|6.4000|0",
         Names({"SCW", "S2", "S4"}), {4, 4228, 4232}},
    };
    for (const auto& c : cases) {
        Model m;
        std::vector<std::string> lines = {"~CLSS/SCOUT"};
        lines.insert(lines.end(), c.dictionary.begin(), c.dictionary.end());
        lines.push_back("END::");
        m.Dictionary(lines);
        m.Channel("SCW", 4096, 79);
        m.Channel("SHRT", 128, 79); // too short to be taken
        m.Channel("S2", 4, 79);
        m.Channel("S4", 4, 79);
        ASSERT_EQ(m.Run(lis::kToolScout), 1);
        ASSERT_EQ(m.file.m_items.size(), 1u) << c.summary;
        EXPECT_EQ(Summary(m.Item(0)), c.summary);
        EXPECT_EQ(m.WaveNames(0), c.names);
        EXPECT_EQ(m.WaveOffsets(0), c.offsets);
    }
}

// ---- WaveSonic ---------------------------------------------------------------------------

TEST(LisRecogniseWaveSonic, LabelFixesTypePeriodAndDelay)
{
    const char* cases[][2] = {
        {"WSMONO", "Wavesonic|WMNO|WAV - WSMONO|16|1|2/2|256|20.3174|-15"},
        {"WSDXAC", "Wavesonic|WDXX|WAV - WSDXAC|17|1|2/2|256|40.6348|-7"},
        {"WSDXBD", "Wavesonic|WDXY|WAV - WSDXBD|19|1|2/2|256|40.6348|-7"},
        {"WSDYAC", "Wavesonic|WDYX|WAV - WSDYAC|20|1|2/2|256|40.6348|-7"},
        {"WSDYBD", "Wavesonic|WDYY|WAV - WSDYBD|18|1|2/2|256|40.6348|-7"},
        {"WSMD", "Wavesonic|WMNO|WAV - WSMD|84|1|2/2|256|20.3174|-15"},
        {"WSDXC", "Wavesonic|WDXX|WAV - WSDXC|73|1|2/2|256|40.6348|-7"},
        {"WSDYB", "Wavesonic|WDYY|WAV - WSDYB|76|1|2/2|256|40.6348|-7"},
        {"WSDYX", "Wavesonic||WAV - WSDYX|0|1|2/2|256|0.0000|0"},
    };
    for (const auto& [label, summary] : cases) {
        Model m;
        m.Dictionary({"~WAVESONIC", std::string("WS1:WS2:WAV:") + label, "END::"});
        m.Channel("WS1", 1024, 68);
        m.Channel("WS2", 1024, 68);
        ASSERT_EQ(m.Run(lis::kToolWaveSonic), 1);
        EXPECT_EQ(Summary(m.Item(0)), summary);
    }
    const float periods[] = {20.3174f, 40.6348f};
    uint32_t bits[2];
    std::memcpy(bits, periods, sizeof bits);
    EXPECT_EQ(bits[0], 0x41A28A09u);
    EXPECT_EQ(bits[1], 0x42228A09u);
}

TEST(LisRecogniseWaveSonic, PackedWaveformsAndSemblanceCurves)
{
    const struct {
        const char* record;
        const char* summary; // of the item made of channel "WFMS" (16384 bytes, code 79)
        size_t slices;
    } cases[] = {
        {"WFMS:MON:WSMONO", "Wavesonic|WMNO|MON - WSMONO|16|1|8/8|1024|20.3174|-15", 8},
        {"WFMS:SM:SEMBDXY", "Wavesonic|SDXY|SM - SEMBDXY|34|3|1/1|8192|0.0000|0", 1},
        {"WFMS:SM:SEMBDYY", "Wavesonic|SDYY|SM - SEMBDYY|33|3|1/1|8192|0.0000|0", 1},
        {"WFMS:SM:SEMBQD", "Wavesonic|UNKN|SM - SEMBQD|0|3|1/1|8192|0.0000|0", 1},
    };
    for (const auto& c : cases) {
        Model m;
        m.Dictionary({"~WAVESONIC", "SHRT:MON:WSMONO", c.record, "END::"});
        m.Channel("SHRT", 128, 79); // too short to be taken
        m.Channel("WFMS", 16384, 79);
        ASSERT_EQ(m.Run(lis::kToolWaveSonic), 1);
        ASSERT_EQ(m.file.m_items.size(), 1u) << c.record;
        EXPECT_EQ(Summary(m.Item(0)), c.summary);
        ASSERT_EQ(m.Item(0).m_waveChannels.size(), c.slices);
        if (c.slices == 8) {
            EXPECT_EQ(m.WaveNames(0), Names({"WFM1", "WFM2", "WFM3", "WFM4", "WFM5", "WFM6", "WFM7", "WFM8"}));
            EXPECT_EQ(m.WaveOffsets(0).back(), 132u + 7 * 2048);
            EXPECT_EQ(m.Item(0).m_waveChannels.back()->m_size, 2048u);
        }
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
    EXPECT_EQ(Summary(m.Item(1)), "Isonic|WMNO|WMNO - |21|1|3/3|4|20.0000|0");
    EXPECT_EQ(Summary(m.Item(2)), "Semblance Proj|SMNO|SMNO - |31|3|1/1|5|40.0000|7");
    EXPECT_EQ(m.WaveNames(1), Names({"R1", "R2", "R3"}));
    EXPECT_EQ(m.WaveOffsets(1), (std::vector<uint32_t>{68, 84, 100}));
    EXPECT_EQ(m.file.m_tables[0]->m_rows[5].m_mnem, "WMNOX");
    EXPECT_EQ(m.scan.m_channelList[3]->m_used, 0u); // DTCO is left for a curve item
}

TEST(LisRecogniseQtx, ProcessedKindsHaveOneReceiverAndRowsNeverSliceBeyondTheChannel)
{
    const struct {
        const char* type;
        const char* receivers;
        const char* samples;
        uint16_t channelSize;
        const char* summary;
        size_t slices;
    } cases[] = {
        {"30", "6", "4", 16, "Phase Dist|WMNO|WMNO - |30|3|1/1|4|0.0000|0", 1},
        {"160", "6", "4", 16, "Inst Phase|WMNO|WMNO - |160|2|1/1|4|0.0000|0", 1},
        {"115", "6", "4", 16, "Energy|WMNO|WMNO - |115|4|1/1|4|0.0000|0", 1},
        {"200", "3", "4", 40, "|WMNO|WMNO - |200|1|3/3|4|0.0000|0", 2}, // a third slice would pass 40 bytes
        {"1", "2", "100", 16, "Dsi|WMNO|WMNO - |1|1|2/2|100|0.0000|0", 0},
        {"257", "99999", "1", 8, "Dsi|WMNO|WMNO - |1|1|65535/65535|1|0.0000|0", 2}, // low byte; clamped
        {"1", "-4", "1", 8, "Dsi|WMNO|WMNO - |1|1|0/0|1|0.0000|0", 0},
    };
    for (const auto& c : cases) {
        Model m;
        m.Dictionary(kQtxDictionary);
        m.Table("QTX", {{"QTX", "Maker"}, {"WMNO", c.type}, {"MNR", c.receivers}, {"MNS", c.samples}});
        m.Channel("WMNO", c.channelSize);
        ASSERT_EQ(m.Run(lis::kToolQtxWritten), 1);
        EXPECT_EQ(Summary(m.Item(0)), c.summary);
        EXPECT_EQ(m.Item(0).m_waveChannels.size(), c.slices) << c.type;
    }
}

// ---- a data set written by the LIS writer, read back as the scan would read it ----------

QtxDatumDescriptor Datum(const char* mnemonic, uint8_t type, uint8_t category, uint16_t traces, uint16_t samples,
                         float step, uint8_t unit = 1)
{
    QtxDatumDescriptor d;
    std::memcpy(d.mnemonic, mnemonic, 4);
    d.typeCode = type;
    d.category = category;
    d.traceCount = traces;
    d.size = uint32_t(traces) * samples * 4;
    d.axisCount = 1;
    d.axis1 = {unit, 0, samples, step};
    return d;
}

std::string Trimmed(const uint8_t* p, size_t n)
{
    std::string s(reinterpret_cast<const char*>(p), n);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    while (!s.empty() && s.front() == ' ') s.erase(s.begin());
    return s;
}

// The information tables and DFSR channels of a file from the writer, as the scan
// models them (the depth channel marked used).
void ReadWritten(const std::string& path, Model& m)
{
    using namespace lis::writer;
    BinaryFile file;
    ASSERT_TRUE(file.Open(path, BinaryFile::modeRead));
    std::vector<uint8_t> r(1 << 20);
    uint64_t position = 0;
    for (;;) {
        bool mark = false;
        const uint32_t n = CLisRecordIO::ReadLogicalRecord(r.data(), r.size(), file, position, lis::kTif, &mark);
        if (n == 0) break;
        if (mark) continue;
        if (r[0] == lis::kInformation) {
            auto table = std::make_unique<CLisTable>();
            for (size_t at = lis::kLogicalHeaderSize; at + kComponentHeaderSize <= n;) {
                const uint8_t* c = &r[at];
                const size_t size = c[kComponentSize];
                const std::string mnemonic = Trimmed(c + kComponentMnemonic, 4);
                const std::string value = Trimmed(c + kComponentValue, size);
                if (c[kComponentType] == kComponentTableName) table->m_name = value;
                else if (c[kComponentType] == kComponentRowStart) table->m_rows.emplace_back().m_mnem = value;
                else if (!table->m_rows.empty() && mnemonic == "VALU") table->m_rows.back().m_valu = value;
                else if (!table->m_rows.empty() && mnemonic == "DESC") table->m_rows.back().m_desc = value;
                at += kComponentHeaderSize + size;
            }
            m.file.m_tables.push_back(std::move(table));
        } else if (r[0] == lis::kDataFormatSpec) {
            size_t at = kDfsrFirstEntry;
            while (r[at + kEntryType] != 0) at += kEntryValue + r[at + kEntrySize];
            at += kEntryValue + r[at + kEntrySize];
            uint32_t offset = 0;
            for (; at + kDsbSize <= n; at += kDsbSize) {
                const uint16_t size = endian::GetBE16(&r[at + kDsbChannelSize]);
                auto c = std::make_unique<CLisChannelItem>();
                c->m_mnemonic = Trimmed(&r[at + kDsbMnemonic], 4);
                c->m_units = Trimmed(&r[at + kDsbUnits], 4);
                c->m_offset = offset;
                c->m_size = size;
                c->m_reprCode = r[at + kDsbCode];
                c->m_used = c->m_mnemonic == "DEPT";
                offset += size;
                m.scan.m_channelList.push_back(c.get());
                m.file.m_channels.push_back(std::move(c));
            }
        }
    }
}

class LisRecogniseWritten : public HostTest {
protected:
    TempDir dir;
    std::string path = dir.File("written.lis");

    void Write(const std::vector<QtxDatumDescriptor>& datums, int perReceiver)
    {
        QtxFileHeader h;
        h.depthStep = 0.5;
        h.datumCount = uint16_t(datums.size());
        h.frameSize = 4;
        for (const auto& d : datums) h.frameSize += d.size;
        CLisWrite w;
        ASSERT_EQ(w.Create(path), 1);
        ASSERT_EQ(w.WriteHeaders(), 1);
        ASSERT_EQ(w.WriteInformationRecord("QTX", &h, datums.data()), 1);
        ASSERT_EQ(w.WriteInformationRecord("CONS", &h, datums.data()), 1);
        ASSERT_EQ(w.WriteDfsr(&h, datums.data(), perReceiver), 1);
        ASSERT_EQ(w.WriteTrailers(), 1);
        ASSERT_EQ(w.Close(), 1);
    }
};

TEST_F(LisRecogniseWritten, DfsrChannelsBecomeTheDatumsAgain)
{
    const std::vector<QtxDatumDescriptor> datums = {
        Datum("WMNO", 1, 1, 12, 16, 10.0f), // 12 receivers: channels MON1-MON9, MONA-MONC
        Datum("WDXX", 7, 1, 4, 8, 20.3174f),
        Datum("WMNO", 21, 1, 4, 8, 20.0f),  // a second datum of the same kind
        Datum("SMNO", 31, 3, 1, 10, 40.0f, 2),
        Datum("DTCO", 36, 3, 1, 1, 0.0f, 2), // no dictionary entry: left for a curve item
    };
    const char* summaries[] = {
        "Dsi|WMNO|WMNO - DSIMONO|1|1|12/12|16|10.0000|0",
        "Xmac|WDXX|WDXX - XMACDXX|7|1|4/4|8|20.3174|0",
        "Isonic|WMNO|WMNO - ISONIC|21|1|4/4|8|20.0000|0",
        "Semblance Proj|SMNO|SMNO - SEMBMONO|31|3|1/1|10|40.0000|0",
    };
    for (int perReceiver : {1, 0}) {
        SCOPED_TRACE(perReceiver);
        Write(datums, perReceiver);
        Model m;
        m.Dictionary(kQtxDictionary);
        ReadWritten(path, m);
        ASSERT_EQ(m.Run(lis::kToolQtxWritten), 1);
        ASSERT_EQ(m.file.m_items.size(), 4u);
        uint32_t offset = 4; // behind the depth
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(Summary(m.Item(i)), summaries[i]);
            // The receivers' traces tile the datum's bytes in order.
            const QtxDatumDescriptor& d = datums[i];
            ASSERT_EQ(m.Item(i).m_waveChannels.size(), size_t(d.traceCount)) << i;
            for (const auto& c : m.Item(i).m_waveChannels) {
                EXPECT_EQ(Format("%u %u %d", c->m_offset, c->m_size, c->m_reprCode),
                          Format("%u %u 68", offset, d.axis1.sampleCount * 4u)) << c->m_mnemonic;
                offset += c->m_size;
            }
        }
        EXPECT_EQ(m.WaveNames(0).back(), perReceiver ? "MONC" : "RC");
        EXPECT_EQ(m.WaveNames(0)[9], perReceiver ? "MONA" : "RA");
        EXPECT_EQ(m.scan.m_channelList.back()->m_mnemonic, "DTCO");
        EXPECT_EQ(m.scan.m_channelList.back()->m_used, 0u);
    }
}

} // namespace
