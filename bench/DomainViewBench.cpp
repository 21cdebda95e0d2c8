// Stepping a frequency-domain view through 1,000 frames of 13 receivers x 2,048
// samples: the bare frame reads; read and spectra; the paint of one frame (into a
// Dc that draws nothing); and read, spectra and paint of each frame. Every
// allocation of the program is counted, so the paint's are reported per frame.
#include "AllocationCounter.h"
#include "BenchDataSet.h"
#include "NullDc.h"
#include "common/QtxFileDlg.h"
#include "dataset/QtxFile.h"
#include "platform/testing/ScriptedFrame.h"
#include "platform/testing/ScriptedHost.h"
#include "res/QtxFileDlgIds.h"
#include "settings/SettingsStore.h"
#include "settings/DomainSetupGroup.h"
#include "viewers/DomainWnd.h"
#include "viewers/DomainWndFactory.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <utility>
#include <vector>

namespace {
constexpr int kReceivers = 13;
constexpr int kSamples = 2048;
constexpr int kFrames = 1000;

struct Fixture {
    std::string path = (std::filesystem::temp_directory_path() / "bronte-bench-domain.qtx").string();
    ScriptedHost host;
    ScriptedFrame frame;
    CDomainWnd* view = nullptr;

    Fixture()
    {
        std::vector<float> trace(size_t(kReceivers) * kSamples);
        for (size_t i = 0; i < trace.size(); ++i) trace[i] = float(std::sin(double(i) * 0.05));
        bench::WriteWaveformQtx(path, 1, kReceivers, kSamples, kFrames, 4.0f, std::move(trace));

        SetHost(&host);
        SetFrame(&frame);
        frame.Create("bench", nullptr, nullptr);
        WindowClass c;
        c.name = "bench-domain";
        RegisterWindowClass(c);
        host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
        theApp.m_display.SetDefaults();
        DomainSetupGroup setup;
        setup.SetDefaults();
        setup.path = path;
        setup.freqStart = 0;
        setup.freqStop = 20000;
        view = OpenDomainWnd(setup, kDomainFrequency, c.name);
        if (!view) std::abort();
    }
    ~Fixture()
    {
        frame.Destroy();
        SetFrame(nullptr);
        SetHost(nullptr);
        std::filesystem::remove(path);
    }
};

Fixture& Get()
{
    static Fixture fixture;
    return fixture;
}

void Rate(benchmark::State& state)
{
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()) * kFrames, benchmark::Counter::kIsRate);
}

void BareFrameReads(benchmark::State& state)
{
    Fixture& f = Get();
    CQtxFile in;
    if (!OkOrShow(in.OpenRead(f.path))) return state.SkipWithError("read failed");
    std::vector<float> buffer(size_t(kReceivers) * kSamples);
    for (auto _ : state)
        for (int frame = 0; frame < kFrames; ++frame) {
            if (!OkOrShow(in.ReadFrameItem(frame, 8, kReceivers, kSamples, buffer.data(), buffer.size())))
                return state.SkipWithError("read failed");
            benchmark::DoNotOptimize(buffer.data());
        }
    Rate(state);
}

void ReadAndSpectra(benchmark::State& state)
{
    Fixture& f = Get();
    for (auto _ : state)
        for (int frame = 0; frame < kFrames; ++frame) {
            f.view->Frames().SetFrame(frame);
            f.view->ReadFrame();
        }
    Rate(state);
}

void Paint(benchmark::State& state)
{
    Fixture& f = Get();
    NullDc dc;
    f.view->OnPaint(dc); // buffers take their size
    const long long before = g_allocations.load();
    for (auto _ : state)
        for (int frame = 0; frame < kFrames; ++frame) f.view->OnPaint(dc);
    Rate(state);
    state.counters["allocs/frame"] = double(g_allocations.load() - before) / (double(state.iterations()) * kFrames);
}

void ReadSpectraAndPaint(benchmark::State& state)
{
    Fixture& f = Get();
    NullDc dc;
    const long long before = g_allocations.load();
    for (auto _ : state)
        for (int frame = 0; frame < kFrames; ++frame) {
            f.view->Frames().SetFrame(frame);
            f.view->ReadFrame();
            f.view->OnPaint(dc);
        }
    Rate(state);
    state.counters["allocs/frame"] = double(g_allocations.load() - before) / (double(state.iterations()) * kFrames);
}

} // namespace

BENCHMARK(BareFrameReads)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReadAndSpectra)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Paint)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReadSpectraAndPaint)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
