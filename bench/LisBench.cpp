// Export of a ~200 MB QTX data set to LIS and a record-by-record walk of the LIS
// file, beside a plain sequential copy of the same bytes (set BRONTE_BENCH_MB); and
// the conversion of that LIS file (8 receivers of 1,024 code-68 samples per frame)
// back to QTX, beside a plain copy of the LIS file, with its peak resident memory.
// The pairs: ExportQtxToLis against PlainCopy (the QTX file), ConvertLisToQtx against
// PlainCopyLis (the LIS file). Both conversions commit their output whole (flushed to
// the disk and renamed), which the copies do not.
// DepthOnceRecords/N: the scan and conversion of a depth-once log of 60,000 frames (GR and a
// 4-sample FA) in data records of N frames, 60,000 being one record: a record of many frames
// should cost no more than as many frames in many records (read_calls: the file reads a run
// asks the system for).
#include "BenchDataSet.h"
#include "lis/LisDictionary.h"
#include "lis/LisParamScan.h"
#include "lis/LisRecordIO.h"
#include "lis/LisToQtx.h"
#include "lis/QtxToLis.h"
#include "platform/BinaryFile.h"
#include "platform/testing/ScriptedHost.h"
#include "res/ResourceIds.h"
#include "support/LisBuilder.h"
#include "support/LisDictionaryBuilder.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

struct Files {
    std::string qtx = (std::filesystem::temp_directory_path() / "bronte-bench-lis.qtx").string();
    std::string lis = (std::filesystem::temp_directory_path() / "bronte-bench-lis.lis").string();
    std::string copy = (std::filesystem::temp_directory_path() / "bronte-bench-lis.copy").string();
    ScriptedHost host; // the pack question is answered OK (packed; the datum is too large, so per receiver)

    Files()
    {
        SetHost(&host);
        const int traces = 8, samples = 1024;
        if (!bench::WriteWaveformQtx(qtx, 1, traces, samples, bench::FramesFor(bench::TargetBytes(), traces, samples)))
            std::abort();
        Export();
    }
    ~Files()
    {
        for (const auto& p : {qtx, lis, copy}) std::filesystem::remove(p);
        SetHost(nullptr);
    }
    void Export()
    {
        host.ScriptDialog(kIddWaveformPack).Press(IDOK);
        CQtxToLis exporter;
        if (!exporter.Convert(qtx, lis) || !exporter.m_writer.Close()) std::abort();
    }
};

Files& Get()
{
    static Files files;
    return files;
}

// The dictionary of files this program writes, from memory.
class QtxScan : public CLisParamScan {
protected:
    int LoadDictionary(const std::string&) override
    {
        const char* text = "Tool dictionary\r\n~DEPTH\r\nDEPT\r\nEND::\r\n"
                           "~QTX\r\nMON1:MNS:MSP::MNR:WMNO\r\nWMNO:MNS:MSP::MNR:WMNO\r\nEND::\r\n";
        auto bytes = std::make_shared<std::vector<uint8_t>>(text, text + std::strlen(text));
        lisdic::Scramble(*bytes);
        BinaryFile file;
        file.OpenMemory(bytes, false);
        m_own = std::make_unique<CLisDictionary>();
        m_dictionary = m_own.get();
        return m_own->Load(file);
    }

private:
    std::unique_ptr<CLisDictionary> m_own;
};

// The exported LIS file scanned once, every item chosen.
struct Scanned {
    CLisLogicalFileList files;
    std::string qtx = (std::filesystem::temp_directory_path() / "bronte-bench-lis-back.qtx").string();

    Scanned()
    {
        QtxScan scan;
        if (!scan.Scan(Get().lis, &files, "", lis::kToolQtxWritten) || files.size() != 1) std::abort();
        for (auto& item : files[0]->m_items) item->m_selected = 1;
    }
    ~Scanned() { std::filesystem::remove(qtx); }
};

Scanned& GetScanned()
{
    static Scanned scanned;
    return scanned;
}

double PeakResidentMB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

int64_t SizeOf(const std::string& path) { return int64_t(std::filesystem::file_size(path)); }

void PlainCopy(benchmark::State& state)
{
    Files& f = Get();
    std::vector<uint8_t> buffer(1 << 16);
    for (auto _ : state) {
        BinaryFile in, out;
        in.Open(f.qtx, BinaryFile::modeRead);
        out.Open(f.copy, BinaryFile::modeWrite | BinaryFile::modeCreate);
        size_t got;
        while ((got = in.Read(buffer.data(), buffer.size())) > 0) out.Write(buffer.data(), got);
    }
    state.SetBytesProcessed(state.iterations() * SizeOf(f.qtx));
}

void PlainCopyLis(benchmark::State& state)
{
    Files& f = Get();
    std::vector<uint8_t> buffer(1 << 16);
    for (auto _ : state) {
        BinaryFile in, out;
        in.Open(f.lis, BinaryFile::modeRead);
        out.Open(f.copy, BinaryFile::modeWrite | BinaryFile::modeCreate);
        size_t got;
        while ((got = in.Read(buffer.data(), buffer.size())) > 0) out.Write(buffer.data(), got);
    }
    state.SetBytesProcessed(state.iterations() * SizeOf(f.lis));
}

void ConvertLisToQtx(benchmark::State& state)
{
    Files& f = Get();
    Scanned& s = GetScanned();
    const double before = PeakResidentMB();
    for (auto _ : state) {
        CLisToQtx converter;
        converter.m_outputConfirmed = true;
        if (!converter.Convert(s.files[0].get(), f.lis, s.qtx)) state.SkipWithError("conversion failed");
    }
    state.SetBytesProcessed(state.iterations() * SizeOf(f.lis));
    state.counters["frames"] = double(s.files[0]->m_depths.size());
    state.counters["peak_rss_MB"] = PeakResidentMB();
    state.counters["rss_growth_MB"] = PeakResidentMB() - before;
}

void ExportQtxToLis(benchmark::State& state)
{
    Files& f = Get();
    for (auto _ : state) f.Export();
    state.SetBytesProcessed(state.iterations() * SizeOf(f.qtx));
}

void WalkLisRecords(benchmark::State& state)
{
    Files& f = Get();
    std::vector<uint8_t> buffer(64 * 1024);
    int64_t records = 0;
    for (auto _ : state) {
        BinaryFile in;
        in.Open(f.lis, BinaryFile::modeRead);
        const int framing = CLisRecordIO::DetectFraming(in);
        uint64_t position = 0;
        for (;;) {
            const uint32_t need = CLisRecordIO::ProbeLogicalRecord(in, position, framing);
            if (need == 0) break;
            if (need > buffer.size()) buffer.resize(need + 1024);
            if (CLisRecordIO::ReadLogicalRecord(buffer.data(), buffer.size(), in, position, framing) == 0) break;
            ++records;
        }
    }
    state.SetBytesProcessed(state.iterations() * SizeOf(f.lis));
    state.counters["records"] = double(records) / double(state.iterations());
}

// Read system calls this process has made (the kernel's own count), -1 where not kept.
double ReadCalls()
{
    std::ifstream io("/proc/self/io");
    std::string key;
    double value = 0;
    while (io >> key >> value)
        if (key == "syscr:") return value;
    return -1;
}

constexpr int kOnceFrames = 60000;

// The depth-once logs, one per record size, and the dictionary that reads them as the DSI tool.
struct OnceLogs {
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "bronte-bench-lis-once";
    std::map<int, std::string> paths; // by frames a record
    ScriptedHost host;
    std::string shown; // what the scan or the conversion said: nothing, for a log read whole

    OnceLogs()
    {
        host.onUnexpected = [this](const std::string& what) { shown = what; };
        SetHost(&host);
        std::filesystem::create_directories(dir);
        if (!LisDictionaryBuilder()
                 .Depth({"DEPT"})
                 .Section("~DSI", {{"DX", "GN", "NRM", "NS", "PER", "NR", "DIP", "DSIMONO"}})
                 .WriteDit(dir.string()))
            std::abort();
    }
    ~OnceLogs()
    {
        std::filesystem::remove_all(dir);
        SetHost(nullptr);
    }

    const std::string& Log(int perRecord)
    {
        std::string& path = paths[perRecord];
        if (!path.empty()) return path;
        lisb::Dfsr d;
        d.depthOnce = true;
        d.direction = 255;
        d.maxFrames = uint8_t(std::min(perRecord, 255));
        d.channels = {lisb::Channel("GR", "GAPI"), lisb::Channel("FA", "US", 16, 4)};
        LisBuilder b;
        b.FileHeader("ONCE  .001").Dfsr(d);
        for (int first = 0; first < kOnceFrames; first += perRecord) {
            const int frames = std::min(perRecord, kOnceFrames - first);
            const std::vector<uint8_t> record = lisb::DataRecord(d, 1000.0 + 0.5 * first, 0.5, frames,
                                                                 lisb::DefaultSample, first);
            // Physical records of 8,000 bytes, as long records are cut on tape.
            b.Record(record, std::vector<size_t>((record.size() - 1) / 8000, 8000));
        }
        b.FileTrailer("ONCE  .001");
        path = (dir / ("once-" + std::to_string(perRecord) + ".lis")).string();
        b.Write(path);
        return path;
    }
};

OnceLogs& GetOnceLogs()
{
    static OnceLogs logs;
    return logs;
}

void DepthOnceRecords(benchmark::State& state)
{
    OnceLogs& logs = GetOnceLogs();
    const std::string& lis = logs.Log(int(state.range(0)));
    const std::string qtx = (logs.dir / "once.qtx").string();
    size_t frames = 0;
    const double before = ReadCalls();
    for (auto _ : state) {
        CLisLogicalFileList files;
        CLisParamScan scan;
        if (!scan.Scan(lis, &files, logs.dir.string(), lis::kToolDsi) || files.size() != 1) {
            state.SkipWithError("scan failed");
            break;
        }
        for (auto& item : files[0]->m_items) item->m_selected = 1;
        CLisToQtx converter;
        converter.m_outputConfirmed = true;
        if (!converter.Convert(files[0].get(), lis, qtx)) state.SkipWithError("conversion failed");
        frames = files[0]->m_depths.size();
        if (!logs.shown.empty()) state.SkipWithError(logs.shown.c_str());
    }
    state.counters["frames"] = double(frames);
    state.counters["read_calls"] = (ReadCalls() - before) / double(state.iterations());
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(frames));
}

} // namespace

BENCHMARK(DepthOnceRecords)->Arg(60000)->Arg(16)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PlainCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ExportQtxToLis)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WalkLisRecords)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PlainCopyLis)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ConvertLisToQtx)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
