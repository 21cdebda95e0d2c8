// The plot window keeps its rows across scroll steps: after any steps its picture
// is the one a fresh walk gives at the same depth, and a step walks only the rows
// that come into view.
#include "plot/PlotFixture.h"

#include "platform/Dc.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace plot_test;

// What a paint puts on the screen: its operations, and the rows of every raster it
// blits (a recording leaves out the pixels).
struct Picture {
    std::vector<std::string> ops;
    std::vector<std::vector<uint32_t>> rasterRows;
    friend bool operator==(const Picture&, const Picture&) = default;
};

class PlotRowsCacheTest : public PlotTest {
protected:
    void SetUp() override
    {
        PlotTest::SetUp();
        LogSetup().trackWidth = {1.5f, 1.5f, 1.5f, 1.5f};
        LogSetup().depthScale = 120.0f; // 402 rows show 41.9 ft of the 100
    }

    // Every kind of row content: a broken curve (GR, absent at 1005 ft) shaded to a
    // limit with a pattern, a dashed curve, a waveform as colours, a
    // frequency image and a waveform as wiggles, these two starting below the log's top.
    // (Pens are 1 or 2 wide; a dashed one is thin.)
    PlotItemList AllKinds() const
    {
        PlotItemList items = StandardItems();
        items[0]->m_shade.off = 0;
        items[0]->m_shade.minLimit = 1;
        items[0]->m_shade.min = 60.0f;
        items[0]->m_shade.color = NamedColour::kYellow;
        items[0]->m_shade.pattern = ShadePattern::kDashed;
        items[0]->m_style.lineWidth = StyleChoice<LineWidth>::FromText("Thick"); // drawn bold
        items[1]->m_style.lineWidth = LineWidth::kNormal;
        items[1]->m_style.lineStyle = LineStyle::kDashed;
        items[2]->m_style.palette = kPaletteColor;
        items[3]->m_scale.startDepth = 1024.0; // its values change with depth, unlike the waveform's
        auto wiggles = Wave(path, 4);
        wiggles->m_style.waveStyle = WaveStyle::kSignature;
        wiggles->m_scale.startDepth = 1024.0; // crossed by the line steps up after the page down
        items.push_back(wiggles);
        return items;
    }

    static Picture PictureOf(CPlotWnd& plot)
    {
        Picture p;
        RecordingDc dc;
        plot.OnPaint(dc);
        p.ops = dc.ops;
        const PlotBand& band = plot.Band();
        for (const PlotBand::Raster& r : band.rasters)
            for (int y = band.imageTop; y < band.imageTop + band.shown; ++y)
                p.rasterRows.emplace_back(r.image.Row(y), r.image.Row(y) + r.image.width);
        return p;
    }

    // The picture of a window opened afresh at `plot`'s depth and size.
    Picture FreshPictureLike(const CPlotWnd& plot)
    {
        CPlotWnd* fresh = Open(LogSetup().plotItems);
        if (!fresh) return {};
        const ScriptedWindow& w = *frame.WindowOf(plot);
        ScriptedWindow& f = *Window(fresh);
        f.clientWidth = w.clientWidth, f.clientHeight = w.clientHeight;
        fresh->SetViewTop(plot.Depths().top);
        fresh->OnSize(SIZE_RESTORED, w.clientWidth, w.clientHeight); // walks every row
        Picture p = PictureOf(*fresh);
        fresh->OnClose();
        return p;
    }
};

TEST_F(PlotRowsCacheTest, AnySequenceOfStepsShowsWhatAFreshWalkShows)
{
    for (float scale : {120.0f, 1000.0f}) { // rows finer than frames, and coarser
        SCOPED_TRACE(scale);
        LogSetup().depthScale = scale;
        CPlotWnd* plot = Open(AllKinds());
        ASSERT_NE(plot, nullptr);
        struct Step {
            int code;
            int pos;
            int times; // runs of line steps carry rows from the margins into view
            const char* what;
        };
        const Step steps[] = {
            {SB_LINEDOWN, 0, 9, "line down"},    {SB_LINEUP, 0, 1, "line up"},
            {SB_PAGEDOWN, 0, 1, "page down"},    {SB_LINEUP, 0, 9, "line up"},
            {SB_PAGEUP, 0, 1, "page up"},        {SB_THUMBPOSITION, 37, 1, "jump"},
            {SB_LINEDOWN, 0, 1, "line down"},    {SB_THUMBPOSITION, 31, 1, "short jump up"},
            {SB_THUMBPOSITION, 140, 1, "jump to the end"}, {SB_LINEUP, 0, 2, "line up"},
            {SB_PAGEUP, 0, 1, "page up"},        {SB_LINEDOWN, 0, 1, "line down"},
            {-1, 0, 1, "resize"},                {SB_LINEDOWN, 0, 6, "line down"},
            {SB_PAGEUP, 0, 2, "page up"},        {SB_LINEUP, 0, 1, "line up at the top"},
        };
        for (const Step& s : steps)
            for (int k = 0; k < s.times; ++k) {
                if (s.code < 0) {
                    ScriptedWindow& w = *Window(plot);
                    w.clientWidth = 600, w.clientHeight = 430;
                    plot->OnSize(SIZE_RESTORED, w.clientWidth, w.clientHeight);
                } else {
                    plot->OnVScroll(s.code, s.pos);
                }
                const Picture stepped = PictureOf(*plot);
                ASSERT_GT(plot->Band().shown, 0) << s.what;
                const Picture fresh = FreshPictureLike(*plot);
                ASSERT_FALSE(fresh.ops.empty()) << s.what;
                EXPECT_EQ(stepped.ops, fresh.ops) << s.what << " to " << plot->Depths().top;
                EXPECT_TRUE(stepped.rasterRows == fresh.rasterRows) << s.what << " to " << plot->Depths().top;
            }
        plot->OnClose();
    }
}

// Steps drawn at random (lines, pages, keys, the thumb) at scales whose rows fall
// across the frames in other ways.
TEST_F(PlotRowsCacheTest, RandomStepsShowWhatAFreshWalkShows)
{
    for (float scale : {200.0f, 500.0f}) {
        SCOPED_TRACE(scale);
        LogSetup().depthScale = scale;
        CPlotWnd* plot = Open(AllKinds());
        ASSERT_NE(plot, nullptr);
        uint32_t seed = 12345;
        auto next = [&seed](uint32_t n) {
            seed = seed * 1664525u + 1013904223u;
            return (seed >> 8) % n;
        };
        for (int k = 0; k < 40; ++k) {
            const uint32_t pick = next(10);
            if (pick < 4) plot->OnVScroll(pick % 2 ? SB_LINEUP : SB_LINEDOWN, 0);
            else if (pick < 6) plot->OnVScroll(pick % 2 ? SB_PAGEUP : SB_PAGEDOWN, 0);
            else if (pick < 8) plot->OnKeyDown(pick % 2 ? VK_UP : VK_DOWN, 1, 0);
            else plot->OnVScroll(SB_THUMBPOSITION, int(next(uint32_t(plot->Depths().scroll.max + 1))));
            const Picture stepped = PictureOf(*plot);
            const Picture fresh = FreshPictureLike(*plot);
            ASSERT_FALSE(fresh.ops.empty());
            EXPECT_EQ(stepped.ops, fresh.ops) << "step " << k << " to " << plot->Depths().top;
            EXPECT_TRUE(stepped.rasterRows == fresh.rasterRows) << "step " << k << " to " << plot->Depths().top;
        }
        plot->OnClose();
    }
}

TEST_F(PlotRowsCacheTest, ALineStepWalksOnlyTheRowsThatComeIntoView)
{
    CPlotWnd* plot = Open(AllKinds());
    ASSERT_NE(plot, nullptr);
    const CPlotRowCache& cache = plot->RowCache();
    const int rows = plot->Depths().rows;
    EXPECT_GE(cache.RowsWalked(), rows) << "opening walks the window";
    // 0.5 ft is 4.8 rows at 0.1042 ft a row.
    plot->OnVScroll(SB_LINEDOWN, 0);
    EXPECT_GE(cache.RowsWalked(), 4);
    EXPECT_LE(cache.RowsWalked(), 5);
    // Going back up walks the rows above from a few frames higher, not the window.
    plot->OnVScroll(SB_LINEUP, 0);
    plot->OnVScroll(SB_LINEDOWN, 0);
    plot->OnVScroll(SB_LINEUP, 0);
    EXPECT_LT(cache.RowsWalked(), rows / 4);
    // A page keeps what stays in view.
    plot->OnVScroll(SB_PAGEDOWN, 0);
    EXPECT_LT(cache.RowsWalked(), rows);
    // The rows held stay within the window and its margins, whatever the steps.
    for (int k = 0; k < 30; ++k) plot->OnVScroll(k % 3 ? SB_LINEDOWN : SB_PAGEUP, 0);
    EXPECT_LE(cache.Last() - cache.First(), int64_t(plot->Band().rasters[0].image.height));
    // A new size walks afresh.
    ScriptedWindow& w = *Window(plot);
    plot->OnSize(SIZE_RESTORED, w.clientWidth, w.clientHeight);
    EXPECT_GE(cache.RowsWalked(), rows);
    plot->OnClose();
}

} // namespace
