// Building a plot from its items and reading their frames.
#include "plot/PlotFixture.h"

#include "plot/PlotModel.h"
#include "plot/PlotRows.h"

#include <cmath>
#include <limits>
#include <tuple>

namespace {

using namespace plot_test;

class PlotModelTest : public PlotTest {
protected:
    CPlotModel model;
};

TEST_F(PlotModelTest, SixtyFourItemsBuildAndASixtyFifthExceedsTheQuota)
{
    PlotItemList items;
    for (int i = 0; i < 64; ++i) items.push_back(Curve(path, "GR", 1 + i % 16, 0.0f, 150.0f));
    EXPECT_EQ(model.BuildPlot(items), 1);
    EXPECT_EQ(model.m_nTracks, 16);
    EXPECT_EQ(model.m_nMaxItemsPerTrack, 4);
    items.push_back(Curve(path, "GR", 1, 0.0f, 150.0f));
    host.ExpectMessage("Requested number of plot items exceeded allowable quota (64)!\nOperation will be abandoned.");
    EXPECT_EQ(model.BuildPlot(items), 0);
}

// Each style text draws as its name says; any other text as the drawing rules give it.
TEST_F(PlotModelTest, StyleTextsDrawAsTheirNamesSayAndOtherTextsAsTheRulesGive)
{
    struct Case {
        const char *colour, *width, *line, *shade, *pattern;
        Color lineColour, shadeColour;
        int penWidth, lineStyle, shadePattern;
    };
    const Color kUnset = 0; // a colour no name gave stays as the plot had it
    const Case cases[] = {
        {"Red", "Normal", "Dotted", "Yellow", "Dashed", Rgb(192, 0, 64), Rgb(255, 255, 0), 1, 2, 1},
        {"Cyan", "Bold", "Solid", "Black", "None", Rgb(160, 160, 255), Rgb(0, 0, 0), 2, 0, -1},
        {"Purple", "Thick", "Zigzag", "", "Cross", kUnset, kUnset, 2, 3, 3},
        {"red", "normal", "", "gray", "none", kUnset, kUnset, 2, 3, 3},
    };
    for (const Case& c : cases) {
        auto curve = Curve(path, "GR", 1, 0, 150);
        curve->m_style.color = StyleChoice<NamedColour>::FromText(c.colour);
        curve->m_style.lineWidth = StyleChoice<LineWidth>::FromText(c.width);
        curve->m_style.lineStyle = StyleChoice<LineStyle>::FromText(c.line);
        curve->m_shade.color = StyleChoice<NamedColour>::FromText(c.shade);
        curve->m_shade.pattern = StyleChoice<ShadePattern>::FromText(c.pattern);
        ASSERT_EQ(model.BuildPlot({curve}), 1) << c.colour;
        const PlotItemView& v = model.View(0);
        EXPECT_EQ(std::make_tuple(v.lineColour, v.shadeColour, v.penWidth, v.lineStyle, v.shadePattern),
                  std::make_tuple(c.lineColour, c.shadeColour, c.penWidth, c.lineStyle, c.shadePattern))
            << c.colour;
        EXPECT_EQ(curve->m_style.lineWidth.Text(), c.width) << "the text is kept";
    }
    // A wave style other than "Signature" draws the image; a palette outside the four
    // draws nothing.
    struct Wave_ {
        const char *style, *palette;
        bool signature, colours;
    };
    for (const Wave_& w : {Wave_{"Signature", "Color", true, true}, Wave_{"Wiggle", "Anisotropy", false, true},
                           Wave_{"", "Rainbow", false, false}, Wave_{"VDL", "color", false, false}}) {
        auto wave = Wave(path, 2);
        wave->m_style.waveStyle = StyleChoice<WaveStyle>::FromText(w.style);
        wave->m_style.palette = StyleChoice<Palette>::FromText(w.palette);
        ASSERT_EQ(model.BuildPlot({wave}), 1);
        PlotLayout layout;
        layout.tracks = 2;
        layout.trackPixels[2] = 100;
        PlotBand band;
        band.Reset(model, layout, 10, 0);
        ASSERT_EQ(band.rasters.size(), 1u);
        EXPECT_EQ(band.rasters[0].signature, w.signature) << w.style;
        EXPECT_EQ(band.rasters[0].colours, w.colours) << w.palette;
    }
}

TEST_F(PlotModelTest, OneWaveformItemPerTrackAndItemsNoPlotCanDrawAreRefused)
{
    EXPECT_EQ(model.BuildPlot({Curve(path, "GR", 3, 0, 150), Wave(path, 3)}), 1) << "a curve and a waveform share";
    EXPECT_TRUE(model.m_bImageTrack[3]);
    auto disabled = Wave(path, 3);
    disabled->m_bEnabled = 0;
    EXPECT_EQ(model.BuildPlot({Wave(path, 3), disabled}), 1) << "a disabled item stays out of the plot";
    host.ExpectMessage("Overlapped waveforms have been found (track 3).\nThis mode is not supported yet.");
    EXPECT_EQ(model.BuildPlot({Wave(path, 3), Curve(path, "GR", 1, 0, 150), Wave(path, 3)}), -1);

    // Values only a hand-made or damaged command file holds.
    struct Case {
        std::function<void(CLogPlotItem&)> spoil;
        const char* reason;
    };
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {[](CLogPlotItem& i) { i.m_scale.track = 0; }, "its track 0 is not one of 1 to 16"},
        {[](CLogPlotItem& i) { i.m_scale.track = 17; }, "its track 17 is not one of 1 to 16"},
        {[](CLogPlotItem& i) { i.m_datum.domain = 9; }, "its domain code 9 is unknown"},
        {[](CLogPlotItem& i) { i.m_scale.stopDepth = kNaN; }, "its depths are not within"},
        {[](CLogPlotItem& i) { i.m_scale.stopDepth = 1e300; },
         "its depths are not within -200.0 to 50000.0 with a shift of at most 200.0"},
        {[](CLogPlotItem& i) { i.m_scale.depthShift = -250.0; }, "its depths are not within"},
        {[](CLogPlotItem& i) { i.m_datum.sampleInterval = 0.0f; }, "its sample interval is not a positive number"},
        {[](CLogPlotItem& i) { i.m_scale.leftLimit = kInf; }, "its limits are not numbers"},
        {[](CLogPlotItem& i) { i.m_datum.sampleCount = 8193; }, "8193 samples do not fit a plot item (at most 8192)"},
        {[](CLogPlotItem& i) { i.m_datum.sampleCount = 0; }, "0 samples do not fit"},
        {[](CLogPlotItem& i) { i.m_datum.current = 4; }, "receiver 5 of 300 samples is not in datum WMNO"},
        {[](CLogPlotItem& i) { i.m_datum.sampleCount = 400; }, "receiver 1 of 400 samples is not in datum WMNO"},
    };
    for (const Case& c : cases) {
        auto item = Wave(path, 2);
        c.spoil(*item);
        host.ExpectMessage(std::string("Plot item WMNO cannot be plotted: ") + c.reason);
        EXPECT_EQ(model.BuildPlot({item}), -1) << c.reason;
    }
}

TEST_F(PlotModelTest, ADataSetWithoutADepthStepIsRefusedAndAnUpLogStepsByItsMagnitude)
{
    for (double step : {0.0, std::numeric_limits<double>::quiet_NaN()}) {
        ASSERT_TRUE(WriteLog(path));
        PatchQtxHeader(path, [step](QtxFileHeader& h) { h.depthStep = step; });
        host.ExpectMessage("Plot item GR cannot be plotted: the depth step of its data set");
        EXPECT_EQ(model.BuildPlot({Curve(path, "GR", 1, 0, 150)}), -1) << step;
    }
    ASSERT_TRUE(WriteLog(path, 21, 1010.0, -0.5, qtx::kLogUp)); // 1010 down to 1000
    ASSERT_EQ(model.BuildPlot({Curve(path, "GR", 1, 0, 150)}), 1);
    EXPECT_EQ(model.m_dDepthStep, 0.5);
}

TEST_F(PlotModelTest, DisplayWindowsFollowEachDomainsAxis)
{
    struct Case {
        int domain;
        float interval, left, right;
        int samples;
        float start, end, span;
        int first, last;
    };
    const Case cases[] = {
        // Time: limits in order, ends on whole samples, the end held to the trace.
        {kPlotTime, 10.0f, 400.0f, 100.0f, 300, 100.0f, 400.0f, 290.0f, 10, 40},
        {kPlotTime, 10.0f, 15.0f, 99999.0f, 300, 20.0f, 2990.0f, 2960.0f, 2, 299},
        // Frequency: below Nyquist the right limit stays, above it 0.95 x Nyquist; then
        // both ends rise to whole bins (195.3125 and 97.65625 Hz).
        {kPlotFrequency, 10.0f, 0.0f, 30000.0f, 512, 0.0f, 30078.125f, 30078.125f - 195.3125f, 0, 154},
        {kPlotFrequency, 20.0f, 0.0f, 30000.0f, 512, 0.0f, 23828.125f, 23828.125f - 97.65625f, 0, 244},
        // Slowness: a right limit past the axis becomes its length plus a step.
        {kPlotSlowness, 2.0f, 40.0f, 999.0f, 100, 40.0f, 198.0f, 158.0f, 20, 99},
        {kPlotAzimuth, 5.0f, 0.0f, 360.0f, 72, 0.0f, 355.0f, 350.0f, 0, 71},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteQtx(path, {{"WMNO", kWaveType, kCategoryWaveform, 1, uint16_t(c.samples), 1, c.interval}}, 3));
        auto item = Wave(path, 1, kWaveType, c.samples, c.left, c.right);
        item->m_datum.domain = uint16_t(c.domain);
        item->m_datum.sampleInterval = c.interval;
        ASSERT_EQ(model.BuildPlot({item}), 1);
        const PlotItemView& v = model.View(0);
        EXPECT_EQ((std::vector<float>{v.start, v.end, v.span}), (std::vector<float>{c.start, c.end, c.span}))
            << c.domain << " " << c.interval;
        EXPECT_EQ(std::make_pair(v.first, v.last), std::make_pair(c.first, c.last)) << c.domain;
        EXPECT_LE(v.left, v.right);
    }
    EXPECT_EQ(model.View(0).nyquist, 0.0f) << "only the frequency domain has one";
}

TEST_F(PlotModelTest, TimeWaveformsArePaddedToAPowerOfTwoWithZeros)
{
    ASSERT_TRUE(WriteQtx(path, {{"WMNO", kWaveType, kCategoryWaveform, 2, 300, 1, 10.0f},
                                {"WFUL", 2, kCategoryWaveform, 1, 512, 1, 10.0f}},
                         5, 1000.0, 0.5, [](int, int, size_t) { return 7.0f; }));
    auto full = Wave(path, 2, 2, 512);
    auto image = Wave(path, 3, kWaveType, 300);
    image->m_scale.slownessImage = 1;
    ASSERT_EQ(model.BuildPlot({Wave(path, 1), full, image}), 1);
    EXPECT_EQ((std::vector<int>{model.View(0).padded, model.View(1).padded, model.View(2).padded}),
              (std::vector<int>{512, 512, 300}));
    EXPECT_EQ((std::vector<bool>{model.View(0).zeroFill, model.View(1).zeroFill}), (std::vector<bool>{true, false}));
    for (double depth : {1000.0, 1001.5}) {
        std::fill(model.Next(0), model.Next(0) + 512, -1.0f);
        ASSERT_EQ(model.ReadFrames(depth), 1);
        EXPECT_EQ(model.Next(0)[299], 7.0f);
        EXPECT_EQ(std::count(model.Next(0) + 300, model.Next(0) + 512, 0.0f), 212) << depth;
        EXPECT_EQ(model.Next(1)[511], 7.0f);
    }
}

TEST_F(PlotModelTest, FramesAreFoundAtOrBelowTheDepthInBothDirectionsWithTheShift)
{
    // GR is 50 + frame / 4: the value names the frame read.
    struct Case {
        uint8_t direction;
        double top, step, shift, depth;
        int frame;
    };
    const Case cases[] = {
        {qtx::kLogDown, 1000.0, 0.5, 0.0, 1002.0, 4}, {qtx::kLogDown, 1000.0, 0.5, 0.0, 1002.2, 5},
        {qtx::kLogDown, 1000.0, 0.5, 10.0, 1012.2, 5}, {qtx::kLogDown, 1000.0, 0.5, 0.0, 1100.0, 200},
        // An up log stores 1100 first: 1002 is the 197th frame from the start.
        {qtx::kLogUp, 1100.0, -0.5, 0.0, 1002.0, 196}, {qtx::kLogUp, 1100.0, -0.5, 0.0, 1002.2, 195},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteLog(path, kFrames, c.top, c.step, c.direction));
        auto item = Curve(path, "GR", 1, 0, 150);
        item->m_scale.depthShift = c.shift;
        ASSERT_EQ(model.BuildPlot({item}), 1);
        ASSERT_EQ(model.ReadFrames(c.depth), 1);
        EXPECT_EQ(model.Next(0)[0], 50.0f + 0.25f * float(c.frame)) << c.depth << " shift " << c.shift;
    }
    // Items of one data set share a read of their frame; shifted apart, each has its own.
    ASSERT_TRUE(WriteLog(path));
    auto shifted = Curve(path, "GR", 2, 0, 150);
    shifted->m_scale.depthShift = 1.0;
    ASSERT_EQ(model.BuildPlot({Curve(path, "GR", 1, 0, 150), shifted, Curve(path, "DT", 1, 0, 150), Wave(path, 3)}), 1);
    for (double depth : {1002.0, 1003.0, 1002.0}) {
        ASSERT_EQ(model.ReadFrames(depth), 1);
        const int frame = int((depth - 1000.0) / 0.5);
        EXPECT_EQ((std::vector<float>{model.Next(0)[0], model.Next(1)[0], model.Next(2)[0], model.Next(3)[299]}),
                  (std::vector<float>{LogSample(frame, 0, 0), LogSample(frame - 2, 0, 0), LogSample(frame, 1, 0),
                                      LogSample(frame, 2, 299)}))
            << depth;
    }
}

TEST_F(PlotModelTest, AnItemOutsideItsDepthsKeepsItsValuesAndAPartnerElsewhereGivesNoValue)
{
    auto gr = Curve(path, "GR", 1, 0, 150);
    gr->m_scale.startDepth = 1010.0;
    gr->m_scale.stopDepth = 1020.0;
    auto dt = Curve(path, "DT", 2, 0, 150);
    dt->m_shade.off = 0;
    dt->m_shade.curveLimit = 1;
    dt->m_shade.curve = 0; // GR, the first curve of the list
    ASSERT_EQ(model.BuildPlot({gr, dt}), 1);
    EXPECT_EQ(model.View(1).partner, 0);
    model.Next(0)[0] = 42.0f;
    for (double depth : {1009.5, 1020.5}) {
        ASSERT_EQ(model.ReadFrames(depth), 1);
        EXPECT_FALSE(model.InRange(0));
        EXPECT_EQ(model.Next(0)[0], 42.0f) << "nothing read";
    }
    ASSERT_EQ(model.ReadFrames(1010.0), 1);
    EXPECT_TRUE(model.InRange(0));
    EXPECT_EQ(model.View(1).partnerValue, kPlotAbsent) << "GR is on another track";
    EXPECT_FALSE(model.View(1).partnerValid);
    gr->m_scale.track = 2;
    ASSERT_EQ(model.BuildPlot({gr, dt}), 1);
    ASSERT_EQ(model.ReadFrames(1010.0), 1);
    EXPECT_EQ(model.View(1).partnerValue, 55.0f);
    EXPECT_TRUE(model.View(1).partnerValid);
}

} // namespace
