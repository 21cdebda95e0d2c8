// Tool-box throughput: "Reverse Depth Order", "Convert QTX To SEGY" and "Convert SEGY
// To QTX" (the SEG-Y file the export wrote, back) on a data set of 8 receivers x 1024
// samples per frame, about 200 MB (set BRONTE_BENCH_MB to change), against a plain
// copy of the same file in the same run; "Add Waveforms" over two such data sets
// against a plain copy of both. All read from the page cache and write a new
// file; dialogs and questions of the tasks take scripted answers. "peak RSS MB" is the
// process's high-water mark after the benchmark: a streaming task leaves it flat.
#include "BenchDataSet.h"
#include "platform/BinaryFile.h"
#include "platform/testing/ScriptedHost.h"
#include "toolbox/ToolTasks.h"
#include "toolbox/ToolsWnd.h"
#include "settings/SettingsStore.h"
#include "settings/UtilitiesSetupGroup.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

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
    std::string segy;
    int frames = 0;
    int64_t bytes = 0;

    DataSet()
    {
        const auto folder = std::filesystem::temp_directory_path();
        path = (folder / "bronte-bench-tools-in.qtx").string();
        output = (folder / "bronte-bench-tools-out.qtx").string();
        segy = (folder / "bronte-bench-tools-out.segy").string();
        frames = bench::FramesFor(bench::TargetBytes(), kTraces, kSamples);
        if (!bench::WriteWaveformQtx(path, 26, kTraces, kSamples, frames)) std::exit(1);
        bytes = int64_t(std::filesystem::file_size(path));
    }
    ~DataSet()
    {
        std::filesystem::remove(path);
        std::filesystem::remove(output);
        std::filesystem::remove(segy);
    }
};

DataSet& Set()
{
    static DataSet set;
    return set;
}

double PeakRssMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
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
    state.counters["peak RSS MB"] = PeakRssMegabytes();
}

void ReverseDepthOrder(benchmark::State& state)
{
    const DataSet& set = Set();
    ScriptedHost host;
    ScopedHost scope(&host);
    for (auto _ : state) {
        host.ExpectMessage("This data set log direction is", IDYES);
        auto engine = std::make_unique<CToolsWnd>();
        engine->Settings().outputPath = set.output;
        engine->Settings().outputConfirmed = true; // the copy's file is replaced without a question
        if (RunToolTask(*engine, ToolTask::ReverseDepthOrder, set.path) != 1) {
            state.SkipWithError("task failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * set.bytes);
    state.counters["frames/s"] =
        benchmark::Counter(double(state.iterations()) * set.frames, benchmark::Counter::kIsRate);
}

int RunTask(ToolTask task, const std::string& input, const std::string& output)
{
    ToolInputSelection& primary = theApp.m_utilitiesSetup.primary;
    primary.itemCount = 1;
    primary.selected.fill(0);
    primary.selected[0] = 1;
    auto engine = std::make_unique<CToolsWnd>();
    engine->Settings().outputPath = output;
    engine->Settings().outputConfirmed = true;
    return RunToolTask(*engine, task, input);
}

void ConvertQtxToSegy(benchmark::State& state)
{
    const DataSet& set = Set();
    ScriptedHost host;
    ScopedHost scope(&host);
    for (auto _ : state)
        if (RunTask(ToolTask::ConvertQtxToSegy, set.path, set.segy) != 1) {
            state.SkipWithError("task failed");
            break;
        }
    state.SetBytesProcessed(state.iterations() * set.bytes);
    state.counters["frames/s"] =
        benchmark::Counter(double(state.iterations()) * set.frames, benchmark::Counter::kIsRate);
    state.counters["peak RSS MB"] = PeakRssMegabytes();
}

void ConvertSegyToQtx(benchmark::State& state)
{
    const DataSet& set = Set();
    ScriptedHost host;
    ScopedHost scope(&host);
    if (!std::filesystem::exists(set.segy) && RunTask(ToolTask::ConvertQtxToSegy, set.path, set.segy) != 1) {
        state.SkipWithError("export failed");
        return;
    }
    for (auto _ : state)
        if (RunTask(ToolTask::ConvertSegyToQtx, set.segy, set.output) != 1) {
            state.SkipWithError("task failed");
            break;
        }
    // Megabytes of the data set, as for the other rows.
    state.SetBytesProcessed(state.iterations() * set.bytes);
    state.counters["frames/s"] =
        benchmark::Counter(double(state.iterations()) * set.frames, benchmark::Counter::kIsRate);
    state.counters["peak RSS MB"] = PeakRssMegabytes();
}

// The second operand of Add Waveforms: a data set of the same shape and size beside the first.
struct SecondDataSet {
    std::string path, output;
    int64_t bytes = 0;

    SecondDataSet()
    {
        const auto folder = std::filesystem::temp_directory_path();
        path = (folder / "bronte-bench-tools-second.qtx").string();
        output = (folder / "bronte-bench-tools-second-out.qtx").string();
        std::vector<float> frame(size_t(kTraces) * kSamples);
        for (size_t i = 0; i < frame.size(); ++i) frame[i] = float(i % 613) * -0.25f;
        if (!bench::WriteWaveformQtx(path, 26, kTraces, kSamples, Set().frames, 10.0f, frame)) std::exit(1);
        bytes = int64_t(std::filesystem::file_size(path));
    }
    ~SecondDataSet()
    {
        std::filesystem::remove(path);
        std::filesystem::remove(output);
    }
};

SecondDataSet& Second()
{
    static SecondDataSet set;
    return set;
}

bool CopyFile(const std::string& from, const std::string& to, std::vector<char>& buffer)
{
    BinaryFile in;
    BinaryFile out;
    if (!in.Open(from, BinaryFile::modeRead) || !out.Open(to, BinaryFile::modeWrite | BinaryFile::modeCreate))
        return false;
    size_t got;
    while ((got = in.Read(buffer.data(), buffer.size())) > 0)
        if (!out.Write(buffer.data(), got)) return false;
    return true;
}

// Both operands of Add Waveforms copied, one after the other: the bytes the task reads.
void PlainCopyOfBoth(benchmark::State& state)
{
    const DataSet& first = Set();
    const SecondDataSet& second = Second();
    std::vector<char> buffer(1 << 20);
    for (auto _ : state)
        if (!CopyFile(first.path, first.output, buffer) || !CopyFile(second.path, second.output, buffer)) {
            state.SkipWithError("copy failed");
            break;
        }
    state.SetBytesProcessed(state.iterations() * (first.bytes + second.bytes));
}

// Megabytes of both inputs, as for the copy of both.
void AddWaveforms(benchmark::State& state)
{
    const DataSet& first = Set();
    const SecondDataSet& second = Second();
    ScriptedHost host;
    ScopedHost scope(&host);
    for (auto _ : state) {
        for (ToolInputSelection* s : {&theApp.m_utilitiesSetup.primary, &theApp.m_utilitiesSetup.secondary}) {
            s->itemCount = 1;
            s->selected.fill(0);
            s->selected[0] = 1;
        }
        auto engine = std::make_unique<CToolsWnd>();
        engine->Settings().outputPath = first.output;
        engine->Settings().outputConfirmed = true;
        if (RunToolTask(*engine, ToolTask::AddWaveforms, first.path, second.path) != 1) {
            state.SkipWithError("task failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * (first.bytes + second.bytes));
    state.counters["frames/s"] =
        benchmark::Counter(double(state.iterations()) * first.frames, benchmark::Counter::kIsRate);
    state.counters["peak RSS MB"] = PeakRssMegabytes();
}

} // namespace

BENCHMARK(PlainFileCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReverseDepthOrder)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ConvertQtxToSegy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ConvertSegyToQtx)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PlainCopyOfBoth)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(AddWaveforms)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
