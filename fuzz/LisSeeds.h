// Seeds of the LIS harnesses: tape images from the test builder (both framings,
// split records with trailers, depth per frame and once per record, the channels of
// each recognised tool, those that ask the user included, a logical file without trailer, files this program writes)
// and every file of the shared public LIS folders, with their single-record parts
// also joined into whole files.
#pragma once

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

inline void Builder(const std::string& dir)
{
    const std::vector<std::vector<Channel>> tools = {
        {Channel("W1", "", 400, 1, 79), Channel("W2", "", 4), Channel("W3", "", 4), Channel("GR", "GAPI")},
        {Channel("U1", "", 100, 1, 79), Channel("ST1", "US"), Channel("U2", "", 100, 1, 79), Channel("ST2", "US")},
        {Channel("QS", "MV", 600, 1, 79), Channel("DTCO", "US/F")},
        {Channel("SCW", "", 512, 1, 79), Channel("GR", "GAPI")},
        {Channel("WS1", "", 256), Channel("WS2", "", 256), Channel("ARR", "", 16, 4, 68)},
        // DSI: a plain and an expanded dipole channel with gains and normalisations, a semblance.
        {Channel("DX", "", 400, 1, 79), Channel("DE", "", 512, 1, 79), Channel("GN", "", 32), Channel("NRM", "", 16, 1, 79),
         Channel("SM", "", 200)},
        {Channel("B1", "", 300, 1, 79), Channel("B2", "", 300, 1, 79), Channel("B3", "", 300, 1, 79)}, // BAT
        {Channel("L1", "", 200, 1, 79), Channel("G1", "", 2, 1, 79), Channel("L2", "", 200, 1, 79),
         Channel("L3", "", 100, 1, 66)}, // LSS near and far
    };
    int n = 0;
    for (const auto& channels : tools)
        for (int framing : {lisb::kPlainFraming, lisb::kTifFraming})
            for (bool once : {false, true}) {
                lisb::Dfsr d;
                d.channels = channels;
                d.depthOnce = once;
                d.maxFrames = 3;
                d.spacing = n % 3 == 0 ? 0.0 : 0.5;
                d.spacingUnits = n % 4 == 0 ? "" : "FT";
                d.direction = n % 2 ? 1 : 255;
                LisBuilder b(framing);
                b.ReelHeader().TapeHeader().FileHeader("SEED.001");
                b.Table("CONS", {Row("PER", "8"), Row("DLY", "100"), Row("NS", "50"), Row("NR", "4")});
                if (n % 3 == 1) b.Table("DIM", {{{"MNEM", "1"}, {"CHAN", "W1"}, {"SIZE", "400"}, {"SAMP", "200"}}});
                b.Dfsr(d);
                const Bytes record = lisb::DataRecord(d, 1000.0, 0.5, 3);
                b.Record(record, {record.size() / 2}, lisb::kChecksum);
                b.Data(d, 1001.5, 0.5, 2, lisb::DefaultSample, 3);
                b.FileTrailer("SEED.001").FileMark();
                if (n % 2) b.FileHeader("SEED.002").Dfsr(d).Data(d, 2000.0, -0.5, 2); // no trailer
                b.TapeTrailer().ReelTrailer().FileMark().FileMark();
                WriteBytes(dir + "/builder_" + std::to_string(n++) + ".lis", b.Bytes());
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
        w.WriteHeaders();
        w.WriteInformationRecord("QTX", &h, datums.data());
        w.WriteInformationRecord("CONS", &h, datums.data());
        w.WriteDfsr(&h, datums.data(), perReceiver);
        for (double depth : {1000.0, 1000.5, 1001.0}) {
            w.WriteFrame(nullptr, 0, depth, CLisWrite::kFrameStart);
            w.WriteFrame(values.data(), uint32_t(values.size()), 0.0, CLisWrite::kFrameValues);
        }
        w.WriteTrailers();
        w.Close();
    }
}

inline void Shared(const std::string& dir)
{
    namespace fs = std::filesystem;
    const std::string root = SharedDataDir();
    std::error_code ec;
    if (root.empty() || !fs::is_directory(root + "/lis", ec)) return;
    int n = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root + "/lis", ec)) {
        if (!entry.is_regular_file() || entry.path().filename() == "LICENSE"
            || entry.path().extension() == ".rst")
            continue;
        WriteBytes(dir + "/shared_" + std::to_string(n++) + ".lis", ReadBytes(entry.path().string()));
    }
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
