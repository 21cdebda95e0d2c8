// Tool-box throughput: "Reverse Depth Order" on a data set of 8 receivers x 1024
// samples per frame, about 200 MB (set BRONTE_BENCH_MB to change), against a plain
// copy of the same file in the same run. Both read from the page cache and write a
// new file; dialogs and questions of the task take scripted answers.
#include "BenchDataSet.h"
#include "platform/BinaryFile.h"
#include "platform/testing/ScriptedHost.h"
#include "toolbox/ToolTasks.h"
#include "toolbox/ToolsWnd.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kTraces = 8;
constexpr int kSamples = 1024;

struct DataSet {
    std::string path;
    std::string output;
    int frames = 0;
    int64_t bytes = 0;

    DataSet()
    {
        const auto folder = std::filesystem::temp_directory_path();
        path = (folder / "bronte-bench-tools-in.qtx").string();
        output = (folder / "bronte-bench-tools-out.qtx").string();
        frames = bench::FramesFor(bench::TargetBytes(), kTraces, kSamples);
        if (!bench::WriteWaveformQtx(path, 26, kTraces, kSamples, frames)) std::exit(1);
        bytes = int64_t(std::filesystem::file_size(path));
    }
    ~DataSet()
    {
        std::filesystem::remove(path);
        std::filesystem::remove(output);
    }
};

DataSet& Set()
{
    static DataSet set;
    return set;
}

void PlainFileCopy(benchmark::State& state)
{
    const DataSet& set = Set();
    std::vector<char> buffer(1 << 20);
    for (auto _ : state) {
        BinaryFile in;
        BinaryFile out;
        if (!in.Open(set.path, BinaryFile::modeRead)
            || !out.Open(set.output, BinaryFile::modeWrite | BinaryFile::modeCreate)) {
            state.SkipWithError("open failed");
            break;
        }
        size_t got;
        while ((got = in.Read(buffer.data(), buffer.size())) > 0)
            if (!out.Write(buffer.data(), got)) {
                state.SkipWithError("write failed");
                break;
            }
    }
    state.SetBytesProcessed(state.iterations() * set.bytes);
}

void ReverseDepthOrder(benchmark::State& state)
{
    const DataSet& set = Set();
    ScriptedHost host;
    ScopedHost scope(&host);
    for (auto _ : state) {
        host.ExpectMessage("This data set log direction is", IDYES);
        auto engine = std::make_unique<CToolsWnd>();
        engine->m_outputPath = set.output;
        if (RunToolTask(*engine, ToolTask::ReverseDepthOrder, set.path) != 1) {
            state.SkipWithError("task failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * set.bytes);
    state.counters["frames/s"] =
        benchmark::Counter(double(state.iterations()) * set.frames, benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(PlainFileCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReverseDepthOrder)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
