#include "viewers/DomainWnd.h"
#include "viewers/DomainWndFactory.h"
#include "viewers/ViewOptions.h"

#include "app/ViewerApp.h"
#include "common/QtxFileDlg.h"
#include "platform/Format.h"
#include "res/CommandIds.h"
#include "res/DomainSetupDlgIds.h"
#include "res/QtxFileDlgIds.h"
#include "support/AppFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "settings/DomainSetupGroup.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>

namespace {

constexpr double kPi = 3.14159265358979;

size_t Polygons(const std::vector<std::string>& ops)
{
    return size_t(std::count_if(ops.begin(), ops.end(), [](const std::string& op) { return op.rfind("Polygon(", 0) == 0; }));
}

class DomainWndTest : public AppTest {
protected:
    TempDir dir;
    std::string path = dir.File("wave.qtx");
    DomainSetupGroup setup; // as the Domain Setup dialog leaves it

    void SetUp() override
    {
        AppTest::SetUp();
        Start();
        frame.Command(ID_FILE_QTX);
        setup.SetDefaults();
        setup.path = path;
    }

    static QtxDatumShape Waveform(uint16_t traces, uint16_t samples, float step, uint8_t type = 1)
    {
        QtxDatumShape d;
        d.mnemonic = "WMNO";
        d.typeCode = type;
        d.category = kCategoryWaveform;
        d.traces = traces;
        d.samples = samples;
        d.unit = kUnitMicroseconds;
        d.step = step;
        return d;
    }

    // A slowness curve of one trace, 2 units a sample.
    static QtxDatumShape Slowness(uint8_t unit, uint16_t samples)
    {
        return {.mnemonic = "DTCO", .typeCode = 33, .category = kCategorySlowness, .traces = 1, .samples = samples,
                .unit = unit, .step = 2.0f};
    }

    // Picks the first Found item of the tab the dialog opens on.
    void ScriptSelection(int line = 0)
    {
        host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, line).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
    }

    CDomainWnd* OpenView(int domain, double depthFrame = 1000.0)
    {
        setup.depthFrame = depthFrame;
        return OpenDomainWnd(setup, domain, theViewerApp.m_windowClasses[kClassDomain]);
    }
};

TEST_F(DomainWndTest, OpensAtTheFrameNearestTheAskedDepthInBothDirections)
{
    struct Case {
        uint8_t direction;
        int frames;
        double top, step, asked;
        int position;
        double shownDepth;
        int deepest;
    };
    const Case cases[] = {
        {qtx::kLogDown, 10, 1000.0, 0.5, 1002.0, 4, 1002.0, 9},
        {qtx::kLogUp, 10, 1004.5, -0.5, 1002.0, 6, 1001.5, 0}, // End goes deepest: the file's first frame
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteQtx(path, {Waveform(2, 64, 10.0f)}, c.frames, c.top, c.step, DefaultSample, c.direction));
        ScriptSelection();
        CDomainWnd* view = OpenView(kDomainTime, c.asked);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->Frames().Frame(), c.position) << c.asked;
        EXPECT_EQ(view->Frames().TopDepth(), std::min(c.top, c.top + (c.frames - 1) * c.step)) << "top is the smaller depth";
        view->OnVScroll(SB_THUMBPOSITION, view->Frames().ScrollPosition());
        EXPECT_EQ(view->Frames().Frame(), c.position);
        EXPECT_EQ(frame.PaneText(1), Format("%10.4f [ft]", c.shownDepth)) << c.asked;
        view->OnKeyDown(VK_END, 1, 0);
        EXPECT_EQ(view->Frames().Frame(), c.deepest);
        view->OnClose();
    }
}

TEST_F(DomainWndTest, ScrollingMovesByEveryCodeAndKeyWithClamping)
{
    ASSERT_TRUE(WriteQtx(path, {Waveform(2, 64, 10.0f)}, 300, 1000.0, 0.5));
    ScriptSelection();
    CDomainWnd* view = OpenView(kDomainTime, 1000.0);
    ASSERT_NE(view, nullptr);
    struct Step {
        int code; // scroll code, or -key
        int pos;
        int expected;
    };
    const Step steps[] = {
        {SB_LINEDOWN, 0, 1}, {SB_PAGEDOWN, 0, 101}, {SB_LINEUP, 0, 100}, {SB_PAGEUP, 0, 0},
        {SB_PAGEUP, 0, 0},   {SB_THUMBPOSITION, 250, 250}, {SB_PAGEDOWN, 0, 299},
        {-int(VK_HOME), 0, 0}, {-int(VK_END), 0, 299}, {-int(VK_PRIOR), 0, 199}, {-int(VK_DOWN), 0, 200},
    };
    for (const auto& s : steps) {
        if (s.code >= 0) view->OnVScroll(s.code, s.pos);
        else view->OnKeyDown(unsigned(-s.code), 1, 0);
        EXPECT_EQ(view->Frames().Frame(), s.expected) << s.code;
        EXPECT_EQ(view->GetScrollInfo(SB_VERT).pos, s.expected) << "the thumb stands on the frame shown";
    }
    view->OnVScroll(SB_THUMBTRACK, 20);
    EXPECT_EQ(view->Frames().Frame(), 200) << "tracking only shows the depth";
    EXPECT_EQ(frame.PaneText(1), " 1010.0000 [ft]");
}

TEST_F(DomainWndTest, WaveformsArePaddedAndInterpolatedForTheFrequencyDomain)
{
    ASSERT_TRUE(WriteQtx(path, {Waveform(4, 500, 8.0f)}, 3));
    ScriptSelection();
    setup.freqStop = 200000.0f; // above Nyquist
    CDomainWnd* view = OpenView(kDomainFrequency);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->Shape().padding);
    EXPECT_EQ(view->Shape().fftLength, 512);
    EXPECT_EQ(view->Shape().interpolation, 2);
    EXPECT_EQ(view->Shape().sampleCount, 1024);
    EXPECT_FLOAT_EQ(view->Shape().step, 4.0f);
    const float bin = 1e6f / (1024 * 4.0f);
    EXPECT_FLOAT_EQ(view->Axis().binWidth, bin);
    const float nyquist = 1e6f / 8.0f;
    EXPECT_NEAR(view->Axis().stop, std::ceil(0.95f * nyquist / bin - 1e-6f) * bin, 1e-2);
    EXPECT_LE(view->Axis().last, 512) << "512 amplitude bins";
}

TEST_F(DomainWndTest, TimeWindowSnapsToTheSampleStepAndPicksItsTicks)
{
    ASSERT_TRUE(WriteQtx(path, {Waveform(2, 256, 2.0f)}, 2));
    struct Case {
        float start, stop;
        float snappedStart, snappedStop;
        int firstTick;
    };
    const Case cases[] = {
        {3.0f, 401.0f, 4.0f, 402.0f, 100},   // width 396: ticks every 100
        {0.0f, 900.0f, 0.0f, 512.0f, 200},   // stop limited to the data; width 510: every 200
    };
    for (const auto& c : cases) {
        ScriptSelection();
        setup.timeStart = c.start;
        setup.timeStop = c.stop;
        CDomainWnd* view = OpenView(kDomainTime);
        ASSERT_NE(view, nullptr);
        EXPECT_FLOAT_EQ(view->Axis().start, c.snappedStart);
        EXPECT_FLOAT_EQ(view->Axis().stop, c.snappedStop);
        EXPECT_EQ(view->Axis().firstTick, c.firstTick);
        EXPECT_EQ(view->Axis().shownCount, view->Axis().last - view->Axis().first);
        view->OnClose();
    }
}

TEST_F(DomainWndTest, SelectionsTheViewCannotShowAreRefused)
{
    QtxDatumShape map;
    map.mnemonic = "SMCO";
    map.typeCode = 31;
    map.category = kCategorySemblanceMap;
    map.samples = 10;
    map.samples2 = 20;
    ASSERT_TRUE(WriteQtx(path, {Waveform(2, 64, 10.0f), map}, 3));

    // A semblance map, or a waveform picked on the Frequency tab, is no choice for a time view.
    for (int tab : {CQtxFileDlg::kTabSembMap, CQtxFileDlg::kTabFrequency}) {
        host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcTab, tab - 1).Select(CQtxFileDlg::kIdcFound, 0)
            .Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
        host.ExpectMessage("Encountered empty selection list!");
        EXPECT_EQ(OpenView(kDomainTime), nullptr) << tab;
    }
    EXPECT_TRUE(theApp.m_viewOptions.empty());
    EXPECT_TRUE(frame.Children().empty());
}

TEST_F(DomainWndTest, TheChoiceOnTheViewsOwnTabCountsWhicheverTabShowsAtOk)
{
    ASSERT_TRUE(WriteQtx(path, {Waveform(2, 64, 10.0f)}, 3));
    host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd)
        .Select(CQtxFileDlg::kIdcTab, CQtxFileDlg::kTabFrequency - 1).Press(IDOK);
    CDomainWnd* view = OpenView(kDomainTime);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Domain(), kDomainTime);
}

TEST_F(DomainWndTest, DatumsTheViewCannotHoldOrStepAreRefused)
{
    const struct {
        QtxDatumShape datum;
        const char* message;
    } cases[] = {
        {Waveform(2, 6000, 8.0f), "cannot be shown: 2 receivers of 12000 samples"}, // 8192 padded x 2 interpolated
        {Waveform(17, 64, 2.0f), "cannot be shown: 17 receivers"},
        {Waveform(2, 64, INFINITY), "its sample step is not a positive number"},
        {Waveform(2, 64, NAN), "its sample step is not a positive number"},
        {Waveform(2, 64, -2.0f), "its sample step is not a positive number"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteQtx(path, {c.datum}, 2));
        ScriptSelection();
        host.ExpectMessage(c.message);
        EXPECT_EQ(OpenView(kDomainTime), nullptr) << c.message;
    }
}

TEST_F(DomainWndTest, PaintDrawsOneBandPerShownReceiverWithCaptions)
{
    ASSERT_TRUE(WriteQtx(path, {Waveform(4, 128, 2.0f, 21)}, 3));
    ScriptSelection();
    CDomainWnd* view = OpenView(kDomainTime);
    ASSERT_NE(view, nullptr);
    ScriptedWindow* w = frame.WindowOf(*view);
    frame.Command(ReceiverCommand(2));
    w->Paint();
    const auto& ops = w->lastPaint;
    auto has = [&](const std::string& op) { return std::find(ops.begin(), ops.end(), op) != ops.end(); };
    EXPECT_EQ(view->m_shownTraces, 3);
    EXPECT_TRUE(has("TextOut(320,6,Monopole)"));
    EXPECT_TRUE(has("TextOut(320,468,Time [mSec])"));
    EXPECT_TRUE(has("SelectFont(Ariel,12,400,0)"));
    const int traceHeight = (480 - 15 - 25) / 3;
    EXPECT_EQ(view->Layout().traceHeight, traceHeight);
    size_t bands = 0;
    for (const auto& op : ops) bands += op.rfind("Rectangle(35,", 0) == 0 ? 1 : 0;
    EXPECT_EQ(bands, 3u);
    EXPECT_TRUE(has("TextOut(17," + std::to_string(25 + (traceHeight - 12) / 2 - 6) + ",R1)"));
    EXPECT_FALSE(has("TextOut(17," + std::to_string(25 + traceHeight + (traceHeight - 12) / 2 - 6) + ",R1)"));
}

// Waveforms whose zero crossing moves by 50 us per receiver (6 in apart):
// 100 us/ft between every pair.
float MoveOutSample(int, int, size_t index)
{
    const int trace = int(index / 512);
    const double t = double(index % 512) * 2.0 - 300.0 - 50.0 * trace;
    return float(std::sin(2 * kPi * t / 400.0));
}

TEST_F(DomainWndTest, MoveOutCursorGivesTheSlownessOfEachReceiverPair)
{
    // A tool without receiver spacing has no pair to give a slowness for.
    const std::pair<uint8_t, const char*> cases[] = {{1, "100.0 uS/ft"}, {26, ""}};
    for (const auto& [type, slowness] : cases) {
        const int traces = type == 1 ? 4 : 3;
        ASSERT_TRUE(WriteQtx(path, {Waveform(uint16_t(traces), 512, 2.0f, type)}, 2, 1000.0, 0.5, MoveOutSample));
        ScriptSelection();
        CDomainWnd* view = OpenView(kDomainTime);
        ASSERT_NE(view, nullptr);
        view->Setup().timeStart = 0;
        ScriptedWindow* w = frame.WindowOf(*view);
        w->Paint();
        // Clicks on the crossings of the first and last trace.
        auto xOf = [&](float t) { return view->Layout().leftMargin + int(std::lround((t - view->Axis().start) * view->Layout().plotWidth / view->Axis().width)); };
        auto yOf = [&](int k) { return view->Layout().topMargin + k * view->Layout().traceHeight + view->Layout().bandHeight / 2; };
        frame.Mouse(*view, "ldown", MK_LBUTTON, {xOf(300.0f), yOf(0)});
        EXPECT_EQ(w->lastPaint.back().rfind("SetPixel(", 0), 0u) << "first click marks its point";
        frame.Mouse(*view, "ldown", MK_LBUTTON, {xOf(450.0f), yOf(traces - 1)});
        for (int pane = 2; pane <= 4; ++pane) EXPECT_EQ(frame.PaneText(pane), slowness) << pane;
        EXPECT_EQ(frame.PaneText(5), "");
        view->OnClose();
    }
}

TEST_F(DomainWndTest, PaintsShowWhatWasReadAndAReadFailureIsReportedOnce)
{
    ASSERT_TRUE(WriteQtx(path, {Waveform(2, 64, 10.0f)}, 5));
    ScriptSelection();
    CDomainWnd* view = OpenView(kDomainTime);
    ASSERT_NE(view, nullptr);
    ScriptedWindow* w = frame.WindowOf(*view);
    auto bytes = ReadBytes(path);
    bytes.resize(bytes.size() - 5 * size_t(view->File().Header().frameSize)); // no frame left
    WriteBytes(path, bytes);
    w->Paint();
    EXPECT_EQ(std::count_if(w->lastPaint.begin(), w->lastPaint.end(),
                            [](const std::string& op) { return op.rfind("Polygon(", 0) == 0; }),
              2) << "a paint reads nothing: the frame read at opening is drawn";
    host.ExpectMessage("Error reading frame data in file :");
    view->OnKeyDown(VK_END, 1, 0);
    w->Paint();
    w->Paint();
    view->OnKeyDown(VK_HOME, 1, 0);
    w->Paint();
    EXPECT_EQ(host.Messages().size(), 1u);
}

// A step back to one of the last frames shown reads nothing (the data set is cut off
// meanwhile, and they still show); a frame further back than the few kept is read
// again, so what is kept stays bounded.
TEST_F(DomainWndTest, AStepBackToAFrameJustShownReadsNothing)
{
    ASSERT_TRUE(WriteQtx(path, {Waveform(2, 64, 4.0f)}, 20));
    const auto bytes = ReadBytes(path);
    ScriptSelection();
    CDomainWnd* view = OpenView(kDomainFrequency);
    ASSERT_NE(view, nullptr);
    ScriptedWindow* w = frame.WindowOf(*view);
    for (int i = 0; i < 12; ++i) view->OnKeyDown(VK_DOWN, 1, 0);
    ASSERT_EQ(view->Frames().Frame(), 12);
    const size_t frameSize = size_t(view->File().Header().frameSize);
    WriteBytes(path, std::vector<uint8_t>(bytes.begin(), bytes.end() - std::ptrdiff_t(20 * frameSize)));
    for (int i = 0; i < 7; ++i) {
        view->OnKeyDown(VK_UP, 1, 0);
        w->Paint();
        EXPECT_EQ(Polygons(w->lastPaint), 2u) << "frame " << view->Frames().Frame();
    }
    EXPECT_TRUE(host.Messages().empty());
    host.ExpectMessage("Error reading frame data in file :");
    view->OnKeyDown(VK_HOME, 1, 0);
    w->Paint();
    EXPECT_EQ(Polygons(w->lastPaint), 0u) << "frame 0 was read again";
    EXPECT_EQ(host.Messages().size(), 1u);
}

TEST_F(DomainWndTest, AFrameThatCannotBeReadLeavesTheOthersReadable)
{
    ASSERT_TRUE(WriteQtx(path, {Waveform(2, 64, 10.0f)}, 5));
    auto bytes = ReadBytes(path);
    ScriptSelection();
    CDomainWnd* view = OpenView(kDomainTime);
    ASSERT_NE(view, nullptr);
    ScriptedWindow* w = frame.WindowOf(*view);
    bytes.resize(bytes.size() - size_t(view->File().Header().frameSize) / 2); // the last frame is torn
    WriteBytes(path, bytes);
    host.ExpectMessage("Error reading frame data in file :");
    view->OnKeyDown(VK_END, 1, 0);
    w->Paint();
    EXPECT_EQ(Polygons(w->lastPaint), 0u) << "the torn frame is drawn empty";
    view->OnKeyDown(VK_UP, 1, 0);
    w->Paint();
    EXPECT_EQ(Polygons(w->lastPaint), 2u) << "the frame above it still reads";
    view->OnKeyDown(VK_END, 1, 0);
    view->OnKeyDown(VK_HOME, 1, 0);
    w->Paint();
    EXPECT_EQ(Polygons(w->lastPaint), 2u);
    EXPECT_TRUE(view->File().InputOpen());
    EXPECT_EQ(host.Messages().size(), 1u) << "reported once per view";
}

TEST_F(DomainWndTest, TheDepthReadOutBelongsToTheActiveView)
{
    const std::string metres = dir.File("metres.qtx");
    ASSERT_TRUE(WriteQtx(path, {Waveform(2, 64, 10.0f)}, 5, 1000.0, 0.5));
    ASSERT_TRUE(WriteQtx(metres, {Waveform(2, 64, 10.0f)}, 5, 2025.0, 0.5));
    PatchQtxHeader(metres, [](QtxFileHeader& h) { h.depthUnits = qtx::kUnitsMetres; });
    ScriptSelection();
    CDomainWnd* feet = OpenView(kDomainTime, 1000.0);
    ASSERT_NE(feet, nullptr);
    EXPECT_EQ(frame.PaneText(1), " 1000.0000 [ft]") << "shown when the view opens";
    setup.path = metres;
    ScriptSelection();
    CDomainWnd* metric = OpenView(kDomainTime, 2025.0);
    ASSERT_NE(metric, nullptr);
    EXPECT_EQ(frame.PaneText(1), " 2025.0000 [m]");
    feet->OnKeyDown(VK_DOWN, 1, 0); // a view in the background keeps its read-out to itself
    EXPECT_EQ(frame.PaneText(1), " 2025.0000 [m]");
    frame.ActivateChild(*feet);
    EXPECT_EQ(frame.PaneText(1), " 1000.5000 [ft]");
    metric->OnClose();
    EXPECT_EQ(frame.PaneText(1), " 1000.5000 [ft]");
    feet->OnClose();
    EXPECT_EQ(frame.PaneText(1), "") << "no view left, no depth";
}

TEST_F(DomainWndTest, LabelsThatWouldNotFitAreShortenedOrLeftOut)
{
    // A large spectrum keeps its extremes inside the left margin; thirteen traces in a
    // short window leave out what would overlap.
    ASSERT_TRUE(WriteQtx(path, {Waveform(13, 64, 10.0f)}, 2, 1000.0, 0.5,
                         [](int, int, size_t i) { return float(i % 64) * 2000.0f - 60000.0f; }));
    ScriptSelection();
    CDomainWnd* view = OpenView(kDomainTime);
    ASSERT_NE(view, nullptr);
    ScriptedWindow* w = frame.WindowOf(*view);
    struct Case {
        int height;
        bool names, extremes;
    };
    for (const Case& c : {Case{700, true, true}, Case{400, true, false}, Case{300, false, false}}) {
        frame.Resize(*view, 640, c.height);
        w->Paint();
        size_t names = 0, extremes = 0;
        for (const auto& op : w->lastPaint) {
            if (op.rfind("TextOut(17,", 0) != 0) continue;
            (op.find(",R") != std::string::npos ? names : extremes) += 1;
            const std::string text = op.substr(op.find(',', 11) + 1);
            EXPECT_LE(int(text.size() - 1) * 7, 33) << op << ": reaches under the plot frame";
        }
        EXPECT_EQ(names, c.names ? 8u : 0u) << c.height << ": type 1 names eight receivers";
        EXPECT_EQ(extremes, c.extremes ? 26u : 0u) << c.height;
    }
}

// A window whose last tick falls on the plot's right end (0 to 1,000 us, a label every
// 200 us): that label is drawn whole inside the window, the others at their ticks.
TEST_F(DomainWndTest, TheLastTickLabelStaysWholeInsideTheWindow)
{
    ASSERT_TRUE(WriteQtx(path, {Waveform(2, 256, 4.0f)}, 2));
    ScriptSelection();
    setup.timeStart = 10.0f;
    setup.timeStop = 1010.0f;
    CDomainWnd* view = OpenView(kDomainTime);
    ASSERT_NE(view, nullptr);
    ScriptedWindow* w = frame.WindowOf(*view);
    for (int width : {640, 333, 901}) {
        frame.Resize(*view, width, 500);
        w->Paint();
        int labels = 0, lastRight = 0;
        for (const auto& op : w->lastPaint) {
            int x = 0, y = 0;
            char text[16] = {};
            if (std::sscanf(op.c_str(), "TextOut(%d,%d,%15[^)])", &x, &y, text) != 3 || std::string(text) != "1.0") continue;
            ++labels;
            lastRight = std::max(lastRight, x + 7 * 3); // the recording context's 7 pixels a character
        }
        EXPECT_EQ(labels, 2) << width << ": one \"1.0\" under each band";
        EXPECT_LE(lastRight, width) << width << ": the label of the last tick is cut off";
    }
    view->OnClose();
}

// Thirteen traces in a short tile: the bands close up and every trace is drawn, the
// grid's labels in one row that keeps clear of the axis title; a window too short
// even for that says so in place of the traces.
TEST_F(DomainWndTest, AShortWindowDrawsEveryTraceClosedUpOrSaysItIsTooShort)
{
    ASSERT_TRUE(WriteQtx(path, {Waveform(13, 64, 10.0f)}, 2, 1000.0, 0.5,
                         [](int, int, size_t i) { return float(i % 7) - 3.0f; }));
    ScriptSelection();
    CDomainWnd* view = OpenView(kDomainTime);
    ASSERT_NE(view, nullptr);
    ScriptedWindow* w = frame.WindowOf(*view);
    struct Shown {
        size_t bands = 0, polygons = 0;
        std::set<int> labelRows; // y of the grid's labels
        int lowestBand = 0;
        bool saysTooShort = false;
    };
    auto paint = [&](int height) {
        frame.Resize(*view, 400, height);
        w->Paint();
        Shown shown;
        for (const auto& op : w->lastPaint) {
            int l = 0, t = 0, r = 0, b = 0;
            const bool band = std::sscanf(op.c_str(), "Rectangle(%d,%d,%d,%d)", &l, &t, &r, &b) == 4
                              || std::sscanf(op.c_str(), "FillRect(%d,%d,%d,%d,", &l, &t, &r, &b) == 4;
            if (band && l == 35) {
                ++shown.bands;
                shown.lowestBand = std::max(shown.lowestBand, b);
            }
            int x = 0, y = 0;
            if (std::sscanf(op.c_str(), "TextOut(%d,%d,", &x, &y) == 2 && x != 17 && x != 200) shown.labelRows.insert(y);
            shown.saysTooShort |= op.find("Window too short for 13 traces:") != std::string::npos;
        }
        shown.polygons = Polygons(w->lastPaint);
        return shown;
    };

    const Shown tall = paint(700);
    EXPECT_FALSE(view->Layout().closedUp);
    EXPECT_EQ(tall.bands, 13u);
    EXPECT_EQ(tall.labelRows.size(), 13u) << "a row of labels under every band";

    const Shown tile = paint(170);
    EXPECT_TRUE(view->Layout().closedUp);
    EXPECT_FALSE(tile.saysTooShort);
    EXPECT_EQ(tile.bands, 13u);
    EXPECT_GE(tile.polygons, 13u) << "every trace is drawn";
    EXPECT_GE(view->Layout().bandHeight, 5) << "room for a wiggle";
    ASSERT_EQ(tile.labelRows.size(), 1u) << "the labels under the last band only";
    EXPECT_EQ(*tile.labelRows.begin(), tile.lowestBand);
    EXPECT_LE(*tile.labelRows.begin() + view->Layout().fontHeight, 170 - view->Layout().fontHeight) << "clear of the axis title";

    const Shown tiny = paint(100);
    EXPECT_TRUE(view->Layout().tooShort);
    EXPECT_TRUE(tiny.saysTooShort);
    EXPECT_EQ(tiny.bands, 0u);
    EXPECT_EQ(tiny.polygons, 0u);
    EXPECT_TRUE(host.Messages().empty()) << "said in the view, not in a box";
}

TEST_F(DomainWndTest, ASlownessOfOneSampleIsDrawnAsALevelNotAFilledBand)
{
    QtxDatumShape one;
    one.mnemonic = "DTCO";
    one.typeCode = 33;
    one.category = kCategorySlowness;
    one.samples = 1;
    one.unit = kUnitMicrosecondsPerFoot;
    one.step = 2.0f;
    ASSERT_TRUE(WriteQtx(path, {one}, 2));
    host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcTab, CQtxFileDlg::kTabSlowness - 1)
        .Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
    CDomainWnd* view = OpenView(kDomainSlowness);
    ASSERT_NE(view, nullptr);
    ScriptedWindow* w = frame.WindowOf(*view);
    w->Paint();
    EXPECT_EQ(Polygons(w->lastPaint), 0u);
    const std::string across = "," + std::to_string(view->Layout().leftMargin + view->Layout().plotWidth) + ",";
    EXPECT_EQ(std::count_if(w->lastPaint.begin(), w->lastPaint.end(),
                            [&](const std::string& op) {
                                return op.rfind("Line(35,", 0) == 0 && op.find(across) != std::string::npos;
                            }),
              4) << "the level beside the three dotted lines";
}

// Save Setup opens nothing: the status bar says the values stay for the four commands
// that share them, and the next run starts from them.
TEST_F(DomainWndTest, SaveSetupSaysTheSetupIsKeptAndOpensNoView)
{
    host.ScriptDialog(kIddDomainSetup).Type(domain_setup::kIdcTimeStop, "3000").Press(domain_setup::kIdcSaveSetup);
    frame.Command(ID_DISPLAY_TIME);
    EXPECT_TRUE(frame.Children().empty());
    EXPECT_EQ(frame.PaneText(0), "Domain Setup kept: Display > Time, Frequency, Slowness and Azimuth start from it");
    EXPECT_EQ(theApp.m_domainSetup.timeStop, 3000.0f);
}

TEST_F(DomainWndTest, DisplaySlownessRunsFromTheMenuToAView)
{
    ASSERT_TRUE(WriteQtx(path, {Slowness(kUnitMicrosecondsPerFoot, 100)}, 4));

    host.ScriptDialog(kIddDomainSetup).Press(IDOK);
    host.ExpectMessage("QTX file name is not set!\nOperation will be abandoned.");
    frame.Command(ID_DISPLAY_SLOWNESS);
    EXPECT_TRUE(frame.Children().empty());

    host.ExpectFileDialog("Browse Input QTX File", path);
    host.ScriptDialog(kIddDomainSetup).Press(domain_setup::kIdcSelectInputFile).Press(IDOK);
    ScriptSelection();
    frame.Command(ID_DISPLAY_SLOWNESS);
    ASSERT_EQ(frame.Children().size(), 1u);
    auto* view = dynamic_cast<CDomainWnd*>(frame.Children()[0]);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Domain(), kDomainSlowness);
    EXPECT_EQ(view->GetWindowText(), "Slowness (" + path + ")");
    EXPECT_EQ(view->m_windowId, 1);
    EXPECT_EQ(theApp.m_display.activeWindowId, 1);
    EXPECT_EQ(FindViewOptions(1)->m_window, view);
    frame.WindowOf(*view)->Paint();
    frame.Mouse(*view, "move", 0, {100, 100});
    EXPECT_EQ(frame.PaneText(3), Format("%7.2f [uSec/ft]", double((100 - 35) * view->Axis().width / view->Layout().plotWidth + view->Axis().start)));
    frame.Command(ID_WINDOW_CLOSE_ALL);
    EXPECT_TRUE(frame.Children().empty());
}

// The unit is the setup's, taken from the data set: a caption reworded on the way (as a
// translation would) changes neither the unit kept nor what the view reads out.
TEST_F(DomainWndTest, ARewordedSlownessCaptionLeavesAMetricViewMetric)
{
    ASSERT_TRUE(WriteQtx(path, {Slowness(kUnitMicrosecondsPerMetre, 400)}, 4));

    host.ExpectFileDialog("Browse Input QTX File", path);
    host.ScriptDialog(kIddDomainSetup)
        .Press(domain_setup::kIdcSelectInputFile)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(d.GetItemText(domain_setup::kIdcSlownessGroup), "Slowness range [uSec/m]");
            d.SetItemText(domain_setup::kIdcSlownessGroup, "Langsamkeit [us/m]");
        })
        .Press(IDOK);
    ScriptSelection();
    frame.Command(ID_DISPLAY_SLOWNESS);
    EXPECT_EQ(theApp.m_domainSetup.slownessUnit, SlownessUnit::kPerMetre);
    ASSERT_EQ(frame.Children().size(), 1u);
    auto* view = dynamic_cast<CDomainWnd*>(frame.Children()[0]);
    ASSERT_NE(view, nullptr);
    frame.WindowOf(*view)->Paint();
    frame.Mouse(*view, "move", 0, {100, 100});
    EXPECT_NE(frame.PaneText(3).find(" [uSec/m]"), std::string::npos) << frame.PaneText(3);
    frame.Command(ID_WINDOW_CLOSE_ALL);
}

// Every line, polyline and polygon point of a paint lies inside the client area.
::testing::AssertionResult DrawnInside(const std::vector<std::string>& ops, int width, int height)
{
    for (const auto& op : ops) {
        if (op.rfind("Polygon(", 0) != 0 && op.rfind("Polyline(", 0) != 0 && op.rfind("Line(", 0) != 0) continue;
        std::vector<long> v;
        for (const char* p = op.c_str() + op.find('(') + 1; *p && *p != ')';) {
            char* end = nullptr;
            v.push_back(std::strtol(p, &end, 10));
            p = *end == ',' ? end + 1 : end;
        }
        for (size_t i = 0; i + 1 < v.size(); i += 2)
            if (v[i] < 0 || v[i] > width || v[i + 1] < 0 || v[i + 1] > height)
                return ::testing::AssertionFailure() << "outside the client: " << op.substr(0, 80);
    }
    return ::testing::AssertionSuccess();
}


TEST_F(DomainWndTest, ExtremeSampleStepsPaintInsideTheirBandsInEveryDomain)
{
    // Steps this large or small once sent the grid's int counter past its range and
    // the paint never ended; indices and ticks went through undefined conversions.
    const struct {
        float step;
        uint8_t category, type;
        int domain;
    } cases[] = {
        {3e38f, kCategoryWaveform, 1, kDomainTime},         {1e-30f, kCategoryWaveform, 1, kDomainFrequency},
        {1e-30f, kCategoryWaveform, 1, kDomainTime},        {3e38f, kCategoryWaveform, 1, kDomainFrequency},
        {1e-45f, kCategoryWaveform, 1, kDomainFrequency},   {FLT_MAX, kCategoryWaveform, 158, kDomainTime},
        {3e38f, kCategorySlowness, 33, kDomainSlowness},    {1e-30f, kCategorySlowness, 33, kDomainSlowness},
        {3e38f, kCategoryAzimuth, 26, kDomainAzimuth},      {1e-30f, kCategoryAzimuth, 26, kDomainAzimuth},
    };
    for (const auto& c : cases) {
        QtxDatumShape datum = Waveform(2, 64, c.step, c.type);
        datum.category = c.category;
        ASSERT_TRUE(WriteQtx(path, {datum}, 2));
        ScriptSelection();
        CDomainWnd* view = OpenView(c.domain);
        ASSERT_NE(view, nullptr) << c.step;
        ScriptedWindow* w = frame.WindowOf(*view);
        for (int code : {SB_PAGERIGHT, SB_LINELEFT}) {
            view->OnHScroll(code, 0);
            w->Paint();
            EXPECT_TRUE(DrawnInside(w->lastPaint, 640, 480)) << c.step << " in domain " << c.domain;
        }
        EXPECT_LE(view->Axis().last, view->Shape().sampleCount);
        view->OnClose();
    }
}

TEST_F(DomainWndTest, SamplesThatAreNotNumbersAreGapsAndHugeOnesAreDrawn)
{
    // Trace 0 holds the values below around sample 20, trace 1 is clean: one
    // polygon per run of drawn columns.
    const struct {
        float step;
        int domain;
        float at20, at21;
        size_t polygons;
    } cases[] = {
        {2.0f, kDomainTime, NAN, 0.5f, 3},
        {8.0f, kDomainTime, NAN, 0.5f, 3}, // interpolated: the gap stays where it was
        {2.0f, kDomainTime, INFINITY, 0.5f, 3},
        {2.0f, kDomainTime, 3e38f, -3e38f, 2},
        {8.0f, kDomainTime, FLT_MAX, -FLT_MAX, 2},
        {2.0f, kDomainFrequency, NAN, 0.5f, 1}, // a trace with a gap has no spectrum
        {2.0f, kDomainFrequency, FLT_MAX, FLT_MAX, 2},
    };
    for (const auto& c : cases) {
        auto sample = [&](int, int, size_t i) {
            if (i == 20) return c.at20;
            if (i == 21) return c.at21;
            return float(std::sin(double(i) * 0.4));
        };
        ASSERT_TRUE(WriteQtx(path, {Waveform(2, 64, c.step)}, 2, 1000.0, 0.5, sample));
        ScriptSelection();
        CDomainWnd* view = OpenView(c.domain);
        ASSERT_NE(view, nullptr);
        ScriptedWindow* w = frame.WindowOf(*view);
        w->Paint();
        EXPECT_EQ(Polygons(w->lastPaint), c.polygons) << c.at20 << " at step " << c.step << " in " << c.domain;
        EXPECT_TRUE(DrawnInside(w->lastPaint, 640, 480)) << c.at20;
        view->OnClose();
    }
}

TEST_F(DomainWndTest, HostileDepthsAndFrameCountsOpenAFrameTheViewCanReach)
{
    // Two frames written; the header then claims the depths and counts below.
    const struct {
        double top, bottom;
        uint32_t frames;
        uint8_t direction;
        int position;
    } cases[] = {
        {NAN, 1000.5, 2, qtx::kLogDown, 0},
        {1000.0, INFINITY, 2, qtx::kLogDown, 0},
        {-INFINITY, INFINITY, 2, qtx::kLogDown, 0},
        {-1e308, 1e308, 2, qtx::kLogDown, 0},
        {1000.0, 1000.5, 0x80000000u, qtx::kLogDown, 0},
        {1000.0, 1000.5, 0xFFFFFFFFu, qtx::kLogDown, 0},
        {1000.5, 1000.0, 0x80000000u, qtx::kLogUp, 0x7FFFFFFE}, // the shallowest frame: past the file
        {-1.0, -0.5, 2, qtx::kLogDown, 1},                       // -1 is a depth like any other
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteQtx(path, {Waveform(2, 64, 2.0f)}, 2, 1000.0, c.direction == qtx::kLogUp ? -1.0 : 0.5,
                             DefaultSample, c.direction));
        PatchQtxHeader(path, [&](QtxFileHeader& h) {
            h.topDepth = c.top;
            h.bottomDepth = c.bottom;
            h.frameCount = c.frames;
        });
        ScriptSelection();
        // A frame the header counts but the file lacks is reported once, when read.
        if (c.frames > 2) host.ExpectMessage("Error reading frame data in file :");
        CDomainWnd* view = OpenView(kDomainTime, 1000.0);
        ASSERT_NE(view, nullptr) << c.top;
        EXPECT_EQ(view->Frames().Frame(), c.position) << c.top << " " << c.frames;
        const int last = int(std::min<uint32_t>(c.frames, INT_MAX)) - 1; // scroll positions are ints
        EXPECT_EQ(view->GetScrollInfo(SB_VERT).max, last);
        if (c.position < 2) {
            frame.WindowOf(*view)->Paint();
            EXPECT_EQ(Polygons(frame.WindowOf(*view)->lastPaint), 2u) << "a frame of the file is read";
        }
        // Moves from either end stay inside the frames the view can reach.
        for (unsigned key : {unsigned(VK_END), unsigned(VK_NEXT), unsigned(VK_DOWN), unsigned(VK_HOME),
                             unsigned(VK_PRIOR), unsigned(VK_UP)}) {
            view->OnKeyDown(key, 1, 0);
            EXPECT_GE(view->Frames().Frame(), 0);
            EXPECT_LE(view->Frames().Frame(), last);
        }
        view->OnVScroll(SB_THUMBPOSITION, INT_MIN);
        EXPECT_EQ(view->Frames().Frame(), c.direction == qtx::kLogDown ? 0 : last);
        view->OnClose();
    }
}

} // namespace
