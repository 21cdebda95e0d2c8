// The processing windows' steps in a 1000 x 800 window: the depth profile (time
// domain) and the time-frequency window on 20,000 frames x 8 receivers x 512 samples,
// each step through the real scroll handler, then painted into a Qt image of the
// window's size (offscreen). Rows: a line step, a page step (down and up by turns) and
// the first picture (the page rendered afresh), with the median and p90 of one step.
#include "BenchDataSet.h"
#include "common/QtxFileDlg.h"
#include "platform/qt/QtDc.h"
#include "platform/testing/ScriptedFrame.h"
#include "platform/testing/ScriptedHost.h"
#include "processing/ProfileWnd.h"
#include "processing/ProfileWndFactory.h"
#include "processing/TimeFrequencyWnd.h"
#include "res/ResourceIds.h"
#include "settings/SettingsStore.h"
#include "QtBenchMain.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kFrames = 20000;
constexpr int kReceivers = 8;
constexpr int kSamples = 512;
constexpr float kStep = 4.0f; // us
constexpr int kWidth = 1000, kHeight = 800;

struct DataSet {
    std::string path = (std::filesystem::temp_directory_path()
                        / ("bronte-bench-processing-" + std::to_string(::getpid()) + ".qtx"))
                           .string();
    DataSet()
    {
        std::vector<float> frame(size_t(kReceivers) * kSamples);
        for (int r = 0; r < kReceivers; ++r)
            for (int i = 0; i < kSamples; ++i) {
                const double t = i * double(kStep) - 300 - 60 * r;
                frame[size_t(r) * kSamples + size_t(i)] =
                    t > 0 ? float(std::exp(-t / 900) * std::sin(2 * M_PI * 8000 * t * 1e-6)) : 0.0f;
            }
        if (!bench::WriteWaveformQtx(path, 1, kReceivers, kSamples, kFrames, kStep, std::move(frame))) std::abort();
    }
    ~DataSet() { std::filesystem::remove(path); }
};

DataSet& Set()
{
    static DataSet set;
    return set;
}

struct Window {
    ScriptedHost host;
    ScriptedFrame frame;
    CProcessingWnd* view = nullptr;

    explicit Window(bool timeFrequency)
    {
        SetHost(&host);
        SetFrame(&frame);
        frame.Create("bench", nullptr, nullptr);
        frame.childClientSize = {kWidth, kHeight};
        WindowClass c;
        c.name = "bench-processing";
        RegisterWindowClass(c);
        theApp.m_display.SetDefaults();
        host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
        DepthProfileSetupGroup setup;
        setup.SetDefaults();
        setup.inputPath = Set().path;
        setup.outputPath = Set().path + ".out.qtx";
        setup.domain = timeFrequency ? ViewDomain::kTimeFrequency : ViewDomain::kTime;
        setup.topDepth = 1000;
        setup.bottomDepth = 1000 + 0.5 * (kFrames - 1);
        setup.timeStart = 0;
        setup.timeStop = kStep * kSamples;
        setup.freqStart = 0;
        setup.freqStop = 20000;
        if (timeFrequency) view = OpenTimeFrequencyWnd(setup, c.name);
        else view = OpenProfileWnd(setup, c.name);
        if (!view) std::abort();
        static_cast<CViewerWnd*>(view)->PrepareRepaint();
        if (view->Page().tracks.size() != size_t(kReceivers)) std::abort();
        // From the middle of the log, so that steps both ways move the page.
        view->OnVScroll(SB_THUMBPOSITION, kFrames / 2);
    }
    ~Window()
    {
        theApp.m_display.profileOption = 0; // no save question on closing
        frame.Destroy();
        SetFrame(nullptr);
        SetHost(nullptr);
    }
};

// Each iteration: one step by the scroll handler and the paint; the steps alternate
// between `down` and `up` (or, with `afresh`, the page is rendered anew first).
void Steps(benchmark::State& state, bool timeFrequency, int down, int up, bool afresh)
{
    Window w(timeFrequency);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    DeviceCaps caps;
    std::vector<double> ms;
    bool forward = true;
    int framesRead = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (afresh) {
            // A new size (a pixel narrower, then back by turns): the page is drawn anew.
            w.frame.Resize(*w.view, forward ? kWidth - 1 : kWidth, kHeight);
        } else {
            w.view->OnVScroll(forward ? down : up, 0);
            static_cast<CViewerWnd*>(w.view)->PrepareRepaint();
        }
        QtDc dc(&image, caps);
        w.view->OnPaint(dc);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        framesRead = std::max(framesRead, w.view->Page().framesRead);
        forward = !forward;
    }
    benchmark::DoNotOptimize(image.constBits());
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p90_ms"] = ms[std::min(ms.size() - 1, ms.size() * 9 / 10)];
    state.counters["frames_read_max"] = framesRead;
    state.counters["rows"] = w.view->Page().rowsDrawn;
}

void ProfileLineStep(benchmark::State& s) { Steps(s, false, SB_LINEDOWN, SB_LINEUP, false); }
void ProfilePageStep(benchmark::State& s) { Steps(s, false, SB_PAGEDOWN, SB_PAGEUP, false); }
void ProfileFirstPicture(benchmark::State& s) { Steps(s, false, 0, 0, true); }
void TimeFrequencyLineStep(benchmark::State& s) { Steps(s, true, SB_LINEDOWN, SB_LINEUP, false); }
void TimeFrequencyPageStep(benchmark::State& s) { Steps(s, true, SB_PAGEDOWN, SB_PAGEUP, false); }
void TimeFrequencyFirstPicture(benchmark::State& s) { Steps(s, true, 0, 0, true); }

} // namespace

BENCHMARK(ProfileLineStep)->Name("Profile/LineStep")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ProfilePageStep)->Name("Profile/PageStep")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ProfileFirstPicture)->Name("Profile/FirstPicture")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(TimeFrequencyLineStep)->Name("TimeFrequency/LineStep")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(TimeFrequencyPageStep)->Name("TimeFrequency/PageStep")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(TimeFrequencyFirstPicture)->Name("TimeFrequency/FirstPicture")->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) { return bench::RunQtBenchmarks(argc, argv, {}, [] { Set(); }); }
