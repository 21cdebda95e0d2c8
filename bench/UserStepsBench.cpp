// What a user waits for, view by view, in a 1000 x 800 window: one line step and one
// page step down (or up, at the end of the log) through the view's own scroll handler,
// as the frame calls it, with the synchronous repaint into a Qt image of the window's
// size (offscreen); and the first picture, the view opened on a data set of about 1 GB
// (as its setup's Run opens it) and painted once. Each step is timed on its own; the
// rows report the median and the 90th percentile of the steps.
//
// The data sets are written once into the temporary folder and kept for the next runs
// (delete bronte-bench-user-steps-*.qtx there to make them again):
//   waves: GR and DT, a waveform of 8 receivers x 512 samples at 10 us and a frequency
//          image of 2 x 128, every 0.5 ft (the domain, VDL, log plot and processing views)
//   maps:  a 256 x 256 semblance map and a slowness and a frequency curve of 8 x 512
//          (the semblance map and the cross-plot)
//   wide:  a waveform of 13 receivers x 2,048 samples at 10 us, every 0.5 ft (the
//          domain view as users meet it, all 13 receivers shown: Domain13x2048)
//
// The processing windows' first pictures are also timed in a fresh process each
// (FirstPictureFresh): the program's first view opened, with no pool thread started and
// no font or glyph loaded by an earlier one.
#include "BenchDataSet.h"
#include "common/QtxFileDlg.h"
#include "dataset/QtxFile.h"
#include "platform/BinaryFile.h"
#include "platform/qt/QtDc.h"
#include "platform/testing/ScriptedFrame.h"
#include "platform/testing/ScriptedHost.h"
#include "plot/PlotWnd.h"
#include "plot/PlotWndFactory.h"
#include "processing/ProfileWnd.h"
#include "processing/ProfileWndFactory.h"
#include "processing/TimeFrequencyWnd.h"
#include "res/ResourceIds.h"
#include "settings/SettingsStore.h"
#include "viewers/DomainWnd.h"
#include "viewers/DomainWndFactory.h"
#include "viewers/FreqSlowXplotWnd.h"
#include "viewers/FreqSlowXplotWndFactory.h"
#include "viewers/SemblanceMapWnd.h"
#include "viewers/SemblanceMapWndFactory.h"
#include "viewers/VdlWnd.h"
#include "viewers/VdlWndFactory.h"
#include "viewers/ViewOptions.h"
#include "QtBenchMain.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr int kWidth = 1000, kHeight = 800;
constexpr int kReceivers = 8, kSamples = 512, kImageTraces = 2, kImageSamples = 128, kMapSize = 256;
constexpr int kWideReceivers = 13, kWideSamples = 2048;
constexpr float kSampleStep = 10.0f; // us
constexpr double kTop = 1000.0, kDepthStep = 0.5;
constexpr int64_t kDataSetBytes = int64_t(1) << 30;
constexpr int kStepRepetitions = 40, kOpenRepetitions = 10;

std::string TempPath(const char* name)
{
    return (std::filesystem::temp_directory_path() / (std::string("bronte-bench-user-steps-") + name + ".qtx")).string();
}

// ---- the data sets ----------------------------------------------------------------------------

// Compressional, shear and Stoneley arrivals moving out across the receivers.
std::vector<float> Waveforms(int receivers = kReceivers, int samples = kSamples)
{
    std::vector<float> frame(size_t(receivers) * size_t(samples));
    for (int r = 0; r < receivers; ++r)
        for (int i = 0; i < samples; ++i) {
            const double t = i * double(kSampleStep);
            double v = bench::Arrivals(r, t);
            frame[size_t(r) * size_t(samples) + size_t(i)] = float(v);
        }
    return frame;
}

std::vector<float> WideFrame() { return Waveforms(kWideReceivers, kWideSamples); }

// The waves data set's frame: GR, DT, the waveforms and the frequency image.
std::vector<float> WavesFrame()
{
    std::vector<float> frame{60.0f, 90.0f};
    const std::vector<float> waves = Waveforms();
    frame.insert(frame.end(), waves.begin(), waves.end());
    for (int i = 0; i < kImageTraces * kImageSamples; ++i) frame.push_back(float(1500 + 800 * std::sin(i * 0.05)));
    return frame;
}

// The maps data set's frame: two coherent arrivals, each a ridge across time and
// slowness, then the slowness and frequency picks of every receiver, a zero now and then.
std::vector<float> MapsFrame()
{
    std::vector<float> frame(size_t(kMapSize) * kMapSize + size_t(2) * kReceivers * kSamples);
    for (int j = 0; j < kMapSize; ++j)
        for (int k = 0; k < kMapSize; ++k) {
            double v = 0;
            for (const auto& [t, s] : {std::pair{60.0, 40.0}, std::pair{150.0, 120.0}})
                v += std::exp(-((j - t) * (j - t) / 200.0 + (k - s) * (k - s) / 80.0));
            frame[size_t(j) * kMapSize + size_t(k)] = float(v);
        }
    float* pair = frame.data() + size_t(kMapSize) * kMapSize;
    for (int r = 0; r < kReceivers; ++r)
        for (int i = 0; i < kSamples; ++i) {
            const size_t at = size_t(r) * kSamples + size_t(i);
            const bool pick = i % 17 != 0;
            pair[at] = pick ? float(120 + 80 * std::sin(i * 0.02 + r)) + 150 : 0.0f;
            pair[size_t(kReceivers) * kSamples + at] = pick ? float(2000 + 1500 * std::cos(i * 0.013 + r)) : 0.0f;
        }
    return frame;
}

bool AddWavesDatums(CQtxFile& out, CQtxDescriptorList& list)
{
    return OkOrShow(out.AddDatum(list, "GR", 250, 1, kCategoryTrace, 1, kUnitNone, 1, 1, 0))
           && OkOrShow(out.AddDatum(list, "DT", 251, 1, kCategoryTrace, 1, kUnitNone, 1, 1, 0))
           && OkOrShow(out.AddDatum(list, "WMNO", 1, 1, kCategoryWaveform, kReceivers, kUnitMicroseconds,
                                    kSampleStep, kSamples, 0))
           && OkOrShow(out.AddDatum(list, "IFMN", 158, 1, kCategoryWaveform, kImageTraces, kUnitMicroseconds,
                                    2 * kSampleStep, kImageSamples, 0));
}

bool AddWideDatums(CQtxFile& out, CQtxDescriptorList& list)
{
    return OkOrShow(out.AddDatum(list, "WMNO", 1, 1, kCategoryWaveform, kWideReceivers, kUnitMicroseconds,
                                 kSampleStep, kWideSamples, 0));
}

bool AddMapsDatums(CQtxFile& out, CQtxDescriptorList& list)
{
    return OkOrShow(out.AddTwoAxisDatum(list, "SMNO", 60, 2, kCategorySemblanceMap, 1, kUnitMicrosecondsPerFoot,
                                        2.0f, kMapSize, 20, kUnitMicroseconds, 20.0f, kMapSize, 0))
           && OkOrShow(out.AddDatum(list, "ISMN", 164, 1, kCategoryWaveform, kReceivers, kUnitMicroseconds, 4.0f,
                                    kSamples, 0))
           && OkOrShow(out.AddDatum(list, "IFMN", 158, 1, kCategoryWaveform, kReceivers, kUnitMicroseconds, 4.0f,
                                    kSamples, 0));
}

struct DataSet {
    std::string path;
    int frames = 0;
};

// The data set at `name` in the temporary folder, of about kDataSetBytes: kept from an
// earlier run when it is whole, else written under a temporary name and renamed.
DataSet MakeDataSet(const char* name, bool (*addDatums)(CQtxFile&, CQtxDescriptorList&), std::vector<float> (*values)())
{
    const std::vector<float> frame = values();
    DataSet set{TempPath(name), bench::FramesFor(kDataSetBytes, 1, int(frame.size()))};
    {
        CQtxFile in;
        if (OkOrShow(in.OpenRead(set.path)) && int64_t(in.GetFrameCount()) == set.frames) return set;
    }
    std::fprintf(stderr, "writing %s (%d frames)\n", set.path.c_str(), set.frames);
    const std::string partial = set.path + ".partial";
    CQtxFile out;
    CQtxDescriptorList list;
    if (!OkOrShow(out.OpenWrite(partial)) || !addDatums(out, list)
        || !bench::WriteFrames(out, list, set.frames, frame, kTop, kDepthStep))
        std::abort();
    std::filesystem::rename(partial, set.path);
    return set;
}

const DataSet& Waves()
{
    static const DataSet set = MakeDataSet("waves", AddWavesDatums, WavesFrame);
    return set;
}

const DataSet& Maps()
{
    static const DataSet set = MakeDataSet("maps", AddMapsDatums, MapsFrame);
    return set;
}

const DataSet& Wide()
{
    static const DataSet set = MakeDataSet("wide", AddWideDatums, WideFrame);
    return set;
}

// Reads a data set through once, so that the steps time the views and not the disk:
// the system drops parts of a large file from its cache now and then, and a page step
// on a part not in memory waits on the disk for its frames.
void ReadThrough(const DataSet& set)
{
    BinaryFile file;
    if (!file.Open(set.path, BinaryFile::modeRead)) return;
    std::vector<char> block(size_t(8) << 20);
    while (file.Read(block.data(), block.size()) == block.size()) {}
}

// ---- the views ------------------------------------------------------------------------------------

enum class View { Domain, Domain13x2048, VdlTime, VdlFrequency, SemblanceMap, CrossPlot, LogPlot, Profile, TimeFrequency };

// A scripted frame whose windows paint into one Qt image of the window's size.
struct Shell {
    ScriptedHost host;
    ScriptedFrame frame;
    WindowClass windowClass;
    QImage image{kWidth, kHeight, QImage::Format_RGB32};
    Shell()
    {
        SetHost(&host);
        SetFrame(&frame);
        host.onUnexpected = [](const std::string& what) {
            std::fprintf(stderr, "unexpected prompt: %s\n", what.c_str());
            std::abort();
        };
        frame.Create("bench", nullptr, nullptr);
        frame.childClientSize = {kWidth, kHeight};
        frame.childPaintTarget = [this] {
            DeviceCaps caps;
            caps.horzRes = kWidth;
            caps.vertRes = kHeight;
            return std::make_unique<QtDc>(&image, caps);
        };
        windowClass.name = "bench-user-steps";
        windowClass.style = CS_DBLCLKS;
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

// The Log Setup's item `name` of the waves data set on track `track`.
std::shared_ptr<CLogPlotItem> PlotItem(const char* name, uint16_t domain, uint8_t type, int track, float left,
                                       float right, int samples, float interval)
{
    auto item = std::make_shared<CLogPlotItem>(CLogPlotItem::NewItemDefaults());
    item->m_strName = item->m_datum.currentName = name;
    item->m_file.path = Waves().path;
    item->m_datum.domain = domain;
    item->m_datum.itemType = type;
    item->m_scale.track = int16_t(track);
    item->m_scale.leftLimit = left;
    item->m_scale.rightLimit = right;
    item->m_datum.sampleCount = int16_t(samples);
    item->m_datum.sampleInterval = interval;
    item->m_scale.startDepth = kTop;
    item->m_scale.stopDepth = kTop + kDepthStep * (Waves().frames - 1);
    item->m_scale.frequencyImage = type == 158;
    item->m_scale.freqMin = 700.0f;
    item->m_scale.freqMax = 2300.0f;
    return item;
}

DepthProfileSetupGroup ProfileSetup(const char* domain)
{
    DepthProfileSetupGroup setup;
    setup.SetDefaults();
    setup.domain = ViewDomainOfName(domain);
    setup.inputPath = Waves().path;
    setup.inputTitle = "waves";
    setup.outputPath = TempPath("profile-output");
    setup.topDepth = kTop;
    setup.bottomDepth = kTop + kDepthStep * (Waves().frames - 1);
    setup.timeStop = kSampleStep * kSamples;
    setup.freqStop = 20000;
    return setup;
}

// Opens `view` as its setup's Run does (the selection dialog answered with the first
// item it lists); nullptr when it did not open.
CWnd* Open(View view, Shell& shell)
{
    const std::string& windowClass = shell.windowClass.name;
    if (view != View::CrossPlot && view != View::LogPlot)
        shell.host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
    switch (view) {
    case View::Domain:
    case View::Domain13x2048: {
        const bool wide = view == View::Domain13x2048;
        DomainSetupGroup setup;
        setup.SetDefaults();
        setup.path = wide ? Wide().path : Waves().path;
        setup.depthFrame = kTop;
        setup.timeStart = 0, setup.timeStop = kSampleStep * (wide ? kWideSamples : kSamples);
        setup.freqStart = 0, setup.freqStop = 20000;
        return OpenDomainWnd(setup, kDomainFrequency, windowClass);
    }
    case View::VdlTime:
    case View::VdlFrequency: {
        VdlSetupGroup setup;
        setup.SetDefaults();
        setup.path = Waves().path;
        setup.domain = view == View::VdlTime ? ViewDomain::kTime : ViewDomain::kFrequency;
        setup.topDepth = kTop;
        setup.bottomDepth = kTop + kDepthStep * (Waves().frames - 1);
        setup.timeStart = 0, setup.timeStop = kSampleStep * kSamples;
        setup.freqStart = 0, setup.freqStop = 20000;
        return OpenVdlWnd(setup, windowClass);
    }
    case View::SemblanceMap: {
        SemblanceMapSetupGroup setup;
        setup.SetDefaults();
        setup.path = Maps().path;
        setup.topDepth = kTop;
        setup.timeStart = 0, setup.timeStop = 20.0f * kMapSize; // the whole map
        setup.slowMin = 0, setup.slowMax = 2000;
        return OpenSemblanceMapWnd(setup, windowClass);
    }
    case View::CrossPlot: {
        XPlotSetupGroup setup;
        setup.SetDefaults();
        setup.path = Maps().path;
        setup.topDepth = kTop;
        setup.freqMin = 0, setup.freqMax = 5000, setup.slowMin = 40, setup.slowMax = 440;
        setup.datums.datumCount = 3;
        setup.datums.selected[1] = setup.datums.selected[2] = 1;
        return OpenFreqSlowXplotWnd(setup, windowClass);
    }
    case View::LogPlot: {
        LogSetupGroup setup;
        setup.SetDefaults();
        setup.depthScale = 240.0f;
        setup.depthUnits = "Feet";
        setup.trackWidth = {2, 2, 2, 2};
        setup.header = "Benchmark";
        setup.plotItems = {PlotItem("GR", kPlotCurve, 250, 1, 0, 150, 1, 1),
                           PlotItem("DT", kPlotCurve, 251, 1, 140, 40, 1, 1),
                           PlotItem("WMNO", kPlotTime, 1, 2, 0, 5110, kSamples, kSampleStep),
                           PlotItem("IFMN", kPlotTime, 158, 3, 0, 2540, kImageSamples, 2 * kSampleStep)};
        return OpenPlotWnd(setup, windowClass);
    }
    case View::Profile: return OpenProfileWnd(ProfileSetup("Time"), windowClass);
    case View::TimeFrequency:
        return OpenTimeFrequencyWnd(ProfileSetup("Time/Frequency"), windowClass);
    }
    return nullptr;
}

// The processor time the process has used, on every thread: a step's share of it is
// what the step costs whatever else the machine runs (a row's counter `cpu_ms`).
double ProcessCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

// An open view and where its steps go next. Kept from one repetition to the next, so
// that the steps move on through the log.
struct Session {
    View view;
    Shell shell;
    CWnd* window = nullptr;
    ScriptedWindow* impl = nullptr;
    bool down = true;
    double stepCpu = 0; // processor seconds of the last step, every thread's

    explicit Session(View v) : view(v)
    {
        window = Open(view, shell);
        impl = window ? shell.frame.WindowOf(*window) : nullptr;
        if (!impl) std::abort();
        impl->Update();
        ShowReceivers(view == View::Domain13x2048 ? kWideReceivers : kReceivers);
    }

    // As the receiver commands do: the display options show the receivers and go into
    // the view's record (a view's own flags alone would be replaced by the display's
    // at the first step).
    static void ShowReceivers(int count)
    {
        DisplayOptionBlock& d = theApp.m_display;
        for (int r = 0; r < kReceiverCount; ++r) d.receiverShown[size_t(r)] = r < count ? 1 : 0;
        d.redrawRequest = 1;
        StoreViewOptions();
    }

    // One step of `code` (its opposite at the end of the log) through the frame and the
    // repaint it asks for; the seconds it took, or a negative number when it moved
    // nothing or painted nothing.
    double Step(int downCode, int upCode)
    {
        for (int attempt = 0; attempt < 2; ++attempt) {
            const int before = impl->GetScrollInfo(SB_VERT).pos, paints = impl->paintCount;
            const double cpu = ProcessCpuSeconds();
            const auto start = std::chrono::steady_clock::now();
            shell.frame.VScroll(*window, down ? downCode : upCode);
            impl->Update(); // what the event loop does after the handler
            const auto stop = std::chrono::steady_clock::now();
            stepCpu = ProcessCpuSeconds() - cpu;
            if (impl->GetScrollInfo(SB_VERT).pos != before)
                return impl->paintCount > paints ? std::chrono::duration<double>(stop - start).count() : -1;
            down = !down;
        }
        return -1;
    }
};

std::unique_ptr<Session> g_session;

// The receivers the display options show the active view, as a counter of the rows of
// the views that draw one panel or curve per receiver.
void CountReceivers(benchmark::State& state, View view)
{
    if (view != View::SemblanceMap && view != View::LogPlot) state.counters["receivers"] = CountShownReceivers();
}

Session& SessionOf(View view)
{
    if (!g_session || g_session->view != view) {
        g_session.reset();
        g_session = std::make_unique<Session>(view);
    }
    return *g_session;
}

void StepRow(benchmark::State& state, View view, int downCode, int upCode)
{
    Session& s = SessionOf(view);
    for (auto _ : state) {
        const double seconds = s.Step(downCode, upCode);
        if (seconds < 0) {
            state.SkipWithError("the step moved or painted nothing");
            break;
        }
        state.SetIterationTime(seconds);
        state.counters["cpu_ms"] = s.stepCpu * 1e3;
    }
    benchmark::DoNotOptimize(s.shell.image.constBits());
    CountReceivers(state, view);
}

void LineStep(benchmark::State& state, View view) { StepRow(state, view, SB_LINEDOWN, SB_LINEUP); }
void PageStep(benchmark::State& state, View view) { StepRow(state, view, SB_PAGEDOWN, SB_PAGEUP); }

// A view opened as its setup's Run opens it and painted once: its window (nullptr when
// it did not open or paint), the seconds that took and the processor seconds it used.
struct Opening {
    CWnd* window = nullptr;
    double seconds = 0, cpuSeconds = 0;
};

Opening OpenAndPaint(View view, Shell& shell)
{
    const double cpu = ProcessCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    CWnd* window = Open(view, shell);
    ScriptedWindow* impl = window ? shell.frame.WindowOf(*window) : nullptr;
    if (impl) impl->Update();
    const auto stop = std::chrono::steady_clock::now();
    Opening o;
    o.seconds = std::chrono::duration<double>(stop - start).count();
    o.cpuSeconds = ProcessCpuSeconds() - cpu;
    if (impl && impl->paintCount > 0) o.window = window;
    return o;
}

// The view opened on its 1 GB data set and painted once, with the receivers it shows
// when opened; then closed, untimed.
void FirstPicture(benchmark::State& state, View view)
{
    g_session.reset();
    Waves(), Maps(), Wide();
    Shell shell;
    for (auto _ : state) {
        const Opening o = OpenAndPaint(view, shell);
        state.counters["cpu_ms"] = o.cpuSeconds * 1e3;
        if (!o.window) {
            state.SkipWithError("the view did not open or paint");
            break;
        }
        state.SetIterationTime(o.seconds);
        CountReceivers(state, view);
        o.window->DestroyWindow();
    }
    benchmark::DoNotOptimize(shell.image.constBits());
}

// ---- a first picture in a fresh process -------------------------------------------------------

constexpr const char* kFreshFlag = "--fresh-first-picture=";

const std::array<std::pair<const char*, View>, 9> kViews{
    {{"Domain", View::Domain}, {"Domain13x2048", View::Domain13x2048}, {"VdlTime", View::VdlTime},
     {"VdlFrequency", View::VdlFrequency}, {"SemblanceMap", View::SemblanceMap}, {"CrossPlot", View::CrossPlot},
     {"LogPlot", View::LogPlot}, {"Profile", View::Profile}, {"TimeFrequency", View::TimeFrequency}}};

const char* NameOf(View view)
{
    for (const auto& [name, v] : kViews)
        if (v == view) return name;
    return "";
}

// In the process the row below starts: opens `view` once, as the program's first,
// and prints the seconds the picture took and the processor seconds it used, on
// every thread (what a busy machine cannot inflate).
int OpenOnceFresh(int argc, char** argv, View view)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    InstallFontSubstitutions();
    Waves(); // its frame count checked before the clock starts
    // What the program has done before a user can open a view: its main window's menus
    // and status bar have read the system's font list. The view's own fonts and glyphs
    // are still loaded on the clock.
    (void)QFontDatabase::families();
    Shell shell;
    const Opening o = OpenAndPaint(view, shell);
    if (!o.window) return 1;
    std::printf("%.9f %.9f\n", o.seconds, o.cpuSeconds);
    o.window->DestroyWindow();
    return 0;
}

// The view's first picture in a process of its own, started for each repetition: the
// process's first view, as a user meets it after starting the program.
void FirstPictureFresh(benchmark::State& state, View view)
{
    g_session.reset();
    Waves();
    char command[4096];
    std::snprintf(command, sizeof command, "'%s' %s%s", std::filesystem::read_symlink("/proc/self/exe").c_str(), kFreshFlag,
                  NameOf(view));
    for (auto _ : state) {
        double seconds = -1, cpu = 0;
        if (FILE* child = ::popen(command, "r")) {
            if (std::fscanf(child, "%lf %lf", &seconds, &cpu) != 2) seconds = -1;
            if (::pclose(child) != 0) seconds = -1;
        }
        if (seconds < 0) {
            state.SkipWithError("the view did not open or paint in a fresh process");
            break;
        }
        state.SetIterationTime(seconds);
        state.counters["cpu_ms"] = cpu * 1e3;
    }
}

double P90(const std::vector<double>& v)
{
    if (v.empty()) return 0;
    std::vector<double> sorted = v;
    std::sort(sorted.begin(), sorted.end());
    return sorted[size_t(std::ceil(0.9 * double(sorted.size()))) - 1];
}

void Register(const char* name, View view)
{
    const std::string prefix = name;
    using Row = std::tuple<const char*, void (*)(benchmark::State&, View), int>;
    std::vector<Row> rows{Row{"/LineStep", &LineStep, kStepRepetitions}, Row{"/PageStep", &PageStep, kStepRepetitions},
                          Row{"/FirstPicture", &FirstPicture, kOpenRepetitions}};
    if (view == View::Profile || view == View::TimeFrequency)
        rows.push_back(Row{"/FirstPictureFresh", &FirstPictureFresh, kOpenRepetitions});
    for (const auto& [step, run, repetitions] : rows)
        benchmark::RegisterBenchmark((prefix + step).c_str(), run, view)
            ->Iterations(1)
            ->Repetitions(repetitions)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->ComputeStatistics("p90", P90)
            ->ReportAggregatesOnly(true);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]).starts_with(kFreshFlag)) {
        const std::string name = argv[1] + std::strlen(kFreshFlag);
        for (const auto& [known, view] : kViews)
            if (name == known) return OpenOnceFresh(argc, argv, view);
        return 2;
    }
    for (const auto& [name, view] : kViews) Register(name, view);
    return bench::RunQtBenchmarks(
        argc, argv,
        [] {
            ReadThrough(Waves());
            ReadThrough(Maps());
            ReadThrough(Wide());
            // The process's first paints fill Qt's font and glyph caches; they would land
            // on the first row's steps.
            for (int i = 0; i < 10; ++i) SessionOf(View::Domain).Step(SB_LINEDOWN, SB_LINEUP);
            g_session.reset();
        },
        [] { g_session.reset(); });
}
