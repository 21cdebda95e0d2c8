// Each acoustic tool's LIS file, scanned end to end with the real dictionary loader and
// recogniser: its items, and a depth entry for every frame of data records that span
// several physical records, with a depth per frame or one per record.
#include "LisHelpers.h"
#include "lis/FwsSamplePeriodDlg.h"
#include "lis/LisParamScan.h"
#include "lis/LssSamplePeriodDlg.h"
#include "platform/Format.h"
#include "res/ResourceIds.h"
#include "support/HostFixture.h"
#include "support/LisBuilder.h"
#include "support/LisDictionaryBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using lisb::Channel;

lisb::TableRow Row(const std::string& mnem, const std::string& value)
{
    return {{"MNEM", mnem}, {"PUNI", ""}, {"TUNI", ""}, {"VALU", value}, {"DESC", "synthetic"}};
}

// A row of a "DIM" table.
lisb::TableRow Dim(const std::string& chan, const std::string& ndim, const std::string& size, const std::string& incr)
{
    return {{"MNEM", chan}, {"CHAN", chan}, {"NDIM", ndim}, {"SIZE", size}, {"INCR", incr}};
}

// Every file also carries "GR": no tool may take it, so it must come back as a curve.
constexpr const char* kGrCurve = "GR|GR|GR GAPI|0|6|1/1|1|0.0000|0";

struct ToolFile {
    int tool, framing;
    std::vector<std::string> dictionary; // section lines, "END::" added
    std::vector<lisb::TableRow> cons;
    std::vector<Channel> channels;       // behind the depth
    std::vector<std::string> items;      // summaries of every item, in order
    std::vector<std::string> firstWaves; // wave channel names of the first item
    std::vector<lisb::TableRow> dim = {};
};

const ToolFile kFiles[] = {
    {lis::kToolIsonic, lisb::kTifFraming, {"~ISONIC", "W1:W2:W3:W4:W5:W6:W7:W8:DLY:PER:DIP:ISO"},
     {Row("BS", "8.5"), Row("PER", "16"), Row("DLY", "100")},
     {Channel("W1", "", 400, 1, 79), Channel("W2", "", 4), Channel("W3", "", 4), Channel("W4", "", 4), Channel("GR", "GAPI")},
     {"Isonic|WMNO|DIP - ISO|21|1|4/4|200|16.0000|6", kGrCurve}, {"W1", "W2", "W3", "W4"}},
    {lis::kToolDslt, lisb::kPlainFraming, {"~DSLT", "U1:U2:ST1:ST2:DLY:DSLTNEAR"}, {Row("DLY", "125")},
     {Channel("U1", "", 100, 1, 79), Channel("ST1", "US"), Channel("U2", "", 100, 1, 79), Channel("ST2", "US"), Channel("GR", "GAPI")},
     {"Dslt|WMNO| - DSLTNEAR|226|1|2/2|50|10.0000|12", kGrCurve}, {"U1", "U2"}},
    // SLT leaves its start times to become curves.
    {lis::kToolSlt, lisb::kTifFraming, {"~SLT", "U1:U2:ST1:ST2:DLY:PER:SW:SLTLOWER"}, {Row("PER", "5"), Row("DLY", "52")},
     {Channel("U1", "", 100, 1, 79), Channel("ST1", "US"), Channel("U2", "", 100, 1, 79), Channel("ST2", "US"), Channel("GR", "GAPI")},
     {"SLT|WMNO|SW - SLTLOWER|106|1|2/2|50|5.0000|10", "ST1|ST1|ST1 US|0|6|1/1|1|0.0000|0",
      "ST2|ST2|ST2 US|0|6|1/1|1|0.0000|0", kGrCurve},
     {"U1", "U2"}},
    {lis::kToolQslt, lisb::kPlainFraming, {"~QSLT", "QS:DLY:NS:PER:UP:QSLTUPPER"}, {Row("PER", "8"), Row("DLY", "50")},
     {Channel("QS", "MV", 6000, 1, 79), Channel("GR", "GAPI")},
     {"Qslt|WMNO|UP - QSLTUPPER|107|1|5/5|500|8.0000|6", kGrCurve}, {"UP1", "UP2", "UP3", "UP4", "UP5"}},
    {lis::kToolScout, lisb::kTifFraming, {"~CLSS/SCOUT", "SCW:MON:SCOUTUPPER"}, {},
     {Channel("SCW", "", 4096, 1, 79), Channel("GR", "GAPI")},
     {"Scout|WMNO|MON - SCOUTUPPER|109|1|4/4|512|6.4000|0", kGrCurve}, {"MON1", "MON2", "MON3", "MON4"}},
    {lis::kToolWaveSonic, lisb::kPlainFraming, {"~WAVESONIC", "WS1:WS2:WAV:WSDXAC"}, {},
     {Channel("WS1", "", 1024), Channel("WS2", "", 1024), Channel("GR", "GAPI")},
     {"Wavesonic|WDXX|WAV - WSDXAC|17|1|2/2|256|40.6348|-7", kGrCurve}, {"WS1", "WS2"}},
    {lis::kToolDsi, lisb::kTifFraming, {"~DSI", "DX:GN:NRM:NS:PER:NR:DIP:DSIMONO"},
     {Row("NS", "100"), Row("PER", "10"), Row("NR", "2")}, {Channel("DX", "", 400, 1, 79), Channel("GR", "GAPI")},
     {"Dsi|WMNO|DIP - DSIMONO|1|1|2/2|100|10.0000|0", kGrCurve}, {"MNO1", "MNO2"}},
    // BAT counts its seven receivers whatever the file holds.
    {lis::kToolBat, lisb::kPlainFraming, {"~BAT", "B1:B2:B3:B4:B5:B6:B7:BW:BATHFF"}, {},
     {Channel("B1", "", 400, 1, 79), Channel("B2", "", 400, 1, 79), Channel("B3", "", 400, 1, 79), Channel("GR", "GAPI")},
     {"Bat|WMNO|BW - BATHFF|22|1|7/7|200|4.8000|0", kGrCurve}, {"B1", "B2", "B3"}},
    // LSS: the period picked in its dialog (8 us, scripted below).
    {lis::kToolLss, lisb::kTifFraming, {"~LSS", "L1:L2:G1:G2:LSSFAR"}, {},
     {Channel("L1", "", 200, 1, 79), Channel("G1", ""), Channel("L2", "", 200, 1, 79), Channel("GR", "GAPI")},
     {"LSS|WMNO| - LSSFAR|225|1|2/2|100|8.0000|0", kGrCurve}, {"L1", "L2"}},
    // APX: the DIM table tells the sampling, the dictionary the type; one gain value for two receivers.
    {lis::kToolApx, lisb::kTifFraming, {"~APX", "APXW:AGN:APXW:APXMONO"}, {},
     {Channel("APX1", "", 200, 1, 79), Channel("APX2", "", 200, 1, 79), Channel("AGN", ""), Channel("GR", "GAPI")},
     {"Apx|WMNO|APXW - APXMONO|85|1|2/2|100|10.0000|0", "AGN|AGN|AGN |0|6|1/1|1|0.0000|0", kGrCurve}, {"APX1", "APX2"},
     {Dim("APXW", "2", "2", ""), Dim("APXW", "1", "100", "10")}},
    // XMAC and MAC alike: start times that change every frame give no delay.
    {lis::kToolXmac, lisb::kPlainFraming, {"~MAC/XMAC", "XW:XGN:XST:XWAV:XMACMONO"}, {},
     {Channel("XW", "", 400, 1, 79), Channel("XST", "US", 8, 1, 68), Channel("GR", "GAPI")},
     {"Xmac|WMNO|XWAV - XMACMONO|6|1|2/2|100|10.0000|0", "XST|XST|XST US|0|6|1/1|2|0.0000|0", kGrCurve}, {"XW1", "XW2"},
     {Dim("XW", "1", "100", "10"), Dim("XW", "2", "2", ""), Dim("XST", "", "", "")}},
    {lis::kToolMac, lisb::kTifFraming, {"~MAC/XMAC", "XW:XGN:XST:XWAV:XMACMONO"}, {},
     {Channel("XW", "", 400, 1, 79), Channel("XST", "US", 8, 1, 68), Channel("GR", "GAPI")},
     {"Xmac|WMNO|XWAV - XMACMONO|6|1|2/2|100|10.0000|0", "XST|XST|XST US|0|6|1/1|2|0.0000|0", kGrCurve}, {"XW1", "XW2"},
     {Dim("XW", "1", "100", "10"), Dim("XW", "2", "2", ""), Dim("XST", "", "", "")}},
    // DAL: the largest start time of all six frames (frame 5: 543 us) at 8 us.
    {lis::kToolDal, lisb::kTifFraming, {"~DAL", "DW:DGN:DST:DWAV:DALNEAR"}, {},
     {Channel("DW1", "", 100, 1, 79), Channel("DW2", "", 100, 1, 79), Channel("DW3", "", 100, 1, 79),
      Channel("DW4", "", 100, 1, 79), Channel("DST", "US", 16, 1, 68), Channel("GR", "GAPI")},
     {"DAL|WMNO|DWAV - DALNEAR|111|1|4/4|50|8.0000|67", "DST|DST|DST US|0|6|1/1|4|0.0000|0", kGrCurve},
     {"DW1", "DW2", "DW3", "DW4"}, {Dim("DW", "2", "4", ""), Dim("DW", "1", "50", "8")}},
    // FWS: the period picked in its dialog (8 us, scripted below).
    {lis::kToolFws, lisb::kPlainFraming, {"~FWS", "FW:FWSMONO"}, {}, {Channel("FW", "", 800, 1, 79), Channel("GR", "GAPI")},
     {"Fws|WMNO|FW - FWSMONO|219|1|4/4|100|8.0000|0", kGrCurve}, {"FW1", "FW2", "FW3", "FW4"}},
};

class LisScanToolsTest : public HostTest {
protected:
    TempDir dir;

    // Scans a file of the tool with two data records of three frames, each cut into
    // physical records of at most 4000 data bytes as tapes with a small maximum record
    // size carry large frames; `top` holds each record's first recorded depth.
    // Expects a depth entry per frame (`step` apart when a depth leads each, the
    // spacing apart in the log's direction otherwise), with its record's position and length and the frame's offset.
    void Scan(const ToolFile& t, const lisb::Dfsr& d, const double (&top)[2], double step, double perFoot = 1.0)
    {
        LisDictionaryBuilder dictionary;
        dictionary.Depth({"DEPT"});
        for (const auto& line : t.dictionary) dictionary.Line(line);
        ASSERT_TRUE(dictionary.Line("END::").WriteDit(dir.Path()));

        LisBuilder b(t.framing);
        b.ReelHeader().TapeHeader().FileHeader("TOOL.001").Table("TOOL", {Row("NAME", "synthetic")});
        if (!t.cons.empty()) b.Table("CONS", t.cons);
        if (!t.dim.empty()) b.Table("DIM", t.dim);
        b.Comment("scanned by tests").Dfsr(d);
        std::vector<std::string> expected;
        const double once = d.direction == lis::kLogUp ? -d.spacing : d.spacing; // depth-once frames follow the direction
        for (int r = 0; r < 2; ++r) {
            const std::vector<uint8_t> record = lisb::DataRecord(d, top[r], step, 3, lisb::DefaultSample, 3 * r);
            const uint64_t position = b.Bytes().size();
            b.Record(record, std::vector<size_t>((record.size() - 1) / 4000, 4000), lisb::kChecksum);
            const uint32_t body = uint32_t(record.size()) - 2 - (d.depthOnce ? 4 : 0);
            for (int k = 0; k < 3; ++k)
                expected.push_back(Format("%.4f@%llu+%u/%u", d.depthOnce ? top[r] / perFoot + k * once : top[r] + k * step,
                                          static_cast<unsigned long long>(position),
                                          (d.depthOnce ? 4 : 0) + uint32_t(k) * d.FrameBytes(), body));
        }
        b.FileTrailer("TOOL.001").FileMark().TapeTrailer().ReelTrailer().FileMark().FileMark();
        b.Write(dir.File("tool.lis"));

        CLisLogicalFileList files;
        CLisParamScan scan;
        ASSERT_EQ(scan.Scan(dir.File("tool.lis"), &files, dir.Path(), t.tool), 1);
        ASSERT_EQ(files.size(), 1u);
        std::vector<std::string> depths, items, waves;
        for (const auto& e : files[0]->m_depths)
            depths.push_back(Format("%.4f@%llu+%u/%u", e.m_depth, static_cast<unsigned long long>(e.m_recordPosition),
                                    e.m_frameOffset, e.m_dataLength));
        EXPECT_EQ(depths, expected);
        for (const auto& item : files[0]->m_items) items.push_back(Summary(*item));
        EXPECT_EQ(items, t.items);
        ASSERT_FALSE(files[0]->m_items.empty());
        for (const auto& c : files[0]->m_items[0]->m_waveChannels) waves.push_back(c->m_mnemonic);
        EXPECT_EQ(waves, t.firstWaves);
        // Behind the 4-byte depth channel, or at the frame's start without one.
        EXPECT_EQ(files[0]->m_items[0]->m_waveChannels.at(0)->m_offset, d.depthOnce ? 0u : 4u);
    }
};

TEST_F(LisScanToolsTest, EachToolsFileScansIntoItsItemsWithEveryFrameDepth)
{
    // Every acoustic tool of the selection has its file here.
    std::set<int> tools;
    for (const ToolFile& t : kFiles) tools.insert(t.tool);
    EXPECT_EQ(tools.size(), 14u);
    for (const ToolFile& t : kFiles) {
        SCOPED_TRACE(t.dictionary[0]);
        if (t.tool == lis::kToolLss) host.ScriptDialog(kIddLssSamplePeriod).Radio(CLssSamplePeriodDlg::kIdc8us).Press(IDOK);
        if (t.tool == lis::kToolFws) host.ScriptDialog(kIddFwsSamplePeriod).Radio(CFwsSamplePeriodDlg::kIdc8us).Press(IDOK);
        lisb::Dfsr d;
        d.channels = t.channels;
        d.maxFrames = 3;
        Scan(t, d, {1000.0, 998.5}, -0.5);
    }
}

TEST_F(LisScanToolsTest, DepthOnceRecordsGiveEachFrameOfARealToolItsEntry)
{
    const struct { uint8_t direction, code; const char* units; double perFoot, top[2]; } cases[] = {
        {lis::kLogUp, 68, "FT", 1.0, {1000.0, 998.5}},
        {lis::kLogDown, 68, "FT", 1.0, {1000.0, 1001.5}},
        {lis::kLogDown, 73, ".1IN", 120.0, {120000.0, 120180.0}}, // 1000 ft, 1001.5 ft
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Format("%d %d %s", c.direction, c.code, c.units));
        lisb::Dfsr d;
        d.depthOnce = true;
        d.direction = c.direction;
        d.depthCode = c.code;
        d.depthUnits = c.units;
        d.channels = kFiles[0].channels; // Isonic
        d.maxFrames = 3;
        Scan(kFiles[0], d, c.top, 0.0, c.perFoot);
    }
}

} // namespace
