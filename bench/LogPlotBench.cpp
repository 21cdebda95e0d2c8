// The log plot: one screen built, read and painted, and the whole log printed to a
// PDF file, each beside a plain read of the frames it involves. A log of four tracks
// over 10,000 ft (20,001 frames every 0.5 ft) at 1:240: two curves, a frequency image
// and a waveform drawn as VDL. The print runs again over 1,000 ft of the same log:
// its peak heap should not grow with the log's length.
//
// The steps a user waits for, at 1000 x 800 through the window's scroll handler and a
// paint into a Qt image (erased first when asked, as the host paints): a line step, a page
// step (each down the log, and back up from its end), and the first picture of a
// data set of about 1 GB; each with the median and p90 of single steps.
#include "app/ViewerApp.h"
#include "dataset/QtxFile.h"
#include "platform/qt/QtDc.h"
#include "platform/qt/QtPrintJob.h"
#include "platform/testing/ScriptedFrame.h"
#include "platform/testing/ScriptedHost.h"
#include "plot/PlotWnd.h"
#include "plot/PlotWndFactory.h"
#include "settings/SettingsStore.h"
#include "settings/LogSetupGroup.h"
#include "QtBenchMain.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <vector>

// Live heap bytes through operator new, and their peak: what the plot and the PDF
// writer hold at once (Qt's raw mallocs are not seen).
namespace {
std::atomic<long long> g_live{0}, g_peak{0};
void Count(void* p)
{
    const long long size = static_cast<long long>(malloc_usable_size(p));
    const long long now = g_live.fetch_add(size) + size;
    long long peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
}
} // namespace

void* operator new(std::size_t size)
{
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    Count(p);
    return p;
}
void operator delete(void* p) noexcept
{
    if (p) g_live.fetch_sub(static_cast<long long>(malloc_usable_size(p)));
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

constexpr double kTop = 5000.0, kStep = 0.5;
constexpr int kLongFrames = 20001, kShortFrames = 2001; // 10,000 ft and 1,000 ft
constexpr int kReceivers = 4, kSamples = 512, kImageTraces = 2, kImageSamples = 128;
constexpr int kWidth = 1280, kHeight = 900;
constexpr int kStepWidth = 1000, kStepHeight = 800;
constexpr int kHugeFrames = 116000; // 1.07 GB of 9,232-byte frames

std::string TempPath(const char* suffix)
{
    char name[96];
    std::snprintf(name, sizeof name, "bronte-bench-log-%d%s", int(::getpid()), suffix);
    return (std::filesystem::temp_directory_path() / name).string();
}

// GR and DT, the waveforms (4 x 512 at 10 us) and the frequency image (2 x 128 at 20 us).
bool WriteLog(const std::string& path, int frames, double step = kStep)
{
    CQtxFile f;
    CQtxDescriptorList list;
    if (!OkOrShow(f.OpenWrite(path)) || !OkOrShow(f.AddDatum(list, "GR", 250, 1, 6, 1, 0xFF, 1, 1, 0))
        || !OkOrShow(f.AddDatum(list, "DT", 251, 1, 6, 1, 0xFF, 1, 1, 0))
        || !OkOrShow(f.AddDatum(list, "WMNO", 1, 1, 1, kReceivers, 1, 10.0f, kSamples, 0))
        || !OkOrShow(f.AddDatum(list, "IFMN", 158, 1, 1, kImageTraces, 1, 20.0f, kImageSamples, 0)))
        return false;
    QtxFileHeader header = f.Header();
    header.depthStep = step;
    std::fill(std::begin(header.history), std::end(header.history), ' ');
    f.SetHeader(header);
    if (!OkOrShow(f.WriteHeader()) || !OkOrShow(f.WriteDescriptors(list))) return false;
    std::vector<float> wave(size_t(kReceivers) * kSamples), image(size_t(kImageTraces) * kImageSamples);
    for (int k = 0; k < frames; ++k) {
        const double depth = kTop + step * k;
        const double slow = 1 + 0.2 * std::sin(depth / 25.0);
        for (int r = 0; r < kReceivers; ++r)
            for (int s = 0; s < kSamples; ++s) {
                const double t = s * 10.0 - (600 + 100 * r) * slow;
                wave[size_t(r * kSamples + s)] = t < 0 ? 0.0f : float(std::exp(-t / 600) * std::sin(t / 40));
            }
        for (size_t i = 0; i < image.size(); ++i)
            image[i] = float(1500 + 800 * std::sin(double(i) * 0.05 + depth / 30));
        const float curves[2] = {float(60 + 40 * std::sin(depth / 13)), float(90 + 25 * std::sin(depth / 21))};
        if (!OkOrShow(f.WriteDepth(&depth))) return false;
        if (!OkOrShow(f.WriteData(curves, 2))) return false;
        if (!OkOrShow(f.WriteData(wave.data(), int(wave.size())))) return false;
        if (!OkOrShow(f.WriteData(image.data(), int(image.size())))) return false;
    }
    return OkOrShow(f.Finalize()) == 1;
}

std::shared_ptr<CLogPlotItem> Item(const std::string& path, int frames, const char* name, uint16_t domain,
                                   uint8_t type, int track, float left, float right, int samples, float interval,
                                   double step)
{
    auto item = std::make_shared<CLogPlotItem>(CLogPlotItem::NewItemDefaults());
    item->m_strName = item->m_datum.currentName = name;
    item->m_file.path = path;
    item->m_datum.domain = domain;
    item->m_datum.itemType = type;
    item->m_scale.track = int16_t(track);
    item->m_scale.leftLimit = left;
    item->m_scale.rightLimit = right;
    item->m_datum.sampleCount = int16_t(samples);
    item->m_datum.sampleInterval = interval;
    item->m_scale.startDepth = kTop;
    item->m_scale.stopDepth = kTop + step * (frames - 1);
    item->m_scale.frequencyImage = type == 158;
    item->m_scale.freqMin = 700.0f;
    item->m_scale.freqMax = 2300.0f;
    return item;
}

// The Log Setup of the benchmark's log: four tracks of 2 inches.
LogSetupGroup Setup(const std::string& path, int frames, double step = kStep)
{
    LogSetupGroup s;
    s.SetDefaults();
    s.depthScale = 240.0f;
    s.depthUnits = "Feet";
    s.trackWidth = {2, 2, 2, 2};
    s.header = "Benchmark";
    s.plotItems = {Item(path, frames, "GR", kPlotCurve, 250, 1, 0, 150, 1, 1, step),
                   Item(path, frames, "DT", kPlotCurve, 251, 1, 140, 40, 1, 1, step),
                   Item(path, frames, "WMNO", kPlotTime, 1, 2, 0, 5110, kSamples, 10, step),
                   Item(path, frames, "IFMN", kPlotTime, 158, 3, 0, 2540, kImageSamples, 20, step)};
    return s;
}

class PdfHost : public ScriptedHost {
public:
    std::string pdfPath;
    std::unique_ptr<IPrintJob> CreatePrintJob(const std::string&) override
    {
        return CreatePdfPrintJob(pdfPath, PrinterPage());
    }
};

struct Log {
    std::string path;
    int frames;
    double step; // the 1 GB log steps finer, to end within the plot's depths
    explicit Log(int n)
        : path(TempPath(n == kLongFrames ? "-long.qtx" : n == kHugeFrames ? "-huge.qtx" : "-short.qtx")), frames(n),
          step(n == kHugeFrames ? 0.25 : kStep)
    {
        if (!WriteLog(path, n, step)) std::abort();
    }
    ~Log() { std::filesystem::remove(path); }
};
std::unique_ptr<Log> g_long, g_short, g_huge;

struct Shell {
    PdfHost host;
    ScriptedFrame frame;
    std::string windowClass = "bench-log";
    explicit Shell(Size client = {kWidth, kHeight})
    {
        SetHost(&host);
        SetFrame(&frame);
        frame.childClientSize = client;
        frame.Create("bench", nullptr, nullptr);
        WindowClass c;
        c.name = windowClass;
        c.style = CS_DBLCLKS;
        RegisterWindowClass(c);
        theApp.m_display.SetDefaults();
    }
    ~Shell()
    {
        frame.Destroy();
        SetFrame(nullptr);
        SetHost(nullptr);
    }
};

// The frames whose depths one screen shows, read whole, in order.
void ReadFrames(benchmark::State& state, const Log& log, int frames)
{
    CQtxFile file;
    if (!OkOrShow(file.OpenRead(log.path))) state.SkipWithError("no data set");
    const uint64_t size = file.GetFrameSize();
    std::vector<float> buffer(size / sizeof(float));
    for (auto _ : state) {
        for (int k = 0; k < frames; ++k)
            if (!file.ReadFrameItemShared(k, 0, 1, int(buffer.size()), buffer.data(), buffer.size()))
                state.SkipWithError("short read");
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * frames * int64_t(size));
    state.counters["frames"] = frames;
}

// At 96 rows an inch and 1:240 a row spans 0.2083 ft; the window's rows below the
// headers reach that many frames, and one more.
int ScreenFrames(int rows) { return int(std::ceil(rows * 25.4 / 96 * 240 / 304.8 / kStep)) + 1; }

void BM_ReadScreenFrames(benchmark::State& state)
{
    Shell shell;
    CPlotWnd* plot = OpenPlotWnd(Setup(g_long->path, g_long->frames), shell.windowClass);
    const int rows = plot ? plot->Depths().rows : 0;
    if (plot) plot->OnClose();
    ReadFrames(state, *g_long, ScreenFrames(rows));
}

void BM_BuildReadAndPaintScreen(benchmark::State& state)
{
    Shell shell;
    const LogSetupGroup setup = Setup(g_long->path, g_long->frames);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    DeviceCaps caps;
    caps.horzRes = kWidth;
    caps.vertRes = kHeight;
    g_peak = g_live.load();
    const long long before = g_live.load();
    int rows = 0;
    for (auto _ : state) {
        CPlotWnd* plot = OpenPlotWnd(setup, shell.windowClass);
        if (!plot) {
            state.SkipWithError("no plot");
            break;
        }
        {
            QtDc dc(&image, caps);
            plot->OnPaint(dc);
        }
        rows = plot->Band().rows;
        plot->OnClose();
    }
    benchmark::DoNotOptimize(image.constBits());
    state.counters["rows"] = rows;
    state.counters["peak_heap_MB"] = double(g_peak.load() - before) / 1048576.0;
}

void BM_PaintScreenAgain(benchmark::State& state)
{
    Shell shell;
    CPlotWnd* plot = OpenPlotWnd(Setup(g_long->path, g_long->frames), shell.windowClass);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    DeviceCaps caps;
    caps.horzRes = kWidth;
    caps.vertRes = kHeight;
    for (auto _ : state) {
        QtDc dc(&image, caps);
        plot->OnPaint(dc);
    }
    benchmark::DoNotOptimize(image.constBits());
    plot->OnClose();
}

void BM_ReadAllFrames(benchmark::State& state)
{
    const Log& log = state.range(0) == kLongFrames ? *g_long : *g_short;
    ReadFrames(state, log, log.frames);
}

void BM_PrintPdf(benchmark::State& state)
{
    const Log& log = state.range(0) == kLongFrames ? *g_long : *g_short;
    Shell shell;
    shell.host.pdfPath = TempPath(".pdf");
    shell.host.onUnexpected = [&state](const std::string& what) { state.SkipWithError(what.c_str()); };
    // A4 at 300 dpi holds tracks of 6.98 inches: the 8 are shrunk.
    shell.host.ExpectMessage("Would you like to perform automatic rescaling?", IDYES);
    const LogSetupGroup setup = Setup(log.path, log.frames);
    g_peak = g_live.load();
    const long long before = g_live.load();
    for (auto _ : state) {
        if (!PrintPlot(setup)) state.SkipWithError("not printed");
        state.PauseTiming();
        shell.host.ExpectMessage("Would you like to perform automatic rescaling?", IDYES);
        state.ResumeTiming();
    }
    state.counters["peak_heap_MB"] = double(g_peak.load() - before) / 1048576.0;
    state.counters["pdf_MB"] = double(std::filesystem::file_size(shell.host.pdfPath)) / 1048576.0;
    std::filesystem::remove(shell.host.pdfPath);
}

// ---- steps ------------------------------------------------------------------------------------

double Percentile(std::vector<double> v, double p)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(std::ceil(p * double(v.size()))) - (p > 0 ? 1 : 0))];
}

// A window of the long log whose paints go into a Qt image; the scripted host's own
// recording paint is held off (its window counts as minimised), so a step is the
// handler and one paint, as on screen.
struct StepWindow {
    Shell shell{{kStepWidth, kStepHeight}};
    CPlotWnd* plot = nullptr;
    ScriptedWindow* impl = nullptr;
    QImage image{kStepWidth, kStepHeight, QImage::Format_RGB32};
    DeviceCaps caps;
    explicit StepWindow(const Log& log)
    {
        caps.horzRes = kStepWidth;
        caps.vertRes = kStepHeight;
        plot = OpenPlotWnd(Setup(log.path, log.frames, log.step), shell.windowClass);
        impl = plot ? shell.frame.WindowOf(*plot) : nullptr;
        if (impl) impl->iconic = true;
        if (plot) Paint();
    }
    ~StepWindow()
    {
        if (plot) plot->OnClose();
    }
    // As the host paints: erasing first when the window asked for it.
    void Paint()
    {
        const bool erase = !impl || impl->eraseRequested;
        if (impl) impl->eraseRequested = impl->invalid = false;
        QtDc dc(&image, caps);
        plot->DispatchPaint(dc, erase);
    }
};

void Steps(benchmark::State& state, int down, int up, bool fromTheEnd = false)
{
    StepWindow w(*g_long);
    if (!w.plot) {
        state.SkipWithError("no plot");
        return;
    }
    if (fromTheEnd) {
        w.plot->OnKeyDown(VK_END, 1, 0);
        w.Paint();
    }
    std::vector<double> ms;
    bool goingDown = true;
    for (auto _ : state) {
        const int before = w.plot->Depths().scroll.pos;
        const auto start = std::chrono::steady_clock::now();
        w.plot->OnVScroll(goingDown ? down : up, 0);
        w.Paint();
        const auto stop = std::chrono::steady_clock::now();
        const double seconds = std::chrono::duration<double>(stop - start).count();
        state.SetIterationTime(seconds);
        ms.push_back(seconds * 1e3);
        // At either end the steps turn back.
        if (w.plot->Depths().scroll.pos == before) goingDown = !goingDown;
    }
    benchmark::DoNotOptimize(w.image.constBits());
    state.counters["p50_ms"] = Percentile(ms, 0.5);
    state.counters["p90_ms"] = Percentile(ms, 0.9);
    state.counters["rows"] = w.plot->Band().rows;
}

void BM_LogPlotLineStep(benchmark::State& state) { Steps(state, SB_LINEDOWN, SB_LINEUP); }
// Up the log: the rows that come into view are walked from a few frames above them.
void BM_LogPlotLineStepUp(benchmark::State& state) { Steps(state, SB_LINEUP, SB_LINEDOWN, true); }
void BM_LogPlotPageStep(benchmark::State& state) { Steps(state, SB_PAGEDOWN, SB_PAGEUP); }

void BM_LogPlotFirstPicture(benchmark::State& state)
{
    if (!g_huge) g_huge = std::make_unique<Log>(kHugeFrames);
    std::vector<double> ms;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        auto w = std::make_unique<StepWindow>(*g_huge);
        const auto stop = std::chrono::steady_clock::now();
        if (!w->plot) {
            const auto& shown = w->shell.host.Messages();
            state.SkipWithError(shown.empty() ? "no plot" : shown.back().text.c_str());
            break;
        }
        const double seconds = std::chrono::duration<double>(stop - start).count();
        state.SetIterationTime(seconds);
        ms.push_back(seconds * 1e3);
        state.PauseTiming();
        w.reset();
        state.ResumeTiming();
    }
    state.counters["p50_ms"] = Percentile(ms, 0.5);
    state.counters["p90_ms"] = Percentile(ms, 0.9);
    state.counters["data_set_GB"] = double(std::filesystem::file_size(g_huge->path)) / 1e9;
}

} // namespace

BENCHMARK(BM_LogPlotLineStep)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2000);
BENCHMARK(BM_LogPlotLineStepUp)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2000);
BENCHMARK(BM_LogPlotPageStep)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(300);
BENCHMARK(BM_LogPlotFirstPicture)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(30);
BENCHMARK(BM_ReadScreenFrames)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BuildReadAndPaintScreen)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PaintScreenAgain)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadAllFrames)->Arg(kShortFrames)->Arg(kLongFrames)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PrintPdf)
    ->Arg(kShortFrames)
    ->Arg(kLongFrames)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

int main(int argc, char** argv)
{
    return bench::RunQtBenchmarks(
        argc, argv,
        [] {
            g_long = std::make_unique<Log>(kLongFrames);
            g_short = std::make_unique<Log>(kShortFrames);
        },
        [] {
            g_long.reset();
            g_short.reset();
            g_huge.reset();
        });
}
