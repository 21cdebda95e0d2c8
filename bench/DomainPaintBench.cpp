// One frame of the domain view painted again and again into a Qt image on the
// offscreen platform (the paint draws what was read; reading is not measured here).
// Beside it the same frame painted into a context that draws nothing, so the
// painter's share shows as the difference.
#include "AllocationCounter.h"
#include "app/ViewerApp.h"
#include "BenchDataSet.h"
#include "NullDc.h"
#include "common/QtxFileDlg.h"
#include "dataset/QtxFile.h"
#include "platform/qt/QtDc.h"
#include "platform/testing/ScriptedFrame.h"
#include "platform/testing/ScriptedHost.h"
#include "res/QtxFileDlgIds.h"
#include "viewers/DomainWnd.h"
#include "viewers/DomainWndFactory.h"
#include "settings/DomainSetupGroup.h"
#include "QtBenchMain.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kFrames = 100;

// A data set of kFrames frames of `receivers` x `samples` at `step` us and a view of
// it in `domain`, in a scripted window. Steps above 5 us are interpolated to half.
struct View {
    std::string path;
    ScriptedHost host;
    ScriptedFrame frame;
    CDomainWnd* view = nullptr;

    View(int domain, int receivers, int samples, float step, int frames = kFrames)
        : path((std::filesystem::temp_directory_path()
                / ("bronte-bench-paint-" + std::to_string(::getpid()) + "-" + std::to_string(domain) + ".qtx"))
                   .string())
    {
        // Compressional, shear and Stoneley arrivals moving out across the receivers, in
        // a little noise.
        std::vector<float> trace(size_t(receivers) * size_t(samples));
        uint32_t noise = 1;
        for (int r = 0; r < receivers; ++r)
            for (int i = 0; i < samples; ++i) {
                const double t = i * double(step);
                double v = bench::Arrivals(r, t);
                noise = noise * 1664525u + 1013904223u;
                const double jitter = double(noise >> 8) / double(1 << 24) - 0.5;
                trace[size_t(r) * size_t(samples) + size_t(i)] = float(v + 0.02 * jitter);
            }
        bench::WriteWaveformQtx(path, 1, receivers, samples, frames, step, std::move(trace));

        SetHost(&host);
        SetFrame(&frame);
        frame.Create("bench", nullptr, nullptr);
        WindowClass c;
        c.name = "bench-paint";
        RegisterWindowClass(c);
        theApp.m_display.SetDefaults();
        host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
        DomainSetupGroup setup;
        setup.SetDefaults();
        setup.path = path;
        setup.depthFrame = 1000.0;
        setup.timeStart = 0;
        setup.timeStop = step * float(samples);
        setup.freqStart = 0;
        setup.freqStop = 20000;
        view = OpenDomainWnd(setup, domain, c.name);
        if (!view) std::abort();
    }
    ~View()
    {
        frame.Destroy();
        SetFrame(nullptr);
        SetHost(nullptr);
        std::filesystem::remove(path);
    }

    void Resize(int width, int height)
    {
        auto* window = dynamic_cast<ScriptedWindow*>(view->Impl());
        if (!window) std::abort();
        window->clientWidth = width;
        window->clientHeight = height;
    }
};

// The benchmarks run one after another, each with a view of its own.
std::unique_ptr<View> g_view;

// Args: domain, receivers, samples, step (us), width, height.
View& ViewOf(benchmark::State& state)
{
    g_view.reset();
    g_view = std::make_unique<View>(int(state.range(0)), int(state.range(1)), int(state.range(2)), float(state.range(3)));
    g_view->Resize(int(state.range(4)), int(state.range(5)));
    return *g_view;
}

void PaintIntoImage(benchmark::State& state)
{
    View& v = ViewOf(state);
    const int width = int(state.range(4)), height = int(state.range(5));
    QImage image(width, height, QImage::Format_RGB32);
    DeviceCaps caps;
    caps.horzRes = width;
    caps.vertRes = height;
    const long long allocations = g_allocations.load();
    for (auto _ : state) {
        // A context per paint, as a window makes one on its backing image.
        QtDc dc(&image, caps);
        v.view->OnPaint(dc);
    }
    state.counters["allocs/frame"] = double(g_allocations.load() - allocations) / double(state.iterations());
    benchmark::DoNotOptimize(image.constBits());
    if (!v.view->FrameRead()) state.SkipWithError("the frames were not read");
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    g_view.reset();
}

void PaintIntoNothing(benchmark::State& state)
{
    View& v = ViewOf(state);
    NullDc dc;

    const long long allocations = g_allocations.load();
    for (auto _ : state) {
        v.view->OnPaint(dc);
    }
    state.counters["allocs/frame"] = double(g_allocations.load() - allocations) / double(state.iterations());
    if (!v.view->FrameRead()) state.SkipWithError("the frames were not read");
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    g_view.reset();
}

// What a user waits for on a scroll step: the scroll handler (which reads the new
// frame and forms its spectra) and the paint into a 1000 x 800 image. Steps go down
// to the last frame and back up, so every one reads a frame the view does not show.
// Counters give the median and the 90th percentile of the single steps.
void ScrollStep(benchmark::State& state)
{
    const int code = int(state.range(0)), frames = 400;
    g_view.reset();
    g_view = std::make_unique<View>(kDomainFrequency, 13, 2048, 4.0f, frames);
    View& v = *g_view;
    v.Resize(1000, 800);
    // With another child active the scripted frame does not paint each step a second
    // time into its recording context: the step's one paint is the one below, into
    // an image as the Qt window's backing store takes it.
    CWnd blank;
    if (!blank.CreateChild("bench-paint", "blank")) std::abort();
    v.frame.ActivateChild(blank);
    QImage image(1000, 800, QImage::Format_RGB32);
    DeviceCaps caps;
    caps.horzRes = 1000;
    caps.vertRes = 800;
    {
        QtDc dc(&image, caps);
        v.view->OnPaint(dc);
    }
    const int down = code == SB_LINEDOWN ? SB_LINEDOWN : SB_PAGEDOWN;
    const int up = code == SB_LINEDOWN ? SB_LINEUP : SB_PAGEUP;
    int direction = down;
    std::vector<double> steps;
    for (auto _ : state) {
        const int before = v.view->Frames().Frame();
        const auto start = std::chrono::steady_clock::now();
        v.view->OnVScroll(direction, 0);
        {
            QtDc dc(&image, caps);
            v.view->OnPaint(dc);
        }
        steps.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (v.view->Frames().Frame() == before) {
            // At an end: this step read nothing new; turn and step again.
            steps.pop_back();
            direction = direction == down ? up : down;
        }
    }
    std::sort(steps.begin(), steps.end());
    if (!steps.empty()) {
        state.counters["median_ms"] = steps[steps.size() / 2];
        state.counters["p90_ms"] = steps[steps.size() * 9 / 10];
    }
    // The receivers a user sees stay shown from step to step.
    state.counters["traces"] = double(v.view->m_shownTraces);
    if (!v.view->FrameRead()) state.SkipWithError("the frames were not read");
    g_view.reset();
}

void Cases(benchmark::internal::Benchmark* b)
{
    // Spectra of 13 x 2,048; wiggles of 16 x 4,096 interpolated to 8,192.
    b->ArgNames({"domain", "receivers", "samples", "step", "width", "height"});
    b->Args({kDomainFrequency, 13, 2048, 4, 640, 480});
    b->Args({kDomainFrequency, 13, 2048, 4, 1600, 1200});
    b->Args({kDomainTime, 16, 4096, 8, 640, 480});
    b->Args({kDomainTime, 16, 4096, 8, 1600, 1200});
}

} // namespace

BENCHMARK(PaintIntoNothing)->Apply(Cases)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PaintIntoImage)->Apply(Cases)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ScrollStep)->ArgName("code")->Arg(SB_LINEDOWN)->Arg(SB_PAGEDOWN)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) { return bench::RunQtBenchmarks(argc, argv); }
