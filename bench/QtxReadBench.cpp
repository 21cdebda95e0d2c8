// Frame-reading throughput of CQtxFile against a plain sequential read of the same
// file: a data set of 8 receivers x 1024 samples per frame, about 200 MB (set
// BRONTE_BENCH_MB to change), read with the file in the page cache.
#include "dataset/QtxFile.h"
#include "platform/BinaryFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
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
        const char* mb = std::getenv("BRONTE_BENCH_MB");
        const int64_t target = int64_t(mb ? std::atoi(mb) : 200) << 20;
        path = (std::filesystem::temp_directory_path() / "bronte-bench-read.qtx").string();
        const int64_t frameSize = 8 + int64_t(kTraces) * kSamples * 4;
        frames = int(std::max<int64_t>(1, target / frameSize));

        CQtxFile out;
        CQtxDescriptorList list;
        if (!out.OpenWrite(path)) std::exit(1);
        out.AddDatum(list, "WMNO", 26, 1, 1, kTraces, 1, 10.0f, kSamples, 0);
        out.WriteHeader();
        out.WriteDescriptors(list);
        for (int i = 0; i < kTraces * kSamples && i < 8192; ++i) out.m_data[i] = float(i % 977) * 0.5f;
        for (int f = 0; f < frames; ++f) {
            const double depth = 1000.0 + 0.5 * f;
            out.WriteDepth(&depth);
            out.WriteData(kTraces * kSamples);
        }
        if (!out.Finalize()) std::exit(1);
        bytes = std::filesystem::file_size(path);
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
        if (!in.OpenRead(set.path)) state.SkipWithError("open failed");
        CQtxDatumList list;
        in.ReadDatumList(list);
        const auto& d = *list.front();
        const int frames = int(in.GetFrameCount());
        for (int f = 0; f < frames; ++f) {
            if (!in.ReadFrameItem(f, int(d.m_offset), d.m_traceCount, d.m_axis1.m_sampleCount, samples.data(),
                                  samples.size())) {
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
