// Conversion of a ~200 MB CNV file (8 channels x 1024 samples per frame; set
// BRONTE_BENCH_MB) to QTX, beside a plain sequential copy of the same file. The
// conversion's peak resident memory is reported: it must not grow with the file.
#include "BenchDataSet.h"
#include "cnv/CnvToQtx.h"
#include "platform/BinaryFile.h"
#include "platform/testing/ScriptedHost.h"
#include "res/DataOriginDlgIds.h"
#include "support/CnvBuilder.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr int kChannels = 8;
constexpr int kSamples = 1024;

struct Files {
    std::string cnv = (std::filesystem::temp_directory_path() / "bronte-bench-cnv.cnv").string();
    std::string qtx = (std::filesystem::temp_directory_path() / "bronte-bench-cnv.qtx").string();
    std::string copy = (std::filesystem::temp_directory_path() / "bronte-bench-cnv.copy").string();
    CnvShape shape = Shape(kChannels, kSamples, 1);
    ScriptedHost host;

    Files()
    {
        SetHost(&host);
        shape.frames = int(std::max<int64_t>(1, bench::TargetBytes() / CnvFrameSize(kChannels, kSamples)));
        WriteCnv(cnv, shape);
    }
    ~Files()
    {
        for (const auto& p : {cnv, qtx, copy}) std::filesystem::remove(p);
        SetHost(nullptr);
    }
    void Convert()
    {
        host.ScriptDialog(kIddDataOrigin).Press(IDOK); // origin 0
        CCnvToQtx c;
        c.m_topDepth = shape.top;
        c.m_bottomDepth = shape.top + (shape.frames - 1) * shape.step;
        c.m_depthStep = shape.step;
        c.m_depthUnit = "FT";
        c.m_samplingPeriod = float(shape.samplingPeriod);
        c.m_channelCount = kChannels;
        c.m_samplesPerChannel = kSamples;
        c.m_frameCount = uint32_t(shape.frames);
        c.m_outputConfirmed = true;
        if (!c.Convert(cnv, qtx)) std::abort();
    }
};

Files& Get()
{
    static Files files;
    return files;
}

int64_t SizeOf(const std::string& path) { return int64_t(std::filesystem::file_size(path)); }

double PeakResidentMB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void PlainCopy(benchmark::State& state)
{
    Files& f = Get();
    std::vector<uint8_t> buffer(1 << 16);
    for (auto _ : state) {
        BinaryFile in, out;
        in.Open(f.cnv, BinaryFile::modeRead);
        out.Open(f.copy, BinaryFile::modeWrite | BinaryFile::modeCreate);
        size_t got;
        while ((got = in.Read(buffer.data(), buffer.size())) > 0) out.Write(buffer.data(), got);
    }
    state.SetBytesProcessed(state.iterations() * SizeOf(f.cnv));
}

void ConvertCnvToQtx(benchmark::State& state)
{
    Files& f = Get();
    for (auto _ : state) f.Convert();
    state.SetBytesProcessed(state.iterations() * SizeOf(f.cnv));
    state.counters["frames"] = double(f.shape.frames);
    state.counters["peak_rss_MB"] = PeakResidentMB();
}

} // namespace

BENCHMARK(PlainCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ConvertCnvToQtx)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
