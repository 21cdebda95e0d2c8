// Export of a ~200 MB QTX data set to LIS and a record-by-record walk of the LIS
// file, beside a plain sequential copy of the same bytes (set BRONTE_BENCH_MB); and
// the conversion of that LIS file (8 receivers of 1,024 code-68 samples per frame)
// back to QTX, beside a plain copy of the LIS file, with its peak resident memory.
// The pairs: ExportQtxToLis against PlainCopy (the QTX file), ConvertLisToQtx against
// PlainCopyLis (the LIS file). Both conversions commit their output whole (flushed to
// the disk and renamed), which the copies do not.
#include "BenchDataSet.h"
#include "lis/LisDictionary.h"
#include "lis/LisParamScan.h"
#include "lis/LisRecordIO.h"
#include "lis/LisToQtx.h"
#include "lis/QtxToLis.h"
#include "platform/BinaryFile.h"
#include "platform/testing/ScriptedHost.h"
#include "res/ResourceIds.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
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

} // namespace

BENCHMARK(PlainCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ExportQtxToLis)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WalkLisRecords)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PlainCopyLis)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ConvertLisToQtx)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
