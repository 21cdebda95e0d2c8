// Export of a ~200 MB QTX data set to LIS and a record-by-record walk of the LIS
// file, beside a plain sequential copy of the same bytes (set BRONTE_BENCH_MB).
#include "BenchDataSet.h"
#include "lis/LisRecordIO.h"
#include "lis/QtxToLis.h"
#include "platform/BinaryFile.h"
#include "platform/testing/ScriptedHost.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

struct Files {
    std::string qtx = (std::filesystem::temp_directory_path() / "bronte-bench-lis.qtx").string();
    std::string lis = (std::filesystem::temp_directory_path() / "bronte-bench-lis.lis").string();
    std::string copy = (std::filesystem::temp_directory_path() / "bronte-bench-lis.copy").string();
    ScriptedHost host; // the pack question is answered with its default

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
        CQtxToLis exporter;
        if (!exporter.Convert(qtx, lis)) std::abort();
        exporter.m_writer.Close();
    }
};

Files& Get()
{
    static Files files;
    return files;
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
BENCHMARK_MAIN();
