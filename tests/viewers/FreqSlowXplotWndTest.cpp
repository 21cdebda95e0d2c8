#include "viewers/FreqSlowXplotWnd.h"
#include "viewers/FreqSlowXplotWndFactory.h"

#include "app/ViewerApp.h"
#include "platform/Format.h"
#include "res/CommandIds.h"
#include "res/XPlotSetupDlgIds.h"
#include "support/AppFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "settings/XPlotSetupGroup.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace {

QtxDatumShape Curve(const char* mnemonic, uint8_t type, uint16_t receivers, uint16_t samples, float step = 2.0f)
{
    return {.mnemonic = mnemonic, .typeCode = type, .traces = receivers, .samples = samples,
            .unit = kUnitMicroseconds, .step = step};
}

class FreqSlowXplotWndTest : public AppTest {
protected:
    TempDir dir;
    std::string path = dir.File("ifs.qtx");
    XPlotSetupGroup setup; // as the setup dialog leaves it

    void SetUp() override
    {
        AppTest::SetUp();
        Start();
        frame.Command(ID_FILE_QTX);
        setup.SetDefaults();
        setup.path = path;
        setup.title = "ifs";
        setup.ext = "qtx";
    }
    // A waveform, then the slowness and frequency curves of 2 receivers of 8 samples
    // (datums 1 and 2); `slowness` and `frequency` give (receiver, sample) of each.
    void WritePair(const std::function<float(int, int)>& slowness, const std::function<float(int, int)>& frequency,
                   int frames = 3, uint8_t direction = qtx::kLogDown)
    {
        const bool down = direction == qtx::kLogDown;
        ASSERT_TRUE(WriteQtx(path, {Curve("WMNO", 1, 2, 8), Curve("ISMN", 164, 2, 8), Curve("IFMN", 158, 2, 8)}, frames,
                             down ? 1000.0 : 1000.0 + 0.5 * (frames - 1), down ? 0.5 : -0.5,
                             [&](int, int datum, size_t i) {
                                 if (datum == 1) return slowness(int(i / 8), int(i % 8));
                                 if (datum == 2) return frequency(int(i / 8), int(i % 8));
                                 return 0.0f;
                             },
                             direction));
    }
    CFreqSlowXplotWnd* Open(const std::vector<int>& selected, int datums)
    {
        setup.datums = {};
        setup.datums.datumCount = uint32_t(datums);
        for (int k : selected) setup.datums.selected[size_t(k)] = 1;
        return OpenFreqSlowXplotWnd(setup, theViewerApp.m_windowClasses[kClassXPlot]);
    }
};

TEST_F(FreqSlowXplotWndTest, ExactlyTwoDatumsOfOneIfsPairOpenTheViewAndThePairIsCheckedInOrder)
{
    // 1 and 2 are the pair; 3 another slowness curve; 4 a frequency curve of 4 receivers
    // and 6 samples; 5 one of 6 samples; 6 one sampled at 4 us.
    ASSERT_TRUE(WriteQtx(path, {Curve("WMNO", 1, 8, 8), Curve("ISMN", 164, 8, 8), Curve("IFMN", 158, 8, 8),
                                Curve("ISXX", 165, 8, 8), Curve("IFXX", 159, 4, 6), Curve("IFYX", 161, 8, 6),
                                Curve("IFYY", 162, 8, 8, 4.0f)},
                         2));
    const std::string abandoned = "\nOperation will be abandoned.";
    const std::pair<std::vector<int>, std::string> cases[] = {
        {{1}, "Unrecognized selection list!"},
        {{0, 1, 2}, "Unrecognized selection list!"},
        {{1, 3}, "Could not find IFS data set!"},
        {{0, 2}, "Could not find IFS data set!"},
        {{1, 4}, "Inconsistent IFS data set (number receivers)!"}, // before its samples
        {{1, 5}, "Inconsistent IFS data set (number samples)!"},
        {{1, 6}, "Inconsistent IFS data set (sampling period)!"},
    };
    for (const auto& [selected, message] : cases) {
        host.ExpectMessage(message + abandoned);
        EXPECT_EQ(Open(selected, 7), nullptr) << message;
        EXPECT_EQ(host.Messages().back().type, MB_OK | MB_ICONSTOP);
    }
    EXPECT_TRUE(theApp.m_viewOptions.empty());

    CFreqSlowXplotWnd* view = Open({2, 3}, 7); // the first of each kind counts: 165 and 158
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetWindowText(), "FrequencySlowness Xplot (ifs.qtx)");
    EXPECT_EQ(view->Caption(), "Dipole XX Frequency-Slowness");
    EXPECT_EQ(view->m_receivers, 8);
    EXPECT_EQ(theApp.m_display.receiverShown[0] + theApp.m_display.receiverShown[1], 1u) << "only R1 shown";
}

TEST_F(FreqSlowXplotWndTest, PointsInsideBothRangesWithAPickAfterThemAreDrawnWhereTheirValuesPutThem)
{
    // Receiver 2 (red): samples 0-7 as (slowness, frequency).
    const float s[8] = {150, 50, 200, 250, 0, 300, NAN, 120}, f[8] = {2000, 2000, 3500, 1500, 9, 3000, 2500, 1200};
    WritePair([&](int r, int i) { return r == 1 ? s[i] : 0.0f; }, [&](int r, int i) { return r == 1 ? f[i] : 0.0f; });
    setup.slowMin = 100, setup.slowMax = 300, setup.freqMin = 1000, setup.freqMax = 3000;
    frame.childClientSize = {500 + 40, 400 + 55};
    CFreqSlowXplotWnd* view = Open({1, 2}, 3);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->PointsDrawn(), 0) << "receiver 1 has no point in the ranges";
    frame.Command(ReceiverCommand(2));
    frame.Command(ReceiverCommand(1));
    ASSERT_EQ(view->PlotImage().width, 500);
    // 0 drawn; 1 and 2 outside a range; 3 has no slowness after it; 5 (on both upper
    // ends) lands on the plot's right edge; 6 is no number; 7, the last, has none after it.
    EXPECT_EQ(view->PointsDrawn(), 2);
    const uint32_t red = 0xFFFF0000u;
    auto at = [&](int x, int y) { return view->PlotImage().At(x, y); };
    const int x = int((150.0 - 100) / 200 * 500), y = int(400 - (2000.0 - 1000) / 2000 * 400);
    EXPECT_EQ(std::tuple(x, y), std::tuple(125, 200));
    for (const auto& [dx, dy] : {std::pair{-1, -1}, {1, 1}, {0, -5}, {0, 5}, {-5, 0}, {5, 0}})
        EXPECT_EQ(at(x + dx, y + dy), red) << dx << "," << dy << ": the block and the first point's cross";
    for (const auto& [dx, dy] : {std::pair{2, 1}, {0, -6}, {6, 0}}) EXPECT_NE(at(x + dx, y + dy), red) << dx << "," << dy;
    EXPECT_EQ(at(499, 0), red) << "point 5 at (500, 0), its block inside";
    EXPECT_NE(at(int((250.0 - 100) / 200 * 500), int(400 - 500.0 / 2000 * 400)), red) << "point 3";

    const std::pair<int, Color> colours[] = {{0, Rgb(0, 0, 0)}, {2, Rgb(10, 128, 32)}, {11, Rgb(128, 0, 128)},
                                             {12, Rgb(0, 0, 0)}, {15, Rgb(0, 0, 0)}}; // past twelve: black
    for (const auto& [receiver, colour] : colours) EXPECT_EQ(CFreqSlowXplotWnd::ReceiverColour(receiver), colour);
}

TEST_F(FreqSlowXplotWndTest, AFrameShownAfterOthersLooksAsWhenShownFirst)
{
    // The points move from frame to frame; some lie on the plot's edges, partly
    // outside, and the first point of each receiver carries its cross.
    ASSERT_TRUE(WriteQtx(path, {Curve("WMNO", 1, 2, 8), Curve("ISMN", 164, 2, 8), Curve("IFMN", 158, 2, 8)}, 4, 1000.0,
                         0.5, [](int f, int datum, size_t i) {
                             const int r = int(i / 8), k = int(i % 8);
                             if (datum == 1) return k == 3 && f == 1 ? 300.0f : 110.0f + 25.0f * float(k + f + r);
                             if (datum == 2) return k == 2 && f != 2 ? 1000.0f : 1100.0f + 230.0f * float(k) + 90.0f * float(f - r);
                             return 0.0f;
                         }));
    setup.slowMin = 100, setup.slowMax = 300, setup.freqMin = 1000, setup.freqMax = 3000;
    frame.childClientSize = {300 + 40, 200 + 55};
    auto show = [&] { frame.Command(ReceiverCommand(2)); }; // with the first, shown from the start
    CFreqSlowXplotWnd* walked = Open({1, 2}, 3);
    ASSERT_NE(walked, nullptr);
    show();
    for (int f = 1; f < 4; ++f) {
        walked->OnKeyDown(VK_DOWN, 1, 0);
        walked->PrepareRepaint();
        setup.topDepth = 1000.0 + 0.5 * f;
        CFreqSlowXplotWnd* first = Open({1, 2}, 3);
        ASSERT_NE(first, nullptr);
        show();
        ASSERT_EQ(walked->Frames().Frame(), f);
        ASSERT_EQ(first->Frames().Frame(), f);
        EXPECT_GT(first->PointsDrawn(), 8);
        EXPECT_EQ(walked->PointsDrawn(), first->PointsDrawn()) << "frame " << f;
        EXPECT_TRUE(walked->PlotImage().pixels == first->PlotImage().pixels) << "frame " << f;
        first->OnClose();
        frame.ActivateChild(*walked);
    }
}

TEST_F(FreqSlowXplotWndTest, GridLinesFollowTheWidthOfEachRange)
{
    WritePair([](int, int) { return 0.0f; }, [](int, int) { return 0.0f; });
    frame.childClientSize = {500 + 40, 500 + 55};
    struct Case {
        float lo, hi;
        bool frequency;
        std::vector<std::string> texts; // of the first and last labels
        int count, firstAt;              // lines, and where the first crosses
    };
    const Case cases[] = {
        // Frequency (y from the bottom): every 500 from the first multiple of the label step.
        {1000, 3000, true, {"1500.0", "2500.0"}, 3, 25 + 500 - 126 + 1},
        {0, 800, true, {"100.0", "700.0"}, 7, 25 + 500 - 63 + 1}, // up to 1,000: every 100
        {1000, 12000, true, {"2000.0", "11500.0"}, 20, 25 + 500 - 46 + 1},
        // Slowness (x from the left): every 50, labels from a multiple of 100 above 500.
        {80, 480, false, {"100.0", "450.0"}, 8, 35 + 26 - 1},
        {0, 1000, false, {"100.0", "950.0"}, 18, 35 + 51 - 1},
        {100, 180, false, {"125.0", "175.0"}, 3, 35 + 157 - 1}, // up to 100: every 25
    };
    for (const Case& c : cases) {
        (c.frequency ? setup.freqMin : setup.slowMin) = c.lo;
        (c.frequency ? setup.freqMax : setup.slowMax) = c.hi;
        CFreqSlowXplotWnd* view = Open({1, 2}, 3);
        ASSERT_NE(view, nullptr);
        const auto& ticks = c.frequency ? view->FrequencyTicks() : view->SlownessTicks();
        ASSERT_EQ(int(ticks.size()), c.count) << c.lo << "-" << c.hi;
        EXPECT_EQ(std::vector<std::string>({ticks.front().text, ticks.back().text}), c.texts) << c.lo << "-" << c.hi;
        EXPECT_EQ(ticks.front().at, c.firstAt) << c.lo << "-" << c.hi;
        view->OnClose();
        setup.SetDefaults();
        setup.path = path;
    }
}

TEST_F(FreqSlowXplotWndTest, APaintShowsThePlotLegendAndLabelsAndTheMouseReadsTheRanges)
{
    WritePair([](int, int i) { return 100.0f + float(i) * 10; }, [](int, int i) { return 1000.0f + float(i) * 100; });
    setup.slowMin = 80, setup.slowMax = 480, setup.freqMin = 1000, setup.freqMax = 3000;
    frame.childClientSize = {440, 455};
    CFreqSlowXplotWnd* view = Open({1, 2}, 3);
    ASSERT_NE(view, nullptr);
    ScriptedWindow* w = frame.WindowOf(*view);
    w->Paint();
    const auto& ops = w->lastPaint;
    auto has = [&](const std::string& op) { return std::find(ops.begin(), ops.end(), op) != ops.end(); };
    EXPECT_TRUE(has("StretchImage(35,25,435,425 <- 400x400:0,0,400,400)"));
    EXPECT_TRUE(has("Rectangle(35,25,435,425)"));
    EXPECT_TRUE(has("TextOut(220,3,Monopole Frequency-Slowness)"));
    EXPECT_TRUE(has("TextOut(220,443,Slowness [uSec/ft])"));
    EXPECT_TRUE(has("TextOut(25,3,Frequency)"));
    EXPECT_TRUE(has("TextOut(17,15, [Hz])"));
    // Legend: a frame for two receivers, a line and a label for each.
    EXPECT_TRUE(has("Rectangle(43,37,113,85)"));
    EXPECT_TRUE(has("SelectPen(0,2,#FF0000)"));
    EXPECT_TRUE(has("Line(52,73,82,73)"));
    EXPECT_TRUE(has("TextOut(97,67,R2)"));
    // A frequency label too wide for the margin loses its decimal; slowness labels hang
    // below the grid lines' ends.
    EXPECT_TRUE(has("TextOut(17,319,1500)"));
    EXPECT_TRUE(has("TextOut(55,431,100.0)"));

    frame.Mouse(*view, "move", 0, {35 + 100, 25 + 300});
    EXPECT_EQ(frame.PaneText(4), " 180.00 [uSec/ft]");
    EXPECT_EQ(frame.PaneText(3), " 1500.00 [Hz]");
    frame.Mouse(*view, "move", 0, {20, 20});
    EXPECT_EQ(w->cursor, CursorKind::Arrow);
    EXPECT_EQ(frame.PaneText(4), " 180.00 [uSec/ft]") << "outside the plot nothing changes";
}

TEST_F(FreqSlowXplotWndTest, AFrameStepPaintsThePlotAloneAndOtherPaintsTheWholeWindow)
{
    WritePair([](int, int i) { return 100.0f + float(i) * 10; }, [](int, int i) { return 1000.0f + float(i) * 100; }, 5);
    setup.slowMin = 80, setup.slowMax = 480, setup.freqMin = 1000, setup.freqMax = 3000;
    frame.childClientSize = {440, 455};
    CFreqSlowXplotWnd* view = Open({1, 2}, 3);
    ASSERT_NE(view, nullptr);
    ScriptedWindow* w = frame.WindowOf(*view);
    w->Paint();
    const std::vector<std::string> whole = w->lastPaint;
    auto count = [&](const char* prefix) {
        return std::count_if(w->lastPaint.begin(), w->lastPaint.end(), [&](const std::string& op) { return op.rfind(prefix, 0) == 0; });
    };
    view->OnKeyDown(VK_DOWN, 1, 0);
    EXPECT_EQ(count("TextOut"), 0) << "the texts stay in the window";
    // The plot around the legend's box (43,37,113,85): above, below, left and right of it.
    EXPECT_EQ(count("StretchImage(35,25,435,425"), 4);
    for (const char* band : {"Clip(35,25,435,37)", "Clip(35,85,435,425)", "Clip(35,37,43,85)", "Clip(113,37,435,85)"})
        EXPECT_NE(std::find(w->lastPaint.begin(), w->lastPaint.end(), band), w->lastPaint.end()) << band;
    // Anything else paints the whole window.
    w->Paint();
    EXPECT_EQ(w->lastPaint, whole);
}

TEST_F(FreqSlowXplotWndTest, TheViewOpensAtTheRangesFirstEndInTheFileAndMovesByFrames)
{
    struct Case {
        int frames;
        uint8_t direction;
        double start, stop;
        int frame, position;
        int reads; // by a line down and a page up
    };
    const Case cases[] = {
        {10, qtx::kLogDown, 1002, 1004, 4, 4, 2},
        {10, qtx::kLogDown, 2000, 3000, 9, 9, 1}, // the line down stays on the last frame
        {10, qtx::kLogUp, 1000, 1003, 3, 6, 2},   // the stop depth, counted from the deep end
        {10, qtx::kLogUp, 0, 990, 9, 0, 2},
        {1, qtx::kLogDown, 1002, 1004, 0, 0, 0}, // one frame: no division by its span
    };
    for (const Case& c : cases) {
        WritePair([](int, int) { return 150.0f; }, [](int, int) { return 2000.0f; }, c.frames, c.direction);
        setup.topDepth = c.start;
        setup.bottomDepth = c.stop;
        CFreqSlowXplotWnd* view = Open({1, 2}, 3);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->Frames().Frame(), c.frame) << c.start;
        EXPECT_EQ(view->VScroll().pos, c.position) << c.start;
        EXPECT_TRUE(view->FrameRead());
        EXPECT_EQ(frame.PaneText(1), Format("%10.4f [ft]", 1000.0 + 0.5 * c.position));
        const int reads = view->FramesRead();
        view->OnKeyDown(VK_DOWN, 1, 0);
        view->OnVScroll(SB_THUMBTRACK, 0);
        EXPECT_EQ(frame.PaneText(1), " 1000.0000 [ft]") << "the thumb's depth";
        view->OnVScroll(SB_PAGEUP, 0);
        EXPECT_EQ(view->VScroll().pos, 0);
        EXPECT_EQ(view->FramesRead(), reads + c.reads) << "a frame is read when the view moves to it";
        view->OnClose();
    }
}

TEST_F(FreqSlowXplotWndTest, DisplayXplotMapRunsFromTheMenuWithTheDatumsSelectedInItsDialog)
{
    WritePair([](int, int i) { return 100.0f + float(i); }, [](int, int i) { return 1000.0f + float(i); });
    theApp.m_xplotSetup.path.clear();
    host.ScriptDialog(kIddXPlotSetup).Press(xplot_setup::kIdcRun);
    host.ExpectMessage("LIS file name is not set!\nOperation will be abandoned.");
    frame.Command(ID_DISPLAY_XPLOT);
    EXPECT_TRUE(frame.Children().empty());

    host.ExpectFileDialog("Select Input Phase Processed File", path);
    host.ScriptDialog(kIddXPlotSetup)
        .Press(xplot_setup::kIdcSelectInputFile)
        .SelectMany(xplot_setup::kIdcDatums, {1, 2})
        .Press(xplot_setup::kIdcRun);
    theApp.m_display.zoomLevel = -3;
    frame.Command(ID_DISPLAY_XPLOT);
    ASSERT_EQ(frame.Children().size(), 1u);
    auto* view = dynamic_cast<CFreqSlowXplotWnd*>(frame.Children()[0]);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Slowness().mnemonic + view->Frequency().mnemonic, "ISMNIFMN");
    EXPECT_EQ(theApp.m_display.zoomLevel, -3) << "a cross-plot leaves the zoom as it was";
    EXPECT_EQ(view->PointsDrawn(), 7) << "R1's samples with a pick after them, in the default ranges";
}

} // namespace
