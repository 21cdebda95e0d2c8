#include "viewers/SemblanceMapWnd.h"
#include "viewers/SemblanceMapWndFactory.h"
#include "viewers/Palettes.h"

#include "app/ViewerApp.h"
#include "common/ParallelRows.h"
#include "common/QtxFileDlg.h"
#include "platform/Format.h"
#include "res/CommandIds.h"
#include "res/QtxFileDlgIds.h"
#include "res/SemblanceMapSetupDlgIds.h"
#include "support/AppFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "settings/SemblanceMapSetupGroup.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// A map of ns slowness samples of ds us/ft from index fs, by nt time samples of dt us
// from index ft; type 60 is titled "Semblance Map".
QtxDatumShape Map(uint16_t ns, float ds, uint16_t nt, float dt, uint16_t fs = 0, uint16_t ft = 0)
{
    return {.mnemonic = "SMNO", .typeCode = 60, .category = kCategorySemblanceMap, .samples = ns,
            .unit = kUnitMicrosecondsPerFoot, .step = ds, .samples2 = nt, .unit2 = kUnitMicroseconds,
            .step2 = dt, .first = fs, .first2 = ft};
}

class SemblanceMapWndTest : public AppTest {
protected:
    TempDir dir;
    std::string path = dir.File("map.qtx");
    SemblanceMapSetupGroup setup; // as the setup dialog leaves it

    void SetUp() override
    {
        AppTest::SetUp();
        Start();
        frame.Command(ID_FILE_QTX);
        setup.SetDefaults();
        setup.path = path;
        setup.title = "map";
        setup.ext = "qtx";
    }
    // Writes `frames` frames of `map`, value(row, column) in each.
    void Write(const QtxDatumShape& map, int frames, const std::function<float(int, int)>& value,
               uint8_t direction = qtx::kLogDown)
    {
        const bool down = direction == qtx::kLogDown;
        ASSERT_TRUE(WriteQtx(path, {map}, frames, down ? 1000.0 : 1000.0 + 0.5 * (frames - 1), down ? 0.5 : -0.5,
                             [&](int, int, size_t i) { return value(int(i / map.samples), int(i % map.samples)); },
                             direction));
    }
    CSemblanceMapWnd* Open()
    {
        host.ScriptDialog(kIddQtxFile)
            .Inspect([](CDialog& d) { EXPECT_FALSE(d.IsItemEnabled(CQtxFileDlg::kIdcSelectAll)); })
            .Select(CQtxFileDlg::kIdcFound, 0)
            .Press(CQtxFileDlg::kIdcAdd)
            .Press(IDOK);
        return OpenSemblanceMapWnd(setup, theViewerApp.m_windowClasses[kClassSemblanceMap]);
    }
    static int IndexAt(const CSemblanceMapWnd& view, int x, int y)
    {
        for (int i = 0; i < CSemblanceMapWnd::kColours; ++i)
            if (view.Item().image.At(x, y) == CSemblanceMapWnd::PaletteColour(view.Item().palette, i)) return i;
        return -1;
    }
};

TEST_F(SemblanceMapWndTest, WindowsSnapToTheSampleGridStayInsideTheMapAndChooseTheirGrids)
{
    // Time from index 5, slowness from index 10; 200 x 100 samples.
    struct Case {
        float ds, dt, t0, t1, s0, s1;
        double start, stop, span;
        int firstGrid, tick, label;
        double slowStart, slowSpan;
        int slowGrid, slowTick, slowLabel, scrollMax;
    };
    const Case cases[] = {
        {4, 10, 0, 1000, 40, 240, 50, 1000, 940, 900, 100, 100, 40, 196, 50, 50, 50, 60},
        // Asked beyond the map: held to its first time and one step past its last.
        {4, 10, 33, 5000, 0, 1000, 50, 2050, 1990, 1750, 250, 500, 40, 396, 50, 50, 50, 10},
        {4, 10, 333, 1001, 101, 190, 340, 1010, 660, 900, 100, 100, 104, 84, 125, 25, 25, 88},
        {10, 50, 0, 30000, 0, 2000, 250, 10250, 9950, 10000, 250, 1000, 100, 990, 150, 50, 100, 10},
    };
    for (const Case& c : cases) {
        Write(Map(100, c.ds, 200, c.dt, 10, 5), 2, [](int, int) { return 1.0f; });
        setup.timeStart = c.t0;
        setup.timeStop = c.t1;
        setup.slowMin = c.s0;
        setup.slowMax = c.s1;
        CSemblanceMapWnd* view = Open();
        ASSERT_NE(view, nullptr);
        const auto& t = view->TimeWindow();
        EXPECT_EQ(std::tuple(t.start, t.stop, t.span), std::tuple(c.start, c.stop, c.span)) << c.t0;
        EXPECT_EQ(std::tuple(t.firstGrid, t.tickStep, t.labelStep), std::tuple(c.firstGrid, c.tick, c.label)) << c.t0;
        const auto& s = view->SlownessWindow();
        EXPECT_EQ(std::tuple(s.start, s.span), std::tuple(c.slowStart, c.slowSpan)) << c.s0;
        EXPECT_EQ(std::tuple(s.firstGrid, s.tickStep, s.labelStep), std::tuple(c.slowGrid, c.slowTick, c.slowLabel));
        EXPECT_EQ(view->GetScrollInfo(SB_HORZ).max, c.scrollMax) << c.s0;
        view->OnHScroll(SB_THUMBPOSITION, 1 << 30);
        EXPECT_LE(view->SlownessWindow().last, 110) << "panned to the map's end, not past it";
        view->OnClose();
    }

    // Labels: the multiples of the label step among the grid values, in their formats.
    Write(Map(100, 4, 200, 10, 10, 5), 2, [](int, int) { return 1.0f; });
    setup.timeStart = 0, setup.timeStop = 1000, setup.slowMin = 40, setup.slowMax = 240;
    CSemblanceMapWnd* view = Open();
    ASSERT_NE(view, nullptr);
    std::vector<std::string> time, slowness;
    for (const auto& l : view->Marks().timeLabels) time.push_back(l.text);
    for (const auto& l : view->Marks().slownessLabels) slowness.push_back(l.text);
    EXPECT_EQ(time, (std::vector<std::string>{"100", "200", "300", "400", "500", "600", "700", "800", "900"}));
    EXPECT_EQ(slowness, (std::vector<std::string>{"  50", " 100", " 150", " 200"}));
    const Rect r = view->MapRect();
    EXPECT_EQ(view->Marks().timeLabels.back().at, r.top + int(100.0 / 950 * r.Height())) << "900 us, near the top";
}

TEST_F(SemblanceMapWndTest, TheFirstFrameIsHeldInsideTheLogInBothDirections)
{
    // Ten frames from 1000 to 1004.5 ft; an up log stores the deepest first.
    struct Case {
        uint8_t direction;
        double top;
        int frame, position;
    };
    const Case cases[] = {
        {qtx::kLogDown, 1002, 4, 4}, {qtx::kLogDown, 1010, 9, 9}, {qtx::kLogDown, 900, 0, 0},
        {qtx::kLogUp, 1002, 6, 3},   {qtx::kLogUp, 1010, 0, 9},   {qtx::kLogUp, 900, 9, 0},
    };
    for (const Case& c : cases) {
        Write(Map(8, 10, 4, 100), 10, [](int j, int k) { return float(j * 8 + k); }, c.direction);
        setup.topDepth = c.top;
        CSemblanceMapWnd* view = Open();
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->Item().frames.Frame(), c.frame) << c.top;
        EXPECT_EQ(view->Item().vscroll.pos, c.position) << c.top;
        EXPECT_TRUE(view->Samples().read) << "read inside the file, not past it nor in its header";
        EXPECT_EQ(frame.PaneText(1), Format("%10.4f [ft]", 1000.0 + 0.5 * c.position));
        // Home is the top of the log, End its bottom, whichever way it was logged.
        view->OnKeyDown(VK_END, 1, 0);
        EXPECT_EQ(view->Item().vscroll.pos, 9);
        view->OnKeyDown(VK_HOME, 1, 0);
        view->OnKeyDown(VK_UP, 1, 0);
        EXPECT_EQ(frame.PaneText(1), " 1000.0000 [ft]");
        view->OnVScroll(SB_PAGEDOWN, 0);
        EXPECT_EQ(view->Item().frames.Frame(), c.direction == qtx::kLogDown ? 9 : 0);
        view->OnClose();
    }
}

TEST_F(SemblanceMapWndTest, RowsAreDividedByTheirLargestValueAndColouredByIt)
{
    // 32 slowness samples over 31 columns and 4 time rows of 10 us over 4 pixel rows:
    // pixel (c, y) shows sample c of row 4 - y (the top row held to the last).
    Write(Map(32, 1, 4, 10), 2, [](int j, int k) {
        switch (j) {
        case 1: return float(k - 8);                       // largest 23
        case 2: return 0.0f;                               // nothing positive: unscaled
        case 3: return k == 5 ? NAN : -float(k) * 1e30f;   // negative and a gap
        default: return 1.0f;
        }
    });
    setup.timeStart = 0, setup.timeStop = 40, setup.slowMin = 0, setup.slowMax = 32;
    frame.childClientSize = {31 + 45, 4 + 64};
    for (const char* palette : {"Color", "Black&White"}) {
        setup.palette = PaletteOfName(palette);
        CSemblanceMapWnd* view = Open();
        ASSERT_NE(view, nullptr);
        ASSERT_EQ(view->Item().image.width, 31);
        ASSERT_EQ(view->Item().image.height, 4);
        for (int c = 0; c < 31; ++c) {
            const int expected = c < 8 ? 0 : std::min(int(float(c - 8) / 23.0f * 31.0f), 31);
            EXPECT_EQ(IndexAt(*view, c, 3), expected) << palette << " column " << c;
            EXPECT_EQ(IndexAt(*view, c, 2), 0) << "zeros";
            if (c != 5) {
                EXPECT_EQ(IndexAt(*view, c, 1), 0) << "negatives";
            }
        }
        EXPECT_EQ(view->Item().image.At(5, 1), 0xFFC0C0C0u) << "a gap shows the window's grey";
        view->OnClose();
    }
    const std::pair<int, uint32_t> greys[] = {{0, 0xFFFFFF}, {1, 0xF0F0F0}, {30, 0x080808}, {31, 0x000000}};
    for (const auto& [index, rgb] : greys)
        EXPECT_EQ(CSemblanceMapWnd::PaletteColour(CSemblanceMapWnd::kPaletteBlackWhite, index), 0xFF000000u | rgb);
    EXPECT_EQ(CSemblanceMapWnd::PaletteColour(CSemblanceMapWnd::kPaletteColor, 13), 0xFFFCFC00u);
}

TEST_F(SemblanceMapWndTest, EveryPixelIsTheBilinearValueOfItsFourSamples)
{
    // Each pixel, however its row is filled, is the colour of the profile between the
    // two time rows around it, taken between the two slowness samples around its
    // column: steep slopes, gaps, negatives and values past the row's largest alike.
    Write(Map(40, 5, 30, 20), 1, [](int j, int k) {
        if (j == 7 && k > 10 && k < 16) return NAN;
        if (j == 12 && k == 20) return NAN;
        if (j == 3) return -1.0f * float(k);
        return float(std::sin(j * 0.7 + k * 0.45) * 50.0 + (k % 9 == 0 ? 200.0 : 0.0));
    });
    struct Case {
        float slowMin, slowMax, timeStart, timeStop;
        int width, height;
    } const cases[] = {
        {0, 200, 0, 600, 347, 211},   // several columns and rows per sample
        {0, 200, 0, 600, 23, 17},     // several samples per column and row
        {37, 121, 130, 455, 500, 300}, // a zoomed window off the grid
        {0, 200, 0, 600, 40, 30},      // a column and a row per sample
    };
    // Rows are coloured in bands on several threads: on one, and on more than one
    // whatever the machine has.
    for (const int workers : {1, 3})
    for (const Case& c : cases) {
        const parallel_rows::ScopedWorkers limit(workers);
        setup.slowMin = c.slowMin, setup.slowMax = c.slowMax, setup.timeStart = c.timeStart, setup.timeStop = c.timeStop;
        frame.childClientSize = {c.width + 45, c.height + 64};
        CSemblanceMapWnd* view = Open();
        ASSERT_NE(view, nullptr);
        const int w = view->Item().image.width, rows = view->Item().image.height;
        ASSERT_EQ(w, c.width);
        ASSERT_EQ(rows, c.height);
        auto normalised = [&](int j, int k) {
            const double v = double(view->Samples().values[size_t(j) * 40 + size_t(k)]) * view->Samples().rowScale[size_t(j)];
            return float(v < -1.0 ? -1.0 : v > 1.0 ? 1.0 : v);
        };
        auto profile = [&](double time, int k) {
            const double at = time / view->Samples().dt - view->Samples().ft;
            const int j0 = std::clamp(int(std::floor(at)), 0, 29), j1 = std::min(j0 + 1, 29);
            const float weight = j1 == j0 ? 0.0f : float(std::clamp(at - j0, 0.0, 1.0));
            const float r0 = normalised(j0, k);
            return weight == 0.0f ? r0 : r0 + (normalised(j1, k) - r0) * weight;
        };
        int wrong = 0;
        for (int y = 0; y < rows; ++y) {
            const double time = view->TimeWindow().stop - y * ((view->TimeWindow().stop - view->TimeWindow().start) / rows);
            for (int x = 0; x < w; ++x) {
                const double at = (view->SlownessWindow().start + x * (view->SlownessWindow().span / w)) / view->Samples().ds - view->Samples().fs;
                const int i0 = std::clamp(int(std::floor(at)), 0, 39), i1 = std::min(i0 + 1, 39);
                const float frac = float(std::clamp(at - i0, 0.0, 1.0));
                const float v0 = profile(time, i0);
                const float v = frac == 0.0f ? v0 : v0 + (profile(time, i1) - v0) * frac;
                const uint32_t expected =
                    std::isnan(v) ? 0xFFC0C0C0u : CSemblanceMapWnd::PaletteColour(view->Item().palette, RampIndex(v));
                wrong += view->Item().image.At(x, y) != expected;
            }
        }
        EXPECT_EQ(wrong, 0) << c.width << " x " << c.height << " on " << workers;
        view->OnClose();
    }
}

TEST_F(SemblanceMapWndTest, ReadOutsNameSlownessTimeAndTheSampleUnderTheMouse)
{
    // Sample (row j, column k) holds j + k / 100; slowness from index 10, time from index 2.
    Write(Map(50, 2, 20, 100, 10, 2), 3, [](int j, int k) { return float(j) + float(k) / 100; });
    setup.timeStart = 0, setup.timeStop = 5000, setup.slowMin = 0, setup.slowMax = 60;
    CSemblanceMapWnd* view = Open();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetWindowText(), "Samblance Map (map.qtx)");
    const Rect r = view->MapRect();
    // The top row is the window's stop (2,200 us), past the map's last row: clamped.
    frame.Mouse(*view, "move", 0, {r.left, r.top});
    EXPECT_EQ(frame.PaneText(2), "  20.00 [uSec/ft]");
    EXPECT_EQ(frame.PaneText(3), "    2.20 [mSec]");
    EXPECT_EQ(frame.PaneText(4), "19.000");
    frame.Mouse(*view, "move", 0, {r.right - 1, r.bottom - 1});
    EXPECT_EQ(frame.PaneText(4), "0.180") << "the window ends on sample 19: the last column lies before it";
    const std::string before = frame.PaneText(2);
    frame.Mouse(*view, "move", 0, {r.left - 2, r.top});
    EXPECT_EQ(frame.PaneText(2), before) << "outside the map nothing changes";

    // Panning shows the new start in pane 3; the thumb only shows where it is.
    view->OnHScroll(SB_PAGERIGHT, 0);
    EXPECT_EQ(view->SlownessWindow().start, 40.0);
    EXPECT_EQ(frame.PaneText(3), "  40.00 [uSec/ft]");
    view->OnHScroll(SB_THUMBTRACK, 15);
    EXPECT_EQ(std::vector<std::string>({frame.PaneText(2), frame.PaneText(3), frame.PaneText(4)}),
              (std::vector<std::string>{"", "  30.00 [uSec/ft]", ""}));
    EXPECT_EQ(view->SlownessWindow().start, 40.0);

    // A frame that cannot be read is reported once and shows a gap; the data set stays open.
    auto bytes = ReadBytes(path);
    bytes.resize(bytes.size() - 100);
    WriteBytes(path, bytes);
    host.ExpectMessage("Error reading frame data in file :");
    view->OnKeyDown(VK_END, 1, 0);
    view->OnKeyDown(VK_DOWN, 1, 0);
    frame.Mouse(*view, "move", 0, {r.left + 3, r.top + 3});
    EXPECT_EQ(frame.PaneText(4), "");
    EXPECT_EQ(view->Item().image.At(3, 3), 0xFFC0C0C0u);
    view->OnKeyDown(VK_HOME, 1, 0);
    EXPECT_TRUE(view->Samples().read);
    EXPECT_TRUE(view->Item().file.InputOpen());
}

TEST_F(SemblanceMapWndTest, DataAxisZoomStopsAtItsLimitsWithTheMessage)
{
    Write(Map(100, 4, 10, 10), 2, [](int, int) { return 1.0f; }); // 400 us/ft wide
    setup.slowMin = 40, setup.slowMax = 240;
    CSemblanceMapWnd* view = Open();
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->SlownessWindow().span, 196);
    const char* limit = "Reached Slowness domain zoom limit!\nOperation will be abandoned.";
    const std::pair<int, double> steps[] = {
        {ID_DATA_ZOOM_IN, 144}, {ID_DATA_ZOOM_IN, 108}, {ID_DATA_ZOOM_IN, 108}, // 81 < 100
        {ID_DATA_ZOOM_OUT, 136}, {ID_DATA_ZOOM_OUT, 172}, {ID_DATA_ZOOM_OUT, 216}, {ID_DATA_ZOOM_OUT, 268},
        {ID_DATA_ZOOM_OUT, 320}, {ID_DATA_ZOOM_OUT, 360}, {ID_DATA_ZOOM_OUT, 360}, // 450 > 400
    };
    for (const auto& [command, span] : steps) {
        const bool refused = span == view->SlownessWindow().span;
        if (refused) host.ExpectMessage(limit);
        frame.Command(command);
        EXPECT_EQ(view->SlownessWindow().span, span) << command;
        EXPECT_EQ(theApp.m_display.dataAxisZoomRequest, 0) << "taken either way";
        EXPECT_GE(view->SlownessWindow().first, 0);
        EXPECT_LE(view->SlownessWindow().last, 100);
    }
    EXPECT_EQ(host.Messages().size(), 2u);
}

TEST_F(SemblanceMapWndTest, MapsThatCannotBeShownAreRefused)
{
    struct Case {
        std::vector<QtxDatumShape> datums;
        bool pickTwo;
        const char* message;
    };
    // Header and descriptors only: the map is refused before any frame is read.
    auto write = [&](const std::vector<QtxDatumShape>& shapes) {
        QtxFileHeader header;
        header.frameCount = 1;
        header.frameSize = 8;
        header.topDepth = header.bottomDepth = 1000;
        header.datumCount = uint16_t(shapes.size());
        std::vector<QtxDatumDescriptor> descriptors;
        for (const QtxDatumShape& m : shapes) {
            const uint32_t size = 4u * m.samples * std::max<uint32_t>(m.samples2, 1);
            QtxDatumDescriptor d;
            std::copy_n(m.mnemonic.begin(), 4, d.mnemonic);
            d.typeCode = m.typeCode;
            d.category = m.category;
            d.traceCount = 1;
            d.axisCount = m.samples2 ? 2 : 1;
            d.offset = header.frameSize;
            d.size = size;
            header.frameSize += size;
            d.axis1 = {m.unit, m.first, m.samples, m.step};
            d.axis2 = {m.unit2, m.first2, m.samples2, m.step2};
            descriptors.push_back(d);
        }
        WriteBytes(path, RawQtx(header, descriptors, std::vector<uint8_t>(12)));
    };
    QtxDatumShape oneAxis = Map(8, 1, 0, 0);
    const Case cases[] = {
        {{Map(8, 1, 4, 10), Map(8, 1, 4, 10)}, true, "Too many items have been selected!\nOperation will be abandoned."},
        {{Map(8, NAN, 4, 10)}, false, "Datum SMNO cannot be shown: its sample step is not a positive number."},
        {{Map(8, 1, 4, -10)}, false, "Datum SMNO cannot be shown: its sample step is not a positive number."},
        {{oneAxis}, false, "Semblance map SMNO cannot be shown: its 0 x 8 samples (time x slowness) are none."},
        {{Map(16384, 1, 2049, 1)}, false,
         "Semblance map SMNO cannot be shown: its 2049 x 16384 samples (time x slowness) are more than the 33554432 a "
         "view holds."},
    };
    for (const Case& c : cases) {
        write(c.datums);
        DialogScript& s = host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd);
        if (c.pickTwo) s.Select(CQtxFileDlg::kIdcFound, 1).Press(CQtxFileDlg::kIdcAdd);
        s.Press(IDOK);
        host.ExpectMessage(c.message);
        EXPECT_EQ(OpenSemblanceMapWnd(setup, theViewerApp.m_windowClasses[kClassSemblanceMap]), nullptr) << c.message;
    }
    EXPECT_TRUE(theApp.m_viewOptions.empty());
}

TEST_F(SemblanceMapWndTest, SignatureDrawsAWiggleEveryTenthRowInTheDisplayPen)
{
    // A row of 0, then 1 from column 16: the wiggle lifts by the gain there, most of
    // the way to the wiggle above and no further.
    Write(Map(32, 1, 4, 10), 2, [](int, int k) { return k < 16 ? 0.0f : 1.0f; });
    setup.type = WaveStyle::kSignature;
    setup.timeStart = 0, setup.timeStop = 40, setup.slowMin = 0, setup.slowMax = 32;
    CSemblanceMapWnd* view = Open();
    ASSERT_NE(view, nullptr);
    frame.Command(ID_RED_PEN);
    const Rect r = view->MapRect();
    ASSERT_EQ(view->Item().wiggleLengths.size(), size_t((r.Height() + 9) / 10));
    EXPECT_GE(CSemblanceMapWnd::kWiggleGain, 0.5f * CSemblanceMapWnd::kWigglePeriod) << "a visible lift";
    EXPECT_LT(CSemblanceMapWnd::kWiggleGain, float(CSemblanceMapWnd::kWigglePeriod)) << "clear of the next wiggle";
    const Point first = view->Item().wiggles.front(), last = view->Item().wiggles[size_t(r.Width() - 1)];
    EXPECT_EQ(first, (Point{r.left, r.top})) << "held below the top of the map";
    const Point sixth = view->Item().wiggles[size_t(r.Width()) * 5 + size_t(r.Width() - 1)];
    EXPECT_EQ(sixth, (Point{r.right - 1, r.top + 50 - int(CSemblanceMapWnd::kWiggleGain)})) << "lifted by the gain";
    EXPECT_EQ(last.x, r.right - 1);
    ScriptedWindow* w = frame.WindowOf(*view);
    w->Paint();
    const auto& ops = w->lastPaint;
    EXPECT_NE(std::find(ops.begin(), ops.end(), "SelectPen(0,0,#FF3200)"), ops.end());
    EXPECT_EQ(std::count_if(ops.begin(), ops.end(), [](const std::string& op) { return op.starts_with("Polyline("); }),
              int(view->Item().wiggleLengths.size()));
    EXPECT_NE(std::find(ops.begin(), ops.end(), Format("TextOut(%d,3,Semblance Map)", view->Item().clientWidth / 2)), ops.end());
}

TEST_F(SemblanceMapWndTest, DisplayMapRunsFromTheMenu)
{
    Write(Map(16, 5, 8, 50), 4, [](int j, int k) { return float(j + k); });
    theApp.m_semblanceMapSetup.path.clear();
    host.ScriptDialog(kIddSemblanceMapSetup).Press(IDOK);
    host.ExpectMessage("LIS file name is not set!\nOperation will be abandoned.");
    frame.Command(ID_DISPLAY_MAP);
    EXPECT_TRUE(frame.Children().empty());

    host.ExpectFileDialog("Browse Input QTX File", path);
    host.ScriptDialog(kIddSemblanceMapSetup).Press(semblance_map_setup::kIdcSelectInputFile).Press(IDOK);
    host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcTab, CQtxFileDlg::kTabSembMap - 1)
        .Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
    theApp.m_display.zoomLevel = 2;
    frame.Command(ID_DISPLAY_MAP);
    ASSERT_EQ(frame.Children().size(), 1u);
    auto* view = dynamic_cast<CSemblanceMapWnd*>(frame.Children()[0]);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->TimeWindow().stop, 400.0);
    EXPECT_EQ(view->SlownessWindow().stop, 80.0);
    EXPECT_EQ(theApp.m_display.zoomLevel, 2) << "a map leaves the zoom as it was";
    EXPECT_EQ(frame.PaneText(1), " 1000.0000 [ft]");
}

} // namespace
