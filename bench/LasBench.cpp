// LAS throughput: "Convert LAS To QTX" of ../shared/data/las/1.2/sample_big.las (2.2 MB,
// 29,897 data lines of 8 curves; its depths, three lines repeated, are renumbered into one
// steady up log in a temporary copy, since the import refuses depths that turn back)
// beside a plain read of the same bytes, and "Convert QTX
// To LAS" of the data set that import writes (the same frames and curves) beside a plain
// write of as many bytes as the export writes. Then the same both ways at about 100 MB
// of LAS: a synthetic data set of 8 curves over 1,000,000 frames at steps of an inch
// (every depth with seven decimals; half the curves in quarters, which four decimals
// write, half in floats that need their shortest text), exported (ExportLarge) and the
// file it writes imported (ImportLarge). All from the page cache, in one run; questions
// of the tasks take scripted answers. MB/s count the LAS file's bytes.
#include "dataset/QtxFile.h"
#include "platform/BinaryFile.h"
#include "platform/testing/ScriptedHost.h"
#include "settings/SettingsStore.h"
#include "settings/UtilitiesSetupGroup.h"
#include "toolbox/ToolTasks.h"
#include "toolbox/ToolsWnd.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#ifndef BRONTE_SHARED_DATA
#define BRONTE_SHARED_DATA "../shared/data"
#endif

namespace {

// The shared file with its data lines' depths rewritten as 1670 - k x 0.125.
bool WriteSteadyCopy(const std::string& from, const std::string& to)
{
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary);
    if (!in || !out) return false;
    bool data = false;
    int k = 0;
    for (std::string line; std::getline(in, line);) {
        if (data && !line.empty() && line[0] != '~') {
            char depth[32];
            std::snprintf(depth, sizeof depth, "%8.3f", 1670.0 - 0.125 * k++);
            line.replace(0, line.find(' '), depth);
        }
        data = data || line.starts_with("~A");
        out << line << '\n';
    }
    return bool(out);
}

struct Files {
    std::string source = std::string(BRONTE_SHARED_DATA) + "/las/1.2/sample_big.las";
    std::string las = (std::filesystem::temp_directory_path() / "bronte-bench-las-in.las").string();
    std::string qtx = (std::filesystem::temp_directory_path() / "bronte-bench-las.qtx").string();
    std::string out = (std::filesystem::temp_directory_path() / "bronte-bench-las-out.las").string();
    int64_t lasBytes = 0;

    Files()
    {
        std::error_code error;
        if (!WriteSteadyCopy(source, las)) return;
        lasBytes = int64_t(std::filesystem::file_size(las, error));
        if (error) lasBytes = 0;
    }
    ~Files()
    {
        std::filesystem::remove(las);
        std::filesystem::remove(qtx);
        std::filesystem::remove(out);
    }
};

Files& Set()
{
    static Files files;
    return files;
}

double PeakRssMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

int Run(ToolTask task, const std::string& input, const std::string& output, int curves = 7)
{
    ToolInputSelection& primary = theApp.m_utilitiesSetup.primary;
    primary.itemCount = curves;
    primary.selected.fill(0);
    for (int k = 0; k < curves; ++k) primary.selected[size_t(k)] = 1;
    auto engine = std::make_unique<CToolsWnd>();
    engine->Settings().outputPath = output;
    engine->Settings().outputConfirmed = true; // the earlier iteration's file is replaced without a question
    return RunToolTask(*engine, task, input);
}

void PlainRead(benchmark::State& state)
{
    const Files& f = Set();
    if (f.lasBytes == 0) return state.SkipWithError("../shared/data/las/1.2/sample_big.las is absent");
    std::vector<char> buffer(1 << 20);
    for (auto _ : state) {
        BinaryFile in;
        if (!in.Open(f.las, BinaryFile::modeRead)) return state.SkipWithError("open failed");
        size_t total = 0, got;
        while ((got = in.Read(buffer.data(), buffer.size())) > 0) total += got;
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * f.lasBytes);
}

void ConvertLasToQtx(benchmark::State& state)
{
    const Files& f = Set();
    if (f.lasBytes == 0) return state.SkipWithError("../shared/data/las/1.2/sample_big.las is absent");
    ScriptedHost host;
    ScopedHost scope(&host);
    for (auto _ : state) {
        // A new file each time, as a user's output would be: truncating the file of the run
        // before would wait for its pages still being written back.
        std::filesystem::remove(f.qtx);
        if (Run(ToolTask::ConvertLasToQtx, f.las, f.qtx) != 1) return state.SkipWithError("import failed");
    }
    state.SetBytesProcessed(state.iterations() * f.lasBytes);
    state.counters["lines/s"] = benchmark::Counter(double(state.iterations()) * 29897, benchmark::Counter::kIsRate);
    state.counters["peak RSS MB"] = PeakRssMegabytes();
}

int64_t ExportBytes()
{
    const Files& f = Set();
    std::error_code error;
    if (!std::filesystem::exists(f.out, error) && Run(ToolTask::ConvertQtxToLas, f.qtx, f.out) != 1) return 0;
    return int64_t(std::filesystem::file_size(f.out, error));
}

void PlainWrite(benchmark::State& state)
{
    const Files& f = Set();
    ScriptedHost host;
    ScopedHost scope(&host);
    if (f.lasBytes == 0 || (!std::filesystem::exists(f.qtx) && Run(ToolTask::ConvertLasToQtx, f.las, f.qtx) != 1))
        return state.SkipWithError("no data set to export");
    const int64_t bytes = ExportBytes();
    const std::string path = f.out + ".plain";
    std::vector<char> buffer(size_t(bytes), 'x');
    for (auto _ : state) {
        std::filesystem::remove(path);
        BinaryFile out;
        if (!out.Open(path, BinaryFile::modeWrite | BinaryFile::modeCreate) || !out.Write(buffer.data(), buffer.size()))
            return state.SkipWithError("write failed");
    }
    std::filesystem::remove(path);
    state.SetBytesProcessed(state.iterations() * bytes);
}

void ConvertQtxToLas(benchmark::State& state)
{
    const Files& f = Set();
    ScriptedHost host;
    ScopedHost scope(&host);
    if (f.lasBytes == 0 || (!std::filesystem::exists(f.qtx) && Run(ToolTask::ConvertLasToQtx, f.las, f.qtx) != 1))
        return state.SkipWithError("no data set to export");
    for (auto _ : state) {
        std::filesystem::remove(f.out);
        if (Run(ToolTask::ConvertQtxToLas, f.qtx, f.out) != 1) return state.SkipWithError("export failed");
    }
    state.SetBytesProcessed(state.iterations() * ExportBytes());
    state.counters["lines/s"] = benchmark::Counter(double(state.iterations()) * 29897, benchmark::Counter::kIsRate);
    state.counters["peak RSS MB"] = PeakRssMegabytes();
}

constexpr int kLargeCurves = 8;
constexpr int kLargeFrames = 1000000;

// The large data set and the LAS file its export writes, made once and removed at the end.
struct LargeFiles {
    std::string qtx = (std::filesystem::temp_directory_path() / "bronte-bench-las-large.qtx").string();
    std::string las = (std::filesystem::temp_directory_path() / "bronte-bench-las-large.las").string();
    std::string back = (std::filesystem::temp_directory_path() / "bronte-bench-las-large-back.qtx").string();
    int64_t lasBytes = 0;
    bool ok = false;

    LargeFiles()
    {
        CQtxFile out;
        CQtxDescriptorList list;
        ok = OkOrShow(out.OpenWrite(qtx));
        for (int d = 0; ok && d < kLargeCurves; ++d)
            ok = OkOrShow(out.AddDatum(list, "CV" + std::to_string(d), 0, 1, 6, 1, 0xFF, 1.0f, 1, 0));
        QtxFileHeader header = out.Header();
        header.topDepth = 1000.0;
        header.depthStep = 1.0 / 12.0;
        std::fill(std::begin(header.history), std::end(header.history), ' ');
        out.SetHeader(header);
        ok = ok && OkOrShow(out.WriteHeader()) && OkOrShow(out.WriteDescriptors(list));
        float values[kLargeCurves];
        for (int f = 0; ok && f < kLargeFrames; ++f) {
            const double depth = 1000.0 + f / 12.0;
            for (int d = 0; d < kLargeCurves; ++d)
                values[d] = d % 2 ? float(60.0 + 30.0 * std::sin(f * 0.001 * (d + 1)))
                                  : float((f * 37 + d * 101) % 200000) * 0.25f - 20000.0f;
            ok = OkOrShow(out.WriteDepth(&depth)) && OkOrShow(out.WriteData(values, kLargeCurves));
        }
        ok = ok && OkOrShow(out.Finalize());
        ok = ok && Run(ToolTask::ConvertQtxToLas, qtx, las, kLargeCurves) == 1;
        std::error_code error;
        if (ok) lasBytes = int64_t(std::filesystem::file_size(las, error));
        ok = ok && !error;
    }
    ~LargeFiles()
    {
        std::filesystem::remove(qtx);
        std::filesystem::remove(las);
        std::filesystem::remove(back);
    }
};

LargeFiles& Large()
{
    static ScriptedHost host;
    static ScopedHost scope(&host);
    static LargeFiles files;
    return files;
}

void ExportLarge(benchmark::State& state)
{
    const LargeFiles& f = Large();
    if (!f.ok) return state.SkipWithError("the large data set could not be written");
    for (auto _ : state) {
        std::filesystem::remove(f.las);
        if (Run(ToolTask::ConvertQtxToLas, f.qtx, f.las, kLargeCurves) != 1) return state.SkipWithError("export failed");
    }
    state.SetBytesProcessed(state.iterations() * f.lasBytes);
    state.counters["LAS MB"] = double(f.lasBytes) / 1e6;
    state.counters["peak RSS MB"] = PeakRssMegabytes();
}

void ImportLarge(benchmark::State& state)
{
    const LargeFiles& f = Large();
    if (!f.ok) return state.SkipWithError("the large data set could not be written");
    for (auto _ : state) {
        std::filesystem::remove(f.back);
        if (Run(ToolTask::ConvertLasToQtx, f.las, f.back) != 1) return state.SkipWithError("import failed");
    }
    state.SetBytesProcessed(state.iterations() * f.lasBytes);
    state.counters["LAS MB"] = double(f.lasBytes) / 1e6;
    state.counters["peak RSS MB"] = PeakRssMegabytes();
}

} // namespace

BENCHMARK(PlainRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ConvertLasToQtx)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PlainWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ConvertQtxToLas)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ExportLarge)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(ImportLarge)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK_MAIN();
