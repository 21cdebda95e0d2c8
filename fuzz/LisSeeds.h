// Seeds of the LIS harnesses: tape images from the test builder (both framings,
// split records with trailers, depth per frame and once per record, the channels and
// DIM tables of each tool, a logical file without trailer, files this program writes)
// and the single-record parts of the shared public LIS folder joined into whole files
// (the public files themselves are read where they are: fuzz.sh hands their folder over).
#pragma once

#include "LisScanTools.h"
#include "lis/LisWrite.h"
#include "platform/testing/ScriptedHost.h"
#include "support/LisBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace lisseeds {

using lisb::Channel;
using Bytes = std::vector<uint8_t>;

inline lisb::TableRow Row(const std::string& mnem, const std::string& value)
{
    return {{"MNEM", mnem}, {"PUNI", ""}, {"TUNI", ""}, {"VALU", value}, {"DESC", "seed"}};
}

inline lisb::TableRow Dim(const std::string& chan, const std::string& ndim, const std::string& size,
                          const std::string& incr)
{
    return {{"MNEM", chan}, {"CHAN", chan}, {"NDIM", ndim}, {"SIZE", size}, {"INCR", incr}};
}

// The channels (and "DIM" rows) of one tool's file; `tool` 0 for the tools whose files
// any length may lead to.
struct SeedTool {
    std::vector<Channel> channels;
    int tool = 0;
    std::vector<lisb::TableRow> dim = {};
};

inline void Builder(const std::string& dir)
{
    const std::vector<SeedTool> tools = {
        {{Channel("W1", "", 400, 1, 79), Channel("W2", "", 4), Channel("W3", "", 4), Channel("GR", "GAPI")}},
        {{Channel("U1", "", 100, 1, 79), Channel("ST1", "US"), Channel("U2", "", 100, 1, 79), Channel("ST2", "US")}},
        {{Channel("QS", "MV", 600, 1, 79), Channel("DTCO", "US/F")}},
        {{Channel("SCW", "", 512, 1, 79), Channel("GR", "GAPI")}},
        // A fast channel of whole samples and one whose size does not split into them.
        {{Channel("WS1", "", 256), Channel("WS2", "", 256), Channel("ARR", "", 16, 4, 68), Channel("ODD3", "", 28, 3, 68)}},
        // DSI: a plain and an expanded dipole channel with gains and normalisations, a semblance.
        {{Channel("DX", "", 400, 1, 79), Channel("DE", "", 512, 1, 79), Channel("GN", "", 32), Channel("NRM", "", 16, 1, 79),
          Channel("SM", "", 200)}},
        {{Channel("B1", "", 300, 1, 79), Channel("B2", "", 300, 1, 79), Channel("B3", "", 300, 1, 79)}}, // BAT
        {{Channel("L1", "", 200, 1, 79), Channel("G1", "", 2, 1, 79), Channel("L2", "", 200, 1, 79),
          Channel("L3", "", 100, 1, 66)}}, // LSS near and far
        // APX: waveforms the DIM table describes, and one the dictionary names.
        {{Channel("APX1", "", 200, 1, 79), Channel("APX2", "", 200, 1, 79), Channel("AGN", ""), Channel("AW", "", 400, 1, 79)},
         lis::kToolApx,
         {Dim("APXW", "2", "2", ""), Dim("APXW", "1", "100", "10")}},
        // MAC/XMAC: a packed waveform with its start times.
        {{Channel("XW", "", 400, 1, 79), Channel("XST", "US", 8, 1, 68), Channel("XGN", "", 4, 1, 79)},
         lis::kToolXmac,
         {Dim("XW", "1", "100", "10"), Dim("XW", "2", "2", ""), Dim("XST", "", "", "")}},
        {{Channel("DW1", "", 100, 1, 79), Channel("DW2", "", 100, 1, 79), Channel("DW3", "", 100, 1, 79),
          Channel("DW4", "", 100, 1, 79), Channel("DST", "US", 16, 1, 68), Channel("DGN", "", 8, 1, 79)},
         lis::kToolDal,
         {Dim("DW", "2", "4", ""), Dim("DW", "1", "50", "8")}},
        {{Channel("FW", "", 800, 1, 79), Channel("SM", "", 400, 1, 68), Channel("W1", "", 400, 1, 79), Channel("G1", "", 2, 1, 79),
          Channel("W2", "", 400, 1, 79), Channel("W3", "", 400, 1, 79), Channel("W4", "", 400, 1, 79)},
         lis::kToolFws},
        // Curves in the other number codes, a mask and a code the format does not define.
        {{Channel("GR", "GAPI", 8, 1, 49), Channel("CALI", "IN", 8, 1, 50), Channel("SP", "MV", 8, 1, 70),
          Channel("MASK", "", 4, 1, 77), Channel("ODD", "", 2, 1, 170)}},
    };
    int n = 0;
    for (const SeedTool& tool : tools)
        for (int framing : {lisb::kPlainFraming, lisb::kTifFraming})
            for (bool once : {false, true}) {
                lisb::Dfsr d;
                d.channels = tool.channels;
                d.depthOnce = once;
                d.maxFrames = 3;
                d.spacing = n % 3 == 0 ? 0.0 : 0.5;
                d.spacingUnits = n % 4 == 0 ? "" : "FT";
                d.direction = n % 2 ? 1 : 255;
                // Some DFSRs give a frame size the frames do not have: both layouts are tried.
                lisb::Dfsr declared = d;
                if (n % 5 == 2) declared.frameSize = int64_t(d.FrameBytes()) + 8;
                LisBuilder b(framing);
                b.ReelHeader().TapeHeader().FileHeader("SEED.001");
                b.Table("CONS", {Row("PER", "8"), Row("DLY", "100"), Row("NS", "50"), Row("NR", "4")});
                if (!tool.dim.empty())
                    b.Table("DIM", tool.dim);
                else if (n % 3 == 1)
                    b.Table("DIM", {{{"MNEM", "1"}, {"CHAN", "W1"}, {"SIZE", "400"}, {"SAMP", "200"}}});
                b.Dfsr(declared);
                const Bytes record = lisb::DataRecord(d, 1000.0, 0.5, 3);
                b.Record(record, {record.size() / 2}, lisb::kChecksum);
                b.Data(d, 1001.5, 0.5, 2, lisb::DefaultSample, 3);
                b.FileTrailer("SEED.001").FileMark();
                if (n % 2) b.FileHeader("SEED.002").Dfsr(d).Data(d, 2000.0, -0.5, 2); // no trailer
                b.TapeTrailer().ReelTrailer().FileMark().FileMark();
                Bytes bytes = b.Bytes();
                // The scan stops at the second file mark: bytes behind it lead the
                // file to its own tool, whose code the harness takes from the length.
                if (tool.tool && framing == lisb::kTifFraming)
                    for (size_t k = 0; k < lisfuzz::ScanTools().size() && lisfuzz::ScanToolFor(bytes.size()) != tool.tool; ++k)
                        bytes.push_back(0);
                WriteBytes(dir + "/builder_" + std::to_string(n++) + ".lis", bytes);
            }
}

inline void Written(const std::string& dir)
{
    auto datum = [](const char* mnemonic, uint8_t type, uint8_t category, uint16_t traces, uint16_t samples) {
        QtxDatumDescriptor d;
        std::memcpy(d.mnemonic, mnemonic, 4);
        d.typeCode = type;
        d.category = category;
        d.traceCount = traces;
        d.size = uint32_t(traces) * samples * 4;
        d.axisCount = 1;
        d.axis1 = {1, 0, samples, 10.0f};
        return d;
    };
    const std::vector<QtxDatumDescriptor> datums = {datum("WMNO", 1, 1, 4, 8), datum("SMNO", 31, 3, 1, 5),
                                                    datum("DTCO", 36, 3, 1, 1)};
    QtxFileHeader h;
    h.depthStep = 0.5;
    h.datumCount = uint16_t(datums.size());
    h.frameSize = 8;
    for (const auto& d : datums) h.frameSize += d.size;
    const std::vector<float> values((h.frameSize - 8) / 4, 1.0f);
    for (int perReceiver : {0, 1}) {
        const std::string path = dir + "/written_" + std::to_string(perReceiver) + ".lis";
        CLisWrite w;
        if (!w.Create(path)) continue;
        // A seed that fails part-way is not committed: Close keeps only whole files.
        bool written = w.WriteHeaders() && w.WriteInformationRecord("QTX", &h, datums.data())
                       && w.WriteInformationRecord("CONS", &h, datums.data())
                       && w.WriteDfsr(&h, datums.data(), perReceiver);
        for (double depth : {1000.0, 1000.5, 1001.0})
            written = written && w.WriteFrame(nullptr, 0, depth, CLisWrite::kFrameStart)
                      && w.WriteFrame(values.data(), uint32_t(values.size()), 0.0, CLisWrite::kFrameValues);
        written = written && w.WriteTrailers();
        if (!w.Close() || !written) continue;
    }
}

inline void Shared(const std::string& dir)
{
    namespace fs = std::filesystem;
    const std::string root = SharedDataDir();
    std::error_code ec;
    if (root.empty() || !fs::is_directory(root + "/lis", ec)) return;
    // Header, DFSR, its data and trailer parts joined into plain files.
    const std::string records = root + "/lis/records";
    if (!fs::is_directory(records + "/curves", ec)) return;
    Bytes heads, tails;
    for (const char* p : {"RHLR-1", "THLR-1", "FHLR-1"}) {
        const Bytes b = ReadBytes(records + "/" + p + ".lis.part");
        heads.insert(heads.end(), b.begin(), b.end());
    }
    for (const char* p : {"FTLR-1", "TTLR-1", "RTLR-1"}) {
        const Bytes b = ReadBytes(records + "/" + p + ".lis.part");
        tails.insert(tails.end(), b.begin(), b.end());
    }
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(records + "/curves", ec))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    const std::string suffix = ".lis.part";
    for (const auto& name : names) {
        if (name.rfind("dfsr-", 0) != 0 || name.size() <= 5 + suffix.size()) continue;
        const std::string stem = name.substr(5, name.size() - 5 - suffix.size());
        Bytes file = heads;
        const Bytes dfsr = ReadBytes(records + "/curves/" + name);
        file.insert(file.end(), dfsr.begin(), dfsr.end());
        for (const auto& data : names)
            if (data.rfind("fdata-" + stem.substr(0, stem.find('-')), 0) == 0) {
                const Bytes b = ReadBytes(records + "/curves/" + data);
                file.insert(file.end(), b.begin(), b.end());
            }
        file.insert(file.end(), tails.begin(), tails.end());
        WriteBytes(dir + "/joined_" + stem + ".lis", file);
    }
}

inline int Main(int argc, char** argv)
{
    if (argc < 2) return 1;
    const std::string dir = argv[1];
    ScriptedHost host;
    ScopedHost scope(&host);
    Builder(dir);
    Written(dir);
    Shared(dir);
    return 0;
}

} // namespace lisseeds
