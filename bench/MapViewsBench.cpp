// The semblance map and the frequency-slowness cross-plot stepping through their logs
// in a 1000 x 800 window: each frame read, rendered into the view's image and painted
// into a Qt image of the window's size (offscreen). Beside each the bare reads of the
// same frames, the physical floor of showing them, and the paint alone (the blit and
// the annotations of a frame already rendered). The cross-plot's step rows move it a
// frame at a time through its scroll handler in a real Qt window, painted offscreen,
// as a user waits for it (median and p90 of the steps).
//   map:        200 frames of one 256 x 256 semblance map (256 KB a frame)
//   cross-plot: 2,000 frames of a slowness and a frequency curve, 8 receivers x 512
//               samples each (32 KB a frame)
#include "common/QtxFileDlg.h"
#include "dataset/QtxFile.h"
#include "platform/qt/QtChildView.h"
#include "platform/qt/QtDc.h"
#include "platform/qt/QtFrame.h"
#include "platform/testing/ScriptedFrame.h"
#include "platform/testing/ScriptedHost.h"
#include "res/QtxFileDlgIds.h"
#include "settings/SettingsStore.h"
#include "settings/SemblanceMapSetupGroup.h"
#include "settings/XPlotSetupGroup.h"
#include "viewers/FreqSlowXplotWnd.h"
#include "viewers/FreqSlowXplotWndFactory.h"
#include "viewers/SemblanceMapWnd.h"
#include "viewers/SemblanceMapWndFactory.h"
#include "viewers/ViewOptions.h"

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kWidth = 1000, kHeight = 800;
constexpr int kMapFrames = 200, kMapSize = 256;
constexpr int kPlotFrames = 2000, kReceivers = 8, kSamples = 512;

std::string TempPath(const char* name)
{
    return (std::filesystem::temp_directory_path() / (std::string("bronte-bench-") + name + "-"
                                                      + std::to_string(::getpid()) + ".qtx"))
        .string();
}

// Writes `frames` frames of the datums laid out in `list`, each frame's floats from `values`.
bool WriteFrames(CQtxFile& out, const CQtxDescriptorList& list, int frames,
                 const std::vector<float>& values)
{
    QtxFileHeader header = out.Header();
    header.depthStep = 0.5;
    std::fill(std::begin(header.history), std::end(header.history), ' ');
    out.SetHeader(header);
    if (!OkOrShow(out.WriteHeader()) || !OkOrShow(out.WriteDescriptors(list))) return false;
    for (int f = 0; f < frames; ++f) {
        const double depth = 1000.0 + 0.5 * f;
        if (!OkOrShow(out.WriteDepth(&depth))) return false;
        // A little change from frame to frame, so that no frame is the one before.
        std::vector<float> scaled(values.size());
        for (size_t i = 0; i < values.size(); ++i) scaled[i] = values[i] * (1.0f + 0.001f * float(f % 7));
        for (size_t start = 0; start < values.size(); start += qtx::kDataBufferFloats) {
            const size_t n = std::min<size_t>(qtx::kDataBufferFloats, values.size() - start);
            if (!OkOrShow(out.WriteData(scaled.data() + start, int(n)))) return false;
        }
    }
    return OkOrShow(out.Finalize()) == 1;
}

struct DataSets {
    std::string map = TempPath("map"), plot = TempPath("xplot");
    DataSets()
    {
        // A semblance map: two coherent arrivals, each a ridge across time and slowness.
        std::vector<float> values(size_t(kMapSize) * kMapSize);
        for (int j = 0; j < kMapSize; ++j)
            for (int k = 0; k < kMapSize; ++k) {
                double v = 0;
                for (const auto& [t, s] : {std::pair{60.0, 40.0}, std::pair{150.0, 120.0}})
                    v += std::exp(-((j - t) * (j - t) / 200.0 + (k - s) * (k - s) / 80.0));
                values[size_t(j) * kMapSize + size_t(k)] = float(v);
            }
        CQtxFile mapOut;
        CQtxDescriptorList mapList;
        if (!OkOrShow(mapOut.OpenWrite(map))
            || !OkOrShow(mapOut.AddTwoAxisDatum(mapList, "SMNO", 60, 2, kCategorySemblanceMap, 1,
                                                kUnitMicrosecondsPerFoot, 2.0f, kMapSize, 20, kUnitMicroseconds,
                                                20.0f, kMapSize, 0))
            || !WriteFrames(mapOut, mapList, kMapFrames, values))
            std::abort();

        // The pair: slowness and frequency picks of every receiver, a zero now and then.
        std::vector<float> pair(size_t(2) * kReceivers * kSamples);
        for (int r = 0; r < kReceivers; ++r)
            for (int i = 0; i < kSamples; ++i) {
                const size_t at = size_t(r) * kSamples + size_t(i);
                const bool pick = i % 17 != 0;
                pair[at] = pick ? float(120 + 80 * std::sin(i * 0.02 + r)) + 150 : 0.0f;
                pair[size_t(kReceivers) * kSamples + at] = pick ? float(2000 + 1500 * std::cos(i * 0.013 + r)) : 0.0f;
            }
        CQtxFile plotOut;
        CQtxDescriptorList plotList;
        if (!OkOrShow(plotOut.OpenWrite(plot))
            || !OkOrShow(plotOut.AddDatum(plotList, "ISMN", 164, 1, kCategoryWaveform, kReceivers,
                                          kUnitMicroseconds, 4.0f, kSamples, 0))
            || !OkOrShow(plotOut.AddDatum(plotList, "IFMN", 158, 1, kCategoryWaveform, kReceivers,
                                          kUnitMicroseconds, 4.0f, kSamples, 0))
            || !WriteFrames(plotOut, plotList, kPlotFrames, pair))
            std::abort();
    }
    ~DataSets()
    {
        std::filesystem::remove(map);
        std::filesystem::remove(plot);
    }
};

DataSets& Sets()
{
    static DataSets sets;
    return sets;
}

// A scripted host and frame of the benchmark's window size.
struct Shell {
    ScriptedHost host;
    ScriptedFrame frame;
    WindowClass windowClass;
    Shell()
    {
        SetHost(&host);
        SetFrame(&frame);
        frame.Create("bench", nullptr, nullptr);
        frame.childClientSize = {kWidth, kHeight};
        windowClass.name = "bench-view";
        RegisterWindowClass(windowClass);
        theApp.m_display.SetDefaults();
    }
    ~Shell()
    {
        frame.Destroy();
        SetFrame(nullptr);
        SetHost(nullptr);
    }
};

CSemblanceMapWnd* OpenMap(Shell& shell)
{
    shell.host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
    SemblanceMapSetupGroup setup;
    setup.SetDefaults();
    setup.path = Sets().map;
    setup.topDepth = 1000;
    setup.timeStart = 0, setup.timeStop = 20.0f * kMapSize; // the whole map
    setup.slowMin = 0, setup.slowMax = 2000;
    CSemblanceMapWnd* view = OpenSemblanceMapWnd(setup, shell.windowClass.name);
    if (!view) std::abort();
    return view;
}

CFreqSlowXplotWnd* OpenPlot(const std::string& windowClass)
{
    XPlotSetupGroup setup;
    setup.SetDefaults();
    setup.path = Sets().plot;
    setup.topDepth = 1000;
    setup.freqMin = 0, setup.freqMax = 5000, setup.slowMin = 40, setup.slowMax = 440;
    setup.datums.datumCount = 2;
    setup.datums.selected[0] = setup.datums.selected[1] = 1;
    CFreqSlowXplotWnd* view = OpenFreqSlowXplotWnd(setup, windowClass);
    if (!view) std::abort();
    // The view's record takes the display's receivers whenever the view moves.
    for (int r = 0; r < kReceivers; ++r) {
        theApp.m_viewOptions.front()->m_shown[r] = 1;
        theApp.m_display.receiverShown[size_t(r)] = 1;
    }
    view->PrepareRepaint();
    return view;
}

void BareMapReads(benchmark::State& state)
{
    CQtxFile in;
    if (!OkOrShow(in.OpenRead(Sets().map))) std::abort();
    std::vector<float> buffer(size_t(kMapSize) * kMapSize);
    for (auto _ : state)
        for (int frame = 0; frame < kMapFrames; ++frame) {
            if (!OkOrShow(in.ReadFrameItem(frame, 8, kMapSize, kMapSize, buffer.data(), buffer.size())))
                return state.SkipWithError("read failed");
            benchmark::DoNotOptimize(buffer.data());
        }
    state.counters["frames/s"] = benchmark::Counter(double(kMapFrames), benchmark::Counter::kIsIterationInvariantRate);
}

// Frame by frame down the log: read, render, paint.
void MapFrames(benchmark::State& state)
{
    Shell shell;
    CSemblanceMapWnd* view = OpenMap(shell);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    DeviceCaps caps;
    for (auto _ : state)
        for (int frame = 0; frame < kMapFrames; ++frame) {
            view->ReadFrameAt(frame);
            view->Render();
            QtDc dc(&image, caps);
            view->OnPaint(dc);
        }
    benchmark::DoNotOptimize(image.constBits());
    state.counters["frames/s"] = benchmark::Counter(double(kMapFrames), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["image"] = double(view->Item().image.width) * view->Item().image.height;
}

void MapPaintOnly(benchmark::State& state)
{
    Shell shell;
    CSemblanceMapWnd* view = OpenMap(shell);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    DeviceCaps caps;
    for (auto _ : state)
        for (int frame = 0; frame < kMapFrames; ++frame) {
            QtDc dc(&image, caps);
            view->OnPaint(dc);
        }
    benchmark::DoNotOptimize(image.constBits());
}

void BarePlotReads(benchmark::State& state)
{
    CQtxFile in;
    if (!OkOrShow(in.OpenRead(Sets().plot))) std::abort();
    const size_t floats = size_t(kReceivers) * kSamples;
    std::vector<float> slowness(floats), frequency(floats);
    for (auto _ : state)
        for (int frame = 0; frame < kPlotFrames; ++frame) {
            if (!OkOrShow(in.ReadFrameItem(frame, 8, kReceivers, kSamples, slowness.data(), floats)))
                return state.SkipWithError("read failed");
            if (!OkOrShow(in.ReadFrameItem(frame, 8 + int64_t(floats) * 4, kReceivers, kSamples, frequency.data(), floats)))
                return state.SkipWithError("read failed");
            benchmark::DoNotOptimize(slowness.data());
            benchmark::DoNotOptimize(frequency.data());
        }
    state.counters["frames/s"] = benchmark::Counter(double(kPlotFrames), benchmark::Counter::kIsIterationInvariantRate);
}

void PlotFrames(benchmark::State& state)
{
    Shell shell;
    CFreqSlowXplotWnd* view = OpenPlot(shell.windowClass.name);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    DeviceCaps caps;
    for (auto _ : state)
        for (int frame = 0; frame < kPlotFrames; ++frame) {
            view->ReadFrameAt(frame);
            view->Render();
            QtDc dc(&image, caps);
            view->OnPaint(dc);
        }
    benchmark::DoNotOptimize(image.constBits());
    state.counters["frames/s"] = benchmark::Counter(double(kPlotFrames), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["points"] = view->PointsDrawn();
}

void PlotPaintOnly(benchmark::State& state)
{
    Shell shell;
    CFreqSlowXplotWnd* view = OpenPlot(shell.windowClass.name);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    DeviceCaps caps;
    for (auto _ : state)
        for (int frame = 0; frame < kPlotFrames; ++frame) {
            QtDc dc(&image, caps);
            view->OnPaint(dc);
        }
    benchmark::DoNotOptimize(image.constBits());
}

// Frame steps of `code` (a line or a page) through the scroll handler of a view in a
// Qt window, each painted into the window's backing image; turning back at the ends.
void CrossPlotSteps(benchmark::State& state, int code)
{
    ScriptedHost host;
    QtFrame frame;
    SetHost(&host);
    SetFrame(&frame);
    if (!frame.Create("bench", nullptr, nullptr)) std::abort();
    WindowClass windowClass;
    windowClass.name = "bench-qt-view";
    RegisterWindowClass(windowClass);
    theApp.m_display.SetDefaults();
    CFreqSlowXplotWnd* view = OpenPlot(windowClass.name);
    auto* qt = dynamic_cast<QtChildView*>(view->Impl());
    if (!qt) std::abort();
    qt->client->resize(kWidth, kHeight);
    StoreViewOptions();
    qt->RenderBacking();
    const int back = code == SB_LINEDOWN ? SB_LINEUP : SB_PAGEUP;
    int direction = code;
    std::vector<double> ms;
    for (auto _ : state) {
        const int before = view->Frames().Frame();
        const auto start = std::chrono::steady_clock::now();
        view->OnVScroll(direction, 0);
        qt->RenderBacking();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        ms.push_back(seconds * 1e3);
        if (view->Frames().Frame() == before) direction = direction == code ? back : code;
    }
    benchmark::DoNotOptimize(qt->Backing().constBits());
    if (view->PointsDrawn() < kReceivers) std::abort();
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p90_ms"] = ms[std::min(ms.size() - 1, ms.size() * 9 / 10)];
    view->OnClose();
    frame.Destroy();
    SetFrame(nullptr);
    SetHost(nullptr);
}

void CrossPlotLineStep(benchmark::State& state) { CrossPlotSteps(state, SB_LINEDOWN); }
void CrossPlotPageStep(benchmark::State& state) { CrossPlotSteps(state, SB_PAGEDOWN); }

} // namespace

BENCHMARK(BareMapReads)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(MapFrames)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(MapPaintOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BarePlotReads)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PlotFrames)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PlotPaintOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CrossPlotLineStep)->Name("CrossPlot/LineStep")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(CrossPlotPageStep)->Name("CrossPlot/PageStep")->Unit(benchmark::kMillisecond)->UseManualTime();

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv); // the step rows' windows are widgets
    InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Sets();
    return 0;
}
