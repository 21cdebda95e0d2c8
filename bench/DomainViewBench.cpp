// Stepping a frequency-domain view through 1,000 frames of 13 receivers x 2,048
// samples: read, spectra and paint of each frame, beside the bare frame reads.
#include "BenchDataSet.h"
#include "app/ViewerApp.h"
#include "common/QtxFileDlg.h"
#include "dataset/QtxFile.h"
#include "platform/testing/ScriptedFrame.h"
#include "platform/testing/ScriptedHost.h"
#include "res/ResourceIds.h"
#include "viewers/DomainWnd.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

constexpr int kReceivers = 13;
constexpr int kSamples = 2048;
constexpr int kFrames = 1000;

// Draws nothing: the figure is the view's own work, not a rasteriser's.
class NullDc : public Dc {
public:
    Size GetTextExtent(const std::string&) override { return {}; }
    int GetDeviceCaps(int) const override { return 96; }

protected:
    void DoLine(Point, Point) override {}
    void DoPolyline(const Point*, int) override {}
    void DoPolygon(const Point*, int) override {}
    void DoRectangle(const Rect&) override {}
    void DoFillRect(const Rect&, Color) override {}
    void DoSetPixel(int, int, Color) override {}
    void DoTextOut(int, int, const std::string&) override {}
    void DoStretchImage(const Rect&, const Image&, const Rect&) override {}
    void DoClip(const Rect*) override {}
};

struct Fixture {
    std::string path = (std::filesystem::temp_directory_path() / "bronte-bench-domain.qtx").string();
    ScriptedHost host;
    ScriptedFrame frame;
    CDomainWnd* view = nullptr;

    Fixture()
    {
        std::vector<float> trace(size_t(kReceivers) * kSamples);
        for (size_t i = 0; i < trace.size(); ++i) trace[i] = float(std::sin(double(i) * 0.05));
        if (!bench::WriteWaveformQtx(path, 1, kReceivers, kSamples, kFrames, 4.0f, trace)) std::abort();

        SetHost(&host);
        SetFrame(&frame);
        frame.Create("bench", nullptr, nullptr);
        WindowClass c;
        c.name = "bench-domain";
        RegisterWindowClass(c);
        host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
        theApp.m_display.SetDefaults();
        view = new CDomainWnd;
        view->m_domain = kDomainFrequency;
        view->m_path = path;
        view->m_freqStart = 0;
        view->m_freqStop = 20000;
        view->m_windowId = 1;
        theApp.m_display.activeWindowId = 1;
        if (!view->Open("bench-domain")) std::abort();
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

void BareFrameReads(benchmark::State& state)
{
    Fixture& f = Get();
    CQtxFile in;
    in.OpenRead(f.path);
    std::vector<float> buffer(size_t(kReceivers) * kSamples);
    for (auto _ : state)
        for (int frame = 0; frame < kFrames; ++frame) {
            in.ReadFrameItem(frame, 8, kReceivers, kSamples, buffer.data(), buffer.size());
            benchmark::DoNotOptimize(buffer.data());
        }
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()) * kFrames, benchmark::Counter::kIsRate);
}

void ReadSpectraAndPaint(benchmark::State& state)
{
    Fixture& f = Get();
    NullDc dc;
    for (auto _ : state)
        for (int frame = 0; frame < kFrames; ++frame) {
            f.view->m_position = frame;
            f.view->OnPaint(dc);
        }
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()) * kFrames, benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BareFrameReads)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReadSpectraAndPaint)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
