// Frame-reading throughput of CQtxFile against a plain sequential read of the same
// file: a data set of 8 receivers x 1024 samples per frame, about 200 MB (set
// BRONTE_BENCH_MB to change), read with the file in the page cache.
#include "BenchDataSet.h"
#include "dataset/QtxFile.h"
#include "platform/BinaryFile.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kTraces = 8;
constexpr int kSamples = 1024;

struct DataSet {
    std::string path;
    int frames = 0;
    int64_t bytes = 0;

    DataSet()
    {
        path = (std::filesystem::temp_directory_path() / "bronte-bench-read.qtx").string();
        frames = bench::FramesFor(bench::TargetBytes(), kTraces, kSamples);
        if (!bench::WriteWaveformQtx(path, 26, kTraces, kSamples, frames)) std::exit(1);
        bytes = int64_t(std::filesystem::file_size(path));
    }
    ~DataSet() { std::filesystem::remove(path); }
};

DataSet& Set()
{
    static DataSet set;
    return set;
}

void PlainSequentialRead(benchmark::State& state)
{
    const DataSet& set = Set();
    std::vector<char> buffer(32776);
    for (auto _ : state) {
        BinaryFile file;
        file.Open(set.path, BinaryFile::modeRead);
        int64_t total = 0;
        size_t got;
        while ((got = file.Read(buffer.data(), buffer.size())) > 0) total += int64_t(got);
        benchmark::DoNotOptimize(total);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(state.iterations() * set.bytes);
}

void ReadFrameItemEveryFrame(benchmark::State& state)
{
    const DataSet& set = Set();
    std::vector<float> samples(kTraces * kSamples);
    for (auto _ : state) {
        CQtxFile in;
        if (!OkOrShow(in.OpenRead(set.path))) state.SkipWithError("open failed");
        CQtxDatumList list;
        if (!OkOrShow(in.ReadDatumList(list))) return state.SkipWithError("read failed");
        const auto& d = *list.front();
        const int frames = int(in.GetFrameCount());
        for (int f = 0; f < frames; ++f) {
            if (!OkOrShow(in.ReadFrameItem(f, int(d.m_offset), d.m_traceCount, d.m_axis1.m_sampleCount, samples.data(),
                                           samples.size()))) {
                state.SkipWithError("read failed");
                break;
            }
            benchmark::DoNotOptimize(samples.data());
        }
    }
    state.SetBytesProcessed(state.iterations() * set.bytes);
    state.counters["frames/s"] =
        benchmark::Counter(double(state.iterations()) * set.frames, benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(PlainSequentialRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReadFrameItemEveryFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
