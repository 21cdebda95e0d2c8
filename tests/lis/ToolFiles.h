// A LIS file of each acoustic tool of the selection: the dictionary section, tables
// and channels that make its items, and the items the scan makes of them. Shared by
// the scan and the conversion tests.
#pragma once

#include "LisHelpers.h"
#include "lis/LisScanModel.h"
#include "support/LisBuilder.h"

#include <string>
#include <vector>

namespace toolfiles {

using lisb::Channel;

inline lisb::TableRow Row(const std::string& mnem, const std::string& value)
{
    return {{"MNEM", mnem}, {"PUNI", ""}, {"TUNI", ""}, {"VALU", value}, {"DESC", "synthetic"}};
}

// A row of a "DIM" table.
inline lisb::TableRow Dim(const std::string& chan, const std::string& ndim, const std::string& size, const std::string& incr)
{
    return {{"MNEM", chan}, {"CHAN", chan}, {"NDIM", ndim}, {"SIZE", size}, {"INCR", incr}};
}

// Every file also carries "GR": no tool may take it, so it must come back as a curve.
inline constexpr const char* kGrCurve = "GR|GR|GR GAPI|0|6|1/1|1|0.0000|0";

struct ToolFile {
    int tool, framing;
    std::vector<std::string> dictionary; // section lines, "END::" added
    std::vector<lisb::TableRow> cons;
    std::vector<Channel> channels;       // behind the depth
    std::vector<std::string> items;      // summaries of every item, in order
    std::vector<std::string> firstWaves; // wave channel names of the first item
    std::vector<lisb::TableRow> dim = {};
};

inline const ToolFile kToolFiles[] = {
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

} // namespace toolfiles
