// Seeds for the tool dictionary harness: stored dictionaries from the test builder
// (both line-end styles, every section kind the loader knows, an overlong line, one
// entry more than a dictionary may hold).
#include "lis/LisDictionary.h"
#include "support/LisDictionaryBuilder.h"
#include "support/QtxBuilder.h"

#include <string>

int main(int argc, char** argv)
{
    if (argc < 2) return 1;
    const std::string dir = argv[1];
    LisDictionaryBuilder full;
    full.Depth({"DEPT", "DEPTH", "TDEP"})
        .Section("~BAT", {{"R1", "R2", "R3", "R4", "R5", "R6", "R7", "WFBAT", "BATHFF"}})
        .Section("~FWS", {{"W1", "W2", "W3", "W4", "G1", "G2", "G3", "G4", "FWS", "FWSL"}})
        .Section("~mac/xmac", {{"wf1", "g1", "n1", "Wave name", "xmacMono"}})
        .Section("~QTX", {{"WAVE", "NS", "DT", "DLY", "NR", "QTXW"}})
        .Section("~DSLT", {{"A", "B", "C", "D", "DLY", "L"}})
        .Section("~APX", {{"F0", "", "F2", "F3"}});
    WriteBytes(dir + "/full.dit", full.Dit());
    WriteBytes(dir + "/lf.dit", LisDictionaryBuilder("T", "\n\n").Depth({"DEPT"}).Section("~LSS", {{"A", "B", "C", "D", "E", "F"}}).Dit());
    WriteBytes(dir + "/long_line.dit", LisDictionaryBuilder().Line(std::string(120, 'X')).Depth({"DEPT"}).Dit());
    std::string many = "Tools\n\n~APX\n";
    for (size_t k = 0; k <= lisdic::kMaxEntries; ++k) many += "X\n";
    WriteBytes(dir + "/too_many_entries.dit", LisDictionaryBuilder::Scramble(many));
    return 0;
}
