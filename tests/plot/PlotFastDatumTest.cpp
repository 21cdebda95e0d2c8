// A curve of several values a frame (a LIS fast channel's samples) is drawn with the
// value at the frame's depth: the last sample where the axis places it there, the
// first in data sets that put the first there.
#include "plot/PlotFixture.h"

#include "plot/PlotModel.h"

namespace {

using namespace plot_test;

class PlotFastDatumTest : public PlotTest {
protected:
    CPlotModel model;
};

TEST_F(PlotFastDatumTest, ACurveOfSeveralValuesAFrameShowsTheOneAtTheFramesDepth)
{
    const struct {
        int16_t firstIndex;
        size_t shown;
    } cases[] = {{-2, 2}, {0, 0}, {-3, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.firstIndex);
        QtxDatumShape fast{"FAST", kCurveType, kCategoryTrace, 1, 3, 0xFF, 0.5f / 3};
        fast.first = uint16_t(c.firstIndex);
        const auto sample = [](int frame, int, size_t index) { return float(frame * 10 + int(index)); };
        ASSERT_TRUE(WriteQtx(path, {fast}, kFrames, 1000.0, 0.5, sample));
        ASSERT_EQ(model.BuildPlot({Curve(path, "FAST", 1, 0, 150)}), 1);
        for (const int frame : {4, 100}) {
            ASSERT_EQ(model.ReadFrames(1000.0 + 0.5 * frame), 1);
            EXPECT_EQ(model.Next(0)[0], float(frame * 10 + int(c.shown))) << frame;
        }
    }
}

} // namespace
