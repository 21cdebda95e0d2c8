// Each acoustic tool's LIS file, scanned end to end with the real dictionary loader and
// recogniser: the items must match what the recogniser makes of the same channels and
// tables in isolation, and every frame must keep its depth entry.
#include "lis/LisParamScan.h"

#include "platform/Format.h"
#include "support/HostFixture.h"
#include "support/LisBuilder.h"
#include "support/LisDictionaryBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using lisb::Channel;

// tool|mnemonic|display|type|category|receivers/traces|samples|period|delay.
std::string Summary(const CWaveformPickItem& it)
{
    return Format("%s|%s|%s|%d|%d|%d/%d|%d|%.4f|%d", it.m_toolName.c_str(), it.m_mnemonic.c_str(),
                  it.m_displayName.c_str(), it.m_typeCode, it.m_category, it.m_receiverCount, it.m_traceCount,
                  it.m_samplesPerWaveform, double(it.m_samplePeriod), it.m_fixedDelay);
}

std::string Entry(double depth, uint64_t position, uint32_t length, uint32_t offset)
{
    return Format("%.4f@%llu+%u/%u", depth, static_cast<unsigned long long>(position), offset, length);
}

std::vector<std::string> Entries(const CLisLogicalFile& f)
{
    std::vector<std::string> out;
    for (const auto& d : f.m_depths) out.push_back(Entry(d.m_depth, d.m_recordPosition, d.m_dataLength, d.m_frameOffset));
    return out;
}

// Every file also carries "GR": no tool may take it, so it must come back as a curve.
constexpr const char* kGrCurve = "GR|GR|GR GAPI|0|6|1/1|1|0.0000|0";

struct ToolFile {
    const char* name;
    int tool;
    int framing;
    std::vector<std::string> dictionary; // section lines, "END::" added
    std::vector<lisb::TableRow> cons;    // rows of one CONS table
    std::vector<Channel> channels;       // behind the depth
    std::vector<std::string> items;      // summaries of every item, in order
    std::vector<std::string> firstWaves; // wave channel names of the first item
};

lisb::TableRow Row(const std::string& mnem, const std::string& value)
{
    return {{"MNEM", mnem}, {"PUNI", ""}, {"TUNI", ""}, {"VALU", value}, {"DESC", "synthetic"}};
}

const ToolFile kFiles[] = {
    {"Isonic", lis::kToolIsonic, lisb::kTifFraming,
     {"~ISONIC", "W1:W2:W3:W4:W5:W6:W7:W8:DLY:PER:DIP:ISO"},
     {Row("BS", "8.5"), Row("PER", "16"), Row("DLY", "100")},
     {Channel("W1", "", 400, 1, 79), Channel("W2", "", 4), Channel("W3", "", 4), Channel("W4", "", 4),
      Channel("GR", "GAPI")},
     {"Isonic|WMNO|DIP - ISO|21|1|4/4|200|16.0000|6", kGrCurve},
     {"W1", "W2", "W3", "W4"}},
    {"DSLT", lis::kToolDslt, lisb::kPlainFraming,
     {"~DSLT", "U1:U2:ST1:ST2:DLY:DSLTNEAR"},
     {Row("DLY", "125")},
     {Channel("U1", "", 100, 1, 79), Channel("ST1", "US"), Channel("U2", "", 100, 1, 79), Channel("ST2", "US"),
      Channel("GR", "GAPI")},
     {"Dslt|WMNO| - DSLTNEAR|226|1|2/2|50|10.0000|12", kGrCurve},
     {"U1", "U2"}},
    {"SLT", lis::kToolSlt, lisb::kTifFraming,
     {"~SLT", "U1:U2:ST1:ST2:DLY:PER:SW:SLTLOWER"},
     {Row("PER", "5"), Row("DLY", "52")},
     {Channel("U1", "", 100, 1, 79), Channel("ST1", "US"), Channel("U2", "", 100, 1, 79), Channel("ST2", "US"),
      Channel("GR", "GAPI")},
     // SLT leaves its start times to become curves.
     {"SLT|WMNO|SW - SLTLOWER|106|1|2/2|50|5.0000|10", "ST1|ST1|ST1 US|0|6|1/1|1|0.0000|0",
      "ST2|ST2|ST2 US|0|6|1/1|1|0.0000|0", kGrCurve},
     {"U1", "U2"}},
    {"QSLT", lis::kToolQslt, lisb::kPlainFraming,
     {"~QSLT", "QS:DLY:NS:PER:UP:QSLTUPPER"},
     {Row("PER", "8"), Row("DLY", "50")},
     {Channel("QS", "MV", 6000, 1, 79), Channel("GR", "GAPI")},
     {"Qslt|WMNO|UP - QSLTUPPER|107|1|5/5|500|8.0000|6", kGrCurve},
     {"UP1", "UP2", "UP3", "UP4", "UP5"}},
    {"Scout", lis::kToolScout, lisb::kTifFraming,
     {"~CLSS/SCOUT", "SCW:MON:SCOUTUPPER"},
     {},
     {Channel("SCW", "", 4096, 1, 79), Channel("GR", "GAPI")},
     {"Scout|WMNO|MON - SCOUTUPPER|109|1|4/4|512|6.4000|0", kGrCurve},
     {"MON1", "MON2", "MON3", "MON4"}},
    {"WaveSonic", lis::kToolWaveSonic, lisb::kPlainFraming,
     {"~WAVESONIC", "WS1:WS2:WAV:WSDXAC"},
     {},
     {Channel("WS1", "", 1024), Channel("WS2", "", 1024), Channel("GR", "GAPI")},
     {"Wavesonic|WDXX|WAV - WSDXAC|17|1|2/2|256|40.6348|-7", kGrCurve},
     {"WS1", "WS2"}},
};

class LisScanToolsTest : public HostTest {
protected:
    TempDir dir;
    std::string path = dir.File("tool.lis");

    void WriteDictionary(const std::vector<std::string>& section)
    {
        LisDictionaryBuilder d;
        d.Depth({"DEPT"});
        for (const auto& line : section) d.Line(line);
        d.Line("END::");
        ASSERT_TRUE(d.WriteDit(dir.Path()));
    }

    // A data record cut into physical records of at most 4000 data bytes, as tapes
    // with a small maximum record size carry large frames.
    static void Data(LisBuilder& b, const lisb::Dfsr& d, double top, double step, int frames, int firstFrame,
                     std::vector<std::string>& expected, uint32_t frameOffset0, double recordedPerFoot = 1.0)
    {
        const std::vector<uint8_t> record = lisb::DataRecord(d, top, step, frames, lisb::DefaultSample, firstFrame);
        std::vector<size_t> bodies(record.size() / 4000, 4000);
        if (!bodies.empty() && record.size() % 4000 == 0) bodies.pop_back();
        const uint64_t position = b.Bytes().size();
        b.Record(record, bodies, lisb::kChecksum);
        ASSERT_EQ(b.Starts().back(), position);
        const uint32_t body = uint32_t(record.size() - 2) - (d.depthOnce ? 4u : 0u);
        // Up logs (direction 1) of a depth-once record count down by the spacing.
        const double once = d.direction == lis::kLogUp ? -d.spacing : d.spacing;
        for (int k = 0; k < frames; ++k)
            expected.push_back(Entry(d.depthOnce ? top / recordedPerFoot + k * once
                                                 : top + k * step,
                                     position, body, frameOffset0 + uint32_t(k) * d.FrameBytes()));
    }

    static void Open(LisBuilder& b, const std::vector<lisb::TableRow>& cons, const lisb::Dfsr& d)
    {
        b.ReelHeader().TapeHeader().FileHeader("TOOL.001");
        b.Table("TOOL", {Row("NAME", "synthetic")});
        if (!cons.empty()) b.Table("CONS", cons);
        b.Comment("scanned by tests");
        b.Dfsr(d);
    }
    static void Close(LisBuilder& b)
    {
        b.FileTrailer("TOOL.001").FileMark().TapeTrailer().ReelTrailer().FileMark().FileMark();
    }

    void Scan(int tool, CLisLogicalFileList& files)
    {
        CLisParamScan scan;
        ASSERT_EQ(scan.Scan(path, &files, dir.Path(), tool), 1);
        ASSERT_EQ(files.size(), 1u);
    }
};

TEST_F(LisScanToolsTest, EachToolsFileScansIntoItsItemsWithEveryFrameDepth)
{
    for (const ToolFile& t : kFiles) {
        SCOPED_TRACE(t.name);
        WriteDictionary(t.dictionary);
        lisb::Dfsr d;
        d.channels = t.channels;
        d.maxFrames = 3;
        LisBuilder b(t.framing);
        Open(b, t.cons, d);
        std::vector<std::string> expected;
        Data(b, d, 1000.0, -0.5, 3, 0, expected, 0);
        Data(b, d, 998.5, -0.5, 2, 3, expected, 0);
        Close(b);
        b.Write(path);

        CLisLogicalFileList files;
        Scan(t.tool, files);
        if (HasFatalFailure()) return;
        const CLisLogicalFile& f = *files.front();
        EXPECT_EQ(Entries(f), expected);
        EXPECT_EQ(f.m_upDown, lis::kLogUp);
        std::vector<std::string> items;
        for (const auto& item : f.m_items) items.push_back(Summary(*item));
        EXPECT_EQ(items, t.items);
        ASSERT_FALSE(f.m_items.empty());
        std::vector<std::string> waves;
        for (const auto& c : f.m_items.front()->m_waveChannels) waves.push_back(c->m_mnemonic);
        EXPECT_EQ(waves, t.firstWaves);
        // Behind the 4-byte depth channel, as the recogniser's own tests lay channels out.
        EXPECT_EQ(f.m_items.front()->m_waveChannels.front()->m_offset, 4u);
    }
}

TEST_F(LisScanToolsTest, DepthOnceRecordsGiveEachFrameOfARealToolItsEntry)
{
    const struct {
        uint8_t direction;
        uint8_t code;
        const char* units;
        double perFoot;
        double top[2]; // recorded depth value of each record
    } cases[] = {
        {lis::kLogUp, 68, "FT", 1.0, {1000.0, 998.5}},
        {lis::kLogDown, 68, "FT", 1.0, {1000.0, 1001.5}},
        {lis::kLogDown, 73, ".1IN", 120.0, {120000.0, 120180.0}}, // 1000 ft, 1001.5 ft
    };
    const ToolFile& t = kFiles[0]; // Isonic
    WriteDictionary(t.dictionary);
    for (const auto& c : cases) {
        SCOPED_TRACE(Format("%d %d %s", c.direction, c.code, c.units));
        lisb::Dfsr d;
        d.depthOnce = true;
        d.direction = c.direction;
        d.depthCode = c.code;
        d.depthUnits = c.units;
        d.channels = t.channels;
        d.maxFrames = 3;
        LisBuilder b(lisb::kTifFraming);
        Open(b, t.cons, d);
        std::vector<std::string> expected;
        Data(b, d, c.top[0], 0.0, 3, 0, expected, 4, c.perFoot);
        Data(b, d, c.top[1], 0.0, 3, 3, expected, 4, c.perFoot);
        Close(b);
        b.Write(path);

        CLisLogicalFileList files;
        Scan(t.tool, files);
        if (HasFatalFailure()) return;
        const CLisLogicalFile& f = *files.front();
        EXPECT_EQ(Entries(f), expected);
        std::vector<std::string> items;
        for (const auto& item : f.m_items) items.push_back(Summary(*item));
        EXPECT_EQ(items, t.items);
        // Without a depth channel the channels start at the frame; the entry's offset skips the depth.
        EXPECT_EQ(f.m_items.front()->m_waveChannels.front()->m_offset, 0u);
    }
}

} // namespace
