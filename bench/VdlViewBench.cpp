// A VDL view of 2,000 frames x 8 receivers x 512 samples in a 1000 x 800 window, the
// whole log on one page: the frames it shows read from the file, rendered row by row
// into its image and painted into a Qt image of the window's size (offscreen), in the
// time and the frequency domain. Beside them the bare reads of the 2,000 frames, the
// physical floor of showing them. The step rows scroll a log of 6,000 frames at the
// setup's own depth scale (626 frames on a page of 751 rows) a line or a page at a
// time through the view's scroll handler and paint it, as a user waits for it
// (median and p90 of the steps).
#include "AllocationCounter.h"
#include "BenchDataSet.h"
#include "common/QtxFileDlg.h"
#include "dataset/QtxFile.h"
#include "platform/qt/QtDc.h"
#include "platform/testing/ScriptedFrame.h"
#include "platform/testing/ScriptedHost.h"
#include "res/QtxFileDlgIds.h"
#include "settings/SettingsStore.h"
#include "settings/VdlSetupGroup.h"
#include "viewers/VdlWnd.h"
#include "viewers/VdlWndFactory.h"
#include "QtBenchMain.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kFrames = 2000;
constexpr int kScrollFrames = 6000; // three pages
constexpr int kReceivers = 8;
constexpr int kSamples = 512;
constexpr float kStep = 4.0f; // us
constexpr int kWidth = 1000, kHeight = 800;

struct DataSet {
    int frames;
    std::string path;
    explicit DataSet(int count)
        : frames(count), path((std::filesystem::temp_directory_path()
                / ("bronte-bench-vdl-" + std::to_string(frames) + "-" + std::to_string(::getpid()) + ".qtx"))
                   .string())
    {
        // Compressional, shear and Stoneley arrivals moving out across the receivers, in
        // a little noise.
        std::vector<float> frame(size_t(kReceivers) * kSamples);
        uint32_t noise = 1;
        for (int r = 0; r < kReceivers; ++r)
            for (int i = 0; i < kSamples; ++i) {
                const double t = i * double(kStep);
                double v = bench::Arrivals(r, t);
                noise = noise * 1664525u + 1013904223u;
                v += 0.02 * (double(noise >> 8) / double(1 << 24) - 0.5);
                frame[size_t(r) * kSamples + size_t(i)] = float(v);
            }
        if (!bench::WriteWaveformQtx(path, 1, kReceivers, kSamples, frames, kStep, std::move(frame))) std::abort();
    }
    ~DataSet() { std::filesystem::remove(path); }
};

DataSet& Set()
{
    static DataSet set(kFrames);
    return set;
}

DataSet& ScrollSet()
{
    static DataSet set(kScrollFrames);
    return set;
}

// The view in a scripted window of the benchmark's size, every receiver shown.
struct View {
    ScriptedHost host;
    ScriptedFrame frame;
    CVdlWnd* view = nullptr;

    explicit View(const char* domain, DataSet& data = Set(), float depthScale = 1600)
    {
        SetHost(&host);
        SetFrame(&frame);
        frame.Create("bench", nullptr, nullptr);
        frame.childClientSize = {kWidth, kHeight};
        WindowClass c;
        c.name = "bench-vdl";
        RegisterWindowClass(c);
        theApp.m_display.SetDefaults();
        host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
        VdlSetupGroup setup;
        setup.SetDefaults();
        setup.path = data.path;
        setup.domain = ViewDomainOfName(domain);
        setup.topDepth = 1000;
        setup.bottomDepth = 1000 + 0.5 * (data.frames - 1);
        setup.depthScale = depthScale; // 1600: the 2,000 frames on one page
        setup.timeStart = 0;
        setup.timeStop = kStep * kSamples;
        setup.freqStart = 0;
        setup.freqStop = 20000;
        view = OpenVdlWnd(setup, c.name);
        if (!view) std::abort();
        // The view's record takes the display's receivers whenever the view moves.
        for (int r = 0; r < kReceivers; ++r) {
            theApp.m_viewOptions.front()->m_shown[r] = 1;
            theApp.m_display.receiverShown[size_t(r)] = 1;
        }
        view->PrepareRepaint();
        if (view->Raster().columns.size() != size_t(kReceivers)) std::abort();
    }
    ~View()
    {
        frame.Destroy();
        SetFrame(nullptr);
        SetHost(nullptr);
    }
};

void BareFrameReads(benchmark::State& state)
{
    CQtxFile in;
    if (!OkOrShow(in.OpenRead(Set().path))) std::abort();
    std::vector<float> buffer(size_t(kReceivers) * kSamples);
    for (auto _ : state)
        for (int frame = 0; frame < kFrames; ++frame) {
            if (!OkOrShow(in.ReadFrameItem(frame, 8, kReceivers, kSamples, buffer.data(), buffer.size())))
                return state.SkipWithError("read failed");
            benchmark::DoNotOptimize(buffer.data());
        }
    state.counters["frames"] = kFrames;
}

void ReadRenderAndPaint(benchmark::State& state, const char* domain)
{
    View v(domain);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    DeviceCaps caps;
    caps.horzRes = kWidth;
    caps.vertRes = kHeight;
    v.view->Render(); // buffers take their size
    const long long beforeRender = g_allocations.load();
    v.view->Render();
    state.counters["allocs/render"] = double(g_allocations.load() - beforeRender);
    const long long before = g_allocations.load();
    for (auto _ : state) {
        v.view->Render();
        QtDc dc(&image, caps);
        v.view->OnPaint(dc);
    }
    benchmark::DoNotOptimize(image.constBits());
    state.counters["frames"] = v.view->Item().framesRead;
    state.counters["rows"] = v.view->Raster().rowsDrawn;
    state.counters["allocs/paint"] = double(g_allocations.load() - before) / double(state.iterations());
}

void PaintOnly(benchmark::State& state)
{
    View v("Time");
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    DeviceCaps caps;
    for (auto _ : state) {
        QtDc dc(&image, caps);
        v.view->OnPaint(dc);
    }
    benchmark::DoNotOptimize(image.constBits());
}

// One step of `code` per iteration through the scroll handler and a paint, turning
// back at either end of the log; the median and p90 of the steps' times.
void Steps(benchmark::State& state, const char* domain, int code)
{
    View v(domain, ScrollSet(), 480); // the setup's own scale: 626 frames on a page of 751 rows
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    DeviceCaps caps;
    const int back = code == SB_LINEDOWN ? SB_LINEUP : SB_PAGEUP;
    int direction = code;
    std::vector<double> ms;
    int64_t reads = 0;
    for (auto _ : state) {
        const int before = v.view->FirstVisiblePosition();
        const auto start = std::chrono::steady_clock::now();
        v.view->OnVScroll(direction, 0);
        QtDc dc(&image, caps);
        v.view->OnPaint(dc);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        ms.push_back(seconds * 1e3);
        reads += v.view->Item().framesRead;
        if (v.view->FirstVisiblePosition() == before) direction = direction == code ? back : code;
        if (v.view->Raster().columns.size() != size_t(kReceivers)) std::abort();
    }
    benchmark::DoNotOptimize(image.constBits());
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p90_ms"] = ms[std::min(ms.size() - 1, ms.size() * 9 / 10)];
    state.counters["frames/step"] = double(reads) / double(state.iterations());
}

void VdlTimeLineStep(benchmark::State& state) { Steps(state, "Time", SB_LINEDOWN); }
void VdlFrequencyLineStep(benchmark::State& state) { Steps(state, "Frequency", SB_LINEDOWN); }
void VdlTimePageStep(benchmark::State& state) { Steps(state, "Time", SB_PAGEDOWN); }
void VdlFrequencyPageStep(benchmark::State& state) { Steps(state, "Frequency", SB_PAGEDOWN); }

void TimeDomain(benchmark::State& state) { ReadRenderAndPaint(state, "Time"); }
void FrequencyDomain(benchmark::State& state) { ReadRenderAndPaint(state, "Frequency"); }

} // namespace

BENCHMARK(BareFrameReads)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(TimeDomain)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(FrequencyDomain)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PaintOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(VdlTimeLineStep)->Name("VdlTime/LineStep")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(VdlFrequencyLineStep)->Name("VdlFrequency/LineStep")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(VdlTimePageStep)->Name("VdlTime/PageStep")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(VdlFrequencyPageStep)->Name("VdlFrequency/PageStep")->Unit(benchmark::kMillisecond)->UseManualTime();

int main(int argc, char** argv) { return bench::RunQtBenchmarks(argc, argv, {}, [] { Set(); }); }
