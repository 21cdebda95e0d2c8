#include "viewers/VdlWnd.h"
#include "viewers/VdlWndFactory.h"
#include "viewers/ViewOptions.h"

#include "app/ViewerApp.h"
#include "common/Fft.h"
#include "common/ParallelRows.h"
#include "common/QtxFileDlg.h"
#include "platform/Format.h"
#include "res/CommandIds.h"
#include "res/QtxFileDlgIds.h"
#include "res/VdlSetupDlgIds.h"
#include "support/AppFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "settings/VdlSetupGroup.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

namespace {

constexpr double kPi = 3.14159265358979;

QtxDatumShape Waveform(uint16_t traces, uint16_t samples, float step, uint8_t type = 1)
{
    QtxDatumShape d;
    d.mnemonic = "WMNO";
    d.typeCode = type;
    d.traces = traces;
    d.samples = samples;
    d.unit = kUnitMicroseconds;
    d.step = step;
    return d;
}

class VdlWndTest : public AppTest {
protected:
    TempDir dir;
    std::string path = dir.File("vdl.qtx");
    VdlSetupGroup setup; // as the VDL Setup dialog leaves it

    void SetUp() override
    {
        AppTest::SetUp();
        Start();
        frame.Command(ID_FILE_QTX);
        setup.SetDefaults();
        setup.path = path;
    }

    // Picks the first Found item of the tab the selection dialog opens on.
    // The setup's windows over the 3,000-frame logs of the step tests: 1000 to 2499.5,
    // every sample in both domains.
    void WholeLogWindows()
    {
        setup.topDepth = 1000;
        setup.bottomDepth = 2499.5;
        setup.timeStart = 0;
        setup.timeStop = 256;
        setup.freqStart = 0;
        setup.freqStop = 100000;
    }
    CVdlWnd* Open(const char* domain = "Time", bool choose = true)
    {
        if (choose)
            host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
        setup.domain = ViewDomainOfName(domain);
        return OpenVdlWnd(setup, theViewerApp.m_windowClasses[kClassVdl]);
    }
    ScriptedWindow* Window(CVdlWnd* view) { return frame.WindowOf(*view); }

    // The palette index of an image pixel (-1: the background of a gap).
    static int IndexAt(const CVdlWnd& view, int x, int y)
    {
        for (int i = 0; i < CVdlWnd::kColours; ++i)
            if (view.Item().image.At(x, y) == CVdlWnd::PaletteColour(view.Item().palette, i)) return i;
        return -1;
    }
};

TEST_F(VdlWndTest, TheDisplayRangeMapsToFramesInBothLogDirections)
{
    // Ten frames a foot apart; the range's share of the log times the frame count.
    struct Case {
        uint8_t direction;
        int frames;
        double top, bottom;
        int first, last;
    };
    const Case cases[] = {
        {qtx::kLogDown, 10, 1002, 1009, 2, 10}, // ends with the log: the frame count itself
        {qtx::kLogDown, 10, 990, 1020, 0, 9},
        {qtx::kLogUp, 10, 1002, 1009, 8, 0},
        {qtx::kLogUp, 10, 990, 1020, 9, 0},
        {qtx::kLogDown, 1, 990, 1020, 0, 0}, // one frame: no division by the span
    };
    for (const Case& c : cases) {
        const bool down = c.direction == qtx::kLogDown;
        ASSERT_TRUE(WriteQtx(path, {Waveform(2, 64, 10.0f)}, c.frames, down ? 1000.0 : 1000.0 + c.frames - 1,
                             down ? 1.0 : -1.0, DefaultSample, c.direction));
        setup.topDepth = c.top;
        setup.bottomDepth = c.bottom;
        CVdlWnd* view = Open();
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->Page().firstFrame, c.first) << c.top << (down ? " down" : " up");
        EXPECT_EQ(view->Page().lastFrame, c.last) << c.top;
        EXPECT_EQ(view->Page().firstVisible, c.first);
        EXPECT_GE(view->Raster().rowsDrawn, 1);
        view->OnClose();
    }
}

TEST_F(VdlWndTest, HomeEndAndPagesMoveInsideTheRangeAndTheLastPageEndsWithIt)
{
    for (uint8_t direction : {qtx::kLogDown, qtx::kLogUp}) {
        const bool down = direction == qtx::kLogDown;
        ASSERT_TRUE(WriteQtx(path, {Waveform(1, 64, 10.0f)}, 1000, down ? 1000.0 : 1499.5, down ? 0.5 : -0.5,
                             DefaultSample, direction));
        setup.topDepth = 1100; // frame 200 from the top
        setup.bottomDepth = 1499.5;
        CVdlWnd* view = Open();
        ASSERT_NE(view, nullptr);
        const int top = down ? 200 : 800, topPosition = down ? 200 : 199;
        EXPECT_EQ(view->Page().firstVisible, top);
        view->OnKeyDown(VK_END, 1, 0);
        const double pageEnd = 1499.5 - view->Raster().rowsAvailable * view->Page().depthPerPixel;
        const int p = view->FirstVisiblePosition();
        EXPECT_LT(view->DepthOfPosition(p), pageEnd);
        EXPECT_GE(view->DepthOfPosition(p + 1), pageEnd) << "the last page is full";
        EXPECT_EQ(view->Page().firstVisible, down ? p : 999 - p);
        EXPECT_EQ(frame.PaneText(1), Format("%10.4f [ft]", view->DepthOfPosition(p)));
        // The scroll bar's thumb is at the bottom there; dragged back to the bottom it
        // shows that last page again.
        const ScrollInfo bar = view->GetScrollInfo(SB_VERT);
        EXPECT_EQ(bar.pos, bar.LastPos()) << "the thumb stands where the view does";
        view->OnKeyDown(VK_HOME, 1, 0);
        view->OnVScroll(SB_THUMBPOSITION, bar.LastPos());
        EXPECT_EQ(view->FirstVisiblePosition(), p);
        view->OnKeyDown(VK_HOME, 1, 0);
        EXPECT_EQ(view->Page().firstVisible, top);
        EXPECT_EQ(view->GetScrollInfo(SB_VERT).pos, 0);
        // Page Down keeps 40 frames of the page; Page Up goes back 40 more.
        const int page = view->Page().framesPerPage;
        ASSERT_GT(page, 40);
        view->OnKeyDown(VK_NEXT, 1, 0);
        EXPECT_EQ(view->FirstVisiblePosition(), topPosition + page - 40);
        view->OnKeyDown(VK_DOWN, 1, 0);
        view->OnKeyDown(VK_PRIOR, 1, 0);
        EXPECT_EQ(view->FirstVisiblePosition(), topPosition) << "held at the top of the range";
        // A page of fewer than 40 frames: Page Down still goes down.
        frame.Resize(*view, 640, 80);
        ASSERT_LT(view->Page().framesPerPage, 40);
        view->OnKeyDown(VK_NEXT, 1, 0);
        EXPECT_EQ(view->FirstVisiblePosition(), topPosition + 1);
        view->OnClose();
    }
}

TEST_F(VdlWndTest, ItemsArePaddedByDomainAndCurvesKeepTheirSamples)
{
    struct Case {
        uint8_t type;
        uint16_t samples;
        const char* domain;
        int count;
        bool padded;
    };
    const Case cases[] = {
        {1, 1000, "Time", 1024, true},     {158, 1000, "Time", 1000, false},
        {169, 1000, "Time", 1000, false},  {1, 1000, "Slowness", 1000, false},
        {1, 512, "Frequency", 512, false}, {163, 1000, "Frequency", 1024, true}, // a spectrum needs a power of two
    };
    for (const Case& c : cases) {
        QtxDatumShape d = Waveform(1, c.samples, 2.0f, c.type);
        if (std::string(c.domain) == "Slowness") d.category = kCategorySlowness;
        ASSERT_TRUE(WriteQtx(path, {d}, 3));
        CVdlWnd* view = Open(c.domain);
        ASSERT_NE(view, nullptr) << int(c.type);
        EXPECT_EQ(view->Samples().sampleCount, c.count) << int(c.type) << " " << c.domain;
        EXPECT_EQ(view->Samples().padded, c.padded) << int(c.type);
        view->OnClose();
    }
}

TEST_F(VdlWndTest, ItemsBeyondTheViewsArraysAreRefused)
{
    const std::pair<QtxDatumShape, const char*> cases[] = {
        {Waveform(17, 64, 2.0f), "17 receivers of 64 samples do not fit the view (at most 16 receivers of 8192"},
        {Waveform(1, 8193, 2.0f), "1 receivers of 8193 samples"},
        {Waveform(1, 64, NAN), "its sample step is not a positive number"},
    };
    for (const auto& [datum, message] : cases) {
        ASSERT_TRUE(WriteQtx(path, {datum}, 2));
        host.ExpectMessage(message);
        EXPECT_EQ(Open(), nullptr) << message;
    }
    EXPECT_TRUE(theApp.m_viewOptions.empty());
}

TEST_F(VdlWndTest, AxesSnapToTheSampleGridAndStayInsideTheSamples)
{
    struct Case {
        const char* domain;
        uint8_t category;
        uint16_t samples;
        float step, from, to; // the setup's range of the domain
        float start, stop, span;
        int first, last, firstTick, scrollMax;
    };
    const Case cases[] = {
        // 0 to 10,000 us on a 0.5 us grid of 1,024 samples: held to N x s.
        {"Time", kCategoryWaveform, 1024, 0.5f, 0, 10000, 0, 512, 511.5f, 0, 1023, 500, 0},
        {"Time", kCategoryWaveform, 1024, 2.0f, 3, 401, 4, 402, 398, 2, 201, 100, 824},
        // 10^6 / (1024 x 10) Hz bins; a stop above Nyquist (50 kHz) is 0.95 of it.
        {"Frequency", kCategoryWaveform, 1024, 10.0f, 1000, 60000, 1074.21875f, 47558.59375f, 46386.71875f, 11, 487,
         1500, 36},
        {"Slowness", kCategorySlowness, 200, 2.0f, 41, 239, 42, 240, 196, 21, 120, 50, 100},
        // The whole circle leaves nothing to scroll; a quarter of it the rest.
        {"Azimuth", kCategoryAzimuth, 36, 10.0f, 0, 400, 0, 360, 350, 0, 35, 50, 0},
        {"Azimuth", kCategoryAzimuth, 36, 10.0f, 85, 180, 90, 180, 90, 9, 18, 100, 26},
    };
    for (const Case& c : cases) {
        QtxDatumShape d = Waveform(1, c.samples, c.step);
        d.category = c.category;
        ASSERT_TRUE(WriteQtx(path, {d}, 3));
        const std::string domain = c.domain;
        float* range[][2] = {{&setup.timeStart, &setup.timeStop}, {&setup.freqStart, &setup.freqStop},
                             {&setup.slowMin, &setup.slowMax}, {&setup.azimMin, &setup.azimMax}};
        const int k = domain == "Time" ? 0 : domain == "Frequency" ? 1 : domain == "Slowness" ? 2 : 3;
        *range[k][0] = c.from;
        *range[k][1] = c.to;
        CVdlWnd* view = Open(c.domain);
        ASSERT_NE(view, nullptr) << c.domain;
        const auto& a = view->HorizontalAxis();
        EXPECT_FLOAT_EQ(a.start, c.start) << c.domain << " " << c.from;
        EXPECT_FLOAT_EQ(a.stop, c.stop) << c.domain << " " << c.from;
        EXPECT_FLOAT_EQ(a.span, c.span) << c.domain << " " << c.from;
        EXPECT_EQ(std::make_pair(a.first, a.last), std::make_pair(c.first, c.last)) << c.domain << " " << c.from;
        EXPECT_EQ(a.firstTick, c.firstTick) << c.domain << " " << c.from;
        EXPECT_EQ(view->GetScrollInfo(SB_HORZ).max, c.scrollMax) << c.domain << " " << c.from;
        view->OnHScroll(SB_THUMBPOSITION, 1 << 30);
        EXPECT_LE(view->HorizontalAxis().last, k == 1 ? c.samples / 2 : c.samples - 1) << "scrolled to the end";
        view->OnClose();
    }
}

TEST_F(VdlWndTest, ZoomRequestsStopAtTheirLimitsWithTheirMessages)
{
    // An instantaneous-frequency curve keeps 1,000 samples of 1 us: N x s = 1,000.
    ASSERT_TRUE(WriteQtx(path, {Waveform(1, 1000, 1.0f, 158)}, 3));
    setup.timeStart = 0;
    setup.timeStop = 800;
    setup.depthScale = 200;
    CVdlWnd* view = Open();
    ASSERT_NE(view, nullptr);
    struct Step {
        int command;
        float scale, span;
        const char* message;
    };
    const Step steps[] = {
        {ID_DEPTH_ZOOM_IN, 100, 800, ""}, // the limit itself
        {ID_DEPTH_ZOOM_IN, 100, 800, "Reached depth domain zoom limit!\nOperation will be abandoned."},
        {ID_DEPTH_ZOOM_OUT, 200, 800, ""},
        {ID_DEPTH_ZOOM_OUT, 400, 800, ""},
        {ID_DEPTH_ZOOM_OUT, 800, 800, ""},
        {ID_DEPTH_ZOOM_OUT, 800, 800, "Reached depth domain zoom limit!"}, // 1,600 > 1,000
        {ID_DATA_ZOOM_OUT, 800, 900, ""},                                  // 1,000: the limit itself
        {ID_DATA_ZOOM_OUT, 800, 900, "Reached time domain zoom limit!\nOperation will be abandoned."},
        {ID_DATA_ZOOM_IN, 800, 675, ""},
        {ID_DATA_ZOOM_IN, 800, 506, ""},
        {ID_DATA_ZOOM_IN, 800, 506, "Reached time domain zoom limit!"}, // 379.5 < 500
    };
    for (const Step& s : steps) {
        if (*s.message) host.ExpectMessage(s.message);
        frame.Command(s.command);
        EXPECT_EQ(view->Setup().depthScale, s.scale) << s.command;
        EXPECT_EQ(view->HorizontalAxis().span, s.span) << s.command;
        EXPECT_EQ(theApp.m_display.depthZoomRequest + theApp.m_display.dataAxisZoomRequest, 0) << "taken";
    }
    EXPECT_EQ(host.Messages().size(), 4u);

    // A slowness span of 120 zoomed in (90 < 100).
    QtxDatumShape slowness = Waveform(1, 200, 2.0f, 26);
    slowness.category = kCategorySlowness;
    ASSERT_TRUE(WriteQtx(path, {slowness}, 3));
    setup.slowMin = 100;
    setup.slowMax = 222;
    CVdlWnd* curve = Open("Slowness");
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->HorizontalAxis().span, 120);
    host.ExpectMessage("Reached Slowness domain zoom limit!\nOperation will be abandoned.");
    frame.Command(ID_DATA_ZOOM_IN);
}

TEST_F(VdlWndTest, PaletteIndicesRunFromTheLowestToTheHighestValue)
{
    const std::pair<float, int> indices[] = {{0.0f, 0}, {-0.7f, 0}, {0.5f, 15}, {0.999f, 30}, {1.0f, 31}, {7.0f, 31}, {NAN, -1}};
    for (const auto& [value, index] : indices) EXPECT_EQ(CVdlWnd::ColourIndex(value), index) << value;
    struct Colour {
        int palette, index;
        uint32_t rgb;
    };
    const Colour colours[] = {
        {CVdlWnd::kPaletteColor, 0, 0x7171A4},      {CVdlWnd::kPaletteColor, 31, 0x850059},
        {CVdlWnd::kPaletteAnisotropy, 13, 0xFACE00}, {CVdlWnd::kPaletteBlackWhite, 0, 0x808080},
        {CVdlWnd::kPaletteBlackWhite, 30, 0xF0F0F0}, {CVdlWnd::kPaletteBlackWhite, 31, 0x000000}, // black, not left open
        {CVdlWnd::kPaletteWhiteBlack, 0, 0xD4D4D4},  {CVdlWnd::kPaletteWhiteBlack, 1, 0xF0F0F0},
        {CVdlWnd::kPaletteWhiteBlack, 31, 0x000000},
    };
    for (const Colour& c : colours) EXPECT_EQ(CVdlWnd::PaletteColour(c.palette, c.index), 0xFF000000u | c.rgb) << c.index;
}

TEST_F(VdlWndTest, TheStoredPaletteTextChoosesThePaletteAndAnUnknownOneIsColor)
{
    ASSERT_TRUE(WriteQtx(path, {Waveform(1, 64, 10.0f)}, 4, 1000.0, 1.0, DefaultSample, qtx::kLogDown));
    const std::pair<const char*, int> cases[] = {{"Color", CVdlWnd::kPaletteColor},
                                                 {"Black&White", CVdlWnd::kPaletteBlackWhite},
                                                 {"White&Black", CVdlWnd::kPaletteWhiteBlack},
                                                 {"Anisotropy", CVdlWnd::kPaletteAnisotropy},
                                                 {"Grey", CVdlWnd::kPaletteColor},
                                                 {"", CVdlWnd::kPaletteColor}};
    for (const auto& [text, palette] : cases) {
        setup.palette = PaletteOfName(text);
        CVdlWnd* view = Open();
        ASSERT_NE(view, nullptr) << text;
        EXPECT_EQ(view->Item().palette, palette) << text;
        view->OnClose();
    }
}

TEST_F(VdlWndTest, RowsAreNormalisedByMaximumOrByTheCurvesRange)
{
    // 64 samples of 2 us in an image 63 columns wide: column c shows sample c.
    struct Case {
        const char* what;
        uint8_t type;
        std::function<float(size_t)> sample;
        float slowMin, slowMax;
        std::function<int(int)> index; // expected at column c
    };
    auto trunc31 = [](double v) { return std::clamp(int(std::floor(31 * v)), 0, 31); };
    const Case cases[] = {
        {"maximum", 1, [](size_t j) { return (float(j) - 20) / 2; }, 40, 240,
         [&](int c) { return c < 20 ? 0 : trunc31((c - 20) / 42.0); }},
        {"frequency curve", 158, [](size_t j) { return 100.0f * float(j); }, 40, 240,
         [&](int c) { return c == 0 ? 0 : trunc31((100.0 * c - 1000) / 4000); }},
        // Picks from 101 us/ft; 0 ends a run and the pick before it is dropped.
        {"slowness curve 0.9 / 1.1", 164, [](size_t j) { return j == 0 || j == 40 ? 0.0f : 100.0f + float(j); }, 40,
         240, [&](int c) { return c == 0 || c == 39 || c == 40 ? 0 : trunc31((100.0 + c - 90.9) / (178.2 - 90.9)); }},
        {"slowness curve held by the range", 164, [](size_t j) { return j == 0 || j == 40 ? 0.0f : 100.0f + float(j); },
         95, 170, [&](int c) { return c == 0 || c == 39 || c == 40 ? 0 : trunc31((100.0 + c - 95) / 75.0); }},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteQtx(path, {Waveform(1, 64, 2.0f, c.type)}, 3, 1000.0, 0.5,
                             [&](int, int, size_t j) { return c.sample(j); }));
        setup.timeStart = 0;
        setup.timeStop = 128;
        setup.freqStart = 1000;
        setup.freqStop = 5000;
        setup.slowMin = c.slowMin;
        setup.slowMax = c.slowMax;
        frame.childClientSize = {63 + 40, 200};
        CVdlWnd* view = Open();
        ASSERT_NE(view, nullptr);
        ASSERT_EQ(view->Raster().imageWidth, 63);
        for (int col = 0; col < 63; ++col) EXPECT_EQ(IndexAt(*view, 1 + col, 0), c.index(col)) << c.what << " at " << col;
        view->OnClose();
    }
}

TEST_F(VdlWndTest, TheInstantaneousFrequencyOfACosineIsItsFrequency)
{
    // Five cycles in 512 samples of 2 us.
    const double hertz = 5 / (512 * 2e-6);
    ASSERT_TRUE(WriteQtx(path, {Waveform(1, 512, 2.0f)}, 3, 1000.0, 0.5,
                         [&](int, int, size_t j) { return float(std::cos(2 * kPi * hertz * double(j) * 2e-6)); }));
    setup.timeStart = 0;
    setup.timeStop = 1024;
    CVdlWnd* view = Open();
    ASSERT_NE(view, nullptr);
    const Rect r = view->Raster().imageRect;
    frame.Mouse(*view, "move", 0, {r.left + view->Raster().imageWidth / 2, r.top + 1});
    EXPECT_EQ(frame.PaneText(2), Format("%5.2f [mSec]", (view->Raster().imageWidth / 2) * 1022.0 / view->Raster().imageWidth * 0.001));
    EXPECT_NEAR(std::atof(frame.PaneText(3).c_str()), hertz / 1000, 0.01) << frame.PaneText(3);
    EXPECT_NE(frame.PaneText(4).find(" [mV]"), std::string::npos);
}

TEST_F(VdlWndTest, ReadOutsClampTheirFrameToTheLogAndAFailedReadKeepsItOpen)
{
    ASSERT_TRUE(WriteQtx(path, {Waveform(1, 64, 2.0f)}, 20, 1000.0, 0.5));
    setup.topDepth = 1000;
    setup.depthScale = 2000; // the log ends well above the window's bottom
    CVdlWnd* view = Open();
    ASSERT_NE(view, nullptr);
    const Rect r = view->Raster().imageRect;
    ASSERT_GT(r.Height(), 3);
    for (int y = r.top; y < r.bottom; ++y) {
        frame.Mouse(*view, "move", 0, {r.left + 3, y});
        const int under = int((y - r.top) * view->Page().depthPerPixel / 0.5 + 0.001);
        EXPECT_EQ(view->Raster().readOutFrame, std::min(under, 19)) << y;
    }
    auto bytes = ReadBytes(path);
    bytes.resize(bytes.size() - 10 * size_t(view->Item().file.Header().frameSize));
    WriteBytes(path, bytes);
    host.ExpectMessage("Error reading frame data in file :");
    frame.Mouse(*view, "move", 0, {r.left + 3, r.bottom - 1});
    frame.Mouse(*view, "move", 0, {r.left + 3, r.top});
    EXPECT_EQ(view->Raster().readOutFrame, 0) << "the readable frames still read";
    EXPECT_TRUE(view->Item().file.InputOpen());
    view->Render();
    EXPECT_EQ(host.Messages().size(), 1u) << "reported once";
}

TEST_F(VdlWndTest, APaintBlitsTheRenderedImageAndWritesTheAnnotations)
{
    ASSERT_TRUE(WriteQtx(path, {Waveform(4, 128, 2.0f, 21)}, 2000, 1000.0, 0.5));
    setup.topDepth = 1000;
    setup.timeStart = 0;
    setup.timeStop = 256;
    CVdlWnd* view = Open();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Raster().columns, std::vector<int>{0}) << "a new view shows receiver 1";
    frame.Command(ReceiverCommand(3));
    ASSERT_EQ(view->Raster().columns, (std::vector<int>{0, 2}));
    ScriptedWindow* w = Window(view);
    w->Paint();
    const auto& ops = w->lastPaint;
    auto has = [&](const std::string& op) { return std::find(ops.begin(), ops.end(), op) != ops.end(); };
    const int width = (640 - 45) / 2, rows = 480 - 49;
    EXPECT_EQ(view->Raster().imageWidth, width);
    EXPECT_EQ(view->Raster().rowsDrawn, rows);
    EXPECT_TRUE(has(Format("StretchImage(35,25,%d,%d <- %dx%d:0,0,%d,%d)", 35 + 2 * (width + 5), 25 + rows,
                           2 * (width + 5), rows, 2 * (width + 5), rows)));
    EXPECT_EQ(std::count_if(ops.begin(), ops.end(), [](const std::string& op) { return op.rfind("Stretch", 0) == 0; }), 1);
    EXPECT_TRUE(has(Format("TextOut(%d,12,R1)", 35 + width / 2)));
    EXPECT_TRUE(has(Format("TextOut(%d,12,R3)", 35 + width + 5 + width / 2)));
    EXPECT_TRUE(has("TextOut(320,3,Monopole)"));
    EXPECT_TRUE(has(Format("TextOut(320,%d,Time [mSec])", 25 + rows + 11)));
    EXPECT_TRUE(has("TextOut(5,18, 1000)")) << "the first depth on its row";
    EXPECT_TRUE(std::any_of(ops.begin(), ops.end(), [](const std::string& op) { return op.ends_with(",0.1)"); }))
        << "ticks in milliseconds";

    // The paint reads nothing: a file gone short changes no pixel of it.
    const Image before = view->Item().image;
    auto bytes = ReadBytes(path);
    WriteBytes(path, std::vector<uint8_t>(bytes.begin(), bytes.begin() + 5000));
    w->Paint();
    EXPECT_EQ(view->Item().image.pixels, before.pixels);
    host.ExpectMessage("Error reading frame data in file :");
    view->OnKeyDown(VK_DOWN, 1, 0);
    EXPECT_EQ(IndexAt(*view, 1, 0), -1) << "a frame that cannot be read is a gap";

    // Signature: a wiggle every tenth row for each column, no image; the rows leave
    // room for the annotations that hang 10 pixels lower.
    WriteBytes(path, bytes);
    setup.type = WaveStyle::kSignature;
    CVdlWnd* wiggles = Open();
    ASSERT_NE(wiggles, nullptr);
    frame.Command(ReceiverCommand(3));
    ScriptedWindow* w2 = Window(wiggles);
    w2->Paint();
    EXPECT_EQ(std::count_if(w2->lastPaint.begin(), w2->lastPaint.end(), [](const std::string& op) { return op.rfind("Stretch", 0) == 0; }), 0);
    EXPECT_EQ(std::count_if(w2->lastPaint.begin(), w2->lastPaint.end(), [](const std::string& op) { return op.rfind("Polyline(", 0) == 0; }),
              2 * ((rows - 10 + 9) / 10));
    EXPECT_EQ(wiggles->Raster().rowsDrawn, rows - 10);
    EXPECT_TRUE(std::find(w2->lastPaint.begin(), w2->lastPaint.end(), Format("TextOut(320,%d,Time [mSec])", 35 + rows - 10 + 11))
                != w2->lastPaint.end());
}

TEST_F(VdlWndTest, DepthPerPixelComesFromTheScreensSize)
{
    ASSERT_TRUE(WriteQtx(path, {Waveform(1, 64, 2.0f)}, 100, 1000.0, 0.5));
    setup.depthScale = 480;
    CVdlWnd* view = Open();
    ASSERT_NE(view, nullptr);
    ScriptedWindow* w = Window(view);
    w->caps.vertSize = 635;
    w->caps.vertRes = 1000;
    frame.Resize(*view, 640, 480);
    EXPECT_NEAR(view->Page().depthPerPixel, 1.0, 1e-6) << "0.635 mm x 480 = one foot per pixel";
    EXPECT_EQ(view->Raster().rowsDrawn, 50) << "two frames a row, to the last";
}

TEST_F(VdlWndTest, NothingIsDrawnWhereThereIsNoRoomOrNoReceiver)
{
    ASSERT_TRUE(WriteQtx(path, {Waveform(2, 64, 2.0f)}, 10));
    CVdlWnd* view = Open();
    ASSERT_NE(view, nullptr);
    ScriptedWindow* w = Window(view);
    for (const Size size : {Size{40, 480}, Size{1, 1}, Size{640, 48}}) {
        frame.Resize(*view, size.cx, size.cy);
        w->Paint();
        EXPECT_EQ(view->Raster().rowsDrawn, 0) << size.cx << "x" << size.cy;
    }
    frame.Resize(*view, 640, 480);
    theApp.m_viewOptions.front()->m_shown[0] = 0; // no receiver shown
    view->PrepareRepaint();
    w->Paint();
    EXPECT_EQ(view->Raster().rowsDrawn, 0);
    EXPECT_EQ(std::count_if(w->lastPaint.begin(), w->lastPaint.end(), [](const std::string& op) { return op.rfind("Stretch", 0) == 0; }), 0);
}

TEST_F(VdlWndTest, HostileFileValuesAreClampedOrDrawnAsGaps)
{
    struct Case {
        const char* what;
        float step;
        double top, bottom, depthStep;
        uint32_t frames;
        const char* domain;
        bool opens;
    };
    const Case cases[] = {
        {"tiny sample step", 1e-30f, 1000, 1004.5, 0.5, 10, "Time", true},
        {"huge sample step", 3e38f, 1000, 1004.5, 0.5, 10, "Frequency", true},
        {"huge sample step", 3e38f, 1000, 1004.5, 0.5, 10, "Azimuth", true},
        {"NaN depths", 2.0f, NAN, INFINITY, 0.5, 10, "Time", false},
        {"no depth step", 2.0f, 1000, 1004.5, 0.0, 10, "Time", false},
        {"tiny depth step", 2.0f, 1000, 1000, 1e-300, 10, "Time", true},
        {"huge frame count", 2.0f, 1000, 1004.5, 0.5, 0x80000000u, "Time", true},
        {"absurd depths", 2.0f, -1e308, 1e308, 1e300, 10, "Time", true},
    };
    // Zoom requests of views that show the whole axis meet their limits.
    host.onUnexpected = [](const std::string& what) {
        if (what.find("zoom limit") == std::string::npos) ADD_FAILURE() << what;
    };
    for (const Case& c : cases) {
        QtxDatumShape d = Waveform(1, 64, c.step);
        if (std::string(c.domain) == "Azimuth") d.category = kCategoryAzimuth;
        // Samples that are not numbers, and huge ones.
        ASSERT_TRUE(WriteQtx(path, {d}, 10, 1000.0, 0.5,
                             [](int, int, size_t j) { return j % 7 == 3 ? NAN : j % 11 == 5 ? 3e38f : float(j % 5); }));
        PatchQtxHeader(path, [&](QtxFileHeader& h) {
            h.topDepth = c.top;
            h.bottomDepth = c.bottom;
            h.depthStep = c.depthStep;
            h.frameCount = c.frames;
        });
        setup.topDepth = -1e9;
        setup.bottomDepth = 1e9;
        if (!c.opens) {
            host.ExpectMessage("cannot be shown against depth");
            EXPECT_EQ(Open(c.domain, false), nullptr) << c.what;
            continue;
        }
        if (c.frames > 10) host.ExpectMessage("Error reading frame data in file :");
        CVdlWnd* view = Open(c.domain);
        ASSERT_NE(view, nullptr) << c.what;
        for (unsigned key : {unsigned(VK_END), unsigned(VK_PRIOR), unsigned(VK_HOME)}) view->OnKeyDown(key, 1, 0);
        view->OnHScroll(SB_PAGERIGHT, 0);
        frame.Mouse(*view, "move", 0, {60, 60});
        frame.Command(ID_DATA_ZOOM_OUT);
        Window(view)->Paint();
        EXPECT_LE(view->Raster().rowsDrawn, view->Raster().rowsAvailable) << c.what;
        view->OnClose();
        host.ClearMessages();
    }
}

TEST_F(VdlWndTest, AFrequencyRowBetweenFramesIsTheSpectrumOfTheirBlend)
{
    // Frames of different tones and sizes, 1.2 rows a frame: every row is a blend. 64
    // samples of 2 us in an image 31 columns wide: column c shows bin c.
    auto sample = [](int f, size_t j) {
        const double t = double(j) / 64;
        return float((1 + f) * std::cos(2 * kPi * (3 + f) * t) + 0.3 * (f % 3) * std::sin(2 * kPi * 11 * t));
    };
    ASSERT_TRUE(WriteQtx(path, {Waveform(1, 64, 2.0f)}, 10, 1000.0, 0.5, [&](int f, int, size_t j) { return sample(f, j); }));
    setup.topDepth = 1000;
    setup.bottomDepth = 1004.5;
    setup.freqStart = 0;
    setup.freqStop = 250000;
    frame.childClientSize = {31 + 40, 200};
    CVdlWnd* view = Open("Frequency");
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->Raster().imageWidth, 31);
    const double framesPerRow = view->Page().depthPerPixel / 0.5;
    ASSERT_LT(framesPerRow, 1.0);
    int compared = 0, equal = 0;
    for (int row = 0; row < view->Raster().rowsDrawn; ++row) {
        const double at = row * framesPerRow;
        const int p0 = int(std::floor(at)), p1 = std::min(p0 + 1, 9);
        const float weight = float(at - p0);
        std::vector<float> trace(64), bins(33);
        for (size_t j = 0; j < 64; ++j) trace[j] = sample(p0, j) * (1 - weight) + sample(p1, j) * weight;
        AmplitudeSpectrum(trace.data(), 64, bins.data());
        for (int c = 0; c < 31; ++c) {
            const int expected = CVdlWnd::ColourIndex(std::min(bins[size_t(c)], 1.0f));
            const int shown = IndexAt(*view, 1 + c, row);
            EXPECT_LE(std::abs(shown - expected), 1) << "row " << row << " bin " << c;
            ++compared;
            equal += shown == expected;
        }
    }
    EXPECT_GT(compared, 300);
    EXPECT_GE(equal, compared * 98 / 100) << "an index apart only where rounding puts a bin on a boundary";
}

TEST_F(VdlWndTest, AfterAnySequenceOfStepsThePictureIsAFreshRenderAtTheSamePosition)
{
    // Frames unlike their neighbours on three receivers; rows of 0.83 and of 2.8 frames;
    // a log down and a log up.
    WholeLogWindows();
    struct Case {
        const char* domain;
        float scale;
        uint8_t direction;
    };
    for (const Case c : {Case{"Time", 480, qtx::kLogDown}, Case{"Time", 1600, qtx::kLogDown},
                         Case{"Frequency", 480, qtx::kLogDown}, Case{"Frequency", 1600, qtx::kLogDown},
                         Case{"Time", 480, qtx::kLogUp}}) {
        const bool down = c.direction == qtx::kLogDown;
        ASSERT_TRUE(WriteQtx(path, {Waveform(3, 128, 2.0f)}, 3000, down ? 1000.0 : 2499.5, down ? 0.5 : -0.5,
                             [](int f, int, size_t j) {
                                 return float(std::sin(0.05 * double(j) * (1 + f % 17)) * (1 + f % 5)
                                              + (j % 128 == size_t(f % 128) ? 9 : 0));
                             },
                             c.direction));
        const char* domain = c.domain;
        setup.depthScale = c.scale;
        CVdlWnd* view = Open(domain);
        ASSERT_NE(view, nullptr);
        frame.Command(ReceiverCommand(2));
        frame.Command(ReceiverCommand(3));
        ASSERT_EQ(view->Raster().columns.size(), 3u);
        ScriptedWindow* w = Window(view);
        const std::string what = std::string(domain) + Format(" at %.0f", c.scale) + (down ? " down" : " up");
        struct Step {
            const char* name;
            std::function<void()> go;
            int mostReads; // frames a step may read (-1: any)
        };
        auto key = [&](unsigned k) { return [&, k] { view->OnKeyDown(k, 1, 0); }; };
        auto thumb = [&](int by) { return [&, by] { view->OnVScroll(SB_THUMBPOSITION, view->GetScrollInfo(SB_VERT).pos + by); }; };
        const Step steps[] = {
            {"down", key(VK_DOWN), 3},      {"down", key(VK_DOWN), 3},
            {"down", key(VK_DOWN), 3},      {"up", key(VK_UP), 3},
            {"page down", key(VK_NEXT), -1}, {"down", key(VK_DOWN), 3},
            {"page up", key(VK_PRIOR), -1}, {"down", key(VK_DOWN), 3},
            {"jump near", thumb(37), -1},   {"jump back", thumb(-29), -1},
            {"jump far", thumb(2000), -1},  {"resize", [&] { frame.Resize(*view, 520, 371); }, -1},
            {"down", key(VK_DOWN), 3},      {"end", key(VK_END), -1},
            {"up", key(VK_UP), 3},          {"down", key(VK_DOWN), 3},
            {"home", key(VK_HOME), -1},     {"down", key(VK_DOWN), 3},
        };
        for (const Step& step : steps) {
            step.go();
            const std::string at = what + ", " + step.name + Format(" to %d", view->FirstVisiblePosition());
            if (step.mostReads >= 0) {
                EXPECT_LE(view->Item().framesRead, step.mostReads) << at;
            }
            const Image moved = view->Item().image;
            const int rows = view->Raster().rowsDrawn;
            w->Paint(); // the erase a resize leaves, then the paint alone
            w->Paint();
            const std::vector<std::string> paint = w->lastPaint;
            view->Render();
            ASSERT_EQ(view->Raster().rowsDrawn, rows) << at;
            ASSERT_GT(rows, 0) << at;
            const Image& fresh = view->Item().image;
            ASSERT_EQ(fresh.width, moved.width) << at;
            const size_t pixels = size_t(rows) * size_t(fresh.width);
            EXPECT_TRUE(std::equal(fresh.pixels.begin(), fresh.pixels.begin() + ptrdiff_t(pixels), moved.pixels.begin()))
                << at;
            w->Paint();
            EXPECT_EQ(w->lastPaint, paint) << at;
        }
        view->OnClose();
    }
}

TEST_F(VdlWndTest, APageRenderedOnSeveralThreadsIsThePageRenderedOnOne)
{
    if (parallel_rows::Workers() < 2) GTEST_SKIP() << "one core: every page is rendered on one thread";
    WholeLogWindows();
    ASSERT_TRUE(WriteQtx(path, {Waveform(3, 128, 2.0f)}, 3000, 1000.0, 0.5, [](int f, int, size_t j) {
        return float(std::sin(0.05 * double(j) * (1 + f % 17)) * (1 + f % 5) + (j % 128 == size_t(f % 128) ? 9 : 0));
    }));
    // Rows of 0.83 frames (a frequency row blends the frames' spectra) and of 2.8.
    for (const char* domain : {"Time", "Frequency"})
        for (float scale : {480.0f, 1600.0f}) {
            setup.depthScale = scale;
            CVdlWnd* view = Open(domain);
            ASSERT_NE(view, nullptr);
            frame.Command(ReceiverCommand(2));
            frame.Command(ReceiverCommand(3));
            view->OnKeyDown(VK_NEXT, 1, 0);
            view->OnKeyDown(VK_DOWN, 1, 0);
            const std::string what = std::string(domain) + Format(" at %.0f", scale);
            view->Render();
            const Image many = view->Item().image;
            const int rows = view->Raster().rowsDrawn;
            ASSERT_GT(rows, 100) << what;
            for (int workers : {1, 3}) {
                const parallel_rows::ScopedWorkers limit(workers);
                view->Render();
                EXPECT_EQ(view->Raster().rowsDrawn, rows) << what;
                EXPECT_TRUE(view->Item().image.pixels == many.pixels) << what << " on " << workers << " thread(s)";
            }
            view->OnClose();
        }
}

TEST_F(VdlWndTest, DisplayVdlRunsFromTheMenuAndTheTabShownAtOkDecidesTheDomain)
{
    ASSERT_TRUE(WriteQtx(path, {Waveform(4, 256, 10.0f)}, 20, 1000.0, 0.5));
    theApp.m_vdlSetup.path.clear();
    host.ScriptDialog(kIddVdlSetup).Press(IDOK);
    host.ExpectMessage("SEG file name is not set!\nOperation will be abandoned.");
    frame.Command(ID_DISPLAY_VDL);
    EXPECT_TRUE(frame.Children().empty());

    // Opened for Time, the waveform is picked on the Frequency tab: a frequency view.
    host.ExpectFileDialog("Browse Input QTX File", path);
    host.ScriptDialog(kIddVdlSetup).Press(vdl_setup::kIdcSelectInputFile).Press(IDOK);
    host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcTab, CQtxFileDlg::kTabFrequency - 1)
        .Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
    frame.Command(ID_DISPLAY_VDL);
    ASSERT_EQ(frame.Children().size(), 1u);
    auto* view = dynamic_cast<CVdlWnd*>(frame.Children()[0]);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Samples().domain, kDomainFrequency);
    EXPECT_EQ(view->GetWindowText(), "Frequency (" + path + ")");
    EXPECT_EQ(frame.PaneText(1), " 1000.0000 [ft]");
    frame.Command(ID_WINDOW_CLOSE_ALL);
    EXPECT_EQ(frame.PaneText(1), "");
}

// Frames are read by the row bands, on any thread: one that fails is a gap, and its
// message is shown once, by the view on its own thread, never from a band.
TEST_F(VdlWndTest, AFrameThatCannotBeReadOnAnyThreadIsAGapReportedOnceByTheView)
{
    WholeLogWindows();
    setup.depthScale = 1600; // rows of 2.8 frames: the page passes frame 300
    ASSERT_TRUE(WriteQtx(path, {Waveform(3, 128, 2.0f)}, 3000, 1000.0, 0.5, [](int f, int, size_t j) {
        return float(std::sin(0.05 * double(j) * (1 + f % 17)) + 0.1 * (f % 3));
    }));
    const auto whole = ReadBytes(path);
    for (const char* domain : {"Time", "Frequency"}) {
        SCOPED_TRACE(domain);
        WriteBytes(path, whole);
        CVdlWnd* view = Open(domain);
        ASSERT_NE(view, nullptr);
        frame.Command(ReceiverCommand(2));
        frame.Command(ReceiverCommand(3));
        // Frames from 300 on are gone, the 300th cut inside.
        const size_t frameBytes = 8 + 3 * 128 * 4;
        WriteBytes(path, std::vector<uint8_t>(whole.begin(), whole.begin() + ptrdiff_t(4132 + 39 + 300 * frameBytes + 100)));
        std::mutex mutex;
        std::vector<std::pair<std::string, std::thread::id>> shown;
        host.onUnexpected = [&](const std::string& what) {
            std::lock_guard lock(mutex);
            shown.emplace_back(what, std::this_thread::get_id());
        };
        view->Render();
        const int rows = view->Raster().rowsDrawn;
        ASSERT_GT(rows, 200);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_NE(shown[0].first.find("Error reading frame data in file :"), std::string::npos) << shown[0].first;
        EXPECT_EQ(shown[0].second, std::this_thread::get_id()) << "the message comes from the view's thread";
        EXPECT_NE(IndexAt(*view, 1, 0), -1) << "the frames that can be read are drawn";
        EXPECT_EQ(IndexAt(*view, 1, rows - 1), -1) << "a frame that cannot be read is a gap";
        const Image many = view->Item().image;
        const int reads = view->Item().framesRead;
        {
            const parallel_rows::ScopedWorkers one(1);
            view->Render();
        }
        EXPECT_TRUE(view->Item().image.pixels == many.pixels) << "the gaps lie where one thread leaves them";
        EXPECT_EQ(view->Item().framesRead, reads);
        EXPECT_EQ(shown.size(), 1u) << "shown once since the data set was opened";
        host.onUnexpected = [](const std::string& what) { ADD_FAILURE() << what; };
        view->OnClose();
    }
}

} // namespace
