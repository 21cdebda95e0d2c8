// The plot window: opening, scrolling, zoom, and what it reads and draws.
#include "plot/PlotFixture.h"

#include "platform/Format.h"
#include "plot/EditCommandDlg.h"
#include "plot/PlotPalette.h"
#include "res/EditCommandDlgIds.h"
#include "res/CommandIds.h"

#include <algorithm>
#include <limits>

namespace {

using namespace plot_test;

class PlotWndTest : public PlotTest {
protected:
    // At 96 rows per inch and 1:N, one screen row spans 0.254 N / 304.8 ft.
    static double DepthPerRow(float scale) { return 25.4 / 96 * scale / 304.8; }
    static std::vector<std::string> Matching(const std::vector<std::string>& ops, const std::string& prefix)
    {
        std::vector<std::string> out;
        for (const auto& op : ops)
            if (op.rfind(prefix, 0) == 0) out.push_back(op);
        return out;
    }
    static const PlotBand::Raster* RasterOf(const CPlotWnd& plot, int track)
    {
        for (const auto& r : plot.Band().rasters)
            if (r.track == track) return &r;
        return nullptr;
    }
};

TEST_F(PlotWndTest, OpensAtTheTopOfTheLogAndScrollsWithinIt)
{
    LogSetup().depthScale = 120.0f; // 0.1042 ft a row: 402 rows show 41.875 ft of the 100
    CPlotWnd* plot = Open(StandardItems());
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(Window(plot)->caption, "View Log");
    EXPECT_EQ(plot->Depths().rows, 480 - 78) << "below the headers: 7 + 2 x 2 blocks x 14 + the colour bar";
    EXPECT_EQ(plot->Depths().scroll.max, 199);
    EXPECT_EQ(frame.PaneText(1), " 1000.0000 ft");
    // A page is what the window shows less 40 frames: the next frame after the last
    // row, 1042, less 1000 and 20 ft.
    EXPECT_NEAR(plot->Depths().pageDepth, 22.0, 1e-6);
    // End stands the log's last row (1100 ft, the 960th) 9 rows above the window's
    // last one: half a depth number and a pen inside it.
    const double lowest = 1000.0 + (960 - (402 - 1 - 9)) * plot->Depths().depthPerRow;
    // Each step goes to a depth, or by pages (the window's page step) and 0.5 ft lines.
    struct Step {
        int code; // scroll code, or -key
        int pos;
        double top; // NaN: moved from where it was
        double pages, lines;
    };
    const double kMove = std::numeric_limits<double>::quiet_NaN();
    const Step steps[] = {
        {SB_LINEUP, 0, 1000.0, 0, 0}, {SB_LINEDOWN, 0, 1000.5, 0, 0}, {SB_THUMBPOSITION, 20, 1010.0, 0, 0},
        {SB_PAGEDOWN, 0, kMove, 1, 0}, {-int(VK_HOME), 0, 1000.0, 0, 0}, {-int(VK_NEXT), 0, kMove, 1, 0},
        {-int(VK_END), 0, lowest, 0, 0}, {-int(VK_NEXT), 0, lowest, 0, 0}, {-int(VK_PRIOR), 0, kMove, -1, 0},
        {-int(VK_UP), 0, kMove, 0, -1}, {-int(VK_DOWN), 0, kMove, 0, 1}, {-int(VK_LEFT), 0, kMove, 0, 0},
        {SB_THUMBPOSITION, 199, lowest, 0, 0}, {SB_PAGEUP, 0, kMove, -1, 0}, {SB_PAGEUP, 0, kMove, -1, 0},
        {SB_PAGEUP, 0, 1000.0, 0, 0},
    };
    for (const Step& s : steps) {
        double expected = s.top;
        if (std::isnan(expected)) expected = plot->Depths().top + s.pages * plot->Depths().pageDepth + s.lines * 0.5;
        if (s.code >= 0) plot->OnVScroll(s.code, s.pos);
        else plot->OnKeyDown(unsigned(-s.code), 1, 0);
        EXPECT_NEAR(plot->Depths().top, expected, 1e-5) << s.code;
        EXPECT_GE(plot->Depths().top, 1000.0);
        EXPECT_LE(plot->Depths().top, lowest + 1e-9);
        EXPECT_EQ(frame.PaneText(1), Format("%10.4f ft", plot->Depths().top));
        EXPECT_EQ(plot->Depths().scroll.pos, int((plot->Depths().top - 1000.0) / 0.5));
    }
    // Dragging the thumb only tells the depth; the plot moves on release.
    const double top = plot->Depths().top;
    const int paints = Window(plot)->paintCount;
    plot->OnVScroll(SB_THUMBTRACK, 100);
    EXPECT_EQ(frame.PaneText(1), " 1050.0000 ft");
    EXPECT_EQ(plot->Depths().top, top);
    EXPECT_EQ(Window(plot)->paintCount, paints);
}

// The scroll bar tells where the window stands in the log: its page is the depth the
// window shows, so the thumb is at the bottom exactly when the view can go no lower,
// at every window height and after a zoom.
TEST_F(PlotWndTest, TheThumbIsAtTheBottomWhenTheLogsLastDepthIsInView)
{
    LogSetup().depthScale = 120.0f;
    CPlotWnd* plot = Open(StandardItems());
    ASSERT_NE(plot, nullptr);
    const auto check = [&](const std::string& when) {
        plot->OnKeyDown(VK_END, 1, 0);
        const double lowest = plot->Depths().top, dpr = plot->Depths().depthPerRow;
        // The log's last row stands inside the window, half a depth number and a pen
        // above its last row.
        const double lastRow = (1100.0 - lowest) / dpr;
        const int inside = plot->Depths().rows - 1 - (plot->Layout().fontHeight / 2 + 2);
        EXPECT_LE(lastRow, inside + 1e-6) << when;
        EXPECT_GT(lastRow, inside - 1) << when;
        const ScrollInfo bar = plot->GetScrollInfo(SB_VERT);
        EXPECT_EQ(int(bar.page), int(std::ceil((1100.0 - lowest) / 0.5 - 1e-9))) << when;
        EXPECT_EQ(bar.pos, bar.LastPos()) << when << ": at the end";
        plot->OnKeyDown(VK_HOME, 1, 0);
        EXPECT_EQ(plot->GetScrollInfo(SB_VERT).pos, 0) << when;
        // The thumb dragged to the bottom shows the log's end.
        plot->OnVScroll(SB_THUMBPOSITION, plot->GetScrollInfo(SB_VERT).LastPos());
        EXPECT_NEAR(plot->Depths().top, lowest, 0.5) << when;
        EXPECT_LE(plot->Depths().top, lowest) << when;
    };
    check("opened");
    frame.Resize(*plot, 640, 300);
    check("shorter");
    plot->OnCommand(ID_DEPTH_ZOOM_OUT);
    check("zoomed out");
}

// GR is 100 at 1100 ft, the log's last frame. After End its point is drawn, inside
// the window, whether rows are finer or coarser than the frames.
TEST_F(PlotWndTest, AfterEndTheLogsLastFrameIsDrawnInsideTheWindow)
{
    for (float scale : {120.0f, 480.0f, 1000.0f}) { // rows of 0.10, 0.42 and 0.87 ft
        LogSetup().depthScale = scale;
        CPlotWnd* plot = Open({Curve(path, "GR", 1, 0.0f, 150.0f)});
        ASSERT_NE(plot, nullptr);
        plot->OnKeyDown(VK_END, 1, 0);
        const PlotBand& b = plot->Band();
        ASSERT_FALSE(b.curves.at(0).empty()) << scale;
        const Point last = b.curves[0].back();
        const int w = plot->Layout().trackPixels[1];
        EXPECT_EQ(last.x, plot->Layout().TrackLeft(1) + int(double(w) * 100.0 / 150.0)) << scale;
        const int row = last.y - b.imageTop;
        EXPECT_GE(row, 0) << scale;
        EXPECT_EQ(row, b.shown - 1) << scale << ": the log's last row";
        EXPECT_LT(row, plot->Depths().rows - plot->Layout().fontHeight / 2) << scale << ": above the lower edge";
        EXPECT_EQ(plot->Depths().top + row * plot->Depths().depthPerRow >= 1100.0 - 1e-9, true) << scale;
        plot->OnClose();
    }
}

TEST_F(PlotWndTest, TheDepthZoomHalvesOrDoublesTheScaleWithinItsLimits)
{
    struct Case {
        float scale;
        int command;
        float zoomed;
        bool limit;
    };
    const Case cases[] = {
        {480, ID_DEPTH_ZOOM_IN, 240, false}, {150, ID_DEPTH_ZOOM_OUT, 300, false},
        {1000, ID_DEPTH_ZOOM_OUT, 1000, true}, {100, ID_DEPTH_ZOOM_IN, 100, true}, {180, ID_DEPTH_ZOOM_IN, 180, true},
    };
    for (const Case& c : cases) {
        LogSetup().depthScale = c.scale;
        CPlotWnd* plot = Open(StandardItems());
        ASSERT_NE(plot, nullptr);
        if (c.limit) host.ExpectMessage("Reached depth domain zoom limit!\nOperation will be abandoned.");
        EXPECT_TRUE(frame.Command(c.command)) << "the plot window takes the command";
        EXPECT_EQ(plot->Depths().depthScale, c.zoomed) << c.scale;
        EXPECT_EQ(theApp.m_display.depthZoomRequest, 0);
        EXPECT_NEAR(plot->Depths().depthPerRow, DepthPerRow(c.zoomed), 1e-7);
        plot->OnClose();
    }
    // 1:150 zoomed out: the grid of 1:300 and its depth numbers every 10 ft.
    LogSetup().depthScale = 150;
    CPlotWnd* plot = Open(StandardItems());
    frame.Command(ID_DEPTH_ZOOM_OUT);
    EXPECT_EQ(std::make_tuple(plot->Grid().major, plot->Grid().medium, plot->Grid().minor, plot->Grid().labelStep),
              std::make_tuple(50, 10, 5, 10.0f));
    EXPECT_NE(std::find(Window(plot)->lastPaint.begin(), Window(plot)->lastPaint.end(), "TextOut(165,14,[1:300])"),
              Window(plot)->lastPaint.end());
}

TEST_F(PlotWndTest, NoWindowOpensWithoutTrackWidthOrWithAnItemThatCannotBePlotted)
{
    LogSetup().trackWidth.fill(0.0f);
    host.ExpectMessage("Requested total tracks width equal 0.0 inch!\nOperation will be abandoned.");
    EXPECT_EQ(Open(StandardItems()), nullptr);
    LogSetup().SetDefaults();
    LogSetup().depthUnits = "Feet";
    ASSERT_TRUE(WriteLog(path, 3));
    PatchQtxHeader(path, [](QtxFileHeader& h) { h.depthStep = 0.0; });
    host.ExpectMessage("the depth step of its data set (0) is not a positive number");
    EXPECT_EQ(Open(StandardItems()), nullptr);
    EXPECT_TRUE(frame.Children().empty());
}

TEST_F(PlotWndTest, APaintDrawsTheHeadersTheBoxesAndTheRowsThatWereRead)
{
    LogSetup().backBlue = 0, LogSetup().backBeige = 1;
    PlotItemList items = StandardItems();
    items[0]->m_shade.off = 0; // GR shaded from 60 API to the curve where it lies above
    items[0]->m_shade.minLimit = 1;
    items[0]->m_shade.min = 60.0f;
    items[0]->m_shade.color = NamedColour::kYellow;
    items[0]->m_shade.pattern = ShadePattern::kDashed;
    CPlotWnd* plot = Open(items);
    ASSERT_NE(plot, nullptr);
    const auto& ops = Window(plot)->lastPaint;

    // Headers: curve blocks in their colours, the frequency image with its range and bar.
    const std::vector<std::string> texts = Matching(ops, "TextOut(");
    for (const char* text : {"TextOut(73,0,GR)", "TextOut(73,28,DT)", "TextOut(7,43,200.0)", "TextOut(138,43, 0.0)",
                             "TextOut(397,0,IFMN [Hz])", "TextOut(331,0,1000.0)", "TextOut(462,0,3000.0)",
                             "TextOut(165,0,FEET)", "TextOut(165,14,[1:480])", "TextOut(163,71, 1000)"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end()) << text;
    EXPECT_NE(std::find(ops.begin(), ops.end(), "StretchImage(331,14,466,29 <- 135x15:0,0,135,15)"), ops.end())
        << "the colour bar, 15 rows below the title row";

    // One blit per waveform track, as many rows as the log fills: 100 ft at 0.4167 ft a
    // row, and the row of its last frame.
    // The images hold rows below the window too (kept for the next scroll step).
    const std::vector<std::string> blits = Matching(ops, "StretchImage(");
    ASSERT_FALSE(plot->Band().rasters.empty());
    const int held = plot->Band().rasters[0].image.height;
    EXPECT_GT(held, 402);
    EXPECT_EQ(std::vector<std::string>(blits.begin() + 1, blits.end()),
              (std::vector<std::string>{Format("StretchImage(193,78,328,319 <- 135x%d:0,0,135,241)", held),
                                        Format("StretchImage(330,78,465,319 <- 135x%d:0,0,135,241)", held)}));
    // Image rows are runs of the scale's colours; level 0 of "Color" is the chosen
    // background for a waveform and always (113,113,164) for a frequency image.
    const PlotBand::Raster* wave = RasterOf(*plot, 2);
    const PlotBand::Raster* image = RasterOf(*plot, 3);
    ASSERT_TRUE(wave && image);
    EXPECT_EQ(wave->levels[0], ToArgb(Rgb(241, 245, 148)));
    EXPECT_EQ(image->levels[0], ToArgb(Rgb(113, 113, 164)));
    for (const PlotBand::Raster* r : {wave, image}) {
        const uint32_t* row = r->image.Row(100);
        EXPECT_TRUE(std::all_of(row, row + r->image.width, [&](uint32_t p) {
            return std::find(std::begin(r->levels), std::end(r->levels), p) != std::end(r->levels);
        }));
        EXPECT_GT(std::count_if(row + 1, row + r->image.width, [&](const uint32_t& p) { return p != *(&p - 1); }), 0)
            << "more than one run";
    }
    // The frequency image's values run 1000 + 10 frame + sample: the row at 1010 ft
    // (frame 20) holds 1200 to 1263 Hz, levels 3 to 4 of 1000 to 3000 Hz.
    const int row1010 = int(10.0 / DepthPerRow(480.0f));
    EXPECT_EQ(image->image.Row(row1010)[0], image->levels[3]);

    // GR breaks where its value is absent (1005 ft): two lines.
    EXPECT_EQ(Matching(ops, "Polyline(").size(), 3u) << "GR twice, DT once";
    EXPECT_EQ(std::count(plot->Band().curves[0].begin(), plot->Band().curves[0].end(), PlotBand::kBreak), 1);
    // GR passes 60 API at 1020 ft: from there each row has a stroke from x(60) = 5 +
    // 135 x 60 / 150 to the curve, one row below it, and a dash every 20 rows.
    const auto& strokes = plot->Band().strokes;
    ASSERT_FALSE(strokes.empty());
    EXPECT_EQ(strokes.front().row, 48) << "20 ft at 0.4167 ft a row";
    EXPECT_EQ(int(strokes.size()), plot->Band().rows - strokes.front().row);
    EXPECT_TRUE(std::all_of(strokes.begin(), strokes.end(), [](const PlotBand::Stroke& s) {
        return s.x0 == 59 && s.x1 >= 59 && s.colour == Rgb(255, 255, 0);
    }));
    ASSERT_FALSE(plot->Band().patterns.empty());
    for (const auto& p : plot->Band().patterns) EXPECT_EQ(std::make_pair(p.row % 20, p.pattern), std::make_pair(0, 1));
    const PlotBand::Stroke& last = strokes.back();
    const int y = plot->Band().top + last.row + 1;
    EXPECT_NE(std::find(ops.begin(), ops.end(), Format("Line(59,%d,%d,%d)", y, last.x1, y)), ops.end());
}

// A datum its data set no longer holds is named with the data set, and its item draws
// nothing at all: no curve at 0, no wiggle, no image row, no shading against it.
TEST_F(PlotWndTest, AMissingDatumIsNamedWithItsDataSetAndLeavesItsItemUndrawn)
{
    PlotItemList items = StandardItems();
    auto lost = Curve(path, "CALI", 4, 0.0f, 20.0f);
    lost->m_datum.itemType = 251; // no datum of this type
    items.push_back(lost);
    items[2]->m_datum.itemType = 2; // the waveform of track 2 is gone too
    items[0]->m_shade.off = 0; // GR shaded against CALI, the third curve of the list
    items[0]->m_shade.curveLimit = 1;
    items[0]->m_shade.curve = 2;
    host.ExpectMessage("Plot item WMNO: datum WMNO (item type 2) is missing from data set :\n" + path +
                       "\nPlot item CALI: datum CALI (item type 251) is missing from data set :\n" + path +
                       "\nNothing is drawn for such an item.");
    CPlotWnd* plot = Open(items);
    ASSERT_NE(plot, nullptr) << "the rest of the log still shows";
    EXPECT_TRUE(plot->Band().curves[4].empty()) << "no line at 0";
    EXPECT_FALSE(plot->Band().curves[0].empty());
    EXPECT_TRUE(plot->Band().strokes.empty()) << "nothing to shade against";
    const PlotBand::Raster* wave = RasterOf(*plot, 2);
    ASSERT_NE(wave, nullptr);
    EXPECT_TRUE(std::all_of(wave->image.pixels.begin(), wave->image.pixels.end(),
                            [](uint32_t p) { return p == 0xFFFFFFFFu; }))
        << "the track stays empty";
    ASSERT_GT(plot->Band().rows, 0);
    const PlotBand::Raster* image = RasterOf(*plot, 3);
    ASSERT_NE(image, nullptr);
    EXPECT_NE(image->image.Row(10)[0], 0xFFFFFFFFu) << "the frequency image still shows";
}

// Signature wiggles stand a tenth of an inch apart and lift a visible part of that:
// no row of the track is a solid line, and no wiggle reaches the next one.
TEST_F(PlotWndTest, SignatureWigglesAreSpacedAndScaledToBeRead)
{
    PlotItemList items = StandardItems();
    items[2]->m_style.waveStyle = WaveStyle::kSignature;
    CPlotWnd* plot = Open(items);
    ASSERT_NE(plot, nullptr);
    const PlotBand::Raster* wave = RasterOf(*plot, 2);
    ASSERT_NE(wave, nullptr);
    const Image& image = wave->image;
    const int rows = plot->Band().rows, width = image.width, spacing = CPlotRowWalk::WiggleSpacingFor(96);
    ASSERT_EQ(spacing, 10);
    ASSERT_GT(rows, 5 * spacing);
    auto blackIn = [&](int y) {
        const uint32_t* row = image.Row(y);
        return int(std::count(row, row + width, 0xFF000000u));
    };
    for (int y = 0; y < rows; ++y) EXPECT_LT(blackIn(y), width / 2) << "row " << y << " is no solid line";
    // Around each wiggle, its black pixels span a visible part of the spacing, and a
    // wholly white row lies between it and the next.
    for (int w = spacing; w + spacing < rows; w += spacing) {
        int top = w, bottom = w;
        for (int y = w - spacing / 2; y <= w + spacing / 2; ++y)
            if (blackIn(y) > 0) top = std::min(top, y), bottom = std::max(bottom, y);
        EXPECT_GE(bottom - top, spacing / 2) << "wiggle at row " << w;
        bool gap = false;
        for (int y = w + 1; y < w + spacing; ++y) gap = gap || blackIn(y) == 0;
        EXPECT_TRUE(gap) << "wiggles at rows " << w << " and " << w + spacing << " touch";
    }
    // On paper the spacing is the same tenth of an inch at the printer's resolution.
    EXPECT_EQ(CPlotRowWalk::WiggleSpacingFor(300), 30);
}

TEST_F(PlotWndTest, AFrameThatCannotBeReadIsReportedOnceOutsideThePaintAndEndsTheRows)
{
    // The file ends inside frame 150 (1075 ft).
    std::vector<uint8_t> bytes = ReadBytes(path);
    const size_t frameSize = 8 + 4 + 4 + 4 * 4 * 300 + 4 * 2 * 64;
    bytes.resize(bytes.size() - 51 * frameSize);
    WriteBytes(path, bytes);
    LogSetup().depthScale = 120.0f; // the window shows 1000 to 1042 ft
    CPlotWnd* plot = Open(StandardItems());
    ASSERT_NE(plot, nullptr);
    EXPECT_TRUE(host.Messages().empty()) << "the first window's frames are whole";
    host.ExpectMessage("Error reading frame data in file :\n" + path);
    plot->OnKeyDown(VK_END, 1, 0);
    EXPECT_EQ(host.Messages().size(), 1u);
    const double reached = plot->Depths().top + plot->Band().rows * plot->Depths().depthPerRow;
    EXPECT_GT(reached, 1074.0);
    EXPECT_LT(reached, 1075.0) << "the rows end at the frame that failed";
    // Paints, scrolls and sizes after it show what was read and say nothing more.
    Window(plot)->Paint();
    plot->OnKeyDown(VK_UP, 1, 0);
    frame.Resize(*plot, 600, 400);
    EXPECT_EQ(host.Messages().size(), 1u);
}

TEST_F(PlotWndTest, DepthNumbersOfAnySizeAreClassifiedAndWideTracksAndWildValuesDrawSafely)
{
    // Values no tool gives: NaN, infinities and the float range, in curves and traces.
    const float wild[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity(), std::numeric_limits<float>::max(), -1e30f};
    ASSERT_TRUE(WriteQtx(path, LogDatums(), 81, 40000.0, 0.5, [&](int f, int d, size_t i) {
        return (f + int(i)) % 3 == 0 ? wild[size_t(f + d) % 5] : LogSample(f, d, i);
    }));
    LogSetup().depthScale = 500.0f;
    frame.childClientSize = {9000, 600}; // image rows and colour bars wider than 4096 columns
    LogSetup().trackWidth[2] = 20.0f;
    PlotItemList items = StandardItems();
    items.push_back(Curve(path, "DT", 4, 100.0f, 100.0f)); // limits of no width
    for (auto& item : items) item->m_scale.startDepth = 40000.0, item->m_scale.stopDepth = 40040.0;
    items[0]->m_shade.off = 0;
    items[0]->m_shade.curveLimit = 1;
    items[0]->m_shade.curve = 1; // against DT
    CPlotWnd* plot = Open(items);
    ASSERT_NE(plot, nullptr);
    EXPECT_GT(plot->Layout().trackPixels[3], 4096);
    const int middle = plot->Layout().TrackLeft(4) + plot->Layout().trackPixels[4] / 2;
    ASSERT_FALSE(plot->Band().curves[4].empty());
    EXPECT_TRUE(std::all_of(plot->Band().curves[4].begin(), plot->Band().curves[4].end(),
                            [&](Point p) { return p == PlotBand::kBreak || p.x == middle; }))
        << "a straight line down the middle";
    EXPECT_EQ(RasterOf(*plot, 3)->image.width, plot->Layout().trackPixels[3]);
    // At 1:500 the numbers every 20 ft: 40000 on a major (50 ft) line, 40020 and the
    // log's last depth, 40040, medium ones.
    std::vector<std::pair<float, int>> depths;
    for (const auto& d : plot->Band().depthLines) depths.emplace_back(d.depth, d.kind);
    EXPECT_EQ(depths, (std::vector<std::pair<float, int>>{{40000.0f, 0}, {40020.0f, 1}, {40040.0f, 1}}));
    const auto& ops = Window(plot)->lastPaint;
    const std::string label = Format("TextOut(%d,71,40000)", plot->Layout().DepthCentre() - 2);
    EXPECT_NE(std::find(ops.begin(), ops.end(), label), ops.end()) << label;
}

TEST_F(PlotWndTest, AMinimisedWindowPaintsNothingAndADoubleClickEditsTheItems)
{
    CPlotWnd* plot = Open(StandardItems());
    ASSERT_NE(plot, nullptr);
    frame.Resize(*plot, 0, 0);
    Window(plot)->Paint();
    EXPECT_TRUE(Matching(Window(plot)->lastPaint, "TextOut(").empty());
    frame.Resize(*plot, 640, 480);
    EXPECT_FALSE(Matching(Window(plot)->lastPaint, "TextOut(").empty());

    // The Edit Command dialog edits the items in place; OK rebuilds and repaints the plot.
    host.ScriptDialog(kIddEditCommand).Type(CEditCommandDlg::kIdcTrack, "4").Press(IDOK);
    plot->OnLButtonDblClk(0, {10, 10});
    EXPECT_EQ(LogSetup().plotItems[0]->m_scale.track, 4) << "the application's item";
    EXPECT_EQ(plot->Model().m_nTracks, 4);
    EXPECT_EQ(plot->Model().m_nItemsInTrack[4], 1);
    EXPECT_TRUE(plot->Band().curves[0].empty() || plot->Band().curves[0][0].x > plot->Layout().TrackLeft(4))
        << "GR now draws in track 4";
    plot->OnLButtonDblClk(0, {641, 10}); // outside: nothing
}

} // namespace
